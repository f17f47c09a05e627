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
    // "aa" then two double-byte characters whose trail byte is 0x5C.
    const char text[] = "aa\x95\x5c\x83\x5c";
    char dst[6];
    EXPECT_FALSE(CopyText(dst, sizeof dst, text));
    EXPECT_STREQ("aa\x95\x5c", dst);
    char tiny[4];
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
    char path[kPathCap];
    std::string folder = "C:\\" + std::string(250, 'f');
    std::string name(kPathCap - 1 - folder.size() - 1, 'n');
    ASSERT_TRUE(JoinPath(path, sizeof path, folder.c_str(), name.c_str()));
    EXPECT_EQ(259u, strlen(path));
    EXPECT_EQ(folder + "\\" + name, path);
    EXPECT_FALSE(JoinPath(path, sizeof path, folder.c_str(), (name + "x").c_str()));
    EXPECT_STREQ("", path);

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

    // "C:\表" : the last backslash is the real separator, not 表's trail.
    const char path[] = "C:\\\x95\x5c";
    EXPECT_EQ(path + 2, FindLastChar(path, '\\'));
    // A lead byte at the very end has no trail: it is a single byte.
    EXPECT_FALSE(IsDoubleByteAt("\x95"));
    const char odd[] = "a\\\x95";
    EXPECT_EQ(odd + 1, FindLastChar(odd, '\\'));
    EXPECT_EQ(nullptr, FindLastChar("abc", '\\'));
}

TEST(Sjis, TextSearchStartsAndEndsOnCharacters)
{
    // "ア" is 83 41: its trail byte is "A", which is not found there.
    const char title[] = "\x83\x41" "A - Netscape";
    EXPECT_EQ(title + 2, FindInString(title, "A"));
    EXPECT_EQ(title, FindInString(title, "\x83\x41"));
    EXPECT_EQ(nullptr, FindInString("x\x83\x41", "x\x83"));   // would end inside "ア"
    EXPECT_EQ(nullptr, FindInString("- Netscap", "- Netscape"));
}
