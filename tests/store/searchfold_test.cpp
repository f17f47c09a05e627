#include "store/searchfold.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/foldstub.h"
#include "store/chars.h"

using foldstub::Fold;

TEST(SearchFold, WidthCaseAndKanaTypeFoldAlike)
{
    EXPECT_EQ("abc", Fold("ABC"));
    EXPECT_EQ("abc", Fold(u8"Ａ" "bC"));
    EXPECT_EQ("a1 ", Fold(u8"ａ１\u3000"));   // and the wide space
    // ｶﾞｶ, がか and ガカ: the half-width pair becomes one character.
    EXPECT_EQ(u8"ガカ", Fold(u8"ｶﾞｶ"));
    EXPECT_EQ(u8"ガカ", Fold(u8"がか"));
    EXPECT_EQ(u8"ガカ", Fold(u8"ガカ"));
    EXPECT_EQ(u8"゛", Fold(u8"ﾞ"));   // a mark alone
    EXPECT_EQ(u8"カ゛", Fold(u8"かﾞ"));   // a mark after a full-width kana is its own
    // A mapping in two steps ends where folding folded text stays put.
    EXPECT_EQ(u8"カ", Fold(u8"ヵ"));
    // Past code page 932: a Latin capital, one beyond the first plane,
    // and characters with no folding kept as they are.
    EXPECT_EQ(u8"éé", Fold(u8"Éé"));
    EXPECT_EQ(u8"\U00010428", Fold(u8"\U00010400"));
    EXPECT_EQ(u8"東😀한", Fold(u8"東😀한"));
    // Bytes of no well-formed character are kept one by one.
    EXPECT_EQ("a\xE3\x81", Fold("A\xE3\x81"));
    EXPECT_EQ(std::string("\xE3\0\xC0\x80", 4), Fold(std::string("\xE3\0\xC0\x80", 4)));
    // An unbuilt table changes nothing.
    FoldTable empty = {};
    std::string out;
    FoldText(empty, "AB", 2, &out);
    EXPECT_EQ("AB", out);
}

TEST(SearchFold, AMatchStartsAndEndsOnCharacters)
{
    auto find = [](const std::string& text, const std::string& part) {
        return FindInText(text.data(), (unsigned long)text.size(), part.data(),
                          (unsigned long)part.size());
    };
    EXPECT_EQ(-1, find(u8"ア", "\x82"));            // inside ア (E3 82 A2)
    EXPECT_EQ(-1, find(u8"xア", "x\xE3"));           // would end inside ア
    EXPECT_EQ(3, find(std::string("a\0b" u8"ア", 6), u8"ア"));
    EXPECT_EQ(0, find("abc", ""));
    EXPECT_EQ(-1, find("ab", "abc"));
    // Over folded texts: what the filter does.
    EXPECT_EQ(0, find(Fold(u8"ｶﾞｶﾞ"), Fold(u8"が")));
    EXPECT_EQ(1, find(Fold(u8"xＡb"), Fold("AB")));
    EXPECT_EQ(3, find(Fold(u8"caféÉ"), Fold(u8"ÉÉ")));
}
