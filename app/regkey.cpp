#include "regkey.h"

#include <cstdlib>
#include <cstring>

#include "../store/textbuf.h"

RegKey::RegKey(const char* basePath, const char* subPath, bool openExisting) : key(NULL)
{
    char path[kPathCap];
    bool fits = (subPath && subPath[0]) ? JoinPath(path, sizeof path, basePath, subPath)
                                        : CopyText(path, sizeof path, basePath);
    if (fits)
        key = Open(HKEY_CURRENT_USER, path, openExisting);
}

RegKey::~RegKey()
{
    Close();
}

HKEY RegKey::Open(HKEY root, const char* path, bool openExisting)
{
    HKEY opened = NULL;
    LONG rc;
    if (openExisting)
        rc = RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &opened);
    else
        rc = RegCreateKeyExA(root, path, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL,
                             &opened, NULL);
    return rc == ERROR_SUCCESS ? opened : NULL;
}

void RegKey::Close()
{
    if (key)
        RegCloseKey(key);
    key = NULL;
}

bool RegKey::WriteString(const char* name, const char* text, bool emptyWhenNull)
{
    if (!key || (!text && !emptyWhenNull))
        return false;
    if (!text)
        text = "";
    DWORD size = (DWORD)strlen(text) + 1;
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, size) == ERROR_SUCCESS;
}

int RegKey::ReadString(const char* name, char* dst, int cap)
{
    if (!dst || cap <= 0)
        return 0;
    dst[0] = '\0';
    DWORD size = 0;
    if (!key || RegQueryValueExA(key, name, NULL, NULL, NULL, &size) != ERROR_SUCCESS || size == 0)
        return 0;
    // One byte more than stored, so a value saved without its terminator
    // still ends inside the buffer.
    char* whole = (char*)calloc((size_t)size + 1, 1);
    if (!whole)
        return 0;
    DWORD got = size;
    int length = 0;
    if (RegQueryValueExA(key, name, NULL, NULL, (BYTE*)whole, &got) == ERROR_SUCCESS) {
        CopyText(dst, (size_t)cap, whole);
        length = (int)strlen(dst);
    }
    free(whole);
    return length;
}

bool RegKey::WriteDword(const char* name, DWORD value)
{
    return key && RegSetValueExA(key, name, 0, REG_DWORD, (const BYTE*)&value, sizeof value) ==
                      ERROR_SUCCESS;
}

DWORD RegKey::ReadDword(const char* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!key || RegQueryValueExA(key, name, NULL, NULL, (BYTE*)&value, &size) != ERROR_SUCCESS)
        return 0;
    return value;
}

bool RegKey::WriteBinary(const char* name, const void* data, DWORD size)
{
    return key && RegSetValueExA(key, name, 0, REG_BINARY, (const BYTE*)data, size) ==
                      ERROR_SUCCESS;
}

bool RegKey::ReadBinary(const char* name, void* dst, DWORD size, bool keepHead)
{
    DWORD stored = 0;
    if (!key || !dst || RegQueryValueExA(key, name, NULL, NULL, NULL, &stored) != ERROR_SUCCESS)
        return false;
    if (stored > size && !keepHead)
        return false;
    // A failed read may leave any bytes behind, so the caller's buffer is
    // touched only when the whole value was read.
    BYTE* data = (BYTE*)malloc(stored ? stored : 1);
    if (!data)
        return false;
    DWORD got = stored;
    bool ok = RegQueryValueExA(key, name, NULL, NULL, data, &got) == ERROR_SUCCESS && got <= stored;
    if (ok)
        memcpy(dst, data, got < size ? got : size);
    free(data);
    return ok;
}

bool RegKey::DeleteSubKey(const char* name)
{
    return key && RegDeleteKeyA(key, name) == ERROR_SUCCESS;
}
