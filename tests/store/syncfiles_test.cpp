// A library in a folder a sync engine carries: the engines' own files as
// the engines leave them, conflict copies of items and of the order file.
#include <string>
#include <vector>

#include "guitest.h"
#include "res/resource.h"
#include "store/folderload.h"
#include "store/librarysearch.h"
#include "store/pathtext.h"
#include "store/searchtext.h"
#include "store/syncfiles.h"

using SyncFilesTest = gt::MainWindowTest;
typedef std::vector<std::string> Names;

TEST_F(SyncFilesTest, EngineFilesAreNeverRowsSavedOrSearched)
{
    Item("memo.txt", "k=needle\r\n");
    for (const char* folder : {"Sub", ".stfolder", ".stversions", ".dropbox.cache"})
        Group(folder);
    for (const char* file : {"Sub\\inner.txt", ".stversions\\memo~1.txt", ".stignore",
                             ".syncthing.new.txt.tmp", "~syncthing~new.txt.tmp", ".dropbox",
                             "desktop.ini", "Thumbs.db", ".DS_Store", "._memo.txt", "~$memo.txt"})
        Item(file, "k=needle\r\n");
    Order(".stfolder\r\n.syncthing.new.txt.tmp\r\nmemo.txt\r\ndesktop.ini\r\nSub\r\n");
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ((Names{"memo", "Sub"}), gt::RowNames());
    EXPECT_EQ(gt::Text(u8"2 項目"), gt::StatusPart(2));
    // Saving drops the lines that named them.
    Command(CMD_SAVE_ORDER);
    EXPECT_EQ("memo.txt\r\nSub\r\n", gt::ReadBytes(In(ORDER_FILE_NAME)));
    LibrarySearch search;
    StartLibrarySearch(&search, folder_.c_str(), FoldForSearch("needle"));
    while (SearchNextFolder(&search)) {
    }
    EXPECT_EQ(2u, search.hits.size());   // memo.txt and Sub\inner.txt
}

TEST_F(SyncFilesTest, ConflictCopiesAreMarkedBesideTheirOriginalAndASetAsideOrderIsSaidOnce)
{
    const std::string memo = gt::Text(u8"メモ"), copy = memo + ".sync-conflict-20261210-110547-X";
    const std::string aside = "ZORIVEN (Mac's conflicted copy 2026-12-10).ORD";
    Item(memo + ".txt", "k=mine\r\n");
    Item("other.txt");
    Item(copy + ".txt", "k=theirs\r\n");
    Order(gt::Sjis(u8"メモ") + ".txt\r\nother.txt\r\n");
    Item(aside, "other.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    // The rows keep the files' names; only what they show is marked.
    EXPECT_EQ((Names{memo, copy, "other"}), gt::RowNames());
    EXPECT_EQ(gt::Text(u8"メモ（競合 2026-12-10 11:05）"), RowLabel(GetRowRecord(1)));
    EXPECT_STREQ("other", RowLabel(GetRowRecord(2)));
    EXPECT_EQ(gt::Text(u8"他のマシンでの並び順は退避されています: ") + aside, gt::StatusPart(0));
    Command(CMD_REFRESH);
    EXPECT_EQ(LastComponent(folder_.c_str()), gt::StatusPart(0));

    Select(1);
    Command(CMD_COPY);
    EXPECT_EQ(gt::Text(u8"コピーしました: メモ（競合 2026-12-10 11:05）"), gt::StatusPart(0));
    SetRowFilter(FoldForSearch(gt::Text(u8"競合").c_str()));
    EXPECT_EQ(1, RowCount());
    SetRowFilter("");
    // A rename edits the file's real name.
    Command(CMD_RENAME);
    HWND edit = (HWND)SendMessageA(g_app->listView, LVM_GETEDITCONTROL, 0, 0);
    EXPECT_EQ(copy, gt::WindowText(edit));
    PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    gt::Pump();
    Command(CMD_SAVE_ORDER);
    EXPECT_EQ("other.txt\r\n", gt::ReadBytes(In(aside)));
}
