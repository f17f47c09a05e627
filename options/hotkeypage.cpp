#include "hotkeypage.h"

#include <new>
#include <string>

#include "../app/hotkey.h"
#include "../app/hotkeytext.h"
#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"

// The hot-key control's flags are the kMod* bits plus HOTKEYF_EXT.
void ShowHotKeyControls(HWND page, const HotKeySettings* settings)
{
    char lines[kTextCap * 2];
    HWND key = GetDlgItem(page, IDC_ACT_HOTKEY);
    // A key without a modifier would take the letter from every program.
    SendMessageW(key, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SendMessageW(key, HKM_SETHOTKEY, MAKEWORD(settings->vk, settings->mods), 0);
    CheckDlgButton(page, IDC_ACT_HOTKEY_ON, settings->off ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(page, IDC_ACT_RESTORE, settings->restoreClipboard ? BST_CHECKED : BST_UNCHECKED);
    PasteTableToLines(settings->pasteKeys, lines, sizeof lines);
    SetItemText(page, IDC_ACT_PASTE_KEYS, lines);
    UpdateHotKeyControls(page);
}

void UpdateHotKeyControls(HWND page)
{
    EnableWindow(GetDlgItem(page, IDC_ACT_HOTKEY),
                 IsDlgButtonChecked(page, IDC_ACT_HOTKEY_ON) == BST_CHECKED);
}

int StoreHotKeyControls(HWND page, HotKeySettings* settings)
{
    LRESULT key = SendDlgItemMessageW(page, IDC_ACT_HOTKEY, HKM_GETHOTKEY, 0, 0);
    settings->off = IsDlgButtonChecked(page, IDC_ACT_HOTKEY_ON) != BST_CHECKED;
    if (!settings->off && !LOBYTE(key))
        return RefuseField(page, IDC_ACT_HOTKEY), IDC_ACT_HOTKEY;
    if (LOBYTE(key)) {
        settings->vk = LOBYTE(key);
        settings->mods = HIBYTE(key) & (kModShift | kModCtrl | kModAlt);
    }
    settings->restoreClipboard = IsDlgButtonChecked(page, IDC_ACT_RESTORE) == BST_CHECKED;

    HWND edit = GetDlgItem(page, IDC_ACT_PASTE_KEYS);
    int bad = -1;
    bool stored = false;
    try {
        std::string lines = TextOf(edit);
        stored = PasteTableFromLines(lines.c_str(), settings->pasteKeys, kTextCap, &bad);
    } catch (const std::bad_alloc&) {
        // Reported below as a table that does not fit.
    }
    if (stored)
        return 0;
    char format[kTextCap] = "", message[kTextCap];
    LoadText(IDS_PASTE_KEYS_BAD, format, sizeof format);
    if (bad >= 0 && FormatText(message, sizeof message, format, bad + 1))
        ShowErrorBox(IDS_PASTE_KEYS_BAD, message);
    else
        ShowSystemError(ERROR_INSUFFICIENT_BUFFER);
    SetFocus(edit);
    return IDC_ACT_PASTE_KEYS;
}
