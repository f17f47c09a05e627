// The folder dialog's history list, kept under the Dir sub-key.
#ifndef ZORIVEN_HISTORY_H
#define ZORIVEN_HISTORY_H

#include "winver.h"

#define HISTORY_KEY "ZORIVEN\\Dir"

// Shows the start-up folder in the dialog and fills its history list.
void LoadFolderHistory(HWND dialog);
// Stores the dialog's history list; the old values are overwritten, never
// deleted first, so a failure part way keeps what the user collected.
void SaveFolderHistory(HWND dialog);

#endif
