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

// A sync engine at work on a thread of its own, the way Syncthing brings
// a file: written in pieces under its temporary name, then renamed; or
// the way a writer that holds the final name open writes it.
class Engine {
public:
    explicit Engine(const std::string& folder) : folder_(folder) {}
    ~Engine() { Join(); }
    void Run(std::function<void(Engine&)> script)
    {
        running_ = true;
        thread_ = std::thread([this, script] {
            script(*this);
            running_ = false;
        });
    }
    bool Running() const { return running_; }
    void Join()
    {
        if (thread_.joinable())
            thread_.join();
    }
    void Arrive(const std::string& name, const std::string& bytes, int pieces, DWORD pauseMs)
    {
        std::string temp = ".syncthing." + name + ".tmp";
        Write(temp, bytes, pieces, pauseMs);
        Rename(temp, name);
    }
    // between runs after each piece but the last.
    void Write(const std::string& name, const std::string& bytes, int pieces, DWORD pauseMs,
               const std::function<void(int)>& between = nullptr)
    {
        HANDLE file = CreateFileA(In(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        size_t piece = bytes.size() / pieces + 1;
        for (size_t at = 0; at < bytes.size(); at += piece) {
            DWORD wrote = 0;
            WriteFile(file, bytes.data() + at, (DWORD)std::min(piece, bytes.size() - at), &wrote,
                      NULL);
            Sleep(pauseMs);
            if (between && at + piece < bytes.size())
                between((int)(at / piece));
        }
        CloseHandle(file);
    }
    void Rename(const std::string& from, const std::string& to)
    {
        MoveFileExA(In(from).c_str(), In(to).c_str(), MOVEFILE_REPLACE_EXISTING);
    }

private:
    std::string In(const std::string& name) { return folder_ + "\\" + name; }
    std::string folder_;
    std::atomic<bool> running_{false};
    std::thread thread_;
};

std::string Entries(int count, size_t length)
{
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += "k" + std::to_string(i) + "=" + std::string(length, 'a' + i % 26) + "\r\n";
    return bytes;
}

bool EnginesName(const std::string& name)
{
    return name.compare(0, 11, ".syncthing.") == 0 || name == ".stfolder" ||
           (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0);
}

TEST_F(FolderWatchTest, ASyncEnginesFilesBecomeRowsOnlyWhenWhole)
{
    Item("memo.txt");
    Group(".stfolder");
    ASSERT_TRUE(Start(folder_));
    std::atomic<int> phase{0};
    Engine engine(folder_);
    engine.Run([&](Engine& e) {
        // A large item at a slow link: 1.5 s under its temporary name.
        e.Arrive("big.txt", Entries(32, 1000), 6, 250);
        // A hundred small ones at once.
        phase = 1;
        for (int i = 0; i < 100; ++i)
            e.Arrive("n" + std::to_string(100 + i) + ".txt", "k=v\r\n", 1, 0);
        Sleep(500);
        // A writer that keeps the final name open while it writes, and
        // other files arriving meanwhile, which have the folder read.
        phase = 2;
        e.Write("direct.txt", Entries(32, 100), 6, 400, [&](int i) {
            e.Arrive("side" + std::to_string(i) + ".txt", "k=v\r\n", 1, 0);
        });
        phase = 3;
    });
    int reads[4] = {g_watchReads, -1, -1, -1};
    while (engine.Running()) {
        int seen = phase;
        gt::Pump(10, 50);
        for (const std::string& name : gt::RowNames())
            ASSERT_FALSE(EnginesName(name)) << name;
        if (seen == 2)
            ASSERT_EQ(nullptr, FindRowByName("direct", NULL));
        if (reads[seen] < 0)
            reads[seen] = g_watchReads;
    }
    engine.Join();
    ASSERT_TRUE(PumpUntil([] { return RowCount() == 108 && FindRowByName("direct", NULL); }));
    for (const char* name : {"big", "direct"})
        EXPECT_EQ(32, FindRowByName(name, NULL)->entryCount) << name;
    // The burst was read once or a few times, not once per file.
    RecordProperty("reads_of_the_burst", reads[2] - reads[1]);
    EXPECT_LT(reads[2] - reads[1], 10);

    // A row that becomes a temporary name again is gone, and back once.
    engine.Run([](Engine& e) { e.Rename("n100.txt", ".syncthing.n100.txt.tmp"); });
    engine.Join();
    ASSERT_TRUE(PumpUntil([] { return RowCount() == 107; }));
    EXPECT_EQ(nullptr, FindRowByName("n100", NULL));
    engine.Run([](Engine& e) { e.Rename(".syncthing.n100.txt.tmp", "n100.txt"); });
    engine.Join();
    ASSERT_TRUE(PumpUntil([] { return RowCount() == 108; }));
    Names names = gt::RowNames();
    EXPECT_EQ(1, std::count(names.begin(), names.end(), "n100"));
    Close();
    std::string order = gt::ReadBytes(In(ORDER_FILE_NAME));
    EXPECT_EQ(std::string::npos, order.find(".st")) << order;
    EXPECT_EQ(std::string::npos, order.find(".tmp")) << order;
    EXPECT_NE(std::string::npos, order.find("direct.txt\r\n")) << order;
}

TEST_F(FolderWatchTest, ConflictCopiesArrivingAreShownForWhatTheyAre)
{
    Item("memo.txt", "k=mine\r\n");
    Item("other.txt");
    Order("memo.txt\r\nother.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    Engine engine(folder_);
    const std::string aside = "ZORIVEN.sync-conflict-20261210-110547-JXUS4EA.ORD";
    engine.Run([&](Engine& e) {
        e.Arrive("memo.sync-conflict-20261210-110547-JXUS4EA.txt", "k=theirs\r\n", 2, 100);
        e.Arrive(aside, "other.txt\r\nmemo.txt\r\n", 1, 0);
    });
    engine.Join();
    ASSERT_TRUE(PumpUntil([] { return RowCount() == 3; }));
    EXPECT_EQ((Names{"memo", "memo.sync-conflict-20261210-110547-JXUS4EA", "other"}),
              gt::RowNames());
    ASSERT_TRUE(PumpUntil([&] { return gt::StatusPart(0).find(aside) != std::string::npos; }));
    Close();
    EXPECT_EQ("other.txt\r\nmemo.txt\r\n", gt::ReadBytes(In(aside)));
    EXPECT_EQ("memo.txt\r\nmemo.sync-conflict-20261210-110547-JXUS4EA.txt\r\nother.txt\r\n",
              gt::ReadBytes(In(ORDER_FILE_NAME)));
}

}  // namespace
