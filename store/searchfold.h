// Text folded for search, so that what a Japanese user calls the same
// text matches: letters without regard to case, full-width and half-width
// forms alike, hiragana and katakana alike, for every character. The
// folding of each character comes from the system (a mapper the caller
// gives); this file only applies it, character by character over UTF-8,
// so it also builds natively (sanitizers, fuzzing).
#ifndef ZORIVEN_SEARCHFOLD_H
#define ZORIVEN_SEARCHFOLD_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The two mappings of the system the folding is made from, for one
// character (or a half-width kana and its mark), both given as UTF-8:
// kNarrow (half-width, lower case) and kWide (full-width, katakana, lower
// case). False when there is none.
enum FoldMapping { kNarrow, kWide };
typedef bool (*FoldMapper)(void* context, FoldMapping mapping, const char* text, size_t length,
                           std::string* out);

// The folded code point of every code point, asked of the mapper a block
// of kFoldBlockSize at a time when a text first holds one of the block's
// characters, so a keystroke costs a look-up per character whatever the
// script. The blocks are made while folding a const table: the table is
// used from one thread, the window's.
enum { kFoldBlockSize = 256, kFoldBlockCount = 0x110000 / kFoldBlockSize };
struct FoldTable {
    FoldMapper map;
    void* context;
    uint32_t voiced[64][2];   // half-width kana U+FF60 + i followed by a
                              // voiced or semi-voiced mark, or 0
    mutable std::vector<std::unique_ptr<uint32_t[]>> blocks;   // kFoldBlockCount
};

// Each character folds to the ASCII character its narrow form is, when it
// is one (Ａ, a and A all fold to a); otherwise to its wide form when that
// is one character (ｶ, か and カ all fold to カ; ｶﾞ to ガ; É to é);
// otherwise to itself. Folding folded text changes nothing.
void BuildFoldTable(FoldTable* table, FoldMapper map, void* context);

// Appends text[0..length) folded to out. A byte of no well-formed UTF-8
// character is kept as it is; an unbuilt table keeps the text as it is.
void FoldText(const FoldTable& table, const char* text, size_t length, std::string* out);

#endif
