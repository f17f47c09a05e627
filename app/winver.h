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
#undef UNICODE
#undef _UNICODE
#include <windows.h>
#include <commctrl.h>
#endif
