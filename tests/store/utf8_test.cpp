// UTF-8 sequences: what is text and what is not, and cuts that keep it so.
#include <gtest/gtest.h>

#include <string>

#include "store/utf8.h"

TEST(Utf8, SequencesAndWhatIsNoText)
{
    struct Case {
        std::string bytes;
        size_t length;
        uint32_t cp;
    } good[] = {
        {"a", 1, 'a'},
        {"\xC3\xA9", 2, 0xE9},             // é
        {"\xE3\x80\x9C", 3, 0x301C},       // 〜 WAVE DASH
        {"\xEF\xBD\x9E", 3, 0xFF5E},       // ～
        {"\xF0\x9F\x98\x80", 4, 0x1F600},  // 😀
        {"\xF4\x8F\xBF\xBF", 4, 0x10FFFF},
    };
    for (const Case& c : good) {
        uint32_t cp = 0;
        EXPECT_EQ(c.length, DecodeUtf8(c.bytes.data(), c.bytes.size(), &cp)) << c.bytes;
        EXPECT_EQ(c.cp, cp);
        char out[4];
        EXPECT_EQ(c.bytes, std::string(out, EncodeUtf8(cp, out)));
    }
    const char* bad[] = {
        "\x80", "\xC3", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80",   // over-long, surrogate
        "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xE3\x80", "\xFF",
    };
    for (const char* b : bad)
        EXPECT_EQ(0u, DecodeUtf8(b, strlen(b), nullptr)) << b;
    char out[4];
    EXPECT_EQ(0u, EncodeUtf8(0xD800, out));
    EXPECT_EQ(0u, EncodeUtf8(0x110000, out));
    EXPECT_TRUE(IsValidUtf8("a\xC3\xA9\xF0\x9F\x98\x80", 7));
    EXPECT_FALSE(IsValidUtf8("a\xC3", 2));
    EXPECT_TRUE(IsValidUtf8("a\0b", 3));
    EXPECT_TRUE(StartsWithUtf8Mark("\xEF\xBB\xBFk=v", 6));
    EXPECT_FALSE(StartsWithUtf8Mark("\xEF\xBB", 2));
}

TEST(Utf8, CutsNeverSplitACharacter)
{
    const std::string text = "a\xC3\xA9\xE3\x80\x9C\xF0\x9F\x98\x80";   // a é 〜 😀
    const size_t safe[] = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10};
    for (size_t len = 0; len <= text.size(); ++len) {
        EXPECT_EQ(safe[len], Utf8SafeLength(text.data(), len)) << len;
        EXPECT_TRUE(IsValidUtf8(text.data(), Utf8SafeLength(text.data(), len)));
    }
    // Bytes that are no sequence at all are not cut away.
    EXPECT_EQ(2u, Utf8SafeLength("a\x80", 2));
}
