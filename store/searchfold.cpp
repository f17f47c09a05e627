#include "searchfold.h"

#include "sjis.h"

namespace {

const unsigned char kVoicedMark = 0xDE, kSemiVoicedMark = 0xDF;
const unsigned char kHalfKanaFirst = 0xA0, kHalfKanaLast = 0xDF;

// The code of text when it is exactly one character, else 0.
uint16_t OneCharCode(const std::string& text)
{
    if (text.size() == 1 && text[0] != '\0' && !IsLeadByte((unsigned char)text[0]))
        return (unsigned char)text[0];
    if (text.size() == 2 && IsDoubleByteAt(text.c_str()))
        return (uint16_t)((unsigned char)text[0] << 8 | (unsigned char)text[1]);
    return 0;
}

uint16_t FoldOne(FoldMapper map, void* context, const char* text, size_t length, uint16_t self)
{
    std::string out;
    if (map(context, kNarrow, text, length, &out) && out.size() == 1 &&
        (unsigned char)out[0] < 0x80 && out[0] != '\0')
        return (unsigned char)out[0];
    out.clear();
    if (map(context, kWide, text, length, &out)) {
        uint16_t code = OneCharCode(out);
        if (code)
            return code;
    }
    return self;
}

uint16_t& Slot(FoldTable* table, uint16_t code)
{
    return code < 0x100 ? table->single[code] : table->doubled[code];
}

void Append(uint16_t code, std::string* out)
{
    if (code >= 0x100)
        out->push_back((char)(code >> 8));
    out->push_back((char)(code & 0xFF));
}

}  // namespace

void BuildFoldTable(FoldTable* table, FoldMapper map, void* context)
{
    table->doubled.assign(65536, 0);
    for (unsigned c = 0; c < 256; ++c) {
        table->single[c] = (uint16_t)c;
        char text[1] = {(char)c};
        if (c != 0 && !IsLeadByte((unsigned char)c))
            table->single[c] = FoldOne(map, context, text, 1, (uint16_t)c);
    }
    for (unsigned code = 0; code < 65536; ++code) {
        table->doubled[code] = (uint16_t)code;
        char text[2] = {(char)(code >> 8), (char)(code & 0xFF)};
        if (IsLeadByte((unsigned char)text[0]) && IsTrailByte((unsigned char)text[1]))
            table->doubled[code] = FoldOne(map, context, text, 2, (uint16_t)code);
    }
    for (unsigned i = 0; i < 64; ++i)
        for (unsigned mark = 0; mark < 2; ++mark) {
            char text[2] = {(char)(kHalfKanaFirst + i), (char)(mark ? kSemiVoicedMark : kVoicedMark)};
            std::string out;
            uint16_t code = map(context, kWide, text, 2, &out) ? OneCharCode(out) : 0;
            table->voiced[i][mark] = code >= 0x100 ? code : 0;
        }
    // A character may fold to one that folds further (a system that maps
    // in steps): one more pass makes folding folded text change nothing.
    for (unsigned c = 1; c < 256; ++c)
        table->single[c] = Slot(table, table->single[c]);
    for (unsigned code = 0; code < 65536; ++code)
        table->doubled[code] = Slot(table, table->doubled[code]);
    for (auto& pair : table->voiced)
        for (uint16_t& code : pair)
            if (code)
                code = Slot(table, code);
}

void FoldText(const FoldTable& table, const char* text, size_t length, std::string* out)
{
    if (table.doubled.size() != 65536) {   // not built: the text as it is
        out->append(text, length);
        return;
    }
    out->reserve(out->size() + length);
    for (size_t i = 0; i < length;) {
        unsigned char c = (unsigned char)text[i];
        unsigned char next = i + 1 < length ? (unsigned char)text[i + 1] : 0;
        if (IsLeadByte(c) && IsTrailByte(next)) {
            Append(table.doubled[c << 8 | next], out);
            i += 2;
        } else if (c >= kHalfKanaFirst && c <= kHalfKanaLast &&
                   (next == kVoicedMark || next == kSemiVoicedMark) &&
                   table.voiced[c - kHalfKanaFirst][next - kVoicedMark]) {
            Append(table.voiced[c - kHalfKanaFirst][next - kVoicedMark], out);
            i += 2;
        } else {
            Append(table.single[c], out);
            ++i;
        }
    }
}
