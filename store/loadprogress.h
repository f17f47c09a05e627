// A long folder load that does not freeze the window: every tenth of a
// second the window paints and the status bar shows how far the load got.
// Esc, a command (a change of folder among them) or closing the window
// stops it at once; the command then runs as usual. A stopped load leaves
// the rows read so far, and nothing is written from them: not the order
// file, not the entry cache.
#ifndef ZORIVEN_LOADPROGRESS_H
#define ZORIVEN_LOADPROGRESS_H

#include "../app/winver.h"

// Starts a load of total rows; the window shows the rows as they come.
void BeginLoadProgress(int total);
// After each row: false once the user stopped the load.
bool ContinueLoad(int done);
// Ends the load; with stopped, the status bar says how far it got.
void EndLoadProgress(int done, bool stopped);

// While a load runs: the message is one that must wait until the load
// has stopped (it is posted again and the load is told to stop).
bool DeferUntilLoaded(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// How long a load runs before the window is first served (ms); tests
// set 0.
extern DWORD g_loadQuietMs;

#endif
