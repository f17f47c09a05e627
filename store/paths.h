// Path operations that ask the system.
#ifndef ZORIVEN_PATHS_H
#define ZORIVEN_PATHS_H

#include <cstddef>
#include <cstdint>
#include <functional>

#include "../app/winver.h"
#include "textbuf.h"

// One entry of a folder listing, its name as the program's text.
struct FoundFile {
    char name[kPathCap];
    DWORD attributes;
    uint64_t size;
    uint64_t writeTime;   // the FILETIME as one number
};

// Folder of the running program file, without a trailing backslash.
bool ModuleFolder(char* out, size_t cap);

// The system finds path (and, with wantFolder, it is a folder). A path
// ending in a backslash, a drive root or a wildcard pattern never exists.
bool PathExists(const char* path, bool wantFolder);

// First free path for base (its " (n)" suffixes dropped) plus ext in folder:
// the plain stem, then " (1)" to " (98)". With wantFolder only folders
// count as taken. False when all are taken or a candidate would not fit.
bool UniqueItemPathIn(const char* folder, char* out, size_t cap,
                      bool wantFolder, const char* base, const char* ext);
// The same in the folder being shown.
bool UniqueItemPath(char* out, size_t cap, bool wantFolder, const char* base,
                    const char* ext);

// "." or ".." as a folder search reports them.
BOOL IsDotEntry(const FoundFile& found);

// Calls visit with every entry the pattern finds, "." and ".." left out,
// in the order the system reports them; the search is closed even when
// visit throws. A name that does not fit a path of the program is passed
// by: it could be reached by no path anyway.
void ForEachEntry(const char* pattern, const std::function<void(const FoundFile&)>& visit);
// The same until visit returns false; false when it did.
bool ForEachEntryWhile(const char* pattern, const std::function<bool(const FoundFile&)>& visit);

// The file functions on a program path. A path that does not fit the
// system's limit fails with ERROR_FILENAME_EXCED_RANGE.
HANDLE OpenPath(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
// Another program holds the file open for writing: it is not done with
// it. Asked the way a reader that shares no writing opens it, and let go
// at once.
bool HeldForWriting(const char* path);
DWORD PathAttributes(const char* path);   // INVALID_FILE_ATTRIBUTES on failure
BOOL SetPathAttributes(const char* path, DWORD attributes);
BOOL DeleteFilePath(const char* path);
BOOL MakeFolder(const char* path);
BOOL RemoveFolder(const char* path);
BOOL MovePath(const char* from, const char* to, DWORD flags);   // MoveFileEx's flags
BOOL CopyFilePath(const char* from, const char* to, BOOL failIfExists);

// Deletes the folder's files (read-only ones too) and, when recursive, its
// sub-folders, then the folder. Sub-folders named with a leading dot are
// left alone. True when the folder is gone.
bool DeleteTree(const char* folder, bool recursive);

#endif
