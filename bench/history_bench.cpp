// The clipboard history: what recording a copy costs with a short and a
// long history, and the history view with a filter keystroke against a
// folder of as many items, all measured in the same run. Prints figures
// and ratios; nothing is asserted.
//   bash tools/bench.sh history [entries]
#include "benchwindow.h"

#include <algorithm>
#include <cstring>

#include "app/historyview.h"
#include "clip/history.h"
#include "store/searchtext.h"

namespace {

const char kMemoUtf8[] = u8"メモ";

void PutClipboard(const std::wstring& text)
{
    if (!OpenClipboard(NULL))
        return;
    EmptyClipboard();
    size_t size = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(block), text.c_str(), size);
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

// The change notes the system queued are left out: each copy is recorded
// once, by the call measured.
void DropClipboardNotes()
{
    MSG msg;
    while (PeekMessageW(&msg, g_hMainWnd, 0x031D, 0x031D, PM_REMOVE)) {
    }
}

std::vector<HistoryText> Entries(int n)
{
    std::vector<HistoryText> texts;
    for (int i = 0; i < n; ++i)
        texts.push_back(std::make_shared<const std::string>(
            "value " + std::to_string(i) + " " + kMemoUtf8 + " text\r\nsecond line"));
    return texts;
}

double RecordOnce(const std::vector<HistoryText>& held, int round)
{
    History()->Assign(held);
    PutClipboard(L"a new copy " + std::to_wstring(round) + L" with some words in it");
    DropClipboardNotes();
    double start = Now();
    OnClipboardUpdate(g_hMainWnd);
    return Now() - start;
}

// One copy recorded with 10 and with n entries held, taken in turns so
// that both meet the machine alike: the best of many.
void Recording(int n, double* small, double* large)
{
    std::vector<HistoryText> few = Entries(10), many = Entries(n);
    *small = *large = 1e9;
    RecordOnce(few, -1);   // the first call's one-time costs
    for (int round = 0; round < 40; ++round) {
        *small = std::min(*small, RecordOnce(few, round));
        *large = std::min(*large, RecordOnce(many, round));
    }
}

// What no recording can avoid: the clipboard opened and its text read.
double ClipboardRead()
{
    double best = 1e9;
    for (int round = 0; round < 40; ++round) {
        double start = Now();
        if (OpenClipboard(g_hMainWnd)) {
            HGLOBAL block = GetClipboardData(CF_UNICODETEXT);
            if (block)
                GlobalUnlock((GlobalLock(block), block));
            CloseClipboard();
        }
        best = std::min(best, Now() - start);
    }
    return best;
}

double HistoryViewAndKeystroke(const std::vector<HistoryText>& entries)
{
    History()->Assign(entries);   // nothing folded yet
    double start = Now();
    ShowHistoryView();
    FilterHistoryView(FoldForSearch("7"));
    double took = Now() - start;
    LeaveHistoryView();
    return took;
}

double FolderAndKeystroke(const std::string& base, int n)
{
    double best = 1e9;
    {
        double start = Now();
        ClearItemRows();
        CopyText(g_app->currentFolder, kPathCap, base.c_str());
        SendMessageA(g_app->listView, WM_SETREDRAW, FALSE, 0);
        for (int i = 0; i < n; ++i) {
            std::string key = "key", value = "value " + std::to_string(i) + " " + kBenchMemo + " text";
            Entry entry = {&key[0], &value[0]};
            AddItemRow(("note" + std::to_string(i) + ".txt").c_str(), TRUE, 1, &entry, -1);
        }
        SendMessageA(g_app->listView, WM_SETREDRAW, TRUE, 0);
        SetRowFilter(FoldForSearch("7"));
        best = Now() - start;
        SetRowFilter(std::string());
    }
    ClearItemRows();
    return best;
}

// Both in turns, the best of five each.
void ViewAgainstFolder(const std::string& base, int n, double* view, double* folder)
{
    std::vector<HistoryText> entries = Entries(n);
    *view = *folder = 1e9;
    for (int round = 0; round < 5; ++round) {
        *view = std::min(*view, HistoryViewAndKeystroke(entries));
        *folder = std::min(*folder, FolderAndKeystroke(base, n));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::string base = StartBenchWindow();
    if (base.empty() || !History())
        return 1;
    // Nothing of the run reaches the prefix's history file.
    g_app->historyMemoryOnly = TRUE;
    g_app->historySize = kHistoryMax;
    History()->SetCapacity(kHistoryMax);
    std::vector<int> sizes = BenchSizes(argc, argv, {10000});
    for (int n : sizes) {
        double small, large;
        Recording(n, &small, &large);
        double read = ClipboardRead();
        printf("recording a copy: %.3f ms with 10 entries, %.3f ms with %d, ratio %.2f (goal <= 1.5); "
               "the clipboard read alone %.3f ms\n",
               small * 1000, large * 1000, n, large / small, read * 1000);
        double view, folder;
        ViewAgainstFolder(base, n, &view, &folder);
        printf("history view and a keystroke, %d entries: %.1f ms; a folder of %d items and a "
               "keystroke: %.1f ms; ratio %.2f (goal <= 1)\n",
               n, view * 1000, n, folder * 1000, view / folder);
    }
    DestroyWindow(g_hMainWnd);
    return 0;
}
