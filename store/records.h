// Item records behind the list rows, and the list operations on them.
#ifndef ZORIVEN_RECORDS_H
#define ZORIVEN_RECORDS_H

#include "../app/winver.h"

enum { kMaxEntries = 32 };

struct Entry {
    char* key;
    char* value;
};

struct ItemRecord {
    ItemRecord* next;
    char* name;
    char* ext;
    int kind;
    int entryCount;
    Entry entries[kMaxEntries];
};

BOOL AddItemRow(const char* path, BOOL isItem, int count, const Entry* entries, int position);
BOOL InsertListRow(ItemRecord* record, int position, int kind);
// Takes the row out of the list; its record stays in the chain until the
// list is cleared. The other rows keep their selection.
void RemoveListRow(int row);
ItemRecord* GetRowRecord(int row);
ItemRecord* GetSelectedRecord(int* row, int start);
ItemRecord* FindRowByName(const char* name, int* row);
void SelectRow(int row);
void SetRowRecord(ItemRecord* record, int row);
void FreeEntries(int count, Entry* entries);
// A malloc'd copy (null for null or when memory runs out).
char* CopyString(const char* text);
void ClearItemRows();
void ShowItemCount();
// Where a menu opened from the keyboard goes, in screen coordinates: under
// the selected row (scrolled into view), or the list's top left.
void KeyboardMenuPoint(POINT* at);
void ShowFolderName();   // in the status bar and the window's title
// A note in the status bar's first part for a few seconds (string format
// with the name), after which the folder's name comes back.
enum { kStatusNoteTimer = 1, kStatusNoteMs = 4000 };
void ShowStatusNote(int format, const char* name);
void EndStatusNote();   // the note's timer ran out

// What the selection allows; the toolbar and the menus follow it alike.
struct SelectionState {
    bool selected;   // a row is selected
    bool item;       // the first selected row is an item, not a group
    bool up;         // it is not the first row
    bool down;       // it is not the last row
    bool parent;     // the current folder is below the root folder
};
SelectionState CurrentSelectionState();
// The toolbar's buttons after the selection changed.
void UpdateCommandStates();

// The current folder, "\", the record's name and its extension (or, with
// name given, that name and the record's extension); false when the path
// would not fit kPathCap bytes.
bool RowPath(const ItemRecord* record, char* out, const char* name = nullptr);

int RowCount();
// The current folder is the root folder (compared without regard to case).
BOOL AtRootFolder();

#endif
