// The catalogue search's own rules: taking the query apart, choosing the
// discs of a location, the disc remarks of the catalogue file and the
// remarks and usage notes of a disc's note files.
#include "search/search.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "discpage/note_file.h"
#include "platform/text/text.h"

namespace search {
namespace {

TEST(SplitQuery, FirstMarkerInOrderSplitsAndNothingIsTrimmed) {
    struct Case {
        std::string text;
        std::string first;
        Operator op;
        std::string second;
    };
    const Case cases[] = {
        {"a(与)b(或)c", "a", Operator::And, "b(或)c"},
        {"a(非)b(与)c", "a(非)b", Operator::And, "c"},  // "与" is looked for first
        {"a(或)b(非)c", "a", Operator::Or, "b(非)c"},
        {"a(非)b", "a", Operator::Not, "b"},
        {"a(和)b", "a(和)b", Operator::Single, ""},
        {"(非)x", "", Operator::Not, "x"},
        {"a(或)", "a", Operator::Or, ""},
        {" a (或) b ", " a ", Operator::Or, " b "},
        {"歌曲(与)流行", "歌曲", Operator::And, "流行"},
        {"a(与)b(与)c", "a", Operator::And, "b(与)c"},
        {"", "", Operator::Single, ""},
    };
    for (const Case& c : cases) {
        const Query q = splitQuery(c.text);
        EXPECT_EQ(q.first, c.first) << c.text;
        EXPECT_EQ(q.op, c.op) << c.text;
        EXPECT_EQ(q.second, c.second) << c.text;
    }
}

TEST(LocationPrefix, TheLocationWithoutItsRoot) {
    EXPECT_EQ(locationPrefix("所有"), "");
    EXPECT_EQ(locationPrefix("所有\\Music"), "Music");
    EXPECT_EQ(locationPrefix("所有\\音乐\\[003]CD1"), "音乐\\[003]CD1");
}

TEST(LocationTakes, WholePathOrBelowIt) {
    struct Case {
        std::string fullPath;
        std::string prefix;
        bool taken;
    };
    const Case cases[] = {
        {"Music\\CD1", "Music", true},
        {"Music\\Pop\\CD1", "Music", true},
        {"Music2\\CD1", "Music", false},
        {"Music", "Music", true},
        {"Mus", "Music", false},
        {"music\\CD1", "Music", false},
        {"Music\\CD1", "Music\\CD1", true},
        {"Music\\CD10", "Music\\CD1", false},
        {"Music\\CD1", "Music\\", true},
        {"音乐\\CD1", "音乐", true},
        {"音乐会\\CD1", "音乐", false},
        {"Music2\\CD1", "", true},
        {"", "", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(locationTakes(c.fullPath, c.prefix), c.taken) << c.fullPath << " / " << c.prefix;
}

// ---- disc remarks ----

// Category lines, a disc with an empty remark, a Chinese disc.
const std::string kCatalogue =
    "|Music\r\n"
    "#CD1#1#Beatles Live&&2003-5-1#\r\n"
    "@Pop\r\n"
    "#CD2#2#&&2004-1-1#\r\n"
    "#歌曲#003#流行 beatles 許多&&2005-2-2#\r\n"
    "|Soft\r\n";

std::vector<std::string> discs(const std::vector<RemarkHit>& hits) {
    std::vector<std::string> names;
    for (const RemarkHit& h : hits) names.push_back(h.disc);
    return names;
}

using Names = std::vector<std::string>;

TEST(SearchDiscRemarks, RemarkFieldOnly) {
    struct Case {
        std::string term;
        bool caseSensitive;
        Names expected;
    };
    const Case cases[] = {
        {"Beatles", false, {"CD1", "歌曲"}},
        {"BEATLES", false, {"CD1", "歌曲"}},
        {"Beatles", true, {"CD1"}},
        {"beatles", true, {"歌曲"}},
        {"&&", false, {"CD1", "CD2", "歌曲"}},
        {"", false, {"CD1", "CD2", "歌曲"}},
        {"2004", false, {"CD2"}},  // the purchase date is part of the field
        {"流行", true, {"歌曲"}},
        {"Music", false, {}},  // category lines hold no disc
        {"Pop", false, {}},
        {"CD", false, {}},  // names and numbers are not searched
        {"#", false, {}},
        {"S", true, {}},  // never inside a Chinese character (許 is D4 53 in GBK)
    };
    for (const Case& c : cases)
        EXPECT_EQ(discs(searchDiscRemarks(kCatalogue, c.term, c.caseSensitive)), c.expected)
            << c.term << " " << c.caseSensitive;
}

using RemarkRows = std::vector<std::tuple<std::string, std::string, std::string>>;

RemarkRows remarkRows(const std::string& text, const std::string& term, bool caseSensitive) {
    RemarkRows out;
    for (const RemarkHit& h : searchDiscRemarks(text, term, caseSensitive))
        out.emplace_back(h.disc, h.number, h.remark);
    return out;
}

TEST(SearchDiscRemarks, RowsHoldNameNumberAndFieldAsStored) {
    EXPECT_EQ(remarkRows(kCatalogue, "live", false),
              (RemarkRows{{"CD1", "1", "Beatles Live&&2003-5-1"}}));
    EXPECT_EQ(remarkRows(kCatalogue, "許", true),
              (RemarkRows{{"歌曲", "003", "流行 beatles 許多&&2005-2-2"}}));
}

TEST(SearchDiscRemarks, WalkEndsWhenFewerThanFourHashesRemain) {
    // A stray "#" in a remark shifts the record after it; the last "#" left
    // over ends the walk.
    const std::string shifted =
        "#A#1#x&&d#\r\n"
        "#B#2#x#y&&d#\r\n"
        "#C#3#x&&d#\r\n";
    EXPECT_EQ(remarkRows(shifted, "x", true), (RemarkRows{{"A", "1", "x&&d"}, {"B", "2", "x"}}));
    // The record after the shift is read from the wrong fields: its name is
    // the line break, its remark the next disc's number.
    EXPECT_EQ(remarkRows(shifted, "3", true), (RemarkRows{{"\r\n", "C", "3"}}));
    EXPECT_EQ(discs(searchDiscRemarks("#A#1#x&&d#\r\n|c#t\r\n", "x", true)), Names{"A"});
    EXPECT_EQ(discs(searchDiscRemarks("#A#1#x&&d", "x", true)), Names{});
    EXPECT_TRUE(searchDiscRemarks("", "", false).empty());
    EXPECT_TRUE(searchDiscRemarks("|Music\r\n@Pop\r\n", "", false).empty());
}

// ---- remarks and usage notes ----

const std::string N(discpage::NoteMarker);
const std::string X(discpage::UsageMarker);
const std::string D = "[003]Tools";

// A term in a key, several occurrences in one note, a note of two lines, a
// note holding "==", a last record without its own line break.
const std::string kNotes = "\r\n" +                                                       //
                           N + D + "\\E:\\setup\\readme.txt==Install notes\r\n" +         //
                           N + D + "\\E:\\setup.exe==run setup twice, setup again\r\n" +  //
                           N + D + "\\E:\\docs\\a.txt==Line one\r\nline TWO\r\n" +        //
                           N + D + "\\E:\\eq.txt==x==setup\r\n" +                         //
                           N + D + "\\E:\\last.txt==the last one\r\n";

using Rows = std::vector<std::pair<std::string, std::string>>;

Rows rows(const std::string& text, const std::string& marker, const std::string& disc,
          const std::string& query, bool caseSensitive = false) {
    Rows out;
    for (const NoteHit& h : searchNotes(text, marker, disc, splitQuery(query), caseSensitive))
        out.emplace_back(h.path, h.text);
    return out;
}

const std::pair<std::string, std::string> kReadme{"E:\\setup\\readme.txt", "Install notes"};
const std::pair<std::string, std::string> kSetup{"E:\\setup.exe", "run setup twice, setup again"};
const std::pair<std::string, std::string> kA{"E:\\docs\\a.txt", "Line one\r\nline TWO"};
const std::pair<std::string, std::string> kEq{"E:\\eq.txt", "x==setup"};
const std::pair<std::string, std::string> kLast{"E:\\last.txt", "the last one"};

TEST(SearchNotes, OnlyTheNoteTextCounts) {
    struct Case {
        std::string query;
        bool caseSensitive;
        Rows expected;
    };
    const Case cases[] = {
        // In keys and notes: one row per record, never for the key alone.
        {"setup", false, {kSetup, kEq}},
        {"readme", false, {}},
        {"E:\\", false, {}},
        {"docs", false, {}},
        // Record markers and the line break that ends a record count for nothing.
        {"note", false, {kReadme}},
        {"#", false, {}},
        {"@", false, {}},
        {"again\r\n@", false, {}},
        {"one\r\n", false, {kA}},  // a line break inside a note counts
        {"==", false, {kEq}},
        {"x==", false, {kEq}},
        {"install", false, {kReadme}},
        {"INSTALL", false, {kReadme}},
        {"install", true, {}},
        {"Install", true, {kReadme}},
        {"", false, {kReadme, kSetup, kA, kEq, kLast}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rows(kNotes, N, D, c.query, c.caseSensitive), c.expected)
            << c.query << " " << c.caseSensitive;
}

TEST(SearchNotes, Operators) {
    struct Case {
        std::string query;
        bool caseSensitive;
        Rows expected;
    };
    const Case cases[] = {
        {"setup(与)twice", false, {kSetup}},
        {"setup(与)TWICE", false, {kSetup}},
        {"setup(与)TWICE", true, {}},
        {"setup(与)eq", false, {}},  // the second term in a key counts for nothing
        {"setup(非)twice", false, {kEq}},
        {"setup(非)exe", false, {kSetup, kEq}},
        {"(非)setup", false, {kReadme, kA, kLast}},
        {"setup(与)", false, {kSetup, kEq}},
        {"setup(非)", false, {}},
        {"twice(或)last", false, {kSetup, kLast}},
        // A record holding both terms is listed in each pass...
        {"setup(或)twice", false, {kSetup, kEq, kSetup}},
        {"one(或)setup", false, {kA, kLast, kSetup, kEq}},
        // ...but not again when it ended pass 1 and begins pass 2.
        {"twice(或)again", false, {kSetup}},
        {"last(或)one", false, {kLast, kA, kLast}},
        {"nowhere(或)two", false, {kA}},
        {"TWO(或)nowhere", true, {kA}},
        {"two(或)nowhere", true, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rows(kNotes, N, D, c.query, c.caseSensitive), c.expected)
            << c.query << " " << c.caseSensitive;
}

TEST(SearchNotes, LastRecordReadsWithoutTheFilesLineBreak) {
    EXPECT_EQ(rows(kNotes, N, D, "last"), Rows{kLast});
    // Without the final line break, or with a lone LF, the text is the same.
    const std::string bare = N + D + "\\E:\\a==one\r\n" + N + D + "\\E:\\b==two";
    EXPECT_EQ(rows(bare, N, D, "o"), (Rows{{"E:\\a", "one"}, {"E:\\b", "two"}}));
    EXPECT_EQ(rows(N + D + "\\E:\\b==two\n", N, D, "two"), (Rows{{"E:\\b", "two"}}));
    EXPECT_EQ(rows(N + D + "\\E:\\b==two\r\n", N, D, "two\r"), Rows{});
}

TEST(SearchNotes, UsageFileAndItsMarker) {
    const std::string usage = X + D + "\\E:\\game.exe==exam on Monday\r\n" +  //
                              X + D + "\\E:\\tool.exe==for work\r\n";
    EXPECT_EQ(rows(usage, X, D, "exam"), (Rows{{"E:\\game.exe", "exam on Monday"}}));
    EXPECT_EQ(rows(usage, X, D, "exe"), Rows{});
    EXPECT_EQ(rows(usage, X, D, "work"), (Rows{{"E:\\tool.exe", "for work"}}));
    // The remark marker starts no record in a usage file.
    EXPECT_EQ(rows(usage, N, D, "work"), Rows{});
}

TEST(SearchNotes, ReadAsTheNoteReadersReadIt) {
    // A marker that starts no record of this file is part of the text before it.
    const std::string mixed = X + D + "\\E:\\a==one\r\n" + N + D + "\\E:\\b==two\r\n";
    EXPECT_EQ(rows(mixed, X, D, "two"), (Rows{{"E:\\a", "one\r\n" + N + D + "\\E:\\b==two"}}));
    // A second record of a key is never read: its key shows the first one's text.
    const std::string twice = N + "d\\a.txt==first\r\n" + N + "d\\a.txt==second\r\n";
    EXPECT_EQ(rows(twice, N, "d", "first"), (Rows{{"a.txt", "first"}}));
    EXPECT_EQ(rows(twice, N, "d", "second"), Rows{});
    // Text before the first record counts for nothing.
    EXPECT_EQ(rows("stray text\r\n" + N + "d\\a.txt==x\r\n", N, "d", "stray"), Rows{});
    EXPECT_TRUE(rows("", N, "d", "").empty());
}

TEST(SearchNotes, ChineseTextsAreSearchedDecoded) {
    namespace text = platform::text;
    const std::string disc = "歌曲誠_hard";
    // As stored: code page 936, where 誠 is D5 5C and 許 is D4 53 ("\" and "S").
    const std::string stored = text::toCp936(X + disc + "\\歌曲\\許.mp3==許多 誠實 song\r\n" + X +
                                             disc + "\\歌曲\\遊.文件夹==流行\r\n");
    ASSERT_NE(stored.find("\xd5\\"), std::string::npos);
    const std::string decoded = text::fromCp936(stored);
    EXPECT_EQ(rows(decoded, X, disc, "誠實"), (Rows{{"歌曲\\許.mp3", "許多 誠實 song"}}));
    EXPECT_EQ(rows(decoded, X, disc, "流行"), (Rows{{"歌曲\\遊.文件夹", "流行"}}));
    EXPECT_EQ(rows(decoded, X, disc, "S", true), Rows{});
    EXPECT_EQ(rows(decoded, X, disc, "\\"), Rows{});
    EXPECT_EQ(rows(decoded, X, disc, "歌曲"), Rows{});  // in keys and the disc name only
    EXPECT_EQ(rows(decoded, X, disc, "許多(与)SONG"), (Rows{{"歌曲\\許.mp3", "許多 誠實 song"}}));
}

}  // namespace
}  // namespace search
