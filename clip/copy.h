// Taking a value out of an item: the clipboard, the browser, or both.
#ifndef ZORIVEN_COPY_H
#define ZORIVEN_COPY_H

#include "../app/winver.h"

// command: 0 when a row is activated, CMD_COPY or CMD_NOTIFY. The entry
// menu opens at the pointer or, for the keyboard, under the row.
void CopyOrNotify(HWND window, int command, BOOL atPointer = FALSE);

// Replaces the clipboard's contents by text as CF_TEXT, byte for byte.
// False (clipboard untouched) for a missing or empty text. Any other
// failure is reported in the error box: the user must never believe a
// value was copied when it was not.
BOOL SetClipboardText(HWND window, const char* text);

// How long a clipboard held by another program is waited for.
enum { kClipboardWaitMs = 500 };

// OpenClipboard, retried for kClipboardWaitMs.
BOOL OpenClipboardPatiently(HWND window);

// The row's item file was removed behind the program's back: error 3 is
// reported and the row goes.
void DropVanishedRow(int row);

#endif
