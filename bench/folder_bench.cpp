// Folder loading and order saving against raw file access, at 1,000,
// 10,000 and 100,000 items. Prints figures and ratios; nothing is asserted.
//   bash tools/bench.sh [sizes...]
#include "benchwindow.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/folderload.h"
#include "store/order.h"
#include "store/records.h"
#include "store/textbuf.h"

namespace {

size_t WorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}

// A load that reads every file, as if the folder had never been opened.
double TimedLoad(const std::string& folder, int* rows)
{
    DropEntryCache(folder);
    CopyText(g_app->currentFolder, kPathCap, folder.c_str());
    double start = Now();
    *rows = LoadFolder();
    return Now() - start;
}

struct Figures {
    int n;
    double loadOrdered, loadUnordered, raw, listView, save, rawWrite, rawFlushed, rawReplace,
        newName, readBack;
    double bytesPerItem;
};

Figures Measure(const std::string& base, int n)
{
    Figures f = {};
    f.n = n;
    std::string folder = base + "\\lib" + std::to_string(n);
    std::string order = MakeLibrary(folder, n);
    int rows;
    f.raw = RawRead(folder);                       // also warms the cache
    f.raw = std::min(f.raw, RawRead(folder));
    f.loadUnordered = TimedLoad(folder, &rows);
    PutFile(folder + "\\ZORIVEN.ORD", order);
    ClearItemRows();
    size_t before = WorkingSet();
    f.loadOrdered = TimedLoad(folder, &rows);
    f.bytesPerItem = ((double)WorkingSet() - (double)before) / rows;
    // Saves and raw writes alike: the best of five, after one that pays for
    // flushing the freshly generated library out of the cache.
    std::string raw = folder + "\\raw.ord";
    SaveOrder();
    PutFile(raw, order, true);
    f.save = f.rawWrite = f.rawFlushed = f.rawReplace = 1e9;
    for (int i = 0; i < 5; ++i) {
        double start = Now();
        SaveOrder();
        f.save = std::min(f.save, Now() - start);
        // The same bytes rewritten in place, as a plain truncate-and-write.
        start = Now();
        PutFile(raw, order);
        f.rawWrite = std::min(f.rawWrite, Now() - start);
        // The same, made durable: what a crash-safe save cannot do without.
        start = Now();
        PutFile(raw, order, true);
        f.rawFlushed = std::min(f.rawFlushed, Now() - start);
        // What a crash-safe save is made of: a temporary file, flushed,
        // put in place of the old one.
        start = Now();
        PutFile(folder + "\\raw.tmp", order, true);
        MoveFileExA((folder + "\\raw.tmp").c_str(), raw.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        f.rawReplace = std::min(f.rawReplace, Now() - start);
    }
    // Wine looks a name that does not exist yet up by reading the whole
    // directory (names are case-insensitive); the temporary file pays that.
    double start = Now();
    PutFile(folder + "\\new.tmp", "");
    f.newName = Now() - start;
    DeleteFileA((folder + "\\new.tmp").c_str());
    // Reading every row's record back out of Wine's list view.
    start = Now();
    for (int r = 0; r < rows; ++r)
        GetRowRecord(r);
    f.readBack = Now() - start;

    f.listView = ListViewOnly(rows);
    ClearItemRows();
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes = BenchSizes(argc, argv, {1000, 10000, 100000});
    std::string base = StartBenchWindow();
    if (base.empty())
        return 1;
    std::vector<Figures> all;
    for (int n : sizes) {
        Figures f = Measure(base, n);
        all.push_back(f);
        printf("%7d items: load %.3fs with order file, %.3fs without; raw read %.3fs; "
               "list view alone %.3fs\n", n, f.loadOrdered, f.loadUnordered, f.raw, f.listView);
        printf("               load/raw %.2f (without list view %.2f); working set %.0f bytes per item\n",
               f.loadOrdered / f.raw, (f.loadOrdered - f.listView) / f.raw, f.bytesPerItem);
        printf("               save %.4fs, raw write %.4fs (flushed %.4fs, replaced %.4fs), "
               "save/raw %.2f, save/flushed %.2f, save/replaced %.2f\n", f.save, f.rawWrite,
               f.rawFlushed, f.rawReplace, f.save / f.rawWrite, f.save / f.rawFlushed,
               f.save / f.rawReplace);
        double own = f.save - f.readBack - f.newName;
        printf("               of the save: rows read from the list view %.4fs, Wine's lookup of "
               "the new temporary name %.4fs; the rest/flushed %.2f\n", f.readBack, f.newName,
               own / f.rawFlushed);
        fflush(stdout);
    }
    if (all.size() > 1) {
        const Figures& first = all.front();
        const Figures& last = all.back();
        printf("per-item load cost at %d vs %d items: %.2f (raw read %.2f)\n", last.n, first.n,
               (last.loadOrdered / last.n) / (first.loadOrdered / first.n),
               (last.raw / last.n) / (first.raw / first.n));
    }
    DestroyWindow(g_hMainWnd);
    return 0;
}
