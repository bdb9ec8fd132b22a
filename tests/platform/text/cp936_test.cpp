// Code page 936 (GB18030) <-> UTF-8, line splitting, and the names whose
// second byte in code page 936 is an ASCII character.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text/text.h"

namespace platform::text {
namespace {

struct RoundTrip {
    const char* what;
    std::string utf8;
    std::string gb;
};

class Cp936RoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(Cp936RoundTrip, EncodesDecodesAndCounts) {
    const RoundTrip& c = GetParam();
    EXPECT_EQ(toCp936(c.utf8), c.gb);
    EXPECT_EQ(fromCp936(c.gb), c.utf8);
    EXPECT_EQ(cp936Length(c.utf8), c.gb.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp936RoundTrip,
    ::testing::Values(
        RoundTrip{"empty", "", ""},
        RoundTrip{"ascii", "E:\\docs\\readme.txt[1234]\r\n", "E:\\docs\\readme.txt[1234]\r\n"},
        RoundTrip{"gbk hanzi", "光盘中文", "\xB9\xE2\xC5\xCC\xD6\xD0\xCE\xC4"},
        RoundTrip{"latin in gbk", "é·", "\xA8\xA6\xA1\xA4"},
        RoundTrip{"euro (written as GB18030 writes it)", "€", "\xA2\xE3"},
        RoundTrip{"user-defined area", "\uE000", "\xAA\xA1"},
        RoundTrip{"four bytes in the BMP", "\u0080\uFFFF", "\x81\x30\x81\x30\x84\x31\xA4\x39"},
        RoundTrip{"emoji", "😀", "\x94\x39\xFC\x36"},
        RoundTrip{"CJK extension B", "𠀀", "\x95\x32\x82\x36"},
        RoundTrip{"mixed", "a光b😀c",
                  "a\xB9\xE2"
                  "b\x94\x39\xFC\x36"
                  "c"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(Cp936, SingleByte80ReadsAsEuro) {
    EXPECT_EQ(fromCp936("\x80"), "€");
    EXPECT_EQ(fromCp936("1\x80"
                        "2"),
              "1€2");
}

TEST(Cp936, InvalidInputDecodesToReplacementCharacter) {
    struct Case {
        std::string gb;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {"\xFF", "\uFFFD"},
        {"a\x81", "a\uFFFD"},    // lead byte cut off at the end
        {"\x81 b", "\uFFFD b"},  // ASCII after a lead byte is kept
        {"\x81\xFF"
         "c",
         "\uFFFD"
         "c"},  // bad trail
        {"\x81\x30\x81",
         "\uFFFD"
         "0\uFFFD"},  // four-byte code cut off at the end
        {"\x81\x30z",
         "\uFFFD"
         "0z"},                          // broken four-byte code: the rest is read again
        {"\xFE\x39\xFE\x39", "\uFFFD"},  // well formed, but no character
        {"\xE3\x32\x9A\x36", "\uFFFD"},  // just beyond U+10FFFF
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fromCp936(c.gb), c.utf8) << testing::PrintToString(c.gb);
        EXPECT_TRUE(isValidUtf8(fromCp936(c.gb)));
    }
}

TEST(Cp936, InvalidUtf8EncodesAsQuestionMark) {
    EXPECT_EQ(toCp936("a\xFF"
                      "b"),
              "a?b");
    EXPECT_EQ(toCp936("\xE4\xB8"), "??");       // cut character
    EXPECT_EQ(toCp936("\xED\xA0\x80"), "???");  // a surrogate is not a character
    EXPECT_EQ(cp936Length("a\xFF"
                          "b"),
              3u);
}

TEST(Cp936, EveryCharacterRoundTrips) {
    std::string all;
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        if (c < 0x80) {
            all.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            all.push_back(static_cast<char>(0xC0 | (c >> 6)));
            all.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            all.push_back(static_cast<char>(0xE0 | (c >> 12)));
            all.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            all.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            all.push_back(static_cast<char>(0xF0 | (c >> 18)));
            all.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            all.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            all.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    const std::string gb = toCp936(all);
    EXPECT_EQ(std::count(gb.begin(), gb.end(), '?'), 1);  // only "?" itself: nothing was lost
    EXPECT_EQ(cp936Length(all), gb.size());
    EXPECT_TRUE(fromCp936(gb) == all);
}

TEST(Cp936, IsValidUtf8) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("plain ascii text, longer than eight bytes"));
    EXPECT_TRUE(isValidUtf8("资料😀"));
    EXPECT_FALSE(isValidUtf8("\xB9\xE2"));          // code page 936 bytes
    EXPECT_FALSE(isValidUtf8("abc\xC0\xAF"));       // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
}

TEST(SplitLines, BreaksAtCrLfLoneLfAndLoneCr) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"\r\n", {""}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},  // LF CR is two breaks
        {"a\r\r\n", {"a", ""}},
        {"a\n\n", {"a", ""}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(splitLines(c.text), c.lines) << testing::PrintToString(c.text);
    }
}

TEST(LinesFromCp936, SameAsDecodingThenSplitting) {
    const std::vector<std::string> texts = {
        "",
        "\r\n",
        "E:\\\xD7\xCA\xC1\xCF\\a.txt[12]\r\nb\nc\rd",
        "\x81\r\n\x81\x30\n\x81\x30\x81\r\x80\n\xFF\r",  // broken codes just before breaks
        "\x94\x39\xFC\x36\r\n" + std::string(20000, 'a') + "\xB9\xE2\r\n\r\n",
    };
    for (const std::string& t : texts) {
        EXPECT_EQ(linesFromCp936(t), splitLines(fromCp936(t))) << testing::PrintToString(t);
    }
}

// Names whose second byte in code page 936 is "\", "[", or an ASCII letter.
struct TrapName {
    std::string utf8;
    std::string gb;
    char asciiTrail;  // the ASCII character hidden inside a Chinese one
};

const std::vector<TrapName>& trapNames() {
    static const std::vector<TrapName> names = {
        {"誠品.txt", "\xD5\x5C\xC6\xB7.txt", '\\'},
        {"遊戲[1].exe", "\xDF\x5B\x91\xF2[1].exe", '['},
        {"資料夾", "\xD9\x59\xC1\xCF\x8A\x41", 'A'},
        {"許可.doc", "\xD4\x53\xBF\xC9.doc", 'S'},
    };
    return names;
}

TEST(TrailByteTraps, NamesSurviveWriteReadSplitAndCaseFold) {
    for (const TrapName& n : trapNames()) {
        SCOPED_TRACE(n.utf8);
        const std::string gb = toCp936(n.utf8);
        ASSERT_EQ(gb, n.gb);
        ASSERT_NE(gb.find(n.asciiTrail), std::string::npos);  // the trap is really there

        // An index-like line: folder, name, size in brackets.
        const std::string line = "E:\\" + n.utf8 + "\\" + n.utf8 + "[12]";
        const std::vector<std::string> lines = splitLines(fromCp936(toCp936(line + "\r\n" + line)));
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], line);
        EXPECT_EQ(lines[1], line);

        EXPECT_EQ(split(line, "\\"), (std::vector<std::string>{"E:", n.utf8, n.utf8 + "[12]"}));
        const std::size_t bracket = inStrRev(line, "[");
        EXPECT_EQ(mid(line, bracket + 1), "12]");
        EXPECT_EQ(left(line, bracket - 1), "E:\\" + n.utf8 + "\\" + n.utf8);
        EXPECT_EQ(fromCp936(toCp936(lcase(n.utf8))), lcase(n.utf8));
        EXPECT_EQ(lcase(n.utf8).substr(0, 6), n.utf8.substr(0, 6));  // the Chinese untouched
        EXPECT_EQ(toCp936(ucase(n.utf8)).substr(0, 4), n.gb.substr(0, 4));
    }
}

TEST(TrailByteTraps, SearchFindsNoCharacterAcrossTwoOthers) {
    // In code page 936, 馀 (E2 C5) sits inside 光盘 (B9 E2 C5 CC).
    ASSERT_NE(toCp936("光盘").find(toCp936("馀")), std::string::npos);
    EXPECT_EQ(inStr("我的光盘目录", "馀"), 0u);
    EXPECT_EQ(inStrRev("我的光盘目录", "馀"), 0u);
    EXPECT_EQ(replace("光盘", "馀", "x"), "光盘");
    EXPECT_EQ(split("光盘", "馀").size(), 1u);
}

TEST(CompareText, FoldsAsciiCaseThenComparesCodePage936Bytes) {
    EXPECT_EQ(compareText("abc", "ABC"), 0);
    EXPECT_LT(compareText("abc", "abd"), 0);
    EXPECT_GT(compareText("b", "A"), 0);
    EXPECT_LT(compareText("ab", "abc"), 0);
    EXPECT_LT(compareText("_a", "a"), 0);   // folded to lower case
    EXPECT_LT(compareText("z", "啊"), 0);   // ASCII before hanzi
    EXPECT_LT(compareText("啊", "吧"), 0);  // B0A1 < B0C9: pinyin order
    EXPECT_LT(compareText("吧", "中"), 0);
    EXPECT_GT(compareText("中", "吧"), 0);
    EXPECT_GT(compareText("中", "😀"), 0);  // D6D0 after 9439FC36: bytes, not code points
}

}  // namespace
}  // namespace platform::text
