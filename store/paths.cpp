#include "paths.h"

#include "../app/winver.h"

#include <cstring>

#include "../app/state.h"
#include "sjis.h"
#include "pathtext.h"
#include "textbuf.h"

bool ModuleFolder(char* out, size_t cap)
{
    char file[kPathCap];
    if (out && cap)
        out[0] = '\0';
    DWORD n = GetModuleFileNameA(NULL, file, sizeof file);
    if (n == 0 || n >= sizeof file)
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
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(path, &found);
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

BOOL IsDotEntry(const WIN32_FIND_DATAA* found)
{
    if (!(found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    const char* name = found->cFileName;
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// FindFirstFileEx's faster forms (no short names, larger batches), newer
// than the headers the program is built against; Windows before 7
// refuses them and is asked plainly.
const FINDEX_INFO_LEVELS kFindInfoBasic = (FINDEX_INFO_LEVELS)1;
const DWORD kFindLargeFetch = 2;

void ForEachEntry(const char* pattern, const std::function<void(const WIN32_FIND_DATAA&)>& visit)
{
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileExA(pattern, kFindInfoBasic, &found, FindExSearchNameMatch, NULL,
                                kFindLargeFetch);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        h = FindFirstFileA(pattern, &found);
    if (h == INVALID_HANDLE_VALUE)
        return;
    try {
        do {
            if (!IsDotEntry(&found))
                visit(found);
        } while (FindNextFileA(h, &found));
    } catch (...) {
        FindClose(h);
        throw;
    }
    FindClose(h);
}

static void DeleteEntry(const char* path, const WIN32_FIND_DATAA& entry, bool recursive)
{
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        // Keeps hidden tool folders such as ".cache".
        if (entry.cFileName[0] != '.' && recursive)
            DeleteTree(path, true);
        return;
    }
    if (!DeleteFileA(path)) {
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path);
    }
}

bool DeleteTree(const char* folder, bool recursive)
{
    char pattern[kPathCap];
    if (!folder || HasWildcard(folder) || !JoinPath(pattern, sizeof pattern, folder, "*.*"))
        return false;
    ForEachEntry(pattern, [&](const WIN32_FIND_DATAA& entry) {
        char path[kPathCap];
        // An entry whose path does not fit stays, and so does the folder;
        // so does one whose name came back with a wildcard in it.
        if (!HasWildcard(entry.cFileName) && JoinPath(path, sizeof path, folder, entry.cFileName))
            DeleteEntry(path, entry, recursive);
    });
    if (RemoveDirectoryA(folder))
        return true;
    SetFileAttributesA(folder, FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryA(folder) != FALSE;
}
