#include "cachefile.h"

#include <shlobj.h>

#include <new>
#include <string>

#include "../app/wide.h"
#include "orderindex.h"
#include "paths.h"
#include "pathtext.h"
#include "safewrite.h"
#include "textbuf.h"

namespace {

const char kDataFolder[] = "VEXO\\ZORIVEN";
// A cache larger than this is not one the program wrote for a folder.
const DWORD kMaxCacheBytes = 256u * 1024 * 1024;

// The cache's name: a hash of the folder's path, case folded, since the
// same folder may be reached as C:\Items or c:\items.
void CacheFileName(const char* fullFolder, char* out, size_t cap)
{
    uint64_t hash = 14695981039346656037ull;
    for (char c : FoldName(fullFolder))
        hash = (hash ^ (unsigned char)c) * 1099511628211ull;
    FormatText(out, cap, "%08lx%08lx.zvc", (unsigned long)(hash >> 32), (unsigned long)(hash & 0xFFFFFFFF));
}

}  // namespace

// Asked of the shell once: a search of the whole library reads a cache for
// every folder, and the shell's answer costs more than the read.
bool LocalDataPath(const char* name, char* out, size_t cap)
{
    static char local[kPathCap];
    wchar_t wide[MAX_PATH];
    if (!local[0] && (FAILED(SHGetFolderPathW(NULL, CSIDL_LOCAL_APPDATA, NULL, 0, wide)) ||
                      !FromWide(wide, -1, local, sizeof local))) {
        local[0] = '\0';
        return false;
    }
    char folder[kPathCap];
    return JoinPath(folder, sizeof folder, local, kDataFolder) && JoinPath(out, cap, folder, name);
}

bool MakeFolders(const char* path)
{
    if (MakeFolder(path) || GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    if (GetLastError() != ERROR_PATH_NOT_FOUND)
        return false;
    char parent[kPathCap];
    if (ParentPath(path, parent, sizeof parent) <= 0 || !MakeFolders(parent))
        return false;
    return MakeFolder(path) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool ReadFileBytes(const char* path, DWORD cap, std::string* bytes)
{
    HANDLE file = OpenPath(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    bool ok = size != INVALID_FILE_SIZE && high == 0 && size <= cap;
    DWORD got = 0;
    if (ok) {
        bytes->resize(size);
        ok = size == 0 || (ReadFile(file, &(*bytes)[0], size, &got, NULL) && got == size);
    }
    CloseHandle(file);
    return ok;
}

namespace {

bool CacheFolder(char* out, size_t cap)
{
    return LocalDataPath("Cache", out, cap);
}

bool ReadWholeFile(const char* path, std::string* bytes)
{
    return ReadFileBytes(path, kMaxCacheBytes, bytes);
}

}  // namespace

bool EntryCachePath(const char* folder, char* fullFolder, char* out, size_t cap)
{
    wchar_t* filePart;
    wchar_t wideFolder[MAX_PATH], full[MAX_PATH];
    char name[32];
    char cacheFolder[kPathCap];
    if (!ToWide(folder, wideFolder, MAX_PATH))
        return false;
    DWORD length = GetFullPathNameW(wideFolder, MAX_PATH, full, &filePart);
    if (length == 0 || length >= MAX_PATH || !FromWide(full, (int)length, fullFolder, kPathCap) ||
        !CacheFolder(cacheFolder, sizeof cacheFolder))
        return false;
    CacheFileName(fullFolder, name, sizeof name);
    return JoinPath(out, cap, cacheFolder, name);
}

bool ReadEntryCacheFile(const char* folder, EntryCache* cache)
{
    char fullFolder[kPathCap];
    char path[kPathCap];
    cache->files.clear();
    cache->folder.clear();
    if (!folder || !EntryCachePath(folder, fullFolder, path, sizeof path))
        return false;
    try {
        std::string bytes;
        if (ReadWholeFile(path, &bytes))
            ParseEntryCache(bytes.data(), bytes.size(), fullFolder, cache);
    } catch (const std::bad_alloc&) {
        cache->files.clear();
    }
    cache->folder = fullFolder;
    return true;
}

bool WriteEntryCacheFile(const EntryCache& cache)
{
    char fullFolder[kPathCap];
    char path[kPathCap];
    char parent[kPathCap];
    if (!EntryCachePath(cache.folder.c_str(), fullFolder, path, sizeof path) ||
        ParentPath(path, parent, sizeof parent) <= 0 || !MakeFolders(parent))
        return false;
    try {
        std::string bytes;
        return WriteEntryCache(cache, &bytes) &&
               ReplaceFileBytesQuietly(path, bytes.data(), (DWORD)bytes.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void StartCacheUse(CacheUse* cache, const char* folder)
{
    cache->taken = cache->stored = 0;
    cache->active = ReadEntryCacheFile(folder, &cache->old);
    cache->fresh.folder = cache->old.folder;
    cache->fresh.files.clear();
    cache->fresh.files.reserve(cache->old.files.size());
    // A file changed again within its time stamp's step (2 s on FAT) keeps
    // its stamp: one that recent is read on every load until it settles.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    cache->settled = ((uint64_t)now.dwHighDateTime << 32 | now.dwLowDateTime) - 30000000ull;
}

const CachedFile* TakeCachedFile(CacheUse* cache, const char* name, uint64_t size,
                                 uint64_t writeTime)
{
    CachedFile* hit = cache->active ? FindCachedFile(&cache->old, name, size, writeTime) : nullptr;
    if (!hit)
        return nullptr;
    // The name stays in the old cache: it is still searched by it.
    cache->fresh.files.push_back({hit->name, hit->size, hit->writeTime, std::move(hit->entries)});
    ++cache->taken;
    return &cache->fresh.files.back();
}

void StoreInCache(CacheUse* cache, const char* name, uint64_t size, uint64_t writeTime,
                  int count, const Entry* entries)
{
    if (!cache->active || writeTime > cache->settled)
        return;
    CachedFile file = {name, size, writeTime, {}};
    for (int i = 0; i < count; ++i)
        file.entries.push_back({entries[i].key, entries[i].value});
    cache->fresh.files.push_back(std::move(file));
    ++cache->stored;
}

void FinishCacheUse(CacheUse* cache)
{
    if (!cache->active || (cache->stored == 0 && cache->taken == cache->old.files.size()))
        return;
    SortEntryCache(&cache->fresh);
    WriteEntryCacheFile(cache->fresh);
}
