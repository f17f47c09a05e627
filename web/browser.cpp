#include "browser.h"

#include <cstring>
#include <string>
#include <vector>

#include "../app/state.h"
#include "../app/wide.h"
#include "../ops/launch.h"
#include "../store/chars.h"
#include "../store/textbuf.h"
#include "urltext.h"

// The association through the wide call; the hook keeps the program's text.
static HINSTANCE WINAPI OpenByAssociation(HWND owner, LPCSTR verb, LPCSTR file,
                                          LPCSTR parameters, LPCSTR directory, INT show)
{
    std::wstring wideVerb = Widen(verb), wideFile = Widen(file), wideParameters = Widen(parameters),
                 wideDirectory = Widen(directory);
    return ShellExecuteW(owner, verb ? wideVerb.c_str() : NULL, file ? wideFile.c_str() : NULL,
                         parameters ? wideParameters.c_str() : NULL,
                         directory ? wideDirectory.c_str() : NULL, show);
}

ShellExecuteFn g_shellExecute = OpenByAssociation;

// Found by one search and used by its later steps; cleared before each.
static HWND s_browserWindow;
static HWND s_dialogFrame;

static void ClearSearch()
{
    s_browserWindow = NULL;
    s_dialogFrame = NULL;
}

// A name that does not fit is refused, not cut into a shorter one that
// might match.
static void ReadClassName(HWND window, char* name)
{
    wchar_t wide[kPathCap];
    int units = GetClassNameW(window, wide, kPathCap);
    if (units <= 0 || !FromWide(wide, units, name, kPathCap))
        name[0] = '\0';
}

BOOL OpenInNewBrowser(const char* url)
{
    if (!g_app->options[BrowserNew] || !g_app->browserPath[0])
        return FALSE;
    // Silent: a browser that will not start gives way to the search.
    return LaunchProgram(g_app->browserPath, url, SW_SHOWDEFAULT, FALSE);
}

struct TitleSearch {
    const char* title;
    HWND found;
};

static BOOL CALLBACK MatchTitle(HWND window, LPARAM param)
{
    TitleSearch* search = (TitleSearch*)param;
    if (!IsWindowVisible(window) || GetParent(window))
        return TRUE;
    // The first 259 characters, whatever bytes they take.
    wchar_t wide[kPathUnits];
    int units = GetWindowTextW(window, wide, kPathUnits);
    if (units <= 0 || !FindInString(Narrow(wide, units).c_str(), search->title))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindTopWindowByTitle(const char* title)
{
    TitleSearch search = {title, NULL};
    EnumWindows(MatchTitle, (LPARAM)&search);
    s_browserWindow = search.found;
    return search.found;
}

HWND FindChildByClass(HWND window, const char* className, BOOL withChildren)
{
    char name[kPathCap];
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ReadClassName(child, name);
        if (strcmp(name, className) == 0 && (!withChildren || GetWindow(child, GW_CHILD)))
            return child;
    }
    return NULL;
}

HWND FindDialogFrame(HWND window)
{
    if (s_dialogFrame)
        return s_dialogFrame;
    char name[kPathCap];
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ReadClassName(child, name);
        if (strncmp(name, "#32770", 6) == 0) {
            s_dialogFrame = child;
            return child;
        }
        // A frame found down here stays recorded; a later sibling frame
        // at this level still replaces it.
        if (FindInString(name, "Afx:") && GetWindow(child, GW_CHILD))
            FindDialogFrame(child);
    }
    return NULL;
}

// Each step's window must exist for the next one to be looked for.
static HWND FollowPath(HWND window, const char* const* classes, int count)
{
    for (int i = 0; window && i < count; ++i)
        window = FindChildByClass(window, classes[i], i + 1 < count);
    return window;
}

HWND FindIeAddressBar()
{
    ClearSearch();
    static const char* const path[] = {"WorkerA", "ReBarWindow32", "ComboBoxEx32", "ComboBox",
                                       "Edit"};
    return FollowPath(FindTopWindowByTitle("- Microsoft Internet Explorer"), path, 5);
}

HWND FindNetscapeAddressBar()
{
    ClearSearch();
    HWND top = FindTopWindowByTitle("- Netscape");
    if (!top)
        return NULL;
    FindDialogFrame(top);
    static const char* const path[] = {"ComboBox", "Edit"};
    return FollowPath(s_dialogFrame, path, 2);
}

HWND FindNavixAddressBar()
{
    ClearSearch();
    static const char* const path[] = {"ThunderRT6ComboBox", "Edit"};
    return FollowPath(FindTopWindowByTitle("- NAVIX"), path, 2);
}

BOOL SendToAddressBar(HWND edit, const char* url)
{
    DWORD target = GetWindowThreadProcessId(edit, NULL);
    DWORD self = GetCurrentThreadId();
    if (!target || target == self)
        return FALSE;
    // Shared input lets this thread set the focus in the browser's thread
    // and sends the synthesized key to it.
    if (!AttachThreadInput(target, self, TRUE))
        return FALSE;
    SendMessageW(edit, WM_SETTEXT, 0, (LPARAM)Widen(url).c_str());
    SetFocus(edit);
    keybd_event(VK_RETURN, 0, 0, 0);
    keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
    SetForegroundWindow(s_browserWindow);
    AttachThreadInput(target, self, FALSE);
    return TRUE;
}

bool UrlFitsCp932(const char* url)
{
    std::string bytes;
    return url && Utf8ToCp932(url, strlen(url), &bytes);
}

static bool Cp932HoldsChar(const char* bytes, size_t length)
{
    std::string converted;
    return Utf8ToCp932(bytes, length, &converted);
}

bool ShortcutUrl(const char* url, char* out, size_t cap)
{
    // A cut URL would be another address: one that does not fit is none.
    if (UrlFitsCp932(url)) {
        if (CopyText(out, cap, url))
            return true;
        if (out && cap)
            out[0] = '\0';
        return false;
    }
    return PercentEncodeUrl(url, out, cap, Cp932HoldsChar);
}

void NotifyBrowser(HWND owner, const char* text)
{
    if (!text || !text[0])
        return;
    // Every browser and the association take a URL in ASCII; three bytes
    // for each byte is room for any text.
    std::vector<char> encoded(strlen(text) * 3 + 1);
    if (!PercentEncodeUrl(text, encoded.data(), encoded.size()))
        return;
    const char* url = encoded.data();
    if (OpenInNewBrowser(url))
        return;
    // Once an address bar is found, its outcome ends the notification.
    HWND edit = FindIeAddressBar();
    if (!edit)
        edit = FindNetscapeAddressBar();
    if (!edit)
        edit = FindNavixAddressBar();
    if (edit) {
        SendToAddressBar(edit, url);
        return;
    }
    g_shellExecute(owner, "open", url, NULL, NULL, SW_SHOW);
}
