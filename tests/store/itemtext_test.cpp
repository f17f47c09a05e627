#include "store/itemtext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

struct MemorySource {
    std::string bytes;
    size_t pos = 0;
    long chunk = 1 << 20;   // at most this many bytes per read
    bool failAtEnd = false;
};

long ReadMemory(void* p, char* buffer, long capacity)
{
    MemorySource* s = (MemorySource*)p;
    if (s->pos == s->bytes.size())
        return s->failAtEnd ? -1 : 0;
    long n = (long)std::min<size_t>(s->bytes.size() - s->pos, (size_t)std::min(capacity, s->chunk));
    memcpy(buffer, s->bytes.data() + s->pos, (size_t)n);
    s->pos += (size_t)n;
    return n;
}

std::vector<std::string> Lines(const std::string& bytes, long chunk = 1 << 20)
{
    MemorySource src;
    src.bytes = bytes;
    src.chunk = chunk;
    LineReader reader;
    InitLineReader(&reader, ReadMemory, &src);
    std::vector<std::string> lines;
    char line[kLineCap];
    while (ReadTextLine(&reader, line, sizeof line))
        lines.push_back(line);
    return lines;
}

using Entries = std::vector<std::pair<std::string, std::string>>;

// The whole read as the program does it: 32 entries at most.
Entries Read(const std::string& bytes, long chunk = 1 << 20)
{
    MemorySource src;
    src.bytes = bytes;
    src.chunk = chunk;
    LineReader reader;
    InitLineReader(&reader, ReadMemory, &src);
    ItemParse parse;
    InitItemParse(&parse);
    Entries entries;
    char line[kLineCap];
    while (entries.size() < 32 && ReadTextLine(&reader, line, sizeof line))
        if (TakeItemLine(&parse, line))
            entries.emplace_back(parse.key, parse.value);
    return entries;
}

std::string Write(const Entries& entries)
{
    std::string out;
    for (const auto& e : entries)
        EXPECT_TRUE(AppendItemEntry(&out, e.first.c_str(), e.second.c_str()));
    return out;
}

}  // namespace

TEST(ItemText, ExampleFileByteForByteBothWays)
{
    Entries entries = {{"Name", "Taro"}, {"a=b", "x"}, {"Memo", "line 1\nline 2"}};
    const std::string bytes = "Name=Taro\r\na\x08" "b=x\r\nMemo=line 1\x0bline 2\r\n";
    EXPECT_EQ(bytes, Write(entries));
    EXPECT_EQ(entries, Read(bytes));
    // The same file read one byte at a time: no line end is lost at a
    // buffer boundary.
    EXPECT_EQ(entries, Read(bytes, 1));
}

TEST(ItemText, EntryLines)
{
    EXPECT_EQ((Entries{{"a", "b"}}), Read("a=b"));
    EXPECT_EQ(Entries{}, Read("a=\r\n"));                  // two bytes: ignored
    EXPECT_EQ((Entries{{"ab", ""}}), Read("ab=\r\n"));
    EXPECT_EQ((Entries{{"x", "1=2"}}), Read("x=1=2\r\n"));
    EXPECT_EQ((Entries{{"", "abc"}}), Read("=abc\r\n"));
    EXPECT_EQ((Entries{{"a=b", "c"}}), Read("a\x08" "b=c\r\n"));
    EXPECT_EQ((Entries{{"k", "1\n2"}}), Read("k=1\x0b" "2\n"));
    EXPECT_EQ((Entries{{"key", "value"}}), Read("key=value   \r\n"));
    EXPECT_EQ(Entries{}, Read("'comment\r\n\r\n"));
    EXPECT_EQ(Entries{}, Read("no equals sign\r\n"));
    // A lone CR belongs to the value; only CR LF ends a line.
    EXPECT_EQ((Entries{{"k", "a\rb"}}), Read("k=a\rb\r\n"));
    // A Shift_JIS key and value pass through untouched.
    EXPECT_EQ((Entries{{"\x95\x5c", "\x83\x5c"}}), Read("\x95\x5c=\x83\x5c\r\n"));
}

TEST(ItemText, BracketLinesNameTheNextEntry)
{
    EXPECT_EQ((Entries{{"InternetShortcut", "http://example.jp/"}, {"IconIndex", "1"}}),
              Read("[InternetShortcut]\r\nURL=http://example.jp/\r\nIconIndex=1\r\n"));
    EXPECT_EQ((Entries{{"b", "v"}}), Read("[a]\r\n[b]\r\n'note\r\nk=v\r\n"));
    EXPECT_EQ((Entries{{"k", "v"}}), Read("[]\r\nk=v\r\n"));
    EXPECT_EQ((Entries{{"x", "v"}}), Read("[x]\r\nk=v\r\n"));
    // "]" here is the second byte of a double-byte character, so the line
    // is no bracket line and, having no "=", no entry either.
    char key[kTextCap], value[kTextCap];
    EXPECT_EQ(kNotEntry, ParseItemLine("[a\x83]", key, value));
    EXPECT_EQ(kBracketLine, ParseItemLine("[\x83\x5c]", key, value));
    EXPECT_STREQ("\x83\x5c", key);
}

// A shortcut's address keeps the section line and "URL=" Windows looks for.
TEST(ItemText, InternetShortcutKeepsItsSection)
{
    const std::string windows = "[InternetShortcut]\r\nURL=http://example.jp/\r\nIconIndex=1\r\n";
    std::string out;
    for (const auto& e : Read(windows))
        AppendItemEntry(&out, e.first.c_str(), e.second.c_str(), true);
    AppendItemEntry(&out, "InternetShortcut", "y");   // only in a shortcut
    EXPECT_EQ(windows + "InternetShortcut=y\r\n", out);
}

TEST(ItemText, ThirtyTwoEntriesAtMost)
{
    std::string bytes;
    for (int i = 0; i < 33; ++i)
        bytes += "k" + std::to_string(i) + "=v\r\n";
    Entries entries = Read(bytes);
    ASSERT_EQ(32u, entries.size());
    EXPECT_EQ("k31", entries.back().first);
}

TEST(ItemText, KeyAndValueLengthLimits)
{
    char key[kTextCap], value[kTextCap];
    std::string k1019(1019, 'k'), v1020(1020, 'v');
    EXPECT_EQ(kEntryLine, ParseItemLine((k1019 + "=" + v1020).c_str(), key, value));
    EXPECT_EQ(k1019, key);
    EXPECT_EQ(v1020, value);
    EXPECT_EQ(kNotEntry, ParseItemLine((k1019 + "k=v").c_str(), key, value));
    EXPECT_EQ(kNotEntry, ParseItemLine(("k=" + v1020 + "v").c_str(), key, value));
    // A bracket line counts whole, brackets included.
    EXPECT_EQ(kBracketLine, ParseItemLine(("[" + std::string(1017, 'b') + "]").c_str(), key, value));
    EXPECT_EQ(kNotEntry, ParseItemLine(("[" + std::string(1018, 'b') + "]").c_str(), key, value));

    // The writer takes what reads back and refuses more, appending nothing.
    std::string out;
    EXPECT_TRUE(AppendItemEntry(&out, k1019.c_str(), v1020.c_str()));
    EXPECT_EQ(k1019 + "=" + v1020 + "\r\n", out);
    EXPECT_FALSE(AppendItemEntry(&out, (k1019 + "k").c_str(), "v"));
    EXPECT_FALSE(AppendItemEntry(&out, "k", (v1020 + "v").c_str()));
    EXPECT_FALSE(AppendItemEntry(&out, "k", std::string(5000, 'v').c_str()));
    EXPECT_EQ(k1019.size() + v1020.size() + 3, out.size());
}

TEST(ItemText, LongLinesAreReadInPieces)
{
    std::string line(5000, 'x');
    std::vector<std::string> pieces = Lines(line + "\r\nnext\r\n");
    ASSERT_EQ(4u, pieces.size());
    EXPECT_EQ(2047u, pieces[0].size());
    EXPECT_EQ(2047u, pieces[1].size());
    EXPECT_EQ(std::string(906, 'x') + "\n", pieces[2]);
    EXPECT_EQ("next\n", pieces[3]);
    // A piece with "=" in it is an entry of its own; the over-long first
    // piece is not.
    std::string bytes = "k=" + std::string(2100, 'v') + "\r\n";
    bytes[2047 + 10] = '=';
    Entries entries = Read(bytes);
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(std::string(10, 'v'), entries[0].first);
}

TEST(ItemText, ReaderReportsAFailingSource)
{
    MemorySource src;
    src.bytes = "a=b\r\n";
    src.failAtEnd = true;
    LineReader reader;
    InitLineReader(&reader, ReadMemory, &src);
    char line[kLineCap];
    EXPECT_TRUE(ReadTextLine(&reader, line, sizeof line));
    EXPECT_FALSE(ReadTextLine(&reader, line, sizeof line));
    EXPECT_TRUE(reader.failed);
}

TEST(ItemText, TextOperations)
{
    char two[] = "a ";
    TrimLineEnd(two);
    EXPECT_STREQ("a ", two);
    char three[] = "ab \r\n";
    TrimLineEnd(three);
    EXPECT_STREQ("ab", three);
    char breaks[] = "\r\na\rb\n";
    StripLineBreaks(breaks);
    EXPECT_STREQ("ab", breaks);
    char joined[] = "a\r\nb\rc\n\nd\r\n\r\n";
    JoinLines(joined);
    EXPECT_STREQ("a b c  d", joined);
    char onlyBreaks[] = "\r\n\n";
    JoinLines(onlyBreaks);
    EXPECT_STREQ("", onlyBreaks);
    char swap[] = "a=b=c";
    ReplaceChar(swap, '=', '\x08');
    EXPECT_STREQ("a\x08" "b\x08" "c", swap);

    char buf[6] = "keep";
    CopyFirstLine("", buf, sizeof buf);
    EXPECT_STREQ("keep", buf);
    CopyFirstLine("ab\r\ncd", buf, sizeof buf);
    EXPECT_STREQ("ab", buf);
    // Cut at five bytes would split the third character.
    CopyFirstLine("a\x95\x5c\x83\x5c\x83\x5c", buf, sizeof buf);
    EXPECT_STREQ("a\x95\x5c\x83\x5c", buf);
    CopyFirstLine("abcdefgh", buf, sizeof buf);
    EXPECT_STREQ("abcde", buf);
}

// A pasted text as a value: lines kept as LF, line ends trimmed, a cut at
// the value limit made on a character (each CR LF taking one byte); what
// was cut counts only when it was more than line ends and spaces.
TEST(ItemText, PastedTextBecomesAValue)
{
    char value[kEntryTextCap], marked[8];
    EXPECT_FALSE(TextToValue("a\r\nb\rc\nd \r\n\r\n", value));
    EXPECT_STREQ("a\nb\nc\nd", value);
    std::string odd = "x" + std::string(1019, 'y'), lines;
    EXPECT_TRUE(TextToValue((odd + u8"亜").c_str(), value));
    EXPECT_EQ(odd, value);
    // The limit is the stored bytes': 510 kanji in code page 932 (1,530
    // bytes here), 340 in UTF-8; halfwidth katakana take one byte there.
    std::string kanji, kana;
    for (int i = 0; i < 600; ++i) {
        kanji += u8"表";
        kana += u8"ｶ";
    }
    EXPECT_TRUE(TextToValue(kanji.c_str(), value, kFormCp932));
    EXPECT_EQ(510u * 3, strlen(value));
    EXPECT_EQ(1020u, StoredLength(value, kFormCp932));
    EXPECT_TRUE(TextToValue(kanji.c_str(), value, kFormUtf8));
    EXPECT_EQ(340u * 3, strlen(value));
    EXPECT_FALSE(TextToValue(kana.c_str(), value, kFormCp932));
    EXPECT_EQ(600u * 3, strlen(value));
    char key[kEntryTextCap];
    memcpy(key, kanji.c_str(), kanji.size() + 1);
    CutToStored(key, kMaxReadKey, kFormCp932);
    EXPECT_EQ(509u * 3, strlen(key));
    for (int i = 0; i < 340; ++i)
        lines += "ab\r\n";
    EXPECT_FALSE(TextToValue(lines.c_str(), value));
    EXPECT_EQ(1019u, strlen(value));
    MarkLineBreaks(u8"a\nb\n亜", marked, sizeof marked);
    EXPECT_STREQ(u8"a↓b", marked);   // no room for the next mark
    EXPECT_EQ(2u, PreviewLength(u8"ab亜", 20, 4));
}

TEST(ItemText, ExcludedExtensions)
{
    const char* list = "exe;dll;;com;";
    EXPECT_TRUE(ExtensionInList("setup.EXE", list));
    EXPECT_TRUE(ExtensionInList("a.b.com", list));
    EXPECT_FALSE(ExtensionInList("memo.txt", list));
    EXPECT_FALSE(ExtensionInList("exe", list));          // no extension at all
    EXPECT_FALSE(ExtensionInList("trailing.", list));
    EXPECT_FALSE(ExtensionInList("x.ex", list));
    EXPECT_FALSE(ExtensionInList("x.exe", ""));
    EXPECT_TRUE(ExtensionInList(".bak", "bak"));
    // The dot of a folder does not count: only the file name is looked at.
    EXPECT_FALSE(ExtensionInList("dir.exe\\file", list));
}
