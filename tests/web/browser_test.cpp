// Handing a URL to stand-in browsers in processes of their own
// (support/fake_browser.c), to a new browser, or to the association.
#include "guitest.h"
#include "web/browser.h"

static const char kIe[] = "WorkerA ReBarWindow32 ComboBoxEx32 ComboBox Edit";
static std::vector<std::string> s_opened;

static HINSTANCE WINAPI RecordOpen(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                   LPCSTR directory, INT show)
{
    EXPECT_TRUE(owner == g_hMainWnd && !strcmp("open", verb) && !parameters && !directory &&
                show == SW_SHOW);
    s_opened.push_back(file);
    return (HINSTANCE)42;
}

class BrowserTest : public gt::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Start(folder_));
        s_opened.clear();
        g_shellExecute = RecordOpen;   // never the real association
    }
    void TearDown() override
    {
        for (HANDLE fake : fakes_) {
            TerminateProcess(fake, 0);
            WaitForSingleObject(fake, 5000);
            CloseHandle(fake);
        }
        g_shellExecute = ShellExecuteA;
        MainWindowTest::TearDown();
    }
    // Starts a stand-in browser; returns the file its edit records into.
    std::string Fake(const std::string& title, const char* chain)
    {
        std::string record = In("fake" + std::to_string(fakes_.size()));
        std::string line = "\"" + gt::ProgramFolder() + "\\fake_browser.exe\" \"" + record +
                           "\" \"" + title + "\" " + chain;
        std::wstring wide = Widen(line.c_str());
        STARTUPINFOW startup = {sizeof startup};
        PROCESS_INFORMATION started = {};
        CreateProcessW(NULL, &wide[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &started);
        fakes_.push_back(started.hProcess);
        CloseHandle(started.hThread);
        EXPECT_EQ(0u, WaitForInputIdle(started.hProcess, 10000)) << title;
        // Back in the main window, as after a double-click on a row: under
        // Wine a browser still in front loses the foreground when its input
        // is attached, and the key with it. The message returns once the
        // stand-in has taken in its deactivation.
        HWND frame = FindWindowW(L"FakeBrowserFrame", Widen(title.c_str()).c_str());
        EXPECT_TRUE(frame) << title;
        SetForegroundWindow(g_hMainWnd);
        SendMessageA(frame, WM_NULL, 0, 0);
        return record;
    }
    std::vector<HANDLE> fakes_;
};

TEST_F(BrowserTest, TheFrontInternetExplorerGetsTheUrlAndEnter)
{
    std::string back = Fake("A - Microsoft Internet Explorer", kIe);
    std::string front = Fake(gt::Text("ホーム - Microsoft Internet Explorer"), kIe);
    NotifyBrowser(g_hMainWnd, "http://127.0.0.1/a");
    EXPECT_EQ("text=http://127.0.0.1/a\nenter\n", gt::ReadBytes(front));
    EXPECT_EQ("<missing>", gt::ReadBytes(back));
    EXPECT_TRUE(s_opened.empty());
}

TEST_F(BrowserTest, UrlsOutsideAsciiAreHandedOverPercentEncoded)
{
    std::string ie = Fake(gt::Text(u8"カフェ - Microsoft Internet Explorer"), kIe);
    NotifyBrowser(g_hMainWnd, u8"http://127.0.0.1/café?q=あ");
    EXPECT_EQ("text=http://127.0.0.1/caf%C3%A9?q=%E3%81%82\nenter\n", gt::ReadBytes(ie));
    TerminateProcess(fakes_.back(), 0);
    WaitForSingleObject(fakes_.back(), 5000);
    NotifyBrowser(g_hMainWnd, u8"http://127.0.0.1/한");
    EXPECT_EQ(std::vector<std::string>{"http://127.0.0.1/%ED%95%9C"}, s_opened);
}

TEST_F(BrowserTest, ShortcutUrlsKeepWhatCodePage932Holds)
{
    // Code page 932 has FULLWIDTH TILDE, not WAVE DASH.
    EXPECT_TRUE(UrlFitsCp932(u8"http://a/あ～"));
    EXPECT_FALSE(UrlFitsCp932(u8"http://a/〜"));
    char out[64];
    EXPECT_TRUE(ShortcutUrl(u8"http://a/あé〜", out, sizeof out));
    EXPECT_STREQ(u8"http://a/あ%C3%A9%E3%80%9C", out);
    // Neither form is cut into another address.
    EXPECT_FALSE(ShortcutUrl(u8"http://a/あ", out, 12));
    EXPECT_FALSE(ShortcutUrl(u8"http://a/é", out, 15));
    EXPECT_STREQ("", out);
}

TEST_F(BrowserTest, IeThenNetscapeThenNavixThenTheAssociation)
{
    // A browser that will not start gives way without a word.
    g_app->options[BrowserNew] = 1;
    CopyText(g_app->browserPath, kPathCap, In("no-such-browser.exe").c_str());
    Fake("i - Microsoft Internet Explorer", "WorkerA");
    // Its frame is not reached through "Afx:" windows: not Netscape's.
    std::string other = Fake("x - Netscape", "AfxWnd42 #32770 ComboBox Edit");
    NotifyBrowser(g_hMainWnd, "http://127.0.0.1/a");
    NotifyBrowser(g_hMainWnd, "");
    EXPECT_EQ(std::vector<std::string>{"http://127.0.0.1/a"}, s_opened);
    std::string navix = Fake("n - NAVIX", "ThunderRT6ComboBox Edit");
    NotifyBrowser(g_hMainWnd, "http://127.0.0.1/b");
    EXPECT_EQ("text=http://127.0.0.1/b\nenter\n", gt::ReadBytes(navix));
    std::string netscape = Fake("s - Netscape", "Afx:1 Afx:2 #32770 ComboBox Edit");
    NotifyBrowser(g_hMainWnd, "http://127.0.0.1/c");
    EXPECT_EQ("text=http://127.0.0.1/c\nenter\n", gt::ReadBytes(netscape));
    EXPECT_EQ("<missing>", gt::ReadBytes(other));
    EXPECT_EQ(1u, s_opened.size());
}

TEST_F(BrowserTest, TheTitleIsSearchedInItsFirst259Characters)
{
    // Beyond them no match counts; within them a match does, however many
    // bytes the characters before it take.
    Fake(std::string(240, 'x') + " - Microsoft Internet Explorer", kIe);
    NotifyBrowser(g_hMainWnd, "http://127.0.0.1/a");
    EXPECT_EQ(std::vector<std::string>{"http://127.0.0.1/a"}, s_opened);
    std::string title;
    for (int i = 0; i < 200; ++i)
        title += gt::Text(u8"表");
    std::string ie = Fake(title + " - Microsoft Internet Explorer", kIe);
    NotifyBrowser(g_hMainWnd, "http://127.0.0.1/b");
    EXPECT_EQ("text=http://127.0.0.1/b\nenter\n", gt::ReadBytes(ie));
    EXPECT_EQ(1u, s_opened.size());
}

TEST_F(BrowserTest, ANewBrowserGetsTheUrlOnItsCommandLine)
{
    std::string browser = gt::ProgramFolder() + "\\record_args.exe";
    CopyText(g_app->browserPath, kPathCap, browser.c_str());
    g_app->options[BrowserNew] = 1;
    SetEnvironmentVariableA("ZORIVEN_RECORD", In("args.out").c_str());
    NotifyBrowser(g_hMainWnd, "http://127.0.0.1/a b");
    std::string line;
    for (int i = 0; i < 200 && (line = gt::ReadBytes(In("args.out"))) == "<missing>"; ++i)
        Sleep(25);
    SetEnvironmentVariableA("ZORIVEN_RECORD", NULL);
    EXPECT_EQ(browser + " http://127.0.0.1/a b", line);
    EXPECT_TRUE(s_opened.empty());
}
