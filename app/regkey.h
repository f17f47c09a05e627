// The one way the program reaches the registry: a key under
// HKEY_CURRENT_USER that is closed when the object goes out of scope.
#ifndef ZORIVEN_REGKEY_H
#define ZORIVEN_REGKEY_H

#include "winver.h"

#define REG_BASE_PATH "Software\\VEXO"

class RegKey {
public:
    // Opens (or, unless openExisting, creates) base\sub; sub may be null.
    RegKey(const char* basePath, const char* subPath, bool openExisting);
    virtual ~RegKey();
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    virtual HKEY Open(HKEY root, const char* path, bool openExisting);
    void Close();

    bool WriteString(const char* name, const char* text, bool emptyWhenNull = true);
    // Length of what dst now holds; 0 when missing, empty or unreadable.
    // A longer value is cut to cap - 1 bytes (never inside a character).
    int ReadString(const char* name, char* dst, int cap);
    bool WriteDword(const char* name, DWORD value);
    DWORD ReadDword(const char* name);
    bool WriteBinary(const char* name, const void* data, DWORD size);
    // Fails when the stored value is longer than size, unless keepHead,
    // when its first size bytes are taken; a shorter one fills only its
    // own bytes.
    bool ReadBinary(const char* name, void* dst, DWORD size, bool keepHead = false);
    bool DeleteSubKey(const char* name);

    HKEY key;
};

#endif
