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
    return DragClipboard(screen, allowed, keys);
}

DWORD DragClipboard(POINT screen, DWORD allowed, DWORD keys)
{
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

namespace gt {

Notepad::Notepad()
{
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    // No handle of the test's own: ctest waits for whoever holds its pipes.
    start.dwFlags = STARTF_USESTDHANDLES;
    char command[] = "notepad.exe";
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, NULL, &start, &process_))
        return;
    WaitForInputIdle(process_.hProcess, 10000);
    for (int i = 0; i < 200 && !edit_; ++i, Sleep(50)) {
        HWND window = FindWindowA("Notepad", NULL);
        edit_ = window ? FindWindowExA(window, NULL, "Edit", NULL) : NULL;
    }
}

Notepad::~Notepad()
{
    if (!process_.hProcess)
        return;
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

bool Notepad::Copy(const wchar_t* text)
{
    if (!edit_)
        return false;
    SendMessageW(edit_, WM_SETTEXT, 0, (LPARAM)text);
    SendMessageW(edit_, EM_SETSEL, 0, -1);
    SendMessageW(edit_, WM_COPY, 0, 0);
    return true;
}

std::wstring Notepad::Paste()
{
    if (!edit_)
        return L"<no notepad>";
    SendMessageW(edit_, WM_SETTEXT, 0, (LPARAM)L"");
    SendMessageW(edit_, WM_PASTE, 0, 0);
    std::wstring text(65536, L'\0');
    text.resize((size_t)SendMessageW(edit_, WM_GETTEXT, text.size(), (LPARAM)&text[0]));
    return text;
}

}  // namespace gt
