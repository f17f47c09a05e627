#include "editdialog.h"

#include <commctrl.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "../store/itemfile.h"
#include "../store/itemlines.h"
#include "../store/itemname.h"
#include "../store/itemtext.h"
#include "../store/pathtext.h"
#include "../store/paths.h"
#include "../store/chars.h"
#include "../web/pagetitle.h"
#include "../web/titletext.h"
#include "copy.h"
#include "droptarget.h"
#include "paste.h"

EditDialogState* g_edit;

enum { kStringCap = 260 };

static int RowTotal()
{
    return (int)SendMessageW(g_edit->list, LVM_GETITEMCOUNT, 0, 0);
}

static int SelectedEntryRow()
{
    return (int)SendMessageW(g_edit->list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

// A row's value as stored; the cell shows it with its line breaks marked.
static const char* RowValue(int row)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageW(g_edit->list, LVM_GETITEMW, 0, (LPARAM)&item))
        return nullptr;
    return (const char*)item.lParam;
}

void GetEntryCell(int row, int column, char* out, int cap)
{
    out[0] = '\0';
    if (column == 1) {
        CopyText(out, (size_t)cap, RowValue(row));
        return;
    }
    // A key fits in as many units as it has bytes; one that came back
    // longer is refused rather than cut into another key.
    std::vector<wchar_t> wide((size_t)cap);
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = wide.data();
    item.cchTextMax = cap;
    int units = (int)SendMessageW(g_edit->list, LVM_GETITEMTEXTW, (WPARAM)row, (LPARAM)&item);
    FromWide(wide.data(), units > 0 ? units : 0, out, (size_t)cap);
}

void SetEntryCell(int row, int column, const char* text)
{
    char shown[kLineCap];
    if (column == 1) {
        char* value = CopyString(text);
        if (!value) {
            ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
            return;
        }
        char* old = (char*)RowValue(row);
        LVITEMW held = {};
        held.mask = LVIF_PARAM;
        held.iItem = row;
        held.lParam = (LPARAM)value;
        SendMessageW(g_edit->list, LVM_SETITEMW, 0, (LPARAM)&held);
        free(old);
        MarkLineBreaks(text, shown, sizeof shown);
        text = shown;
    }
    std::wstring wide = Widen(text);
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = &wide[0];
    SendMessageW(g_edit->list, LVM_SETITEMTEXTW, (WPARAM)row, (LPARAM)&item);
}

static void SetRowState(int row, UINT state)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    SendMessageW(g_edit->list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

void RefreshEditButtons(HWND dialog)
{
    int count = RowTotal();
    int row = SelectedEntryRow();
    EnableWindow(GetDlgItem(dialog, IDOK), count > 0);
    EnableWindow(GetDlgItem(dialog, IDC_EDIT_MODIFY), row >= 0);
    EnableWindow(GetDlgItem(dialog, IDC_EDIT_DELETE), row >= 0);
    EnableWindow(GetDlgItem(dialog, IDC_EDIT_UP), row > 0);
    EnableWindow(GetDlgItem(dialog, IDC_EDIT_DOWN), row >= 0 && row < count - 1);
    // The shortcut's own row keeps its key: renamed after the page, the
    // file would no longer open as an Internet Shortcut.
    char key[kTextCap] = "";
    if (row >= 0)
        GetEntryCell(row, 0, key, sizeof key);
    EnableWindow(GetDlgItem(dialog, IDC_EDIT_TITLE),
                 row >= 0 && IsDlgButtonChecked(dialog, IDC_EDIT_URL) == BST_CHECKED &&
                     !EqualNoCase(key, "InternetShortcut"));
    // An item holds kMaxEntries entries: no row beyond them can be saved.
    EnableWindow(GetDlgItem(dialog, IDC_EDIT_NEW), count < kMaxEntries);
    char text[16];
    FormatText(text, sizeof text, "%d", count);
    SetItemText(dialog, IDC_EDIT_COUNT, text);
}

BOOL InsertEntryRow(int position)
{
    if (position < 0)
        position = RowTotal();
    std::wstring key = Widen(g_edit->key);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = position;
    item.pszText = &key[0];
    int row = (int)SendMessageW(g_edit->list, LVM_INSERTITEMW, 0, (LPARAM)&item);
    if (row < 0)
        return FALSE;
    SetEntryCell(row, 1, g_edit->value);
    SetRowState(row, LVIS_SELECTED);
    SendMessageW(g_edit->list, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
    return TRUE;
}

int ReadEntryRows(Entry* entries)
{
    int count = RowTotal();
    if (count > kMaxEntries)
        count = kMaxEntries;
    char text[kEntryTextCap];
    for (int i = 0; i < count; ++i) {
        GetEntryCell(i, 0, text, sizeof text);
        entries[i].key = CopyString(text);
        GetEntryCell(i, 1, text, sizeof text);
        entries[i].value = CopyString(text);
        if (!entries[i].key || !entries[i].value) {
            FreeEntries(i + 1, entries);
            ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
    }
    return count;
}

static int ShowFormatted(int stringId, int first, int second)
{
    char format[kStringCap] = "";
    char message[kStringCap];
    LoadText((UINT)stringId, format, sizeof format);
    if (!FormatText(message, sizeof message, format, first, second))
        CopyText(message, sizeof message, format);
    return ShowErrorBox(0, message);
}

int ReportEntryTooLong()
{
    return ShowFormatted(IDS_TOO_LONG, kMaxReadKey, kMaxReadValue);
}

// The form the item file is in now; a new one begins in code page 932.
static int EditFileForm()
{
    const char* text = nullptr;
    size_t size = 0;
    return g_edit->snapshot.bytes ? SnapshotForm(&g_edit->snapshot, &text, &size) : kFormCp932;
}

BOOL CheckEntryText(const char* key, const char* value, int* field)
{
    // The limits are those of the bytes as the file will store them.
    int form = StoredFormFor(key, value, EditFileForm());
    bool keyLong = StoredLength(key, form) > kMaxReadKey;
    *field = keyLong ? IDC_ENTRY_KEY : IDC_ENTRY_VALUE;
    if (keyLong || StoredLength(value, form) > kMaxReadValue)
        return ReportEntryTooLong();
    // A key the reader takes for a comment or a section is lost on the
    // next read, and with it its value: name the key, whatever the value.
    *field = StoredEntryReadsBack(key, "x", false, form) ? IDC_ENTRY_VALUE : IDC_ENTRY_KEY;
    if (!StoredEntryReadsBack(key, value, false, form) ||
        !StoredEntryReadsBack(key, value, true, form))
        return ShowErrorBox(IDS_CANNOT_STORE, NULL);
    return TRUE;
}

// Every row must read back from the file; the first that would not is
// selected and reported.
static BOOL RowsReadBack(HWND dialog, int count, const Entry* entries, bool shortcut)
{
    for (int i = 0; i < count; ++i)
        if (!StoredEntryReadsBack(entries[i].key, entries[i].value, shortcut, EditFileForm())) {
            SetRowState(i, LVIS_SELECTED | LVIS_FOCUSED);
            RefreshEditButtons(dialog);
            return ShowErrorBox(IDS_CANNOT_STORE, NULL);
        }
    return TRUE;
}

static BOOL SameAsRead(int count, const Entry* rows)
{
    if (count != g_edit->entryCount)
        return FALSE;
    for (int i = 0; i < count; ++i)
        if (strcmp(rows[i].key, g_edit->entries[i].key) || strcmp(rows[i].value, g_edit->entries[i].value))
            return FALSE;
    return TRUE;
}

// Only what the rows changed is written, over the file as it was read; a
// file changed on disk since then is overwritten only when the user says.
static BOOL RewriteEditedItem(HWND dialog, const char* path, int count, const Entry* rows)
{
    if (SameAsRead(count, rows))
        return TRUE;
    if (ItemChangedSince(path, &g_edit->snapshot) &&
        AskYesNo(dialog, IDS_CHANGED_ON_DISK, MB_ICONWARNING, NULL, NULL) != IDYES)
        return FALSE;
    BOOL written;
    int badRow;
    if (RewriteItemFile(path, &g_edit->snapshot, count, rows, &written, &badRow))
        return TRUE;
    if (badRow >= 0) {
        SetRowState(badRow, LVIS_SELECTED | LVIS_FOCUSED);
        RefreshEditButtons(dialog);
    }
    return FALSE;
}

static BOOL SaveItem(HWND dialog)
{
    // The box counts characters: a name of double-byte ones may not fit
    // the path's bytes, and is refused as the path would be.
    if (!GetItemText(dialog, IDC_EDIT_NAME, g_edit->name, sizeof g_edit->name)) {
        ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
        return RefuseField(dialog, IDC_EDIT_NAME);
    }
    if (!g_edit->name[0])
        return RefuseField(dialog, IDC_EDIT_NAME);
    if (RowTotal() > kMaxEntries)
        return ShowFormatted(IDS_TOO_MANY, kMaxEntries, 0);

    char path[kPathCap];
    BOOL isNew = g_edit->mode == 0;
    if (isNew) {
        // The name goes to the file system: a "\" would put the item in
        // another folder, a ":" into a stream of another file.
        if (HasInvalidNameChar(g_edit->name)) {
            ShowErrorBox(IDS_BAD_NAME, NULL);
            return RefuseField(dialog, IDC_EDIT_NAME);
        }
        const char* ext = IsDlgButtonChecked(dialog, IDC_EDIT_URL) == BST_CHECKED ? ".url" : ".txt";
        if (!FormatText(path, sizeof path, "%s\\%s%s", g_app->currentFolder, g_edit->name, ext) ||
            !PathFits(path)) {
            ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
            return RefuseField(dialog, IDC_EDIT_NAME);
        }
        if (PathExists(path, false) || PathExists(path, true))
            return ShowErrorBox(IDS_EXISTS, NULL);
    } else if (!RowPath(g_edit->item, path)) {
        return ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
    }

    Entry rows[kMaxEntries] = {};
    int count = ReadEntryRows(rows);
    if (count <= 0)
        return FALSE;
    BOOL saved;
    if (isNew) {
        saved = RowsReadBack(dialog, count, rows, IsShortcutName(path)) &&
                WriteItemFile(path, count, rows) && AddItemRow(path, TRUE, count, rows, -1);
    } else if ((saved = RewriteEditedItem(dialog, path, count, rows))) {
        // The rows' copies become the record's own.
        SetRecordEntries(g_edit->item, count, rows);
        count = 0;
    }
    FreeEntries(count, rows);
    return saved;
}

static void DeleteEntryRow(HWND dialog)
{
    int row = SelectedEntryRow();
    if (row < 0)
        return;
    if (AskYesNo(dialog, IDS_ASK_DELETE_SEL, MB_ICONWARNING, NULL, NULL) != IDYES)
        return;
    SendMessageW(g_edit->list, LVM_DELETEITEM, (WPARAM)row, 0);
    RefreshEditButtons(dialog);
}

static void MoveEntryRow(HWND dialog, int step)
{
    int row = SelectedEntryRow();
    int target = row + step;
    if (row < 0 || target < 0 || target >= RowTotal())
        return;
    char* texts[2][2];
    char cell[kEntryTextCap];
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c) {
            GetEntryCell(r ? target : row, c, cell, sizeof cell);
            texts[r][c] = CopyString(cell);
        }
    bool copied = texts[0][0] && texts[0][1] && texts[1][0] && texts[1][1];
    if (copied)
        for (int c = 0; c < 2; ++c) {
            SetEntryCell(row, c, texts[1][c]);
            SetEntryCell(target, c, texts[0][c]);
        }
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            free(texts[r][c]);
    if (!copied) {
        ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    SetRowState(target, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(g_edit->list, LVM_UPDATE, (WPARAM)target, 0);
    RefreshEditButtons(dialog);
}

static void ReplaceKeyByTitle(HWND dialog)
{
    int row = SelectedEntryRow();
    if (row < 0)
        return;
    GetEntryCell(row, 0, g_edit->key, sizeof g_edit->key);
    GetEntryCell(row, 1, g_edit->value, sizeof g_edit->value);
    char title[kEntryTextCap];
    HCURSOR old = SetCursor(LoadCursorW(NULL, (LPCWSTR)IDC_WAIT));
    BOOL found = FetchPageTitle(g_edit->value, title, sizeof title, TRUE);
    SetCursor(old);
    if (!found)
        return;
    CutToStored(title, kMaxReadKey, StoredFormFor(title, "", EditFileForm()));
    if (AskYesNo(dialog, IDS_ASK_TITLE, MB_ICONQUESTION, title, NULL) != IDYES)
        return;
    SetEntryCell(row, 0, title);
    RefreshEditButtons(dialog);
}

// The text dropped on the dialog as a row before the row under point.
static BOOL DropEntry(HWND dialog, WPARAM wParam, const char* text)
{
    if (!text || !text[0])
        return FALSE;
    if (RowTotal() >= kMaxEntries) {
        MessageBeep(MB_ICONEXCLAMATION);
        return FALSE;
    }
    g_edit->key[0] = '\0';
    if (IsUrl(text))
        NameForUrl(text, g_edit->key, sizeof g_edit->key);
    else
        LeadingNameRun(text, g_edit->key, sizeof g_edit->key);
    int form = StoredFormFor(text, "", EditFileForm());
    if (!g_edit->key[0])
        CopyFirstLine(text, g_edit->key, sizeof g_edit->key);
    CutToStored(g_edit->key, kMaxReadKey, form);
    if (!g_edit->key[0])
        return FALSE;
    bool cut = TextToValue(text, g_edit->value, form);
    // A row the file could not hold is not taken: the source keeps its text.
    if (!g_edit->value[0] || !StoredEntryReadsBack(g_edit->key, g_edit->value, false, form)) {
        MessageBeep(MB_ICONEXCLAMATION);
        return FALSE;
    }
    POINT p = {(short)LOWORD(wParam), (short)HIWORD(wParam)};
    ScreenToClient(g_edit->list, &p);
    LVHITTESTINFO hit = {};
    hit.pt = p;
    int row = (int)SendMessageW(g_edit->list, LVM_HITTEST, 0, (LPARAM)&hit);
    BOOL inserted = InsertEntryRow(row);
    RefreshEditButtons(dialog);
    if (inserted && cut)
        ReportTextCut(StoredLength(g_edit->value, form));
    return inserted;
}

// Lines of the file that no row shows are named above the list, which
// gives up room for the note.
static void ShowHiddenLines(HWND dialog)
{
    const char* bytes = nullptr;
    size_t size = 0;
    int form = SnapshotForm(&g_edit->snapshot, &bytes, &size);
    int hidden = CountHiddenLines(bytes, size, form);
    if (hidden <= 0)
        return;
    char format[kStringCap] = "";
    char text[kStringCap];
    LoadText(IDS_HIDDEN_LINES, format, sizeof format);
    if (!FormatText(text, sizeof text, format, hidden))
        CopyText(text, sizeof text, format);
    HWND note = GetDlgItem(dialog, IDC_EDIT_HIDDEN);
    SetTextOf(note, text);
    RECT noteRect, listRect;
    GetWindowRect(note, &noteRect);
    GetWindowRect(g_edit->list, &listRect);
    MapWindowPoints(NULL, dialog, (POINT*)&noteRect, 2);
    MapWindowPoints(NULL, dialog, (POINT*)&listRect, 2);
    SetWindowPos(g_edit->list, NULL, listRect.left, noteRect.bottom, listRect.right - listRect.left,
                 listRect.bottom - noteRect.bottom, SWP_NOZORDER);
    ShowWindow(note, SW_SHOW);
}

static BOOL InitEditDialog(HWND dialog)
{
    SetTextOf(dialog, LoadTextString(g_edit->mode ? IDS_EDIT : IDS_NEW).c_str());
    g_edit->list = GetDlgItem(dialog, IDC_EDIT_LIST);
    if (!g_edit->list)
        return FALSE;
    SendMessageW(g_edit->list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    RECT rc;
    GetClientRect(g_edit->list, &rc);
    for (int column = 0; column < 2; ++column) {
        std::wstring text = Widen(LoadTextString(column ? IDS_VALUE : IDS_KEY).c_str());
        LVCOLUMNW col = {};
        col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
        col.fmt = LVCFMT_LEFT;
        col.pszText = &text[0];
        col.cx = column ? (2 * rc.right) / 3 - 10 : rc.right / 3;
        if (SendMessageW(g_edit->list, LVM_INSERTCOLUMNW, column, (LPARAM)&col) < 0)
            return FALSE;
    }
    SendDlgItemMessageW(dialog, IDC_EDIT_NAME, EM_LIMITTEXT, kPathCap - 1, 0);
    if (g_edit->mode) {
        ItemRecord* item = g_edit->item;
        SetItemText(dialog, IDC_EDIT_NAME, item->name);
        EnableWindow(GetDlgItem(dialog, IDC_EDIT_NAME), FALSE);
        CheckDlgButton(dialog, IDC_EDIT_URL,
                       item->ext && EqualNoCase(item->ext, ".url") ? BST_CHECKED : BST_UNCHECKED);
        EnableWindow(GetDlgItem(dialog, IDC_EDIT_URL), FALSE);
        for (int i = 0; i < g_edit->entryCount; ++i) {
            CopyText(g_edit->key, sizeof g_edit->key, g_edit->entries[i].key);
            CopyText(g_edit->value, sizeof g_edit->value, g_edit->entries[i].value);
            if (!InsertEntryRow(-1))
                return FALSE;
        }
        // The user picks the row to work on.
        SetRowState(-1, 0);
        ShowHiddenLines(dialog);
    }
    g_edit->dropTarget = RegisterDropTarget(dialog, WM_DROPTEXT);
    RefreshEditButtons(dialog);
    PlaceWindow(dialog, g_hMainWnd, 0, 0);
    AnimateShow(dialog, TRUE);
    return TRUE;
}

static void OnEditCommand(HWND dialog, int id)
{
    switch (id) {
    case IDOK:
        if (SaveItem(dialog)) {
            CloseDialog(dialog, TRUE);
        }
        break;
    case IDCANCEL:
        CloseDialog(dialog, FALSE);
        break;
    case IDHELP:
        ShowHelp(1, IDH_EDIT);
        break;
    case IDC_EDIT_NEW:
    case IDC_EDIT_MODIFY:
        EditEntry(dialog, id == IDC_EDIT_NEW);
        break;
    case IDC_EDIT_DELETE:
        DeleteEntryRow(dialog);
        break;
    case IDC_EDIT_UP:
    case IDC_EDIT_DOWN:
        MoveEntryRow(dialog, id == IDC_EDIT_UP ? -1 : 1);
        break;
    case IDC_EDIT_TITLE:
        ReplaceKeyByTitle(dialog);
        break;
    }
}

static INT_PTR CALLBACK EditDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        return InitEditDialog(dialog);
    case WM_COMMAND:
        OnEditCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* hdr = (const NMHDR*)lParam;
        if (hdr->idFrom != IDC_EDIT_LIST)
            return FALSE;
        // The buttons follow the selection once it has moved, however it moved.
        if (hdr->code == NM_CLICK ||
            (hdr->code == LVN_ITEMCHANGED && (((const NMLISTVIEW*)hdr)->uChanged & LVIF_STATE)))
            RefreshEditButtons(dialog);
        else if (hdr->code == LVN_DELETEITEM)
            free((char*)((const NMLISTVIEW*)hdr)->lParam);
        else if (hdr->code == NM_DBLCLK)
            PostMessageW(dialog, WM_COMMAND, IDC_EDIT_MODIFY, 0);
        return FALSE;
    }
    case WM_DROPTEXT:
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, DropEntry(dialog, wParam, (const char*)lParam));
        return TRUE;
    case WM_DESTROY:
        RevokeDropTarget(dialog, g_edit->dropTarget);
        g_edit->dropTarget = nullptr;
        return FALSE;
    }
    return FALSE;
}

// Edit mode starts from the file as it is now, not from the entries read
// with the folder: it may have been changed since in the editor.
static BOOL ReadItemAfresh(int row)
{
    char path[kPathCap];
    if (!RowPath(g_edit->item, path))
        return ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
    if (!PathExists(path, false)) {
        DropVanishedRow(row);
        return FALSE;
    }
    g_edit->entryCount = ReadItemSnapshot(path, &g_edit->snapshot, g_edit->entries);
    return g_edit->entryCount >= 0;
}

BOOL EditItem(HWND window, BOOL isNew)
{
    g_edit = (EditDialogState*)calloc(1, sizeof *g_edit);
    if (!g_edit)
        return ShowErrorBox(-1, NULL);
    g_edit->mode = isNew ? 0 : 1;
    int row = -1;
    BOOL result = FALSE;
    bool run = true;
    if (!isNew) {
        g_edit->item = GetSelectedRecord(&row, -1);
        run = g_edit->item && g_edit->item->kind != kKindGroup && ReadItemAfresh(row);
    }
    if (run) {
        SuspendMainDropTarget();
        result = DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(IDD_EDIT), window, EditDialogProc, 0) == TRUE;
        if (result) {
            int selected = isNew ? RowCount() - 1 : row;
            SelectRow(selected);
            if (isNew)
                SendMessageW(g_app->listView, LVM_ENSUREVISIBLE, (WPARAM)selected, FALSE);
        }
        ResumeMainDropTarget();
    }
    if (g_edit->entryCount > 0)
        FreeEntries(g_edit->entryCount, g_edit->entries);
    FreeItemSnapshot(&g_edit->snapshot);
    free(g_edit);
    g_edit = nullptr;
    if (result)
        g_app->orderChanged = 1;
    ShowItemCount();
    UpdateCommandStates();
    return result;
}
