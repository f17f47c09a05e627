// The search of the whole library: results with their folders, a copy as
// in the item's own folder, its folder opened, the entry cache read, Esc.
#include <algorithm>
#include <string>
#include <vector>

#include "guitest.h"
#include "clip/paste.h"
#include "ops/searchdialog.h"
#include "res/resource.h"
#include "store/folderload.h"

using gt::MainWindowTest;
typedef std::vector<std::string> Names;

class SearchDialogTest : public MainWindowTest {
protected:
    // A search is served only after a minute: it runs to its end at once.
    void SetUp() override
    {
        MainWindowTest::SetUp();
        g_searchQuietMs = 60000;
    }
    void TearDown() override
    {
        g_searchQuietMs = 100;
        MainWindowTest::TearDown();
    }
    // "name|folder" of every result row.
    static Names Results(HWND dialog)
    {
        HWND list = GetDlgItem(dialog, IDC_SEARCH_LIST);
        Names rows;
        for (int row = 0, n = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); row < n; ++row) {
            std::string cells;
            for (int column = 0; column < 2; ++column) {
                wchar_t text[kPathCap] = L"";
                LVITEMW item = {};
                item.iSubItem = column;
                item.pszText = text;
                item.cchTextMax = sizeof text / sizeof text[0];
                SendMessageW(list, LVM_GETITEMTEXTW, (WPARAM)row, (LPARAM)&item);
                cells += (column ? "|" : "") + Narrow(text);
            }
            rows.push_back(cells);
        }
        return rows;
    }
    static void WaitForResults(HWND dialog)
    {
        for (int i = 0; i < 100 && gt::ItemText(dialog, IDC_SEARCH_STATUS).empty(); ++i)
            gt::Pump(10, 100);
    }
    static void Choose(HWND dialog, int row)
    {
        LVITEMA state = {};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(GetDlgItem(dialog, IDC_SEARCH_LIST), LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&state);
    }
    void Search(const char* text, gt::BoxDriver driver)
    {
        gt::SetText(g_app->searchBox, text);
        boxes_.Drive(driver);
        Command(CMD_FIND_ALL);
    }
};

TEST_F(SearchDialogTest, ResultsCopyAsInTheirFolderAndOpenIt)
{
    Item("top.txt", "k=needle at the top\r\n");
    Group("a");
    Item("a\\b.txt", "k=NEEDLE in b\r\n");
    Item("a\\other.txt");
    Group("needles");   // a group is found by its name
    std::string deep;
    for (int i = 1; i <= 20; ++i) {
        deep += (i > 1 ? "\\d" : "d") + std::to_string(100 + i).substr(1);
        Group(deep);
    }
    Item(deep + "\\deep.txt", gt::Sjis(u8"k=ｎｅｅｄｌｅ, twenty deep\r\n"));
    // An item whose path is 259 bytes, the most a path holds, and a folder
    // whose entries no longer fit one: it is passed by and counted.
    std::string name(kPathUnits - 1 - folder_.size() - 1 - 11, 'L');
    Group(name);
    Item(name + "\\needle.txt");
    std::string full(kPathUnits - 2 - folder_.size() - 1, 'F');
    Group(full);
    ASSERT_TRUE(Start(folder_));
    std::string copied;
    Search("needle", [&](HWND dialog) {
        WaitForResults(dialog);
        Names rows = Results(dialog);
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ((Names{"b|\\a", "deep|\\" + deep, "needles|\\", "needle|\\" + name,
                         "top|\\"}),
                  rows);
        EXPECT_NE(std::string::npos, gt::ItemText(dialog, IDC_SEARCH_STATUS).find(gt::Text(u8"読めなかったもの 1")));
        for (int row = 0; row < (int)rows.size(); ++row)
            if (Results(dialog)[row] == "b|\\a")
                Choose(dialog, row);
        SetFocus(GetDlgItem(dialog, IDC_SEARCH_LIST));
        gt::Press(VK_RETURN);   // Enter in the results: a copy, not a search
        gt::Pump();
        char* text = GetClipboardText(dialog, NULL);
        copied = text ? text : "";
        free(text);
        for (int row = 0; row < (int)rows.size(); ++row)
            if (Results(dialog)[row] == "deep|\\" + deep)
                Choose(dialog, row);
        gt::Send(dialog, CMD_SEARCH_OPEN);
    });
    EXPECT_EQ("NEEDLE in b", copied);
    EXPECT_EQ(In(deep), g_app->currentFolder);
    ASSERT_NE(nullptr, GetSelectedRecord(NULL, -1));
    EXPECT_STREQ("deep", GetSelectedRecord(NULL, -1)->name);
    EXPECT_EQ(0, boxes_.unexpected());
}

// Folders read before come from their cache; Esc stops between folders.
TEST_F(SearchDialogTest, ReadsThroughTheCacheAndStopsOnEsc)
{
    for (int i = 0; i < 30; ++i) {
        Group("f" + std::to_string(i));
        Item("f" + std::to_string(i) + "\\x.txt", "k=cached\r\n");
    }
    // An hour old, so that the load of f0 leaves it in the cache; then the
    // same size and time with other bytes: only the cache says "cached".
    HANDLE file = CreateFileA(In("f0\\x.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL,
                              OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    FILETIME written;
    GetSystemTimeAsFileTime(&written);
    written.dwHighDateTime -= 10;
    SetFileTime(file, NULL, NULL, &written);
    CloseHandle(file);
    ASSERT_TRUE(Start(In("f0")));
    file = CreateFileA(In("f0\\x.txt").c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    DWORD wrote = 0;
    WriteFile(file, "k=hidden", 8, &wrote, NULL);
    SetFileTime(file, NULL, NULL, &written);
    CloseHandle(file);
    CopyText(g_app->rootFolder, kPathCap, folder_.c_str());
    Search("cached", [&](HWND dialog) {
        WaitForResults(dialog);
        Names rows = Results(dialog);
        EXPECT_EQ(30u, rows.size());
        EXPECT_NE(rows.end(), std::find(rows.begin(), rows.end(), "x|\\f0"));
        g_searchQuietMs = 0;
        PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        gt::Send(dialog, IDC_SEARCH_GO);
        EXPECT_EQ(gt::Text(u8"検索を中止しました（1 フォルダ、0 件）"), gt::ItemText(dialog, IDC_SEARCH_STATUS));
        EXPECT_EQ(gt::Text(u8"検索(&S)"), gt::ItemText(dialog, IDC_SEARCH_GO));
        gt::ClickButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(0, boxes_.unexpected());
}

// The field holds 255 characters and the search text takes them all: 255
// kana are searched whole (and find nothing), 100 find the item.
TEST_F(SearchDialogTest, AFullFieldIsSearchedWhole)
{
    std::string kana;
    for (int i = 0; i < 100; ++i)
        kana += u8"あ";
    Item("half.txt", "k=" + gt::Sjis(kana.c_str()) + "\r\n");
    ASSERT_TRUE(Start(folder_));
    std::wstring typed(255, L'あ');
    size_t fullRows = 99, foundRows = 0;
    Search("", [&](HWND dialog) {
        SetDlgItemTextW(dialog, IDC_SEARCH_TEXT, typed.c_str());
        gt::Send(dialog, IDC_SEARCH_GO);
        WaitForResults(dialog);
        fullRows = Results(dialog).size();
        SetDlgItemTextW(dialog, IDC_SEARCH_TEXT, typed.substr(0, 100).c_str());
        gt::Send(dialog, IDC_SEARCH_GO);
        WaitForResults(dialog);
        foundRows = Results(dialog).size();
        gt::ClickButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(0u, fullRows);
    EXPECT_EQ(1u, foundRows);
    EXPECT_EQ(0, boxes_.unexpected());
}
