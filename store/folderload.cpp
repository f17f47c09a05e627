#include "folderload.h"

#include <algorithm>
#include <functional>
#include <new>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "cachefile.h"
#include "folderwatch.h"
#include "loadprogress.h"
#include "itemfile.h"
#include "orderindex.h"
#include "pathtext.h"
#include "paths.h"
#include "records.h"
#include "safewrite.h"
#include "syncfiles.h"
#include "syncnames.h"

namespace {

struct FoundEntry {
    std::string name;
    bool isFolder;
    uint64_t size;
    uint64_t writeTime;
};

// One load's tables: the entries met, the order-file line each sits on
// (one slot per line, so no line index can fall outside it) and the
// unlisted ones in enumeration order.
struct FolderScan {
    std::vector<FoundEntry> found;
    std::vector<int> positioned;
    std::vector<int> unlisted;
    std::vector<std::string> setAside;   // order files an engine put aside
};

}  // namespace

int CountFolderEntries(const char* pattern)
{
    int count = 0;
    ForEachEntry(pattern, [&](const FoundFile&) { ++count; });
    return count;
}

// A missing or unreadable order file leaves the index empty.
static void LoadOrderIndex(OrderIndex* index)
{
    index->firstLine.clear();
    index->lineCount = 0;
    char path[kPathCap];
    if (!JoinPath(path, sizeof path, g_app->currentFolder, ORDER_FILE_NAME) ||
        !PathExists(path, false))
        return;
    HANDLE file = OpenPath(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    BuildOrderIndex(index, ReadFromHandle, file, StoredToProgram);
    CloseHandle(file);
}

int OrderIndexOf(const char* name)
{
    OrderIndex index;
    LoadOrderIndex(&index);
    return FindOrderLine(&index, name);
}

bool IsListedEntry(const FoundFile& found)
{
    if (EqualNoCase(found.name, ORDER_FILE_NAME) || IsSyncOwnEntry(found.name))
        return false;
    return !(g_app->options[ExcludeHidden] && (found.attributes & FILE_ATTRIBUTE_HIDDEN));
}

static void PlaceEntry(FolderScan* scan, const OrderIndex& index, int entry)
{
    int line = g_app->options[NoOrderFile] ? -1
                                           : FindOrderLine(&index, scan->found[entry].name.c_str());
    // Two names that differ only in case (possible on a case-sensitive file
    // system) share a line; the second is listed after, never dropped.
    if (line >= 0 && scan->positioned[line] < 0)
        scan->positioned[line] = entry;
    else
        scan->unlisted.push_back(entry);
}

static void ScanFolder(const char* pattern, FolderScan* scan)
{
    OrderIndex index = {};
    if (!g_app->options[NoOrderFile])
        LoadOrderIndex(&index);
    scan->positioned.assign(index.lineCount, -1);
    ForEachEntry(pattern, [&](const FoundFile& found) {
        if (!(found.attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            IsConflictCopyOf(found.name, ORDER_FILE_NAME))
            scan->setAside.push_back(found.name);
        if (!IsListedEntry(found))
            return;
        scan->found.push_back({found.name, (found.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                               found.size, found.writeTime});
        PlaceEntry(scan, index, (int)scan->found.size() - 1);
    });
}

BOOL LoadFolderEntry(const char* name, BOOL isFolder, DWORD* error)
{
    if (error)
        *error = 0;
    if (!name || !name[0])
        return FALSE;
    if (isFolder)
        return AddItemRow(name, FALSE, 0, NULL, -1);
    Entry entries[kMaxEntries] = {};
    int count = ReadItemFile(name, entries, error);
    if (count <= 0)
        return FALSE;
    BOOL made = AddItemRow(name, TRUE, count, entries, -1);
    FreeEntries(count, entries);
    return made;
}

// The entries a load could not read, in list order.
struct LoadFailures {
    std::vector<std::string> names;
    std::vector<DWORD> codes;
};

static BOOL AddCachedRow(const FoundEntry& found, const CachedFile& file)
{
    Entry entries[kMaxEntries];
    int count = (int)file.entries.size();
    for (int i = 0; i < count; ++i) {
        // AddItemRow copies the texts; it never writes through these.
        entries[i].key = const_cast<char*>(file.entries[i].key.c_str());
        entries[i].value = const_cast<char*>(file.entries[i].value.c_str());
    }
    return count > 0 && AddItemRow(found.name.c_str(), TRUE, count, entries, -1);
}

// An item from the cache when its name, size and time are unchanged, else
// from its file as always.
static BOOL MakeItemRow(const FoundEntry& found, DWORD* error, CacheUse* cache,
                        const std::unordered_set<std::string>* shown)
{
    *error = 0;
    if (IsExcludedExtension(found.name.c_str()))
        return FALSE;
    // Half a file would be a row for a moment, with half the user's text.
    char path[kPathCap];
    if (shown && !shown->count(FoldName(found.name.c_str())) &&
        JoinPath(path, sizeof path, g_app->currentFolder, found.name.c_str()) &&
        HeldForWriting(path)) {
        *error = ERROR_SHARING_VIOLATION;
        return FALSE;
    }
    const CachedFile* hit = TakeCachedFile(cache, found.name.c_str(), found.size, found.writeTime);
    if (hit)
        return AddCachedRow(found, *hit);
    Entry entries[kMaxEntries] = {};
    int count = ReadItemFile(found.name.c_str(), entries, error);
    if (*error)
        return FALSE;
    StoreInCache(cache, found.name.c_str(), found.size, found.writeTime, count, entries);
    BOOL made = count > 0 && AddItemRow(found.name.c_str(), TRUE, count, entries, -1);
    FreeEntries(count, entries);
    return made;
}

static int MakeRow(const FoundEntry& found, LoadFailures* failures, CacheUse* cache,
                   const std::unordered_set<std::string>* shown)
{
    DWORD error = 0;
    BOOL made = found.isFolder ? LoadFolderEntry(found.name.c_str(), TRUE, &error)
                               : MakeItemRow(found, &error, cache, shown);
    if (error) {
        failures->names.push_back(found.name);
        failures->codes.push_back(error);
    }
    return made ? 1 : 0;
}

// A conflict copy the order file does not name yet goes right after its
// original, where the user looks for it; a copy of a copy after that copy.
static std::vector<int> CopiesBesideOriginals(const FolderScan& scan, std::vector<int> order)
{
    std::unordered_map<std::string, int> entryOf;
    for (int entry : order)
        entryOf.emplace(FoldName(scan.found[entry].name.c_str()), entry);
    std::unordered_map<int, std::vector<int>> copiesOf;
    std::vector<int> kept;
    for (size_t i = 0; i < order.size(); ++i) {
        int entry = order[i];
        ConflictName conflict;
        bool unlisted = i >= order.size() - scan.unlisted.size();
        auto original = entryOf.end();
        if (unlisted && !scan.found[entry].isFolder &&
            ParseConflictName(scan.found[entry].name.c_str(), &conflict))
            original = entryOf.find(FoldName(conflict.original));
        if (original != entryOf.end() && original->second != entry)
            copiesOf[original->second].push_back(entry);
        else
            kept.push_back(entry);
    }
    std::vector<int> arranged;
    // An original's name is shorter than its copy's, so this ends.
    std::function<void(int)> place = [&](int entry) {
        arranged.push_back(entry);
        auto copies = copiesOf.find(entry);
        if (copies != copiesOf.end())
            for (int copy : copies->second)
                place(copy);
    };
    for (int entry : kept)
        place(entry);
    return arranged;
}

// The rows in list order; *done counts the entries taken, and *stopped
// tells that the user stopped the load before the last one.
static int MakeRows(const FolderScan& scan, LoadFailures* failures, CacheUse* cache,
                    const std::unordered_set<std::string>* shown, int* done, bool* stopped)
{
    std::vector<int> order;
    for (int entry : scan.positioned)
        if (entry >= 0)
            order.push_back(entry);
    order.insert(order.end(), scan.unlisted.begin(), scan.unlisted.end());
    order = CopiesBesideOriginals(scan, std::move(order));
    BeginLoadProgress((int)order.size());
    int made = 0;
    for (*done = 0; *done < (int)order.size();) {
        made += MakeRow(scan.found[order[*done]], failures, cache, shown);
        if (!ContinueLoad(++*done)) {
            *stopped = *done < (int)order.size();
            break;
        }
    }
    return made;
}

// Every unreadable entry of a load in one box that names them, so a
// folder of locked files is one box per load, not one per file.
static void ReportLoadFailures(const LoadFailures& failures)
{
    if (failures.names.empty())
        return;
    std::vector<const char*> names;
    for (const std::string& name : failures.names)
        names.push_back(name.c_str());
    ShowNamesError(IDS_LOAD_FAILED, (int)names.size(), names.data(), failures.codes.data());
}

int LoadFolder(int* failures, const std::unordered_set<std::string>* shown)
{
    g_app->historyView = FALSE;
    ClearItemRows();
    int made = 0, done = 0;
    bool anyUnlisted = false, stopped = false;
    LoadFailures failed;
    std::vector<std::string> setAside;
    char pattern[kPathCap];
    if (JoinPath(pattern, sizeof pattern, g_app->currentFolder, "*.*")) {
        // Tens of thousands of rows: repaint once at the end, not per row.
        SendMessageW(g_app->listView, WM_SETREDRAW, FALSE, 0);
        try {
            FolderScan scan;
            CacheUse cache;
            StartCacheUse(&cache, g_app->currentFolder);
            ScanFolder(pattern, &scan);
            anyUnlisted = !scan.unlisted.empty();
            setAside.swap(scan.setAside);
            made = MakeRows(scan, &failed, &cache, shown, &done, &stopped);
            // A stopped load writes nothing: its rows are only a part.
            if (stopped)
                anyUnlisted = false;
            else
                FinishCacheUse(&cache);
        } catch (const std::bad_alloc&) {
            // Out of memory: an empty list, so no partial order is saved.
            ClearItemRows();
            made = 0;
            anyUnlisted = false;
        }
        SendMessageW(g_app->listView, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(g_app->listView, NULL, TRUE);
    }
    SelectRow(0);
    ReapplyRowFilter();
    if (stopped)
        StopFolderWatch();
    else
        WatchCurrentFolder();
    ShowFolderName();
    EndLoadProgress(done, stopped);
    // The order shown stays; the other machine's is the user's to look at.
    for (const std::string& name : setAside)
        NoteSetAsideOrder(name.c_str());
    ShowItemCount();
    UpdateCommandStates();
    if (!g_app->options[NoOrderFile] && anyUnlisted)
        g_app->orderChanged = 1;
    try {
        // A file that holds no item stays so until it changes, and a change
        // is seen anyway: only failures that may pass are worth a retry.
        if (failures)
            *failures = (int)std::count_if(failed.codes.begin(), failed.codes.end(),
                                           [](DWORD code) { return !IsOwnErrorCode(code); });
        else
            ReportLoadFailures(failed);
    } catch (const std::bad_alloc&) {
        // No memory for the list: the box is left out, the rows stand.
    }
    return made;
}
