#include <ole2.h>

#include "../res/resource.h"
#include "../web/pagetitle.h"
#include "cmdline.h"
#include "state.h"
#include "wide.h"

static void RunMessageLoop(HACCEL accelerators)
{
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0)
        ProcessMessage(accelerators, &msg);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCmd)
{
    g_hInstance = instance;
    // The arguments as the user gave them, not as the ANSI code page holds them.
    std::string cmdline = Narrow(ArgumentsAfterProgram(GetCommandLineW()));
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
    if (FAILED(OleInitialize(NULL)))
        return 0;
    if (CreateAppState() && RegisterMainWindowClass() && CreateMainWindow(cmdline.c_str(), showCmd)) {
        g_app->lastEntry = -1;
        HANDLE fetch = StartWarmUpFetch();
        RunMessageLoop(accelerators);
        StopThread(fetch);
    }
    OleUninitialize();
    FreeAppState();
    return 0;
}
