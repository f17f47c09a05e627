#include "store/itemname.h"

#include <gtest/gtest.h>

#include <string>

#include "store/pathtext.h"

namespace {
struct Split {
    std::string name, ext;
    int kind;
};

Split Of(const char* path, bool isItem)
{
    char name[kRowNameCap], ext[kNamePartCap];
    SplitItemName(path, isItem, name, ext);
    return {name, ext, ItemKindFor(isItem, ext)};
}
}  // namespace

TEST(ItemName, NamesExtensionsAndKinds)
{
    Split s = Of("C:\\Items\\a.b.txt", true);
    EXPECT_EQ("a.b", s.name);
    EXPECT_EQ(".txt", s.ext);
    EXPECT_EQ(kKindText, s.kind);
    EXPECT_EQ(kKindText, Of("C:\\Items\\NOTES.TXT", true).kind);
    s = Of("C:\\Items\\link.Url", true);
    EXPECT_EQ("link", s.name);
    EXPECT_EQ(kKindUrl, s.kind);
    s = Of("C:\\Items\\readme", true);
    EXPECT_EQ("readme", s.name);
    EXPECT_EQ("", s.ext);
    EXPECT_EQ(kKindOther, s.kind);
    EXPECT_EQ(kKindOther, Of("x\\memo.doc", true).kind);
    EXPECT_EQ(kKindOther, Of("x\\memo.txtx", true).kind);
    s = Of("C:\\Items\\old.url", false);
    EXPECT_EQ("old.url", s.name);
    EXPECT_EQ("", s.ext);
    EXPECT_EQ(kKindGroup, s.kind);
    // A dot in the folder part is not the extension's.
    s = Of("C:\\v1.0\\memo", true);
    EXPECT_EQ("memo", s.name);
    EXPECT_EQ("", s.ext);
}

TEST(ItemName, JapaneseNamesEndingInTrailByte5C)
{
    // 表 = 95 5C, ソ = 83 5C
    Split s = Of("C:\\\x95\x5c\\\x83\x5c.txt", true);
    EXPECT_EQ("\x83\x5c", s.name);
    EXPECT_EQ(kKindText, s.kind);
    EXPECT_STREQ("\x95\x5c", LastComponent("C:\\\x95\x5c"));
}

TEST(ItemName, PartsAreCutAt255Characters)
{
    std::string stem(300, 's');
    Split s = Of(("C:\\" + stem + ".txt").c_str(), true);
    EXPECT_EQ(255u, s.name.size());
    EXPECT_EQ(".txt", s.ext);
    Split g = Of(("C:\\" + stem + ".d").c_str(), false);
    EXPECT_EQ(std::string(255, 's') + ".d", g.name);
}

TEST(PathText, ParentAndCaseFreeComparison)
{
    char out[260];
    EXPECT_EQ(2, ParentPath("C:\\Data", out, sizeof out));
    EXPECT_STREQ("C:", out);
    EXPECT_EQ(7, ParentPath("C:\\Data\\Mail", out, sizeof out));
    EXPECT_STREQ("C:\\Data", out);
    EXPECT_EQ(3, ParentPath("a/b/c", out, sizeof out));
    EXPECT_STREQ("a/b", out);
    EXPECT_EQ(-1, ParentPath("plain", out, sizeof out));
    EXPECT_STREQ("", out);
    EXPECT_EQ(2, ParentPath("C:\\\x95\x5c", out, sizeof out));

    EXPECT_TRUE(EqualNoCase("C:\\Items", "c:\\items"));
    EXPECT_FALSE(EqualNoCase("C:\\Items", "C:\\Item"));
    // Trail bytes are not case-folded: 0x83 0x5A and 0x83 0x7A differ.
    EXPECT_FALSE(EqualNoCase("\x83\x5a", "\x83\x7a"));
}
