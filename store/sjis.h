// The program's text by character, and separator searches that never split
// one. Its form is code page 932 (Shift_JIS) until the text inside becomes
// UTF-8: beside the byte classes below (which a Shift_JIS page and the
// search's fold table need), only this file's definitions know the form.
// A Shift_JIS trail byte may be 0x5C, the backslash.
#ifndef ZORIVEN_SJIS_H
#define ZORIVEN_SJIS_H

bool IsLeadByte(unsigned char c);
bool IsTrailByte(unsigned char c);
// The byte at p is a lead byte and the next one a trail byte.
bool IsDoubleByteAt(const char* p);

// The program's text by character, whatever its form: the bytes of the
// character at p (0 at the end of the text), and the columns it takes on
// a menu line (a wide character two).
unsigned CharBytesAt(const char* p);
int CharColumns(const char* p);

// The line-break mark "↓" as the program's text, as Japanese editors show
// a break inside one line.
extern const char kBreakMark[];

// Last occurrence of the single-byte character ch, read by character;
// null when there is none.
const char* FindLastChar(const char* text, char ch);

// Length of the longest prefix of text[0..len) that does not end inside
// a character.
unsigned long CharSafeLength(const char* text, unsigned long len);

// First occurrence of part in text, both read by character: a match
// starts and ends on character boundaries of text, so it never begins at
// a trail byte or stops inside a character. An empty part matches at the
// start; null when there is none.
const char* FindInString(const char* text, const char* part);

// The same over counted bytes (text may hold NULs): the offset of the
// first match, or -1. Fast enough to run over a whole folder's texts at
// every keystroke: candidates come from memchr, and the character walk
// that proves a candidate starts a character never goes back.
long FindInText(const char* text, unsigned long length, const char* part, unsigned long partLength);

#endif
