#include "droptarget.h"

#include <cstdlib>
#include <new>

#include "../app/state.h"
#include "../res/resource.h"
#include "../store/records.h"
#include "paste.h"
#include "widetext.h"

static LONG s_live;

// Text in global memory, ANSI or Unicode.
static FORMATETC TextFormat(CLIPFORMAT kind)
{
    FORMATETC format = {kind, NULL, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    return format;
}

static BOOL Offers(IDataObject* data, CLIPFORMAT kind)
{
    FORMATETC format = TextFormat(kind);
    return data && data->QueryGetData(&format) == S_OK;
}

// The text format the source lists first is the one it really holds; the
// other may be the system's conversion of it.
static CLIPFORMAT ChooseTextFormat(IDataObject* data)
{
    IEnumFORMATETC* list = NULL;
    if (data && SUCCEEDED(data->EnumFormatEtc(DATADIR_GET, &list)) && list) {
        FORMATETC format;
        CLIPFORMAT chosen = 0;
        while (!chosen && list->Next(1, &format, NULL) == S_OK) {
            if ((format.cfFormat == CF_TEXT || format.cfFormat == CF_UNICODETEXT) &&
                (format.tymed & TYMED_HGLOBAL))
                chosen = format.cfFormat;
            if (format.ptd)
                CoTaskMemFree(format.ptd);
        }
        list->Release();
        if (chosen && Offers(data, chosen))
            return chosen;
    }
    return Offers(data, CF_UNICODETEXT) ? CF_UNICODETEXT : CF_TEXT;
}

DropTarget::DropTarget(HWND window, UINT message)
    : refs_(1), accept_(FALSE), window_(window), message_(message)
{
    InterlockedIncrement(&s_live);
}

DropTarget::~DropTarget()
{
    InterlockedDecrement(&s_live);
}

STDMETHODIMP DropTarget::QueryInterface(REFIID iid, void** out)
{
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DropTarget::AddRef()
{
    return (ULONG)InterlockedIncrement(&refs_);
}

STDMETHODIMP_(ULONG) DropTarget::Release()
{
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0)
        delete this;
    return (ULONG)left;
}

STDMETHODIMP DropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL, DWORD* effect)
{
    accept_ = Offers(data, CF_TEXT) || Offers(data, CF_UNICODETEXT);
    if (g_app)
        g_app->dragOver = TRUE;
    ChooseDropEffect(keyState, effect);
    return S_OK;
}

STDMETHODIMP DropTarget::DragOver(DWORD keyState, POINTL, DWORD* effect)
{
    ChooseDropEffect(keyState, effect);
    return S_OK;
}

STDMETHODIMP DropTarget::DragLeave()
{
    accept_ = FALSE;
    if (g_app)
        g_app->dragOver = FALSE;
    return S_OK;
}

STDMETHODIMP DropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect)
{
    if (g_app)
        g_app->dragOver = FALSE;
    if (!ChooseDropEffect(keyState, effect))
        return S_OK;
    FORMATETC format = TextFormat(ChooseTextFormat(data));
    STGMEDIUM medium;
    ZeroMemory(&medium, sizeof medium);
    HRESULT hr = data ? data->GetData(&format, &medium) : E_POINTER;
    if (FAILED(hr)) {
        *effect = DROPEFFECT_NONE;
        return hr;
    }
    LRESULT stored = 0;
    // A copy cut at the block's end: a source may leave out the terminator.
    char* text = nullptr;
    if (medium.tymed == TYMED_HGLOBAL)
        text = format.cfFormat == CF_UNICODETEXT ? WideBlockToProgram(medium.hGlobal)
                                                 : AnsiBlockToProgram(medium.hGlobal, NULL);
    if (text && window_) {
        WPARAM where = ((WPARAM)(point.y & 0xFFFF) << 16) | (WPARAM)(point.x & 0xFFFF);
        // A message of the program's own: the text goes as it is, unconverted.
        stored = SendMessageW(window_, message_, where, (LPARAM)text);
    }
    free(text);
    ReleaseStgMedium(&medium);
    // With a move the source deletes what it gave: it may do so only when
    // the text was really stored.
    if (!stored)
        *effect = DROPEFFECT_NONE;
    return S_OK;
}

BOOL DropTarget::ChooseDropEffect(DWORD keyState, DWORD* effect)
{
    DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    if (!accept_)
        return FALSE;
    bool control = (keyState & MK_CONTROL) != 0;
    bool shift = (keyState & MK_SHIFT) != 0;
    if (control || shift) {
        DWORD wanted = control && shift ? DROPEFFECT_LINK
                       : control        ? DROPEFFECT_COPY
                                        : DROPEFFECT_MOVE;
        if (wanted == DROPEFFECT_LINK || !(allowed & wanted))
            return FALSE;
        *effect = wanted;
        return TRUE;
    }
    if (allowed & DROPEFFECT_MOVE)
        *effect = DROPEFFECT_MOVE;
    else if (allowed & DROPEFFECT_COPY)
        *effect = DROPEFFECT_COPY;
    else
        return FALSE;
    return TRUE;
}

DropTarget* RegisterDropTarget(HWND window, UINT message)
{
    DropTarget* target = new (std::nothrow) DropTarget(window, message);
    if (!target)
        return nullptr;
    CoLockObjectExternal(target, TRUE, TRUE);
    RegisterDragDrop(window, target);
    return target;
}

void RevokeDropTarget(HWND window, DropTarget* target)
{
    RevokeDragDrop(window);
    if (!target)
        return;
    // The creation reference goes first, so that ending the external lock
    // drops the last one and frees the object.
    target->Release();
    CoLockObjectExternal(target, FALSE, TRUE);
}

BOOL OnDropText(HWND window, WPARAM wParam, LPARAM lParam)
{
    const char* text = (const char*)lParam;
    if (!text || !g_app || !g_app->listView)
        return FALSE;
    // A renaming still open ends here, while its row is where it was: a new
    // row above it would otherwise give its name to the wrong file.
    if (SendMessageW(g_app->listView, LVM_GETEDITCONTROL, 0, 0))
        SetFocus(g_app->listView);
    // Signed: on a monitor left of or above the primary one the point is
    // negative.
    LVHITTESTINFO hit;
    ZeroMemory(&hit, sizeof hit);
    hit.pt.x = (short)LOWORD(wParam);
    hit.pt.y = (short)HIWORD(wParam);
    ScreenToClient(g_app->listView, &hit.pt);
    int row = (int)SendMessageW(g_app->listView, LVM_HITTEST, 0, (LPARAM)&hit);
    if (row < 0 || !(hit.flags & LVHT_ONITEM))
        row = -1;
    if (!MakeItemFromText(window, text, TRUE, row))
        return FALSE;
    int selected = -1;
    if (GetSelectedRecord(&selected, -1))
        SendMessageW(g_app->listView, LVM_ENSUREVISIBLE, (WPARAM)selected, FALSE);
    return TRUE;
}

void SuspendMainDropTarget()
{
    if (!g_app)
        return;
    RevokeDropTarget(g_hMainWnd, g_app->dropTarget);
    g_app->dropTarget = nullptr;
}

void ResumeMainDropTarget()
{
    if (!g_app || !g_hMainWnd)
        return;
    // One registered over a target never revoked would leave it locked.
    if (g_app->dropTarget)
        RevokeDropTarget(g_hMainWnd, g_app->dropTarget);
    g_app->dropTarget = RegisterDropTarget(g_hMainWnd, WM_DROPTEXT);
}

int LiveDropTargets()
{
    return (int)InterlockedCompareExchange(&s_live, 0, 0);
}
