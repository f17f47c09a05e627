// Filling the list with the current folder's groups and items, in the
// order its order file names them.
#ifndef ZORIVEN_FOLDERLOAD_H
#define ZORIVEN_FOLDERLOAD_H

#include "../app/winver.h"

#define ORDER_FILE_NAME "ZORIVEN.ORD"

// Entries the pattern finds, "." and ".." not counted; 0 when it fails.
int CountFolderEntries(const char* pattern);
// Line of the current folder's order file that names name, or -1.
int OrderIndexOf(const char* name);
// One accepted entry as a row at the end of the list; true when a row was made.
BOOL LoadFolderEntry(const char* name, BOOL isFolder);
// Replaces the rows with the current folder's; returns the rows made.
int LoadFolder();

#endif
