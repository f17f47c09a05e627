// A library carried by a sync engine: the engines' own entries are left
// out, a conflict copy of an item is shown for what it is, and a conflict
// copy of an order file is mentioned once and left on disk.
#ifndef ZORIVEN_SYNCFILES_H
#define ZORIVEN_SYNCFILES_H

#include <cstddef>
#include <string>

#include "records.h"

// An engine's or the system's entry, or an order file an engine set aside:
// never a row, never named in an order file, never moved by a reorder.
bool IsSyncOwnEntry(const char* name);

// The file name (name and extension) of the item a conflict copy copies,
// folded as the order file compares names; false for any other record.
bool ConflictOriginalKey(const ItemRecord* record, std::string* key);
// "メモ（競合 2026-12-10 11:05）" for a conflict copy of メモ.txt; false
// (out empty) for any other record. The record keeps its real name: the
// mark is only shown.
bool ConflictLabel(const ItemRecord* record, char* out, size_t cap);
// The text the record's row shows: its label or its name. Valid until the
// next call.
const char* RowLabel(const ItemRecord* record);

// name, an order file an engine set aside in the current folder, is said
// in the status bar the first time it is met.
void NoteSetAsideOrder(const char* name);

#endif
