// What the Wine benchmarks share: a clock, and the real main window on a
// scratch folder in the Wine prefix's temporary folder.
#ifndef ZORIVEN_BENCHWINDOW_H
#define ZORIVEN_BENCHWINDOW_H

#include "app/state.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/cachefile.h"
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

// Libraries on disk, and what reading one raw costs.
inline bool PutFile(const std::string& path, const std::string& bytes, bool flush = false)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD put;
    BOOL ok = WriteFile(f, bytes.data(), (DWORD)bytes.size(), &put, NULL);
    if (flush)
        FlushFileBuffers(f);
    return CloseHandle(f) && ok;
}

// "メモ" in code page 932, so half the names are Japanese.
const char kBenchMemo[] = "\x83\x81\x83\x82";

// A library of n items (1 to 5 entries each) and ten groups; returns the
// names as an order file lists them.
// tools/bench.sh makes the libraries from outside Wine beforehand (Wine
// creates a file in a folder of n files in time growing with n) and
// leaves the file "ready" in each; only the order is made then.
inline std::string MakeLibrary(const std::string& folder, int n)
{
    CreateDirectoryA(folder.c_str(), NULL);
    bool ready = GetFileAttributesA((folder + "\\ready").c_str()) != INVALID_FILE_ATTRIBUTES;
    if (ready)
        DeleteFileA((folder + "\\ready").c_str());
    std::string order;
    for (int g = 0; g < 10; ++g) {
        std::string name = "group" + std::to_string(g);
        CreateDirectoryA((folder + "\\" + name).c_str(), NULL);
        order += name + "\r\n";
    }
    for (int i = 0; i < n; ++i) {
        std::string name = (i % 2 ? std::string(kBenchMemo) : std::string("note")) +
                           std::to_string(i) + ".txt";
        std::string content;
        for (int e = 0; e <= i % 5; ++e)
            content += "key" + std::to_string(e) + "=value " + std::to_string(i) + " " +
                       kBenchMemo + "\r\n";
        if (!ready)
            PutFile(folder + "\\" + name, content);
        order += name + "\r\n";
    }
    return order;
}

// What loading cannot avoid: enumerate and read every file's bytes.
inline double RawRead(const std::string& folder)
{
    double start = Now();
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    char buffer[4096];
    long total = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        HANDLE f = CreateFileA((folder + "\\" + found.cFileName).c_str(), GENERIC_READ,
                               FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        DWORD got;
        while (ReadFile(f, buffer, sizeof buffer, &got, NULL) && got)
            total += got;
        CloseHandle(f);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return Now() - start + (total < 0 ? 1 : 0);
}

// Wine's list view on its own: n rows inserted, as a load makes them.
inline double ListViewOnly(int n)
{
    ClearItemRows();
    SendMessageA(g_app->listView, WM_SETREDRAW, FALSE, 0);
    double start = Now();
    for (int i = 0; i < n; ++i)
        InsertListRow(nullptr, -1, 1);
    double took = Now() - start;
    SendMessageA(g_app->listView, WM_SETREDRAW, TRUE, 0);
    ClearItemRows();
    return took;
}

// The folder's entry cache removed: its next load reads every file.
inline void DropEntryCache(const std::string& folder)
{
    char full[kPathCap], cache[kPathCap];
    if (EntryCachePath(folder.c_str(), full, cache, sizeof cache))
        DeleteFileA(cache);
}

#endif
