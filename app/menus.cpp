#include "menus.h"

#include <initializer_list>

#include "../res/resource.h"
#include "../store/records.h"
#include "hotkey.h"
#include "state.h"
#include "wide.h"

enum { kHelpCap = 260, kEntryHelpCap = 259 };

static void EnableCommand(HMENU menu, int command, bool enabled)
{
    EnableMenuItem(menu, (UINT)command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void EnableMenuCommands(HMENU menu)
{
    if (!menu || !g_app)
        return;
    SelectionState state = CurrentSelectionState();
    EnableCommand(menu, CMD_PARENT, state.parent);
    for (int command : {CMD_DELETE, CMD_RENAME, CMD_DUPLICATE, CMD_ATTRIBUTES})
        EnableCommand(menu, command, state.selected);
    EnableCommand(menu, CMD_PASTE, IsClipboardFormatAvailable(CF_TEXT) != FALSE);
    for (int command : {CMD_COPY, CMD_NOTIFY, CMD_EDIT, CMD_MOVE_TO})
        EnableCommand(menu, command, state.item);
    EnableCommand(menu, CMD_EDITOR, state.item && g_app->editorPath[0]);
    EnableCommand(menu, CMD_MOVE_UP, state.up);
    EnableCommand(menu, CMD_MOVE_DOWN, state.down);
    EnableCommand(menu, CMD_SAVE_ORDER, state.ordered);
    bool history = g_app->historyView != FALSE;
    CheckMenuItem(menu, CMD_HISTORY, MF_BYCOMMAND | (history ? MF_CHECKED : MF_UNCHECKED));
    EnableCommand(menu, CMD_HISTORY, g_app->history != nullptr);
    for (int command : {CMD_HISTORY_SAVE, CMD_HISTORY_SAVE_TO})
        EnableCommand(menu, command, history && state.selected);
    if (!history)
        return;
    // The history's entries are no files: only copy, save and delete work.
    for (int command : {CMD_NEW_ITEM, CMD_NEW_GROUP, CMD_RENAME, CMD_EDIT, CMD_ATTRIBUTES,
                        CMD_DUPLICATE, CMD_MOVE_TO, CMD_NOTIFY, CMD_PASTE, CMD_EDITOR})
        EnableCommand(menu, command, false);
}

// The value behind an entry-menu item, for the status bar.
static void EntryHelp(int index, char* text)
{
    ItemRecord* record = GetSelectedRecord(NULL, -1);
    if (record && index < record->entryCount && record->entries[index].value)
        CopyText(text, kEntryHelpCap, record->entries[index].value);
}

void ShowMenuHelp(WPARAM wParam, LPARAM lParam)
{
    if (!g_app || !g_app->statusBar)
        return;
    UINT id = LOWORD(wParam);
    UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && !lParam) {
        SendMessageW(g_app->statusBar, SB_SIMPLE, FALSE, 0);
        return;
    }
    SendMessageW(g_app->statusBar, SB_SIMPLE, TRUE, 0);
    if ((flags & MF_SEPARATOR) || ((flags & MF_POPUP) && !(flags & MF_SYSMENU)))
        id = 0;
    char text[kHelpCap] = "";
    if (id >= CMD_ENTRY_FIRST && id <= CMD_ENTRY_LAST)
        EntryHelp((int)(id - CMD_ENTRY_FIRST), text);
    else if (id >= CMD_HOTKEY_FIRST && id <= CMD_HOTKEY_LAST)
        HotMenuValue(id, text, kEntryHelpCap);
    else if (id != 0)
        LoadText(id, text, sizeof text);
    SendMessageW(g_app->statusBar, SB_SETTEXTW, SB_SIMPLEID, (LPARAM)Widen(text).c_str());
}
