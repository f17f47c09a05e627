// Toolbar, status bar and list view of the main window.
#ifndef ZORIVEN_CHROME_H
#define ZORIVEN_CHROME_H

#include "winver.h"

BOOL CreateChrome(HWND mainWindow);
void LayoutChrome(BOOL fromSize, WPARAM wParam, LPARAM lParam);
void LayoutStatusParts();
// The list's only column as wide as the list inside its scroll bars.
void FitItemColumn();
void ToggleBar(int commandId);
// The menu's check mark, not the window's visibility, says whether the
// toolbar (CMD_TOOLBAR) or the status bar (CMD_STATUSBAR) is shown.
BOOL IsBarChecked(int commandId);
DWORD GetCommonControlsVersion(const char* library);

#endif
