#include "guitest.h"

#include <ole2.h>

#include "clip/copy.h"

namespace gt {

// Lets go at its first poll: DoDragDrop enters the window under the cursor
// and drops there.
struct DropAtOnce : IDropSource {
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        *out = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource) ? this : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }   // lives on the stack
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP QueryContinueDrag(BOOL, DWORD) override { return DRAGDROP_S_DROP; }
    STDMETHODIMP GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

DWORD DragText(const char* text, POINT screen, DWORD allowed, DWORD keys)
{
    if (text)
        EXPECT_TRUE(SetClipboardText(g_hMainWnd, text));
    else if (OpenClipboard(NULL))
        EmptyClipboard(), CloseClipboard();
    IDataObject* data = nullptr;
    EXPECT_EQ(S_OK, OleGetClipboard(&data));
    BYTE state[256] = {};   // DoDragDrop reads the keys from the thread's state
    state[VK_CONTROL] = (keys & MK_CONTROL) ? 0x80 : 0;
    state[VK_SHIFT] = (keys & MK_SHIFT) ? 0x80 : 0;
    SetKeyboardState(state);
    SetCursorPos(screen.x, screen.y);
    DropAtOnce source;
    DWORD effect = DROPEFFECT_NONE;
    EXPECT_EQ(DRAGDROP_S_DROP, DoDragDrop(data, &source, allowed, &effect));
    data->Release();
    state[VK_CONTROL] = state[VK_SHIFT] = 0;
    SetKeyboardState(state);
    Pump();
    return effect;
}

}  // namespace gt
