// The options dialog: the option block and its three companion strings,
// edited in a working copy on three tab pages.
#ifndef ZORIVEN_OPTIONSDIALOG_H
#define ZORIVEN_OPTIONSDIALOG_H

#include "../app/winver.h"

// True when the dialog ended with OK; the settings are then saved.
BOOL EditOptions(HWND owner);

#endif
