// Test support: the real main window in-process, readers for its rows,
// bars and menus, and an answerer for message boxes and modal dialogs.
#ifndef ZORIVEN_GUITEST_H
#define ZORIVEN_GUITEST_H

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/state.h"
#include "app/wide.h"   // Widen and Narrow, for the tests' own wide calls
#include "store/records.h"

namespace gt {

// UTF-8 source text as code page 932 bytes: what the library stores in
// its files, and what the system gives an ANSI reader (CF_TEXT, a string
// resource or another program's window read by the A functions).
std::string Sjis(const char* utf8);
// UTF-8 source text in the program's own form, for what its functions,
// records and windows take and give.
std::string Text(const char* utf8);

// A message box or dialog that appeared while an answerer was installed.
struct SeenBox {
    std::string caption;
    std::string text;            // a message box's message (static 0xFFFF)
    std::vector<int> buttons;    // IDOK, IDCANCEL, IDYES, IDNO present
    UINT icon = 0;               // MB_ICONERROR, MB_ICONQUESTION, ... or 0
    int defaultButton = 0;       // the button Enter presses
    bool ownerless = false;
    bool mainDisabled = false;   // the main window was disabled (task modal)
    HWND owner = NULL;
};

using BoxDriver = std::function<void(HWND box)>;

// Answers the boxes of this thread in turn. A box without a queued answer
// is cancelled (or closed with its only button) and counted as unexpected.
class BoxAnswerer {
public:
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    void Press(int button);           // next box: click this button
    void Drive(BoxDriver driver);     // next box: run driver (it must close it)
    const std::vector<SeenBox>& seen() const { return seen_; }
    int unexpected() const { return unexpected_; }
    void Clear();

    // Internal: called by the hook and timer.
    void OnActivate(HWND box);
    void OnTimer();

private:
    struct Answer {
        int button;
        BoxDriver driver;
    };
    HHOOK hook_;
    std::vector<Answer> answers_;
    std::vector<HWND> pending_;
    std::vector<Answer> pendingAnswers_;
    std::vector<SeenBox> seen_;
    std::vector<HWND> handled_;
    int unexpected_ = 0;
};

// Watches the main window while it lives: the commands it receives, and
// the menu it greys at each WM_INITMENU. A menu waiting for the user is
// closed at once, so TrackPopupMenu and menu loops return.
class MenuSpy {
public:
    MenuSpy();
    ~MenuSpy();
    MenuSpy(const MenuSpy&) = delete;
    MenuSpy& operator=(const MenuSpy&) = delete;
    // The state of command in the last menu opened; (UINT)-1 when absent.
    UINT State(int command) const;

    std::vector<int> commands;
    HMENU menu = NULL;
    std::vector<std::pair<int, UINT>> states;
    RECT menuRect = {0, 0, 0, 0};   // the last menu on screen, of any window
    int shown = 0;                  // menus closed so far

    void OnMessage(const CWPRETSTRUCT& m);   // internal: from the hook
private:
    HHOOK hook_;
};

// Clicks a dialog button the way a user would (posted BN_CLICKED).
void ClickButton(HWND dialog, int id);

// A dialog's controls as the tests read and use them, as program text
// (through the wide functions, as the program reads them).
std::string WindowText(HWND hwnd);                     // up to 4,095 units
std::string ItemText(HWND dialog, int id);
void SetText(HWND hwnd, const std::string& text);
void SetItem(HWND dialog, int id, const std::string& text);
bool Enabled(HWND dialog, int id);
bool Checked(HWND dialog, int id);
// The control's notification, sent at once (BN_CLICKED: a press).
void Send(HWND dialog, int id, int code = BN_CLICKED);
void Toggle(HWND dialog, int id);                      // a click on a check box

// Runs the program's message loop step until the queue stays empty for
// the given quiet time (ms), at most for maxMs.
void Pump(DWORD quietMs = 30, DWORD maxMs = 5000);
bool QuitPosted();

// Real key presses (SendInput) to the window in front: vk with the keys
// held (VK_CONTROL, VK_SHIFT) down around it. Not pumped.
void Press(WORD vk, std::vector<WORD> held = {});

// Drag and drop (dragdrop.cpp): an in-process DoDragDrop of OLE's data
// object for text put on the clipboard as CF_TEXT (null: nothing offered),
// letting go at once at the screen point with the keys (MK_CONTROL,
// MK_SHIFT) held, then pumped; the effect the target reported.
DWORD DragText(const char* text, POINT screen, DWORD allowed, DWORD keys = 0);
// The same with what is on the clipboard now, in the formats it was put.
DWORD DragClipboard(POINT screen, DWORD allowed, DWORD keys = 0);

// Wine's own notepad, a real Unicode program, as a source of copied text
// (its WM_COPY puts CF_UNICODETEXT first); ended with the object.
class Notepad {
public:
    Notepad();
    ~Notepad();
    Notepad(const Notepad&) = delete;
    Notepad& operator=(const Notepad&) = delete;
    bool Copy(const wchar_t* text);   // false when notepad did not start
    std::wstring Paste();             // notepad's text after it pasted the clipboard
private:
    PROCESS_INFORMATION process_ = {};
    HWND edit_ = NULL;
};

// Readers (program text).
std::vector<std::string> RowNames();
std::string StatusPart(int part);
DWORD ButtonState(int command);
UINT MenuState(int command);   // of the main window's menu bar
RECT ChildRect(HWND child);    // in the main window's client coordinates
RECT ChildRectIn(HWND dialog, int id);   // in the dialog's client coordinates

// The clipboard's CF_UNICODETEXT as another program reads it ("<none>",
// "<locked>" when it cannot).
std::wstring ClipboardWide();

// The system's message for an error code, as the error box shows it.
std::string SystemText(DWORD code);

// Files and folders. Paths are program text, used through the wide file
// functions, so a name from gt::Text is the same file in either form.
std::string MakeTempFolder();
bool RemoveTree(const std::string& path);
bool PathIsFolder(const std::string& path);
// A file's bytes ("<missing>" when it cannot be opened); writing replaces them.
std::string ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);
// The folder's entries in enumeration order, "." and ".." left out.
std::vector<std::string> FolderNames(const std::string& folder);
std::string ProgramFolder();

// A fresh registry key and library folder for every test; the main window
// is created from the program's own code and resources.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND Start(const std::string& cmdline);
    void Close();
    void Command(int id);   // as if chosen from the menu, then pumped
    void Select(int row);   // SelectRow, then pumped
    void SelectNone();
    // An item file or a group folder in the library folder.
    void Item(const std::string& name, const std::string& bytes = "k=v\r\n");
    void Group(const std::string& name);
    void Order(const std::string& bytes) { Item("ZORIVEN.ORD", bytes); }
    // count items "note<first>.txt", "note<first+1>.txt", ... in that order.
    void Notes(int count, int first);
    std::string In(const std::string& name) { return folder_ + "\\" + name; }

    std::string folder_;
    BoxAnswerer boxes_;
};

}  // namespace gt

#endif
