// Code page 932 (Shift_JIS) as the library stores it: the byte classes a
// stored line, a Shift_JIS web page and the old fold table are read by.
// A trail byte may be 0x5C (the backslash), 0x5B or 0x5D (the brackets).
#ifndef ZORIVEN_SJIS_H
#define ZORIVEN_SJIS_H

#include <cstddef>

bool IsLeadByte(unsigned char c);
bool IsTrailByte(unsigned char c);
// The byte at p is a lead byte and the next one a trail byte.
bool IsDoubleByteAt(const char* p);

// Last occurrence of the single-byte character ch in the code page 932
// bytes text[0..length), read by character; -1 when there is none.
long FindLastSjisChar(const char* text, size_t length, char ch);

#endif
