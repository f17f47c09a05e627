// The hot key that opens the library as a menu from any program, and the
// paste of the chosen value into the window that was in front.
#ifndef ZORIVEN_HOTKEY_H
#define ZORIVEN_HOTKEY_H

#include "winver.h"
#include "../store/textbuf.h"

class RegKey;
struct HotMenu;

struct HotKeySettings {
    unsigned char vk;      // the key; 0 = none
    unsigned char mods;    // kModShift, kModCtrl, kModAlt
    int off;               // the hot key is not registered
    int restoreClipboard;  // the clipboard gets its text back after a paste
    char pasteKeys[kTextCap];   // "Class=Keys;" pieces
};

#define DEFAULT_PASTE_KEYS "ConsoleWindowClass=Shift+Insert;"

// Defaults for missing values; the program's own values beside OptNum.
void LoadHotKeySettings(RegKey& reg, HotKeySettings* settings);
void SaveHotKeySettings(RegKey& reg, const HotKeySettings* settings);

// (Re)registers the hot key on the main window. A key held by another
// program is reported once, naming it; the program runs on without it.
BOOL ApplyHotKey(HWND mainWindow);

// WM_HOTKEYHELD from another ZORIVEN window: 1 when this window holds the
// key combination wParam (MAKEWORD(vk, kMod* bits)).
LRESULT AnswerHotKeyHeld(WPARAM combo);

// WM_HOTKEY: the menu at the caret of the window in front, then the paste.
void OnHotKey(HWND mainWindow);
// WM_INITMENUPOPUP: a group's rows or an item's entries, filled on opening.
void FillHotMenuPopup(HMENU popup);
// The value behind a hot-key menu command, for the status bar.
bool HotMenuValue(UINT id, char* text, size_t cap);

// Rows of one folder in the menu; a last command shows the rest.
enum { kHotMenuRows = 200, kHotKeyId = 1 };

#endif
