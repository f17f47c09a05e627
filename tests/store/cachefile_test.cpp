// A folder loaded through its entry cache shows exactly what reading every
// file shows, whatever happened to the files in between.
#include <random>
#include <string>
#include <vector>

#include "guitest.h"
#include "store/cachefile.h"
#include "store/folderload.h"

using gt::MainWindowTest;

namespace {

class EntryCacheLoadTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(EntryCachePath(folder_.c_str(), full_, cache_, sizeof cache_));
        DeleteFileA(cache_);
    }
    void TearDown() override { MainWindowTest::TearDown(), DeleteFileA(cache_); }

    // Ten days ago, long enough to be trusted; each stamp distinct.
    void Age(const std::string& name)
    {
        HANDLE f = CreateFileW(Widen(In(name).c_str()).c_str(), FILE_WRITE_ATTRIBUTES, 0, NULL,
                               OPEN_EXISTING, 0, NULL);
        ULARGE_INTEGER t = {};
        GetSystemTimeAsFileTime((FILETIME*)&t);
        t.QuadPart += (++stamp_) * 10000000ull - 8640000000000ull;
        EXPECT_TRUE(SetFileTime(f, NULL, NULL, (FILETIME*)&t)) << name;
        CloseHandle(f);
    }
    void AgedItem(const std::string& name, const std::string& bytes)
    {
        Item(name, bytes);
        Age(name);
    }

    // Every row as text: name, extension, kind and entries, in list order,
    // then the order-changed flag.
    std::string Rows()
    {
        std::string all;
        for (int r = 0; r < RowCount(); ++r) {
            ItemRecord* rec = GetRowRecord(r);
            all += std::string(rec->name) + "|" + (rec->ext ? rec->ext : "") + "|" +
                   std::to_string(rec->kind);
            for (int e = 0; e < rec->entryCount; ++e)
                all += "|" + std::string(rec->entries[e].key) + "=" + rec->entries[e].value;
            all += "\n";
        }
        return all + "changed " + std::to_string(g_app->orderChanged);
    }

    std::string CachedLoadThenFullRead()
    {
        LoadFolder();
        std::string cached = Rows();
        DeleteFileA(cache_);
        LoadFolder();
        EXPECT_EQ(Rows(), cached);
        return cached;
    }

    char full_[kPathCap] = "", cache_[kPathCap] = "";
    int stamp_ = 0;
};

std::string Content(std::mt19937* random)
{
    static const char* const pieces[] = {"key", "\x83\x81\x83\x82", "=", "http://127.0.0.1/", "\x0B", "x"};
    std::string bytes;
    int lines = (int)((*random)() % 6);
    for (int i = 0; i < lines; ++i) {
        bytes += (*random)() % 5 ? "" : "'comment\r\n";
        bytes += pieces[(*random)() % 6] + std::to_string((*random)() % 100) + "=";
        for (int p = (int)((*random)() % 4); p >= 0; --p)
            bytes += pieces[(*random)() % 6];
        bytes += "\r\n";
    }
    return bytes;
}

TEST_F(EntryCacheLoadTest, CachedLoadsMatchFullReadsAfterRandomChanges)
{
    std::mt19937 random(23);
    std::vector<std::string> names;
    for (int i = 0; i < 60; ++i) {
        names.push_back((i % 3 ? "note" : gt::Text(u8"メモ")) + std::to_string(i) +
                        (i % 7 ? ".txt" : i % 2 ? ".url" : ".ini"));
        AgedItem(names.back(), Content(&random));
    }
    Group("sub");
    AgedItem("tool.exe", "k=v\r\n");
    Order(gt::Sjis(u8"note5.txt\r\nsub\r\nメモ0.ini\r\n"));   // names[5], names[0]
    ASSERT_TRUE(Start(folder_));
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(cache_));
    CachedLoadThenFullRead();

    for (int round = 0; round < 8; ++round) {
        for (int change = 0; change < 6; ++change) {
            size_t i = random() % names.size();
            std::string name = names[i];
            switch (random() % 5) {
            case 0:   // edited
                AgedItem(name, Content(&random));
                break;
            case 1:   // renamed, its time kept
                names[i] = "renamed" + std::to_string(round * 10 + change) + ".txt";
                MoveFileW(Widen(In(name).c_str()).c_str(), Widen(In(names[i]).c_str()).c_str());
                break;
            case 2:   // deleted, and a new one beside
                DeleteFileW(Widen(In(name).c_str()).c_str());
                names[i] = "new" + std::to_string(round * 10 + change) + ".txt";
                AgedItem(names[i], Content(&random));
                break;
            case 3:   // only touched
                Age(name);
                break;
            default:   // the same length, another text
                std::string bytes = gt::ReadBytes(In(name));
                if (bytes != "<missing>" && !bytes.empty())
                    bytes[0] = bytes[0] == 'k' ? 'q' : 'k';
                AgedItem(name, bytes);
            }
        }
        CachedLoadThenFullRead();
    }

    // An unchanged folder leaves its cache untouched; a damaged, cut or
    // foreign one is read past and rebuilt.
    std::string full = CachedLoadThenFullRead();
    std::string cache = gt::ReadBytes(cache_);
    auto written = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA(cache_, GetFileExInfoStandard, &data);
        return (ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32 | data.ftLastWriteTime.dwLowDateTime;
    };
    ULONGLONG before = written();
    LoadFolder();
    EXPECT_EQ(before, written());
    std::string flipped = cache;
    flipped[cache.size() / 2] ^= 1;
    for (const std::string& bad : {flipped, cache.substr(0, cache.size() - 1), std::string("junk")}) {
        gt::WriteBytes(cache_, bad);
        LoadFolder();
        EXPECT_EQ(full, Rows());
        EXPECT_EQ(cache, gt::ReadBytes(cache_));
    }

    // A cache that claims every file with other entries: used when it is
    // this folder's (so the load did take entries from it), ignored when
    // it names another folder.
    for (const char* owner : {"C:\\elsewhere", (const char*)full_}) {
        EntryCache claim = {owner, {}};
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW(Widen(In("*.txt").c_str()).c_str(), &found);
        do
            claim.files.push_back({Narrow(found.cFileName), found.nFileSizeLow,
                                   (uint64_t)found.ftLastWriteTime.dwHighDateTime << 32 |
                                       found.ftLastWriteTime.dwLowDateTime,
                                   {{"claimed", Narrow(found.cFileName)}}});
        while (FindNextFileW(h, &found));
        FindClose(h);
        SortEntryCache(&claim);
        std::string bytes;
        ASSERT_TRUE(WriteEntryCache(claim, &bytes));
        gt::WriteBytes(cache_, bytes);
        LoadFolder();
        EXPECT_EQ(owner == full_, Rows().find("claimed=") != std::string::npos) << owner;
    }
}

}  // namespace
