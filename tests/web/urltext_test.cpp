// URLs percent-encoded as UTF-8 for browsers and Internet Shortcuts.
#include "web/urltext.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string Encoded(const char* url, size_t cap = 128, KeepUrlCharFn keep = nullptr)
{
    char out[128] = "junk";
    bool fits = PercentEncodeUrl(url, out, cap, keep);
    EXPECT_EQ(fits, out[0] != '\0' || (url && !url[0]));
    return fits ? out : "<none>";
}

// Keeps the three-byte characters, as code page 932 keeps its kana.
bool KeepThreeBytes(const char*, size_t length)
{
    return length == 3;
}
}  // namespace

TEST(UrlText, OnlyNonAsciiBytesAreEscapedAndOnlyWhole)
{
    EXPECT_EQ("http://a/b?q=1%20&x=~#f", Encoded("http://a/b?q=1%20&x=~#f"));
    EXPECT_EQ("http://a/caf%C3%A9%F0%9F%98%80%ED%95%9C", Encoded(u8"http://a/café😀한"));
    EXPECT_EQ("a%FFb%E3%81", Encoded("a\xFF" "b\xE3\x81"));   // malformed bytes, one by one
    EXPECT_EQ(u8"/あ%C3%A9%F0%9F%98%80", Encoded(u8"/あé😀", 128, KeepThreeBytes));
    // "a%C3%A9" is 7 bytes: 8 hold it, 7 do not, and no cut URL is given.
    EXPECT_EQ("a%C3%A9", Encoded(u8"aé", 8));
    EXPECT_EQ("<none>", Encoded(u8"aé", 7));
    EXPECT_EQ("<none>", Encoded("ab", 2));
    EXPECT_EQ("<none>", Encoded(nullptr));
}
