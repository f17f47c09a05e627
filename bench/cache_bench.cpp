// Re-opening a folder through its entry cache against reading its files
// raw, at 1,000, 10,000 and 100,000 items: unchanged, and with 1% of the
// items changed since. Prints figures and ratios; nothing is asserted.
//   bash tools/bench.sh cache [sizes...]
#include "benchwindow.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "store/folderload.h"

namespace {

// The listing a cached load cannot do without.
double ListingOnly(const std::string& folder)
{
    double start = Now();
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileExA((folder + "\\*.*").c_str(), (FINDEX_INFO_LEVELS)1, &found,
                                FindExSearchNameMatch, NULL, 2);
    long count = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do
            ++count;
        while (FindNextFileA(h, &found));
        FindClose(h);
    }
    return Now() - start + (count < 0 ? 1 : 0);
}

double TimedLoad(const std::string& folder)
{
    CopyText(g_app->currentFolder, kPathCap, folder.c_str());
    double start = Now();
    LoadFolder();
    return Now() - start;
}

// Rewrites one item in a hundred (a different one each round) with new
// text, as another program would.
void ChangeOnePercent(const std::string& folder, int n, int round)
{
    for (int i = round; i < n; i += 100)
        PutFile(folder + "\\note" + std::to_string(i - i % 2) + ".txt",
                "key0=changed " + std::to_string(round) + "\r\n");
}

struct Figures {
    int n;
    double raw, listing, first, unchanged, changed, listView;
};

Figures Measure(const std::string& base, int n)
{
    Figures f = {};
    f.n = n;
    std::string folder = base + "\\cache" + std::to_string(n);
    PutFile(folder + "\\ZORIVEN.ORD", MakeLibrary(folder, n));
    // A file is cached once its time stamp is a few seconds old.
    Sleep(3500);
    f.raw = RawRead(folder);   // also warms the system's cache
    f.raw = std::min(f.raw, RawRead(folder));
    f.listing = ListingOnly(folder);
    DropEntryCache(folder);
    f.first = TimedLoad(folder);
    f.unchanged = f.changed = 1e9;
    for (int round = 0; round < 3; ++round) {
        f.unchanged = std::min(f.unchanged, TimedLoad(folder));
        ChangeOnePercent(folder, n, round * 2);
        f.changed = std::min(f.changed, TimedLoad(folder));
    }
    f.listView = ListViewOnly(n);
    ClearItemRows();
    DropEntryCache(folder);
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes = BenchSizes(argc, argv, {1000, 10000, 100000});
    std::string base = StartBenchWindow();
    if (base.empty())
        return 1;
    for (int n : sizes) {
        Figures f = Measure(base, n);
        printf("%7d items: raw read %.3fs, listing alone %.3fs (%.3f of raw); first load "
               "%.3fs (%.2f, cache written)\n", n, f.raw, f.listing, f.listing / f.raw, f.first,
               f.first / f.raw);
        printf("               re-open unchanged %.3fs: %.3f of raw (without the list view's "
               "%.3fs: %.3f)\n", f.unchanged, f.unchanged / f.raw, f.listView,
               (f.unchanged - f.listView) / f.raw);
        printf("               re-open with 1%% changed %.3fs: %.3f of raw (without the list "
               "view: %.3f)\n", f.changed, f.changed / f.raw, (f.changed - f.listView) / f.raw);
        fflush(stdout);
    }
    DestroyWindow(g_hMainWnd);
    return 0;
}
