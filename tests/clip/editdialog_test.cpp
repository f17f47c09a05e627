// The item edit dialog and its entry dialog, driven as a user would: rows
// made, moved, dropped and refused, and what reaches the item file.
#include "guitest.h"
#include "httpserver.h"

#include <commctrl.h>

#include "clip/droptarget.h"
#include "clip/editdialog.h"
#include "res/resource.h"
#include "store/itemfile.h"

namespace {

using gt::Enabled;
std::string Text(HWND dialog, int id) { return gt::ItemText(dialog, id); }
std::string Caption(HWND box) { return gt::WindowText(box); }

// A button as a user presses it: never a disabled one; runs to its end.
bool Press(HWND dialog, int id)
{
    if (!Enabled(dialog, id))
        return false;
    gt::Send(dialog, id);
    return true;
}

std::string Rows(HWND dialog)   // "key=value;" per row, "*" after the selected one
{
    HWND list = GetDlgItem(dialog, IDC_EDIT_LIST);
    std::string all;
    wchar_t cell[2048];
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        for (int column = 0; column < 2; ++column) {
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = cell;
            item.cchTextMax = sizeof cell / sizeof cell[0];
            cell[0] = L'\0';
            SendMessageW(list, LVM_GETITEMTEXTW, (WPARAM)row, (LPARAM)&item);
            all += Narrow(cell) + (column ? "" : "=");
        }
        all += ListView_GetItemState(list, row, LVIS_SELECTED) ? "*;" : ";";
    }
    return all;
}

void Pick(HWND dialog, int row)   // a click on the row
{
    HWND list = GetDlgItem(dialog, IDC_EDIT_LIST);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    NMHDR hdr = {list, IDC_EDIT_LIST, (UINT)NM_CLICK};
    SendMessageA(dialog, WM_NOTIFY, IDC_EDIT_LIST, (LPARAM)&hdr);
}

POINT OnRow(HWND dialog, int row)   // screen point on the row, or below the last for -1
{
    HWND list = GetDlgItem(dialog, IDC_EDIT_LIST);
    RECT rc = {LVIR_BOUNDS, 0, 0, 0};
    int count = ListView_GetItemCount(list);
    SendMessageA(list, LVM_GETITEMRECT, row < 0 ? count - 1 : row, (LPARAM)&rc);
    POINT p = {rc.left + 20, row < 0 ? rc.bottom + 20 : (rc.top + rc.bottom) / 2};
    ClientToScreen(list, &p);
    return p;
}

class EditDialogTest : public gt::MainWindowTest {
protected:
    // Queues the entry dialog's answer: the texts typed, then OK.
    void Entry(const std::string& key, const std::string& value, std::string* title = nullptr)
    {
        boxes_.Drive([=](HWND box) {
            if (title)
                *title = Caption(box) + "|" + Text(box, IDC_ENTRY_KEY) + "|" + Text(box, IDC_ENTRY_VALUE) +
                         "|" + std::to_string(LiveDropTargets());   // none while it is open
            gt::SetItem(box, IDC_ENTRY_KEY, key);
            gt::SetItem(box, IDC_ENTRY_VALUE, value);
            gt::ClickButton(box, IDOK);
        });
    }
    std::string ReadBack(const std::string& name)
    {
        ::Entry entries[kMaxEntries] = {};
        int count = ReadItemPath(In(name).c_str(), entries);
        std::string all;
        for (int i = 0; i < count; ++i)
            all += std::string(entries[i].key) + "=" + entries[i].value + ";";
        FreeEntries(count > 0 ? count : 0, entries);
        return all;
    }
};

TEST_F(EditDialogTest, NewItemRowsAddedDroppedMovedAndSaved)
{
    Item("same.txt");
    ASSERT_TRUE(Start(folder_));
    boxes_.Drive([&](HWND d) {
        EXPECT_EQ(gt::Text(u8"新規"), Caption(d));
        EXPECT_FALSE(Enabled(d, IDOK));
        EXPECT_EQ("0", Text(d, IDC_EDIT_COUNT));
        Entry("k1", "v1");
        ASSERT_TRUE(Press(d, IDC_EDIT_NEW));
        EXPECT_TRUE(Enabled(d, IDOK));
        EXPECT_EQ("1", Text(d, IDC_EDIT_COUNT));
        EXPECT_EQ(DROPEFFECT_COPY, gt::DragText("d2 text\r\n", OnRow(d, -1), DROPEFFECT_COPY));
        EXPECT_EQ(DROPEFFECT_COPY, gt::DragText("http://host.test/p", OnRow(d, -1), DROPEFFECT_COPY));
        // Onto the third row: the new third row, selected.
        EXPECT_EQ(DROPEFFECT_COPY, gt::DragText("third", OnRow(d, 2), DROPEFFECT_COPY));
        EXPECT_EQ("k1=v1;d2 text=d2 text;third=third*;host.test=http://host.test/p;", Rows(d));
        EXPECT_EQ("4", Text(d, IDC_EDIT_COUNT));
        Pick(d, 0);
        EXPECT_FALSE(Enabled(d, IDC_EDIT_UP));
        EXPECT_TRUE(Press(d, IDC_EDIT_DOWN));
        EXPECT_EQ("d2 text=d2 text;k1=v1*;third=third;host.test=http://host.test/p;", Rows(d));
        Pick(d, 3);
        EXPECT_FALSE(Enabled(d, IDC_EDIT_DOWN));
        EXPECT_TRUE(Press(d, IDC_EDIT_UP));
        boxes_.Press(IDYES);
        EXPECT_TRUE(Press(d, IDC_EDIT_DELETE));   // the moved row, still selected
        EXPECT_EQ("d2 text=d2 text;k1=v1;third=third;", Rows(d));
        // The same name and extension is refused; the other extension is not.
        gt::SetItem(d, IDC_EDIT_NAME, "same");
        boxes_.Press(IDOK);
        Press(d, IDOK);
        ASSERT_TRUE(IsWindow(d));
        EXPECT_EQ(gt::Text(u8"既に存在します。"), boxes_.seen().back().text);
        EXPECT_EQ("d2 text=d2 text;k1=v1;third=third;", Rows(d));
        // The box alone does not enable the title button; the next click does.
        Pick(d, 0);
        CheckDlgButton(d, IDC_EDIT_URL, BST_CHECKED);
        EXPECT_FALSE(Enabled(d, IDC_EDIT_TITLE));
        Pick(d, 0);
        EXPECT_TRUE(Enabled(d, IDC_EDIT_TITLE));
        gt::ClickButton(d, IDOK);
    });
    Command(CMD_NEW_ITEM);
    EXPECT_EQ("d2 text=d2 text;k1=v1;third=third;", ReadBack("same.url"));
    EXPECT_EQ(std::vector<std::string>({"same", "same"}), gt::RowNames());
    EXPECT_EQ(gt::Text(u8"2 項目"), gt::StatusPart(2));
    EXPECT_EQ(1, ListView_GetNextItem(g_app->listView, -1, LVNI_SELECTED));
    EXPECT_EQ(1, g_app->orderChanged);
    EXPECT_EQ(0, boxes_.unexpected());
}

TEST_F(EditDialogTest, EditReadsTheFileAfreshAndRewritesIt)
{
    Item("a.txt", "k1=v1\r\nk2=v2\r\n");
    Item("gone.txt");
    ASSERT_TRUE(Start(folder_));
    gt::WriteBytes(In("a.txt"), "k1=changed\r\nk2=v2\r\nk3=v3\r\n");   // in the editor meanwhile
    Select(0);
    std::string seen;
    boxes_.Drive([&](HWND d) {
        EXPECT_EQ(gt::Text(u8"編集"), Caption(d));
        // The dialog's own target only: the main window's was revoked.
        EXPECT_EQ(1, LiveDropTargets());
        EXPECT_FALSE(GetPropA(g_hMainWnd, "OleDropTargetInterface"));
        EXPECT_FALSE(Enabled(d, IDC_EDIT_NAME));
        EXPECT_FALSE(Enabled(d, IDC_EDIT_URL));
        EXPECT_EQ("k1=changed;k2=v2;k3=v3;", Rows(d));
        Pick(d, 1);
        Entry("k2", "new", &seen);
        NMHDR hdr = {GetDlgItem(d, IDC_EDIT_LIST), IDC_EDIT_LIST, (UINT)NM_DBLCLK};
        SendMessageA(d, WM_NOTIFY, IDC_EDIT_LIST, (LPARAM)&hdr);
        gt::Pump();
        gt::ClickButton(d, IDOK);
    });
    Command(CMD_EDIT);
    EXPECT_EQ(gt::Text(u8"編集") + "|k2|v2|0", seen);
    EXPECT_EQ(1, LiveDropTargets());
    EXPECT_TRUE(GetPropA(g_hMainWnd, "OleDropTargetInterface"));
    EXPECT_EQ("k1=changed\r\nk2=new\r\nk3=v3\r\n", gt::ReadBytes(In("a.txt")));
    EXPECT_EQ(3, GetRowRecord(0)->entryCount);
    EXPECT_EQ(0, ListView_GetNextItem(g_app->listView, -1, LVNI_SELECTED));

    // A vanished item is reported and its row goes; no dialog.
    DeleteFileA(In("gone.txt").c_str());
    Select(1);
    boxes_.Clear();
    boxes_.Press(IDOK);
    Command(CMD_EDIT);
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(gt::SystemText(ERROR_PATH_NOT_FOUND), boxes_.seen()[0].text);
    EXPECT_EQ(std::vector<std::string>({"a"}), gt::RowNames());
    EXPECT_EQ(0, boxes_.unexpected());
}

// Files as other programs write them: OK without a change leaves every
// byte; one row changed changes its one line; lines no row shows are named.
TEST_F(EditDialogTest, OkWritesOnlyTheLineOfTheRowChanged)
{
    std::string forty, longs = "a=1\r\n" + std::string(1020, 'k') + "=x\r\n" +
                               std::string(1021, 'l') + "=y\r\nz=" + std::string(1021, 'v') +
                               "\r\n'note\r\n\r\nb=2\r\n";
    for (int i = 1; i <= 40; ++i)
        forty += "k" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "=v\r\n";
    const std::string prop = "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n";
    struct Case {
        std::string name, bytes;
        int hidden, row;
        const char *key, *oldLine, *newLine;
    } cases[] = {
        {"forty.txt", forty, 8, 2, "k03", "k03=v", "k03=new"},
        {"long.txt", longs, 3, 1, "b", "b=2", "b=new"},
        {"newfav.url", prop + "[InternetShortcut]\r\nIDList=\r\nURL=http://a.test/\r\nIconIndex=13\r\n",
         0, 2, "URL", "URL=http://a.test/", "URL=new"},
        {"oldfav.url", "[DEFAULT]\r\nBASEURL=http://a.test/\r\n[InternetShortcut]\r\nURL=http://a.test/\r\n" + prop,
         0, 1, "InternetShortcut", "\nURL=http://a.test/", "\nURL=new"},
    };
    for (const Case& c : cases)
        Item(c.name, c.bytes);
    ASSERT_TRUE(Start(folder_));
    for (const Case& c : cases) {
        std::string want = c.bytes;
        for (int edit = 0; edit < 2; ++edit) {
            int row = -1;
            FindRowByName(c.name.substr(0, c.name.find('.')).c_str(), &row);
            Select(row);
            std::string note;
            boxes_.Drive([&](HWND d) {
                if (IsWindowVisible(GetDlgItem(d, IDC_EDIT_HIDDEN)))
                    note = Text(d, IDC_EDIT_HIDDEN);
                if (edit) {
                    Pick(d, c.row);
                    Entry(c.key, "new");
                    Press(d, IDC_EDIT_MODIFY);
                }
                gt::ClickButton(d, IDOK);
            });
            Command(CMD_EDIT);
            if (edit)
                want.replace(want.find(c.oldLine), strlen(c.oldLine), c.newLine);
            EXPECT_EQ(want, gt::ReadBytes(In(c.name))) << c.name << edit;
            EXPECT_EQ(c.hidden ? gt::Text(u8"この項目には表示できない行が ") + std::to_string(c.hidden) +
                                     gt::Text(u8" 行あり、そのまま残します。")
                               : "",
                      note);
        }
    }
    EXPECT_EQ(0, boxes_.unexpected());
}

// Text code page 932 lacks, typed in the entry dialog: the file becomes
// UTF-8 after its mark with every other line as it was; a shortcut stays
// code page 932, its address percent-encoded where it must be.
TEST_F(EditDialogTest, TextOfAnyScriptIsEditedAndKept)
{
    Item("memo.txt", gt::Sjis(u8"' メモ\r\n挨拶=おはよう\r\nk=v\r\n"));
    Item("link.url", "[InternetShortcut]\r\nURL=http://a.test/\r\n");
    ASSERT_TRUE(Start(folder_));
    const std::string wave = u8"10時〜12時、気温−5℃ 😀";
    struct Case {
        const char *name, *key;
        int row;
        std::string value, after;
    } cases[] = {
        {"memo", "k", 1, wave, u8"\xEF\xBB\xBF' メモ\r\n挨拶=おはよう\r\nk=" + wave + "\r\n"},
        {"link", "InternetShortcut", 0, u8"http://a.test/café?q=表",
         gt::Sjis(u8"[InternetShortcut]\r\nURL=http://a.test/caf%C3%A9?q=表\r\n")},
    };
    for (const Case& c : cases) {
        int row = -1;
        FindRowByName(c.name, &row);
        Select(row);
        boxes_.Drive([&](HWND d) {
            Pick(d, c.row);
            Entry(c.key, c.value);
            Press(d, IDC_EDIT_MODIFY);
            gt::ClickButton(d, IDOK);
        });
        Command(CMD_EDIT);
        EXPECT_EQ(c.after, gt::ReadBytes(In(std::string(c.name) + (c.row ? ".txt" : ".url"))));
    }
    Command(CMD_REFRESH);
    int row = -1;
    FindRowByName("memo", &row);
    EXPECT_EQ(wave, GetRowRecord(row)->entries[1].value);
    EXPECT_EQ(0, boxes_.unexpected());
}

TEST_F(EditDialogTest, AFileChangedWhileOpenIsOverwrittenOnlyWhenTheUserSays)
{
    Item("c.txt", "C2=before\r\n");
    ASSERT_TRUE(Start(folder_));
    Select(0);
    boxes_.Drive([&](HWND d) {   // no change of the dialog's: nothing to write
        gt::WriteBytes(In("c.txt"), "C2=while-open\r\nC2b=added\r\n");
        gt::ClickButton(d, IDOK);
    });
    Command(CMD_EDIT);
    EXPECT_EQ("C2=while-open\r\nC2b=added\r\n", gt::ReadBytes(In("c.txt")));
    std::string kept;
    boxes_.Drive([&](HWND d) {
        gt::WriteBytes(In("c.txt"), "C2=again\r\n");
        Pick(d, 1);
        boxes_.Press(IDYES);
        Press(d, IDC_EDIT_DELETE);
        boxes_.Press(IDNO);
        Press(d, IDOK);
        kept = IsWindow(d) ? gt::ReadBytes(In("c.txt")) : "closed";
        boxes_.Press(IDYES);
        Press(d, IDOK);
    });
    Command(CMD_EDIT);
    EXPECT_EQ("C2=again\r\n", kept);
    EXPECT_EQ(gt::Text(u8"開いた後にファイルが変更されました。上書きしますか？"), boxes_.seen().back().text);
    EXPECT_EQ("C2=while-open\r\n", gt::ReadBytes(In("c.txt")));
    EXPECT_EQ(0, boxes_.unexpected());
}

TEST_F(EditDialogTest, NamesAndEntriesTheFileCannotHoldAreRefused)
{
    ASSERT_TRUE(Start(folder_));
    const std::string badName = gt::Text(u8"不正なファイル名です。\n名前には次の文字は使えません:\n\\ / : * ? \" < > |");
    std::vector<std::string> refused;
    boxes_.Drive([&](HWND d) {
        // Entry dialog: each refused with its box, the dialog staying open.
        const std::string k1019(1019, 'k'), v1020(1020, 'v');
        const char* bad[][2] = {{"'quoted", "v"}, {"[sec", "v]"}, {"k", "trailing "},
                                {"k\x08", "v"}, {"k", "v\x0b"}};
        std::vector<std::pair<std::string, std::string>> cases = {
            {k1019 + "k", "v"}, {"k", v1020 + "v"}};
        for (auto& b : bad)
            cases.push_back({b[0], b[1]});
        for (auto& c : cases) {
            boxes_.Drive([&](HWND box) {
                gt::SetItem(box, IDC_ENTRY_KEY, c.first);
                gt::SetItem(box, IDC_ENTRY_VALUE, c.second);
                size_t before = boxes_.seen().size();
                boxes_.Press(IDOK);
                Press(box, IDOK);
                gt::Pump();
                refused.push_back(IsWindow(box) && boxes_.seen().size() == before + 1 ? "refused" : "taken");
                gt::ClickButton(box, IDCANCEL);
            });
            Press(d, IDC_EDIT_NEW);
        }
        EXPECT_EQ(std::vector<std::string>(cases.size(), "refused"), refused);
        EXPECT_EQ("", Rows(d));
        // Every kind of entry it takes, at the limits, on character boundaries.
        std::string wide;
        for (int i = 0; i < 510; ++i)
            wide += gt::Text(u8"表");
        Entry(k1019, v1020);
        Entry(gt::Text(u8"ソ=表"), wide);
        Entry("InternetShortcut", "http://x.test/");
        Entry(" lead", " a=b ' [c]");
        for (int i = 0; i < 4; ++i)
            Press(d, IDC_EDIT_NEW);
        for (const char* name : {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"}) {
            gt::SetItem(d, IDC_EDIT_NAME, name);
            boxes_.Press(IDOK);
            Press(d, IDOK);
            EXPECT_EQ(badName, boxes_.seen().back().text) << name;
        }
        gt::SetItem(d, IDC_EDIT_NAME, std::string(250, 'n'));
        boxes_.Press(IDOK);
        Press(d, IDOK);
        EXPECT_EQ(gt::SystemText(ERROR_FILENAME_EXCED_RANGE), boxes_.seen().back().text);
        ASSERT_TRUE(IsWindow(d));
        EXPECT_EQ("4", Text(d, IDC_EDIT_COUNT));
        CheckDlgButton(d, IDC_EDIT_URL, BST_CHECKED);
        gt::SetItem(d, IDC_EDIT_NAME, gt::Text(u8"表ソ"));
        gt::ClickButton(d, IDOK);
    });
    Command(CMD_NEW_ITEM);
    const std::string name = gt::Text(u8"表ソ.url");
    std::string wide;
    for (int i = 0; i < 510; ++i)
        wide += gt::Text(u8"表");
    EXPECT_EQ(std::string(1019, 'k') + "=" + std::string(1020, 'v') + ";" + gt::Text(u8"ソ=表") + "=" +
                  wide + ";InternetShortcut=http://x.test/; lead= a=b ' [c];",
              ReadBack(name));
    // Windows finds the address of a shortcut only in its section.
    EXPECT_NE(std::string::npos, gt::ReadBytes(In(name)).find("[InternetShortcut]\r\nURL=http://x.test/\r\n"));
    EXPECT_EQ(0, boxes_.unexpected());
}

TEST_F(EditDialogTest, DoubleByteTextTooLongInBytesIsRefusedAsTooLong)
{
    // Within the boxes' limits, which count characters, but not within the
    // bytes a key takes as stored (1,019 in code page 932) or the 259
    // characters of a path.
    std::string key, name;
    for (int i = 0; i < 600; ++i)
        key += gt::Text(u8"表");
    for (int i = 0; i < 250; ++i)
        name += gt::Text(u8"名");
    ASSERT_TRUE(Start(folder_));
    bool keyStaysOpen = false;
    boxes_.Drive([&](HWND d) {
        boxes_.Drive([&](HWND box) {
            gt::SetItem(box, IDC_ENTRY_KEY, key);
            gt::SetItem(box, IDC_ENTRY_VALUE, "v");
            boxes_.Press(IDOK);
            Press(box, IDOK);
            gt::Pump();
            keyStaysOpen = IsWindow(box) != FALSE;
            gt::ClickButton(box, IDCANCEL);
        });
        Press(d, IDC_EDIT_NEW);
        EXPECT_TRUE(keyStaysOpen);
        ASSERT_FALSE(boxes_.seen().empty());
        EXPECT_NE(std::string::npos, boxes_.seen().back().text.find("1019"));
        EXPECT_EQ("", Rows(d));
        Entry("k", "v");
        Press(d, IDC_EDIT_NEW);
        gt::SetItem(d, IDC_EDIT_NAME, name);
        boxes_.Press(IDOK);
        Press(d, IDOK);
        ASSERT_TRUE(IsWindow(d));
        EXPECT_EQ(gt::SystemText(ERROR_FILENAME_EXCED_RANGE), boxes_.seen().back().text);
        gt::ClickButton(d, IDCANCEL);
    });
    Command(CMD_NEW_ITEM);
    EXPECT_EQ(0, RowCount());
    EXPECT_EQ(0, boxes_.unexpected());
}

TEST_F(EditDialogTest, AnItemNeverHoldsMoreThan32Entries)
{
    std::string full;
    for (int i = 0; i < 32; ++i)
        full += "k" + std::to_string(i) + "=v\r\n";
    Item("full.txt", full);
    std::string longText = "m";   // a cut at an even length would split a character
    for (int i = 0; i < 1500; ++i)
        longText += gt::Text(u8"表");
    ASSERT_TRUE(Start(folder_));
    Select(0);
    boxes_.Drive([&](HWND d) {
        EXPECT_FALSE(Enabled(d, IDC_EDIT_NEW));
        ListView_EnsureVisible(GetDlgItem(d, IDC_EDIT_LIST), 0, FALSE);
        EXPECT_EQ(DROPEFFECT_NONE, gt::DragText("more", OnRow(d, 0), DROPEFFECT_COPY));
        EXPECT_EQ("32", Text(d, IDC_EDIT_COUNT));
        // A 33rd row that got there another way stops OK.
        LVITEMW row = {};
        row.mask = LVIF_TEXT;
        row.iItem = 32;
        row.pszText = (wchar_t*)L"x";
        SendDlgItemMessageW(d, IDC_EDIT_LIST, LVM_INSERTITEMW, 0, (LPARAM)&row);
        boxes_.Press(IDOK);
        Press(d, IDOK);
        ASSERT_TRUE(IsWindow(d));
        EXPECT_EQ(gt::Text(u8"1 つの項目に登録できるデータは 32 個までです。"), boxes_.seen().back().text);
        ListView_DeleteItem(GetDlgItem(d, IDC_EDIT_LIST), 32);
        Pick(d, 0);
        boxes_.Press(IDYES);
        Press(d, IDC_EDIT_DELETE);
        EXPECT_TRUE(Enabled(d, IDC_EDIT_NEW));
        boxes_.Press(IDOK);   // the cut is told, as for a drop on the list
        EXPECT_EQ(DROPEFFECT_COPY, gt::DragText(longText.c_str(), OnRow(d, 0), DROPEFFECT_COPY));
        EXPECT_NE(std::string::npos, boxes_.seen().back().text.find("1019"));
        EXPECT_FALSE(Enabled(d, IDC_EDIT_NEW));
        gt::ClickButton(d, IDOK);
    });
    Command(CMD_EDIT);
    EXPECT_EQ(32, GetRowRecord(0)->entryCount);
    // 1,019 bytes as code page 932 stores them: "m" and 509 kanji.
    std::string kept = longText.substr(0, 1 + 509 * 3);
    EXPECT_EQ(kept, GetRowRecord(0)->entries[0].key);
    EXPECT_EQ(kept, GetRowRecord(0)->entries[0].value);
    EXPECT_EQ(0, boxes_.unexpected());
}

TEST_F(EditDialogTest, TitleButtonAfterARefreshAndTheLineBreakButton)
{
    gt::HttpServer server;
    server.Serve("/t", gt::Page("<title>Served</title>"));
    const std::string url = server.Url("/t");
    Item("fav.url", "[DEFAULT]\r\nBASEURL=" + url + "\r\n[InternetShortcut]\r\nURL=" + url + "\r\n");
    ASSERT_TRUE(Start(folder_));
    Select(0);
    std::vector<std::string> values;
    boxes_.Drive([&](HWND d) {
        EXPECT_FALSE(Enabled(d, IDC_EDIT_TITLE));
        Pick(d, 0);
        ASSERT_TRUE(Enabled(d, IDC_EDIT_TITLE));
        boxes_.Press(IDYES);
        Press(d, IDC_EDIT_TITLE);
        EXPECT_EQ(gt::Text(u8"「Served」\n\nに変更しますか？"), boxes_.seen().back().text);
        EXPECT_EQ("Served=" + url + "*;InternetShortcut=" + url + ";", Rows(d));
        Pick(d, 1);   // the shortcut's own row keeps its key
        EXPECT_FALSE(Enabled(d, IDC_EDIT_TITLE));
        // An arrow key moves the selection before the buttons are set.
        SendDlgItemMessageA(d, IDC_EDIT_LIST, WM_KEYDOWN, VK_UP, 0);
        EXPECT_FALSE(Enabled(d, IDC_EDIT_UP));
        EXPECT_TRUE(Enabled(d, IDC_EDIT_DOWN));
        SendDlgItemMessageA(d, IDC_EDIT_LIST, WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_TRUE(Enabled(d, IDC_EDIT_UP));
        EXPECT_FALSE(Enabled(d, IDC_EDIT_DOWN));
        // The line-break button: nothing in an empty box, one LF at the caret.
        boxes_.Drive([&](HWND box) {
            HWND value = GetDlgItem(box, IDC_ENTRY_VALUE);
            gt::SetItem(box, IDC_ENTRY_KEY, "k");
            Press(box, IDC_ENTRY_BREAK);
            values.push_back(Text(box, IDC_ENTRY_VALUE));
            // Between two double-byte characters: the box's positions are
            // characters, and the break lands at the caret all the same.
            gt::SetText(value, gt::Text(u8"お世話になって"));
            SendMessageA(value, EM_SETSEL, 2, 2);
            Press(box, IDC_ENTRY_BREAK);
            values.push_back(Text(box, IDC_ENTRY_VALUE));
            gt::SetText(value, std::string(1020, 'v'));
            Press(box, IDC_ENTRY_BREAK);
            values.push_back(std::to_string(Text(box, IDC_ENTRY_VALUE).size()));
            gt::SetText(value, "ab\r\ncd");
            // Help leaves it disabled until the next notification of a box.
            boxes_.Press(IDOK);
            SetFocus(GetDlgItem(box, IDHELP));   // as a click gives it
            Press(box, IDHELP);
            gt::Pump();
            values.push_back(Enabled(box, IDC_ENTRY_BREAK) ? "on" : "off");
            gt::ClickButton(box, IDOK);
        });
        Press(d, IDC_EDIT_NEW);
        EXPECT_EQ("k=ab" + gt::Text(u8"↓") + "cd*;", Rows(d).substr(Rows(d).rfind(";k=") + 1));
        boxes_.Drive([&](HWND box) {   // the lines come back as lines
            values.push_back(Text(box, IDC_ENTRY_VALUE));
            gt::ClickButton(box, IDOK);
        });
        Press(d, IDC_EDIT_MODIFY);
        gt::ClickButton(d, IDOK);
    });
    Command(CMD_EDIT);
    EXPECT_EQ(std::vector<std::string>({"", gt::Text(u8"お世\r\n話になって"), "1020", "off",
                                        "ab\r\ncd"}),
              values);
    EXPECT_EQ("Served=" + url + ";InternetShortcut=" + url + ";k=ab\ncd;", ReadBack("fav.url"));
    EXPECT_NE(std::string::npos, gt::ReadBytes(In("fav.url")).find("[InternetShortcut]\r\nURL=" + url));
}

}  // namespace
