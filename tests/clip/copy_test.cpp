// Activation, Ctrl+C and Ctrl+U on item rows: the entry menu, the
// clipboard (read back from another process too) and the browser hand-over.
#include "guitest.h"

#include "clip/copy.h"
#include "clip/entrymenu.h"
#include "res/resource.h"
#include "store/listinput.h"
#include "web/browser.h"

namespace {

std::vector<std::string> s_opened;

HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    s_opened.push_back(file ? file : "");
    return (HINSTANCE)42;
}

bool PutOnClipboard(const std::string& text)
{
    for (int i = 0; i < 50 && !OpenClipboard(NULL); ++i)
        Sleep(20);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    bool placed = EmptyClipboard() && SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    return placed;
}

std::string Program(const char* name)
{
    return gt::ProgramFolder() + "\\" + name;
}

// Runs a helper program and waits for it; its exit code.
DWORD RunTool(const std::string& args, bool wait = true, PROCESS_INFORMATION* out = nullptr)
{
    std::string line = "\"" + Program("clip_tool.exe") + "\" " + args;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return (DWORD)-1;
    DWORD code = 0;
    // Keep answering messages: the clipboard's owner may be asked for its data.
    for (int i = 0; wait && i < 1000 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
         ++i)
        gt::Pump(5, 20);
    if (wait)
        GetExitCodeProcess(process.hProcess, &code);
    if (out)
        *out = process;
    else {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    return code;
}

std::string ClipboardText()
{
    for (int i = 0; i < 50 && !OpenClipboard(NULL); ++i)
        Sleep(20);
    HGLOBAL block = GetClipboardData(CF_TEXT);
    const char* text = block ? (const char*)GlobalLock(block) : nullptr;
    std::string copy = text ? text : "<none>";
    if (text)
        GlobalUnlock(block);
    CloseClipboard();
    return copy;
}

// What another program finds on the clipboard.
std::string ClipboardSeenOutside(const std::string& scratch)
{
    if (RunTool("read " + scratch) != 0)
        return "<unreadable>";
    return gt::ReadBytes(scratch);
}

// Drives the entry menu from inside its own loop: records its items, moves
// the highlight down to an entry (reading the status bar there) and takes
// it, or dismisses the menu.
struct MenuItemSeen {
    UINT type, id, state;
};
struct EntryMenuPicker {
    int pick = -1;   // entry index to take; -1 dismisses
    int idleTurns = 0;
    std::vector<MenuItemSeen> items;
    std::string status;
};
EntryMenuPicker* s_picker;

LRESULT CALLBACK PickerHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* m = (const CWPRETSTRUCT*)lParam;
    if (code == HC_ACTION && s_picker && m->hwnd == g_hMainWnd) {
        if (m->message == WM_INITMENUPOPUP) {
            HMENU menu = (HMENU)m->wParam;
            s_picker->items.clear();
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                MENUITEMINFOA info = {};
                info.cbSize = sizeof info;
                info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE;
                GetMenuItemInfoA(menu, (UINT)i, TRUE, &info);
                s_picker->items.push_back({info.fType, info.wID, info.fState});
            }
        } else if (m->message == WM_ENTERIDLE && m->wParam == MSGF_MENU) {
            int turn = s_picker->idleTurns++;
            if (s_picker->pick < 0) {
                EndMenu();
            } else if (turn == 0) {
                for (int i = 0; i <= s_picker->pick; ++i)
                    PostMessageA(g_hMainWnd, WM_KEYDOWN, VK_DOWN, 0);
            } else if (turn == 1) {
                s_picker->status = gt::StatusPart(0);   // simple mode reads as part 0
                PostMessageA(g_hMainWnd, WM_KEYDOWN, VK_RETURN, 0);
            }
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

class CopyTest : public gt::MainWindowTest {
protected:
    void SetUp() override
    {
        gt::MainWindowTest::SetUp();
        s_opened.clear();
        saved_ = g_shellExecute;
        g_shellExecute = RecordShellExecute;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, PickerHook, NULL, GetCurrentThreadId());
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(hook_);
        s_picker = nullptr;
        g_shellExecute = saved_;
        gt::MainWindowTest::TearDown();
    }
    // Activates row (Enter or double-click), or runs command on it; with a
    // picker when a menu is expected.
    void Use(int row, int command, EntryMenuPicker* picker = nullptr)
    {
        s_picker = picker;
        Select(row);
        if (command)
            Command(command);
        else {
            ActivateSelectedRow();
            gt::Pump();
        }
        s_picker = nullptr;
    }
    static int Separators(const EntryMenuPicker& picker)
    {
        int n = 0;
        for (const MenuItemSeen& item : picker.items)
            n += (item.type & MFT_SEPARATOR) != 0;
        return n;
    }
    static std::string Entries(int n)
    {
        std::string bytes;
        for (int i = 1; i <= n; ++i)
            bytes += "key" + std::to_string(i) + "=value" + std::to_string(i) + "\r\n";
        return bytes;
    }

    ShellExecuteFn saved_;
    HHOOK hook_;
};

TEST_F(CopyTest, DecisionTableOfActivationCopyAndNotify)
{
    Item("a.txt", "k=plain text\r\n");
    Item("b.url", "URL=http://example.test/page\r\n");
    Order("a.txt\r\nb.url\r\n");
    ASSERT_TRUE(Start(folder_));
    struct Row {
        int command, row, urlOnly;
        bool copied, notified;
    } table[] = {
        {0, 1, 0, false, true},        {0, 1, 1, false, true},
        {0, 0, 0, true, false},        {0, 0, 1, true, false},
        {CMD_COPY, 1, 0, true, false}, {CMD_COPY, 1, 1, true, true},
        {CMD_COPY, 0, 0, true, false}, {CMD_COPY, 0, 1, true, false},
        {CMD_NOTIFY, 1, 0, false, true}, {CMD_NOTIFY, 1, 1, false, true},
        {CMD_NOTIFY, 0, 0, false, true}, {CMD_NOTIFY, 0, 1, false, false},
    };
    for (const Row& r : table) {
        SCOPED_TRACE(testing::Message() << "command " << r.command << " row " << r.row
                                        << " NotifyUrlOnly " << r.urlOnly);
        g_app->options[NotifyUrlOnly] = (unsigned char)r.urlOnly;
        ASSERT_TRUE(PutOnClipboard("before"));
        s_opened.clear();
        Use(r.row, r.command);
        const char* value = r.row ? "http://example.test/page" : "plain text";
        EXPECT_EQ(r.copied ? value : "before", ClipboardText());
        EXPECT_EQ(r.notified ? std::vector<std::string>{value} : std::vector<std::string>{},
                  s_opened);
    }
}

TEST_F(CopyTest, LineBreaksReachTheClipboardAsTheValueHoldsThem)
{
    Item("a.txt", "k=line1\x0Bline2\x0B\r\n");
    ASSERT_TRUE(Start(folder_));
    Use(0, CMD_COPY);
    EXPECT_EQ("line1\nline2\n", ClipboardSeenOutside(In("seen.bin")));
    EXPECT_EQ(0, boxes_.unexpected());
}

TEST_F(CopyTest, VanishedItemFileIsReportedAndItsRowGoes)
{
    Item("a.txt");
    Item("b.txt");
    Order("a.txt\r\nb.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    ASSERT_TRUE(DeleteFileA(In("a.txt").c_str()));
    boxes_.Press(IDOK);
    Use(0, 0);
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(gt::SystemText(ERROR_PATH_NOT_FOUND), boxes_.seen()[0].text);
    EXPECT_EQ(std::vector<std::string>{"b"}, gt::RowNames());
    EXPECT_STRCASEEQ(In("a.txt").c_str(), g_app->lastCopied);
}

// Clipboard tools hold the clipboard for a moment: a short hold is waited
// out, a long one is reported and the clipboard keeps what it had.
TEST_F(CopyTest, ClipboardHeldByAnotherProgram)
{
    Item("a.txt", "k=new value\r\n");
    ASSERT_TRUE(Start(folder_));
    HANDLE held = CreateEventA(NULL, TRUE, FALSE, "ZorivenClipHeld");
    for (int holdMs : {200, 3000}) {
        SCOPED_TRACE(holdMs);
        ASSERT_TRUE(PutOnClipboard("before"));
        ResetEvent(held);
        PROCESS_INFORMATION holder;
        RunTool("hold " + std::to_string(holdMs), false, &holder);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(held, 10000));
        if (holdMs > kClipboardWaitMs)
            boxes_.Press(IDOK);
        Use(0, CMD_COPY);
        WaitForSingleObject(holder.hProcess, 10000);
        CloseHandle(holder.hProcess);
        CloseHandle(holder.hThread);
        EXPECT_EQ(holdMs > kClipboardWaitMs ? "before" : "new value", ClipboardText());
        EXPECT_EQ(holdMs > kClipboardWaitMs ? 1u : 0u, boxes_.seen().size());
        boxes_.Clear();
    }
    CloseHandle(held);
}

TEST_F(CopyTest, BackAfterCopyEvenWhenNothingWasCopied)
{
    Item("a.txt", "k=plain\r\n");
    ASSERT_TRUE(Start(folder_));
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL,
                                 NULL, NULL, NULL);
    SetWindowPos(g_hMainWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    g_app->options[BackAfterCopy] = 1;
    g_app->options[NotifyUrlOnly] = 1;
    Use(0, CMD_NOTIFY);   // plain text with NotifyUrlOnly: neither copy nor notify
    EXPECT_TRUE(s_opened.empty());
    bool below = false;
    for (HWND w = GetWindow(other, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        below = below || w == g_hMainWnd;
    EXPECT_TRUE(below);
    DestroyWindow(other);
}

TEST_F(CopyTest, EntryMenuGroupsFiveEntriesBetweenSeparators)
{
    Item("five.txt", Entries(5));
    Item("six.txt", Entries(6));
    Item("all.txt", Entries(32));
    Item("one.txt", Entries(1));
    Order("five.txt\r\nsix.txt\r\nall.txt\r\none.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    struct {
        int row;
        int separators;
        size_t items;
    } cases[] = {{0, 0, 5}, {1, 1, 7}, {2, 6, 38}};
    for (const auto& c : cases) {
        EntryMenuPicker dismiss;
        Use(c.row, 0, &dismiss);
        EXPECT_EQ(c.items, dismiss.items.size()) << gt::RowNames()[c.row];
        EXPECT_EQ(c.separators, Separators(dismiss));
    }
    EntryMenuPicker enter;   // Enter through the message loop, as typed
    enter.pick = 4;
    s_picker = &enter;
    Select(0);
    PostMessageA(g_app->listView, WM_KEYDOWN, VK_RETURN, 0);
    gt::Pump();
    s_picker = nullptr;
    EXPECT_EQ(5u, enter.items.size());
    EXPECT_EQ("value5", ClipboardText());

    EntryMenuPicker none;   // one entry: copied at once
    Use(3, 0, &none);
    EXPECT_TRUE(none.items.empty());
    g_app->options[MenuForSingle] = 1;
    EntryMenuPicker single;
    single.pick = 0;
    Use(3, 0, &single);
    ASSERT_EQ(1u, single.items.size());
    EXPECT_EQ((UINT)MFT_OWNERDRAW, single.items[0].type);
}

TEST_F(CopyTest, LastChoiceIsMarkedUntilAnotherItemIsUsed)
{
    Item("a.txt", Entries(3));
    Item("b.txt", Entries(2));
    Order("a.txt\r\nb.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    EntryMenuPicker first;
    first.pick = 1;
    Use(0, 0, &first);
    EXPECT_EQ("value2", ClipboardText());
    EXPECT_EQ("value2", first.status);   // the highlighted entry's value
    EXPECT_EQ(CMD_ENTRY_FIRST + 1, g_app->lastEntry);

    EntryMenuPicker again;
    Use(0, 0, &again);
    ASSERT_EQ(3u, again.items.size());
    EXPECT_EQ((UINT)MFS_CHECKED, again.items[1].state & MFS_CHECKED);
    EXPECT_EQ(0u, again.items[0].state & MFS_CHECKED);

    EntryMenuPicker other, back;   // another item, dismissed, clears the mark
    Use(1, 0, &other);
    Use(0, 0, &back);
    for (const MenuItemSeen& item : back.items)
        EXPECT_EQ(0u, item.state & MFS_CHECKED);
}

TEST_F(CopyTest, EntryMenuItemsAreMeasuredAndDrawn)
{
    Item("a.txt", "k=v\r\n");
    ASSERT_TRUE(Start(folder_));
    ItemRecord record = {};
    Entry entries[2] = {{(char*)"k", (char*)"plain"},
                        {(char*)"", (char*)"http://example.test/"}};
    std::string wide(3000, 'W');
    entries[1].key = &wide[0];
    record.entryCount = 2;
    record.entries[0] = entries[0];
    record.entries[1] = entries[1];

    MEASUREITEMSTRUCT m = {ODT_MENU, 0, CMD_ENTRY_FIRST, 0, 0, (ULONG_PTR)&record};
    EXPECT_TRUE(MeasureEntryMenuItem(g_hMainWnd, &m));
    EXPECT_EQ(100u, m.itemWidth);
    EXPECT_GE(m.itemHeight, 16u);
    EXPECT_EQ(0u, m.itemHeight % 2);
    m.itemID = CMD_ENTRY_FIRST + 1;
    MeasureEntryMenuItem(g_hMainWnd, &m);
    EXPECT_GT((int)m.itemWidth, GetSystemMetrics(SM_CXSCREEN));   // never shortened

    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 20);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT d = {ODT_MENU, 0, CMD_ENTRY_FIRST, ODA_DRAWENTIRE, ODS_SELECTED,
                        NULL, dc, {0, 0, 200, 20}, (ULONG_PTR)&record};
    DrawEntryMenuItem(&d);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), GetPixel(dc, 150, 10));
    d.itemState = ODS_CHECKED;   // the last choice: info colours, sunken icon
    DrawEntryMenuItem(&d);
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), GetPixel(dc, 150, 10));
    EXPECT_EQ(RGB(128, 128, 128), GetPixel(dc, 2, 1));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 20, 19));
    EXPECT_FALSE(DrawSunkenFrame(NULL, &d.rcItem));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
}

}  // namespace
