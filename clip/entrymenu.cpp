#include "entrymenu.h"

#include <cstddef>
#include <string>

#include "../app/state.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "../store/records.h"
#include "../web/titletext.h"

enum {
    kMinItemWidth = 100,
    kTextIndent = 25,      // room for the icon in front of the key
    kWidthMargin = 22,     // the icon and the gaps; the menu adds its own check column
    kIconSize = 16,
    kIconLeft = 3
};

// The classic NONCLIENTMETRICSW, without the field newer systems added:
// understood everywhere.
static const UINT kSizeOfMetrics =
    (UINT)(offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW));

int ShowEntryMenu(HWND window, ItemRecord* item, const POINT* under)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return 0;
    for (int i = 0; i < item->entryCount; ++i) {
        if (i > 0 && i % kEntriesPerGroup == 0)
            AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
        MENUITEMINFOW info;
        ZeroMemory(&info, sizeof info);
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
        info.fType = MFT_OWNERDRAW;
        info.wID = (UINT)(CMD_ENTRY_FIRST + i);
        info.dwItemData = (ULONG_PTR)item;
        info.fState = g_app->lastEntry != -1 && g_app->lastEntry == CMD_ENTRY_FIRST + i
                          ? MFS_CHECKED
                          : 0;
        InsertMenuItemW(menu, (UINT)GetMenuItemCount(menu), TRUE, &info);
    }
    // Enter on the list left its character in the queue; the menu would
    // take it as a choice of nothing and close at once. Read as UTF-16,
    // whatever the window: a character is one message, never a byte pair.
    MSG pending;
    if (PeekMessageW(&pending, NULL, WM_CHAR, WM_CHAR, PM_NOREMOVE) && pending.wParam == L'\r')
        PeekMessageW(&pending, NULL, WM_CHAR, WM_CHAR, PM_REMOVE);
    POINT at = {0, 0};
    if (under)
        at = *under;
    else
        GetCursorPos(&at);
    int chosen = (int)TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window,
                                     NULL);
    DestroyMenu(menu);
    return chosen;
}

// The entry behind a menu item, or null for anything but the entry menu.
static const Entry* MenuEntry(UINT type, UINT id, ULONG_PTR data)
{
    if (type != ODT_MENU || !data || id < CMD_ENTRY_FIRST)
        return nullptr;
    const ItemRecord* item = (const ItemRecord*)data;
    int index = (int)(id - CMD_ENTRY_FIRST);
    return index < item->entryCount ? &item->entries[index] : nullptr;
}

BOOL MeasureEntryMenuItem(HWND window, MEASUREITEMSTRUCT* m)
{
    const Entry* entry = m ? MenuEntry(m->CtlType, m->itemID, m->itemData) : nullptr;
    if (!entry)
        return TRUE;
    NONCLIENTMETRICSW metrics;
    ZeroMemory(&metrics, sizeof metrics);
    metrics.cbSize = kSizeOfMetrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kSizeOfMetrics, &metrics, 0);

    SIZE extent = {0, 0};
    HDC dc = entry->key ? GetWindowDC(window) : NULL;
    if (dc) {
        HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
        HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
        std::wstring key = Widen(entry->key);
        GetTextExtentPoint32W(dc, key.c_str(), (int)key.size(), &extent);
        if (font) {
            SelectObject(dc, previous);
            DeleteObject(font);
        }
        ReleaseDC(window, dc);
    }
    int width = extent.cx + kWidthMargin;
    m->itemWidth = (UINT)(width > kMinItemWidth ? width : kMinItemWidth);
    int height = extent.cy;
    if (height < kIconSize)
        height = kIconSize;
    if (height < metrics.iMenuHeight)
        height = metrics.iMenuHeight;
    m->itemHeight = (UINT)(height & ~1);
    return TRUE;
}

BOOL DrawEntryMenuItem(const DRAWITEMSTRUCT* d)
{
    const Entry* entry = d ? MenuEntry(d->CtlType, d->itemID, d->itemData) : nullptr;
    if (!entry || (d->itemAction != ODA_DRAWENTIRE && d->itemAction != ODA_SELECT))
        return TRUE;
    bool selected = (d->itemState & ODS_SELECTED) != 0;
    bool checked = !selected && (d->itemState & ODS_CHECKED);
    int text = selected ? COLOR_HIGHLIGHTTEXT : checked ? COLOR_INFOTEXT : COLOR_MENUTEXT;
    int back = selected ? COLOR_HIGHLIGHT : checked ? COLOR_INFOBK : COLOR_MENU;
    if (d->itemState & ODS_DISABLED)
        text = COLOR_GRAYTEXT;

    HDC dc = d->hDC;
    SetTextColor(dc, GetSysColor(text));
    SetBkColor(dc, GetSysColor(back));
    SetBkMode(dc, TRANSPARENT);
    HBRUSH brush = CreateSolidBrush(GetSysColor(back));
    HGDIOBJ previous = SelectObject(dc, brush);

    RECT fill = d->rcItem;
    fill.top += 1;
    fill.bottom -= 1;
    FillRect(dc, &fill, brush);

    int x = d->rcItem.left + kIconLeft;
    int y = d->rcItem.top + (d->rcItem.bottom - d->rcItem.top - kIconSize) / 2;
    HICON icon = IsUrl(entry->value) ? g_app->urlIcon : g_app->textIcon;
    if (icon)
        DrawIconEx(dc, x, y, icon, kIconSize, kIconSize, 0, brush, DI_NORMAL);
    if (checked) {
        RECT frame = {x - 1, y - 1, x + kIconSize + 1, y + kIconSize + 1};
        DrawSunkenFrame(dc, &frame);
    }
    if (entry->key) {
        RECT label = d->rcItem;
        label.left += kTextIndent;
        DrawTextW(dc, Widen(entry->key).c_str(), -1, &label, DT_SINGLELINE | DT_VCENTER);
    }
    SelectObject(dc, previous);
    DeleteObject(brush);
    return TRUE;
}

static void DrawLine(HDC dc, COLORREF colour, const POINT* points)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, points[0].x, points[0].y, NULL);
    LineTo(dc, points[1].x, points[1].y);
    LineTo(dc, points[2].x, points[2].y);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

BOOL DrawSunkenFrame(HDC dc, const RECT* r)
{
    if (!dc || !r)
        return FALSE;
    const POINT shadow[3] = {{r->right, r->top}, {r->left, r->top}, {r->left, r->bottom}};
    const POINT light[3] = {{r->right, r->top}, {r->right, r->bottom}, {r->left, r->bottom}};
    DrawLine(dc, RGB(128, 128, 128), shadow);
    DrawLine(dc, RGB(255, 255, 255), light);
    return TRUE;
}
