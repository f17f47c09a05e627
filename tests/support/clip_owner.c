/* A program that copies the text of its command line from a window of its
   own, then lives a moment so its process can be looked up. Built as
   KeePass.exe: a program of the clipboard history's exclusion list. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prev, LPSTR cmdline, int show)
{
    (void)prev;
    (void)show;
    HWND window = CreateWindowA("STATIC", "clip owner", 0, 0, 0, 10, 10, NULL, NULL, instance, NULL);
    int units = MultiByteToWideChar(CP_ACP, 0, cmdline, -1, NULL, 0);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, units * sizeof(WCHAR));
    if (!window || !block)
        return 1;
    MultiByteToWideChar(CP_ACP, 0, cmdline, -1, (WCHAR*)GlobalLock(block), units);
    GlobalUnlock(block);
    for (int i = 0; i < 50 && !OpenClipboard(window); ++i)
        Sleep(20);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
    DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < 1500) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    }
    DestroyWindow(window);
    return 0;
}
