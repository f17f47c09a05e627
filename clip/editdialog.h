// The item edit dialog (commands 1001 and 1007) and its entry dialog: the
// entries of one item as rows of a list, written to the item file on OK.
#ifndef ZORIVEN_EDITDIALOG_H
#define ZORIVEN_EDITDIALOG_H

#include "../app/winver.h"
#include "../store/itemfile.h"
#include "../store/itemtext.h"
#include "../store/records.h"
#include "../store/textbuf.h"

class DropTarget;

// Lives only while EditItem runs.
struct EditDialogState {
    DropTarget* dropTarget;
    int mode;             // item: 0 new, 1 edit; during EditEntry: 0 new entry, 1 modify
    HWND list;
    char name[kPathCap];
    char key[kEntryTextCap];
    char value[kEntryTextCap];
    ItemRecord* item;
    int entryCount;       // edit: the item file as it is on disk when the dialog opens
    Entry entries[kMaxEntries];
    ItemSnapshot snapshot;   // edit: the file's bytes, rewritten only where rows changed
};
extern EditDialogState* g_edit;

// Command 1001 (isNew) or 1007; TRUE when the dialog saved.
BOOL EditItem(HWND window, BOOL isNew);

BOOL EditEntry(HWND dialog, BOOL isNew);
void RefreshEditButtons(HWND dialog);

// One cell of the entry list (column 0 the key, 1 the value).
void GetEntryCell(int row, int column, char* out, int cap);
void SetEntryCell(int row, int column, const char* text);
// The state's key and value as a row at position (-1: at the end), selected.
BOOL InsertEntryRow(int position);
// Copies of at most kMaxEntries rows, in order (freed with FreeEntries).
int ReadEntryRows(Entry* entries);

// The error box that gives the key and value limits; 0.
int ReportEntryTooLong();

// The entry can be typed in dialog 1005 and read back from the item file;
// otherwise the error box says why, and the control to blame is returned
// in *field (the key or the value box).
BOOL CheckEntryText(const char* key, const char* value, int* field);

#endif
