#include "folderwatch.h"
#include "paths.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "../app/state.h"
#include "../res/resource.h"
#include "folderload.h"
#include "orderindex.h"
#include "pathtext.h"
#include "records.h"

BOOL g_watchFolders = TRUE;

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

// The program's own order file and temporary files change on every save;
// reading the folder again for them would only repeat what it shows.
bool OwnFile(const WCHAR* name, size_t length)
{
    std::wstring text(name, length);
    for (wchar_t& c : text)
        c = (c >= L'a' && c <= L'z') ? (wchar_t)(c - L'a' + L'A') : c;
    return text == L"ZORIVEN.ORD" ||
           (text.compare(0, 3, L"~ZV") == 0 && text.size() > 4 &&
            text.compare(text.size() - 4, 4, L".TMP") == 0);
}

// Whether the records name anything but the program's own files; a
// record that runs past the bytes counts as a change.
bool AnyOtherChange(const BYTE* data, DWORD size)
{
    DWORD at = 0;
    for (;;) {
        if (size - at < sizeof(FILE_NOTIFY_INFORMATION))
            return true;
        const FILE_NOTIFY_INFORMATION* info = (const FILE_NOTIFY_INFORMATION*)(data + at);
        DWORD nameAt = at + (DWORD)offsetof(FILE_NOTIFY_INFORMATION, FileName);
        if (info->FileNameLength > size - nameAt)
            return true;
        if (!OwnFile(info->FileName, info->FileNameLength / sizeof(WCHAR)))
            return true;
        if (info->NextEntryOffset == 0)
            return false;
        if (info->NextEntryOffset > size - at || info->NextEntryOffset % 4)
            return true;
        at += info->NextEntryOffset;
    }
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
    while (folder != INVALID_HANDLE_VALUE && done) {
        OVERLAPPED overlapped = {};
        overlapped.hEvent = done;
        ResetEvent(done);
        if (!ReadDirectoryChangesW(folder, buffer.data(), kBufferBytes, FALSE, kWatchFilter, NULL,
                                   &overlapped, NULL))
            break;   // not watchable (some network file systems): no watch
        HANDLE waits[2] = {watch->stop, done};
        DWORD got = 0;
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            CancelIo(folder);
            GetOverlappedResult(folder, &overlapped, &got, TRUE);
            break;
        }
        if (!GetOverlappedResult(folder, &overlapped, &got, FALSE))
            break;
        // No bytes: more changed than the buffer could name.
        if (got == 0 || AnyOtherChange((const BYTE*)buffer.data(), got))
            PostMessageW(watch->window, WM_FOLDERCHANGED, 0, 0);
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
    return !IsWindowEnabled(g_hMainWnd) || GetCapture() != NULL || g_app->dragOver || g_app->loading ||
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
    std::vector<std::pair<int, ItemRecord*>> rows;
    for (int i = 0; i < g_app->rowCount; ++i) {
        auto found = place.find(RowKey(g_app->rows[i]));
        rows.push_back({found == place.end() ? INT_MAX : found->second, g_app->rows[i]});
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
    SendMessageW(g_app->listView, WM_SETREDRAW, FALSE, 0);
    LoadFolder(quiet ? &failures : nullptr);
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
    if (!RefreshKeepingView(true)) {
        watch->pending = TRUE;
        SetTimer(g_hMainWnd, IDT_FOLDER_REFRESH, kRetryDelay, NULL);
    }
}
