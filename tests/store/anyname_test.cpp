// Names made outside the program (a sync engine, a Mac, any Unicode
// program): each row is its own file or folder, whatever its script.
#include <algorithm>

#include "guitest.h"
#include "app/wide.h"
#include "res/resource.h"
#include "store/folderload.h"
#include "store/records.h"

namespace {

using Names = std::vector<std::string>;

class AnyNameTest : public gt::MainWindowTest {
protected:
    int RowOf(const std::string& name)
    {
        Names rows = gt::RowNames();
        auto at = std::find(rows.begin(), rows.end(), name);
        return at == rows.end() ? -1 : (int)(at - rows.begin());
    }
    std::wstring CopyRow(const std::string& name)
    {
        int row = RowOf(name);
        if (row < 0)
            return L"<no row " + Widen(name.c_str()) + L">";
        Select(row);
        Command(CMD_COPY);
        return gt::ClipboardWide();
    }
};

}  // namespace

TEST_F(AnyNameTest, EveryNameIsItsOwnRow)
{
    Item(u8"café.txt", "\xEF\xBB\xBFk=accent \xC3\xA9\r\n");
    Item("cafe.txt", "k=plain\r\n");
    Item(u8"naïve.txt", "k=naive\r\n");
    Item(u8"한국어.txt", gt::Sjis(u8"k=表\r\n"));
    Group(u8"😀 grp");
    Item(u8"😀 grp\\in.txt", "k=inside\r\n");
    Group("xy grp");
    Item("xy grp\\a.txt");
    ASSERT_TRUE(Start(folder_));
    Names rows = gt::RowNames();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ((Names{"cafe", u8"café", u8"naïve", "xy grp", u8"한국어", u8"😀 grp"}), rows);
    EXPECT_EQ(L"accent é", CopyRow(u8"café"));
    EXPECT_EQ(L"plain", CopyRow("cafe"));
    EXPECT_EQ(L"表", CopyRow(u8"한국어"));

    // The filter finds a name by its own characters.
    gt::SetText(g_app->searchBox, u8"naï");
    gt::Pump();
    EXPECT_EQ((Names{u8"naïve"}), gt::RowNames());
    gt::SetText(g_app->searchBox, "");
    gt::Pump();

    // Renamed to and from such names, the file keeps its bytes.
    Select(RowOf(u8"café"));
    Command(CMD_RENAME);
    HWND edit = (HWND)SendMessageW(g_app->listView, LVM_GETEDITCONTROL, 0, 0);
    ASSERT_NE(nullptr, edit);
    gt::SetText(edit, u8"カフェ 😀");
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    gt::Pump();
    EXPECT_EQ("\xEF\xBB\xBFk=accent \xC3\xA9\r\n", gt::ReadBytes(In(u8"カフェ 😀.txt")));
    EXPECT_EQ("<missing>", gt::ReadBytes(In(u8"café.txt")));
    EXPECT_EQ("k=plain\r\n", gt::ReadBytes(In("cafe.txt")));
    EXPECT_EQ(L"accent é", CopyRow(u8"カフェ 😀"));

    // Entered and left, and deleted alone.
    Select(RowOf(u8"😀 grp"));
    SendMessageW(g_app->listView, WM_KEYDOWN, VK_RETURN, 0);
    gt::Pump();
    EXPECT_EQ(In(u8"😀 grp"), g_app->currentFolder);
    EXPECT_EQ((Names{"in"}), gt::RowNames());
    EXPECT_EQ(u8"😀 grp", gt::StatusPart(0));
    SendMessageW(g_app->listView, WM_KEYDOWN, VK_BACK, 0);
    gt::Pump();
    EXPECT_EQ(folder_, g_app->currentFolder);
    Select(RowOf(u8"한국어"));
    boxes_.Press(IDYES);
    Command(CMD_DELETE);
    EXPECT_EQ("<missing>", gt::ReadBytes(In(u8"한국어.txt")));
    EXPECT_EQ(5u, gt::RowNames().size());
    EXPECT_EQ("k=v\r\n", gt::ReadBytes(In("xy grp\\a.txt")));
    EXPECT_EQ(0, boxes_.unexpected());
}
