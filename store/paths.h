// Path operations that ask the system.
#ifndef ZORIVEN_PATHS_H
#define ZORIVEN_PATHS_H

#include <cstddef>

// Folder of the running program file, without a trailing backslash.
bool ModuleFolder(char* out, size_t cap);

#endif
