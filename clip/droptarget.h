// The OLE drop target of the main window (and of the item edit dialog):
// it takes CF_TEXT only and hands a dropped text to its window with one
// synchronous WM_DROPTEXT.
#ifndef ZORIVEN_DROPTARGET_H
#define ZORIVEN_DROPTARGET_H

#include "../app/winver.h"

#include <ole2.h>

// Registered on one window for one message. The window answers the message
// with non-zero when it stored the text; otherwise the drop is reported to
// the source as DROPEFFECT_NONE, so a move does not delete the user's text.
// (A dialog procedure answers through DWLP_MSGRESULT.)
class DropTarget : public IDropTarget {
public:
    DropTarget(HWND window, UINT message);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                           DWORD* effect) override;
    STDMETHODIMP DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    STDMETHODIMP DragLeave() override;
    STDMETHODIMP Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    // effect: on entry what the source allows, on return what is chosen
    // from the keys; FALSE when nothing may be dropped.
    virtual BOOL ChooseDropEffect(DWORD keyState, DWORD* effect);

private:
    // Only the last Release ends it; declared last, so the slots above
    // keep their places in the table.
    virtual ~DropTarget();

    LONG refs_;
    BOOL accept_;
    HWND window_;
    UINT message_;
};

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

// DropTarget objects not yet freed, for tests that look for leaks.
int LiveDropTargets();

#endif
