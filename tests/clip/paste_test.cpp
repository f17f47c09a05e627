// Items made from the clipboard's text and from dropped text.
#include <algorithm>

#include "guitest.h"
#include "httpserver.h"

#include "clip/copy.h"
#include "clip/paste.h"
#include "store/itemtext.h"
#include "res/resource.h"

namespace {

class PasteTest : public gt::MainWindowTest {
protected:
    bool Renaming()   // the rename was started (a reload ends it)
    {
        gt::Pump();
        return SendMessageA(g_app->listView, LVM_GETEDITCONTROL, 0, 0) != 0;
    }
    std::string Entries(int row)   // "key=value;" for every entry of the row's record
    {
        const ItemRecord* record = GetRowRecord(row);
        std::string all;
        for (int i = 0; i < record->entryCount; ++i)
            all += std::string(record->entries[i].key) + "=" + record->entries[i].value + ";";
        return all;
    }
};

TEST_F(PasteTest, PastedTextsMakeItemsNamedAfterThem)
{
    gt::HttpServer server;
    server.Serve("/t", gt::Page("<title>Served Page</title>"));
    ASSERT_TRUE(Start(folder_));
    const std::string url = "http://example.test/dir/page.html", served = server.Url("/t");
    // The limits are the bytes code page 932 stores: あ takes two there.
    auto a = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += u8"あ";
        return s;
    };
    std::string wide = a(2500), y(1020, 'y');
    const std::string odd = "x" + a(750) + "\r\nmore";
    struct Case {
        std::string text, file, key, value;   // file empty: nothing is made
        bool title, told;
    } cases[] = {
        {url, "example.test.url", "example.test", url},
        {"http://localhost:8080/x", "localhost8080.url", "localhost:8080", "http://localhost:8080/x"},
        {served, "Served Page.url", "Served Page", served, true},
        {"abc def", "abc def.txt", "abc def", "abc def"},
        {"abc def", "abc def (1).txt", "abc def", "abc def"},
        {"*x", gt::Text(u8"無題.txt"), "*x", "*x"},
        {"line1\r\nline2\r\n", "line1.txt", "line1", "line1\nline2"},
        {"a\nb\rc\r\n \r\n", "a.txt", "a", "a\nb\nc"},
        {"a ", "a .txt", "a ", "a "},
        {"bc ", "bc.txt", "bc ", "bc"},
        {wide, a(63) + ".txt", a(509), a(510), 0, 1},
        {odd, "x" + a(63) + ".txt", "x" + a(509), "x" + a(509), 0, 1},
        {y + "\r\n ", y.substr(0, 127) + ".txt", y.substr(0, 1019), y},
        {"\r\n \r\nno key", "no key.txt", "no key", "no key"},   // blank lines before it go
        {"\r\n", "", "", "", 0, 1},   // nothing to make an item of: said so
        {" \r\n  \r\n", "", "", "", 0, 1},
    };
    size_t rows = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));   // each reload below clears the order-changed flag
        g_app->options[AutoTitle] = c.title;
        boxes_.Clear();
        if (c.told)
            boxes_.Press(IDOK);
        SetClipboardText(g_hMainWnd, c.text.c_str());
        Command(CMD_PASTE);
        rows += !c.file.empty();
        ASSERT_EQ((size_t)c.told, boxes_.seen().size());
        EXPECT_EQ(!c.file.empty(), Renaming() && g_app->orderChanged == 1 &&
                                       GetSelectedRecord(NULL, -1) == GetRowRecord((int)rows - 1));
        EXPECT_EQ(std::to_string(rows) + gt::Text(u8" 項目"), gt::StatusPart(2));
        if (c.file.empty()) {
            EXPECT_TRUE(!c.told || boxes_.seen()[0].text ==
                                       gt::Text(u8"テキストが空か、改行と空白だけのため、項目を作成できません。"));
            continue;
        }
        std::string stored = c.value;   // a line break is kept as 0x0B in the file
        std::replace(stored.begin(), stored.end(), '\n', '\x0B');
        EXPECT_EQ(gt::Sjis((c.key + "=" + stored + "\r\n").c_str()), gt::ReadBytes(In(c.file)));
        Command(CMD_REFRESH);   // read back (a space at the end is trimmed)
        std::string kept = std::to_string(StoredLength(c.value.c_str(), kFormCp932));
        EXPECT_TRUE(!c.told || boxes_.seen()[0].text.find(kept) != std::string::npos);
        EXPECT_TRUE(c.value == "a " || Entries((int)rows - 1) == c.key + "=" + c.value + ";");
    }
    // One fetch names both the file and the key; a page that cannot be
    // reached is reported once.
    EXPECT_EQ(1u, server.Requests().size());
    g_app->options[AutoTitle] = 1;
    boxes_.Clear();
    boxes_.Press(IDOK);
    SetClipboardText(g_hMainWnd, "http://127.0.0.1:9/closed");
    Command(CMD_PASTE);
    EXPECT_EQ(1u, boxes_.seen().size());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 7);   // no terminator (Wine puts one in the last byte)
    memcpy(GlobalLock(block), "unended", 7);
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(NULL) && EmptyClipboard() && SetClipboardData(CF_TEXT, block));
    CloseClipboard();
    char* copy = GetClipboardText(g_hMainWnd, NULL);
    EXPECT_TRUE(copy && (!strcmp(copy, "unended") || !strcmp(copy, "unende")));
    free(copy);
}

TEST_F(PasteTest, DropsAskAppendOrNewAndAppendToTheFileOnDisk)
{
    std::string full;
    for (int i = 0; i < kMaxEntries; ++i)
        full += "k" + std::to_string(i) + "=v\r\n";
    Item("a.txt");
    const std::string fav = "[DEFAULT]\r\nBASEURL=http://example.jp/\r\n[InternetShortcut]\r\n"
                            "URL=http://example.jp/a\r\nIDList=\r\nIconIndex=1\r\n"
                            "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n";
    Item("fav.url", fav);
    Item("full.txt", full);
    Item("gone.txt");
    Group("g");
    Order("a.txt\r\nfav.url\r\nfull.txt\r\ngone.txt\r\ng\r\n");
    ASSERT_TRUE(Start(folder_));
    g_app->options[DropAction] = DropAsk;
    boxes_.Press(IDCANCEL);
    EXPECT_FALSE(MakeItemFromText(g_hMainWnd, "t1", TRUE, 0));
    EXPECT_EQ(0u, boxes_.seen().at(0).text.find(gt::Text(u8"「a.txt」に追加しますか？\n\n")));
    Item("a.txt", "k=v\r\nedited=later\r\n");   // since the folder was read
    boxes_.Press(IDYES);
    EXPECT_TRUE(MakeItemFromText(g_hMainWnd, "t2", TRUE, 0));
    EXPECT_FALSE(Renaming());
    EXPECT_EQ("k=v\r\nedited=later\r\nt2=t2\r\n", gt::ReadBytes(In("a.txt")));
    EXPECT_EQ("k=v;edited=later;t2=t2;", Entries(0));
    g_app->options[DropAction] = DropAppend;
    std::string shortcut = Entries(1);
    EXPECT_TRUE(MakeItemFromText(g_hMainWnd, "memo", TRUE, 1));
    EXPECT_EQ(fav + "memo=memo\r\n", gt::ReadBytes(In("fav.url")));   // every other byte kept
    Command(CMD_REFRESH);   // read back
    EXPECT_EQ(shortcut + "memo=memo;", Entries(1));
    boxes_.Press(IDOK);
    EXPECT_FALSE(MakeItemFromText(g_hMainWnd, "more", TRUE, 2));
    EXPECT_EQ(gt::Text(u8"「full.txt」には既に 32 個のデータがあるため、これ以上追加できません。"),
              boxes_.seen().at(2).text);
    EXPECT_EQ(full, gt::ReadBytes(In("full.txt")));   // the record is changed only after a write
    ASSERT_TRUE(DeleteFileA(In("gone.txt").c_str()));
    boxes_.Press(IDOK);
    EXPECT_FALSE(MakeItemFromText(g_hMainWnd, "x", TRUE, 3));
    EXPECT_EQ(gt::SystemText(ERROR_PATH_NOT_FOUND), boxes_.seen().at(3).text);
    boxes_.Press(IDOK);   // a drop of line ends only: said so, nothing made
    EXPECT_EQ(0, SendMessageA(g_hMainWnd, WM_DROPTEXT, 0, (LPARAM)"\r\n"));
    EXPECT_EQ(5u, boxes_.seen().size());
    g_app->options[DropAction] = DropAsk;   // rows now: a fav full g
    boxes_.Press(IDNO);
    EXPECT_TRUE(MakeItemFromText(g_hMainWnd, "t3", TRUE, 1));   // at the row
    EXPECT_TRUE(Renaming());
    g_app->options[InsertAfterDrop] = 1;
    boxes_.Press(IDNO);
    EXPECT_TRUE(MakeItemFromText(g_hMainWnd, "t4", TRUE, 1));   // after it
    EXPECT_TRUE(MakeItemFromText(g_hMainWnd, "t5", TRUE, 5));   // a group: no question
    EXPECT_TRUE(MakeItemFromText(g_hMainWnd, "t6", TRUE, -1));
    EXPECT_EQ((std::vector<std::string>{"a", "t3", "t4", "fav", "full", "g", "t5", "t6"}),
              gt::RowNames());   // t5: no box was expected
}

// Wine's notepad copies Unicode text: every character arrives, with no
// question, whether pasted or dropped, and goes back to notepad as it came.
// The file is UTF-8 after its mark only when code page 932 cannot hold it.
TEST_F(PasteTest, NotepadTextsPasteAndCopyBackWhole)
{
    gt::Notepad notepad;
    ASSERT_TRUE(Start(folder_));
    const wchar_t* texts[] = {
        L"お世話になっております。\r\n山田です。",
        L"会議は10時〜12時、気温−5℃、A‖B、費用¢100",
        L"価格表 Café 😀 naïve © 2026 ♥♡ 안녕하세요",
    };
    RECT rc = {};
    GetClientRect(g_app->listView, &rc);
    POINT below = {rc.right / 2, rc.bottom - 10};
    ClientToScreen(g_app->listView, &below);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(notepad.Copy(texts[i]));
        if (i == 2)
            EXPECT_EQ(DWORD(DROPEFFECT_COPY), gt::DragClipboard(below, DROPEFFECT_COPY));
        else
            Command(CMD_PASTE);
        ASSERT_EQ(i + 1, RowCount());
        const ItemRecord* record = GetRowRecord(i);
        std::string value = Narrow(texts[i]);
        value.erase(std::remove(value.begin(), value.end(), '\r'), value.end());
        std::string key = value.substr(0, value.find('\n'));
        EXPECT_EQ(key + "=" + value + ";", Entries(i));
        std::string stored = key + "=" + value + "\r\n";
        std::replace(stored.begin(), stored.end(), '\n', '\x0B');
        stored.replace(stored.size() - 2, 2, "\r\n");
        std::string file = std::string(record->name) + record->ext;
        EXPECT_EQ(i == 0 ? gt::Sjis(stored.c_str()) : "\xEF\xBB\xBF" + stored, gt::ReadBytes(In(file)));
        Command(CMD_REFRESH);
        Select(i);
        Command(CMD_COPY);
        // A line break goes to the clipboard as the LF the value holds.
        std::wstring sent = texts[i], back = notepad.Paste();
        for (size_t at; (at = sent.find(L"\r\n")) != std::wstring::npos;)
            sent.erase(at, 1);
        EXPECT_EQ(sent, back);
    }
    EXPECT_EQ(0, boxes_.unexpected());
}

}  // namespace
