// URLs as bytes: the non-ASCII characters of a URL written as %XX escapes
// of their UTF-8 bytes, as browsers and Internet Shortcuts take them. Pure
// byte logic: no windows.h, so it also builds natively (sanitizers,
// fuzzing). Which characters may stay is the caller's to say.
#ifndef ZORIVEN_URLTEXT_H
#define ZORIVEN_URLTEXT_H

#include <cstddef>

// The non-ASCII character bytes[0..length) (well-formed UTF-8) may stay as
// it is.
typedef bool (*KeepUrlCharFn)(const char* bytes, size_t length);

// url (program text) into out[0..cap) with each byte of a non-ASCII
// character written as "%" and two upper-case hex digits, except the
// characters keep lets stay (without keep, none does); a byte of no
// well-formed character is escaped too. ASCII is kept as it is, "%"
// included, so an escaped URL stays the same URL. False, out empty, when
// the result does not fit or there is no url.
bool PercentEncodeUrl(const char* url, char* out, size_t cap, KeepUrlCharFn keep = nullptr);

#endif
