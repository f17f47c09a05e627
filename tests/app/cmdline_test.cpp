#include "app/cmdline.h"

#include <gtest/gtest.h>

#include <string>

#include "store/textbuf.h"

static std::string Root(const std::string& cmdline, bool expectOk = true)
{
    char out[kPathCap];
    memset(out, 'x', sizeof out);
    bool ok = RootFromCommandLine(cmdline.c_str(), out, sizeof out);
    EXPECT_EQ(expectOk, ok) << cmdline;
    return out;
}

TEST(CommandLine, QuotesAndBlanksAroundTheFolderGo)
{
    EXPECT_EQ("C:\\My Items", Root("\"C:\\My Items\""));
    EXPECT_EQ("C:\\My Items", Root("  \"C:\\My Items\"\t "));
    EXPECT_EQ("C:\\Items", Root("C:\\Items  "));
    // Only one enclosing pair goes; everything inside stays verbatim.
    EXPECT_EQ("\"C:\\x\"", Root("\"\"C:\\x\"\""));
    EXPECT_EQ("  C:\\x ", Root("\"  C:\\x \""));
    EXPECT_EQ("C:\\a\"b", Root("C:\\a\"b"));
    // An unbalanced quote is not a pair.
    EXPECT_EQ("\"C:\\x", Root("\"C:\\x"));
}

TEST(CommandLine, NothingLeftIsNoFolder)
{
    EXPECT_EQ("", Root("", false));
    EXPECT_EQ("", Root("   ", false));
    EXPECT_EQ("", Root("\"\"", false));
    char out[4] = "abc";
    EXPECT_FALSE(RootFromCommandLine(nullptr, out, sizeof out));
    EXPECT_STREQ("", out);
}

TEST(CommandLine, OverLongFolderIsRefusedNotCut)
{
    // 259 UTF-16 units, whatever the bytes: ASCII, kanji, or an emoji's pair.
    std::string fits = "C:\\" + std::string(kPathUnits - 4, 'a');
    std::string kanji = "C:\\";
    for (int i = 0; i < kPathUnits - 4; ++i)
        kanji += u8"表";
    std::string emoji = "C:\\ax";
    for (int i = 0; i < (kPathUnits - 5) / 2; ++i)
        emoji += u8"😀";
    for (const std::string& path : {fits, kanji, emoji}) {
        EXPECT_EQ(path, Root(path));
        EXPECT_EQ(path, Root("\"" + path + "\""));
        EXPECT_EQ("", Root(path + "b", false));
    }
    EXPECT_EQ("", Root(std::string(5000, 'z'), false));
}

// The program's name goes as WinMain's command line loses it, quoted or not.
TEST(CommandLine, ArgumentsFollowTheProgramName)
{
    EXPECT_EQ(std::wstring(L"\"C:\\My Items\" "),
              ArgumentsAfterProgram(L"\"C:\\Program Files\\z.exe\"  \"C:\\My Items\" "));
    EXPECT_EQ(std::wstring(L"C:\\Items"), ArgumentsAfterProgram(L"z.exe\tC:\\Items"));
    EXPECT_EQ(std::wstring(L"x"), ArgumentsAfterProgram(L"C:\\a\" b\"c.exe x"));
    EXPECT_EQ(std::wstring(L""), ArgumentsAfterProgram(L"z.exe"));
    EXPECT_EQ(std::wstring(L""), ArgumentsAfterProgram(L"\"C:\\unclosed x"));
    EXPECT_EQ(std::wstring(L""), ArgumentsAfterProgram(nullptr));
}
