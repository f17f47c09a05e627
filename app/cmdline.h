// The root folder named on the command line. Pure byte logic.
#ifndef ZORIVEN_CMDLINE_H
#define ZORIVEN_CMDLINE_H

#include <cstddef>

// Windows quotes a path that holds spaces, so one pair of enclosing double
// quotes and the blanks around the argument are removed; the rest is kept
// verbatim. Returns false (out empty) when nothing is left or the folder
// would not fit in cap bytes: a cut name could open some other folder.
bool RootFromCommandLine(const char* cmdline, char* out, size_t cap);

// What follows the program's own name in the whole command line Windows
// keeps (GetCommandLineW), found as the C runtime finds WinMain's: the name
// runs to the first blank or control character outside double quotes, and
// the blanks after it go too.
const wchar_t* ArgumentsAfterProgram(const wchar_t* commandLine);

#endif
