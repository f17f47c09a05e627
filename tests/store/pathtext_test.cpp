// Drive roots, name classes, number suffixes and name candidates.
#include "store/pathtext.h"

#include <gtest/gtest.h>

#include <string>

#include "store/textbuf.h"

namespace {
std::string Root(const char* path)
{
    char out[kPathCap];
    DriveRoot(path, out, sizeof out);
    return out;
}

std::string Stripped(const char* name)
{
    char text[kPathCap];
    CopyText(text, sizeof text, name);
    StripNumberSuffix(text);
    return text;
}
}  // namespace

TEST(PathText, DriveRootsOfDrivesSharesAndRelativePaths)
{
    EXPECT_EQ("\\\\server\\share", Root("\\\\server\\share\\a\\b"));
    EXPECT_EQ("\\\\srv\\share", Root("\\\\srv\\share"));
    EXPECT_EQ("D:", Root("D:\\x"));
    EXPECT_EQ("D:", Root("D:"));
    EXPECT_EQ("", Root("items\\x"));
    EXPECT_EQ("", Root("x"));
    EXPECT_EQ("", Root(""));
    EXPECT_EQ(u8"\\\\srv\\表", Root(u8"\\\\srv\\表\\a"));
    EXPECT_TRUE(IsUncPath("\\\\x"));
    EXPECT_FALSE(IsUncPath("\\x"));
    EXPECT_FALSE(IsUncPath(nullptr));
    // Within a folder: itself or below it, never a longer name beside it.
    EXPECT_TRUE(PathIsWithin(u8"c:\\LIB\\表\\a", u8"C:\\lib\\表"));
    EXPECT_TRUE(PathIsWithin("C:\\lib", "C:\\lib\\"));
    EXPECT_TRUE(PathIsWithin("C:\\x", "C:\\"));
    EXPECT_FALSE(PathIsWithin("C:\\library", "C:\\lib"));
    EXPECT_FALSE(PathIsWithin(u8"C:\\表", u8"C:\\衣"));
    EXPECT_FALSE(PathIsWithin("C:\\x", ""));
}

TEST(PathText, NameCharacterClass)
{
    for (char c : std::string("\\/:*?\"<>|")) {
        EXPECT_TRUE(IsInvalidNameChar((unsigned char)c)) << c;
        EXPECT_FALSE(IsNameChar((unsigned char)c)) << c;
    }
    EXPECT_FALSE(IsInvalidNameChar('\0'));
    EXPECT_TRUE(IsNameChar(' '));
    EXPECT_TRUE(IsNameChar('!'));
    EXPECT_TRUE(IsNameChar('}'));
    EXPECT_TRUE(IsNameChar('a'));
    EXPECT_FALSE(IsNameChar('~'));
    EXPECT_FALSE(IsNameChar(0x7F));
    EXPECT_FALSE(HasInvalidNameChar(u8"表ポ memo 😀"));
    EXPECT_TRUE(HasInvalidNameChar(u8"表\\x"));
    EXPECT_TRUE(HasInvalidNameChar("a/b"));
    EXPECT_TRUE(HasInvalidNameChar(u8"あ|"));
    EXPECT_FALSE(HasInvalidNameChar("\x82"));   // a lone lead byte at the end
    EXPECT_FALSE(HasInvalidNameChar(""));
    EXPECT_FALSE(HasInvalidNameChar(nullptr));
    EXPECT_FALSE(IsNameChar('\t'));
    EXPECT_FALSE(IsNameChar(0xB1));   // half-width katakana
    EXPECT_FALSE(IsNameChar(0x81));
}

TEST(PathText, NumberSuffixesGo)
{
    EXPECT_EQ("Memo", Stripped("Memo (3)"));
    EXPECT_EQ("Memo", Stripped("Memo (2) (5)"));
    EXPECT_EQ("Memo (a)", Stripped("Memo (a)"));
    EXPECT_EQ("Memo", Stripped("Memo ()"));
    EXPECT_EQ("A", Stripped("A (1) B"));
    EXPECT_EQ("Memo", Stripped("Memo  \r\n"));
    EXPECT_EQ("Memo", Stripped("Memo"));
    EXPECT_EQ("a)b", Stripped("a)b("));   // ")" before "(": nothing between
    EXPECT_EQ("\x83\x5c", Stripped("\x83\x5c (12)"));   // ソ (12)
}

TEST(PathText, CandidatesStopAtThePathLimit)
{
    char out[kPathCap];
    EXPECT_TRUE(FormatNameCandidate(out, sizeof out, "C:\\f", "Memo", 0, ".txt"));
    EXPECT_STREQ("C:\\f\\Memo.txt", out);
    EXPECT_TRUE(FormatNameCandidate(out, sizeof out, "C:\\f", "Memo", 98, ""));
    EXPECT_STREQ("C:\\f\\Memo (98)", out);
    // 4 + 1 + 250 + 4 = 259 characters fit; one more does not.
    std::string stem(251, 's');
    EXPECT_TRUE(FormatNameCandidate(out, sizeof out, "C:\\f", std::string(250, 's').c_str(), 0,
                                    ".txt"));
    EXPECT_EQ(259u, strlen(out));
    EXPECT_FALSE(FormatNameCandidate(out, sizeof out, "C:\\f", stem.c_str(), 0, ".txt"));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(FormatNameCandidate(out, sizeof out, "C:\\f", std::string(247, 's').c_str(), 1,
                                     ".txt"));
}
