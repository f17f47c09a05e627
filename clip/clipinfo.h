// Command 1067: what the clipboard holds, format by format, and its text.
#ifndef ZORIVEN_CLIPINFO_H
#define ZORIVEN_CLIPINFO_H

#include "../app/winver.h"

// Shows the information box; the number of formats listed.
int ShowClipboardInfo(HWND window);

#endif
