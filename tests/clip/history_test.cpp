// The clipboard history as a user meets it: what other programs copy is
// recorded (never what is private, excluded or the program's own), kept
// across restarts, shown in the list, saved into the library.
#include <shlobj.h>
#include <shlwapi.h>

#include <functional>

#include "guitest.h"

#include "app/regkey.h"
#include "clip/history.h"
#include "store/pathtext.h"
#include "res/resource.h"

namespace {

using Texts = std::vector<std::string>;

class HistoryTest : public gt::MainWindowTest {
protected:
    void SetUp() override
    {
        gt::MainWindowTest::SetUp();
        ASSERT_TRUE(HistoryFilePath(file_, sizeof file_));
        CopyText(aside_, sizeof aside_, file_);
        AppendText(aside_, sizeof aside_, ".damaged");
        DeleteFileA(file_);
        DeleteFileA(aside_);
    }
    void TearDown() override
    {
        gt::MainWindowTest::TearDown();
        DeleteFileA(file_);
        DeleteFileA(aside_);
    }
    Texts History()
    {
        Texts texts;
        HistoryList* list = ::History();
        for (size_t i = 0; list && i < list->Count(); ++i)
            texts.push_back(*list->At(i));
        return texts;
    }
    bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000)
    {
        for (DWORD start = GetTickCount(); !done(); gt::Pump(10, 50))
            if (GetTickCount() - start > ms)
                return false;
        return true;
    }
    bool Top(const std::string& text)
    {
        return PumpUntil([&] { return !History().empty() && History()[0] == text; });
    }
    // Each copy as a user makes them in notepad, one after the other has
    // arrived; notepad ends after, as a closed source does.
    bool CopyEach(std::vector<const wchar_t*> texts)
    {
        gt::Notepad notepad;
        for (const wchar_t* text : texts)
            if (!notepad.Copy(text) || !Top(WideToUtf8(text, wcslen(text))))
                return false;
        return true;
    }
    // Text put on the clipboard by this program with a window of none, so
    // only the formats beside it decide.
    void PutText(const wchar_t* text, const wchar_t* marker = nullptr, DWORD value = 0)
    {
        auto put = [](UINT format, const void* bytes, size_t size) {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
            memcpy(GlobalLock(block), bytes, size);
            GlobalUnlock(block);
            SetClipboardData(format, block);
        };
        ASSERT_TRUE(OpenClipboard(NULL));
        EmptyClipboard();
        put(CF_UNICODETEXT, text, (wcslen(text) + 1) * sizeof(wchar_t));
        if (marker)
            put(RegisterClipboardFormatW(marker), &value, sizeof value);
        CloseClipboard();
        gt::Pump();
    }
    std::vector<std::string> ListRows()
    {
        std::vector<std::string> rows;
        int n = (int)SendMessageW(g_app->listView, LVM_GETITEMCOUNT, 0, 0);
        for (int i = 0; i < n; ++i) {
            wchar_t text[512] = L"";
            LVITEMW item = {};
            item.iSubItem = 0;
            item.pszText = text;
            item.cchTextMax = 512;
            SendMessageW(g_app->listView, LVM_GETITEMTEXTW, i, (LPARAM)&item);
            rows.push_back(Narrow(text));
        }
        return rows;
    }
    void SelectEntry(int row)
    {
        LVITEMW state = {};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(g_app->listView, LVM_SETITEMSTATE, row, (LPARAM)&state);
        gt::Pump();
    }
    std::string Title() { return gt::WindowText(g_hMainWnd); }
    bool FileThere() { return PathFileExistsA(file_) != FALSE; }

    char file_[kPathCap];
    char aside_[kPathCap];
};

}  // namespace

TEST_F(HistoryTest, RecordsOtherProgramsCopiesNewestFirstButNothingPrivate)
{
    Item("mail.txt", "k=hello\r\n");
    ASSERT_TRUE(Start(folder_));
    ASSERT_TRUE(CopyEach({L"one", L"two", L"三 😀"}));
    EXPECT_EQ((Texts{u8"三 😀", "two", "one"}), History());
    ASSERT_TRUE(CopyEach({L"two"}));
    EXPECT_EQ((Texts{"two", u8"三 😀", "one"}), History());

    // Marked private in each way Windows defines; a source that allows it.
    PutText(L"secret 1", L"ExcludeClipboardContentFromMonitorProcessing");
    PutText(L"secret 2", L"Clipboard Viewer Ignore");
    PutText(L"secret 3", L"CanIncludeInClipboardHistory", 0);
    // A text too long for an entry keeps its first MiB, cut on a character.
    std::wstring huge(700 * 1024, L'\u3042');
    PutText(huge.c_str());
    ASSERT_TRUE(PumpUntil([&] { return History()[0].size() > 1000; }));
    EXPECT_GE((size_t)kHistoryEntryCap, History()[0].size());
    EXPECT_EQ(kHistoryCutMark, History()[0].substr(History()[0].size() - strlen(kHistoryCutMark)));
    PutText(L"allowed", L"CanIncludeInClipboardHistory", 1);
    ASSERT_TRUE(Top("allowed"));

    // The program's own copy is in the library already.
    Select(0);
    Command(CMD_COPY);
    gt::Pump(200);

    // A program of the exclusion list, by its process's image name.
    std::wstring line = L"\"" + Widen(gt::ProgramFolder().c_str()) + L"\\KeePass.exe\" vault secret";
    STARTUPINFOW start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION helper = {};
    ASSERT_TRUE(CreateProcessW(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &start, &helper));
    EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(helper.hProcess, 0) == WAIT_OBJECT_0; },
                          10000));
    CloseHandle(helper.hProcess);
    CloseHandle(helper.hThread);
    ASSERT_TRUE(CopyEach({L"after"}));
    Texts texts = History();
    texts.erase(texts.begin() + 2);   // the long one
    EXPECT_EQ((Texts{"after", "allowed", "two", u8"三 😀", "one"}), texts);
}

// Each start also reads its settings at their bounds: a size past the
// most, an exclusion list of 4,095 bytes, a longer one (cut after its last
// whole name) and an empty one.
TEST_F(HistoryTest, KeptAcrossRestartsUnlessInMemoryOnlyAndClearedWithItsFile)
{
    std::string fits;
    while (fits.size() + 6 <= kListCap - 1)
        fits += "a.exe;";
    fits += std::string(kListCap - 2 - fits.size(), 'b') + ";";
    const std::string over = fits.substr(0, fits.size() - 1) + "c.exe;";
    auto start = [&](const std::string& exclude, const std::string& read, DWORD memoryOnly) {
        RegKey settings(REG_BASE_PATH, "ZORIVEN", false);
        settings.WriteString("HistoryExclude", exclude.c_str());
        settings.WriteDword("HistorySize", 20000);
        settings.WriteDword("HistoryMemoryOnly", memoryOnly);
        settings.Close();
        if (!Start(folder_))
            return false;
        EXPECT_EQ(read, std::string(g_app->historyExclude)) << exclude.size();
        EXPECT_EQ(kHistoryMax, g_app->historySize);
        return true;
    };
    ASSERT_TRUE(start(fits, fits, 0));
    ASSERT_TRUE(CopyEach({L"kept\r\nover a restart"}));
    // Written while the program runs, by its writer.
    EXPECT_TRUE(PumpUntil([&] { return FileThere(); }, 4000));
    Close();
    ASSERT_TRUE(start(";", ";", 0));
    EXPECT_EQ((Texts{"kept\r\nover a restart"}), History());

    boxes_.Press(IDYES);
    Command(CMD_HISTORY_CLEAR);
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(gt::Text(u8"確認"), boxes_.seen()[0].caption);
    EXPECT_TRUE(History().empty());
    EXPECT_TRUE(PumpUntil([&] { return !FileThere(); }));
    Close();

    ASSERT_TRUE(start(over, fits.substr(0, fits.rfind(';', fits.size() - 2) + 1), 1));
    ASSERT_TRUE(CopyEach({L"volatile"}));
    gt::Pump(1500, 3000);
    EXPECT_FALSE(FileThere());
    Close();
    ASSERT_TRUE(start(fits, fits, 1));
    EXPECT_TRUE(History().empty());
}

TEST_F(HistoryTest, ViewCopiesFiltersDeletesAndGoesBackToTheFolder)
{
    Item("a.txt");
    ASSERT_TRUE(Start(folder_));
    ASSERT_TRUE(CopyEach({L"first line\r\nsecond", L"カタカナ", L"other"}));

    Command(CMD_HISTORY);
    EXPECT_EQ(gt::Text(u8"ZORIVEN - 履歴"), Title());
    EXPECT_EQ(gt::Text(u8"3 項目"), gt::StatusPart(2));
    EXPECT_EQ((Texts{"other", gt::Text(u8"カタカナ"), gt::Text(u8"first line↓second")}), ListRows());
    SelectEntry(2);
    EXPECT_EQ(gt::Text(u8"first line（18 文字）"), gt::StatusPart(0));
    for (int command : {CMD_NEW_ITEM, CMD_EDIT, CMD_NOTIFY, CMD_DUPLICATE})
        EXPECT_FALSE(gt::ButtonState(command) & TBSTATE_ENABLED) << command;
    EXPECT_TRUE(gt::ButtonState(CMD_COPY) & TBSTATE_ENABLED);
    Command(CMD_COPY);
    EXPECT_TRUE(Top("other"));   // stays where it was
    EXPECT_EQ(L"first line\r\nsecond", gt::ClipboardWide());

    // New copies come in at the top while the view is shown.
    ASSERT_TRUE(CopyEach({L"newest"}));
    EXPECT_EQ(gt::Text(u8"4 項目"), gt::StatusPart(2));

    // Half-width katakana finds full-width, as in a folder.
    SetWindowTextW(g_app->searchBox, L"ｶﾀｶﾅ");
    gt::Pump();
    EXPECT_EQ((Texts{gt::Text(u8"カタカナ")}), ListRows());
    EXPECT_EQ(gt::Text(u8"1 / 4 項目"), gt::StatusPart(2));
    SelectEntry(0);
    Command(CMD_DELETE);
    EXPECT_TRUE(ListRows().empty());
    SetWindowTextW(g_app->searchBox, L"");
    gt::Pump();
    EXPECT_EQ((Texts{"newest", "other", gt::Text(u8"first line↓second")}), ListRows());
    Command(CMD_RENAME);   // entries have no names
    EXPECT_EQ(nullptr, (HWND)SendMessageW(g_app->listView, LVM_GETEDITCONTROL, 0, 0));

    Command(CMD_PARENT);
    EXPECT_FALSE(g_app->historyView);
    EXPECT_TRUE(gt::ButtonState(CMD_NEW_ITEM) & TBSTATE_ENABLED);
    EXPECT_EQ((std::vector<std::string>{"a"}), gt::RowNames());
    EXPECT_EQ(std::string::npos, Title().find(gt::Text(u8"履歴")));
}

// The item is the one a paste of the same text makes, and its row is
// renamed in place in the folder shown before, or in one chosen.
TEST_F(HistoryTest, SaveToLibraryMakesTheItemAPasteMakesAndRenamesItsRow)
{
    Item("a.txt");
    Group("box");
    ASSERT_TRUE(Start(folder_));
    ASSERT_TRUE(CopyEach({L"メモ note\r\nsecond line"}));
    Command(CMD_PASTE);
    const std::string name = gt::Text(u8"メモ note.txt");
    std::string pasted = gt::ReadBytes(In(name));
    ASSERT_NE("<missing>", pasted);
    ASSERT_TRUE(DeleteFileW(Widen(In(name).c_str()).c_str()));
    Command(CMD_REFRESH);

    Command(CMD_HISTORY);
    SelectEntry(0);
    Command(CMD_HISTORY_SAVE);
    EXPECT_FALSE(g_app->historyView);
    EXPECT_EQ(pasted, gt::ReadBytes(In(name)));
    HWND edit = (HWND)SendMessageW(g_app->listView, LVM_GETEDITCONTROL, 0, 0);
    ASSERT_NE(nullptr, edit);
    gt::SetText(edit, "kept");
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    gt::Pump();
    EXPECT_EQ(pasted, gt::ReadBytes(In("kept.txt")));
    EXPECT_EQ((std::vector<std::string>{"a", "box", "kept"}), gt::RowNames());

    // A folder outside the library is refused; the chosen one is shown.
    Command(CMD_HISTORY);
    SelectEntry(0);
    const std::string outside = gt::MakeTempFolder();
    for (const std::string& chosen : {outside, In("box")}) {
        std::wstring wide = Widen(chosen.c_str());
        boxes_.Drive([&](HWND box) {
            SendMessageW(box, BFFM_SETSELECTIONW, TRUE, (LPARAM)wide.c_str());
            gt::ClickButton(box, IDOK);
        });
        if (chosen == outside)
            boxes_.Press(IDOK);
        Command(CMD_HISTORY_SAVE_TO);
    }
    ASSERT_EQ(3u, boxes_.seen().size());
    EXPECT_NE(std::string::npos, boxes_.seen()[1].text.find(folder_));
    EXPECT_EQ((std::vector<std::string>{}), gt::FolderNames(outside));
    EXPECT_TRUE(EqualNoCase(In("box").c_str(), g_app->currentFolder)) << g_app->currentFolder;
    EXPECT_EQ(pasted, gt::ReadBytes(In("box\\" + name)));
    EXPECT_NE(nullptr, (HWND)SendMessageW(g_app->listView, LVM_GETEDITCONTROL, 0, 0));
    gt::RemoveTree(outside);
}

TEST_F(HistoryTest, DamagedFileIsSetAsideAndAnEmptyHistoryBegins)
{
    std::string good, longer, random;
    WriteHistory({std::make_shared<const std::string>("abc")}, &good);
    // An entry longer than its bound, its check sum matching.
    WriteHistory({std::make_shared<const std::string>(kHistoryEntryCap + 1, 'a')}, &longer);
    for (int i = 0; i < 4096; ++i)
        random += (char)(i * 7919 % 251);
    for (const std::string& bytes : {random, good.substr(0, good.size() - 1), longer}) {
        ASSERT_TRUE(gt::WriteBytes(file_, bytes));
        ASSERT_TRUE(Start(folder_));
        EXPECT_TRUE(History().empty());
        EXPECT_EQ(bytes, gt::ReadBytes(aside_));
        EXPECT_FALSE(FileThere());
        Close();
    }
    ASSERT_TRUE(gt::WriteBytes(file_, good));
    ASSERT_TRUE(Start(folder_));
    EXPECT_EQ((Texts{"abc"}), History());
}
