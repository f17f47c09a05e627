// Toolbar, status bar and list view: creation and layout.
#include "app/chrome.h"

#include "guitest.h"
#include "res/resource.h"

using gt::MainWindowTest;

class ChromeTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Start(folder_));
    }

    int ListClientWidth()
    {
        RECT rc;
        GetClientRect(g_app->listView, &rc);
        return rc.right;
    }

    void ExpectLayout(const char* when)
    {
        RECT client, list = gt::ChildRect(g_app->listView);
        GetClientRect(g_hMainWnd, &client);
        bool toolbar = gt::MenuState(CMD_TOOLBAR) & MF_CHECKED;
        bool status = gt::MenuState(CMD_STATUSBAR) & MF_CHECKED;
        RECT tb, sb;
        GetWindowRect(g_app->toolbar, &tb);
        GetWindowRect(g_app->statusBar, &sb);
        EXPECT_EQ(toolbar ? tb.bottom - tb.top : 0, list.top) << when;
        EXPECT_EQ(status ? client.bottom - (sb.bottom - sb.top) : client.bottom, list.bottom) << when;
        EXPECT_EQ(0, list.left) << when;
        EXPECT_EQ(client.right, list.right) << when;
        EXPECT_EQ(ListClientWidth(),
                  (int)SendMessageA(g_app->listView, LVM_GETCOLUMNWIDTH, 0, 0))
            << when;
        EXPECT_EQ(toolbar, IsWindowVisible(g_app->toolbar) != FALSE) << when;
        EXPECT_EQ(status, IsWindowVisible(g_app->statusBar) != FALSE) << when;
    }
};

TEST_F(ChromeTest, ToolbarButtonsInOrder)
{
    struct Want {
        int image, command;
    };
    const Want want[] = {{0, 1031}, {2, 1033}, {0, 0},    {3, 1001}, {4, 1007},
                         {5, 1009}, {1, 1013}, {6, 1069}, {0, 0},    {7, 1021},
                         {8, 1023}, {0, 0},    {9, 1035}, {0, 0},    {0, 0},
                         {10, CMD_FIND_ALL}};
    ASSERT_EQ(16, (int)SendMessageA(g_app->toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < 16; ++i) {
        TBBUTTON button;
        memset(&button, 0, sizeof button);
        ASSERT_TRUE(SendMessageA(g_app->toolbar, TB_GETBUTTON, i, (LPARAM)&button));
        if (want[i].command == 0) {
            EXPECT_TRUE(button.fsStyle & TBSTYLE_SEP) << i;
            continue;
        }
        EXPECT_EQ(want[i].command, button.idCommand) << i;
        EXPECT_EQ(want[i].image, button.iBitmap) << i;
        EXPECT_EQ(TBSTYLE_BUTTON, button.fsStyle) << i;
    }
    EXPECT_TRUE(GetWindowLongA(g_app->toolbar, GWL_STYLE) & TBSTYLE_TOOLTIPS);
    EXPECT_EQ(IDC_TOOLBAR, GetDlgCtrlID(g_app->toolbar));
    EXPECT_EQ(IDC_STATUSBAR, GetDlgCtrlID(g_app->statusBar));
}

// A disabled button is its own picture in greys: the same shape (mask),
// no colour left.
TEST_F(ChromeTest, DisabledButtonsAreTheirPicturesGreyed)
{
    HIMAGELIST normal = (HIMAGELIST)SendMessageA(g_app->toolbar, TB_GETIMAGELIST, 0, 0);
    HIMAGELIST grey = (HIMAGELIST)SendMessageA(g_app->toolbar, TB_GETDISABLEDIMAGELIST, 0, 0);
    ASSERT_EQ(11, ImageList_GetImageCount(grey));
    HDC dc = CreateCompatibleDC(NULL);
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), 32, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0}};
    COLORREF* px = nullptr;   // 0x00RRGGBB, two pictures side by side
    HGDIOBJ old = SelectObject(dc, CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void**)&px, NULL, 0));
    int coloured = 0, shapeDiffers = 0, normalColoured = 0;
    for (int image = 0; image < 11; ++image) {
        PatBlt(dc, 0, 0, 32, 16, WHITENESS);
        ImageList_Draw(normal, image, dc, 0, 0, ILD_NORMAL);
        ImageList_Draw(grey, image, dc, 16, 0, ILD_NORMAL);
        for (int i = 0; i < 16 * 32; i += (i % 32 == 15) ? 17 : 1) {
            COLORREF a = px[i] & 0xFFFFFF, b = px[i + 16] & 0xFFFFFF;
            coloured += (b & 0xFF) != (b >> 16) || (b & 0xFF) != ((b >> 8) & 0xFF);
            normalColoured += (a & 0xFF) != (a >> 16);
            shapeDiffers += (a == 0xFFFFFF) != (b == 0xFFFFFF);
        }
    }
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    EXPECT_EQ(0, coloured);
    EXPECT_EQ(0, shapeDiffers);
    EXPECT_GT(normalColoured, 100);
    SelectNone();
    EXPECT_EQ(0u, gt::ButtonState(CMD_COPY) & (TBSTATE_ENABLED | TBSTATE_INDETERMINATE));
}

TEST_F(ChromeTest, FlatButtonsFollowTheLibraryVersion)
{
    // Whatever the manifest binds (6.x on Windows; Wine's copy says 5.81)
    // is new enough for flat buttons.
    DWORD version = GetCommonControlsVersion("COMCTL32.DLL");
    EXPECT_GE(version, 0x40047u);
    bool flat = SendMessageA(g_app->toolbar, TB_GETSTYLE, 0, 0) & TBSTYLE_FLAT;
    EXPECT_EQ(version >= 0x40047, flat);
    EXPECT_EQ(0u, GetCommonControlsVersion("NO-SUCH-LIBRARY.DLL"));
    EXPECT_EQ(0u, GetCommonControlsVersion("KERNEL32.DLL"));   // no DllGetVersion
}

TEST_F(ChromeTest, ListViewStylesImagesAndColumn)
{
    LONG style = GetWindowLongA(g_app->listView, GWL_STYLE);
    const LONG want = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS |
                      LVS_AUTOARRANGE | LVS_EDITLABELS | WS_BORDER;
    EXPECT_EQ(want, style & want);
    EXPECT_TRUE(GetWindowLongA(g_app->listView, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(g_app->imageList,
              (HIMAGELIST)SendMessageA(g_app->listView, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    EXPECT_EQ(4, ImageList_GetImageCount(g_app->imageList));
    EXPECT_TRUE(g_app->textIcon);
    EXPECT_TRUE(g_app->urlIcon);

    wchar_t heading[64] = L"";
    LVCOLUMNW column;
    memset(&column, 0, sizeof column);
    column.mask = LVCF_TEXT;
    column.pszText = heading;
    column.cchTextMax = sizeof heading / sizeof heading[0];
    ASSERT_TRUE(SendMessageW(g_app->listView, LVM_GETCOLUMNW, 0, (LPARAM)&column));
    EXPECT_EQ(gt::Text(u8"項目"), Narrow(heading));
}

TEST_F(ChromeTest, StatusPartsAreMeasuredOnce)
{
    HDC dc = GetDC(g_app->statusBar);
    SIZE size;
    const std::wstring widest = Widen(gt::Text(u8"999,999 / 999,999 項目").c_str());
    GetTextExtentPointW(dc, widest.c_str(), (int)widest.size(), &size);
    ReleaseDC(g_app->statusBar, dc);
    for (int width : {640, 300, 900}) {
        SetWindowPos(g_hMainWnd, NULL, 0, 0, width, 400, SWP_NOMOVE | SWP_NOZORDER);
        gt::Pump();
        RECT client;
        GetClientRect(g_hMainWnd, &client);
        int edges[4] = {0, 0, 0, 0};
        ASSERT_EQ(3, (int)SendMessageA(g_app->statusBar, SB_GETPARTS, 4, (LPARAM)edges));
        EXPECT_EQ(client.right - size.cx, edges[0]);
        EXPECT_EQ(client.right - size.cx, edges[1]);
        EXPECT_EQ(client.right, edges[2]);
        EXPECT_TRUE(HIWORD(SendMessageA(g_app->statusBar, SB_GETTEXTLENGTHA, 1, 0)) & SBT_NOBORDERS);
    }
    // Texts survive a new layout.
    EXPECT_EQ(gt::Text(u8"0 項目"), gt::StatusPart(2));
}

TEST_F(ChromeTest, ColumnFillsTheListAfterResizesAndToggles)
{
    ExpectLayout("start");
    for (int width : {500, 820, 333}) {
        SetWindowPos(g_hMainWnd, NULL, 0, 0, width, 300 + width / 4, SWP_NOMOVE | SWP_NOZORDER);
        gt::Pump();
        ExpectLayout("resize");
    }
    RECT before = gt::ChildRect(g_app->listView);

    Command(CMD_TOOLBAR);
    EXPECT_FALSE(gt::MenuState(CMD_TOOLBAR) & MF_CHECKED);
    EXPECT_EQ(0, gt::ChildRect(g_app->listView).top);
    ExpectLayout("toolbar hidden");
    Command(CMD_STATUSBAR);
    ExpectLayout("both hidden");
    SetWindowPos(g_hMainWnd, NULL, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    gt::Pump();
    ExpectLayout("resized while hidden");
    SetWindowPos(g_hMainWnd, NULL, 0, 0, 333, 383, SWP_NOMOVE | SWP_NOZORDER);
    Command(CMD_TOOLBAR);
    Command(CMD_STATUSBAR);
    ExpectLayout("both shown again");
    RECT after = gt::ChildRect(g_app->listView);
    EXPECT_TRUE(EqualRect(&before, &after));

    // Twice the status bar gives back the same layout.
    Command(CMD_STATUSBAR);
    Command(CMD_STATUSBAR);
    after = gt::ChildRect(g_app->listView);
    EXPECT_TRUE(EqualRect(&before, &after));
}

// A long list's vertical bar takes its width from the column and gives it
// back when it goes; a name wider than the list is cut, with no bar.
TEST_F(ChromeTest, ColumnLeavesRoomForTheVerticalScrollBar)
{
    Notes(200, 0);
    Command(CMD_REFRESH);
    AddItemRow(In(std::string(120, 'W') + ".txt").c_str(), TRUE, 0, NULL, 0);
    for (LONG bars : {WS_VSCROLL, 0L}) {
        gt::Pump();
        EXPECT_EQ(bars, GetWindowLongA(g_app->listView, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
        EXPECT_EQ(ListClientWidth(), (int)SendMessageA(g_app->listView, LVM_GETCOLUMNWIDTH, 0, 0));
        while (RowCount() > 3)
            RemoveListRow(RowCount() - 1);
    }
}
