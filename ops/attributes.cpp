#include "attributes.h"

#include <stdlib.h>

#include "../app/winver.h"

#include <shellapi.h>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../clip/droptarget.h"
#include "../res/resource.h"
#include "../store/itemname.h"
#include "../store/paths.h"
#include "../store/records.h"
#include "../store/textbuf.h"

// The seams carry the program's text, as the tests read it; the calls
// themselves are the wide ones. A path that does not convert is refused
// as too long, never turned into another name.
static DWORD ReadAttributes(const char* path)
{
    return PathAttributes(path);
}

static BOOL WriteAttributes(const char* path, DWORD attributes)
{
    return SetPathAttributes(path, attributes);
}

// The shell's property sheet of one path, beside the dialog.
static BOOL ShowShellProperties(HWND owner, const char* path)
{
    wchar_t file[MAX_PATH];
    if (!ToWide(path, file, MAX_PATH)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    SHELLEXECUTEINFOW info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"properties";
    info.lpFile = file;
    info.lpParameters = L"";
    info.lpDirectory = L"";
    info.nShow = SW_SHOWNORMAL;
    BOOL shown = ShellExecuteExW(&info);
    if (shown && info.hProcess)
        CloseHandle(info.hProcess);
    return shown;
}

ShowPropertiesFn g_showProperties = ShowShellProperties;
GetFileAttributesFn g_getFileAttributes = ReadAttributes;
SetFileAttributesFn g_setFileAttributes = WriteAttributes;

struct AttributeDialogState {
    char path[kPathCap];
    DWORD attributes;
    COLORREF nameColour;
};

// Only while the dialog is open; the dialog is modal.
static AttributeDialogState* s_attr;

static COLORREF KindColour(int kind)
{
    switch (kind) {
    case kKindGroup:
        return RGB(128, 128, 0);
    case kKindText:
        return RGB(0, 0, 255);
    case kKindUrl:
        return RGB(0, 128, 128);
    default:
        return RGB(0, 128, 0);
    }
}

static void OpenProperties(HWND dialog)
{
    // Nothing to report: the sheet either opens beside the dialog or not.
    g_showProperties(dialog, s_attr->path);
}

static const struct {
    int id;
    DWORD bit;
} kBoxes[] = {
    {IDC_ATTR_SYSTEM, FILE_ATTRIBUTE_SYSTEM},
    {IDC_ATTR_HIDDEN, FILE_ATTRIBUTE_HIDDEN},
    {IDC_ATTR_READONLY, FILE_ATTRIBUTE_READONLY},
    {IDC_ATTR_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE},
};

static INT_PTR CALLBACK AttributeDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        const ItemRecord* record = (const ItemRecord*)lParam;
        s_attr->nameColour = KindColour(record->kind);
        SetItemText(dialog, IDC_ATTR_NAME, record->name);
        EnableWindow(GetDlgItem(dialog, IDC_ATTR_SYSTEM), FALSE);
        for (const auto& box : kBoxes)
            if (s_attr->attributes & box.bit)
                CheckDlgButton(dialog, box.id, BST_CHECKED);
        PlaceWindow(dialog, GetWindow(dialog, GW_OWNER), 0, 0);
        AnimateShow(dialog, TRUE);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
        HDC dc = (HDC)wParam;
        if (GetDlgCtrlID((HWND)lParam) == IDC_ATTR_NAME)
            SetTextColor(dc, s_attr->nameColour);
        SetBkMode(dc, TRANSPARENT);
        return (INT_PTR)GetSysColorBrush(COLOR_BTNFACE);
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            // Exactly the bits shown: an attribute the dialog does not show
            // is cleared, so the file ends up as the user saw it.
            s_attr->attributes = 0;
            for (const auto& box : kBoxes)
                if (IsDlgButtonChecked(dialog, box.id) == BST_CHECKED)
                    s_attr->attributes |= box.bit;
            CloseDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            CloseDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_ATTR_PROPERTIES:
            OpenProperties(dialog);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

BOOL ChangeAttributes(HWND owner)
{
    ItemRecord* record = GetSelectedRecord(NULL, -1);
    if (!record)
        return FALSE;
    s_attr = (AttributeDialogState*)calloc(1, sizeof *s_attr);
    if (!s_attr) {
        ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    BOOL written = FALSE;
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    if (!RowPath(record, s_attr->path)) {
        ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
    } else if ((attributes = g_getFileAttributes(s_attr->path)) == INVALID_FILE_ATTRIBUTES) {
        ShowErrorBox(-1, NULL);
    } else {
        s_attr->attributes = attributes;
        SuspendMainDropTarget();
        INT_PTR ended = DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(IDD_ATTRIBUTES), owner,
                                        AttributeDialogProc, (LPARAM)record);
        if (ended == IDOK) {
            written = g_setFileAttributes(s_attr->path, s_attr->attributes);
            if (!written)
                ShowErrorBox(-1, NULL);
        }
        ResumeMainDropTarget();
    }
    free(s_attr);
    s_attr = NULL;
    return written;
}
