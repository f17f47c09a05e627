/* Stands in for a program the tested code starts: writes the command line
   it was given to the file named by ZORIVEN_RECORD, then exits. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR args, int show)
{
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("ZORIVEN_RECORD", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return 1;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const char* line = GetCommandLineA();
    DWORD written = 0;
    WriteFile(file, line, lstrlenA(line), &written, NULL);
    CloseHandle(file);
    return 0;
}
