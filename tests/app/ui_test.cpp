// Error boxes, window placement, help, the About box and folder browsing.
#include "app/ui.h"

#include "guitest.h"
#include "res/resource.h"

using gt::MainWindowTest;

class UiTest : public MainWindowTest {};

using gt::SystemText;

TEST_F(UiTest, ErrorBoxChoosesItsMessage)
{
    ASSERT_TRUE(Start(folder_));
    boxes_.Press(IDOK);
    boxes_.Press(IDOK);
    boxes_.Press(IDOK);
    boxes_.Press(IDOK);
    EXPECT_EQ(0, ShowErrorBox(IDS_MISSING, NULL));
    EXPECT_EQ(0, ShowErrorBox(12345, NULL));
    EXPECT_EQ(0, ShowErrorBox(-1, gt::Text(u8"本文が勝つ").c_str()));
    EXPECT_EQ(0, ShowErrorBox(IDS_MISSING, "text wins"));
    const auto& seen = boxes_.seen();
    ASSERT_EQ(4u, seen.size());
    EXPECT_EQ(gt::Text(u8"存在しません。"), seen[0].text);
    EXPECT_EQ("Unknown Error. (12345)", seen[1].text);
    EXPECT_EQ(gt::Text(u8"本文が勝つ"), seen[2].text);
    EXPECT_EQ("text wins", seen[3].text);
    for (const gt::SeenBox& box : seen) {
        EXPECT_EQ((UINT)MB_ICONERROR, box.icon);
        EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
        EXPECT_TRUE(box.ownerless);
        EXPECT_TRUE(box.mainDisabled) << "task modal";
        EXPECT_FALSE(box.caption.empty()) << "the system's default caption";
    }
}

TEST_F(UiTest, ErrorBoxCutsLongTextsAndShowsSystemErrors)
{
    ASSERT_TRUE(Start(folder_));
    boxes_.Press(IDOK);
    boxes_.Press(IDOK);
    std::string longText(2000, 'L');
    ShowErrorBox(-1, longText.c_str());
    EXPECT_EQ(0, ShowSystemError(ERROR_PATH_NOT_FOUND));
    ASSERT_EQ(2u, boxes_.seen().size());
    EXPECT_EQ(std::string(519, 'L'), boxes_.seen()[0].text);
    EXPECT_EQ(SystemText(ERROR_PATH_NOT_FOUND), boxes_.seen()[1].text);
    EXPECT_FALSE(boxes_.seen()[1].text.empty());
}

// The help viewer as ShowHelp sees it: each call recorded, answered with
// the window the test chooses (none: the viewer showed nothing).
struct HelpCall {
    std::string file;
    UINT command;
    DWORD_PTR data;
};
static std::vector<HelpCall> s_helpCalls;
static HWND s_helpWindow;

static HWND WINAPI FakeHtmlHelp(HWND, LPCSTR file, UINT command, DWORD_PTR data)
{
    s_helpCalls.push_back({file ? file : "", command, data});
    return s_helpWindow;
}

class HelpTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        saved_ = g_htmlHelp;
        g_htmlHelp = FakeHtmlHelp;
        s_helpCalls.clear();
        s_helpWindow = NULL;
    }
    void TearDown() override
    {
        g_htmlHelp = saved_;
        UiTest::TearDown();
    }
    HtmlHelpProc saved_ = NULL;
};

TEST_F(HelpTest, FileNotFoundOnlyWhenMissingOtherwiseTheFileIsNamed)
{
    ASSERT_TRUE(Start(folder_));
    char path[kPathCap];
    ASSERT_TRUE(HelpFilePath(path, sizeof path));
    EXPECT_EQ(gt::ProgramFolder() + "\\ZORIVEN.CHM", path);
    DeleteFileA(path);
    boxes_.Press(IDOK);
    Command(CMD_HELP);
    ASSERT_TRUE(gt::WriteBytes(path, "ITSF"));
    boxes_.Press(IDOK);
    Command(CMD_HELP);   // there, but the viewer shows nothing
    s_helpWindow = g_hMainWnd;
    Command(CMD_HELP);   // shown: nothing to report
    DeleteFileA(path);
    ASSERT_EQ(3u, s_helpCalls.size());
    EXPECT_EQ(path, s_helpCalls[0].file);
    ASSERT_EQ(2u, boxes_.seen().size());
    EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND), boxes_.seen()[0].text);
    const std::string& named = boxes_.seen()[1].text;
    EXPECT_EQ(0u, named.find(gt::Text(u8"ヘルプ ファイル「") + path + gt::Text(u8"」を表示できませんでした。")))
        << named;
    EXPECT_EQ((UINT)MB_ICONERROR, boxes_.seen()[1].icon);
}

TEST_F(HelpTest, F1AndEachDialogsHelpButtonOpenTheirTopics)
{
    ASSERT_TRUE(Start(folder_));
    s_helpWindow = g_hMainWnd;
    auto helpThenCancel = [&](HWND d) {
        gt::Send(d, IDHELP);
        gt::ClickButton(d, IDCANCEL);
    };
    PostMessageA(g_app->listView, WM_KEYDOWN, VK_F1, 0);
    gt::Pump();
    boxes_.Drive([&](HWND d) {   // the item edit dialog, then its entry dialog
        gt::Send(d, IDHELP);
        boxes_.Drive(helpThenCancel);
        gt::Send(d, IDC_EDIT_NEW);
        gt::ClickButton(d, IDCANCEL);
    });
    Command(CMD_NEW_ITEM);
    boxes_.Drive(helpThenCancel);
    Command(CMD_FOLDER);
    boxes_.Drive(helpThenCancel);
    Command(CMD_OPTIONS);
    std::vector<std::pair<UINT, DWORD_PTR>> asked;
    for (const HelpCall& call : s_helpCalls)
        asked.emplace_back(call.command, call.data);
    const UINT display = 0, context = 0x0F;   // HH_DISPLAY_TOPIC, HH_HELP_CONTEXT
    EXPECT_EQ((std::vector<std::pair<UINT, DWORD_PTR>>{
                  {display, 0}, {context, 1011}, {context, 1013}, {context, 1021}, {context, 1031}}),
              asked);
    EXPECT_EQ(0, boxes_.unexpected());
}

TEST_F(UiTest, PlaceWindowCentresAndKeepsOnScreen)
{
    ASSERT_TRUE(Start(folder_));
    HWND ref = CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 100, 400, 300, NULL, NULL, NULL, NULL);
    HWND win = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, NULL, NULL, NULL, NULL);
    HDC dc = GetDC(win);
    int screenW = GetDeviceCaps(dc, HORZRES), screenH = GetDeviceCaps(dc, VERTRES);
    ReleaseDC(win, dc);
    auto at = [&](int wantX, int wantY) {
        RECT rc;
        GetWindowRect(win, &rc);
        EXPECT_EQ(wantX, rc.left);
        EXPECT_EQ(wantY, rc.top);
        EXPECT_EQ(200, rc.right - rc.left) << "size kept";
    };
    PlaceWindow(win, ref, 0, 0);
    at(200, 200);
    PlaceWindow(win, ref, 50, 70);
    at(150, 170);
    SetWindowPos(ref, NULL, screenW - 50, screenH - 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PlaceWindow(win, ref, 0, 0);
    at(screenW - 200, screenH - 100);
    SetWindowPos(ref, NULL, -390, -290, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PlaceWindow(win, ref, 0, 0);
    at(0, 0);
    PlaceWindow(win, NULL, 0, 0);   // the desktop
    at((screenW - 200) / 2, (screenH - 100) / 2);
    DestroyWindow(win);
    DestroyWindow(ref);
}

TEST_F(UiTest, AnimateShowShowsAndHides)
{
    ASSERT_TRUE(Start(folder_));
    HWND win = CreateWindowExA(0, "STATIC", "", WS_POPUP, 10, 10, 100, 50, NULL, NULL, NULL, NULL);
    AnimateShow(win, TRUE);
    gt::Pump();
    EXPECT_TRUE(IsWindowVisible(win));
    AnimateShow(win, FALSE);
    gt::Pump();
    EXPECT_FALSE(IsWindowVisible(win));
    DestroyWindow(win);
}

TEST_F(UiTest, AboutBoxShowsNameVersionInBold)
{
    ASSERT_TRUE(Start(folder_));
    std::string name, version, home, licence;
    LONG weight = 0;
    bool centred = false, okLast = true;
    boxes_.Drive([&](HWND box) {
        name = gt::ItemText(box, IDC_ABOUT_NAME);
        version = gt::ItemText(box, IDC_ABOUT_VERSION);
        home = gt::ItemText(box, IDC_ABOUT_HOMEPAGE);
        licence = gt::ItemText(box, IDC_ABOUT_LICENSE);
        // OK sits at the bottom right, below every line of text.
        RECT ok = gt::ChildRectIn(box, IDOK), client;
        GetClientRect(box, &client);
        for (int id = IDC_ABOUT_NAME; id <= IDC_ABOUT_HOMEPAGE; ++id)
            okLast = okLast && gt::ChildRectIn(box, id).bottom <= ok.top;
        okLast = okLast && client.right - ok.right < 16 && client.bottom - ok.bottom < 16;
        LOGFONTA font;
        HFONT bold = (HFONT)SendDlgItemMessageA(box, IDC_ABOUT_NAME, WM_GETFONT, 0, 0);
        if (bold && GetObjectA(bold, sizeof font, &font))
            weight = font.lfWeight;
        RECT main, about;
        GetWindowRect(g_hMainWnd, &main);
        GetWindowRect(box, &about);
        int dx = (main.left + main.right) / 2 - (about.left + about.right) / 2;
        centred = dx >= -1 && dx <= 1;
        gt::ClickButton(box, IDOK);
    });
    Command(CMD_ABOUT);
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(gt::Text(u8"バージョン情報"), boxes_.seen()[0].caption);
    EXPECT_EQ(g_hMainWnd, boxes_.seen()[0].owner);
    EXPECT_EQ("ZORIVEN", name);
    EXPECT_EQ(gt::Text(u8"バージョン 0.23"), version);
    EXPECT_EQ("http://www.vexoria.example/", home);
    EXPECT_NE(std::string::npos, licence.find("MIT"));
    EXPECT_TRUE(okLast);
    EXPECT_EQ(700, weight);
    EXPECT_TRUE(centred);
    EXPECT_TRUE(IsWindow(g_hMainWnd));
}

TEST_F(UiTest, BrowseForFolderCancelAndChoose)
{
    ASSERT_TRUE(Start(folder_));
    char result[kPathCap] = "stale";
    EXPECT_FALSE(BrowseForFolder(g_hMainWnd, folder_.c_str(), NULL, 0));
    boxes_.Press(IDCANCEL);
    EXPECT_FALSE(BrowseForFolder(g_hMainWnd, folder_.c_str(), result, IDS_CONFIRM));
    EXPECT_STREQ("", result);
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(gt::Text(u8"確認"), boxes_.seen()[0].caption);

    POINT corner = {0, 0};
    boxes_.Drive([&](HWND box) {
        RECT rc;
        GetWindowRect(box, &rc);
        corner.x = rc.left;
        corner.y = rc.top;
        gt::ClickButton(box, IDOK);
    });
    EXPECT_TRUE(BrowseForFolder(g_hMainWnd, folder_.c_str(), result, 0));
    EXPECT_TRUE(lstrcmpiA(folder_.c_str(), result) == 0) << result;
    RECT main;
    GetWindowRect(g_hMainWnd, &main);
    EXPECT_EQ(main.left + 50, corner.x);
    EXPECT_EQ(main.top + 70, corner.y);
}

TEST_F(UiTest, FavoritesFolderAndRefusal)
{
    ASSERT_TRUE(Start(folder_));
    char favorites[kPathCap] = "x";
    EXPECT_FALSE(GetFavoritesFolder(g_hMainWnd, NULL));
    if (GetFavoritesFolder(g_hMainWnd, favorites))
        EXPECT_NE('\0', favorites[0]);
    else
        EXPECT_STREQ("", favorites);

    HWND dialog = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, NULL,
                                  NULL, NULL, NULL);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, dialog,
                                (HMENU)101, NULL, NULL);
    SetForegroundWindow(dialog);
    EXPECT_EQ(0, RefuseField(dialog, 101));
    EXPECT_EQ(edit, GetFocus());
    DestroyWindow(dialog);
}
