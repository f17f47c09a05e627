#include <ole2.h>

#include "../res/resource.h"
#include "../web/pagetitle.h"
#include "state.h"

static void RunMessageLoop(HACCEL accelerators)
{
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        ProcessMessage(accelerators, &msg);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdline, int showCmd)
{
    g_hInstance = instance;
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));
    if (FAILED(OleInitialize(NULL)))
        return 0;
    if (CreateAppState() && RegisterMainWindowClass() && CreateMainWindow(cmdline, showCmd)) {
        g_app->lastEntry = -1;
        HANDLE fetch = StartWarmUpFetch();
        RunMessageLoop(accelerators);
        StopThread(fetch);
    }
    OleUninitialize();
    FreeAppState();
    return 0;
}
