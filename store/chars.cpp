#include "chars.h"

#include <cstdint>
#include <cstring>

#include "utf8.h"

static bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

unsigned CharBytesAt(const char* p)
{
    if (!p || !*p)
        return 0;
    uint32_t cp = 0;
    size_t n = DecodeUtf8(p, strnlen(p, 4), &cp);
    return n ? (unsigned)n : 1;
}

int CharColumns(const char* p)
{
    uint32_t cp = 0;
    if (!p || !DecodeUtf8(p, strnlen(p, 4), &cp))
        return 1;
    // Halfwidth katakana are narrow, as in code page 932; every other
    // character past ASCII takes a full cell in a Japanese font.
    if (cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F))
        return 1;
    return 2;
}

const char kBreakMark[] = "\xE2\x86\x93";

const char* FindLastChar(const char* text, char ch)
{
    return text ? strrchr(text, ch) : nullptr;
}

unsigned long CharSafeLength(const char* text, unsigned long len)
{
    return text ? (unsigned long)Utf8SafeLength(text, len) : 0;
}

long FindInText(const char* text, unsigned long length, const char* part, unsigned long partLength)
{
    if (!text || !part || partLength > length)
        return -1;
    if (partLength == 0)
        return 0;
    for (unsigned long at = 0; at + partLength <= length;) {
        const void* hit = memchr(text + at, (unsigned char)part[0], length - partLength + 1 - at);
        if (!hit)
            return -1;
        at = (unsigned long)((const char*)hit - text);
        // Well-formed text matches only on boundaries; a malformed part
        // must not match the middle of a character either.
        if (memcmp(text + at, part, partLength) == 0 &&
            !IsContinuation((unsigned char)text[at]) &&
            (at + partLength == length || !IsContinuation((unsigned char)text[at + partLength])))
            return (long)at;
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
