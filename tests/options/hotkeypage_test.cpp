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

}  // namespace

using HotKeyPageTest = gt::MainWindowTest;

TEST_F(HotKeyPageTest, ShownRefusedAndStoredBesideTheOptionBlock)
{
    ASSERT_TRUE(Start(folder_));
    SendMessageA(g_hMainWnd, WM_ENDSESSION, TRUE, 0);
    unsigned char before[kOptionCount], after[kOptionCount];
    RegKey(REG_BASE_PATH, "ZORIVEN", true).ReadBinary("OptNum", before, sizeof before);
    boxes_.Drive([&](HWND d) {
        HWND p = NULL;
        EnumChildWindows(d, FindActionPage, (LPARAM)&p);
        ASSERT_TRUE(p);
        EXPECT_EQ(MAKEWORD('Z', kModCtrl | kModAlt),
                  SendDlgItemMessageA(p, IDC_ACT_HOTKEY, HKM_GETHOTKEY, 0, 0));
        EXPECT_TRUE(gt::Checked(p, IDC_ACT_HOTKEY_ON) && gt::Enabled(p, IDC_ACT_HOTKEY));
        EXPECT_FALSE(gt::Checked(p, IDC_ACT_RESTORE));
        EXPECT_EQ("ConsoleWindowClass=Shift+Insert", gt::ItemText(p, IDC_ACT_PASTE_KEYS));

        gt::SetItem(p, IDC_ACT_PASTE_KEYS, "Edit=Ctrl+V\r\nTerm=Shift+Hyper");
        gt::Send(d, IDOK);
        EXPECT_TRUE(IsWindowVisible(d));
        EXPECT_EQ(GetDlgItem(p, IDC_ACT_PASTE_KEYS), GetFocus());

        gt::SetItem(p, IDC_ACT_PASTE_KEYS, "Term=Ctrl+Shift+V\r\n");
        gt::Toggle(p, IDC_ACT_HOTKEY_ON);
        EXPECT_FALSE(gt::Enabled(p, IDC_ACT_HOTKEY));
        gt::Toggle(p, IDC_ACT_RESTORE);
        gt::Send(d, IDOK);
    });
    boxes_.Press(IDOK);
    Command(CMD_OPTIONS);
    ASSERT_EQ(2u, boxes_.seen().size());
    EXPECT_NE(std::string::npos, boxes_.seen()[1].text.find(gt::Text(u8"2 行目")))
        << boxes_.seen()[1].text;
    RegKey key(REG_BASE_PATH, "ZORIVEN", true);
    char table[64] = "";
    key.ReadString("PasteKeys", table, sizeof table);
    EXPECT_STREQ("Term=Ctrl+Shift+V;", table);
    EXPECT_EQ(1u, key.ReadDword("HotKeyOff"));
    EXPECT_EQ(1u, key.ReadDword("PasteRestore"));
    EXPECT_EQ(MAKEWORD('Z', kModCtrl | kModAlt), key.ReadDword("HotKey"));
    ASSERT_TRUE(key.ReadBinary("OptNum", after, sizeof after));
    EXPECT_EQ(0, memcmp(before, after, sizeof after));
}
