// Splitting paths as the program's text, a character at a time. Pure byte
// logic.
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

// True when path is folder itself or lies below it (letter case aside).
bool PathIsWithin(const char* path, const char* folder);

// The first two bytes are both backslashes.
bool IsUncPath(const char* text);

// "C:" for a drive path, "\\server\share" for a UNC path, else empty.
void DriveRoot(const char* path, char* out, size_t cap);

// One of the nine characters a file name may not hold.
bool IsInvalidNameChar(unsigned char c);
// name holds one of them as a character of its own (a byte inside a
// longer character is not one).
bool HasInvalidNameChar(const char* name);
// text holds ? or *, which a file function may take as a wildcard (neither
// byte is ever part of a longer character).
bool HasWildcard(const char* text);
// A single-byte character a generated name may use.
bool IsNameChar(unsigned char c);

// Removes trailing " (n)" suffixes: "Memo (2) (5)" becomes "Memo".
void StripNumberSuffix(char* name);

// folder + "\" + stem [+ " (n)" when n > 0] + ext; false and an empty out
// when the candidate would not fit a path buffer.
bool FormatNameCandidate(char* out, size_t cap, const char* folder,
                         const char* stem, int n, const char* ext);

#endif
