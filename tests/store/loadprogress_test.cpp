// A load the user stops: the rows read so far stay, nothing is written
// from them, and what stopped it runs right after.
#include <string>

#include "guitest.h"
#include "res/resource.h"
#include "store/folderload.h"
#include "store/loadprogress.h"
#include "store/order.h"

using gt::MainWindowTest;

namespace {

class StoppedLoadTest : public MainWindowTest {
protected:
    void TearDown() override { g_loadQuietMs = 200, MainWindowTest::TearDown(); }
};

TEST_F(StoppedLoadTest, EscStopsTheLoadAndNothingIsWrittenFromItsRows)
{
    Notes(40, 10);
    const std::string order = gt::ReadBytes(In(ORDER_FILE_NAME));
    ASSERT_TRUE(Start(folder_));
    ASSERT_EQ(40, RowCount());

    // The window is served after every row; Esc is waiting.
    g_loadQuietMs = 0;
    PostMessageA(g_app->listView, WM_KEYDOWN, VK_ESCAPE, 0);
    LoadFolder();
    EXPECT_EQ(1, RowCount());
    EXPECT_TRUE(g_app->loadIncomplete);
    EXPECT_EQ(gt::Text(u8"読み込みを中止しました（1 / 40）"), gt::StatusPart(0));
    g_app->orderChanged = 1;
    SaveChangedOrder();
    Command(CMD_SAVE_ORDER);
    EXPECT_EQ(order, gt::ReadBytes(In(ORDER_FILE_NAME)));

    // A command given during a load stops it, then runs: here a refresh,
    // which reads the whole folder again.
    PostMessageA(g_hMainWnd, WM_COMMAND, CMD_REFRESH, 0);
    LoadFolder();
    EXPECT_EQ(1, RowCount());
    gt::Pump();
    EXPECT_EQ(40, RowCount());
    EXPECT_FALSE(g_app->loadIncomplete);
    EXPECT_EQ("note49", std::string(GetRowRecord(39)->name));
}

}  // namespace
