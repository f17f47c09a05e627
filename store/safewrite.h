// Replacing a file's content so that a crash or a failing disk never
// leaves it half written.
#ifndef ZORIVEN_SAFEWRITE_H
#define ZORIVEN_SAFEWRITE_H

#include "../app/winver.h"

// Writes data to a temporary file in the path's folder and, only when every
// byte reached the disk, puts it in place of the file at path. On failure
// the file at path is untouched, the error box has been shown and the
// result is false.
BOOL ReplaceFileBytes(const char* path, const void* data, DWORD size);
// The same without the box, for files the program can do without or whose
// caller names them itself; GetLastError() then says why.
BOOL ReplaceFileBytesQuietly(const char* path, const void* data, DWORD size);

// The write call ReplaceFileBytes uses; tests put a failing one here.
typedef BOOL(WINAPI* WriteFileFn)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
extern WriteFileFn g_writeFile;

// A LineReader source over an open file handle: bytes read, 0 at the end,
// -1 on a read error.
long ReadFromHandle(void* source, char* buffer, long capacity);

#endif
