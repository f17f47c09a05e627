// The attributes dialog: the four attribute check boxes of the selected
// row's file or folder, written back as checked.
#ifndef ZORIVEN_ATTRIBUTES_H
#define ZORIVEN_ATTRIBUTES_H

#include "../app/winver.h"

#include <shellapi.h>

// True when the attributes were written.
BOOL ChangeAttributes(HWND owner);

// The shell call behind "プロパティ(&P)..."; tests record the call here.
// The seams take the program's text; their defaults make the wide calls.
typedef BOOL(WINAPI* ShellExecuteExFn)(SHELLEXECUTEINFOA*);
extern ShellExecuteExFn g_shellExecuteEx;

// The attribute reads and writes; tests stand in for a file system that
// keeps every attribute bit, which Wine's does not.
typedef DWORD(WINAPI* GetFileAttributesFn)(LPCSTR);
typedef BOOL(WINAPI* SetFileAttributesFn)(LPCSTR, DWORD);
extern GetFileAttributesFn g_getFileAttributes;
extern SetFileAttributesFn g_setFileAttributes;

#endif
