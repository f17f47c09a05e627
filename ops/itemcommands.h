// The commands that change the library on disk or the list's order.
#ifndef ZORIVEN_ITEMCOMMANDS_H
#define ZORIVEN_ITEMCOMMANDS_H

#include "../app/winver.h"

BOOL NewGroup(HWND owner);
BOOL StartRename();
BOOL DeleteSelectedRow(HWND owner);
BOOL DuplicateSelectedRow(HWND owner);
// direction -1 moves the selected row up one place, +1 down.
BOOL MoveSelectedRow(int direction);
BOOL MoveItemToGroup(HWND owner);
BOOL GoUpOneLevel();

#endif
