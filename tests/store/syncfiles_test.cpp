// A library in a folder a sync engine carries: the engines' own files as
// the engines leave them, conflict copies of items and of the order file.
#include <algorithm>
#include <string>
#include <vector>

#include "guitest.h"
#include "res/resource.h"
#include "store/folderload.h"
#include "store/librarysearch.h"
#include "store/order.h"
#include "store/pathtext.h"
#include "store/searchtext.h"

using gt::MainWindowTest;

namespace {

std::vector<std::string> s_moved;

BOOL RecordMove(const char* from, const char* to)
{
    s_moved.push_back(LastComponent(from));
    return MoveEntryPath(from, to);
}

class SyncFilesTest : public MainWindowTest {
protected:
    typedef std::vector<std::string> Names;

    void TearDown() override
    {
        g_moveFile = MoveEntryPath;
        s_moved.clear();
        MainWindowTest::TearDown();
    }
    // What the list shows on the row (the text the list asks the window for).
    std::string Label(int row)
    {
        char text[kPathCap] = "";
        LVITEMA item = {};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(g_app->listView, LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
        return text;
    }
    Names Search(const char* utf8)
    {
        LibrarySearch search;
        StartLibrarySearch(&search, folder_.c_str(), FoldForSearch(gt::Sjis(utf8).c_str()));
        while (SearchNextFolder(&search)) {
        }
        Names found;
        for (const SearchHit& hit : search.hits)
            found.push_back(hit.folder.empty() ? hit.file : hit.folder + "\\" + hit.file);
        std::sort(found.begin(), found.end());
        return found;
    }
};

TEST_F(SyncFilesTest, EngineFilesAreNeverRowsSavedSearchedOrMoved)
{
    Item("memo.txt", "k=needle\r\n");
    Group("Sub");
    Item("Sub\\inner.txt", "k=needle\r\n");
    for (const char* folder : {".stfolder", ".stversions", ".dropbox.cache", "Sub\\.stfolder"})
        Group(folder);
    Item(".stversions\\memo~20261210-110547.txt", "k=needle\r\n");
    for (const char* file :
         {".stignore", ".syncthing.new.txt.tmp", "~syncthing~new.txt.tmp", ".dropbox",
          ".dropbox.attr", "Thumbs.db", ".DS_Store", "._memo.txt", "~$memo.txt",
          "Sub\\.syncthing.inner.txt.tmp"})
        Item(file, "k=needle\r\n");
    Item("desktop.ini", "[.ShellClassInfo]\r\nIconResource=needle\r\n");
    // An order file written before, naming some of them.
    Order(".stfolder\r\n.syncthing.new.txt.tmp\r\nmemo.txt\r\ndesktop.ini\r\nSub\r\n");
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ((Names{"memo", "Sub"}), gt::RowNames());
    EXPECT_EQ(gt::Sjis(u8"2 項目"), gt::StatusPart(2));
    EXPECT_EQ(0, g_app->orderChanged);
    // Saving drops the lines that named them.
    Command(CMD_SAVE_ORDER);
    EXPECT_EQ("memo.txt\r\nSub\r\n", gt::ReadBytes(In(ORDER_FILE_NAME)));
    EXPECT_EQ((Names{"Sub\\inner.txt", "memo.txt"}), Search("needle"));

    // Hidden entries left out or not, none of them is a row.
    g_app->options[ExcludeHidden] = 1;
    LoadFolder();
    EXPECT_EQ((Names{"memo", "Sub"}), gt::RowNames());
    // Reordering on disk moves the rows and what the list left out, never
    // the engines' entries.
    g_app->options[NoOrderFile] = 1;
    g_moveFile = RecordMove;
    Command(CMD_SAVE_ORDER);
    std::sort(s_moved.begin(), s_moved.end());
    EXPECT_EQ((Names{"Sub", "Sub", ORDER_FILE_NAME, ORDER_FILE_NAME, "memo.txt", "memo.txt"}),
              s_moved);
    EXPECT_TRUE(gt::PathIsFolder(In(".stfolder")));
}

TEST_F(SyncFilesTest, AConflictCopyIsMarkedBesideItsOriginalAndResolvedWithTheUsualCommands)
{
    const std::string memo = gt::Sjis(u8"メモ");
    const std::string copy = memo + ".sync-conflict-20261210-110547-JXUS4EA";
    Item(memo + ".txt", "k=mine\r\n");
    Item("other.txt");
    Item("note.txt");
    Item(copy + ".txt", "k=theirs\r\n");
    Item("note (PC's conflicted copy 2026-12-09).txt", "k=old note\r\n");
    Item("plain-DESKTOP1.txt");   // OneDrive's copy: a row like any other
    Order(memo + ".txt\r\nother.txt\r\nnote.txt\r\nplain-DESKTOP1.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    // The rows keep the files' names; only what they show is marked.
    EXPECT_EQ((Names{memo, copy, "other", "note", "note (PC's conflicted copy 2026-12-09)",
                     "plain-DESKTOP1"}),
              gt::RowNames());
    EXPECT_EQ(gt::Sjis(u8"メモ（競合 2026-12-10 11:05）"), Label(1));
    EXPECT_EQ(gt::Sjis(u8"note（競合 2026-12-09）"), Label(4));
    EXPECT_EQ("plain-DESKTOP1", Label(5));

    // Copying from it says which it was.
    Select(1);
    Command(CMD_COPY);
    EXPECT_EQ(gt::Sjis(u8"コピーしました: メモ（競合 2026-12-10 11:05）"), gt::StatusPart(0));

    // The filter finds it by its original's name and by its mark.
    SetRowFilter(FoldForSearch(memo.c_str()));
    EXPECT_EQ(2, RowCount());
    SetRowFilter(FoldForSearch(gt::Sjis(u8"競合").c_str()));
    EXPECT_EQ(2, RowCount());
    SetRowFilter("");

    // A rename edits the file's real name: Enter as it stands renames nothing.
    Select(1);
    Command(CMD_RENAME);
    HWND edit = (HWND)SendMessageA(g_app->listView, LVM_GETEDITCONTROL, 0, 0);
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(copy, gt::WindowText(edit));
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    gt::Pump();
    EXPECT_NE("<missing>", gt::ReadBytes(In(copy + ".txt")));

    // The order saved keeps each copy beside its original; deleting the
    // copy is the resolution.
    Command(CMD_SAVE_ORDER);
    EXPECT_EQ(memo + ".txt\r\n" + copy + ".txt\r\nother.txt\r\nnote.txt\r\n" +
                  "note (PC's conflicted copy 2026-12-09).txt\r\nplain-DESKTOP1.txt\r\n",
              gt::ReadBytes(In(ORDER_FILE_NAME)));
    Select(1);
    boxes_.Press(IDYES);
    Command(CMD_DELETE);
    EXPECT_EQ("<missing>", gt::ReadBytes(In(copy + ".txt")));
    EXPECT_EQ(memo, gt::RowNames()[0]);
    EXPECT_EQ("other", gt::RowNames()[1]);
}

TEST_F(SyncFilesTest, AnOrderFileSetAsideIsSaidOnceAndKept)
{
    const std::string aside = "ZORIVEN.sync-conflict-20261210-110547-JXUS4EA.ORD";
    Item("a.txt");
    Item("b.txt");
    Order("b.txt\r\na.txt\r\n");
    Item(aside, "a.txt\r\nb.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    // The order shown stays this machine's, and the other is named.
    EXPECT_EQ((Names{"b", "a"}), gt::RowNames());
    EXPECT_EQ(gt::Sjis(u8"他のマシンでの並び順は退避されています: ") + aside, gt::StatusPart(0));
    EXPECT_TRUE(boxes_.seen().empty());
    Command(CMD_REFRESH);
    EXPECT_EQ(LastComponent(folder_.c_str()), gt::StatusPart(0));

    // Dropbox's form of it, met at the next read; the files stay.
    const std::string dropbox = "ZORIVEN (Mac's conflicted copy 2026-12-10).ORD";
    Item(dropbox, "a.txt\r\n");
    Command(CMD_REFRESH);
    EXPECT_EQ(gt::Sjis(u8"他のマシンでの並び順は退避されています: ") + dropbox, gt::StatusPart(0));
    g_app->orderChanged = 1;
    Command(CMD_SAVE_ORDER);
    EXPECT_EQ("b.txt\r\na.txt\r\n", gt::ReadBytes(In(ORDER_FILE_NAME)));
    EXPECT_EQ("a.txt\r\nb.txt\r\n", gt::ReadBytes(In(aside)));
    EXPECT_EQ("a.txt\r\n", gt::ReadBytes(In(dropbox)));
}

}  // namespace
