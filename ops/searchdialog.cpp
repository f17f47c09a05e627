#include "searchdialog.h"

#include <cstdlib>
#include <new>

#include "../app/searchbox.h"
#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../clip/copy.h"
#include "../clip/droptarget.h"
#include "../clip/entrymenu.h"
#include "../res/resource.h"
#include "../store/folderload.h"
#include "../store/itemfile.h"
#include "../store/itemname.h"
#include "../store/librarysearch.h"
#include "../store/order.h"
#include "../store/paths.h"
#include "../store/pathtext.h"
#include "../store/records.h"
#include "../store/searchtext.h"

DWORD g_searchQuietMs = 100;

namespace {

const DWORD kLookEveryMs = 100;
enum { kNameColumnWidth = 200, kMinWidth = 360, kMinHeight = 200 };

struct SearchDialogState {
    LibrarySearch* search;
    bool running;
    BOOL stop;
    bool closeAfter;     // closed while the search ran
    int open;            // the hit whose folder is shown afterwards, or -1
    bool openInside;     // a group hit: its own rows, not its folder's
    char text[kRowNameCap];   // a cell, while the list paints it
    wchar_t shown[kRowNameCap];   // the same as the list takes it
};
SearchDialogState* g_search;
WNDPROC s_listProc;

void OnCommand(HWND dialog, int id);

HWND List(HWND dialog)
{
    return GetDlgItem(dialog, IDC_SEARCH_LIST);
}

const SearchHit* HitAt(int index)
{
    LibrarySearch* search = g_search->search;
    return index >= 0 && index < (int)search->hits.size() ? &search->hits[index] : nullptr;
}

int SelectedHit(HWND dialog)
{
    return (int)SendMessageW(List(dialog), LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

void SetStatus(HWND dialog, int id, int first, int second, int skipped)
{
    char text[192], tail[64];
    if (!FormatCounts(text, sizeof text, id, nullptr, first, second))
        return;
    if (skipped > 0 && FormatCounts(tail, sizeof tail, IDS_SEARCH_SKIPPED, nullptr, skipped, 0))
        AppendText(text, sizeof text, tail);
    SetItemText(dialog, IDC_SEARCH_STATUS, text);
}

void ShowHitCount(HWND dialog)
{
    SendMessageW(List(dialog), LVM_SETITEMCOUNT, g_search->search->hits.size(),
                 LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void SetGoButton(HWND dialog, int id)
{
    char text[32];
    if (LoadText(id, text, sizeof text) > 0)
        SetItemText(dialog, IDC_SEARCH_GO, text);
}

void RunSearch(HWND dialog)
{
    char typed[kSearchTextCap];
    // The field counts UTF-16 units, the program's text bytes: a text that
    // does not fit is refused, never searched for cut.
    GetItemText(dialog, IDC_SEARCH_TEXT, typed, sizeof typed);
    std::string folded = FoldForSearch(typed);
    if (folded.empty()) {
        RefuseField(dialog, IDC_SEARCH_TEXT);
        return;
    }
    LibrarySearch* search = g_search->search;
    SendMessageW(List(dialog), LVM_SETITEMCOUNT, 0, 0);
    StartLibrarySearch(search, g_app->rootFolder, folded);
    g_search->running = true;
    g_search->stop = FALSE;
    SetGoButton(dialog, IDS_SEARCH_STOP);
    DWORD started = GetTickCount(), looked = started - kLookEveryMs;
    HCURSOR cursor = SetCursor(LoadCursorW(NULL, (LPCWSTR)IDC_APPSTARTING));
    while (!g_search->stop && SearchNextFolder(search)) {
        DWORD now = GetTickCount();
        if (now - started < g_searchQuietMs || now - looked < kLookEveryMs)
            continue;
        looked = now;
        ShowHitCount(dialog);
        SetStatus(dialog, IDS_SEARCHING, search->foldersRead, (int)search->hits.size(), 0);
        // Esc stops the search; the stop button and painting are answered
        // between two folders.
        ServeUntilStopped(dialog, &g_search->stop);
    }
    SetCursor(cursor);
    bool stopped = g_search->stop != FALSE;
    g_search->running = false;
    SetGoButton(dialog, IDS_SEARCH_GO);
    ShowHitCount(dialog);
    InvalidateRect(List(dialog), NULL, TRUE);
    SetStatus(dialog, stopped ? IDS_SEARCH_STOPPED : IDS_SEARCH_RESULTS,
              stopped ? search->foldersRead : (int)search->hits.size(),
              stopped ? (int)search->hits.size() : search->foldersRead, search->unreadable);
    // Found: the results take the keyboard, so Enter copies the first.
    if (!search->hits.empty()) {
        LVITEMW state = {};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(List(dialog), LVM_SETITEMSTATE, 0, (LPARAM)&state);
        if (!g_search->closeAfter)
            SendMessageW(dialog, WM_NEXTDLGCTL, (WPARAM)List(dialog), TRUE);
    }
    if (g_search->closeAfter)
        CloseDialog(dialog, IDCANCEL);
}

// Enter or a double-click: an item's value as in its own folder; a group
// opens.
void ActivateHit(HWND dialog, int index, bool atPointer)
{
    const SearchHit* hit = HitAt(index);
    if (!hit)
        return;
    if (hit->kind == kKindGroup) {
        g_search->stop = TRUE;
        g_search->open = index;
        g_search->openInside = true;
        CloseDialog(dialog, IDOK);
        return;
    }
    char path[kPathCap];
    if (!HitPath(*g_search->search, *hit, path)) {
        ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
        return;
    }
    if (!PathExists(path, false)) {
        ShowSystemError(ERROR_PATH_NOT_FOUND);
        return;
    }
    // The file as it is now: it may have changed since it was searched.
    Entry entries[kMaxEntries] = {};
    int count = ReadItemPath(path, entries);
    ItemRecord* record = count > 0 ? MakeRecord(path, TRUE, count, entries) : nullptr;
    FreeEntries(count, entries);
    if (!record) {
        // A file emptied since holds nothing to copy; a read that failed
        // has shown its box.
        if (count > 0)
            ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    POINT under = {0, 0};
    if (!atPointer)
        RowMenuPoint(List(dialog), index, &under);
    if (TakeRecordValue(dialog, record, path, 0, atPointer ? nullptr : &under)) {
        char note[kRowNameCap + 64], pattern[64];
        if (LoadText(IDS_COPIED, pattern, sizeof pattern) > 0 &&
            FormatText(note, sizeof note, pattern, record->name ? record->name : ""))
            SetItemText(dialog, IDC_SEARCH_STATUS, note);
    }
    FreeRecord(record);
}

// The chosen command comes back as WM_COMMAND, as from any menu.
void ShowHitMenu(HWND dialog, bool fromKeyboard)
{
    int index = SelectedHit(dialog);
    const SearchHit* hit = HitAt(index);
    HMENU menu = hit ? LoadMenuW(g_hInstance, MAKEINTRESOURCEW(IDM_SEARCHMENU)) : NULL;
    HMENU popup = menu ? GetSubMenu(menu, 0) : NULL;
    if (popup) {
        EnableMenuItem(popup, CMD_SEARCH_COPY,
                       MF_BYCOMMAND | (hit->kind == kKindGroup ? MF_GRAYED : MF_ENABLED));
        POINT at = {0, 0};
        if (fromKeyboard)
            RowMenuPoint(List(dialog), index, &at);
        else
            GetCursorPos(&at);
        TrackPopupMenu(popup, 0, at.x, at.y, 0, dialog, NULL);
    }
    if (menu)
        DestroyMenu(menu);
}

// The folder of the selected hit is shown after the dialog.
void OpenHitFolder(HWND dialog)
{
    int index = SelectedHit(dialog);
    if (!HitAt(index))
        return;
    g_search->stop = TRUE;
    g_search->open = index;
    g_search->openInside = false;
    CloseDialog(dialog, IDOK);
}

// The dialog is a Unicode window: its list asks in UTF-16.
void OnGetDispInfo(NMLVDISPINFOW* info)
{
    const SearchHit* hit = HitAt(info->item.iItem);
    if (!hit)
        return;
    if (info->item.mask & LVIF_IMAGE)
        info->item.iImage = hit->kind;
    if (!(info->item.mask & LVIF_TEXT))
        return;
    if (info->item.iSubItem == 0) {
        char ext[kNamePartCap];
        SplitItemName(hit->file.c_str(), hit->kind != kKindGroup, g_search->text, ext);
    } else {
        // The folder as a path from the root: "\" is the root itself.
        FormatText(g_search->text, sizeof g_search->text, "\\%s", hit->folder.c_str());
    }
    // Always fits: a character never takes more UTF-16 units than bytes.
    ToWide(g_search->text, g_search->shown, kRowNameCap);
    info->item.pszText = g_search->shown;
}

LRESULT OnListNotify(HWND dialog, NMHDR* header)
{
    switch (header->code) {
    case LVN_GETDISPINFOW:
        OnGetDispInfo((NMLVDISPINFOW*)header);
        break;
    case NM_DBLCLK:
        try {
            ActivateHit(dialog, SelectedHit(dialog), true);
        } catch (const std::bad_alloc&) {
            ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        }
        break;
    case NM_RCLICK:
        ShowHitMenu(dialog, false);
        break;
    case LVN_KEYDOWN:
        if (((NMLVKEYDOWN*)header)->wVKey == VK_APPS)
            ShowHitMenu(dialog, true);
        else if (((NMLVKEYDOWN*)header)->wVKey == VK_RETURN)
            OnCommand(dialog, CMD_SEARCH_COPY);
        break;
    }
    return 0;
}

// Enter in the results is the list's own key (a copy), not the dialog's
// default button (a new search).
LRESULT CALLBACK ResultsProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const MSG* key = (const MSG*)lParam;
    if (msg == WM_GETDLGCODE && key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
        return DLGC_WANTMESSAGE;
    return CallWindowProcW(s_listProc, list, msg, wParam, lParam);
}

void AddColumn(HWND list, int index, int textId, int width)
{
    // Only shown: straight from the resource, no program text between.
    wchar_t heading[64];
    if (LoadStringW(g_hInstance, textId, heading, 64) <= 0)
        heading[0] = L'\0';
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = width;
    column.pszText = heading;
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, (WPARAM)index, (LPARAM)&column);
}

void OnInitDialog(HWND dialog, const char* text)
{
    HWND list = List(dialog);
    s_listProc = (WNDPROC)SetWindowLongPtrW(list, GWLP_WNDPROC, (LONG_PTR)ResultsProc);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)g_app->imageList);
    AddColumn(list, 0, IDS_COLUMN, kNameColumnWidth);
    AddColumn(list, 1, IDS_COLUMN_FOLDER, kNameColumnWidth);
    SendDlgItemMessageW(dialog, IDC_SEARCH_TEXT, EM_LIMITTEXT, kSearchUnits - 1, 0);
    SetItemText(dialog, IDC_SEARCH_TEXT, text);
    PlaceWindow(dialog, GetParent(dialog), 0, 0);
    AnimateShow(dialog, TRUE);
    if (text[0])
        PostMessageW(dialog, WM_COMMAND, IDC_SEARCH_GO, 0);
}

// The list takes what the dialog's size leaves; the button keeps its place
// at the right, the status bar (progress and counts) the bottom.
void Layout(HWND dialog, int width, int height)
{
    HWND status = GetDlgItem(dialog, IDC_SEARCH_STATUS);
    SendMessageW(status, WM_SIZE, 0, 0);
    RECT box, go, list, bar, close;
    auto place = [&](int id, RECT* r) {
        GetWindowRect(GetDlgItem(dialog, id), r);
        MapWindowPoints(NULL, dialog, (POINT*)r, 2);
    };
    place(IDC_SEARCH_TEXT, &box);
    place(IDC_SEARCH_GO, &go);
    place(IDC_SEARCH_LIST, &list);
    place(IDC_SEARCH_STATUS, &bar);
    place(IDCANCEL, &close);
    int margin = list.left;
    int goWidth = go.right - go.left, closeWidth = close.right - close.left;
    int closeHeight = close.bottom - close.top;
    int goLeft = width - margin - goWidth;
    MoveWindow(GetDlgItem(dialog, IDC_SEARCH_GO), goLeft, go.top, goWidth, go.bottom - go.top, TRUE);
    MoveWindow(GetDlgItem(dialog, IDC_SEARCH_TEXT), box.left, box.top, goLeft - margin - box.left,
               box.bottom - box.top, TRUE);
    int closeTop = (height - (bar.bottom - bar.top)) - margin / 2 - closeHeight;
    MoveWindow(GetDlgItem(dialog, IDCANCEL), width - margin - closeWidth, closeTop, closeWidth,
               closeHeight, TRUE);
    MoveWindow(List(dialog), margin, list.top, width - 2 * margin, closeTop - margin / 2 - list.top,
               TRUE);
    // The two columns share the list's width: no sideways scrolling.
    RECT inside;
    GetClientRect(List(dialog), &inside);
    SendMessageW(List(dialog), LVM_SETCOLUMNWIDTH, 0, inside.right / 2);
    SendMessageW(List(dialog), LVM_SETCOLUMNWIDTH, 1, inside.right - inside.right / 2);
}

void RunCommand(HWND dialog, int id)
{
    switch (id) {
    case IDOK:
    case IDC_SEARCH_GO:
        if (g_search->running)
            g_search->stop = TRUE;
        else
            RunSearch(dialog);
        break;
    case CMD_SEARCH_COPY:
        ActivateHit(dialog, SelectedHit(dialog), false);
        break;
    case CMD_SEARCH_OPEN:
        OpenHitFolder(dialog);
        break;
    case IDCANCEL:
        if (g_search->running) {
            g_search->stop = TRUE;
            g_search->closeAfter = true;
            break;
        }
        CloseDialog(dialog, IDCANCEL);
        break;
    }
}

void OnCommand(HWND dialog, int id)
{
    try {
        RunCommand(dialog, id);
    } catch (const std::bad_alloc&) {
        // Out of memory mid-search: the results so far stay.
        g_search->running = false;
        g_search->search->pending.clear();
        SetGoButton(dialog, IDS_SEARCH_GO);
        ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
    }
}

INT_PTR CALLBACK SearchDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, (const char*)lParam);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        if (((NMHDR*)lParam)->idFrom == IDC_SEARCH_LIST)
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, OnListNotify(dialog, (NMHDR*)lParam));
        return TRUE;
    case WM_SIZE:
        Layout(dialog, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_GETMINMAXINFO:
        ((MINMAXINFO*)lParam)->ptMinTrackSize.x = kMinWidth;
        ((MINMAXINFO*)lParam)->ptMinTrackSize.y = kMinHeight;
        return TRUE;
    case WM_MEASUREITEM:
        return MeasureEntryMenuItem(dialog, (MEASUREITEMSTRUCT*)lParam);
    case WM_DRAWITEM:
        return DrawEntryMenuItem((DRAWITEMSTRUCT*)lParam);
    }
    return FALSE;
}

// The folder of the hit chosen is shown, its row selected; a group chosen
// with Enter is opened itself.
void OpenHit(const LibrarySearch& search, const SearchHit& hit, bool inside)
{
    char folder[kPathCap];
    if ((inside ? !HitPath(search, hit, folder) : !HitFolder(search, hit, folder))) {
        ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
        return;
    }
    if (!PathExists(folder, true)) {
        ShowSystemError(ERROR_PATH_NOT_FOUND);
        return;
    }
    SaveChangedOrder();
    // The row chosen must not be hidden by the filter of the folder shown.
    SetTextOf(g_app->searchBox, "");
    CopyText(g_app->currentFolder, kPathCap, folder);
    LoadFolder();
    for (int row = 0, n = inside ? 0 : RowCount(); row < n; ++row) {
        const ItemRecord* record = GetRowRecord(row);
        char path[kPathCap];
        if (record && RowPath(record, path) && EqualNoCase(LastComponent(path), hit.file.c_str())) {
            SelectRow(row);
            break;
        }
    }
    UpdateCommandStates();
    SetFocus(g_app->listView);
}

}  // namespace

void SearchLibrary(HWND mainWindow, const char* text)
{
    g_search = (SearchDialogState*)calloc(1, sizeof *g_search);
    LibrarySearch* search = g_search ? new (std::nothrow) LibrarySearch() : nullptr;
    if (!search) {
        free(g_search);
        g_search = nullptr;
        ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    g_search->search = search;
    g_search->open = -1;
    SuspendMainDropTarget();
    INT_PTR result = DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(IDD_SEARCH), mainWindow,
                                     SearchDialogProc, (LPARAM)(text ? text : ""));
    if (result == IDOK && g_search->open >= 0 && g_search->open < (int)search->hits.size())
        OpenHit(*search, search->hits[g_search->open], g_search->openInside);
    delete search;
    free(g_search);
    g_search = nullptr;
    ResumeMainDropTarget();
}
