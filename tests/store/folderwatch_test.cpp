// Another program changes the folder being shown: the list follows by
// itself, keeping the user's arrangement, selection and scroll position,
// and never while a rename in place is under way.
#include <algorithm>
#include <functional>
#include <string>
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

}  // namespace
