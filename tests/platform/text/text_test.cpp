// The character-counting string helpers and the number helpers.
#include "platform/text/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/error.h"
#include "support/error_of.h"

namespace platform::text {
namespace {

// "E:\资料\a😀b.txt": 3 ASCII, 2 hanzi, 2 ASCII, 1 emoji, 5 ASCII = 13 characters.
const std::string kMixed = "E:\\资料\\a😀b.txt";

TEST(CharacterHelpers, CountCharactersNotBytes) {
    EXPECT_EQ(len(""), 0u);
    EXPECT_EQ(len(kMixed), 13u);
    EXPECT_EQ(len("光盘"), 2u);

    EXPECT_EQ(left(kMixed, 5), "E:\\资料");
    EXPECT_EQ(left(kMixed, 0), "");
    EXPECT_EQ(left(kMixed, 99), kMixed);
    EXPECT_EQ(right(kMixed, 6), "😀b.txt");
    EXPECT_EQ(right(kMixed, 0), "");
    EXPECT_EQ(right(kMixed, 99), kMixed);

    EXPECT_EQ(mid(kMixed, 4, 2), "资料");
    EXPECT_EQ(mid(kMixed, 8), "😀b.txt");
    EXPECT_EQ(mid(kMixed, 8, 1), "😀");
    EXPECT_EQ(mid(kMixed, 13), "t");
    EXPECT_EQ(mid(kMixed, 14), "");
    EXPECT_EQ(mid(kMixed, 99, 3), "");
}

TEST(CharacterHelpers, SearchPositionsAreCharacters) {
    struct Case {
        std::string haystack;
        std::string needle;
        std::size_t start;
        std::size_t expected;
    };
    const std::vector<Case> cases = {
        {kMixed, "\\", 1, 3},    {kMixed, "\\", 4, 6}, {kMixed, "\\", 7, 0},
        {kMixed, "b.txt", 1, 9}, {kMixed, "料", 1, 5}, {kMixed, "料", 5, 5},
        {kMixed, "料", 6, 0},    {kMixed, "E", 1, 1},  {kMixed, "e", 1, 0},  // case matters
        {kMixed, "", 4, 4},      {kMixed, "", 14, 14}, {kMixed, "", 15, 0},
        {kMixed, "t", 99, 0},    {"", "a", 1, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(inStr(c.haystack, c.needle, c.start), c.expected)
            << c.haystack << " / " << c.needle << " from " << c.start;
    }
    EXPECT_EQ(inStrRev(kMixed, "\\"), 6u);
    EXPECT_EQ(inStrRev(kMixed, "t"), 13u);
    EXPECT_EQ(inStrRev(kMixed, "资"), 4u);
    EXPECT_EQ(inStrRev(kMixed, "z"), 0u);
    EXPECT_EQ(inStrRev("", "x"), 0u);
}

TEST(CharacterHelpers, BytePositionConversions) {
    // Bytes: E : \ 资(3) 料(3) \ a 😀(4) b ...
    EXPECT_EQ(byteOfCharPos(kMixed, 1), 0u);
    EXPECT_EQ(byteOfCharPos(kMixed, 4), 3u);
    EXPECT_EQ(byteOfCharPos(kMixed, 5), 6u);
    EXPECT_EQ(byteOfCharPos(kMixed, 9), 15u);
    EXPECT_EQ(byteOfCharPos(kMixed, 14), kMixed.size());
    EXPECT_EQ(byteOfCharPos(kMixed, 99), kMixed.size());
    EXPECT_EQ(charPosOfByte(kMixed, 0), 1u);
    EXPECT_EQ(charPosOfByte(kMixed, 6), 5u);
    EXPECT_EQ(charPosOfByte(kMixed, 15), 9u);
    EXPECT_EQ(charPosOfByte(kMixed, kMixed.size()), 14u);
}

TEST(CharacterHelpers, CaseFoldsAsciiOnly) {
    EXPECT_EQ(lcase("ABC资料XyZ.TXT"), "abc资料xyz.txt");
    EXPECT_EQ(ucase("abc资料XyZ.txt"), "ABC资料XYZ.TXT");
    EXPECT_EQ(lcase("ÀÉ"), "ÀÉ");  // not ASCII: unchanged, so lengths never change
    EXPECT_EQ(ucase("àé"), "àé");

    // Every byte at every place of a text longer than a word: only A-Z change.
    for (unsigned b = 0; b < 256; ++b) {
        for (std::size_t at = 0; at < 19; ++at) {
            std::string s(19, 'Q');
            s[at] = static_cast<char>(b);
            std::string want(19, 'q');
            want[at] = b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : static_cast<char>(b);
            ASSERT_EQ(lcase(s), want) << b << " at " << at;
            lcaseInPlace(s);
            ASSERT_EQ(s, want) << b << " at " << at;
        }
    }
}

TEST(CharacterHelpers, PrefixIgnoringCaseFoldsAsciiLettersOnly) {
    struct Case {
        const char* s;
        const char* prefix;
        bool starts;
    };
    for (const Case& c : std::vector<Case>{{"E:\\Docs\\a.txt", "e:\\docs\\", true},
                                           {"e:\\docs", "E:\\DOCS\\", false},
                                           {"许多", "许", true},
                                           // Raw bytes: an ASCII letter folds even
                                           // as a trail byte; bytes above ASCII never.
                                           {"\xD4\x53", "\xD4\x73", true},
                                           {"\xC4", "\xE4", false},
                                           {"", "", true}})
        EXPECT_EQ(startsWithIgnoringCase(c.s, c.prefix), c.starts) << c.s << " " << c.prefix;
}

TEST(CharacterHelpers, TrimCutsSpacesOnly) {
    EXPECT_EQ(trim("  资料 a  "), "资料 a");
    EXPECT_EQ(ltrim("  资料  "), "资料  ");
    EXPECT_EQ(rtrim("  资料  "), "  资料");
    EXPECT_EQ(trim("    "), "");
    EXPECT_EQ(trim(""), "");
    EXPECT_EQ(trim("\tx\r\n"), "\tx\r\n");
    EXPECT_EQ(trim("\u3000资\u3000"), "\u3000资\u3000");  // the ideographic space is not a blank
}

TEST(CharacterHelpers, ReplaceAndSplit) {
    EXPECT_EQ(replace("a&&b&&", "&&", "#"), "a#b#");
    EXPECT_EQ(replace("资料资料", "资", "文"), "文料文料");
    EXPECT_EQ(replace("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(replace("abc", "", "x"), "abc");
    EXPECT_EQ(split("#名#1#备注&&2024-1-2#", "#"),
              (std::vector<std::string>{"", "名", "1", "备注&&2024-1-2", ""}));
    EXPECT_EQ(split("", "#"), (std::vector<std::string>{""}));
    EXPECT_EQ(split("a&&b", "&&"), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(startsWith("资料夹", "资料"));
    EXPECT_FALSE(startsWith("资", "资料"));
    EXPECT_TRUE(endsWith("a.WCD", ".WCD"));
    EXPECT_FALSE(endsWith("a.wcd", ".WCD"));
}

TEST(Numbers, ValReadsTheLeadingNumber) {
    struct Case {
        std::string text;
        double value;
    };
    const std::vector<Case> cases = {
        {"", 0},         {"abc", 0},       {"12", 12},
        {"  12abc", 12}, {"\t7", 7},       {"-3.5e2x", -350},
        {"+4", 4},       {"1.5", 1.5},     {".5", 0.5},
        {"-.25", -0.25}, {"5.", 5},        {".", 0},
        {"-", 0},        {"1e", 1},        {"1e+", 1},
        {"2E3", 2000},   {"1.5e-1", 0.15}, {"12 34", 12},
        {"0012", 12},    {"1e-999", 0},    {"123456789012", 123456789012.0},
        {"3资料", 3},    {"资料3", 0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(val(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(Numbers, ValOfAHugeNumberIsAnOverflow) {
    EXPECT_EQ(testsupport::errorOf([] { val("1e999"); }), platform::err::Overflow);
}

TEST(Numbers, Format2) {
    struct Case {
        double value;
        const char* text;
    };
    const std::vector<Case> cases = {
        {0, "0.00"},
        {1.5, "1.50"},
        {-1.5, "-1.50"},
        {0.125, "0.13"},
        {2.675, "2.68"},
        {1.005, "1.01"},
        {-0.125, "-0.13"},
        {0.004, "0.00"},
        {-0.004, "0.00"},
        {0.005, "0.01"},
        {9.995, "10.00"},
        {99.999, "100.00"},
        {1234567.891, "1234567.89"},
        {1e20, "100000000000000000000.00"},
        {0.1 + 0.2, "0.30"},
        {1e-300, "0.00"},
        {1023.99, "1023.99"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(format2(c.value), c.text) << c.value;
    }
}

}  // namespace
}  // namespace platform::text
