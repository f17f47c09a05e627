#include "itemfile.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "../app/state.h"
#include "../app/ui.h"
#include "itemtext.h"
#include "safewrite.h"

BOOL IsExcludedExtension(const char* name)
{
    return g_app->options[ExcludeExt] && ExtensionInList(name, g_app->excludedExt);
}

// Reads entries until the file or the 32 slots run out; -1 when the file
// could not be read to its end or memory ran out.
static int ReadEntries(HANDLE file, Entry* entries)
{
    LineReader reader;
    ItemParse parse;
    char line[kLineCap];
    InitLineReader(&reader, ReadFromHandle, file);
    InitItemParse(&parse);
    int count = 0;
    while (count < kMaxEntries && ReadTextLine(&reader, line, sizeof line)) {
        if (!TakeItemLine(&parse, line))
            continue;
        entries[count].key = CopyString(parse.key);
        entries[count].value = CopyString(parse.value);
        ++count;
        if (!entries[count - 1].key || !entries[count - 1].value) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            FreeEntries(count, entries);
            return -1;
        }
    }
    if (reader.failed) {
        FreeEntries(count, entries);
        return -1;
    }
    return count;
}

// The box, or the code handed back to a caller that gathers failures.
static int ReadFailed(DWORD code, DWORD* error)
{
    if (error)
        *error = code;
    else
        ShowSystemError(code);
    return -1;
}

int ReadItemPath(const char* path, Entry entries[kMaxEntries], DWORD* error)
{
    if (error)
        *error = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return ReadFailed(GetLastError(), error);
    // An item read only in part must not become a row: rewriting it later
    // would drop the rest of the user's text.
    int count = ReadEntries(file, entries);
    DWORD code = GetLastError();
    CloseHandle(file);
    return count < 0 ? ReadFailed(code, error) : count;
}

int ReadItemFile(const char* name, Entry entries[kMaxEntries], DWORD* error)
{
    if (error)
        *error = 0;
    if (!name || !name[0] || IsExcludedExtension(name))
        return 0;
    char path[kPathCap];
    if (!JoinPath(path, sizeof path, g_app->currentFolder, name)) {
        ReadFailed(ERROR_FILENAME_EXCED_RANGE, error);
        return 0;
    }
    int count = ReadItemPath(path, entries, error);
    return count < 0 ? 0 : count;
}

BOOL WriteItemFile(const char* path, int count, const Entry* entries)
{
    if (!path || !path[0] || count <= 0 || count > kMaxEntries || !entries)
        return FALSE;
    // Everything is checked and formatted before the file is touched.
    std::string content;
    bool shortcut = IsShortcutName(path);
    for (int i = 0; i < count; ++i)
        if (!AppendItemEntry(&content, entries[i].key, entries[i].value, shortcut))
            return ShowSystemError(ERROR_INSUFFICIENT_BUFFER);
    if (strlen(path) >= kPathCap)
        return ShowSystemError(ERROR_FILENAME_EXCED_RANGE);

    DWORD attributes = GetFileAttributesA(path);
    BOOL existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (!existed && GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND)
        return ShowErrorBox(-1, NULL);
    // A read-only, hidden or system item can be replaced only as normal.
    if (existed && !SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL))
        return ShowErrorBox(-1, NULL);
    BOOL written = ReplaceFileBytes(path, content.data(), (DWORD)content.size());
    if (existed && attributes != 0)
        SetFileAttributesA(path, attributes);
    return written;
}
