// The folder dialog driven as a user would, and the history it keeps under
// the Dir sub-key: what is listed, selected, stored and where it goes.
#include "guitest.h"

#include <shlobj.h>
#include <shlwapi.h>
#include <cstring>

#include "res/resource.h"

namespace {

const char kDirKey[] = "Software\\VEXO\\ZORIVEN\\Dir";

using gt::Enabled;
using gt::Send;
std::string Text(HWND d, int id) { return gt::ItemText(d, id); }

void Type(HWND dialog, const std::string& text)   // into the edit field
{
    gt::SetItem(dialog, IDC_FOLDER_LIST, text);
    Send(dialog, IDC_FOLDER_LIST, CBN_EDITCHANGE);
}

std::string Entries(HWND dialog)   // "entry;" each, "*" after the selected one
{
    HWND list = GetDlgItem(dialog, IDC_FOLDER_LIST);
    LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    std::string all;
    for (LRESULT i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t entry[1024] = L"";
        SendMessageW(list, CB_GETLBTEXT, i, (LPARAM)entry);
        all += Narrow(entry) + (i == selected ? "*;" : ";");
    }
    return all;
}

std::string MenuLetters(HWND dialog)   // menu 105 at its opening: "do" when greyed
{
    HMENU menu = LoadMenuA(g_hInstance, MAKEINTRESOURCEA(IDM_FOLDER));
    HMENU popup = GetSubMenu(menu, 0);
    SendMessageA(dialog, WM_INITMENU, (WPARAM)popup, 0);
    std::string letters = GetMenuState(popup, CMD_FOLDER_DELETE, 0) & MF_GRAYED ? "d" : "D";
    letters += GetMenuState(popup, CMD_FOLDER_SET_BOOT, 0) & MF_GRAYED ? "o" : "O";
    DestroyMenu(menu);
    return letters;
}

void DropPaths(HWND dialog, const std::vector<std::string>& paths)   // as Explorer drops
{
    std::string list;
    for (const auto& p : paths)
        list += p + '\0';
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() + 1);
    auto* header = (DROPFILES*)GlobalLock(drop);
    header->pFiles = sizeof(DROPFILES);
    memcpy(header + 1, list.data(), list.size());
    GlobalUnlock(drop);
    SendMessageA(dialog, WM_DROPFILES, (WPARAM)drop, 0);   // the dialog frees it
}

void SetDir(const char* n, DWORD v) { SHSetValueA(HKEY_CURRENT_USER, kDirKey, n, REG_DWORD, &v, 4); }
void SetDir(const char* n, const std::string& t)
{
    SHSetValueA(HKEY_CURRENT_USER, kDirKey, n, REG_SZ, t.c_str(), (DWORD)t.size() + 1);
}

std::string GetDir(std::initializer_list<const char*> names)   // "value|" each, "-|" when missing
{
    std::string all;
    for (const char* name : names) {
        char text[1024];
        DWORD size = sizeof text, type = 0;
        if (SHGetValueA(HKEY_CURRENT_USER, kDirKey, name, &type, text, &size) != ERROR_SUCCESS)
            strcpy(text, "-");
        all += (type == REG_DWORD ? std::to_string(*(DWORD*)text) : std::string(text)) + "|";
    }
    return all;
}

std::string Folders()   // start-up | root | current
{
    return std::string(g_app->bootFolder) + "|" + g_app->rootFolder + "|" + g_app->currentFolder;
}

class FolderDialogTest : public gt::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Group("A"), Group("B"), Group("C");
        a = In("A"), b = In("B"), c = In("C"), f = folder_;
        // The library is the start-up folder, as the folder dialog sets it.
        SHSetValueA(HKEY_CURRENT_USER, "Software\\VEXO\\ZORIVEN", "Boot", REG_SZ, f.c_str(),
                    (DWORD)f.size() + 1);
    }
    void Folder(gt::BoxDriver driver) { boxes_.Drive(driver), Command(CMD_FOLDER); }
    std::string a, b, c, f;
};

TEST_F(FolderDialogTest, StoredHistoryListedEditedAndWrittenOverInPlace)
{
    SetDir("Cnt", 5);
    SetDir("Cur", 1);   // an index into the list as shown
    SetDir("0", b);
    SetDir("2", a);     // "1" is missing
    SetDir("3", folder_ + "\\" + std::string(260, 'x'));   // cut, it would name another folder
    SetDir("Note", "kept");
    ASSERT_TRUE(Start(folder_));
    Folder([&](HWND d) {
        EXPECT_EQ(folder_, Text(d, IDC_FOLDER_BOOT));
        EXPECT_EQ(a + ";" + b + "*;", Entries(d));
        EXPECT_EQ("DO", MenuLetters(d));
        // The same folder in other letter case selects the entry already there.
        Type(d, f + "\\a");
        Send(d, IDC_FOLDER_LIST, CBN_KILLFOCUS);
        EXPECT_EQ(a + "*;" + b + ";", Entries(d));
        boxes_.Press(IDYES);
        Send(d, CMD_FOLDER_DELETE);
        EXPECT_EQ(b + ";", Entries(d));
        EXPECT_EQ("", Text(d, IDC_FOLDER_LIST));
        EXPECT_FALSE(Enabled(d, IDOK));
        EXPECT_EQ("do", MenuLetters(d));
        // A new folder typed and confirmed with Enter, the field never left.
        Type(d, c);
        Send(d, IDOK);
    });
    ASSERT_EQ(2u, boxes_.seen().size());
    EXPECT_EQ(gt::Text(u8"「") + a + gt::Text(u8"」を履歴から削除しますか？"), boxes_.seen()[1].text);
    EXPECT_EQ(f + "|" + c + "|" + c, Folders());
    // Values past the new count are gone; the key itself was never deleted.
    EXPECT_EQ("2|1|" + b + "|" + c + "|-|-|kept|",
              GetDir({"Cnt", "Cur", "0", "1", "2", "3", "Note"}));
}

TEST_F(FolderDialogTest, NoHistoryKeyAndFoldersThatDoNotExist)
{
    Item("file.txt");
    ASSERT_TRUE(Start(folder_));
    Folder([&](HWND d) {
        EXPECT_EQ("", Entries(d));
        EXPECT_FALSE(Enabled(d, IDOK));
        // The ▼ menu drops down from its button, right edges in line.
        gt::MenuSpy spy;
        Send(d, IDC_FOLDER_MENU);
        RECT button;
        GetWindowRect(GetDlgItem(d, IDC_FOLDER_MENU), &button);
        EXPECT_EQ(button.bottom, spy.menuRect.top);
        EXPECT_EQ(button.right, spy.menuRect.right);
        for (const char* name : {"missing", "file.txt"}) {   // a file is no folder
            Type(d, In(name));
            Send(d, IDC_FOLDER_LIST, CBN_KILLFOCUS);   // as the click on OK does
            boxes_.Press(IDOK);
            Send(d, IDOK);
        }
        EXPECT_EQ("", Entries(d));
        Type(d, "");
        EXPECT_FALSE(Enabled(d, IDOK));
        Send(d, IDCANCEL);
    });
    ASSERT_EQ(3u, boxes_.seen().size());
    for (int i : {1, 2})
        EXPECT_EQ(gt::SystemText(ERROR_PATH_NOT_FOUND), boxes_.seen()[i].text);
    EXPECT_EQ(f + "|" + f + "|" + f + "|-|", Folders() + "|" + GetDir({"Cnt"}));
    Folder([&](HWND d) { Type(d, folder_), Send(d, IDOK); });   // saved without the refused paths
    EXPECT_EQ("1|" + folder_ + "|-|", GetDir({"Cnt", "0", "1"}));
}

TEST_F(FolderDialogTest, StartUpFolderSetCancelledConfirmedAndGoneTo)
{
    ASSERT_TRUE(Start(folder_));
    auto setBoot = [&](HWND d, const std::string& folder) {
        Type(d, folder);
        Send(d, IDC_FOLDER_LIST, CBN_KILLFOCUS);
        boxes_.Press(IDYES);
        Send(d, CMD_FOLDER_SET_BOOT);
        EXPECT_EQ(folder, Text(d, IDC_FOLDER_BOOT));
    };
    Folder([&](HWND d) {
        setBoot(d, a);
        Send(d, IDCANCEL);
    });
    EXPECT_EQ(f + "|" + f + "|" + f, Folders());

    Folder([&](HWND d) {
        setBoot(d, a);
        Type(d, b);
        Send(d, IDOK);
    });
    EXPECT_EQ(a + "|" + b + "|" + b, Folders());

    // Going to the start-up folder takes the one in effect at the opening;
    // the one confirmed meanwhile is kept all the same.
    Folder([&](HWND d) {
        setBoot(d, b);
        Send(d, CMD_FOLDER_GO_BOOT);
    });
    EXPECT_EQ(b + "|" + a + "|" + a, Folders());
}

TEST_F(FolderDialogTest, DroppedFilesAddTheirFoldersAndTheNewRootStopsGoingUp)
{
    Item("A\\note.txt");
    SetDir("Cnt", 0xFFFFFFFF);   // damaged: the entries there are shown all the same
    SetDir("0", b);
    ASSERT_TRUE(Start(folder_));
    Folder([&](HWND d) {
        EXPECT_EQ(b + "*;", Entries(d));
        DropPaths(d, {In("A\\note.txt"), b, b + "\\" + std::string(260, 'y')});
        EXPECT_EQ(a + ";" + b + "*;", Entries(d));
        DropPaths(d, {In("a\\NOTE.txt")});
        EXPECT_EQ(a + "*;" + b + ";", Entries(d));
        Send(d, IDOK);
    });
    EXPECT_EQ(std::vector<std::string>{"note"}, gt::RowNames());
    Command(CMD_PARENT);
    EXPECT_EQ(f + "|" + a + "|" + a, Folders());
    EXPECT_EQ("2|0|", GetDir({"Cnt", "Cur"}));
}

// The earlier program wrote its folders through the ANSI registry calls, in
// code page 932: a Japanese start-up folder and history entry read as the
// folders they name, and are written back as the same bytes.
TEST_F(FolderDialogTest, AnEarlierProgramsJapaneseFoldersReadAsTheyWere)
{
    const std::string jp = In(u8"資料\\表");   // 表 ends in 0x5C, the byte of a backslash
    Group(u8"資料");
    Group(u8"資料\\表");
    SHSetValueA(HKEY_CURRENT_USER, "Software\\VEXO\\ZORIVEN", "Boot", REG_SZ,
                gt::Sjis(jp.c_str()).c_str(), (DWORD)gt::Sjis(jp.c_str()).size() + 1);
    SetDir("Cnt", 1);
    SetDir("Cur", 0);
    SetDir("0", gt::Sjis(jp.c_str()));
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ(jp + "|" + f + "|" + f, Folders());
    Folder([&](HWND d) {
        EXPECT_EQ(jp, Text(d, IDC_FOLDER_BOOT));
        EXPECT_EQ(jp + "*;", Entries(d));
        Send(d, IDOK);
    });
    EXPECT_EQ(jp + "|" + jp + "|" + jp, Folders());
    EXPECT_EQ("1|0|" + gt::Sjis(jp.c_str()) + "|", GetDir({"Cnt", "Cur", "0"}));
    EXPECT_EQ(0, boxes_.unexpected());
}

}  // namespace
