// Small user-interface services every part of the program calls.
#ifndef ZORIVEN_UI_H
#define ZORIVEN_UI_H

#include "winver.h"

// A reason of the program's own among the system's error codes, marked
// by the bit Windows leaves to applications; its text is string stringId.
// Every box that shows a code's text shows it.
inline DWORD OwnErrorCode(int stringId)
{
    return APPLICATION_ERROR_MASK | (DWORD)stringId;
}
inline bool IsOwnErrorCode(DWORD code)
{
    return (code & APPLICATION_ERROR_MASK) != 0;
}

int ShowErrorBox(int stringId, const char* text);
int ShowSystemError(DWORD code);
// The message of stringId, the path on a line of its own, then the system's
// text for code (none when code is 0).
int ShowPathError(int stringId, const char* path, DWORD code);
// A Yes/No question owned by owner under the caption "確認": string
// stringId with first and second put in for its "%s"s. IDYES or another answer.
// The message of stringId, then a line for each name with the text for its
// code (the system's, or the program's own). A list the box cannot hold
// ends with how many more failed.
int ShowNamesError(int stringId, int count, const char* const* names, const DWORD* codes);
int AskYesNo(HWND owner, int stringId, UINT icon, const char* first, const char* second);
int RefuseField(HWND dialog, int controlId);
// String stringId (or fallback, when given and there is no such string)
// with first and second grouped in thousands ("12,345") put in for its
// "%s"s; false when there is no text or it would not fit cap bytes.
bool FormatCounts(char* out, size_t cap, int stringId, const char* fallback, int first,
                  int second);
// Answers what waits in the queue, while *stop is not set, during a long
// piece of work: Esc sets it, and so does the program's end (its quit
// message is posted again for the main loop). With a dialog, its own keys
// work.
void ServeUntilStopped(HWND dialog, BOOL* stop);
void PlaceWindow(HWND hwnd, HWND reference, int dx, int dy);
BOOL AnimateShow(HWND hwnd, BOOL show);
// Ends a modal dialog with result, hidden with the same animation it came with.
void CloseDialog(HWND dialog, INT_PTR result);
void ShowHelp(int kind, DWORD topic);
BOOL BrowseForFolder(HWND owner, const char* initial, char* result, int captionId);
BOOL GetFavoritesFolder(HWND owner, char* result);
void ShowAbout(HWND owner);
void OpenHomePage(HWND owner);

// The help file beside the program; false when its path does not fit.
BOOL HelpFilePath(char* out, size_t cap);
// The help viewer, given the file's name as program text: hhctrl's
// HtmlHelpW, loaded at the first ShowHelp; tests put their own.
typedef HWND(WINAPI* HtmlHelpProc)(HWND, LPCSTR, UINT, DWORD_PTR);
extern HtmlHelpProc g_htmlHelp;

#endif
