#include "history.h"

#include <algorithm>

#include "../res/resource.h"
#include "regkey.h"
#include "state.h"
#include "wide.h"

// A count beyond the values the key holds is damage (entries are written
// from 0 up, beside Cnt and Cur); reading or deleting up to it could run for
// hours.
static DWORD PlausibleCount(HKEY key, DWORD count)
{
    DWORD values = 0;
    if (!key || RegQueryInfoKeyW(key, NULL, NULL, NULL, NULL, NULL, NULL, &values, NULL, NULL,
                                 NULL, NULL) != ERROR_SUCCESS)
        return 0;
    return std::min(count, values);
}

void LoadFolderHistory(HWND dialog)
{
    RegKey reg(REG_BASE_PATH, HISTORY_KEY, false);
    SetItemText(dialog, IDC_FOLDER_BOOT, g_app->bootFolder);
    HWND list = GetDlgItem(dialog, IDC_FOLDER_LIST);
    DWORD count = PlausibleCount(reg.key, reg.ReadDword("Cnt"));
    if (count == 0)
        return;
    for (DWORD i = 0; i < count; ++i) {
        char name[16];
        // Room to see that a value is too long: a cut path names another folder.
        char path[kPathCap + 2];
        FormatText(name, sizeof name, "%lu", (unsigned long)i);
        int len = reg.ReadString(name, path, sizeof path);
        if (len <= 0 || len >= kPathCap || !PathFits(path))
            continue;
        if (SendMessageW(list, CB_ADDSTRING, 0, (LPARAM)Widen(path).c_str()) < 0)
            break;
    }
    SendMessageW(list, CB_SETCURSEL, (WPARAM)reg.ReadDword("Cur"), 0);
}

void SaveFolderHistory(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_FOLDER_LIST);
    LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    if (count == CB_ERR)
        return;
    RegKey reg(REG_BASE_PATH, HISTORY_KEY, false);
    DWORD oldCount = PlausibleCount(reg.key, reg.ReadDword("Cnt"));
    char name[16];
    DWORD written = 0;
    for (; written < (DWORD)count; ++written) {
        // A path that does not fit is never stored cut: it would name
        // another folder.
        WCHAR wide[kPathCap];
        char path[kPathCap];
        LRESULT len = SendMessageW(list, CB_GETLBTEXTLEN, written, 0);
        if (len == CB_ERR || len >= kPathCap ||
            SendMessageW(list, CB_GETLBTEXT, written, (LPARAM)wide) == CB_ERR ||
            !FromWide(wide, -1, path, sizeof path))
            break;
        FormatText(name, sizeof name, "%lu", (unsigned long)written);
        reg.WriteString(name, path);
    }
    LRESULT current = SendMessageW(list, CB_GETCURSEL, 0, 0);
    reg.WriteDword("Cur", current < 0 || (DWORD)current >= written ? 0 : (DWORD)current);
    // The count goes last: until then the old count names values that exist.
    if (!reg.WriteDword("Cnt", written))
        return;
    for (DWORD i = written; i < oldCount; ++i) {
        FormatText(name, sizeof name, "%lu", (unsigned long)i);
        RegDeleteValueW(reg.key, Widen(name).c_str());
    }
}
