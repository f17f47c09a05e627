#include "safewrite.h"

#include "../app/wide.h"

#include "../app/ui.h"
#include "pathtext.h"
#include "textbuf.h"

WriteFileFn g_writeFile = WriteFile;

static BOOL WriteAll(HANDLE file, const void* data, DWORD size)
{
    const char* p = (const char*)data;
    while (size > 0) {
        DWORD chunk = size < 65536 ? size : 65536;
        DWORD written = 0;
        if (!g_writeFile(file, p, chunk, &written, NULL))
            return FALSE;
        if (written != chunk) {
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        p += chunk;
        size -= chunk;
    }
    return TRUE;
}

// Removes the temporary file and gives the error that made it fail.
static DWORD Abandon(const wchar_t* temp)
{
    DWORD error = GetLastError();
    DeleteFileW(temp);
    return error ? error : ERROR_WRITE_FAULT;
}

// 0 when the bytes are in place, else the system's code.
static DWORD ReplaceBytes(const char* path, const void* data, DWORD size)
{
    char folder[kPathCap];
    wchar_t widePath[MAX_PATH], wideFolder[MAX_PATH];
    if (!path || strlen(path) >= kPathCap || !ToWide(path, widePath, MAX_PATH))
        return ERROR_FILENAME_EXCED_RANGE;
    if (ParentPath(path, folder, sizeof folder) < 0)
        CopyText(folder, sizeof folder, ".");

    // GetTempFileName creates the file, so two writers never share one.
    wchar_t temp[MAX_PATH + 1];
    if (!ToWide(folder, wideFolder, MAX_PATH) || wcslen(wideFolder) > MAX_PATH - 14)
        return ERROR_FILENAME_EXCED_RANGE;
    if (!GetTempFileNameW(wideFolder, L"~zv", 0, temp))
        return GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    HANDLE file = CreateFileW(temp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              NULL);
    if (file == INVALID_HANDLE_VALUE)
        return Abandon(temp);
    if (!WriteAll(file, data, size) || !FlushFileBuffers(file)) {
        DWORD error = GetLastError();
        CloseHandle(file);
        SetLastError(error);
        return Abandon(temp);
    }
    if (!CloseHandle(file))
        return Abandon(temp);
    if (!MoveFileExW(temp, widePath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Abandon(temp);
    return 0;
}

BOOL ReplaceFileBytes(const char* path, const void* data, DWORD size)
{
    DWORD error = ReplaceBytes(path, data, size);
    return error ? ShowSystemError(error) : TRUE;
}

BOOL ReplaceFileBytesQuietly(const char* path, const void* data, DWORD size)
{
    DWORD error = ReplaceBytes(path, data, size);
    SetLastError(error);
    return error == 0;
}

long ReadFromHandle(void* source, char* buffer, long capacity)
{
    DWORD got = 0;
    if (!ReadFile((HANDLE)source, buffer, (DWORD)capacity, &got, NULL))
        return -1;
    return (long)got;
}
