// UTF-8 as text is held inside the program: sequences, their validity and
// cuts that never split a character. No windows.h: the stored forms and
// the Windows boundary convert through app/wide.h.
#ifndef ZORIVEN_UTF8_H
#define ZORIVEN_UTF8_H

#include <cstddef>
#include <cstdint>

// The bytes EF BB BF a UTF-8 file of the library begins with.
extern const char kUtf8Mark[3];
bool StartsWithUtf8Mark(const char* bytes, size_t length);
// FF FE or FE FF: a file some editors save as "Unicode", in UTF-16.
bool StartsWithUtf16Mark(const char* bytes, size_t length);

// The code point of the well-formed sequence at text[0..length): its
// length, or 0 when the bytes there are no shortest, in-range, non-
// surrogate sequence.
size_t DecodeUtf8(const char* text, size_t length, uint32_t* codePoint);
// The sequence of codePoint in out (4 bytes of room): its length, or 0
// for a surrogate or a value past U+10FFFF.
size_t EncodeUtf8(uint32_t codePoint, char* out);

// Every byte of text[0..length) belongs to a well-formed sequence.
bool IsValidUtf8(const char* text, size_t length);
// ASCII reads the same in code page 932 and UTF-8: no conversion needed.
bool IsAsciiText(const char* text, size_t length);

// Length of the longest prefix of text[0..length) that does not end inside
// a sequence (a well-formed text cut there stays well formed).
size_t Utf8SafeLength(const char* text, size_t length);

// The UTF-16 units text[0..length) takes (a character past U+FFFF two; a
// byte of no well-formed sequence one, as it is shown).
size_t Utf16Length(const char* text, size_t length);

// Length of the longest prefix of text[0..length), whole characters, that
// takes at most units UTF-16 units.
size_t Utf8PrefixOfUnits(const char* text, size_t length, size_t units);

#endif
