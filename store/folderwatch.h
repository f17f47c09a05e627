// Changes made to the folder being shown by other programs (or other
// machines on a share) appear by themselves: a thread of its own watches
// the folder and the window reads it again as soon as nothing is under
// way (a rename in place, a drag, a menu or a dialog), keeping the rows'
// order, the selection and the scroll position. A folder that cannot be
// watched is simply not: F5 still reads it again.
#ifndef ZORIVEN_FOLDERWATCH_H
#define ZORIVEN_FOLDERWATCH_H

#include "../app/winver.h"

// Posted by the watch thread when the folder changed.
#define WM_FOLDERCHANGED (WM_USER + 4322)

// Watches the current folder (a new one replaces the old watch).
void WatchCurrentFolder();
void StopFolderWatch();

// Reads the folder again without writing anything: the order on screen,
// the order-changed flag, the selection and the first row shown stay.
// Unless quiet, unreadable files are named in the load's box. False when
// a quiet read met a file it may read later (one still being written).
bool RefreshKeepingView(bool quiet);

// WM_FOLDERCHANGED and the refresh timer's WM_TIMER.
void OnFolderChanged();
void OnRefreshTimer();

// Tests that change the folder themselves turn the watch off.
extern BOOL g_watchFolders;
// How often the watch has read the folder again (what a burst costs).
extern int g_watchReads;

#endif
