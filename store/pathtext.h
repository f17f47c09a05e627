// Splitting paths as Shift_JIS text. Pure byte logic.
#ifndef ZORIVEN_PATHTEXT_H
#define ZORIVEN_PATHTEXT_H

#include <cstddef>

// Text before the last backslash (or, without one, before the last "/").
// Returns the separator's position, or -1 with an empty out when the path
// has neither. False-cut never happens: out must hold kPathCap bytes.
int ParentPath(const char* path, char* out, size_t cap);

// The last path component (everything after the last separator).
void FileNamePart(const char* path, char* out, size_t cap);

// Pointer to the last component inside path itself.
const char* LastComponent(const char* path);

// ASCII letters compared without regard to case; other bytes exactly.
bool EqualNoCase(const char* a, const char* b);

#endif
