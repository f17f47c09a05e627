// The attributes dialog: the four attribute check boxes of the selected
// row's file or folder, written back as checked.
#ifndef ZORIVEN_ATTRIBUTES_H
#define ZORIVEN_ATTRIBUTES_H

#include "../app/winver.h"

// True when the attributes were written.
BOOL ChangeAttributes(HWND owner);

// The shell's properties of a path behind "プロパティ(&P)..."; tests record
// the call here. The seams take the program's text; their defaults make
// the wide calls.
typedef BOOL (*ShowPropertiesFn)(HWND owner, const char* path);
extern ShowPropertiesFn g_showProperties;

// The attribute reads and writes; tests stand in for a file system that
// keeps every attribute bit, which Wine's does not.
typedef DWORD (*GetFileAttributesFn)(const char* path);
typedef BOOL (*SetFileAttributesFn)(const char* path, DWORD attributes);
extern GetFileAttributesFn g_getFileAttributes;
extern SetFileAttributesFn g_setFileAttributes;

#endif
