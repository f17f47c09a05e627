#include <cstdlib>

#include "../clip/droptarget.h"
#include "../clip/history.h"
#include "../res/resource.h"
#include "../store/folderload.h"
#include "../store/folderwatch.h"
#include "../store/order.h"
#include "../store/paths.h"
#include "../store/records.h"
#include "chrome.h"
#include "cmdline.h"
#include "settings.h"
#include "state.h"
#include "wide.h"

HINSTANCE g_hInstance;
HWND g_hMainWnd;
BOOL g_secondInstance;
AppState* g_app;

BOOL CreateAppState()
{
    g_app = (AppState*)calloc(1, sizeof(AppState));
    if (!g_app)
        return FALSE;
    g_secondInstance = FindWindowW(Widen(MAIN_CLASS_NAME).c_str(), NULL) != NULL;
    InitCommonControls();
    return TRUE;
}

void FreeAppState()
{
    free(g_app);
    g_app = nullptr;
}

BOOL RegisterMainWindowClass()
{
    std::wstring className = Widen(MAIN_CLASS_NAME);
    WNDCLASSEXW wc;
    ZeroMemory(&wc, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = g_hInstance;
    wc.hIcon = LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_MAIN));
    wc.hIconSm = (HICON)LoadImageW(g_hInstance, MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON,
                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                   LR_SHARED);
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN);
    wc.lpszClassName = className.c_str();
    return RegisterClassExW(&wc) != 0;
}

void ChooseFolders(const char* cmdline)
{
    // The start-up folder of a plain start: Item beside the program when
    // none was set. A folder on the command line is for that run only.
    char program[kPathCap];
    bool defaulted = false;
    if (!g_app->bootFolder[0] && ModuleFolder(program, sizeof program))
        defaulted = JoinPath(g_app->bootFolder, kPathCap, program, "Item");
    char argument[kPathCap];
    if (RootFromCommandLine(cmdline, argument, sizeof argument)) {
        CopyText(g_app->rootFolder, kPathCap, argument);
    } else {
        CopyText(g_app->rootFolder, kPathCap, g_app->bootFolder);
        // The folder is made on first use; failing to make it is not fatal.
        if (defaulted)
            CreateDirectoryW(Widen(g_app->rootFolder).c_str(), NULL);
    }
    CopyText(g_app->currentFolder, kPathCap, g_app->rootFolder);
}

void ChooseWindowPlacement(const RECT* saved, BOOL secondInstance, int* x, int* y, int* width,
                           int* height)
{
    *x = *y = *width = *height = CW_USEDEFAULT;
    if (!saved || saved->left < 0 || saved->top < 0)
        return;
    *width = saved->right - saved->left;
    *height = saved->bottom - saved->top;
    if (!secondInstance) {
        *x = saved->left;
        *y = saved->top;
    }
}

BOOL CreateMainWindow(const char* cmdline, int showCmd)
{
    RECT saved;
    BOOL haveRect = LoadSettings(cmdline, &saved);
    int x, y, width, height;
    ChooseWindowPlacement(haveRect ? &saved : NULL, g_secondInstance, &x, &y, &width, &height);
    HWND hwnd = CreateWindowExW(0, Widen(MAIN_CLASS_NAME).c_str(), Widen(PRODUCT_NAME).c_str(),
                                WS_OVERLAPPEDWINDOW, x, y, width, height, NULL, NULL, g_hInstance,
                                NULL);
    if (!hwnd)
        return FALSE;
    ShowWindow(hwnd, showCmd);
    UpdateWindow(hwnd);
    // Read once the window is on screen: a long first load paints its
    // progress and rows there instead of keeping the window away.
    if (IsWindow(hwnd))
        LoadFolder();
    if (IsWindow(hwnd))
        ApplyHotKey(hwnd);
    if (IsWindow(hwnd))
        StartHistory(hwnd);
    return TRUE;
}

LRESULT OnMainCreate(HWND hwnd)
{
    g_hMainWnd = hwnd;
    if (!CreateChrome(hwnd))
        return -1;
    g_app->dropTarget = RegisterDropTarget(hwnd, WM_DROPTEXT);
    return 0;
}

void OnMainDestroy(HWND hwnd)
{
    TeardownMainWindow(hwnd);
    if (g_app) {
        RevokeDropTarget(hwnd, g_app->dropTarget);
        g_app->dropTarget = nullptr;
    }
    PostQuitMessage(0);
}

static void DestroyChild(HWND* window)
{
    if (*window)
        DestroyWindow(*window);
    *window = NULL;
}

static void DestroyIconField(HICON* icon)
{
    if (*icon)
        DestroyIcon(*icon);
    *icon = NULL;
}

void TeardownMainWindow(HWND hwnd)
{
    if (!g_app)
        return;
    StopFolderWatch();
    StopHistory(hwnd);
    SaveSettings(hwnd);
    SaveChangedOrder();
    ClearItemRows();
    DestroyIconField(&g_app->textIcon);
    DestroyIconField(&g_app->urlIcon);
    if (g_app->imageList)
        ImageList_Destroy(g_app->imageList);
    g_app->imageList = NULL;
    DestroyChild(&g_app->listView);
    DestroyChild(&g_app->statusBar);
    DestroyChild(&g_app->toolbar);
    for (HIMAGELIST* list : {&g_app->toolbarImages, &g_app->toolbarGreyImages}) {
        if (*list)
            ImageList_Destroy(*list);
        *list = NULL;
    }
}

void StopThread(HANDLE thread)
{
    if (!thread)
        return;
    DWORD code;
    if (GetExitCodeThread(thread, &code) && code == STILL_ACTIVE)
        TerminateThread(thread, STILL_ACTIVE);
    CloseHandle(thread);
}

// An edit box of the main window (the rename box) keeps its own keys:
// Ctrl+V there pastes into the name, it does not make a new item.
static BOOL IsMainWindowEdit(HWND window)
{
    WCHAR name[16] = L"";
    return window && g_hMainWnd && IsChild(g_hMainWnd, window) &&
           GetClassNameW(window, name, 16) && lstrcmpiW(name, L"Edit") == 0;
}

void ProcessMessage(HACCEL accelerators, MSG* msg)
{
    if (!IsMainWindowEdit(msg->hwnd) && TranslateAcceleratorW(g_hMainWnd, accelerators, msg))
        return;
    TranslateMessage(msg);
    DispatchMessageW(msg);
}
