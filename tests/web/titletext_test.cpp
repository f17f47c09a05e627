// Page titles: tags, charsets, EUC-JP, entities, cleaning, fallback names.
#include "web/titletext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store/textbuf.h"

namespace {
int kind;   // of the last Title()

std::string Title(const char* page, size_t size = 256, int header = kCharsetUnknown)
{
    char text[kPageCap], out[256];
    CopyText(text, sizeof text, page);
    kind = ExtractTitle(text, out, size, header);
    EXPECT_TRUE(kind != kNoTitle || out[0] == '\0');
    return out;
}

// ASCII, あ (82 A0), 表 (95 5C) and ｱ (B1): enough of code page 932 to
// see what grows, what is cut and what is dropped.
size_t FakeSjisToUtf8(const char* bytes, size_t length, char* out)
{
    static const char* const known[][2] = {
        {"\x82\xA0", u8"あ"}, {"\x95\x5C", u8"表"}, {"\xB1", u8"ｱ"}};
    if (length == 1 && (unsigned char)bytes[0] < 0x80)
        return out[0] = bytes[0], 1;
    for (const auto& pair : known)
        if (std::string(bytes, length) == pair[0])
            return strlen(strcpy(out, pair[1]));
    return 0;
}

// The whole title pipeline into out of size bytes.
std::string ProgramTitle(const char* page, size_t size = 256, int header = kCharsetUnknown)
{
    char text[kPageCap], out[256];
    CopyText(text, sizeof text, page);
    kind = TitleAsProgramText(text, out, size, header, FakeSjisToUtf8);
    EXPECT_TRUE(kind != kNoTitle || out[0] == '\0');
    return out;
}

std::string Edited(void (*edit)(char*), const char* text)
{
    char buf[256];
    CopyText(buf, sizeof buf, text);
    edit(buf);
    return buf;
}

std::string Host(const char* url, size_t size = 64)
{
    char out[64] = "junk";
    bool found = UrlHostPart(url, out, size);
    EXPECT_EQ(found, out[0] != '\0') << url;
    return out;
}

std::string NameRun(const char* text, size_t size = 64)
{
    char out[64] = "junk";
    bool found = LeadingNameRun(text, out, size) != nullptr;
    EXPECT_EQ(found, out[0] != '\0') << text;
    return out;
}
}  // namespace

TEST(TitleText, UrlPrefixesInAnyCase)
{
    for (const char* url : {"http://a", "HtTp://a", "HTTPS://x", "file:///C:/x", "FTP://h"})
        EXPECT_TRUE(IsUrl(url)) << url;
    for (const char* text : {"www.example.com", "mailto:a@b.jp", " http://a", "http:/a", ""})
        EXPECT_FALSE(IsUrl(text)) << text;
    EXPECT_FALSE(IsUrl(nullptr));
}

TEST(TitleText, TitleElementOfThePage)
{
    EXPECT_EQ("Hello", Title("<html><Title>Hello</TITLE>"));
    EXPECT_EQ("Hi", Title("<TITLE lang=ja>Hi</title>"));
    EXPECT_EQ("", Title("<script>'</title>'</script><title>X</title>"));
    EXPECT_EQ("", Title("<title>never closed"));
    EXPECT_EQ("", Title("<title></title>"));
    // The closing tag lies just past the 4095 bytes the page holds.
    std::string late = std::string(kPageCap - 17, ' ') + "<title>ab</title>";
    EXPECT_EQ("", Title(late.c_str()));
    EXPECT_EQ("ab", Title(late.erase(0, 1).c_str()));
    // 表 (95 5C) is not split at the size - 1 limit.
    EXPECT_EQ("ab", Title("<title>ab\x95\x5C" "c</title>", 4));
    EXPECT_EQ("ab\x95\x5C", Title("<title>ab\x95\x5C" "c</title>", 5));
    EXPECT_EQ("", Title("<title>ab</title>", 1));
}

TEST(TitleText, EucJpPagesBecomeShiftJis)
{
    EXPECT_EQ("\x82\xA0", Title("<meta charset=euc-jp><title>\xA4\xA2</title>"));
    EXPECT_EQ(kTitleFromEucJp, kind);
    EXPECT_EQ("\x82\xA0", Title("<title>\xA4\xA2</title>", 256, kCharsetEucJp));
    EXPECT_EQ("\xA4\xA2", Title("EUC-JP<title>\xA4\xA2</title>", 256, kCharsetShiftJis));
    // In place; sequences cut short or outside the rows end the text.
    auto convert = [](char* text) { EucJpToShiftJis(text, text, 256); };
    EXPECT_EQ("\xB1?", Edited(convert, "\x8E\xB1\x8F\xA1\xA1"));
    for (const char* cut : {"a\xA4", "a\x8F\xA1", "a\x8E", "a\xA4\x41" "b", "a\xFF\xA1"})
        EXPECT_EQ("a", Edited(convert, cut));
    auto into4 = [](char* text) { EucJpToShiftJis(text, text, 4); };
    EXPECT_EQ("\x82\xA0", Edited(into4, "\xA4\xA2\xA4\xA2"));
}

TEST(TitleText, Utf8PagesAreReportedForTheCaller)
{
    const char* page = "<meta charset=\"UTF-8\"><title>a\xE3\x81\x82</title>";
    EXPECT_EQ("a\xE3\x81\x82", Title(page));
    EXPECT_EQ(kTitleUtf8, kind);
    EXPECT_EQ("a", Title(page, 4));
    // Stray continuation bytes are not stepped back over.
    EXPECT_EQ("\x80\x80", Title("<meta charset=utf-8><title>\x80\x80\x80</title>", 3));
    // A charset in the header decides over the page's.
    EXPECT_EQ("a\xE3\x81\x82", Title(page, 256, kCharsetShiftJis));
    EXPECT_EQ(kTitleAsIs, kind);
    EXPECT_EQ("x", Title("<meta charset=Shift_JIS><title>x</title>", 256, kCharsetUtf8));
    EXPECT_EQ(kTitleUtf8, kind);
    EXPECT_EQ(kCharsetShiftJis, CharsetOfContentType("text/html; Charset=\"x-sjis\""));
    EXPECT_EQ(kCharsetUtf8, CharsetOfContentType("text/html;charset = UTF8"));
    EXPECT_EQ(kCharsetOther, CharsetOfContentType("text/html; charset=iso-8859-1"));
    EXPECT_EQ(kCharsetUnknown, CharsetOfContentType("text/html"));
}

TEST(TitleText, YahooTitlesOnlyFromWellFormedEucJp)
{
    auto fix = [](char* title) { FixYahooTitle(title, 256); };
    EXPECT_EQ("Yahoo!\x82\xA0", Edited(fix, "Yahoo!\xA4\xA2"));
    EXPECT_EQ("Yahoo!\x82\xA0\xE0\x40", Edited(fix, "Yahoo!\x82\xA0\xE0\x40"));   // あ漾
    EXPECT_EQ("\xA4\xA2Yahoo", Edited(fix, "\xA4\xA2Yahoo"));
    char euc[] = "Yahoo!\xA4\xA2";
    FixYahooTitle(euc, sizeof euc - 1);   // not terminated within the cap
    EXPECT_STREQ("Yahoo!\xA4\xA2", euc);
    FixYahooTitle(euc, sizeof euc);
    EXPECT_STREQ("Yahoo!\x82\xA0", euc);
}

TEST(TitleText, TitlesOfEveryCharsetBecomeUtf8)
{
    EXPECT_EQ(u8"あ表ｱ x", ProgramTitle("<title>\x82\xA0\x95\x5C\xB1 x</title>"));
    EXPECT_EQ(kTitleAsIs, kind);
    EXPECT_EQ(u8"あｱ", ProgramTitle("<title>\xA4\xA2\x8E\xB1</title>", 256, kCharsetEucJp));
    EXPECT_EQ(u8"Yahoo!あ", ProgramTitle("<title>Yahoo!\xA4\xA2</title>"));
    // A UTF-8 page keeps every character; entities become UTF-8 too.
    EXPECT_EQ(u8"😀 café 한국 &",
              ProgramTitle(u8"<meta charset=utf-8><title>😀 café 한국 &amp;</title>"));
    EXPECT_EQ(u8"😀é<あ", ProgramTitle("<title>&#x1F600;&#233;&lt;&#12354;</title>"));
    // A byte code page 932 has no character for is dropped.
    EXPECT_EQ("ab", ProgramTitle("<title>a\x80" "b</title>"));
    // Cut on a character once converted: あ grows from 2 bytes to 3.
    EXPECT_EQ(u8"aあ", ProgramTitle("<title>a\x82\xA0\x82\xA0</title>", 7));
    EXPECT_EQ("a", ProgramTitle("<title>a\x82\xA0\x82\xA0</title>", 4));
    EXPECT_EQ("a", ProgramTitle(u8"<meta charset=utf-8><title>a😀</title>", 5));
}

TEST(TitleText, EntitiesAndCleaning)
{
    EXPECT_EQ("a&b<>\"' c", Edited(DecodeEntities, "a&amp;b&lt;&gt;&quot;&apos;&nbsp;c"));
    EXPECT_EQ(u8"ああA×©\U0010FFFF",
              Edited(DecodeEntities, "&#x3042;&#12354;&#65;&times;&copy;&#1114111;"));
    EXPECT_EQ("&lt;", Edited(DecodeEntities, "&amp;lt;"));
    const char* kept = "&amp &#65 &#; &#x; &bogus; &AMP; &#0; &#xD800; &#x110000; &";
    EXPECT_EQ(kept, Edited(DecodeEntities, kept));
    EXPECT_EQ(u8"表<ア", Edited(DecodeEntities, u8"表&lt;ア"));
    EXPECT_EQ("A  B", Edited(CleanTitle, "A / B"));
    EXPECT_EQ("abcde", Edited(CleanTitle, "a:b?c~d\te\r\n"));
    EXPECT_EQ("Q", Edited(CleanTitle, "<Q>*|\"\\"));
    // Malformed bytes (a cut sequence, a stray continuation, an over-long
    // form, a surrogate) and C1 controls go; what follows them stays.
    EXPECT_EQ(u8"xあy", Edited(CleanTitle, "x\xE3\x81" u8"あ\x80\xC0\xAF\xED\xA0\x80\xC2\x85y"));
}

TEST(TitleText, FallbackNamesFromHostOrLeadingRun)
{
    EXPECT_EQ("example.com", Host("http://example.com/path/x"));
    EXPECT_EQ("example.com:8080", Host("http://example.com:8080/x"));
    EXPECT_EQ("exa", Host("http://example.com", 5));
    EXPECT_EQ("", Host("http://example.com", 2));
    EXPECT_EQ("", Host("example.com/x"));
    EXPECT_EQ("", Host("file:///C:/x"));
    EXPECT_EQ("", Host(u8"ftp://表x", 4));
    EXPECT_EQ(u8"表", Host(u8"ftp://表x", 5));
    EXPECT_EQ("Hello, world!", NameRun("Hello, world!\r\nmore"));
    EXPECT_EQ("a", NameRun("a/b"));
    EXPECT_EQ("", NameRun("/abc"));
    EXPECT_EQ(u8"あ", NameRun(u8"あいx", 6));
    EXPECT_EQ(u8"😀é", NameRun(u8"😀é|x", 64));
    EXPECT_EQ("", NameRun(u8"😀x", 4));
    EXPECT_EQ("a", NameRun("a\xE3\x81" "b"));   // stops at a malformed byte
    EXPECT_EQ("ab", NameRun("abc", 3));
    EXPECT_EQ(nullptr, LeadingNameRun(nullptr, nullptr, 8));
}
