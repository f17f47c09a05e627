// The one boundary between the program's text and Windows' text: UTF-16
// for its wide functions, code page 932 for the bytes the library stores.
// Every conversion is bounded: a text that does not fit is refused whole
// (or, where a caller asks for it, cut on a character), never cut inside
// one, so a path or a name is never turned into another one.
//
// The program's own text is UTF-8 (see store/chars.h).
#ifndef ZORIVEN_WIDE_H
#define ZORIVEN_WIDE_H

#include <cstddef>
#include <string>

#include "winver.h"

// The code page of the library's stored bytes, named so that a library
// reads the same on a Windows set to any language.
enum { kStoredCodePage = 932 };

// Program text to UTF-16 in out[0..cap) with its terminator; false (out
// empty) when it does not fit or is no text of the program's form.
bool ToWide(const char* text, wchar_t* out, size_t cap);
// The same into a string (empty for no text); for the text of a call.
std::wstring Widen(const char* text);

// UTF-16 (length units, or to its terminator with -1) as program text in
// out[0..cap); false (out empty) when it does not fit.
bool FromWide(const wchar_t* wide, int length, char* out, size_t cap);
// The same, keeping the whole characters that fit (for text that is only
// shown); the bytes written.
size_t FromWideCut(const wchar_t* wide, int length, char* out, size_t cap);
std::string Narrow(const wchar_t* wide, int length = -1);

// The texts of windows and resources most calls carry, through the wide
// functions. Readers refuse (out empty, false) a text that does not fit,
// so a name is never taken cut; LoadText cuts on a character, as a
// resource string is only shown.
int LoadText(UINT id, char* out, size_t cap);
std::string LoadTextString(UINT id);
bool GetTextOf(HWND window, char* out, size_t cap);
std::string TextOf(HWND window);
BOOL SetTextOf(HWND window, const char* text);
bool GetItemText(HWND dialog, int id, char* out, size_t cap);
BOOL SetItemText(HWND dialog, int id, const char* text);

// UTF-8 and UTF-16 by code point, whatever the system's conversions do.
// A lone surrogate, which a name on disk may hold, becomes U+FFFD.
std::wstring Utf8ToWide(const char* utf8, size_t length);
std::string WideToUtf8(const wchar_t* wide, size_t units);

// Bytes of code page 932 as UTF-8; false when they are not code page 932
// text (a byte that maps to no character), out untouched.
bool Cp932ToUtf8(const char* bytes, size_t length, std::string* out);
// UTF-8 text as code page 932 when every character converts exactly both
// ways (no best fit, no default character); false otherwise.
bool Utf8ToCp932(const char* utf8, size_t length, std::string* out);

// ---- The library's stored text ----

// Stored bytes of a form (0 code page 932, 1 UTF-8: a StoredForm) as
// program text. Bytes that are no text of the form are shown as the
// system reads them (or U+FFFD), so a rewrite must keep such bytes from
// the file itself.
std::string StoredToProgram(const char* bytes, size_t length, int form);
// Program text as stored in form; false when code page 932 cannot hold
// every character exactly.
bool ProgramToStored(const char* text, size_t length, int form, std::string* out);

// ---- Shown text ----

// Program text as UTF-16 in out[0..cap), keeping the whole characters that
// fit (for text that is only shown, as in a list's row); the units written.
size_t ToWideCut(const char* text, wchar_t* out, size_t cap);

#endif
