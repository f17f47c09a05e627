// Rewriting an item file's bytes so that only the lines of the entries
// that changed change: every line no row shows (entries past the 32nd,
// lines the reader ignores, comments, blank lines, section lines that name
// nothing) stays in place byte for byte. Pure byte logic.
#ifndef ZORIVEN_ITEMLINES_H
#define ZORIVEN_ITEMLINES_H

#include <cstddef>
#include <string>

// The reader stops after this many entries; they are the rows.
enum { kShownEntries = 32 };

struct EntryText {
    const char* key;
    const char* value;
};

// A LineReader source over bytes in memory.
struct MemorySource {
    const char* data;
    size_t size, pos;
};
long ReadFromMemory(void* source, char* buffer, long capacity);

// Lines holding something no row shows: entries past the 32nd and the
// lines the reader ignores. Comments and blank lines are not counted.
int CountHiddenLines(const char* bytes, size_t size, int form = 0);

enum { kRewriteFailed = -1, kRewriteUnchanged = 0, kRewriteDone = 1 };
// The file's bytes once its first entries (as many as the reader takes)
// have become rows[0..count): an entry kept keeps its lines, a changed one
// has only its own lines rewritten, a deleted one loses them, a new one
// goes after the row before it (a moved one takes its lines along). Line
// ends follow the file (CR LF unless it uses LF alone). kRewriteUnchanged
// when the rows are the entries as read (out untouched); kRewriteFailed
// when a row cannot be stored (*badRow is its index) or the result would
// not read back as the rows followed by the entries no row showed
// (*badRow is -1). bytes and rows are stored text of form (a StoredForm),
// without the mark of a UTF-8 file.
int RewriteItemBytes(const char* bytes, size_t size, const EntryText* rows, int count,
                     bool shortcut, std::string* out, int* badRow, int form = 0);

#endif
