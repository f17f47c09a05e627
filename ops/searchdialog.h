// The search of the whole library: its results, each with its folder;
// Enter copies one as in its own folder, and the folder can be opened.
#ifndef ZORIVEN_SEARCHDIALOG_H
#define ZORIVEN_SEARCHDIALOG_H

#include "../app/winver.h"

// Opens the dialog, searching text at once when it is not empty.
void SearchLibrary(HWND mainWindow, const char* text);

// How long the search runs before the window is first served (ms); tests
// set 0.
extern DWORD g_searchQuietMs;

#endif
