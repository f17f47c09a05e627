#include "sjis.h"

#include <cstring>

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

const char* FindLastChar(const char* text, char ch)
{
    const char* found = nullptr;
    if (!text)
        return nullptr;
    for (const char* p = text; *p; ++p) {
        if (IsDoubleByteAt(p)) {
            ++p;
            continue;
        }
        if (*p == ch)
            found = p;
    }
    return found;
}

unsigned long CharSafeLength(const char* text, unsigned long len)
{
    unsigned long i = 0;
    while (i < len) {
        unsigned long step = IsDoubleByteAt(text + i) ? 2 : 1;
        if (i + step > len)
            break;
        i += step;
    }
    return i;
}

const char* FindTextSjis(const char* text, const char* part)
{
    if (!text || !part)
        return nullptr;
    size_t len = strlen(part);
    for (const char* p = text;; p += IsDoubleByteAt(p) ? 2 : 1) {
        if (strncmp(p, part, len) == 0 && CharSafeLength(p, (unsigned long)len) == len)
            return p;
        if (!*p)
            return nullptr;
    }
}
