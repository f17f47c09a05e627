// The clipboard history shown in the main list instead of a folder: its
// rows, the commands that work on them, the way back to the folder.
#ifndef ZORIVEN_HISTORYVIEW_H
#define ZORIVEN_HISTORYVIEW_H

#include <cstddef>
#include <string>

#include "winver.h"

// 表示 → 「履歴」: the list shows the history, newest first.
void ShowHistoryView();
// Backspace, a folder chosen: the folder shown before comes back.
void LeaveHistoryView();
// The history changed: the rows follow, the selected row stays chosen.
void RefreshHistoryView();
// A command while the view is shown: true when it was the view's (done,
// or ignored as one that works on folder rows only).
bool HistoryViewCommand(HWND hwnd, int id);
// The filter box's folded text (empty: every entry).
void FilterHistoryView(const std::string& folded);

int HistoryRowCount();
int HistorySelectedRow();
// The entry behind a row: its index in the history, or -1.
int HistoryIndexOfRow(int row);
// A row's text on one line, line breaks marked, for the list.
void HistoryRowLabel(int row, wchar_t* out, size_t cap);
// The row became selected: its first line and size in the status bar.
void ShowHistoryEntryInfo(int row);
// Enter or a double-click: the entry goes to the clipboard, staying where
// it is in the history.
void CopyHistoryRow();
// "12 項目" or "3 / 12 項目" for the status bar.
void ShowHistoryCount();
// An entry as it shows on one line, as program text: CR left out, LF as
// the break mark, at most cap bytes.
void HistoryLineText(const std::string& utf8, char* out, size_t cap);

#endif
