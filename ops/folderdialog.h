// Command 1037: the folder dialog, which picks the new root folder, keeps
// the history of folders and can set the start-up folder.
#ifndef ZORIVEN_FOLDERDIALOG_H
#define ZORIVEN_FOLDERDIALOG_H

#include "../app/winver.h"
#include "../store/textbuf.h"

struct FolderDialogState {
    char chosen[kPathCap];    // where to go when the dialog ends; empty: nowhere
    char newBoot[kPathCap];   // start-up folder confirmed in this dialog
};

// The history list: the entry equal to folder (in any letter case) is
// selected, or folder is added and selected.
void AddToHistory(HWND dialog, const char* folder);

// True when a folder was chosen and the main window now shows it.
BOOL FolderCommand(HWND mainWindow);

#endif
