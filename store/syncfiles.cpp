#include "syncfiles.h"

#include <new>
#include <set>

#include "../app/state.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "folderload.h"
#include "itemname.h"
#include "orderindex.h"
#include "syncnames.h"

bool IsSyncOwnEntry(const char* name)
{
    return IsBookkeepingName(name) || IsConflictCopyOf(name, ORDER_FILE_NAME);
}

static bool RecordConflict(const ItemRecord* record, ConflictName* conflict)
{
    char file[kPathCap];
    return record && record->kind != kKindGroup && record->name &&
           FormatText(file, sizeof file, "%s%s", record->name, record->ext ? record->ext : "") &&
           ParseConflictName(file, conflict);
}

bool ConflictOriginalKey(const ItemRecord* record, std::string* key)
{
    ConflictName conflict;
    if (!RecordConflict(record, &conflict))
        return false;
    *key = FoldName(conflict.original);
    return true;
}

bool ConflictLabel(const ItemRecord* record, char* out, size_t cap)
{
    out[0] = '\0';
    ConflictName conflict;
    if (!RecordConflict(record, &conflict))
        return false;
    static char format[64];
    if (!format[0] && !LoadText(IDS_CONFLICT_MARK, format, sizeof format))
        CopyText(format, sizeof format, "%s (%s)");
    char name[kRowNameCap], ext[kNamePartCap];
    SplitItemName(conflict.original, true, name, ext);
    return FormatText(out, cap, format, name, conflict.made);
}

const char* RowLabel(const ItemRecord* record)
{
    static char label[kRowNameCap + 64];
    if (ConflictLabel(record, label, sizeof label))
        return label;
    return record && record->name ? record->name : "";
}

void NoteSetAsideOrder(const char* name)
{
    static std::set<std::string> said;
    char path[kPathCap];
    if (!JoinPath(path, sizeof path, g_app->currentFolder, name))
        return;
    try {
        if (!said.insert(FoldName(path)).second)
            return;
    } catch (const std::bad_alloc&) {
        return;
    }
    ShowStatusNote(IDS_ORDER_SET_ASIDE, name);
}
