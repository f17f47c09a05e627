/* A running browser's stand-in: fake_browser record title class...
   A visible window with the title holds a chain of child windows of the
   classes given; the "Edit" appends what reaches it to the record. */
#include <windows.h>
#include <stdlib.h>
#include <string.h>

static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    char line[1024];
    DWORD put;
    if (msg == WM_SETTEXT || (msg == WM_KEYDOWN && wParam == VK_RETURN)) {
        HANDLE file = CreateFileA(__argv[1], FILE_APPEND_DATA, 0, NULL, OPEN_ALWAYS, 0, NULL);
        wsprintfA(line, msg == WM_SETTEXT ? "text=%.1000s\n" : "enter\n", (const char*)lParam);
        WriteFile(file, line, lstrlenA(line), &put, NULL);
        CloseHandle(file);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

/* A synthesized key waits for this hook; the key before it is queued by
   then and taken here, before its sender can detach the input. */
static LRESULT CALLBACK TakeKeys(int code, WPARAM wParam, LPARAM lParam)
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        DispatchMessageA(&msg);
    return CallNextHookEx(NULL, code, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR args, int show)
{
    WNDCLASSA wc = {0, DefWindowProcA, 0, 0, instance, NULL, NULL, NULL, NULL, "FakeBrowserFrame"};
    HWND window;
    MSG msg;
    int i;
    RegisterClassA(&wc);
    window = CreateWindowA(wc.lpszClassName, __argv[2], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           300, 200, NULL, NULL, instance, NULL);
    for (i = 3; window && i < __argc; ++i) {
        wc.lpfnWndProc = strcmp(__argv[i], "Edit") ? DefWindowProcA : EditProc;
        wc.lpszClassName = __argv[i];
        if (__argv[i][0] != '#')   /* "#32770" stays the system's dialog class */
            RegisterClassA(&wc);
        window = CreateWindowA(__argv[i], "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, window, NULL,
                               instance, NULL);
    }
    SetWindowsHookExA(WH_KEYBOARD_LL, TakeKeys, instance, 0);
    if (!window)
        return 1;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
