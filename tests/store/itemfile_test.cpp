// Item files on the real (Wine) file system.
#include <string>
#include <vector>

#include "guitest.h"
#include "store/itemfile.h"
#include "store/safewrite.h"

namespace {

std::string Slurp(const std::string& path)
{
    return gt::ReadBytes(path);
}

void Spit(const std::string& path, const std::string& bytes)
{
    ASSERT_TRUE(gt::WriteBytes(path, bytes)) << path;
}

// Writes half of what it is given, then fails as a full disk does.
BOOL WINAPI FailingWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED)
{
    WriteFile(file, data, size / 2, written, NULL);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

using gt::SystemText;

}  // namespace

class ItemFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CreateAppState());
        folder_ = gt::MakeTempFolder();
        CopyText(g_app->currentFolder, kPathCap, folder_.c_str());
        CopyText(g_app->excludedExt, kTextCap, "exe;bak");
        g_app->options[ExcludeExt] = 1;
    }
    void TearDown() override
    {
        g_writeFile = WriteFile;
        EXPECT_EQ(0, boxes_.unexpected());
        gt::RemoveTree(folder_);
        FreeAppState();
    }
    std::string Path(const char* name) { return folder_ + "\\" + name; }

    std::string folder_;
    gt::BoxAnswerer boxes_;
};

TEST_F(ItemFileTest, WritesTheFileFormAndReadsItBack)
{
    char k1[] = "Name", v1[] = "Taro", k2[] = "a=b", v2[] = "x", k3[] = "Memo", v3[] = "line 1\nline 2";
    Entry entries[3] = {{k1, v1}, {k2, v2}, {k3, v3}};
    ASSERT_TRUE(WriteItemFile(Path("m.txt").c_str(), 3, entries));
    EXPECT_EQ("Name=Taro\r\na\x08" "b=x\r\nMemo=line 1\x0bline 2\r\n", Slurp(Path("m.txt")));
    EXPECT_EQ(std::vector<std::string>{"m.txt"}, gt::FolderNames(folder_));   // no temporary left

    Entry read[kMaxEntries] = {};
    ASSERT_EQ(3, ReadItemFile("m.txt", read));
    EXPECT_STREQ("a=b", read[1].key);
    EXPECT_STREQ("line 1\nline 2", read[2].value);
    FreeEntries(3, read);
}

TEST_F(ItemFileTest, RewriteKeepsReadOnlyAndHidden)
{
    std::string path = Path("ro.txt");
    Spit(path, "old=1\r\n");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    char k[] = "new", v[] = "2";
    Entry entry = {k, v};
    ASSERT_TRUE(WriteItemFile(path.c_str(), 1, &entry));
    EXPECT_EQ("new=2\r\n", Slurp(path));
    DWORD attributes = GetFileAttributesA(path.c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ItemFileTest, FailedWriteKeepsTheOldContentAndSaysWhy)
{
    std::string path = Path("keep.txt");
    Spit(path, "precious=text\r\n");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    g_writeFile = FailingWrite;
    boxes_.Press(IDOK);
    char k[] = "k", v[] = "replacement";
    Entry entry = {k, v};
    EXPECT_FALSE(WriteItemFile(path.c_str(), 1, &entry));
    gt::Pump();
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ((UINT)MB_ICONERROR, boxes_.seen()[0].icon);
    EXPECT_EQ(SystemText(ERROR_DISK_FULL), boxes_.seen()[0].text);
    EXPECT_EQ("precious=text\r\n", Slurp(path));
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(std::vector<std::string>{"keep.txt"}, gt::FolderNames(folder_));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ItemFileTest, OverLongTextIsRefusedBeforeTheFileIsTouched)
{
    std::string path = Path("long.txt");
    Spit(path, "a=b\r\n");
    std::string value(1021, 'v');
    char k[] = "k";
    Entry entry = {k, &value[0]};
    boxes_.Press(IDOK);
    EXPECT_FALSE(WriteItemFile(path.c_str(), 1, &entry));
    gt::Pump();
    EXPECT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ("a=b\r\n", Slurp(path));

    value.resize(1020);
    entry.value = &value[0];
    ASSERT_TRUE(WriteItemFile(path.c_str(), 1, &entry));
    EXPECT_EQ("k=" + value + "\r\n", Slurp(path));
}

TEST_F(ItemFileTest, PathLimit)
{
    std::string name(kPathCap - 2 - folder_.size(), 'n');
    std::string fits = folder_ + "\\" + name;
    ASSERT_EQ(259u, fits.size());
    char k[] = "k", v[] = "v";
    Entry entry = {k, v};
    ASSERT_TRUE(WriteItemFile(fits.c_str(), 1, &entry));
    Entry read[kMaxEntries] = {};
    EXPECT_EQ(1, ReadItemFile(name.c_str(), read));
    FreeEntries(1, read);

    boxes_.Press(IDOK);
    boxes_.Press(IDOK);
    EXPECT_FALSE(WriteItemFile((fits + "x").c_str(), 1, &entry));
    EXPECT_EQ(0, ReadItemFile((name + "x").c_str(), read));
    gt::Pump();
    EXPECT_EQ(2u, boxes_.seen().size());
    EXPECT_EQ(1u, gt::FolderNames(folder_).size());
}

TEST_F(ItemFileTest, ExcludedAndMissingFiles)
{
    Spit(Path("tool.EXE"), "a=b\r\n");
    Entry read[kMaxEntries] = {};
    EXPECT_EQ(0, ReadItemFile("tool.EXE", read));   // quietly skipped
    g_app->options[ExcludeExt] = 0;
    ASSERT_EQ(1, ReadItemFile("tool.EXE", read));
    FreeEntries(1, read);

    boxes_.Press(IDOK);
    EXPECT_EQ(0, ReadItemFile("gone.txt", read));
    gt::Pump();
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND), boxes_.seen()[0].text);
}

TEST_F(ItemFileTest, ReadingStopsAfterThirtyTwoEntriesAndIgnoresCtrlZ)
{
    std::string bytes = "a=\x1a\r\n";
    for (int i = 0; i < 40; ++i)
        bytes += "k" + std::to_string(i) + "=v\r\n";
    Spit(Path("many.txt"), bytes);
    Entry read[kMaxEntries] = {};
    ASSERT_EQ(32, ReadItemFile("many.txt", read));
    EXPECT_STREQ("\x1a", read[0].value);
    EXPECT_STREQ("k30", read[31].key);
    FreeEntries(32, read);
}
