#include "searchfold.h"

#include "utf8.h"

namespace {

const uint32_t kHalfKanaFirst = 0xFF60, kHalfKanaLast = 0xFF9F;
const uint32_t kVoicedMark = 0xFF9E, kSemiVoicedMark = 0xFF9F;

// The code point of text when it is exactly one character other than NUL,
// else 0.
uint32_t OneChar(const std::string& text)
{
    uint32_t cp = 0;
    if (DecodeUtf8(text.data(), text.size(), &cp) != text.size())
        return 0;
    return cp;
}

uint32_t FoldOnce(const FoldTable& table, const char* text, size_t length, uint32_t self)
{
    std::string out;
    if (table.map(table.context, kNarrow, text, length, &out)) {
        uint32_t narrow = OneChar(out);
        if (narrow && narrow < 0x80)
            return narrow;
    }
    out.clear();
    if (table.map(table.context, kWide, text, length, &out)) {
        uint32_t wide = OneChar(out);
        if (wide)
            return wide;
    }
    return self;
}

uint32_t FoldCode(const FoldTable& table, uint32_t cp)
{
    char text[4];
    size_t n = EncodeUtf8(cp, text);
    return n ? FoldOnce(table, text, n, cp) : cp;
}

// A character may fold to one that folds further (a system that maps in
// steps): folding the result once more makes folding folded text change
// nothing, as the whole table's second pass did.
uint32_t FoldFully(const FoldTable& table, uint32_t cp)
{
    uint32_t folded = FoldCode(table, cp);
    return folded == cp ? cp : FoldCode(table, folded);
}

const uint32_t* Block(const FoldTable& table, uint32_t cp)
{
    std::unique_ptr<uint32_t[]>& block = table.blocks[cp / kFoldBlockSize];
    if (!block) {
        block.reset(new uint32_t[kFoldBlockSize]);
        uint32_t first = cp - cp % kFoldBlockSize;
        for (uint32_t i = 0; i < kFoldBlockSize; ++i) {
            uint32_t c = first + i;
            // NUL and the surrogates are no characters to ask about.
            bool asked = c != 0 && (c < 0xD800 || c > 0xDFFF);
            block[i] = asked ? FoldFully(table, c) : c;
        }
    }
    return block.get();
}

void Append(uint32_t cp, std::string* out)
{
    char bytes[4];
    size_t n = EncodeUtf8(cp, bytes);
    out->append(bytes, n);
}

}  // namespace

void BuildFoldTable(FoldTable* table, FoldMapper map, void* context)
{
    table->map = map;
    table->context = context;
    table->blocks.clear();
    table->blocks.resize(kFoldBlockCount);
    for (unsigned i = 0; i < 64; ++i)
        for (unsigned mark = 0; mark < 2; ++mark) {
            char text[8];
            size_t n = EncodeUtf8(kHalfKanaFirst + i, text);
            n += EncodeUtf8(mark ? kSemiVoicedMark : kVoicedMark, text + n);
            std::string out;
            uint32_t cp = map(context, kWide, text, n, &out) ? OneChar(out) : 0;
            table->voiced[i][mark] = cp ? FoldFully(*table, cp) : 0;
        }
    Block(*table, 0);   // ASCII, at every keystroke
}

void FoldText(const FoldTable& table, const char* text, size_t length, std::string* out)
{
    if (!table.map || table.blocks.size() != kFoldBlockCount) {   // not built
        out->append(text, length);
        return;
    }
    out->reserve(out->size() + length);
    const uint32_t* ascii = table.blocks[0].get();
    for (size_t i = 0; i < length;) {
        unsigned char c = (unsigned char)text[i];
        if (c < 0x80) {
            uint32_t folded = ascii[c];
            if (folded < 0x80)
                out->push_back((char)folded);
            else
                Append(folded, out);
            ++i;
            continue;
        }
        uint32_t cp = 0;
        size_t n = DecodeUtf8(text + i, length - i, &cp);
        if (n == 0) {
            out->push_back((char)c);
            ++i;
            continue;
        }
        if (cp >= kHalfKanaFirst && cp <= kHalfKanaLast) {
            uint32_t mark = 0;
            size_t markBytes = DecodeUtf8(text + i + n, length - i - n, &mark);
            if (markBytes && (mark == kVoicedMark || mark == kSemiVoicedMark)) {
                uint32_t pair = table.voiced[cp - kHalfKanaFirst][mark - kVoicedMark];
                if (pair) {
                    Append(pair, out);
                    i += n + markBytes;
                    continue;
                }
            }
        }
        Append(Block(table, cp)[cp % kFoldBlockSize], out);
        i += n;
    }
}
