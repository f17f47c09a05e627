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

unsigned CharBytesAt(const char* p)
{
    if (!p || !*p)
        return 0;
    return IsDoubleByteAt(p) ? 2 : 1;
}

int CharColumns(const char* p)
{
    return IsDoubleByteAt(p) ? 2 : 1;
}

const char kBreakMark[] = "\x81\xAB";

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

// Bytes in the character at text[i] of a counted text.
static unsigned long CharStep(const char* text, unsigned long length, unsigned long i)
{
    return IsLeadByte((unsigned char)text[i]) && i + 1 < length &&
                   IsTrailByte((unsigned char)text[i + 1])
               ? 2
               : 1;
}

long FindInText(const char* text, unsigned long length, const char* part, unsigned long partLength)
{
    if (!text || !part || partLength > length)
        return -1;
    if (partLength == 0)
        return 0;
    unsigned long boundary = 0;   // a character starts here
    for (unsigned long at = 0; at + partLength <= length;) {
        const void* hit = memchr(text + at, (unsigned char)part[0], length - partLength + 1 - at);
        if (!hit)
            return -1;
        at = (unsigned long)((const char*)hit - text);
        while (boundary < at)
            boundary += CharStep(text, length, boundary);
        if (boundary != at) {
            at = boundary;   // the candidate was a trail byte
            continue;
        }
        if (memcmp(text + at, part, partLength) == 0) {
            // The match must not stop inside a double-byte character.
            unsigned long end = at;
            while (end < at + partLength)
                end += CharStep(text, length, end);
            if (end == at + partLength)
                return (long)at;
        }
        ++at;
    }
    return -1;
}

const char* FindInString(const char* text, const char* part)
{
    if (!text || !part)
        return nullptr;
    long at = FindInText(text, (unsigned long)strlen(text), part, (unsigned long)strlen(part));
    return at < 0 ? nullptr : text + at;
}
