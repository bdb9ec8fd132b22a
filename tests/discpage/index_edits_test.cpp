#include "discpage/index_edits.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/files_fixture.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace discpage {
namespace {

// The lines, each ended by CR LF.
std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// A queued tick of the file with this key, listed in the folder with this
// path below the disc node.
PendingTick entry(std::string folderPath, std::string key) {
    PendingTick t;
    const auto slash = folderPath.rfind('\\');
    t.atRoot = slash == std::string::npos;
    t.folderText = t.atRoot ? folderPath : folderPath.substr(slash + 1);
    t.parentText = t.atRoot ? "disc" : folderPath.substr(0, slash);
    const auto parentSlash = t.parentText.rfind('\\');
    if (!t.atRoot && parentSlash != std::string::npos)
        t.parentText = t.parentText.substr(parentSlash + 1);
    t.folderPath = std::move(folderPath);
    t.key = std::move(key);
    return t;
}

// A character whose second byte in code page 936 is "|" (0x7C).
const std::string BarTrail = platform::text::fromCp936("\xD5\x7C");

// A CD whose lines end alike: three files b.jpg[55] in folders ending in
// "docs\img", names with brackets, marks, braces and Chinese characters.
const std::string CdIndex = crlf({
    "E:\\|a",
    "E:\\|docs",
    "E:\\|mydocs",
    "E:\\|me@home",
    "E:\\a.txt.bak[3]",
    "E:\\a.txt[12]",
    "E:\\1.txt[12]",
    "E:\\a\\|docs",
    "E:\\a\\docs\\|img",
    "E:\\a\\docs\\img\\b.jpg[55]",
    "E:\\mydocs\\|img",
    "E:\\mydocs\\img\\b.jpg[55]",
    "E:\\docs\\|img",
    "E:\\docs\\x[1]($)y.txt[500]",
    "E:\\docs\\a{b}.txt[7]",
    "E:\\docs\\m.txt[9]($){C:\\copies\\docs\\m.txt}",
    "E:\\docs\\img\\b.jpg[55]($)",
    "E:\\me@home\\游戏\\誠遊許.txt[100]",
    "E:\\Upper\\README.TXT[8]",
});

// A hard-disk folder D:\music\pop: "pop\kpop\live" stands before "pop\live".
const std::string HardIndex = crlf({
    "D:\\music\\pop\\|kpop",
    "D:\\music\\pop\\|live",
    "D:\\music\\pop\\a.mp3[1]",
    "D:\\music\\pop\\kpop\\|live",
    "D:\\music\\pop\\kpop\\live\\a.mp3[4096]",
    "D:\\music\\pop\\live\\a.mp3[4096]",
});

// A text with the line `from` replaced by `to` (exactly one occurrence).
std::string withLine(const std::string& text, std::string_view from, std::string_view to) {
    const std::string whole = std::string(from) + "\r\n";
    const auto at = text.find(whole);
    EXPECT_NE(at, std::string::npos) << from;
    EXPECT_EQ(text.find(whole, at + 1), std::string::npos) << from;
    std::string out = text;
    out.replace(at, from.size(), to);
    return out;
}

TEST(ApplyTicksTest, EachEntryAddsOneMarkToTheLineOfItsFileAlone) {
    struct Change {
        const char* from;
        const char* to;
    };
    struct Case {
        const char* name;
        bool hard;
        std::vector<PendingTick> ticks;
        std::vector<Change> changes;
        std::size_t written;
    };
    const Case cases[] = {
        {"file at the root",
         false,
         {entry("E:", "a.txt[12]")},
         {{"E:\\a.txt[12]", "E:\\a.txt[12]($)"}},
         1},
        {"name with a digit first",
         false,
         {entry("E:", "1.txt[12]")},
         {{"E:\\1.txt[12]", "E:\\1.txt[12]($)"}},
         1},
        {"mark behind the marks listed",
         false,
         {entry("E:\\docs\\img", "b.jpg[55]($)")},
         {{"E:\\docs\\img\\b.jpg[55]($)", "E:\\docs\\img\\b.jpg[55]($)($)"}},
         1},
        {"tick and untick",
         false,
         {entry("E:", "a.txt[12]"), entry("E:", "a.txt[12]")},
         {{"E:\\a.txt[12]", "E:\\a.txt[12]($)($)"}},
         2},
        {"three entries for one file",
         false,
         {entry("E:", "a.txt[12]"), entry("E:\\a\\docs\\img", "b.jpg[55]"),
          entry("E:", "a.txt[12]"), entry("E:", "a.txt[12]")},
         {{"E:\\a.txt[12]", "E:\\a.txt[12]($)($)($)"},
          {"E:\\a\\docs\\img\\b.jpg[55]", "E:\\a\\docs\\img\\b.jpg[55]($)"}},
         4},
        {"key with more marks than the line",
         false,
         {entry("E:\\docs\\img", "b.jpg[55]($)($)($)")},
         {{"E:\\docs\\img\\b.jpg[55]($)", "E:\\docs\\img\\b.jpg[55]($)($)"}},
         1},
        {"key with fewer marks than the line",
         false,
         {entry("E:\\docs\\img", "b.jpg[55]")},
         {{"E:\\docs\\img\\b.jpg[55]($)", "E:\\docs\\img\\b.jpg[55]($)($)"}},
         1},
        {"the folder ending in docs\\img that stands first",
         false,
         {entry("E:\\a\\docs\\img", "b.jpg[55]")},
         {{"E:\\a\\docs\\img\\b.jpg[55]", "E:\\a\\docs\\img\\b.jpg[55]($)"}},
         1},
        {"mydocs is not docs",
         false,
         {entry("E:\\mydocs\\img", "b.jpg[55]")},
         {{"E:\\mydocs\\img\\b.jpg[55]", "E:\\mydocs\\img\\b.jpg[55]($)"}},
         1},
        {"brackets and a mark in the name",
         false,
         {entry("E:\\docs", "x[1]($)y.txt[500]")},
         {{"E:\\docs\\x[1]($)y.txt[500]", "E:\\docs\\x[1]($)y.txt[500]($)"}},
         1},
        {"brace in the name",
         false,
         {entry("E:\\docs", "a{b}.txt[7]")},
         {{"E:\\docs\\a{b}.txt[7]", "E:\\docs\\a{b}.txt[7]($)"}},
         1},
        {"mirror suffix stays after the marks",
         false,
         {entry("E:\\docs", "m.txt[9]($)")},
         {{"E:\\docs\\m.txt[9]($){C:\\copies\\docs\\m.txt}",
           "E:\\docs\\m.txt[9]($)($){C:\\copies\\docs\\m.txt}"}},
         1},
        {"Chinese and GBK trail-byte names",
         false,
         {entry("E:\\me@home\\游戏", "誠遊許.txt[100]")},
         {{"E:\\me@home\\游戏\\誠遊許.txt[100]", "E:\\me@home\\游戏\\誠遊許.txt[100]($)"}},
         1},
        {"letter case of folder and key",
         false,
         {entry("e:\\UPPER", "readme.txt[8]")},
         {{"E:\\Upper\\README.TXT[8]", "E:\\Upper\\README.TXT[8]($)"}},
         1},
        {"another size is another file", false, {entry("E:", "a.txt[13]")}, {}, 0},
        {"a.txt is not a.txt.bak", false, {entry("E:", "a.txt[3]")}, {}, 0},
        {"no such folder", false, {entry("E:\\docs", "a.txt[12]")}, {}, 0},
        {"key without a size", false, {entry("E:", "a.txt")}, {}, 0},
        {"found and missing entries",
         false,
         {entry("E:\\nowhere", "b.jpg[55]"), entry("E:\\docs", "a{b}.txt[7]")},
         {{"E:\\docs\\a{b}.txt[7]", "E:\\docs\\a{b}.txt[7]($)"}},
         1},
        {"empty queue", false, {}, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string expected = CdIndex;
        for (const auto& ch : c.changes) expected = withLine(expected, ch.from, ch.to);
        const TickResult r = applyTicks(CdIndex, c.ticks, c.hard);
        EXPECT_EQ(r.text, expected);
        EXPECT_EQ(r.written, c.written);
    }
}

// The folder's absolute path of a hard-disk folder begins with the parent of
// the scanned folder, taken from the first line.
TEST(ApplyTicksTest, HardDiskPathsBeginWithTheScannedFoldersParent) {
    struct Case {
        const char* folderPath;
        const char* key;
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"pop", "a.mp3[1]", "D:\\music\\pop\\a.mp3[1]", "D:\\music\\pop\\a.mp3[1]($)"},
        {"pop\\live", "a.mp3[4096]", "D:\\music\\pop\\live\\a.mp3[4096]",
         "D:\\music\\pop\\live\\a.mp3[4096]($)"},
        {"pop\\kpop\\live", "a.mp3[4096]", "D:\\music\\pop\\kpop\\live\\a.mp3[4096]",
         "D:\\music\\pop\\kpop\\live\\a.mp3[4096]($)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folderPath);
        const TickResult r = applyTicks(HardIndex, {entry(c.folderPath, c.key)}, true);
        EXPECT_EQ(r.text, withLine(HardIndex, c.from, c.to));
        EXPECT_EQ(r.written, 1u);
    }

    // The root of a hard-disk folder D:\data\myfolder.
    const std::string myfolder =
        crlf({"D:\\data\\myfolder\\|sub", "D:\\data\\myfolder\\a.txt[12]"});
    EXPECT_EQ(applyTicks(myfolder, {entry("myfolder", "a.txt[12]")}, true).text,
              crlf({"D:\\data\\myfolder\\|sub", "D:\\data\\myfolder\\a.txt[12]($)"}));
    // Read as a CD, the same entry names no line.
    EXPECT_EQ(applyTicks(myfolder, {entry("myfolder", "a.txt[12]")}, false).written, 0u);
}

// Lines that are not changed keep every byte, whatever their breaks; a last
// line without a break keeps having none.
TEST(ApplyTicksTest, KeepsTheBytesOfOtherLines) {
    const std::string text = "E:\\|d\nE:\\junk line\r\r\nE:\\b.txt[1]($)  \r\nE:\\d\\a.txt[12]";
    const TickResult r = applyTicks(text, {entry("E:\\d", "a.txt[12]")}, false);
    EXPECT_EQ(r.text, "E:\\|d\nE:\\junk line\r\r\nE:\\b.txt[1]($)  \r\nE:\\d\\a.txt[12]($)");
    EXPECT_EQ(applyTicks(text, {}, false).text, text);
    EXPECT_EQ(applyTicks("", {entry("E:", "a.txt[12]")}, false).text, "");
}

// When a file's line stands twice, the first takes the marks.
TEST(ApplyTicksTest, TheFirstLineOfAFileTakesAllItsMarks) {
    const std::string text = crlf({"E:\\a.txt[12]", "E:\\a.txt[12]"});
    const TickResult r =
        applyTicks(text, {entry("E:", "a.txt[12]"), entry("E:", "A.TXT[12]($)")}, false);
    EXPECT_EQ(r.text, crlf({"E:\\a.txt[12]($)($)", "E:\\a.txt[12]"}));
    EXPECT_EQ(r.written, 2u);
}

// Case twins: each entry marks its own file's line, by its exact name first
// and its size; an entry whose file the index spells several ways but for
// letter case, and never exactly, marks nothing and is named.
TEST(ApplyTicksTest, CaseTwinsTakeTheirOwnMarksAndAnAmbiguousEntryNone) {
    const std::string text = crlf(
        {"E:\\|d", "E:\\d\\A.txt[5]", "E:\\d\\a.txt[5]", "E:\\d\\B.txt[5]", "E:\\d\\b.txt[6]"});
    TickResult r = applyTicks(text,
                              {entry("E:\\d", "a.txt[5]"), entry("E:\\d", "b.txt[6]($)"),
                               entry("E:\\d", "B.txt[5]"), entry("e:\\D", "b.TXT[6]")},
                              false);
    EXPECT_EQ(r.text, crlf({"E:\\|d", "E:\\d\\A.txt[5]", "E:\\d\\a.txt[5]($)", "E:\\d\\B.txt[5]($)",
                            "E:\\d\\b.txt[6]($)($)"}));
    EXPECT_EQ(r.written, 4u);
    EXPECT_TRUE(r.ambiguous.empty());

    r = applyTicks(text, {entry("E:\\d", "A.TXT[5]"), entry("E:\\d", "B.txt[5]")}, false);
    EXPECT_EQ(r.text, crlf({"E:\\|d", "E:\\d\\A.txt[5]", "E:\\d\\a.txt[5]", "E:\\d\\B.txt[5]($)",
                            "E:\\d\\b.txt[6]"}));
    EXPECT_EQ(r.written, 1u);
    EXPECT_EQ(r.ambiguous, (std::vector<std::string>{"E:\\d\\A.TXT"}));
}

TEST(RemoveTicksTest, FilesWithoutAMirrorCopyLoseEveryMark) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"E:\\a.txt[12]($)($)($)\r\n", "E:\\a.txt[12]\r\n"},
        {"E:\\a.txt[12]($)($){C:\\copies\\a.txt}\r\n",
         "E:\\a.txt[12]($)($){C:\\copies\\a.txt}\r\n"},
        {"E:\\docs\\long name.txt[1]($)($)($)($)($)\r\nE:\\b[2]($)($)($)\r\n",
         "E:\\docs\\long name.txt[1]\r\nE:\\b[2]\r\n"},
        {"E:\\|a($)\r\nE:\\a($)\\b.txt[5]\r\nE:\\a($)\\c.txt[5]($)\r\n",
         "E:\\|a($)\r\nE:\\a($)\\b.txt[5]\r\nE:\\a($)\\c.txt[5]\r\n"},
        {"E:\\a($)b.txt[5]($)\r\n", "E:\\a($)b.txt[5]\r\n"},
        {"E:\\x[1]($)y.txt[500]($)($)\r\n", "E:\\x[1]($)y.txt[500]\r\n"},
        {"E:\\x($)y\r\nE:\\($)\r\n", "E:\\x($)y\r\nE:\\($)\r\n"},
        {"E:\\游戏\\誠遊許.txt[100]($)\r\nE:\\z.txt[1]($)",
         "E:\\游戏\\誠遊許.txt[100]\r\nE:\\z.txt[1]"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        const std::string once = removeTicks(c.in);
        EXPECT_EQ(once, c.out);
        EXPECT_EQ(removeTicks(once), once);
    }
}

// The marks and the mirror suffix go from every file line; a name that holds
// "($)", "{" or "[" keeps its whole path.
TEST(RemoveTicksAndMirrorsTest, EveryFileLineKeepsItsPathAndSizeAlone) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"E:\\a.txt[12]($)($)($)\r\n", "E:\\a.txt[12]\r\n"},
        {"E:\\docs\\a.txt[12]($)($){C:\\copies\\docs\\a.txt}\r\n", "E:\\docs\\a.txt[12]\r\n"},
        {"E:\\a.txt[12]{C:\\copies\\a.txt}\r\n", "E:\\a.txt[12]\r\n"},
        {"E:\\a($)b.txt[5]($){d:\\c\\a($)b.txt}\r\n", "E:\\a($)b.txt[5]\r\n"},
        {"E:\\x{1}.txt[5]($){d:\\c\\x{1}.txt}\r\nE:\\y{2}.txt[6]\r\n",
         "E:\\x{1}.txt[5]\r\nE:\\y{2}.txt[6]\r\n"},
        {"E:\\Photo [2].jpg[500]($){d:\\[003]P\\Photo [2].jpg}\r\n", "E:\\Photo [2].jpg[500]\r\n"},
        {"E:\\|a($)\r\nE:\\a($)\\c.txt[5]($)\r\n", "E:\\|a($)\r\nE:\\a($)\\c.txt[5]\r\n"},
        {"E:\\x($)y\r\nE:\\z{w}\r\n", "E:\\x($)y\r\nE:\\z{w}\r\n"},
        {"E:\\游戏\\誠遊許.txt[100]($){d:\\m\\游戏\\誠遊許.txt}\nE:\\z.txt[1]($)",
         "E:\\游戏\\誠遊許.txt[100]\nE:\\z.txt[1]"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        const std::string once = removeTicksAndMirrors(c.in);
        EXPECT_EQ(once, c.out);
        EXPECT_EQ(removeTicksAndMirrors(once), once);
    }
}

TEST(RemoveTicksTest, TwiceIsOnce) {
    const std::string once = removeTicks(CdIndex);
    EXPECT_EQ(removeTicks(once), once);
    EXPECT_EQ(once, withLine(CdIndex, "E:\\docs\\img\\b.jpg[55]($)", "E:\\docs\\img\\b.jpg[55]"));
}

// One line each, with its expected form after the keyword ticks; "" when
// the line stays as it is.
struct KeywordCase {
    const char* line;
    const char* ticked;
};

void checkKeywordCases(std::span<const std::string_view> keywords,
                       std::initializer_list<KeywordCase> cases) {
    for (const KeywordCase& c : cases) {
        SCOPED_TRACE(c.line);
        const bool marks = *c.ticked != '\0';
        const std::string in = std::string("E:\\|x\r\n") + c.line + "\r\nE:\\x\\y.txt[1]\r\n";
        const KeywordTicks r = tickByKeywords(in, keywords);
        EXPECT_EQ(r.text,
                  marks ? std::string("E:\\|x\r\n") + c.ticked + "\r\nE:\\x\\y.txt[1]\r\n" : in);
        EXPECT_EQ(r.ticked, marks ? 1u : 0u);
    }
}

TEST(TickByKeywordsTest, IndexAndDefaultPagesAreFilesWhoseNameBeginsWithThem) {
    checkKeywordCases(IndexPageKeywords,
                      {
                          {"E:\\index.htm[100]", "E:\\index.htm[100]($)"},
                          {"E:\\web\\Index.HTML[5]", "E:\\web\\Index.HTML[5]($)"},
                          {"E:\\docs\\Default.asp[7]", "E:\\docs\\Default.asp[7]($)"},
                          {"E:\\web\\index2.html[5]($)($)", "E:\\web\\index2.html[5]($)($)($)"},
                          {"E:\\网页\\index.htm[5]", "E:\\网页\\index.htm[5]($)"},
                          // the run of marks grows at its head, after the size
                          {"E:\\web\\index]x.htm[5]", "E:\\web\\index]x.htm[5]($)"},
                          {"E:\\web\\index [1].htm[5]($)($)", "E:\\web\\index [1].htm[5]($)($)($)"},
                          // ticked already
                          {"E:\\web\\index.html[5]($)", ""},
                          // the name does not begin with it
                          {"E:\\web\\myindex.htm[5]", ""},
                          {"E:\\web\\a.index[5]", ""},
                          // a folder's name, also when the file's name matches too
                          {"E:\\index\\a.htm[7]", ""},
                          {"E:\\indexes\\index.htm[9]", ""},
                          {"E:\\Default Web\\default.htm[9]", ""},
                          // a mirror copy's path follows the name
                          {"E:\\web\\index.htm[5]{D:\\copy\\web\\index.htm}", ""},
                          {"E:\\web\\index.htm[5]($)($){D:\\copy\\web\\index.htm}", ""},
                          // a folder line; a line that is no file line
                          {"E:\\|index", ""},
                          {"E:\\web\\|default@", ""},
                          {"E:\\index.htm", ""},
                      });
}

TEST(TickByKeywordsTest, ReadmeFilesAreFilesWhoseNameHoldsIt) {
    checkKeywordCases(ReadmeKeywords,
                      {
                          {"E:\\docs\\README.txt[10]", "E:\\docs\\README.txt[10]($)"},
                          {"E:\\docs\\ReadMe1st.doc[10]", "E:\\docs\\ReadMe1st.doc[10]($)"},
                          {"E:\\docs\\myreadme[3]", "E:\\docs\\myreadme[3]($)"},
                          {"E:\\docs\\readme-readme.txt[4]", "E:\\docs\\readme-readme.txt[4]($)"},
                          {"E:\\docs\\ReadMe.txt[10]($)($)", "E:\\docs\\ReadMe.txt[10]($)($)($)"},
                          {"E:\\docs\\readme]x.txt[5]", "E:\\docs\\readme]x.txt[5]($)"},
                          {"E:\\docs\\readme.txt[10]($)", ""},
                          {"E:\\readme\\a.txt[3]", ""},
                          {"E:\\readme\\readme.txt[3]", ""},
                          {"E:\\docs\\readme.txt[10]($){D:\\copy\\docs\\readme.txt}", ""},
                          {"E:\\docs\\|readme", ""},
                      });
}

TEST(TickByKeywordsTest, KeepsEveryOtherByteAndEndsTheLastLineAtTheTextsEnd) {
    // Breaks of every kind stay; a last line without one is a line too.
    const std::string in =
        "E:\\|web\nE:\\web\\index.htm[1]\rE:\\Index.htm[2]($)\r\nE:\\b.txt[3]\r\n"
        "E:\\web\\default.asp[4]";
    const KeywordTicks r = tickByKeywords(in, IndexPageKeywords);
    EXPECT_EQ(r.text,
              "E:\\|web\nE:\\web\\index.htm[1]($)\rE:\\Index.htm[2]($)\r\nE:\\b.txt[3]\r\n"
              "E:\\web\\default.asp[4]($)");
    EXPECT_EQ(r.ticked, 2u);
    EXPECT_EQ(tickByKeywords("", ReadmeKeywords).text, "");
}

TEST(MarkedFileLinesTest, EveryFileLineWithMarksOnceWithoutMirroredOnes) {
    const std::string text = crlf({
                                 "E:\\|a($)",
                                 "E:\\a.txt[1]($)",
                                 "E:\\b.txt[2]($)($)",
                                 "E:\\b.txt[2]($)($)",
                                 "E:\\c.txt[3]",
                                 "E:\\a($)b.txt[4]",
                                 "E:\\a($)\\d.txt[5]",
                                 "E:\\e.txt[6]($){D:\\copy\\e.txt}",
                                 "E:\\网页\\index.htm[7]($)",
                                 "E:\\a.txt[1]($)",
                             }) +
                             "E:\\z.txt[8]($)($)($)";
    EXPECT_EQ(markedFileLines(text), (std::vector<std::string>{
                                         "E:\\a.txt[1]($)",
                                         "E:\\b.txt[2]($)($)",
                                         "E:\\网页\\index.htm[7]($)",
                                         "E:\\a.txt[1]($)",
                                         "E:\\z.txt[8]($)($)($)",
                                     }));
    EXPECT_TRUE(markedFileLines(crlf({"E:\\|a", "E:\\a.txt[1]"})).empty());
}

class CountTickedTest : public files_test::FilesTest {
  protected:
    // The ticked files (countTicked), or with allFiles every file
    // (countFiles).
    FileTotal count(const std::string& utf8, std::string_view folderPath, bool hard,
                    bool allFiles = false) {
        files_test::writeBytes(c() + "/disc.wcd", platform::text::toCp936(utf8));
        platform::files::RawLineReader lines("C:\\disc.wcd");
        return allFiles ? countFiles(lines, folderPath, hard, false)
                        : countTicked(lines, folderPath, hard);
    }

    struct Expected {
        const char* scope;
        std::int64_t files;
        double bytes;
    };
    void expectCounts(const std::string& utf8, bool hard, std::initializer_list<Expected> cases,
                      bool allFiles = false) {
        for (const auto& e : cases) {
            SCOPED_TRACE(e.scope);
            const FileTotal t = count(utf8, e.scope, hard, allFiles);
            EXPECT_EQ(t.files, e.files);
            EXPECT_EQ(t.bytes, e.bytes);
        }
    }
};

TEST_F(CountTickedTest, CountsTickedFilesOfTheScope) {
    // Not counted: 0 bytes, four marks, unticked files in a folder named
    // "a($)" or with a mark inside the name. Counted: five marks, a negative
    // size (plus 2^32), brackets in a name, a "|" trail byte, a mirrored file,
    // a line with blanks at its end.
    ASSERT_EQ(platform::text::len(BarTrail), 1u);
    const std::string cd = crlf({
        "E:\\|a($)",
        "E:\\|docs",
        "E:\\a.txt[1000]($)",
        "E:\\zero.txt[0]($)",
        "E:\\four.txt[10]($)($)($)($)",
        "E:\\five.txt[20]($)($)($)($)($)",
        "E:\\big.iso[-1073741824]($)",
        "E:\\a($)\\u.txt[9]",
        "E:\\a($)\\v[2]($).txt[9]",
        "E:\\docs\\|img",
        "E:\\docs\\x[1]($)y.txt[500]($)",
        "E:\\docs\\誠遊許" + BarTrail + ".txt[300]($)  ",
        "E:\\DOCS\\img\\p.jpg[4000]($){C:\\copies\\p.jpg}",
        "E:\\docs2\\q.txt[7]($)",
    });
    expectCounts(cd, false,
                 {
                     {"", 7, 1000 + 20 + 3221225472.0 + 500 + 300 + 4000 + 7},
                     {"E:", 7, 1000 + 20 + 3221225472.0 + 500 + 300 + 4000 + 7},
                     // "DOCS" is another folder than "docs".
                     {"E:\\docs", 2, 500 + 300},
                     {"E:\\DOCS", 1, 4000},
                     // Spelt two other ways ("E:\\docs\\|img", "E:\\DOCS\\img\\"): neither.
                     {"e:\\Docs\\IMG", 0, 0},
                     {"E:\\docs2", 1, 7},
                     {"E:\\a($)", 0, 0},
                     {"E:\\nowhere", 0, 0},
                 });
}

TEST_F(CountTickedTest, HardDiskScopeIsAnchoredAtTheScannedFoldersParent) {
    const std::string hard = crlf({
        "D:\\music\\pop\\|kpop",
        "D:\\music\\pop\\|live",
        "D:\\music\\pop\\a.mp3[1]($)($)",
        "D:\\music\\pop\\kpop\\|live",
        "D:\\music\\pop\\kpop\\live\\a.mp3[100]($)",
        "D:\\music\\pop\\live\\a.mp3[200]($)",
    });
    expectCounts(hard, true,
                 {
                     {"", 2, 300},
                     {"pop", 2, 300},
                     {"pop\\live", 1, 200},
                     {"pop\\kpop\\live", 1, 100},
                     {"live", 0, 0},
                 });
}

TEST_F(CountTickedTest, EmptyIndexCountsNothing) {
    for (bool allFiles : {false, true}) {
        const FileTotal t = count("", "", false, allFiles);
        EXPECT_EQ(t.files, 0);
        EXPECT_EQ(t.bytes, 0);
    }
}

TEST_F(CountTickedTest, AllFilesCountTheSizeFieldOfEveryFileLineOfTheScope) {
    // Not counted: folder lines (also one whose name holds "[1]"), 0 bytes,
    // lines that are no file lines. Counted whatever their marks: the size
    // field at the end of the line, not a bracket in the name; a negative
    // size plus 2^32; a true 64-bit size; a mirrored file.
    const std::string cd = crlf({
        "E:\\|Disc [1]",
        "E:\\|docs",
        "E:\\|docs2",
        "E:\\Photo [2].jpg[500]",
        "E:\\Song [live].mp3[5000]($)($)",
        "E:\\zero.txt[0]",
        "E:\\big.iso[-1073741824]",
        "E:\\huge.mkv[5000000000]",
        "no file line",
        "E:\\docs\\|img",
        "E:\\docs\\a.txt[10]($)",
        "E:\\docs\\img\\p.jpg[4000]($){C:\\copies\\p.jpg}",
        "  E:\\DOCS\\b.txt[6]  ",
        "E:\\docs2\\q.txt[7]",
        "E:\\x\\E:\\docs\\r.txt[9]",
    });
    expectCounts(cd, false,
                 {
                     {"", 9, 500 + 5000 + 3221225472.0 + 5000000000.0 + 10 + 4000 + 6 + 7 + 9},
                     {"E:", 9, 500 + 5000 + 3221225472.0 + 5000000000.0 + 10 + 4000 + 6 + 7 + 9},
                     {"E:\\docs", 2, 10 + 4000},
                     {"E:\\DOCS", 1, 6},
                     // No line spells it so, and the lines spell it one way.
                     {"e:\\DOCS\\img", 1, 4000},
                     {"E:\\docs2", 1, 7},
                     {"E:\\nowhere", 0, 0},
                 },
                 true);
}

TEST_F(CountTickedTest, AllFilesOfANestedHardDiskFolderAreAnchoredAtItsParent) {
    // A scan of C:\a\b\a: every line begins "C:\a\b\a\", so only an anchored
    // folder test keeps the subfolder "a\b" apart from the whole disc.
    const std::string hard = crlf({
        "C:\\a\\b\\a\\|b",
        "C:\\a\\b\\a\\top.txt[100]",
        "C:\\a\\b\\a\\b\\|a",
        "C:\\a\\b\\a\\b\\x.txt[20]",
        "C:\\a\\b\\a\\b\\a\\y.txt[3]",
    });
    expectCounts(hard, true,
                 {
                     {"", 3, 123},
                     {"a", 3, 123},
                     {"a\\b", 2, 23},
                     {"a\\b\\a", 1, 3},
                     {"b", 0, 0},
                 },
                 true);
}

}  // namespace
}  // namespace discpage
