#include "itemtext.h"

#include <cstring>

#include "chars.h"
#include "pathtext.h"
#include "sjis.h"
#include "utf8.h"

unsigned StoredCharBytes(const char* p, int form)
{
    unsigned bytes = CharBytesAt(p);
    if (form == kFormUtf8 || bytes <= 1)
        return bytes;
    uint32_t cp = 0;
    DecodeUtf8(p, bytes, &cp);
    // Halfwidth katakana are the single bytes A1-DF; the few other single
    // bytes past ASCII are read as private characters.
    return (cp >= 0xFF61 && cp <= 0xFF9F) || cp == 0x80 || (cp >= 0xF8F0 && cp <= 0xF8F3) ? 1 : 2;
}

void CutToStored(char* text, size_t limit, int form)
{
    size_t stored = 0;
    for (char* p = text; p && *p; p += CharBytesAt(p)) {
        stored += StoredCharBytes(p, form);
        if (stored > limit) {
            *p = '\0';
            return;
        }
    }
}

size_t StoredLength(const char* text, int form)
{
    size_t total = 0;
    for (const char* p = text ? text : ""; *p; p += CharBytesAt(p))
        total += StoredCharBytes(p, form);
    return total;
}

void TrimLineEnd(char* text)
{
    if (!text)
        return;
    size_t len = strlen(text);
    while (len > 2 && (text[len - 1] == '\r' || text[len - 1] == '\n' || text[len - 1] == ' '))
        text[--len] = '\0';
}

void ReplaceChar(char* text, char from, char to)
{
    for (; text && *text; ++text)
        if (*text == from)
            *text = to;
}

void StripLineBreaks(char* text)
{
    if (!text)
        return;
    char* out = text;
    for (const char* in = text; *in; ++in)
        if (*in != '\r' && *in != '\n')
            *out++ = *in;
    *out = '\0';
}

void JoinLines(char* text)
{
    if (!text)
        return;
    // The breaks that end the text are left out, not made spaces.
    char* end = text + strlen(text);
    while (end > text && (end[-1] == '\r' || end[-1] == '\n'))
        --end;
    char* out = text;
    for (const char* in = text; in < end; ++in) {
        if (*in == '\r' && in + 1 < end && in[1] == '\n')
            ++in;
        *out++ = *in == '\r' || *in == '\n' ? ' ' : *in;
    }
    *out = '\0';
}

bool TextToValue(const char* text, char* value, int form)
{
    size_t out = 0, stored = 0;
    const char* in = text;
    // Line breaks shrink as they are taken, so the cut is made on the
    // value's own bytes.
    while (*in && stored < kMaxReadValue) {
        if (*in == '\r') {
            value[out++] = '\n';
            ++stored;
            in += in[1] == '\n' ? 2 : 1;
            continue;
        }
        unsigned bytes = CharBytesAt(in), storedBytes = StoredCharBytes(in, form);
        if (stored + storedBytes > kMaxReadValue || out + bytes >= kEntryTextCap)
            break;
        memcpy(value + out, in, bytes);
        out += bytes;
        stored += storedBytes;
        in += bytes;
    }
    // A line end always goes; a space only from a value of three bytes or
    // more, as TrimLineEnd has it.
    while (out > 0 && (value[out - 1] == '\n' || (value[out - 1] == ' ' && out > 2)))
        --out;
    value[out] = '\0';
    return in[strspn(in, "\r\n ")] != '\0';
}

size_t PreviewLength(const char* text, int lines, size_t bytes)
{
    size_t len = 0;
    for (int seen = 0; text[len] && len < bytes; ++len)
        if (text[len] == '\n' && ++seen == lines)
            break;
    return CharSafeLength(text, (unsigned long)len);
}

void MarkLineBreaks(const char* text, char* out, size_t cap)
{
    if (!out || cap == 0)
        return;
    size_t used = 0;
    for (const char* in = text ? text : ""; *in;) {
        bool mark = *in == '\n';
        size_t len = mark ? strlen(kBreakMark) : CharBytesAt(in);
        if (used + len >= cap)
            break;
        memcpy(out + used, mark ? kBreakMark : in, len);
        used += len;
        in += mark ? 1 : len;
    }
    out[used] = '\0';
}

void CopyFirstLine(const char* text, char* buffer, size_t size)
{
    if (!text || !text[0] || !buffer || size == 0)
        return;
    size_t len = strcspn(text, "\r\n");
    if (len > size - 1)
        len = CharSafeLength(text, (unsigned long)(size - 1));
    memcpy(buffer, text, len);
    buffer[len] = '\0';
}

// '=' is never a byte inside a character of either stored form.
static const char* FindFirstChar(const char* text, char ch)
{
    return strchr(text, ch);
}

int ParseItemLine(const char* line, char* key, char* value, int form)
{
    size_t len = line ? strlen(line) : 0;
    if (len < 3 || !key || !value)
        return kNotEntry;
    key[0] = value[0] = '\0';

    // The closing bracket must be a character of its own, not the second
    // byte of a double-byte character.
    long close = form == kFormUtf8 ? (long)len - 1 : FindLastSjisChar(line, len, ']');
    if (line[0] == '[' && line[len - 1] == ']' && close == (long)len - 1 && len < kMaxReadKey + 1) {
        memcpy(key, line + 1, len - 2);
        key[len - 2] = '\0';
        return kBracketLine;
    }
    const char* equals = FindFirstChar(line, '=');
    if (!equals)
        return kNotEntry;
    size_t keyLen = (size_t)(equals - line);
    size_t valueLen = len - keyLen - 1;
    if (keyLen > kMaxReadKey || valueLen > kMaxReadValue)
        return kNotEntry;
    memcpy(key, line, keyLen);
    key[keyLen] = '\0';
    memcpy(value, equals + 1, valueLen + 1);
    return kEntryLine;
}

// Compares text[0..len) with the terminated word, ASCII case folded.
static bool PieceEquals(const char* piece, size_t len, const char* word)
{
    char copy[kTextCap];
    if (len >= sizeof copy)
        return false;
    memcpy(copy, piece, len);
    copy[len] = '\0';
    return EqualNoCase(copy, word);
}

bool ExtensionInList(const char* name, const char* list)
{
    if (!name || !list || !list[0])
        return false;
    const char* dot = FindLastChar(LastComponent(name), '.');
    if (!dot || !dot[1])
        return false;
    const char* ext = dot + 1;
    for (const char* p = list; *p;) {
        size_t len = strcspn(p, ";");
        if (len && PieceEquals(p, len, ext))
            return true;
        p += len;
        if (*p == ';')
            ++p;
    }
    return false;
}

void InitLineReader(LineReader* reader, ReadBytesFn read, void* source)
{
    memset(reader, 0, sizeof *reader);
    reader->read = read;
    reader->source = source;
}

// The next byte without taking it; -1 at the end.
static int PeekByte(LineReader* r)
{
    if (r->pos == r->len) {
        if (r->ended)
            return -1;
        long n = r->read(r->source, r->buffer, (long)sizeof r->buffer);
        if (n <= 0 || n > (long)sizeof r->buffer) {
            r->ended = true;
            r->failed = n < 0 || n > (long)sizeof r->buffer;
            return -1;
        }
        r->pos = 0;
        r->len = n;
    }
    return (unsigned char)r->buffer[r->pos];
}

bool ReadTextLine(LineReader* r, char* line, size_t cap)
{
    if (!line || cap < 2)
        return false;
    size_t used = 0;
    int c;
    while (used < cap - 1 && (c = PeekByte(r)) >= 0) {
        r->pos++;
        if (c == 0)
            r->sawNul = true;
        if (c == '\r' && PeekByte(r) == '\n')
            continue;
        line[used++] = (char)c;
        if (c == '\n')
            break;
    }
    line[used] = '\0';
    return used > 0;
}

void InitItemParse(ItemParse* parse, int form)
{
    memset(parse, 0, sizeof *parse);
    parse->form = form;
}

// Whether a line the parser refused would be an entry but for its length.
static bool TooLongForEntry(const char* line, bool cut)
{
    const char* equals = FindFirstChar(line, '=');
    size_t keyLen = equals ? (size_t)(equals - line) : 0;
    return cut || (equals && (keyLen > kMaxReadKey || strlen(equals + 1) > kMaxReadValue));
}

static void NotePassed(ItemParse* parse, int reason)
{
    if (reason > parse->passed)
        parse->passed = reason;
}

bool TakeItemLine(ItemParse* parse, char* line)
{
    size_t raw = strlen(line);
    bool cut = raw >= kLineCap - 1 && line[raw - 1] != '\n';
    TrimLineEnd(line);
    if (!line[strspn(line, " \t\r\n")] || line[0] == '\'')
        return false;
    switch (ParseItemLine(line, parse->key, parse->value, parse->form)) {
    case kBracketLine:
        CopyText(parse->pendingKey, sizeof parse->pendingKey, parse->key);
        NotePassed(parse, kPassedNoEntry);
        return false;
    case kEntryLine:
        if (parse->pendingKey[0])
            CopyText(parse->key, sizeof parse->key, parse->pendingKey);
        ReplaceChar(parse->key, kKeyEqualsByte, '=');
        ReplaceChar(parse->value, kValueNewlineByte, '\n');
        parse->pendingKey[0] = '\0';
        return true;
    }
    NotePassed(parse, TooLongForEntry(line, cut) ? kPassedTooLong : kPassedNoEntry);
    return false;
}

bool IsShortcutName(const char* name)
{
    return ExtensionInList(name, "url");
}

bool AppendItemEntry(std::string* out, const char* key, const char* value, bool shortcut)
{
    if (!key)
        key = "";
    if (!value)
        value = "";
    if (strlen(key) > kMaxReadKey || strlen(value) > kMaxReadValue)
        return false;
    if (shortcut && EqualNoCase(key, "InternetShortcut")) {
        out->push_back('[');
        out->append(key);
        out->append("]\r\nURL");
    } else {
        for (const char* p = key; *p; ++p)
            out->push_back(*p == '=' ? (char)kKeyEqualsByte : *p);
    }
    out->push_back('=');
    for (const char* p = value; *p; ++p)
        out->push_back(*p == '\n' ? (char)kValueNewlineByte : *p);
    out->append("\r\n");
    return true;
}

namespace {
struct ByteSource {
    const std::string* text;
    size_t pos;
};

long ReadFromString(void* source, char* buffer, long capacity)
{
    ByteSource* s = (ByteSource*)source;
    size_t n = s->text->size() - s->pos;
    if (n > (size_t)capacity)
        n = (size_t)capacity;
    memcpy(buffer, s->text->data() + s->pos, n);
    s->pos += n;
    return (long)n;
}
}  // namespace

bool EntryReadsBack(const char* key, const char* value, bool shortcut, int form)
{
    std::string written;
    if (!key || !value || !AppendItemEntry(&written, key, value, shortcut))
        return false;
    // Read back the way ReadItemPath reads a file: the one way to be sure.
    ByteSource source = {&written, 0};
    LineReader reader;
    InitLineReader(&reader, ReadFromString, &source);
    ItemParse parse;
    InitItemParse(&parse, form);
    char line[kLineCap];
    int found = 0;
    bool same = false;
    while (ReadTextLine(&reader, line, sizeof line))
        if (TakeItemLine(&parse, line)) {
            ++found;
            same = strcmp(parse.key, key) == 0 && strcmp(parse.value, value) == 0;
        }
    return found == 1 && same;
}
