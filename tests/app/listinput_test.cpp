// Working in the list itself: keys, opening groups, renaming in place,
// the right-click menus.
#include <string>
#include <vector>

#include "guitest.h"
#include "res/resource.h"
#include "clip/paste.h"
#include "app/listinput.h"

using gt::MainWindowTest;
typedef std::vector<std::string> Names;

class ListInputTest : public MainWindowTest {
protected:
    void Key(WORD key)
    {
        SendMessageA(g_app->listView, WM_KEYDOWN, key, 0);
        gt::Pump();
    }
    // The end of an in-place edit of row with text (null: cancelled).
    void EndEdit(int row, const char* text)
    {
        std::wstring wide = text ? Widen(text) : std::wstring();
        NMLVDISPINFOW info = {};
        info.hdr.hwndFrom = g_app->listView;
        info.hdr.code = LVN_ENDLABELEDITW;
        info.item.iItem = row;
        info.item.lParam = (LPARAM)GetRowRecord(row);
        info.item.pszText = text ? &wide[0] : NULL;
        SendMessageW(g_hMainWnd, WM_NOTIFY, 0, (LPARAM)&info);
        gt::Pump();
    }
};

TEST_F(ListInputTest, EnterOpensAGroupAndBackspaceComesBack)
{
    Group("Sub");
    Item("Sub\\inner.txt");
    Item("top.txt");
    Order("Sub\r\ntop.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    Key(VK_BACK);   // in the root folder: nothing
    EXPECT_EQ((Names{"Sub", "top"}), gt::RowNames());
    Key(VK_RETURN);
    EXPECT_EQ(In("Sub"), g_app->currentFolder);
    EXPECT_EQ((Names{"inner"}), gt::RowNames());
    EXPECT_EQ("Sub", gt::StatusPart(0));
    Key(VK_BACK);
    EXPECT_STREQ(folder_.c_str(), g_app->currentFolder);

    // A double-click on a group opens it as Enter does.
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = g_app->listView;
    click.hdr.code = NM_DBLCLK;
    SendMessageA(g_hMainWnd, WM_NOTIFY, 0, (LPARAM)&click);
    EXPECT_EQ(In("Sub"), g_app->currentFolder);
}

TEST_F(ListInputTest, AVanishedGroupReportsAndLosesItsRow)
{
    Group("Gone");
    Item("stay.txt");
    Order("Gone\r\nstay.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    RemoveDirectoryA(In("Gone").c_str());
    Select(0);
    boxes_.Press(IDOK);
    Key(VK_RETURN);
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(gt::SystemText(ERROR_PATH_NOT_FOUND), boxes_.seen()[0].text);
    EXPECT_EQ((Names{"stay"}), gt::RowNames());
    EXPECT_EQ(gt::Text(u8"1 項目"), gt::StatusPart(2));
    EXPECT_STREQ(folder_.c_str(), g_app->currentFolder);
}

TEST_F(ListInputTest, DeleteKeyAsksThroughTheCommand)
{
    Item("a.txt");
    ASSERT_TRUE(Start(folder_));
    boxes_.Press(IDNO);
    Key(VK_DELETE);
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(gt::Text(u8"「a」をごみ箱に移動しますか？"), boxes_.seen()[0].text);
}

TEST_F(ListInputTest, ArrowKeysKeepTheToolbarInStep)
{
    Item("a.txt");
    Item("b.txt");
    Order("a.txt\r\nb.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    Select(0);
    SetFocus(g_app->listView);
    Key(VK_DOWN);
    int row = -1;
    GetSelectedRecord(&row, -1);
    ASSERT_EQ(1, row);
    EXPECT_EQ(TBSTATE_ENABLED, gt::ButtonState(CMD_MOVE_UP) & TBSTATE_ENABLED);
    EXPECT_EQ(0u, gt::ButtonState(CMD_MOVE_DOWN) & TBSTATE_ENABLED);
}

TEST_F(ListInputTest, RenameInPlaceKeepsTheExtension)
{
    Item("memo.txt", "k=mine\r\n");
    ASSERT_TRUE(Start(folder_));
    g_app->orderChanged = 0;
    Select(0);
    Command(CMD_RENAME);
    HWND edit = (HWND)SendMessageA(g_app->listView, LVM_GETEDITCONTROL, 0, 0);
    ASSERT_NE(nullptr, edit);
    gt::SetText(edit, "Memo 2");
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    gt::Pump();
    EXPECT_EQ("k=mine\r\n", gt::ReadBytes(In("Memo 2.txt")));
    EXPECT_EQ((Names{"Memo 2"}), gt::RowNames());
    EXPECT_EQ(1, g_app->orderChanged);

    g_app->orderChanged = 0;
    EndEdit(0, "MEMO 2");   // the same name in other case
    EndEdit(0, NULL);
    EndEdit(0, "");
    EXPECT_EQ((Names{"Memo 2"}), gt::RowNames());
    EXPECT_EQ((Names{"Memo 2.txt"}), gt::FolderNames(folder_));
    EXPECT_EQ(0, g_app->orderChanged);
}

// Real key presses (SendInput) through the program's message loop: the
// rename box, not the main window's accelerators, takes them.
TEST_F(ListInputTest, KeysInTheRenameBoxEditTheName)
{
    Item("memo.txt");
    ASSERT_TRUE(Start(folder_));
    Select(0);
    Command(CMD_RENAME);
    HWND edit = (HWND)SendMessageA(g_app->listView, LVM_GETEDITCONTROL, 0, 0);
    ASSERT_NE(nullptr, edit);
    SetForegroundWindow(g_hMainWnd);
    SetFocus(edit);
    gt::SetText(edit, "abc");
    SendMessageA(edit, EM_SETSEL, 3, 3);
    auto press = [](WORD key, bool control = false) {
        gt::Press(key, control ? std::vector<WORD>{VK_CONTROL} : std::vector<WORD>{});
        gt::Pump();
    };
    DWORD from = 9, to = 9;
    press('A', true);
    SendMessageA(edit, EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
    EXPECT_TRUE(from == 0 && to == 3);   // all of "abc" selected
    press('C', true);
    for (WORD key : {VK_END, VK_BACK, VK_HOME, VK_DELETE})
        press(key);
    EXPECT_EQ("b", gt::WindowText(edit));
    press('V', true);
    press('A', true);
    press('X', true);
    EXPECT_EQ("", gt::WindowText(edit));
    press('V', true);
    char* copied = GetClipboardText(g_hMainWnd, NULL);
    EXPECT_STREQ("abcb", copied);
    EXPECT_EQ("abcb", gt::WindowText(edit));
    free(copied);
    EXPECT_EQ((Names{"memo.txt"}), gt::FolderNames(folder_));   // no item pasted, no dialog
    EXPECT_TRUE(boxes_.seen().empty());
    press(VK_RETURN);
    EXPECT_EQ((Names{"abcb.txt"}), gt::FolderNames(folder_));
}

TEST_F(ListInputTest, RenamingAGroupMovesItsContents)
{
    Group("Old");
    Item("Old\\x.txt");
    ASSERT_TRUE(Start(folder_));
    std::string name = gt::Text(u8"表ポ");   // trail bytes 0x5C and 0x7C in code page 932
    EndEdit(0, name.c_str());
    EXPECT_EQ("k=v\r\n", gt::ReadBytes(In(name + "\\x.txt")));
    EXPECT_EQ((Names{name}), gt::RowNames());
    EXPECT_EQ(0, boxes_.unexpected());
}

TEST_F(ListInputTest, RefusedAndFailedRenamesKeepTheOldNameAndTheTypedText)
{
    Group("Sub");
    Item("memo.txt");
    Item("taken.txt", "k=other\r\n");
    Order("memo.txt\r\ntaken.txt\r\nSub\r\n");
    ASSERT_TRUE(Start(folder_));
    // After each box the rename box opens again on the row, with the text
    // as typed; Esc then gives up.
    std::string longName(kPathUnits - folder_.size(), 'n');   // the path would not fit
    for (std::string bad : {"..\\out", "Sub/x", "a:b", "what?", "a|b", "taken", longName.c_str()}) {
        boxes_.Press(IDOK);
        EndEdit(0, bad.c_str());
        HWND edit = (HWND)SendMessageA(g_app->listView, LVM_GETEDITCONTROL, 0, 0);
        ASSERT_NE(nullptr, edit) << bad;
        EXPECT_EQ(bad, gt::WindowText(edit));
        PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        gt::Pump();
        EXPECT_EQ(nullptr, (HWND)SendMessageA(g_app->listView, LVM_GETEDITCONTROL, 0, 0));
    }
    ASSERT_EQ(7u, boxes_.seen().size());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(gt::Text(u8"不正なファイル名です。\n名前には次の文字は使えません:\n\\ / : * ? \" < > |"),
                  boxes_.seen()[i].text);
    EXPECT_EQ((UINT)MB_ICONERROR, boxes_.seen()[5].icon);
    EXPECT_EQ("k=other\r\n", gt::ReadBytes(In("taken.txt")));
    EXPECT_EQ("k=v\r\n", gt::ReadBytes(In("memo.txt")));
    EXPECT_EQ((Names{"memo", "taken", "Sub"}), gt::RowNames());
    EXPECT_TRUE(gt::FolderNames(In("Sub")).empty());
    EXPECT_EQ(0, boxes_.unexpected());
}

TEST_F(ListInputTest, RightClickShowsTheRowOrTheListMenu)
{
    Item("a.txt");
    ASSERT_TRUE(Start(folder_));
    gt::MenuSpy spy;
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = g_app->listView;
    click.hdr.code = NM_RCLICK;
    Select(0);
    SendMessageA(g_hMainWnd, WM_NOTIFY, 0, (LPARAM)&click);
    gt::Pump();
    ASSERT_NE(nullptr, spy.menu);
    EXPECT_EQ(0u, spy.State(CMD_RENAME) & MF_GRAYED);
    EXPECT_EQ((UINT)-1, spy.State(CMD_NEW_GROUP));   // not in the row menu

    SelectNone();
    spy.menu = NULL;
    SendMessageA(g_hMainWnd, WM_NOTIFY, 0, (LPARAM)&click);
    gt::Pump();
    ASSERT_NE(nullptr, spy.menu);
    EXPECT_NE((UINT)-1, spy.State(CMD_NEW_GROUP));
    EXPECT_EQ((UINT)-1, spy.State(CMD_RENAME));
    EXPECT_EQ((UINT)MF_GRAYED, spy.State(CMD_PARENT) & MF_GRAYED);   // the root folder
    EXPECT_TRUE(spy.commands.empty());
}

// Menus opened from the keyboard show under the selected row, never at the
// pointer; a double-click's entry menu shows at the pointer.
TEST_F(ListInputTest, KeyboardMenusOpenUnderTheRow)
{
    Item("a.txt");
    Item("b.txt", "one=1\r\ntwo=2\r\n");
    Order("a.txt\r\nb.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    SetCursorPos(700, 600);
    gt::MenuSpy spy;
    auto shown = [&] { return std::to_string(spy.menuRect.left) + "," + std::to_string(spy.menuRect.top); };
    auto screen = [](int x, int y, HWND from) {
        POINT p = {x, y};
        ClientToScreen(from, &p);
        return std::to_string(p.x) + "," + std::to_string(p.y);
    };
    RECT row = {LVIR_LABEL, 0, 0, 0};
    SendMessageA(g_app->listView, LVM_GETITEMRECT, 1, (LPARAM)&row);
    const std::string underRow = screen(row.left, row.bottom, g_app->listView);

    BYTE keys[256] = {};
    keys[VK_SHIFT] = 0x80;   // Shift+F10
    SetKeyboardState(keys);
    Select(1);
    SendMessageA(g_app->listView, WM_SYSKEYDOWN, VK_F10, 0);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    gt::Pump();
    EXPECT_EQ(underRow, shown());
    EXPECT_EQ(0u, spy.State(CMD_RENAME) & MF_GRAYED);
    spy.menuRect = RECT{};   // the menu key, pressed and let go: one menu
    PostMessageA(g_app->listView, WM_KEYDOWN, VK_APPS, 0);
    PostMessageA(g_app->listView, WM_KEYUP, VK_APPS, 0xC0000001);
    gt::Pump();
    EXPECT_EQ(underRow, shown());
    EXPECT_EQ(2, spy.shown);

    SelectNone();   // the list's own menu, at its top left
    SendMessageA(g_hMainWnd, WM_CONTEXTMENU, (WPARAM)g_app->listView, -1);
    gt::Pump();
    EXPECT_EQ(screen(0, 0, g_app->listView), shown());
    EXPECT_NE((UINT)-1, spy.State(CMD_NEW_GROUP));

    Select(1);   // the entry menu: under the row for Enter, at the pointer for a double-click
    Key(VK_RETURN);
    EXPECT_EQ(underRow, shown());
    NMITEMACTIVATE click = {{g_app->listView, 0, (UINT)NM_DBLCLK}};
    SendMessageA(g_hMainWnd, WM_NOTIFY, 0, (LPARAM)&click);
    gt::Pump();
    EXPECT_EQ("700,600", shown());
    EXPECT_TRUE(spy.commands.empty());
}
