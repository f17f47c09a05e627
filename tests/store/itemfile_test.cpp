// Item files on the real (Wine) file system.
#include <string>
#include <vector>

#include "guitest.h"
#include "app/wide.h"
#include "res/resource.h"
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
    std::string name(kPathUnits - 2 - folder_.size(), 'n');
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

// A file is code page 932 while that holds its text, as the library always
// was; a character it lacks makes the file UTF-8 after its mark, every line
// kept. What cannot be converted whole is refused with nothing written.
TEST_F(ItemFileTest, AFileIsUtf8OnlyWhenCodePage932CannotHoldIt)
{
    const std::string mark = "\xEF\xBB\xBF";
    std::string memo = u8"メモ", wave = u8"10時〜12時 😀", kanji = u8"表";
    Entry japanese = {&memo[0], &kanji[0]}, unicode = {&memo[0], &wave[0]};
    ASSERT_TRUE(WriteItemFile(Path("sjis.txt").c_str(), 1, &japanese));
    EXPECT_EQ(gt::Sjis(u8"メモ=表\r\n"), Slurp(Path("sjis.txt")));
    ASSERT_TRUE(WriteItemFile(Path("utf8.txt").c_str(), 1, &unicode));
    EXPECT_EQ(mark + memo + "=" + wave + "\r\n", Slurp(Path("utf8.txt")));
    Entry read[kMaxEntries] = {};
    for (const char* name : {"sjis.txt", "utf8.txt"}) {
        ASSERT_EQ(1, ReadItemFile(name, read)) << name;
        EXPECT_EQ(memo, read[0].key);
        FreeEntries(1, read);
    }

    // A rewrite keeps the form until a new character needs UTF-8; then the
    // comment, the hidden line and the undisturbed entry come along.
    const std::string sjis = gt::Sjis(u8"' 覚え書き\r\n[名前]\r\nx=あ\r\nk=v\r\nno entry\r\n");
    Spit(Path("mixed.txt"), sjis);
    ItemSnapshot snapshot;
    ASSERT_EQ(2, ReadItemSnapshot(Path("mixed.txt").c_str(), &snapshot, read));
    EXPECT_EQ(u8"名前", std::string(read[0].key));
    BOOL written = FALSE;
    int bad = 0;
    ASSERT_TRUE(RewriteItemFile(Path("mixed.txt").c_str(), &snapshot, 2, read, &written, &bad));
    EXPECT_FALSE(written);
    free(read[1].value);
    read[1].value = CopyString(wave.c_str());
    ASSERT_TRUE(RewriteItemFile(Path("mixed.txt").c_str(), &snapshot, 2, read, &written, &bad));
    EXPECT_EQ(mark + u8"' 覚え書き\r\n[名前]\r\nx=あ\r\nk=" + wave + u8"\r\nno entry\r\n",
              Slurp(Path("mixed.txt")));
    FreeItemSnapshot(&snapshot);

    // Bytes that are no code page 932 text stay as they are, even when the
    // row beside them changes; they cannot become UTF-8, so a new character
    // is refused. A kanji key of 1,019 bytes would be 1,528 in UTF-8.
    const std::string odd = "a=\x81\x20z\r\nk=v\r\n";
    std::string longKey = "k";
    for (int i = 0; i < 509; ++i)
        longKey += u8"表";
    const std::string full = gt::Sjis((longKey + "=v\r\nk=v\r\n").c_str());
    struct Case {
        std::string bytes, newValue, after;
        int box;
    } cases[] = {
        {odd, "w", "a=\x81\x20z\r\nk=w\r\n", 0},
        {odd, wave, odd, IDS_CANNOT_CONVERT},
        {full, "w", gt::Sjis((longKey + "=v\r\nk=w\r\n").c_str()), 0},
        {full, wave, full, IDS_CONVERT_TOO_LONG},
    };
    for (const Case& c : cases) {
        Spit(Path("odd.txt"), c.bytes);
        ASSERT_EQ(2, ReadItemSnapshot(Path("odd.txt").c_str(), &snapshot, read));
        free(read[1].value);
        read[1].value = CopyString(c.newValue.c_str());
        boxes_.Clear();
        if (c.box)
            boxes_.Press(IDOK);
        EXPECT_EQ(!c.box, !!RewriteItemFile(Path("odd.txt").c_str(), &snapshot, 2, read, &written, &bad));
        gt::Pump();
        EXPECT_EQ(c.after, Slurp(Path("odd.txt")));
        EXPECT_EQ(c.box ? 1u : 0u, boxes_.seen().size());
        if (c.box && !boxes_.seen().empty()) {
            EXPECT_EQ(LoadTextString(c.box), boxes_.seen()[0].text);
        }
        FreeEntries(2, read);
        FreeItemSnapshot(&snapshot);
    }

    // Saved meanwhile as UTF-16 by another editor: not opened for a rewrite.
    Spit(Path("wide.txt"), std::string("\xFF\xFEk\0=\0v\0", 8));
    boxes_.Clear();
    boxes_.Press(IDOK);
    EXPECT_EQ(-1, ReadItemSnapshot(Path("wide.txt").c_str(), &snapshot, read));
    gt::Pump();
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_NE(std::string::npos, boxes_.seen()[0].text.find(LoadTextString(IDS_UTF16_FILE)));
}
