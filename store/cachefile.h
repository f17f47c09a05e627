// Where each folder's entry cache lives, outside the library (under the
// user's local application data, which no sync engine or share carries),
// and reading and replacing it. A cache that cannot be read or written is
// simply not used: the folder is then read from its files.
#ifndef ZORIVEN_CACHEFILE_H
#define ZORIVEN_CACHEFILE_H

#include <cstddef>

#include "../app/winver.h"
#include "entrycache.h"

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

#endif
