// The one boundary between the program's text (UTF-8) and Windows' (UTF-16
// for its wide functions, code page 932 for the bytes the library stores).
// Every conversion is bounded: a text that does not fit is refused whole,
// never cut, so a path or a name is never turned into another one.
#ifndef ZORIVEN_WIDE_H
#define ZORIVEN_WIDE_H

#include <cstddef>
#include <string>

#include "winver.h"

// The code page of the library's stored bytes, named so that a library
// reads the same on a Windows set to any language.
enum { kStoredCodePage = 932 };

// UTF-8 to UTF-16 in out[0..cap) with its terminator; false (out empty)
// when the text is not well-formed UTF-8 or does not fit.
bool ToWide(const char* utf8, wchar_t* out, size_t cap);
// The same into a string; empty for text that is not well formed.
std::wstring Widen(const char* utf8);

// UTF-16 (length units, or to its terminator with -1) to UTF-8 in
// out[0..cap); false (out empty) when it does not fit. A lone surrogate
// becomes U+FFFD: Windows lets a name hold one, UTF-8 cannot.
bool FromWide(const wchar_t* wide, int length, char* out, size_t cap);
std::string Narrow(const wchar_t* wide, int length = -1);

// Bytes of code page 932 as UTF-8; false when they are not code page 932
// text (a byte that maps to no character), out untouched.
bool Cp932ToUtf8(const char* bytes, size_t length, std::string* out);
// UTF-8 text as code page 932 when every character converts exactly both
// ways (no best fit, no default character); false otherwise.
bool Utf8ToCp932(const char* utf8, size_t length, std::string* out);

#endif
