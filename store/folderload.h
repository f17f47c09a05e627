// Filling the list with the current folder's groups and items, in the
// order its order file names them.
#ifndef ZORIVEN_FOLDERLOAD_H
#define ZORIVEN_FOLDERLOAD_H

#include <string>
#include <unordered_set>

#include "../app/winver.h"
#include "paths.h"

#define ORDER_FILE_NAME "ZORIVEN.ORD"

// Entries the pattern finds, "." and ".." not counted; 0 when it fails.
int CountFolderEntries(const char* pattern);
// The entry a search found may be a row: not the order file, and not
// hidden while hidden entries are left out. Extensions are judged apart.
bool IsListedEntry(const FoundFile& found);
// Line of the current folder's order file that names name, or -1.
int OrderIndexOf(const char* name);
// One accepted entry as a row at the end of the list; true when a row was
// made. A file that cannot be read gives the error box, or, when error is
// given, no box and the system's code in *error (0 otherwise).
BOOL LoadFolderEntry(const char* name, BOOL isFolder, DWORD* error = nullptr);
// Replaces the rows with the current folder's; returns the rows made.
// Files that cannot be read are named in one box, or, when failures is
// given, only counted there: those that may be read later, not files that
// hold text but no entry. With shown (the folded names of the rows shown
// before), a file that is no row yet and that another program is still
// writing is left for later, counted as such a failure.
int LoadFolder(int* failures = nullptr, const std::unordered_set<std::string>* shown = nullptr);

#endif
