// Text folded for search, so that what a Japanese user calls the same
// text matches: letters without regard to case, full-width and half-width
// forms alike, hiragana and katakana alike. The folding of each character
// comes from the system (a mapper the caller gives); this file only applies
// it, byte by byte, so it also builds natively (sanitizers, fuzzing).
#ifndef ZORIVEN_SEARCHFOLD_H
#define ZORIVEN_SEARCHFOLD_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Every character of code page 932 and its folded form as a code: below
// 0x100 one byte, else lead byte * 256 + trail byte.
struct FoldTable {
    uint16_t single[256];
    std::vector<uint16_t> doubled;   // 65536 codes, by lead * 256 + trail
    uint16_t voiced[64][2];          // half-width kana 0xA0 + i followed by
                                     // a voiced or semi-voiced mark, or 0
};

// The two mappings of the system the folding is made from, for one
// character (or a half-width kana and its mark): kNarrow (half-width,
// lower case) and kWide (full-width, katakana, lower case). Writes the
// result as code page 932 bytes; false when there is none.
enum FoldMapping { kNarrow, kWide };
typedef bool (*FoldMapper)(void* context, FoldMapping mapping, const char* text, size_t length,
                           std::string* out);

// Each character folds to the ASCII character its narrow form is, when it
// is one (Ａ, a and A all fold to a); otherwise to its wide form when that
// is one character (ｶ, か and カ all fold to カ; ｶﾞ to ガ); otherwise to
// itself. Folding folded text changes nothing.
void BuildFoldTable(FoldTable* table, FoldMapper map, void* context);

// Appends text[0..length) folded to out. A lead byte without its trail
// byte is kept as it is.
void FoldText(const FoldTable& table, const char* text, size_t length, std::string* out);

#endif
