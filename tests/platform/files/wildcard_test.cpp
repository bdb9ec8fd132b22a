#include <gtest/gtest.h>

#include "platform/files/listing.h"

namespace {

using platform::files::listsBefore;
using platform::files::matchesPattern;

struct MatchCase {
    const char* name;
    const char* pattern;
    bool matches;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << '"' << c.name << "\" ~ \"" << c.pattern << "\" -> "
        << (c.matches ? "match" : "no match");
}

class Wildcards : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Wildcards, MatchLikeTheFindCall) {
    const auto& c = GetParam();
    EXPECT_EQ(matchesPattern(c.name, c.pattern), c.matches)
        << "name \"" << c.name << "\" pattern \"" << c.pattern << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Table, Wildcards,
    ::testing::Values(
        // "*" and "*.*" match every name, with or without a dot.
        MatchCase{"readme.txt", "*", true}, MatchCase{"readme", "*.*", true},
        MatchCase{".hidden", "*.*", true}, MatchCase{"a.b.c", "*.*", true},
        // Case does not matter (ASCII letters).
        MatchCase{"SONG.MP3", "*.mp3", true}, MatchCase{"song.mp3", "*.MP3", true},
        MatchCase{"song.mp3x", "*.mp3", false}, MatchCase{"mp3", "*.mp3", false},
        // No short-name matches: "*.htm" does not find ".html".
        MatchCase{"index.html", "*.htm", false}, MatchCase{"index.htm", "*.htm", true},
        // "?" is one character, a Chinese character too.
        MatchCase{"a1.txt", "a?.txt", true}, MatchCase{"a.txt", "a?.txt", false},
        MatchCase{"a12.txt", "a?.txt", false}, MatchCase{"光盘.txt", "光?.txt", true},
        MatchCase{"光盘.txt", "??.txt", true}, MatchCase{"光盘.txt", "?.txt", false},
        // Star runs backtrack.
        MatchCase{"abcabd", "*abd", true}, MatchCase{"abcab", "a*b*b", true},
        MatchCase{"遊戲[1].exe", "*[1]*", true}, MatchCase{"誠品.txt", "*品.TXT", true},
        // A trailing ".*" also matches the name without a dot.
        MatchCase{"readme", "readme.*", true}, MatchCase{"readme.txt", "readme.*", true},
        MatchCase{"readmes", "readme.*", false},
        // A trailing "." matches names without a dot.
        MatchCase{"readme", "*.", true}, MatchCase{"readme.txt", "*.", false},
        MatchCase{"abc", "abc.", true},
        // Literal names and the empty pattern.
        MatchCase{"Setup.EXE", "setup.exe", true}, MatchCase{"setup.exe", "setup.ex", false},
        MatchCase{"anything", "", false}));

TEST(ListingOrder, ByUpperCasedNameThenBytes) {
    EXPECT_TRUE(listsBefore("a.txt", "B.txt"));  // case folded
    EXPECT_TRUE(listsBefore("Z", "_"));          // "_" after the upper-case letters
    EXPECT_TRUE(listsBefore("A", "a"));          // a fixed order for names alike but for case
    EXPECT_FALSE(listsBefore("a", "A"));
    EXPECT_TRUE(listsBefore("ab", "abc"));
    EXPECT_TRUE(listsBefore("zz", "光盘"));
}

}  // namespace
