// The options dialog, driven as a user would: each control reaching its
// byte or string, the refusals of OK, and Cancel changing nothing.
#include "guitest.h"

#include <commctrl.h>

#include "app/regkey.h"
#include "res/resource.h"

namespace {

enum { kLoad, kAction, kDrop, kHistory };

BOOL CALLBACK FindPage(HWND child, LPARAM pages)
{
    // Each page is known by a control only it holds.
    static const int kMarks[] = {IDC_LOAD_ADD, IDC_ACT_AUTO_TITLE, IDC_DROP_FRONT, IDC_HIST_EXCLUDE};
    char cls[16] = "";
    GetClassNameA(child, cls, sizeof cls);
    for (int i = 0; i < 4; ++i)   // the drop page's mark is on the others too
        if (std::string(cls) == "#32770" && GetDlgItem(child, kMarks[i]))
            return ((HWND*)pages)[i] = child, TRUE;
    return TRUE;
}

HWND PageOf(HWND dialog, int index)
{
    HWND pages[4] = {};
    EnumChildWindows(dialog, FindPage, (LPARAM)pages);
    return pages[index];
}

int ShownPage(HWND d)   // the one visible page of a dialog still open, or -1
{
    int shown = -1, count = 0;
    for (int i = 0; i < 4; ++i)
        if (IsWindowVisible(PageOf(d, i)))
            shown = i, ++count;
    return IsWindowVisible(d) && count == 1 ? shown : -1;
}

using gt::Enabled;
using gt::Send;
using gt::Toggle;
void Press(HWND page, int id) { Send(page, id); }
void Choose(HWND page, int line)   // a line of the drop combo box
{ SendDlgItemMessageA(page, IDC_DROP_ACTION, CB_SETCURSEL, line, 0), Send(page, IDC_DROP_ACTION, CBN_SELCHANGE); }
void PickLine(HWND page, int line)
{ SendDlgItemMessageA(page, IDC_LOAD_LIST, LB_SETCURSEL, line, 0), Send(page, IDC_LOAD_LIST, LBN_SELCHANGE); }
void Tab(HWND dialog, int index)
{
    HWND tabs = GetDlgItem(dialog, IDC_OPT_TABS);
    TabCtrl_SetCurSel(tabs, index);
    NMHDR hdr = {tabs, IDC_OPT_TABS, (UINT)TCN_SELCHANGE};
    SendMessageA(dialog, WM_NOTIFY, IDC_OPT_TABS, (LPARAM)&hdr);
}
std::string Text(HWND page, int id) { return gt::ItemText(page, id); }
void AddExt(HWND page, const char* text)
{ gt::SetItem(page, IDC_LOAD_EXT, text), Press(page, IDC_LOAD_ADD); }
std::string Lines(HWND page)
{
    std::string all;
    wchar_t line[1024];
    for (int i = 0; i < SendDlgItemMessageA(page, IDC_LOAD_LIST, LB_GETCOUNT, 0, 0); ++i) {
        SendDlgItemMessageW(page, IDC_LOAD_LIST, LB_GETTEXT, i, (LPARAM)line);
        all += Narrow(line) + ";";
    }
    return all;
}
bool Focused(HWND page, int id) { return GetFocus() == GetDlgItem(page, id); }

std::string Stored(const char* name)   // the registry's bytes, "<none>" when missing
{
    RegKey key(REG_BASE_PATH, "ZORIVEN", true);
    BYTE bytes[2048];
    DWORD size = sizeof bytes;
    if (!key.key || RegQueryValueExA(key.key, name, NULL, NULL, bytes, &size) != ERROR_SUCCESS)
        return "<none>";
    return std::string((const char*)bytes, size);
}
std::string Block() { return std::string((const char*)g_app->options, kOptionCount); }

using OptionsDialogTest = gt::MainWindowTest;

TEST_F(OptionsDialogTest, ExtensionsAddedRefusedDeletedAndSavedEmptyOnlyUnchecked)
{
    ASSERT_TRUE(Start(folder_));
    CopyText(g_app->excludedExt, sizeof g_app->excludedExt, "exe;;txt");
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kLoad);
        EXPECT_EQ(kLoad, ShownPage(d));
        EXPECT_EQ("exe;txt;", Lines(p));
        AddExt(p, ".TXT");   // the same extension in capitals: refused, kept
        EXPECT_TRUE(Focused(p, IDC_LOAD_EXT));
        EXPECT_EQ(".TXT", Text(p, IDC_LOAD_EXT));
        AddExt(p, ".log");
        EXPECT_EQ("", Text(p, IDC_LOAD_EXT));
        AddExt(p, ".");   // a dot alone is nothing to add
        EXPECT_EQ("exe;txt;log;", Lines(p));
        PickLine(p, 0);
        Press(p, IDC_LOAD_DELETE);
        EXPECT_EQ("txt;log;", Lines(p));
        Press(d, IDOK);
    });
    Command(CMD_OPTIONS);
    EXPECT_STREQ("txt;log;", g_app->excludedExt);
    EXPECT_EQ(std::string("txt;log;") + '\0', Stored("Ext"));

    // An empty list is refused while the box is checked, accepted when not.
    int refused = -1;
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kLoad);
        for (int i = 0; i < 3; ++i)   // the third finds nothing selected
            PickLine(p, 0), Press(p, IDC_LOAD_DELETE);
        Tab(d, kDrop);
        Press(d, IDOK);
        refused = ShownPage(d);
        EXPECT_TRUE(Focused(p, IDC_LOAD_EXT));
        Toggle(p, IDC_LOAD_EXCLUDE);
        EXPECT_FALSE(Enabled(p, IDC_LOAD_LIST) || Enabled(p, IDC_LOAD_EXT) ||
                     Enabled(p, IDC_LOAD_ADD));
        Press(d, IDOK);
    });
    Command(CMD_OPTIONS);
    EXPECT_EQ(kLoad, refused);
    EXPECT_EQ(0, g_app->options[ExcludeExt]);
    EXPECT_EQ(std::string(1, '\0'), Stored("Ext"));
}

// The browser box refusal, then Cancel after all those changes: nothing reaches
// the application state or the registry.
TEST_F(OptionsDialogTest, BrowserRefusedOnTheBehaviourPageCancelChangesNothing)
{
    ASSERT_TRUE(Start(folder_));
    SendMessageA(g_hMainWnd, WM_ENDSESSION, TRUE, 0);   // a saved state to compare with
    auto state = [] {
        return Block() + g_app->excludedExt + "|" + g_app->editorPath + "|" + g_app->browserPath +
               "|" + Stored("OptNum") + Stored("Ext") + Stored("Edit") + Stored("Browser");
    };
    std::string before = state();
    int browserRefused = -1;
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kAction);
        Toggle(PageOf(d, kLoad), IDC_LOAD_HIDDEN);
        AddExt(PageOf(d, kLoad), "zzz");
        Choose(PageOf(d, kDrop), DropAsk);
        EXPECT_FALSE(Enabled(PageOf(d, kDrop), IDC_DROP_INSERT));
        EXPECT_FALSE(Enabled(p, IDC_ACT_BROWSER) || Enabled(p, IDC_ACT_BROWSER_PICK));
        gt::SetItem(p, IDC_ACT_EDITOR, "ed.exe");
        Toggle(p, IDC_ACT_BROWSER_NEW);
        EXPECT_TRUE(Enabled(p, IDC_ACT_BROWSER));
        gt::SetItem(p, IDC_ACT_BROWSER, "");
        Tab(d, kLoad);
        Press(d, IDOK);
        browserRefused = ShownPage(d);
        EXPECT_TRUE(Focused(p, IDC_ACT_BROWSER));
        Press(d, IDCANCEL);
    });
    Command(CMD_OPTIONS);
    EXPECT_EQ(kAction, browserRefused);
    EXPECT_EQ(before, state());
}

// Ctrl+Tab and Ctrl+PgDn go forward, with Shift or PgUp back, round the
// pages, wherever the focus is in the dialog.
TEST_F(OptionsDialogTest, CtrlTabAndCtrlPageKeysTurnThePages)
{
    ASSERT_TRUE(Start(folder_));
    std::vector<int> shown;
    boxes_.Drive([&](HWND d) {
        BYTE keys[256] = {};
        for (WORD key : {VK_TAB, VK_TAB, VK_TAB, VK_SHIFT, VK_NEXT, VK_PRIOR, VK_PRIOR}) {
            keys[VK_CONTROL] = 0x80;
            keys[VK_SHIFT] = key == VK_SHIFT ? 0x80 : 0;   // Ctrl+Shift+Tab
            SetKeyboardState(keys);
            HWND to = GetDlgItem(shown.empty() ? PageOf(d, kLoad) : d, shown.empty() ? IDC_LOAD_EXT : IDOK);
            MSG msg = {to, WM_KEYDOWN, key == VK_SHIFT ? (WPARAM)VK_TAB : key, 0, 0, {0, 0}};
            EXPECT_TRUE(IsDialogMessageA(d, &msg));
            shown.push_back(ShownPage(d));
        }
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        Press(d, IDCANCEL);
    });
    Command(CMD_OPTIONS);
    EXPECT_EQ((std::vector<int>{kAction, kDrop, kHistory, kDrop, kHistory, kDrop, kAction}), shown);
}

TEST_F(OptionsDialogTest, EachCheckBoxReachesExactlyItsByte)
{
    unsigned char block[kOptionCount] = {1};
    block[2] = 0x5A;   // reserved bytes pass through
    block[12] = 7;
    block[63] = 0xFF;
    RegKey(REG_BASE_PATH, "ZORIVEN", false).WriteBinary("OptNum", block, sizeof block);
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
        std::string expected = Block();
        expected[box.byte] = expected[box.byte] ? 0 : 1;
        boxes_.Drive([&](HWND d) {
            Toggle(PageOf(d, box.page), box.id);
            Press(d, IDOK);
        });
        Command(CMD_OPTIONS);
        EXPECT_EQ(expected, Block()) << "box " << box.id << " of page " << box.page;
        EXPECT_EQ(Block(), Stored("OptNum"));
    }
}

TEST_F(OptionsDialogTest, DropActionShownAndStoredAsShown)
{
    unsigned char block[kOptionCount] = {};
    block[DropAction] = 7;   // no line of the list
    block[InsertAfterDrop] = 1;
    RegKey(REG_BASE_PATH, "ZORIVEN", false).WriteBinary("OptNum", block, sizeof block);
    ASSERT_TRUE(Start(folder_));
    std::string shown;
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kDrop);
        shown = Text(p, IDC_DROP_ACTION);
        EXPECT_TRUE(Enabled(p, IDC_DROP_INSERT));
        Press(d, IDOK);
    });
    Command(CMD_OPTIONS);
    EXPECT_EQ(gt::Text(u8"新規"), shown);
    EXPECT_EQ(DropNew, g_app->options[DropAction]);
    EXPECT_EQ(1, g_app->options[InsertAfterDrop]);
}

TEST_F(OptionsDialogTest, ExtensionsPastTheCapacityRefusedNotDropped)
{
    ASSERT_TRUE(Start(folder_));
    std::string full;   // 170 lines of six bytes with their ";"
    for (int i = 0; i < 170; ++i)
        full += "e" + std::to_string(1000 + i) + ";";
    CopyText(g_app->excludedExt, sizeof g_app->excludedExt, full.c_str());
    int refused = -1;
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kLoad);
        AddExt(p, "ab");   // 1,023 bytes with its ";": still fits
        AddExt(p, "c");    // one past
        Tab(d, kAction);
        boxes_.Press(IDOK);   // the message
        Press(d, IDOK);
        refused = ShownPage(d);
        PickLine(p, 171);
        Press(p, IDC_LOAD_DELETE);
        Press(d, IDOK);
    });
    Command(CMD_OPTIONS);
    EXPECT_EQ(kLoad, refused);
    ASSERT_EQ(2u, boxes_.seen().size());   // the dialog and the message
    EXPECT_EQ(gt::Text(u8"除外する拡張子が多すぎます。\n合わせて1023文字に収まるまで減らしてください。"),
              boxes_.seen()[1].text);
    EXPECT_EQ(full + "ab;", g_app->excludedExt);
}

// The path boxes count UTF-16 units, the paths bytes: 200 kanji fit the
// box but not the 260 bytes of a path. Such a path is refused with the
// system's text, never kept cut, and the browser's is not dropped either.
TEST_F(OptionsDialogTest, PathsThatFitTheBoxButNotAPathAreRefused)
{
    ASSERT_TRUE(Start(folder_));
    std::string before = g_app->editorPath;
    std::string kanji;   // 260 characters: more than a path, less than the box
    for (int i = 0; i < 253; ++i)
        kanji += u8"漢";
    std::string path = "C:\\" + gt::Text(kanji.c_str()) + ".exe";
    std::vector<int> refused;
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kAction);
        gt::SetItem(p, IDC_ACT_EDITOR, path);
        boxes_.Press(IDOK);
        Press(d, IDOK);
        refused.push_back(ShownPage(d));
        EXPECT_TRUE(Focused(p, IDC_ACT_EDITOR));
        gt::SetItem(p, IDC_ACT_EDITOR, "ed.exe");
        gt::SetItem(p, IDC_ACT_BROWSER, path);   // not even asked for
        Tab(d, kLoad);
        boxes_.Press(IDOK);
        Press(d, IDOK);
        refused.push_back(ShownPage(d));   // its box is disabled: no focus
        Press(d, IDCANCEL);
    });
    Command(CMD_OPTIONS);
    EXPECT_EQ((std::vector<int>{kAction, kAction}), refused);
    ASSERT_EQ(3u, boxes_.seen().size()) << boxes_.seen().back().text;
    EXPECT_EQ(gt::SystemText(ERROR_FILENAME_EXCED_RANGE), boxes_.seen()[1].text);
    EXPECT_EQ(gt::SystemText(ERROR_FILENAME_EXCED_RANGE), boxes_.seen()[2].text);
    EXPECT_EQ(before, g_app->editorPath);
}

}  // namespace

// The history's page: a size past its bound and a list past its field are
// refused with a message and the dialog stays; what fits is stored.
TEST_F(OptionsDialogTest, HistoryPageStoresWhatFitsAndRefusesTheRest)
{
    ASSERT_TRUE(Start(folder_));
    std::string names;
    while (names.size() < 4600)   // one name a line: 4,096 bytes and more as a list
        names += "Program" + std::to_string(names.size()) + ".exe\r\n";
    boxes_.Drive([&](HWND d) {
        HWND p = PageOf(d, kHistory);
        EXPECT_EQ("100", Text(p, IDC_HIST_SIZE));
        EXPECT_EQ("KeePass.exe\r\nKeePassXC.exe\r\n1Password.exe\r\nBitwarden.exe\r\n",
                  Text(p, IDC_HIST_EXCLUDE));
        gt::SetItem(p, IDC_HIST_SIZE, "10001");
        boxes_.Press(IDOK);
        Press(d, IDOK);
        gt::SetItem(p, IDC_HIST_SIZE, "10000");
        gt::SetItem(p, IDC_HIST_EXCLUDE, names);
        boxes_.Press(IDOK);
        Press(d, IDOK);
        gt::SetItem(p, IDC_HIST_EXCLUDE, "  Vault.exe \r\n\r\nother.exe");
        Toggle(p, IDC_HIST_MEMORY);
        Toggle(p, IDC_HIST_TOP);
        Press(d, IDOK);
    });
    Command(CMD_OPTIONS);
    ASSERT_EQ(3u, boxes_.seen().size());
    EXPECT_EQ(10000, g_app->historySize);
    EXPECT_STREQ("Vault.exe;other.exe;", g_app->historyExclude);
    EXPECT_TRUE(g_app->historyMemoryOnly);
    EXPECT_TRUE(g_app->historyAtTop);
}
