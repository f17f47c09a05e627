#include "regkey.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "../store/textbuf.h"
#include "wide.h"

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
    std::wstring wide = Widen(path);
    if (openExisting)
        rc = RegOpenKeyExW(root, wide.c_str(), 0, KEY_ALL_ACCESS, &opened);
    else
        rc = RegCreateKeyExW(root, wide.c_str(), 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                             NULL, &opened, NULL);
    return rc == ERROR_SUCCESS ? opened : NULL;
}

void RegKey::Close()
{
    if (key)
        RegCloseKey(key);
    key = NULL;
}

static bool IsTextType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// A value's type and bytes as stored; false when it is missing or cannot
// be read.
static bool QueryValue(HKEY key, const char* name, DWORD* type, std::vector<BYTE>* data)
{
    std::wstring wideName = Widen(name);
    DWORD size = 0;
    if (!key || RegQueryValueExW(key, wideName.c_str(), NULL, type, NULL, &size) != ERROR_SUCCESS)
        return false;
    data->assign((size_t)size + sizeof(WCHAR), 0);
    DWORD got = size;
    if (RegQueryValueExW(key, wideName.c_str(), NULL, type, data->data(), &got) != ERROR_SUCCESS ||
        got > size)
        return false;
    data->resize(got);
    return true;
}

// The bytes a value gives the program: a text value's every unit as
// program text, its terminators kept, so a text stored where bytes belong
// reads as it always has; any other value as stored.
static bool QueryBytes(HKEY key, const char* name, std::vector<BYTE>* data)
{
    DWORD type = REG_NONE;
    if (!QueryValue(key, name, &type, data))
        return false;
    if (IsTextType(type)) {
        std::string text = Narrow((const wchar_t*)data->data(), (int)(data->size() / sizeof(WCHAR)));
        data->assign(text.begin(), text.end());
    }
    return true;
}

bool RegKey::WriteString(const char* name, const char* text, bool emptyWhenNull)
{
    if (!key || (!text && !emptyWhenNull))
        return false;
    std::wstring wide = Widen(text ? text : "");
    DWORD size = (DWORD)((wide.size() + 1) * sizeof(WCHAR));
    return RegSetValueExW(key, Widen(name).c_str(), 0, REG_SZ, (const BYTE*)wide.c_str(), size) ==
           ERROR_SUCCESS;
}

int RegKey::ReadString(const char* name, char* dst, int cap)
{
    if (!dst || cap <= 0)
        return 0;
    dst[0] = '\0';
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (!QueryValue(key, name, &type, &data) || data.empty())
        return 0;
    if (IsTextType(type)) {
        // The text ends at its first terminator, or at the end of a value
        // saved without one.
        const wchar_t* wide = (const wchar_t*)data.data();
        size_t units = data.size() / sizeof(WCHAR), length = 0;
        while (length < units && wide[length])
            ++length;
        FromWideCut(wide, (int)length, dst, (size_t)cap);
    } else {
        // Bytes where text belongs were written by an ANSI program: code
        // page 932 text.
        data.push_back(0);
        std::string text = StoredToProgram((const char*)data.data(), strlen((const char*)data.data()), 0);
        CopyText(dst, (size_t)cap, text.c_str());
    }
    return (int)strlen(dst);
}

bool RegKey::WriteDword(const char* name, DWORD value)
{
    return key && RegSetValueExW(key, Widen(name).c_str(), 0, REG_DWORD, (const BYTE*)&value,
                                 sizeof value) == ERROR_SUCCESS;
}

DWORD RegKey::ReadDword(const char* name)
{
    DWORD value = 0;
    return ReadBinary(name, &value, sizeof value) ? value : 0;
}

bool RegKey::WriteBinary(const char* name, const void* data, DWORD size)
{
    return key && RegSetValueExW(key, Widen(name).c_str(), 0, REG_BINARY, (const BYTE*)data,
                                 size) == ERROR_SUCCESS;
}

bool RegKey::ReadBinary(const char* name, void* dst, DWORD size, bool keepHead)
{
    // A failed read may leave any bytes behind, so the caller's buffer is
    // touched only when the whole value was read.
    std::vector<BYTE> data;
    if (!dst || !QueryBytes(key, name, &data) || (data.size() > size && !keepHead))
        return false;
    if (!data.empty())
        memcpy(dst, data.data(), data.size() < size ? data.size() : size);
    return true;
}

bool RegKey::DeleteSubKey(const char* name)
{
    return key && RegDeleteKeyW(key, Widen(name).c_str()) == ERROR_SUCCESS;
}
