// What the Wine benchmarks share: a clock, and the real main window on a
// scratch folder in the Wine prefix's temporary folder.
#ifndef ZORIVEN_BENCHWINDOW_H
#define ZORIVEN_BENCHWINDOW_H

#include "app/state.h"

#include <cstdio>
#include <string>

inline double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

// The folder "zoriven-bench" in the temporary folder, shown in the main
// window; empty when the window could not be made.
inline std::string StartBenchWindow()
{
    g_hInstance = GetModuleHandleA(NULL);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string base = std::string(temp) + "zoriven-bench";
    CreateDirectoryA(base.c_str(), NULL);
    if (!RegisterMainWindowClass() || !CreateAppState() ||
        !CreateMainWindow(base.c_str(), SW_SHOWNORMAL)) {
        fprintf(stderr, "bench: the main window could not be created\n");
        return "";
    }
    return base;
}

#endif
