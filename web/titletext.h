// Web page titles and URL names as bytes: the URL test, the title element
// of a page's first 4 KB, EUC-JP conversion, entity decoding, cleaning a
// title into a name, and the fallback names (a URL's host, the leading run
// of name characters). Pure byte logic: no windows.h, so it also builds
// natively (sanitizers, fuzzing). Conversions that need the system's code
// page tables are passed in as functions.
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
    kTitleUtf8 = 2         // the title is UTF-8 bytes (the caller converts)
};

// Finds the <title> element in page (a terminated text in a buffer of
// kPageCap bytes) and copies its text, at most size - 1 bytes and never
// ending inside a character (a UTF-8 one for a UTF-8 page), into out.
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

// Converts one Unicode code point to code page bytes; returns their count
// (at most 4) or 0 when the code page cannot hold the character.
typedef size_t (*CodePointToAnsiFn)(unsigned long codePoint, char* out);

// Replaces, in place, the named entities &amp; &lt; &gt; &quot; &apos;
// &nbsp; (a space) and a few common others, and numeric references &#N;
// and &#xH; by their characters through toAnsi. An entity the code page
// cannot hold is dropped; text that is not a complete entity (names are
// case-sensitive; a missing ";", or a number of 0, a surrogate or above
// 0x10FFFF) stays as it is. The text never grows; nothing changes without
// toAnsi. Double-byte characters are stepped over whole, so a trail byte
// is never taken for "&".
void DecodeEntities(char* text, CodePointToAnsiFn toAnsi);

// Keeps only double-byte characters and name characters: line breaks,
// tabs, \ / : * ? " < > |, "~" and single bytes of 0x80 and above go.
void CleanTitle(char* text);

// The text after "://" up to the next "/" (or the end), unchanged, at most
// size - 2 bytes (cut at a character boundary). False, with out empty when
// size > 0, for a text without "://", null arguments, an empty host or a
// size that leaves no room for its first character.
bool UrlHostPart(const char* url, char* out, size_t size);

// The longest leading run of double-byte characters and name characters
// of text, at most size - 1 bytes, never ending inside a double-byte
// character. Returns out, or null (out empty when it exists) when the
// text is null or empty, size is 0, or the run is empty or its first
// character does not fit.
char* LeadingNameRun(const char* text, char* out, size_t size);

#endif
