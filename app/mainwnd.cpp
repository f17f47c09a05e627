#include "../res/resource.h"
#include "../store/folderload.h"
#include "../store/order.h"
#include "../store/records.h"
#include "chrome.h"
#include "state.h"
#include "ui.h"

// Rows keep their text in the record; the list asks for it when it paints.
static void OnGetDispInfo(NMLVDISPINFOA* info)
{
    ItemRecord* record = (ItemRecord*)info->item.lParam;
    if (!record)
        record = GetRowRecord(info->item.iItem);
    if ((info->item.mask & LVIF_TEXT) && record && info->item.iSubItem == 0)
        info->item.pszText = record->name;
}

static LRESULT OnNotify(NMHDR* header)
{
    if (header->code == TTN_NEEDTEXTA) {
        NMTTDISPINFOA* tip = (NMTTDISPINFOA*)header;
        tip->hinst = g_hInstance;
        tip->lpszText = MAKEINTRESOURCEA(header->idFrom + TOOLTIP_BASE);
        return 1;
    }
    if (!g_app || header->hwndFrom != g_app->listView)
        return 0;
    if (header->code == LVN_GETDISPINFOA)
        OnGetDispInfo((NMLVDISPINFOA*)header);
    return 0;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return OnMainCreate(hwnd);
    case WM_DESTROY:
        OnMainDestroy(hwnd);
        return 0;
    case WM_SIZE:
        LayoutChrome(TRUE, wParam, lParam);
        return 0;
    case WM_SETFOCUS:
        if (g_app && g_app->listView)
            SetFocus(g_app->listView);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_ENDSESSION:
        if (wParam)
            TeardownMainWindow(hwnd);
        return 0;
    case WM_COMMAND:
        ExecuteCommand(hwnd, LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify((NMHDR*)lParam);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// F5: the arrangement on screen is kept before the folder is read again.
static void OnRefresh()
{
    SaveChangedOrder();
    LoadFolder();
}

void ExecuteCommand(HWND hwnd, int id)
{
    switch (id) {
    case CMD_SAVE_ORDER:
        SaveOrder();
        break;
    case CMD_REFRESH:
        OnRefresh();
        break;
    case CMD_EXIT:
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        break;
    case CMD_TOOLBAR:
    case CMD_STATUSBAR:
        ToggleBar(id);
        break;
    case CMD_HELP:
        ShowHelp(0, 0);
        break;
    case CMD_HOMEPAGE:
        OpenHomePage(hwnd);
        break;
    case CMD_ABOUT:
        ShowAbout(hwnd);
        break;
    }
}
