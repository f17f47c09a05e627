#include "paths.h"

#include "../app/winver.h"

#include <cstring>
#include <string>

#include "../app/state.h"
#include "../app/wide.h"
#include "chars.h"
#include "pathtext.h"
#include "textbuf.h"

bool ModuleFolder(char* out, size_t cap)
{
    wchar_t wide[MAX_PATH];
    char file[kPathCap];
    if (out && cap)
        out[0] = '\0';
    DWORD n = GetModuleFileNameW(NULL, wide, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || !FromWide(wide, (int)n, file, sizeof file))
        return false;
    return ParentPath(file, out, cap) >= 0;
}

bool PathExists(const char* path, bool wantFolder)
{
    if (!path || !path[0] || HasWildcard(path))
        return false;
    size_t len = strlen(path);
    if (FindLastChar(path, '\\') == path + len - 1)
        return false;
    wchar_t wide[MAX_PATH];
    WIN32_FIND_DATAW found;
    if (!ToWide(path, wide, MAX_PATH))
        return false;
    HANDLE h = FindFirstFileW(wide, &found);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    FindClose(h);
    return !wantFolder || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool UniqueItemPathIn(const char* folder, char* out, size_t cap,
                      bool wantFolder, const char* base, const char* ext)
{
    if (!out || cap == 0 || !base || !base[0])
        return false;
    out[0] = '\0';
    char stem[kPathCap];
    if (!CopyText(stem, sizeof stem, base))
        return false;
    StripNumberSuffix(stem);
    // "(1)" alone would leave no name at all; keep it as it was given.
    if (!stem[0])
        CopyText(stem, sizeof stem, base);
    char candidate[kPathCap];
    for (int i = 0; i < 99; ++i) {
        if (!FormatNameCandidate(candidate, sizeof candidate, folder, stem, i, ext))
            return false;
        if (!PathExists(candidate, wantFolder))
            return CopyText(out, cap, candidate);
    }
    return false;
}

bool UniqueItemPath(char* out, size_t cap, bool wantFolder, const char* base,
                    const char* ext)
{
    return UniqueItemPathIn(g_app->currentFolder, out, cap, wantFolder, base, ext);
}

BOOL IsDotEntry(const FoundFile& found)
{
    if (!(found.attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    const char* name = found.name;
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// FindFirstFileEx's faster forms (no short names, larger batches), newer
// than the headers the program is built against; Windows before 7
// refuses them and is asked plainly.
const FINDEX_INFO_LEVELS kFindInfoBasic = (FINDEX_INFO_LEVELS)1;
const DWORD kFindLargeFetch = 2;

static bool TakeFound(const WIN32_FIND_DATAW& wide, FoundFile* found)
{
    found->attributes = wide.dwFileAttributes;
    found->size = (uint64_t)wide.nFileSizeHigh << 32 | wide.nFileSizeLow;
    found->writeTime =
        (uint64_t)wide.ftLastWriteTime.dwHighDateTime << 32 | wide.ftLastWriteTime.dwLowDateTime;
    return FromWide(wide.cFileName, -1, found->name, sizeof found->name);
}

bool ForEachEntryWhile(const char* pattern, const std::function<bool(const FoundFile&)>& visit)
{
    // Only the last part is a pattern: a folder named with ? or * (a name
    // the listing could not give as it is) would be a search of others.
    const char* last = pattern ? FindLastChar(pattern, '\\') : nullptr;
    wchar_t widePattern[MAX_PATH];
    if (!pattern || (last && HasWildcard(std::string(pattern, last).c_str())) ||
        !ToWide(pattern, widePattern, MAX_PATH))
        return true;
    WIN32_FIND_DATAW wide;
    HANDLE h = FindFirstFileExW(widePattern, kFindInfoBasic, &wide, FindExSearchNameMatch, NULL,
                                kFindLargeFetch);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        h = FindFirstFileW(widePattern, &wide);
    if (h == INVALID_HANDLE_VALUE)
        return true;
    FoundFile found;
    bool going = true;
    try {
        do {
            if (TakeFound(wide, &found) && !IsDotEntry(found))
                going = visit(found);
        } while (going && FindNextFileW(h, &wide));
    } catch (...) {
        FindClose(h);
        throw;
    }
    FindClose(h);
    return going;
}

void ForEachEntry(const char* pattern, const std::function<void(const FoundFile&)>& visit)
{
    ForEachEntryWhile(pattern, [&](const FoundFile& found) {
        visit(found);
        return true;
    });
}

// A path given to the system in its wide form, or the reason it cannot be.
struct WidePath {
    wchar_t text[MAX_PATH];
    bool ok;
    explicit WidePath(const char* path) : ok(path && ToWide(path, text, MAX_PATH))
    {
        if (!ok)
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
    }
};

HANDLE OpenPath(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    WidePath wide(path);
    return wide.ok ? CreateFileW(wide.text, access, share, NULL, disposition, flags, NULL)
                   : INVALID_HANDLE_VALUE;
}

bool HeldForWriting(const char* path)
{
    HANDLE file = OpenPath(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

DWORD PathAttributes(const char* path)
{
    WidePath wide(path);
    return wide.ok ? GetFileAttributesW(wide.text) : INVALID_FILE_ATTRIBUTES;
}

BOOL SetPathAttributes(const char* path, DWORD attributes)
{
    WidePath wide(path);
    return wide.ok && SetFileAttributesW(wide.text, attributes);
}

BOOL DeleteFilePath(const char* path)
{
    WidePath wide(path);
    return wide.ok && DeleteFileW(wide.text);
}

BOOL MakeFolder(const char* path)
{
    WidePath wide(path);
    return wide.ok && CreateDirectoryW(wide.text, NULL);
}

BOOL RemoveFolder(const char* path)
{
    WidePath wide(path);
    return wide.ok && RemoveDirectoryW(wide.text);
}

BOOL CopyFilePath(const char* from, const char* to, BOOL failIfExists)
{
    WidePath source(from), target(to);
    return source.ok && target.ok && CopyFileW(source.text, target.text, failIfExists);
}

BOOL MovePath(const char* from, const char* to, DWORD flags)
{
    WidePath source(from), target(to);
    return source.ok && target.ok && MoveFileExW(source.text, target.text, flags);
}

static void DeleteEntry(const char* path, const FoundFile& entry, bool recursive)
{
    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
        // Keeps hidden tool folders such as ".cache".
        if (entry.name[0] != '.' && recursive)
            DeleteTree(path, true);
        return;
    }
    if (!DeleteFilePath(path)) {
        SetPathAttributes(path, FILE_ATTRIBUTE_NORMAL);
        DeleteFilePath(path);
    }
}

bool DeleteTree(const char* folder, bool recursive)
{
    char pattern[kPathCap];
    if (!folder || HasWildcard(folder) || !JoinPath(pattern, sizeof pattern, folder, "*.*"))
        return false;
    ForEachEntry(pattern, [&](const FoundFile& entry) {
        char path[kPathCap];
        // An entry whose path does not fit stays, and so does the folder;
        // so does one whose name came back with a wildcard in it.
        if (!HasWildcard(entry.name) && JoinPath(path, sizeof path, folder, entry.name))
            DeleteEntry(path, entry, recursive);
    });
    if (RemoveFolder(folder))
        return true;
    SetPathAttributes(folder, FILE_ATTRIBUTE_NORMAL);
    return RemoveFolder(folder) != FALSE;
}
