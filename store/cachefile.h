// Where each folder's entry cache lives, outside the library (under the
// user's local application data, which no sync engine or share carries),
// and reading and replacing it. A cache that cannot be read or written is
// simply not used: the folder is then read from its files.
#ifndef ZORIVEN_CACHEFILE_H
#define ZORIVEN_CACHEFILE_H

#include <cstddef>
#include <string>

#include "../app/winver.h"
#include "entrycache.h"
#include "records.h"

// name inside the program's folder under the user's local application
// data; false when it is unknown or would not fit cap bytes.
bool LocalDataPath(const char* name, char* out, size_t cap);
// Every missing folder of path, from the top down.
bool MakeFolders(const char* path);
// The whole file when it is at most cap bytes; false otherwise.
bool ReadFileBytes(const char* path, DWORD cap, std::string* bytes);

// The folder's full path and its cache file's path; false when either is
// unknown or would not fit cap (at most kPathCap) bytes.
bool EntryCachePath(const char* folder, char* fullFolder, char* out, size_t cap);

// The cache of the folder, or an empty one (whatever the reason) whose
// folder is the full path, ready to be filled. False when the folder has
// no cache path.
bool ReadEntryCacheFile(const char* folder, EntryCache* cache);

// Replaces the cache file crash-safely, creating its folders; false
// without a message when it cannot.
bool WriteEntryCacheFile(const EntryCache& cache);

// One folder read through its cache: the cache as it was, and the one to
// leave behind, holding exactly the item files met on this reading.
struct CacheUse {
    bool active;
    EntryCache old, fresh;
    size_t taken;       // files that came unchanged from the old cache
    size_t stored;      // files read from disk into the new one
    uint64_t settled;   // files written later are read, not cached
};

// Reads the folder's cache; without one the reading still works, it only
// leaves nothing behind.
void StartCacheUse(CacheUse* cache, const char* folder);
// The entries of the file of this name, size and time when the cache holds
// them (they then pass into the new cache), else null.
const CachedFile* TakeCachedFile(CacheUse* cache, const char* name, uint64_t size,
                                 uint64_t writeTime);
// The entries just read from the file go into the new cache.
void StoreInCache(CacheUse* cache, const char* name, uint64_t size, uint64_t writeTime,
                  int count, const Entry* entries);
// Rewrites the cache file when the reading met a file the old cache did
// not hold as it is, or missed one it held. Only for a reading that met
// every entry of the folder.
void FinishCacheUse(CacheUse* cache);

#endif
