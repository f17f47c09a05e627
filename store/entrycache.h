// The entry cache as bytes: for each item file of one folder its name,
// size, last-write time and the entries read from it, so that a folder
// whose files did not change is loaded from one file instead of all of
// them. Pure byte logic, so it also builds natively (sanitizers, fuzzing).
#ifndef ZORIVEN_ENTRYCACHE_H
#define ZORIVEN_ENTRYCACHE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CachedEntry {
    std::string key;
    std::string value;
};

struct CachedFile {
    std::string name;
    uint64_t size;
    uint64_t writeTime;
    std::vector<CachedEntry> entries;
};

struct EntryCache {
    std::string folder;
    std::vector<CachedFile> files;   // by name (SortEntryCache)
};

// Bumped whenever the byte form or what a file's entries mean changes: a
// cache of another version is ignored and rebuilt.
// 2: a file of text but no entry is no longer kept (as one of no entries).
enum { kEntryCacheVersion = 3 };   // 3: text in UTF-8

// Reads bytes that WriteEntryCache made for folder (compared without
// regard to case). Anything else gives false and an empty cache: another
// version or folder, a cut or damaged file, a name over 259 bytes, a key
// or value over 1,023, more than 32 entries, a NUL inside a text, the same
// name twice.
bool ParseEntryCache(const char* data, size_t size, const char* folder, EntryCache* cache);

// The cache in its byte form; false, and nothing written, when a text is
// one ParseEntryCache would refuse.
bool WriteEntryCache(const EntryCache& cache, std::string* out);

// The check sum the byte form ends with (FNV-1a of every byte before it).
uint32_t EntryCacheChecksum(const char* data, size_t size);

// Puts the files in the order FindCachedFile searches.
void SortEntryCache(EntryCache* cache);

// The file of exactly this name, size and last-write time, or null.
CachedFile* FindCachedFile(EntryCache* cache, const char* name, uint64_t size,
                           uint64_t writeTime);

#endif
