// The files sync engines (Syncthing, Dropbox, OneDrive, Google Drive) and
// the system keep in a folder they carry, and the copies an engine makes
// when two machines changed one file. Pure byte logic over the program's
// text in any ANSI code page (or UTF-8): every pattern is anchored at the
// start of the name or at a byte below 0x40 ('.', ' ', '(', a digit),
// which no code page uses inside a double-byte character, so a match never
// begins halfway through a character.
#ifndef ZORIVEN_SYNCNAMES_H
#define ZORIVEN_SYNCNAMES_H

#include <cstddef>

#include "textbuf.h"

// An engine's or the system's own entry (a marker folder, a file still
// arriving, a thumbnail cache, an owner file): never a row, never named in
// an order file, whatever the options say about hidden files. The one
// list of them; the help and the README name the same.
bool IsBookkeepingName(const char* name);

// A conflict copy: the name of the file it copies and when it was made.
struct ConflictName {
    char original[kPathCap];
    char made[20];   // "2026-12-10 11:05", or "2026-12-10" without a time
};

// name is a conflict copy in a form an engine gives it: Syncthing's
// "NAME.sync-conflict-YYYYMMDD-HHMMSS-DEVICE.ext" or Dropbox's
// "NAME (... conflicted copy YYYY-MM-DD).ext". OneDrive's "NAME-MACHINE"
// cannot be told from a name of the user's and is not one.
bool ParseConflictName(const char* name, ConflictName* out);

// name is a conflict copy of original (compared without regard to case).
bool IsConflictCopyOf(const char* name, const char* original);

#endif
