// What the Wine benchmarks share: a clock, and the real main window on a
// scratch folder in the Wine prefix's temporary folder.
#ifndef ZORIVEN_BENCHWINDOW_H
#define ZORIVEN_BENCHWINDOW_H

#include "app/state.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/records.h"
#include "store/textbuf.h"

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

// The sizes named on the command line, or the defaults.
inline std::vector<int> BenchSizes(int argc, char** argv, std::vector<int> defaults)
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(atoi(argv[i]));
    return sizes.empty() ? defaults : sizes;
}

// folder shown with n rows "note0" .. "note<n-1>" holding entry: records
// only, no files behind them.
inline void FillRows(const std::string& folder, int n, const Entry& entry)
{
    ClearItemRows();
    CopyText(g_app->currentFolder, kPathCap, folder.c_str());
    SendMessageA(g_app->listView, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < n; ++i)
        AddItemRow(("note" + std::to_string(i) + ".txt").c_str(), TRUE, 1, &entry, -1);
    SendMessageA(g_app->listView, WM_SETREDRAW, TRUE, 0);
}

#endif
