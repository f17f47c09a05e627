// The application state record and the process-wide globals beside it.
#ifndef ZORIVEN_STATE_H
#define ZORIVEN_STATE_H

#include "winver.h"
#include "../options/optblock.h"
#include "../store/textbuf.h"
#include "hotkey.h"

struct ItemRecord;
struct HistoryStore;
struct FolderWatch;
class DropTarget;

struct AppState {
    HWND toolbar;
    HWND statusBar;
    HWND listView;
    HIMAGELIST imageList;
    HIMAGELIST toolbarImages;       // the buttons, and the same greyed for
    HIMAGELIST toolbarGreyImages;   // disabled ones
    HICON textIcon;
    HICON urlIcon;
    unsigned char options[kOptionCount];
    char excludedExt[kTextCap];
    char editorPath[kPathCap];
    char browserPath[kPathCap];
    int orderChanged;
    BOOL parkingReported;   // the left-over parking folder was reported
    char rootFolder[kPathCap];
    char currentFolder[kPathCap];
    char bootFolder[kPathCap];
    ItemRecord* chainHead;
    ItemRecord* chainTail;
    ItemRecord** rows;      // the list's rows in on-screen order; the list
    int rowCount;           // view holds no items of its own, it asks
    int rowCapacity;        // for what it paints
    ItemRecord** shown;     // while a filter is on, the rows it shows
    int shownCount;
    int shownCapacity;
    BOOL filtered;
    HWND searchBox;         // the filter box in the toolbar
    FolderWatch* folderWatch;   // the current folder's watch, or null
    BOOL dragOver;              // a drag is over the window
    BOOL loading;               // a folder load is under way
    BOOL stopLoad;              // the user asked it to stop
    BOOL loadIncomplete;        // the rows are only part of the folder
    int lastEntry;
    char lastCopied[kPathCap];
    DropTarget* dropTarget;
    HotKeySettings hotKey;
    HotMenu* hotMenu;   // while the hot-key menu is open
    HistoryStore* history;      // the clipboard history, while recording
    BOOL historyView;           // the list shows it instead of a folder
    int historySize;            // entries kept; 0 records nothing
    BOOL historyMemoryOnly;     // never written to the disk
    BOOL historyAtTop;          // the hot-key menu's top shows the latest
    char historyExclude[kListCap];   // "a.exe;b.exe;": programs never recorded
};

extern HINSTANCE g_hInstance;
extern HWND g_hMainWnd;
extern BOOL g_secondInstance;
extern AppState* g_app;

#define MAIN_CLASS_NAME "WC_ClipMain"
#define PRODUCT_NAME "ZORIVEN"
#define PRODUCT_VERSION "0.23"

BOOL CreateAppState();
void FreeAppState();
BOOL RegisterMainWindowClass();
BOOL CreateMainWindow(const char* cmdline, int showCmd);
void TeardownMainWindow(HWND hwnd);
void StopThread(HANDLE thread);

// One turn of the message loop for a message taken with the wide
// functions (GetMessageW, PeekMessageW): accelerators first, then the
// window.
void ProcessMessage(HACCEL accelerators, MSG* msg);

// Root, current and start-up folders from the command line and Boot.
void ChooseFolders(const char* cmdline);

// Saved rectangle (or null) to position and size; CW_USEDEFAULT where the
// system should decide.
void ChooseWindowPlacement(const RECT* saved, BOOL secondInstance, int* x, int* y, int* width,
                           int* height);

// WM_CREATE, WM_DESTROY of the main window.
LRESULT OnMainCreate(HWND hwnd);
void OnMainDestroy(HWND hwnd);

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void ExecuteCommand(HWND hwnd, int id);

#endif
