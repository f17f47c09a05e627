// The hot key as a user meets it: another program in front, the menu at
// its caret, a choice typed on the keyboard, the value in that program.
// zoriven.exe and the stand-in target each run in a process of their own.
#include <shlwapi.h>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "guitest.h"
#include "app/regkey.h"
#include "clip/copy.h"
#include "clip/history.h"
#include "res/resource.h"

namespace {

bool WaitFor(const std::function<bool()>& condition, int ms = 5000)
{
    for (int waited = 0; !condition(); waited += 20)
        if (waited >= ms)
            return false;
        else
            Sleep(20);
    return true;
}

// A top-level window of the class shown by the process (0: by any).
HWND FindVisibleWindow(DWORD pid, const char* className)
{
    for (HWND w = NULL; (w = FindWindowExA(NULL, w, className, NULL)) != NULL;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (IsWindowVisible(w) && (!pid || owner == pid))
            return w;
    }
    return NULL;
}

// A key pressed and let go with the keys held around it, then time for a
// submenu to open before the next.
void Press(WORD vk, std::vector<WORD> held = {})
{
    gt::Press(vk, held);
    Sleep(150);
}

std::string ClipboardText()
{
    if (!WaitFor([] { return OpenClipboard(NULL) != FALSE; }, 2000))
        return "<locked>";
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* bytes = data ? (const char*)GlobalLock(data) : nullptr;
    std::string text = bytes ? bytes : "<none>";
    if (bytes)
        GlobalUnlock(data);
    CloseClipboard();
    return text;
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
        for (PROCESS_INFORMATION* p : {&program_, &second_, &target_})
            Stop(p);
        gt::RemoveTree(library_);
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\VEXO");
    }
    // Ended, and its windows with it: a program still dying keeps its hot
    // key, and the next test's program would be told the key is taken.
    static void Stop(PROCESS_INFORMATION* p)
    {
        if (!p->hProcess)
            return;
        if (WaitForSingleObject(p->hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(p->hProcess, 1);
        WaitForSingleObject(p->hProcess, 10000);
        WaitFor([&] { return FindVisibleWindow(p->dwProcessId, NULL) == NULL; });
        Sleep(200);
        CloseHandle(p->hProcess);
        CloseHandle(p->hThread);
        *p = {};
    }
    void Write(const std::string& name, const std::string& bytes)
    {
        ASSERT_TRUE(gt::WriteBytes(In(name), bytes)) << name;
    }
    std::string In(const std::string& name) { return library_ + "\\" + name; }
    // A program started, and its visible window of the class.
    HWND Open(std::string line, PROCESS_INFORMATION* p, const char* className)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        HWND found = NULL;
        if (CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, p) &&
            WaitForInputIdle(p->hProcess, 10000) == 0)
            WaitFor([&] { return (found = FindVisibleWindow(p->dwProcessId, className)) != NULL; });
        return found;
    }
    bool Launch()
    {
        std::string line = "\"" + gt::ProgramFolder() + "\\..\\zoriven.exe\" " + library_;
        return (main_ = Open(line, &program_, MAIN_CLASS_NAME)) != NULL;
    }
    // The stand-in (or another program) in front, its edit focused.
    bool Target(const std::string& line, const char* className)
    {
        window_ = Open(line, &target_, className);
        edit_ = window_ ? FindWindowExA(window_, NULL, "Edit", NULL) : NULL;
        return edit_ && SetForegroundWindow(window_) &&
               WaitFor([&] { return GetForegroundWindow() == window_; });
    }
    bool StandIn(const std::string& args = "")
    {
        const char* cls = args.empty() ? "PasteTarget" : "NoCtrlVTarget";
        return Target("\"" + gt::ProgramFolder() + "\\paste_target.exe\" " + args, cls);
    }
    // The target's text as an ANSI program reads it: the system's code
    // page 932 bytes, whatever the form of ZORIVEN's own text.
    std::string TargetText()
    {
        char text[1024] = "";
        DWORD_PTR ignored;
        SendMessageTimeoutA(edit_, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 2000,
                            &ignored);
        return text;
    }
    std::wstring TargetWide()
    {
        wchar_t text[1024] = L"";
        DWORD_PTR ignored;
        SendMessageTimeoutW(edit_, WM_GETTEXT, 1024, (LPARAM)text, SMTO_ABORTIFHUNG, 2000, &ignored);
        return text;
    }
    // The hot key (posted, or pressed for real), then the keys in the menu.
    bool Choose(std::vector<WORD> keys, bool shiftLast = false, bool realKey = false)
    {
        auto press = [&] {
            if (realKey)
                Press('Z', {VK_CONTROL, VK_MENU});
            else
                PostMessageA(main_, WM_HOTKEY, kHotKeyId, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'Z'));
            return WaitFor([] { return FindVisibleWindow(0, "#32768") != NULL; });
        };
        // A press while the menu is open is ignored, so a second one is
        // safe; the log keeps what the program showed instead.
        if (!press()) {
            std::cerr << "no menu after 5 s; " << ProgramWindows() << "; pressing again\n";
            if (!press())
                return false;
        }
        for (size_t i = 0; i < keys.size(); ++i)
            Press(keys[i], shiftLast && i + 1 == keys.size() ? std::vector<WORD>{VK_SHIFT}
                                                              : std::vector<WORD>{});
        // A busy machine may take seconds over a group of 200 item files.
        return WaitFor([] { return FindVisibleWindow(0, "#32768") == NULL; }, 20000);
    }

    // The classes and titles of the program's visible windows.
    std::string ProgramWindows()
    {
        std::string found = "shown:";
        for (HWND w = NULL; (w = FindWindowExA(NULL, w, NULL, NULL)) != NULL;) {
            DWORD owner = 0;
            char cls[64] = "", title[256] = "";
            GetWindowThreadProcessId(w, &owner);
            GetClassNameA(w, cls, sizeof cls);
            GetWindowTextA(w, title, sizeof title);
            if (owner == program_.dwProcessId && IsWindowVisible(w))
                found += std::string(" ") + cls + " \"" + title + "\"";
        }
        return found;
    }

    std::string library_;
    PROCESS_INFORMATION program_ = {};
    PROCESS_INFORMATION target_ = {};
    PROCESS_INFORMATION second_ = {};
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
    // The first row is the history's submenu.
    ASSERT_TRUE(Choose({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}, true));
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == "one"; })) << ClipboardText();
    Sleep(300);
    EXPECT_EQ(expected, TargetText());
    EXPECT_EQ(window_, GetForegroundWindow());
}

// A class in the table gets its own keys (this target ignores Ctrl+V), and
// the clipboard gets its text back once the target has pasted.
TEST_F(HotKeyTest, UsesTheClassTableAndPutsTheClipboardBack)
{
    RegKey settings(REG_BASE_PATH, "ZORIVEN", false);
    settings.WriteString("PasteKeys", "NoCtrlVTarget=Shift+Insert;");
    settings.WriteDword("PasteRestore", 1);
    settings.Close();
    ASSERT_TRUE(SetClipboardText(NULL, "before"));
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(StandIn("NoCtrlVTarget noctrlv"));
    ASSERT_TRUE(Choose({'1'}));
    EXPECT_TRUE(WaitFor([&] { return TargetText() == "hello"; })) << TargetText();
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == "before"; })) << ClipboardText();
}

// More than a folder's menu holds: 200 rows, then a command that shows
// the folder in the main window.
// A library in a sync engine's folder: its marker folder and a file still
// arriving, even named first by an old order file, are no rows of the menu.
TEST_F(HotKeyTest, SyncEnginesEntriesAreNoRowsOfTheMenu)
{
    ASSERT_TRUE(CreateDirectoryA(In(".stfolder").c_str(), NULL));
    Write(".syncthing.new.txt.tmp", "k=arriving\r\n");
    Write("desktop.ini", "k=ini\r\n");
    Write("ZORIVEN.ORD", ".stfolder\r\n.syncthing.new.txt.tmp\r\ndesktop.ini\r\nmail.txt\r\n"
                         "multi.txt\r\nBox\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(StandIn());
    ASSERT_TRUE(Choose({'3', '1'}));
    EXPECT_TRUE(WaitFor([&] { return TargetText() == "inside"; })) << TargetText();
}

TEST_F(HotKeyTest, LongFolderEndsWithShowAll)
{
    std::string order;
    for (int i = 0; i < 205; order += "n" + std::to_string(i++) + ".txt\r\n")
        Write("Box\\n" + std::to_string(i) + ".txt", "k=v\r\n");
    Write("Box\\ZORIVEN.ORD", order);
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(StandIn());
    // Up from the first row of the group wraps to its last command.
    ASSERT_TRUE(Choose({'3', VK_UP, VK_RETURN}));
    HWND list = FindWindowExA(main_, NULL, WC_LISTVIEWA, NULL);
    // The group's 205 items and inner.txt.
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 206; }));
    EXPECT_EQ(main_, GetForegroundWindow());
    EXPECT_EQ("", TargetText());
}

TEST_F(HotKeyTest, KeyHeldByAnotherProgramIsNamedAndTheProgramRuns)
{
    ASSERT_TRUE(RegisterHotKey(NULL, 7, MOD_CONTROL | MOD_ALT, 'Z'));
    ASSERT_TRUE(Launch());
    HWND box = NULL;
    ASSERT_TRUE(WaitFor([&] { return (box = FindVisibleWindow(program_.dwProcessId, "#32770")); }));
    std::string text;
    WaitFor([&] { return !(text = gt::WindowText(GetDlgItem(box, 0xFFFF))).empty(); });
    EXPECT_NE(std::string::npos, text.find("Ctrl+Alt+Z")) << text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    UnregisterHotKey(NULL, 7);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(program_.hProcess, 300));
}

// The key is held by the first window, which is no other program: the
// second says nothing in a box, and its folder watch works at once.
TEST_F(HotKeyTest, ASecondWindowIsQuietAboutItsOwnHotKey)
{
    ASSERT_TRUE(Launch());
    std::string other = gt::MakeTempFolder();
    ASSERT_TRUE(gt::WriteBytes(other + "\\a.txt", "k=v\r\n"));
    std::string line = "\"" + gt::ProgramFolder() + "\\..\\zoriven.exe\" " + other;
    HWND second = Open(line, &second_, MAIN_CLASS_NAME);
    ASSERT_TRUE(second);
    HWND list = FindWindowExA(second, NULL, WC_LISTVIEWA, NULL);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));
    ASSERT_TRUE(gt::WriteBytes(other + "\\b.txt", "k=w\r\n"));
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 2; }));
    EXPECT_EQ(NULL, FindVisibleWindow(second_.dwProcessId, "#32770"));
    // The first window still has the key.
    ASSERT_TRUE(StandIn());
    ASSERT_TRUE(Choose({'1'}, false, true));
    EXPECT_TRUE(WaitFor([&] { return TargetText() == "hello"; })) << TargetText();
    Stop(&second_);
    gt::RemoveTree(other);
}

// Names of any script, in the order a UTF-8 order file gives, each row
// pasting its own file's text: café.txt and cafe.txt are two items.
TEST_F(HotKeyTest, NamesOfAnyScriptPasteTheirOwnText)
{
    Write(u8"😀 smile.txt", u8"\xEF\xBB\xBFk=笑顔 😀\r\n");
    Write(u8"café.txt", u8"\xEF\xBB\xBFk=café ☕\r\n");
    Write("cafe.txt", "k=plain\r\n");
    Write(u8"한국어.txt", gt::Sjis(u8"k=表\r\n"));
    Write("ZORIVEN.ORD", u8"\xEF\xBB\xBF😀 smile.txt\r\ncafé.txt\r\ncafe.txt\r\n한국어.txt\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(Target("notepad.exe", "Notepad"));
    const wchar_t* pasted[] = {L"笑顔 😀", L"café ☕", L"plain", L"表"};
    for (int i = 0; i < 4; ++i) {
        SendMessageW(edit_, WM_SETTEXT, 0, (LPARAM)L"");
        ASSERT_TRUE(Choose({(WORD)('1' + i)}));
        EXPECT_TRUE(WaitFor([&] { return TargetWide() == pasted[i]; })) << i;
    }
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

// What notepad copied is in the menu's 「履歴」, and pastes as a snippet does.
TEST_F(HotKeyTest, PastesAHistoryEntryIntoNotepad)
{
    char file[kPathCap];
    ASSERT_TRUE(HistoryFilePath(file, sizeof file));
    DeleteFileA(file);
    ASSERT_TRUE(Launch());
    {
        gt::Notepad source;
        ASSERT_TRUE(source.Copy(L"from the history\r\nline 2"));
        Sleep(500);   // recorded by the program, in its own process
    }
    ASSERT_TRUE(Target("notepad.exe", "Notepad"));
    ASSERT_TRUE(Choose({'H', '1'}));
    EXPECT_TRUE(WaitFor([&] { return TargetText() == "from the history\r\nline 2"; }))
        << TargetText();

    // With the option, the latest entries are the menu's first rows.
    ASSERT_TRUE(WaitFor([&] { return PathFileExistsA(file) != FALSE; }));
    Stop(&program_);
    RegKey settings(REG_BASE_PATH, "ZORIVEN", false);
    settings.WriteDword("HistoryAtTop", 1);
    settings.Close();
    ASSERT_TRUE(Launch());
    SendMessageA(edit_, WM_SETTEXT, 0, (LPARAM)"");
    ASSERT_TRUE(WaitFor([&] { return SetForegroundWindow(window_) && GetForegroundWindow() == window_; }));
    ASSERT_TRUE(Choose({VK_DOWN, VK_RETURN}));
    EXPECT_TRUE(WaitFor([&] { return TargetText() == "from the history\r\nline 2"; }))
        << TargetText();
}
