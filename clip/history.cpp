#include "history.h"

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

#include "../app/historyview.h"
#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "../store/cachefile.h"
#include "../store/paths.h"
#include "../store/pathtext.h"
#include "../store/safewrite.h"
#include "copy.h"

#ifndef WM_CLIPBOARDUPDATE
#define WM_CLIPBOARDUPDATE 0x031D
#endif

enum { kSaveDelayMs = 1000, kImageCap = 1024 };

// The writer's work, handed over under the lock: the newest snapshot to
// write, or the file to remove; the last request wins.
struct HistoryWriter {
    std::thread thread;
    std::mutex lock;
    std::condition_variable wake;
    bool write = false, remove = false, stopping = false;
    std::vector<HistoryText> texts;
    char path[kPathCap] = "";
};

struct HistoryStore {
    HistoryList list;
    HistoryWriter writer;
    bool timerSet;
    bool listener;    // AddClipboardFormatListener, else the viewer chain
    HWND nextViewer;
    DWORD seen;       // the clipboard's sequence number last looked at
};

typedef BOOL(WINAPI* ListenerProc)(HWND);

static ListenerProc UserProc(const char* name)
{
    return (ListenerProc)(void*)GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
}

HistoryList* History()
{
    return g_app && g_app->history ? &g_app->history->list : nullptr;
}

bool HistoryFilePath(char* out, size_t cap)
{
    return LocalDataPath(HISTORY_FILE_NAME, out, cap);
}

char* HistoryProgramText(const std::string& utf8)
{
    char* copy = (char*)malloc(utf8.size() + 1);
    if (copy)
        memcpy(copy, utf8.c_str(), utf8.size() + 1);
    return copy;
}

// ---- The writer thread ----

static void WriterLoop(HistoryWriter* w)
{
    std::unique_lock<std::mutex> hold(w->lock);
    for (;;) {
        w->wake.wait(hold, [w] { return w->write || w->remove || w->stopping; });
        if (!w->write && !w->remove)
            return;
        bool remove = w->remove;
        std::vector<HistoryText> texts;
        texts.swap(w->texts);
        w->write = w->remove = false;
        hold.unlock();
        if (remove) {
            DeleteFileW(Widen(w->path).c_str());
        } else {
            try {
                std::string bytes;
                WriteHistory(texts, &bytes);
                char parent[kPathCap];
                if (ParentPath(w->path, parent, sizeof parent) > 0 && MakeFolders(parent))
                    ReplaceFileBytesQuietly(w->path, bytes.data(), (DWORD)bytes.size());
            } catch (const std::bad_alloc&) {
                // The next change tries again.
            }
        }
        hold.lock();
    }
}

static void HandToWriter(HistoryStore* h, bool remove)
{
    if (!h->writer.path[0])
        return;
    std::vector<HistoryText> texts;
    if (!remove)
        texts = h->list.Snapshot();
    std::lock_guard<std::mutex> hold(h->writer.lock);
    h->writer.texts.swap(texts);
    h->writer.write = !remove;
    h->writer.remove = remove;
    h->writer.wake.notify_one();
}

void NoteHistoryChanged()
{
    HistoryStore* h = g_app ? g_app->history : nullptr;
    if (!h)
        return;
    RefreshHistoryView();
    // One write a second at most, however fast the copies come.
    if (!g_app->historyMemoryOnly && !h->timerSet && g_hMainWnd)
        h->timerSet = SetTimer(g_hMainWnd, IDT_HISTORY_SAVE, kSaveDelayMs, NULL) != 0;
}

void OnHistorySaveTimer(HWND mainWindow)
{
    KillTimer(mainWindow, IDT_HISTORY_SAVE);
    HistoryStore* h = g_app ? g_app->history : nullptr;
    if (!h)
        return;
    h->timerSet = false;
    if (!g_app->historyMemoryOnly)
        HandToWriter(h, false);
}

// ---- Reading the kept history ----

// A file the program cannot read is kept for whoever wants to look at it,
// out of the way of the new history.
static void SetAside(const char* path)
{
    char aside[kPathCap];
    if (LocalDataPath(HISTORY_SET_ASIDE_NAME, aside, sizeof aside))
        MovePath(path, aside, MOVEFILE_REPLACE_EXISTING);
    ShowStatusNote(IDS_HISTORY_SET_ASIDE, HISTORY_SET_ASIDE_NAME);
}

static void ReadKeptHistory(HistoryStore* h)
{
    const char* path = h->writer.path;
    if (!path[0] || PathAttributes(path) == INVALID_FILE_ATTRIBUTES)
        return;
    try {
        std::string bytes;
        std::vector<HistoryText> texts;
        if (ReadFileBytes(path, (DWORD)kHistoryFileCap, &bytes) &&
            ParseHistory(bytes.data(), bytes.size(), &texts))
            h->list.Assign(texts);
        else
            SetAside(path);
    } catch (const std::bad_alloc&) {
        h->list.Clear();
    }
}

void StartHistory(HWND mainWindow)
{
    HistoryStore* h = new (std::nothrow) HistoryStore();
    if (!h)
        return;
    g_app->history = h;
    h->list.SetCapacity((size_t)g_app->historySize);
    if (!HistoryFilePath(h->writer.path, sizeof h->writer.path))
        h->writer.path[0] = '\0';
    if (!g_app->historyMemoryOnly)
        ReadKeptHistory(h);
    try {
        h->writer.thread = std::thread(WriterLoop, &h->writer);
    } catch (...) {
        h->writer.path[0] = '\0';   // no thread: nothing is written
    }
    // Kept in memory only: a file of an earlier run goes too.
    if (g_app->historyMemoryOnly)
        HandToWriter(h, true);
    // What was copied before the program ran is not recorded.
    h->seen = GetClipboardSequenceNumber();
    ListenerProc add = UserProc("AddClipboardFormatListener");
    h->listener = add && add(mainWindow);
    if (!h->listener)
        h->nextViewer = SetClipboardViewer(mainWindow);
}

void StopHistory(HWND mainWindow)
{
    HistoryStore* h = g_app ? g_app->history : nullptr;
    if (!h)
        return;
    ListenerProc remove = UserProc("RemoveClipboardFormatListener");
    if (h->listener && remove)
        remove(mainWindow);
    else if (!h->listener)
        ChangeClipboardChain(mainWindow, h->nextViewer);
    KillTimer(mainWindow, IDT_HISTORY_SAVE);
    if (h->timerSet && !g_app->historyMemoryOnly)
        HandToWriter(h, false);
    if (h->writer.thread.joinable()) {
        {
            std::lock_guard<std::mutex> hold(h->writer.lock);
            h->writer.stopping = true;
            h->writer.wake.notify_one();
        }
        h->writer.thread.join();
    }
    g_app->history = nullptr;
    delete h;
}

void ApplyHistoryOptions()
{
    HistoryStore* h = g_app ? g_app->history : nullptr;
    if (!h)
        return;
    h->list.SetCapacity((size_t)g_app->historySize);
    // Kept in memory only: nothing of it stays on the disk.
    if (g_app->historyMemoryOnly)
        HandToWriter(h, true);
    NoteHistoryChanged();
}

void ClearHistory(HWND owner)
{
    HistoryStore* h = g_app ? g_app->history : nullptr;
    if (!h || AskYesNo(owner, IDS_ASK_CLEAR_HISTORY, MB_ICONQUESTION, NULL, NULL) != IDYES)
        return;
    h->list.Clear();
    KillTimer(g_hMainWnd, IDT_HISTORY_SAVE);
    h->timerSet = false;
    HandToWriter(h, true);
    RefreshHistoryView();
}

// ---- Recording ----

bool IsExcludedImage(const char* list, const wchar_t* imagePath)
{
    const wchar_t* name = imagePath;
    for (const wchar_t* p = imagePath; *p; ++p)
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    char piece[kTextCap];
    // ";" is ASCII, never part of another character in either form.
    for (const char* text = list; *text;) {
        const char* end = strchr(text, ';');
        size_t length = end ? (size_t)(end - text) : strlen(text);
        if (length > 0 && length < sizeof piece) {
            memcpy(piece, text, length);
            piece[length] = '\0';
            if (lstrcmpiW(Widen(piece).c_str(), name) == 0)
                return true;
        }
        text += length + (end ? 1 : 0);
    }
    return false;
}

typedef BOOL(WINAPI* ImageNameProc)(HANDLE, DWORD, LPWSTR, PDWORD);

// The copy comes from this program, or from one the user listed: by the
// process of the window that owns the clipboard.
static bool OwnerExcluded(HWND owner)
{
    DWORD process = 0;
    if (!owner || !GetWindowThreadProcessId(owner, &process) || !process)
        return false;
    if (process == GetCurrentProcessId())
        return true;
    static ImageNameProc imageName = (ImageNameProc)(void*)GetProcAddress(
        GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW");
    HANDLE handle = OpenProcess(imageName ? 0x1000 /* PROCESS_QUERY_LIMITED_INFORMATION */
                                          : PROCESS_QUERY_INFORMATION,
                                FALSE, process);
    if (!handle)
        return false;
    wchar_t image[kImageCap] = L"";
    DWORD length = kImageCap;
    bool named = imageName && imageName(handle, 0, image, &length);
    CloseHandle(handle);
    return named && IsExcludedImage(g_app->historyExclude, image);
}

static UINT ClipFormat(const wchar_t* name)
{
    return RegisterClipboardFormatW(name);
}

// The formats with which a source says its content is private (password
// managers set them); the clipboard is open.
static bool MarkedPrivate()
{
    if (IsClipboardFormatAvailable(ClipFormat(L"ExcludeClipboardContentFromMonitorProcessing")) ||
        IsClipboardFormatAvailable(ClipFormat(L"Clipboard Viewer Ignore")))
        return true;
    UINT allow = ClipFormat(L"CanIncludeInClipboardHistory");
    HGLOBAL block = IsClipboardFormatAvailable(allow) ? GetClipboardData(allow) : NULL;
    const DWORD* value = block && GlobalSize(block) >= sizeof(DWORD)
                             ? (const DWORD*)GlobalLock(block)
                             : nullptr;
    bool denied = value && *value == 0;
    if (value)
        GlobalUnlock(block);
    return denied;
}

// The clipboard's Unicode text as UTF-8, never read past its block; only
// so much of a huge text is converted as the entry can hold.
static std::string ClipboardUtf8()
{
    HGLOBAL block = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* units = block ? (const wchar_t*)GlobalLock(block) : nullptr;
    if (!units)
        return std::string();
    size_t cap = GlobalSize(block) / sizeof(wchar_t);
    size_t length = 0;
    while (length < cap && length <= kHistoryEntryCap && units[length])
        ++length;
    std::string text;
    try {
        text = WideToUtf8(units, length);
    } catch (const std::bad_alloc&) {
        text.clear();
    }
    GlobalUnlock(block);
    return text;
}

void OnClipboardUpdate(HWND mainWindow)
{
    HistoryStore* h = g_app ? g_app->history : nullptr;
    if (!h)
        return;
    if (!h->listener && h->nextViewer)
        SendMessageW(h->nextViewer, WM_DRAWCLIPBOARD, 0, 0);
    // A note of a change already looked at (the viewer chain may repeat
    // one) opens nothing.
    DWORD sequence = GetClipboardSequenceNumber();
    if (sequence == h->seen)
        return;
    h->seen = sequence;
    if (g_app->historySize <= 0 || OwnerExcluded(GetClipboardOwner()) ||
        !IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboardPatiently(mainWindow))
        return;
    std::string text;
    if (!MarkedPrivate())
        text = ClipboardUtf8();
    CloseClipboard();
    bool added = false;
    try {
        added = h->list.Add(std::move(text));
    } catch (const std::bad_alloc&) {
        added = false;
    }
    if (added)
        NoteHistoryChanged();
}

void OnClipboardChain(HWND removed, HWND next)
{
    HistoryStore* h = g_app ? g_app->history : nullptr;
    if (!h || h->listener)
        return;
    if (removed == h->nextViewer)
        h->nextViewer = next;
    else if (h->nextViewer)
        SendMessageW(h->nextViewer, WM_CHANGECBCHAIN, (WPARAM)removed, (LPARAM)next);
}
