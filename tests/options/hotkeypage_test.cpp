// The hot-key controls of the page "動作": shown from the settings, a paste
// table that does not read refused with its line named, the rest stored in
// values of their own beside OptNum.
#include "guitest.h"

#include "app/hotkeytext.h"
#include "app/regkey.h"
#include "res/resource.h"

namespace {

BOOL CALLBACK FindActionPage(HWND child, LPARAM page)
{
    if (GetDlgItem(child, IDC_ACT_HOTKEY))
        *(HWND*)page = child;
    return TRUE;
}

std::string Stored(const char* name)
{
    RegKey key(REG_BASE_PATH, "ZORIVEN", true);
    BYTE bytes[2048];
    DWORD size = sizeof bytes;
    if (!key.key || RegQueryValueExA(key.key, name, NULL, NULL, bytes, &size) != ERROR_SUCCESS)
        return "<none>";
    return std::string((const char*)bytes, size);
}

}  // namespace

using HotKeyPageTest = gt::MainWindowTest;

TEST_F(HotKeyPageTest, ShownRefusedAndStoredBesideTheOptionBlock)
{
    ASSERT_TRUE(Start(folder_));
    SendMessageA(g_hMainWnd, WM_ENDSESSION, TRUE, 0);
    std::string block = Stored("OptNum");
    boxes_.Drive([&](HWND d) {
        HWND p = NULL;
        EnumChildWindows(d, FindActionPage, (LPARAM)&p);
        ASSERT_TRUE(p);
        EXPECT_EQ(MAKEWORD('Z', kModCtrl | kModAlt),
                  SendDlgItemMessageA(p, IDC_ACT_HOTKEY, HKM_GETHOTKEY, 0, 0));
        EXPECT_TRUE(gt::Checked(p, IDC_ACT_HOTKEY_ON) && gt::Enabled(p, IDC_ACT_HOTKEY));
        EXPECT_FALSE(gt::Checked(p, IDC_ACT_RESTORE));
        EXPECT_EQ("ConsoleWindowClass=Shift+Insert", gt::ItemText(p, IDC_ACT_PASTE_KEYS));

        SetDlgItemTextA(p, IDC_ACT_PASTE_KEYS, "Edit=Ctrl+V\r\nTerm=Shift+Hyper");
        gt::Send(d, IDOK);
        EXPECT_TRUE(IsWindowVisible(d));
        EXPECT_EQ(GetDlgItem(p, IDC_ACT_PASTE_KEYS), GetFocus());

        SetDlgItemTextA(p, IDC_ACT_PASTE_KEYS, "Term=Ctrl+Shift+V\r\n");
        gt::Toggle(p, IDC_ACT_HOTKEY_ON);
        EXPECT_FALSE(gt::Enabled(p, IDC_ACT_HOTKEY));
        gt::Toggle(p, IDC_ACT_RESTORE);
        gt::Send(d, IDOK);
    });
    boxes_.Press(IDOK);
    Command(CMD_OPTIONS);
    ASSERT_EQ(2u, boxes_.seen().size());
    EXPECT_NE(std::string::npos, boxes_.seen()[1].text.find(gt::Sjis(u8"2 行目")))
        << boxes_.seen()[1].text;
    EXPECT_STREQ("Term=Ctrl+Shift+V;", g_app->hotKey.pasteKeys);
    EXPECT_EQ(std::string("Term=Ctrl+Shift+V;") + '\0', Stored("PasteKeys"));
    EXPECT_EQ(std::string("\1\0\0\0", 4), Stored("HotKeyOff"));
    EXPECT_EQ(std::string("\1\0\0\0", 4), Stored("PasteRestore"));
    EXPECT_EQ(std::string("Z\6\0\0", 4), Stored("HotKey"));
    EXPECT_EQ(block, Stored("OptNum"));
}
