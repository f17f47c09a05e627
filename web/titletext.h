// Web page titles and URL names as bytes: the URL test, the title element
// of a page's first 4 KB, EUC-JP conversion, the title as UTF-8 program
// text with its entities decoded, cleaning a title into a name, and the
// fallback names (a URL's host, the leading run of name characters). Pure
// byte logic: no windows.h, so it also builds natively (sanitizers,
// fuzzing). The code page 932 table is the system's: its conversion is
// passed in as a function.
#ifndef ZORIVEN_TITLETEXT_H
#define ZORIVEN_TITLETEXT_H

#include <cstddef>

// The page text holds at most kPageCap - 1 bytes; the upper-case work copy
// is kWorkCap bytes. EUC-JP pages are converted in place (the text never
// grows).
enum { kPageCap = 4096, kWorkCap = 4352 };

// The text begins with "HTTP://", "HTTPS://", "FTP://" or "FILE://", in
// any letter case. False for null or empty text.
bool IsUrl(const char* text);

// What a page says its text is. Unknown: nothing declared.
enum PageCharset {
    kCharsetUnknown = 0,
    kCharsetShiftJis = 1,
    kCharsetEucJp = 2,
    kCharsetUtf8 = 3,
    kCharsetOther = 4
};

// The charset parameter of a Content-Type header value
// ("text/html; charset=UTF-8", quoted or not, any letter case); unknown
// for null, empty or a value without one. "UTF8", "x-euc-jp", "x-sjis",
// "Shift-JIS", "Windows-31J", "cp932" are recognised as their charsets.
int CharsetOfContentType(const char* contentType);

// What ExtractTitle found.
enum TitleKind {
    kNoTitle = -1,         // no usable title element
    kTitleAsIs = 0,        // the title's bytes as the page has them
    kTitleFromEucJp = 1,   // the page was EUC-JP and was converted in place
    kTitleUtf8 = 2         // the title is UTF-8 bytes
};

// Finds the <title> element in page (a terminated text in a buffer of
// kPageCap bytes) and copies its text as the page has it, at most size - 1
// bytes and never ending inside a character (a UTF-8 one for a UTF-8 page,
// else a Shift_JIS one), into out.
// headerCharset is what the Content-Type header declared; a charset there
// decides. Without one, the page is UTF-8 when its first charset
// declaration says so ("charset=utf-8", with or without quotes), else
// EUC-JP when "EUC-JP" occurs anywhere in the page in any letter case. An
// EUC-JP page is converted to Shift_JIS in place before the title is
// taken. Tags match in any letter case; "<title lang=ja>" ends at its first
// ">". A closing tag before the opening one, or none, or an empty title
// gives kNoTitle (out empty). out is always terminated when size > 0.
int ExtractTitle(char* page, char* out, size_t size, int headerCharset);

// EUC-JP bytes to Shift_JIS: two-byte characters to their Shift_JIS code,
// 0x8E+b to b, three-byte 0x8F characters to "?", other bytes unchanged.
// A two-byte character outside JIS X 0208 (a byte of it not in A1-FE)
// ends the text (as two zero bytes would). A sequence cut short by the
// terminator ends at the terminator. The output never grows, so src and
// out may be the same buffer; out holds cap bytes and is always terminated
// (cap > 0), cut at a character boundary when it does not fit.
void EucJpToShiftJis(const char* src, char* out, size_t cap);

// Every byte of 0x80 and above belongs to a complete EUC-JP character:
// A1-FE A1-FE, 8E A1-DF, or 8F A1-FE A1-FE.
bool IsWellFormedEucJp(const char* text);

// A title containing "Yahoo!" that is well-formed EUC-JP is converted to
// Shift_JIS in place. title holds cap bytes. Callers apply it only to a
// title that ExtractTitle returned as kTitleAsIs.
void FixYahooTitle(char* title, size_t cap);

// One code page 932 character (length 1 or 2 bytes) as UTF-8 in out (4
// bytes of room): its length, or 0 when the bytes are no character.
typedef size_t (*SjisCharToUtf8Fn)(const char* bytes, size_t length, char* out);

// Shift_JIS text as UTF-8 in out[0..cap), character by character through
// toUtf8: a character it cannot convert (a lone lead byte, an unassigned
// code) is dropped, and the text is cut before the first character that
// does not fit. out is always terminated (cap > 0).
void SjisToUtf8(const char* text, char* out, size_t cap, SjisCharToUtf8Fn toUtf8);

// The title of page (see ExtractTitle) as program text in out: a Shift_JIS
// or EUC-JP title (Yahoo!'s undeclared EUC-JP included) converted through
// toUtf8, a UTF-8 one taken as it is, then its entities decoded; at most
// size - 1 bytes, cut on a character. The kind ExtractTitle found, or
// kNoTitle (out empty). Not cleaned: malformed UTF-8 is left for
// CleanTitle.
int TitleAsProgramText(char* page, char* out, size_t size, int headerCharset,
                       SjisCharToUtf8Fn toUtf8);

// Replaces, in place, the named entities &amp; &lt; &gt; &quot; &apos;
// &nbsp; (a space) and a few common others, and numeric references &#N;
// and &#xH; by their characters in UTF-8. Text that is not a complete
// entity (names are case-sensitive; a missing ";", or a number of 0, a
// surrogate or above 0x10FFFF) stays as it is. The text never grows.
void DecodeEntities(char* text);

// Keeps only name characters and well-formed UTF-8 characters past ASCII:
// line breaks, tabs and other controls (C1 ones too), \ / : * ? " < > |,
// "~" and bytes of no well-formed character go.
void CleanTitle(char* text);

// The text after "://" up to the next "/" (or the end), unchanged, at most
// size - 2 bytes (cut on a UTF-8 character). False, with out empty when
// size > 0, for a text without "://", null arguments, an empty host or a
// size that leaves no room for its first character.
bool UrlHostPart(const char* url, char* out, size_t size);

// The longest leading run of the characters CleanTitle keeps, at most
// size - 1 bytes, never ending inside a character. Returns out, or null
// (out empty when it exists) when the text is null or empty, size is 0,
// or the run is empty or its first character does not fit.
char* LeadingNameRun(const char* text, char* out, size_t size);

#endif
