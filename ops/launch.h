// Starting other programs: the editor on an item, Explorer on a folder.
#ifndef ZORIVEN_LAUNCH_H
#define ZORIVEN_LAUNCH_H

#include "../app/winver.h"

// The longest command line: two 259-character paths and a space.
enum { kCommandLineCap = 520 };

// Starts "program argument" without waiting for it. A command line that
// would not fit is refused, never cut. Reports failures when report is set.
BOOL LaunchProgram(const char* program, const char* argument, int show, BOOL report);
BOOL LaunchEditor();
BOOL LaunchExplorer();

// The process start the launcher uses, on the program's text: the command
// line, shown as show, at normal priority, inheriting nothing. Tests record
// the command line here; StartProgram makes the wide call.
typedef BOOL (*StartProgramFn)(const char* commandLine, int show, PROCESS_INFORMATION* process);
BOOL StartProgram(const char* commandLine, int show, PROCESS_INFORMATION* process);
extern StartProgramFn g_startProgram;

#endif
