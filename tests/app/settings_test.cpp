// Settings against the real registry of the test's own Wine prefix.
#include <string>
#include <vector>

#include "guitest.h"
#include "app/regkey.h"
#include "app/settings.h"
#include "res/resource.h"

#include <shlwapi.h>

using gt::MainWindowTest;

namespace {

const char kKey[] = "Software\\VEXO\\ZORIVEN";

struct Stored {
    DWORD type = 0;
    std::vector<unsigned char> bytes;
    bool present = false;
};

Stored Query(const char* name)
{
    Stored s;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return s;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, NULL, &s.type, NULL, &size) == ERROR_SUCCESS) {
        s.bytes.resize(size);
        s.present = RegQueryValueExA(key, name, NULL, &s.type, s.bytes.data(), &size) ==
                    ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return s;
}

void Store(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_ALL_ACCESS,
                                             NULL, &key, NULL));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, (const BYTE*)data, size));
    RegCloseKey(key);
}

void StoreString(const char* name, const std::string& text)
{
    Store(name, REG_SZ, text.c_str(), (DWORD)text.size() + 1);
}

std::string AsString(const Stored& s)
{
    return std::string(s.bytes.begin(), s.bytes.end());
}

}  // namespace

class SettingsTest : public MainWindowTest {};

TEST_F(SettingsTest, FirstRunCreatesTheKeyAndExitSavesEveryValue)
{
    ASSERT_TRUE(Start(folder_));
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key));
    RegCloseKey(key);
    EXPECT_EQ(1, g_app->options[ExcludeExt]);
    for (int i = 1; i < kOptionCount; ++i)
        EXPECT_EQ(0, g_app->options[i]) << "byte " << i;
    EXPECT_STREQ("exe;dll;com;pif;bak", g_app->excludedExt);
    EXPECT_STREQ("Notepad.exe", g_app->editorPath);
    EXPECT_STREQ("", g_app->browserPath);
    RECT rect;
    GetWindowRect(g_hMainWnd, &rect);
    Close();

    Stored ver = Query("Ver");
    EXPECT_EQ((DWORD)REG_SZ, ver.type);
    EXPECT_EQ(std::string("0.23", 5), AsString(ver));
    EXPECT_EQ(gt::ProgramFolder() + "\\Item" + '\0', AsString(Query("Boot")));   // not the command line's
    Stored options = Query("OptNum");
    EXPECT_EQ((DWORD)REG_BINARY, options.type);
    ASSERT_EQ(64u, options.bytes.size());
    EXPECT_EQ(1, options.bytes[0]);
    EXPECT_EQ(std::string("Notepad.exe", 12), AsString(Query("Edit")));
    EXPECT_EQ(std::string("exe;dll;com;pif;bak", 20), AsString(Query("Ext")));
    Stored browser = Query("Browser");
    EXPECT_TRUE(browser.present);
    EXPECT_EQ(std::string(1, '\0'), AsString(browser));
    Stored pos = Query("Pos");
    EXPECT_EQ((DWORD)REG_BINARY, pos.type);
    ASSERT_EQ(16u, pos.bytes.size());
    EXPECT_EQ(0, memcmp(&rect, pos.bytes.data(), 16));
}

TEST_F(SettingsTest, OptionBlockReads)
{
    unsigned char zeros[64] = {};
    Store("OptNum", REG_BINARY, zeros, sizeof zeros);
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ(0, g_app->options[ExcludeExt]);
    Close();

    // Longer (a later version's block): its first 64 bytes are the options.
    unsigned char longer[70];
    memset(longer, 0xEE, sizeof longer);
    longer[kOptionCount] = 0x11;
    Store("OptNum", REG_BINARY, longer, sizeof longer);
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ(std::string(kOptionCount, '\xEE'), std::string((char*)g_app->options, kOptionCount));
    Close();

    unsigned char shorter[3] = {0, 1, 2};
    Store("OptNum", REG_BINARY, shorter, sizeof shorter);
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ(0, g_app->options[ExcludeExt]);
    EXPECT_EQ(1, g_app->options[ExcludeHidden]);
    EXPECT_EQ(2, g_app->options[2]);
    EXPECT_EQ(0, g_app->options[3]);
}

TEST_F(SettingsTest, ReservedBytesSurviveASave)
{
    unsigned char block[64] = {};
    block[DropAction] = DropAsk;
    block[2] = 0x5A;
    block[12] = 7;
    block[63] = 0xFF;
    Store("OptNum", REG_BINARY, block, sizeof block);
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ(DropAsk, g_app->options[DropAction]);
    Close();
    Stored saved = Query("OptNum");
    ASSERT_EQ(64u, saved.bytes.size());
    EXPECT_EQ(0, memcmp(block, saved.bytes.data(), 64));
}

TEST_F(SettingsTest, EmptyStringsComeBackAsDefaults)
{
    StoreString("Ext", "");
    StoreString("Edit", "");
    StoreString("Browser", "");
    ASSERT_TRUE(Start(folder_));
    EXPECT_STREQ("exe;dll;com;pif;bak", g_app->excludedExt);
    EXPECT_STREQ("Notepad.exe", g_app->editorPath);
    EXPECT_STREQ("", g_app->browserPath);
}

TEST_F(SettingsTest, OverLongStrings)
{
    // The list keeps its whole extensions that fit; a path that does not
    // fit is dropped rather than cut into the name of some other program
    // or folder.
    std::string list;
    for (int i = 0; i < 1000; ++i)
        list += "abcd;";
    StoreString("Ext", list);
    StoreString("Edit", std::string(259, 'e'));
    StoreString("Browser", std::string(260, 'b'));
    StoreString("Boot", folder_ + "\\" + std::string(300, 'd'));
    ASSERT_TRUE(Start(""));
    EXPECT_EQ(list.substr(0, 1020), g_app->excludedExt);
    EXPECT_EQ(std::string(259, 'e'), g_app->editorPath);
    EXPECT_STREQ("", g_app->browserPath);
    EXPECT_EQ(gt::ProgramFolder() + "\\Item", g_app->rootFolder);
    EXPECT_EQ(g_app->rootFolder, std::string(g_app->bootFolder));
    boxes_.Drive([](HWND d) { gt::ClickButton(d, IDOK); });   // taken as it is
    Command(CMD_OPTIONS);
    EXPECT_EQ(1u, boxes_.seen().size());
    Close();

    StoreString("Ext", std::string(2000, 'x'));   // no whole extension at all
    ASSERT_TRUE(Start(""));
    EXPECT_STREQ("exe;dll;com;pif;bak", g_app->excludedExt);
}

TEST_F(SettingsTest, WrongValueTypesDoNotCrash)
{
    DWORD number = 0x41424344;
    Store("Boot", REG_DWORD, &number, sizeof number);
    Store("OptNum", REG_SZ, "abc", 4);
    Store("Pos", REG_DWORD, &number, sizeof number);
    // A string stored without its terminator still ends in the buffer.
    Store("Edit", REG_BINARY, "vi.exe", 6);
    Store("Ext", REG_MULTI_SZ, "a\0b\0", 5);
    ASSERT_TRUE(Start(folder_));
    EXPECT_STREQ("vi.exe", g_app->editorPath);
    EXPECT_STREQ("a", g_app->excludedExt);
    EXPECT_EQ('a', g_app->options[0]);
}

TEST_F(SettingsTest, SavedRectanglePlacesTheWindow)
{
    RECT saved = {40, 50, 640, 470};
    Store("Pos", REG_BINARY, &saved, sizeof saved);
    ASSERT_TRUE(Start(folder_));
    RECT rect;
    GetWindowRect(g_hMainWnd, &rect);
    EXPECT_EQ(40, rect.left);
    EXPECT_EQ(50, rect.top);
    EXPECT_EQ(600, rect.right - rect.left);
    EXPECT_EQ(420, rect.bottom - rect.top);
    Close();

    // What a minimised window stored: the system places the window.
    RECT offscreen = {-32000, -32000, -31840, -31970};
    Store("Pos", REG_BINARY, &offscreen, sizeof offscreen);
    ASSERT_TRUE(Start(folder_));
    GetWindowRect(g_hMainWnd, &rect);
    EXPECT_GE(rect.left, 0);
    EXPECT_GT(rect.right - rect.left, 160);
}

TEST_F(SettingsTest, EndOfSessionSaves)
{
    ASSERT_TRUE(Start(folder_));
    g_app->options[AutoTitle] = 1;
    SendMessageA(g_hMainWnd, WM_ENDSESSION, TRUE, 0);
    Stored options = Query("OptNum");
    ASSERT_EQ(64u, options.bytes.size());
    EXPECT_EQ(1, options.bytes[AutoTitle]);
    EXPECT_TRUE(Query("Pos").present);
}

TEST(RegKeyTest, ReadsAndWritesUnderTheBaseKey)
{
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\VEXO");
    {
        RegKey missing(REG_BASE_PATH, "ZORIVEN\\Nothing", true);
        EXPECT_EQ(NULL, missing.key);
        EXPECT_EQ(0u, missing.ReadDword("Cnt"));
        EXPECT_FALSE(missing.WriteDword("Cnt", 1));
    }
    RegKey reg(REG_BASE_PATH, "ZORIVEN\\Dir", false);
    ASSERT_NE((HKEY)NULL, reg.key);
    EXPECT_TRUE(reg.WriteDword("Cnt", 3));
    EXPECT_EQ(3u, reg.ReadDword("Cnt"));
    EXPECT_EQ(0u, reg.ReadDword("Cur"));
    EXPECT_TRUE(reg.WriteString("0", NULL, true));
    char text[8] = "x";
    EXPECT_EQ(0, reg.ReadString("0", text, sizeof text));
    EXPECT_TRUE(reg.WriteString("1", "12345678901"));
    EXPECT_EQ(7, reg.ReadString("1", text, sizeof text));
    EXPECT_STREQ("1234567", text);
    unsigned char data[4] = {9, 9, 9, 9};
    EXPECT_FALSE(reg.ReadBinary("1", data, sizeof data));   // 12 bytes stored
    EXPECT_EQ(9, data[0]);
    reg.Close();
    RegKey parent(REG_BASE_PATH, "ZORIVEN", false);
    EXPECT_TRUE(parent.DeleteSubKey("Dir"));
    RegKey gone(REG_BASE_PATH, "ZORIVEN\\Dir", true);
    EXPECT_EQ(NULL, gone.key);
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\VEXO");
}
