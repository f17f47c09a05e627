// Menu states and the status-bar help while a menu is open.
#ifndef ZORIVEN_MENUS_H
#define ZORIVEN_MENUS_H

#include "winver.h"

// Greys the commands of menu that cannot run now (WM_INITMENU).
void EnableMenuCommands(HMENU menu);
// WM_MENUSELECT: the highlighted item's help in the simple status bar.
void ShowMenuHelp(WPARAM wParam, LPARAM lParam);

#endif
