#include "ui.h"

#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>
#include <cstring>

#include "../res/resource.h"
#include "../store/itemtext.h"
#include "../store/paths.h"
#include "placement.h"
#include "state.h"

enum { kMessageCap = 520, kStringCap = 260, kHelpDisplayTopic = 0, kHelpContext = 0x0F };

// The system's text for code, or the program's own for one of its codes.
// WinINet keeps the texts of its own errors (a server that cannot be
// reached) in its module, not in the system's table.
static void SystemMessage(DWORD code, char* out, size_t cap)
{
    const DWORD flags = FORMAT_MESSAGE_IGNORE_INSERTS;
    if (IsOwnErrorCode(code) && LoadStringA(g_hInstance, LOWORD(code), out, (int)cap) > 0)
        return;
    if (FormatMessageA(flags | FORMAT_MESSAGE_FROM_SYSTEM, NULL, code, 0, out, (DWORD)cap, NULL))
        return;
    HMODULE wininet = code >= INTERNET_ERROR_BASE && code <= INTERNET_ERROR_BASE + 999
                          ? GetModuleHandleA("wininet.dll")
                          : NULL;
    if (wininet &&
        FormatMessageA(flags | FORMAT_MESSAGE_FROM_HMODULE, wininet, code, 0, out, (DWORD)cap, NULL))
        return;
    FormatText(out, cap, "Unknown Error. (%lu)", (unsigned long)code);
}

static int ShowErrorText(const char* text)
{
    MessageBeep(0);
    MessageBoxA(NULL, text, NULL, MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    return 0;
}

int ShowErrorBox(int stringId, const char* text)
{
    char message[kMessageCap];
    if (text && text[0]) {
        CopyText(message, sizeof message, text);
    } else if (stringId == -1) {
        SystemMessage(GetLastError(), message, sizeof message);
    } else if (LoadStringA(g_hInstance, (UINT)stringId, message, kStringCap) <= 0) {
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
    LoadStringA(g_hInstance, (UINT)stringId, message, kStringCap * 2);
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
    LoadStringA(g_hInstance, (UINT)stringId, list, kStringCap);
    LoadStringA(g_hInstance, IDS_MORE_NAMES, format, sizeof format);
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
    if (LoadStringA(g_hInstance, stringId, pattern, sizeof pattern) <= 0 &&
        (!fallback || !CopyText(pattern, sizeof pattern, fallback)))
        return false;
    FormatGrouped(a, sizeof a, first);
    FormatGrouped(b, sizeof b, second);
    return FormatText(out, cap, pattern, a, b);
}

void ServeUntilStopped(HWND dialog, BOOL* stop)
{
    MSG msg;
    while (!*stop && PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            *stop = TRUE;
        } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            *stop = TRUE;
        } else if (!dialog || !IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

int AskYesNo(HWND owner, int stringId, UINT icon, const char* first, const char* second)
{
    char format[kStringCap * 2] = "";
    char caption[kStringCap] = "";
    // Room for the question and two whole paths: a name is never cut away.
    char message[kStringCap * 2 + kPathCap * 4];
    LoadStringA(g_hInstance, (UINT)stringId, format, sizeof format);
    LoadStringA(g_hInstance, IDS_CONFIRM, caption, sizeof caption);
    if (!FormatText(message, sizeof message, format, first ? first : "", second ? second : ""))
        CopyText(message, sizeof message, format);
    return MessageBoxA(owner, message, caption, MB_YESNO | icon);
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
    HMODULE user = LoadLibraryA("USER32.DLL");
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

HtmlHelpProc g_htmlHelp;

void ShowHelp(int kind, DWORD topic)
{
    char file[kPathCap];
    HWND shown = NULL;
    // The help window lives in hhctrl, so the library stays loaded.
    if (!g_htmlHelp) {
        HMODULE module = LoadLibraryA("HHCTRL.OCX");
        if (module)
            g_htmlHelp = (HtmlHelpProc)(void*)GetProcAddress(module, "HtmlHelpA");
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
        LoadStringA(g_hInstance, IDS_HELP_NOT_SHOWN, format, sizeof format) > 0 &&
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
    char name[16];
    if (GetClassNameA(child, name, sizeof name) && lstrcmpiA(name, "static") == 0) {
        s_browseStatic = child;
        return FALSE;
    }
    return TRUE;
}

static int CALLBACK BrowseCallback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data)
{
    if (msg == BFFM_INITIALIZED) {
        char caption[32];
        if (s_browseCaption && LoadStringA(g_hInstance, (UINT)s_browseCaption, caption, sizeof caption) > 0)
            SetWindowTextA(dialog, caption);
        s_browseStatic = NULL;
        EnumChildWindows(dialog, FindStaticChild, 0);
        if (data)
            SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
        HWND reference = IsWindowVisible(s_browseOwner) ? s_browseOwner : g_hMainWnd;
        PlaceWindow(dialog, reference, 50, 70);
    } else if (msg == BFFM_SELCHANGED && s_browseStatic) {
        char path[MAX_PATH];
        if (SHGetPathFromIDListA((LPCITEMIDLIST)lParam, path))
            SetWindowTextA(s_browseStatic, path);
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
    char* displayName = (char*)allocator->Alloc(kPathCap);
    if (!displayName) {
        allocator->Release();
        return FALSE;
    }
    s_browseCaption = captionId;
    s_browseOwner = owner;

    BROWSEINFOA info;
    ZeroMemory(&info, sizeof info);
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = "Folder Name";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = (initial && initial[0]) ? (LPARAM)initial : 0;

    BOOL chosen = FALSE;
    LPITEMIDLIST list = SHBrowseForFolderA(&info);
    if (list) {
        char path[MAX_PATH];
        if (SHGetPathFromIDListA(list, path))
            chosen = CopyText(result, kPathCap, path);
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
    char path[MAX_PATH];
    BOOL found = SHGetPathFromIDListA(list, path) && CopyText(result, kPathCap, path);
    if (!found)
        result[0] = '\0';
    CoTaskMemFree(list);
    return found;
}

void OpenHomePage(HWND owner)
{
    char url[kStringCap];
    if (LoadStringA(g_hInstance, IDS_HOMEPAGE, url, sizeof url) <= 0)
        url[0] = '\0';
    HINSTANCE result = ShellExecuteA(owner, "open", url, NULL, NULL, SW_SHOW);
    if ((INT_PTR)result <= 32)
        ShowErrorBox(-1, NULL);
}
