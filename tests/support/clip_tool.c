/* A second program on the clipboard, for the copy tests:
     clip_tool hold <ms>      keeps the clipboard open for ms milliseconds;
                              the event "ZorivenClipHeld" is set once it is open
     clip_tool read <file>    writes the clipboard's CF_TEXT bytes to file */
#include <windows.h>
#include <stdlib.h>
#include <string.h>

static BOOL OpenPatiently(void)
{
    int i;
    for (i = 0; i < 100; ++i) {
        if (OpenClipboard(NULL))
            return TRUE;
        Sleep(20);
    }
    return FALSE;
}

static int Hold(DWORD ms)
{
    HANDLE held = CreateEventA(NULL, TRUE, FALSE, "ZorivenClipHeld");
    if (!OpenPatiently())
        return 1;
    SetEvent(held);
    Sleep(ms);
    CloseClipboard();
    return 0;
}

static int Read(const char* path)
{
    HANDLE file;
    HGLOBAL block;
    const char* text;
    SIZE_T size, length = 0;
    DWORD written = 0;
    if (!OpenPatiently())
        return 1;
    block = GetClipboardData(CF_TEXT);
    text = block ? (const char*)GlobalLock(block) : NULL;
    size = block ? GlobalSize(block) : 0;
    while (text && length < size && text[length])
        ++length;
    file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, text ? text : "", (DWORD)length, &written, NULL);
        CloseHandle(file);
    }
    if (text)
        GlobalUnlock(block);
    CloseClipboard();
    return text ? 0 : 2;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR args, int show)
{
    if (strncmp(args, "hold ", 5) == 0)
        return Hold((DWORD)atoi(args + 5));
    if (strncmp(args, "read ", 5) == 0)
        return Read(args + 5);
    return 3;
}
