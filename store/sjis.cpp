#include "sjis.h"

bool IsLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsTrailByte(unsigned char c)
{
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

bool IsDoubleByteAt(const char* p)
{
    return p && IsLeadByte((unsigned char)p[0]) && p[1] != '\0' &&
           IsTrailByte((unsigned char)p[1]);
}

long FindLastSjisChar(const char* text, size_t length, char ch)
{
    long found = -1;
    for (size_t i = 0; text && i < length; ++i) {
        if (i + 1 < length && IsLeadByte((unsigned char)text[i]) &&
            IsTrailByte((unsigned char)text[i + 1])) {
            ++i;
            continue;
        }
        if (text[i] == ch)
            found = (long)i;
    }
    return found;
}
