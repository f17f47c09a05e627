// The boundary to Windows: UTF-16 for its functions, code page 932 for the
// library's bytes, every buffer at its limit.
#include <gtest/gtest.h>

#include <string>

#include "app/wide.h"

// The program's text (UTF-8) at the limits of the buffers it goes into.
TEST(Wide, ProgramTextBoundedBothWays)
{
    const char* text = u8"東京 表";   // 4 units, 10 bytes
    wchar_t wide[5];
    ASSERT_TRUE(ToWide(text, wide, 5));
    EXPECT_EQ(std::wstring(L"\u6771\u4EAC \u8868"), wide);
    EXPECT_FALSE(ToWide(text, wide, 4));
    EXPECT_EQ(L'\0', wide[0]);
    EXPECT_EQ(std::wstring(L"\u6771\u4EAC \u8868"), Widen(text));

    char out[11];
    ASSERT_TRUE(FromWide(L"\u6771\u4EAC \u8868", -1, out, sizeof out));
    EXPECT_STREQ(text, out);
    EXPECT_FALSE(FromWide(L"\u6771\u4EAC \u8868", -1, out, 10));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(ToWide("\x93\x8C", wide, 5));   // bytes of code page 932 are no program text
    // A cut keeps whole characters: 9 bytes of room hold 東京 and the space.
    EXPECT_EQ(7u, FromWideCut(L"\u6771\u4EAC \u8868", -1, out, 9));
    EXPECT_STREQ(u8"東京 ", out);
    EXPECT_EQ(text, Narrow(L"\u6771\u4EAC \u8868"));
}

// A row's name into the list's buffer: whole characters, a surrogate pair
// never split.
TEST(Wide, ShownTextCutIntoAWideBuffer)
{
    const char* text = u8"東京 表";
    wchar_t wide[8];
    EXPECT_EQ(4u, ToWideCut(text, wide, 8));
    EXPECT_EQ(std::wstring(L"\u6771\u4EAC \u8868"), wide);
    EXPECT_EQ(2u, ToWideCut(text, wide, 3));
    EXPECT_EQ(std::wstring(L"\u6771\u4EAC"), wide);
    EXPECT_EQ(0u, ToWideCut(NULL, wide, 8));
    EXPECT_EQ(L'\0', wide[0]);
    EXPECT_EQ(1u, ToWideCut("a\xF0\x9F\x98\x80", wide, 3));   // not half of the emoji
    EXPECT_EQ(std::wstring(L"a"), wide);
}

// UTF-8 whatever the program's form; a lone surrogate is one U+FFFD.
TEST(Wide, Utf8BothWays)
{
    const std::string text = "\xE6\x9D\xB1 caf\xC3\xA9 \xF0\x9F\x98\x80";
    std::wstring wide = Utf8ToWide(text.data(), text.size());
    EXPECT_EQ(std::wstring(L"\u6771 caf\u00E9 \U0001F600"), wide);
    EXPECT_EQ(text, WideToUtf8(wide.data(), wide.size()));
    const wchar_t lone[] = {L'a', (wchar_t)0xD800, L'b'};
    EXPECT_EQ("a\xEF\xBF\xBD" "b", WideToUtf8(lone, 3));
    EXPECT_EQ(std::wstring(L"a\uFFFDb"), Utf8ToWide("a\xC3" "b", 3));
}

// Code page 932 where it holds the text exactly, in both directions; never
// the best-fit characters that would change the user's text.
TEST(Wide, StoredCodePageOnlyWhenExact)
{
    struct Case {
        const char* utf8;
        const char* cp932;   // null: no exact form
    } cases[] = {
        {"\xEF\xBD\x9E", "\x81\x60"},           // ～
        {"\xE2\x91\xA0", "\x87\x40"},           // ①
        {"\xE8\xA1\xA8", "\x95\x5C"},           // 表, a 0x5C trail byte
        {"a=b\n", "a=b\n"},
        {"\xE3\x80\x9C", nullptr},              // 〜 WAVE DASH
        {"\xE2\x88\x92", nullptr},              // − MINUS SIGN
        {"\xC2\xA2", nullptr},                  // ¢
        {"caf\xC3\xA9", nullptr},
        {"\xF0\x9F\x98\x80", nullptr},
    };
    for (const Case& c : cases) {
        std::string bytes = "untouched";
        EXPECT_EQ(c.cp932 != nullptr, Utf8ToCp932(c.utf8, strlen(c.utf8), &bytes)) << c.utf8;
        if (!c.cp932) {
            EXPECT_EQ("untouched", bytes);
            continue;
        }
        EXPECT_EQ(c.cp932, bytes);
        std::string back;
        ASSERT_TRUE(Cp932ToUtf8(bytes.data(), bytes.size(), &back));
        EXPECT_EQ(c.utf8, back);
    }
    std::string out = "untouched";
    EXPECT_FALSE(Cp932ToUtf8("\x81", 1, &out));   // a lead byte alone
    EXPECT_EQ("untouched", out);
    EXPECT_FALSE(Utf8ToCp932("\xC3", 1, &out));
}

// A name the program's form cannot hold never becomes another real name
// (café.txt is not cafe.txt): what is lost is ?, which no name holds.
TEST(Wide, EveryCharacterIsKept)
{
    EXPECT_EQ(std::wstring(L"caf\u00E9.txt"), Widen(Narrow(L"caf\u00E9.txt").c_str()));
    EXPECT_EQ(std::wstring(L"\U0001F600 grp"), Widen(Narrow(L"\U0001F600 grp").c_str()));
}
