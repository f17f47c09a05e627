/* Drives a running zoriven.exe from outside for the pictures of docs/, with
   window messages only, and tells where its windows are on the screen.

     shot_driver command <id>             WM_COMMAND id to the main window
     shot_driver key <vk>...              keys pressed in the main list
     shot_driver click <title> <id>       a button of a dialog
     shot_driver text <title> <id> <text> a dialog control's text
     shot_driver tab <title> <index>      a page of a tabbed dialog
     shot_driver place <x> <y> <w> <h>    moves and sizes the main window
     shot_driver rect <title>...          WxH+X+Y around every visible window
                                          with one of the titles, and any
                                          open menu; exit code 1 when none
     shot_driver client <title> [n]       "X Y W H" of the window's client area
                                          (the n-th of that title, front first)
     shot_driver menus                    "X Y W H" around the open menus, if any

   A title "main" is the program's main window, whatever it shows. */
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define MAIN_CLASS "WC_ClipMain"

struct Around {
    char** titles;
    int count;
    RECT box;
    int found;
};

static HWND MainWindow(void) { return FindWindowA(MAIN_CLASS, NULL); }

static HWND Named(const char* title)
{
    return strcmp(title, "main") == 0 ? MainWindow() : FindWindowA(NULL, title);
}

static void Take(struct Around* around, HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    if (!around->found)
        around->box = rc;
    else
        UnionRect(&around->box, &around->box, &rc);
    around->found = 1;
}

static BOOL CALLBACK Visit(HWND hwnd, LPARAM data)
{
    struct Around* around = (struct Around*)data;
    char title[256] = "", cls[64] = "";
    int i;
    if (!IsWindowVisible(hwnd))
        return TRUE;
    GetWindowTextA(hwnd, title, sizeof title);
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strcmp(cls, "#32768") == 0) {
        Take(around, hwnd);
        return TRUE;
    }
    for (i = 0; i < around->count; ++i)
        if (strcmp(around->titles[i], "main") == 0 ? strcmp(cls, MAIN_CLASS) == 0
                                                   : strcmp(title, around->titles[i]) == 0)
            Take(around, hwnd);
    return TRUE;
}

int main(int argc, char** argv)
{
    HWND main = MainWindow();
    if (argc == 2 && main && strcmp(argv[1], "menus") == 0) {
        struct Around around;
        memset(&around, 0, sizeof around);
        EnumWindows(Visit, (LPARAM)&around);
        if (!around.found)
            return 1;
        printf("%ld %ld %ld %ld\n", around.box.left, around.box.top,
               around.box.right - around.box.left, around.box.bottom - around.box.top);
        return 0;
    }
    if (argc < 3 || !main) {
        fprintf(stderr, "shot_driver: no zoriven.exe window, or too few arguments\n");
        return 2;
    }
    if (strcmp(argv[1], "command") == 0) {
        PostMessageA(main, WM_COMMAND, (WPARAM)atoi(argv[2]), 0);
    } else if (strcmp(argv[1], "key") == 0) {
        HWND list = FindWindowExA(main, NULL, "SysListView32", NULL);
        int i;
        for (i = 2; i < argc; ++i)
            PostMessageA(list, WM_KEYDOWN, (WPARAM)atoi(argv[i]), 0);
    } else if (strcmp(argv[1], "click") == 0 && argc == 4) {
        HWND dialog = Named(argv[2]);
        int id = atoi(argv[3]);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
    } else if (strcmp(argv[1], "text") == 0 && argc == 5) {
        SetDlgItemTextA(Named(argv[2]), atoi(argv[3]), argv[4]);
    } else if (strcmp(argv[1], "filter") == 0 && argc == 3) {
        /* The filter box is a child of the toolbar. */
        HWND toolbar = FindWindowExA(main, NULL, "ToolbarWindow32", NULL);
        SetWindowTextA(GetDlgItem(toolbar, 1004), argv[2]);
    } else if (strcmp(argv[1], "tab") == 0 && argc == 4) {
        HWND tabs = FindWindowExA(Named(argv[2]), NULL, "SysTabControl32", NULL);
        SendMessageA(tabs, TCM_SETCURFOCUS, (WPARAM)atoi(argv[3]), 0);
    } else if (strcmp(argv[1], "place") == 0 && argc == 6) {
        SetWindowPos(main, NULL, atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (strcmp(argv[1], "client") == 0 && argc >= 3) {
        HWND window = Named(argv[2]);
        int n = argc > 3 ? atoi(argv[3]) : 0;
        while (window && n-- > 0)
            window = FindWindowExA(NULL, window, NULL, argv[2]);
        RECT rc;
        POINT origin = {0, 0};
        if (!window || !GetClientRect(window, &rc) || !ClientToScreen(window, &origin))
            return 1;
        printf("%ld %ld %ld %ld\n", origin.x, origin.y, rc.right, rc.bottom);
    } else if (strcmp(argv[1], "rect") == 0) {
        struct Around around;
        memset(&around, 0, sizeof around);
        around.titles = argv + 2;
        around.count = argc - 2;
        EnumWindows(Visit, (LPARAM)&around);
        if (!around.found)
            return 1;
        if (around.box.left < 0)
            around.box.left = 0;
        if (around.box.top < 0)
            around.box.top = 0;
        printf("%ldx%ld+%ld+%ld\n", around.box.right - around.box.left,
               around.box.bottom - around.box.top, around.box.left, around.box.top);
    } else {
        fprintf(stderr, "shot_driver: unknown request %s\n", argv[1]);
        return 2;
    }
    return 0;
}
