#include "itemfile.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "../web/browser.h"
#include "itemlines.h"
#include "itemtext.h"
#include "paths.h"
#include "pathtext.h"
#include "safewrite.h"
#include "utf8.h"

static_assert((int)kShownEntries == (int)kMaxEntries, "the rows are the entries the reader takes");

// An item file is read whole to be edited; a larger one is refused.
enum { kMaxItemBytes = 64 * 1024 * 1024 };

// The address of an Internet Shortcut as Windows reads it: code page 932,
// with the characters it lacks percent-encoded as UTF-8.
static std::string ShortcutValue(const char* key, const char* value, bool shortcut)
{
    char url[kEntryTextCap];
    if (!shortcut || !EqualNoCase(key, "InternetShortcut") || !ShortcutUrl(value, url, sizeof url))
        return value;
    return url;
}

static bool HeldByCp932(const char* text)
{
    std::string stored;
    return !text || ProgramToStored(text, strlen(text), kFormCp932, &stored);
}

int StoredFormFor(const char* key, const char* value, int fileForm)
{
    return fileForm == kFormUtf8 || !HeldByCp932(key) || !HeldByCp932(value) ? kFormUtf8
                                                                             : kFormCp932;
}

bool StoredEntryReadsBack(const char* key, const char* value, bool shortcut, int fileForm)
{
    if (!key || !value)
        return false;
    int form = StoredFormFor(key, value, fileForm);
    std::string k, v;
    return ProgramToStored(key, strlen(key), form, &k) &&
           ProgramToStored(value, strlen(value), form, &v) &&
           EntryReadsBack(k.c_str(), v.c_str(), shortcut, form);
}

BOOL IsExcludedExtension(const char* name)
{
    return g_app->options[ExcludeExt] && ExtensionInList(name, g_app->excludedExt);
}

// A byte source that takes the mark of a UTF-8 file off its front and
// says which form the file is in; a UTF-16 file ends at its mark.
struct MarkedSource {
    ReadBytesFn read;
    void* source;
    bool started;
    int form;
    bool utf16;
};

static long ReadPastMark(void* source, char* buffer, long capacity)
{
    MarkedSource* s = (MarkedSource*)source;
    if (s->started)
        return s->read(s->source, buffer, capacity);
    s->started = true;
    long got = 0;
    while (got < 3) {
        long n = s->read(s->source, buffer + got, capacity - got);
        if (n < 0)
            return n;
        if (n == 0)
            break;
        got += n;
    }
    if (StartsWithUtf16Mark(buffer, (size_t)got)) {
        s->utf16 = true;
        return 0;
    }
    if (!StartsWithUtf8Mark(buffer, (size_t)got))
        return got;
    s->form = kFormUtf8;
    memmove(buffer, buffer + 3, (size_t)(got - 3));
    return got > 3 ? got - 3 : s->read(s->source, buffer, capacity);
}

static char* StoredCopy(const char* stored, int form)
{
    // Most keys and many values are ASCII: copied as they are.
    size_t length = strlen(stored);
    return CopyString(IsAsciiText(stored, length) ? stored
                                                  : StoredToProgram(stored, length, form).c_str());
}

// Reads entries until the file or the 32 slots run out; -1 when the file
// could not be read to its end or memory ran out. *passed, when given,
// says what text gave no entry (kPassedNothing, ...).
static int ReadEntries(ReadBytesFn read, void* source, Entry* entries, int* passed = nullptr)
{
    MarkedSource marked = {read, source, false, kFormCp932, false};
    LineReader reader;
    ItemParse parse;
    char line[kLineCap];
    InitLineReader(&reader, ReadPastMark, &marked);
    InitItemParse(&parse);
    int count = 0;
    while (count < kMaxEntries && ReadTextLine(&reader, line, sizeof line)) {
        parse.form = marked.form;   // known once the first bytes are read
        if (!TakeItemLine(&parse, line))
            continue;
        entries[count].key = StoredCopy(parse.key, marked.form);
        entries[count].value = StoredCopy(parse.value, marked.form);
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
        *passed = marked.utf16 ? kPassedUtf16 : reader.sawNul ? kPassedNothing : parse.passed;
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
        int why = passed == kPassedUtf16     ? IDS_UTF16_FILE
                  : passed == kPassedTooLong ? IDS_LINE_TOO_LONG
                                             : IDS_NO_ENTRY_LINE;
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

// The entries as stored: in code page 932 when it holds every character
// exactly, so a library stays what it was, else in UTF-8 after its mark.
static bool StoreEntries(int count, const Entry* entries, bool shortcut, std::string* content)
{
    for (int form : {kFormCp932, kFormUtf8}) {
        content->clear();
        bool held = true;
        for (int i = 0; i < count && held; ++i) {
            std::string key, value;
            const char* k = entries[i].key ? entries[i].key : "";
            std::string url = ShortcutValue(k, entries[i].value ? entries[i].value : "", shortcut);
            const char* v = url.c_str();
            held = ProgramToStored(k, strlen(k), form, &key) &&
                   ProgramToStored(v, strlen(v), form, &value);
            if (held && !AppendItemEntry(content, key.c_str(), value.c_str(), shortcut))
                return false;
        }
        if (held) {
            if (form == kFormUtf8)
                content->insert(0, kUtf8Mark, sizeof kUtf8Mark);
            return true;
        }
    }
    return false;
}

BOOL WriteItemFile(const char* path, int count, const Entry* entries)
{
    if (!path || !path[0] || count <= 0 || count > kMaxEntries || !entries)
        return FALSE;
    // Everything is checked and formatted before the file is touched.
    std::string content;
    if (!StoreEntries(count, entries, IsShortcutName(path), &content))
        return ShowSystemError(ERROR_INSUFFICIENT_BUFFER);
    if (Utf16Length(path, strlen(path)) >= kPathUnits)
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
    int passed = kPassedNothing;
    int count = code ? -1 : ReadEntries(ReadFromMemory, &source, entries, &passed);
    // Saved meanwhile as UTF-16: a rewrite would put lines of another form
    // among its bytes.
    if (passed == kPassedUtf16) {
        FreeItemSnapshot(snapshot);
        return ReadFailed(OwnErrorCode(IDS_UTF16_FILE), nullptr);
    }
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

int SnapshotForm(const ItemSnapshot* snapshot, const char** text, size_t* size)
{
    bool marked = StartsWithUtf8Mark(snapshot->bytes, snapshot->size);
    *text = snapshot->bytes + (marked ? 3 : 0);
    *size = snapshot->size - (marked ? 3 : 0);
    return marked ? kFormUtf8 : kFormCp932;
}

namespace {
// An entry of the file as stored, beside its program text.
struct StoredEntry {
    std::string key, value, shownKey, shownValue;
};
}

static std::vector<StoredEntry> StoredEntriesOf(const char* text, size_t size, int form)
{
    std::vector<StoredEntry> found;
    MemorySource source = {text, size, 0};
    LineReader reader;
    ItemParse parse;
    char line[kLineCap];
    InitLineReader(&reader, ReadFromMemory, &source);
    InitItemParse(&parse, form);
    while ((int)found.size() < kMaxEntries && ReadTextLine(&reader, line, sizeof line))
        if (TakeItemLine(&parse, line))
            found.push_back({parse.key, parse.value,
                             StoredToProgram(parse.key, strlen(parse.key), form),
                             StoredToProgram(parse.value, strlen(parse.value), form)});
    return found;
}

// The rows as the file's form stores them. A row that is an entry as read
// keeps the entry's own bytes, even bytes that are no text of the form, so
// nothing the user did not change is changed. False when code page 932
// cannot hold a new character.
static bool StoreRows(const std::vector<StoredEntry>& read, int count, const Entry* rows, int form,
                      bool shortcut, std::vector<std::string>* stored)
{
    stored->assign(2 * (size_t)count, std::string());
    for (int i = 0; i < count; ++i) {
        const char* key = rows[i].key ? rows[i].key : "";
        std::string url = ShortcutValue(key, rows[i].value ? rows[i].value : "", shortcut);
        const char* value = url.c_str();
        const StoredEntry* same = nullptr;
        for (const StoredEntry& e : read)
            if (e.shownKey == key && e.shownValue == value)
                same = &e;
        if (same) {
            (*stored)[2 * i] = same->key;
            (*stored)[2 * i + 1] = same->value;
        } else if (!ProgramToStored(key, strlen(key), form, &(*stored)[2 * i]) ||
                   !ProgramToStored(value, strlen(value), form, &(*stored)[2 * i + 1])) {
            return false;
        }
    }
    return true;
}

BOOL RewriteItemFile(const char* path, const ItemSnapshot* snapshot, int count, const Entry* rows,
                     BOOL* written, int* badRow)
{
    *written = FALSE;
    *badRow = -1;
    if (!path || !snapshot || !snapshot->bytes || count < 0 || count > kMaxEntries)
        return FALSE;
    const char* text = nullptr;
    size_t size = 0;
    int form = SnapshotForm(snapshot, &text, &size);
    std::string converted;
    std::vector<std::string> stored;
    bool shortcut = IsShortcutName(path);
    if (!StoreRows(StoredEntriesOf(text, size, form), count, rows, form, shortcut, &stored)) {
        // A character code page 932 lacks: the whole file becomes UTF-8,
        // every line's text kept. Bytes that are no code page 932 text
        // would be lost, so such a file is left alone.
        if (!Cp932ToUtf8(text, size, &converted))
            return ShowErrorBox(IDS_CANNOT_CONVERT, NULL);
        text = converted.data();
        size = converted.size();
        form = kFormUtf8;
        StoreRows(StoredEntriesOf(text, size, form), count, rows, form, shortcut, &stored);
    }
    EntryText texts[kMaxEntries];
    for (int i = 0; i < count; ++i)
        texts[i] = {stored[2 * i].c_str(), stored[2 * i + 1].c_str()};
    std::string content;
    switch (RewriteItemBytes(text, size, texts, count, shortcut, &content, badRow, form)) {
    case kRewriteUnchanged:
        return TRUE;
    case kRewriteFailed:
        // In UTF-8 a line of the file may grow past what a line holds.
        return ShowErrorBox(converted.empty() ? IDS_CANNOT_STORE : IDS_CONVERT_TOO_LONG, NULL);
    }
    if (form == kFormUtf8)
        content.insert(0, kUtf8Mark, sizeof kUtf8Mark);
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
