#include "editdialog.h"

#include <commctrl.h>
#include <cstring>
#include <string>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "../store/itemtext.h"
#include "../store/chars.h"
#include "droptarget.h"

// A multi-line box shows and gives back CR LF; a value holds LF.
static void SetValueBox(HWND dialog, const char* value)
{
    char shown[2 * kEntryTextCap];
    size_t used = 0;
    for (const char* in = value; *in && used + 3 < sizeof shown; ++in) {
        if (*in == '\n')
            shown[used++] = '\r';
        shown[used++] = *in;
    }
    shown[used] = '\0';
    SetItemText(dialog, IDC_ENTRY_VALUE, shown);
}

// False when the box holds more than a value can.
static bool GetValueBox(HWND dialog, char* value, size_t cap)
{
    // Whole: the box counts characters, and a limit in them is no limit
    // in bytes.
    std::string text = TextOf(GetDlgItem(dialog, IDC_ENTRY_VALUE));
    size_t used = 0;
    for (const char* in = text.c_str(); *in; ++in) {
        if (in[0] == '\r' && in[1] == '\n')
            continue;
        if (used + 1 >= cap)
            return false;
        value[used++] = *in;
    }
    value[used] = '\0';
    return true;
}

// One line break at the caret, replacing the selection. The edit control
// places it itself: its positions are characters, not bytes, so no offset
// is computed here. Nothing for an empty box, and nothing (a beep) when
// the value would outgrow what the file holds.
static void InsertLineBreak(HWND dialog)
{
    HWND box = GetDlgItem(dialog, IDC_ENTRY_VALUE);
    char value[kEntryTextCap];
    if (GetWindowTextLengthW(box) <= 0)
        return;
    if (!GetValueBox(dialog, value, sizeof value) ||
        StoredLength(value, StoredFormFor(value, "")) + 1 > kMaxReadValue) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    SendMessageW(box, EM_REPLACESEL, TRUE, (LPARAM)L"\r\n");
    SetFocus(box);
}

static BOOL AcceptEntry(HWND dialog)
{
    // The box's limit is in characters: a key of double-byte ones may not
    // fit the bytes it is kept in, and is then too long for the file too.
    if (!GetItemText(dialog, IDC_ENTRY_KEY, g_edit->key, sizeof g_edit->key)) {
        ReportEntryTooLong();
        SetFocus(GetDlgItem(dialog, IDC_ENTRY_KEY));
        return FALSE;
    }
    if (!g_edit->key[0])
        return RefuseField(dialog, IDC_ENTRY_KEY);
    if (!GetValueBox(dialog, g_edit->value, sizeof g_edit->value)) {
        ReportEntryTooLong();
        return RefuseField(dialog, IDC_ENTRY_VALUE);
    }
    if (!g_edit->value[0])
        return RefuseField(dialog, IDC_ENTRY_VALUE);
    int field = 0;
    if (!CheckEntryText(g_edit->key, g_edit->value, &field)) {
        SetFocus(GetDlgItem(dialog, field));
        return FALSE;
    }
    return TRUE;
}

static INT_PTR CALLBACK EntryDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG: {
        SetTextOf(dialog, LoadTextString(g_edit->mode ? IDS_EDIT : IDS_NEW).c_str());
        // What the item file reads back; the checks on OK catch pasted text.
        SendDlgItemMessageW(dialog, IDC_ENTRY_KEY, EM_LIMITTEXT, kMaxReadKey, 0);
        // Each line break takes two characters in the box, one in the value.
        SendDlgItemMessageW(dialog, IDC_ENTRY_VALUE, EM_LIMITTEXT, 2 * kMaxReadValue, 0);
        if (g_edit->mode) {
            SetItemText(dialog, IDC_ENTRY_KEY, g_edit->key);
            SetValueBox(dialog, g_edit->value);
        }
        PlaceWindow(dialog, g_hMainWnd, 0, 0);
        AnimateShow(dialog, TRUE);
        return TRUE;
    }
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (id == IDC_ENTRY_KEY || id == IDC_ENTRY_VALUE) {
            BOOL keyFocus = id == IDC_ENTRY_KEY && HIWORD(wParam) == EN_SETFOCUS;
            EnableWindow(GetDlgItem(dialog, IDC_ENTRY_BREAK), !keyFocus);
            return TRUE;
        }
        switch (id) {
        case IDOK:
            if (AcceptEntry(dialog)) {
                CloseDialog(dialog, TRUE);
            }
            return TRUE;
        case IDCANCEL:
            CloseDialog(dialog, FALSE);
            return TRUE;
        case IDHELP:
            EnableWindow(GetDlgItem(dialog, IDC_ENTRY_BREAK), FALSE);
            ShowHelp(1, IDH_ENTRY);
            return TRUE;
        case IDC_ENTRY_BREAK:
            InsertLineBreak(dialog);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}

BOOL EditEntry(HWND dialog, BOOL isNew)
{
    int itemMode = g_edit->mode;
    int row = -1;
    if (!isNew) {
        row = (int)SendMessageW(g_edit->list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
        if (row < 0)
            return FALSE;
        GetEntryCell(row, 0, g_edit->key, sizeof g_edit->key);
        GetEntryCell(row, 1, g_edit->value, sizeof g_edit->value);
    } else if (SendMessageW(g_edit->list, LVM_GETITEMCOUNT, 0, 0) >= kMaxEntries) {
        MessageBeep(MB_ICONEXCLAMATION);
        return FALSE;
    }
    g_edit->mode = isNew ? 0 : 1;
    RevokeDropTarget(dialog, g_edit->dropTarget);
    g_edit->dropTarget = nullptr;
    BOOL accepted =
        DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(IDD_ENTRY), dialog, EntryDialogProc, 0) == TRUE;
    g_edit->dropTarget = RegisterDropTarget(dialog, WM_DROPTEXT);
    if (accepted && isNew) {
        InsertEntryRow(-1);
    } else if (accepted) {
        SetEntryCell(row, 0, g_edit->key);
        SetEntryCell(row, 1, g_edit->value);
    }
    RefreshEditButtons(dialog);
    g_edit->mode = itemMode;
    return accepted;
}
