#include "utf8.h"

const char kUtf8Mark[3] = {'\xEF', '\xBB', '\xBF'};

bool StartsWithUtf8Mark(const char* bytes, size_t length)
{
    return length >= 3 && bytes[0] == kUtf8Mark[0] && bytes[1] == kUtf8Mark[1] &&
           bytes[2] == kUtf8Mark[2];
}

bool StartsWithUtf16Mark(const char* bytes, size_t length)
{
    return length >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                           (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

static bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

size_t DecodeUtf8(const char* text, size_t length, uint32_t* codePoint)
{
    if (!text || length == 0)
        return 0;
    unsigned char lead = (unsigned char)text[0];
    size_t n;
    uint32_t cp, least;
    if (lead < 0x80) {
        n = 1, cp = lead, least = 0;
    } else if ((lead & 0xE0) == 0xC0) {
        n = 2, cp = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        n = 3, cp = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        n = 4, cp = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (n > length)
        return 0;
    for (size_t i = 1; i < n; ++i) {
        if (!IsContinuation((unsigned char)text[i]))
            return 0;
        cp = cp << 6 | ((unsigned char)text[i] & 0x3F);
    }
    // Over-long forms, surrogates and values past the last plane are not
    // text: a reader taking them could be led past a check on the bytes.
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    if (codePoint)
        *codePoint = cp;
    return n;
}

size_t EncodeUtf8(uint32_t cp, char* out)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    if (cp < 0x80) {
        out[0] = (char)cp;
        return 1;
    }
    if (cp < 0x800) {
        out[0] = (char)(0xC0 | cp >> 6);
        out[1] = (char)(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = (char)(0xE0 | cp >> 12);
        out[1] = (char)(0x80 | (cp >> 6 & 0x3F));
        out[2] = (char)(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = (char)(0xF0 | cp >> 18);
    out[1] = (char)(0x80 | (cp >> 12 & 0x3F));
    out[2] = (char)(0x80 | (cp >> 6 & 0x3F));
    out[3] = (char)(0x80 | (cp & 0x3F));
    return 4;
}

bool IsValidUtf8(const char* text, size_t length)
{
    for (size_t i = 0; i < length;) {
        size_t n = DecodeUtf8(text + i, length - i, nullptr);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

size_t Utf8SafeLength(const char* text, size_t length)
{
    if (!text)
        return 0;
    // At most three continuation bytes end a text inside a sequence.
    size_t start = length;
    for (int back = 0; back < 4 && start > 0; ++back) {
        --start;
        if (!IsContinuation((unsigned char)text[start]))
            break;
    }
    if (start == length)
        return length;
    unsigned char lead = (unsigned char)text[start];
    if (lead < 0x80)
        return length;
    size_t need = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 1;
    // A stray continuation or lead byte is left as it is: only a sequence
    // that began but was not finished is cut away.
    return length - start < need ? start : length;
}

size_t Utf16Length(const char* text, size_t length)
{
    size_t units = 0;
    for (size_t i = 0; i < length;) {
        uint32_t cp = 0;
        size_t n = DecodeUtf8(text + i, length - i, &cp);
        units += n && cp >= 0x10000 ? 2 : 1;
        i += n ? n : 1;
    }
    return units;
}

size_t Utf8PrefixOfUnits(const char* text, size_t length, size_t units)
{
    size_t i = 0, used = 0;
    while (i < length) {
        uint32_t cp = 0;
        size_t n = DecodeUtf8(text + i, length - i, &cp);
        size_t take = n && cp >= 0x10000 ? 2 : 1;
        if (used + take > units)
            break;
        used += take;
        i += n ? n : 1;
    }
    return i;
}

bool IsAsciiText(const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if ((unsigned char)text[i] >= 0x80)
            return false;
    return true;
}
