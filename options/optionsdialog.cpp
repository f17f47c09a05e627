#include "optionsdialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <uxtheme.h>
#include <stdlib.h>
#include <string.h>

#include <new>
#include <string>

#include "../app/settings.h"
#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../clip/droptarget.h"
#include "../clip/history.h"
#include "../res/resource.h"
#include "../store/itemtext.h"
#include "../store/paths.h"
#include "../store/textbuf.h"
#include "hotkeypage.h"

enum { kPageCount = 4, kExtEditCap = 256, kTabTextCap = 32, kComboTextCap = 128 };
enum { kPageLoad = 0, kPageAction = 1, kPageDrop = 2, kPageHistory = 3 };

struct OptionsDialogState {
    HWND dialog;
    HWND tabs;
    HHOOK pageKeys;
    HWND pages[kPageCount];
    unsigned char options[kOptionCount];
    char excludedExt[kTextCap];
    char editorPath[kPathCap];
    char browserPath[kPathCap];
    HotKeySettings hotKey;
    int historySize;
    BOOL historyMemoryOnly;
    BOOL historyAtTop;
    char historyExclude[kListCap];
};

// Only while the dialog is open; the dialog is modal.
static OptionsDialogState* s_opt;

static void ShowPage(HWND dialog, int index)
{
    for (int i = 0; i < kPageCount; ++i)
        ShowWindow(s_opt->pages[i], i == index ? SW_SHOW : SW_HIDE);
    // The strip follows, so the tab named matches the page shown.
    if (SendMessageW(s_opt->tabs, TCM_GETCURSEL, 0, 0) != index)
        SendMessageW(s_opt->tabs, TCM_SETCURSEL, index, 0);
}

// Ctrl+Tab, Ctrl+PgDn and their Shift and PgUp partners turn the pages,
// as in every tabbed dialog; the dialog's own loop shows the keys here
// before any control sees them.
static LRESULT CALLBACK PageKeyHook(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = (const MSG*)lParam;
    if (code == MSGF_DIALOGBOX && s_opt && msg->message == WM_KEYDOWN &&
        GetKeyState(VK_CONTROL) < 0 &&
        (msg->hwnd == s_opt->dialog || IsChild(s_opt->dialog, msg->hwnd))) {
        int step = 0;
        if (msg->wParam == VK_TAB)
            step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
        else if (msg->wParam == VK_NEXT || msg->wParam == VK_PRIOR)
            step = msg->wParam == VK_NEXT ? 1 : -1;
        if (step) {
            int index = (int)SendMessageW(s_opt->tabs, TCM_GETCURSEL, 0, 0);
            ShowPage(s_opt->dialog, (index + step + kPageCount) % kPageCount);
            SetFocus(s_opt->tabs);
            return 1;
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

static void CheckFrom(HWND page, int id, int byte)
{
    CheckDlgButton(page, id, s_opt->options[byte] ? BST_CHECKED : BST_UNCHECKED);
}

static void StoreCheck(HWND page, int id, int byte)
{
    s_opt->options[byte] = IsDlgButtonChecked(page, id) == BST_CHECKED ? 1 : 0;
}

// ---- Page "読込" ----

static void UpdateLoadPage(HWND page)
{
    BOOL on = IsDlgButtonChecked(page, IDC_LOAD_EXCLUDE) == BST_CHECKED;
    HWND list = GetDlgItem(page, IDC_LOAD_LIST);
    EnableWindow(list, on);
    EnableWindow(GetDlgItem(page, IDC_LOAD_EXT), on);
    EnableWindow(GetDlgItem(page, IDC_LOAD_ADD), on);
    EnableWindow(GetDlgItem(page, IDC_LOAD_DELETE),
                 on && SendMessageW(list, LB_GETCURSEL, 0, 0) != LB_ERR);
}

static void FillExtensionList(HWND list, const char* text)
{
    char piece[kTextCap];
    while (*text) {
        const char* end = strchr(text, ';');
        size_t length = end ? (size_t)(end - text) : strlen(text);
        if (length > 0 && length < sizeof piece) {
            memcpy(piece, text, length);
            piece[length] = '\0';
            SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)Widen(piece).c_str());
        }
        text += length;
        if (*text == ';')
            ++text;
    }
}

static void AddExtension(HWND page)
{
    char text[kExtEditCap];
    HWND list = GetDlgItem(page, IDC_LOAD_LIST);
    // A text that does not fit is refused as an empty one is.
    GetItemText(page, IDC_LOAD_EXT, text, sizeof text);
    TrimLineEnd(text);
    char* ext = text[0] == '.' ? text + 1 : text;
    std::wstring wide = Widen(ext);
    if (wide.empty()) {
        RefuseField(page, IDC_LOAD_EXT);
        return;
    }
    int count = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        wchar_t line[kTextCap];
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) >= (LRESULT)kTextCap)
            continue;
        SendMessageW(list, LB_GETTEXT, i, (LPARAM)line);
        if (lstrcmpiW(line, wide.c_str()) == 0) {
            RefuseField(page, IDC_LOAD_EXT);
            return;
        }
    }
    SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)wide.c_str());
    SetItemText(page, IDC_LOAD_EXT, "");
    UpdateLoadPage(page);
}

static void DeleteExtension(HWND page)
{
    HWND list = GetDlgItem(page, IDC_LOAD_LIST);
    int selected = (int)SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) {
        RefuseField(page, IDC_LOAD_LIST);
        return;
    }
    SendMessageW(list, LB_DELETESTRING, selected, 0);
    UpdateLoadPage(page);
}

static INT_PTR CALLBACK LoadPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        CheckFrom(page, IDC_LOAD_HIDDEN, ExcludeHidden);
        CheckFrom(page, IDC_LOAD_NOORDER, NoOrderFile);
        CheckFrom(page, IDC_LOAD_EXCLUDE, ExcludeExt);
        SendDlgItemMessageW(page, IDC_LOAD_EXT, EM_LIMITTEXT, kExtEditCap - 1, 0);
        FillExtensionList(GetDlgItem(page, IDC_LOAD_LIST), s_opt->excludedExt);
        UpdateLoadPage(page);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_LOAD_EXCLUDE:
        case IDC_LOAD_LIST:
            UpdateLoadPage(page);
            return TRUE;
        case IDC_LOAD_ADD:
            AddExtension(page);
            return TRUE;
        case IDC_LOAD_DELETE:
            DeleteExtension(page);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// ---- Page "動作" ----

static void ProposeBrowser()
{
    wchar_t windows[kPathCap] = L"";
    char drive[kPathCap], path[kPathCap];
    UINT length = GetWindowsDirectoryW(windows, kPathCap);
    if (length < 3 || length >= kPathCap)
        return;
    // Its drive's root, "C:\\".
    if (!FromWide(windows, 3, drive, sizeof drive) ||
        !FormatText(path, sizeof path, "%sProgram Files\\Internet Explorer\\IEXPLORE.EXE",
                    drive))
        return;
    if (PathAttributes(path) != INVALID_FILE_ATTRIBUTES)
        CopyText(s_opt->browserPath, sizeof s_opt->browserPath, path);
}

static void UpdateActionPage(HWND page)
{
    BOOL on = IsDlgButtonChecked(page, IDC_ACT_BROWSER_NEW) == BST_CHECKED;
    EnableWindow(GetDlgItem(page, IDC_ACT_BROWSER), on);
    EnableWindow(GetDlgItem(page, IDC_ACT_BROWSER_PICK), on);
}

static void PickProgram(HWND page, int editId)
{
    char path[kPathCap] = "";
    wchar_t file[kPathCap] = L"";
    OPENFILENAMEW ofn;
    if (GetItemText(page, editId, path, sizeof path))
        ToWide(path, file, kPathCap);
    ZeroMemory(&ofn, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = page;
    ofn.lpstrFilter = L"Exe Files(*.exe)\0*.exe\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = kPathCap;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_SHOWHELP;
    if (!GetOpenFileNameW(&ofn))
        return;
    // Its units fit, its bytes need not: a cut path would name another program.
    if (FromWide(file, -1, path, sizeof path))
        SetItemText(page, editId, path);
    else
        ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
}

static INT_PTR CALLBACK ActionPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        if (!s_opt->browserPath[0])
            ProposeBrowser();
        SendDlgItemMessageW(page, IDC_ACT_EDITOR, EM_LIMITTEXT, kPathCap - 1, 0);
        SendDlgItemMessageW(page, IDC_ACT_BROWSER, EM_LIMITTEXT, kPathCap - 1, 0);
        SetItemText(page, IDC_ACT_EDITOR, s_opt->editorPath);
        SetItemText(page, IDC_ACT_BROWSER, s_opt->browserPath);
        CheckFrom(page, IDC_ACT_BROWSER_NEW, BrowserNew);
        CheckFrom(page, IDC_ACT_URL_ONLY, NotifyUrlOnly);
        CheckFrom(page, IDC_ACT_BACK, BackAfterCopy);
        CheckFrom(page, IDC_ACT_AUTO_TITLE, AutoTitle);
        CheckFrom(page, IDC_ACT_MENU_SINGLE, MenuForSingle);
        ShowHotKeyControls(page, &s_opt->hotKey);
        UpdateActionPage(page);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_ACT_BROWSER_NEW:
            UpdateActionPage(page);
            return TRUE;
        case IDC_ACT_HOTKEY_ON:
            UpdateHotKeyControls(page);
            return TRUE;
        case IDC_ACT_EDITOR_PICK:
            PickProgram(page, IDC_ACT_EDITOR);
            return TRUE;
        case IDC_ACT_BROWSER_PICK:
            PickProgram(page, IDC_ACT_BROWSER);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// ---- Page "ドロップ" ----

static void UpdateDropPage(HWND page)
{
    EnableWindow(GetDlgItem(page, IDC_DROP_INSERT),
                 SendDlgItemMessageW(page, IDC_DROP_ACTION, CB_GETCURSEL, 0, 0) == DropNew);
}

static INT_PTR CALLBACK DropPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG: {
        static const int kLines[] = {IDS_DROP_NEW, IDS_DROP_APPEND, IDS_DROP_ASK};
        CheckFrom(page, IDC_DROP_FRONT, FrontAfterDrop);
        CheckFrom(page, IDC_DROP_INSERT, InsertAfterDrop);
        for (int id : kLines) {
            // Only shown: straight from the resource, no program text between.
            wchar_t text[kComboTextCap] = L"";
            LoadStringW(g_hInstance, id, text, kComboTextCap);
            SendDlgItemMessageW(page, IDC_DROP_ACTION, CB_ADDSTRING, 0, (LPARAM)text);
        }
        // A stored value the list does not hold is shown as "新規", and OK
        // stores what is shown rather than no selection at all.
        int action = s_opt->options[DropAction];
        if (action < DropNew || action > DropAsk)
            action = DropNew;
        SendDlgItemMessageW(page, IDC_DROP_ACTION, CB_SETCURSEL, action, 0);
        UpdateDropPage(page);
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_DROP_ACTION && HIWORD(wParam) == CBN_SELCHANGE) {
            UpdateDropPage(page);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// ---- Page "履歴" ----

// The exclusion list as one name a line, for editing.
static std::string ExclusionLines(const char* list)
{
    std::string lines;
    for (const char* p = list; *p; ++p)
        if (*p == ';')
            lines += "\r\n";
        else
            lines += *p;
    return lines;
}

static INT_PTR CALLBACK HistoryPageProc(HWND page, UINT msg, WPARAM, LPARAM)
{
    if (msg != WM_INITDIALOG)
        return FALSE;
    char size[16];
    FormatText(size, sizeof size, "%d", s_opt->historySize);
    SendDlgItemMessageW(page, IDC_HIST_SIZE, EM_LIMITTEXT, 5, 0);
    SetItemText(page, IDC_HIST_SIZE, size);
    CheckDlgButton(page, IDC_HIST_MEMORY, s_opt->historyMemoryOnly ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, IDC_HIST_TOP, s_opt->historyAtTop ? BST_CHECKED : BST_UNCHECKED);
    SetItemText(page, IDC_HIST_EXCLUDE, ExclusionLines(s_opt->historyExclude).c_str());
    return FALSE;
}

// The lines back into "a.exe;b.exe;": blank lines and the spaces around a
// name left out; false when the list does not fit its field.
static bool StoreExclusions(const std::string& lines, char* out, size_t cap)
{
    std::string list;
    size_t start = 0;
    while (start <= lines.size()) {
        size_t end = lines.find_first_of("\r\n;", start);
        if (end == std::string::npos)
            end = lines.size();
        size_t first = lines.find_first_not_of(" \t", start);
        size_t last = lines.find_last_not_of(" \t", end == 0 ? 0 : end - 1);
        if (first != std::string::npos && first < end && last != std::string::npos && last >= first)
            list += lines.substr(first, last - first + 1) + ";";
        start = end + 1;
    }
    return CopyText(out, cap, list.c_str());
}

static BOOL StoreHistoryPage(HWND dialog, HWND page)
{
    char size[16] = "";
    GetItemText(page, IDC_HIST_SIZE, size, sizeof size);
    char* end = nullptr;
    long value = strtol(size, &end, 10);
    if (!size[0] || *end || value < 0 || value > kHistoryMax) {
        ShowPage(dialog, kPageHistory);
        ShowErrorBox(IDS_HISTORY_SIZE_BAD, NULL);
        SetFocus(GetDlgItem(page, IDC_HIST_SIZE));
        return FALSE;
    }
    s_opt->historySize = (int)value;
    s_opt->historyMemoryOnly = IsDlgButtonChecked(page, IDC_HIST_MEMORY) == BST_CHECKED;
    s_opt->historyAtTop = IsDlgButtonChecked(page, IDC_HIST_TOP) == BST_CHECKED;
    bool stored = false;
    try {
        stored = StoreExclusions(TextOf(GetDlgItem(page, IDC_HIST_EXCLUDE)), s_opt->historyExclude,
                                 sizeof s_opt->historyExclude);
    } catch (const std::bad_alloc&) {
        // Reported as a list that does not fit.
    }
    if (stored)
        return TRUE;
    ShowPage(dialog, kPageHistory);
    ShowErrorBox(IDS_HISTORY_EXCLUDE_LONG, NULL);
    SetFocus(GetDlgItem(page, IDC_HIST_EXCLUDE));
    return FALSE;
}

// ---- The frame ----

static BOOL RefuseOnPage(HWND dialog, int index, int controlId)
{
    ShowPage(dialog, index);
    RefuseField(s_opt->pages[index], controlId);
    return FALSE;
}

static BOOL RefuseTooLong(HWND dialog, int index, int controlId)
{
    ShowPage(dialog, index);
    ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
    RefuseField(s_opt->pages[index], controlId);
    return FALSE;
}

// The excluded-extension list from the list box; false when it does not
// fit its capacity: every line the user sees must be kept, none dropped.
static BOOL StoreExtensions(HWND page)
{
    HWND list = GetDlgItem(page, IDC_LOAD_LIST);
    int count = (int)SendMessageW(list, LB_GETCOUNT, 0, 0);
    size_t used = 0;
    s_opt->excludedExt[0] = '\0';
    for (int i = 0; i < count; ++i) {
        LRESULT units = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (units <= 0)
            continue;
        // The line, its ";" and the terminator; a line never takes more
        // bytes than UTF-16 units, so one that is too long in units is too
        // long in bytes.
        if (used + (size_t)units + 2 > sizeof s_opt->excludedExt)
            return FALSE;
        wchar_t line[kTextCap];
        SendMessageW(list, LB_GETTEXT, i, (LPARAM)line);
        if (!FromWide(line, -1, s_opt->excludedExt + used, sizeof s_opt->excludedExt - used - 1))
            return FALSE;
        used += strlen(s_opt->excludedExt + used);
        s_opt->excludedExt[used++] = ';';
        s_opt->excludedExt[used] = '\0';
    }
    return TRUE;
}

static BOOL StoreWorkingCopy(HWND dialog)
{
    HWND load = s_opt->pages[kPageLoad];
    HWND action = s_opt->pages[kPageAction];
    HWND drop = s_opt->pages[kPageDrop];

    StoreCheck(load, IDC_LOAD_HIDDEN, ExcludeHidden);
    StoreCheck(load, IDC_LOAD_NOORDER, NoOrderFile);
    StoreCheck(load, IDC_LOAD_EXCLUDE, ExcludeExt);
    if (SendDlgItemMessageW(load, IDC_LOAD_LIST, LB_GETCOUNT, 0, 0) <= 0 &&
        s_opt->options[ExcludeExt]) {
        s_opt->excludedExt[0] = '\0';
        return RefuseOnPage(dialog, kPageLoad, IDC_LOAD_EXT);
    }
    if (!StoreExtensions(load)) {
        ShowPage(dialog, kPageLoad);
        ShowErrorBox(IDS_EXT_TOO_LONG, NULL);
        SetFocus(GetDlgItem(load, IDC_LOAD_LIST));
        return FALSE;
    }

    // The boxes count UTF-16 units, the paths bytes: a path that does not
    // fit is refused, never kept cut or dropped.
    if (!GetItemText(action, IDC_ACT_EDITOR, s_opt->editorPath, sizeof s_opt->editorPath) ||
        !PathFits(s_opt->editorPath))
        return RefuseTooLong(dialog, kPageAction, IDC_ACT_EDITOR);
    if (!s_opt->editorPath[0])
        return RefuseOnPage(dialog, kPageAction, IDC_ACT_EDITOR);
    StoreCheck(action, IDC_ACT_BROWSER_NEW, BrowserNew);
    StoreCheck(action, IDC_ACT_URL_ONLY, NotifyUrlOnly);
    StoreCheck(action, IDC_ACT_BACK, BackAfterCopy);
    StoreCheck(action, IDC_ACT_AUTO_TITLE, AutoTitle);
    StoreCheck(action, IDC_ACT_MENU_SINGLE, MenuForSingle);
    if (!GetItemText(action, IDC_ACT_BROWSER, s_opt->browserPath, sizeof s_opt->browserPath) ||
        !PathFits(s_opt->browserPath))
        return RefuseTooLong(dialog, kPageAction, IDC_ACT_BROWSER);
    if (!s_opt->browserPath[0] && s_opt->options[BrowserNew])
        return RefuseOnPage(dialog, kPageAction, IDC_ACT_BROWSER);
    if (StoreHotKeyControls(action, &s_opt->hotKey)) {
        ShowPage(dialog, kPageAction);
        return FALSE;
    }

    LRESULT shown = SendDlgItemMessageW(drop, IDC_DROP_ACTION, CB_GETCURSEL, 0, 0);
    s_opt->options[DropAction] = shown >= DropNew && shown <= DropAsk ? (unsigned char)shown : (unsigned char)DropNew;
    StoreCheck(drop, IDC_DROP_FRONT, FrontAfterDrop);
    StoreCheck(drop, IDC_DROP_INSERT, InsertAfterDrop);
    return StoreHistoryPage(dialog, s_opt->pages[kPageHistory]);
}

typedef HRESULT(WINAPI* EnableThemeDialogTextureProc)(HWND, DWORD);

// With visual styles the tab strip's body has the theme's tab colour; a page
// that does not paint the same texture shows as a grey block on it. Looked
// up at run time: without uxtheme there are no styles to match.
static void MatchTabBody(HWND page)
{
    HMODULE uxtheme = LoadLibraryW(L"UXTHEME.DLL");
    if (!uxtheme)
        return;
    EnableThemeDialogTextureProc enable =
        (EnableThemeDialogTextureProc)(void*)GetProcAddress(uxtheme, "EnableThemeDialogTexture");
    if (enable)
        enable(page, ETDT_ENABLETAB);
    FreeLibrary(uxtheme);
}

static BOOL CreatePages(HWND dialog)
{
    static const int kTemplates[kPageCount] = {IDD_OPT_LOAD, IDD_OPT_ACTION, IDD_OPT_DROP,
                                               IDD_OPT_HISTORY};
    static const DLGPROC kProcs[kPageCount] = {LoadPageProc, ActionPageProc, DropPageProc,
                                               HistoryPageProc};
    static const int kTabs[kPageCount] = {IDS_TAB_LOAD, IDS_TAB_ACTION, IDS_TAB_DROP,
                                          IDS_TAB_HISTORY};
    s_opt->tabs = GetDlgItem(dialog, IDC_OPT_TABS);
    for (int i = 0; i < kPageCount; ++i) {
        wchar_t text[kTabTextCap] = L"";
        TCITEMW tab;
        LoadStringW(g_hInstance, kTabs[i], text, kTabTextCap);
        ZeroMemory(&tab, sizeof tab);
        tab.mask = TCIF_TEXT;
        tab.pszText = text;
        SendMessageW(s_opt->tabs, TCM_INSERTITEMW, i, (LPARAM)&tab);
        s_opt->pages[i] = CreateDialogParamW(g_hInstance, MAKEINTRESOURCEW(kTemplates[i]), dialog,
                                             kProcs[i], 0);
        if (!s_opt->pages[i])
            return FALSE;
        MatchTabBody(s_opt->pages[i]);
        // Right after the tab strip, so Tab goes strip, page, then the
        // buttons; the strip clips its siblings and leaves the page drawn.
        SetWindowPos(s_opt->pages[i], s_opt->tabs, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ShowPage(dialog, kPageLoad);
    return TRUE;
}

static INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        s_opt->dialog = dialog;
        s_opt->pageKeys = SetWindowsHookExW(WH_MSGFILTER, PageKeyHook, NULL,
                                            GetCurrentThreadId());
        if (!CreatePages(dialog)) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        PlaceWindow(dialog, GetWindow(dialog, GW_OWNER), 0, 0);
        AnimateShow(dialog, TRUE);
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR* hdr = (const NMHDR*)lParam;
        if (hdr->idFrom == IDC_OPT_TABS && hdr->code == (UINT)TCN_SELCHANGE) {
            int index = (int)SendMessageW(s_opt->tabs, TCM_GETCURSEL, 0, 0);
            if (index >= 0 && index < kPageCount)
                ShowPage(dialog, index);
            return TRUE;
        }
        break;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (StoreWorkingCopy(dialog)) {
                CloseDialog(dialog, IDOK);
            }
            return TRUE;
        case IDCANCEL:
            CloseDialog(dialog, IDCANCEL);
            return TRUE;
        case IDHELP:
            ShowHelp(1, IDH_OPTIONS);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

BOOL EditOptions(HWND owner)
{
    s_opt = (OptionsDialogState*)calloc(1, sizeof *s_opt);
    if (!s_opt)
        return FALSE;
    SuspendMainDropTarget();
    memcpy(s_opt->options, g_app->options, sizeof s_opt->options);
    CopyText(s_opt->excludedExt, sizeof s_opt->excludedExt, g_app->excludedExt);
    CopyText(s_opt->editorPath, sizeof s_opt->editorPath, g_app->editorPath);
    CopyText(s_opt->browserPath, sizeof s_opt->browserPath, g_app->browserPath);
    s_opt->hotKey = g_app->hotKey;
    s_opt->historySize = g_app->historySize;
    s_opt->historyMemoryOnly = g_app->historyMemoryOnly;
    s_opt->historyAtTop = g_app->historyAtTop;
    CopyText(s_opt->historyExclude, sizeof s_opt->historyExclude, g_app->historyExclude);
    BOOL ok = DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(IDD_OPTIONS), owner,
                              OptionsDialogProc, 0) == IDOK;
    if (ok) {
        memcpy(g_app->options, s_opt->options, sizeof g_app->options);
        CopyText(g_app->excludedExt, sizeof g_app->excludedExt, s_opt->excludedExt);
        CopyText(g_app->editorPath, sizeof g_app->editorPath, s_opt->editorPath);
        CopyText(g_app->browserPath, sizeof g_app->browserPath, s_opt->browserPath);
        g_app->hotKey = s_opt->hotKey;
        g_app->historySize = s_opt->historySize;
        g_app->historyMemoryOnly = s_opt->historyMemoryOnly;
        g_app->historyAtTop = s_opt->historyAtTop;
        CopyText(g_app->historyExclude, sizeof g_app->historyExclude, s_opt->historyExclude);
        SaveSettings(owner);
        ApplyHotKey(owner);
        ApplyHistoryOptions();
    }
    if (s_opt->pageKeys)
        UnhookWindowsHookEx(s_opt->pageKeys);
    free(s_opt);
    s_opt = NULL;
    ResumeMainDropTarget();
    return ok;
}
