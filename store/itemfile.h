// Reading and writing item files: up to 32 "key=value" lines.
#ifndef ZORIVEN_ITEMFILE_H
#define ZORIVEN_ITEMFILE_H

#include "records.h"

// Reads the item file name of the current folder into newly allocated
// entries (freed with FreeEntries); the number of entries read.
int ReadItemFile(const char* name, Entry entries[kMaxEntries]);
// The same for a whole path, whatever its extension; -1, after the error
// box, when the file cannot be read to its end.
int ReadItemPath(const char* path, Entry entries[kMaxEntries]);

// Replaces the file's content with the entries, keeping its attributes.
BOOL WriteItemFile(const char* path, int count, const Entry* entries);

// The ExcludeExt test: the file's extension is in the excluded list.
BOOL IsExcludedExtension(const char* name);

#endif
