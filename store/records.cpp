#include "records.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "../app/historyview.h"
#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "itemname.h"
#include "pathtext.h"
#include "searchtext.h"

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

// The row the selection was last seen on. The list holds one selected row
// at most, and the list finds a selected row other than the focused one
// only by looking at every row from the top.
static int s_selectedRow = -1;

void NoteSelectedRow(int row)
{
    s_selectedRow = row;
}

static void SetRowState(int row, UINT state)
{
    if (state & LVIS_SELECTED)
        s_selectedRow = row;
    LVITEMW item;
    memset(&item, 0, sizeof item);
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    SendMessageW(g_app->listView, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

// The folded text the rows are filtered by (empty: none), and the folder
// it was typed in.
static std::string s_filter;
static char s_filterFolder[kPathCap];

// The rows the list shows, by list row.
static ItemRecord** ShownRows()
{
    return g_app->filtered ? g_app->shown : g_app->rows;
}

int RowCount()
{
    if (!g_app || !g_app->listView)
        return 0;
    return g_app->filtered ? g_app->shownCount : g_app->rowCount;
}

int AllRowCount()
{
    return g_app && g_app->listView ? g_app->rowCount : 0;
}

ItemRecord* AllRowRecord(int index)
{
    return index >= 0 && index < AllRowCount() ? g_app->rows[index] : nullptr;
}

bool RowsFiltered()
{
    return g_app && g_app->filtered;
}

static int AllIndexOf(const ItemRecord* record)
{
    for (int i = 0; i < g_app->rowCount; ++i)
        if (g_app->rows[i] == record)
            return i;
    return -1;
}

int RowOfRecord(const ItemRecord* record)
{
    for (int i = 0, n = RowCount(); record && i < n; ++i)
        if (ShownRows()[i] == record)
            return i;
    return -1;
}

static bool Reserve(ItemRecord*** table, int* capacity, int needed)
{
    if (needed <= *capacity)
        return true;
    int grown = *capacity < 64 ? 64 : *capacity;
    while (grown < needed)
        grown *= 2;
    ItemRecord** bigger = (ItemRecord**)realloc(*table, (size_t)grown * sizeof *bigger);
    if (!bigger)
        return false;
    *table = bigger;
    *capacity = grown;
    return true;
}

static void InsertAt(ItemRecord** table, int* count, int position, ItemRecord* record)
{
    memmove(table + position + 1, table + position, (size_t)(*count - position) * sizeof *table);
    table[position] = record;
    ++*count;
}

static void RemoveAt(ItemRecord** table, int* count, int position)
{
    memmove(table + position, table + position + 1, (size_t)(*count - position - 1) * sizeof *table);
    --*count;
}

// The list paints and hit-tests as many rows as the table holds.
static void SetListCount(bool atEnd)
{
    SendMessageW(g_app->listView, LVM_SETITEMCOUNT, (WPARAM)RowCount(),
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

int SelectedRow()
{
    HWND list = g_app ? g_app->listView : NULL;
    if (!list)
        return -1;
    // Nearly always the focused row, which the list knows without a walk.
    int row = (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1,
                                MAKELPARAM(LVNI_FOCUSED | LVNI_SELECTED, 0));
    if (row >= 0 || SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) <= 0)
        return row;
    if (s_selectedRow >= 0 && s_selectedRow < RowCount() &&
        (SendMessageW(list, LVM_GETITEMSTATE, (WPARAM)s_selectedRow, LVIS_SELECTED) & LVIS_SELECTED))
        return s_selectedRow;
    return (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, MAKELPARAM(LVNI_SELECTED, 0));
}

static void CurrentRowStates(int* focused, int* selected)
{
    *focused = (int)SendMessageW(g_app->listView, LVM_GETNEXTITEM, (WPARAM)-1,
                                 MAKELPARAM(LVNI_FOCUSED, 0));
    *selected = SelectedRow();
}

// The focused and the selected row lose both states, unless it is keep.
// Row -1 would address every row, and the list visits each of them: in a
// folder of 100,000 items that was most of a paste. The two are found
// without a walk.
static void ClearRowStates(int keep)
{
    int focused, selected;
    CurrentRowStates(&focused, &selected);
    if (focused >= 0 && focused != keep)
        SetRowState(focused, 0);
    if (selected >= 0 && selected != keep && selected != focused)
        SetRowState(selected, 0);
}

void RemoveListRow(int row)
{
    if (!g_app || !g_app->listView || row < 0 || row >= RowCount())
        return;
    int focused, selected;
    CurrentRowStates(&focused, &selected);
    int index = row;
    if (g_app->filtered) {
        index = AllIndexOf(g_app->shown[row]);
        RemoveAt(g_app->shown, &g_app->shownCount, row);
    }
    if (index >= 0)
        RemoveAt(g_app->rows, &g_app->rowCount, index);
    bool shifted = (focused >= row) || (selected >= row);
    if (shifted)
        ShiftRowStates(focused, selected, row + 1, -1, row);
    SetListCount(false);
}

ItemRecord* MakeRecord(const char* path, BOOL isItem, int count, const Entry* entries)
{
    ItemRecord* record = (ItemRecord*)calloc(1, sizeof(ItemRecord));
    if (!record)
        return nullptr;

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
    return record;
}

void FreeRecord(ItemRecord* record)
{
    if (!record)
        return;
    free(record->name);
    free(record->ext);
    FreeEntries(record->entryCount, record->entries);
    free(record->searchText);
    free(record);
}

BOOL AddItemRow(const char* path, BOOL isItem, int count, const Entry* entries, int position)
{
    ItemRecord* record = MakeRecord(path, isItem, count, entries);
    if (!record)
        return FALSE;
    AppendToChain(record);
    return InsertListRow(record, position, record->kind);
}

// The row shows the record's picture, so kind is not kept apart.
BOOL InsertListRow(ItemRecord* record, int position, int kind)
{
    if (!g_app || !g_app->listView)
        return FALSE;
    int n = RowCount();
    if (position < 0 || position > n)
        position = n;
    if (!Reserve(&g_app->rows, &g_app->rowCapacity, g_app->rowCount + 1) ||
        (g_app->filtered && !Reserve(&g_app->shown, &g_app->shownCapacity, n + 1)))
        return FALSE;
    int focused = -1, selected = -1;
    if (position < n)
        CurrentRowStates(&focused, &selected);
    // A row made while a filter is on is shown, matching or not, and goes
    // into the folder's order before the row it was put before.
    int index = position;
    if (g_app->filtered) {
        index = position < n ? AllIndexOf(g_app->shown[position]) : g_app->rowCount;
        if (index < 0)
            index = g_app->rowCount;
        InsertAt(g_app->shown, &g_app->shownCount, position, record);
    }
    InsertAt(g_app->rows, &g_app->rowCount, index, record);
    SetListCount(position == n);
    if (focused >= position || selected >= position)
        ShiftRowStates(focused, selected, position, 1, -1);
    return TRUE;
}

ItemRecord* GetRowRecord(int row)
{
    if (row < 0 || row >= RowCount())
        return nullptr;
    return ShownRows()[row];
}

ItemRecord* GetSelectedRecord(int* row, int start)
{
    int found = -1;
    HWND list = g_app ? g_app->listView : NULL;
    // A copy in a folder of 100,000 items must not walk them all.
    if (start == -1)
        found = SelectedRow();
    else if (list)
        found = (int)SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)start,
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
        ItemRecord* record = GetRowRecord(i);
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
    ClearRowStates(row);
    SetRowState(row, LVIS_SELECTED | LVIS_FOCUSED);
    // The row chosen for the user (a new one, the folder just left) may be
    // far down a long list.
    SendMessageW(g_app->listView, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
}

void SetRowRecord(ItemRecord* record, int row)
{
    if (!record || row < 0 || row >= RowCount())
        return;
    if (g_app->filtered) {
        int index = AllIndexOf(g_app->shown[row]);
        if (index >= 0)
            g_app->rows[index] = record;
    }
    ShownRows()[row] = record;
    SendMessageW(g_app->listView, LVM_REDRAWITEMS, (WPARAM)row, (LPARAM)row);
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

void SetRecordEntries(ItemRecord* record, int count, const Entry* entries)
{
    FreeEntries(record->entryCount, record->entries);
    memcpy(record->entries, entries, (size_t)count * sizeof *entries);
    record->entryCount = count;
    ForgetSearchText(record);
}

void SetRecordName(ItemRecord* record, char* name)
{
    free(record->name);
    record->name = name;
    ForgetSearchText(record);
}

void ClearItemRows()
{
    ItemRecord* record = g_app->chainHead;
    while (record) {
        ItemRecord* next = record->next;
        FreeRecord(record);
        record = next;
    }
    g_app->chainHead = nullptr;
    g_app->chainTail = nullptr;
    g_app->orderChanged = 0;
    free(g_app->rows);
    g_app->rows = nullptr;
    g_app->rowCount = g_app->rowCapacity = 0;
    // The filter's text stays, for the same folder read again.
    free(g_app->shown);
    g_app->shown = nullptr;
    g_app->shownCount = g_app->shownCapacity = 0;
    g_app->filtered = FALSE;
    if (g_app->listView)
        SendMessageW(g_app->listView, LVM_DELETEALLITEMS, 0, 0);
}

static void SetStatusText(int part, const char* text)
{
    if (g_app->statusBar)
        SendMessageW(g_app->statusBar, SB_SETTEXTW, (WPARAM)part, (LPARAM)Widen(text).c_str());
}

void FormatItemCount(char* out, size_t cap, int shown, int all, bool filtered)
{
    FormatCounts(out, cap, filtered ? IDS_FILTER_COUNT : IDS_ITEM_COUNT,
                 filtered ? "%s / %s" : "%s", shown, all);
}

void ShowItemCount()
{
    if (g_app->historyView) {
        ShowHistoryCount();
        return;
    }
    char text[64];
    FormatItemCount(text, sizeof text, RowCount(), AllRowCount(), RowsFiltered());
    SetStatusText(2, text);
}

void FilterRows(const std::string& folded)
{
    s_filter = folded;
    CopyText(s_filterFolder, sizeof s_filterFolder, g_app->currentFolder);
    g_app->filtered = FALSE;
    g_app->shownCount = 0;
    if (folded.empty() || !Reserve(&g_app->shown, &g_app->shownCapacity, g_app->rowCount))
        return;
    try {
        for (int i = 0; i < g_app->rowCount; ++i)
            if (RecordMatches(g_app->rows[i], folded))
                g_app->shown[g_app->shownCount++] = g_app->rows[i];
        g_app->filtered = TRUE;
    } catch (const std::bad_alloc&) {
        // No memory to fold the texts: every row stays in sight.
        g_app->shownCount = 0;
    }
}

void ShowFilteredRows(ItemRecord* selected)
{
    // One repaint for the count, the selection and the scrolling together.
    SendMessageW(g_app->listView, WM_SETREDRAW, FALSE, 0);
    SetListCount(false);
    // The row the user was on stays chosen; when the filter hides it, the
    // first match is, so that Enter in the list takes it.
    int row = RowOfRecord(selected);
    if (row < 0 && g_app->filtered)
        row = RowCount() > 0 ? 0 : -1;
    if (row >= 0)
        SelectRow(row);
    SendMessageW(g_app->listView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_app->listView, NULL, TRUE);
    ShowItemCount();
    UpdateCommandStates();
}

void SetRowFilter(const std::string& folded)
{
    if (!g_app || !g_app->listView)
        return;
    ItemRecord* selected = GetSelectedRecord(nullptr, -1);
    ClearRowStates(-1);
    FilterRows(folded);
    ShowFilteredRows(selected);
}

void ReapplyRowFilter()
{
    if (s_filter.empty())
        return;
    // Another folder is shown: its rows are not what the filter was for.
    if (!EqualNoCase(s_filterFolder, g_app->currentFolder)) {
        s_filter.clear();
        if (g_app->searchBox)
            SetWindowTextW(g_app->searchBox, L"");
        return;
    }
    SetRowFilter(s_filter);
}

void RowMenuPoint(HWND list, int row, POINT* at)
{
    at->x = at->y = 0;
    RECT label;
    label.left = LVIR_LABEL;
    if (row >= 0) {
        SendMessageW(list, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
        if (SendMessageW(list, LVM_GETITEMRECT, (WPARAM)row, (LPARAM)&label)) {
            at->x = label.left;
            at->y = label.bottom;
        }
    }
    ClientToScreen(list, at);
}

void KeyboardMenuPoint(POINT* at)
{
    RowMenuPoint(g_app->listView, SelectedRow(), at);
}

void ShowFolderName()
{
    char history[64];
    const char* name = LastComponent(g_app->currentFolder);
    if (g_app->historyView && LoadText(IDS_HISTORY_TITLE, history, sizeof history) > 0)
        name = history;
    SetStatusText(0, name);
    // The task bar and Alt+Tab tell one library window from another by this.
    char title[kPathCap + 16];
    FormatText(title, sizeof title, "%s - %s", PRODUCT_NAME, name);
    if (g_hMainWnd)
        SetTextOf(g_hMainWnd, title);
}

void ShowStatusNote(int format, const char* name)
{
    char pattern[64], text[kPathCap + 64];
    if (LoadText((UINT)format, pattern, sizeof pattern) <= 0)
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
                      record->ext ? record->ext : "") &&
           PathFits(out);
}

BOOL AtRootFolder()
{
    return EqualNoCase(g_app->currentFolder, g_app->rootFolder);
}

static void SetButton(int command, bool enabled)
{
    SendMessageW(g_app->toolbar, TB_SETSTATE, (WPARAM)command,
                 MAKELPARAM(enabled ? TBSTATE_ENABLED : 0, 0));
}

SelectionState CurrentSelectionState()
{
    SelectionState state;
    state.selected = g_app->listView &&
                     SendMessageW(g_app->listView, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    int row = -1;
    ItemRecord* record = GetSelectedRecord(&row, -1);
    int n = RowCount();
    state.item = state.selected && record && record->kind != kKindGroup;
    // A filtered view has gaps: moving a row there would rearrange rows
    // the user cannot see.
    state.ordered = !RowsFiltered();
    state.up = state.ordered && state.selected && record && row > 0;
    state.down = state.ordered && state.selected && record && row < n - 1;
    state.parent = !AtRootFolder();
    // The history's entries are copied, saved and deleted, never moved.
    if (g_app->historyView) {
        state.item = state.selected;
        state.up = state.down = state.ordered = false;
        state.parent = true;
    }
    return state;
}

void UpdateCommandStates()
{
    if (!g_app->toolbar)
        return;
    SelectionState state = CurrentSelectionState();
    // What works on files is greyed in the history, as in its menus.
    bool files = !g_app->historyView;
    SetButton(CMD_PARENT, state.parent);
    SetButton(CMD_NEW_ITEM, files);
    SetButton(CMD_DELETE, state.selected);
    SetButton(CMD_DUPLICATE, files && state.selected);
    SetButton(CMD_COPY, state.item);
    SetButton(CMD_NOTIFY, files && state.item);
    SetButton(CMD_EDIT, files && state.item);
    SetButton(CMD_MOVE_UP, state.up);
    SetButton(CMD_MOVE_DOWN, state.down);
}
