// The real zoriven.exe in a process of its own, driven only through
// window messages as another program (or the user) would drive it, then
// judged by what it leaves on disk and in the registry.
#include <shlwapi.h>

#include <functional>
#include <string>

#include "guitest.h"
#include "httpserver.h"
#include "res/resource.h"

namespace {

DWORD s_pid;
HWND s_found;

BOOL CALLBACK FindOwnWindow(HWND hwnd, LPARAM className)
{
    DWORD pid = 0;
    char name[32];
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s_pid && IsWindowVisible(hwnd) && GetClassNameA(hwnd, name, sizeof name) &&
        strcmp(name, (const char*)className) == 0) {
        s_found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Waits up to five seconds for condition; true when it came.
bool WaitFor(const std::function<bool()>& condition)
{
    for (int i = 0; i < 250; ++i) {
        if (condition())
            return true;
        Sleep(20);
    }
    return condition();
}

}  // namespace

class WholeProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\VEXO");
        library_ = gt::MakeTempFolder();
        ASSERT_FALSE(library_.empty());
    }
    void TearDown() override
    {
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        gt::RemoveTree(library_);
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\VEXO");
    }
    void Write(const std::string& name, const std::string& bytes)
    {
        ASSERT_TRUE(gt::WriteBytes(In(name), bytes)) << name;
    }
    std::string In(const std::string& name) { return library_ + "\\" + name; }

    bool Launch()
    {
        std::string line = "\"" + gt::ProgramFolder() + "\\..\\zoriven.exe\" " + library_;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process_))
            return false;
        s_pid = process_.dwProcessId;
        WaitForInputIdle(process_.hProcess, 10000);
        main_ = Find(MAIN_CLASS_NAME);
        list_ = main_ ? FindWindowExA(main_, NULL, WC_LISTVIEWA, NULL) : NULL;
        return list_ != NULL;
    }
    HWND Find(const char* className)
    {
        s_found = NULL;
        WaitFor([&] {
            EnumWindows(FindOwnWindow, (LPARAM)className);
            return s_found != NULL;
        });
        return s_found;
    }
    int Rows() { return (int)SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0); }
    int Selected() { return (int)SendMessageA(list_, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED); }
    HWND EditBox() { return (HWND)SendMessageA(list_, LVM_GETEDITCONTROL, 0, 0); }
    void Post(HWND to, UINT msg, WPARAM wParam) { PostMessageA(to, msg, wParam, 0); }
    // Answers the program's next message box; its text.
    std::string Answer(int button)
    {
        HWND box = Find("#32770");
        if (!box)
            return "<no box>";
        std::string text;
        WaitFor([&] { return !(text = gt::WindowText(GetDlgItem(box, 0xFFFF))).empty(); });
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        WaitFor([&] { return !IsWindow(box); });
        return text;
    }

    std::string library_;
    PROCESS_INFORMATION process_ = {};
    HWND main_ = NULL;
    HWND list_ = NULL;
};

TEST_F(WholeProgramTest, EditsTheLibraryAndKeepsItAfterClosing)
{
    Write("alpha.txt", "k=a\r\n");
    Write("beta.txt", "k=b\r\nurl=http://example/\r\n");
    ASSERT_TRUE(CreateDirectoryA(In("Box").c_str(), NULL));
    Write("Box\\inner.txt", "k=i\r\n");
    Write("ZORIVEN.ORD", "alpha.txt\r\nbeta.txt\r\nBox\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitFor([&] { return Rows() == 3; }));

    // New group: it opens for renaming; the name typed is the folder's.
    Post(main_, WM_COMMAND, CMD_NEW_GROUP);
    ASSERT_TRUE(WaitFor([&] { return EditBox() != NULL; }));
    EXPECT_TRUE(gt::PathIsFolder(In(gt::Text(u8"新しいグループ"))));
    SendMessageW(EditBox(), WM_SETTEXT, 0, (LPARAM)L"Notes");
    Post(EditBox(), WM_KEYDOWN, VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return gt::PathIsFolder(In("Notes")); }));
    EXPECT_FALSE(gt::PathIsFolder(In(gt::Text(u8"新しいグループ"))));

    // Up twice, from the last row to the second.
    Post(main_, WM_COMMAND, CMD_MOVE_UP);
    Post(main_, WM_COMMAND, CMD_MOVE_UP);
    EXPECT_TRUE(WaitFor([&] { return Selected() == 1; }));

    // Delete on the first row asks; No keeps it, Yes deletes it.
    Post(list_, WM_KEYDOWN, VK_HOME);
    ASSERT_TRUE(WaitFor([&] { return Selected() == 0; }));
    Post(list_, WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ(gt::Text(u8"「alpha」をごみ箱に移動しますか？"), Answer(IDNO));
    Post(list_, WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ(gt::Text(u8"「alpha」をごみ箱に移動しますか？"), Answer(IDYES));
    EXPECT_TRUE(WaitFor([&] { return Rows() == 3; }));

    // Into the group and back: Backspace selects it again.
    Post(list_, WM_KEYDOWN, VK_END);
    ASSERT_TRUE(WaitFor([&] { return Selected() == 2; }));
    Post(list_, WM_KEYDOWN, VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return Rows() == 1; }));
    Post(list_, WM_KEYDOWN, VK_BACK);
    ASSERT_TRUE(WaitFor([&] { return Rows() == 3 && Selected() == 2; }));

    Post(main_, WM_CLOSE, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process_.hProcess, 10000));
    DWORD code = 1;
    GetExitCodeProcess(process_.hProcess, &code);
    EXPECT_EQ(0u, code);

    EXPECT_EQ("<missing>", gt::ReadBytes(In("alpha.txt")));
    EXPECT_EQ("k=b\r\nurl=http://example/\r\n", gt::ReadBytes(In("beta.txt")));
    EXPECT_EQ("k=i\r\n", gt::ReadBytes(In("Box\\inner.txt")));
    EXPECT_TRUE(gt::FolderNames(In("Notes")).empty());
    EXPECT_EQ("Notes\r\nbeta.txt\r\nBox\r\n", gt::ReadBytes(In("ZORIVEN.ORD")));

    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\VEXO\\ZORIVEN", 0, KEY_READ, &key));
    char boot[MAX_PATH] = "";
    DWORD size = sizeof boot;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Boot", NULL, NULL, (BYTE*)boot, &size));
    // The folder given on the command line was for that run only.
    char item[MAX_PATH] = "";
    PathCanonicalizeA(item, (gt::ProgramFolder() + "\\..\\Item").c_str());
    EXPECT_EQ(std::string(item), boot);
    RECT pos = {};
    size = sizeof pos;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Pos", NULL, NULL, (BYTE*)&pos, &size));
    EXPECT_EQ(sizeof pos, size);
    EXPECT_LT(pos.left, pos.right);
    RegCloseKey(key);
}

// Enter on an item puts its value on the clipboard, where this process
// reads it; the start-up fetch goes out through the system's proxy (here
// this test's server, which never answers) and does not hold up the exit.
TEST_F(WholeProgramTest, CopiesOnEnterAndStopsTheStartUpFetchAtExit)
{
    gt::HttpServer server;
    ASSERT_TRUE(server.ok());
    gt::HttpReply never;
    never.hang = true;
    server.Serve("*", never);
    gt::LoopbackProxy proxy(server.port());
    Write("memo.txt", "k=line1\x0Bline2\r\n");
    ASSERT_TRUE(Launch());
    ASSERT_TRUE(WaitFor([&] { return !server.Requests().empty(); }));
    std::string request = server.Requests()[0];
    EXPECT_EQ(0u, request.find("GET http://www.vexoria.example")) << request;
    EXPECT_NE(std::string::npos, request.find("User-Agent: ZORIVEN")) << request;

    Post(list_, WM_KEYDOWN, VK_HOME);
    ASSERT_TRUE(WaitFor([&] { return Selected() == 0; }));
    Post(list_, WM_KEYDOWN, VK_RETURN);
    std::string copied;
    EXPECT_TRUE(WaitFor([&] {
        if (!OpenClipboard(NULL))
            return false;
        HGLOBAL block = GetClipboardData(CF_TEXT);
        const char* text = block ? (const char*)GlobalLock(block) : nullptr;
        copied = text ? text : "";
        if (text)
            GlobalUnlock(block);
        CloseClipboard();
        return copied == "line1\nline2";
    })) << copied;

    Post(main_, WM_CLOSE, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process_.hProcess, 10000));
    DWORD code = 1;
    GetExitCodeProcess(process_.hProcess, &code);
    EXPECT_EQ(0u, code);
}
