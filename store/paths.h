// Path operations that ask the system.
#ifndef ZORIVEN_PATHS_H
#define ZORIVEN_PATHS_H

#include <cstddef>
#include <functional>

#include "../app/winver.h"

// Folder of the running program file, without a trailing backslash.
bool ModuleFolder(char* out, size_t cap);

// FindFirstFileA finds path (and, with wantFolder, it is a folder). A path
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
BOOL IsDotEntry(const WIN32_FIND_DATAA* found);

// Calls visit with every entry the pattern finds, "." and ".." left out,
// in the order the system reports them; the search is closed even when
// visit throws.
void ForEachEntry(const char* pattern, const std::function<void(const WIN32_FIND_DATAA&)>& visit);

// Deletes the folder's files (read-only ones too) and, when recursive, its
// sub-folders, then the folder. Sub-folders named with a leading dot are
// left alone. True when the folder is gone.
bool DeleteTree(const char* folder, bool recursive);

#endif
