// Keeping the user's arrangement of a folder: the order file, or, with
// NoOrderFile, moving the entries out and back in list order.
#ifndef ZORIVEN_ORDER_H
#define ZORIVEN_ORDER_H

#include "../app/winver.h"

#define PARKING_FOLDER_NAME "_@ClipTmp@_"

// Writes the current folder's order file from the rows (crash-safe, left
// hidden); false when there are no rows or it could not be written.
BOOL WriteOrderFile();
// Persists the row order and clears the order-changed flag (unless there
// are no rows, or physical reordering could not start). False when the
// order file could not be written (the box named it).
BOOL SaveOrder();
// SaveOrder only when the order changed since the last load or save.
BOOL SaveChangedOrder();

// The move call physical reordering uses; tests put a failing one here.
typedef BOOL (*MoveFileFn)(const char* from, const char* to);
extern MoveFileFn g_moveFile;
BOOL MoveEntryPath(const char* from, const char* to);   // the one it holds

#endif
