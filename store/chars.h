// The program's text by character. Inside, text is UTF-8; only the stored
// forms (code page 932 files, see sjis.h) and the Windows boundary know
// another form. ASCII bytes never occur inside a UTF-8 character, so a
// search for a separator is a byte search.
#ifndef ZORIVEN_CHARS_H
#define ZORIVEN_CHARS_H

// The bytes of the character at p (0 at the end of the text; 1 for a
// byte that starts no well-formed character), and the columns it takes on
// a menu line (a wide character two, as in a Japanese font).
unsigned CharBytesAt(const char* p);
int CharColumns(const char* p);

// The line-break mark "↓", as Japanese editors show a break inside one
// line.
extern const char kBreakMark[];

// Last occurrence of the ASCII character ch; null when there is none.
const char* FindLastChar(const char* text, char ch);

// Length of the longest prefix of text[0..len) that does not end inside
// a character.
unsigned long CharSafeLength(const char* text, unsigned long len);

// First occurrence of part in text: a match starts and ends on character
// boundaries of text. An empty part matches at the start; null when there
// is none.
const char* FindInString(const char* text, const char* part);

// The same over counted bytes (text may hold NULs): the offset of the
// first match, or -1. Fast enough to run over a whole folder's texts at
// every keystroke: candidates come from memchr.
long FindInText(const char* text, unsigned long length, const char* part, unsigned long partLength);

#endif
