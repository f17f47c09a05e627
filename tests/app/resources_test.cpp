// The resources as the program loads them under code page 932.
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "guitest.h"
#include "res/resource.h"

using gt::Sjis;

namespace {
std::string LoadText(UINT id)
{
    char text[1024];
    int n = LoadStringA(g_hInstance, id, text, sizeof text);
    return n > 0 ? std::string(text, n) : std::string();
}

// "text|id|flags" per item, popups as "{" ... "}", separators as "-".
void DumpMenu(HMENU menu, std::string& out)
{
    int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        char text[256] = "";
        MENUITEMINFOA info;
        memset(&info, 0, sizeof info);
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, (UINT)i, TRUE, &info);
        if (info.fType & MFT_SEPARATOR) {
            out += "-\n";
        } else if (info.hSubMenu) {
            out += std::string(text) + "{\n";
            DumpMenu(info.hSubMenu, out);
            out += "}\n";
        } else {
            out += std::string(text) + "|" + std::to_string(info.wID) +
                   ((info.fState & MFS_CHECKED) ? "|checked" : "") + "\n";
        }
    }
}

std::string MenuText(int id)
{
    HMENU menu = LoadMenuA(g_hInstance, MAKEINTRESOURCEA(id));
    std::string out;
    if (menu) {
        DumpMenu(menu, out);
        DestroyMenu(menu);
    }
    return out;
}
}  // namespace

TEST(Resources, StringsAreShiftJis)
{
    EXPECT_EQ(932u, GetACP());
    EXPECT_EQ(std::string("\x8a\x6d\x94\x46"), LoadText(IDS_CONFIRM));   // 確認
    EXPECT_EQ(std::string("\x8d\x80\x96\xda"), LoadText(IDS_COLUMN));    // 項目
    EXPECT_EQ(Sjis(u8"「%s」を\n起動時のフォルダに設定しますか？"), LoadText(IDS_ASK_BOOT));
    EXPECT_EQ(Sjis(u8"「%s%s」に追加しますか？\n\n追加なら「はい」を、新規作成なら「いいえ」を、\n"
                   u8"中止するなら「キャンセル」を選択してください。"),
              LoadText(IDS_ASK_APPEND));
    EXPECT_EQ(Sjis(u8"不正なファイル名です。\n名前には次の文字は使えません:\n\\ / : * ? \" < > |"), LoadText(IDS_BAD_NAME));
    EXPECT_EQ(Sjis(u8"ウィンドウを通常のサイズに戻す"), LoadText(61728));
    EXPECT_EQ(Sjis(u8"ツールバーの表示／非表示の切り替え"), LoadText(CMD_TOOLBAR));
}

TEST(Resources, EveryCommandHasHelpAndEveryButtonATooltip)
{
    const UINT commands[] = {1001, 1003, 1005, 1007, 1009, 1011, 1013, 1021, 1023, 1025,
                             1027, 1031, 1032, 1033, 1035, 1037, 1038, 1039, 1040, 1061,
                             1062, 1067, 1069, 1070, 1091, 1093, 1095, 4201, 4202, 4203, 4204};
    for (UINT id : commands)
        EXPECT_FALSE(LoadText(id).empty()) << id;
    const UINT buttons[] = {1031, 1033, 1001, 1007, 1009, 1013, 1069, 1021, 1023, 1035};
    for (UINT id : buttons)
        EXPECT_FALSE(LoadText(TOOLTIP_BASE + id).empty()) << id;
    const UINT messages[] = {20001, 20011, 20013, 20015, 20017, 20019, 20021, 20023,
                             21001, 21003, 21007, 21009, 21011, 21013, 22001,
                             22002, 22003, 22011, 22012, 22013, 25101, 25103, 25105,
                             25107, 25109, 25111, 61440, 61456, 61472, 61488, 61504, 61520, 61536,
                             61728, 61744};
    for (UINT id : messages)
        EXPECT_FALSE(LoadText(id).empty()) << id;
}

TEST(Resources, MenuBarAndContextMenus)
{
    EXPECT_EQ(Sjis(u8"項目(&I){\n新規作成(&N){\nグループ(&G)\tCtrl+G|1003\nデータ(&T)...\tCtrl+N|1001\n}\n"
                   u8"名前変更(&M)\tCtrl+R|1005\n編集(&E)...\tCtrl+E|1007\n削除(&D)...\tDel|1009\n"
                   u8"属性変更(&A)...\tCtrl+A|1011\n複製作成(&L)\tCtrl+L|1013\n-\n上へ(&U)\tCtrl+P|1021\n"
                   u8"下へ(&W)\tCtrl+D|1023\n移動(&V)...\tCtrl+M|1025\n-\n終了(&X)\tAlt+X|1027\n}\n"
                   u8"編集(&E){\nコピー(&C)\tCtrl+C|1031\n貼り付け(&P)\tCtrl+V|1032\n-\n"
                   u8"ブラウザに通知(&B)\tCtrl+U|1033\n-\n検索(&K)\tCtrl+K|1041\n"
             u8"全体を検索(&L)...\tCtrl+Shift+K|1042\n-\n上の階層へ(&U)\tBS|1035\n"
                   u8"フォルダの移動/設定(&F)...\tCtrl+F|1037\n更新して保存(&S)|1038\n-\n"
                   u8"エディタの起動(&T)\tCtrl+B|1039\nエクスプローラの起動(&X)|1040\n}\n"
                   u8"表示(&V){\nツールバー(&T)|1061|checked\nステータスバー(&S)|1062|checked\n-\n"
                   u8"情報(&I)\tCtrl+I|1067\n-\n履歴(&H)\tCtrl+H|4201\n"
                   u8"ライブラリに保存(&L)\tCtrl+S|4203\n保存先を選んで保存(&F)...\tCtrl+Shift+S|4204\n"
                   u8"履歴を消去(&E)...|4202\n-\n更新(&R)\tF5|1069\n-\nオプション(&O)...\tCtrl+O|1070\n}\n"
                   u8"ヘルプ(&H){\nヘルプ表示(&H)\tF1|1091\n-\nホームページへ(&W)|1093\n-\n"
                   u8"バージョン情報(&A)|1095\n}\n"),
              MenuText(IDM_MAIN));
    std::string row = MenuText(IDM_ROWMENU);
    EXPECT_NE(std::string::npos,
              row.find(Sjis(u8"{\n名前変更(&M)\tCtrl+R|1005\n編集(&E)...\tCtrl+E|1007\n"
                            u8"削除(&D)...\tDel|1009\n属性変更(&A)...\tCtrl+A|1011\n"
                            u8"複製作成(&L)\tCtrl+L|1013\n-\nエディタの起動(&T)\tCtrl+B|1039\n"
                            u8"エクスプローラの起動(&X)|1040\n移動(&V)...\tCtrl+M|1025\n-\n"
                            u8"コピー(&C)\tCtrl+C|1031\nブラウザに通知(&B)\tCtrl+U|1033\n-\n"
                            u8"更新(&R)\tF5|1069\n}\n")))
        << row;
    std::string list = MenuText(IDM_LISTMENU);
    EXPECT_NE(std::string::npos,
              list.find(Sjis(u8"{\n新規作成(&N){\nグループ(&G)\tCtrl+G|1003\nデータ(&T)...\tCtrl+N|1001\n}\n"
                             u8"-\n上の階層へ(&U)\tBS|1035\nフォルダの移動/設定(&F)...\tCtrl+F|1037\n"
                             u8"エクスプローラの起動(&X)|1040\n-\n更新(&R)\tF5|1069\n}\n")))
        << list;
}

TEST(Resources, AcceleratorTable)
{
    HACCEL table = LoadAcceleratorsA(g_hInstance, MAKEINTRESOURCEA(IDA_MAIN));
    ASSERT_TRUE(table);
    ACCEL keys[64];
    int n = CopyAcceleratorTableA(table, keys, 64);
    std::vector<std::string> got;
    for (int i = 0; i < n; ++i) {
        std::string mods;
        if (keys[i].fVirt & FCONTROL) mods += "C";
        if (keys[i].fVirt & FALT) mods += "A";
        if (keys[i].fVirt & FSHIFT) mods += "S";
        EXPECT_TRUE(keys[i].fVirt & FVIRTKEY);
        got.push_back(mods + "+" + std::to_string(keys[i].key) + "=" + std::to_string(keys[i].cmd));
    }
    std::vector<std::string> want = {
        "C+78=1001", "C+71=1003", "C+82=1005", "C+69=1007", "S+46=1009", "C+65=1011",
        "C+76=1013", "C+80=1021", "C+68=1023", "C+77=1025", "A+88=1027", "C+67=1031",
        "C+86=1032", "C+85=1033", "S+8=1035",  "C+70=1037", "C+66=1039", "C+73=1067",
        "+116=1069", "C+79=1070", "+112=1091", "C+75=1041", "+114=1041", "CS+75=1042",
        "C+72=4201", "C+83=4203", "CS+83=4204"};
    EXPECT_EQ(want, got);
}

TEST(Resources, PicturesHaveTheirSizesAndMask)
{
    BITMAP bm;
    HBITMAP toolbar = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_TOOLBAR));
    ASSERT_TRUE(toolbar);
    GetObjectA(toolbar, sizeof bm, &bm);
    EXPECT_EQ(176, bm.bmWidth);
    EXPECT_EQ(16, bm.bmHeight);
    DeleteObject(toolbar);

    HBITMAP rows = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_ROWS));
    ASSERT_TRUE(rows);
    GetObjectA(rows, sizeof bm, &bm);
    EXPECT_EQ(64, bm.bmWidth);
    EXPECT_EQ(16, bm.bmHeight);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, rows);
    for (int image = 0; image < 4; ++image)
        EXPECT_EQ(RGB(128, 0, 0), GetPixel(dc, image * 16, 0)) << "mask corner of image " << image;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(rows);

    // The icon group: 48, 32 and 16 pixels in 32-bit colour (alpha), and
    // 32 and 16 in 16 colours for old displays.
    HRSRC group = FindResourceA(g_hInstance, MAKEINTRESOURCEA(IDI_MAIN), (LPCSTR)RT_GROUP_ICON);
    ASSERT_TRUE(group);
    const BYTE* dir = (const BYTE*)LockResource(LoadResource(g_hInstance, group));
    ASSERT_TRUE(dir);
    int count = dir[4] | (dir[5] << 8);
    std::vector<std::string> images;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = dir + 6 + 14 * i;
        images.push_back(std::to_string(entry[0]) + "x" + std::to_string(entry[6] | (entry[7] << 8)));
    }
    std::sort(images.begin(), images.end());
    EXPECT_EQ((std::vector<std::string>{"16x32", "16x4", "32x32", "32x4", "48x32"}), images);
}

// The manifest parses as the system's loader reads it, and this program,
// which carries it too, loads comctl32 from the version 6 assembly.
TEST(Resources, ManifestRunsAsInvokerOnCommonControls6ForWindows7To11)
{
    HRSRC found = FindResourceW(g_hInstance, MAKEINTRESOURCEW(IDR_MANIFEST), RT_MANIFEST);
    ASSERT_TRUE(found);
    std::string xml((const char*)LockResource(LoadResource(g_hInstance, found)),
                    SizeofResource(g_hInstance, found));
    for (const char* part :
         {"level=\"asInvoker\" uiAccess=\"false\"", "\"Microsoft.Windows.Common-Controls\"",
          "version=\"6.0.0.0\"", "version=\"" PRODUCT_VERSION ".0.0\"",
          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(std::string::npos, xml.find(part)) << part;
    char module[MAX_PATH] = "";
    GetModuleFileNameA(g_hInstance, module, sizeof module);
    ACTCTXA request = {sizeof request, ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID,
                       module, 0, 0, NULL, MAKEINTRESOURCEA(IDR_MANIFEST), NULL, g_hInstance};
    HANDLE context = CreateActCtxA(&request);
    EXPECT_NE(INVALID_HANDLE_VALUE, context) << GetLastError();
    ReleaseActCtx(context);
    // The side-by-side folder: <arch>_microsoft.windows.common-controls_<key>_6.0.<build>_...
    GetModuleFileNameA(GetModuleHandleA("COMCTL32.DLL"), module, sizeof module);
    CharLowerA(module);
    EXPECT_TRUE(strstr(module, "microsoft.windows.common-controls_6595b64144ccf1df_6.0."))
        << module;
}

namespace {
// Texts sharing the letter after a single '&' (double-byte aware), as
// "X: text / text" lines.
std::string Clashes(const std::vector<std::string>& texts)
{
    std::map<char, std::string> keys;
    for (const std::string& t : texts)
        for (size_t i = 0; i + 1 < t.size(); ++i) {
            if (IsDBCSLeadByte((BYTE)t[i]) || (t[i] == '&' && t[i + 1] == '&')) {
                ++i;
            } else if (t[i] == '&') {
                keys[(char)toupper((BYTE)t[i + 1])] += " / " + t;
                break;
            }
        }
    std::string out;
    for (auto& key : keys)
        if (key.second.rfind(" / ") > 0)
            out += std::string(1, key.first) + ": " + key.second.substr(3) + "\n";
    return out;
}

void CheckMenuLevel(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = "";
        GetMenuStringA(menu, (UINT)i, text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
        if (HMENU sub = GetSubMenu(menu, i))
            CheckMenuLevel(sub);
    }
    EXPECT_EQ("", Clashes(texts));
}

BOOL CALLBACK ListName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found)
{
    return ((std::vector<LPSTR>*)found)->push_back(name), TRUE;
}
INT_PTR CALLBACK Passive(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void AddTexts(HWND dialog, std::vector<std::string>& texts)   // statics with SS_NOPREFIX left out
{
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32] = "";
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") || !(GetWindowLongA(c, GWL_STYLE) & SS_NOPREFIX))
            texts.push_back(gt::WindowText(c));
    }
}
}  // namespace

// Alt plus a letter must lead to one place only: in every menu level, and in
// every dialog (a page of the options counts with the frame's buttons).
TEST(Resources, MnemonicsAreUniqueInEveryMenuAndDialog)
{
    EXPECT_EQ("X: &&x&x / &X\n", Clashes({"&a", "b&b", "&&x&x", "&X", "c"}));
    std::vector<LPSTR> menus, dialogs;
    EnumResourceNamesA(g_hInstance, (LPCSTR)RT_MENU, ListName, (LONG_PTR)&menus);
    EnumResourceNamesA(g_hInstance, (LPCSTR)RT_DIALOG, ListName, (LONG_PTR)&dialogs);
    ASSERT_EQ(6u, menus.size());
    for (LPSTR name : menus) {
        HMENU menu = LoadMenuA(g_hInstance, name);
        CheckMenuLevel(menu);
        DestroyMenu(menu);
    }
    ASSERT_EQ(11u, dialogs.size());
    HWND frame = CreateDialogParamA(g_hInstance, MAKEINTRESOURCEA(IDD_OPTIONS), NULL, Passive, 0);
    for (LPSTR name : dialogs) {
        HWND dialog = CreateDialogParamA(g_hInstance, name, frame, Passive, 0);
        std::vector<std::string> texts;
        AddTexts(dialog, texts);
        if (GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD)
            AddTexts(frame, texts);
        EXPECT_EQ("", Clashes(texts)) << "dialog " << (UINT_PTR)name;
        DestroyWindow(dialog);
    }
    DestroyWindow(frame);
}
