// The item file format as bytes: splitting a file into lines, reading an
// entry out of a line and writing entries back. Pure byte logic, so it
// also builds natively (sanitizers, fuzzing).
#ifndef ZORIVEN_ITEMTEXT_H
#define ZORIVEN_ITEMTEXT_H

#include <cstddef>
#include <string>

#include "textbuf.h"

// The longest key and value a line may hold to be read back. The writer
// refuses longer ones: an entry written but ignored when read would be
// lost at the next rewrite.
enum { kMaxReadKey = 1019, kMaxReadValue = 1020 };

// How a file stores its text: in code page 932, as the library always
// has, or, when it holds a character code page 932 lacks, in UTF-8 after
// the mark EF BB BF. The byte limits apply to the bytes as stored.
enum StoredForm { kFormCp932 = 0, kFormUtf8 = 1 };

// A key or value as program text (UTF-8) may take up to three bytes for
// each stored byte (a halfwidth katakana).
enum { kEntryTextCap = 3 * kMaxReadValue + 4 };

// The bytes the character at p (program text, one code page 932 holds
// when form is kFormCp932) takes as stored; 0 at the end.
unsigned StoredCharBytes(const char* p, int form);
// The bytes text takes as stored in form.
size_t StoredLength(const char* text, int form);

// Cuts text (on a character) so that it takes at most limit bytes as
// stored in form.
void CutToStored(char* text, size_t limit, int form);

// Escapes of the file form: "=" inside a key, LF inside a value.
enum { kKeyEqualsByte = 0x08, kValueNewlineByte = 0x0B };

// While the text is longer than 2 bytes and ends in CR, LF or space,
// removes that byte. Texts of 1 or 2 bytes are left as they are.
void TrimLineEnd(char* text);
void ReplaceChar(char* text, char from, char to);
void StripLineBreaks(char* text);
// Text for a one-line box: each line break (CR LF, lone CR, lone LF) one
// space, and none at the end.
void JoinLines(char* text);
// The value of a new entry made from a pasted or dropped text: its line
// breaks (CR LF, lone LF, lone CR) as LF, at most kMaxReadValue bytes as
// stored in form, never ending inside a character, trailing line ends
// trimmed, and spaces as TrimLineEnd trims them. value is a kEntryTextCap
// buffer. True when the cut lost more than line ends and spaces.
bool TextToValue(const char* text, char* value, int form = kFormUtf8);

// How much of text a preview shows: at most lines lines (the last line
// break left out) and at most bytes bytes, never ending inside a character.
size_t PreviewLength(const char* text, int lines, size_t bytes);

// text for one line of a list: each LF shown as the line-break mark "↓",
// cut to fit cap bytes (never inside a character).
void MarkLineBreaks(const char* text, char* out, size_t cap);

// Text up to its first CR or LF, at most size - 1 bytes (never ending
// inside a character). Nothing is written for an empty text or no buffer.
void CopyFirstLine(const char* text, char* buffer, size_t size);

enum { kNotEntry = 0, kBracketLine = 1, kEntryLine = 2 };
// A stored line of the file's form; key and value are kTextCap buffers
// and receive stored bytes.
int ParseItemLine(const char* line, char* key, char* value, int form = kFormCp932);

// Whether the extension of name (after its last dot) is one of the
// ";"-separated pieces of list, compared without regard to case.
bool ExtensionInList(const char* name, const char* list);

// Lines of a byte source the way the file is read: pieces of at most
// kLineCap - 1 bytes, each ending after its LF; a CR directly before an LF
// is dropped, a lone CR kept.
typedef long (*ReadBytesFn)(void* source, char* buffer, long capacity);  // <0 error, 0 end
struct LineReader {
    ReadBytesFn read;
    void* source;
    char buffer[4096];
    long pos, len;
    bool ended, failed;
    bool sawNul;   // a NUL byte was read: the source is no text file
};
void InitLineReader(LineReader* reader, ReadBytesFn read, void* source);
// False at the end of the source (or when it failed: see reader->failed).
bool ReadTextLine(LineReader* reader, char* line, size_t cap);

// Why lines that hold text gave no entry of their own, the weightier
// reason kept: a file of no entries that passed over any text is not
// shown, and the user must hear why, since the text is still on disk.
// A file in UTF-16 is no form the library reads (kPassedUtf16).
enum { kPassedNothing = 0, kPassedNoEntry = 1, kPassedTooLong = 2, kPassedUtf16 = 3 };

// The reader's state between lines: a bracket line names the key of the
// next entry line.
struct ItemParse {
    char pendingKey[kTextCap];
    char key[kTextCap];
    char value[kTextCap];
    // Comments and blank lines hold nothing to lose; a line without "=" or
    // a bracket line does (kPassedNoEntry), and so does a key, value or
    // line longer than a line may hold (kPassedTooLong).
    int passed;
    int form;   // the file's StoredForm
};
void InitItemParse(ItemParse* parse, int form = kFormCp932);
// Interprets one line (trimmed in place); true when key and value now hold
// the next entry, unescaped. A line as long as the reader's pieces
// (kLineCap - 1 bytes) without its line end is part of a longer line.
bool TakeItemLine(ItemParse* parse, char* line);

// Appends one entry in file form (escaped, CR LF). False, and nothing
// appended, when the key or value could not be read back (kMaxReadKey,
// kMaxReadValue). In an Internet Shortcut (shortcut true) the entry keyed
// "InternetShortcut" (any case) goes out as that section line and
// "URL=value": Windows finds the address only there, and the reader takes
// it back as the same entry.
bool AppendItemEntry(std::string* out, const char* key, const char* value,
                     bool shortcut = false);

// The entry, written alone the way AppendItemEntry writes it, is read back
// as exactly this key and value. False for what the file cannot hold: a
// key the reader takes for a comment ("'") or a section ("[...]"), text
// that loses trailing spaces or line ends, the escape bytes themselves,
// texts over kMaxReadKey / kMaxReadValue.
// Key and value are stored bytes of form.
bool EntryReadsBack(const char* key, const char* value, bool shortcut = false,
                    int form = kFormCp932);

// The file name ends in ".url" (any case): its entries are written as an
// Internet Shortcut.
bool IsShortcutName(const char* name);

#endif
