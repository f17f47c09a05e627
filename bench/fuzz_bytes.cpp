// libFuzzer target for the byte-level code: item files and entry caches as
// arbitrary bytes, the text, name and path operations on arbitrary text,
// and page titles (pages, EUC-JP, entities, cleaning, fallback names) into
// output buffers of 1 to 300 bytes. The first byte chooses which. Run by hand:
//   bash tools/fuzz.sh 600        (seconds; corpus in build/fuzz/corpus)
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/hotkeytext.h"
#include "clip/historyfile.h"
#include "store/entrycache.h"
#include "store/itemlines.h"
#include "store/itemname.h"
#include "store/itemtext.h"
#include "store/pathtext.h"
#include "store/chars.h"
#include "store/sjis.h"
#include "store/syncnames.h"
#include "store/textbuf.h"
#include "store/utf8.h"
#include "web/titletext.h"
#include "web/urltext.h"
#include "tests/support/foldstub.h"

namespace {

#define CHECK(cond)                                                     \
    do {                                                                \
        if (!(cond)) {                                                  \
            __builtin_trap();                                           \
        }                                                               \
    } while (0)

// Hands out the bytes in uneven chunks, as a file system may.
struct Source {
    const uint8_t* data;
    size_t size, pos;
    size_t chunk;
};

long ReadChunk(void* p, char* buffer, long capacity)
{
    Source* s = static_cast<Source*>(p);
    size_t n = s->size - s->pos;
    if (n > s->chunk)
        n = s->chunk;
    if (n > (size_t)capacity)
        n = (size_t)capacity;
    memcpy(buffer, s->data + s->pos, n);
    s->pos += n;
    return (long)n;
}

typedef std::vector<std::pair<std::string, std::string>> Entries;

Entries ParseAll(const uint8_t* data, size_t size, size_t chunk, int form)
{
    Source source = {data, size, 0, chunk ? chunk : 1};
    LineReader reader;
    InitLineReader(&reader, ReadChunk, &source);
    ItemParse parse;
    InitItemParse(&parse, form);
    Entries entries;
    char line[kLineCap];
    while (ReadTextLine(&reader, line, sizeof line)) {
        CHECK(strlen(line) < kLineCap);
        if (!TakeItemLine(&parse, line))
            continue;
        CHECK(strlen(parse.key) <= kMaxReadKey);
        CHECK(strlen(parse.value) <= kMaxReadValue);
        entries.emplace_back(parse.key, parse.value);
    }
    CHECK(!reader.failed);
    return entries;
}

// Entries the plain key=value line cannot carry: a key that starts a
// comment, a line too short to count, one that reads as a bracket line,
// and trailing spaces that the reader trims.
bool Representable(const std::string& key, const std::string& value)
{
    std::string line = key + "=" + value;
    if (line.size() < 3 || line[0] == '\'')
        return false;
    if (line[0] == '[' && line.back() == ']')
        return false;
    return line.back() != ' ' && line.back() != '\r';
}

// Rows written back over the file they came from: unchanged rows write
// nothing; changed ones either are refused for a row the file cannot hold
// or give bytes that read back as the rows (the writer checks that itself).
void FuzzRewrite(const uint8_t* data, size_t size, Entries rows, int form)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    if (rows.size() > kShownEntries)
        rows.resize(kShownEntries);
    std::vector<EntryText> texts;
    auto Run = [&](bool shortcut) {
        texts.clear();
        for (const auto& r : rows)
            texts.push_back({r.first.c_str(), r.second.c_str()});
        std::string out;
        int bad = -2;
        int result = RewriteItemBytes(bytes, size, texts.data(), (int)texts.size(), shortcut, &out,
                                      &bad, form);
        CHECK(result != kRewriteFailed || bad >= 0);
        return result;
    };
    CHECK(Run(false) == kRewriteUnchanged);
    CountHiddenLines(bytes, size, form);
    unsigned pick = size > 1 ? data[size - 1] : 0;
    if (!rows.empty() && (pick & 1))
        rows.erase(rows.begin() + pick / 2 % rows.size());
    if (!rows.empty() && (pick & 2))
        rows[pick / 4 % rows.size()].second = "changed";
    if (!rows.empty() && (pick & 4))
        rows[pick / 8 % rows.size()].first = pick & 8 ? "InternetShortcut" : "renamed";
    if (rows.size() > 1 && (pick & 16))
        std::swap(rows.front(), rows.back());
    if (rows.size() < kShownEntries && (pick & 32))
        rows.insert(rows.begin() + pick / 64 % (rows.size() + 1), {"new", "row"});
    Run(pick & 64);
}

// Both stored forms: the same line logic, a bracket read by its form.
void FuzzItemFile(const uint8_t* data, size_t size, int form)
{
    size_t chunk = size ? (size_t)data[0] * 17 + 1 : 1;
    Entries entries = ParseAll(data, size, chunk, form);
    // The same bytes read in one piece give the same entries.
    CHECK(ParseAll(data, size, 4096, form) == entries);
    FuzzRewrite(data, size, entries, form);

    // Whatever was read can be written, and reads back the same.
    std::string all, file;
    Entries kept;
    for (const auto& e : entries) {
        CHECK(AppendItemEntry(&all, e.first.c_str(), e.second.c_str()));
        if (Representable(e.first, e.second)) {
            AppendItemEntry(&file, e.first.c_str(), e.second.c_str());
            kept.push_back(e);
        }
    }
    Entries again = ParseAll(reinterpret_cast<const uint8_t*>(file.data()), file.size(), 4096, form);
    CHECK(again == kept);

    // As a shortcut, every other entry taken for its address: the same
    // entries read back.
    std::string shortcut;
    for (size_t i = 1; i < kept.size(); i += 2)
        kept[i].first = "InternetShortcut";
    for (const auto& e : kept)
        CHECK(AppendItemEntry(&shortcut, e.first.c_str(), e.second.c_str(), true));
    again = ParseAll(reinterpret_cast<const uint8_t*>(shortcut.data()), shortcut.size(), 4096, form);
    CHECK(again == kept);
}

// The entry cache reader on the bytes, sealed with their check sum so
// that the fuzzer reaches the records, and (for an odd first byte) behind
// a valid header so that it starts there. What reads, writes back and
// reads the same.
void FuzzEntryCache(const uint8_t* data, size_t size)
{
    const char folder[] = "C:\\Lib";
    std::string bytes;
    if (size && data[0] % 2) {
        bytes.assign("ZVCACHE\x1a", 8);
        bytes.append({(char)kEntryCacheVersion, 0, 0, 0, (char)(sizeof folder - 1), 0});
        bytes.append(folder);
    }
    bytes.append(reinterpret_cast<const char*>(data), size);
    uint32_t sum = EntryCacheChecksum(bytes.data(), bytes.size());
    for (int i = 0; i < 4; ++i)
        bytes.push_back((char)(sum >> (8 * i)));
    EntryCache cache;
    if (!ParseEntryCache(bytes.data(), bytes.size(), folder, &cache)) {
        CHECK(cache.files.empty());
        return;
    }
    for (const CachedFile& file : cache.files) {
        CHECK(!file.name.empty() && file.name.size() < kPathCap && file.entries.size() <= 32);
        for (const CachedEntry& entry : file.entries)
            CHECK(entry.key.size() < kTextCap && entry.value.size() < kTextCap);
        CHECK(FindCachedFile(&cache, file.name.c_str(), file.size, file.writeTime) == &file);
    }
    std::string again;
    CHECK(WriteEntryCache(cache, &again));
    EntryCache back;
    CHECK(ParseEntryCache(again.data(), again.size(), "c:\\LIB", &back));
    CHECK(back.files.size() == cache.files.size());
    for (size_t i = 0; i < back.files.size(); ++i) {
        CHECK(back.files[i].name == cache.files[i].name);
        CHECK(back.files[i].entries.size() == cache.files[i].entries.size());
    }
}

// UTF-8: what decodes encodes back to the same bytes; a valid text cut at
// its safe length stays valid, and no cut goes back further than a
// character.
// A history file as it is, and with its check sum made to match so the
// reader's bounds are reached; what it accepts writes back byte for byte.
void FuzzHistory(const uint8_t* data, size_t size)
{
    std::vector<HistoryText> texts;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1 && size >= 4) {
            uint32_t sum = HistoryChecksum(bytes.data(), size - 4);
            for (int i = 0; i < 4; ++i)
                bytes[size - 4 + i] = (char)((sum >> (8 * i)) & 0xFF);
        }
        // A copy of exactly size bytes: a read past it is caught.
        std::vector<char> exact(bytes.begin(), bytes.end());
        if (!ParseHistory(exact.data(), exact.size(), &texts))
            continue;
        std::string again;
        WriteHistory(texts, &again);
        if (again != bytes)
            abort();
        HistoryList list(kHistoryMax);
        list.Assign(texts);
        if (list.Count() != texts.size())
            abort();
    }
}

void FuzzUtf8(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    bool valid = true;
    for (size_t i = 0; i < size;) {
        uint32_t cp = 0;
        size_t n = DecodeUtf8(text + i, size - i, &cp);
        if (n == 0) {
            valid = false;
            ++i;
            continue;
        }
        char again[4];
        CHECK(EncodeUtf8(cp, again) == n && memcmp(again, text + i, n) == 0);
        i += n;
    }
    CHECK(valid == IsValidUtf8(text, size));
    for (size_t len = size > 8 ? size - 8 : 0; len <= size; ++len) {
        size_t safe = Utf8SafeLength(text, len);
        CHECK(safe <= len && len - safe <= 3);
        if (valid)
            CHECK(IsValidUtf8(text, safe));
    }
}

void FuzzText(const std::string& text, size_t cap)
{
    char buf[kListCap + 8];
    char small[kPathCap];

    CopyText(buf, sizeof buf, text.c_str());
    TrimLineEnd(buf);
    StripLineBreaks(buf);
    CHECK(!strchr(buf, '\r') && !strchr(buf, '\n'));

    // A new value from pasted text: within what the reader takes, no CR,
    // and never ending inside a character (an exact-size heap buffer).
    // Program text is well-formed UTF-8; the limit is that of the stored
    // form, whose bytes a character may take fewer of.
    bool wellFormed = IsValidUtf8(text.data(), text.size());
    for (int form : {kFormCp932, kFormUtf8}) {
        std::vector<char> pasted(kEntryTextCap);
        TextToValue(text.c_str(), pasted.data(), form);
        size_t pastedLen = strlen(pasted.data());
        CHECK(pastedLen < kEntryTextCap && !strchr(pasted.data(), '\r'));
        CHECK(StoredLength(pasted.data(), form) <= kMaxReadValue);
        CHECK(!wellFormed || IsValidUtf8(pasted.data(), pastedLen));
        std::vector<char> key(kEntryTextCap);
        memcpy(key.data(), pasted.data(), pastedLen + 1);
        CutToStored(key.data(), kMaxReadKey, form);
        CHECK(StoredLength(key.data(), form) <= kMaxReadKey);
        CHECK(!wellFormed || IsValidUtf8(key.data(), strlen(key.data())));
    }
    std::vector<char> marked(cap ? cap : 1);
    MarkLineBreaks(text.c_str(), marked.data(), marked.size());
    CHECK(strlen(marked.data()) < marked.size() && !strchr(marked.data(), '\n'));
    CHECK(PreviewLength(text.c_str(), 20, cap) <= cap);

    CopyFirstLine(text.c_str(), small, cap);
    if (!text.empty() && cap)
        CHECK(strlen(small) < cap);

    if (CopyText(small, cap, text.c_str()))
        CHECK(text == small);
    else if (cap)
        CHECK(strlen(small) < cap && text.compare(0, strlen(small), small) == 0);
    CHECK(CharSafeLength(text.c_str(), text.size()) <= text.size());

    char parent[kPathCap], name[kPathCap], root[kPathCap];
    int sep = ParentPath(text.c_str(), parent, sizeof parent);
    if (sep >= 0)
        CHECK((size_t)sep == strlen(parent) && (text[sep] == '\\' || text[sep] == '/'));
    FileNamePart(text.c_str(), name, sizeof name);
    DriveRoot(text.c_str(), root, sizeof root);
    CHECK(text.compare(0, strlen(root), root) == 0);

    char rowName[kRowNameCap], ext[kNamePartCap];
    SplitItemName(text.c_str(), text.size() & 1, rowName, ext);
    ItemKindFor(true, ext);
    ExtensionInList(text.c_str(), text.c_str() + text.size() / 2);
    EqualNoCase(text.c_str(), name);

    // Suffixes are stripped from names, which fit a path buffer; a longer
    // text of many "(" only makes each run slow (one pass per suffix).
    CopyText(buf, kPathCap, text.c_str());
    size_t before = strlen(buf);
    StripNumberSuffix(buf);
    CHECK(strlen(buf) <= before);

    char key[kTextCap], value[kTextCap];
    CopyText(buf, kLineCap, text.c_str());
    ParseItemLine(buf, key, value);

    char candidate[kPathCap];
    if (FormatNameCandidate(candidate, sizeof candidate, root, name, (int)(cap % 100), ext))
        CHECK(strlen(candidate) < kPathCap);
}

// An output buffer of exactly size bytes, so that ASan sees any byte
// written past it.
struct Buffer {
    explicit Buffer(size_t size) : p(static_cast<char*>(malloc(size))), size(size)
    {
        memset(p, 'X', size);
    }
    ~Buffer() { free(p); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    // Terminated within the buffer; the text's length.
    size_t Length() const
    {
        size_t len = strnlen(p, size);
        CHECK(len < size);
        return len;
    }
    char* p;
    size_t size;
};

// Output sizes of one run: one from the input and the two at the edge of
// the full result, all within 1..300.
struct Sizes {
    size_t at[3];
};

Sizes SizesAround(size_t fromInput, size_t fullLength)
{
    Sizes s = {{fromInput % 300 + 1, fullLength, fullLength + 1}};
    for (size_t& size : s.at)
        size = size < 1 ? 1 : size > 300 ? 300 : size;
    return s;
}

// full[0..len) ends between two Shift_JIS characters, read from the start.
bool EndsOnSjisChar(const char* full, size_t len)
{
    size_t at = 0;
    while (at < len)
        at += IsDoubleByteAt(full + at) ? 2 : 1;
    return at == len;
}

// How a cut must fall: anywhere, on a Shift_JIS character, on a UTF-8 one.
enum CutForm { kCutBytes, kCutSjis, kCutUtf8 };

// A cut result: a prefix of the full one, at most one character short of
// the room it had, and not ending inside a character of its form.
void CheckCut(const char* out, size_t len, const char* full, size_t fullLen, size_t room,
              size_t charBytes, CutForm form)
{
    CHECK(len <= fullLen && memcmp(out, full, len) == 0);
    size_t want = fullLen < room ? fullLen : room;
    CHECK(len <= want && len + charBytes > want);
    if (form == kCutSjis)
        CHECK(EndsOnSjisChar(full, len));
    // Malformed bytes have no characters to end on.
    if (form == kCutUtf8 && IsValidUtf8(full, fullLen))
        CHECK(Utf8SafeLength(full, len) == len);
}

// A stand-in for the system's code page 932 table: ASCII as it is, a
// half-width kana byte to U+FF61..., any double-byte character to 亜, a
// pair led by FC to a malformed answer (which must be dropped), other
// bytes to nothing.
size_t FakeSjisToUtf8(const char* bytes, size_t length, char* out)
{
    unsigned char lead = (unsigned char)bytes[0];
    if (length == 2)
        return lead == 0xFC ? (memcpy(out, "\xC0\x80", 2), 2) : (memcpy(out, "\xE4\xBA\x9C", 3), 3);
    if (lead < 0x80)
        return out[0] = (char)lead, 1;
    if (lead >= 0xA1 && lead <= 0xDF)
        return EncodeUtf8(0xFF61 + (lead - 0xA1), out);
    return 0;
}

// Only name characters and well-formed characters past the C1 controls.
bool IsCleanText(const char* text)
{
    for (const char* p = text; *p;) {
        uint32_t cp = 0;
        size_t n = DecodeUtf8(p, strnlen(p, 4), &cp);
        if (n == 0 || (cp < 0x80 ? !IsNameChar((unsigned char)cp) : cp < 0xA0))
            return false;
        p += n;
    }
    return true;
}

// The page through extraction at the full size and at the picked sizes,
// then the title through the rest of the naming steps.
void FuzzPage(const std::string& text, int header, size_t sizeByte)
{
    char page[kPageCap], full[kPageCap];
    CopyText(page, sizeof page, text.c_str());
    int kind = ExtractTitle(page, full, sizeof full, header);
    size_t fullLen = strlen(full);
    CHECK(kind == kNoTitle ? fullLen == 0 : kind >= kTitleAsIs && kind <= kTitleUtf8);
    Sizes sizes = SizesAround(sizeByte, fullLen);
    for (size_t size : sizes.at) {
        CopyText(page, sizeof page, text.c_str());
        Buffer out(size);
        CHECK(ExtractTitle(page, out.p, size, header) == kind);
        size_t len = out.Length();
        CheckCut(out.p, len, full, fullLen, size - 1, kind == kTitleUtf8 ? 4 : 2,
                 kind == kTitleUtf8 ? kCutBytes : kCutSjis);
        // A UTF-8 title gives up room only for a sequence that would not fit.
        if (kind == kTitleUtf8 && len < size - 1 && len < fullLen)
            CHECK((unsigned char)full[len] >= 0xC0);
    }
    // The whole pipeline: within its buffer at every size, well-formed
    // when the page was no UTF-8 one, and clean once cleaned.
    for (size_t size : sizes.at) {
        CopyText(page, sizeof page, text.c_str());
        Buffer out(size);
        CHECK(TitleAsProgramText(page, out.p, size, header, FakeSjisToUtf8) == kind);
        size_t len = out.Length();
        if (kind != kTitleUtf8)
            CHECK(IsValidUtf8(out.p, len));
    }
    CopyText(page, sizeof page, text.c_str());
    CHECK(TitleAsProgramText(page, full, sizeof full, header, FakeSjisToUtf8) == kind);
    CleanTitle(full);
    CHECK(IsCleanText(full));
}

// EUC-JP conversion, the Yahoo! fix, entities and cleaning on any text.
void FuzzTitleText(const std::string& text, size_t sizeByte)
{
    size_t len = text.size();
    Buffer full(len + 1), copy(len + 1);
    EucJpToShiftJis(text.c_str(), full.p, full.size);
    size_t fullLen = full.Length();
    CHECK(fullLen <= len);
    memcpy(copy.p, text.c_str(), len + 1);
    EucJpToShiftJis(copy.p, copy.p, copy.size);
    CHECK(strcmp(copy.p, full.p) == 0);
    for (size_t size : SizesAround(sizeByte, fullLen).at) {
        Buffer out(size);
        EucJpToShiftJis(text.c_str(), out.p, size);
        CheckCut(out.p, out.Length(), full.p, fullLen, size - 1, 2, kCutBytes);
    }

    // Only well-formed EUC-JP with "Yahoo!" changes, and only within its cap.
    bool converts = strstr(text.c_str(), "Yahoo!") && IsWellFormedEucJp(text.c_str());
    memcpy(copy.p, text.c_str(), len + 1);
    FixYahooTitle(copy.p, copy.size);
    CHECK(strcmp(copy.p, converts ? full.p : text.c_str()) == 0);
    memcpy(copy.p, text.c_str(), len + 1);
    FixYahooTitle(copy.p, sizeByte % (len + 1));
    CHECK(memcmp(copy.p, text.c_str(), len + 1) == 0);

    // Shift_JIS to UTF-8: well-formed whatever the bytes, cut before the
    // first character that does not fit.
    Buffer utf8(3 * len + 1);
    SjisToUtf8(text.c_str(), utf8.p, utf8.size, FakeSjisToUtf8);
    size_t utf8Len = utf8.Length();
    CHECK(IsValidUtf8(utf8.p, utf8Len));
    for (size_t size : SizesAround(sizeByte, utf8Len).at) {
        Buffer out(size);
        SjisToUtf8(text.c_str(), out.p, size, FakeSjisToUtf8);
        CheckCut(out.p, out.Length(), utf8.p, utf8Len, size - 1, 3, kCutUtf8);
    }

    memcpy(copy.p, text.c_str(), len + 1);
    DecodeEntities(copy.p);
    CHECK(strlen(copy.p) <= len);
    if (!strchr(text.c_str(), '&'))
        CHECK(text == copy.p);
    if (IsValidUtf8(text.c_str(), len))
        CHECK(IsValidUtf8(copy.p, strlen(copy.p)));
    CleanTitle(copy.p);
    CHECK(IsCleanText(copy.p));
}

// The hot-key menu's labels, line breaks, key names and paste table.
void FuzzHotKeyText(const std::string& text, size_t sizeByte)
{
    size_t size = sizeByte % 300 + 1;
    {
        Buffer out(size);
        MenuLabel(out.p, out.size, (int)(sizeByte % 40), text.c_str(), (int)(sizeByte % 50));
        out.Length();
    }
    {
        Buffer out(size);
        CHECK(CopyCrLf(out.p, out.size, text.c_str()) == (CrLfSize(text.c_str()) <= size));
        out.Length();
    }
    KeyCombo combo, again;
    if (ParseKeyCombo(text.c_str(), &combo)) {
        char name[64];
        CHECK(FormatKeyCombo(name, sizeof name, combo));
        CHECK(ParseKeyCombo(name, &again) && again.vk == combo.vk && again.mods == combo.mods);
    }
    FindPasteKeys(text.c_str(), "ConsoleWindowClass", &combo);
    Buffer table(size);
    int bad;
    if (PasteTableFromLines(text.c_str(), table.p, table.size, &bad)) {
        table.Length();
        Buffer lines(2 * size + 2);
        CHECK(PasteTableToLines(table.p, lines.p, lines.size));
        lines.Length();
    }
}

// The engines' names: the case of ASCII letters never matters, and a
// conflict copy's original is the name with the mark taken out (what is
// left of it at both ends), with a date of a form the mark shows.
void FuzzSyncNames(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper)
        c = (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
    CHECK(IsBookkeepingName(text.c_str()) == IsBookkeepingName(upper.c_str()));
    ConflictName conflict;
    if (!ParseConflictName(text.c_str(), &conflict))
        return;
    std::string original = conflict.original, made = conflict.made;
    CHECK(!original.empty() && original.size() < text.size());
    size_t head = 0, tail = 0;
    while (head < original.size() && original[head] == text[head])
        ++head;
    while (tail < original.size() &&
           original[original.size() - 1 - tail] == text[text.size() - 1 - tail])
        ++tail;
    CHECK(head + tail >= original.size());
    CHECK((made.size() == 10 || made.size() == 16) && made[4] == '-' && made[7] == '-');
    CHECK(IsConflictCopyOf(upper.c_str(), original.c_str()));
}

// Percent-encoding: ASCII out, three bytes for each byte past ASCII, and
// at a smaller size the whole result or none. Kept characters stay whole.
void FuzzUrl(const std::string& text, size_t sizeByte)
{
    size_t high = 0;
    for (char c : text)
        high += (unsigned char)c >= 0x80;
    Buffer full(text.size() + 2 * high + 1);
    CHECK(PercentEncodeUrl(text.c_str(), full.p, full.size));
    size_t fullLen = full.Length();
    CHECK(fullLen == text.size() + 2 * high);
    for (size_t i = 0; i < fullLen; ++i)
        CHECK((unsigned char)full.p[i] < 0x80);
    for (size_t size : SizesAround(sizeByte, fullLen).at) {
        Buffer out(size);
        bool fits = PercentEncodeUrl(text.c_str(), out.p, size);
        CHECK(fits == (size > fullLen) && strcmp(out.p, fits ? full.p : "") == 0);
    }
    auto keepTwoBytes = [](const char*, size_t length) { return length == 2; };
    Buffer kept(text.size() + 2 * high + 1);
    CHECK(PercentEncodeUrl(text.c_str(), kept.p, kept.size, keepTwoBytes));
    if (IsValidUtf8(text.c_str(), text.size()))
        CHECK(IsValidUtf8(kept.p, kept.Length()));
}

// The fallback names, and the URL and charset tests, on any text.
void FuzzNames(const std::string& text, size_t sizeByte)
{
    IsUrl(text.c_str());
    int charset = CharsetOfContentType(text.c_str());
    CHECK(charset >= kCharsetUnknown && charset <= kCharsetOther);

    Buffer run(text.size() + 1);
    bool found = LeadingNameRun(text.c_str(), run.p, run.size) != nullptr;
    size_t runLen = run.Length();
    CHECK(found == (runLen > 0) && IsCleanText(run.p));
    for (size_t size : SizesAround(sizeByte, runLen).at) {
        Buffer out(size);
        found = LeadingNameRun(text.c_str(), out.p, size) != nullptr;
        size_t len = out.Length();
        CHECK(found == (len > 0));
        CheckCut(out.p, len, run.p, runLen, size - 1, 4, kCutUtf8);
    }

    const char* scheme = strstr(text.c_str(), "://");
    const char* host = scheme ? scheme + 3 : "";
    size_t hostLen = strcspn(host, "/");
    for (size_t size : SizesAround(sizeByte, hostLen + 1).at) {
        Buffer out(size);
        found = UrlHostPart(text.c_str(), out.p, size);
        size_t len = out.Length();
        CHECK(found == (len > 0));
        CheckCut(out.p, len, host, hostLen, size >= 2 ? size - 2 : 0, 4, kCutUtf8);
    }
    FuzzUrl(text, sizeByte);
    FuzzHotKeyText(text, sizeByte);
    FuzzSyncNames(text);
}

}  // namespace

// Folding and the search over folded text: folding twice changes nothing,
// and the search finds exactly the first match that starts and ends on
// characters of the text, as a plain walk over the characters does.
void FuzzSearch(const uint8_t* data, size_t size)
{
    size_t partLength = size ? data[0] % 8 : 0;
    if (size)
        ++data, --size;
    if (partLength > size)
        partLength = size;
    std::string part = foldstub::Fold(std::string((const char*)data, partLength));
    std::string text = foldstub::Fold(std::string((const char*)data + partLength, size - partLength));
    CHECK(foldstub::Fold(text) == text);
    long found = FindInText(text.data(), (unsigned long)text.size(), part.data(),
                          (unsigned long)part.size());
    // Over well-formed text, the first match between two of the
    // characters a walk over the text steps on.
    if (!IsValidUtf8(text.data(), text.size()))
        return;
    std::vector<bool> boundary(text.size() + 1, false);
    for (size_t at = 0;;) {
        boundary[at] = true;
        if (at == text.size())
            break;
        size_t n = DecodeUtf8(text.data() + at, text.size() - at, nullptr);
        at += n ? n : 1;
    }
    long expected = -1;
    for (size_t at = 0; at + part.size() <= text.size(); ++at) {
        if (boundary[at] && boundary[at + part.size()] &&
            text.compare(at, part.size(), part) == 0) {
            expected = (long)at;
            break;
        }
    }
    CHECK(found == expected);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte picks what the rest goes through (and, for a page,
    // the header's charset).
    unsigned pick = size ? data[0] : 0;
    if (size) {
        ++data;
        --size;
    }
    if (pick % 4 == 0) {
        FuzzItemFile(data, size, kFormCp932);
        FuzzItemFile(data, size, kFormUtf8);
        FuzzEntryCache(data, size);
        FuzzSearch(data, size);
        FuzzUtf8(data, size);
        FuzzHistory(data, size);
        // The text operations see the input up to its first NUL, with a
        // buffer size taken from its first byte.
        std::string text(reinterpret_cast<const char*>(data), strnlen((const char*)data, size));
        FuzzText(text, size ? data[0] : 0);
        return 0;
    }
    // Title operations: the next byte and the rest of the first pick an
    // output size (every one of 1..300 can come up), the rest up to its
    // first NUL is the text, at most a page's worth.
    size_t sizeByte = (size ? data[0] : 0) + 256u * (pick / 4);
    size_t skip = size ? 1 : 0;
    const char* rest = reinterpret_cast<const char*>(data) + skip;
    size_t restLen = size - skip < kPageCap - 1 ? size - skip : kPageCap - 1;
    std::string text(rest, strnlen(rest, restLen));
    if (pick % 4 == 1)
        FuzzPage(text, (int)(pick / 4 % 5), sizeByte);
    else if (pick % 4 == 2)
        FuzzTitleText(text, sizeByte);
    else
        FuzzNames(text, sizeByte);
    return 0;
}
