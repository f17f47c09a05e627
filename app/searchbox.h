// The filter box at the right end of the toolbar: what is typed there
// filters the list as it is typed; the button beside it searches the
// whole library.
#ifndef ZORIVEN_SEARCHBOX_H
#define ZORIVEN_SEARCHBOX_H

#include "winver.h"

// Makes the box, a child of the toolbar, with its grey hint.
BOOL CreateSearchBox(HWND toolbar);
// Puts the box and the button at the toolbar's right end.
void LayoutSearchBox();
// Ctrl+K, F3: the box gets the keyboard, its text selected.
void FocusSearchBox();
// WM_COMMAND from the box (forwarded by the toolbar).
void OnSearchBoxCommand(int code);
// The box's text, at most cap - 1 bytes, cut on a character.
void GetSearchBoxText(char* out, int cap);

// UTF-16 units the box takes (with a terminator), and bytes of a text
// taken from it: the box's 255 units as UTF-8.
enum { kSearchUnits = 256, kSearchTextCap = 3 * kSearchUnits };

#endif
