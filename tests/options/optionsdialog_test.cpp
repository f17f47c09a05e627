// The options dialog, driven as a user would: each control reaching its
// byte or string, the refusals of OK, and Cancel changing nothing.
#include "guitest.h"

#include <commctrl.h>

#include <string.h>

#include "app/regkey.h"
#include "options/optionsdialog.h"
#include "res/resource.h"

namespace {

enum { kLoad = 0, kAction = 1, kDrop = 2 };

struct Pages {
    HWND page[3] = {NULL, NULL, NULL};
};

BOOL CALLBACK FindPage(HWND child, LPARAM lParam)
{
    char cls[16] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0)
        return TRUE;
    Pages* pages = (Pages*)lParam;
    if (GetDlgItem(child, IDC_LOAD_ADD) && GetDlgItem(child, IDC_LOAD_LIST))
        pages->page[kLoad] = child;
    else if (GetDlgItem(child, IDC_ACT_AUTO_TITLE))
        pages->page[kAction] = child;
    else if (GetDlgItem(child, IDC_DROP_FRONT))
        pages->page[kDrop] = child;
    return TRUE;
}

HWND PageOf(HWND dialog, int index)
{
    Pages pages;
    EnumChildWindows(dialog, FindPage, (LPARAM)&pages);
    return pages.page[index];
}

int ShownPage(HWND dialog)   // the one visible page, or -1
{
    int shown = -1;
    for (int i = 0; i < 3; ++i)
        if (IsWindowVisible(PageOf(dialog, i)))
            shown = shown == -1 ? i : -2;
    return shown;
}

void Tab(HWND dialog, int index)   // a click on the tab
{
    HWND tabs = GetDlgItem(dialog, IDC_OPT_TABS);
    TabCtrl_SetCurSel(tabs, index);
    NMHDR hdr = {tabs, IDC_OPT_TABS, (UINT)TCN_SELCHANGE};
    SendMessageA(dialog, WM_NOTIFY, IDC_OPT_TABS, (LPARAM)&hdr);
}

bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
bool Enabled(HWND page, int id) { return IsWindowEnabled(GetDlgItem(page, id)) != FALSE; }

void Press(HWND page, int id)
{
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(page, id));
}

void Toggle(HWND page, int id)
{
    CheckDlgButton(page, id, Checked(page, id) ? BST_UNCHECKED : BST_CHECKED);
    Press(page, id);
}

void Choose(HWND page, int line)   // a line of the drop combo box
{
    SendDlgItemMessageA(page, IDC_DROP_ACTION, CB_SETCURSEL, line, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_DROP_ACTION, CBN_SELCHANGE),
                 (LPARAM)GetDlgItem(page, IDC_DROP_ACTION));
}

void PickLine(HWND page, int line)
{
    SendDlgItemMessageA(page, IDC_LOAD_LIST, LB_SETCURSEL, line, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_LOAD_LIST, LBN_SELCHANGE),
                 (LPARAM)GetDlgItem(page, IDC_LOAD_LIST));
}

std::string Lines(HWND page)
{
    std::string all;
    char line[1024];
    int count = (int)SendDlgItemMessageA(page, IDC_LOAD_LIST, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        SendDlgItemMessageA(page, IDC_LOAD_LIST, LB_GETTEXT, i, (LPARAM)line);
        all += std::string(line) + ";";
    }
    return all;
}

std::string Text(HWND page, int id)
{
    char text[1100] = "";
    GetDlgItemTextA(page, id, text, sizeof text);
    return text;
}

void AddExt(HWND page, const char* text)
{
    SetDlgItemTextA(page, IDC_LOAD_EXT, text);
    Press(page, IDC_LOAD_ADD);
}

// What the registry holds, "<none>" for a missing value.
std::string Stored(const char* name)
{
    RegKey key(REG_BASE_PATH, "ZORIVEN", true);
    BYTE bytes[2048];
    DWORD size = sizeof bytes;
    if (!key.key || RegQueryValueExA(key.key, name, NULL, NULL, bytes, &size) != ERROR_SUCCESS)
        return "<none>";
    return std::string((const char*)bytes, size);
}

std::string Block() { return std::string((const char*)g_app->options, kOptionCount); }

class OptionsDialogTest : public gt::MainWindowTest {
protected:
    void StoreBlock(const unsigned char* block)
    {
        RegKey key(REG_BASE_PATH, "ZORIVEN", false);
        key.WriteBinary("OptNum", block, kOptionCount);
    }
};

TEST_F(OptionsDialogTest, ExtensionsAddedRefusedDeletedAndSaved)
{
    ASSERT_TRUE(Start(folder_));
    CopyText(g_app->excludedExt, sizeof g_app->excludedExt, "exe;;txt");
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kLoad);
        EXPECT_EQ(kLoad, ShownPage(d));
        EXPECT_EQ("exe;txt;", Lines(p));
        EXPECT_FALSE(Enabled(p, IDC_LOAD_DELETE));
        AddExt(p, ".TXT");   // the same extension in capitals
        EXPECT_EQ("exe;txt;", Lines(p));
        EXPECT_EQ(".TXT", Text(p, IDC_LOAD_EXT));
        EXPECT_EQ(GetDlgItem(p, IDC_LOAD_EXT), GetFocus());
        AddExt(p, ".log");
        AddExt(p, "");
        EXPECT_EQ("exe;txt;log;", Lines(p));
        EXPECT_EQ("", Text(p, IDC_LOAD_EXT));
        AddExt(p, ".");   // a dot alone is nothing to add
        EXPECT_EQ(".", Text(p, IDC_LOAD_EXT));
        EXPECT_EQ("exe;txt;log;", Lines(p));
        PickLine(p, 0);
        ASSERT_TRUE(Enabled(p, IDC_LOAD_DELETE));
        Press(p, IDC_LOAD_DELETE);
        EXPECT_EQ("txt;log;", Lines(p));
        EXPECT_FALSE(Enabled(p, IDC_LOAD_DELETE));
        Press(d, IDOK);
    });
    Command(CMD_OPTIONS);
    EXPECT_STREQ("txt;log;", g_app->excludedExt);
    EXPECT_EQ(std::string("txt;log;") + '\0', Stored("Ext"));
}

TEST_F(OptionsDialogTest, EmptyListRefusedWhileCheckedAcceptedWhenNot)
{
    ASSERT_TRUE(Start(folder_));
    CopyText(g_app->excludedExt, sizeof g_app->excludedExt, "exe;");
    bool refusedOpen = false;
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kLoad);
        PickLine(p, 0);
        Press(p, IDC_LOAD_DELETE);
        Press(p, IDC_LOAD_DELETE);   // nothing selected: refused, focus on the list
        EXPECT_EQ(GetDlgItem(p, IDC_LOAD_LIST), GetFocus());
        Tab(d, kDrop);
        Press(d, IDOK);
        refusedOpen = IsWindowVisible(d) && ShownPage(d) == kLoad;
        EXPECT_EQ(GetDlgItem(p, IDC_LOAD_EXT), GetFocus());
        EXPECT_EQ(kLoad, TabCtrl_GetCurSel(GetDlgItem(d, IDC_OPT_TABS)));
        Toggle(p, IDC_LOAD_EXCLUDE);
        EXPECT_FALSE(Enabled(p, IDC_LOAD_LIST));
        EXPECT_FALSE(Enabled(p, IDC_LOAD_EXT));
        EXPECT_FALSE(Enabled(p, IDC_LOAD_ADD));
        Press(d, IDOK);
    });
    Command(CMD_OPTIONS);
    EXPECT_TRUE(refusedOpen);
    EXPECT_STREQ("", g_app->excludedExt);
    EXPECT_EQ(0, g_app->options[ExcludeExt]);
    EXPECT_EQ(std::string(1, '\0'), Stored("Ext"));
}

TEST_F(OptionsDialogTest, EmptyPathsRefusedOnTheBehaviourPage)
{
    ASSERT_TRUE(Start(folder_));
    g_app->browserPath[0] = '\0';
    std::string proposed;
    int editorRefused = -1, browserRefused = -1;
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kAction);
        proposed = Text(p, IDC_ACT_BROWSER);
        EXPECT_FALSE(Enabled(p, IDC_ACT_BROWSER));
        EXPECT_FALSE(Enabled(p, IDC_ACT_BROWSER_PICK));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(p, IDC_ACT_TELL_BROWSER)));
        SetDlgItemTextA(p, IDC_ACT_EDITOR, "");
        Press(d, IDOK);
        editorRefused = ShownPage(d);
        EXPECT_EQ(GetDlgItem(p, IDC_ACT_EDITOR), GetFocus());
        SetDlgItemTextA(p, IDC_ACT_EDITOR, "ed.exe");
        Toggle(p, IDC_ACT_BROWSER_NEW);
        EXPECT_TRUE(Enabled(p, IDC_ACT_BROWSER));
        SetDlgItemTextA(p, IDC_ACT_BROWSER, "");
        Tab(d, kLoad);
        Press(d, IDOK);
        browserRefused = ShownPage(d);
        EXPECT_EQ(GetDlgItem(p, IDC_ACT_BROWSER), GetFocus());
        Press(d, IDCANCEL);
    });
    Command(CMD_OPTIONS);
    EXPECT_EQ(kAction, editorRefused);
    EXPECT_EQ(kAction, browserRefused);
    // The proposal is Internet Explorer on the Windows drive, when there.
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string ie = std::string(windows, 3) + "Program Files\\Internet Explorer\\IEXPLORE.EXE";
    EXPECT_EQ(GetFileAttributesA(ie.c_str()) != INVALID_FILE_ATTRIBUTES ? ie : "", proposed);
}

TEST_F(OptionsDialogTest, EachCheckBoxReachesExactlyItsByte)
{
    unsigned char block[kOptionCount] = {};
    block[ExcludeExt] = 1;
    block[2] = 0x5A;   // reserved bytes pass through
    block[12] = 7;
    block[63] = 0xFF;
    StoreBlock(block);
    ASSERT_TRUE(Start(folder_));
    CopyText(g_app->browserPath, sizeof g_app->browserPath, "b.exe");
    const struct {
        int page, id, byte;
    } boxes[] = {
        {kLoad, IDC_LOAD_HIDDEN, ExcludeHidden},     {kLoad, IDC_LOAD_NOORDER, NoOrderFile},
        {kLoad, IDC_LOAD_EXCLUDE, ExcludeExt},       {kAction, IDC_ACT_BROWSER_NEW, BrowserNew},
        {kAction, IDC_ACT_URL_ONLY, NotifyUrlOnly},  {kAction, IDC_ACT_MENU_SINGLE, MenuForSingle},
        {kAction, IDC_ACT_BACK, BackAfterCopy},      {kAction, IDC_ACT_AUTO_TITLE, AutoTitle},
        {kDrop, IDC_DROP_INSERT, InsertAfterDrop},   {kDrop, IDC_DROP_FRONT, FrontAfterDrop},
    };
    for (const auto& box : boxes) {
        std::string before = Block();
        boxes_.Drive([&](HWND d) {
            Toggle(PageOf(d, box.page), box.id);
            Press(d, IDOK);
        });
        Command(CMD_OPTIONS);
        std::string expected = before;
        expected[box.byte] = before[box.byte] ? 0 : 1;
        EXPECT_EQ(expected, Block()) << "box " << box.id << " of page " << box.page;
        EXPECT_EQ(Block(), Stored("OptNum"));
    }
    EXPECT_EQ(0x5A, g_app->options[2]);
    EXPECT_EQ(7, g_app->options[12]);
    EXPECT_EQ(0xFF, g_app->options[63]);
    // Reopened, every box shows its byte.
    boxes_.Drive([&](HWND d) {
        for (const auto& box : boxes)
            EXPECT_EQ(g_app->options[box.byte] != 0, Checked(PageOf(d, box.page), box.id))
                << box.id;
        Press(d, IDCANCEL);
    });
    Command(CMD_OPTIONS);
}

TEST_F(OptionsDialogTest, DropActionShownAndStoredAsShown)
{
    unsigned char block[kOptionCount] = {};
    block[DropAction] = 7;   // no line of the list
    block[InsertAfterDrop] = 1;
    StoreBlock(block);
    ASSERT_TRUE(Start(folder_));
    std::string shown;
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kDrop);
        EXPECT_EQ(0, SendDlgItemMessageA(p, IDC_DROP_ACTION, CB_GETCURSEL, 0, 0));
        shown = Text(p, IDC_DROP_ACTION);
        EXPECT_TRUE(Enabled(p, IDC_DROP_INSERT));
        Press(d, IDOK);
    });
    Command(CMD_OPTIONS);
    EXPECT_EQ(gt::Sjis(u8"新規"), shown);
    EXPECT_EQ(DropNew, g_app->options[DropAction]);

    // "追加" disables the insert box but keeps its mark; OK stores both.
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kDrop);
        Choose(p, DropAppend);
        EXPECT_FALSE(Enabled(p, IDC_DROP_INSERT));
        EXPECT_TRUE(Checked(p, IDC_DROP_INSERT));
        Press(d, IDOK);
    });
    Command(CMD_OPTIONS);
    EXPECT_EQ(DropAppend, g_app->options[DropAction]);
    EXPECT_EQ(1, g_app->options[InsertAfterDrop]);
}

TEST_F(OptionsDialogTest, CancelAfterChangesChangesNothing)
{
    ASSERT_TRUE(Start(folder_));
    SendMessageA(g_hMainWnd, WM_ENDSESSION, TRUE, 0);   // a saved state to compare with
    std::string block = Block(), ext = g_app->excludedExt, editor = g_app->editorPath,
                browser = g_app->browserPath;
    std::string stored[4] = {Stored("OptNum"), Stored("Ext"), Stored("Edit"), Stored("Browser")};
    boxes_.Drive([&](HWND d) {
        HWND load = PageOf(d, kLoad);
        HWND action = PageOf(d, kAction);
        Toggle(load, IDC_LOAD_HIDDEN);
        AddExt(load, "zzz");
        SetDlgItemTextA(action, IDC_ACT_EDITOR, "other.exe");
        SetDlgItemTextA(action, IDC_ACT_BROWSER, "x.exe");
        Toggle(action, IDC_ACT_AUTO_TITLE);
        Choose(PageOf(d, kDrop), DropAsk);
        Press(d, IDCANCEL);
    });
    Command(CMD_OPTIONS);
    EXPECT_EQ(block, Block());
    EXPECT_EQ(ext, g_app->excludedExt);
    EXPECT_EQ(editor, g_app->editorPath);
    EXPECT_EQ(browser, g_app->browserPath);
    EXPECT_EQ(stored[0], Stored("OptNum"));
    EXPECT_EQ(stored[1], Stored("Ext"));
    EXPECT_EQ(stored[2], Stored("Edit"));
    EXPECT_EQ(stored[3], Stored("Browser"));
}

TEST_F(OptionsDialogTest, ExtensionsPastTheCapacityRefusedNotDropped)
{
    ASSERT_TRUE(Start(folder_));
    // 170 lines of six bytes with their ";": 1,020 of the 1,023 there is room for.
    std::string full;
    for (int i = 0; i < 170; ++i) {
        char piece[8];
        wsprintfA(piece, "e%04d;", i);
        full += piece;
    }
    ASSERT_EQ(1020u, full.size());
    CopyText(g_app->excludedExt, sizeof g_app->excludedExt, full.c_str());
    bool refusedOpen = false;
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kLoad);
        AddExt(p, "ab");   // 1,023 with its ";": still fits
        Press(d, IDOK);
        EXPECT_FALSE(IsWindowVisible(d));   // ended
    });
    Command(CMD_OPTIONS);
    EXPECT_EQ(full + "ab;", g_app->excludedExt);
    for (const auto& box : boxes_.seen())
        if (!box.text.empty())
            ADD_FAILURE() << box.caption << ": " << box.text;
    boxes_.Clear();

    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kLoad);
        AddExt(p, "c");
        Tab(d, kAction);
        boxes_.Press(IDOK);   // the message
        Press(d, IDOK);
        refusedOpen = IsWindowVisible(d) && ShownPage(d) == kLoad;
        PickLine(p, 171);
        Press(p, IDC_LOAD_DELETE);
        Press(d, IDOK);
    });
    Command(CMD_OPTIONS);
    EXPECT_TRUE(refusedOpen);
    ASSERT_EQ(2u, boxes_.seen().size());
    EXPECT_EQ(gt::Sjis(u8"除外する拡張子が多すぎます。\n合わせて1023文字に収まるまで減らしてください。"),
              boxes_.seen()[1].text);
    EXPECT_EQ(full + "ab;", g_app->excludedExt);
}

}  // namespace
