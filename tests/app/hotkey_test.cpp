// The hot key as a user meets it: another program in front, the menu at
// its caret, a choice typed on the keyboard, the value in that program.
// zoriven.exe and the stand-in target each run in a process of their own.
#include <shlwapi.h>

#include <functional>
#include <string>
#include <vector>

#include "guitest.h"
#include "res/resource.h"

namespace {

bool WaitFor(const std::function<bool()>& condition, int ms = 5000)
{
    for (int waited = 0; waited < ms; waited += 20) {
        if (condition())
            return true;
        Sleep(20);
    }
    return condition();
}

struct Search {
    DWORD pid;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM param)
{
    Search* s = (Search*)param;
    DWORD pid = 0;
    char name[64];
    GetWindowThreadProcessId(hwnd, &pid);
    if ((!s->pid || pid == s->pid) && IsWindowVisible(hwnd) &&
        GetClassNameA(hwnd, name, sizeof name) && lstrcmpiA(name, s->className) == 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindVisibleWindow(DWORD pid, const char* className)
{
    Search s = {pid, className, NULL};
    EnumWindows(FindVisible, (LPARAM)&s);
    return s.found;
}

void Key(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = (WORD)MapVirtualKeyA(vk, 0);
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void Press(WORD vk, bool shift = false)
{
    if (shift)
        Key(VK_SHIFT, false);
    Key(vk, false);
    Key(vk, true);
    if (shift)
        Key(VK_SHIFT, true);
    Sleep(150);   // a submenu opens before the next key
}

std::string ClipboardText()
{
    std::string text = "<none>";
    if (!WaitFor([] { return OpenClipboard(NULL) != FALSE; }, 2000))
        return "<locked>";
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* bytes = data ? (const char*)GlobalLock(data) : nullptr;
    if (bytes) {
        text = bytes;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void PutClipboardText(const std::string& text)
{
    ASSERT_TRUE(WaitFor([] { return OpenClipboard(NULL) != FALSE; }, 2000));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

}  // namespace

class HotKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\VEXO");
        library_ = gt::MakeTempFolder();
        ASSERT_FALSE(library_.empty());
        Write("mail.txt", "k=hello\r\n");
        Write("multi.txt", "first=one\r\nsecond=two\r\n");
        ASSERT_TRUE(CreateDirectoryA(In("Box").c_str(), NULL));
        Write("Box\\inner.txt", "k=inside\r\n");
        Write("jp.txt", gt::Sjis(u8"挨拶=おはよう\x0Bございます\r\n"));
        Write("ZORIVEN.ORD", "mail.txt\r\nmulti.txt\r\nBox\r\njp.txt\r\n");
    }
    void TearDown() override
    {
        for (PROCESS_INFORMATION* p : {&program_, &target_}) {
            if (!p->hProcess)
                continue;
            if (WaitForSingleObject(p->hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(p->hProcess, 1);
            CloseHandle(p->hProcess);
            CloseHandle(p->hThread);
        }
        gt::RemoveTree(library_);
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\VEXO");
    }
    void Write(const std::string& name, const std::string& bytes)
    {
        ASSERT_TRUE(gt::WriteBytes(In(name), bytes)) << name;
    }
    std::string In(const std::string& name) { return library_ + "\\" + name; }
    void Setting(const char* name, DWORD type, const void* data, DWORD size)
    {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VEXO\\ZORIVEN", 0,
                                                 NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
        RegSetValueExA(key, name, 0, type, (const BYTE*)data, size);
        RegCloseKey(key);
    }

    static bool Start(std::string line, PROCESS_INFORMATION* process)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, process))
            return false;
        WaitForInputIdle(process->hProcess, 10000);
        return true;
    }
    bool Launch()
    {
        if (!Start("\"" + gt::ProgramFolder() + "\\..\\zoriven.exe\" " + library_, &program_))
            return false;
        main_ = nullptr;
        WaitFor([&] { return (main_ = FindVisibleWindow(program_.dwProcessId, MAIN_CLASS_NAME)); });
        return main_ != NULL;
    }
    // The stand-in (or another program) in front, its edit focused.
    bool Target(const std::string& line, const char* className, const char* editClass = "Edit")
    {
        if (!Start(line, &target_))
            return false;
        WaitFor([&] { return (window_ = FindVisibleWindow(target_.dwProcessId, className)); });
        edit_ = window_ ? FindWindowExA(window_, NULL, editClass, NULL) : NULL;
        if (!edit_)
            return false;
        SetForegroundWindow(window_);
        return WaitFor([&] { return GetForegroundWindow() == window_; });
    }
    bool StandIn(const std::string& args = "")
    {
        const char* cls = args.empty() ? "PasteTarget" : "NoCtrlVTarget";
        return Target("\"" + gt::ProgramFolder() + "\\paste_target.exe\" " + args, cls);
    }
    std::string TargetText()
    {
        char text[1024] = "";
        DWORD_PTR ignored;
        SendMessageTimeoutA(edit_, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 2000,
                            &ignored);
        return text;
    }
    // The hot key (posted, or pressed for real), then the keys in the menu.
    bool Choose(std::vector<WORD> keys, bool shiftLast = false, bool realKey = false)
    {
        if (realKey) {
            Key(VK_CONTROL, false);
            Key(VK_MENU, false);
            Press('Z');
            Key(VK_MENU, true);
            Key(VK_CONTROL, true);
        } else {
            PostMessageA(main_, WM_HOTKEY, kHotKeyId, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'Z'));
        }
        if (!WaitFor([] { return FindVisibleWindow(0, "#32768") != NULL; }))
            return false;
        for (size_t i = 0; i < keys.size(); ++i)
            Press(keys[i], shiftLast && i + 1 == keys.size());
        return WaitFor([] { return FindVisibleWindow(0, "#32768") == NULL; });
    }

    std::string library_;
    PROCESS_INFORMATION program_ = {};
    PROCESS_INFORMATION target_ = {};
    HWND main_ = NULL, window_ = NULL, edit_ = NULL;
};

TEST_F(HotKeyTest, PastesTheChosenValueIntoTheWindowInFront)
{
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(StandIn());
    std::string expected;
    auto pasted = [&](const std::string& text) {
        expected += text;
        return WaitFor([&] { return TargetText() == expected; });
    };
    ASSERT_TRUE(Choose({'1'}));
    EXPECT_TRUE(pasted("hello")) << TargetText();
    ASSERT_TRUE(Choose({'2', '2'}));
    EXPECT_TRUE(pasted("two")) << TargetText();
    ASSERT_TRUE(Choose({'3', '1'}));
    EXPECT_TRUE(pasted("inside")) << TargetText();
    ASSERT_TRUE(Choose({'4'}));
    EXPECT_TRUE(pasted(gt::Sjis(u8"おはよう\r\nございます"))) << TargetText();
    ASSERT_TRUE(Choose({'1'}, false, true));
    EXPECT_TRUE(pasted("hello")) << TargetText();

    // Shift only copies: the clipboard takes the value, the target nothing.
    ASSERT_TRUE(Choose({VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}, true));
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == "one"; })) << ClipboardText();
    Sleep(300);
    EXPECT_EQ(expected, TargetText());
    EXPECT_EQ(window_, GetForegroundWindow());
}

// A class in the table gets its own keys (this target ignores Ctrl+V), and
// the clipboard gets its text back once the target has pasted.
TEST_F(HotKeyTest, UsesTheClassTableAndPutsTheClipboardBack)
{
    const char table[] = "NoCtrlVTarget=Shift+Insert;";
    Setting("PasteKeys", REG_SZ, table, sizeof table);
    DWORD on = 1;
    Setting("PasteRestore", REG_DWORD, &on, sizeof on);
    PutClipboardText("before");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(StandIn("NoCtrlVTarget noctrlv"));
    ASSERT_TRUE(Choose({'1'}));
    EXPECT_TRUE(WaitFor([&] { return TargetText() == "hello"; })) << TargetText();
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == "before"; })) << ClipboardText();
}

// More than a folder's menu holds: 200 rows, then a command that shows
// the folder in the main window.
TEST_F(HotKeyTest, LongFolderEndsWithShowAll)
{
    std::string order;
    for (int i = 0; i < 205; ++i) {
        std::string name = "Box\\n" + std::to_string(i) + ".txt";
        Write(name, "k=v\r\n");
        order += name.substr(4) + "\r\n";
    }
    Write("Box\\ZORIVEN.ORD", order);
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(StandIn());
    // Up from the first row of the group wraps to its last command.
    ASSERT_TRUE(Choose({'3', VK_UP, VK_RETURN}));
    HWND list = FindWindowExA(main_, NULL, WC_LISTVIEWA, NULL);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 206; }));   // and inner.txt
    EXPECT_EQ(main_, GetForegroundWindow());
    EXPECT_EQ("", TargetText());
}

TEST_F(HotKeyTest, KeyHeldByAnotherProgramIsNamedAndTheProgramRuns)
{
    ASSERT_TRUE(RegisterHotKey(NULL, 7, MOD_CONTROL | MOD_ALT, 'Z'));
    ASSERT_TRUE(Launch());
    HWND box = NULL;
    ASSERT_TRUE(WaitFor([&] { return (box = FindVisibleWindow(program_.dwProcessId, "#32770")); }));
    char text[512] = "";
    WaitFor([&] { return GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text) > 0; });
    EXPECT_NE(nullptr, strstr(text, "Ctrl+Alt+Z")) << text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    UnregisterHotKey(NULL, 7);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(program_.hProcess, 300));
    EXPECT_TRUE(IsWindow(main_));
}

// Wine's own notepad as the program in front.
TEST_F(HotKeyTest, PastesIntoNotepad)
{
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Target("notepad.exe", "Notepad"));
    ASSERT_TRUE(Choose({'4'}));
    EXPECT_TRUE(WaitFor([&] { return TargetText() == gt::Sjis(u8"おはよう\r\nございます"); }))
        << TargetText();
}
