#include "store/itemlines.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "store/itemtext.h"

namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows Read(const std::string& bytes)   // the rows the dialog shows
{
    MemorySource source = {bytes.data(), bytes.size(), 0};
    LineReader reader;
    InitLineReader(&reader, ReadFromMemory, &source);
    ItemParse parse;
    InitItemParse(&parse);
    Rows rows;
    char line[kLineCap];
    while (rows.size() < kShownEntries && ReadTextLine(&reader, line, sizeof line))
        if (TakeItemLine(&parse, line))
            rows.emplace_back(parse.key, parse.value);
    return rows;
}

Rows Parse(const std::string& list)   // "k=v;k2=v2"
{
    Rows rows;
    for (size_t at = 0; at < list.size();) {
        size_t end = list.find(';', at), eq = list.find('=', at);
        rows.emplace_back(list.substr(at, eq - at), list.substr(eq + 1, end - eq - 1));
        at = end == std::string::npos ? list.size() : end + 1;
    }
    return rows;
}

// The new bytes, "<same>", or "<failed N>" with the row to blame.
std::string Rewrite(const std::string& bytes, const Rows& rows, bool shortcut = false)
{
    std::vector<EntryText> texts;
    for (const auto& r : rows)
        texts.push_back({r.first.c_str(), r.second.c_str()});
    std::string out;
    int bad = 0;
    int result = RewriteItemBytes(bytes.data(), bytes.size(), texts.data(), (int)texts.size(),
                                  shortcut, &out, &bad);
    return result == kRewriteDone ? out
           : result == kRewriteUnchanged ? "<same>" : "<failed " + std::to_string(bad) + ">";
}

const std::string kProp = "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n";

// Files found in use: unchanged rows write nothing; one row changed
// changes its one line and nothing else.
TEST(ItemLines, FilesKeepEveryLineNoRowChanged)
{
    std::string forty;
    for (int i = 1; i <= 40; ++i)
        forty += "k" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "=v\r\n";
    std::string longs = "a=1\r\n" + std::string(1020, 'k') + "=x\r\n" + std::string(1021, 'l') +
                        "=y\r\n" + "z=" + std::string(1021, 'v') + "\r\n'note\r\n\r\nb=2\r\n";
    struct Case {
        std::string bytes;
        int hidden, row;
        const char *oldLine, *newLine;
    } cases[] = {
        {forty, 8, 2, "k03=v", "k03=new"},
        {longs, 3, 1, "b=2", "b=new"},
        {kProp + "[InternetShortcut]\r\nIDList=\r\nURL=http://a.test/\r\nIconIndex=13\r\n", 0, 2,
         "URL=http://a.test/", "URL=new"},
        {"[DEFAULT]\r\nBASEURL=http://a.test/\r\n[InternetShortcut]\r\nURL=http://a.test/\r\n" + kProp,
         0, 1, "\nURL=http://a.test/", "\nURL=new"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.hidden, CountHiddenLines(c.bytes.data(), c.bytes.size()));
        Rows rows = Read(c.bytes);
        EXPECT_EQ("<same>", Rewrite(c.bytes, rows, true));
        rows[c.row].second = "new";
        std::string want = c.bytes;
        want.replace(want.find(c.oldLine), strlen(c.oldLine), c.newLine);
        EXPECT_EQ(want, Rewrite(c.bytes, rows, true)) << c.oldLine;
    }
}

TEST(ItemLines, RowsAddedDeletedMovedAndRenamed)
{
    struct Case {
        const char *bytes, *rows, *want;
    } cases[] = {
        {"'c\r\na=1\r\nb=2\r\nc=3\r\n", "a=1;c=3", "'c\r\na=1\r\nc=3\r\n"},
        // The file's own line ends, one added where the last line had none.
        {"a=1\nb=2", "a=1;b=2;n=9", "a=1\nb=2\nn=9\n"},
        {"x\r\n[S]\r\nk=v\r\n", "n=1;S=v", "x\r\nn=1\r\n[S]\r\nk=v\r\n"},
        {"[S]\r\nk=v\r\n", "T=v", "[T]\r\nk=v\r\n"},
        // "=w" would be too short to read: the entry is written plain.
        {"[S]\r\n'c\r\n=vv\r\n", "S=w", "'c\r\nS=w\r\n"},
        {"[D]\r\nB=1\r\nx=2\r\n", "x=2;D=1", "x=2\r\n[D]\r\nB=1\r\n"},
        // A section line that named nothing would name b.
        {"[S]\r\n[T]\r\na=1\r\nb=2\r\n", "b=2", "b=2\r\n"},
        {"[S]\r\n[T]\r\n=vv\r\n", "[k=w", "[k=w\r\n"},   // a key that only looks like one
        {"[X]\r\nP=1\r\n", "X=1;InternetShortcut=http://h/",
         "[X]\r\nP=1\r\n[InternetShortcut]\r\nURL=http://h/\r\n"},
        {"a=1\r\n", "a=1;'c=1", "<failed 1>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.want, Rewrite(c.bytes, Parse(c.rows), true)) << c.bytes;
}

}  // namespace
