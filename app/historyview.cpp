#include "historyview.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "../clip/copy.h"
#include "../clip/history.h"
#include "../clip/paste.h"
#include "../res/resource.h"
#include "../store/folderload.h"
#include "../store/itemtext.h"
#include "../store/order.h"
#include "../store/records.h"
#include "../store/searchtext.h"
#include "../store/sjis.h"
#include "../store/utf8.h"
#include "state.h"
#include "ui.h"
#include "wide.h"

// Only what a row shows of an entry is converted for it.
enum { kShownBytes = 1024, kInfoCap = 512 };

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

static void SelectHistoryRow(int row)
{
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(g_app->listView, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&state);
    if (row < 0 || row >= HistoryRowCount())
        return;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(g_app->listView, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&state);
    SendMessageW(g_app->listView, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
}

void HistoryLineText(const std::string& utf8, char* out, size_t cap)
{
    std::string head;
    size_t take = Utf8SafeLength(utf8.data(), utf8.size() < (size_t)kShownBytes ? utf8.size() : (size_t)kShownBytes);
    for (size_t i = 0; i < take; ++i)
        if (utf8[i] != '\r')
            head += utf8[i];
    LostChars lost;
    char* text = HistoryProgramText(head, &lost);
    MarkLineBreaks(text ? text : "", out, cap);
    free(text);
}

void HistoryRowLabel(int row, wchar_t* out, size_t cap)
{
    int index = HistoryIndexOfRow(row);
    char label[kShownBytes];
    if (index < 0 || cap == 0) {
        if (cap)
            out[0] = L'\0';
        return;
    }
    HistoryLineText(*History()->At((size_t)index), label, sizeof label);
    ToWideCut(label, out, cap);
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
    std::string line = text.substr(0, text.find_first_of("\r\n"));
    char shown[kInfoCap], count[16], pattern[64], info[kInfoCap + 64];
    HistoryLineText(line, shown, sizeof shown);
    FormatGrouped(count, sizeof count, chars);
    if (LoadText(IDS_HISTORY_ENTRY_INFO, pattern, sizeof pattern) <= 0 ||
        !FormatText(info, sizeof info, pattern, shown, count))
        CopyText(info, sizeof info, shown);
    SendMessageW(g_app->statusBar, SB_SETTEXTW, 0, (LPARAM)Widen(info).c_str());
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
        LostChars lost;
        char* program = HistoryProgramText(text, &lost);
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

// 「ライブラリに保存」: an item of the entry in the folder shown before, made
// as a paste makes one, its row then renamed in place.
static void SaveHistoryRow(HWND hwnd)
{
    int index = HistoryIndexOfRow(HistorySelectedRow());
    if (index < 0)
        return;
    HistoryText entry = History()->At((size_t)index);
    LostChars lost;
    char* text = HistoryProgramText(*entry, &lost);
    if (!text) {
        ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    if (AcceptLostChars(hwnd, &lost)) {
        LeaveHistoryView();
        MakeItemFromText(hwnd, text, FALSE, -1);
    }
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
        SaveHistoryRow(hwnd);
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
