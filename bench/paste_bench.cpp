// Pasting a text as a new item at the end of folders of 1,000 and 100,000
// rows, against writing a small file raw, measured in the same run. The
// rows are records only; the pasted items are really written into a
// scratch folder and removed after every round. Prints figures and
// ratios; nothing is asserted.
//   bash tools/bench.sh paste [sizes...]
#include "benchwindow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "clip/paste.h"
#include "store/records.h"
#include "store/textbuf.h"

namespace {

const int kPastes = 50;
const int kRounds = 5;   // the best round counts: other programs only ever add time

// Paste i of a round; each text names an item of its own.
std::string Text(int i)
{
    return "snippet " + std::to_string(i) + " of the benchmark";
}

void RemoveRound(const std::string& folder)
{
    for (int i = 0; i < kPastes; ++i)
        DeleteFileA((folder + "\\" + Text(i) + ".txt").c_str());
}

// What any paste costs the disk: a small file made, written and closed.
double RawRound(const std::string& folder)
{
    double start = Now();
    for (int i = 0; i < kPastes; ++i) {
        std::string line = Text(i) + "=" + Text(i) + "\r\n";
        HANDLE f = CreateFileA((folder + "\\" + Text(i) + ".txt").c_str(), GENERIC_WRITE, 0, NULL,
                               CREATE_ALWAYS, 0, NULL);
        DWORD written;
        WriteFile(f, line.data(), (DWORD)line.size(), &written, NULL);
        CloseHandle(f);
    }
    double perFile = (Now() - start) / kPastes;
    RemoveRound(folder);
    return perFile;
}

double PasteRound(const std::string& folder, int n)
{
    MSG msg;
    double start = Now();
    for (int i = 0; i < kPastes; ++i) {
        MakeItemFromText(g_hMainWnd, Text(i).c_str(), FALSE, -1);
        // The rename each paste posts belongs to the user's next step.
        while (PeekMessageA(&msg, g_hMainWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
        }
    }
    double perPaste = (Now() - start) / kPastes;
    for (int i = 0; i < kPastes; ++i)
        RemoveListRow(n);
    RemoveRound(folder);
    return perPaste;
}

double SelectRound(int n)
{
    double start = Now();
    for (int i = 0; i < kPastes; ++i)
        SelectRow(n - 1 - (i & 1));
    return (Now() - start) / kPastes;
}

template <typename Round> double Best(Round round)
{
    double best = round();
    for (int r = 1; r < kRounds; ++r)
        best = std::min(best, round());
    return best;
}

struct Figures {
    double paste, raw, select;
};

Figures Pastes(const std::string& folder, int n)
{
    Entry entry = {(char*)"key", (char*)"a value"};
    FillRows(folder, n, entry);
    SelectRow(n / 2);
    Figures f;
    f.raw = Best([&] { return RawRound(folder); });
    f.paste = Best([&] { return PasteRound(folder, n); });
    f.select = Best([&] { return SelectRound(n); });
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes = BenchSizes(argc, argv, {1000, 100000});
    std::string base = StartBenchWindow();
    if (base.empty())
        return 1;
    std::string folder = base + "\\paste";
    CreateDirectoryA(folder.c_str(), NULL);
    std::vector<Figures> all;
    for (int n : sizes) {
        all.push_back(Pastes(folder, n));
        const Figures& f = all.back();
        printf("%7d rows: paste %.1f us, raw small-file write %.1f us, paste/raw %.2f; "
               "selecting a row %.1f us\n",
               n, f.paste * 1e6, f.raw * 1e6, f.paste / f.raw, f.select * 1e6);
        fflush(stdout);
    }
    if (all.size() > 1) {
        const Figures& a = all.front();
        const Figures& b = all.back();
        printf("per-paste cost at %d vs %d rows: %.2f (each against its raw write: %.2f; "
               "selecting a row: %.2f)\n",
               sizes.back(), sizes.front(), b.paste / a.paste, (b.paste / b.raw) / (a.paste / a.raw),
               b.select / a.select);
    }
    DestroyWindow(g_hMainWnd);
    RemoveDirectoryA(folder.c_str());
    return 0;
}
