// The filter box: typed through the program's own message loop, it narrows
// the list; the order of the folder is never rearranged or written from
// what it shows.
#include <string>
#include <vector>

#include "guitest.h"
#include "app/searchbox.h"
#include "clip/copy.h"
#include "clip/paste.h"
#include "res/resource.h"
#include "store/searchtext.h"

using gt::MainWindowTest;
typedef std::vector<std::string> Names;

class SearchBoxTest : public MainWindowTest {
protected:
    void Type(const char* keys)
    {
        for (const char* k = keys; *k; ++k)
            gt::Press((WORD)toupper((unsigned char)*k));
        gt::Pump();
    }
    UINT Menu(int command)
    {
        SendMessageA(g_hMainWnd, WM_INITMENU, (WPARAM)GetMenu(g_hMainWnd), 0);
        return gt::MenuState(command) & MF_GRAYED;
    }
    std::string Clipboard()
    {
        char* text = GetClipboardText(g_hMainWnd, NULL);
        std::string copied = text ? text : "<none>";
        free(text);
        return copied;
    }
    void Library()
    {
        Group("Tokyo office");
        Item("memo.txt", gt::Sjis(u8"住所=東京都千代田区\r\n"));
        Item("osaka.txt", gt::Sjis(u8"住所=大阪市北区\r\n"));
        Item(gt::Text(u8"カタカナ.txt"), "k=v\r\n");
        Item("wide.txt", gt::Sjis(u8"ＡＢＣ=全角\r\n"));
        Order(gt::Sjis(u8"Tokyo office\r\nmemo.txt\r\nosaka.txt\r\nカタカナ.txt\r\nwide.txt\r\n"));
    }
};

// The system's folding: case, width and kana type alike; a Shift_JIS trail
// byte never starts a match.
TEST_F(SearchBoxTest, MatchingIsWhatAJapaneseUserExpects)
{
    Library();
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ(FoldForSearch("abc"), FoldForSearch(gt::Text(u8"ＡＢＣ").c_str()));
    EXPECT_EQ(FoldForSearch(gt::Text(u8"カタカナ").c_str()), FoldForSearch(gt::Text(u8"ｶﾀｶﾅ").c_str()));
    EXPECT_EQ(FoldForSearch(gt::Text(u8"カタカナ").c_str()), FoldForSearch(gt::Text(u8"かたかな").c_str()));
    EXPECT_EQ(FoldForSearch(gt::Text(u8"ガ").c_str()), FoldForSearch(gt::Text(u8"ｶﾞ").c_str()));
    // Past code page 932 as well, a character at a time.
    EXPECT_EQ(FoldForSearch(u8"ひらがな"), FoldForSearch(u8"ヒラガナ"));
    EXPECT_EQ(FoldForSearch(u8"éa"), FoldForSearch(u8"ÉＡ"));
    EXPECT_EQ(FoldForSearch(u8"Ωж"), FoldForSearch(u8"ωЖ"));
    EXPECT_EQ(u8"😀한", FoldForSearch(u8"😀한"));
    struct Case {
        const char* typed;
        std::vector<const char*> rows;
    } cases[] = {
        {"abc", {"wide"}},
        {u8"ｶﾀｶﾅ", {u8"カタカナ"}},
        {u8"かたかな", {u8"カタカナ"}},
        {u8"ＴＯＫＹＯ", {"Tokyo office"}},
        {u8"千代田", {"memo"}},             // a value
        {u8"住所", {"memo", "osaka"}},       // a key
        {"\\", {}},                          // the trail byte of 表 (0x955C)
        {"", {"Tokyo office", "memo", "osaka", u8"カタカナ", "wide"}},
    };
    for (const Case& c : cases) {
        gt::SetText(g_app->searchBox, gt::Text(c.typed));
        gt::Pump();
        Names want;
        for (const char* name : c.rows)
            want.push_back(gt::Text(name));
        EXPECT_EQ(want, gt::RowNames()) << c.typed;
    }
    Item(gt::Text(u8"表.txt"));
    Command(CMD_REFRESH);
    gt::SetText(g_app->searchBox, "\\");
    gt::Pump();
    EXPECT_EQ(Names{}, gt::RowNames());
}

TEST_F(SearchBoxTest, TypingFiltersAndEscGivesTheListBack)
{
    Library();
    ASSERT_TRUE(Start(folder_));
    std::string order = gt::ReadBytes(In("ZORIVEN.ORD"));
    SetForegroundWindow(g_hMainWnd);
    SetFocus(g_app->listView);
    gt::Press('K', {VK_CONTROL});
    gt::Pump();
    ASSERT_EQ(g_app->searchBox, GetFocus());
    Type("osa");
    EXPECT_EQ((Names{"osaka"}), gt::RowNames());
    EXPECT_EQ(gt::Text(u8"1 / 5 項目"), gt::StatusPart(2));
    EXPECT_EQ("osa", gt::WindowText(g_app->searchBox));

    // No command rearranges a filtered view; the others work on its row.
    EXPECT_TRUE(Menu(CMD_MOVE_UP) && Menu(CMD_MOVE_DOWN) && Menu(CMD_SAVE_ORDER));
    EXPECT_FALSE(Menu(CMD_COPY) || Menu(CMD_DELETE));
    EXPECT_FALSE(gt::ButtonState(CMD_MOVE_UP) & TBSTATE_ENABLED);
    EXPECT_FALSE(gt::ButtonState(CMD_MOVE_DOWN) & TBSTATE_ENABLED);
    gt::Press(VK_DOWN);
    gt::Pump();
    EXPECT_EQ(g_app->listView, GetFocus());
    gt::Press('P', {VK_CONTROL});   // up: greyed, so nothing moves
    gt::Press(VK_RETURN);           // copies the row as always
    gt::Pump();
    EXPECT_EQ(gt::Text(u8"大阪市北区"), Clipboard());

    // F3 goes back to the box; Esc empties it and keeps the row chosen.
    gt::Press(VK_F3);
    gt::Pump();
    ASSERT_EQ(g_app->searchBox, GetFocus());
    gt::Press(VK_ESCAPE);
    gt::Pump();
    EXPECT_EQ("", gt::WindowText(g_app->searchBox));
    EXPECT_EQ(5u, gt::RowNames().size());
    EXPECT_EQ(GetRowRecord(2), GetSelectedRecord(NULL, -1));
    EXPECT_EQ(gt::Text(u8"5 項目"), gt::StatusPart(2));
    EXPECT_EQ(order, gt::ReadBytes(In("ZORIVEN.ORD")));
    EXPECT_FALSE(Menu(CMD_SAVE_ORDER));
}

// A row deleted or made while filtered leaves the rest of the folder's
// order as it was; leaving the folder saves the whole order.
TEST_F(SearchBoxTest, CommandsOnAFilteredViewKeepTheWholeOrder)
{
    Library();
    ASSERT_TRUE(Start(folder_));
    gt::SetText(g_app->searchBox, gt::Text(u8"住所"));
    gt::Pump();
    Select(1);
    boxes_.Press(IDYES);
    Command(CMD_DELETE);
    EXPECT_EQ((Names{"memo"}), gt::RowNames());
    Command(CMD_NEW_GROUP);   // shown though it does not match
    SendMessageA((HWND)SendMessageA(g_app->listView, LVM_GETEDITCONTROL, 0, 0), WM_KEYDOWN,
                 VK_ESCAPE, 0);
    gt::Pump();
    EXPECT_EQ(2u, gt::RowNames().size());
    EXPECT_EQ(gt::Text(u8"2 / 5 項目"), gt::StatusPart(2));
    Command(CMD_REFRESH);     // the same folder: the filter stays
    EXPECT_EQ((Names{"memo"}), gt::RowNames());
    EXPECT_EQ(gt::Sjis("Tokyo office\r\nmemo.txt\r\n" u8"カタカナ.txt\r\nwide.txt\r\n" u8"新しいグループ\r\n"),
              gt::ReadBytes(In("ZORIVEN.ORD")));
    // Another folder: the box empties, every row is shown.
    gt::SetText(g_app->searchBox, "tokyo");
    gt::Pump();
    Select(0);
    SendMessageA(g_app->listView, WM_KEYDOWN, VK_RETURN, 0);
    gt::Pump();
    EXPECT_EQ("", gt::WindowText(g_app->searchBox));
    EXPECT_FALSE(RowsFiltered());
}

// The box's editing keys are the edit's own: a typo can be corrected, a
// word pasted, the whole text selected and deleted; text an input method
// sends (characters, not key codes) filters as typed text does.
TEST_F(SearchBoxTest, TheBoxEditsLikeAnyTextBox)
{
    Library();
    ASSERT_TRUE(Start(folder_));
    SetForegroundWindow(g_hMainWnd);
    gt::Press('K', {VK_CONTROL});
    Type("memq");
    EXPECT_EQ(Names{}, gt::RowNames());
    gt::Press(VK_BACK);
    gt::Pump();
    EXPECT_EQ("mem", gt::WindowText(g_app->searchBox));
    EXPECT_EQ((Names{"memo"}), gt::RowNames());

    // Every line of a pasted text is looked for, joined by spaces.
    SetClipboardText(g_hMainWnd, gt::Text(u8"大阪\r\n市\r\n").c_str());
    gt::Press('A', {VK_CONTROL});
    gt::Press('V', {VK_CONTROL});
    gt::Pump();
    EXPECT_EQ(gt::Text(u8"大阪 市"), gt::WindowText(g_app->searchBox));
    EXPECT_EQ(Names{}, gt::RowNames());
    gt::Press(VK_HOME);
    gt::Press(VK_RIGHT, {VK_SHIFT});
    gt::Press(VK_RIGHT, {VK_SHIFT});
    gt::Press('X', {VK_CONTROL});
    gt::Press(VK_DELETE);
    gt::Pump();
    EXPECT_EQ((Names{"osaka"}), gt::RowNames());   // "市", found in 大阪市北区
    gt::Press('Z', {VK_CONTROL});
    gt::Pump();
    EXPECT_EQ(gt::Text(u8"大阪 市"), gt::WindowText(g_app->searchBox));
    gt::Press(VK_END);
    gt::Press('V', {VK_CONTROL});
    gt::Pump();
    EXPECT_EQ(gt::Text(u8"大阪 市大阪"), gt::WindowText(g_app->searchBox));   // the cut text
    gt::Press('A', {VK_CONTROL});
    gt::Press(VK_DELETE);
    gt::Pump();
    EXPECT_EQ("", gt::WindowText(g_app->searchBox));
    EXPECT_EQ(5u, gt::RowNames().size());

    // Composed text arrives as characters of their own.
    std::vector<INPUT> keys;
    for (wchar_t ch : std::wstring(L"\u5343\u4ee3")) {   // 千代
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = ch;
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        keys.push_back(in);
        in.ki.dwFlags |= KEYEVENTF_KEYUP;
        keys.push_back(in);
    }
    SendInput((UINT)keys.size(), keys.data(), sizeof(INPUT));
    gt::Pump();
    EXPECT_EQ(gt::Text(u8"千代"), gt::WindowText(g_app->searchBox));
    EXPECT_EQ((Names{"memo"}), gt::RowNames());
    EXPECT_EQ(0, boxes_.unexpected());
}

// The box holds up to 255 characters: the filter takes them all, and a
// smaller buffer is cut after a whole character.
TEST_F(SearchBoxTest, AFullBoxOfKanjiIsCutOnACharacter)
{
    Library();
    ASSERT_TRUE(Start(folder_));
    std::wstring kanji(255, L'\u5343');   // 千, three bytes each
    SetWindowTextW(g_app->searchBox, kanji.c_str());
    char text[kSearchTextCap];
    GetSearchBoxText(text, sizeof text);
    std::string expected;
    for (int i = 0; i < 255; ++i)
        expected += u8"千";
    EXPECT_EQ(expected, text);
    GetSearchBoxText(text, 6);
    EXPECT_EQ(u8"千", std::string(text));
}
