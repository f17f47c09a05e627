// Loading a folder into the list, in the order its order file gives.
#include <string>
#include <algorithm>
#include <vector>

#include "guitest.h"
#include "res/resource.h"
#include "store/folderload.h"

using gt::MainWindowTest;

class FolderLoadTest : public MainWindowTest {
protected:
    typedef std::vector<std::string> Names;
};

TEST_F(FolderLoadTest, OrderFileFirstThenTheRest)
{
    Item("a.txt");
    Item("b.txt");
    Item("c.txt");
    Group("Sub");
    Order("b.txt\r\nSub\r\na.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ((Names{"b", "Sub", "a", "c"}), gt::RowNames());
    EXPECT_EQ(1, g_app->orderChanged);   // c.txt was not listed
    EXPECT_EQ(gt::Text(u8"4 項目"), gt::StatusPart(2));
    int row = -1;
    ASSERT_NE(nullptr, GetSelectedRecord(&row, -1));
    EXPECT_EQ(0, row);
    // The list shows each row's name (the text comes from its record).
    char text[64] = "";
    LVITEMA item = {};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(g_app->listView, LVM_GETITEMTEXTA, 1, (LPARAM)&item);
    EXPECT_STREQ("Sub", text);
    EXPECT_EQ(1, OrderIndexOf("SUB"));
    EXPECT_EQ(-1, OrderIndexOf("c.txt"));
}

TEST_F(FolderLoadTest, CaseIsIgnoredButOneCharacterGroupsNeverMatch)
{
    Item("a.txt");
    Item("y.txt");
    Group("x");
    Order("A.TXT\r\nx\r\ny.txt\r\na.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ((Names{"a", "y", "x"}), gt::RowNames());
    EXPECT_EQ(1, g_app->orderChanged);
    EXPECT_EQ(0, OrderIndexOf("a.txt"));   // the first matching line wins
    EXPECT_EQ(-1, OrderIndexOf("x"));
}

TEST_F(FolderLoadTest, LinesBeyondTwiceTheEntriesStillPlaceTheirEntry)
{
    // Ten names removed by other programs, then the one that is left: its
    // line index is beyond twice the folder's two entries.
    std::string order;
    for (int i = 0; i < 10; ++i)
        order += "gone" + std::to_string(i) + ".txt\r\n";
    Item("b.txt");
    Order(order + "a.txt\r\nb.txt\r\n");
    Item("a.txt");
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ((Names{"a", "b"}), gt::RowNames());
    EXPECT_EQ(0, g_app->orderChanged);
}

TEST_F(FolderLoadTest, WhatMakesNoRow)
{
    Item("zoriven.ord", "");               // the order file, in any case
    Item("empty.txt", "");
    Item("notes.txt", "'only a comment\r\n\r\n");
    Item("tool.exe", "k=v\r\n");            // excluded by default
    Item("hidden.txt");
    SetFileAttributesA((folder_ + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    Group("secret");
    SetFileAttributesA((folder_ + "\\secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
    Item("u.url", "[InternetShortcut]\r\nURL=http://example.jp/\r\n");
    ASSERT_TRUE(Start(folder_));
    Names rows = gt::RowNames();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ((Names{"hidden", "secret", "u"}), rows);
    EXPECT_EQ(1, g_app->orderChanged);

    g_app->options[ExcludeHidden] = 1;
    EXPECT_EQ(1, LoadFolder());
    EXPECT_EQ((Names{"u"}), gt::RowNames());
}

TEST_F(FolderLoadTest, ExcludedFileOutsideTheOrderFileKeepsTheFlagSet)
{
    Item("a.txt");
    Item("tool.exe");
    Order("a.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ((Names{"a"}), gt::RowNames());
    EXPECT_EQ(1, g_app->orderChanged);
}

TEST_F(FolderLoadTest, WithoutTheOrderFileTheFileSystemDecides)
{
    Item("b.txt");
    Item("a.txt");
    Group("Sub");
    Order("Sub\r\na.txt\r\nb.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    g_app->options[NoOrderFile] = 1;
    LoadFolder();
    Names enumerated;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder_ + "\\*.*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    do {
        std::string name = found.cFileName;
        if (name != "." && name != ".." && name != "ZORIVEN.ORD")
            enumerated.push_back(name == "Sub" ? name : name.substr(0, 1));
    } while (FindNextFileA(h, &found));
    FindClose(h);
    EXPECT_EQ(enumerated, gt::RowNames());
    EXPECT_EQ(0, g_app->orderChanged);
}

TEST_F(FolderLoadTest, MissingOrUnreadableFoldersGiveAnEmptyList)
{
    ASSERT_TRUE(Start(folder_));
    CopyText(g_app->currentFolder, kPathCap, (folder_ + "\\none").c_str());
    EXPECT_EQ(0, LoadFolder());
    EXPECT_EQ(gt::Text(u8"0 項目"), gt::StatusPart(2));
    EXPECT_EQ("none", gt::StatusPart(0));
    EXPECT_EQ(0, CountFolderEntries((folder_ + "\\none\\*.*").c_str()));
    EXPECT_EQ(0, g_app->orderChanged);
}

TEST_F(FolderLoadTest, JapaneseNamesAndTrailBackslashes)
{
    std::string hyo = gt::Text(u8"表");      // 0x95 0x5C in code page 932
    std::string so = gt::Text(u8"ソフト");   // starts 0x83 0x5C there
    Group(hyo);
    Item(so + ".txt");
    Order(gt::Sjis(u8"ソフト.txt\r\n表\r\n"));
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ((Names{so, hyo}), gt::RowNames());
    EXPECT_EQ(0, g_app->orderChanged);
}

// Unreadable entries come together in one box per load, each named.
TEST_F(FolderLoadTest, UnreadableEntriesAreNamedInOneBoxPerLoad)
{
    std::vector<HANDLE> locks;
    auto lock = [&](const std::string& name) {
        Item(name);
        locks.push_back(CreateFileA((folder_ + "\\" + name).c_str(), GENERIC_READ, 0, NULL,
                                    OPEN_EXISTING, 0, NULL));
        ASSERT_NE(INVALID_HANDLE_VALUE, locks.back());
    };
    Item("ok.txt");
    for (int i = 0; i < 20; ++i)
        lock("locked" + std::to_string(100 + i) + ".txt");
    bool shown = false;   // the start-up load runs in the window already on screen
    boxes_.Drive([&](HWND box) { shown = IsWindowVisible(g_hMainWnd), gt::ClickButton(box, IDOK); });
    ASSERT_TRUE(Start(folder_));
    EXPECT_TRUE(shown);
    EXPECT_EQ((Names{"ok"}), gt::RowNames());
    ASSERT_EQ(1u, boxes_.seen().size());
    std::string text = boxes_.seen()[0].text;
    EXPECT_EQ(0u, text.find(gt::Text(u8"次の項目を読み込めませんでした。")));
    std::string why = gt::SystemText(ERROR_SHARING_VIOLATION);
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r'))
        why.pop_back();
    int named = 0;
    for (int i = 0; i < 20; ++i)
        if (text.find("locked" + std::to_string(100 + i) + ".txt\n    " + why) != std::string::npos)
            ++named;
    EXPECT_EQ(10, named);
    EXPECT_NE(std::string::npos, text.find(gt::Text(u8"ほかに 10 件あります。")));

    // Names as long as a path allows stay within the list's limit.
    for (HANDLE h : locks)
        CloseHandle(h);
    locks.clear();
    std::string stem(kPathUnits - 12 - folder_.size(), 'n');
    for (int i = 0; i < 16; ++i)
        lock(std::to_string(10 + i) + stem + ".txt");
    boxes_.Clear();
    boxes_.Press(IDOK);
    LoadFolder();
    ASSERT_EQ(1u, boxes_.seen().size());
    text = boxes_.seen()[0].text;
    EXPECT_LT(text.size(), (size_t)kListCap);
    named = 0;
    for (int i = 0; i < 16; ++i)
        named += text.find(std::to_string(10 + i) + stem) != std::string::npos;
    EXPECT_EQ(10, named);
    EXPECT_NE(std::string::npos, text.find(gt::Text(u8"ほかに 6 件あります。")));
    for (HANDLE h : locks)
        CloseHandle(h);
}

// Text that gives no entry is named, with why, on every load (the second
// through the entry cache); files with nothing to lose are not.
TEST_F(FolderLoadTest, TextWithoutEntriesIsNamedOnEveryLoadAndLeftAsItIs)
{
    std::string tooLong = gt::Text(u8"1 行が長すぎるため、項目として読めません。");
    std::string noEntry = gt::Text(u8"「キー=値」の行がないため、項目として読めません。");
    std::string utf16 = gt::Text(
        u8"UTF-16 で書かれているため、項目として読めません。Shift_JIS か UTF-8 で保存し直してください。");
    struct File {
        std::string name, bytes, why;
    } files[] = {{"long.txt", "memo=" + std::string(60000, 'x') + "\r\n", tooLong},
                 {"values.txt", "a=" + std::string(1500, 'x') + "\nb=" + std::string(1021, 'y'),
                  tooLong},
                 {"wide.txt", std::string(3000, 'x'), tooLong},
                 {"prose.txt", "no key\r\n", noEntry},
                 {"unicode.txt", std::string("\xFF\xFEk\0=\0v\0\r\0\n\0", 12), utf16},
                 {"bigendian.txt", std::string("\xFE\xFF\0k\0=\0v", 8), utf16},
                 {"empty.txt", "", ""},
                 {"picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), ""},
                 {"notes.txt", "'comment\r\n\r\n\t\r\n", ""},
                 {"ok.txt", "k=v\r\n", ""}};
    FILETIME old = {0, 0x01C00000};   // about 2000: the cache would keep them
    for (const File& file : files) {
        Item(file.name, file.bytes);
        HANDLE h = CreateFileA(In(file.name).c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL,
                               OPEN_EXISTING, 0, NULL);
        SetFileTime(h, NULL, NULL, &old);
        CloseHandle(h);
    }
    Order("ok.txt\r\n");
    for (int load = 0; load < 2; ++load) {
        boxes_.Clear();
        boxes_.Press(IDOK);
        ASSERT_TRUE(load ? LoadFolder() == 1 : Start(folder_) != NULL);
        EXPECT_EQ((Names{"ok"}), gt::RowNames());
        ASSERT_EQ(1u, boxes_.seen().size()) << "load " << load;
        std::string text = boxes_.seen()[0].text;
        for (const File& file : files)
            EXPECT_EQ(!file.why.empty(),
                      text.find(file.name + "\n    " + file.why) != std::string::npos)
                << file.name;
    }
    Close();
    EXPECT_EQ("ok.txt\r\n", gt::ReadBytes(In("ZORIVEN.ORD")));
    for (const File& file : files)
        EXPECT_EQ(file.bytes, gt::ReadBytes(In(file.name))) << file.name;
}
