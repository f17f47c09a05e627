#include "titletext.h"

#include <cstdint>
#include <cstring>

#include "store/chars.h"
#include "store/pathtext.h"
#include "store/sjis.h"
#include "store/textbuf.h"
#include "store/utf8.h"

static char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
}

// text begins with word (upper-case ASCII), letters compared without case.
static bool StartsWithNoCase(const char* text, const char* word)
{
    for (; *word; ++text, ++word)
        if (UpperAscii(*text) != *word)
            return false;
    return true;
}

bool IsUrl(const char* text)
{
    if (!text || !text[0])
        return false;
    return StartsWithNoCase(text, "HTTP://") || StartsWithNoCase(text, "HTTPS://") ||
           StartsWithNoCase(text, "FTP://") || StartsWithNoCase(text, "FILE://");
}

static bool IsBlankByte(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

struct CharsetName {
    const char* name;   // upper case
    int charset;
};

static const CharsetName kCharsetNames[] = {
    {"UTF-8", kCharsetUtf8},          {"UTF8", kCharsetUtf8},
    {"EUC-JP", kCharsetEucJp},        {"X-EUC-JP", kCharsetEucJp},
    {"EUCJP", kCharsetEucJp},         {"SHIFT_JIS", kCharsetShiftJis},
    {"SHIFT-JIS", kCharsetShiftJis},  {"X-SJIS", kCharsetShiftJis},
    {"SJIS", kCharsetShiftJis},       {"WINDOWS-31J", kCharsetShiftJis},
    {"CP932", kCharsetShiftJis},      {"MS_KANJI", kCharsetShiftJis},
    {"CSSHIFTJIS", kCharsetShiftJis},
};

// The charset named by the token at p (up to a quote, a blank, or one of
// ; , > /).
static int CharsetOfName(const char* p)
{
    size_t len = strcspn(p, "\"'; ,>/\t\r\n");
    if (len == 0)
        return kCharsetUnknown;
    for (const CharsetName& known : kCharsetNames)
        if (strlen(known.name) == len && StartsWithNoCase(p, known.name))
            return known.charset;
    return kCharsetOther;
}

// The first "charset=" declaration of text, in any letter case, with or
// without quotes and blanks around "=".
static int DeclaredCharset(const char* text)
{
    for (const char* p = text; (p = strpbrk(p, "cC")) != nullptr; ++p) {
        if (!StartsWithNoCase(p, "CHARSET"))
            continue;
        const char* q = p + 7;
        while (IsBlankByte(*q))
            ++q;
        if (*q != '=')
            continue;
        ++q;
        while (IsBlankByte(*q))
            ++q;
        if (*q == '"' || *q == '\'')
            ++q;
        return CharsetOfName(q);
    }
    return kCharsetUnknown;
}

int CharsetOfContentType(const char* contentType)
{
    return contentType ? DeclaredCharset(contentType) : kCharsetUnknown;
}

// The Shift_JIS code of the JIS X 0208 character (j1, j2), both 0x21-0x7E.
static void JisToShiftJis(unsigned j1, unsigned j2, char* out)
{
    unsigned s1 = ((j1 - 0x21) >> 1) + 0x81;
    if (s1 > 0x9F)
        s1 += 0x40;
    unsigned s2;
    if (j1 & 1)
        s2 = j2 + (j2 <= 0x5F ? 0x1F : 0x20);
    else
        s2 = j2 + 0x7E;
    out[0] = (char)s1;
    out[1] = (char)s2;
}

static bool IsEucByte(unsigned char c)
{
    return c >= 0xA1 && c <= 0xFE;
}

// Writes at most as many bytes as it has read, and reads a character
// before writing it, so src and out may be the same buffer.
void EucJpToShiftJis(const char* src, char* out, size_t cap)
{
    if (!out || cap == 0)
        return;
    size_t o = 0;
    if (src) {
        size_t i = 0;
        for (;;) {
            unsigned char b = (unsigned char)src[i];
            if (b == 0)
                break;
            char ch[2];
            size_t in, n;
            if (b >= 0xA1) {
                unsigned char b2 = (unsigned char)src[i + 1];
                if (!IsEucByte(b) || !IsEucByte(b2))
                    break;   // outside the rows, or cut short
                JisToShiftJis(b & 0x7F, b2 & 0x7F, ch);
                in = n = 2;
            } else if (b == 0x8E) {
                if (src[i + 1] == '\0')
                    break;
                ch[0] = src[i + 1];
                in = 2;
                n = 1;
            } else if (b == 0x8F) {
                if (src[i + 1] == '\0' || src[i + 2] == '\0')
                    break;
                ch[0] = '?';
                in = 3;
                n = 1;
            } else {
                ch[0] = (char)b;
                in = n = 1;
            }
            if (o + n > cap - 1)
                break;
            memcpy(out + o, ch, n);
            o += n;
            i += in;
        }
    }
    out[o] = '\0';
}

bool IsWellFormedEucJp(const char* text)
{
    if (!text)
        return false;
    const unsigned char* p = (const unsigned char*)text;
    while (*p) {
        if (*p < 0x80) {
            ++p;
        } else if (*p == 0x8E) {
            if (p[1] < 0xA1 || p[1] > 0xDF)
                return false;
            p += 2;
        } else if (*p == 0x8F) {
            if (!IsEucByte(p[1]) || !IsEucByte(p[2]))
                return false;
            p += 3;
        } else {
            if (!IsEucByte(p[0]) || !IsEucByte(p[1]))
                return false;
            p += 2;
        }
    }
    return true;
}

void FixYahooTitle(char* title, size_t cap)
{
    if (!title || cap == 0 || strnlen(title, cap) == cap)
        return;
    if (strstr(title, "Yahoo!") && IsWellFormedEucJp(title))
        EucJpToShiftJis(title, title, cap);
}

// Upper-case copy of text with the same byte layout: double-byte characters
// are copied as they are, so a trail byte is never changed.
static void UpperCopy(const char* text, char* work, size_t len)
{
    memcpy(work, text, len);
    work[len] = '\0';
    for (size_t i = 0; i < len; ++i) {
        unsigned char c = (unsigned char)work[i];
        if (c < 'a')
            continue;
        if (c <= 'z')
            work[i] = (char)(c - 'a' + 'A');
        else if (IsDoubleByteAt(work + i))
            ++i;
    }
}

// The longest prefix of Shift_JIS text[0..len) that does not end between
// a lead byte and its trail byte, read from the start.
static size_t SjisSafeLength(const char* text, size_t len)
{
    size_t at = 0;
    while (at < len) {
        size_t step = IsDoubleByteAt(text + at) ? 2 : 1;
        if (at + step > len)
            break;
        at += step;
    }
    return at;
}

int ExtractTitle(char* page, char* out, size_t size, int headerCharset)
{
    if (out && size)
        out[0] = '\0';
    if (!page || !out || size == 0)
        return kNoTitle;
    size_t len = strnlen(page, kPageCap - 1);
    page[len] = '\0';

    char work[kWorkCap];
    UpperCopy(page, work, len);

    int charset = headerCharset;
    if (charset == kCharsetUnknown && DeclaredCharset(work) == kCharsetUtf8)
        charset = kCharsetUtf8;
    if (charset == kCharsetUnknown && strstr(work, "EUC-JP"))
        charset = kCharsetEucJp;
    int kind = charset == kCharsetUtf8 ? kTitleUtf8 : kTitleAsIs;
    if (charset == kCharsetEucJp) {
        EucJpToShiftJis(page, page, kPageCap);
        len = strlen(page);
        UpperCopy(page, work, len);
        kind = kTitleFromEucJp;
    }

    // Tags start with "<", never a trail byte, so a match is a character
    // of its own and its offset holds in the page as well.
    const char* close = strstr(work, "</TITLE>");
    if (!close)
        return kNoTitle;
    const char* open = strstr(work, "<TITLE>");
    const char* start;
    if (open) {
        start = open + 7;
    } else {
        open = strstr(work, "<TITLE ");
        const char* end = open ? strchr(open, '>') : nullptr;
        if (!end)
            return kNoTitle;
        start = end + 1;
    }
    if (close <= start)
        return kNoTitle;

    const char* title = page + (start - work);
    size_t titleLen = (size_t)(close - start);
    size_t keep = titleLen < size - 1 ? titleLen : size - 1;
    if (keep < titleLen)
        keep = kind == kTitleUtf8 ? Utf8SafeLength(title, keep) : SjisSafeLength(title, keep);
    memcpy(out, title, keep);
    out[keep] = '\0';
    return titleLen ? kind : kNoTitle;
}

struct NamedEntity {
    const char* name;
    unsigned long codePoint;
};

static const NamedEntity kNamedEntities[] = {
    {"amp", 0x26},     {"lt", 0x3C},      {"gt", 0x3E},      {"quot", 0x22},
    {"apos", 0x27},    {"nbsp", 0x20},    {"copy", 0xA9},    {"reg", 0xAE},
    {"trade", 0x2122}, {"hellip", 0x2026}, {"mdash", 0x2014}, {"ndash", 0x2013},
    {"laquo", 0xAB},   {"raquo", 0xBB},   {"lsquo", 0x2018}, {"rsquo", 0x2019},
    {"ldquo", 0x201C}, {"rdquo", 0x201D}, {"middot", 0xB7},  {"times", 0xD7},
    {"divide", 0xF7},  {"yen", 0xA5},     {"deg", 0xB0},     {"plusmn", 0xB1},
};

static bool IsAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

static int DigitValue(char c, bool hex)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (hex && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The entity at p ("&..."): its length through ";" and its code point, or
// 0 when p does not begin a complete entity the decoder knows.
static size_t ParseEntity(const char* p, unsigned long* codePoint)
{
    const char* q = p + 1;
    if (*q == '#') {
        ++q;
        bool hex = *q == 'x' || *q == 'X';
        if (hex)
            ++q;
        const char* digits = q;
        unsigned long value = 0;
        for (int d; (d = DigitValue(*q, hex)) >= 0; ++q)
            if (value <= 0x10FFFF)   // stays above the limit once past it
                value = value * (hex ? 16 : 10) + (unsigned long)d;
        if (q == digits || *q != ';')
            return 0;
        if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return 0;
        *codePoint = value;
        return (size_t)(q + 1 - p);
    }
    size_t nameLen = 0;
    while (nameLen < 8 && IsAsciiAlnum(q[nameLen]))
        ++nameLen;
    if (nameLen == 0 || q[nameLen] != ';')
        return 0;
    for (const NamedEntity& known : kNamedEntities) {
        if (strlen(known.name) == nameLen && memcmp(known.name, q, nameLen) == 0) {
            *codePoint = known.codePoint;
            return nameLen + 2;
        }
    }
    return 0;
}

void DecodeEntities(char* text)
{
    if (!text)
        return;
    // Reading runs ahead of writing: an entity is at least 4 bytes and
    // never shorter than its character's UTF-8 sequence (&#x10000; is 9
    // bytes for 4), so the text never grows and "&amp;lt;" gives "&lt;",
    // not "<".
    char* w = text;
    const char* r = text;
    while (*r) {
        unsigned long codePoint = 0;
        size_t entityLen = *r == '&' ? ParseEntity(r, &codePoint) : 0;
        if (entityLen == 0) {
            *w++ = *r++;
            continue;
        }
        char bytes[4];
        size_t n = EncodeUtf8((uint32_t)codePoint, bytes);
        if (n > entityLen)
            n = 0;
        r += entityLen;
        memcpy(w, bytes, n);
        w += n;
    }
    *w = '\0';
}

// The bytes of the character at p a name keeps: a name character, or a
// well-formed non-ASCII character other than a C1 control; 0 for a byte
// that goes (and for the end of the text).
static size_t KeptCharAt(const char* p)
{
    unsigned char c = (unsigned char)*p;
    if (c < 0x80)
        return c && IsNameChar(c) ? 1 : 0;
    uint32_t cp = 0;
    size_t n = DecodeUtf8(p, strnlen(p, 4), &cp);
    return cp >= 0xA0 ? n : 0;
}

void CleanTitle(char* text)
{
    if (!text)
        return;
    char* w = text;
    const char* r = text;
    while (*r) {
        size_t bytes = KeptCharAt(r);
        if (bytes == 0) {
            ++r;   // one byte at a time: a malformed sequence goes whole
            continue;
        }
        memmove(w, r, bytes);
        w += bytes;
        r += bytes;
    }
    *w = '\0';
}

bool UrlHostPart(const char* url, char* out, size_t size)
{
    if (out && size)
        out[0] = '\0';
    if (!url || !out || size == 0)
        return false;
    // ":" and "/" never occur inside a UTF-8 character.
    const char* scheme = strstr(url, "://");
    if (!scheme)
        return false;
    const char* host = scheme + 3;
    size_t len = strcspn(host, "/");
    size_t room = size >= 2 ? size - 2 : 0;
    if (len > room)
        len = Utf8SafeLength(host, room);
    memcpy(out, host, len);
    out[len] = '\0';
    return len > 0;
}

char* LeadingNameRun(const char* text, char* out, size_t size)
{
    if (out && size)
        out[0] = '\0';
    if (!text || !text[0] || !out || size == 0)
        return nullptr;
    size_t run = 0;
    for (size_t bytes; (bytes = KeptCharAt(text + run)) != 0;)
        run += bytes;
    // The run holds only whole characters, so the UTF-8 cut is exact.
    if (run > size - 1)
        run = Utf8SafeLength(text, size - 1);
    if (run == 0)
        return nullptr;
    memcpy(out, text, run);
    out[run] = '\0';
    return out;
}

void SjisToUtf8(const char* text, char* out, size_t cap, SjisCharToUtf8Fn toUtf8)
{
    if (!out || cap == 0)
        return;
    size_t o = 0;
    for (const char* p = text ? text : ""; *p;) {
        size_t in = IsDoubleByteAt(p) ? 2 : 1;
        char bytes[8];
        size_t n = toUtf8 ? toUtf8(p, in, bytes) : 0;
        p += in;
        // A converter's bad answer drops the character, as a byte the
        // code page has no character for.
        if (n == 0 || n > 4 || !IsValidUtf8(bytes, n) || memchr(bytes, '\0', n))
            continue;
        if (o + n > cap - 1)
            break;
        memcpy(out + o, bytes, n);
        o += n;
    }
    out[o] = '\0';
}

int TitleAsProgramText(char* page, char* out, size_t size, int headerCharset,
                       SjisCharToUtf8Fn toUtf8)
{
    if (out && size)
        out[0] = '\0';
    if (!out || size == 0)
        return kNoTitle;
    // The title as the page has it fits here whole: it lies in the page.
    char raw[kPageCap];
    int kind = ExtractTitle(page, raw, sizeof raw, headerCharset);
    if (kind == kNoTitle)
        return kNoTitle;
    if (kind == kTitleAsIs)
        FixYahooTitle(raw, sizeof raw);
    if (kind == kTitleUtf8)
        CopyText(out, size, raw);   // cut on a character
    else
        SjisToUtf8(raw, out, size, toUtf8);
    DecodeEntities(out);
    return kind;
}
