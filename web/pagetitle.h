// Fetching the beginning of a web page for its title (WinINet), and the
// names proposed for a URL.
#ifndef ZORIVEN_PAGETITLE_H
#define ZORIVEN_PAGETITLE_H

#include <cstddef>

#include "../app/winver.h"

// Downloads the page's first 4,095 bytes and takes its title as program
// text (every character of the page's charset kept), without cleaning; a
// title longer than out is cut on a character. A page answered with an HTTP status
// other than 2xx has no title. With showErrors, a page that cannot be
// reached is reported in the error box. True when out is not empty.
BOOL DownloadTitle(const char* url, char* out, size_t size, BOOL showErrors);

// DownloadTitle, then the title cleaned into something a file name and a
// key can hold. True when a title is left.
BOOL FetchPageTitle(const char* url, char* out, size_t size, BOOL showErrors);

// The page's title when AutoTitle is on and one is found, otherwise the
// URL's host part; null when there is neither.
char* NameForUrl(const char* url, char* out, size_t size);

// The start-up fetch: a thread procedure that fetches the home page once at
// the lowest priority and discards what it gets.
DWORD WINAPI WarmUpFetch(LPVOID);
// Starts it; null when the thread could not be made.
HANDLE StartWarmUpFetch();

// Connect, send and receive each give up after this long, so a dead server
// cannot hold the window for minutes. Tests shorten it.
extern DWORD g_fetchTimeoutMs;

#endif
