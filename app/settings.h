// The program's settings under HKEY_CURRENT_USER\Software\VEXO\ZORIVEN.
#ifndef ZORIVEN_SETTINGS_H
#define ZORIVEN_SETTINGS_H

#include "winver.h"

// Sub-key of REG_BASE_PATH.
#define SETTINGS_KEY "ZORIVEN"

// Reads every setting into the application state and chooses the folders;
// true when a usable saved window rectangle was read into *saved.
BOOL LoadSettings(const char* cmdline, RECT* saved);

// Writes every setting; the result of the last write (the rectangle).
BOOL SaveSettings(HWND mainWindow);

#endif
