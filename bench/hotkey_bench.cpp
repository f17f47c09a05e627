// From the hot key to its menu on screen, in a start-up folder of 1,000 and
// 100,000 items in the user's order, against an empty folder. The menu
// counts as on screen when its loop first waits for input (WM_ENTERIDLE);
// it is then closed. Prints figures and ratios; nothing is asserted.
//   bash tools/bench.sh hotkey [sizes...]
#include "benchwindow.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/hotkey.h"

namespace {

const int kRounds = 9;   // the best round counts: other programs only ever add time
WNDPROC s_mainProc;
double s_shown;

LRESULT CALLBACK Watch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && !s_shown) {
        s_shown = Now();
        EndMenu();
    }
    return CallWindowProcA(s_mainProc, hwnd, msg, wParam, lParam);
}

// n item files and an order file that names them all. A folder that has
// its order file already is used as it is: tools/bench.sh makes the big
// ones from outside Wine, where a hundred thousand files take seconds.
std::string MakeFolder(const std::string& base, int n)
{
    std::string folder = base + "\\hot" + std::to_string(n);
    CreateDirectoryA(folder.c_str(), NULL);
    if (GetFileAttributesA((folder + "\\ZORIVEN.ORD").c_str()) != INVALID_FILE_ATTRIBUTES)
        return folder;
    std::string order;
    for (int i = 0; i < n; ++i) {
        std::string name = "note" + std::to_string(i) + ".txt";
        HANDLE f = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, NULL,
                               CREATE_ALWAYS, 0, NULL);
        DWORD written;
        WriteFile(f, "k=v\r\n", 5, &written, NULL);
        CloseHandle(f);
        order += name + "\r\n";
    }
    HANDLE f = CreateFileA((folder + "\\ZORIVEN.ORD").c_str(), GENERIC_WRITE, 0, NULL,
                           CREATE_ALWAYS, 0, NULL);
    DWORD written;
    WriteFile(f, order.data(), (DWORD)order.size(), &written, NULL);
    CloseHandle(f);
    return folder;
}

double ToMenu(const std::string& folder)
{
    CopyText(g_app->rootFolder, kPathCap, folder.c_str());
    CopyText(g_app->bootFolder, kPathCap, folder.c_str());
    double best = 0;
    for (int r = 0; r < kRounds; ++r) {
        s_shown = 0;
        double start = Now();
        OnHotKey(g_hMainWnd);
        double took = s_shown ? s_shown - start : 1e9;
        best = r ? std::min(best, took) : took;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes = BenchSizes(argc, argv, {1000, 100000});
    std::string base = StartBenchWindow();
    if (base.empty())
        return 1;
    s_mainProc = (WNDPROC)SetWindowLongPtrA(g_hMainWnd, GWLP_WNDPROC, (LONG_PTR)Watch);
    double empty = ToMenu(MakeFolder(base, 0));
    printf("empty folder: %.2f ms to the menu\n", empty * 1e3);
    std::vector<double> times;
    for (int n : sizes) {
        times.push_back(ToMenu(MakeFolder(base, n)));
        printf("%7d items: %.2f ms to the menu, %.2f times the empty folder\n", n,
               times.back() * 1e3, times.back() / empty);
        fflush(stdout);
    }
    if (times.size() > 1)
        printf("%d items vs %d items: %.2f\n", sizes.back(), sizes.front(),
               times.back() / times.front());
    DestroyWindow(g_hMainWnd);
    return 0;
}
