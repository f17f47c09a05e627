// The clipboard information box: format lines, names, the text, limits.
#include "guitest.h"

#include "clip/clipinfo.h"
#include "clip/droptarget.h"
#include "res/resource.h"

namespace {

class ClipInfoTest : public gt::MainWindowTest {
protected:
    // Puts blocks of the given formats on the clipboard (text for CF_TEXT).
    void Put(const std::vector<UINT>& formats, const std::string& text = "")
    {
        ASSERT_TRUE(OpenClipboard(g_hMainWnd));
        EmptyClipboard();
        for (UINT format : formats) {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
            memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
            GlobalUnlock(block);
            SetClipboardData(format, block);
        }
        CloseClipboard();
    }
    // The box's text, as shown.
    std::string Shown(int* count = nullptr)
    {
        boxes_.Press(IDOK);
        int listed = ShowClipboardInfo(g_hMainWnd);
        if (count)
            *count = listed;
        EXPECT_EQ(1u, boxes_.seen().size());
        std::string text;
        if (!boxes_.seen().empty()) {
            text = boxes_.seen()[0].text;
            EXPECT_EQ("ZORIVEN", boxes_.seen()[0].caption);
        }
        boxes_.Clear();
        return text;
    }
};

TEST_F(ClipInfoTest, EmptyTextAndRegisteredFormats)
{
    ASSERT_TRUE(Start(folder_));
    Put({});
    EXPECT_EQ(gt::Text(u8"クリップボードにデータはありません。"), Shown());

    Put({CF_TEXT}, "snippet");
    std::string shown = Shown();
    EXPECT_EQ(0u, shown.find("       1(   1)  TEXT\n")) << shown;
    for (const char* synthesized : {"(   D)  UNICODETEXT\n", "(   7)  OEMTEXT\n"})
        EXPECT_NE(std::string::npos, shown.find(synthesized)) << shown;
    EXPECT_EQ("\n\nsnippet", shown.substr(shown.size() - 9));

    int liveWhileShown = -1;   // no drop reaches the main window under the box
    boxes_.Drive([&](HWND box) {
        liveWhileShown = LiveDropTargets();
        gt::ClickButton(box, IDOK);
    });
    ShowClipboardInfo(g_hMainWnd);
    EXPECT_EQ(0, liveWhileShown);
    EXPECT_EQ(1, LiveDropTargets());
    boxes_.Clear();

    UINT mine = RegisterClipboardFormatA("Zoriven Test Format");
    Put({mine});
    char line[64];
    snprintf(line, sizeof line, "%8u(%4X)  Zoriven Test Format\n", mine, mine);
    EXPECT_EQ(line, Shown());
}

// More formats than 4,096 bytes of lines can hold: the list stops with a
// line saying so, and the text still follows.
TEST_F(ClipInfoTest, LongFormatListIsCutWithANote)
{
    ASSERT_TRUE(Start(folder_));
    std::vector<UINT> formats = {CF_TEXT};
    for (int i = 0; i < 80; ++i)
        formats.push_back(RegisterClipboardFormatA(
            ("Zoriven format with a rather long registered name " + std::to_string(i)).c_str()));
    Put(formats, "tail");
    int count = 0;
    std::string shown = Shown(&count);
    std::string note = gt::Text(u8"（ほかにも形式があります）") + "\n\n\ntail";
    ASSERT_GE(shown.size(), note.size());
    EXPECT_EQ(note, shown.substr(shown.size() - note.size()));
    EXPECT_LT(shown.size(), 4096u + 8);
    EXPECT_GT(count, 30);
    EXPECT_LT(count, 80);
}

// A long text shows its first 20 lines, or its first 1,024 bytes cut on a
// character, then its whole size: the box stays on the screen.
TEST_F(ClipInfoTest, LongTextShowsItsStartAndItsSize)
{
    ASSERT_TRUE(Start(folder_));
    // kanji goes on the clipboard as CF_TEXT bytes, so it is code page 932.
    std::string lines, kanji = "x";   // odd: 1,024 bytes would end inside a character
    for (int i = 0; i < 30; ++i)
        lines += "line " + std::to_string(i) + "\n";
    for (int i = 0; i < 1000; ++i)
        kanji += gt::Sjis(u8"字");
    Put({CF_TEXT}, lines);
    std::string shown = Shown();
    EXPECT_EQ("line 19\n" + gt::Text(u8"（全体で 230 バイト）"), shown.substr(shown.find("line 19")));
    Put({CF_TEXT}, kanji);
    shown = Shown();
    // Sizes as code page 932 stores the text: 1,023 bytes of it shown.
    std::string start = "x";
    for (int i = 0; i < 511; ++i)
        start += u8"字";
    EXPECT_EQ(start + "\n" + gt::Text(u8"（全体で 2001 バイト）"), shown.substr(shown.find("\n\nx") + 2));
}

}  // namespace
