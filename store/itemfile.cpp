#include "itemfile.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "itemlines.h"
#include "itemtext.h"
#include "paths.h"
#include "safewrite.h"

static_assert((int)kShownEntries == (int)kMaxEntries, "the rows are the entries the reader takes");

// An item file is read whole to be edited; a larger one is refused.
enum { kMaxItemBytes = 64 * 1024 * 1024 };

BOOL IsExcludedExtension(const char* name)
{
    return g_app->options[ExcludeExt] && ExtensionInList(name, g_app->excludedExt);
}

// Reads entries until the file or the 32 slots run out; -1 when the file
// could not be read to its end or memory ran out. *passed, when given,
// says what text gave no entry (kPassedNothing, ...).
static int ReadEntries(ReadBytesFn read, void* source, Entry* entries, int* passed = nullptr)
{
    LineReader reader;
    ItemParse parse;
    char line[kLineCap];
    InitLineReader(&reader, read, source);
    InitItemParse(&parse);
    int count = 0;
    while (count < kMaxEntries && ReadTextLine(&reader, line, sizeof line)) {
        if (!TakeItemLine(&parse, line))
            continue;
        entries[count].key = CopyString(parse.key);
        entries[count].value = CopyString(parse.value);
        ++count;
        if (!entries[count - 1].key || !entries[count - 1].value) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            FreeEntries(count, entries);
            return -1;
        }
    }
    if (reader.failed) {
        FreeEntries(count, entries);
        return -1;
    }
    // A picture or a document beside the items holds NULs and no text of
    // the user's: it is passed over without a word, as before.
    if (passed)
        *passed = reader.sawNul ? kPassedNothing : parse.passed;
    return count;
}

// The box, or the code handed back to a caller that gathers failures.
static int ReadFailed(DWORD code, DWORD* error)
{
    if (error)
        *error = code;
    else
        ShowSystemError(code);
    return -1;
}

int ReadItemPath(const char* path, Entry entries[kMaxEntries], DWORD* error)
{
    if (error)
        *error = 0;
    HANDLE file = OpenPath(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE)
        return ReadFailed(GetLastError(), error);
    // An item read only in part must not become a row: rewriting it later
    // would drop the rest of the user's text.
    int passed = kPassedNothing;
    int count = ReadEntries(ReadFromHandle, file, entries, &passed);
    DWORD code = GetLastError();
    CloseHandle(file);
    if (count < 0)
        return ReadFailed(code, error);
    // Text that makes no row would be out of sight without a word.
    if (count == 0 && passed != kPassedNothing) {
        int why = passed == kPassedTooLong ? IDS_LINE_TOO_LONG : IDS_NO_ENTRY_LINE;
        return ReadFailed(OwnErrorCode(why), error);
    }
    return count;
}

int ReadItemFile(const char* name, Entry entries[kMaxEntries], DWORD* error)
{
    if (error)
        *error = 0;
    if (!name || !name[0] || IsExcludedExtension(name))
        return 0;
    char path[kPathCap];
    if (!JoinPath(path, sizeof path, g_app->currentFolder, name)) {
        ReadFailed(ERROR_FILENAME_EXCED_RANGE, error);
        return 0;
    }
    int count = ReadItemPath(path, entries, error);
    return count < 0 ? 0 : count;
}

// Puts content in place of the file; a read-only, hidden or system item
// is replaced as normal and gets its attributes back.
static BOOL WriteItemBytes(const char* path, const std::string& content)
{
    DWORD attributes = PathAttributes(path);
    BOOL existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (!existed && GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND)
        return ShowErrorBox(-1, NULL);
    if (existed && !SetPathAttributes(path, FILE_ATTRIBUTE_NORMAL))
        return ShowErrorBox(-1, NULL);
    BOOL written = ReplaceFileBytes(path, content.data(), (DWORD)content.size());
    if (existed && attributes != 0)
        SetPathAttributes(path, attributes);
    return written;
}

BOOL WriteItemFile(const char* path, int count, const Entry* entries)
{
    if (!path || !path[0] || count <= 0 || count > kMaxEntries || !entries)
        return FALSE;
    // Everything is checked and formatted before the file is touched.
    std::string content;
    bool shortcut = IsShortcutName(path);
    for (int i = 0; i < count; ++i)
        if (!AppendItemEntry(&content, entries[i].key, entries[i].value, shortcut))
            return ShowSystemError(ERROR_INSUFFICIENT_BUFFER);
    if (strlen(path) >= kPathCap)
        return ShowSystemError(ERROR_FILENAME_EXCED_RANGE);
    return WriteItemBytes(path, content);
}

// The whole file into a new block; a system error code, 0 on success.
static DWORD ReadWhole(HANDLE file, ItemSnapshot* snapshot)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info))
        return GetLastError();
    if (info.nFileSizeHigh || info.nFileSizeLow > kMaxItemBytes)
        return ERROR_FILE_TOO_LARGE;
    snapshot->written = info.ftLastWriteTime;
    snapshot->bytes = (char*)malloc(info.nFileSizeLow ? info.nFileSizeLow : 1);
    if (!snapshot->bytes)
        return ERROR_NOT_ENOUGH_MEMORY;
    // A file that shrinks meanwhile is taken as far as it goes; its new
    // size then tells a later save that it changed.
    while (snapshot->size < info.nFileSizeLow) {
        long got = ReadFromHandle(file, snapshot->bytes + snapshot->size,
                                  (long)(info.nFileSizeLow - snapshot->size));
        if (got < 0)
            return GetLastError();
        if (got == 0)
            break;
        snapshot->size += (DWORD)got;
    }
    return 0;
}

int ReadItemSnapshot(const char* path, ItemSnapshot* snapshot, Entry entries[kMaxEntries])
{
    memset(snapshot, 0, sizeof *snapshot);
    HANDLE file = OpenPath(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE)
        return ReadFailed(GetLastError(), nullptr);
    DWORD code = ReadWhole(file, snapshot);
    CloseHandle(file);
    MemorySource source = {snapshot->bytes, snapshot->size, 0};
    int count = code ? -1 : ReadEntries(ReadFromMemory, &source, entries);
    if (count < 0) {
        FreeItemSnapshot(snapshot);
        return ReadFailed(code ? code : ERROR_NOT_ENOUGH_MEMORY, nullptr);
    }
    return count;
}

void FreeItemSnapshot(ItemSnapshot* snapshot)
{
    free(snapshot->bytes);
    memset(snapshot, 0, sizeof *snapshot);
}

BOOL ItemChangedSince(const char* path, const ItemSnapshot* snapshot)
{
    WIN32_FILE_ATTRIBUTE_DATA now;
    wchar_t wide[MAX_PATH];
    if (!ToWide(path, wide, MAX_PATH) || !GetFileAttributesExW(wide, GetFileExInfoStandard, &now))
        return TRUE;
    return now.nFileSizeHigh || now.nFileSizeLow != snapshot->size ||
           CompareFileTime(&now.ftLastWriteTime, &snapshot->written) != 0;
}

BOOL RewriteItemFile(const char* path, const ItemSnapshot* snapshot, int count, const Entry* rows,
                     BOOL* written, int* badRow)
{
    *written = FALSE;
    *badRow = -1;
    if (!path || !snapshot || !snapshot->bytes || count < 0 || count > kMaxEntries)
        return FALSE;
    EntryText texts[kMaxEntries];
    for (int i = 0; i < count; ++i)
        texts[i] = {rows[i].key ? rows[i].key : "", rows[i].value ? rows[i].value : ""};
    std::string content;
    switch (RewriteItemBytes(snapshot->bytes, snapshot->size, texts, count, IsShortcutName(path),
                             &content, badRow)) {
    case kRewriteUnchanged:
        return TRUE;
    case kRewriteFailed:
        return ShowErrorBox(IDS_CANNOT_STORE, NULL);
    }
    *written = WriteItemBytes(path, content);
    return *written;
}

int AppendEntryToFile(const char* path, const Entry* entry, Entry entries[kMaxEntries])
{
    ItemSnapshot snapshot;
    int count = ReadItemSnapshot(path, &snapshot, entries);
    if (count < 0)
        return -1;
    if (count >= kMaxEntries) {
        FreeEntries(count, entries);
        FreeItemSnapshot(&snapshot);
        return 0;
    }
    entries[count].key = CopyString(entry->key);
    entries[count].value = CopyString(entry->value);
    ++count;
    BOOL written = FALSE;
    int badRow;
    BOOL copied = entries[count - 1].key && entries[count - 1].value;
    if (!copied)
        ShowSystemError(ERROR_NOT_ENOUGH_MEMORY);
    BOOL stored = copied && RewriteItemFile(path, &snapshot, count, entries, &written, &badRow);
    FreeItemSnapshot(&snapshot);
    if (!stored) {
        FreeEntries(count, entries);
        return -1;
    }
    return count;
}
