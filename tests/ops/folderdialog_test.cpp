// The folder dialog driven as a user would, and the history it keeps under
// the Dir sub-key: what is listed, selected, stored and where it goes.
#include "guitest.h"

#include <shlobj.h>

#include <cstring>

#include "app/history.h"
#include "ops/folderdialog.h"
#include "res/resource.h"

namespace {

const char kDirKey[] = "Software\\VEXO\\ZORIVEN\\Dir";

std::string Text(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void Press(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

void Notify(HWND dialog, int code)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FOLDER_LIST, code),
                 (LPARAM)GetDlgItem(dialog, IDC_FOLDER_LIST));
}

void Type(HWND dialog, const std::string& text)   // typed into the edit field
{
    SetDlgItemTextA(dialog, IDC_FOLDER_LIST, text.c_str());
    Notify(dialog, CBN_EDITCHANGE);
}

std::string Entries(HWND dialog)   // "entry;" each, "*" after the selected one
{
    HWND list = GetDlgItem(dialog, IDC_FOLDER_LIST);
    LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    std::string all;
    for (LRESULT i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
        char entry[1024] = "";
        SendMessageA(list, CB_GETLBTEXT, i, (LPARAM)entry);
        all += std::string(entry) + (i == selected ? "*;" : ";");
    }
    return all;
}

// Menu 105 as the dialog greys it when it opens: "D" and "O" for the two
// items that need a selection, lower case when greyed.
std::string MenuLetters(HWND dialog)
{
    HMENU menu = LoadMenuA(g_hInstance, MAKEINTRESOURCEA(IDM_FOLDER));
    HMENU popup = GetSubMenu(menu, 0);
    SendMessageA(dialog, WM_INITMENU, (WPARAM)popup, 0);
    std::string letters;
    letters += GetMenuState(popup, CMD_FOLDER_DELETE, MF_BYCOMMAND) & MF_GRAYED ? "d" : "D";
    letters += GetMenuState(popup, CMD_FOLDER_SET_BOOT, MF_BYCOMMAND) & MF_GRAYED ? "o" : "O";
    DestroyMenu(menu);
    return letters;
}

void DropPaths(HWND dialog, const std::vector<std::string>& paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const auto& p : paths)
        size += p.size() + 1;
    HGLOBAL drop = GlobalAlloc(GHND, size);
    auto* header = (DROPFILES*)GlobalLock(drop);
    header->pFiles = sizeof(DROPFILES);
    char* at = (char*)(header + 1);
    for (const auto& p : paths) {
        memcpy(at, p.c_str(), p.size() + 1);
        at += p.size() + 1;
    }
    GlobalUnlock(drop);
    SendMessageA(dialog, WM_DROPFILES, (WPARAM)drop, 0);   // the dialog frees it
}

class DirKey {
public:
    DirKey() { RegCreateKeyExA(HKEY_CURRENT_USER, kDirKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key_, NULL); }
    ~DirKey() { RegCloseKey(key_); }
    void Set(const char* name, const std::string& text)
    {
        RegSetValueExA(key_, name, 0, REG_SZ, (const BYTE*)text.c_str(), (DWORD)text.size() + 1);
    }
    void Set(const char* name, DWORD value)
    {
        RegSetValueExA(key_, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value);
    }
    std::string Get(const char* name)   // "<none>" when missing
    {
        char text[1024];
        DWORD size = sizeof text, type = 0;
        if (RegQueryValueExA(key_, name, NULL, &type, (BYTE*)text, &size) != ERROR_SUCCESS)
            return "<none>";
        return type == REG_DWORD ? std::to_string(*(DWORD*)text) : std::string(text);
    }

private:
    HKEY key_ = NULL;
};

bool DirKeyExists()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDirKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

class FolderDialogTest : public gt::MainWindowTest {
protected:
    std::string Made(const std::string& name)
    {
        Group(name);
        return In(name);
    }
    void Folder(gt::BoxDriver driver)
    {
        boxes_.Drive(driver);
        Command(CMD_FOLDER);
    }
};

TEST_F(FolderDialogTest, StoredHistoryListedEditedAndWrittenOverInPlace)
{
    const std::string a = Made("A"), b = Made("B"), c = Made("C");
    {
        DirKey dir;
        dir.Set("Cnt", 5);
        dir.Set("Cur", 1);   // an index into the list as it is shown
        dir.Set("0", b);
        dir.Set("2", a);     // "1" is missing
        dir.Set("3", folder_ + "\\" + std::string(260, 'x'));   // cut, it would name another folder
        dir.Set("4", "");
        dir.Set("Note", "kept");
    }
    ASSERT_TRUE(Start(folder_));
    Folder([&](HWND d) {
        EXPECT_EQ(folder_, Text(d, IDC_FOLDER_BOOT));
        EXPECT_EQ(a + ";" + b + "*;", Entries(d));
        EXPECT_TRUE(Enabled(d, IDOK));
        EXPECT_EQ("DO", MenuLetters(d));
        // The same folder in other letter case selects the entry already there.
        Type(d, folder_ + "\\a");
        Notify(d, CBN_KILLFOCUS);
        EXPECT_EQ(a + "*;" + b + ";", Entries(d));
        // Delete asks, then empties the field and disables OK.
        boxes_.Press(IDNO);
        Press(d, CMD_FOLDER_DELETE);
        EXPECT_EQ(a + "*;" + b + ";", Entries(d));
        boxes_.Press(IDYES);
        Press(d, CMD_FOLDER_DELETE);
        EXPECT_EQ(b + ";", Entries(d));
        EXPECT_EQ("", Text(d, IDC_FOLDER_LIST));
        EXPECT_FALSE(Enabled(d, IDOK));
        EXPECT_EQ("do", MenuLetters(d));
        // A new folder typed and confirmed with Enter, the field never left.
        Type(d, c);
        EXPECT_TRUE(Enabled(d, IDOK));
        Press(d, IDOK);
    });
    ASSERT_EQ(3u, boxes_.seen().size());
    EXPECT_EQ(gt::Sjis(u8"'") + a + gt::Sjis(u8"' を削除しますか？"), boxes_.seen()[1].text);
    EXPECT_EQ(UINT(MB_ICONWARNING), boxes_.seen()[1].icon);
    EXPECT_EQ(c, std::string(g_app->rootFolder));
    EXPECT_EQ(c, std::string(g_app->currentFolder));
    DirKey dir;
    EXPECT_EQ("2|1|" + b + "|" + c + "|<none>|<none>|<none>|kept",
              dir.Get("Cnt") + "|" + dir.Get("Cur") + "|" + dir.Get("0") + "|" + dir.Get("1") +
                  "|" + dir.Get("2") + "|" + dir.Get("3") + "|" + dir.Get("4") + "|" +
                  dir.Get("Note"));
}

TEST_F(FolderDialogTest, NoHistoryKeyAndFoldersThatDoNotExist)
{
    const std::string a = Made("A");
    ASSERT_TRUE(Start(folder_));
    ASSERT_FALSE(DirKeyExists());
    std::string missing = In("missing");
    Item("file.txt");
    Folder([&](HWND d) {
        EXPECT_EQ("", Entries(d));
        EXPECT_FALSE(Enabled(d, IDOK));
        Type(d, missing);
        EXPECT_TRUE(Enabled(d, IDOK));
        boxes_.Press(IDOK);
        Press(d, IDOK);
        boxes_.Press(IDOK);
        Type(d, In("file.txt"));   // a file of that name is no folder
        Press(d, IDOK);
        EXPECT_TRUE(IsWindow(d));
        Type(d, "");
        EXPECT_FALSE(Enabled(d, IDOK));
        Press(d, IDCANCEL);
    });
    ASSERT_EQ(3u, boxes_.seen().size());
    EXPECT_EQ(gt::SystemText(ERROR_PATH_NOT_FOUND), boxes_.seen()[1].text);
    EXPECT_EQ(gt::SystemText(ERROR_PATH_NOT_FOUND), boxes_.seen()[2].text);
    EXPECT_EQ(folder_, std::string(g_app->rootFolder));
    EXPECT_EQ("<none>", DirKey().Get("Cnt"));
}

TEST_F(FolderDialogTest, StartUpFolderSetCancelledConfirmedAndGoneTo)
{
    const std::string a = Made("A"), b = Made("B");
    ASSERT_TRUE(Start(folder_));
    auto setBoot = [&](HWND d, const std::string& folder) {
        Type(d, folder);
        Notify(d, CBN_KILLFOCUS);
        boxes_.Press(IDYES);
        Press(d, CMD_FOLDER_SET_BOOT);
        EXPECT_EQ(folder, Text(d, IDC_FOLDER_BOOT));
    };
    Folder([&](HWND d) {
        setBoot(d, a);
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(folder_, std::string(g_app->bootFolder));
    EXPECT_EQ(folder_, std::string(g_app->rootFolder));
    EXPECT_EQ(UINT(MB_ICONQUESTION), boxes_.seen()[1].icon);

    Folder([&](HWND d) {
        EXPECT_EQ(folder_, Text(d, IDC_FOLDER_BOOT));
        setBoot(d, a);
        Type(d, b);
        Notify(d, CBN_KILLFOCUS);
        Press(d, IDOK);
    });
    EXPECT_EQ(a, std::string(g_app->bootFolder));
    EXPECT_EQ(b, std::string(g_app->rootFolder));

    // Going to the start-up folder takes the one in effect at the opening;
    // the one confirmed meanwhile is kept all the same.
    Folder([&](HWND d) {
        setBoot(d, b);
        Press(d, CMD_FOLDER_GO_BOOT);
    });
    EXPECT_EQ(a, std::string(g_app->rootFolder));
    EXPECT_EQ(b, std::string(g_app->bootFolder));
}

TEST_F(FolderDialogTest, DroppedFilesAddTheirFoldersAndTheNewRootStopsGoingUp)
{
    const std::string a = Made("A"), b = Made("B");
    Item("A\\note.txt");
    {
        DirKey dir;   // a damaged count: the entries there are shown all the same
        dir.Set("Cnt", 0xFFFFFFFF);
        dir.Set("0", b);
    }
    ASSERT_TRUE(Start(folder_));
    Folder([&](HWND d) {
        EXPECT_EQ(b + "*;", Entries(d));
        DropPaths(d, {In("A\\note.txt"), b, b + "\\" + std::string(260, 'y')});
        EXPECT_EQ(a + ";" + b + "*;", Entries(d));
        DropPaths(d, {In("a\\NOTE.txt")});
        EXPECT_EQ(a + "*;" + b + ";", Entries(d));
        Press(d, IDOK);
    });
    EXPECT_EQ(a, std::string(g_app->rootFolder));
    EXPECT_EQ(std::vector<std::string>{"note"}, gt::RowNames());
    Command(CMD_PARENT);
    EXPECT_EQ(a, std::string(g_app->currentFolder));
    EXPECT_EQ("2|0", DirKey().Get("Cnt") + "|" + DirKey().Get("Cur"));
}

}  // namespace
