// The resources as the program loads them under code page 932.
#include <algorithm>
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
    EXPECT_EQ(Sjis(u8"'%s' を\n起動時のフォルダに設定しますか？"), LoadText(IDS_ASK_BOOT));
    EXPECT_EQ(Sjis(u8"'%s%s' に追加しますか？\n\n追加なら「はい」を、新規作成なら「いいえ」を、\n"
                   u8"中止するなら「キャンセル」を選択してください。"),
              LoadText(IDS_ASK_APPEND));
    EXPECT_EQ(Sjis(u8"不正なファイル名です。"), LoadText(IDS_BAD_NAME));
    EXPECT_EQ(Sjis(u8"ウィンドウを通常のサイズに戻す"), LoadText(61728));
    EXPECT_EQ(Sjis(u8"ツールバーの表示／非表示の切り替え"), LoadText(CMD_TOOLBAR));
}

TEST(Resources, EveryCommandHasHelpAndEveryButtonATooltip)
{
    const UINT commands[] = {1001, 1003, 1005, 1007, 1009, 1011, 1013, 1021, 1023, 1025,
                             1027, 1031, 1032, 1033, 1035, 1037, 1038, 1039, 1040, 1061,
                             1062, 1067, 1069, 1070, 1091, 1093, 1095};
    for (UINT id : commands)
        EXPECT_FALSE(LoadText(id).empty()) << id;
    const UINT buttons[] = {1031, 1033, 1001, 1007, 1009, 1013, 1069, 1021, 1023, 1035};
    for (UINT id : buttons)
        EXPECT_FALSE(LoadText(TOOLTIP_BASE + id).empty()) << id;
    const UINT messages[] = {20001, 20011, 20013, 20015, 20017, 20019, 20021, 20023,
                             21001, 21003, 21005, 21007, 21009, 21011, 21013, 22001,
                             22002, 22003, 22011, 22012, 22013, 25101, 25103, 25105,
                             25107, 25109, 25111, 61440, 61456, 61472, 61488, 61504, 61520, 61536,
                             61728, 61744};
    for (UINT id : messages)
        EXPECT_FALSE(LoadText(id).empty()) << id;
}

TEST(Resources, MenuBarAndContextMenus)
{
    EXPECT_EQ(Sjis(u8"項目(&I){\n新規作成(&N){\nグループ(&G)\tCtrl+G|1003\nデータ(&T)...\tCtrl+N|1001\n}\n"
                   u8"名前変更(&R)\tCtrl+R|1005\n編集(&E)...\tCtrl+E|1007\n削除(&D)...\tDel|1009\n"
                   u8"属性変更(&A)...\tCtrl+A|1011\n複製作成(&L)\tCtrl+L|1013\n-\n上へ(&U)\tCtrl+P|1021\n"
                   u8"下へ(&W)\tCtrl+D|1023\n移動(&M)...\tCtrl+M|1025\n-\n終了(&X)\tAlt+X|1027\n}\n"
                   u8"編集(&E){\nコピー(&C)\tCtrl+C|1031\n貼り付け(&P)\tCtrl+V|1032\n-\n"
                   u8"ブラウザに通知(&B)\tCtrl+U|1033\n-\n上の階層へ(&U)\tBS|1035\n"
                   u8"フォルダの移動/設定(&F)...\tCtrl+F|1037\n更新して保存(&S)|1038\n-\n"
                   u8"エディタの起動(&E)\tCtrl+B|1039\nエクスプローラの起動(&X)|1040\n}\n"
                   u8"表示(&V){\nツールバー(&T)|1061|checked\nステータスバー(&S)|1062|checked\n-\n"
                   u8"情報(&I)\tCtrl+I|1067\n-\n更新(&R)\tF5|1069\n-\nオプション(&O)...\tCtrl+O|1070\n}\n"
                   u8"ヘルプ(&H){\nヘルプ表示(&H)\tF1|1091\n-\nホームページへ(&W)|1093\n-\n"
                   u8"バージョン情報(&A)|1095\n}\n"),
              MenuText(IDM_MAIN));
    std::string row = MenuText(IDM_ROWMENU);
    EXPECT_NE(std::string::npos,
              row.find(Sjis(u8"{\n名前変更(&R)...\tCtrl+R|1005\n編集(&E)...\tCtrl+E|1007\n"
                            u8"削除(&D)...\tDel|1009\n属性変更(&A)...\tCtrl+A|1011\n"
                            u8"複製作成(&L)\tCtrl+L|1013\n-\nエディタの起動(&E)\tCtrl+B|1039\n"
                            u8"エクスプローラの起動(&X)|1040\n移動(&M)...\tCtrl+M|1025\n-\n"
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
        "+116=1069", "C+79=1070", "+112=1091"};
    EXPECT_EQ(want, got);
}

TEST(Resources, PicturesHaveTheirSizesAndMask)
{
    BITMAP bm;
    HBITMAP toolbar = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_TOOLBAR));
    ASSERT_TRUE(toolbar);
    GetObjectA(toolbar, sizeof bm, &bm);
    EXPECT_EQ(160, bm.bmWidth);
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

    // The icon group holds a 32x32 and a 16x16 image of 16 colours.
    HRSRC group = FindResourceA(g_hInstance, MAKEINTRESOURCEA(IDI_MAIN), (LPCSTR)RT_GROUP_ICON);
    ASSERT_TRUE(group);
    const BYTE* dir = (const BYTE*)LockResource(LoadResource(g_hInstance, group));
    ASSERT_TRUE(dir);
    int count = dir[4] | (dir[5] << 8);
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = dir + 6 + 14 * i;
        sizes.push_back(entry[0]);
        EXPECT_EQ(4, entry[6] | (entry[7] << 8)) << "bits per pixel";
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ((std::vector<int>{16, 32}), sizes);
}

// The manifest as the system's loader reads it.
TEST(Resources, ManifestRunsAsInvokerOnCommonControls6ForWindows7To11)
{
    HRSRC found = FindResourceA(g_hInstance, MAKEINTRESOURCEA(IDR_MANIFEST), RT_MANIFEST);
    ASSERT_TRUE(found);
    std::string xml((const char*)LockResource(LoadResource(g_hInstance, found)),
                    SizeofResource(g_hInstance, found));
    EXPECT_NE(std::string::npos, xml.find("\"Microsoft.Windows.Common-Controls\""));
    EXPECT_NE(std::string::npos, xml.find("version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, xml.find(std::string("version=\"") + PRODUCT_VERSION + ".0.0\""));

    // A manifest the parser refuses gives no activation context.
    char module[MAX_PATH];
    ASSERT_TRUE(GetModuleFileNameA(g_hInstance, module, sizeof module));
    ACTCTXA request;
    memset(&request, 0, sizeof request);
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = module;
    request.hModule = g_hInstance;
    request.lpResourceName = MAKEINTRESOURCEA(IDR_MANIFEST);
    HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(INVALID_HANDLE_VALUE, context) << GetLastError();
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level;
    memset(&level, 0, sizeof level);
    EXPECT_TRUE(QueryActCtxW(0, context, NULL, RunlevelInformationInActivationContext, &level,
                             sizeof level, NULL));
    EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, level.RunLevel);
    EXPECT_EQ(0u, level.UiAccess);
    // The element layout differs between headers; the GUIDs are looked for as bytes.
    char compat[512] = "";
    SIZE_T size = 0;
    EXPECT_TRUE(QueryActCtxW(0, context, NULL, CompatibilityInformationInActivationContext, compat,
                             sizeof compat, &size));
    EXPECT_EQ(4u, *(const DWORD*)compat);
    const GUID systems[] = {
        {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},   // 7
        {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},   // 8
        {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},   // 8.1
        {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}}};  // 10, 11
    const char* end = compat + std::min(size, (SIZE_T)sizeof compat);
    for (const GUID& id : systems)
        EXPECT_NE(end, std::search((const char*)compat, end, (const char*)&id, (const char*)(&id + 1)))
            << std::hex << id.Data1;
    ReleaseActCtx(context);
}

// This program has the manifest too: its comctl32 is the one of the side-by-side
// assembly of version 6.
TEST(Resources, CommonControlsComeFromTheVersion6Assembly)
{
    ACTCTX_SECTION_KEYED_DATA data;
    memset(&data, 0, sizeof data);
    data.cbSize = sizeof data;
    ASSERT_TRUE(FindActCtxSectionStringW(FIND_ACTCTX_SECTION_KEY_RETURN_HACTCTX, NULL,
                                         ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         L"comctl32.dll", &data));
    SIZE_T size = 0;
    QueryActCtxW(0, data.hActCtx, &data.ulAssemblyRosterIndex,
                 AssemblyDetailedInformationInActivationContext, NULL, 0, &size);
    std::vector<char> buffer(size + 1);
    ASSERT_TRUE(QueryActCtxW(0, data.hActCtx, &data.ulAssemblyRosterIndex,
                             AssemblyDetailedInformationInActivationContext, buffer.data(), size,
                             &size));
    const auto* assembly = (const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*)buffer.data();
    std::wstring identity = assembly->lpAssemblyEncodedAssemblyIdentity;
    EXPECT_NE(std::wstring::npos, identity.find(L"Microsoft.Windows.Common-Controls,")) << identity;
    EXPECT_NE(std::wstring::npos, identity.find(L"version=\"6.")) << identity;
    wchar_t loaded[MAX_PATH] = L"";
    GetModuleFileNameW(GetModuleHandleA("COMCTL32.DLL"), loaded, MAX_PATH);
    std::wstring folder = std::wstring(L"\\") + assembly->lpAssemblyDirectoryName + L"\\";
    EXPECT_NE(std::wstring::npos, std::wstring(loaded).find(folder)) << loaded;
    ReleaseActCtx(data.hActCtx);
}

namespace {
INT_PTR CALLBACK TemplateOnly(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

// Room a label needs beside its text: a push button's edges and a little
// air, a check box's box and gap.
BOOL CALLBACK ExpectTextFits(HWND control, LPARAM dialogId)
{
    char text[256] = "", kind[32] = "";
    GetWindowTextA(control, text, sizeof text);
    GetClassNameA(control, kind, sizeof kind);
    LONG style = GetWindowLongA(control, GWL_STYLE);
    int room = 0;
    if (lstrcmpiA(kind, "Button") == 0) {
        LONG type = style & BS_TYPEMASK;
        if (type == BS_GROUPBOX)
            return TRUE;
        room = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? 8 : 18;
    } else if (lstrcmpiA(kind, "Static") != 0 || (style & SS_TYPEMASK) > SS_RIGHT) {
        return TRUE;
    }
    RECT client, need = {0, 0, 0, 0};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(control, WM_GETFONT, 0, 0));
    DrawTextA(dc, text, -1, &need, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    EXPECT_LE(need.right + room, client.right) << "dialog " << dialogId << ": " << text;
    return TRUE;
}
}  // namespace

// The Japanese texts show whole in the dialogs' font.
TEST(Resources, DialogTextsFitTheirControls)
{
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 600, 600, NULL, NULL, g_hInstance, NULL);
    for (int id : {IDD_ABOUT, IDD_EDIT, IDD_ENTRY, IDD_FOLDER, IDD_ATTRIBUTES, IDD_OPTIONS,
                   IDD_OPT_LOAD, IDD_OPT_ACTION, IDD_OPT_DROP}) {
        HWND dialog = CreateDialogParamA(g_hInstance, MAKEINTRESOURCEA(id), parent, TemplateOnly, 0);
        ASSERT_TRUE(dialog) << id;
        EnumChildWindows(dialog, ExpectTextFits, id);
        DestroyWindow(dialog);
    }
    DestroyWindow(parent);
}
