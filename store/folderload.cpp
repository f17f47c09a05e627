#include "folderload.h"

#include <new>
#include <string>
#include <vector>

#include "../app/state.h"
#include "../app/ui.h"
#include "../res/resource.h"
#include "itemfile.h"
#include "orderindex.h"
#include "pathtext.h"
#include "paths.h"
#include "records.h"
#include "safewrite.h"

namespace {

struct FoundEntry {
    std::string name;
    bool isFolder;
};

// One load's tables: the entries met, the order-file line each sits on
// (one slot per line, so no line index can fall outside it) and the
// unlisted ones in enumeration order.
struct FolderScan {
    std::vector<FoundEntry> found;
    std::vector<int> positioned;
    std::vector<int> unlisted;
};

}  // namespace

int CountFolderEntries(const char* pattern)
{
    int count = 0;
    ForEachEntry(pattern, [&](const WIN32_FIND_DATAA&) { ++count; });
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
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    BuildOrderIndex(index, ReadFromHandle, file);
    CloseHandle(file);
}

int OrderIndexOf(const char* name)
{
    OrderIndex index;
    LoadOrderIndex(&index);
    return FindOrderLine(&index, name);
}

static bool Accepted(const WIN32_FIND_DATAA& found)
{
    if (EqualNoCase(found.cFileName, ORDER_FILE_NAME))
        return false;
    return !(g_app->options[ExcludeHidden] && (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN));
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
    ForEachEntry(pattern, [&](const WIN32_FIND_DATAA& found) {
        if (!Accepted(found))
            return;
        scan->found.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
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

static int MakeRow(const FoundEntry& found, LoadFailures* failures)
{
    DWORD error;
    BOOL made = LoadFolderEntry(found.name.c_str(), found.isFolder, &error);
    if (error) {
        failures->names.push_back(found.name);
        failures->codes.push_back(error);
    }
    return made ? 1 : 0;
}

static int MakeRows(const FolderScan& scan, LoadFailures* failures)
{
    int made = 0;
    for (int entry : scan.positioned)
        if (entry >= 0)
            made += MakeRow(scan.found[entry], failures);
    for (int entry : scan.unlisted)
        made += MakeRow(scan.found[entry], failures);
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

int LoadFolder()
{
    ClearItemRows();
    int made = 0;
    bool anyUnlisted = false;
    LoadFailures failures;
    char pattern[kPathCap];
    if (JoinPath(pattern, sizeof pattern, g_app->currentFolder, "*.*")) {
        // Tens of thousands of rows: repaint once at the end, not per row.
        SendMessageA(g_app->listView, WM_SETREDRAW, FALSE, 0);
        try {
            FolderScan scan;
            ScanFolder(pattern, &scan);
            anyUnlisted = !scan.unlisted.empty();
            made = MakeRows(scan, &failures);
        } catch (const std::bad_alloc&) {
            // Out of memory: an empty list, so no partial order is saved.
            ClearItemRows();
            made = 0;
            anyUnlisted = false;
        }
        SendMessageA(g_app->listView, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(g_app->listView, NULL, TRUE);
    }
    SelectRow(0);
    ShowFolderName();
    ShowItemCount();
    UpdateCommandStates();
    if (!g_app->options[NoOrderFile] && anyUnlisted)
        g_app->orderChanged = 1;
    try {
        ReportLoadFailures(failures);
    } catch (const std::bad_alloc&) {
        // No memory for the list: the box is left out, the rows stand.
    }
    return made;
}
