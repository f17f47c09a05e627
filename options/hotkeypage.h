// The hot-key controls on the options page "動作": the key, its check box,
// the paste keys per window class and the clipboard put back.
#ifndef ZORIVEN_HOTKEYPAGE_H
#define ZORIVEN_HOTKEYPAGE_H

#include "../app/winver.h"

struct HotKeySettings;

void ShowHotKeyControls(HWND page, const HotKeySettings* settings);
// The hot-key control is usable only while its check box is checked.
void UpdateHotKeyControls(HWND page);
// Reads the controls into settings; the id of the control to refuse
// (its error already shown), or 0.
int StoreHotKeyControls(HWND page, HotKeySettings* settings);

#endif
