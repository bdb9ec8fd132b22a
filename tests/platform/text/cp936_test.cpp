// Code page 936 (GB18030) <-> UTF-8, bytes kept through a read and a write,
// line splitting, and the names whose second byte in code page 936 is an
// ASCII character.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
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
        RoundTrip{"euro (one byte, as code page 936 has it)", "€", "\x80"},
        RoundTrip{"A2E3 is code page 936's private-use character", "\uE76C", "\xA2\xE3"},
        RoundTrip{"its neighbour A2E4", "\uE76D", "\xA2\xE4"},
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

// The escape of a byte that starts no character (U+DC00 + byte as UTF-8).
std::string esc(unsigned char byte) {
    const char32_t c = 0xDC00 + byte;
    return {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
            static_cast<char>(0x80 | (c & 0x3F))};
}

TEST(Cp936, BytesThatStartNoCharacterReadAsEscapes) {
    struct Case {
        std::string gb;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {"\xFF", "\xED\xB3\xBF"},
        {"|x\xFFy", "|x" + esc(0xFF) + "y"},
        {"a\x81", "a" + esc(0x81)},    // lead byte cut off at the end
        {"\x81 b", esc(0x81) + " b"},  // ASCII after a lead byte is read on its own
        {"\x81\xFF"
         "c",
         esc(0x81) + esc(0xFF) + "c"},                      // bad trail: both bytes kept
        {"\x81\x30\x81\x40", esc(0x81) + "0\xE4\xB8\x82"},  // not four bytes: 8140 is read
        {"\x81\x30\x81", esc(0x81) + "0" + esc(0x81)},      // four-byte code cut off at the end
        {"\x81\x30z", esc(0x81) + "0z"},                    // broken four-byte code
        {"\xFE\x39\xFE\x39", esc(0xFE) + "9" + esc(0xFE) + "9"},  // well formed, no character
        {"\xE3\x32\x9A\x36", esc(0xE3) + "2" + esc(0x9A) + "6"},  // just beyond U+10FFFF
        {"\x83\x36\xC7\x39", esc(0x83) + "6" + esc(0xC7) + "9"},  // GB18030's U+E76C: A2E3 has it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.gb));
        EXPECT_EQ(fromCp936(c.gb), c.utf8);
        EXPECT_EQ(toCp936(c.utf8), c.gb);
        EXPECT_EQ(cp936Length(c.utf8), c.gb.size());
        EXPECT_FALSE(isValidUtf8(c.utf8));  // an escape is not a character
    }
}

// The line breaks of a text as splitLines sees them: one per line, "" after
// a last line that has none.
std::vector<std::string> lineBreaks(std::string_view text) {
    std::vector<std::string> breaks;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t at = text.find_first_of("\r\n", i);
        if (at == std::string_view::npos) {
            breaks.emplace_back();
            break;
        }
        const std::size_t n = text.substr(at, 2) == "\r\n" ? 2 : 1;
        breaks.emplace_back(text.substr(at, n));
        i = at + n;
    }
    return breaks;
}

// Reads bytes the two ways a stored file is read (whole, and line by line),
// writes them back each way, and checks that the bytes come out unchanged.
void expectBytesKept(const std::string& bytes) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    const std::string text = fromCp936(bytes);
    EXPECT_EQ(toCp936(text), bytes);
    EXPECT_EQ(cp936Length(text), bytes.size());
    // Decoded into a text that held something else: the same text.
    std::string reused = "a longer line decoded before this one, 资料";
    fromCp936(bytes, reused);
    EXPECT_EQ(reused, text);

    const std::vector<std::string> lines = linesFromCp936(bytes);
    EXPECT_EQ(lines, splitLines(text));
    const std::vector<std::string> breaks = lineBreaks(bytes);
    ASSERT_EQ(lines.size(), breaks.size());
    std::string written;
    for (std::size_t k = 0; k < lines.size(); ++k) written += toCp936(lines[k]) + breaks[k];
    EXPECT_EQ(written, bytes);
}

TEST(Cp936, ReadAndWrittenBackBytesAreUnchanged) {
    const std::vector<std::string> cases = {
        "",
        "\x80",
        "\xFF",
        "\x81",                  // a lone lead byte at the end
        "abc\xB9",               // the same after ASCII
        "\xB9\r\n\xB9\n\xB9\r",  // ... and before each kind of line break
        "\x81\x7F",              // lead byte with an invalid trail
        "\x81\xFF\xFF\x81",
        "\x81\x30",  // four-byte codes cut off
        "\x81\x30\x81",
        "\x81\x30\r\n\x81\x30",  // ... and broken by a line break
        "\x84\x31\xA5\x30",      // just beyond the four-byte codes of the BMP
        "\xA2\xE3",              // GB18030's euro sign
        "\xA2\xE3\x80\x80\xA2\xE3",
        "\xB9\xE2\xC5\xCC\xD5\x5C\xDF\x5B",  // valid GBK, with ASCII trail bytes
        "\x81\x30\x81\x30\x94\x39\xFC\x36",  // valid four-byte GB18030
        "\xFE\x51\x95\x32\x90\x31",          // a moved character and its four-byte code
        "E:\\\xD7\xCA\xC1\xCF\\a\xFF"
        "b.txt[12]\r\n\x80 \xA2\xE3\r\n\r\nx\x81\r\n",
        "|x\xFFy\r\n#a#1#r&&d#\r\n",
        std::string("a\0\xFF\0b", 5),
    };
    for (const std::string& bytes : cases) expectBytesKept(bytes);
}

TEST(Cp936, DecodingIntoATextGivesTheSameTextAtAnyLength) {
    // Around the length up to which a text is decoded in one run.
    std::string bytes;
    while (bytes.size() < 40000) bytes += "E:\\\xD7\xCA\xC1\xCF\\\xD5\x5C a.txt[12]\r\n";
    for (const std::size_t n :
         {std::size_t{16383}, std::size_t{16384}, std::size_t{16385}, bytes.size()}) {
        std::string text = "x";
        fromCp936(std::string_view(bytes).substr(0, n), text);
        EXPECT_EQ(text, fromCp936(std::string_view(bytes).substr(0, n))) << n;
    }
}

TEST(Cp936, EveryCodeReadAndWrittenBackIsUnchanged) {
    // Each two-byte code and each four-byte code of the BMP alone; with
    // everything else above this shows no two codes read as the same text.
    std::string code(2, '\0');
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
        for (unsigned trail = 0; trail <= 0xFF; ++trail) {
            code[0] = static_cast<char>(lead);
            code[1] = static_cast<char>(trail);
            ASSERT_EQ(toCp936(fromCp936(code)), code) << testing::PrintToString(code);
        }
    }
    code.assign(4, '\0');
    for (unsigned b1 = 0x81; b1 <= 0x84; ++b1) {
        for (unsigned b2 = 0x30; b2 <= 0x39; ++b2) {
            for (unsigned b3 = 0x81; b3 <= 0xFE; ++b3) {
                for (unsigned b4 = 0x30; b4 <= 0x39; ++b4) {
                    code = {static_cast<char>(b1), static_cast<char>(b2), static_cast<char>(b3),
                            static_cast<char>(b4)};
                    ASSERT_EQ(toCp936(fromCp936(code)), code) << testing::PrintToString(code);
                }
            }
        }
    }
}

TEST(Cp936, RandomBytesReadAndWrittenBackAreUnchanged) {
    std::mt19937 random(936);
    // Pieces that make the broken and the valid sequences likely: any byte,
    // digits (the second and fourth bytes of four-byte codes), line breaks,
    // and high bytes.
    auto piece = [&random]() -> char {
        switch (random() % 5) {
            case 0:
                return static_cast<char>(random() % 256);
            case 1:
                return static_cast<char>('0' + random() % 10);
            case 2:
                return "\r\n\\["[random() % 4];
            default:
                return static_cast<char>(0x80 + random() % 128);
        }
    };
    for (int k = 0; k < 4000; ++k) {
        std::string bytes(random() % 40, '\0');
        for (char& b : bytes) b = piece();
        expectBytesKept(bytes);
        if (HasFailure()) break;  // one broken string says enough
    }
}

TEST(Cp936, AnEscapeIsOneCharacter) {
    const std::string text = fromCp936("a\xFF\xB9\xE2\x81");  // a, escape, 光, escape
    ASSERT_EQ(text, "a" + esc(0xFF) + "光" + esc(0x81));
    EXPECT_EQ(len(text), 4u);
    EXPECT_EQ(mid(text, 2, 1), esc(0xFF));
    EXPECT_EQ(mid(text, 3), "光" + esc(0x81));
    EXPECT_EQ(left(text, 2), "a" + esc(0xFF));
    EXPECT_EQ(right(text, 1), esc(0x81));
    EXPECT_EQ(inStr(text, "光"), 3u);
    EXPECT_EQ(inStr(text, esc(0x81)), 4u);
    EXPECT_EQ(inStrRev(text, esc(0xFF)), 2u);
    EXPECT_EQ(charPosOfByte(text, 4), 3u);  // the byte after the escape
    EXPECT_EQ(byteOfCharPos(text, 3), 4u);
    EXPECT_EQ(cp936Length(mid(text, 2, 1)), 1u);
    EXPECT_EQ(toCp936(mid(text, 2, 2)), "\xFF\xB9\xE2");
}

TEST(Cp936, InvalidUtf8EncodesAsQuestionMark) {
    EXPECT_EQ(toCp936("a\xFF"
                      "b"),
              "a?b");
    EXPECT_EQ(toCp936("\xE4\xB8"), "??");          // cut character
    EXPECT_EQ(toCp936("\xED\xA0\x80"), "???");     // a surrogate is not a character
    EXPECT_EQ(toCp936("\xED\xB2\x7F"), "??\x7F");  // nor an escape cut short
    // Only U+DC80..U+DCFF are escapes; the surrogates beside them are not.
    EXPECT_EQ(toCp936("\xED\xB1\xBF\xED\xB4\x80"), "??????");
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
        "\x81\r\n\x81\x30\n\x81\x30\x81\r\x80\n\xFF\r",    // broken codes just before breaks
        "\xFF" + std::string(40000, '\x81') + "\r\n\x81",  // escapes beyond one piece
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
    EXPECT_LT(compareText("€", "啊"), 0);  // 80 before B0A1
    // Escaped bytes compare as the bytes they stand for.
    EXPECT_LT(compareText(fromCp936("\x81"), fromCp936("\xFE")), 0);
    EXPECT_GT(compareText(fromCp936("\xB1"), "啊"), 0);  // B1 after B0A1
    EXPECT_LT(compareText(fromCp936("\xB0"), "啊"), 0);  // B0 before B0A1
}

}  // namespace
}  // namespace platform::text
