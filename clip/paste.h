// Making items from text: the clipboard's (paste) or text dropped on the
// main window, which may also be appended to the item it was dropped on.
#ifndef ZORIVEN_PASTE_H
#define ZORIVEN_PASTE_H

#include <cstddef>

#include "../app/winver.h"

struct Entry;

// Command 1032: a new item from the clipboard's text; nothing without text.
void PasteFromClipboard(HWND window);

// A heap copy (free()) of the clipboard's text as the program's text (its
// Unicode text, or CF_TEXT where there is none, cut at the end of its block
// when the block holds no terminator; characters the program's form cannot
// hold are left out); null without text. size, when given, receives the
// size of the copy with its terminator (of the block for CF_TEXT).
char* GetClipboardText(HWND window, SIZE_T* size);

// A heap copy (free()) of the text in a global block, terminated and cut
// at the block's end; null for no block or no memory. size, when given,
// receives the block's size.
char* CopyBlockText(HGLOBAL block, SIZE_T* size);

// A new item from text, or, for a drop on an item row, an entry appended
// to it (as DropAction says). row: the row dropped on, or -1. TRUE when the
// text was stored; FALSE when it was not (cancelled, refused, not written).
// A text longer than a value can hold is cut, and the user is told.
BOOL MakeItemFromText(HWND window, const char* text, BOOL dropped, int row);

// Tells the user that a text was cut to kept bytes to fit a value.
void ReportTextCut(size_t kept);

// 1 append to row's item, 0 make a new item, -1 abort.
int AskAppendOrNew(HWND window, int row);

// Appends entry to the item file of row as it is on disk now, and takes
// the file's entries into the row's record once written. Refused, with
// the error box, when the item holds kMaxEntries already; a vanished file
// is reported and its row goes.
BOOL AppendEntryToItem(int row, const Entry* entry);

#endif
