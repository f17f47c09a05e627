#include "entrycache.h"

#include <algorithm>
#include <cstring>

#include "orderindex.h"
#include "textbuf.h"

namespace {

const char kMagic[8] = {'Z', 'V', 'C', 'A', 'C', 'H', 'E', '\x1a'};
enum { kMaxFileEntries = 32, kMaxName = kPathCap - 1, kMaxText = kEntryTextCap - 1 };
// name length, size, time, entry count: the least a file takes.
const size_t kMinFileBytes = 2 + 8 + 8 + 1;

void PutNumber(std::string* out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out->push_back((char)(value >> (8 * i) & 0xFF));
}

bool PutText(std::string* out, const std::string& text, size_t limit, int lengthBytes)
{
    if (text.size() > limit || text.find('\0') != std::string::npos)
        return false;
    PutNumber(out, text.size(), lengthBytes);
    out->append(text);
    return true;
}

// A bounded walk over the bytes: every read checks what is left first.
struct Reader {
    const char* data;
    size_t size, pos;
};

bool TakeNumber(Reader* r, int bytes, uint64_t* value)
{
    if (r->size - r->pos < (size_t)bytes)
        return false;
    *value = 0;
    for (int i = 0; i < bytes; ++i)
        *value |= (uint64_t)(unsigned char)r->data[r->pos + i] << (8 * i);
    r->pos += bytes;
    return true;
}

bool TakeText(Reader* r, int lengthBytes, size_t limit, std::string* text)
{
    uint64_t length;
    if (!TakeNumber(r, lengthBytes, &length) || length > limit || r->size - r->pos < length)
        return false;
    const char* start = r->data + r->pos;
    if (memchr(start, '\0', (size_t)length))
        return false;
    text->assign(start, (size_t)length);
    r->pos += (size_t)length;
    return true;
}

bool TakeFile(Reader* r, CachedFile* file)
{
    uint64_t count;
    if (!TakeText(r, 2, kMaxName, &file->name) || file->name.empty() ||
        !TakeNumber(r, 8, &file->size) || !TakeNumber(r, 8, &file->writeTime) ||
        !TakeNumber(r, 1, &count) || count > kMaxFileEntries)
        return false;
    file->entries.resize((size_t)count);
    for (CachedEntry& entry : file->entries)
        if (!TakeText(r, 2, kMaxText, &entry.key) || !TakeText(r, 2, kMaxText, &entry.value))
            return false;
    return true;
}

bool ByName(const CachedFile& a, const CachedFile& b)
{
    return a.name < b.name;
}

bool TakeCache(Reader* r, const char* folder, EntryCache* cache)
{
    uint64_t version, count;
    if (r->size < sizeof kMagic + 4 || memcmp(r->data, kMagic, sizeof kMagic) != 0)
        return false;
    r->pos = sizeof kMagic;
    if (!TakeNumber(r, 4, &version) || version != kEntryCacheVersion ||
        !TakeText(r, 2, kMaxName, &cache->folder) || FoldName(cache->folder.c_str()) != FoldName(folder) ||
        !TakeNumber(r, 4, &count) || count > (r->size - r->pos) / kMinFileBytes)
        return false;
    cache->files.resize((size_t)count);
    for (CachedFile& file : cache->files)
        if (!TakeFile(r, &file))
            return false;
    if (r->pos != r->size)
        return false;
    if (!std::is_sorted(cache->files.begin(), cache->files.end(), ByName))
        SortEntryCache(cache);
    for (size_t i = 1; i < cache->files.size(); ++i)
        if (cache->files[i - 1].name == cache->files[i].name)
            return false;
    return true;
}

}  // namespace

uint32_t EntryCacheChecksum(const char* data, size_t size)
{
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ (unsigned char)data[i]) * 16777619u;
    return hash;
}

bool ParseEntryCache(const char* data, size_t size, const char* folder, EntryCache* cache)
{
    cache->folder.clear();
    cache->files.clear();
    // The checksum covers every byte before it, so a torn or flipped byte
    // is a rebuilt cache, never a wrong list.
    uint64_t stored;
    Reader tail = {data, size, size >= 4 ? size - 4 : size};
    if (!data || !folder || size < 4 || !TakeNumber(&tail, 4, &stored) ||
        stored != EntryCacheChecksum(data, size - 4)) {
        return false;
    }
    Reader r = {data, size - 4, 0};
    if (TakeCache(&r, folder, cache))
        return true;
    cache->folder.clear();
    cache->files.clear();
    return false;
}

bool WriteEntryCache(const EntryCache& cache, std::string* out)
{
    std::string bytes(kMagic, sizeof kMagic);
    PutNumber(&bytes, kEntryCacheVersion, 4);
    if (!PutText(&bytes, cache.folder, kMaxName, 2))
        return false;
    PutNumber(&bytes, cache.files.size(), 4);
    for (const CachedFile& file : cache.files) {
        if (file.name.empty() || file.entries.size() > kMaxFileEntries ||
            !PutText(&bytes, file.name, kMaxName, 2))
            return false;
        PutNumber(&bytes, file.size, 8);
        PutNumber(&bytes, file.writeTime, 8);
        PutNumber(&bytes, file.entries.size(), 1);
        for (const CachedEntry& entry : file.entries)
            if (!PutText(&bytes, entry.key, kMaxText, 2) || !PutText(&bytes, entry.value, kMaxText, 2))
                return false;
    }
    PutNumber(&bytes, EntryCacheChecksum(bytes.data(), bytes.size()), 4);
    out->swap(bytes);
    return true;
}

void SortEntryCache(EntryCache* cache)
{
    std::sort(cache->files.begin(), cache->files.end(), ByName);
}

CachedFile* FindCachedFile(EntryCache* cache, const char* name, uint64_t size, uint64_t writeTime)
{
    std::string wanted = name ? name : "";
    auto found = std::lower_bound(cache->files.begin(), cache->files.end(), wanted,
                                  [](const CachedFile& file, const std::string& n) { return file.name < n; });
    if (found == cache->files.end() || found->name != wanted || found->size != size ||
        found->writeTime != writeTime)
        return nullptr;
    return &*found;
}
