// Another program changes the folder being shown: the list follows by
// itself, keeping the user's arrangement, selection and scroll position,
// and never while a rename in place is under way.
#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "guitest.h"
#include "ops/itemcommands.h"
#include "res/resource.h"
#include "store/folderload.h"
#include "store/folderwatch.h"

using gt::MainWindowTest;

namespace {

class FolderWatchTest : public MainWindowTest {
protected:
    typedef std::vector<std::string> Names;

    void SetUp() override { MainWindowTest::SetUp(), g_watchFolders = TRUE; }
    void TearDown() override { MainWindowTest::TearDown(), g_watchFolders = FALSE; }

    // Runs the commands in a command prompt of its own, in the folder.
    void Elsewhere(const std::string& commands)
    {
        std::string line = "cmd.exe /c " + commands;
        STARTUPINFOA start = {sizeof start};
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, folder_.c_str(),
                                   &start, &process));
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    // Pumps the window until done holds, for at most ms.
    bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000)
    {
        DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > ms)
                return false;
            gt::Pump(10, 50);
        }
        return true;
    }
};

TEST_F(FolderWatchTest, ChangesMadeElsewhereAppearKeepingArrangementAndSelection)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt", "e.txt"})
        Item(name);
    std::string order = "a.txt\r\nb.txt\r\nc.txt\r\ne.txt\r\n";
    Order(order);
    ASSERT_TRUE(Start(folder_));
    // The user's own arrangement, not saved yet.
    Select(3);
    ASSERT_TRUE(MoveSelectedRow(-1));
    ASSERT_EQ((Names{"a", "b", "e", "c"}), gt::RowNames());

    Elsewhere("echo k=added>added.txt & ren c.txt d.txt & del b.txt & echo k=changed>a.txt");
    ASSERT_TRUE(PumpUntil([] { return RowCount() == 4 && FindRowByName("added", NULL); }));
    Names names = gt::RowNames();
    EXPECT_EQ((Names{"a", "e"}), Names(names.begin(), names.begin() + 2));
    std::sort(names.begin() + 2, names.end());
    EXPECT_EQ((Names{"added", "d"}), Names(names.begin() + 2, names.end()));
    int row = -1;
    ItemRecord* selected = GetSelectedRecord(&row, -1);
    ASSERT_NE(nullptr, selected);
    EXPECT_STREQ("e", selected->name);
    EXPECT_EQ(1, row);
    EXPECT_STREQ("changed", GetRowRecord(0)->entries[0].value);
    // Nothing was written: the arrangement is saved when the folder is left.
    EXPECT_EQ(1, g_app->orderChanged);
    EXPECT_EQ(order, gt::ReadBytes(In(ORDER_FILE_NAME)));

    // Not while a name is being edited; right after.
    Select(0);
    Command(CMD_RENAME);
    HWND edit = (HWND)SendMessageA(g_app->listView, LVM_GETEDITCONTROL, 0, 0);
    ASSERT_NE(nullptr, edit);
    Elsewhere("echo k=v>later.txt");
    EXPECT_FALSE(PumpUntil([] { return FindRowByName("later", NULL) != nullptr; }, 1500));
    PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([] { return FindRowByName("later", NULL) != nullptr; }));
    EXPECT_STREQ("a", GetSelectedRecord(&row, -1)->name);
}

TEST_F(FolderWatchTest, TheFirstRowShownStaysWhenRowsAreAdded)
{
    Notes(150, 1000);
    ASSERT_TRUE(Start(folder_));
    Select(120);
    int top = (int)SendMessageA(g_app->listView, LVM_GETTOPINDEX, 0, 0);
    ASSERT_GT(top, 0);
    Elsewhere("echo k=v>extra.txt");
    ASSERT_TRUE(PumpUntil([] { return RowCount() == 151; }));
    EXPECT_EQ(top, (int)SendMessageA(g_app->listView, LVM_GETTOPINDEX, 0, 0));
    int row = -1;
    EXPECT_STREQ("note1120", GetSelectedRecord(&row, -1)->name);
    EXPECT_EQ(120, row);
}

// A sync engine's moves: a file written in pieces, held open meanwhile
// (between runs after each piece but the last); or brought the way
// Syncthing does, under a temporary name and then renamed.
void Write(const std::string& path, const std::string& bytes, int pieces, DWORD pauseMs,
           const std::function<void(int)>& between = nullptr)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              CREATE_ALWAYS, 0, NULL);
    size_t piece = bytes.size() / pieces + 1;
    for (size_t at = 0; at < bytes.size(); at += piece) {
        DWORD wrote = 0;
        WriteFile(file, &bytes[at], (DWORD)std::min(piece, bytes.size() - at), &wrote, NULL);
        Sleep(pauseMs);
        if (between && at + piece < bytes.size())
            between((int)(at / piece));
    }
    CloseHandle(file);
}

void Arrive(const std::string& folder, const std::string& name, const std::string& bytes,
            int pieces = 1, DWORD pauseMs = 0)
{
    std::string temp = folder + "\\.syncthing." + name + ".tmp";
    Write(temp, bytes, pieces, pauseMs);
    MoveFileExA(temp.c_str(), (folder + "\\" + name).c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::string Entries(int count, size_t length)
{
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += "k" + std::to_string(i) + "=" + std::string(length, 'a') + "\r\n";
    return bytes;
}

TEST_F(FolderWatchTest, ASyncEnginesFilesBecomeRowsOnlyWhenWhole)
{
    Item("memo.txt", "k=mine\r\n");
    Order("memo.txt\r\n");
    Group(".stfolder");
    ASSERT_TRUE(Start(folder_));
    std::atomic<int> phase{0};
    std::atomic<bool> running{true};
    const std::string aside = "ZORIVEN.sync-conflict-20261210-110547-X.ORD";
    std::thread engine([&] {
        Arrive(folder_, "big.txt", Entries(32, 1000), 6, 250);   // 1.5 s at a slow link
        phase = 1;
        for (int i = 0; i < 100; ++i)
            Arrive(folder_, "n" + std::to_string(100 + i) + ".txt", "k=v\r\n");
        Sleep(500);
        // Other files arrive while one is written under its final name.
        phase = 2;
        Write(In("direct.txt"), Entries(32, 100), 6, 400,
              [&](int i) { Arrive(folder_, "side" + std::to_string(i) + ".txt", "k=v\r\n"); });
        phase = 3;
        Arrive(folder_, "memo.sync-conflict-20261210-110547-X.txt", "k=theirs\r\n");
        Arrive(folder_, aside, "n100.txt\r\n");
        running = false;
    });
    struct Joined {
        std::thread& t;
        ~Joined() { t.join(); }
    } joined{engine};
    int reads[4] = {g_watchReads, -1, -1, -1};
    while (running) {
        int seen = phase;
        gt::Pump(10, 50);
        for (const std::string& name : gt::RowNames())
            ASSERT_NE('.', name[0]) << name;   // no marker folder, no temporary file
        if (seen == 2) {
            ASSERT_EQ(nullptr, FindRowByName("direct", NULL));
        }
        if (reads[seen] < 0)
            reads[seen] = g_watchReads;
    }
    ASSERT_TRUE(PumpUntil([] { return RowCount() == 109; }));
    EXPECT_EQ(32, FindRowByName("big", NULL)->entryCount);
    EXPECT_EQ(32, FindRowByName("direct", NULL)->entryCount);
    // The burst was read once or a few times, not once per file.
    RecordProperty("reads_of_the_burst", reads[2] - reads[1]);
    EXPECT_LT(reads[2] - reads[1], 10);
    // The conflict copy beside its original; the order set aside is said.
    EXPECT_STREQ("memo.sync-conflict-20261210-110547-X", GetRowRecord(1)->name);
    EXPECT_TRUE(PumpUntil([&] { return gt::StatusPart(0).find(aside) != std::string::npos; }));

    // A row that becomes a temporary name again is gone, and back once.
    MoveFileA(In("n100.txt").c_str(), In(".syncthing.n100.txt.tmp").c_str());
    ASSERT_TRUE(PumpUntil([] { return RowCount() == 108; }));
    MoveFileA(In(".syncthing.n100.txt.tmp").c_str(), In("n100.txt").c_str());
    ASSERT_TRUE(PumpUntil([] { return RowCount() == 109 && FindRowByName("n100", NULL); }));
    Close();
    std::string order = gt::ReadBytes(In(ORDER_FILE_NAME));
    EXPECT_EQ(std::string::npos, order.find(".st")) << order;
    EXPECT_EQ(std::string::npos, order.find(".tmp")) << order;
    EXPECT_EQ("n100.txt\r\n", gt::ReadBytes(In(aside)));
}

}  // namespace
