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
// cannot be read to its end, or holds text but no entry (a code of the
// program's own, see OwnErrorCode).
int ReadItemPath(const char* path, Entry entries[kMaxEntries], DWORD* error = nullptr);

// Replaces the file's content with the entries, keeping its attributes.
BOOL WriteItemFile(const char* path, int count, const Entry* entries);

// An item file's bytes as read, so that a later rewrite changes only the
// entries that changed and can tell whether the file changed meanwhile.
struct ItemSnapshot {
    char* bytes;   // malloc'd
    DWORD size;
    FILETIME written;
};

// Reads the file at path whole into snapshot (freed with
// FreeItemSnapshot) and its first entries into entries; the number of
// entries, or -1 after the error box.
int ReadItemSnapshot(const char* path, ItemSnapshot* snapshot, Entry entries[kMaxEntries]);
void FreeItemSnapshot(ItemSnapshot* snapshot);
// The snapshot's text past the mark of a UTF-8 file, and its StoredForm.
int SnapshotForm(const ItemSnapshot* snapshot, const char** text, size_t* size);

// The file at path is not the one read: another size or last write time,
// or gone.
BOOL ItemChangedSince(const char* path, const ItemSnapshot* snapshot);

// Writes rows over the snapshot's bytes (see RewriteItemBytes), keeping
// the file's attributes. *written is FALSE when the rows are the entries
// read, and nothing was written. A row the file cannot hold is reported
// (its index in *badRow, else -1) with the error box.
BOOL RewriteItemFile(const char* path, const ItemSnapshot* snapshot, int count, const Entry* rows,
                     BOOL* written, int* badRow);

// Adds entry after the last entry the reader takes from the file at path
// as it is now, every other byte kept; entries receives the file's
// entries as written. The new count; 0 when the item holds kMaxEntries
// already (nothing written); -1 after the error box.
int AppendEntryToFile(const char* path, const Entry* entry, Entry entries[kMaxEntries]);

// The StoredForm a file of fileForm needs for texts (key and value): UTF-8
// once the file is, or when code page 932 cannot hold one of them.
int StoredFormFor(const char* key, const char* value, int fileForm = 0);
// Key and value, stored as a file of fileForm would store them, read back
// as themselves and within the limits of a line.
bool StoredEntryReadsBack(const char* key, const char* value, bool shortcut = false,
                          int fileForm = 0);

// The ExcludeExt test: the file's extension is in the excluded list.
BOOL IsExcludedExtension(const char* name);

#endif
