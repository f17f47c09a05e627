// The clipboard history as the program keeps it: every text another
// program copies, recorded from the clipboard's change notes, kept in a
// file under the local application data (written by a thread of its own,
// at most once a second) unless the user keeps it in memory only.
#ifndef ZORIVEN_HISTORY_CLIP_H
#define ZORIVEN_HISTORY_CLIP_H

#include <string>

#include "../app/winver.h"
#include "historyfile.h"
#include "widetext.h"

#define HISTORY_FILE_NAME "History.zvh"
#define HISTORY_SET_ASIDE_NAME "History.zvh.damaged"
#define DEFAULT_HISTORY_EXCLUDE "KeePass.exe;KeePassXC.exe;1Password.exe;Bitwarden.exe;"

// Entries the hot-key menu shows in its submenu, and at its top when the
// option asks for that.
enum { kHistoryMenuRows = 20, kHistoryTopRows = 5 };

// Reads the kept history (a damaged file is set aside) and starts
// listening to the clipboard; StopHistory writes what is left and waits
// for the writer.
void StartHistory(HWND mainWindow);
void StopHistory(HWND mainWindow);

// WM_CLIPBOARDUPDATE, or WM_DRAWCLIPBOARD on a system without the listener.
void OnClipboardUpdate(HWND mainWindow);
// WM_CHANGECBCHAIN of the viewer chain; WM_TIMER of the write.
void OnClipboardChain(HWND removed, HWND next);
void OnHistorySaveTimer(HWND mainWindow);
// The options changed: the size, and whether the file is kept.
void ApplyHistoryOptions();
// 「履歴を消去」: after a question, the list and its file go.
void ClearHistory(HWND owner);

HistoryList* History();   // null before StartHistory
// The list changed: the view, the file.
void NoteHistoryChanged();
bool HistoryFilePath(char* out, size_t cap);

// A heap copy (free()) of the entry as program text (both are UTF-8);
// null for no memory.
char* HistoryProgramText(const std::string& utf8);

// Whether a program of this image (its file name) is one whose copies are
// never recorded: the exclusion list ("a.exe;b.exe;"), without regard to case.
bool IsExcludedImage(const char* list, const wchar_t* imagePath);

#endif
