// Taking a value out of an item: the clipboard, the browser, or both.
#ifndef ZORIVEN_COPY_H
#define ZORIVEN_COPY_H

#include <string>

#include "../app/winver.h"

// command: 0 when a row is activated, CMD_COPY or CMD_NOTIFY. The entry
// menu opens at the pointer or, for the keyboard, under the row.
void CopyOrNotify(HWND window, int command, BOOL atPointer = FALSE);

struct ItemRecord;
// The same for a record of any folder, whose file is at path: the entry
// menu (for several entries) opens at *under, or at the pointer when under
// is null. True when the value went to the clipboard or the browser.
bool TakeRecordValue(HWND window, ItemRecord* record, const char* path, int command,
                     const POINT* under);

// Replaces the clipboard's contents by text as CF_TEXT, byte for byte.
// False (clipboard untouched) for a missing or empty text. Any other
// failure is reported in the error box: the user must never believe a
// value was copied when it was not.
BOOL SetClipboardText(HWND window, const char* text);

// The same for text already in UTF-16 (the history's, converted exactly).
BOOL SetClipboardUnicode(HWND window, const std::wstring& wide);

// How long a clipboard held by another program is waited for.
enum { kClipboardWaitMs = 500 };

// OpenClipboard, retried for kClipboardWaitMs.
BOOL OpenClipboardPatiently(HWND window);

// The row's item file was removed behind the program's back: error 3 is
// reported and the row goes.
void DropVanishedRow(int row);

#endif
