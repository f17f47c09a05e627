// Text taken from another program (the clipboard, a drop) as the
// program's text. Unicode text keeps every character; ANSI text is read
// in the code page its source used.
#ifndef ZORIVEN_WIDETEXT_H
#define ZORIVEN_WIDETEXT_H

#include <cstddef>

#include "../app/winver.h"

// A heap copy (free()) of text[0..len) (ending earlier at a zero) as
// program text; null for no memory.
char* WideToProgramText(const WCHAR* text, size_t len);

// The same from a global block holding CF_UNICODETEXT, never read past
// the block's end; null for no block or no memory.
char* WideBlockToProgram(HGLOBAL block);
// A block of ANSI text (CF_TEXT) in codePage as the program's text (heap,
// free()); null for no block or no memory. size as CopyBlockText.
char* AnsiBlockToProgram(HGLOBAL block, SIZE_T* size, UINT codePage = CP_ACP);

// The code page of the clipboard's CF_TEXT: that of its CF_LOCALE when
// the source gave one, else the system's. The clipboard must be open.
UINT ClipboardTextCodePage();

// Text from the clipboard for a new item: its Unicode text when there is
// any, else its CF_TEXT; null without text.
char* TakeClipboardText(HWND window);

#endif
