// The main window's drop target through real in-process drags: the effect
// for each key and source, the row under the point, the About box, leaks.
#include "clip/droptarget.h"
#include "guitest.h"
#include "res/resource.h"

namespace {

const DWORD kMove = DROPEFFECT_MOVE, kCopy = DROPEFFECT_COPY, kNone = DROPEFFECT_NONE;

// On screen: the middle of row's label, or for -1 the part below the rows.
POINT At(int row)
{
    RECT rc = {LVIR_LABEL, 0, 0, 0};
    SendMessageA(g_app->listView, LVM_GETITEMRECT, row < 0 ? RowCount() - 1 : row, (LPARAM)&rc);
    POINT p = {(rc.left + rc.right) / 2, row < 0 ? 2 * rc.bottom : (rc.top + rc.bottom) / 2};
    ClientToScreen(g_app->listView, &p);
    return p;
}

using DropTest = gt::MainWindowTest;

TEST_F(DropTest, EffectForEachKeyAndSourceAndTheRowUnderThePoint)
{
    Item("a.txt");
    ASSERT_TRUE(Start(folder_));
    g_app->options[InsertAfterDrop] = 1;
    struct Row { const char* text; DWORD keys, allowed, effect; } table[] = {   // text null: none
        {"plain", 0, kMove | kCopy, kMove}, {"copy", 0, kCopy, kCopy}, {nullptr, 0, kMove, kNone},
        {"ctrl", MK_CONTROL, kMove | kCopy, kCopy}, {"x", MK_CONTROL, kMove, kNone},
        {"x", MK_SHIFT, kCopy, kNone}, {"x", 0, DROPEFFECT_LINK, kNone},
        {"x", MK_CONTROL | MK_SHIFT, kMove | kCopy | DROPEFFECT_LINK, kNone},
        // A blank line before the text takes nothing from it.
        {"\r\n \r\nline", 0, kMove, kMove}, {"shift", MK_SHIFT, kMove | kCopy, kMove},
    };
    for (const Row& r : table)
        EXPECT_EQ(r.effect, gt::DragText(r.text, At(-1), r.allowed, r.keys)) << "row " << &r - table;
    // The new row, at the end, is selected and being renamed.
    EXPECT_EQ(5, SendMessageA(g_app->listView, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED));
    EXPECT_TRUE(SendMessageA(g_app->listView, LVM_GETEDITCONTROL, 0, 0));

    EXPECT_EQ(kMove, gt::DragText("on a", At(0), kMove));
    // Left of the primary monitor, where this display has no cursor.
    MoveWindow(g_hMainWnd, -400, 40, 600, 400, TRUE);
    gt::Pump();
    POINT p = At(0);
    ASSERT_LT(p.x, 0);
    EXPECT_TRUE(SendMessageA(g_hMainWnd, WM_DROPTEXT, MAKEWPARAM(p.x, p.y), (LPARAM)"again"));
    EXPECT_EQ(std::vector<std::string>({"a", "again", "on a", "plain", "copy", "ctrl", "line", "shift"}),
              gt::RowNames());
}

TEST_F(DropTest, NoTargetWhileTheAboutBoxIsOpenAndNoneLeftAtTheEnd)
{
    ASSERT_TRUE(Start(folder_));
    int during = -1;   // live targets and registrations while the box is open
    boxes_.Drive([&](HWND box) {
        during = LiveDropTargets() + (GetPropA(g_hMainWnd, "OleDropTargetInterface") != NULL);
        gt::ClickButton(box, IDOK);
    });
    Command(CMD_ABOUT);
    for (int i = 1; i < 100; ++i) {
        boxes_.Press(IDOK);
        Command(CMD_ABOUT);
    }
    EXPECT_EQ(0, during);
    EXPECT_EQ(1, LiveDropTargets());
    EXPECT_EQ(kMove, gt::DragText("after", At(-1), kMove));
    Close();
    EXPECT_EQ(0, LiveDropTargets());
}

}  // namespace
