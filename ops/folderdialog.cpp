#include "folderdialog.h"

#include <shellapi.h>
#include <cstdlib>

#include "../app/history.h"
#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../clip/droptarget.h"
#include "../res/resource.h"
#include "../store/folderload.h"
#include "../store/order.h"
#include "../store/paths.h"
#include "../store/pathtext.h"

static FolderDialogState* g_folder;

static HWND FolderList(HWND dialog) { return GetDlgItem(dialog, IDC_FOLDER_LIST); }

static BOOL HasSelection(HWND dialog)
{
    return SendMessageW(FolderList(dialog), CB_GETCURSEL, 0, 0) != CB_ERR;
}

static void EnableOkBySelection(HWND dialog)
{
    EnableWindow(GetDlgItem(dialog, IDOK), HasSelection(dialog));
}

// The combo box's text; empty when it does not fit a path.
static void ListText(HWND dialog, char* out)
{
    if (!GetTextOf(FolderList(dialog), out, kPathCap) || !PathFits(out))
        out[0] = '\0';
}

void AddToHistory(HWND dialog, const char* folder)
{
    if (!folder || !folder[0])
        return;
    std::wstring wide = Widen(folder);
    if (wide.empty())
        return;
    HWND list = FolderList(dialog);
    LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    LRESULT found = CB_ERR;
    // A path of the program never takes more UTF-16 units than bytes.
    for (LRESULT i = 0; i < count && found == CB_ERR; ++i) {
        wchar_t entry[kPathCap];
        if (SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < kPathCap &&
            SendMessageW(list, CB_GETLBTEXT, i, (LPARAM)entry) != CB_ERR &&
            lstrcmpiW(entry, wide.c_str()) == 0)
            found = i;
    }
    if (found == CB_ERR)
        found = SendMessageW(list, CB_ADDSTRING, 0, (LPARAM)wide.c_str());
    SendMessageW(list, CB_SETCURSEL, found, 0);
    EnableOkBySelection(dialog);
}

static void Browse(HWND dialog)
{
    char start[kPathCap];
    char chosen[kPathCap];
    ListText(dialog, start);
    if (!start[0])
        GetItemText(dialog, IDC_FOLDER_BOOT, start, sizeof start);
    if (BrowseForFolder(dialog, start, chosen, 0))
        AddToHistory(dialog, chosen);
    EnableOkBySelection(dialog);
}

// Only the list changes; the folder on disk is never touched.
static void DeleteFromHistory(HWND dialog)
{
    char text[kPathCap];
    ListText(dialog, text);
    if (!text[0] || AskYesNo(dialog, IDS_ASK_DELETE, MB_ICONWARNING, text, NULL) != IDYES)
        return;
    HWND list = FolderList(dialog);
    LRESULT found = SendMessageW(list, CB_FINDSTRING, (WPARAM)-1, (LPARAM)Widen(text).c_str());
    if (found == CB_ERR)
        return;
    SendMessageW(list, CB_DELETESTRING, found, 0);
    SendMessageW(list, CB_SETCURSEL, (WPARAM)-1, 0);
    EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
}

static void SetBootFolder(HWND dialog)
{
    char text[kPathCap];
    ListText(dialog, text);
    if (!text[0] || AskYesNo(dialog, IDS_ASK_BOOT, MB_ICONQUESTION, text, NULL) != IDYES)
        return;
    CopyText(g_folder->newBoot, kPathCap, text);
    SetItemText(dialog, IDC_FOLDER_BOOT, text);
}

static void ShowFolderMenu(HWND dialog)
{
    HMENU menu = LoadMenuW(g_hInstance, MAKEINTRESOURCEW(IDM_FOLDER));
    if (!menu)
        return;
    // Under the button, its right edge on the button's, as a drop-down opens;
    // above it only when the screen ends below.
    TPMPARAMS around = {sizeof around, {0, 0, 0, 0}};
    GetWindowRect(GetDlgItem(dialog, IDC_FOLDER_MENU), &around.rcExclude);
    TrackPopupMenuEx(GetSubMenu(menu, 0), TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_VERTICAL |
                     TPM_RIGHTBUTTON, around.rcExclude.right, around.rcExclude.bottom, dialog,
                     &around);
    DestroyMenu(menu);
}

// Each dropped folder, or the folder of each dropped file, joins the list.
static void OnDropFiles(HWND dialog, HDROP drop)
{
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, NULL, 0);
    for (UINT i = 0; i < count; ++i) {
        // A longer path cut to fit would name another folder.
        UINT units = DragQueryFileW(drop, i, NULL, 0);
        if (units == 0 || units >= kPathCap)
            continue;
        wchar_t wide[kPathCap];
        char path[kPathCap];
        if (!DragQueryFileW(drop, i, wide, kPathCap) || !FromWide(wide, -1, path, sizeof path))
            continue;
        char folder[kPathCap];
        if (PathExists(path, true))
            CopyText(folder, sizeof folder, path);
        else
            ParentPath(path, folder, sizeof folder);
        AddToHistory(dialog, folder);
    }
    DragFinish(drop);
}

static void EndFolderDialog(HWND dialog)
{
    DragAcceptFiles(dialog, FALSE);
    CloseDialog(dialog, g_folder->chosen[0] != '\0');
}

static void OnOk(HWND dialog)
{
    g_folder->chosen[0] = '\0';
    char text[kPathCap];
    ListText(dialog, text);
    if (!text[0])
        return;
    if (!PathExists(text, true)) {
        ShowSystemError(ERROR_PATH_NOT_FOUND);
        return;
    }
    // A folder typed and confirmed with Enter never left the field: it
    // joins the list here, so the saved history has it and a selection.
    AddToHistory(dialog, text);
    SaveFolderHistory(dialog);
    CopyText(g_folder->chosen, kPathCap, text);
    EndFolderDialog(dialog);
}

static void OnComboNotify(HWND dialog, int code)
{
    switch (code) {
    case CBN_KILLFOCUS: {
        // A mistyped path never joins the list, or the next OK would keep it.
        char text[kPathCap];
        ListText(dialog, text);
        if (text[0] && PathExists(text, true))
            AddToHistory(dialog, text);
        break;
    }
    case CBN_SELCHANGE:
        EnableOkBySelection(dialog);
        break;
    case CBN_EDITCHANGE:
        EnableWindow(GetDlgItem(dialog, IDOK),
                     GetWindowTextLengthW(FolderList(dialog)) > 0);
        break;
    }
}

static void OnFolderCommand(HWND dialog, int id, int code)
{
    switch (id) {
    case IDC_FOLDER_LIST:
        OnComboNotify(dialog, code);
        break;
    case IDOK:
        OnOk(dialog);
        break;
    case IDCANCEL:
        g_folder->chosen[0] = '\0';
        EndFolderDialog(dialog);
        break;
    case IDHELP:
        ShowHelp(1, IDH_FOLDER);
        break;
    case IDC_FOLDER_MENU:
        ShowFolderMenu(dialog);
        break;
    case CMD_FOLDER_BROWSE:
        Browse(dialog);
        break;
    case CMD_FOLDER_DELETE:
        DeleteFromHistory(dialog);
        break;
    case CMD_FOLDER_SET_BOOT:
        SetBootFolder(dialog);
        break;
    case CMD_FOLDER_GO_BOOT:
        // The start-up folder in effect when the dialog opened.
        CopyText(g_folder->chosen, kPathCap, g_app->bootFolder);
        EndFolderDialog(dialog);
        break;
    case CMD_FOLDER_FAVORITES:
        if (!GetFavoritesFolder(dialog, g_folder->chosen))
            g_folder->chosen[0] = '\0';
        EndFolderDialog(dialog);
        break;
    }
}

static INT_PTR CALLBACK FolderDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        SendMessageW(FolderList(dialog), CB_LIMITTEXT, kPathCap - 1, 0);
        LoadFolderHistory(dialog);
        EnableOkBySelection(dialog);
        PlaceWindow(dialog, GetParent(dialog), 0, 0);
        AnimateShow(dialog, TRUE);
        DragAcceptFiles(dialog, TRUE);
        return TRUE;
    case WM_COMMAND:
        OnFolderCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_INITMENU: {
        UINT state = HasSelection(dialog) ? MF_ENABLED : MF_GRAYED;
        EnableMenuItem((HMENU)wParam, CMD_FOLDER_DELETE, MF_BYCOMMAND | state);
        EnableMenuItem((HMENU)wParam, CMD_FOLDER_SET_BOOT, MF_BYCOMMAND | state);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        if (GetDlgCtrlID((HWND)lParam) == IDC_FOLDER_BOOT)
            SetTextColor((HDC)wParam, RGB(0, 0, 255));
        SetBkMode((HDC)wParam, TRANSPARENT);
        return (INT_PTR)GetSysColorBrush(COLOR_BTNFACE);
    case WM_DROPFILES:
        OnDropFiles(dialog, (HDROP)wParam);
        return TRUE;
    }
    return FALSE;
}

BOOL FolderCommand(HWND mainWindow)
{
    g_folder = (FolderDialogState*)calloc(1, sizeof *g_folder);
    if (!g_folder) {
        ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    SuspendMainDropTarget();
    BOOL chosen = DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(IDD_FOLDER), mainWindow,
                                  FolderDialogProc, 0) == TRUE &&
                  g_folder->chosen[0];
    if (chosen) {
        if (g_folder->newBoot[0])
            CopyText(g_app->bootFolder, kPathCap, g_folder->newBoot);
        SaveChangedOrder();
        CopyText(g_app->rootFolder, kPathCap, g_folder->chosen);
        CopyText(g_app->currentFolder, kPathCap, g_folder->chosen);
        LoadFolder();
    }
    free(g_folder);
    g_folder = nullptr;
    ResumeMainDropTarget();
    return chosen;
}
