// Handing a URL to a running browser: typed into the address bar of an
// Internet Explorer, Netscape or NAVIX window, or given to a newly started
// browser program, or else opened through the system's association.
#ifndef ZORIVEN_BROWSER_H
#define ZORIVEN_BROWSER_H

#include "../app/winver.h"

// Hands url to a browser, its characters outside ASCII percent-encoded as
// UTF-8; reports nothing (no message anywhere).
void NotifyBrowser(HWND owner, const char* url);

// Every character of url converts to code page 932 exactly (both ways).
bool UrlFitsCp932(const char* url);
// url in the form an Internet Shortcut (code page 932) holds: unchanged
// when code page 932 holds it, else with the characters it cannot hold
// percent-encoded as UTF-8. False (out empty) when the result does not
// fit out[0..cap).
bool ShortcutUrl(const char* url, char* out, size_t cap);

// With BrowserNew on and a Browser setting, starts "<Browser> <url>"; true
// when the process started.
BOOL OpenInNewBrowser(const char* url);

// First visible top-level window for which GetParent gives none (an owned
// window counts as parented only when it is a pop-up), front to back, whose
// title (first 259 UTF-16 units) contains title as program text. It becomes
// the browser window of this notification.
HWND FindTopWindowByTitle(const char* title);

// First direct child whose class name is className (exactly, with case)
// and, with withChildren, that has a child of its own.
HWND FindChildByClass(HWND window, const char* className, BOOL withChildren);

// The Netscape search for the "#32770" frame through "Afx:" windows; the
// frame found is recorded for the rest of the notification. Only a frame
// recorded before or among window's own children is returned; one found
// further down is only recorded, and FindNetscapeAddressBar uses the record.
HWND FindDialogFrame(HWND window);

HWND FindIeAddressBar();
HWND FindNetscapeAddressBar();
HWND FindNavixAddressBar();

// Sets edit's text to url in another thread's window and presses Enter
// there; false for a window of the calling thread or when the input
// cannot be attached.
BOOL SendToAddressBar(HWND edit, const char* url);

// The system's association; tests record the call here.
typedef HINSTANCE(WINAPI* ShellExecuteFn)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
extern ShellExecuteFn g_shellExecute;

#endif
