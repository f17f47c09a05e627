#include "records.h"

#include <cstdlib>
#include <cstring>

#include "../app/state.h"
#include "../res/resource.h"
#include "itemname.h"
#include "pathtext.h"

char* CopyString(const char* text)
{
    if (!text)
        return nullptr;
    size_t len = strlen(text) + 1;
    char* copy = (char*)malloc(len);
    if (copy)
        memcpy(copy, text, len);
    return copy;
}

static void AppendToChain(ItemRecord* record)
{
    if (!g_app->chainHead)
        g_app->chainHead = record;
    else
        g_app->chainTail->next = record;
    g_app->chainTail = record;
}

static void SetRowState(int row, UINT state)
{
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    SendMessageA(g_app->listView, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

int RowCount()
{
    return g_app && g_app->listView ? g_app->rowCount : 0;
}

// The list paints and hit-tests as many rows as the table holds.
static void SetListCount(bool atEnd)
{
    SendMessageA(g_app->listView, LVM_SETITEMCOUNT, (WPARAM)g_app->rowCount,
                 atEnd ? LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL : LVSICF_NOSCROLL);
}

// The list keeps the focus and the selection by row number: when rows
// shift, both follow their row.
static void ShiftRowStates(int focused, int selected, int from, int by, int gone)
{
    if (focused >= 0)
        SetRowState(focused, 0);
    if (selected >= 0 && selected != focused)
        SetRowState(selected, 0);
    auto moved = [&](int row) { return row == gone ? -1 : row >= from ? row + by : row; };
    focused = focused >= 0 ? moved(focused) : -1;
    selected = selected >= 0 ? moved(selected) : -1;
    if (selected >= 0)
        SetRowState(selected, LVIS_SELECTED | (selected == focused ? LVIS_FOCUSED : 0));
    if (focused >= 0 && focused != selected)
        SetRowState(focused, LVIS_FOCUSED);
}

static void CurrentRowStates(int* focused, int* selected)
{
    *focused = (int)SendMessageA(g_app->listView, LVM_GETNEXTITEM, (WPARAM)-1,
                                 MAKELPARAM(LVNI_FOCUSED, 0));
    *selected = (int)SendMessageA(g_app->listView, LVM_GETNEXTITEM, (WPARAM)-1,
                                  MAKELPARAM(LVNI_SELECTED, 0));
}

void RemoveListRow(int row)
{
    if (!g_app || !g_app->listView || row < 0 || row >= g_app->rowCount)
        return;
    int focused, selected;
    CurrentRowStates(&focused, &selected);
    memmove(g_app->rows + row, g_app->rows + row + 1,
            (size_t)(g_app->rowCount - row - 1) * sizeof *g_app->rows);
    --g_app->rowCount;
    bool shifted = (focused >= row) || (selected >= row);
    if (shifted)
        ShiftRowStates(focused, selected, row + 1, -1, row);
    SetListCount(false);
}

BOOL AddItemRow(const char* path, BOOL isItem, int count, const Entry* entries, int position)
{
    ItemRecord* record = (ItemRecord*)calloc(1, sizeof(ItemRecord));
    if (!record)
        return FALSE;

    char name[kRowNameCap];
    char ext[kNamePartCap];
    SplitItemName(path, isItem != FALSE, name, ext);
    record->name = CopyString(name);
    record->ext = ext[0] ? CopyString(ext) : nullptr;
    record->kind = ItemKindFor(isItem != FALSE, ext);

    if (count < 0 || !entries)
        count = 0;
    if (count > kMaxEntries)
        count = kMaxEntries;
    record->entryCount = count;
    for (int i = 0; i < count; ++i) {
        record->entries[i].key = CopyString(entries[i].key);
        record->entries[i].value = CopyString(entries[i].value);
    }

    AppendToChain(record);
    return InsertListRow(record, position, record->kind);
}

// The row shows the record's picture, so kind is not kept apart.
BOOL InsertListRow(ItemRecord* record, int position, int kind)
{
    if (!g_app || !g_app->listView)
        return FALSE;
    int n = g_app->rowCount;
    if (position < 0 || position > n)
        position = n;
    if (n == g_app->rowCapacity) {
        int capacity = n < 64 ? 64 : n * 2;
        ItemRecord** grown = (ItemRecord**)realloc(g_app->rows, (size_t)capacity * sizeof *grown);
        if (!grown)
            return FALSE;
        g_app->rows = grown;
        g_app->rowCapacity = capacity;
    }
    int focused = -1, selected = -1;
    if (position < n)
        CurrentRowStates(&focused, &selected);
    memmove(g_app->rows + position + 1, g_app->rows + position,
            (size_t)(n - position) * sizeof *g_app->rows);
    g_app->rows[position] = record;
    ++g_app->rowCount;
    SetListCount(position == n);
    if (focused >= position || selected >= position)
        ShiftRowStates(focused, selected, position, 1, -1);
    return TRUE;
}

ItemRecord* GetRowRecord(int row)
{
    if (!g_app || !g_app->listView || row < 0 || row >= g_app->rowCount)
        return nullptr;
    return g_app->rows[row];
}

ItemRecord* GetSelectedRecord(int* row, int start)
{
    int found = -1;
    HWND list = g_app ? g_app->listView : NULL;
    // The list holds one selected row at most, nearly always the focused
    // one, which the list finds without looking at every row: a copy in a
    // folder of 100,000 items must not walk them all.
    if (list && start == -1)
        found = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1,
                                  MAKELPARAM(LVNI_FOCUSED | LVNI_SELECTED, 0));
    if (list && found < 0 && (start != -1 || SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0))
        found = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)start,
                                  MAKELPARAM(LVNI_SELECTED, 0));
    if (row)
        *row = found;
    return found < 0 ? nullptr : GetRowRecord(found);
}

ItemRecord* FindRowByName(const char* name, int* row)
{
    if (!name)
        return nullptr;
    int n = RowCount();
    for (int i = 0; i < n; ++i) {
        ItemRecord* record = g_app->rows[i];
        if (record && record->name && strcmp(record->name, name) == 0) {
            if (row)
                *row = i;
            return record;
        }
    }
    return nullptr;
}

void SelectRow(int row)
{
    int n = RowCount();
    if (row == -1)
        row = n - 1;
    if (row < 0 || row >= n)
        return;
    // Row -1 would address every row, and the list visits each of them: in
    // a folder of 100,000 items that was most of a paste. Only the focused
    // row and the one selected row are cleared, found without a walk.
    int focused = (int)SendMessageA(g_app->listView, LVM_GETNEXTITEM, (WPARAM)-1,
                                    MAKELPARAM(LVNI_FOCUSED, 0));
    int selected = -1;
    GetSelectedRecord(&selected, -1);
    if (focused >= 0 && focused != row)
        SetRowState(focused, 0);
    if (selected >= 0 && selected != row && selected != focused)
        SetRowState(selected, 0);
    SetRowState(row, LVIS_SELECTED | LVIS_FOCUSED);
    // The row chosen for the user (a new one, the folder just left) may be
    // far down a long list.
    SendMessageA(g_app->listView, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
}

void SetRowRecord(ItemRecord* record, int row)
{
    if (!record || !g_app || row < 0 || row >= g_app->rowCount)
        return;
    g_app->rows[row] = record;
    SendMessageA(g_app->listView, LVM_REDRAWITEMS, (WPARAM)row, (LPARAM)row);
}

void FreeEntries(int count, Entry* entries)
{
    if (count <= 0 || !entries)
        return;
    for (int i = 0; i < count; ++i) {
        free(entries[i].key);
        free(entries[i].value);
        entries[i].key = nullptr;
        entries[i].value = nullptr;
    }
}

void ClearItemRows()
{
    ItemRecord* record = g_app->chainHead;
    while (record) {
        ItemRecord* next = record->next;
        free(record->name);
        free(record->ext);
        FreeEntries(record->entryCount, record->entries);
        free(record);
        record = next;
    }
    g_app->chainHead = nullptr;
    g_app->chainTail = nullptr;
    g_app->orderChanged = 0;
    free(g_app->rows);
    g_app->rows = nullptr;
    g_app->rowCount = g_app->rowCapacity = 0;
    if (g_app->listView)
        SendMessageA(g_app->listView, LVM_DELETEALLITEMS, 0, 0);
}

static void SetStatusText(int part, const char* text)
{
    if (g_app->statusBar)
        SendMessageA(g_app->statusBar, SB_SETTEXTA, (WPARAM)part, (LPARAM)text);
}

void ShowItemCount()
{
    char format[32], text[64];
    if (LoadStringA(g_hInstance, IDS_ITEM_COUNT, format, sizeof format) <= 0)
        CopyText(format, sizeof format, "%d");
    FormatText(text, sizeof text, format, RowCount());
    SetStatusText(2, text);
}

void KeyboardMenuPoint(POINT* at)
{
    at->x = at->y = 0;
    int row = (int)SendMessageA(g_app->listView, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    RECT label;
    label.left = LVIR_LABEL;
    if (row >= 0) {
        SendMessageA(g_app->listView, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
        if (SendMessageA(g_app->listView, LVM_GETITEMRECT, (WPARAM)row, (LPARAM)&label)) {
            at->x = label.left;
            at->y = label.bottom;
        }
    }
    ClientToScreen(g_app->listView, at);
}

void ShowFolderName()
{
    const char* name = LastComponent(g_app->currentFolder);
    SetStatusText(0, name);
    // The task bar and Alt+Tab tell one library window from another by this.
    char title[kPathCap + 16];
    FormatText(title, sizeof title, "%s - %s", PRODUCT_NAME, name);
    if (g_hMainWnd)
        SetWindowTextA(g_hMainWnd, title);
}

void ShowStatusNote(int format, const char* name)
{
    char pattern[64], text[kPathCap + 64];
    if (LoadStringA(g_hInstance, format, pattern, sizeof pattern) <= 0)
        return;
    FormatText(text, sizeof text, pattern, name ? name : "");
    SetStatusText(0, text);
    SetTimer(g_hMainWnd, kStatusNoteTimer, kStatusNoteMs, NULL);
}

void EndStatusNote()
{
    KillTimer(g_hMainWnd, kStatusNoteTimer);
    ShowFolderName();
}

bool RowPath(const ItemRecord* record, char* out, const char* name)
{
    if (!name)
        name = record->name ? record->name : "";
    return FormatText(out, kPathCap, "%s\\%s%s", g_app->currentFolder, name,
                      record->ext ? record->ext : "");
}

BOOL AtRootFolder()
{
    return EqualNoCase(g_app->currentFolder, g_app->rootFolder);
}

static void SetButton(int command, bool enabled)
{
    SendMessageA(g_app->toolbar, TB_SETSTATE, (WPARAM)command,
                 MAKELPARAM(enabled ? TBSTATE_ENABLED : 0, 0));
}

SelectionState CurrentSelectionState()
{
    SelectionState state;
    state.selected = g_app->listView &&
                     SendMessageA(g_app->listView, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    int row = -1;
    ItemRecord* record = GetSelectedRecord(&row, -1);
    int n = RowCount();
    state.item = state.selected && record && record->kind != kKindGroup;
    state.up = state.selected && record && row > 0;
    state.down = state.selected && record && row < n - 1;
    state.parent = !AtRootFolder();
    return state;
}

void UpdateCommandStates()
{
    if (!g_app->toolbar)
        return;
    SelectionState state = CurrentSelectionState();
    SetButton(CMD_PARENT, state.parent);
    SetButton(CMD_DELETE, state.selected);
    SetButton(CMD_DUPLICATE, state.selected);
    SetButton(CMD_COPY, state.item);
    SetButton(CMD_NOTIFY, state.item);
    SetButton(CMD_EDIT, state.item);
    SetButton(CMD_MOVE_UP, state.up);
    SetButton(CMD_MOVE_DOWN, state.down);
}
