// The root folder named on the command line. Pure byte logic.
#ifndef ZORIVEN_CMDLINE_H
#define ZORIVEN_CMDLINE_H

#include <cstddef>

// Windows quotes a path that holds spaces, so one pair of enclosing double
// quotes and the blanks around the argument are removed; the rest is kept
// verbatim. Returns false (out empty) when nothing is left or the folder
// would not fit in cap bytes: a cut name could open some other folder.
bool RootFromCommandLine(const char* cmdline, char* out, size_t cap);

#endif
