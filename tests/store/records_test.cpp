// Item records, the record chain and the list operations over them.
#include "store/records.h"

#include <cstring>
#include <string>
#include <vector>

#include "guitest.h"
#include "res/resource.h"

using gt::MainWindowTest;

class RecordsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Start(folder_));
    }

    ItemRecord* Add(const char* name, bool isItem, int position = -1)
    {
        std::string path = folder_ + "\\" + name;
        EXPECT_TRUE(AddItemRow(path.c_str(), isItem, 0, NULL, position));
        return g_app->chainTail;
    }

    int ChainLength()
    {
        int n = 0;
        for (ItemRecord* r = g_app->chainHead; r; r = r->next)
            ++n;
        return n;
    }

    static bool Enabled(int command) { return gt::ButtonState(command) & TBSTATE_ENABLED; }
};

TEST_F(RecordsTest, RowsCarryNameExtensionKindAndImage)
{
    Add("a.b.txt", true);
    Add("NOTES.TXT", true);
    Add("link.Url", true);
    Add("readme", true);
    Add("old.url", false);
    EXPECT_EQ((std::vector<std::string>{"a.b", "NOTES", "link", "readme", "old.url"}), gt::RowNames());
    const int kinds[] = {1, 1, 2, 3, 0};
    for (int i = 0; i < 5; ++i) {
        ItemRecord* r = GetRowRecord(i);
        ASSERT_TRUE(r);
        EXPECT_EQ(kinds[i], r->kind) << i;
        LVITEMA item;
        memset(&item, 0, sizeof item);
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        SendMessageA(g_app->listView, LVM_GETITEMA, 0, (LPARAM)&item);
        EXPECT_EQ(kinds[i], item.iImage) << i;
    }
    EXPECT_STREQ(".txt", GetRowRecord(0)->ext);
    EXPECT_STREQ(".Url", GetRowRecord(2)->ext);
    EXPECT_EQ(nullptr, GetRowRecord(3)->ext);
    EXPECT_EQ(nullptr, GetRowRecord(4)->ext);
    EXPECT_EQ(nullptr, GetRowRecord(5));
    EXPECT_EQ(nullptr, GetRowRecord(-1));
    // Insertion at a position, and the chain keeps creation order.
    ItemRecord* first = Add("first.txt", true, 0);
    EXPECT_EQ(first, GetRowRecord(0));
    EXPECT_EQ(first, g_app->chainTail);
    EXPECT_EQ(6, ChainLength());
}

TEST_F(RecordsTest, EntriesAreCopiedAndCapped)
{
    std::string keys[40], values[40];
    Entry entries[40];
    for (int i = 0; i < 40; ++i) {
        keys[i] = "k" + std::to_string(i);
        values[i] = "line1\nline2 " + std::to_string(i);
        entries[i].key = &keys[i][0];
        entries[i].value = &values[i][0];
    }
    ASSERT_TRUE(AddItemRow((folder_ + "\\m.txt").c_str(), TRUE, 40, entries, -1));
    ItemRecord* r = GetRowRecord(0);
    ASSERT_TRUE(r);
    EXPECT_EQ(32, r->entryCount);
    EXPECT_STREQ("k31", r->entries[31].key);
    EXPECT_NE(entries[0].key, r->entries[0].key) << "record owns its copy";
    keys[0][0] = 'X';
    EXPECT_STREQ("k0", r->entries[0].key);
    EXPECT_STREQ("line1\nline2 0", r->entries[0].value);

    ASSERT_TRUE(AddItemRow((folder_ + "\\g").c_str(), FALSE, 3, NULL, -1));
    EXPECT_EQ(0, GetRowRecord(1)->entryCount);
    FreeEntries(0, r->entries);
    FreeEntries(3, NULL);
    FreeEntries(2, r->entries);
    EXPECT_EQ(nullptr, r->entries[0].key);
    EXPECT_EQ(nullptr, r->entries[1].value);
    EXPECT_STREQ("k2", r->entries[2].key);
}

TEST_F(RecordsTest, FindRowByNameIsCaseSensitive)
{
    Add("memo.txt", true);
    Add("Memo2.txt", true);
    int row = 77;
    EXPECT_EQ(nullptr, FindRowByName("Memo", &row));
    EXPECT_EQ(77, row) << "not written on failure";
    EXPECT_EQ(GetRowRecord(0), FindRowByName("memo", &row));
    EXPECT_EQ(0, row);
    EXPECT_EQ(GetRowRecord(1), FindRowByName("Memo2", NULL));
    EXPECT_EQ(nullptr, FindRowByName(NULL, &row));
}

TEST_F(RecordsTest, SelectRowSelectsExactlyOne)
{
    SelectRow(-1);
    SelectRow(0);
    int row = 5;
    EXPECT_EQ(nullptr, GetSelectedRecord(&row, -1));
    EXPECT_EQ(-1, row);

    Add("a.txt", true);
    Add("b.txt", true);
    Add("c.txt", true);
    SelectRow(-1);
    EXPECT_EQ(GetRowRecord(2), GetSelectedRecord(&row, -1));
    EXPECT_EQ(2, row);
    SelectRow(0);
    EXPECT_EQ(1, (int)SendMessageA(g_app->listView, LVM_GETSELECTEDCOUNT, 0, 0));
    EXPECT_EQ(0, (int)SendMessageA(g_app->listView, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED));
    EXPECT_EQ(GetRowRecord(0), GetSelectedRecord(&row, -1));
    EXPECT_EQ(nullptr, GetSelectedRecord(&row, 0)) << "no selection after row 0";
    SelectRow(9);   // no such row: nothing changes
    EXPECT_EQ(GetRowRecord(0), GetSelectedRecord(&row, -1));
}

TEST_F(RecordsTest, RemovedRowKeepsItsRecordUntilTheNextClear)
{
    Add("a.txt", true);
    ItemRecord* middle = Add("b.txt", true);
    Add("c.txt", true);
    RemoveListRow(1);
    EXPECT_EQ(2, RowCount());
    EXPECT_EQ(3, ChainLength());
    bool inChain = false;
    for (ItemRecord* r = g_app->chainHead; r; r = r->next)
        inChain |= r == middle;
    EXPECT_TRUE(inChain);
    EXPECT_STREQ("b", middle->name) << "still readable";

    g_app->orderChanged = 1;
    ClearItemRows();
    EXPECT_EQ(0, RowCount());
    EXPECT_EQ(nullptr, g_app->chainHead);
    EXPECT_EQ(nullptr, g_app->chainTail);
    EXPECT_EQ(0, g_app->orderChanged);
    ClearItemRows();   // an empty chain clears again without harm
    Add("d.txt", true);
    EXPECT_EQ(1, ChainLength());
}

// The list view holds no rows of its own: the selection must still stay
// on its record when rows come and go above it, and typing finds rows.
TEST_F(RecordsTest, SelectionFollowsItsRecordAndTypingFindsRows)
{
    for (const char* name : {"apple.txt", "Banana.txt", "cherry.txt", "banjo"})
        Add(name, strchr(name, '.') != nullptr);
    SelectRow(2);
    ItemRecord* cherry = GetRowRecord(2);
    Add("first.txt", true, 0);
    Add("middle.txt", true, 2);
    int row = -1;
    EXPECT_EQ(cherry, GetSelectedRecord(&row, -1));
    EXPECT_EQ(4, row);
    EXPECT_EQ(4, (int)SendMessageA(g_app->listView, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED));
    RemoveListRow(0);
    RemoveListRow(5);   // no such row
    EXPECT_EQ(cherry, GetSelectedRecord(&row, -1));
    EXPECT_EQ(3, row);
    EXPECT_EQ(5, RowCount());
    RemoveListRow(3);
    EXPECT_EQ(nullptr, GetSelectedRecord(&row, -1));
    EXPECT_EQ((std::vector<std::string>{"apple", "middle", "Banana", "banjo"}), gt::RowNames());

    LVFINDINFOA find = {};
    find.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
    find.psz = "BAN";
    EXPECT_EQ(2, (int)SendMessageA(g_app->listView, LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&find));
    EXPECT_EQ(3, (int)SendMessageA(g_app->listView, LVM_FINDITEMA, 3, (LPARAM)&find));
    find.psz = "Ap";
    EXPECT_EQ(0, (int)SendMessageA(g_app->listView, LVM_FINDITEMA, 2, (LPARAM)&find));
    find.flags = LVFI_STRING | LVFI_PARTIAL;
    EXPECT_EQ(-1, (int)SendMessageA(g_app->listView, LVM_FINDITEMA, 2, (LPARAM)&find));
    find.flags = LVFI_STRING;
    find.psz = "banana";
    EXPECT_EQ(2, (int)SendMessageA(g_app->listView, LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&find));
    find.psz = "ban";
    EXPECT_EQ(-1, (int)SendMessageA(g_app->listView, LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&find));
}

// Off the focused row, a wrong note of where the selection went is not
// believed.
TEST_F(RecordsTest, SelectionAwayFromTheFocusIsFound)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        Add(name, true);
    SelectRow(2);
    LVITEMA focus = {};
    focus.stateMask = focus.state = LVIS_FOCUSED;
    SendMessageA(g_app->listView, LVM_SETITEMSTATE, 0, (LPARAM)&focus);
    NoteSelectedRow(1);
    EXPECT_EQ(GetRowRecord(2), GetSelectedRecord(nullptr, -1));
    RemoveListRow(2);
    EXPECT_EQ(-1, SelectedRow());
}

TEST_F(RecordsTest, SetRowRecordReattaches)
{
    ItemRecord* a = Add("a.txt", true);
    ItemRecord* b = Add("b.url", true);
    SetRowRecord(b, 0);
    EXPECT_EQ(b, GetRowRecord(0));
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.mask = LVIF_IMAGE;
    item.iItem = 0;
    SendMessageA(g_app->listView, LVM_GETITEMA, 0, (LPARAM)&item);
    EXPECT_EQ(2, item.iImage);
    SetRowRecord(a, 0);
    EXPECT_EQ(a, GetRowRecord(0));
}

TEST_F(RecordsTest, ToolbarFollowsTheSelection)
{
    Add("group", false);
    Add("only.txt", true);
    Add("last.url", true);

    UpdateCommandStates();   // nothing selected, in the root folder
    for (int c : {1035, 1009, 1013, 1031, 1033, 1007, 1021, 1023})
        EXPECT_EQ(0u, gt::ButtonState(c)) << c;
    EXPECT_TRUE(Enabled(1001));
    EXPECT_TRUE(Enabled(1069));

    SelectRow(0);   // a group, first row
    UpdateCommandStates();
    EXPECT_TRUE(Enabled(1009));
    EXPECT_TRUE(Enabled(1013));
    EXPECT_FALSE(Enabled(1031));
    EXPECT_FALSE(Enabled(1033));
    EXPECT_FALSE(Enabled(1007));
    EXPECT_FALSE(Enabled(1021));
    EXPECT_TRUE(Enabled(1023));

    SelectRow(1);   // an item in the middle
    UpdateCommandStates();
    for (int c : {1009, 1013, 1031, 1033, 1007, 1021, 1023})
        EXPECT_TRUE(Enabled(c)) << c;

    SelectRow(-1);   // the last row
    UpdateCommandStates();
    EXPECT_TRUE(Enabled(1021));
    EXPECT_FALSE(Enabled(1023));

    // The root folder is compared without regard to case.
    CopyText(g_app->rootFolder, kPathCap, "C:\\Items");
    CopyText(g_app->currentFolder, kPathCap, "c:\\items");
    UpdateCommandStates();
    EXPECT_FALSE(Enabled(1035));
    CopyText(g_app->currentFolder, kPathCap, "C:\\Items\\Sub");
    UpdateCommandStates();
    EXPECT_TRUE(Enabled(1035));
}

TEST_F(RecordsTest, OneRowIsBothFirstAndLast)
{
    Add("solo.txt", true);
    SelectRow(0);
    UpdateCommandStates();
    EXPECT_FALSE(Enabled(1021));
    EXPECT_FALSE(Enabled(1023));
    EXPECT_TRUE(Enabled(1009));
}

TEST_F(RecordsTest, StatusBarShowsCountAndFolderName)
{
    Add("a.txt", true);
    Add("b.txt", true);
    Add("c.txt", true);
    ShowItemCount();
    EXPECT_EQ(gt::Text(u8"3 項目"), gt::StatusPart(2));
    // 表 ends in 0x5C: the name is the whole character, not what follows it.
    CopyText(g_app->currentFolder, kPathCap, ("C:\\Data\\" + gt::Text(u8"表")).c_str());
    ShowFolderName();
    EXPECT_EQ(gt::Text(u8"表"), gt::StatusPart(0));
    CopyText(g_app->currentFolder, kPathCap, "C:\\old.box");
    ShowFolderName();
    EXPECT_EQ("old.box", gt::StatusPart(0));
    CopyText(g_app->currentFolder, kPathCap, "C:\\");
    ShowFolderName();
    EXPECT_EQ("", gt::StatusPart(0));
}
