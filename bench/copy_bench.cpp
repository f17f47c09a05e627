// The copy of an item's value (activation without a menu) with the last
// row selected, in folders of 1,000 and 100,000 rows, against the bare
// clipboard calls it cannot avoid. Prints figures and ratios; nothing is
// asserted.
//   bash tools/bench.sh copy [sizes...]
#include "benchwindow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "clip/copy.h"
#include "ops/itemcommands.h"
#include "res/resource.h"
#include "store/paths.h"
#include "store/records.h"
#include "store/textbuf.h"

namespace {

const int kCopies = 200;
const int kRounds = 9;   // the best round counts: other programs only ever add time
const char kValue[] = "a value of a snippet, copied again and again";

// What any copy costs: open, empty, place, close.
double RawRound()
{
    double start = Now();
    for (int i = 0; i < kCopies; ++i) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof kValue);
        memcpy(GlobalLock(block), kValue, sizeof kValue);
        GlobalUnlock(block);
        while (!OpenClipboard(g_hMainWnd))
            Sleep(1);
        EmptyClipboard();
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }
    return (Now() - start) / kCopies;
}

double RawCopies()
{
    double best = RawRound();
    for (int r = 1; r < kRounds; ++r)
        best = std::min(best, RawRound());
    return best;
}

// Best time per call of step, in seconds.
template <typename Step> double Best(Step step)
{
    double best = 0;
    for (int r = 0; r < kRounds; ++r) {
        double start = Now();
        for (int i = 0; i < kCopies; ++i)
            step();
        double round = (Now() - start) / kCopies;
        best = r ? std::min(best, round) : round;
    }
    return best;
}

struct Figures {
    double select;     // selecting a row far from the selected one
    double move;       // the selected row moved up and back down
    double copy;       // the whole copy
    double rowParts;   // finding the selected row and refreshing the toolbar
    double system;     // the file check and the clipboard, Wine's own work
};

// n rows, the last one selected; only its file exists, the others are
// records only (the copy touches no other row).
Figures Copies(const std::string& folder, int n)
{
    Entry entry = {(char*)"key", (char*)kValue};
    FillRows(folder, n, entry);
    std::string last = folder + "\\note" + std::to_string(n - 1) + ".txt";
    HANDLE f = CreateFileA(last.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    CloseHandle(f);
    Figures figures;
    figures.select = Best([n] { SelectRow(n / 2); SelectRow(n - 1); }) / 2;
    figures.move = Best([] { MoveSelectedRow(-1); MoveSelectedRow(1); }) / 2;
    SelectRow(n - 1);
    figures.copy = Best([] { CopyOrNotify(g_hMainWnd, CMD_COPY); });
    figures.rowParts = Best([] { GetSelectedRecord(NULL, -1); }) + Best([] { UpdateCommandStates(); });
    figures.system = Best([&] { PathExists(last.c_str(), false); }) +
                     Best([] { SetClipboardText(g_hMainWnd, kValue); });
    DeleteFileA(last.c_str());
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes = BenchSizes(argc, argv, {1000, 100000});
    std::string base = StartBenchWindow();
    if (base.empty())
        return 1;
    double raw = RawCopies();
    std::vector<Figures> all;
    for (int n : sizes) {
        all.push_back(Copies(base, n));
        const Figures& f = all.back();
        printf("%7d rows: copy %.1f us, bare clipboard calls %.1f us, copy/bare %.2f\n", n,
               f.copy * 1e6, raw * 1e6, f.copy / raw);
        printf("               select a row %.1f us, move a row %.1f us\n", f.select * 1e6,
               f.move * 1e6);
        printf("               of it: selected row and toolbar %.1f us; file check and "
               "clipboard (Wine's own work, which varies from run to run) %.1f us\n",
               f.rowParts * 1e6, f.system * 1e6);
        fflush(stdout);
    }
    if (all.size() > 1)
        printf("per-copy cost at %d vs %d rows: %.2f (selected row and toolbar: %.2f)\n",
               sizes.back(), sizes.front(), all.back().copy / all.front().copy,
               all.back().rowParts / all.front().rowParts);
    if (all.size() > 1)
        printf("per-select cost at %d vs %d rows: %.2f; per-move: %.2f\n", sizes.back(),
               sizes.front(), all.back().select / all.front().select,
               all.back().move / all.front().move);
    DestroyWindow(g_hMainWnd);
    return 0;
}
