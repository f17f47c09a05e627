#include "copy.h"

#include <cstring>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "../store/paths.h"
#include "../store/pathtext.h"
#include "../store/records.h"
#include "../store/itemname.h"
#include "../store/syncfiles.h"
#include "../web/browser.h"
#include "../web/titletext.h"
#include "entrymenu.h"

// Clipboard tools open the clipboard for a moment after every change; a
// copy that gives up at once would fail now and then for no visible reason.
BOOL OpenClipboardPatiently(HWND window)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (OpenClipboard(window))
            return TRUE;
        if (GetTickCount() - start >= kClipboardWaitMs)
            return FALSE;
        Sleep(20);
    }
}

static BOOL CopyFailed(DWORD code)
{
    ShowSystemError(code ? code : ERROR_ACCESS_DENIED);
    return FALSE;
}

BOOL SetClipboardText(HWND window, const char* text)
{
    if (!text || !text[0])
        return FALSE;
    return SetClipboardUnicode(window, Widen(text));
}

BOOL SetClipboardUnicode(HWND window, const std::wstring& wide)
{
    // Unicode text: the system makes CF_TEXT of it for the programs that
    // ask, in their own code page. The block is made before the clipboard
    // is emptied, so running out of memory leaves the user's clipboard as
    // it was.
    size_t size = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = wide.empty() ? NULL : GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return CopyFailed(ERROR_NOT_ENOUGH_MEMORY);
    wchar_t* units = (wchar_t*)GlobalLock(block);
    if (!units) {
        GlobalFree(block);
        return CopyFailed(ERROR_NOT_ENOUGH_MEMORY);
    }
    memcpy(units, wide.c_str(), size);
    GlobalUnlock(block);

    if (!OpenClipboardPatiently(window)) {
        DWORD error = GetLastError();
        GlobalFree(block);
        return CopyFailed(error);
    }
    BOOL placed = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) != NULL;
    DWORD error = GetLastError();
    CloseClipboard();
    if (placed)
        return TRUE;
    GlobalFree(block);
    return CopyFailed(error);
}

void DropVanishedRow(int row)
{
    ShowSystemError(ERROR_PATH_NOT_FOUND);
    RemoveListRow(row);
    ShowItemCount();
    UpdateCommandStates();
}

// Index of the entry to use, or -1 when the user chose none.
static int ChooseEntry(HWND window, ItemRecord* record, const POINT* under)
{
    if (record->entryCount == 1 && !g_app->options[MenuForSingle])
        return 0;
    int id = ShowEntryMenu(window, record, under);
    if (id < CMD_ENTRY_FIRST || id - CMD_ENTRY_FIRST >= record->entryCount)
        return -1;
    return id - CMD_ENTRY_FIRST;
}

void CopyOrNotify(HWND window, int command, BOOL atPointer)
{
    int row = -1;
    ItemRecord* record = GetSelectedRecord(&row, -1);
    if (!record || record->kind == kKindGroup || record->entryCount <= 0)
        return;
    char path[kPathCap];
    if (!RowPath(record, path)) {
        ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
        return;
    }
    if (!PathExists(path, false)) {
        DropVanishedRow(row);
        return;
    }
    // Only a menu goes under the row; finding the row may scroll to it.
    POINT under = {0, 0};
    bool menu = record->entryCount > 1 || g_app->options[MenuForSingle];
    if (!atPointer && menu)
        KeyboardMenuPoint(&under);
    TakeRecordValue(window, record, path, command, atPointer ? nullptr : &under);
    UpdateCommandStates();
    // Without NOACTIVATE the move activates the window, which raises it again.
    if (g_app->options[BackAfterCopy])
        SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TakeRecordValue(HWND window, ItemRecord* record, const char* path, int command,
                     const POINT* under)
{
    if (!EqualNoCase(path, g_app->lastCopied))
        g_app->lastEntry = -1;
    CopyText(g_app->lastCopied, kPathCap, path);
    int index = ChooseEntry(window, record, under);
    if (index < 0)
        return false;
    const char* value = record->entries[index].value;
    if (!value)
        return false;
    g_app->lastEntry = CMD_ENTRY_FIRST + index;

    bool isUrl = IsUrl(value);
    bool copy = command ? command == CMD_COPY : !isUrl;
    bool notify = (command && !g_app->options[NotifyUrlOnly]) ? command == CMD_NOTIFY : isUrl;
    BOOL copied = copy && SetClipboardText(window, value);
    if (notify)
        NotifyBrowser(window, value);
    if (copied || notify)
        ShowStatusNote(copied ? IDS_COPIED : IDS_HANDED_OVER, RowLabel(record));
    return copied || notify;
}
