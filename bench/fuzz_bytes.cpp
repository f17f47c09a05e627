// libFuzzer target for the byte-level code: item files as arbitrary bytes,
// and the text, name and path operations on arbitrary text. Run by hand:
//   bash tools/fuzz.sh 600        (seconds; corpus in build/fuzz/corpus)
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "store/itemname.h"
#include "store/itemtext.h"
#include "store/pathtext.h"
#include "store/sjis.h"
#include "store/textbuf.h"

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

Entries ParseAll(const uint8_t* data, size_t size, size_t chunk)
{
    Source source = {data, size, 0, chunk ? chunk : 1};
    LineReader reader;
    InitLineReader(&reader, ReadChunk, &source);
    ItemParse parse;
    InitItemParse(&parse);
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

void FuzzItemFile(const uint8_t* data, size_t size)
{
    size_t chunk = size ? (size_t)data[0] * 17 + 1 : 1;
    Entries entries = ParseAll(data, size, chunk);
    // The same bytes read in one piece give the same entries.
    CHECK(ParseAll(data, size, 4096) == entries);

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
    Entries again = ParseAll(reinterpret_cast<const uint8_t*>(file.data()), file.size(), 4096);
    CHECK(again == kept);
}

void FuzzText(const std::string& text, size_t cap)
{
    char buf[kListCap + 8];
    char small[kPathCap];

    CopyText(buf, sizeof buf, text.c_str());
    TrimLineEnd(buf);
    StripLineBreaks(buf);
    CHECK(!strchr(buf, '\r') && !strchr(buf, '\n'));

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

    CopyText(buf, sizeof buf, text.c_str());
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzItemFile(data, size);
    // The text operations see the input up to its first NUL, with a buffer
    // size taken from the first byte.
    std::string text(reinterpret_cast<const char*>(data), strnlen((const char*)data, size));
    FuzzText(text, size ? data[0] : 0);
    return 0;
}
