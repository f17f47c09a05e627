// The attributes dialog, driven as a user would: what reaches the file
// after OK and after Cancel, and the shell's properties verb.
#include "guitest.h"

#include "ops/attributes.h"
#include "res/resource.h"

namespace {

struct ShellCall {
    int count = 0;
    std::string verb, file, parameters, directory;
    ULONG mask = 0;
    HWND owner = NULL;
    int show = 0;
};
ShellCall s_call;

BOOL WINAPI RecordShellExecuteEx(SHELLEXECUTEINFOA* info)
{
    ++s_call.count;
    s_call.verb = info->lpVerb ? info->lpVerb : "";
    s_call.file = info->lpFile ? info->lpFile : "";
    s_call.parameters = info->lpParameters ? info->lpParameters : "<null>";
    s_call.directory = info->lpDirectory ? info->lpDirectory : "<null>";
    s_call.mask = info->fMask;
    s_call.owner = info->hwnd;
    s_call.show = info->nShow;
    info->hProcess = NULL;
    return TRUE;
}

// A file system that keeps every bit: what was read, and what was written.
DWORD s_read;
DWORD s_written;
std::string s_writtenPath;
DWORD WINAPI FakeGet(LPCSTR) { return s_read; }
BOOL WINAPI FakeSet(LPCSTR path, DWORD bits)
{
    s_writtenPath = path;
    s_written = bits;
    return TRUE;
}

bool Checked(HWND d, int id) { return IsDlgButtonChecked(d, id) == BST_CHECKED; }

void Toggle(HWND d, int id)   // a click on a check box
{
    CheckDlgButton(d, id, Checked(d, id) ? BST_UNCHECKED : BST_CHECKED);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(d, id));
}

void Press(HWND d, int id)
{
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(d, id));
}

class AttributesTest : public gt::MainWindowTest {
protected:
    DWORD Attributes(const std::string& name) { return GetFileAttributesA(In(name).c_str()); }
    void Set(const std::string& name, DWORD bits) { SetFileAttributesA(In(name).c_str(), bits); }
    void TearDown() override
    {
        Set("a.txt", FILE_ATTRIBUTE_NORMAL);
        g_shellExecuteEx = ShellExecuteExA;
        g_getFileAttributes = GetFileAttributesA;
        g_setFileAttributes = SetFileAttributesA;
        gt::MainWindowTest::TearDown();
    }
};

TEST_F(AttributesTest, OkWritesExactlyTheCheckedBits)
{
    Item("a.txt");
    Set("a.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_TRUE(Start(folder_));
    Select(0);
    std::string name;
    boxes_.Drive([&](HWND d) {
        char text[64] = "";
        GetDlgItemTextA(d, IDC_ATTR_NAME, text, sizeof text);
        name = text;
        EXPECT_TRUE(Checked(d, IDC_ATTR_READONLY));
        EXPECT_TRUE(Checked(d, IDC_ATTR_ARCHIVE));
        EXPECT_FALSE(Checked(d, IDC_ATTR_HIDDEN));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_ATTR_SYSTEM)));
        Toggle(d, IDC_ATTR_READONLY);
        Toggle(d, IDC_ATTR_HIDDEN);
        Press(d, IDOK);
    });
    Command(CMD_ATTRIBUTES);
    EXPECT_EQ("a", name);
    EXPECT_EQ((DWORD)(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE), Attributes("a.txt"));
    // Hidden now, but the row stays until the folder is loaded again.
    EXPECT_EQ(std::vector<std::string>{"a"}, gt::RowNames());

    // The system bit cannot be changed and is written as it was; an
    // attribute the dialog does not show is cleared.
    s_read = FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_ARCHIVE;
    s_written = 0xFFFFFFFF;
    g_getFileAttributes = FakeGet;
    g_setFileAttributes = FakeSet;
    boxes_.Drive([&](HWND d) {
        EXPECT_TRUE(Checked(d, IDC_ATTR_SYSTEM));
        Press(d, IDOK);
    });
    Command(CMD_ATTRIBUTES);
    EXPECT_EQ(In("a.txt"), s_writtenPath);
    EXPECT_EQ((DWORD)(FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE), s_written);
}

TEST_F(AttributesTest, CancelAndPropertiesLeaveTheFileAlone)
{
    Item("a.txt");
    Set("a.txt", FILE_ATTRIBUTE_READONLY);
    DWORD before = Attributes("a.txt");
    ASSERT_TRUE(Start(folder_));
    Select(0);
    s_call = ShellCall();
    g_shellExecuteEx = RecordShellExecuteEx;
    HWND dialog = NULL;
    bool openAfterProperties = false;
    boxes_.Drive([&](HWND d) {
        dialog = d;
        Toggle(d, IDC_ATTR_READONLY);
        Toggle(d, IDC_ATTR_HIDDEN);
        Toggle(d, IDC_ATTR_ARCHIVE);
        Press(d, IDC_ATTR_PROPERTIES);
        openAfterProperties = IsWindowVisible(d) != FALSE;
        Press(d, IDCANCEL);
    });
    Command(CMD_ATTRIBUTES);
    EXPECT_EQ(before, Attributes("a.txt"));
    EXPECT_TRUE(before & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(openAfterProperties);
    EXPECT_EQ(1, s_call.count);
    EXPECT_EQ("properties", s_call.verb);
    EXPECT_EQ(In("a.txt"), s_call.file);
    EXPECT_EQ("", s_call.parameters);
    EXPECT_EQ("", s_call.directory);
    EXPECT_EQ((ULONG)(SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI),
              s_call.mask);
    EXPECT_EQ(dialog, s_call.owner);
    EXPECT_EQ(SW_SHOWNORMAL, s_call.show);
}

TEST_F(AttributesTest, VanishedFileReportsTheSystemsTextWithoutDialog)
{
    Item("gone.txt");
    ASSERT_TRUE(Start(folder_));
    Select(0);
    ASSERT_TRUE(DeleteFileA(In("gone.txt").c_str()));
    boxes_.Press(IDOK);
    Command(CMD_ATTRIBUTES);
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(gt::SystemText(ERROR_FILE_NOT_FOUND), boxes_.seen()[0].text);
    // No row selected: nothing at all.
    SelectNone();
    Command(CMD_ATTRIBUTES);
    EXPECT_EQ(1u, boxes_.seen().size());
}

}  // namespace
