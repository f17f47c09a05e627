#include "store/textbuf.h"

#include <gtest/gtest.h>

#include <string>

#include "store/chars.h"
#include "store/sjis.h"

TEST(TextBuf, CopyFitsExactlyAtCapacity)
{
    char dst[8];
    EXPECT_TRUE(CopyText(dst, sizeof dst, "1234567"));
    EXPECT_STREQ("1234567", dst);
    EXPECT_FALSE(CopyText(dst, sizeof dst, "12345678"));
    EXPECT_STREQ("1234567", dst);
    EXPECT_TRUE(CopyText(dst, sizeof dst, nullptr));
    EXPECT_STREQ("", dst);
    EXPECT_FALSE(CopyText(dst, 0, "x"));
}

TEST(TextBuf, CutNeverSplitsADoubleByteCharacter)
{
    const char text[] = u8"aa表😀";
    char dst[9];
    EXPECT_FALSE(CopyText(dst, sizeof dst, text));
    EXPECT_STREQ(u8"aa表", dst);
    char tiny[5];
    EXPECT_FALSE(CopyText(tiny, sizeof tiny, text));
    EXPECT_STREQ("aa", tiny);
}

TEST(TextBuf, AppendRespectsTheWholeBuffer)
{
    char dst[8] = "abc";
    EXPECT_TRUE(AppendText(dst, sizeof dst, "defg"));
    EXPECT_STREQ("abcdefg", dst);
    EXPECT_FALSE(AppendText(dst, sizeof dst, "h"));
    EXPECT_STREQ("abcdefg", dst);
}

TEST(TextBuf, FormatAndJoinRefuseWhatDoesNotFit)
{
    // A path holds 259 UTF-16 units, ASCII or not.
    char path[kPathCap];
    std::string folder = "C:\\" + std::string(250, 'f');
    std::string name(kPathUnits - 1 - folder.size() - 1, 'n');
    ASSERT_TRUE(JoinPath(path, sizeof path, folder.c_str(), name.c_str()));
    EXPECT_EQ(259u, strlen(path));
    EXPECT_EQ(folder + "\\" + name, path);
    EXPECT_FALSE(JoinPath(path, sizeof path, folder.c_str(), (name + "x").c_str()));
    EXPECT_STREQ("", path);
    std::string kanji = "C:";
    for (int i = 0; i < 254; ++i)
        kanji += u8"表";
    ASSERT_TRUE(JoinPath(path, sizeof path, kanji.c_str(), "ab"));
    EXPECT_EQ(kanji.size() + 3, strlen(path));
    EXPECT_FALSE(JoinPath(path, sizeof path, kanji.c_str(), "abc"));
    EXPECT_TRUE(JoinPath(path, sizeof path, kanji.c_str(), u8"😀"));
    EXPECT_FALSE(JoinPath(path, sizeof path, kanji.c_str(), u8"a😀"));   // never half a pair

    char small[8];
    EXPECT_TRUE(FormatText(small, sizeof small, " %d", 123456));
    EXPECT_STREQ(" 123456", small);
    EXPECT_FALSE(FormatText(small, sizeof small, " %d", 1234567));
    EXPECT_STREQ("", small);
}

TEST(Sjis, ClassesAndSeparatorSearch)
{
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0x9F));
    EXPECT_TRUE(IsLeadByte(0xE0));
    EXPECT_TRUE(IsLeadByte(0xFC));
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_FALSE(IsLeadByte(0xA0));   // half-width katakana
    EXPECT_FALSE(IsLeadByte(0xFD));
    EXPECT_TRUE(IsTrailByte(0x40));
    EXPECT_TRUE(IsTrailByte(0x5C));
    EXPECT_FALSE(IsTrailByte(0x7F));
    EXPECT_FALSE(IsTrailByte(0x3F));

    // "C:\表" in code page 932: the last backslash is the real separator,
    // not 表's trail byte.
    const char path[] = "C:\\\x95\x5c";
    EXPECT_EQ(2, FindLastSjisChar(path, 4, '\\'));
    // A lead byte at the very end has no trail: it is a single byte.
    EXPECT_FALSE(IsDoubleByteAt("\x95"));
    EXPECT_EQ(1, FindLastSjisChar("a\\\x95", 3, '\\'));
    EXPECT_EQ(-1, FindLastSjisChar("abc", 3, '\\'));
    EXPECT_EQ(u8"C:\\表" + 2, FindLastChar(u8"C:\\表", '\\'));
}

TEST(Chars, TextSearchStartsAndEndsOnCharacters)
{
    const char title[] = u8"アA - Netscape";
    EXPECT_EQ(title + 3, FindInString(title, "A"));
    EXPECT_EQ(title, FindInString(title, u8"ア"));
    // A malformed part never matches inside a character.
    EXPECT_EQ(nullptr, FindInString(u8"xア", "x\xE3"));
    EXPECT_EQ(nullptr, FindInString(u8"アイ", "\x82\xA4"));
    EXPECT_EQ(nullptr, FindInString("- Netscap", "- Netscape"));
    EXPECT_EQ(1u, CharBytesAt("\xE3"));   // a cut character is one byte
    EXPECT_EQ(4u, CharBytesAt(u8"😀"));
    EXPECT_EQ(2, CharColumns(u8"表"));
    EXPECT_EQ(1, CharColumns(u8"ｶ"));
    EXPECT_EQ(1, CharColumns("a"));
}
