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

TEST(ItemName, NamesOfAnyScript)
{
    Split s = Of(u8"C:\\表\\ソ.txt", true);
    EXPECT_EQ(u8"ソ", s.name);
    EXPECT_EQ(kKindText, s.kind);
    EXPECT_STREQ(u8"表", LastComponent(u8"C:\\表"));
    s = Of(u8"C:\\😀 grp\\café.txt", true);
    EXPECT_EQ(u8"café", s.name);
    EXPECT_EQ(".txt", s.ext);
}

TEST(ItemName, PartsAreCutAt255Characters)
{
    std::string stem(300, 's');
    Split s = Of(("C:\\" + stem + ".txt").c_str(), true);
    EXPECT_EQ(255u, s.name.size());
    EXPECT_EQ(".txt", s.ext);
    Split g = Of(("C:\\" + stem + ".d").c_str(), false);
    EXPECT_EQ(std::string(255, 's') + ".d", g.name);
    // Characters, not bytes: 255 kanji, and never half of an emoji's pair.
    std::string kanji, emoji = "s";
    for (int i = 0; i < 300; ++i) {
        kanji += u8"表";
        emoji += u8"😀";
    }
    EXPECT_EQ(255u * 3, Of(("C:\\" + kanji + ".txt").c_str(), true).name.size());
    EXPECT_EQ(1u + 127 * 4, Of(("C:\\" + emoji + ".txt").c_str(), true).name.size());
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
    EXPECT_EQ(2, ParentPath(u8"C:\\表", out, sizeof out));

    EXPECT_TRUE(EqualNoCase("C:\\Items", "c:\\items"));
    EXPECT_FALSE(EqualNoCase("C:\\Items", "C:\\Item"));
    // Only ASCII letters fold: é and É differ, as the names on disk may.
    EXPECT_FALSE(EqualNoCase(u8"caf\u00e9", u8"caf\u00c9"));
    EXPECT_TRUE(EqualNoCase(u8"Café", u8"cAfé"));
}
