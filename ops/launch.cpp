#include "launch.h"

#include <cstring>
#include <vector>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../store/itemname.h"
#include "../store/records.h"

#define EXPLORER_COMMAND "EXPLORER.EXE /n,/e,"

// A text as the wide call takes it, in out (empty for none); false when it
// is no text of the program's form, which would name another program. A
// character never takes more UTF-16 units than bytes.
static bool WideCopy(const char* text, std::vector<wchar_t>* out)
{
    out->assign(text ? strlen(text) + 1 : 0, L'\0');
    return !text || ToWide(text, out->data(), out->size());
}

static wchar_t* Or(std::vector<wchar_t>& text)
{
    return text.empty() ? NULL : text.data();
}

// The seam carries the program's text, as the tests read it; the start
// itself goes through the wide call.
static BOOL WINAPI StartProcess(LPCSTR application, LPSTR commandLine,
                                LPSECURITY_ATTRIBUTES processAttributes,
                                LPSECURITY_ATTRIBUTES threadAttributes, BOOL inherit, DWORD flags,
                                LPVOID environment, LPCSTR directory, LPSTARTUPINFOA startup,
                                LPPROCESS_INFORMATION process)
{
    std::vector<wchar_t> wideApplication, wideLine, wideDirectory, desktop, title;
    if (!WideCopy(application, &wideApplication) || !WideCopy(commandLine, &wideLine) ||
        !WideCopy(directory, &wideDirectory) || !WideCopy(startup->lpDesktop, &desktop) ||
        !WideCopy(startup->lpTitle, &title)) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return FALSE;
    }
    STARTUPINFOW wide;
    ZeroMemory(&wide, sizeof wide);
    wide.cb = sizeof wide;
    wide.lpDesktop = Or(desktop);
    wide.lpTitle = Or(title);
    wide.dwX = startup->dwX;
    wide.dwY = startup->dwY;
    wide.dwXSize = startup->dwXSize;
    wide.dwYSize = startup->dwYSize;
    wide.dwXCountChars = startup->dwXCountChars;
    wide.dwYCountChars = startup->dwYCountChars;
    wide.dwFillAttribute = startup->dwFillAttribute;
    wide.dwFlags = startup->dwFlags;
    wide.wShowWindow = startup->wShowWindow;
    wide.cbReserved2 = startup->cbReserved2;
    wide.lpReserved2 = startup->lpReserved2;
    wide.hStdInput = startup->hStdInput;
    wide.hStdOutput = startup->hStdOutput;
    wide.hStdError = startup->hStdError;
    // The command line is our own copy: CreateProcessW may write into it.
    return CreateProcessW(Or(wideApplication), Or(wideLine), processAttributes, threadAttributes,
                          inherit, flags, environment, Or(wideDirectory), &wide, process);
}

CreateProcessFn g_createProcess = StartProcess;

static BOOL LaunchFailed(BOOL report, DWORD code)
{
    if (report)
        ShowSystemError(code);
    return FALSE;
}

BOOL LaunchProgram(const char* program, const char* argument, int show, BOOL report)
{
    // With no program the system would run the argument itself.
    if (!program || !program[0])
        return LaunchFailed(report, ERROR_FILE_NOT_FOUND);
    char commandLine[kCommandLineCap];
    if (!FormatText(commandLine, sizeof commandLine, "%s %s", program, argument ? argument : ""))
        return LaunchFailed(report, ERROR_FILENAME_EXCED_RANGE);

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = (WORD)show;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    if (!g_createProcess(NULL, commandLine, NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL, NULL,
                         &startup, &process))
        return LaunchFailed(report, GetLastError());
    if (process.hThread)
        CloseHandle(process.hThread);
    if (process.hProcess)
        CloseHandle(process.hProcess);
    return TRUE;
}

BOOL LaunchEditor()
{
    ItemRecord* record = GetSelectedRecord(NULL, -1);
    if (!record || record->kind == kKindGroup || !g_app->editorPath[0])
        return FALSE;
    char path[kPathCap];
    if (!RowPath(record, path))
        return LaunchFailed(TRUE, ERROR_FILENAME_EXCED_RANGE);
    return LaunchProgram(g_app->editorPath, path, SW_SHOWDEFAULT, TRUE);
}

BOOL LaunchExplorer()
{
    ItemRecord* record = GetSelectedRecord(NULL, -1);
    char folder[kPathCap];
    if (!record || record->kind != kKindGroup)
        CopyText(folder, sizeof folder, g_app->currentFolder);
    else if (!RowPath(record, folder))
        return LaunchFailed(TRUE, ERROR_FILENAME_EXCED_RANGE);
    return LaunchProgram(EXPLORER_COMMAND, folder, SW_SHOWDEFAULT, TRUE);
}
