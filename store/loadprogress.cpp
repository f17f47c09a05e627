#include "loadprogress.h"

#include "../app/state.h"
#include "../app/ui.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "records.h"
#include "textbuf.h"

DWORD g_loadQuietMs = 200;

namespace {

// The queue is looked at often, so that Esc or a command stops the load
// at once; painting costs more under some systems than reading hundreds of
// files, so the rows and the progress are shown less often.
const DWORD kLookEveryMs = 100;
const DWORD kPaintEveryMs = 500;

struct LoadRun {
    int total;
    DWORD started;
    DWORD looked;
    DWORD painted;
};
LoadRun s_run;

void ShowProgress(int id, int done)
{
    char text[96];
    if (g_app->statusBar && FormatCounts(text, sizeof text, id, nullptr, done, s_run.total))
        SendMessageW(g_app->statusBar, SB_SETTEXTW, 0, (LPARAM)Widen(text).c_str());
}

}  // namespace

void BeginLoadProgress(int total)
{
    s_run.total = total;
    s_run.started = s_run.looked = s_run.painted = GetTickCount();
    g_app->loading = TRUE;
    g_app->stopLoad = FALSE;
    g_app->loadIncomplete = TRUE;
}

bool ContinueLoad(int done)
{
    DWORD now = GetTickCount();
    bool first = s_run.looked == s_run.started;
    // Hidden (the first load at start-up) there is nothing to paint.
    if (g_app->stopLoad || now - s_run.started < g_loadQuietMs ||
        (now - s_run.looked < kLookEveryMs && !first) || !IsWindowVisible(g_hMainWnd))
        return !g_app->stopLoad;
    s_run.looked = now;
    bool paint = first || now - s_run.painted >= kPaintEveryMs;
    if (!paint && !HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE)))
        return true;
    if (paint) {
        s_run.painted = now;
        ShowProgress(IDS_LOADING, done);
        ShowItemCount();
        SendMessageW(g_app->listView, WM_SETREDRAW, TRUE, 0);
        // Rows come at the end: once the first page is full it stays as it is.
        if (done <= (int)SendMessageW(g_app->listView, LVM_GETCOUNTPERPAGE, 0, 0) + 1)
            InvalidateRect(g_app->listView, NULL, FALSE);
    }
    // Esc stops the load; anything else the window must answer now
    // (painting, sizing, the list asking for rows) is answered.
    ServeUntilStopped(NULL, &g_app->stopLoad);
    if (paint && g_app->listView)
        SendMessageW(g_app->listView, WM_SETREDRAW, FALSE, 0);
    return !g_app->stopLoad;
}

void EndLoadProgress(int done, bool stopped)
{
    g_app->loading = FALSE;
    g_app->stopLoad = FALSE;
    g_app->loadIncomplete = stopped;
    if (stopped)
        ShowProgress(IDS_LOAD_STOPPED, done);
}

bool DeferUntilLoaded(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!g_app || !g_app->loading)
        return false;
    g_app->stopLoad = TRUE;
    PostMessageW(window, message, wParam, lParam);
    return true;
}
