// The attributes dialog, driven as a user would: what reaches the file
// after OK and after Cancel, and the shell's properties verb.
#include "guitest.h"

#include "ops/attributes.h"
#include "res/resource.h"

namespace {

std::string s_shell;   // the properties calls, one line each
BOOL RecordProperties(HWND owner, const char* path)
{
    s_shell += std::string(path) + "|" + (GetWindow(owner, GW_OWNER) == g_hMainWnd ? "1" : "0") + ";";
    return TRUE;
}

// A file system that keeps every bit, which Wine's does not.
DWORD s_read, s_written;
DWORD FakeGet(const char*) { return s_read; }
BOOL FakeSet(const char*, DWORD bits) { return s_written = bits, TRUE; }

using gt::Checked;
using gt::Toggle;
void Press(HWND d, int id) { gt::Send(d, id); }

class AttributesTest : public gt::MainWindowTest {
protected:
    ShowPropertiesFn properties_ = g_showProperties;
    GetFileAttributesFn get_ = g_getFileAttributes;
    SetFileAttributesFn set_ = g_setFileAttributes;
    DWORD Attributes() { return GetFileAttributesA(In("a.txt").c_str()); }
    void TearDown() override
    {
        SetFileAttributesA(In("a.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        g_showProperties = properties_;
        g_getFileAttributes = get_;
        g_setFileAttributes = set_;
        gt::MainWindowTest::TearDown();
    }
};

TEST_F(AttributesTest, OkWritesExactlyTheCheckedBits)
{
    Item("a.txt");
    SetFileAttributesA(In("a.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_TRUE(Start(folder_));
    Select(0);
    std::string name;
    boxes_.Drive([&](HWND d) {
        name = gt::ItemText(d, IDC_ATTR_NAME);
        EXPECT_TRUE(Checked(d, IDC_ATTR_READONLY) && Checked(d, IDC_ATTR_ARCHIVE));
        EXPECT_FALSE(Checked(d, IDC_ATTR_HIDDEN));
        EXPECT_FALSE(gt::Enabled(d, IDC_ATTR_SYSTEM));
        Toggle(d, IDC_ATTR_READONLY);
        Toggle(d, IDC_ATTR_HIDDEN);
        Press(d, IDOK);
    });
    Command(CMD_ATTRIBUTES);
    EXPECT_EQ("a", name);
    EXPECT_EQ((DWORD)(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE), Attributes());

    // The system bit is written as it was; a bit the dialog does not show
    // is cleared.
    s_read = FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_ARCHIVE;
    g_getFileAttributes = FakeGet;
    g_setFileAttributes = FakeSet;
    boxes_.Drive([&](HWND d) {
        EXPECT_TRUE(Checked(d, IDC_ATTR_SYSTEM));
        Press(d, IDOK);
    });
    Command(CMD_ATTRIBUTES);
    EXPECT_EQ((DWORD)(FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE), s_written);
}

TEST_F(AttributesTest, CancelAndPropertiesLeaveTheFileAloneAVanishedOneIsReported)
{
    Item("a.txt");
    SetFileAttributesA(In("a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    DWORD before = Attributes();
    ASSERT_TRUE(Start(folder_));
    Select(0);
    s_shell.clear();
    g_showProperties = RecordProperties;
    bool openAfterProperties = false;
    boxes_.Drive([&](HWND d) {
        Toggle(d, IDC_ATTR_READONLY);
        Toggle(d, IDC_ATTR_HIDDEN);
        Press(d, IDC_ATTR_PROPERTIES);
        openAfterProperties = IsWindowVisible(d) != FALSE;
        Press(d, IDCANCEL);
    });
    Command(CMD_ATTRIBUTES);
    EXPECT_EQ(before, Attributes());
    EXPECT_TRUE(openAfterProperties);
    // Owned by the dialog, which the main window owns.
    EXPECT_EQ(In("a.txt") + "|1;", s_shell);

    // The file gone: the system's text, no dialog; no row selected: nothing.
    SetFileAttributesA(In("a.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(DeleteFileA(In("a.txt").c_str()));
    boxes_.Clear();
    boxes_.Press(IDOK);
    Command(CMD_ATTRIBUTES);
    SelectNone();
    Command(CMD_ATTRIBUTES);
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(gt::SystemText(ERROR_FILE_NOT_FOUND), boxes_.seen()[0].text);
}

}  // namespace
