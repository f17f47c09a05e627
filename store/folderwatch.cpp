#include "folderwatch.h"
#include "paths.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <new>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "../app/state.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "folderload.h"
#include "orderindex.h"
#include "pathtext.h"
#include "records.h"
#include "syncfiles.h"
#include "syncnames.h"

BOOL g_watchFolders = TRUE;
int g_watchReads = 0;

struct FolderWatch {
    char folder[kPathCap];
    HANDLE stop;
    HANDLE thread;
    HWND window;
    BOOL pending;
};

namespace {

const DWORD kWatchFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                           FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                           FILE_NOTIFY_CHANGE_LAST_WRITE;
const UINT kRefreshDelay = 250;   // ms: a burst of changes is read once
const UINT kRetryDelay = 1000;    // ms: a file still being written
const DWORD kWriteCheckDelay = 500;       // ms between looks at a file being written
const DWORD kLongestWriteWait = 60000;    // ms: then the folder is read all the same

// The program's own order file and temporary files change on every save,
// and an engine's files change while they arrive; reading the folder again
// for them would only repeat what it shows.
bool OwnFile(const WCHAR* name, size_t length)
{
    std::wstring text(name, length);
    for (wchar_t& c : text)
        c = (c >= L'a' && c <= L'z') ? (wchar_t)(c - L'a' + L'A') : c;
    if (text == L"ZORIVEN.ORD" || (text.compare(0, 3, L"~ZV") == 0 && text.size() > 4 &&
                                   text.compare(text.size() - 4, 4, L".TMP") == 0))
        return true;
    char program[kPathCap];
    return FromWide(name, (int)length, program, sizeof program) && IsBookkeepingName(program);
}

// The changes one read of the folder reported.
struct Changes {
    bool any = false;                   // something a row may show changed
    std::vector<std::wstring> written;  // files made or written to
};

// Adds what the records name but the program's own files; a record that
// runs past the bytes counts as a change.
void CollectChanges(const BYTE* data, DWORD size, Changes* changes)
{
    DWORD at = 0;
    for (;;) {
        if (size - at < sizeof(FILE_NOTIFY_INFORMATION)) {
            changes->any = true;
            return;
        }
        const FILE_NOTIFY_INFORMATION* info = (const FILE_NOTIFY_INFORMATION*)(data + at);
        DWORD nameAt = at + (DWORD)offsetof(FILE_NOTIFY_INFORMATION, FileName);
        if (info->FileNameLength > size - nameAt) {
            changes->any = true;
            return;
        }
        size_t length = info->FileNameLength / sizeof(WCHAR);
        if (!OwnFile(info->FileName, length)) {
            changes->any = true;
            std::wstring name(info->FileName, length);
            if (info->Action != FILE_ACTION_REMOVED && info->Action != FILE_ACTION_RENAMED_OLD_NAME &&
                std::find(changes->written.begin(), changes->written.end(), name) ==
                    changes->written.end())
                changes->written.push_back(name);
        }
        if (info->NextEntryOffset == 0)
            return;
        if (info->NextEntryOffset > size - at || info->NextEntryOffset % 4) {
            changes->any = true;
            return;
        }
        at += info->NextEntryOffset;
    }
}

// The file of the folder named by a change is still being written.
bool StillWritten(const char* folder, const std::wstring& name)
{
    char text[kPathCap], path[kPathCap];
    return FromWide(name.c_str(), (int)name.size(), text, sizeof text) &&
           JoinPath(path, sizeof path, folder, text) && HeldForWriting(path);
}

// Forgets the files that are complete; true when none is still written
// or the wait for them has gone on too long (a file held open for ever
// must not keep the list from following the folder).
bool WrittenFilesComplete(const char* folder, Changes* changes, DWORD waitingSince)
{
    auto& written = changes->written;
    written.erase(std::remove_if(written.begin(), written.end(),
                                 [&](const std::wstring& name) { return !StillWritten(folder, name); }),
                  written.end());
    if (!written.empty() && GetTickCount() - waitingSince < kLongestWriteWait)
        return false;
    written.clear();
    return true;
}

DWORD WINAPI WatchThread(void* param)
{
    FolderWatch* watch = (FolderWatch*)param;
    HANDLE folder = OpenPath(watch->folder, FILE_LIST_DIRECTORY,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED);
    HANDLE done = CreateEventW(NULL, TRUE, FALSE, NULL);
    // DWORDs: the records must be aligned.
    static const DWORD kBufferBytes = 16384;
    std::vector<DWORD> buffer(kBufferBytes / sizeof(DWORD));
    OVERLAPPED overlapped = {};
    bool reading = false;
    Changes changes;
    DWORD waitingSince = 0;
    while (folder != INVALID_HANDLE_VALUE && done) {
        if (!reading) {
            overlapped = OVERLAPPED();
            overlapped.hEvent = done;
            ResetEvent(done);
            if (!ReadDirectoryChangesW(folder, buffer.data(), kBufferBytes, FALSE, kWatchFilter,
                                       NULL, &overlapped, NULL))
                break;   // not watchable (some network file systems): no watch
            reading = true;
        }
        // While a file is still being written, it is looked at again now
        // and then; the read of the folder stays under way meanwhile.
        HANDLE waits[2] = {watch->stop, done};
        DWORD woke = WaitForMultipleObjects(2, waits, FALSE,
                                            changes.written.empty() ? INFINITE : kWriteCheckDelay);
        if (woke == WAIT_OBJECT_0 + 1) {
            DWORD got = 0;
            reading = false;
            if (!GetOverlappedResult(folder, &overlapped, &got, FALSE))
                break;
            if (changes.written.empty())
                waitingSince = GetTickCount();
            // No bytes: more changed than the buffer could name.
            if (got == 0)
                changes.any = true;
            else
                CollectChanges((const BYTE*)buffer.data(), got, &changes);
        } else if (woke != WAIT_TIMEOUT) {
            break;
        }
        // A burst is read once, when its last file is complete.
        if (changes.any && WrittenFilesComplete(watch->folder, &changes, waitingSince)) {
            changes.any = false;
            PostMessageW(watch->window, WM_FOLDERCHANGED, 0, 0);
        }
    }
    if (reading) {
        DWORD got = 0;
        CancelIo(folder);
        GetOverlappedResult(folder, &overlapped, &got, TRUE);
    }
    if (done)
        CloseHandle(done);
    if (folder != INVALID_HANDLE_VALUE)
        CloseHandle(folder);
    return 0;
}

// Something the user is in the middle of, which a reload would pull the
// rows from under.
bool UserBusy()
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetCurrentThreadId(), &gui);
    return g_app->historyView || !IsWindowEnabled(g_hMainWnd) || GetCapture() != NULL || g_app->dragOver || g_app->loading ||
           (gui.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_INMOVESIZE)) ||
           SendMessageW(g_app->listView, LVM_GETEDITCONTROL, 0, 0) != 0;
}

std::string RowKey(const ItemRecord* record)
{
    std::string key = record && record->name ? record->name : "";
    return FoldName((key + (record && record->ext ? record->ext : "")).c_str());
}

// The rows as they were arranged on screen: each row that is still there
// goes back to its place, new ones follow in the order the load gave.
void KeepArrangement(const std::vector<std::string>& before)
{
    std::unordered_map<std::string, int> place;
    for (int i = 0; i < (int)before.size(); ++i)
        place.emplace(before[i], i);
    // A new conflict copy goes right after its original (the load put it
    // there, and a copy of a copy after that copy).
    std::unordered_map<std::string, int> placeOfNew;
    std::vector<std::pair<int, ItemRecord*>> rows;
    for (int i = 0; i < g_app->rowCount; ++i) {
        std::string key = RowKey(g_app->rows[i]), original;
        auto found = place.find(key);
        int at = found == place.end() ? INT_MAX : found->second;
        if (at == INT_MAX && ConflictOriginalKey(g_app->rows[i], &original)) {
            auto known = place.find(original);
            auto newer = placeOfNew.find(original);
            at = known != place.end() ? known->second : newer != placeOfNew.end() ? newer->second
                                                                                 : INT_MAX;
        }
        if (found == place.end())
            placeOfNew.emplace(key, at);
        rows.push_back({at, g_app->rows[i]});
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const std::pair<int, ItemRecord*>& a, const std::pair<int, ItemRecord*>& b) {
                         return a.first < b.first;
                     });
    for (int i = 0; i < g_app->rowCount; ++i)
        g_app->rows[i] = rows[i].second;
}

int RowOfKey(const std::string& key)
{
    for (int i = 0; i < g_app->rowCount; ++i)
        if (RowKey(g_app->rows[i]) == key)
            return i;
    return -1;
}

}  // namespace

bool RefreshKeepingView(bool quiet)
{
    std::vector<std::string> before;
    for (int i = 0; i < g_app->rowCount; ++i)
        before.push_back(RowKey(g_app->rows[i]));
    int selected = -1;
    ItemRecord* record = GetSelectedRecord(&selected, -1);
    std::string selectedKey = record ? RowKey(record) : "";
    int top = (int)SendMessageW(g_app->listView, LVM_GETTOPINDEX, 0, 0);
    int changed = g_app->orderChanged;
    int failures = 0;
    std::unordered_set<std::string> shown(before.begin(), before.end());
    SendMessageW(g_app->listView, WM_SETREDRAW, FALSE, 0);
    LoadFolder(quiet ? &failures : nullptr, quiet ? &shown : nullptr);
    KeepArrangement(before);
    ReapplyRowFilter();
    g_app->orderChanged |= changed;
    int index = record ? RowOfKey(selectedKey) : -1;
    int row = index >= 0 ? RowOfRecord(g_app->rows[index]) : -1;
    if (row < 0 && selected >= 0)
        row = std::min(selected, RowCount() - 1);
    if (row < 0) {
        LVITEMW none = {};
        none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(g_app->listView, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&none);
    } else {
        SelectRow(row);
        RECT rc = {};
        SendMessageW(g_app->listView, LVM_GETITEMRECT, 0, (LPARAM)&rc);
        int now = (int)SendMessageW(g_app->listView, LVM_GETTOPINDEX, 0, 0);
        SendMessageW(g_app->listView, LVM_SCROLL, 0, (top - now) * (rc.bottom - rc.top));
    }
    SendMessageW(g_app->listView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_app->listView, NULL, TRUE);
    UpdateCommandStates();
    return failures == 0;
}

void StopFolderWatch()
{
    FolderWatch* watch = g_app ? g_app->folderWatch : nullptr;
    if (!watch)
        return;
    g_app->folderWatch = nullptr;
    SetEvent(watch->stop);
    WaitForSingleObject(watch->thread, INFINITE);
    CloseHandle(watch->thread);
    CloseHandle(watch->stop);
    if (watch->window)
        KillTimer(watch->window, IDT_FOLDER_REFRESH);
    delete watch;
}

void WatchCurrentFolder()
{
    if (!g_app || !g_hMainWnd || !g_watchFolders)
        return;
    if (g_app->folderWatch && EqualNoCase(g_app->folderWatch->folder, g_app->currentFolder))
        return;
    StopFolderWatch();
    FolderWatch* watch = new (std::nothrow) FolderWatch();
    if (!watch)
        return;
    CopyText(watch->folder, sizeof watch->folder, g_app->currentFolder);
    watch->window = g_hMainWnd;
    watch->stop = CreateEventW(NULL, TRUE, FALSE, NULL);
    DWORD id;
    watch->thread = watch->stop ? CreateThread(NULL, 0, WatchThread, watch, 0, &id) : NULL;
    if (!watch->thread) {
        if (watch->stop)
            CloseHandle(watch->stop);
        delete watch;
        return;
    }
    g_app->folderWatch = watch;
}

void OnFolderChanged()
{
    if (!g_app || !g_app->folderWatch)
        return;
    g_app->folderWatch->pending = TRUE;
    SetTimer(g_hMainWnd, IDT_FOLDER_REFRESH, kRefreshDelay, NULL);
}

void OnRefreshTimer()
{
    FolderWatch* watch = g_app ? g_app->folderWatch : nullptr;
    if (!watch || !watch->pending) {
        KillTimer(g_hMainWnd, IDT_FOLDER_REFRESH);
        return;
    }
    if (UserBusy())
        return;   // the timer asks again
    watch->pending = FALSE;
    KillTimer(g_hMainWnd, IDT_FOLDER_REFRESH);
    ++g_watchReads;
    if (!RefreshKeepingView(true)) {
        watch->pending = TRUE;
        SetTimer(g_hMainWnd, IDT_FOLDER_REFRESH, kRetryDelay, NULL);
    }
}
