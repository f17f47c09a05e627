// The clipboard history's list and file form: what is read back is what
// was written, and every other file is refused without a read past it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "clip/historyfile.h"
#include "store/utf8.h"

namespace {

std::vector<HistoryText> Texts(std::vector<std::string> texts)
{
    std::vector<HistoryText> out;
    for (auto& t : texts)
        out.push_back(std::make_shared<const std::string>(t));
    return out;
}

std::vector<std::string> Plain(const std::vector<HistoryText>& texts)
{
    std::vector<std::string> out;
    for (auto& t : texts)
        out.push_back(*t);
    return out;
}

void PutU32(std::string* s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        (*s)[at + i] = (char)((v >> (8 * i)) & 0xFF);
}

// The bytes with a check sum that matches them, as a file made by hand.
std::string Sealed(std::string bytes)
{
    PutU32(&bytes, bytes.size() - 4, HistoryChecksum(bytes.data(), bytes.size() - 4));
    return bytes;
}

bool Parses(const std::string& bytes)
{
    std::vector<HistoryText> texts;
    bool ok = ParseHistory(bytes.data(), bytes.size(), &texts);
    EXPECT_TRUE(ok || texts.empty());
    return ok;
}

}  // namespace

TEST(HistoryFile, ReadsBackWhatWasWrittenAndRefusesEveryOtherFile)
{
    std::vector<std::string> want = {u8"最新 😀 café", "line one\r\nline two", "x"};
    std::string bytes;
    WriteHistory(Texts(want), &bytes);
    std::vector<HistoryText> got;
    ASSERT_TRUE(ParseHistory(bytes.data(), bytes.size(), &got));
    EXPECT_EQ(want, Plain(got));

    for (size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_FALSE(Parses(bytes.substr(0, cut))) << cut;
    for (size_t at = 0; at < bytes.size(); ++at) {
        std::string bad = bytes;
        bad[at] ^= 0x20;
        EXPECT_FALSE(Parses(bad)) << at;
    }
    EXPECT_FALSE(Parses(Sealed(bytes + std::string(4, '\0'))));   // bytes after the last text

    // Made by hand with a matching check sum: the bounds themselves refuse.
    size_t first = 12;   // mark, count: the first text's length
    std::string longer = bytes;
    PutU32(&longer, first, (uint32_t)bytes.size());
    EXPECT_FALSE(Parses(Sealed(longer)));            // a length past the end
    std::string many = bytes;
    PutU32(&many, 8, kHistoryMax + 1);
    EXPECT_FALSE(Parses(Sealed(many)));
    std::string twice, withNul, notUtf8;
    WriteHistory(Texts({"same", "same"}), &twice);
    WriteHistory(Texts({std::string("a\0b", 3)}), &withNul);
    WriteHistory(Texts({"\xff\xfe"}), &notUtf8);
    for (const std::string* bad : {&twice, &withNul, &notUtf8})
        EXPECT_FALSE(Parses(*bad));
    std::string huge(kHistoryEntryCap + 1, 'a');
    std::string over;
    WriteHistory(Texts({huge}), &over);
    EXPECT_FALSE(Parses(over));
    WriteHistory(Texts({huge.substr(1)}), &over);
    EXPECT_TRUE(Parses(over));
}

TEST(HistoryFile, LongTextIsCutOnACharacterWithItsMark)
{
    std::string exact(kHistoryEntryCap, 'a');
    EXPECT_EQ(exact, CutHistoryText(exact));
    std::string text;
    while (text.size() <= kHistoryEntryCap)
        text += u8"あ";
    std::string cut = CutHistoryText(text);
    EXPECT_LE(cut.size(), (size_t)kHistoryEntryCap);
    EXPECT_GT(cut.size(), (size_t)kHistoryEntryCap - 8);
    EXPECT_EQ(kHistoryCutMark, cut.substr(cut.size() - strlen(kHistoryCutMark)));
    EXPECT_TRUE(IsValidUtf8(cut.data(), cut.size()));
}

TEST(HistoryList, RepeatMovesToTheTopAndTheOldestGoWhenFull)
{
    HistoryList list(3);
    for (const char* t : {"a", "b", "c"})
        EXPECT_TRUE(list.Add(t));
    EXPECT_TRUE(list.Add("a"));    // moved up
    EXPECT_FALSE(list.Add("a"));   // already the newest
    EXPECT_FALSE(list.Add(""));
    EXPECT_EQ((std::vector<std::string>{"a", "c", "b"}), Plain(list.Snapshot()));
    EXPECT_EQ("c", *list.At(1));
    list.Add("d");
    EXPECT_EQ((std::vector<std::string>{"d", "a", "c"}), Plain(list.Snapshot()));
    list.RemoveAt(1);
    list.SetCapacity(1);
    EXPECT_EQ((std::vector<std::string>{"d"}), Plain(list.Snapshot()));
    list.SetCapacity(0);
    EXPECT_FALSE(list.Add("e"));
    EXPECT_EQ(0u, list.Count());

    list.SetCapacity(kHistoryMax + 5);   // bounded
    list.Assign(Texts({"new", "old", "new"}));
    EXPECT_EQ((std::vector<std::string>{"new", "old"}), Plain(list.Snapshot()));

    // Texts of 1 MiB fill the bytes the list holds before its count: the
    // oldest go.
    list.Clear();
    std::string big(kHistoryEntryCap, 'x');
    size_t fits = kHistoryBytesCap / kHistoryEntryCap;
    for (size_t i = 0; i <= fits; ++i) {
        std::string n = std::to_string(i);
        big.replace(0, n.size(), n);
        list.Add(big);
    }
    EXPECT_EQ(fits, list.Count());
    EXPECT_EQ(fits * kHistoryEntryCap, list.Bytes());
    EXPECT_EQ(big, *list.At(0));
    list.RemoveAt(0);
    EXPECT_EQ((fits - 1) * kHistoryEntryCap, list.Bytes());
}
