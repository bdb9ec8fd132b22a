#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/files/files_fixture.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"
#include "search/search.h"

namespace search {
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

// A row as the result list shows it: "[x] " for a ticked row, "[ ] " else.
std::vector<std::string> shown(const FileHits& hits) {
    std::vector<std::string> rows;
    for (const FileHit h : hits) rows.push_back((h.ticked ? "[x] " : "[ ] ") + std::string(h.line));
    return rows;
}

using Rows = std::vector<std::string>;

Query query(std::string first, Operator op, std::string second) {
    return {.first = std::move(first), .op = op, .second = std::move(second)};
}
Query single(std::string term) { return query(std::move(term), Operator::Single, ""); }

class FileSearchTest : public files_test::FilesTest {
  protected:
    // The rows of a disc whose index file holds these bytes.
    Rows searchBytes(const std::string& bytes, const Query& query,
                     const FileSearchOptions& options) {
        files_test::writeBytes(c() + "/disc.wcd", bytes);
        platform::files::RawLineReader lines("C:\\disc.wcd");
        return shown(searchDiscFiles(lines, query, options));
    }
    // The same for an index text (UTF-8, stored in code page 936).
    Rows search(const std::string& utf8, const Query& query, const FileSearchOptions& options) {
        return searchBytes(platform::text::toCp936(utf8), query, options);
    }
    Rows plain(const std::string& utf8, Query query, bool caseSensitive = false) {
        return search(utf8, query, {.caseSensitive = caseSensitive});
    }
    Rows extension(const std::string& utf8, std::string term) {
        return search(utf8, single(std::move(term)), {.extension = true});
    }
    Rows wholeWord(const std::string& utf8, std::string term, bool caseSensitive = false) {
        return search(utf8, single(std::move(term)),
                      {.wholeWord = true, .caseSensitive = caseSensitive});
    }
};

// ---- the extension ----

TEST_F(FileSearchTest, ExtensionFindsNamesEndingInAnExtensionThatBeginsWithTheTerm) {
    const std::string index = crlf({
        "E:\\|notes.txt",
        "E:\\a.txt[1]($)",
        "E:\\B.TXT[2]",
        "E:\\x.txtold[3]",
        "E:\\a.txt.bak[4]",
        "E:\\a.txt.txt[5]",
        "E:\\a.txt\\b.doc[6]",
        "E:\\notes.txt\\|sub",
        "E:\\page.html[7]",
    });
    EXPECT_EQ(extension(index, "TXT"), (Rows{
                                           "[x] e:\\a.txt[1]($)",
                                           "[ ] e:\\b.txt[2]",
                                           "[ ] e:\\x.txtold[3]",
                                           "[ ] e:\\a.txt.txt[5]",
                                       }));
    EXPECT_EQ(extension(index, "htm"), Rows{"[ ] e:\\page.html[7]"});
    // The operator and the second term play no part.
    EXPECT_EQ(search(index, query("doc", Operator::Not, "b"), {.extension = true}),
              Rows{"[ ] e:\\a.txt\\b.doc[6]"});
}

// ---- the whole word ----

TEST_F(FileSearchTest, WholeWordFindsTheFileOrFolderNamedByTheTermAndNothingBelowIt) {
    const std::string index = crlf({
        "E:\\|setup",
        "E:\\|setup.d",
        "E:\\setup.exe[10]($)",
        "E:\\setup1.exe[11]",
        "E:\\setup[12]",
        "E:\\Setup.Tar.gz[13]($)($)",
        "E:\\setup.d\\|setup@@",
        "E:\\setup.d\\a.txt[14]",
        "E:\\setup.d\\setup.d\\b.txt[15]",
        "E:\\x\\setup.ini[16]($){C:\\copies\\setup.ini}",
        "E:\\x\\my setup.exe[17]",
        "E:\\x\\|mysetup",
    });
    // File rows first, then the folder rows (never ticked); one row per line.
    const Rows expected = {
        "[x] E:\\setup.exe[10]($)",
        "[ ] E:\\Setup.Tar.gz[13]($)($)",
        "[x] E:\\x\\setup.ini[16]($){C:\\copies\\setup.ini}",
        "[ ] E:\\|setup",
        "[ ] E:\\setup.d\\|setup@@",
    };
    EXPECT_EQ(wholeWord(index, "setup"), expected);
    EXPECT_EQ(wholeWord(index, "SETUP"), expected);
    EXPECT_EQ(wholeWord(index, "setup", true),
              (Rows{
                  "[x] E:\\setup.exe[10]($)",
                  "[x] E:\\x\\setup.ini[16]($){C:\\copies\\setup.ini}",
                  "[ ] E:\\|setup",
                  "[ ] E:\\setup.d\\|setup@@",
              }));
    EXPECT_EQ(search(index, query("setup", Operator::And, "zzz"), {.wholeWord = true}), expected);
}

// ---- the plain search ----

TEST_F(FileSearchTest, PlainTermMustLieInTheLastPathComponent) {
    const std::string index = crlf({
        "E:\\x\\abcd.txt[10]",
        "E:\\x\\|abc",
        "E:\\abc\\d.txt[10]",
        "E:\\abc\\|d",
        "E:\\x\\ABC.txt[1212]($)",
        "E:\\y\\q.txt[512]",
    });
    EXPECT_EQ(plain(index, single("abc")), (Rows{
                                               "[ ] E:\\x\\abcd.txt[10]",
                                               "[ ] E:\\x\\|abc",
                                               "[x] E:\\x\\ABC.txt[1212]($)",
                                           }));
    EXPECT_EQ(plain(index, single("abc"), true),
              (Rows{"[ ] E:\\x\\abcd.txt[10]", "[ ] E:\\x\\|abc"}));
    // The size is part of the last component.
    EXPECT_EQ(plain(index, single("12")),
              (Rows{"[x] E:\\x\\ABC.txt[1212]($)", "[ ] E:\\y\\q.txt[512]"}));
    // A term holding "\" never lies in the last component.
    EXPECT_EQ(plain(index, single("x\\abcd")), Rows{});
}

TEST_F(FileSearchTest, PlainOperatorsTestTheSecondTermAfterTheLastBackslashOutsideTheSize) {
    const std::string index = crlf({
        "E:\\x\\ab.txt[5]",
        "E:\\b\\a.txt[5]",
        "E:\\x\\a5.txt[9]",
        "E:\\x\\a.txt[5]",
    });
    struct Case {
        Query query;
        Rows rows;
    };
    const Case cases[] = {
        {query("a", Operator::And, "b"), {"[ ] E:\\x\\ab.txt[5]"}},
        {query("a", Operator::And, "5"), {"[ ] E:\\x\\a5.txt[9]"}},
        {query("a", Operator::Not, "b"),
         {"[ ] E:\\b\\a.txt[5]", "[ ] E:\\x\\a5.txt[9]", "[ ] E:\\x\\a.txt[5]"}},
        {query("a", Operator::Not, "5"),
         {"[ ] E:\\x\\ab.txt[5]", "[ ] E:\\b\\a.txt[5]", "[ ] E:\\x\\a.txt[5]"}},
        // An empty second term: "与" is the first term alone, "非" nothing.
        {query("a5", Operator::And, ""), {"[ ] E:\\x\\a5.txt[9]"}},
        {query("a", Operator::Not, ""), {}},
        // An empty first term is in every line.
        {query("", Operator::Not, "a"), {}},
        {query("", Operator::Not, "b"),
         {"[ ] E:\\b\\a.txt[5]", "[ ] E:\\x\\a5.txt[9]", "[ ] E:\\x\\a.txt[5]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query.first + " / " + c.query.second);
        EXPECT_EQ(plain(index, c.query), c.rows);
    }
}

TEST_F(FileSearchTest, PlainOrListsTheFirstTermsLinesThenTheSecondTerms) {
    // ab.txt comes in both passes; it is listed twice unless it is the last
    // row of the first pass.
    EXPECT_EQ(plain(crlf({"E:\\x\\ab.txt[5]", "E:\\x\\a.txt[6]", "E:\\x\\b.txt[7]"}),
                    query("a", Operator::Or, "b")),
              (Rows{"[ ] E:\\x\\ab.txt[5]", "[ ] E:\\x\\a.txt[6]", "[ ] E:\\x\\ab.txt[5]",
                    "[ ] E:\\x\\b.txt[7]"}));
    EXPECT_EQ(plain(crlf({"E:\\x\\a.txt[6]", "E:\\x\\ab.txt[5]", "E:\\b\\c.txt[7]"}),
                    query("a", Operator::Or, "b"), true),
              (Rows{"[ ] E:\\x\\a.txt[6]", "[ ] E:\\x\\ab.txt[5]"}));
}

TEST_F(FileSearchTest, PlainListsALineOnceAndTheSameTextNotTwiceInARow) {
    // The term twice in one line, in both branches; a line repeated at once
    // is the last row again and is left out, one further on is listed.
    const std::string index = crlf({
        "E:\\abab.ab[1]",
        "E:\\abab.ab[1]",
        "E:\\x\\|ab",
        "E:\\abab.ab[1]",
    });
    const Rows expected = {"[ ] E:\\abab.ab[1]", "[ ] E:\\x\\|ab", "[ ] E:\\abab.ab[1]"};
    EXPECT_EQ(plain(index, single("ab")), expected);
    EXPECT_EQ(plain(index, single("ab"), true), expected);
}

// The tick mark as the keyword (查找光盘里的勾) lists exactly the files the
// disc page shows ticked: an odd run of marks after the size. A file ticked
// then unticked, a folder or file whose name holds the mark, and a file in a
// folder so named that is not ticked itself are not listed; the switches
// change nothing.
TEST_F(FileSearchTest, TheTickMarkListsExactlyTheTickedFiles) {
    const std::string index = crlf({
        "E:\\|价格($)",
        "E:\\a.txt[1]($)",
        "E:\\b.txt[2]",
        "E:\\c.txt[3]($)($){C:\\copies\\c.txt}",
        "E:\\d.txt[4]($)($)",
        "E:\\e.txt[5]($){C:\\copies\\e.txt}",
        "E:\\价格($)\\f.txt[6]",
        "E:\\价格($)\\g($).txt[7]($)($)($)",
        "E:\\价格($)\\|h",
        "E:\\h($).txt[8]",
        "E:\\x\\Setup.TXT[9]($)($)($)($)($)",
    });
    const Rows ticked = {
        "[x] E:\\a.txt[1]($)",
        "[x] E:\\e.txt[5]($){C:\\copies\\e.txt}",
        "[x] E:\\价格($)\\g($).txt[7]($)($)($)",
        "[x] E:\\x\\Setup.TXT[9]($)($)($)($)($)",
    };
    EXPECT_EQ(plain(index, single("($)")), ticked);
    EXPECT_EQ(plain(index, single("($)"), true), ticked);
    EXPECT_EQ(wholeWord(index, "($)"), ticked);
    EXPECT_EQ(wholeWord(index, "($)", true), ticked);
    EXPECT_EQ(search(index, single("($)"), {.extension = true}), ticked);

    // With a second term: the ticked files whose name holds it, or with 或
    // the ticked files, then the lines whose last component holds it.
    EXPECT_EQ(plain(index, query("($)", Operator::And, "setup")),
              Rows{"[x] E:\\x\\Setup.TXT[9]($)($)($)($)($)"});
    EXPECT_EQ(plain(index, query("($)", Operator::Not, "txt")), Rows{});
    Rows orRows = ticked;
    orRows.push_back("[ ] E:\\b.txt[2]");
    EXPECT_EQ(plain(index, query("($)", Operator::Or, "b.")), orRows);
}

// Only the run of marks after the size ticks a row: a "($)" in a file's or a
// folder's name is part of the name.
TEST_F(FileSearchTest, AMarkInANameTicksNoRow) {
    const std::string index = crlf({
        "E:\\|a($)b",
        "E:\\許($).doc[7]",
        "E:\\許($)($).doc[7]($)($)",
        "E:\\pay($).txt[5]($)",
        "E:\\a($)b\\c.txt[9]",
        "E:\\a($)b\\c($).txt[9]($){C:\\copies\\a($)b\\c($).txt}",
    });
    EXPECT_EQ(plain(index, single("(")),
              (Rows{
                  "[ ] E:\\|a($)b",
                  "[ ] E:\\許($).doc[7]",
                  "[ ] E:\\許($)($).doc[7]($)($)",
                  "[x] E:\\pay($).txt[5]($)",
                  "[x] E:\\a($)b\\c($).txt[9]($){C:\\copies\\a($)b\\c($).txt}",
              }));
}

TEST_F(FileSearchTest, EachDiscStartsAfresh) {
    // The same line in two discs is listed for both: the last row does not
    // carry over.
    const std::string index = crlf({"E:\\x\\a.txt[1]"});
    EXPECT_EQ(plain(index, single("a")), Rows{"[ ] E:\\x\\a.txt[1]"});
    EXPECT_EQ(plain(index, single("a")), Rows{"[ ] E:\\x\\a.txt[1]"});
}

// ---- every mode ----

TEST_F(FileSearchTest, ALastLineWithoutALineBreakEndsAtTheEndOfTheText) {
    const std::string index = "E:\\|setup\r\nE:\\setup.txt[1]\r\nE:\\x\\setup.TXT[2]($)";
    struct Case {
        Query query;
        FileSearchOptions options;
        Rows rows;
    };
    const Case cases[] = {
        {single("setup"),
         {},
         {"[ ] E:\\|setup", "[ ] E:\\setup.txt[1]", "[x] E:\\x\\setup.TXT[2]($)"}},
        {single("TXT"), {.caseSensitive = true}, {"[x] E:\\x\\setup.TXT[2]($)"}},
        {single("txt"),
         {.extension = true},
         {"[ ] e:\\setup.txt[1]", "[x] e:\\x\\setup.txt[2]($)"}},
        {single("setup"),
         {.wholeWord = true},
         {"[ ] E:\\setup.txt[1]", "[x] E:\\x\\setup.TXT[2]($)", "[ ] E:\\|setup"}},
        {query("q", Operator::Or, "($)"), {}, {"[x] E:\\x\\setup.TXT[2]($)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query.first);
        EXPECT_EQ(search(index, c.query, c.options), c.rows);
    }
    // A hit on the first line shows it from its first character.
    EXPECT_EQ(plain("E:\\|a", single("a")), Rows{"[ ] E:\\|a"});
    EXPECT_EQ(plain("", single("")), Rows{});
}

TEST_F(FileSearchTest, ChineseCharactersAreNeverSplitIntoTheirBytes) {
    // In code page 936 誠 is D5 5C ("\" second), 遊 DF 5B ("[" second), 許
    // D4 53 ("S" second) and 剕 84 7C ("|" second).
    ASSERT_EQ(platform::text::toCp936("誠遊許剕"), "\xD5\x5C\xDF\x5B\xD4\x53\x84\x7C");
    const std::string index = crlf({
        "E:\\x\\abc誠d.txt[1]",
        "E:\\x\\遊戲.txt[2]($)",
        "E:\\許\\許可.doc[3]",
        "E:\\x\\剕.txt[4]",
        "E:\\x\\誠\\|setup",
        "E:\\x\\誠品.txt[5]",
        "E:\\誠\\y.txt[6]",
    });
    struct Case {
        const char* what;
        Query query;
        FileSearchOptions options;
        Rows rows;
    };
    const Case cases[] = {
        {"no \\ after abc", single("abc"), {}, {"[ ] E:\\x\\abc誠d.txt[1]"}},
        {"no S in 許", single("s"), {}, {"[ ] E:\\x\\誠\\|setup"}},
        {"no S in 許, exactly", single("S"), {.caseSensitive = true}, {}},
        {"no [ in 遊",
         single("txt"),
         {.extension = true},
         {"[ ] e:\\x\\abc誠d.txt[1]", "[x] e:\\x\\遊戲.txt[2]($)", "[ ] e:\\x\\剕.txt[4]",
          "[ ] e:\\x\\誠品.txt[5]", "[ ] e:\\誠\\y.txt[6]"}},
        {"no | in 剕", single("剕"), {.wholeWord = true}, {"[ ] E:\\x\\剕.txt[4]"}},
        {"the character itself",
         single("誠"),
         {},
         {"[ ] E:\\x\\abc誠d.txt[1]", "[ ] E:\\x\\誠品.txt[5]"}},
        {"a folder below 誠", single("setup"), {.wholeWord = true}, {"[ ] E:\\x\\誠\\|setup"}},
        {"Chinese second term",
         query("txt", Operator::And, "戲"),
         {},
         {"[x] E:\\x\\遊戲.txt[2]($)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(search(index, c.query, c.options), c.rows);
    }
}

TEST_F(FileSearchTest, ATermIsFoundAtEveryPlaceOfALongLine) {
    // Lines are scanned many bytes at a time: the term at every place from
    // the first to the last, beside near misses that share its first bytes.
    for (const std::string term : {"Zebra", "照片"}) {
        SCOPED_TRACE(term);
        std::string index;
        Rows expected;
        for (int k = 0; k < 48; ++k) {
            const std::string pad(static_cast<std::size_t>(k), 'z');
            const std::string hit = "E:\\x\\" + pad + term + ".txt[" + std::to_string(k) + "]";
            const std::string miss = "E:\\x\\" + pad + term.substr(0, 3) + "q.txt[1]";
            index += hit + "\r\n" + miss + "\r\n";
            expected.push_back("[ ] " + hit);
        }
        EXPECT_EQ(plain(index, single(term), true), expected);
        EXPECT_EQ(plain(index, single(platform::text::ucase(term))), expected);
        EXPECT_EQ(wholeWord(index, term), Rows{expected.front()});
    }
}

TEST_F(FileSearchTest, AnIndexOfManyBlocksGivesTheRowsOfItsLinesTakenOneByOne) {
    // The terms are looked for in whole blocks of lines: hits near every
    // block border, lines broken by CR LF, a lone CR or a lone LF (a CR LF
    // split between two blocks among them), the term across a break (no
    // hit), a last line without a break. Expected: the rows of each line
    // searched on its own, the same text never twice in a row.
    std::string bytes;
    Rows expected;
    const char* breaks[] = {"\r\n", "\r", "\n"};
    const auto lastComponentHolds = [](const std::string& line) {
        const std::string lowered = platform::text::lcase(line);
        const std::size_t at = lowered.rfind("photo");
        return at != std::string::npos && lowered.find('\\', at) == std::string::npos;
    };
    std::string last;
    for (int i = 0; bytes.size() < 700'000; ++i) {
        std::string line = "E:\\d" + std::to_string(i % 7) + "\\";
        if (i % 11 == 0) line += "Photo\\";
        line += (i % 5 == 0 ? "my photo " : "pho to ") + std::to_string(i % 3) + ".jpg[" +
                std::to_string(i % 13) + "]";
        if (i % 17 == 0) line += "phot";  // "phot" CR "o..." must not be a hit
        if (lastComponentHolds(line) && line != last) {
            expected.push_back("[ ] " + line);
            last = line;
        }
        bytes += line + breaks[i % 3];
        if (i % 17 == 0) bytes += "o.txt[1]\r\n";
    }
    bytes += "E:\\end\\photo.jpg[1]";
    expected.push_back("[ ] E:\\end\\photo.jpg[1]");
    EXPECT_TRUE(searchBytes(bytes, single("photo"), {}) == expected);
}

TEST_F(FileSearchTest, BytesThatStartNoCharacterAreKeptAndPassedOver) {
    // 0xFF and a lone lead byte: the line is searched around them.
    const std::string bytes =
        "E:\\x\\\xFF"
        "abc.txt[1]\r\nE:\\y\\abc\x81.txt[2]\r\n";
    EXPECT_EQ(searchBytes(bytes, single("ABC"), {}).size(), 2u);
    EXPECT_EQ(searchBytes(bytes, single("abc"), {.wholeWord = true}).size(), 0u);
}

TEST_F(FileSearchTest, HardDiskIndexLines) {
    const std::string index = crlf({
        "D:\\music\\pop\\|live",
        "D:\\music\\pop\\|live@",
        "D:\\music\\pop\\a.mp3[4096]",
        "D:\\music\\pop\\live\\Live.MP3[512]($)",
        "D:\\music\\pop\\live@\\b.mp3[9]",
    });
    EXPECT_EQ(plain(index, single("live")),
              (Rows{"[ ] D:\\music\\pop\\|live", "[ ] D:\\music\\pop\\|live@",
                    "[x] D:\\music\\pop\\live\\Live.MP3[512]($)"}));
    EXPECT_EQ(plain(index, single("pop")), Rows{});
    EXPECT_EQ(wholeWord(index, "live"),
              (Rows{"[x] D:\\music\\pop\\live\\Live.MP3[512]($)", "[ ] D:\\music\\pop\\|live",
                    "[ ] D:\\music\\pop\\|live@"}));
    EXPECT_EQ(extension(index, "mp3"),
              (Rows{"[ ] d:\\music\\pop\\a.mp3[4096]", "[x] d:\\music\\pop\\live\\live.mp3[512]($)",
                    "[ ] d:\\music\\pop\\live@\\b.mp3[9]"}));
}

// ---- many discs at once ----

TEST_F(FileSearchTest, ManyDiscsAreTakenInOrderWithTheHitsOfEachAlone) {
    // Forty index files of different sizes (the later ones can be searched
    // before the earlier); every seventh is missing, every eleventh a folder.
    constexpr std::size_t discs = 40;
    std::vector<std::string> paths;
    std::vector<Rows> alone;
    for (std::size_t d = 0; d < discs; ++d) {
        paths.push_back("C:\\disc" + std::to_string(d) + ".wcd");
        const std::string native = c() + "/disc" + std::to_string(d) + ".wcd";
        if (d % 7 == 3) {
            alone.emplace_back();
            continue;
        }
        if (d % 11 == 5) {
            std::filesystem::create_directories(native);
            alone.emplace_back();
            continue;
        }
        std::string index;
        for (std::size_t k = 0; k < (d % 4) * 3000 + 5; ++k)
            index += "E:\\d" + std::to_string(d) + "\\Photo " + std::to_string(k) +
                     (k % 2 ? ".jpg[1]($)\r\n" : ".txt[2]\r\n");
        files_test::writeBytes(native, platform::text::toCp936(index));
        platform::files::RawLineReader lines(paths.back());
        alone.push_back(shown(searchDiscFiles(lines, single("photo"), {})));
    }
    const auto caller = std::this_thread::get_id();
    for (const unsigned threads : {1u, 4u}) {
        SCOPED_TRACE(threads);
        std::vector<std::size_t> order;
        std::vector<Rows> taken;
        searchDiscFilesInOrder(
            discs, threads,
            [&](std::size_t i) {
                EXPECT_EQ(std::this_thread::get_id(), caller);
                return std::make_unique<platform::files::RawLineReader>(paths[i]);
            },
            single("photo"), {},
            [&](std::size_t i, const FileHits& hits) {
                EXPECT_EQ(std::this_thread::get_id(), caller);
                order.push_back(i);
                taken.push_back(shown(hits));
            });
        std::vector<std::size_t> expectedOrder(discs);
        for (std::size_t i = 0; i < discs; ++i) expectedOrder[i] = i;
        EXPECT_EQ(order, expectedOrder);
        EXPECT_TRUE(taken == alone);
        EXPECT_EQ(taken[39].size(), 9005u);  // every line of disc 39
    }
}

TEST_F(FileSearchTest, AnErrorThatIsNoFileErrorEndsTheSearchOfManyDiscs) {
    for (std::size_t d = 0; d < 12; ++d)
        files_test::writeBytes(c() + "/disc" + std::to_string(d) + ".wcd", "E:\\a.txt[1]\r\n");
    const auto open = [](std::size_t i) {
        return std::make_unique<platform::files::RawLineReader>("C:\\disc" + std::to_string(i) +
                                                                ".wcd");
    };
    for (const unsigned threads : {1u, 4u}) {
        // Raised while a disc is taken: no disc after it is taken.
        std::size_t taken = 0;
        EXPECT_THROW(searchDiscFilesInOrder(12, threads, open, single("a"), {},
                                            [&](std::size_t i, const FileHits&) {
                                                ++taken;
                                                if (i == 4) throw std::runtime_error("taken");
                                            }),
                     std::runtime_error);
        EXPECT_EQ(taken, 5u);
        // Raised while a disc is opened.
        EXPECT_THROW(searchDiscFilesInOrder(
                         12, threads,
                         [&](std::size_t i) {
                             if (i == 6) throw std::logic_error("opened");
                             return open(i);
                         },
                         single("a"), {}, [](std::size_t, const FileHits&) {}),
                     std::logic_error);
    }
}

}  // namespace
}  // namespace search
