// Bounded copies and formatting into the program's fixed buffers.
// Pure byte logic: no windows.h, so it also builds natively.
#ifndef ZORIVEN_TEXTBUF_H
#define ZORIVEN_TEXTBUF_H

#include <cstddef>

// A path is limited by the system to MAX_PATH (260) UTF-16 units with its
// terminator; as UTF-8 each unit takes at most three bytes.
enum { kPathUnits = 260, kPathCap = 3 * kPathUnits, kTextCap = 1024, kLineCap = 2048,
       kListCap = 4096 };

// Copies src into dst (capacity cap bytes, terminator included). Returns
// false when src did not fit; dst then holds the longest prefix that does
// not end in the middle of a double-byte character. A null src copies "".
bool CopyText(char* dst, size_t cap, const char* src);

// Appends src to the text already in dst; same contract as CopyText.
bool AppendText(char* dst, size_t cap, const char* src);

// printf into dst. Returns false (and leaves dst empty) when the result
// would not fit: a cut path must never be used to touch the disk.
bool FormatText(char* dst, size_t cap, const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// n with its thousands grouped: 12345 as "12,345" (negative as 0).
void FormatGrouped(char* dst, size_t cap, int n);

// The text is no longer than a path may be (kPathUnits - 1 UTF-16 units).
bool PathFits(const char* path);

// folder + "\" + name; false and an empty dst when it does not fit cap
// or is longer than a path may be (kPathUnits - 1 UTF-16 units).
bool JoinPath(char* dst, size_t cap, const char* folder, const char* name);

#endif
