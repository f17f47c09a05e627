// Greying at WM_INITMENU, accelerators gated by it, and the status-bar
// help while a menu is open.
#include <string>
#include <vector>

#include "store/pathtext.h"
#include "guitest.h"
#include "res/resource.h"

using gt::MainWindowTest;

class MenusTest : public MainWindowTest {
protected:
    void OpenMenuBar() { SendMessageA(g_hMainWnd, WM_INITMENU, (WPARAM)GetMenu(g_hMainWnd), 0); }
    bool Grayed(int id) { return (gt::MenuState(id) & MF_GRAYED) != 0; }
    std::vector<int> GrayedOf(std::initializer_list<int> ids)
    {
        std::vector<int> grayed;
        for (int id : ids)
            if (Grayed(id))
                grayed.push_back(id);
        return grayed;
    }
    // A key as the message loop sees it, with Ctrl or Shift held.
    void Key(HWND target, WORD key, int modifier)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[modifier] = 0x80;
        SetKeyboardState(keys);
        PostMessageA(target, WM_KEYDOWN, key, 1);
        gt::Pump();
        keys[modifier] = 0;
        SetKeyboardState(keys);
    }
    std::string HelpFor(UINT id, UINT flags, HMENU menu)
    {
        SendMessageA(g_hMainWnd, WM_MENUSELECT, MAKEWPARAM(id, flags), (LPARAM)menu);
        return gt::StatusPart(0);
    }
    bool Simple() { return SendMessageA(g_app->statusBar, SB_ISSIMPLE, 0, 0) != 0; }
};

static const std::initializer_list<int> kRowCommands = {
    CMD_RENAME, CMD_EDIT, CMD_DELETE, CMD_ATTRIBUTES, CMD_DUPLICATE, CMD_MOVE_UP,
    CMD_MOVE_DOWN, CMD_MOVE_TO, CMD_COPY, CMD_NOTIFY, CMD_EDITOR};

TEST_F(MenusTest, GreyingFollowsTheSelection)
{
    Group("g1");
    Item("i1.txt");
    Group("g2");
    Order("g1\r\ni1.txt\r\ng2\r\n");
    ASSERT_TRUE(Start(folder_));
    g_app->editorPath[0] = '\0';
    SelectNone();
    OpenMenuBar();
    EXPECT_EQ(std::vector<int>(kRowCommands), GrayedOf(kRowCommands));
    EXPECT_EQ(std::vector<int>{CMD_PARENT},
              GrayedOf({CMD_NEW_ITEM, CMD_NEW_GROUP, CMD_EXIT, CMD_PARENT, CMD_FOLDER,
                        CMD_SAVE_ORDER, CMD_EXPLORER, CMD_TOOLBAR, CMD_STATUSBAR, CMD_CLIPINFO,
                        CMD_REFRESH, CMD_OPTIONS, CMD_HELP, CMD_HOMEPAGE, CMD_ABOUT}));

    Select(0);   // a group, first row
    OpenMenuBar();
    EXPECT_EQ((std::vector<int>{CMD_EDIT, CMD_MOVE_UP, CMD_MOVE_TO, CMD_COPY, CMD_NOTIFY,
                                CMD_EDITOR}),
              GrayedOf(kRowCommands));
    Select(2);   // a group, last row
    OpenMenuBar();
    EXPECT_EQ((std::vector<int>{CMD_EDIT, CMD_MOVE_DOWN, CMD_MOVE_TO, CMD_COPY, CMD_NOTIFY,
                                CMD_EDITOR}),
              GrayedOf(kRowCommands));

    Select(1);   // an item, no editor
    OpenMenuBar();
    EXPECT_EQ(std::vector<int>{CMD_EDITOR}, GrayedOf(kRowCommands));
    CopyText(g_app->editorPath, kPathCap, "notepad.exe");
    OpenMenuBar();
    EXPECT_TRUE(GrayedOf(kRowCommands).empty());

    // Below the root folder the way up opens.
    Select(0);
    SendMessageA(g_app->listView, WM_KEYDOWN, VK_RETURN, 0);
    gt::Pump();
    OpenMenuBar();
    EXPECT_FALSE(Grayed(CMD_PARENT));
}

TEST_F(MenusTest, GreyedCommandsGetNoAccelerator)
{
    Item("a.txt");
    Item("b.txt");
    Order("a.txt\r\nb.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    gt::MenuSpy spy;
    if (OpenClipboard(g_hMainWnd)) {
        EmptyClipboard();
        CloseClipboard();
    }
    Select(0);
    Key(g_app->listView, 'V', VK_CONTROL);   // no text on the clipboard
    Key(g_app->listView, 'P', VK_CONTROL);   // up from the first row
    Key(g_app->listView, VK_BACK, VK_SHIFT);   // up from the root folder
    EXPECT_TRUE(spy.commands.empty());
    ShowWindow(g_hMainWnd, SW_MINIMIZE);   // no menu-bar command while minimised
    Key(g_app->listView, 'D', VK_CONTROL);
    EXPECT_TRUE(spy.commands.empty());
    ShowWindow(g_hMainWnd, SW_RESTORE);
    Key(g_app->listView, 'D', VK_CONTROL);
    EXPECT_EQ(std::vector<int>{CMD_MOVE_DOWN}, spy.commands);
    EXPECT_EQ((std::vector<std::string>{"b", "a"}), gt::RowNames());

    // Keys typed into the rename box are the box's own.
    spy.commands.clear();
    Command(CMD_RENAME);
    HWND edit = (HWND)SendMessageA(g_app->listView, LVM_GETEDITCONTROL, 0, 0);
    ASSERT_NE(nullptr, edit);
    spy.commands.clear();
    Key(edit, 'C', VK_CONTROL);
    EXPECT_TRUE(spy.commands.empty());
}

TEST_F(MenusTest, StatusHelpWhileAMenuIsOpen)
{
    Item("multi.txt", "first=one value\r\nsecond=\r\n");
    ASSERT_TRUE(Start(folder_));
    Select(0);
    std::string count = gt::StatusPart(2);
    HMENU bar = GetMenu(g_hMainWnd);
    EXPECT_EQ(gt::Text(u8"グループの新規作成"), HelpFor(CMD_NEW_GROUP, MF_STRING, bar));
    EXPECT_TRUE(Simple());
    EXPECT_EQ("", HelpFor(0, MF_POPUP, bar));   // "新規作成(&N)"
    EXPECT_EQ("", HelpFor(0, MF_SEPARATOR, bar));
    EXPECT_EQ(gt::Text(u8"作業中のウィンドウを閉じる"),
              HelpFor(SC_CLOSE, MF_STRING | MF_SYSMENU, GetSystemMenu(g_hMainWnd, FALSE)));
    EXPECT_EQ("one value", HelpFor(CMD_ENTRY_FIRST, MF_OWNERDRAW, bar));
    EXPECT_EQ("", HelpFor(CMD_ENTRY_FIRST + 1, MF_OWNERDRAW, bar));   // an empty value
    EXPECT_EQ("", HelpFor(CMD_ENTRY_LAST, MF_OWNERDRAW, bar));        // no such entry
    EXPECT_EQ("", HelpFor(4242, MF_STRING, bar));                     // no string

    SendMessageA(g_hMainWnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(Simple());
    EXPECT_EQ(count, gt::StatusPart(2));
    EXPECT_EQ(LastComponent(folder_.c_str()), gt::StatusPart(0));
}
