// Names made outside the program (a sync engine, a Mac, any Unicode
// program): each row is its own file or folder, whatever its script.
#include <shlobj.h>

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

    // Moved into a group of any name, and that group duplicated.
    std::wstring group = Widen(In(u8"😀 grp").c_str());
    boxes_.Drive([group](HWND box) {
        SendMessageW(box, BFFM_SETSELECTIONW, TRUE, (LPARAM)group.c_str());
        gt::ClickButton(box, IDOK);
    });
    boxes_.Press(IDYES);
    Select(RowOf(u8"naïve"));
    Command(CMD_MOVE_TO);
    EXPECT_EQ("k=naive\r\n", gt::ReadBytes(In(u8"😀 grp\\naïve.txt")));
    EXPECT_EQ(-1, RowOf(u8"naïve"));
    Select(RowOf(u8"😀 grp"));
    Command(CMD_DUPLICATE);
    EXPECT_EQ("k=inside\r\n", gt::ReadBytes(In(u8"😀 grp (1)\\in.txt")));
    EXPECT_EQ("k=naive\r\n", gt::ReadBytes(In(u8"😀 grp (1)\\naïve.txt")));
    if (HWND name = (HWND)SendMessageW(g_app->listView, LVM_GETEDITCONTROL, 0, 0))
        PostMessageW(name, WM_KEYDOWN, VK_ESCAPE, 0);
    gt::Pump();

    // The order of such rows is kept: its file is UTF-8 after the mark, and
    // read back it gives the arrangement on screen.
    Select(0);
    Command(CMD_MOVE_DOWN);
    Names arranged = gt::RowNames();
    Command(CMD_SAVE_ORDER);
    std::string order = gt::ReadBytes(In("ZORIVEN.ORD"));
    EXPECT_EQ(0u, order.find("\xEF\xBB\xBF"));
    EXPECT_NE(std::string::npos, order.find(u8"カフェ 😀.txt\r\n"));
    Command(CMD_REFRESH);
    EXPECT_EQ(arranged, gt::RowNames());
    EXPECT_EQ(0, boxes_.unexpected());
}
