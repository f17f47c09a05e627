// A small stand-in for the system's character mappings, so that the fold
// table's own rules can be tried without Windows: ASCII and full-width
// letters, a few kana in both widths and kana types, a half-width kana
// with its voiced mark, a Latin and a Deseret capital, and one character
// that the system maps in two steps (ヵ to か, which is カ). Text is UTF-8.
#ifndef ZORIVEN_FOLDSTUB_H
#define ZORIVEN_FOLDSTUB_H

#include <string>

#include "store/searchfold.h"

namespace foldstub {

inline bool Map(void*, FoldMapping mapping, const char* text, size_t length, std::string* out)
{
    std::string in(text, length);
    static const char* const narrow[][2] = {
        {u8"Ａ", "a"}, {u8"ａ", "a"}, {u8"１", "1"}, {u8"\u3000", " "}};
    static const char* const wide[][2] = {
        {u8"ｶ", u8"カ"},   {u8"か", u8"カ"}, {u8"ｶﾞ", u8"ガ"}, {u8"が", u8"ガ"},
        {u8"ﾞ", u8"゛"},   {u8"ヵ", u8"か"}, {u8"É", u8"é"},   {u8"\U00010400", u8"\U00010428"}};
    if (mapping == kNarrow) {
        if (length == 1 && in[0] >= 'A' && in[0] <= 'Z') {
            *out = std::string(1, (char)(in[0] - 'A' + 'a'));
            return true;
        }
        for (const auto& pair : narrow)
            if (in == pair[0])
                return *out = pair[1], true;
        return false;
    }
    for (const auto& pair : wide)
        if (in == pair[0])
            return *out = pair[1], true;
    return false;
}

inline const FoldTable& Table()
{
    static FoldTable table;
    if (!table.map)
        BuildFoldTable(&table, Map, nullptr);
    return table;
}

inline std::string Fold(const std::string& text)
{
    std::string out;
    FoldText(Table(), text.data(), text.size(), &out);
    return out;
}

}  // namespace foldstub

#endif
