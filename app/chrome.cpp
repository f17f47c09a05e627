#include "chrome.h"

#include <shlwapi.h>
#include <cstring>

#include "../res/resource.h"
#include "../store/records.h"
#include "searchbox.h"
#include "state.h"
#include "wide.h"

#define TB(image, command) {image, command, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0}, 0, 0}
#define TB_SEPARATOR {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0}

static const TBBUTTON kToolbarButtons[] = {
    TB(0, CMD_COPY),     TB(2, CMD_NOTIFY),  TB_SEPARATOR,
    TB(3, CMD_NEW_ITEM), TB(4, CMD_EDIT),    TB(5, CMD_DELETE),
    TB(1, CMD_DUPLICATE), TB(6, CMD_REFRESH), TB_SEPARATOR,
    TB(7, CMD_MOVE_UP),  TB(8, CMD_MOVE_DOWN), TB_SEPARATOR,
    TB(9, CMD_PARENT),   TB_SEPARATOR,
    // The filter box stands over this gap, which the layout widens so that
    // box and button sit at the right end.
    {220, IDC_SEARCH_GAP, TBSTATE_ENABLED, TBSTYLE_SEP, {0}, 0, 0},
    TB(10, CMD_FIND_ALL),
};

enum { kToolbarImages = 11, kFlatToolbarVersion = 0x40047, kStatusFallbackWidth = 150 };
enum { kToolbarMaskGrey = 192 };   // the strip's background, light grey

DWORD GetCommonControlsVersion(const char* library)
{
    HMODULE module = LoadLibraryW(Widen(library).c_str());
    if (!module)
        return 0;
    DWORD version = 0;
    DLLGETVERSIONPROC getVersion = (DLLGETVERSIONPROC)(void*)GetProcAddress(module, "DllGetVersion");
    if (getVersion) {
        DLLVERSIONINFO info;
        memset(&info, 0, sizeof info);
        info.cbSize = 20;
        if (SUCCEEDED(getVersion(&info)))
            version = ((info.dwMajorVersion & 0xFFFF) << 16) | (info.dwMinorVersion & 0xFFFF);
    }
    FreeLibrary(module);
    return version;
}

// A disabled button shows its own picture in soft greys, as the system's
// toolbars do, rather than a flat grey shape. The strip's light grey is the
// mask; no greyed pixel may take that colour.
static COLORREF GreyedPixel(BYTE red, BYTE green, BYTE blue)
{
    int luma = (red * 30 + green * 59 + blue * 11) / 100;
    int grey = 128 + luma / 2;
    if (grey == kToolbarMaskGrey)
        grey -= 1;
    return RGB(grey, grey, grey);
}

static HIMAGELIST ToolbarImageList(BOOL greyed)
{
    HBITMAP strip = (HBITMAP)LoadImageW(g_hInstance, MAKEINTRESOURCEW(IDB_TOOLBAR), IMAGE_BITMAP, 0,
                                        0, LR_CREATEDIBSECTION);
    if (!strip)
        return NULL;
    DIBSECTION dib;
    if (greyed && GetObjectW(strip, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits &&
        dib.dsBm.bmBitsPixel == 4 && dib.dsBmih.biClrUsed <= 16) {
        HDC dc = CreateCompatibleDC(NULL);
        HGDIOBJ previous = dc ? SelectObject(dc, strip) : NULL;
        RGBQUAD colours[16];
        UINT count = dc ? GetDIBColorTable(dc, 0, 16, colours) : 0;
        for (UINT i = 0; i < count; ++i) {
            COLORREF grey = GreyedPixel(colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue);
            bool mask = colours[i].rgbRed == kToolbarMaskGrey &&
                        colours[i].rgbGreen == kToolbarMaskGrey && colours[i].rgbBlue == kToolbarMaskGrey;
            if (!mask)
                colours[i].rgbRed = colours[i].rgbGreen = colours[i].rgbBlue = GetRValue(grey);
        }
        if (count)
            SetDIBColorTable(dc, 0, count, colours);
        if (dc) {
            SelectObject(dc, previous);
            DeleteDC(dc);
        }
    }
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, kToolbarImages, 0);
    if (list)
        ImageList_AddMasked(list, strip, RGB(kToolbarMaskGrey, kToolbarMaskGrey, kToolbarMaskGrey));
    DeleteObject(strip);
    return list;
}

static void SetToolbarImages()
{
    g_app->toolbarImages = ToolbarImageList(FALSE);
    g_app->toolbarGreyImages = ToolbarImageList(TRUE);
    if (!g_app->toolbarImages || !g_app->toolbarGreyImages)
        return;   // the toolbar keeps the pictures it was made with
    SendMessageW(g_app->toolbar, TB_SETIMAGELIST, 0, (LPARAM)g_app->toolbarImages);
    SendMessageW(g_app->toolbar, TB_SETDISABLEDIMAGELIST, 0, (LPARAM)g_app->toolbarGreyImages);
}

static BOOL CreateToolbar(HWND mainWindow, DWORD version)
{
    g_app->toolbar = CreateToolbarEx(
        mainWindow, WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS, IDC_TOOLBAR,
        kToolbarImages, g_hInstance, IDB_TOOLBAR, kToolbarButtons,
        (int)(sizeof kToolbarButtons / sizeof kToolbarButtons[0]), 0, 0, 16, 16, sizeof(TBBUTTON));
    if (!g_app->toolbar)
        return FALSE;
    SetToolbarImages();
    if (!CreateSearchBox(g_app->toolbar))
        return FALSE;
    // Flat buttons exist from 4.71 on; older libraries keep the raised look.
    if (version >= kFlatToolbarVersion) {
        LRESULT style = SendMessageW(g_app->toolbar, TB_GETSTYLE, 0, 0);
        if (!(style & TBSTYLE_FLAT)) {
            SendMessageW(g_app->toolbar, TB_SETSTYLE, 0, (LPARAM)(style | TBSTYLE_FLAT));
            InvalidateRect(g_app->toolbar, NULL, TRUE);
            UpdateWindow(g_app->toolbar);
        }
    }
    return TRUE;
}

static BOOL CreateImages()
{
    g_app->imageList = ImageList_Create(16, 16, ILC_MASK, 4, 0);
    if (!g_app->imageList)
        return FALSE;
    HBITMAP bitmap = LoadBitmapW(g_hInstance, MAKEINTRESOURCEW(IDB_ROWS));
    if (bitmap) {
        ImageList_AddMasked(g_app->imageList, bitmap, RGB(128, 0, 0));
        DeleteObject(bitmap);
    }
    SendMessageW(g_app->listView, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)g_app->imageList);
    g_app->textIcon = ImageList_GetIcon(g_app->imageList, 1, ILD_NORMAL);
    g_app->urlIcon = ImageList_GetIcon(g_app->imageList, 2, ILD_NORMAL);
    return TRUE;
}

static void InsertItemColumn(HWND mainWindow)
{
    std::wstring heading = Widen(LoadTextString(IDS_COLUMN).c_str());
    RECT client;
    GetClientRect(mainWindow, &client);
    LVCOLUMNW column;
    memset(&column, 0, sizeof column);
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = client.right - 20;
    column.pszText = &heading[0];
    column.iSubItem = 0;
    SendMessageW(g_app->listView, LVM_INSERTCOLUMNW, 0, (LPARAM)&column);
}

void FitItemColumn()
{
    static bool fitting;
    if (!g_app || !g_app->listView || fitting)
        return;
    fitting = true;
    // A new width may take the horizontal bar away and with it the need of
    // the vertical one, which widens the client again: a few passes settle.
    for (int pass = 0; pass < 3; ++pass) {
        RECT client;
        GetClientRect(g_app->listView, &client);
        if (SendMessageW(g_app->listView, LVM_GETCOLUMNWIDTH, 0, 0) == client.right)
            break;
        SendMessageW(g_app->listView, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(LOWORD(client.right), 0));
    }
    fitting = false;
}

static WNDPROC s_listProc;

// The list's client width changes with the window and whenever its
// vertical scroll bar comes or goes as rows are added or removed; the
// column follows it, so it never needs a horizontal bar.
static LRESULT CALLBACK ItemListProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallWindowProcW(s_listProc, list, msg, wParam, lParam);
    if (msg == WM_SIZE)
        FitItemColumn();
    return result;
}

static BOOL CreateListView(HWND mainWindow)
{
    g_app->listView = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
            LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE | LVS_EDITLABELS | LVS_OWNERDATA,
        0, 0, 0, 0, mainWindow, (HMENU)IDC_LISTVIEW, g_hInstance, NULL);
    if (!g_app->listView)
        return FALSE;
    if (!CreateImages())
        return FALSE;
    InsertItemColumn(mainWindow);
    s_listProc = (WNDPROC)SetWindowLongPtrW(g_app->listView, GWLP_WNDPROC, (LONG_PTR)ItemListProc);
    return TRUE;
}

BOOL CreateChrome(HWND mainWindow)
{
    DWORD version = GetCommonControlsVersion("COMCTL32.DLL");
    if (!CreateToolbar(mainWindow, version))
        return FALSE;
    g_app->statusBar = CreateStatusWindowW(WS_CHILD | WS_VISIBLE | WS_BORDER, L"", mainWindow,
                                           IDC_STATUSBAR);
    if (!g_app->statusBar)
        return FALSE;
    LayoutStatusParts();
    return CreateListView(mainWindow);
}

// Sets a part's text again after the parts moved; a text too long for the
// work buffer is left as it is rather than read past the buffer.
static void ReapplyStatusText(int part)
{
    WCHAR text[kTextCap];
    LRESULT length = SendMessageW(g_app->statusBar, SB_GETTEXTLENGTHW, (WPARAM)part, 0);
    if (LOWORD(length) >= kTextCap)
        return;
    text[0] = L'\0';
    SendMessageW(g_app->statusBar, SB_GETTEXTW, (WPARAM)part, (LPARAM)text);
    SendMessageW(g_app->statusBar, SB_SETTEXTW, (WPARAM)part, (LPARAM)text);
}

void LayoutStatusParts()
{
    if (!g_app->statusBar)
        return;
    RECT client;
    GetClientRect(GetParent(g_app->statusBar), &client);
    int width = kStatusFallbackWidth;
    // Room for the largest count the part is meant for, filtered, with its
    // word.
    char widest[64];
    FormatItemCount(widest, sizeof widest, 999999, 999999, true);
    HDC dc = GetDC(g_app->statusBar);
    if (dc) {
        SIZE size;
        std::wstring wide = Widen(widest);
        if (GetTextExtentPoint32W(dc, wide.c_str(), (int)wide.size(), &size))
            width = size.cx;
        ReleaseDC(g_app->statusBar, dc);
    }
    int edges[3] = {client.right - width, client.right - width, client.right};
    SendMessageW(g_app->statusBar, SB_SETPARTS, 3, (LPARAM)edges);
    ReapplyStatusText(0);
    SendMessageW(g_app->statusBar, SB_SETTEXTW, 1 | SBT_NOBORDERS, (LPARAM)L"");
    ReapplyStatusText(2);
}

BOOL IsBarChecked(int commandId)
{
    UINT state = GetMenuState(GetMenu(g_hMainWnd), (UINT)commandId, MF_BYCOMMAND);
    return state != (UINT)-1 && (state & MF_CHECKED);
}

static int OuterHeight(HWND hwnd)
{
    RECT rc;
    if (!hwnd || !GetWindowRect(hwnd, &rc))
        return 0;
    return rc.bottom - rc.top;
}

void LayoutChrome(BOOL fromSize, WPARAM wParam, LPARAM lParam)
{
    if (!g_app || !g_app->listView)
        return;
    int width, height;
    if (fromSize) {
        SendMessageW(g_app->toolbar, WM_SIZE, wParam, lParam);
        SendMessageW(g_app->statusBar, WM_SIZE, wParam, lParam);
        width = LOWORD(lParam);
        height = HIWORD(lParam);
    } else {
        RECT client;
        GetClientRect(g_hMainWnd, &client);
        width = client.right;
        height = client.bottom;
    }
    // The menu's check marks, not the windows' visibility, say what shows.
    int top = IsBarChecked(CMD_TOOLBAR) ? OuterHeight(g_app->toolbar) : 0;
    int listHeight = height - top;
    if (IsBarChecked(CMD_STATUSBAR))
        listHeight -= OuterHeight(g_app->statusBar);
    if (listHeight < 0)
        listHeight = 0;
    MoveWindow(g_app->listView, 0, top, width, listHeight, TRUE);
    LayoutSearchBox();
    LayoutStatusParts();
    FitItemColumn();
}

void ToggleBar(int commandId)
{
    HMENU menu = GetMenu(g_hMainWnd);
    BOOL checked = IsBarChecked(commandId);
    CheckMenuItem(menu, (UINT)commandId, MF_BYCOMMAND | (checked ? MF_UNCHECKED : MF_CHECKED));
    HWND bar = commandId == CMD_TOOLBAR ? g_app->toolbar : g_app->statusBar;
    ShowWindow(bar, checked ? SW_HIDE : SW_SHOW);
    LayoutChrome(FALSE, 0, 0);
}
