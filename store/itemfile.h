// Reading and writing item files: up to 32 "key=value" lines.
#ifndef ZORIVEN_ITEMFILE_H
#define ZORIVEN_ITEMFILE_H

#include "records.h"

// Reads the item file name of the current folder into newly allocated
// entries (freed with FreeEntries); the number of entries read. A failure
// gives 0 and the error box, or, when error is given, no box and the
// system's code in *error (which is 0 otherwise).
int ReadItemFile(const char* name, Entry entries[kMaxEntries], DWORD* error = nullptr);
// The same for a whole path, whatever its extension; -1 when the file
// cannot be read to its end.
int ReadItemPath(const char* path, Entry entries[kMaxEntries], DWORD* error = nullptr);

// Replaces the file's content with the entries, keeping its attributes.
BOOL WriteItemFile(const char* path, int count, const Entry* entries);

// The ExcludeExt test: the file's extension is in the excluded list.
BOOL IsExcludedExtension(const char* name);

#endif
