// The one place that fixes the Windows headers' version and character set.
#ifndef ZORIVEN_WINVER_H
#define ZORIVEN_WINVER_H
#ifndef WINVER
#define WINVER 0x0501
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0501
#endif
#ifndef _WIN32_IE
#define _WIN32_IE 0x0501
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
// Every Windows call that carries text is a wide one; a generic name
// that slipped through would take the program's UTF-8 for the ANSI code
// page, so the generic names are the wide ones too.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>
#include <commctrl.h>
#endif
