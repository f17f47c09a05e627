// Activation, Ctrl+C and Ctrl+U on item rows: the entry menu, the
// clipboard and the browser hand-over. (The whole-program test reads a
// copy back from another process.)
#include "guitest.h"

#include "clip/copy.h"
#include "clip/entrymenu.h"
#include "res/resource.h"
#include "app/listinput.h"
#include "store/pathtext.h"
#include "web/browser.h"

namespace {

std::vector<std::string> s_opened;

HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    s_opened.push_back(file ? file : "");
    return (HINSTANCE)42;
}

void PutOnClipboard(const std::string& text)
{
    for (int i = 0; i < 50 && !OpenClipboard(NULL); ++i)
        Sleep(20);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
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

// Another thread keeps the clipboard open for a while, as clipboard tools do.
struct Holder {
    DWORD ms;
    HANDLE opened;
};
DWORD WINAPI HoldClipboard(void* p)
{
    Holder* holder = (Holder*)p;
    OpenClipboard(NULL);
    SetEvent(holder->opened);
    Sleep(holder->ms);
    CloseClipboard();
    return 0;
}

// Drives the entry menu from inside its loop: records its items, moves the
// highlight to an entry (reading the status bar there) and takes it, or
// dismisses the menu.
struct Picker {
    int pick = -1;   // entry to take; -1 dismisses
    int turn = 0;
    std::vector<MENUITEMINFOA> items;
    std::string status;
};
Picker* s_picker;

LRESULT CALLBACK PickerHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* m = (const CWPRETSTRUCT*)lParam;
    if (code == HC_ACTION && s_picker && m->hwnd == g_hMainWnd) {
        if (m->message == WM_INITMENUPOPUP) {
            for (int i = 0; i < GetMenuItemCount((HMENU)m->wParam); ++i) {
                MENUITEMINFOA info = {sizeof info, MIIM_FTYPE | MIIM_ID | MIIM_STATE};
                GetMenuItemInfoA((HMENU)m->wParam, (UINT)i, TRUE, &info);
                s_picker->items.push_back(info);
            }
        } else if (m->message == WM_ENTERIDLE && m->wParam == MSGF_MENU) {
            int turn = s_picker->turn++;
            if (s_picker->pick < 0)
                EndMenu();
            for (int i = 0; turn == 0 && i <= s_picker->pick; ++i)
                PostMessageA(g_hMainWnd, WM_KEYDOWN, VK_DOWN, 0);
            if (turn == 1) {
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
        g_shellExecute = RecordShellExecute;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, PickerHook, NULL, GetCurrentThreadId());
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(hook_);
        g_shellExecute = ShellExecuteA;
        gt::MainWindowTest::TearDown();
    }
    // Activates row (0) or runs command on it, with a picker for a menu.
    void Use(int row, int command, Picker* picker = nullptr)
    {
        s_picker = picker;
        Select(row);
        if (command)
            Command(command);
        else
            ActivateSelectedRow();
        gt::Pump();
        s_picker = nullptr;
    }
    static std::string Entries(int n)
    {
        std::string bytes;
        for (int i = 1; i <= n; ++i)
            bytes += "key" + std::to_string(i) + "=value" + std::to_string(i) + "\r\n";
        return bytes;
    }
    HHOOK hook_;
};

TEST_F(CopyTest, DecisionTableOfActivationCopyAndNotify)
{
    Item("a.txt", "k=plain\x0Btext\x0B\r\n");   // line breaks reach the clipboard as LF
    Item("b.url", "URL=http://example.test/page\r\n");
    Order("a.txt\r\nb.url\r\n");
    ASSERT_TRUE(Start(folder_));
    struct Row {
        int command, row, urlOnly;
        bool copied, notified;
    } table[] = {
        {0, 1, 0, false, true},          {0, 1, 1, false, true},
        {0, 0, 0, true, false},          {0, 0, 1, true, false},
        {CMD_COPY, 1, 0, true, false},   {CMD_COPY, 1, 1, true, true},
        {CMD_COPY, 0, 0, true, false},   {CMD_COPY, 0, 1, true, false},
        {CMD_NOTIFY, 1, 0, false, true}, {CMD_NOTIFY, 1, 1, false, true},
        {CMD_NOTIFY, 0, 0, false, true}, {CMD_NOTIFY, 0, 1, false, false},
    };
    for (const Row& r : table) {
        SCOPED_TRACE(testing::Message() << "command " << r.command << " row " << r.row
                                        << " NotifyUrlOnly " << r.urlOnly);
        g_app->options[NotifyUrlOnly] = (unsigned char)r.urlOnly;
        PutOnClipboard("before");
        s_opened.clear();
        Use(r.row, r.command);
        const char* value = r.row ? "http://example.test/page" : "plain\ntext\n";
        EXPECT_EQ(r.copied ? value : "before", ClipboardText());
        EXPECT_EQ(r.notified ? std::vector<std::string>{value} : std::vector<std::string>{},
                  s_opened);
        // The status bar says what happened, until the note's time is up.
        const char* name = r.row ? "b" : "a";
        std::string note = r.copied     ? gt::Text(u8"コピーしました: ") + name
                           : r.notified ? gt::Text(u8"ブラウザに渡しました: ") + name
                                        : LastComponent(folder_.c_str());
        EXPECT_EQ(note, gt::StatusPart(0));
        SendMessageA(g_hMainWnd, WM_TIMER, kStatusNoteTimer, 0);
        EXPECT_EQ(LastComponent(folder_.c_str()), gt::StatusPart(0));
    }
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
}

// A short hold is waited out; a long one is reported, and the clipboard
// keeps what it had.
TEST_F(CopyTest, ClipboardHeldByAnotherProgram)
{
    Item("a.txt", "k=new value\r\n");
    ASSERT_TRUE(Start(folder_));
    for (DWORD ms : {200, 3000}) {
        PutOnClipboard("before");
        Holder holder = {ms, CreateEventA(NULL, TRUE, FALSE, NULL)};
        HANDLE thread = CreateThread(NULL, 0, HoldClipboard, &holder, 0, NULL);
        WaitForSingleObject(holder.opened, 5000);
        bool refused = ms > kClipboardWaitMs;
        if (refused)
            boxes_.Press(IDOK);
        Use(0, CMD_COPY);
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
        CloseHandle(holder.opened);
        EXPECT_EQ(refused ? "before" : "new value", ClipboardText()) << ms;
        EXPECT_EQ(refused ? 1u : 0u, boxes_.seen().size()) << ms;
        boxes_.Clear();
    }
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
    for (int row : {0, 1, 2}) {
        Picker dismiss;
        Use(row, 0, &dismiss);
        int separators = 0;
        for (const MENUITEMINFOA& item : dismiss.items)
            separators += (item.fType & MFT_SEPARATOR) != 0;
        int entries = row == 2 ? 32 : 5 + row;
        EXPECT_EQ(entries + separators, (int)dismiss.items.size());
        EXPECT_EQ((entries - 1) / 5, separators);
    }
    Picker enter;   // Enter through the message loop, as typed
    enter.pick = 4;
    s_picker = &enter;
    Select(0);
    PostMessageA(g_app->listView, WM_KEYDOWN, VK_RETURN, 0);
    gt::Pump();
    s_picker = nullptr;
    EXPECT_EQ("value5", ClipboardText());

    Picker none;   // one entry: copied at once, unless MenuForSingle
    Use(3, 0, &none);
    EXPECT_TRUE(none.items.empty());
    g_app->options[MenuForSingle] = 1;
    Picker single;
    single.pick = 0;
    Use(3, 0, &single);
    ASSERT_EQ(1u, single.items.size());
    EXPECT_EQ((UINT)MFT_OWNERDRAW, single.items[0].fType);
}

TEST_F(CopyTest, LastChoiceIsMarkedUntilAnotherItemIsUsed)
{
    Item("a.txt", Entries(3));
    Item("b.txt", Entries(2));
    Order("a.txt\r\nb.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    Picker first;
    first.pick = 1;
    Use(0, 0, &first);
    EXPECT_EQ("value2", ClipboardText());
    EXPECT_EQ("value2", first.status);   // the highlighted entry's value

    Picker again;
    Use(0, 0, &again);
    ASSERT_EQ(3u, again.items.size());
    EXPECT_EQ((UINT)MFS_CHECKED, again.items[1].fState & MFS_CHECKED);
    EXPECT_EQ(0u, again.items[0].fState & MFS_CHECKED);

    Picker other, back;   // another item, even dismissed, clears the mark
    Use(1, 0, &other);
    Use(0, 0, &back);
    for (const MENUITEMINFOA& item : back.items)
        EXPECT_EQ(0u, item.fState & MFS_CHECKED);
}

TEST_F(CopyTest, EntryMenuItemsAreMeasuredAndDrawn)
{
    ASSERT_TRUE(Start(folder_));
    std::string wide(3000, 'W');
    ItemRecord record = {};
    record.entryCount = 2;
    record.entries[0] = {(char*)"k", (char*)"plain"};
    record.entries[1] = {&wide[0], (char*)"http://example.test/"};
    MEASUREITEMSTRUCT m = {ODT_MENU, 0, CMD_ENTRY_FIRST, 0, 0, (ULONG_PTR)&record};
    MeasureEntryMenuItem(g_hMainWnd, &m);
    EXPECT_EQ(100u, m.itemWidth);
    EXPECT_GE(m.itemHeight, 16u);
    EXPECT_EQ(0u, m.itemHeight % 2);
    m.itemID = CMD_ENTRY_FIRST + 1;
    MeasureEntryMenuItem(g_hMainWnd, &m);
    EXPECT_GT((int)m.itemWidth, GetSystemMetrics(SM_CXSCREEN));   // never shortened

    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, CreateCompatibleBitmap(screen, 200, 20));
    DRAWITEMSTRUCT d = {ODT_MENU, 0, CMD_ENTRY_FIRST, ODA_DRAWENTIRE, ODS_SELECTED,
                        NULL, dc, {0, 0, 200, 20}, (ULONG_PTR)&record};
    DrawEntryMenuItem(&d);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), GetPixel(dc, 150, 10));
    d.itemState = ODS_CHECKED;   // the last choice: info colours, sunken icon
    DrawEntryMenuItem(&d);
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), GetPixel(dc, 150, 10));
    EXPECT_EQ(RGB(128, 128, 128), GetPixel(dc, 2, 1));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 20, 19));
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
    ReleaseDC(NULL, screen);
}

}  // namespace
