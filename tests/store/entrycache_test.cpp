#include "store/entrycache.h"

#include <gtest/gtest.h>

#include <string>

#include "store/itemtext.h"
#include "store/textbuf.h"

namespace {

const std::string kMemo = u8"メモ表😀";

EntryCache Sample()
{
    EntryCache cache;
    cache.folder = "C:\\Items\\" + kMemo;
    cache.files.push_back({"b.txt", 12, 0x01D9000000000001ull, {{"key", "line\none"}}});
    cache.files.push_back({kMemo + ".url", 0, 5, {}});
    // Every limit at once: a name of the longest path's bytes, 32 entries
    // of the longest texts a stored line gives.
    CachedFile big = {std::string(kPathCap - 1, 'n'), 1ull << 40, ~0ull, {}};
    for (int i = 0; i < 32; ++i)
        big.entries.push_back({std::string(kEntryTextCap - 1, 'k'),
                               std::string(kEntryTextCap - 1, (char)('a' + i % 26))});
    cache.files.push_back(big);
    SortEntryCache(&cache);
    return cache;
}

CachedFile& Big(EntryCache* cache)   // the file at the limits
{
    for (CachedFile& file : cache->files)
        if (file.entries.size() == 32)
            return file;
    return cache->files[0];
}

TEST(EntryCache, RoundTripAtTheLimitsAndExactLookup)
{
    EntryCache cache = Sample();
    std::string bytes;
    ASSERT_TRUE(WriteEntryCache(cache, &bytes));
    EntryCache back;
    // The folder is compared without regard to case.
    ASSERT_TRUE(ParseEntryCache(bytes.data(), bytes.size(), ("c:\\ITEMS\\" + kMemo).c_str(), &back));
    std::string again;
    ASSERT_TRUE(WriteEntryCache(back, &again));
    EXPECT_EQ(bytes, again);

    const uint64_t t = 0x01D9000000000001ull;
    EXPECT_EQ("line\none", FindCachedFile(&back, "b.txt", 12, t)->entries[0].value);
    for (auto miss : {FindCachedFile(&back, "B.txt", 12, t), FindCachedFile(&back, "b.txt", 13, t),
                      FindCachedFile(&back, "b.txt", 12, t + 1), FindCachedFile(&back, "a.txt", 12, t)})
        EXPECT_EQ(nullptr, miss);

    // One byte over any limit, or a NUL inside a text, is never written.
    const std::pair<void (*)(EntryCache*), const char*> overs[] = {
        {[](EntryCache* c) { Big(c).name.push_back('n'); }, "name over the limit"},
        {[](EntryCache* c) { Big(c).entries[0].key.push_back('k'); }, "key over the limit"},
        {[](EntryCache* c) { Big(c).entries[0].value.push_back('v'); }, "value over the limit"},
        {[](EntryCache* c) { Big(c).entries.push_back({"k", "v"}); }, "33 entries"},
        {[](EntryCache* c) { Big(c).entries[1].value[3] = '\0'; }, "NUL in a value"},
        {[](EntryCache* c) { c->files[1].name.clear(); }, "empty name"},
        {[](EntryCache* c) { c->folder.assign(kPathCap, 'f'); }, "folder over the limit"},
    };
    for (const auto& over : overs) {
        EntryCache bad = Sample();
        ASSERT_EQ(kPathCap - 1, (int)Big(&bad).name.size());
        over.first(&bad);
        std::string out = "untouched";
        EXPECT_FALSE(WriteEntryCache(bad, &out)) << over.second;
        EXPECT_EQ("untouched", out) << over.second;
    }
}

TEST(EntryCache, AnythingButItsOwnBytesGivesAnEmptyCache)
{
    EntryCache cache = Sample();
    std::string bytes;
    ASSERT_TRUE(WriteEntryCache(cache, &bytes));
    const char* folder = cache.folder.c_str();
    EntryCache back;
    EXPECT_FALSE(ParseEntryCache(bytes.data(), bytes.size(), "C:\\Items", &back));
    EXPECT_TRUE(back.files.empty());
    // Every cut, and every flipped byte, is seen.
    for (size_t n = 0; n < bytes.size(); n += n < 64 ? 1 : 997) {
        EXPECT_FALSE(ParseEntryCache(bytes.data(), n, folder, &back)) << n;
        std::string flipped = bytes;
        flipped[n] ^= 0x20;
        EXPECT_FALSE(ParseEntryCache(flipped.data(), flipped.size(), folder, &back)) << n;
        EXPECT_TRUE(back.files.empty());
    }
    // Well-formed bytes the writer would never make: another version, the
    // same name twice, more files than the bytes could hold.
    auto resealed = [](std::string b) {
        b.resize(b.size() - 4);
        uint32_t sum = EntryCacheChecksum(b.data(), b.size());
        for (int i = 0; i < 4; ++i)
            b.push_back((char)(sum >> (8 * i)));
        return b;
    };
    std::string other = bytes;
    other[8] = (char)(kEntryCacheVersion + 1);
    EXPECT_FALSE(ParseEntryCache(resealed(other).data(), other.size(), folder, &back));
    EntryCache twice = cache;
    twice.files.push_back(cache.files[0]);
    std::string dup;
    ASSERT_TRUE(WriteEntryCache(twice, &dup));
    EXPECT_FALSE(ParseEntryCache(dup.data(), dup.size(), folder, &back));
    std::string many = bytes;
    size_t countAt = 8 + 4 + 2 + cache.folder.size();
    many[countAt + 3] = 0x7F;
    many = resealed(many);
    EXPECT_FALSE(ParseEntryCache(many.data(), many.size(), folder, &back));
    EXPECT_FALSE(ParseEntryCache(nullptr, 0, folder, &back));
    // And the untouched bytes still read.
    EXPECT_TRUE(ParseEntryCache(resealed(bytes).data(), bytes.size(), folder, &back));
}

}  // namespace
