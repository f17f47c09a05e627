// What the user does directly in the list: clicks, keys, the right-click
// menu and renaming a row in place.
#ifndef ZORIVEN_LISTINPUT_H
#define ZORIVEN_LISTINPUT_H

#include "../app/winver.h"

// WM_NOTIFY of the main window; the result it must return.
LRESULT OnListNotify(NMHDR* header);
// Enter or double-click: a group opens, an item gives its value.
void ActivateSelectedRow();
void OnListKeyDown(WORD key);
// Renames the row's folder or file; the row shows its record's name after.
BOOL OnEndLabelEdit(NMLVDISPINFOA* info);
void ShowListContextMenu();

#endif
