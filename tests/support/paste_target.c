/* Stands in for the program a snippet is pasted into: a window of the
   class named on the command line (default "PasteTarget") holding a
   multi-line edit control that has the focus. With a second word
   "noctrlv" the edit ignores Ctrl+V, as a console does. */
#include <windows.h>
#include <string.h>

static WNDPROC s_editProc;
static HWND s_edit;

static LRESULT CALLBACK NoCtrlV(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CHAR && wParam == 0x16)
        return 0;
    return CallWindowProcA(s_editProc, hwnd, msg, wParam, lParam);
}

static LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETFOCUS:
        SetFocus(s_edit);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR args, int show)
{
    char name[128] = "PasteTarget";
    const char* space = strchr(args, ' ');
    size_t length = space ? (size_t)(space - args) : strlen(args);
    if (length > 0 && length < sizeof name) {
        memcpy(name, args, length);
        name[length] = '\0';
    }
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    HWND main = CreateWindowA(name, "paste target", WS_OVERLAPPEDWINDOW, 200, 150, 420, 260,
                              NULL, NULL, instance, NULL);
    s_edit = CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL,
                           0, 0, 400, 220, main, (HMENU)1, instance, NULL);
    if (space && strstr(space, "noctrlv"))
        s_editProc = (WNDPROC)SetWindowLongPtrA(s_edit, GWLP_WNDPROC, (LONG_PTR)NoCtrlV);
    ShowWindow(main, SW_SHOW);
    SetForegroundWindow(main);
    SetFocus(s_edit);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
