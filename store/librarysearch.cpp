#include "librarysearch.h"

#include "../app/state.h"
#include "../app/ui.h"
#include "cachefile.h"
#include "folderload.h"
#include "itemfile.h"
#include "itemname.h"
#include "paths.h"
#include "searchtext.h"
#include "chars.h"

namespace {

bool Matches(LibrarySearch* search, const char* name, const std::vector<CachedEntry>& entries)
{
    std::string& text = search->scratch;
    text.clear();
    AppendSearchField(name, &text);
    for (const CachedEntry& entry : entries) {
        AppendSearchField(entry.key.c_str(), &text);
        AppendSearchField(entry.value.c_str(), &text);
    }
    return FindInText(text.data(), (unsigned long)text.size(), search->folded.data(),
                    (unsigned long)search->folded.size()) >= 0;
}

// The entries of an item file, from the cache when it holds the file as
// it is, else read into *entries; null when the file cannot be read (why
// in *error).
const std::vector<CachedEntry>* ItemEntries(const char* path, const FoundFile& found,
                                            CacheUse* cache, std::vector<CachedEntry>* entries,
                                            DWORD* error)
{
    uint64_t size = found.size, written = found.writeTime;
    if (const CachedFile* hit = TakeCachedFile(cache, found.name, size, written))
        return &hit->entries;
    Entry read[kMaxEntries] = {};
    int count = ReadItemPath(path, read, error);
    if (count < 0 || *error)
        return nullptr;
    for (int i = 0; i < count; ++i)
        entries->push_back({read[i].key, read[i].value});
    StoreInCache(cache, found.name, size, written, count, read);
    FreeEntries(count, read);
    return entries;
}

void AddHit(LibrarySearch* search, const std::string& folder, const FoundFile& found,
            bool isItem, const std::vector<CachedEntry>& entries)
{
    char name[kRowNameCap], ext[kNamePartCap];
    SplitItemName(found.name, isItem, name, ext);
    if (Matches(search, name, entries))
        search->hits.push_back({folder, found.name, ItemKindFor(isItem, ext), entries});
}

}  // namespace

void StartLibrarySearch(LibrarySearch* search, const char* root, const std::string& folded)
{
    search->root = root ? root : "";
    search->folded = folded;
    search->pending.assign(1, std::string());
    search->hits.clear();
    search->foldersRead = search->unreadable = 0;
}

bool SearchNextFolder(LibrarySearch* search)
{
    if (search->pending.empty())
        return false;
    std::string folder = search->pending.back();
    search->pending.pop_back();
    char full[kPathCap], pattern[kPathCap];
    if ((folder.empty() ? !CopyText(full, sizeof full, search->root.c_str())
                        : !JoinPath(full, sizeof full, search->root.c_str(), folder.c_str())) ||
        !JoinPath(pattern, sizeof pattern, full, "*")) {
        ++search->unreadable;
        return true;
    }
    CacheUse cache;
    StartCacheUse(&cache, full);
    std::vector<std::string> groups;
    bool complete = true;
    ForEachEntry(pattern, [&](const FoundFile& found) {
        if (!IsListedEntry(found))
            return;
        bool isFolder = (found.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        std::vector<CachedEntry> read;
        char path[kPathCap];
        if (!JoinPath(path, sizeof path, full, found.name)) {
            ++search->unreadable;   // beyond the 260-byte limit of a path
            complete = false;
            return;
        }
        if (isFolder) {
            AddHit(search, folder, found, false, read);
            // A link back up the tree would be read again and again.
            if (!(found.attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                groups.push_back(folder.empty() ? found.name : folder + "\\" + found.name);
        } else if (!IsExcludedExtension(found.name)) {
            DWORD error = 0;
            const std::vector<CachedEntry>* entries =
                ItemEntries(path, found, &cache, &read, &error);
            if (!entries) {
                ++search->unreadable;
                // A file of text but no entry is so until it changes: the
                // folder's cache is still whole without it.
                complete = complete && IsOwnErrorCode(error);
            } else if (!entries->empty()) {
                AddHit(search, folder, found, true, *entries);
            }
        }
    });
    if (complete)
        FinishCacheUse(&cache);
    // Read next in the order they were met.
    search->pending.insert(search->pending.end(), groups.rbegin(), groups.rend());
    ++search->foldersRead;
    return true;
}

bool HitFolder(const LibrarySearch& search, const SearchHit& hit, char* out)
{
    if (hit.folder.empty())
        return CopyText(out, kPathCap, search.root.c_str());
    return JoinPath(out, kPathCap, search.root.c_str(), hit.folder.c_str());
}

bool HitPath(const LibrarySearch& search, const SearchHit& hit, char* out)
{
    char folder[kPathCap];
    return HitFolder(search, hit, folder) && JoinPath(out, kPathCap, folder, hit.file.c_str());
}
