#include "listinput.h"

#include "../clip/copy.h"
#include "historyview.h"
#include "../res/resource.h"
#include "../store/folderload.h"
#include "../store/itemname.h"
#include "../store/order.h"
#include "../store/orderindex.h"
#include "../store/paths.h"
#include "../store/pathtext.h"
#include "../store/records.h"
#include "../store/syncfiles.h"
#include "state.h"
#include "ui.h"
#include "wide.h"

#include <cstdlib>
#include <cstring>
#include <string>

// What the user typed into a rename that was refused; the box reopens
// with it, so nothing typed is lost.
static char s_retypedName[kTextCap];

static void ReopenRename(int row, const char* text)
{
    CopyText(s_retypedName, sizeof s_retypedName, text);
    PostMessageW(g_app->listView, LVM_EDITLABELW, (WPARAM)row, 0);
}

static void OnBeginLabelEdit(int row)
{
    HWND edit = (HWND)SendMessageW(g_app->listView, LVM_GETEDITCONTROL, 0, 0);
    ItemRecord* record = GetRowRecord(row);
    char label[kRowNameCap + 64];
    if (edit && s_retypedName[0])
        SetTextOf(edit, s_retypedName);
    // A conflict copy's row shows a mark; the box edits the file's name.
    else if (edit && ConflictLabel(record, label, sizeof label))
        SetTextOf(edit, record->name);
    s_retypedName[0] = '\0';
}

// Rows keep their text and picture in the record; the list asks for them
// when it paints. The name goes into the list's own buffer, cut on a
// character when it is longer than the list shows.
static void OnGetDispInfo(NMLVDISPINFOW* info)
{
    if (g_app->historyView) {
        if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0)
            HistoryRowLabel(info->item.iItem, info->item.pszText, (size_t)info->item.cchTextMax);
        if (info->item.mask & LVIF_IMAGE)
            info->item.iImage = kKindText;
        return;
    }
    ItemRecord* record = GetRowRecord(info->item.iItem);
    if ((info->item.mask & LVIF_TEXT) && record && info->item.iSubItem == 0 &&
        info->item.pszText && info->item.cchTextMax > 0)
        ToWideCut(RowLabel(record), info->item.pszText, (size_t)info->item.cchTextMax);
    if (info->item.mask & LVIF_IMAGE)
        info->item.iImage = record ? record->kind : kKindText;
}

// Typing a name's first letters moves to the next row that starts with
// them (ASCII letters without regard to case), wrapping at the end.
static LRESULT FindRow(UINT flags, const char* text, int start)
{
    int n = RowCount();
    if (!(flags & (LVFI_STRING | LVFI_PARTIAL)) || !text || n == 0)
        return -1;
    std::string typed = FoldName(text);
    bool whole = !(flags & LVFI_PARTIAL);
    if (start < 0 || start >= n)
        start = 0;
    for (int i = 0; i < n; ++i) {
        int row = (start + i) % n;
        const ItemRecord* record = GetRowRecord(row);
        if (!record || !record->name || (!(flags & LVFI_WRAP) && row < start))
            continue;
        std::string name = FoldName(record->name);
        if (whole ? name == typed : name.compare(0, typed.size(), typed) == 0)
            return row;
    }
    return -1;
}

// The toolbar and menus must follow the selection however it moved:
// LVN_KEYDOWN arrives before the list has moved it for an arrow key.
static void OnItemChanged(const NMLISTVIEW* change)
{
    if (!(change->uChanged & LVIF_STATE) ||
        !((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
        return;
    if (change->iItem >= 0 && (change->uNewState & LVIS_SELECTED) && g_app->historyView)
        ShowHistoryEntryInfo(change->iItem);
    else if (change->iItem >= 0 && (change->uNewState & LVIS_SELECTED))
        NoteSelectedRow(change->iItem);
    UpdateCommandStates();
}

static LRESULT OnFindItem(const NMLVFINDITEMW* find)
{
    char text[kPathCap] = "";
    if (find->lvfi.psz && !FromWide(find->lvfi.psz, -1, text, sizeof text))
        return -1;
    return FindRow(find->lvfi.flags, find->lvfi.psz ? text : NULL, find->iStart);
}

// During a load, opening a row stops it first; the row opens right after.
static bool StopsLoad(NMHDR* header)
{
    bool enter = header->code == LVN_KEYDOWN && ((NMLVKEYDOWN*)header)->wVKey == VK_RETURN;
    if (!g_app->loading || (header->code != NM_DBLCLK && header->code != NM_RCLICK && !enter))
        return false;
    g_app->stopLoad = TRUE;
    if (header->code != NM_RCLICK)
        PostMessageW(g_app->listView, WM_KEYDOWN, VK_RETURN, 0);
    return true;
}

LRESULT OnListNotify(NMHDR* header)
{
    if (header->code == TTN_NEEDTEXTW) {
        NMTTDISPINFOW* tip = (NMTTDISPINFOW*)header;
        tip->hinst = g_hInstance;
        tip->lpszText = MAKEINTRESOURCEW(header->idFrom + TOOLTIP_BASE);
        return 1;
    }
    if (!g_app || !g_app->listView || header->hwndFrom != g_app->listView || StopsLoad(header))
        return 0;
    switch (header->code) {
    case NM_CLICK:
        UpdateCommandStates();
        break;
    case NM_DBLCLK:
        ActivateSelectedRow(TRUE);
        break;
    case NM_RCLICK:
        ShowListContextMenu(FALSE);
        break;
    case LVN_KEYDOWN:
        OnListKeyDown(((NMLVKEYDOWN*)header)->wVKey);
        UpdateCommandStates();
        break;
    case LVN_ITEMCHANGED:
        OnItemChanged((NMLISTVIEW*)header);
        break;
    case LVN_GETDISPINFOW:
        OnGetDispInfo((NMLVDISPINFOW*)header);
        break;
    case LVN_BEGINLABELEDITW:
        if (g_app->historyView)
            return TRUE;   // an entry has no name to edit
        OnBeginLabelEdit(((NMLVDISPINFOW*)header)->item.iItem);
        break;
    case LVN_ODFINDITEMW:
        return OnFindItem((NMLVFINDITEMW*)header);
    case LVN_ENDLABELEDITW: {
        const NMLVDISPINFOW* info = (const NMLVDISPINFOW*)header;
        std::string text = info->item.pszText ? Narrow(info->item.pszText) : std::string();
        OnEndLabelEdit(info->item.iItem, info->item.pszText ? text.c_str() : NULL);
        break;
    }
    }
    return 0;
}

void OnListKeyDown(WORD key)
{
    switch (key) {
    case VK_BACK:
        PostMessageW(g_hMainWnd, WM_COMMAND, CMD_PARENT, 0);
        break;
    case VK_RETURN:
        ActivateSelectedRow();
        break;
    case VK_DELETE:
        PostMessageW(g_hMainWnd, WM_COMMAND, CMD_DELETE, 0);
        break;
    case VK_APPS:
        // At once: the menu's own loop then takes the key's release, which
        // would otherwise ask for a second menu.
        ShowListContextMenu(TRUE);
        break;
    }
}

static void OpenGroup(ItemRecord* record, int row)
{
    SaveChangedOrder();
    char path[kPathCap];
    if (!RowPath(record, path)) {
        ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
        return;
    }
    if (PathExists(path, true)) {
        CopyText(g_app->currentFolder, kPathCap, path);
        LoadFolder();
        return;
    }
    ShowSystemError(ERROR_PATH_NOT_FOUND);
    RemoveListRow(row);
    ShowItemCount();
}

void ActivateSelectedRow(BOOL atPointer)
{
    if (g_app->historyView) {
        CopyHistoryRow();
        return;
    }
    int row = -1;
    ItemRecord* record = GetSelectedRecord(&row, -1);
    if (!record)
        return;
    if (record->kind == kKindGroup)
        OpenGroup(record, row);
    else
        CopyOrNotify(g_hMainWnd, 0, atPointer);
    UpdateCommandStates();
}

void ShowListContextMenu(BOOL fromKeyboard)
{
    UpdateCommandStates();
    BOOL selected = SendMessageW(g_app->listView, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    int id = g_app->historyView ? IDM_HISTORYMENU : selected ? IDM_ROWMENU : IDM_LISTMENU;
    HMENU menu = LoadMenuW(g_hInstance, MAKEINTRESOURCEW(id));
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu, 0);
    POINT at = {0, 0};
    if (fromKeyboard)
        KeyboardMenuPoint(&at);
    else
        GetCursorPos(&at);
    if (popup)
        TrackPopupMenu(popup, 0, at.x, at.y, 0, g_hMainWnd, NULL);
    DestroyMenu(menu);
}

BOOL OnEndLabelEdit(int row, const char* text)
{
    if (!text || !text[0])
        return FALSE;
    ItemRecord* record = GetRowRecord(row);
    if (!record || !record->name || EqualNoCase(text, record->name))
        return FALSE;
    // A separator would move the entry into another folder, out of sight.
    if (HasInvalidNameChar(text)) {
        ShowErrorBox(IDS_BAD_NAME, NULL);
        ReopenRename(row, text);
        return FALSE;
    }
    char from[kPathCap], to[kPathCap];
    if (!RowPath(record, from) || !RowPath(record, to, text)) {
        ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
        ReopenRename(row, text);
        return FALSE;
    }
    // Taken before the move, so the row can never lag behind the disk.
    char* name = CopyString(text);
    if (!name) {
        ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    if (!MoveFileW(Widen(from).c_str(), Widen(to).c_str())) {
        ShowErrorBox(-1, NULL);
        free(name);
        ReopenRename(row, text);
        return FALSE;
    }
    SetRecordName(record, name);
    SetRowRecord(record, row);
    SendMessageW(g_app->listView, LVM_UPDATE, (WPARAM)row, 0);
    g_app->orderChanged = 1;
    return TRUE;
}
