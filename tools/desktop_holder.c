/* Keeps Wine's desktop process alive, detached from the test runner's
   output, until the session's wineserver is stopped. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prev, LPSTR cmdline, int show)
{
    MSG msg;
    HWND hwnd = CreateWindowExA(0, "STATIC", "desktop holder", WS_POPUP, 0, 0, 1, 1, NULL, NULL,
                                instance, NULL);
    (void)prev;
    (void)cmdline;
    (void)show;
    if (!hwnd)
        return 1;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
