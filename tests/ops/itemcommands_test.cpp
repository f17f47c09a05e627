// The commands that change the library: new group, delete, duplicate,
// up and down, move to another folder, up one level.
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "guitest.h"
#include "res/resource.h"
#include "store/folderload.h"

using gt::MainWindowTest;
typedef std::vector<std::string> Names;

class ItemCommandsTest : public MainWindowTest {
protected:
    int Selected()
    {
        int row = -1;
        GetSelectedRecord(&row, -1);
        return row;
    }
    HWND EditBox() { return (HWND)SendMessageA(g_app->listView, LVM_GETEDITCONTROL, 0, 0); }
};

TEST_F(ItemCommandsTest, NewGroupTakesTheNextFreeNameAndOpensItForEditing)
{
    const std::string base = gt::Text(u8"新しいグループ");
    Group(base);
    Group(base + " (1)");
    Item(base + " (2).txt");   // only folders count as taken
    ASSERT_TRUE(Start(folder_));
    g_app->orderChanged = 0;
    Command(CMD_NEW_GROUP);
    EXPECT_TRUE(gt::PathIsFolder(In(base + " (2)")));
    Names rows = gt::RowNames();
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ(base + " (2)", rows.back());
    EXPECT_EQ(3, Selected());
    EXPECT_NE(nullptr, EditBox());
    EXPECT_EQ(1, g_app->orderChanged);
    EXPECT_EQ(gt::Text(u8"4 項目"), gt::StatusPart(2));
}

TEST_F(ItemCommandsTest, DeleteAsksThenSelectsTheRowThatTookItsPlace)
{
    Item("a.txt");
    Item("b.txt");
    Item("c.txt");
    Order("a.txt\r\nb.txt\r\nc.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    Select(2);
    boxes_.Press(IDNO);
    Command(CMD_DELETE);
    EXPECT_EQ("k=v\r\n", gt::ReadBytes(In("c.txt")));
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(gt::Text(u8"「c」をごみ箱に移動しますか？"), boxes_.seen()[0].text);
    EXPECT_EQ(gt::Text(u8"確認"), boxes_.seen()[0].caption);
    EXPECT_EQ((UINT)MB_ICONWARNING, boxes_.seen()[0].icon);

    boxes_.Press(IDYES);
    Command(CMD_DELETE);
    EXPECT_EQ("<missing>", gt::ReadBytes(In("c.txt")));
    EXPECT_EQ((Names{"a", "b"}), gt::RowNames());
    EXPECT_EQ(1, Selected());
    EXPECT_EQ(gt::Text(u8"2 項目"), gt::StatusPart(2));

    Select(0);
    boxes_.Press(IDYES);
    Command(CMD_DELETE);
    EXPECT_EQ((Names{"b"}), gt::RowNames());
    EXPECT_EQ(0, Selected());
    boxes_.Press(IDYES);
    Command(CMD_DELETE);
    EXPECT_TRUE(gt::RowNames().empty());
    EXPECT_EQ(-1, Selected());
    Command(CMD_DELETE);   // nothing selected: no question
    EXPECT_EQ(4u, boxes_.seen().size());
}

// Deleted rows go to the recycle bin (Wine's is the desktop's trash
// folder), where they can be restored; a group with anything in it is asked
// about once, with No as the answer Enter gives.
TEST_F(ItemCommandsTest, DeleteMovesToTheRecycleBinAndANonEmptyGroupDefaultsToNo)
{
    const std::string tag = std::to_string(GetTickCount());
    const std::string empty = "Empty" + tag, full = "Full" + tag;
    Group(empty);
    Group(full);
    Item(full + "\\x.txt");
    Order(empty + "\r\n" + full + "\r\n");
    ASSERT_TRUE(Start(folder_));
    Select(1);
    boxes_.Press(IDNO);
    Command(CMD_DELETE);
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(gt::Text(u8"グループ「") + full +
                  gt::Text(u8"」と、その中のすべてのグループと項目をごみ箱に移動しますか？"),
              boxes_.seen()[0].text);
    EXPECT_EQ(IDNO, boxes_.seen()[0].defaultButton);
    EXPECT_EQ("k=v\r\n", gt::ReadBytes(In(full + "\\x.txt")));

    boxes_.Press(IDYES);
    Command(CMD_DELETE);
    EXPECT_FALSE(gt::PathIsFolder(In(full)));
    EXPECT_EQ((Names{empty}), gt::RowNames());
    boxes_.Press(IDYES);
    Command(CMD_DELETE);   // an empty group: Yes is the default
    EXPECT_EQ(IDYES, boxes_.seen()[2].defaultButton);
    EXPECT_FALSE(gt::PathIsFolder(In(empty)));
    EXPECT_EQ(0, boxes_.unexpected());

    // Both are in the trash, the item inside its group.
    char data[MAX_PATH] = "";
    ASSERT_TRUE(GetEnvironmentVariableA("XDG_DATA_HOME", data, sizeof data));
    std::string trash = std::string("Z:") + data + "/Trash/files/";
    std::replace(trash.begin(), trash.end(), '/', '\\');
    EXPECT_EQ("k=v\r\n", gt::ReadBytes(trash + full + "\\x.txt"));
    EXPECT_TRUE(gt::PathIsFolder(trash + empty));
    gt::RemoveTree(trash + full);
    gt::RemoveTree(trash + empty);
}

// A name of a character code page 932 lacks is the folder's own name: a
// delete takes that folder alone, never the groups a wildcard would match.
TEST_F(ItemCommandsTest, DeleteTakesOnlyTheChosenFolderOfAnyName)
{
    Group("xy grp");
    Item("xy grp\\a.txt");
    Group("zz grp");
    Item("zz grp\\b.txt");
    std::wstring emoji = Widen(folder_.c_str()) + L"\\\U0001F600 grp";
    ASSERT_TRUE(CreateDirectoryW(emoji.c_str(), NULL));
    ASSERT_TRUE(Start(folder_));
    Names rows = gt::RowNames();
    auto at = std::find(rows.begin(), rows.end(), u8"😀 grp");
    ASSERT_NE(rows.end(), at);
    Select((int)(at - rows.begin()));
    boxes_.Drive([](HWND box) {
        PostMessageA(box, WM_COMMAND, GetDlgItem(box, IDYES) ? IDYES : IDOK, 0);
    });
    Command(CMD_DELETE);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(emoji.c_str()));
    EXPECT_EQ("k=v\r\n", gt::ReadBytes(In("xy grp\\a.txt")));
    EXPECT_EQ("k=v\r\n", gt::ReadBytes(In("zz grp\\b.txt")));
    EXPECT_EQ((Names{"xy grp", "zz grp"}), gt::RowNames());
    EXPECT_EQ(0, boxes_.unexpected());
}

TEST_F(ItemCommandsTest, DuplicateCopiesFilesAndFolders)
{
    Item("memo (2).txt", "a=1\r\nb=2\r\n");
    Group("Sub");
    Item("Sub\\inner.txt", "x=y\r\n");
    Order("memo (2).txt\r\nSub\r\n");
    ASSERT_TRUE(Start(folder_));
    Select(0);
    Command(CMD_DUPLICATE);
    // Numbered like a copy of "memo", the bytes exactly the original's.
    EXPECT_EQ("a=1\r\nb=2\r\n", gt::ReadBytes(In("memo.txt")));
    EXPECT_EQ((Names{"memo (2)", "Sub", "memo"}), gt::RowNames());
    ItemRecord* copy = GetRowRecord(2);
    ASSERT_NE(nullptr, copy);
    ASSERT_EQ(2, copy->entryCount);
    EXPECT_STREQ("2", copy->entries[1].value);
    EXPECT_EQ(2, Selected());
    EXPECT_NE(nullptr, EditBox());

    Select(1);
    Command(CMD_DUPLICATE);
    EXPECT_EQ("x=y\r\n", gt::ReadBytes(In("Sub (1)\\inner.txt")));
    EXPECT_EQ("Sub (1)", gt::RowNames().back());
    EXPECT_EQ(0, boxes_.unexpected());
}

TEST_F(ItemCommandsTest, DuplicatingAVanishedItemSaysSo)
{
    Item("gone.txt");
    ASSERT_TRUE(Start(folder_));
    DeleteFileA(In("gone.txt").c_str());
    Select(0);
    boxes_.Press(IDOK);
    Command(CMD_DUPLICATE);
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(gt::Text(u8"存在しません。"), boxes_.seen()[0].text);
    EXPECT_EQ(1u, gt::RowNames().size());
    EXPECT_TRUE(gt::FolderNames(folder_).empty());
}

TEST_F(ItemCommandsTest, UpAndDownSwapRowsAndStopAtTheEnds)
{
    Item("a.txt");
    Group("bb");
    Item("c.txt");
    Order("a.txt\r\nbb\r\nc.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    ASSERT_EQ(0, g_app->orderChanged);
    Select(0);
    Command(CMD_MOVE_UP);
    Select(2);
    Command(CMD_MOVE_DOWN);
    EXPECT_EQ(0, g_app->orderChanged);
    EXPECT_EQ((Names{"a", "bb", "c"}), gt::RowNames());

    Command(CMD_MOVE_UP);
    EXPECT_EQ((Names{"a", "c", "bb"}), gt::RowNames());
    EXPECT_EQ(1, Selected());
    EXPECT_EQ(1, g_app->orderChanged);
    Command(CMD_MOVE_UP);
    EXPECT_EQ((Names{"c", "a", "bb"}), gt::RowNames());
    EXPECT_EQ(0, Selected());
    // The group keeps its picture when it moves.
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = 2;
    SendMessageA(g_app->listView, LVM_GETITEMA, 0, (LPARAM)&item);
    EXPECT_EQ(0, item.iImage);
    Command(CMD_SAVE_ORDER);
    EXPECT_EQ("c.txt\r\na.txt\r\nbb\r\n", gt::ReadBytes(In(ORDER_FILE_NAME)));
}

TEST_F(ItemCommandsTest, MoveToAnotherFolder)
{
    std::string other = gt::MakeTempFolder();
    Item("memo.txt", "k=mine\r\n");
    Item("clash.txt");
    Group("Sub");
    Order("memo.txt\r\nclash.txt\r\nSub\r\n");
    ASSERT_TRUE(gt::WriteBytes(other + "\\clash.txt", "k=theirs\r\n"));
    ASSERT_TRUE(Start(folder_));
    auto choose = [&](const std::string& path) {
        boxes_.Drive([path](HWND box) {
            SendMessageA(box, BFFM_SETSELECTIONA, TRUE, (LPARAM)path.c_str());
            gt::ClickButton(box, IDOK);
        });
    };
    Select(2);
    Command(CMD_MOVE_TO);   // a group is not moved: nothing is asked
    EXPECT_TRUE(boxes_.seen().empty());

    Select(0);
    choose(folder_);
    Command(CMD_MOVE_TO);   // the folder it is in already
    EXPECT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(3u, gt::RowNames().size());

    Select(1);
    choose(other);
    boxes_.Press(IDYES);
    boxes_.Press(IDOK);
    Command(CMD_MOVE_TO);
    ASSERT_EQ(4u, boxes_.seen().size());
    EXPECT_EQ((UINT)MB_ICONERROR, boxes_.seen()[3].icon);
    EXPECT_EQ("k=v\r\n", gt::ReadBytes(In("clash.txt")));
    EXPECT_EQ("k=theirs\r\n", gt::ReadBytes(other + "\\clash.txt"));
    EXPECT_EQ(3u, gt::RowNames().size());

    Select(0);
    choose(other);
    boxes_.Press(IDYES);
    Command(CMD_MOVE_TO);
    ASSERT_EQ(6u, boxes_.seen().size());
    EXPECT_EQ(gt::Text(u8"項目「memo」をフォルダ「") + other + gt::Text(u8"」に移動しますか？"),
              boxes_.seen()[5].text);
    EXPECT_EQ((UINT)MB_ICONQUESTION, boxes_.seen()[5].icon);
    EXPECT_EQ("k=mine\r\n", gt::ReadBytes(other + "\\memo.txt"));
    EXPECT_EQ((Names{"clash", "Sub"}), gt::RowNames());
    EXPECT_EQ(-1, Selected());
    gt::RemoveTree(other);
}

TEST_F(ItemCommandsTest, UpOneLevelSavesFirstAndSelectsTheFolderLeft)
{
    for (const char* name : {"ga", "gb", "gc"})
        Group(name);
    Item("gc\\one.txt");
    Item("gc\\two.txt");
    Order("ga\r\ngb\r\ngc\r\n");
    Item("gc\\" ORDER_FILE_NAME, "one.txt\r\ntwo.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    Command(CMD_PARENT);   // the root folder is the upper limit
    EXPECT_STREQ(folder_.c_str(), g_app->currentFolder);

    Select(2);
    SendMessageA(g_app->listView, WM_KEYDOWN, VK_RETURN, 0);
    gt::Pump();
    EXPECT_EQ((Names{"one", "two"}), gt::RowNames());
    Select(1);
    Command(CMD_MOVE_UP);
    SendMessageA(g_app->listView, WM_KEYDOWN, VK_BACK, 0);
    gt::Pump();
    EXPECT_EQ("two.txt\r\none.txt\r\n", gt::ReadBytes(In("gc\\" ORDER_FILE_NAME)));
    EXPECT_STREQ(folder_.c_str(), g_app->currentFolder);
    EXPECT_EQ((Names{"ga", "gb", "gc"}), gt::RowNames());
    EXPECT_EQ(2, Selected());
}

TEST_F(ItemCommandsTest, NewAndCopiedGroupsNeverTakeTheNameOfAFile)
{
    Group("Sub");
    Item("Sub\\inner.txt", "x=y\r\n");
    Item("Sub (1)", "k=precious\r\n");
    const std::string group = gt::Text(u8"新しいグループ");
    Item(group, "k=precious\r\n");
    Order(gt::Sjis(u8"Sub\r\nSub (1)\r\n新しいグループ\r\n"));
    ASSERT_TRUE(Start(folder_));
    Select(0);
    Command(CMD_DUPLICATE);
    Command(CMD_NEW_GROUP);
    EXPECT_EQ("k=precious\r\n", gt::ReadBytes(In("Sub (1)")));
    EXPECT_EQ("x=y\r\n", gt::ReadBytes(In("Sub (2)\\inner.txt")));
    EXPECT_TRUE(gt::PathIsFolder(In(group + " (1)")));
    EXPECT_EQ((Names{"Sub", "Sub (1)", group, "Sub (2)", group + " (1)"}), gt::RowNames());
}
