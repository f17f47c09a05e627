#include "guitest.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>

#include "res/resource.h"
#include "store/folderwatch.h"
#include "store/paths.h"
#include "store/records.h"

namespace gt {

static BoxAnswerer* s_answerer;
static bool s_quit;
static HACCEL s_accelerators;

std::string Sjis(const char* utf8)
{
    int wide = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, NULL, 0);
    std::wstring w(wide, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &w[0], wide);
    int bytes = WideCharToMultiByte(932, 0, w.c_str(), -1, NULL, 0, NULL, NULL);
    std::string s(bytes, '\0');
    WideCharToMultiByte(932, 0, w.c_str(), -1, &s[0], bytes, NULL, NULL);
    s.resize(bytes > 0 ? bytes - 1 : 0);
    return s;
}

std::string Text(const char* utf8)
{
    return std::string(utf8);
}

static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && s_answerer)
        s_answerer->OnActivate((HWND)wParam);
    return CallNextHookEx(NULL, code, wParam, lParam);
}

static void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    if (s_answerer)
        s_answerer->OnTimer();
}

BoxAnswerer::BoxAnswerer()
{
    hook_ = SetWindowsHookExA(WH_CBT, CbtHook, NULL, GetCurrentThreadId());
    s_answerer = this;
}

BoxAnswerer::~BoxAnswerer()
{
    if (s_answerer == this)
        s_answerer = nullptr;
    if (hook_)
        UnhookWindowsHookEx(hook_);
}

void BoxAnswerer::Press(int button)
{
    answers_.push_back({button, nullptr});
}

void BoxAnswerer::Drive(BoxDriver driver)
{
    answers_.push_back({0, std::move(driver)});
}

void BoxAnswerer::Clear()
{
    answers_.clear();
    seen_.clear();
    unexpected_ = 0;
}

std::string WindowText(HWND hwnd)
{
    wchar_t text[4096];
    text[0] = L'\0';
    if (hwnd)
        GetWindowTextW(hwnd, text, sizeof text / sizeof text[0]);
    return Narrow(text);
}

void SetText(HWND hwnd, const std::string& text)
{
    SetWindowTextW(hwnd, Widen(text.c_str()).c_str());
}

void SetItem(HWND dialog, int id, const std::string& text)
{
    SetText(GetDlgItem(dialog, id), text);
}

static UINT IconKind(HWND box)
{
    struct Known {
        LPCSTR id;
        UINT kind;
    };
    static const Known known[] = {{(LPCSTR)IDI_HAND, MB_ICONERROR},
                                  {(LPCSTR)IDI_QUESTION, MB_ICONQUESTION},
                                  {(LPCSTR)IDI_EXCLAMATION, MB_ICONWARNING},
                                  {(LPCSTR)IDI_ASTERISK, MB_ICONINFORMATION}};
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        HICON icon = (HICON)SendMessageA(child, STM_GETICON, 0, 0);
        for (const Known& k : known)
            if (icon && icon == LoadIconA(NULL, k.id))
                return k.kind;
    }
    return 0;
}

void BoxAnswerer::OnActivate(HWND box)
{
    char cls[32];
    if (!GetClassNameA(box, cls, sizeof cls) || strcmp(cls, "#32770") != 0)
        return;
    if (std::find(handled_.begin(), handled_.end(), box) != handled_.end())
        return;
    handled_.push_back(box);

    Answer answer{0, nullptr};
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.erase(answers_.begin());
    } else {
        ++unexpected_;
        answer.button = -1;
    }
    pending_.push_back(box);
    pendingAnswers_.push_back(answer);
    // Read and answer it from the box's own message loop: at activation a
    // box may not have its text, icon and buttons yet.
    SetTimer(NULL, 0, 20, AnswerTimer);
}

void BoxAnswerer::OnTimer()
{
    if (pending_.empty())
        return;
    HWND box = pending_.front();
    Answer answer = pendingAnswers_.front();
    pending_.erase(pending_.begin());
    pendingAnswers_.erase(pendingAnswers_.begin());
    if (!IsWindow(box))
        return;
    SeenBox seen;
    seen.caption = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, 0xFFFF));
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
        if (IsWindowVisible(GetDlgItem(box, id)))
            seen.buttons.push_back(id);
    seen.icon = IconKind(box);
    for (int id : seen.buttons)
        if (GetWindowLongA(GetDlgItem(box, id), GWL_STYLE) & BS_DEFPUSHBUTTON)
            seen.defaultButton = id;
    seen.owner = GetWindow(box, GW_OWNER);
    seen.ownerless = seen.owner == NULL;
    seen.mainDisabled = g_hMainWnd && IsWindow(g_hMainWnd) && !IsWindowEnabled(g_hMainWnd);
    seen_.push_back(seen);

    if (answer.button == -1) {
        answer.button = IDOK;
        for (int id : {IDCANCEL, IDNO, IDOK})
            if (IsWindowVisible(GetDlgItem(box, id))) {
                answer.button = id;
                break;
            }
    }
    if (answer.driver)
        answer.driver(box);
    else
        ClickButton(box, answer.button);
}

static MenuSpy* s_spy;

static LRESULT CALLBACK SpyHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && s_spy)
        s_spy->OnMessage(*(CWPRETSTRUCT*)lParam);
    return CallNextHookEx(NULL, code, wParam, lParam);
}

MenuSpy::MenuSpy()
{
    hook_ = SetWindowsHookExA(WH_CALLWNDPROCRET, SpyHook, NULL, GetCurrentThreadId());
    s_spy = this;
}

MenuSpy::~MenuSpy()
{
    if (s_spy == this)
        s_spy = nullptr;
    if (hook_)
        UnhookWindowsHookEx(hook_);
}

// Notes where the open menu shows, then closes it.
static void CloseShownMenu(RECT* rect)
{
    HWND popup = NULL;
    while ((popup = FindWindowExA(NULL, popup, "#32768", NULL)) && !IsWindowVisible(popup)) {
    }
    if (popup)
        GetWindowRect(popup, rect);
    EndMenu();
}

void MenuSpy::OnMessage(const CWPRETSTRUCT& m)
{
    if (m.message == WM_ENTERIDLE && m.wParam == MSGF_MENU) {
        CloseShownMenu(&menuRect);
        ++shown;
    }
    if (m.hwnd != g_hMainWnd)
        return;
    if (m.message == WM_COMMAND)
        commands.push_back(LOWORD(m.wParam));
    if (m.message == WM_INITMENU) {
        menu = (HMENU)m.wParam;
        states.clear();
        for (int id = CMD_NEW_ITEM; id <= CMD_ABOUT; ++id) {
            UINT state = GetMenuState(menu, (UINT)id, MF_BYCOMMAND);
            if (state != (UINT)-1)
                states.push_back({id, state});
        }
    }
}

UINT MenuSpy::State(int command) const
{
    for (const auto& s : states)
        if (s.first == command)
            return s.second;
    return (UINT)-1;
}

void ClickButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Send(HWND dialog, int id, int code)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)GetDlgItem(dialog, id));
}

void Toggle(HWND dialog, int id)
{
    CheckDlgButton(dialog, id, Checked(dialog, id) ? BST_UNCHECKED : BST_CHECKED);
    Send(dialog, id);
}

void Pump(DWORD quietMs, DWORD maxMs)
{
    if (!s_accelerators)
        s_accelerators = LoadAcceleratorsA(g_hInstance, MAKEINTRESOURCEA(IDA_MAIN));
    DWORD start = GetTickCount();
    DWORD lastBusy = start;
    for (;;) {
        MSG msg;
        bool busy = false;
        // Taken in the form the program's own loop dispatches: a character
        // taken in the ANSI form and dispatched in the wide one is broken.
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            busy = true;
            if (msg.message == WM_QUIT) {
                s_quit = true;
                continue;
            }
            ProcessMessage(s_accelerators, &msg);
        }
        DWORD now = GetTickCount();
        if (busy)
            lastBusy = now;
        if (now - lastBusy >= quietMs || now - start >= maxMs)
            return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    }
}

bool QuitPosted()
{
    return s_quit;
}

void Press(WORD vk, std::vector<WORD> held)
{
    held.push_back(vk);
    std::vector<INPUT> inputs(2 * held.size());
    for (size_t i = 0, n = inputs.size(); i < held.size(); ++i) {
        inputs[i].type = inputs[n - 1 - i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = inputs[n - 1 - i].ki.wVk = held[i];
        inputs[n - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput((UINT)inputs.size(), inputs.data(), sizeof(INPUT));
}

std::vector<std::string> RowNames()
{
    std::vector<std::string> names;
    int n = RowCount();
    for (int i = 0; i < n; ++i) {
        ItemRecord* record = GetRowRecord(i);
        names.push_back(record && record->name ? record->name : "");
    }
    return names;
}

std::string StatusPart(int part)
{
    wchar_t text[1024];
    text[0] = L'\0';
    LRESULT length = SendMessageW(g_app->statusBar, SB_GETTEXTLENGTHW, (WPARAM)part, 0);
    if (LOWORD(length) < sizeof text / sizeof text[0])
        SendMessageW(g_app->statusBar, SB_GETTEXTW, (WPARAM)part, (LPARAM)text);
    return Narrow(text);
}

DWORD ButtonState(int command)
{
    return (DWORD)SendMessageA(g_app->toolbar, TB_GETSTATE, (WPARAM)command, 0);
}

UINT MenuState(int command)
{
    return GetMenuState(GetMenu(g_hMainWnd), (UINT)command, MF_BYCOMMAND);
}

RECT ChildRect(HWND child)
{
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(NULL, g_hMainWnd, (POINT*)&rc, 2);
    return rc;
}

RECT ChildRectIn(HWND dialog, int id)
{
    RECT rc = {0, 0, 0, 0};
    GetWindowRect(GetDlgItem(dialog, id), &rc);
    MapWindowPoints(NULL, dialog, (POINT*)&rc, 2);
    return rc;
}

std::string MakeTempFolder()
{
    static int counter;
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    for (;;) {
        wchar_t path[MAX_PATH];
        wsprintfW(path, L"%szoriven-%lu-%d", base, GetCurrentProcessId(), ++counter);
        if (CreateDirectoryW(path, NULL))
            return Narrow(path);
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return "";
    }
}

// Wide throughout, so an entry whose name has no program form goes too.
static bool RemoveWideTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveWideTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return RemoveDirectoryW(path.c_str()) != 0;
}

bool RemoveTree(const std::string& path)
{
    return RemoveWideTree(Widen(path.c_str()));
}

bool PathIsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesW(Widen(path.c_str()).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ProgramFolder()
{
    char folder[MAX_PATH];
    return ModuleFolder(folder, sizeof folder) ? folder : "";
}

std::string ReadBytes(const std::string& path)
{
    HANDLE f = CreateFileW(Widen(path.c_str()).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL,
                           OPEN_EXISTING, 0, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes;
    char buf[4096];
    DWORD got;
    while (ReadFile(f, buf, sizeof buf, &got, NULL) && got)
        bytes.append(buf, got);
    CloseHandle(f);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE f = CreateFileW(Widen(path.c_str()).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0,
                           NULL);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    BOOL ok = WriteFile(f, bytes.data(), (DWORD)bytes.size(), &put, NULL);
    return CloseHandle(f) && ok && put == bytes.size();
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(Widen((folder + "\\*").c_str()).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L".."))
            names.push_back(Narrow(found.cFileName));
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}

void MainWindowTest::SetUp()
{
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\VEXO");
    // The tests change the folder themselves and read it when they mean to.
    g_watchFolders = FALSE;
    folder_ = MakeTempFolder();
    ASSERT_FALSE(folder_.empty());
    s_quit = false;
}

void MainWindowTest::TearDown()
{
    Close();
    EXPECT_EQ(0, boxes_.unexpected()) << "a box appeared that the test did not expect";
    RemoveTree(folder_);
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\VEXO");
}

HWND MainWindowTest::Start(const std::string& cmdline)
{
    static bool registered;
    if (!registered)
        registered = RegisterMainWindowClass() != FALSE;
    if (!registered || !CreateAppState())
        return NULL;
    if (!CreateMainWindow(cmdline.c_str(), SW_SHOWNORMAL)) {
        FreeAppState();
        return NULL;
    }
    g_app->lastEntry = -1;
    Pump();
    return g_hMainWnd;
}

void MainWindowTest::Close()
{
    if (!g_app)
        return;
    if (g_hMainWnd && IsWindow(g_hMainWnd))
        DestroyWindow(g_hMainWnd);
    Pump();
    g_hMainWnd = NULL;
    FreeAppState();
}

void MainWindowTest::Notes(int count, int first)
{
    std::string order;
    for (int i = 0; i < count; ++i) {
        std::string name = "note" + std::to_string(first + i) + ".txt";
        Item(name);
        order += name + "\r\n";
    }
    Order(order);
}

void MainWindowTest::Command(int id)
{
    PostMessageA(g_hMainWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Pump();
}

void MainWindowTest::Select(int row)
{
    SelectRow(row);
    Pump();
}

void MainWindowTest::SelectNone()
{
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED;
    SendMessageA(g_app->listView, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&none);
    Pump();
}

std::wstring ClipboardWide()
{
    if (!OpenClipboard(NULL))
        return L"<locked>";
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* text = data ? (const wchar_t*)GlobalLock(data) : nullptr;
    std::wstring copy = text ? text : L"<none>";
    if (text)
        GlobalUnlock(data);
    CloseClipboard();
    return copy;
}

std::string SystemText(DWORD code)
{
    wchar_t text[512] = L"";
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, code, 0, text,
                   sizeof text / sizeof text[0], NULL);
    return Narrow(text);
}

void MainWindowTest::Item(const std::string& name, const std::string& bytes)
{
    ASSERT_TRUE(WriteBytes(In(name), bytes)) << name;
}

void MainWindowTest::Group(const std::string& name)
{
    ASSERT_TRUE(CreateDirectoryW(Widen(In(name).c_str()).c_str(), NULL)) << name;
}

}  // namespace gt
