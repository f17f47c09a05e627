// The OLE drop target of the main window (and of the item edit dialog):
// it takes CF_TEXT only and hands a dropped text to its window with one
// synchronous WM_DROPTEXT.
#ifndef ZORIVEN_DROPTARGET_H
#define ZORIVEN_DROPTARGET_H

#include "../app/winver.h"

#include <ole2.h>

// (The DropTarget class is declared here.)

// Creates a target for window and message, locks it and registers it;
// null when it cannot be made.
DropTarget* RegisterDropTarget(HWND window, UINT message);
// Revokes window's registration and lets target go (null is allowed).
void RevokeDropTarget(HWND window, DropTarget* target);

// WM_DROPTEXT of the main window: TRUE when the text was stored, which
// the target reports back to the drag source.
BOOL OnDropText(HWND window, WPARAM wParam, LPARAM lParam);

// Around every modal dialog or box over the main window: no drops reach
// the main window while it is open, and a fresh target is registered after.
void SuspendMainDropTarget();
void ResumeMainDropTarget();

#endif
