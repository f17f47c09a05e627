// Text taken from another program (the clipboard, a drop) as the ANSI code
// page's bytes. Unicode text is converted here rather than by the system,
// whose best-fit conversion swaps é for e and an emoji for "??" without a
// word; what the code page cannot hold is left out, counted and shown.
#ifndef ZORIVEN_WIDETEXT_H
#define ZORIVEN_WIDETEXT_H

#include <cstddef>

#include "../app/winver.h"

enum { kLostShown = 5 };

// The characters a conversion left out: how many, and the first few.
struct LostChars {
    int count;
    int shown;
    WCHAR first[kLostShown * 2 + 1];   // a character may be a surrogate pair
};

// A heap copy (free()) of text[0..len) (ending earlier at a zero) in the
// ANSI code page; null for no memory.
char* WideToAnsiText(const WCHAR* text, size_t len, LostChars* lost);

// The same from a global block holding CF_UNICODETEXT, never read past
// the block's end; null for no block or no memory.
char* WideBlockToAnsi(HGLOBAL block, LostChars* lost);
// A block of text in the system's ANSI code page (CF_TEXT) as the program's text
// (heap, free()); null for no block or no memory. size as CopyBlockText.
char* AnsiBlockToProgram(HGLOBAL block, SIZE_T* size);

// True when nothing was lost, or when the user chose to store the text
// without those characters; false when the user cancelled.
BOOL AcceptLostChars(HWND owner, const LostChars* lost);

// Text from the clipboard for a new item: its Unicode text when that is
// what the source put there (not one the system made from CF_TEXT), else
// its CF_TEXT; null without text or when the user cancelled over
// characters that could not be kept.
char* TakeClipboardText(HWND window);

#endif
