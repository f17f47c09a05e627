#include "ui.h"

#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>
#include <cstring>
#include <vector>

#include "../res/resource.h"
#include "../store/itemtext.h"
#include "../store/paths.h"
#include "placement.h"
#include "state.h"
#include "wide.h"

enum { kMessageCap = 520, kStringCap = 260, kHelpDisplayTopic = 0, kHelpContext = 0x0F };

// The system's text for code, or the program's own for one of its codes.
// WinINet keeps the texts of its own errors (a server that cannot be
// reached) in its module, not in the system's table.
static void SystemMessage(DWORD code, char* out, size_t cap)
{
    const DWORD flags = FORMAT_MESSAGE_IGNORE_INSERTS;
    if (IsOwnErrorCode(code) && LoadText(LOWORD(code), out, cap) > 0)
        return;
    // A text takes at least as many bytes as UTF-16 units: room for cap
    // units decides whether it fits.
    std::vector<WCHAR> wide(cap ? cap : 1);
    if (FormatMessageW(flags | FORMAT_MESSAGE_FROM_SYSTEM, NULL, code, 0, wide.data(),
                       (DWORD)wide.size(), NULL) &&
        FromWide(wide.data(), -1, out, cap))
        return;
    HMODULE wininet = code >= INTERNET_ERROR_BASE && code <= INTERNET_ERROR_BASE + 999
                          ? GetModuleHandleW(L"wininet.dll")
                          : NULL;
    if (wininet &&
        FormatMessageW(flags | FORMAT_MESSAGE_FROM_HMODULE, wininet, code, 0, wide.data(),
                       (DWORD)wide.size(), NULL) &&
        FromWide(wide.data(), -1, out, cap))
        return;
    FormatText(out, cap, "Unknown Error. (%lu)", (unsigned long)code);
}

static int ShowErrorText(const char* text)
{
    MessageBeep(0);
    MessageBoxW(NULL, Widen(text).c_str(), NULL, MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    return 0;
}

int ShowErrorBox(int stringId, const char* text)
{
    char message[kMessageCap];
    if (text && text[0]) {
        CopyText(message, sizeof message, text);
    } else if (stringId == -1) {
        SystemMessage(GetLastError(), message, sizeof message);
    } else if (LoadText((UINT)stringId, message, kStringCap) <= 0) {
        FormatText(message, sizeof message, "Unknown Error. (%lu)", (unsigned long)stringId);
    }
    return ShowErrorText(message);
}

int ShowSystemError(DWORD code)
{
    SetLastError(code);
    return ShowErrorBox(-1, NULL);
}

int ShowPathError(int stringId, const char* path, DWORD code)
{
    char message[kMessageCap] = "";
    char system[kStringCap * 2] = "";
    LoadText((UINT)stringId, message, kStringCap * 2);
    if (code)
        SystemMessage(code, system, sizeof system);
    // Cut pieces still end on a character boundary; the path comes first.
    AppendText(message, sizeof message, "\n\n");
    AppendText(message, sizeof message, path ? path : "");
    if (system[0]) {
        AppendText(message, sizeof message, "\n\n");
        AppendText(message, sizeof message, system);
    }
    return ShowErrorBox(0, message);
}

// A box taller than the screen would hide its own OK button.
enum { kShownNames = 10 };

int ShowNamesError(int stringId, int count, const char* const* names, const DWORD* codes)
{
    char list[kListCap] = "", more[kStringCap] = "", format[kStringCap] = "";
    LoadText((UINT)stringId, list, kStringCap);
    LoadText(IDS_MORE_NAMES, format, sizeof format);
    AppendText(list, sizeof list, "\n");
    int shown = 0;
    for (; shown < count && shown < kShownNames; ++shown) {
        char system[kStringCap] = "", line[kPathCap + kStringCap + 8];
        SystemMessage(codes[shown], system, sizeof system);
        TrimLineEnd(system);
        FormatText(line, sizeof line, "\n%s\n    %s", names[shown], system);
        // Room is kept for the closing line, so the count always shows.
        if (strlen(list) + strlen(line) + sizeof more >= sizeof list)
            break;
        AppendText(list, sizeof list, line);
    }
    if (shown < count) {
        FormatText(more, sizeof more, format, count - shown);
        AppendText(list, sizeof list, "\n\n");
        AppendText(list, sizeof list, more);
    }
    // The list is bounded by its own limit, longer than a message's.
    return ShowErrorText(list);
}

bool FormatCounts(char* out, size_t cap, int stringId, const char* fallback, int first,
                  int second)
{
    char pattern[kStringCap], a[16], b[16];
    if (LoadText((UINT)stringId, pattern, sizeof pattern) <= 0 &&
        (!fallback || !CopyText(pattern, sizeof pattern, fallback)))
        return false;
    FormatGrouped(a, sizeof a, first);
    FormatGrouped(b, sizeof b, second);
    return FormatText(out, cap, pattern, a, b);
}

void ServeUntilStopped(HWND dialog, BOOL* stop)
{
    MSG msg;
    while (!*stop && PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            *stop = TRUE;
        } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            *stop = TRUE;
        } else if (!dialog || !IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

int AskYesNo(HWND owner, int stringId, UINT icon, const char* first, const char* second)
{
    char format[kStringCap * 2] = "";
    char caption[kStringCap] = "";
    // Room for the question and two whole paths: a name is never cut away.
    char message[kStringCap * 2 + kPathCap * 4];
    LoadText((UINT)stringId, format, sizeof format);
    LoadText(IDS_CONFIRM, caption, sizeof caption);
    if (!FormatText(message, sizeof message, format, first ? first : "", second ? second : ""))
        CopyText(message, sizeof message, format);
    return MessageBoxW(owner, Widen(message).c_str(), Widen(caption).c_str(), MB_YESNO | icon);
}

int RefuseField(HWND dialog, int controlId)
{
    MessageBeep(0);
    SetFocus(GetDlgItem(dialog, controlId));
    return 0;
}

static PlaceRect OuterRect(HWND hwnd)
{
    RECT rc = {0, 0, 0, 0};
    GetWindowRect(hwnd, &rc);
    PlaceRect r = {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
    return r;
}

void PlaceWindow(HWND hwnd, HWND reference, int dx, int dy)
{
    if (!reference)
        reference = GetDesktopWindow();
    PlaceRect win = OuterRect(hwnd);
    PlaceRect ref = OuterRect(reference);
    int screenWidth = 0, screenHeight = 0;
    HDC dc = GetDC(hwnd);
    if (dc) {
        screenWidth = GetDeviceCaps(dc, HORZRES);
        screenHeight = GetDeviceCaps(dc, VERTRES);
        ReleaseDC(hwnd, dc);
    }
    int x, y;
    ComputePlacement(win, ref, dx, dy, screenWidth, screenHeight, &x, &y);
    SetWindowPos(hwnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

typedef BOOL(WINAPI* AnimateWindowProc)(HWND, DWORD, DWORD);

BOOL AnimateShow(HWND hwnd, BOOL show)
{
    HMODULE user = LoadLibraryW(L"USER32.DLL");
    if (!user)
        return FALSE;
    BOOL result = FALSE;
    AnimateWindowProc animate = (AnimateWindowProc)(void*)GetProcAddress(user, "AnimateWindow");
    if (animate)
        result = animate(hwnd, 250, AW_CENTER | (show ? AW_ACTIVATE : AW_HIDE));
    FreeLibrary(user);
    return result;
}

void CloseDialog(HWND dialog, INT_PTR result)
{
    AnimateShow(dialog, FALSE);
    EndDialog(dialog, result);
}

BOOL HelpFilePath(char* out, size_t cap)
{
    char folder[kPathCap];
    if (!ModuleFolder(folder, sizeof folder))
        return FALSE;
    return FormatText(out, cap, "%s\\%s.CHM", folder, PRODUCT_NAME);
}

typedef HWND(WINAPI* HtmlHelpWideProc)(HWND, LPCWSTR, UINT, DWORD_PTR);
static HtmlHelpWideProc s_htmlHelpWide;

// The viewer is given the file's name in UTF-16.
static HWND WINAPI HtmlHelpOfSystem(HWND caller, LPCSTR file, UINT command, DWORD_PTR data)
{
    return s_htmlHelpWide(caller, Widen(file).c_str(), command, data);
}

HtmlHelpProc g_htmlHelp;

void ShowHelp(int kind, DWORD topic)
{
    char file[kPathCap];
    HWND shown = NULL;
    // The help window lives in hhctrl, so the library stays loaded.
    if (!g_htmlHelp) {
        HMODULE module = LoadLibraryW(L"HHCTRL.OCX");
        if (module)
            s_htmlHelpWide = (HtmlHelpWideProc)(void*)GetProcAddress(module, "HtmlHelpW");
        if (s_htmlHelpWide)
            g_htmlHelp = HtmlHelpOfSystem;
    }
    BOOL named = HelpFilePath(file, sizeof file);
    if (g_htmlHelp && named) {
        if (kind == 0)
            shown = g_htmlHelp(GetDesktopWindow(), file, kHelpDisplayTopic, 0);
        else
            shown = g_htmlHelp(GetDesktopWindow(), file, kHelpContext, topic);
    }
    if (shown)
        return;
    // "File not found" only when it is so: when the viewer cannot open a
    // file that is there (damaged, or no working viewer), the user is told
    // which file, not sent looking for it.
    char format[kStringCap] = "", message[kMessageCap];
    if (named && PathExists(file, false) &&
        LoadText(IDS_HELP_NOT_SHOWN, format, sizeof format) > 0 &&
        FormatText(message, sizeof message, format, file))
        ShowErrorBox(0, message);
    else
        ShowSystemError(ERROR_FILE_NOT_FOUND);
}

// Live only while the browse dialog is open.
static int s_browseCaption;
static HWND s_browseOwner;
static HWND s_browseStatic;

static BOOL CALLBACK FindStaticChild(HWND child, LPARAM)
{
    WCHAR name[16];
    if (GetClassNameW(child, name, 16) && lstrcmpiW(name, L"static") == 0) {
        s_browseStatic = child;
        return FALSE;
    }
    return TRUE;
}

static int CALLBACK BrowseCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data)
{
    if (msg == BFFM_INITIALIZED) {
        char caption[32];
        if (s_browseCaption && LoadText((UINT)s_browseCaption, caption, sizeof caption) > 0)
            SetTextOf(dialog, caption);
        s_browseStatic = NULL;
        EnumChildWindows(dialog, FindStaticChild, 0);
        // data is the first folder, already in UTF-16.
        if (data)
            SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
        HWND reference = IsWindowVisible(s_browseOwner) ? s_browseOwner : g_hMainWnd;
        PlaceWindow(dialog, reference, 50, 70);
    } else if (msg == BFFM_SELCHANGED && s_browseStatic) {
        WCHAR path[MAX_PATH];
        if (SHGetPathFromIDListW((LPCITEMIDLIST)lParam, path))
            SetWindowTextW(s_browseStatic, path);
    }
    return 0;
}

BOOL BrowseForFolder(HWND owner, const char* initial, char* result, int captionId)
{
    if (!result)
        return FALSE;
    result[0] = '\0';
    IMalloc* allocator = NULL;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator)
        return FALSE;
    WCHAR* displayName = (WCHAR*)allocator->Alloc(MAX_PATH * sizeof(WCHAR));
    if (!displayName) {
        allocator->Release();
        return FALSE;
    }
    s_browseCaption = captionId;
    s_browseOwner = owner;

    std::wstring first = Widen(initial);
    BROWSEINFOW info;
    ZeroMemory(&info, sizeof info);
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = L"Folder Name";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = first.empty() ? 0 : (LPARAM)first.c_str();

    BOOL chosen = FALSE;
    LPITEMIDLIST list = SHBrowseForFolderW(&info);
    if (list) {
        // A folder cut to fit would be another one.
        WCHAR path[MAX_PATH];
        if (SHGetPathFromIDListW(list, path))
            chosen = FromWide(path, -1, result, kPathCap);
        if (!chosen)
            result[0] = '\0';
        allocator->Free(list);
    }
    allocator->Free(displayName);
    allocator->Release();
    s_browseCaption = 0;
    s_browseOwner = NULL;
    s_browseStatic = NULL;
    return chosen;
}

BOOL GetFavoritesFolder(HWND owner, char* result)
{
    if (!result)
        return FALSE;
    result[0] = '\0';
    LPITEMIDLIST list = NULL;
    if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_FAVORITES, &list)) || !list)
        return FALSE;
    WCHAR path[MAX_PATH];
    BOOL found = SHGetPathFromIDListW(list, path) && FromWide(path, -1, result, kPathCap);
    if (!found)
        result[0] = '\0';
    CoTaskMemFree(list);
    return found;
}

void OpenHomePage(HWND owner)
{
    char url[kStringCap];
    if (LoadText(IDS_HOMEPAGE, url, sizeof url) <= 0)
        url[0] = '\0';
    HINSTANCE result = ShellExecuteW(owner, L"open", Widen(url).c_str(), NULL, NULL, SW_SHOW);
    if ((INT_PTR)result <= 32)
        ShowErrorBox(-1, NULL);
}
