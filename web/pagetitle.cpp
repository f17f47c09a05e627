#include "pagetitle.h"

#include <wininet.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "../store/itemtext.h"
#include "titletext.h"

enum {
    kReadChunk = 250,
    kContentTypeCap = 256,
    kWarmUpTitleCap = 250
};

DWORD g_fetchTimeoutMs = 10000;

// One code page 932 character as UTF-8, through the system's table; none
// for bytes the code page has no character for.
static size_t SjisCharToProgramText(const char* bytes, size_t length, char* out)
{
    std::string utf8;
    if (!Cp932ToUtf8(bytes, length, &utf8) || utf8.empty() || utf8.size() > 4)
        return 0;
    memcpy(out, utf8.data(), utf8.size());
    return utf8.size();
}

static void SetTimeouts(HINTERNET handle)
{
    DWORD ms = g_fetchTimeoutMs;
    InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &ms, sizeof ms);
    InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &ms, sizeof ms);
    InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &ms, sizeof ms);
}

// HTTP and HTTPS go through a connection of their own: not every WinINet
// passes the session's send and receive timeouts down to the request that
// InternetOpenUrl makes, and a server that accepts and never answers would
// hold the window for minutes.
static HINTERNET OpenHttpRequest(HINTERNET session, const char* url, HINTERNET* connection)
{
    // Lengths in units; a part that does not fit fails the crack, and the
    // path with its query must fit whole.
    wchar_t host[kPathCap], user[kPathCap], password[kPathCap], path[kTextCap], extra[kTextCap];
    URL_COMPONENTSW parts;
    ZeroMemory(&parts, sizeof parts);
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = kPathCap;
    parts.lpszUserName = user;
    parts.dwUserNameLength = kPathCap;
    parts.lpszPassword = password;
    parts.dwPasswordLength = kPathCap;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = kTextCap;
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = kTextCap;
    std::wstring wideUrl = Widen(url);
    size_t pathUnits = 0, extraUnits = 0;
    bool cracked = InternetCrackUrlW(wideUrl.c_str(), 0, 0, &parts);
    if (cracked) {
        pathUnits = wcsnlen(path, kTextCap);
        extraUnits = wcsnlen(extra, kTextCap);
    }
    if (!cracked || pathUnits + extraUnits >= kTextCap) {
        SetLastError(ERROR_INTERNET_INVALID_URL);
        return NULL;
    }
    wmemcpy(path + pathUnits, extra, extraUnits);
    path[pathUnits + extraUnits] = L'\0';
    *connection = InternetConnectW(session, host, parts.nPort, user[0] ? user : NULL,
                                   password[0] ? password : NULL, INTERNET_SERVICE_HTTP, 0, 0);
    if (!*connection)
        return NULL;
    SetTimeouts(*connection);
    DWORD flags = INTERNET_FLAG_RELOAD;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS)
        flags |= INTERNET_FLAG_SECURE;
    HINTERNET request = HttpOpenRequestW(*connection, L"GET", path[0] ? path : L"/", NULL, NULL,
                                         NULL, flags, 0);
    if (!request)
        return NULL;
    SetTimeouts(request);
    if (HttpSendRequestW(request, NULL, 0, NULL, 0))
        return request;
    DWORD error = GetLastError();
    InternetCloseHandle(request);
    SetLastError(error);
    return NULL;
}

static bool IsHttpUrl(const char* url)
{
    return _strnicmp(url, "http://", 7) == 0 || _strnicmp(url, "https://", 8) == 0;
}

static HINTERNET OpenPage(HINTERNET session, const char* url, HINTERNET* connection)
{
    SetTimeouts(session);
    if (IsHttpUrl(url))
        return OpenHttpRequest(session, url, connection);
    return InternetOpenUrlW(session, Widen(url).c_str(), NULL, 0, INTERNET_FLAG_RELOAD, 0);
}

// An error page's title ("404 Not Found") is no name for the user's link.
// Other schemes have no status: their pages count.
static bool StatusAllowsTitle(HINTERNET request)
{
    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        NULL))
        return true;
    return status >= 200 && status <= 299;
}

static int HeaderCharset(HINTERNET request)
{
    // The size is in bytes, both ways; a header too long for the buffer is
    // no charset.
    wchar_t wide[kContentTypeCap];
    DWORD size = sizeof wide - sizeof wide[0];
    char type[kContentTypeCap];
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_TYPE, wide, &size, NULL) ||
        !FromWide(wide, (int)wcsnlen(wide, size / sizeof wide[0]), type, sizeof type))
        return kCharsetUnknown;
    return CharsetOfContentType(type);
}

// The page's first bytes, at most kPageCap - 1. A read that fails ends the
// download; what came before it is still searched.
static void ReadPage(HINTERNET request, char* page)
{
    size_t length = 0;
    char chunk[kReadChunk + 6];
    DWORD got = 0;
    while (length < kPageCap - 1 && InternetReadFile(request, chunk, kReadChunk, &got) && got) {
        chunk[got] = '\0';
        // Appended as text: a zero byte ends the chunk.
        size_t piece = strlen(chunk);
        if (piece > kPageCap - 1 - length)
            piece = kPageCap - 1 - length;
        memcpy(page + length, chunk, piece);
        length += piece;
    }
    page[length] = '\0';
}

// The title of a fetched page as program text, entities decoded.
static void TakeTitle(char* page, int headerCharset, char* title)
{
    TitleAsProgramText(page, title, kPageCap, headerCharset, SjisCharToProgramText);
}

BOOL DownloadTitle(const char* url, char* out, size_t size, BOOL showErrors)
{
    if (!out || !size)
        return FALSE;
    out[0] = '\0';
    char* page = (char*)calloc(kPageCap, 1);
    char* title = (char*)calloc(kPageCap, 1);
    if (!page || !title) {
        free(page);
        free(title);
        return FALSE;
    }
    HCURSOR previous = SetCursor(LoadCursorW(NULL, (LPCWSTR)IDC_WAIT));
    HINTERNET request = NULL, connection = NULL;
    HINTERNET session =
        InternetOpenW(Widen(PRODUCT_NAME).c_str(), INTERNET_OPEN_TYPE_PRECONFIG, NULL, NULL, 0);
    if (session)
        request = OpenPage(session, url ? url : "", &connection);
    if (!request) {
        if (showErrors)
            ShowErrorBox(-1, NULL);
    } else if (StatusAllowsTitle(request)) {
        int charset = HeaderCharset(request);
        ReadPage(request, page);
        TakeTitle(page, charset, title);
        CopyText(out, size, title);
    }
    if (request)
        InternetCloseHandle(request);
    if (connection)
        InternetCloseHandle(connection);
    if (session)
        InternetCloseHandle(session);
    free(page);
    free(title);
    SetCursor(previous);
    return out[0] != '\0';
}

BOOL FetchPageTitle(const char* url, char* out, size_t size, BOOL showErrors)
{
    if (!out || !size)
        return FALSE;
    out[0] = '\0';
    if (!DownloadTitle(url, out, size, showErrors))
        return FALSE;
    CleanTitle(out);
    TrimLineEnd(out);
    return out[0] != '\0';
}

char* NameForUrl(const char* url, char* out, size_t size)
{
    if (!url || !url[0] || !out || !size)
        return nullptr;
    out[0] = '\0';
    // Text without a scheme names no page: fetching it would only bring an
    // error box.
    if (!strstr(url, "://"))
        return nullptr;
    if (g_app && g_app->options[AutoTitle] && FetchPageTitle(url, out, size, TRUE))
        return out;
    return UrlHostPart(url, out, size) ? out : nullptr;
}

DWORD WINAPI WarmUpFetch(LPVOID)
{
    std::string url = LoadTextString(IDS_HOMEPAGE);
    char title[kWarmUpTitleCap];
    if (!url.empty())
        FetchPageTitle(url.c_str(), title, sizeof title, FALSE);
    return 0;
}

HANDLE StartWarmUpFetch()
{
    DWORD id;
    HANDLE thread = CreateThread(NULL, 0, WarmUpFetch, NULL, 0, &id);
    if (thread)
        SetThreadPriority(thread, THREAD_PRIORITY_LOWEST);
    return thread;
}
