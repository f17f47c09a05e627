// Item records behind the list rows, and the list operations on them.
#ifndef ZORIVEN_RECORDS_H
#define ZORIVEN_RECORDS_H

#include <string>

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
    char* searchText;            // name, keys and values folded for the
    unsigned long searchLength;  // search, made when first searched
};

// A record of its own, in no chain and on no row (freed with FreeRecord):
// name, extension and kind from the last component of path, copies of the
// entries.
ItemRecord* MakeRecord(const char* path, BOOL isItem, int count, const Entry* entries);
void FreeRecord(ItemRecord* record);
BOOL AddItemRow(const char* path, BOOL isItem, int count, const Entry* entries, int position);
BOOL InsertListRow(ItemRecord* record, int position, int kind);
// Takes the row out of the list; its record stays in the chain until the
// list is cleared. The other rows keep their selection.
void RemoveListRow(int row);
ItemRecord* GetRowRecord(int row);
ItemRecord* GetSelectedRecord(int* row, int start);
// The selected row, or -1, found without looking at every row.
int SelectedRow();
// The list reported that row became selected.
void NoteSelectedRow(int row);
ItemRecord* FindRowByName(const char* name, int* row);
void SelectRow(int row);
void SetRowRecord(ItemRecord* record, int row);
void FreeEntries(int count, Entry* entries);
// The record's entries are replaced by the given ones, whose strings it
// now owns.
void SetRecordEntries(ItemRecord* record, int count, const Entry* entries);
// The record's name is replaced by name (a malloc'd string it now owns).
void SetRecordName(ItemRecord* record, char* name);
// A malloc'd copy (null for null or when memory runs out).
char* CopyString(const char* text);
void ClearItemRows();
void ShowItemCount();
// "1,204 項目", or with a filter "3 / 1,204 項目".
void FormatItemCount(char* out, size_t cap, int shown, int all, bool filtered);
// Where a menu opened from the keyboard goes, in screen coordinates: under
// the selected row (scrolled into view), or the list's top left.
void KeyboardMenuPoint(POINT* at);
// The same for a row of any list view (-1: the list's top left).
void RowMenuPoint(HWND list, int row, POINT* at);
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
    bool ordered;    // no filter hides rows: the order may change
    bool parent;     // the current folder is below the root folder
};
SelectionState CurrentSelectionState();
// The toolbar's buttons after the selection changed.
void UpdateCommandStates();

// The current folder, "\", the record's name and its extension (or, with
// name given, that name and the record's extension); false when the path
// would not fit kPathCap bytes.
bool RowPath(const ItemRecord* record, char* out, const char* name = nullptr);

// The rows the list shows. While a filter is on these are the rows it
// matched (and any made since), in the folder's order; the commands work
// on them as on any row.
int RowCount();

// Every row of the folder in its order, shown or not: what the order file
// and the folder watch work on.
int AllRowCount();
ItemRecord* AllRowRecord(int index);

// Shows only the rows whose folded text holds folded (empty: every row),
// keeping the selected row selected when it is still shown. The filter
// stays on through a refresh of the same folder.
void SetRowFilter(const std::string& folded);
// Its two halves: the rows that match, and the list shown anew (selected
// stays chosen when it is shown).
void FilterRows(const std::string& folded);
void ShowFilteredRows(ItemRecord* selected);
bool RowsFiltered();
// After the rows were read again or rearranged: the filter is applied to
// them anew; when another folder is shown, it is dropped and its box
// emptied.
void ReapplyRowFilter();
// The list row showing record, or -1.
int RowOfRecord(const ItemRecord* record);
// The current folder is the root folder (compared without regard to case).
BOOL AtRootFolder();

#endif
