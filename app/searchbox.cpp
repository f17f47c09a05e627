#include "searchbox.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "../res/resource.h"
#include "../store/records.h"
#include "../store/searchtext.h"
#include "../store/itemtext.h"
#include "../clip/paste.h"
#include "chrome.h"
#include "historyview.h"
#include "state.h"
#include "wide.h"

namespace {

enum { kBoxWidth = 200, kBoxMinWidth = 60, kMargin = 4 };

WNDPROC s_editProc;
bool s_stale;   // the box holds text the rows are not filtered by yet

// Every keystroke filters the rows, but a list view repaints slowly on
// some systems: while more keys wait, the rows wait for them, and for
// this long at most.
const UINT_PTR kFilterTimer = 1;
const UINT kFilterWaitMs = 100;

bool KeysWaiting()
{
    MSG pending;
    HWND box = g_app->searchBox;
    return PeekMessageW(&pending, box, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) ||
           PeekMessageW(&pending, box, WM_CHAR, WM_CHAR, PM_NOREMOVE);
}

void ApplyFilter()
{
    s_stale = false;
    KillTimer(g_app->searchBox, kFilterTimer);
    char text[kSearchTextCap];
    GetSearchBoxText(text, sizeof text);
    // The history's rows filter with the same folding as a folder's.
    void (*filter)(const std::string&) = g_app->historyView ? FilterHistoryView : SetRowFilter;
    try {
        filter(FoldForSearch(text));
    } catch (const std::bad_alloc&) {
        filter(std::string());
    }
}

// Down or Enter: on into the list, onto the row chosen (the first when
// none is).
void EnterList()
{
    if (s_stale)
        ApplyFilter();
    if (RowCount() > 0 && !GetSelectedRecord(nullptr, -1))
        SelectRow(0);
    SetFocus(g_app->listView);
}

bool Pressed(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

// The box's own keys (Enter, Esc, Ctrl+K and Tab, which a one-line box has
// no use for) leave characters that are not text. Every other control
// character is an editing key of the edit itself: BackSpace is 0x08,
// Ctrl+V 0x16, Ctrl+Z 0x1A. The box is a wide window, so a character is
// one UTF-16 unit (or a pair) and never a control character's value.
bool IsKeyOfTheBox(WPARAM ch)
{
    return ch == '\r' || ch == '\n' || ch == 0x1B || ch == 0x0B || ch == '\t';
}

// A one-line box would keep only the first line of a pasted text; every
// line is looked for, so the breaks become spaces.
void PasteOneLine(HWND box)
{
    char* text = GetClipboardText(g_hMainWnd, NULL);
    if (!text)
        return;
    JoinLines(text);
    SendMessageW(box, EM_REPLACESEL, TRUE, (LPARAM)Widen(text).c_str());
    free(text);
}

LRESULT CALLBACK SearchBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_KEYDOWN:
        if (wParam == VK_DOWN || wParam == VK_RETURN) {
            EnterList();
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            // The full list comes back with the row the user is on.
            SetWindowTextW(box, L"");
            SetFocus(g_app->listView);
            return 0;
        }
        if (wParam == 'K' && Pressed(VK_CONTROL) && Pressed(VK_SHIFT)) {
            PostMessageW(g_hMainWnd, WM_COMMAND, CMD_FIND_ALL, 0);
            return 0;
        }
        if ((wParam == 'K' && Pressed(VK_CONTROL)) || wParam == VK_F3) {
            SendMessageW(box, EM_SETSEL, 0, -1);
            return 0;
        }
        break;
    case WM_KILLFOCUS:
        if (s_stale)
            ApplyFilter();
        break;
    case WM_TIMER:
        if (wParam != kFilterTimer)
            break;
        ApplyFilter();
        return 0;
    case WM_CHAR:
        if (IsKeyOfTheBox(wParam))
            return 0;
        break;
    case WM_PASTE:
        PasteOneLine(box);
        return 0;
    }
    return CallWindowProcW(s_editProc, box, msg, wParam, lParam);
}

// The grey hint is a wide string whatever the window's character set.
void SetHint(HWND box)
{
    std::string hint = LoadTextString(IDS_SEARCH_HINT);
    if (!hint.empty())
        SendMessageW(box, EM_SETCUEBANNER, TRUE, (LPARAM)Widen(hint.c_str()).c_str());
}

}  // namespace

BOOL CreateSearchBox(HWND toolbar)
{
    g_app->searchBox = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0,
                                       kBoxWidth, 20, toolbar, (HMENU)IDC_SEARCHBOX, g_hInstance,
                                       NULL);
    if (!g_app->searchBox)
        return FALSE;
    SendMessageW(g_app->searchBox, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    SendMessageW(g_app->searchBox, EM_LIMITTEXT, kSearchUnits - 1, 0);
    SetHint(g_app->searchBox);
    s_editProc = (WNDPROC)SetWindowLongPtrW(g_app->searchBox, GWLP_WNDPROC,
                                            (LONG_PTR)SearchBoxProc);
    return TRUE;
}

void LayoutSearchBox()
{
    HWND toolbar = g_app->toolbar;
    if (!toolbar || !g_app->searchBox)
        return;
    RECT client, last, button;
    GetClientRect(toolbar, &client);
    int lastIndex = (int)SendMessageW(toolbar, TB_COMMANDTOINDEX, CMD_PARENT, 0);
    if (!SendMessageW(toolbar, TB_GETITEMRECT, (WPARAM)lastIndex, (LPARAM)&last) ||
        !SendMessageW(toolbar, TB_GETRECT, CMD_FIND_ALL, (LPARAM)&button))
        return;
    // The gap before the button takes what the window leaves, so the box
    // and the button sit at the right end.
    int buttonWidth = button.right - button.left;
    int gap = client.right - last.right - buttonWidth - kMargin;
    if (gap < kBoxMinWidth + 2 * kMargin)
        gap = kBoxMinWidth + 2 * kMargin;
    TBBUTTONINFOW info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.dwMask = TBIF_SIZE;
    info.cx = (WORD)gap;
    SendMessageW(toolbar, TB_SETBUTTONINFOW, IDC_SEARCH_GAP, (LPARAM)&info);
    int width = gap - 2 * kMargin < kBoxWidth ? gap - 2 * kMargin : kBoxWidth;
    int height = last.bottom - last.top - 2;
    MoveWindow(g_app->searchBox, last.right + gap - width - kMargin, last.top + 1, width, height,
               TRUE);
}

void FocusSearchBox()
{
    if (!g_app->searchBox)
        return;
    // A hidden toolbar would take the text out of sight.
    if (!IsBarChecked(CMD_TOOLBAR))
        ToggleBar(CMD_TOOLBAR);
    SetFocus(g_app->searchBox);
    SendMessageW(g_app->searchBox, EM_SETSEL, 0, -1);
}

void GetSearchBoxText(char* out, int cap)
{
    if (cap <= 0)
        return;
    out[0] = '\0';
    // The box counts its limit in UTF-16 units, which may take more bytes
    // than cap: the text is cut on a character, never inside one.
    WCHAR wide[kSearchUnits];
    if (g_app->searchBox && GetWindowTextW(g_app->searchBox, wide, kSearchUnits) > 0)
        FromWideCut(wide, -1, out, (size_t)cap);
}

void OnSearchBoxCommand(int code)
{
    if (code != EN_CHANGE)
        return;
    if (!KeysWaiting()) {
        ApplyFilter();
    } else if (!s_stale) {
        s_stale = true;
        SetTimer(g_app->searchBox, kFilterTimer, kFilterWaitMs, NULL);
    }
}
