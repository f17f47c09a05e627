#include "hotkey.h"

#include <stdlib.h>
#include <string.h>

#include <string>
#include <unordered_set>

#include "../clip/copy.h"
#include "../clip/history.h"
#include "../clip/paste.h"
#include "../res/resource.h"
#include "../store/folderload.h"
#include "../store/itemfile.h"
#include "../store/itemname.h"
#include "../store/order.h"
#include "../store/orderindex.h"
#include "../store/paths.h"
#include "../store/pathtext.h"
#include "../store/safewrite.h"
#include "../store/chars.h"
#include "historyview.h"
#include "hotkeytext.h"
#include "regkey.h"
#include "state.h"
#include "ui.h"
#include "wide.h"

enum {
    kMaxNodes = 2000,                                  // rows of all folders opened at once
    kLeafCount = CMD_HOTKEY_LAST - CMD_HOTKEY_FIRST + 1,
    kLabelCap = kLabelColumns * 2 + 8,
    kPasteWaitMs = 1000,                               // the target taking the paste
    kPasteRoundTrips = 16,                             // twice the key events sent
};

// A folder, or an item with its entries, behind one row of the menu.
struct HotNode {
    char path[kPathCap];
    int isGroup;
    int count;
    Entry entries[kMaxEntries];
    HMENU popup;   // a group's rows or an item's entries; null for one entry
    int filled;
};

// A command of the menu: an entry of a node, or (entry -1) the folder
// shown in the main window; node kHistoryNode: entry is a history text.
enum { kHistoryNode = -1 };
struct HotLeaf {
    int node;
    int entry;
};

// Lives while the menu is open and the choice is carried out.
struct HotMenu {
    HWND target;     // the window in front when the key was pressed
    HWND focus;      // its focused control
    DWORD targetThread;
    DWORD targetProcess;
    HotNode* nodes;
    int nodeCount;
    HotLeaf leaves[kLeafCount];
    int leafCount;
    char* history[kHistoryMenuRows];   // the latest entries, UTF-8 (malloc)
    int historyCount;
};

// ---- Settings ----

void LoadHotKeySettings(RegKey& reg, HotKeySettings* settings)
{
    DWORD key = reg.ReadDword("HotKey");
    settings->vk = key ? LOBYTE(key) : 'Z';
    settings->mods = key ? HIBYTE(key) & (kModShift | kModCtrl | kModAlt) : kModCtrl | kModAlt;
    settings->off = reg.ReadDword("HotKeyOff") != 0;
    settings->restoreClipboard = reg.ReadDword("PasteRestore") != 0;
    if (reg.ReadString("PasteKeys", settings->pasteKeys, kTextCap) == 0)
        CopyText(settings->pasteKeys, kTextCap, DEFAULT_PASTE_KEYS);
}

void SaveHotKeySettings(RegKey& reg, const HotKeySettings* settings)
{
    reg.WriteDword("HotKey", MAKEWORD(settings->vk, settings->mods));
    reg.WriteDword("HotKeyOff", settings->off ? 1 : 0);
    reg.WriteDword("PasteRestore", settings->restoreClipboard ? 1 : 0);
    // An emptied table is kept empty: "" would read back as the default.
    reg.WriteString("PasteKeys", settings->pasteKeys[0] ? settings->pasteKeys : ";");
}

static WORD s_heldCombo;   // the combination this window registered, or 0

LRESULT AnswerHotKeyHeld(WPARAM combo)
{
    return s_heldCombo && combo == s_heldCombo;
}

// Another window of this program holding the key is no other program:
// a second window runs without it and tells so only in its status bar.
static bool HeldByAnotherWindow(HWND mainWindow, WORD combo)
{
    std::wstring className = Widen(MAIN_CLASS_NAME);
    for (HWND other = NULL;
         (other = FindWindowExW(NULL, other, className.c_str(), NULL)) != NULL;) {
        DWORD_PTR held = 0;
        if (other != mainWindow &&
            SendMessageTimeoutW(other, WM_HOTKEYHELD, combo, 0, SMTO_ABORTIFHUNG, 1000, &held) &&
            held == 1)
            return true;
    }
    return false;
}

BOOL ApplyHotKey(HWND mainWindow)
{
    const HotKeySettings& hot = g_app->hotKey;
    UnregisterHotKey(mainWindow, kHotKeyId);
    s_heldCombo = 0;
    if (hot.off || !hot.vk)
        return TRUE;
    WORD combo = MAKEWORD(hot.vk, hot.mods);
    if (RegisterHotKey(mainWindow, kHotKeyId, HotKeyModifiers(hot.mods), hot.vk)) {
        s_heldCombo = combo;
        return TRUE;
    }
    char name[64], format[kTextCap] = "", message[kTextCap];
    FormatKeyCombo(name, sizeof name, KeyCombo{hot.vk, hot.mods});
    if (HeldByAnotherWindow(mainWindow, combo)) {
        ShowStatusNote(IDS_HOTKEY_OWN_WINDOW, name);
        return TRUE;
    }
    LoadText(IDS_HOTKEY_TAKEN, format, sizeof format);
    if (!FormatText(message, sizeof message, format, name))
        CopyText(message, sizeof message, name);
    return ShowErrorBox(IDS_HOTKEY_TAKEN, message);
}

// ---- The rows of a folder, in the user's order ----

static bool Accepted(const FoundFile& found)
{
    if (IsDotEntry(found) || !IsListedEntry(found))
        return false;
    return (found.attributes & FILE_ATTRIBUTE_DIRECTORY) || !IsExcludedExtension(found.name);
}

// Calls visit with each accepted entry in list order until it returns
// false: the order file's lines first, then what it does not name. Only
// the lines up to the last row wanted are read, so a folder of a hundred
// thousand items opens as fast as a small one.
template <typename Visit>
static void VisitRows(const char* folder, Visit visit)
{
    std::unordered_set<std::string> named;
    char path[kPathCap], line[kLineCap];
    HANDLE file = INVALID_HANDLE_VALUE;
    if (!g_app->options[NoOrderFile] && JoinPath(path, sizeof path, folder, ORDER_FILE_NAME))
        file = OpenPath(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL);
    if (file != INVALID_HANDLE_VALUE) {
        LineReader* reader = (LineReader*)malloc(sizeof *reader);
        bool going = reader != nullptr;
        if (going)
            InitLineReader(reader, ReadFromHandle, file);
        int form = -1;
        while (going && ReadOrderLine(reader, line, sizeof line, &form)) {
            std::string name = StoredToProgram(line, strlen(line), form);
            // A line that is no plain name could reach outside the folder;
            // of two lines naming one entry the first wins.
            if (name.empty() || strpbrk(name.c_str(), "*?/:") ||
                FindLastChar(name.c_str(), '\\') || !named.insert(FoldName(name.c_str())).second)
                continue;
            // One attribute query per line: cheaper than a search.
            FoundFile found = {};
            found.attributes = JoinPath(path, sizeof path, folder, name.c_str())
                                   ? PathAttributes(path)
                                   : INVALID_FILE_ATTRIBUTES;
            if (found.attributes == INVALID_FILE_ATTRIBUTES ||
                !CopyText(found.name, sizeof found.name, name.c_str()))
                continue;
            if (Accepted(found) && !visit(found))
                going = false;
        }
        free(reader);
        CloseHandle(file);
        if (!going)
            return;
    }
    if (!JoinPath(path, sizeof path, folder, "*.*"))
        return;
    ForEachEntryWhile(path, [&](const FoundFile& found) {
        return !Accepted(found) || named.count(FoldName(found.name)) || visit(found);
    });
}

// ---- Building the menu ----

static int AddLeaf(HotMenu* m, int node, int entry)
{
    if (m->leafCount >= kLeafCount)
        return 0;
    m->leaves[m->leafCount] = HotLeaf{node, entry};
    return CMD_HOTKEY_FIRST + m->leafCount++;
}

static void AppendCommand(HMENU menu, int id, const char* label)
{
    // Without a free id the row is shown but cannot be chosen.
    AppendMenuW(menu, id ? MF_STRING : MF_STRING | MF_GRAYED, (UINT_PTR)id, Widen(label).c_str());
}

static void AppendResourceCommand(HMENU menu, int id, int stringId)
{
    char text[kLabelCap] = "";
    LoadText((UINT)stringId, text, sizeof text);
    AppendCommand(menu, id, text);
}

static HotNode* NewNode(HotMenu* m, const char* folder, const char* name)
{
    if (m->nodeCount >= kMaxNodes)
        return nullptr;
    HotNode* node = &m->nodes[m->nodeCount];
    if (!(name ? JoinPath(node->path, kPathCap, folder, name) : CopyText(node->path, kPathCap, folder)))
        return nullptr;
    ++m->nodeCount;
    return node;
}

// One row for the entry found; false when it makes none (an item that is
// empty or cannot be read is not shown, as in the list).
static bool AddRow(HotMenu* m, HMENU menu, const char* folder, const FoundFile& found,
                   int row)
{
    bool isGroup = (found.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    HotNode* node = NewNode(m, folder, found.name);
    if (!node)
        return false;
    char name[kRowNameCap], ext[kNamePartCap], label[kLabelCap];
    SplitItemName(found.name, !isGroup, name, ext);
    MenuLabel(label, sizeof label, row, name);
    node->isGroup = isGroup;
    if (!isGroup) {
        DWORD error = 0;
        node->count = ReadItemPath(node->path, node->entries, &error);
        if (node->count <= 0) {
            node->count = 0;
            --m->nodeCount;
            return false;
        }
    }
    int index = (int)(node - m->nodes);
    if (isGroup || node->count > 1) {
        node->popup = CreatePopupMenu();
        if (node->popup)
            AppendMenuW(menu, MF_POPUP, (UINT_PTR)node->popup, Widen(label).c_str());
    } else {
        AppendCommand(menu, AddLeaf(m, index, 0), label);
    }
    return true;
}

static void FillFolder(HotMenu* m, HMENU menu, int folderNode)
{
    char folder[kPathCap];
    CopyText(folder, sizeof folder, m->nodes[folderNode].path);
    int rows = 0;
    bool more = false;
    VisitRows(folder, [&](const FoundFile& found) {
        if (rows >= kHotMenuRows || m->nodeCount >= kMaxNodes) {
            more = true;
            return false;
        }
        if (AddRow(m, menu, folder, found, rows))
            ++rows;
        return true;
    });
    if (more) {
        AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
        AppendResourceCommand(menu, AddLeaf(m, folderNode, -1), IDS_HOTKEY_SHOW_ALL);
    } else if (rows == 0) {
        AppendResourceCommand(menu, 0, IDS_HOTKEY_EMPTY);
    }
}

static void FillEntries(HotMenu* m, HMENU menu, int index)
{
    HotNode* node = &m->nodes[index];
    for (int i = 0; i < node->count; ++i) {
        char label[kLabelCap];
        MenuLabel(label, sizeof label, i, node->entries[i].key ? node->entries[i].key : "");
        AppendCommand(menu, AddLeaf(m, index, i), label);
    }
}

void FillHotMenuPopup(HMENU popup)
{
    HotMenu* m = g_app ? g_app->hotMenu : nullptr;
    for (int i = 0; m && i < m->nodeCount; ++i) {
        HotNode* node = &m->nodes[i];
        if (node->popup != popup || node->filled)
            continue;
        node->filled = 1;
        if (node->isGroup)
            FillFolder(m, popup, i);
        else
            FillEntries(m, popup, i);
        return;
    }
}

bool HotMenuValue(UINT id, char* text, size_t cap)
{
    HotMenu* m = g_app ? g_app->hotMenu : nullptr;
    if (!m || id < CMD_HOTKEY_FIRST || (int)(id - CMD_HOTKEY_FIRST) >= m->leafCount)
        return false;
    const HotLeaf& leaf = m->leaves[id - CMD_HOTKEY_FIRST];
    if (leaf.node == kHistoryNode) {
        HistoryLineText(m->history[leaf.entry], text, cap);
        return true;
    }
    if (leaf.entry < 0)
        return false;
    CopyText(text, cap, m->nodes[leaf.node].entries[leaf.entry].value);
    return true;
}

// The latest entries of the history: a submenu 「履歴(&H)」 at the top, or
// (as the option asks) the first few as rows of their own above the folder.
static void AddHistoryRows(HotMenu* m, HMENU menu)
{
    HistoryList* list = History();
    if (!list || g_app->historySize <= 0)
        return;
    int wanted = g_app->historyAtTop ? kHistoryTopRows : kHistoryMenuRows;
    for (size_t i = 0; i < list->Count() && m->historyCount < wanted; ++i) {
        const std::string& text = *list->At(i);
        char* copy = (char*)malloc(text.size() + 1);
        if (!copy)
            break;
        memcpy(copy, text.c_str(), text.size() + 1);
        m->history[m->historyCount++] = copy;
    }
    HMENU target = menu;
    if (!g_app->historyAtTop) {
        char name[kLabelCap] = "";
        target = CreatePopupMenu();
        LoadText(IDS_HISTORY_MENU, name, sizeof name);
        if (!target)
            return;
        AppendMenuW(menu, MF_POPUP, (UINT_PTR)target, Widen(name).c_str());
    }
    for (int i = 0; i < m->historyCount; ++i) {
        char line[kLabelCap * 2], label[kLabelCap];
        HistoryLineText(m->history[i], line, sizeof line);
        // Only the submenu's rows are typed by number: the folder's rows
        // below keep theirs.
        MenuLabel(label, sizeof label, g_app->historyAtTop ? kMnemonicRows : i, line);
        AppendCommand(target, AddLeaf(m, kHistoryNode, i), label);
    }
    if (m->historyCount == 0)
        AppendResourceCommand(target, 0, IDS_HISTORY_EMPTY);
    AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
}

// ---- Where the menu opens ----

// Under the caret of the window in front, or at the mouse pointer for a
// program that draws its own; kept on the monitor that holds that point.
static POINT MenuPoint(HotMenu* m, RECT* caret)
{
    POINT at = {0, 0};
    bool haveCaret = false;
    SetRectEmpty(caret);
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    if (m->targetThread && GetGUIThreadInfo(m->targetThread, &info)) {
        m->focus = info.hwndFocus;
        if (info.hwndCaret) {
            POINT corners[2] = {{info.rcCaret.left, info.rcCaret.top},
                                {info.rcCaret.right, info.rcCaret.bottom}};
            MapWindowPoints(info.hwndCaret, NULL, corners, 2);
            SetRect(caret, corners[0].x, corners[0].y, corners[1].x, corners[1].y);
            at.x = corners[0].x;
            at.y = corners[1].y;
            haveCaret = true;
        }
    }
    if (!haveCaret)
        GetCursorPos(&at);
    MONITORINFO monitor;
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        at.x = at.x < work.left ? work.left : at.x >= work.right ? work.right - 1 : at.x;
        at.y = at.y < work.top ? work.top : at.y >= work.bottom ? work.bottom - 1 : at.y;
    }
    return at;
}

// The start-up folder when it lies in the library, else the root.
static void StartFolder(char* out)
{
    const char* boot = g_app->bootFolder;
    bool inside = PathIsWithin(boot, g_app->rootFolder) && PathExists(boot, true);
    CopyText(out, kPathCap, inside ? boot : g_app->rootFolder);
}

// ---- The paste ----

static bool IsExtendedKey(unsigned char vk)
{
    return (vk >= 0x21 && vk <= 0x28) || vk == 0x2D || vk == 0x2E;
}

static void AddKey(INPUT* inputs, int* count, unsigned char vk, bool up)
{
    INPUT& input = inputs[(*count)++];
    ZeroMemory(&input, sizeof input);
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = (WORD)MapVirtualKeyW(vk, 0);
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
}

static void SendKeys(KeyCombo keys)
{
    static const struct {
        unsigned char bit, vk;
    } kMods[] = {{kModCtrl, VK_CONTROL}, {kModShift, VK_SHIFT}, {kModAlt, VK_MENU}};
    INPUT inputs[8];
    int count = 0;
    for (const auto& mod : kMods)
        if (keys.mods & mod.bit)
            AddKey(inputs, &count, mod.vk, false);
    AddKey(inputs, &count, keys.vk, false);
    AddKey(inputs, &count, keys.vk, true);
    for (int i = 2; i >= 0; --i)
        if (keys.mods & kMods[i].bit)
            AddKey(inputs, &count, kMods[i].vk, true);
    SendInput((UINT)count, inputs, sizeof(INPUT));
}

// The keys that paste in the target: its class in the table, else Ctrl+V.
static KeyCombo PasteKeysFor(const HotMenu* m)
{
    KeyCombo keys = {'V', kModCtrl};
    WCHAR name[256];
    for (HWND window : {m->focus, m->target})
        if (window && GetClassNameW(window, name, 256) &&
            FindPasteKeys(g_app->hotKey.pasteKeys, Narrow(name).c_str(), &keys))
            break;
    return keys;
}

// Focus back to the remembered window and control.
static void ReturnToTarget(const HotMenu* m)
{
    DWORD ours = GetCurrentThreadId();
    BOOL attached = m->targetThread != ours && AttachThreadInput(ours, m->targetThread, TRUE);
    SetForegroundWindow(m->target);
    if (m->focus && IsWindow(m->focus))
        SetFocus(m->focus);
    if (attached)
        AttachThreadInput(ours, m->targetThread, FALSE);
}

// The target has taken the paste once it has worked through the keys
// queued for it. Each message sent to it returns only after it asked for
// its next message, and it takes one queued message per request, so a
// round trip per key event (and per character they make) drains them.
// Bounded: a target that hangs must not keep the old text from coming back.
static void WaitForPaste(const HotMenu* m)
{
    DWORD start = GetTickCount();
    for (int i = 0; i < kPasteRoundTrips && GetTickCount() - start < kPasteWaitMs; ++i) {
        DWORD_PTR ignored;
        if (!SendMessageTimeoutW(m->target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPasteWaitMs, &ignored))
            break;
        Sleep(10);
    }
}

static void PutBackClipboard(HWND window, const char* old)
{
    if (old && old[0]) {
        SetClipboardText(window, old);
    } else if (OpenClipboardPatiently(window)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

static void ShowFolderInMain(HWND mainWindow, const char* folder)
{
    SaveChangedOrder();
    CopyText(g_app->currentFolder, kPathCap, folder);
    LoadFolder();
    ShowWindow(mainWindow, IsIconic(mainWindow) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(mainWindow);
}

// The text the leaf pastes, in UTF-16 with Windows line breaks: a
// snippet's value, or a history entry exactly as it was copied.
static std::wstring LeafText(const HotMenu* m, const HotLeaf& leaf)
{
    if (leaf.node == kHistoryNode) {
        const char* text = m->history[leaf.entry];
        return Utf8ToWide(text, strlen(text));
    }
    const char* value = m->nodes[leaf.node].entries[leaf.entry].value;
    size_t size = CrLfSize(value);
    char* text = value ? (char*)malloc(size) : nullptr;
    std::wstring wide = text && CopyCrLf(text, size, value) ? Widen(text) : std::wstring();
    free(text);
    return wide;
}

static void Deliver(HWND mainWindow, const HotMenu* m, int id, bool copyOnly)
{
    const HotLeaf& leaf = m->leaves[id - CMD_HOTKEY_FIRST];
    if (leaf.node != kHistoryNode && leaf.entry < 0) {
        ShowFolderInMain(mainWindow, m->nodes[leaf.node].path);
        return;
    }
    std::wstring text = LeafText(m, leaf);
    if (text.empty())
        return;
    // A window of this program gets the value on the clipboard only.
    bool other = IsWindow(m->target) && m->targetProcess != GetCurrentProcessId();
    bool paste = other && !copyOnly;
    bool restore = paste && g_app->hotKey.restoreClipboard;
    char* old = restore ? GetClipboardText(mainWindow, NULL) : nullptr;
    bool copied = SetClipboardUnicode(mainWindow, text) != FALSE;
    if (other)
        ReturnToTarget(m);
    if (copied && paste) {
        SendKeys(PasteKeysFor(m));
        if (restore) {
            WaitForPaste(m);
            PutBackClipboard(mainWindow, old);
        }
    }
    free(old);
}

static HotMenu* NewHotMenu()
{
    HotMenu* m = (HotMenu*)calloc(1, sizeof *m);
    if (m && !(m->nodes = (HotNode*)calloc(kMaxNodes, sizeof *m->nodes))) {
        free(m);
        m = nullptr;
    }
    return m;
}

static void FreeHotMenu(HotMenu* m)
{
    for (int i = 0; i < m->nodeCount; ++i)
        FreeEntries(m->nodes[i].count, m->nodes[i].entries);
    for (int i = 0; i < m->historyCount; ++i)
        free(m->history[i]);
    free(m->nodes);
    free(m);
}

void OnHotKey(HWND mainWindow)
{
    // A second press while the menu is open is ignored.
    if (!g_app || g_app->hotMenu)
        return;
    HotMenu* m = NewHotMenu();
    HMENU menu = m ? CreatePopupMenu() : NULL;
    if (!menu) {
        if (m)
            FreeHotMenu(m);
        return;
    }
    m->target = GetForegroundWindow();
    m->targetThread = m->target ? GetWindowThreadProcessId(m->target, &m->targetProcess) : 0;
    TPMPARAMS params;
    params.cbSize = sizeof params;
    POINT at = MenuPoint(m, &params.rcExclude);
    char folder[kPathCap];
    StartFolder(folder);
    NewNode(m, folder, nullptr);
    g_app->hotMenu = m;
    AddHistoryRows(m, menu);
    FillFolder(m, menu, 0);

    // A background program's menu: foreground first, so it takes the keys
    // and closes on a click elsewhere; WM_NULL after, so it closes at once.
    SetForegroundWindow(mainWindow);
    int id = (int)TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN |
                                             TPM_TOPALIGN | TPM_VERTICAL,
                                   at.x, at.y, mainWindow,
                                   IsRectEmpty(&params.rcExclude) ? NULL : &params);
    PostMessageW(mainWindow, WM_NULL, 0, 0);
    bool copyOnly = GetKeyState(VK_SHIFT) < 0;
    DestroyMenu(menu);
    if (id >= CMD_HOTKEY_FIRST && id - CMD_HOTKEY_FIRST < m->leafCount)
        Deliver(mainWindow, m, id, copyOnly);
    g_app->hotMenu = nullptr;
    FreeHotMenu(m);
}
