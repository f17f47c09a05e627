// Shift_JIS byte classes and separator searches that never split a
// double-byte character (whose trail byte may be 0x5C, the backslash).
#ifndef ZORIVEN_SJIS_H
#define ZORIVEN_SJIS_H

bool IsLeadByte(unsigned char c);
bool IsTrailByte(unsigned char c);
// The byte at p is a lead byte and the next one a trail byte.
bool IsDoubleByteAt(const char* p);

// Last occurrence of the single-byte character ch, read as Shift_JIS
// text; null when there is none.
const char* FindLastChar(const char* text, char ch);

// Length of the longest prefix of text[0..len) that does not end inside
// a double-byte character.
unsigned long CharSafeLength(const char* text, unsigned long len);

// First occurrence of part in text, both read as Shift_JIS text: a match
// starts and ends on character boundaries of text, so it never begins at
// a trail byte or stops inside a double-byte character. An empty part
// matches at the start; null when there is none.
const char* FindTextSjis(const char* text, const char* part);

// The same over counted bytes (text may hold NULs): the offset of the
// first match, or -1. Fast enough to run over a whole folder's texts at
// every keystroke: candidates come from memchr, and the character walk
// that proves a candidate starts a character never goes back.
long FindSjis(const char* text, unsigned long length, const char* part, unsigned long partLength);

#endif
