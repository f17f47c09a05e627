// Texts of the hot-key menu and the paste that follows it: menu labels
// with typing mnemonics, key combinations written as "Ctrl+Alt+Z", the
// table of paste keys per window class, CR LF line breaks.
// Pure byte logic: no windows.h, so it also builds natively.
#ifndef ZORIVEN_HOTKEYTEXT_H
#define ZORIVEN_HOTKEYTEXT_H

#include <cstddef>

// Modifier bits as the hot-key control reports them.
enum { kModShift = 1, kModCtrl = 2, kModAlt = 4 };

struct KeyCombo {
    unsigned char vk;     // virtual-key code; 0 = none
    unsigned char mods;   // kMod* bits
};

// Rows that get a typing mnemonic: 1-9, 0, then A-Z.
enum { kMnemonicRows = 36, kLabelColumns = 40 };

// The mnemonic character of row (0-based), or 0 past kMnemonicRows.
char RowMnemonic(int row);

// "&1 text" for the first rows, the text alone after them; "&" doubled,
// control characters shown as spaces, the text cut to columns display
// columns (a double-byte character is two) with "…" at the cut. False
// only when out cannot hold even the cut label (out is then "").
bool MenuLabel(char* out, size_t cap, int row, const char* text, int columns = kLabelColumns);

// Bytes the text needs with every lone LF made CR LF, terminator included.
size_t CrLfSize(const char* text);
// The text with CR LF line breaks; false (and "") when it does not fit.
bool CopyCrLf(char* dst, size_t cap, const char* text);

// "Ctrl+Shift+Insert" and the like, any case, modifiers in any order;
// false for an unknown key name or a missing key.
bool ParseKeyCombo(const char* text, KeyCombo* combo);
// The combination as ParseKeyCombo reads it; false when it does not fit.
bool FormatKeyCombo(char* out, size_t cap, KeyCombo combo);
// RegisterHotKey's MOD_ALT, MOD_CONTROL, MOD_SHIFT from kMod* bits.
unsigned HotKeyModifiers(unsigned char mods);

// The paste table is "Class=Keys;" pieces. The keys for className
// (compared without regard to ASCII case); false when the class is not in
// the table or its keys do not parse.
bool FindPasteKeys(const char* table, const char* className, KeyCombo* combo);
// The table as one "Class=Keys" per CR LF line, for editing.
bool PasteTableToLines(const char* table, char* out, size_t cap);
// Lines back into the table; blank lines are skipped. False when a line is
// not "Class=Keys" with a known key, a class holds ";", or the table does
// not fit cap; *badLine is then the 0-based line at fault (-1: too long).
bool PasteTableFromLines(const char* lines, char* out, size_t cap, int* badLine);

#endif
