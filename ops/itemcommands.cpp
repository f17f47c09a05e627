#include "itemcommands.h"

#include <shellapi.h>
#include <cstring>

#include "../app/state.h"
#include "../app/wide.h"
#include "../app/ui.h"
#include "../res/resource.h"
#include "../store/folderload.h"
#include "../store/itemname.h"
#include "../store/order.h"
#include "../store/paths.h"
#include "../store/pathtext.h"
#include "../store/records.h"
#include "../store/chars.h"

static void FinishListChange()
{
    g_app->orderChanged = 1;
    ShowItemCount();
    UpdateCommandStates();
}

// The new row is selected and its name opened for editing once the
// current message is done.
static void SelectNewRow()
{
    SelectRow(-1);
    PostMessageW(g_hMainWnd, WM_COMMAND, CMD_RENAME, 0);
    FinishListChange();
}

static BOOL SystemFailure()
{
    ShowErrorBox(-1, NULL);
    return FALSE;
}

static BOOL TooLong()
{
    ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
    return FALSE;
}

BOOL NewGroup(HWND owner)
{
    char path[kPathCap], name[64];
    if (LoadText(IDS_NEW_GROUP, name, sizeof name) <= 0)
        CopyText(name, sizeof name, "New Group");
    // A file of that name takes it too: the folder could not be made there.
    if (!UniqueItemPath(path, sizeof path, false, name, ""))
        return FALSE;
    if (!MakeFolder(path))
        return SystemFailure();
    if (!AddItemRow(path, FALSE, 0, NULL, -1))
        return FALSE;
    SelectNewRow();
    return TRUE;
}

BOOL StartRename()
{
    int row = -1;
    if (!GetSelectedRecord(&row, -1))
        return FALSE;
    SetFocus(g_app->listView);
    return SendMessageW(g_app->listView, LVM_EDITLABELW, (WPARAM)row, 0) != 0;
}

// Only a fixed drive has a recycle bin: on a share or a removable drive
// the shell would delete for good without saying so.
static bool HasRecycleBin(const char* path)
{
    char root[kPathCap] = "";
    wchar_t wide[kPathCap];
    DriveRoot(path, root, sizeof root);
    return root[0] && ToWide(root, wide, kPathCap) && GetDriveTypeW(wide) == DRIVE_FIXED;
}

static bool FolderHasEntries(const char* folder)
{
    char pattern[kPathCap];
    // A folder too deep to search is taken as full: the question errs safe.
    return !JoinPath(pattern, sizeof pattern, folder, "*.*") || CountFolderEntries(pattern) > 0;
}

// One shell file operation on one path (to: null for a delete); 0 when
// it was done whole. The shell takes lists ended by two zeros.
static int ShellFileOperation(HWND owner, UINT func, const char* from, const char* to,
                              FILEOP_FLAGS flags)
{
    // The shell reads ? and * as wildcards: no real name holds one, and
    // one given here would take every name it matches.
    if (HasWildcard(from) || (to && HasWildcard(to)))
        return ERROR_INVALID_NAME;
    // The last unit stays zero: the second terminator.
    wchar_t source[kPathCap + 1], target[kPathCap + 1];
    memset(source, 0, sizeof source);
    memset(target, 0, sizeof target);
    if (!ToWide(from, source, kPathCap) || (to && !ToWide(to, target, kPathCap)))
        return ERROR_FILENAME_EXCED_RANGE;
    SHFILEOPSTRUCTW op;
    ZeroMemory(&op, sizeof op);
    op.hwnd = owner;
    op.wFunc = func;
    op.pFrom = source;
    op.pTo = to ? target : NULL;
    op.fFlags = flags;
    int result = SHFileOperationW(&op);
    return result == 0 && op.fAnyOperationsAborted ? ERROR_CANCELLED : result;
}

// The shell moves the file or folder, with everything in it, to the
// recycle bin; the question was ours, so it asks nothing itself.
static BOOL MoveToRecycleBin(HWND owner, const char* path)
{
    int result = ShellFileOperation(owner, FO_DELETE, path, NULL,
                                    FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI);
    if (result == 0 && PathAttributes(path) == INVALID_FILE_ATTRIBUTES)
        return TRUE;
    // The shell's own codes from 0x71 up are not system error codes.
    ShowSystemError(result > 0 && result < 0x71 ? (DWORD)result : ERROR_ACCESS_DENIED);
    return FALSE;
}

static BOOL DeleteForGood(const char* path, bool group)
{
    if (group ? DeleteTree(path, true) : DeleteFilePath(path) != FALSE)
        return TRUE;
    return SystemFailure();
}

BOOL DeleteSelectedRow(HWND owner)
{
    int row = -1;
    ItemRecord* record = GetSelectedRecord(&row, -1);
    if (!record)
        return FALSE;
    char path[kPathCap];
    if (!RowPath(record, path))
        return TooLong();
    // A name the listing could not give as it is (a character it lost
    // became ?) is no path of its own: deleting it could take others.
    if (HasWildcard(path))
        return ShowPathError(IDS_NAME_WILDCARD, record->name, 0);
    bool group = record->kind == kKindGroup;
    bool recycle = HasRecycleBin(path);
    // A group with anything in it defaults to No: two presses of Enter
    // must never take a whole tree.
    bool tree = group && FolderHasEntries(path);
    int question = recycle ? (tree ? IDS_ASK_RECYCLE_TREE : IDS_ASK_RECYCLE)
                           : (tree ? IDS_ASK_ERASE_TREE : IDS_ASK_ERASE);
    UINT style = MB_ICONWARNING | (tree ? MB_DEFBUTTON2 : 0);
    if (AskYesNo(owner, question, style, record->name, NULL) != IDYES)
        return FALSE;
    if (!(recycle ? MoveToRecycleBin(owner, path) : DeleteForGood(path, group)))
        return FALSE;
    RemoveListRow(row);
    int n = RowCount();
    if (n > 0)
        SelectRow(row < n ? row : n - 1);
    FinishListChange();
    return TRUE;
}

// The shell copies a folder with everything in it; it shows its own
// progress and errors.
static BOOL CopyGroupFolder(HWND owner, const char* from, const char* to)
{
    return ShellFileOperation(owner, FO_COPY, from, to, FOF_NOCONFIRMMKDIR) == 0;
}

BOOL DuplicateSelectedRow(HWND owner)
{
    ItemRecord* record = GetSelectedRecord(NULL, -1);
    if (!record)
        return FALSE;
    bool group = record->kind == kKindGroup;
    char copy[kPathCap], path[kPathCap];
    // Any entry takes a name: the shell reports success for a folder copy
    // onto a file and copies nothing.
    if (!UniqueItemPath(copy, sizeof copy, false, record->name, record->ext ? record->ext : ""))
        return FALSE;
    if (!RowPath(record, path))
        return TooLong();
    BOOL added;
    if (group) {
        if (!CopyGroupFolder(owner, path, copy) || !PathExists(copy, true))
            return FALSE;
        added = AddItemRow(copy, FALSE, 0, NULL, -1);
    } else {
        if (!PathExists(path, false)) {
            ShowErrorBox(IDS_MISSING, NULL);
            return FALSE;
        }
        if (!CopyFilePath(path, copy, TRUE))
            return SystemFailure();
        added = AddItemRow(copy, TRUE, record->entryCount, record->entries, -1);
    }
    if (!added)
        return FALSE;
    SelectNewRow();
    return TRUE;
}

BOOL MoveSelectedRow(int direction)
{
    int row = -1;
    ItemRecord* record = GetSelectedRecord(&row, -1);
    int target = row + direction;
    // A filtered view hides the rows between: it never rearranges them.
    if (RowsFiltered() || !record || target < 0 || target >= RowCount())
        return FALSE;
    ItemRecord* other = GetRowRecord(target);
    if (!other)
        return FALSE;
    SetRowRecord(record, target);
    SetRowRecord(other, row);
    SelectRow(target);
    g_app->orderChanged = 1;
    UpdateCommandStates();
    return TRUE;
}

BOOL MoveItemToGroup(HWND owner)
{
    int row = -1;
    ItemRecord* record = GetSelectedRecord(&row, -1);
    if (!record || record->kind == kKindGroup)
        return FALSE;
    char chosen[kPathCap];
    if (!BrowseForFolder(owner, g_app->currentFolder, chosen, 0) ||
        EqualNoCase(chosen, g_app->currentFolder))
        return FALSE;
    // A drive root comes back with its backslash already on.
    const char* last = FindLastChar(chosen, '\\');
    bool rooted = last && last[1] == '\0';
    char from[kPathCap], to[kPathCap];
    if (!RowPath(record, from) || !FormatText(to, sizeof to, rooted ? "%s%s%s" : "%s\\%s%s",
                                              chosen, record->name, record->ext ? record->ext : ""))
        return TooLong();
    if (AskYesNo(owner, IDS_ASK_MOVE, MB_ICONQUESTION, record->name, chosen) != IDYES)
        return FALSE;
    // As MoveFile: another drive's folder takes the item by a copy.
    if (!MovePath(from, to, MOVEFILE_COPY_ALLOWED))
        return SystemFailure();
    RemoveListRow(row);
    FinishListChange();
    return TRUE;
}

BOOL GoUpOneLevel()
{
    char parent[kPathCap], left[kPathCap];
    if (AtRootFolder() || ParentPath(g_app->currentFolder, parent, sizeof parent) < 0 ||
        !parent[0])
        return FALSE;
    SaveChangedOrder();
    FileNamePart(g_app->currentFolder, left, sizeof left);
    CopyText(g_app->currentFolder, kPathCap, parent);
    LoadFolder();
    int row = -1;
    if (FindRowByName(left, &row))
        SelectRow(row);
    UpdateCommandStates();
    return TRUE;
}
