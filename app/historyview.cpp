#include "historyview.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>
#include <vector>

#include "../clip/copy.h"
#include "../clip/history.h"
#include "../clip/paste.h"
#include "../res/resource.h"
#include "../store/folderload.h"
#include "../store/itemtext.h"
#include "../store/order.h"
#include "../store/pathtext.h"
#include "../store/records.h"
#include "../store/searchtext.h"
#include "../store/chars.h"
#include "../store/utf8.h"
#include "state.h"
#include "ui.h"
#include "wide.h"

// Only what a row shows of an entry is converted for it.
enum { kShownBytes = 1024 };

// The rows: every entry, or (filtered) the indices of those that match.
static std::vector<int> s_rows;
static bool s_filtered;
static std::string s_filter;

int HistoryRowCount()
{
    HistoryList* list = History();
    if (!g_app->historyView || !list)
        return 0;
    return s_filtered ? (int)s_rows.size() : (int)list->Count();
}

int HistoryIndexOfRow(int row)
{
    if (row < 0 || row >= HistoryRowCount())
        return -1;
    return s_filtered ? s_rows[row] : row;
}

int HistorySelectedRow()
{
    return (int)SendMessageW(g_app->listView, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

static void SetRowState(int row, UINT state)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    SendMessageW(g_app->listView, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

// Only the rows that hold a state lose it: clearing every row of a long
// list costs the list view a pass over all of them.
static void SelectHistoryRow(int row)
{
    for (UINT flag : {LVNI_FOCUSED, LVNI_SELECTED}) {
        int held = (int)SendMessageW(g_app->listView, LVM_GETNEXTITEM, (WPARAM)-1, flag);
        if (held >= 0 && held != row)
            SetRowState(held, 0);
    }
    if (row < 0 || row >= HistoryRowCount())
        return;
    SetRowState(row, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(g_app->listView, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
}

void HistoryLineText(const std::string& utf8, char* out, size_t cap)
{
    std::string head;
    size_t take = Utf8SafeLength(utf8.data(), utf8.size() < (size_t)kShownBytes ? utf8.size() : (size_t)kShownBytes);
    for (size_t i = 0; i < take; ++i)
        if (utf8[i] != '\r')
            head += utf8[i];
    char* text = HistoryProgramText(head);
    MarkLineBreaks(text ? text : "", out, cap);
    free(text);
}

// What is only shown goes from the history's UTF-8 to UTF-16 directly, so
// it shows every character the entry holds, whatever the program's form.
static std::wstring ShownLine(const std::string& utf8)
{
    size_t take = Utf8SafeLength(utf8.data(), utf8.size() < (size_t)kShownBytes ? utf8.size()
                                                                                 : (size_t)kShownBytes);
    std::wstring wide = Utf8ToWide(utf8.data(), take), mark = Widen(kBreakMark), line;
    for (wchar_t unit : wide)
        if (unit == L'\n')
            line += mark;
        else if (unit != L'\r')
            line += unit;
    return line;
}

void HistoryRowLabel(int row, wchar_t* out, size_t cap)
{
    int index = HistoryIndexOfRow(row);
    if (cap == 0)
        return;
    out[0] = L'\0';
    if (index < 0)
        return;
    std::wstring line = ShownLine(*History()->At((size_t)index));
    size_t units = line.size() < cap ? line.size() : cap - 1;
    // A surrogate pair is never cut in half.
    if (units > 0 && units < line.size() && IS_HIGH_SURROGATE(line[units - 1]))
        --units;
    wmemcpy(out, line.data(), units);
    out[units] = L'\0';
}

void ShowHistoryCount()
{
    char text[64];
    HistoryList* list = History();
    int all = list ? (int)list->Count() : 0;
    FormatItemCount(text, sizeof text, HistoryRowCount(), all, s_filtered);
    if (g_app->statusBar)
        SendMessageW(g_app->statusBar, SB_SETTEXTW, 2, (LPARAM)Widen(text).c_str());
}

void ShowHistoryEntryInfo(int row)
{
    int index = HistoryIndexOfRow(row);
    if (index < 0 || !g_app->statusBar)
        return;
    const std::string& text = *History()->At((size_t)index);
    // Its size in characters: every byte that starts a UTF-8 sequence.
    int chars = 0;
    for (unsigned char c : text)
        chars += (c & 0xC0) != 0x80;
    std::wstring line = ShownLine(text.substr(0, text.find_first_of("\r\n")));
    char count[16];
    FormatGrouped(count, sizeof count, chars);
    // "%s（%s 文字）" filled in UTF-16: the line keeps every character.
    std::wstring info = Widen(LoadTextString(IDS_HISTORY_ENTRY_INFO).c_str());
    size_t at = info.find(L"%s");
    if (at == std::wstring::npos)
        info = line;
    else
        info.replace(at, 2, line);
    at = info.find(L"%s", at == std::wstring::npos ? 0 : at + line.size());
    if (at != std::wstring::npos)
        info.replace(at, 2, Widen(count));
    SendMessageW(g_app->statusBar, SB_SETTEXTW, 0, (LPARAM)info.c_str());
}

static void ShowRows(int selected)
{
    SendMessageW(g_app->listView, LVM_SETITEMCOUNT, (WPARAM)HistoryRowCount(), LVSICF_NOSCROLL);
    int count = HistoryRowCount();
    SelectHistoryRow(selected >= count ? count - 1 : selected);
    InvalidateRect(g_app->listView, NULL, TRUE);
    ShowHistoryCount();
    UpdateCommandStates();
}

// The folded form of each entry is made when it is first searched and
// kept beside it: a keystroke then costs one pass over the folded texts.
static bool Matches(HistoryList* list, size_t index, const std::string& folded)
{
    std::string& kept = list->FoldedAt(index);
    if (kept.empty()) {
        const std::string& text = *list->At(index);
        char* program = HistoryProgramText(text);
        if (!program)
            throw std::bad_alloc();
        kept = FoldForSearch(program);
        free(program);
        if (kept.empty())
            kept = "\n";   // made, and matching nothing typed
    }
    return FindInText(kept.data(), kept.size(), folded.data(), folded.size()) >= 0;
}

static void MakeRows()
{
    HistoryList* list = History();
    s_rows.clear();
    s_filtered = false;
    if (s_filter.empty() || !list)
        return;
    try {
        for (size_t i = 0; i < list->Count(); ++i)
            if (Matches(list, i, s_filter))
                s_rows.push_back((int)i);
        s_filtered = true;
    } catch (const std::bad_alloc&) {
        // No memory to fold the texts: every entry stays in sight.
        s_rows.clear();
    }
}

void FilterHistoryView(const std::string& folded)
{
    s_filter = folded;
    MakeRows();
    ShowRows(HistoryRowCount() > 0 ? 0 : -1);
}

void RefreshHistoryView()
{
    if (!g_app || !g_app->historyView)
        return;
    int selected = HistorySelectedRow();
    MakeRows();
    ShowRows(selected < 0 ? 0 : selected);
}

void ShowHistoryView()
{
    if (g_app->historyView || !History())
        return;
    SaveChangedOrder();
    // The filter was the folder's: emptied before the rows change.
    if (g_app->searchBox)
        SetWindowTextW(g_app->searchBox, L"");
    ClearItemRows();
    g_app->historyView = TRUE;
    s_filter.clear();
    MakeRows();
    ShowFolderName();
    ShowRows(0);
}

void LeaveHistoryView()
{
    if (!g_app->historyView)
        return;
    g_app->historyView = FALSE;
    s_filter.clear();
    s_rows.clear();
    s_filtered = false;
    if (g_app->searchBox)
        SetWindowTextW(g_app->searchBox, L"");
    LoadFolder();
    ShowFolderName();
}

void CopyHistoryRow()
{
    int index = HistoryIndexOfRow(HistorySelectedRow());
    if (index < 0)
        return;
    HistoryText text = History()->At((size_t)index);
    char line[kPathCap];
    if (SetClipboardUnicode(g_hMainWnd, Utf8ToWide(text->data(), text->size()))) {
        HistoryLineText(text->substr(0, text->find_first_of("\r\n")), line, sizeof line);
        ShowStatusNote(IDS_COPIED, line);
    }
}

static void DeleteHistoryRow()
{
    int row = HistorySelectedRow();
    int index = HistoryIndexOfRow(row);
    if (index < 0)
        return;
    History()->RemoveAt((size_t)index);
    NoteHistoryChanged();
}

// 「ライブラリに保存」: an item of the entry in the folder shown before, or
// in one of the library chosen, made as a paste makes one, its row then
// renamed in place.
static void SaveHistoryRow(HWND hwnd, bool choose)
{
    int index = HistoryIndexOfRow(HistorySelectedRow());
    if (index < 0)
        return;
    char folder[kPathCap];
    if (choose) {
        if (!BrowseForFolder(hwnd, g_app->currentFolder, folder, IDS_SAVE_TO_CAPTION))
            return;
        // The window shows the library's folders only.
        if (!PathIsWithin(folder, g_app->rootFolder)) {
            ShowPathError(IDS_SAVE_OUTSIDE_LIBRARY, g_app->rootFolder, 0);
            return;
        }
        CopyText(g_app->currentFolder, kPathCap, folder);
    }
    HistoryText entry = History()->At((size_t)index);
    char* text = HistoryProgramText(*entry);
    if (!text) {
        ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    LeaveHistoryView();
    MakeItemFromText(hwnd, text, FALSE, -1);
    free(text);
}

bool HistoryViewCommand(HWND hwnd, int id)
{
    switch (id) {
    case CMD_COPY:
        CopyHistoryRow();
        return true;
    case CMD_DELETE:
        DeleteHistoryRow();
        return true;
    case CMD_HISTORY_SAVE:
    case CMD_HISTORY_SAVE_TO:
        SaveHistoryRow(hwnd, id == CMD_HISTORY_SAVE_TO);
        return true;
    case CMD_PARENT:
    case CMD_HISTORY:
        LeaveHistoryView();
        return true;
    case CMD_REFRESH:
        RefreshHistoryView();
        return true;
    case CMD_FOLDER:
        LeaveHistoryView();
        return false;   // the folder dialog follows
    // These work on a folder's rows; the history has none.
    case CMD_NEW_ITEM:
    case CMD_NEW_GROUP:
    case CMD_EDIT:
    case CMD_RENAME:
    case CMD_ATTRIBUTES:
    case CMD_DUPLICATE:
    case CMD_MOVE_UP:
    case CMD_MOVE_DOWN:
    case CMD_MOVE_TO:
    case CMD_NOTIFY:
    case CMD_PASTE:
    case CMD_SAVE_ORDER:
    case CMD_EDITOR:
        return true;
    }
    return false;
}
