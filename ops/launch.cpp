#include "launch.h"

#include <cstring>
#include <vector>

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../store/itemname.h"
#include "../store/records.h"

#define EXPLORER_COMMAND "EXPLORER.EXE /n,/e,"

BOOL StartProgram(const char* commandLine, int show, PROCESS_INFORMATION* process)
{
    // Our own copy: CreateProcessW may write into the command line. A
    // character never takes more UTF-16 units than bytes.
    std::vector<wchar_t> line(strlen(commandLine) + 1);
    if (!ToWide(commandLine, line.data(), line.size())) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return FALSE;
    }
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = (WORD)show;
    return CreateProcessW(NULL, line.data(), NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL, NULL,
                          &startup, process);
}

StartProgramFn g_startProgram = StartProgram;

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

    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    if (!g_startProgram(commandLine, show, &process))
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
