// Starting the editor and Explorer: the command line each one gets.
#include <string>
#include <vector>

#include "guitest.h"
#include "ops/launch.h"
#include "res/resource.h"

using gt::MainWindowTest;
using gt::SystemText;

namespace {

std::vector<std::string> s_started;

BOOL RecordStart(const char* commandLine, int show, PROCESS_INFORMATION* process)
{
    EXPECT_EQ(SW_SHOWDEFAULT, show);
    s_started.push_back(commandLine);
    process->hProcess = process->hThread = NULL;
    return TRUE;
}

}  // namespace

class LaunchTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        s_started.clear();
    }
    void TearDown() override
    {
        g_startProgram = StartProgram;
        MainWindowTest::TearDown();
    }
};

TEST_F(LaunchTest, ExplorerOpensOnTheGroupOrTheCurrentFolder)
{
    Group("Sub");
    Item("memo.txt");
    Order("Sub\r\nmemo.txt\r\n");
    ASSERT_TRUE(Start(folder_));
    g_startProgram = RecordStart;
    Select(0);
    Command(CMD_EXPLORER);
    Command(CMD_EDITOR);   // a group has no editor
    Select(1);
    Command(CMD_EXPLORER);
    SelectNone();
    Command(CMD_EXPLORER);
    Command(CMD_EDITOR);
    std::string explorer = "EXPLORER.EXE /n,/e, ";
    EXPECT_EQ((std::vector<std::string>{explorer + In("Sub"), explorer + folder_,
                                        explorer + folder_}),
              s_started);
}

TEST_F(LaunchTest, EditorGetsTheItemPathWithoutWaiting)
{
    Item("memo.txt");
    ASSERT_TRUE(Start(folder_));
    std::string record = In("args.out");
    SetEnvironmentVariableA("ZORIVEN_RECORD", record.c_str());
    std::string editor = gt::ProgramFolder() + "\\record_args.exe";
    CopyText(g_app->editorPath, kPathCap, editor.c_str());
    Select(0);
    Command(CMD_MOVE_UP);   // nothing; the list stays usable
    Command(CMD_EDITOR);
    std::string line;
    for (int i = 0; i < 200 && (line = gt::ReadBytes(record)) == "<missing>"; ++i)
        Sleep(25);
    EXPECT_EQ(editor + " " + In("memo.txt"), line);
    SetEnvironmentVariableA("ZORIVEN_RECORD", NULL);

    CopyText(g_app->editorPath, kPathCap, (folder_ + "\\no-such-editor.exe").c_str());
    boxes_.Press(IDOK);
    Command(CMD_EDITOR);
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND), boxes_.seen()[0].text);
}

TEST_F(LaunchTest, CommandLinesThatWouldNotFitAreRefused)
{
    ASSERT_TRUE(Start(folder_));
    g_startProgram = RecordStart;
    std::string program(259, 'p'), argument(259, 'a');
    EXPECT_TRUE(LaunchProgram(program.c_str(), argument.c_str(), SW_SHOWDEFAULT, TRUE));
    ASSERT_EQ(1u, s_started.size());
    EXPECT_EQ(program + " " + argument, s_started[0]);

    boxes_.Press(IDOK);
    EXPECT_FALSE(LaunchProgram(program.c_str(), (argument + "a").c_str(), SW_SHOWDEFAULT, TRUE));
    EXPECT_FALSE(LaunchProgram(program.c_str(), (argument + "a").c_str(), SW_SHOWDEFAULT, FALSE));
    EXPECT_FALSE(LaunchProgram("", "http://x/", SW_SHOWDEFAULT, FALSE));
    EXPECT_EQ(1u, s_started.size());
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(SystemText(ERROR_FILENAME_EXCED_RANGE), boxes_.seen()[0].text);
}
