#include "../clip/droptarget.h"
#include "../res/resource.h"
#include "state.h"
#include "ui.h"
#include "wide.h"

// Live only while the About box is open.
static HFONT s_boldFont;

static void MakeNameBold(HWND dialog)
{
    HWND name = GetDlgItem(dialog, IDC_ABOUT_NAME);
    HFONT font = (HFONT)SendMessageW(dialog, WM_GETFONT, 0, 0);
    if (!font)
        font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTW logFont;
    RECT rc = {0, 0, 0, 0};
    if (!GetObjectW(font, sizeof logFont, &logFont))
        return;
    GetClientRect(name, &rc);
    logFont.lfWeight = FW_BOLD;
    logFont.lfHeight = -(rc.bottom - 1);
    s_boldFont = CreateFontIndirectW(&logFont);
    if (s_boldFont)
        SendMessageW(name, WM_SETFONT, (WPARAM)s_boldFont, TRUE);
}

static INT_PTR CALLBACK AboutProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG: {
        char format[64], version[80], homePage[kPathCap];
        MakeNameBold(dialog);
        SetItemText(dialog, IDC_ABOUT_NAME, PRODUCT_NAME);
        if (LoadText(IDS_ABOUT_VERSION, format, sizeof format) <= 0)
            CopyText(format, sizeof format, "%s");
        FormatText(version, sizeof version, format, PRODUCT_VERSION);
        SetItemText(dialog, IDC_ABOUT_VERSION, version);
        if (LoadText(IDS_HOMEPAGE, homePage, sizeof homePage) > 0)
            SetItemText(dialog, IDC_ABOUT_HOMEPAGE, homePage);
        PlaceWindow(dialog, g_hMainWnd, 0, 0);
        AnimateShow(dialog, TRUE);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            AnimateShow(dialog, FALSE);
            // The static may paint until the box is hidden; the font goes after.
            SendDlgItemMessageW(dialog, IDC_ABOUT_NAME, WM_SETFONT, 0, FALSE);
            if (s_boldFont)
                DeleteObject(s_boldFont);
            s_boldFont = NULL;
            EndDialog(dialog, 1);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void ShowAbout(HWND owner)
{
    SuspendMainDropTarget();
    DialogBoxParamW(g_hInstance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutProc, 0);
    ResumeMainDropTarget();
}
