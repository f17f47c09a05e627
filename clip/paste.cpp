#include "paste.h"

#include <cstdlib>
#include <cstring>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "../store/itemfile.h"
#include "../store/itemname.h"
#include "../store/itemtext.h"
#include "../store/paths.h"
#include "../store/records.h"
#include "../store/chars.h"
#include "../web/pagetitle.h"
#include "../web/titletext.h"
#include "copy.h"
#include "widetext.h"

// A new item's name before " (n)" is added; keys and values are read back
// only up to kMaxReadKey and kMaxReadValue bytes.
// A name takes at most 127 bytes as code page 932 would store it.
enum { kItemNameBytes = 128, kItemNameCap = 3 * kItemNameBytes, kStringCap = 260, kMessageCap = 2 * kStringCap + 2 * kPathCap };

void PasteFromClipboard(HWND window)
{
    if (!IsClipboardFormatAvailable(CF_TEXT))
        return;
    char* text = TakeClipboardText(window);
    if (text)
        MakeItemFromText(window, text, FALSE, -1);
    free(text);
}

char* CopyBlockText(HGLOBAL block, SIZE_T* size)
{
    const char* bytes = block ? (const char*)GlobalLock(block) : nullptr;
    if (!bytes)
        return nullptr;
    SIZE_T blockSize = GlobalSize(block);
    if (size)
        *size = blockSize;
    // Another program may have left out the terminator: nothing past the
    // block is read.
    size_t len = strnlen(bytes, blockSize);
    char* copy = (char*)malloc(len + 1);
    if (copy) {
        memcpy(copy, bytes, len);
        copy[len] = '\0';
    }
    GlobalUnlock(block);
    return copy;
}

char* GetClipboardText(HWND window, SIZE_T* size)
{
    if (!OpenClipboardPatiently(window))
        return nullptr;
    // Unicode text first, as a paste takes it: the system's CF_TEXT is in
    // its own code page, which need not be the program's.
    char* copy = nullptr;
    if (IsClipboardFormatAvailable(CF_UNICODETEXT)) {
        copy = WideBlockToProgram(GetClipboardData(CF_UNICODETEXT));
        if (copy && size)
            *size = strlen(copy) + 1;
    } else {
        copy = AnsiBlockToProgram(GetClipboardData(CF_TEXT), size, ClipboardTextCodePage());
    }
    CloseClipboard();
    return copy;
}

void ReportTextCut(size_t kept)
{
    char format[kStringCap] = "";
    char message[kMessageCap];
    LoadText(IDS_TEXT_CUT, format, sizeof format);
    if (!FormatText(message, sizeof message, format, (unsigned)kept))
        CopyText(message, sizeof message, format);
    ShowErrorBox(0, message);
}

BOOL MakeItemFromText(HWND window, const char* text, BOOL dropped, int row)
{
    if (!text)
        return FALSE;
    // Said rather than silently ignored: the user may think it was stored.
    if (!text[strspn(text, "\r\n ")])
        return ShowErrorBox(IDS_NO_ITEM_TEXT, NULL);
    // Blank lines before the text would give it no name and no key.
    for (size_t blank = strspn(text, " "); text[blank] == '\r' || text[blank] == '\n';
         blank = strspn(text, " "))
        text += blank + 1;
    bool isUrl = IsUrl(text);
    // One fetch of the page names both the file and the key: a second one
    // would cost the wait, and the error box, twice.
    char key[kEntryTextCap] = "";
    int form = StoredFormFor(text, "");
    if (isUrl)
        NameForUrl(text, key, sizeof key);
    char name[kItemNameCap] = "";
    // A host keeps its port ("localhost:8080"), and a colon in a file name
    // would fail the write (or make a stream of another file).
    if (isUrl) {
        CopyText(name, sizeof name, key);
        CleanTitle(name);
    } else {
        LeadingNameRun(text, name, sizeof name);
    }
    CutToStored(name, kItemNameBytes - 1, kFormCp932);
    if (!name[0])
        LoadText(IDS_UNTITLED, name, sizeof name);
    if (!key[0])
        CopyFirstLine(text, key, sizeof key);
    // As long as a line of the file the item goes to can hold.
    CutToStored(key, kMaxReadKey, form);
    if (!key[0])
        return FALSE;
    char path[kPathCap];
    if (!UniqueItemPath(path, sizeof path, false, name, isUrl ? ".url" : ".txt"))
        return FALSE;
    char value[kEntryTextCap];
    bool cut = TextToValue(text, value, form);
    Entry entry = {key, value};

    int decision = 0;
    BOOL stored = FALSE;
    if (dropped && row != -1) {
        decision = AskAppendOrNew(window, row);
        if (decision == 1)
            stored = AppendEntryToItem(row, &entry);
    }
    if (decision == 0 && WriteItemFile(path, 1, &entry)) {
        if (dropped && g_app->options[InsertAfterDrop] && row != -1)
            ++row;
        stored = AddItemRow(path, TRUE, 1, &entry, row);
    }
    if (!stored)
        return FALSE;

    ShowItemCount();
    UpdateCommandStates();
    SelectRow(row);
    g_app->orderChanged = 1;
    if (dropped && g_app->options[FrontAfterDrop])
        SetForegroundWindow(window);
    if (cut)
        ReportTextCut(StoredLength(value, form));
    // The derived name is a guess: the user corrects it at once.
    if (decision == 0)
        PostMessageW(window, WM_COMMAND, CMD_RENAME, 0);
    return TRUE;
}

int AskAppendOrNew(HWND window, int row)
{
    ItemRecord* record = GetRowRecord(row);
    if (!record || record->kind == kKindGroup)
        return 0;
    if (g_app->options[DropAction] != DropAsk)
        return g_app->options[DropAction];
    char format[kStringCap * 2] = "";
    char caption[kStringCap] = "";
    char message[kMessageCap];
    LoadText(IDS_ASK_APPEND, format, sizeof format);
    LoadText(IDS_CONFIRM, caption, sizeof caption);
    if (!FormatText(message, sizeof message, format, record->name ? record->name : "",
                    record->ext ? record->ext : ""))
        CopyText(message, sizeof message, format);
    switch (MessageBoxW(window, Widen(message).c_str(), Widen(caption).c_str(),
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return 1;
    case IDNO:
        return 0;
    default:
        return -1;
    }
}

static BOOL RefuseFullItem(const ItemRecord* record)
{
    char format[kStringCap] = "";
    char message[kMessageCap];
    LoadText(IDS_ITEM_FULL, format, sizeof format);
    if (!FormatText(message, sizeof message, format, record->name ? record->name : "",
                    record->ext ? record->ext : "", (int)kMaxEntries))
        CopyText(message, sizeof message, format);
    return ShowErrorBox(0, message);
}

BOOL AppendEntryToItem(int row, const Entry* entry)
{
    ItemRecord* record = GetRowRecord(row);
    if (!record || record->kind == kKindGroup || !entry)
        return FALSE;
    char path[kPathCap];
    if (!RowPath(record, path))
        return ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
    if (!PathExists(path, false)) {
        DropVanishedRow(row);
        return FALSE;
    }
    // The file, not the record, is what the entry joins: it may have been
    // edited since the folder was read, and every other byte of it stays.
    Entry entries[kMaxEntries] = {};
    int count = AppendEntryToFile(path, entry, entries);
    if (count < 0)
        return FALSE;
    if (count == 0)
        return RefuseFullItem(record);
    SetRecordEntries(record, count, entries);
    return TRUE;
}
