#include "../clip/clipinfo.h"
#include "../clip/copy.h"
#include "../clip/droptarget.h"
#include "../clip/editdialog.h"
#include "../clip/entrymenu.h"
#include "../clip/history.h"
#include "../clip/paste.h"
#include "../ops/attributes.h"
#include "../ops/folderdialog.h"
#include "../ops/itemcommands.h"
#include "../ops/launch.h"
#include "../ops/searchdialog.h"
#include "../options/optionsdialog.h"
#include "../res/resource.h"
#include "../store/folderload.h"
#include "../store/folderwatch.h"
#include "../store/loadprogress.h"
#include "listinput.h"
#include "../store/order.h"
#include "../store/records.h"
#include "chrome.h"
#include "historyview.h"
#include "hotkey.h"
#include "menus.h"
#include "searchbox.h"
#include "state.h"
#include "ui.h"

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
        if (!DeferUntilLoaded(hwnd, msg, wParam, lParam))
            DestroyWindow(hwnd);
        return 0;
    case WM_ENDSESSION:
        if (wParam)
            TeardownMainWindow(hwnd);
        return 0;
    case WM_DRAWITEM:
        return DrawEntryMenuItem((DRAWITEMSTRUCT*)lParam);
    case WM_MEASUREITEM:
        return MeasureEntryMenuItem(hwnd, (MEASUREITEMSTRUCT*)lParam);
    case WM_NOTIFY:
        return OnListNotify((NMHDR*)lParam);
    case WM_COMMAND:
        // The filter box's notes, which the toolbar passes on, and going
        // there never stop a load: typing during it filters what is read.
        if (g_app && lParam && (HWND)lParam == g_app->searchBox)
            OnSearchBoxCommand(HIWORD(wParam));
        else if (LOWORD(wParam) == CMD_FIND || !DeferUntilLoaded(hwnd, msg, wParam, lParam))
            ExecuteCommand(hwnd, LOWORD(wParam));
        return 0;
    case WM_HOTKEY:
        if (wParam == kHotKeyId)
            OnHotKey(hwnd);
        return 0;
    case WM_HOTKEYHELD:
        return AnswerHotKeyHeld(wParam);
    case WM_INITMENUPOPUP:
        FillHotMenuPopup((HMENU)wParam);
        return 0;
    case WM_INITMENU:
        EnableMenuCommands((HMENU)wParam);
        return 0;
    case WM_TIMER:
        if (wParam == kStatusNoteTimer)
            EndStatusNote();
        else if (wParam == IDT_FOLDER_REFRESH)
            OnRefreshTimer();
        else if (wParam == IDT_HISTORY_SAVE)
            OnHistorySaveTimer(hwnd);
        return 0;
    case WM_CLIPBOARDUPDATE:
    case WM_DRAWCLIPBOARD:
        OnClipboardUpdate(hwnd);
        return 0;
    case WM_CHANGECBCHAIN:
        OnClipboardChain((HWND)wParam, (HWND)lParam);
        return 0;
    case WM_CONTEXTMENU:
        // Shift+F10 or the menu key in the list: the point is -1, -1.
        if (g_app && (HWND)wParam == g_app->listView && (DWORD)lParam == 0xFFFFFFFF) {
            ShowListContextMenu(TRUE);
            return 0;
        }
        break;
    case WM_MENUSELECT:
        ShowMenuHelp(wParam, lParam);
        return 0;
    case WM_DROPTEXT:
        // The drop target tells the source from this whether it may delete.
        // Nothing is added to a list still being read, nor to the history.
        return g_app && (g_app->loading || g_app->historyView) ? 0 : OnDropText(hwnd, wParam, lParam);
    case WM_FOLDERCHANGED:
        OnFolderChanged();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// F5: the arrangement on screen is kept before the folder is read again.
// One that could not be written stays on screen, so it is not lost too,
// and a later leave tries to write it again.
static void OnRefresh()
{
    if (SaveChangedOrder()) {
        LoadFolder();
        return;
    }
    g_app->orderChanged = 1;
    RefreshKeepingView(false);
}

// Ctrl+Shift+K: the filter box's text is searched for everywhere.
static void SearchWholeLibrary(HWND hwnd)
{
    char text[kSearchTextCap];
    GetSearchBoxText(text, sizeof text);
    SearchLibrary(hwnd, text);
}

void ExecuteCommand(HWND hwnd, int id)
{
    if (g_app && g_app->historyView && HistoryViewCommand(hwnd, id))
        return;
    switch (id) {
    case CMD_NEW_ITEM:
    case CMD_EDIT:
        EditItem(hwnd, id == CMD_NEW_ITEM);
        break;
    case CMD_NEW_GROUP:
        NewGroup(hwnd);
        break;
    case CMD_RENAME:
        StartRename();
        break;
    case CMD_DELETE:
        DeleteSelectedRow(hwnd);
        break;
    case CMD_ATTRIBUTES:
        ChangeAttributes(hwnd);
        break;
    case CMD_DUPLICATE:
        DuplicateSelectedRow(hwnd);
        break;
    case CMD_MOVE_UP:
        MoveSelectedRow(-1);
        break;
    case CMD_MOVE_DOWN:
        MoveSelectedRow(+1);
        break;
    case CMD_MOVE_TO:
        MoveItemToGroup(hwnd);
        break;
    case CMD_EXIT:
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        break;
    case CMD_COPY:
    case CMD_NOTIFY:
        CopyOrNotify(hwnd, id);
        break;
    case CMD_PASTE:
        PasteFromClipboard(hwnd);
        break;
    case CMD_PARENT:
        GoUpOneLevel();
        break;
    case CMD_FOLDER:
        FolderCommand(hwnd);
        break;
    case CMD_SAVE_ORDER:
        if (!RowsFiltered())
            SaveOrder();
        break;
    case CMD_FIND:
        FocusSearchBox();
        break;
    case CMD_FIND_ALL:
        SearchWholeLibrary(hwnd);
        break;
    case CMD_EDITOR:
        LaunchEditor();
        break;
    case CMD_EXPLORER:
        LaunchExplorer();
        break;
    case CMD_TOOLBAR:
    case CMD_STATUSBAR:
        ToggleBar(id);
        break;
    case CMD_CLIPINFO:
        ShowClipboardInfo(hwnd);
        break;
    case CMD_REFRESH:
        OnRefresh();
        break;
    case CMD_HISTORY:
        ShowHistoryView();
        break;
    case CMD_HISTORY_CLEAR:
        ClearHistory(hwnd);
        break;
    case CMD_OPTIONS:
        EditOptions(hwnd);
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
