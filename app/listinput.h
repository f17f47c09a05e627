// What the user does directly in the list: clicks, keys, the right-click
// menu and renaming a row in place.
#ifndef ZORIVEN_LISTINPUT_H
#define ZORIVEN_LISTINPUT_H

#include "winver.h"

// WM_NOTIFY of the main window; the result it must return.
LRESULT OnListNotify(NMHDR* header);
// Enter or double-click: a group opens, an item gives its value. A menu of
// the item's entries opens at the pointer after a double-click, under the
// row otherwise.
void ActivateSelectedRow(BOOL atPointer = FALSE);
void OnListKeyDown(WORD key);
// Renames the row's folder or file to text (null: the edit was cancelled);
// the row shows its record's name after.
BOOL OnEndLabelEdit(int row, const char* text);
// At the pointer after a right-click; from the keyboard (Shift+F10, the
// menu key) under the selected row, or at the list's top left.
void ShowListContextMenu(BOOL fromKeyboard);

#endif
