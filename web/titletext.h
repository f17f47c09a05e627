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
// and the EUC-JP conversion buffer are kWorkCap bytes.
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
// kPageCap bytes) and copies its text, at most size - 1 bytes, into out.
// headerCharset is what the Content-Type header declared. The page is
// UTF-8 when the header says so, or, without a charset in the header, when
// a meta declaration in the page says so ("charset=utf-8", with or without
// quotes); it is EUC-JP when the header says so or, otherwise, when "EUC-JP"
// occurs anywhere in the page in any letter case: it is then converted to
// Shift_JIS in place before the title is taken. Tags match in any letter
// case; "<title lang=ja>" ends at its first ">". A closing tag before the
// opening one, or none, gives kNoTitle (out empty). out is always
// terminated when size > 0.
int ExtractTitle(char* page, char* out, size_t size, int headerCharset);

// EUC-JP bytes to Shift_JIS: two-byte characters to their Shift_JIS code,
// 0x8E+b to b, three-byte 0x8F characters to "?", other bytes unchanged.
// A character outside JIS X 0208 rows ends the text (as two zero bytes
// would). A sequence cut short by the terminator ends at the terminator.
// The output never grows; out holds cap bytes and is always terminated
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
// cannot hold is dropped; text that is not a complete entity stays as it
// is. The text never grows. Double-byte characters are stepped over whole,
// so a trail byte is never taken for "&".
void DecodeEntities(char* text, CodePointToAnsiFn toAnsi);

// Keeps only double-byte characters and name characters: line breaks,
// tabs, \ / : * ? " < > |, "~" and single bytes of 0x80 and above go.
void CleanTitle(char* text);

// The text after "://" up to the next "/" (or the end), unchanged, at most
// size - 2 bytes (cut at a character boundary). False, with out empty when
// size > 0, for a text without "://", null arguments or size 0.
bool UrlHostPart(const char* url, char* out, size_t size);

// The longest leading run of double-byte characters and name characters
// of text, at most size - 1 bytes, never ending inside a double-byte
// character. Returns out, or null (out empty when it exists) when the
// text is null or empty, size is 0, or the run is empty.
char* LeadingNameRun(const char* text, char* out, size_t size);

#endif
