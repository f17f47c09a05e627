#include "app/hotkeytext.h"

#include <gtest/gtest.h>

#include <string>

#include "store/textbuf.h"

static std::string Label(int row, const char* text, int columns = kLabelColumns, size_t cap = 128)
{
    char out[128];
    EXPECT_TRUE(MenuLabel(out, cap, row, text, columns)) << text;
    return out;
}

TEST(HotKeyMenuLabel, MnemonicsAmpersandsAndWidth)
{
    EXPECT_EQ("&1 Mail", Label(0, "Mail"));
    EXPECT_EQ("&0 x", Label(9, "x"));
    EXPECT_EQ("&Z x", Label(35, "x"));
    EXPECT_EQ("x", Label(36, "x"));
    EXPECT_EQ("&2 A&&B  c", Label(1, "A&B\t\nc"));
    // Ten wide characters in 8 columns: three of them and "…", a text of
    // the program's form (the label is shown through the wide calls).
    std::string ten;
    for (int i = 0; i < 10; ++i)
        ten += u8"表";
    EXPECT_EQ(u8"表表表…", Label(40, ten.c_str(), 8));
    // A single byte before them: the cut never splits a character.
    EXPECT_EQ(u8"a表表…", Label(40, ("a" + ten).c_str(), 7));
    EXPECT_EQ(ten, Label(40, ten.c_str(), 20));
    char small[5];
    EXPECT_FALSE(MenuLabel(small, sizeof small, 0, "abcdef", 40));
    EXPECT_STREQ("", small);
}

TEST(HotKeyCrLf, LoneLineFeedsOnlyAndTheLimit)
{
    const char* value = "\x88\xa0\n\r\nb\n";
    EXPECT_EQ(strlen("\x88\xa0\r\n\r\nb\r\n") + 1, CrLfSize(value));
    char out[kTextCap];
    ASSERT_TRUE(CopyCrLf(out, sizeof out, value));
    EXPECT_STREQ("\x88\xa0\r\n\r\nb\r\n", out);
    // 1,023 line feeds need 2,047 bytes: one short is refused whole.
    std::string feeds(kTextCap - 1, '\n');
    char big[2 * kTextCap];
    EXPECT_FALSE(CopyCrLf(big, 2 * kTextCap - 2, feeds.c_str()));
    EXPECT_STREQ("", big);
    EXPECT_TRUE(CopyCrLf(big, 2 * kTextCap - 1, feeds.c_str()));
}

TEST(HotKeyKeys, ParseFormatAndModifiers)
{
    KeyCombo combo;
    ASSERT_TRUE(ParseKeyCombo(" shift + INSERT ", &combo));
    EXPECT_EQ(0x2D, combo.vk);
    EXPECT_EQ(kModShift, combo.mods);
    ASSERT_TRUE(ParseKeyCombo("Alt+Ctrl+z", &combo));
    char name[32];
    ASSERT_TRUE(FormatKeyCombo(name, sizeof name, combo));
    EXPECT_STREQ("Ctrl+Alt+Z", name);
    EXPECT_EQ(3u, HotKeyModifiers(combo.mods));   // MOD_ALT | MOD_CONTROL
    for (const char* bad : {"", "Ctrl", "Ctrl+", "V+W", "Ctrl++V", "F25", "Hyper+V"})
        EXPECT_FALSE(ParseKeyCombo(bad, &combo)) << bad;
    EXPECT_FALSE(FormatKeyCombo(name, 10, KeyCombo{'Z', kModCtrl | kModAlt}));
    EXPECT_STREQ("", name);
}

TEST(HotKeyPasteTable, LookupAndEditingRoundTrip)
{
    KeyCombo combo;
    const char* table = "ConsoleWindowClass=Shift+Insert;Edit=Ctrl+V;";
    ASSERT_TRUE(FindPasteKeys(table, "consolewindowclass", &combo));
    EXPECT_EQ(0x2D, combo.vk);
    EXPECT_FALSE(FindPasteKeys(table, "Console", &combo));

    char lines[256], back[256];
    ASSERT_TRUE(PasteTableToLines(table, lines, sizeof lines));
    EXPECT_STREQ("ConsoleWindowClass=Shift+Insert\r\nEdit=Ctrl+V", lines);
    int bad = 7;
    ASSERT_TRUE(PasteTableFromLines("ConsoleWindowClass=Shift+Insert\r\n\r\nEdit=Ctrl+V  \r\n",
                                    back, sizeof back, &bad));
    EXPECT_STREQ(table, back);
    EXPECT_FALSE(PasteTableFromLines("A=Ctrl+V\r\nB;C=Ctrl+V", back, sizeof back, &bad));
    EXPECT_EQ(1, bad);
    EXPECT_FALSE(PasteTableFromLines("=Ctrl+V", back, sizeof back, &bad));
    EXPECT_EQ(0, bad);
    // The table must fit its registry value: one byte short is refused.
    EXPECT_FALSE(PasteTableFromLines("A=Ctrl+V\nB=Ctrl+V", back, 18, &bad));
    EXPECT_EQ(-1, bad);
    EXPECT_TRUE(PasteTableFromLines("A=Ctrl+V\nB=Ctrl+V", back, 19, &bad));
}
