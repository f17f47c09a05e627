#include "store/searchfold.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/foldstub.h"
#include "store/chars.h"
#include "store/sjis.h"

using foldstub::Fold;

TEST(SearchFold, WidthCaseAndKanaTypeFoldAlike)
{
    EXPECT_EQ("abc", Fold("ABC"));
    EXPECT_EQ("abc", Fold("\x82\x60" "bC"));                     // Ａ
    EXPECT_EQ("a1 ", Fold("\x82\x81\x82\x50\x81\x40"));          // ａ１ and the wide space
    // ｶﾞｶ, がか and ガカ: the half-width pair becomes one character.
    EXPECT_EQ("\x83\x4B\x83\x4A", Fold("\xB6\xDE\xB6"));
    EXPECT_EQ("\x83\x4B\x83\x4A", Fold("\x82\xAA\x82\xA9"));
    EXPECT_EQ("\x83\x4B\x83\x4A", Fold("\x83\x4B\x83\x4A"));
    EXPECT_EQ("\x81\x4A", Fold("\xDE"));                         // a mark alone
    // A mapping in two steps ends where folding folded text stays put.
    EXPECT_EQ("\x83\x4A", Fold("\x83\x95"));
    // Kanji, a lead byte with no trail and one before a byte that cannot
    // be a trail byte are kept as they are.
    EXPECT_EQ("\x93\x8C", Fold("\x93\x8C"));
    EXPECT_EQ("a\x83", Fold("A\x83"));
    EXPECT_EQ(std::string("\x83\x0A", 2), Fold(std::string("\x83\x0A", 2)));
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
    EXPECT_EQ(-1, find("\x83\x5C", "\\"));          // ソ: trail byte 0x5C
    EXPECT_EQ(-1, find("\x83\x61", "a"));           // ャ: trail byte "a"
    EXPECT_EQ(2, find("\x83\x61" "a", "a"));
    EXPECT_EQ(-1, find("x\x83\x41", "x\x83"));      // would end inside ア
    EXPECT_EQ(3, find(std::string("a\0b\x83\x41", 5), "\x83\x41"));
    EXPECT_EQ(0, find("abc", ""));
    EXPECT_EQ(-1, find("ab", "abc"));
    // Over folded texts: what the filter does.
    EXPECT_EQ(0, find(Fold("\xB6\xDE\xB6\xDE"), Fold("\x82\xAA")));
    EXPECT_EQ(1, find(Fold("x\x82\x60" "b"), Fold("AB")));
}
