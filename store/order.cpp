#include "order.h"

#include <new>
#include <string>
#include <vector>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "folderload.h"
#include "paths.h"
#include "pathtext.h"
#include "records.h"
#include "safewrite.h"
#include "syncfiles.h"
#include "utf8.h"

BOOL MoveEntryPath(const char* from, const char* to)
{
    return MovePath(from, to, 0);
}

MoveFileFn g_moveFile = MoveEntryPath;

// The name as stored on disk.
static std::string RowFileName(const ItemRecord* record)
{
    std::string name = record->name ? record->name : "";
    if (record->ext)
        name += record->ext;
    return name;
}

BOOL WriteOrderFile()
{
    int rows = AllRowCount();
    if (rows == 0)
        return FALSE;
    char path[kPathCap];
    if (!JoinPath(path, sizeof path, g_app->currentFolder, ORDER_FILE_NAME))
        return ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
    std::string content;
    content.reserve((size_t)rows * 24);
    for (int row = 0; row < rows; ++row) {
        const ItemRecord* record = AllRowRecord(row);
        if (!record)
            continue;
        content.append(record->name ? record->name : "");
        content.append(record->ext ? record->ext : "");
        content.append("\r\n");
    }
    // Code page 932 when it holds every name, as the file always was;
    // else UTF-8 after its mark.
    std::string stored;
    if (!ProgramToStored(content.data(), content.size(), 0, &stored))
        stored = std::string(kUtf8Mark, sizeof kUtf8Mark) + content;
    // A read-only order file could not be replaced, so it is made normal
    // first. Whatever stands at the path keeps its attributes when the save
    // fails: it may be the user's folder of that name, not our file.
    DWORD before = PathAttributes(path);
    bool existed = before != INVALID_FILE_ATTRIBUTES;
    if (existed && !(before & FILE_ATTRIBUTE_DIRECTORY))
        SetPathAttributes(path, FILE_ATTRIBUTE_NORMAL);
    BOOL written = ReplaceFileBytesQuietly(path, stored.data(), (DWORD)stored.size());
    DWORD error = GetLastError();
    if (written)
        SetPathAttributes(path, FILE_ATTRIBUTE_HIDDEN);
    else if (existed)
        SetPathAttributes(path, before);
    // The system's text alone does not say which file it was about.
    return written || ShowPathError(IDS_ORDER_NOT_SAVED, path, error);
}

// Moves folder\name to parking\name; true when it went.
static bool MoveEntry(const char* fromFolder, const char* toFolder, const std::string& name,
                      DWORD* error)
{
    char from[kPathCap], to[kPathCap];
    if (!JoinPath(from, sizeof from, fromFolder, name.c_str()) ||
        !JoinPath(to, sizeof to, toFolder, name.c_str())) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return false;
    }
    if (g_moveFile(from, to))
        return true;
    *error = GetLastError();
    return false;
}

// Parks name unless that fails; the slot is taken before the move so that
// a moved entry is never out of the table.
static void Park(std::vector<std::string>* parked, const char* parking, const std::string& name)
{
    DWORD error;
    parked->push_back(name);
    if (!MoveEntry(g_app->currentFolder, parking, name, &error))
        parked->pop_back();
}

// Everything still in the current folder: the entries the list does not
// hold, and listed ones whose move failed. A sync engine's entries stay
// where they are: its marker folder gone for a moment stops the engine,
// and a file it is writing must not move under it.
static std::vector<std::string> RemainingNames()
{
    std::vector<std::string> names;
    char pattern[kPathCap];
    if (!JoinPath(pattern, sizeof pattern, g_app->currentFolder, "*.*"))
        return names;
    ForEachEntry(pattern, [&](const FoundFile& found) {
        if (!IsSyncOwnEntry(found.name))
            names.push_back(found.name);
    });
    return names;
}

static void ParkAll(std::vector<std::string>* parked, const char* parking)
{
    try {
        parked->reserve(AllRowCount());
        for (int row = 0, rows = AllRowCount(); row < rows; ++row)
            if (const ItemRecord* record = AllRowRecord(row))
                Park(parked, parking, RowFileName(record));
        if (g_app->options[ExcludeHidden])
            for (const std::string& name : RemainingNames())
                Park(parked, parking, name);
    } catch (const std::bad_alloc&) {
        // What is parked so far goes back; the rest stays where it was.
    }
}

static void BringBack(const std::vector<std::string>& parked, const char* parking)
{
    for (const std::string& name : parked) {
        DWORD error;
        if (MoveEntry(parking, g_app->currentFolder, name, &error))
            continue;
        // The user must learn where the entry is; the others still go back.
        char path[kPathCap];
        if (!JoinPath(path, sizeof path, parking, name.c_str()))
            CopyText(path, sizeof path, parking);
        ShowPathError(IDS_PARKED, path, error);
    }
}

static void ReorderPhysically()
{
    char root[kPathCap], parking[kPathCap];
    DriveRoot(g_app->currentFolder, root, sizeof root);
    if (!JoinPath(parking, sizeof parking, root, PARKING_FOLDER_NAME))
        return;
    if (!MakeFolder(parking)) {
        // A folder left over from an earlier run may hold entries stranded
        // there by a crash: keep away from it, and say so once.
        if (GetLastError() == ERROR_ALREADY_EXISTS && !g_app->parkingReported) {
            g_app->parkingReported = TRUE;
            ShowPathError(IDS_PARKING_LEFT, parking, 0);
        }
        return;
    }
    std::vector<std::string> parked;
    ParkAll(&parked, parking);
    BringBack(parked, parking);
    RemoveFolder(parking);
    g_app->orderChanged = 0;
}

BOOL SaveOrder()
{
    // Rows of a stopped load are only a part: saving them would drop the rest.
    if (AllRowCount() == 0 || g_app->loadIncomplete)
        return TRUE;
    if (g_app->options[NoOrderFile]) {
        ReorderPhysically();
        return TRUE;
    }
    BOOL written = WriteOrderFile();
    g_app->orderChanged = 0;
    return written;
}

BOOL SaveChangedOrder()
{
    return !g_app->orderChanged || SaveOrder();
}
