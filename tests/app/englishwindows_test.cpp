// A Japanese library on a Windows set to another language: the program's
// text is code page 932 by name, so the rows, the interface, a copy and
// the files written are what a Japanese Windows gives. Runs as a test of
// its own under an English locale (code page 1252); skipped elsewhere.
#include <string>

#include "guitest.h"
#include "clip/copy.h"
#include "res/resource.h"

class EnglishWindowsTest : public gt::MainWindowTest {};

TEST_F(EnglishWindowsTest, AJapaneseLibraryReadsAndWritesAsOnAJapaneseWindows)
{
    if (GetACP() == 932)
        GTEST_SKIP() << "a Japanese Windows";
    Item(gt::Text(u8"住所.txt"), gt::Sjis(u8"会社=東京都千代田区\r\n"));
    Item("memo.txt", gt::Sjis(u8"挨拶=お世話になっております。\r\n"));
    Order(gt::Sjis(u8"住所.txt\r\nmemo.txt\r\n"));
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ((std::vector<std::string>{gt::Text(u8"住所"), "memo"}), gt::RowNames());
    EXPECT_EQ(gt::Text(u8"2 項目"), gt::StatusPart(2));

    // Other programs get the text as it is.
    Select(0);
    Command(CMD_COPY);
    EXPECT_EQ(L"\u6771\u4EAC\u90FD\u5343\u4EE3\u7530\u533A", gt::ClipboardWide());

    // The order written back is the Japanese Windows' bytes.
    Command(CMD_MOVE_DOWN);
    Close();
    EXPECT_EQ(gt::Sjis(u8"memo.txt\r\n住所.txt\r\n"), gt::ReadBytes(In("ZORIVEN.ORD")));
    EXPECT_EQ(gt::Sjis(u8"会社=東京都千代田区\r\n"), gt::ReadBytes(In(gt::Text(u8"住所.txt"))));
    EXPECT_EQ(0, boxes_.unexpected());
}
