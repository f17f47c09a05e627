// The owner-drawn menu of an item's keys, with the entry chosen last
// marked.
#ifndef ZORIVEN_ENTRYMENU_H
#define ZORIVEN_ENTRYMENU_H

#include "../app/winver.h"

struct ItemRecord;

// Shows the keys at the point given (screen coordinates), or at the mouse
// cursor; CMD_ENTRY_FIRST + the chosen entry's index, or 0 when the menu
// was dismissed or could not be made.
int ShowEntryMenu(HWND window, ItemRecord* item, const POINT* under);

// WM_MEASUREITEM and WM_DRAWITEM of the main window; always TRUE.
BOOL MeasureEntryMenuItem(HWND window, MEASUREITEMSTRUCT* m);
BOOL DrawEntryMenuItem(const DRAWITEMSTRUCT* d);

// A one-pixel sunken edge on r; false without a DC or rectangle.
BOOL DrawSunkenFrame(HDC dc, const RECT* r);

// Entries between two separators.
enum { kEntriesPerGroup = 5 };

#endif
