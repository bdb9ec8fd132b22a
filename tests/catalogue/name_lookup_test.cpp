#include "catalogue/name_lookup.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {
namespace {

// The lines, each ended by CR LF.
std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const auto line : lines) text.append(line).append("\r\n");
    return text;
}

// A choice as the tests compare it: the chosen line's content, "ambiguous"
// or "-".
std::string shown(std::string_view text, const ChosenFileLine& c) {
    switch (c.match) {
        case NameMatch::Found:
            return std::string(text.substr(c.begin, c.contentEnd - c.begin));
        case NameMatch::Ambiguous:
            return "ambiguous";
        case NameMatch::None:
            break;
    }
    return "-";
}

// Case twins (same and different sizes), names holding "($)", "[", "{" and
// "@", names beginning with "noStr" and a digit, a name standing twice, and
// lines that merely begin with a wanted path.
const std::string Index = crlf({
    "E:\\|d",
    "E:\\d\\A.txt[5]",
    "E:\\d\\a.txt[5]($)",
    "E:\\d\\B.txt[5]",
    "E:\\d\\b.txt[6]",
    "E:\\d\\C.txt[1]",
    "E:\\d\\c.TXT[2]",
    "E:\\d\\許($).doc[7]($)($)",
    "E:\\d\\x[1].txt[8]",
    "E:\\d\\y{z}.txt[9]($){C:\\copies\\d\\y{z}.txt}",
    "E:\\d\\me@home.txt[10]",
    "E:\\d\\noStr5.txt[11]",
    "E:\\d\\5.txt[11]",
    "E:\\d\\dup.txt[3]",
    "E:\\d\\Dup.txt[3]",
    "E:\\d\\dup.txt[3]($)",
    "E:\\d\\only.TXT[4]",
    "E:\\d\\only.TXT.bak[4]",
    "E:\\d\\|only.txt",
    "E:\\d\\Once.txt[12]",
    "E:\\d\\once.txt[12]",
});

TEST(ChooseFileLines, TheExactNameWinsAndAnotherCaseOnlyWhenItIsTheOneCandidate) {
    struct Case {
        WantedFile wanted;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // Case twins of one size: each finds its own line, a lower-cased row
        // of neither spelling finds none of them.
        {{"E:\\d\\A.txt", "5"}, "E:\\d\\A.txt[5]"},
        {{"E:\\d\\a.txt", "5"}, "E:\\d\\a.txt[5]($)"},
        {{"E:\\d\\a.TXT", "5"}, "ambiguous"},
        {{"E:\\d\\a.txt", ""}, "E:\\d\\a.txt[5]($)"},
        {{"E:\\d\\a.TXT", ""}, "ambiguous"},
        // Twins of different sizes: the size tells them apart.
        {{"E:\\d\\B.txt", "5"}, "E:\\d\\B.txt[5]"},
        {{"E:\\d\\b.txt", "6"}, "E:\\d\\b.txt[6]"},
        {{"E:\\d\\b.TXT", "6"}, "E:\\d\\b.txt[6]"},
        {{"E:\\d\\b.txt", "5"}, "E:\\d\\B.txt[5]"},
        {{"E:\\d\\b.TXT", ""}, "ambiguous"},
        {{"E:\\d\\c.txt", "1"}, "E:\\d\\C.txt[1]"},
        {{"E:\\d\\c.txt", "3"}, "-"},
        // A name's own "($)", "[", "{" and "@", and "noStr" before a digit.
        {{"E:\\d\\許($).doc", "7"}, "E:\\d\\許($).doc[7]($)($)"},
        {{"E:\\d\\許.doc", "7"}, "-"},
        {{"E:\\d\\x[1].txt", "8"}, "E:\\d\\x[1].txt[8]"},
        {{"E:\\d\\y{z}.txt", "9"}, "E:\\d\\y{z}.txt[9]($){C:\\copies\\d\\y{z}.txt}"},
        {{"E:\\d\\me@home.txt", "10"}, "E:\\d\\me@home.txt[10]"},
        {{"E:\\d\\noStr5.txt", "11"}, "E:\\d\\noStr5.txt[11]"},
        {{"E:\\d\\5.txt", "11"}, "E:\\d\\5.txt[11]"},
        // A name standing twice: its first exact line; the two spellings of
        // dup.txt are two candidates for a third one.
        {{"E:\\d\\dup.txt", "3"}, "E:\\d\\dup.txt[3]"},
        {{"E:\\d\\Dup.txt", "3"}, "E:\\d\\Dup.txt[3]"},
        {{"E:\\d\\DUP.txt", "3"}, "ambiguous"},
        // One candidate: taken whatever its case; a longer name or a folder
        // is none.
        {{"e:\\D\\ONLY.txt", "4"}, "E:\\d\\only.TXT[4]"},
        {{"E:\\d\\only.txt", ""}, "E:\\d\\only.TXT[4]"},
        // A row lower-cased whole, its drive letter too, spells no line.
        {{"E:\\d\\once.txt", "12"}, "E:\\d\\once.txt[12]"},
        {{"e:\\d\\once.txt", "12"}, "ambiguous"},
        {{"e:\\d\\Once.txt", ""}, "ambiguous"},
        {{"E:\\d", ""}, "-"},
        {{"E:\\d\\gone.txt", ""}, "-"},
    };
    // One at a time, and all in one pass: the same choices.
    std::vector<WantedFile> all;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wanted.path + "[" + c.wanted.sizeText + "]");
        EXPECT_EQ(shown(Index, chooseFileLine(Index, c.wanted)), c.expected);
        all.push_back(c.wanted);
    }
    const std::vector<ChosenFileLine> chosen = chooseFileLines(Index, all);
    ASSERT_EQ(chosen.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(shown(Index, chosen[i]), cases[i].expected) << cases[i].wanted.path;
}

TEST(ChooseFileLines, AChosenLineIsReadWholeWithItsBreak) {
    const std::string text = "E:\\|d\nE:\\a.txt[1]($)\rE:\\b{c}.txt[2]($){C:\\x\\b{c}.txt}";
    const ChosenFileLine a = chooseFileLine(text, {"E:\\a.txt", "1"});
    ASSERT_TRUE(a);
    EXPECT_EQ(a.begin, 6u);
    EXPECT_EQ(a.contentEnd, 20u);
    EXPECT_EQ(a.end, 21u);
    EXPECT_EQ(a.line.path, "E:\\a.txt");
    EXPECT_EQ(a.line.ticks, 1);
    // A last line without a break ends at the text's end.
    const ChosenFileLine b = chooseFileLine(text, {"E:\\B{C}.txt", ""});
    ASSERT_TRUE(b);
    EXPECT_EQ(b.contentEnd, text.size());
    EXPECT_EQ(b.end, text.size());
    ASSERT_TRUE(b.line.mirror);
    EXPECT_EQ(*b.line.mirror, "C:\\x\\b{c}.txt");
    EXPECT_FALSE(chooseFileLine("", {"E:\\a.txt", ""}));
    EXPECT_TRUE(chooseFileLines(text, {}).empty());
}

TEST(ChooseFileLines, FindsTheLineOfTheWholePath) {
    const std::string text = crlf({
                                 "E:\\docs\\a.txt.bak[3]",
                                 "E:\\docs\\|a.txt",
                                 "E:\\docs\\a.txt\\x[1]",
                                 "E:\\docs\\a.txt[10]($)",
                                 "E:\\docs\\README[7]",
                             }) +
                             "E:\\游戏\\誠遊許[100]";
    const auto lineStart = [&](std::string_view line) { return text.find(line); };
    struct Case {
        const char* path;
        const char* line;   // nullptr: not found
        const char* found;  // the path as the line spells it
    };
    const Case cases[] = {
        {"E:\\docs\\a.txt", "E:\\docs\\a.txt[10]($)\r\n", "E:\\docs\\a.txt"},
        {"e:\\DOCS\\A.TXT", "E:\\docs\\a.txt[10]($)\r\n", "E:\\docs\\a.txt"},
        {"E:\\docs\\a.txt.bak", "E:\\docs\\a.txt.bak[3]\r\n", "E:\\docs\\a.txt.bak"},
        {"E:\\docs\\a.txt\\x", "E:\\docs\\a.txt\\x[1]\r\n", "E:\\docs\\a.txt\\x"},
        {"E:\\docs\\readme", "E:\\docs\\README[7]\r\n", "E:\\docs\\README"},
        {"E:\\游戏\\誠遊許", "E:\\游戏\\誠遊許[100]", "E:\\游戏\\誠遊許"},
        {"E:\\docs\\a", nullptr, nullptr},
        {"E:\\docs\\readme.", nullptr, nullptr},
        {"E:\\docs", nullptr, nullptr},
        {"docs\\a.txt", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const ChosenFileLine found = chooseFileLine(text, {c.path, ""});
        if (!c.line) {
            EXPECT_FALSE(found);
            continue;
        }
        ASSERT_TRUE(found);
        EXPECT_EQ(found.begin, lineStart(c.line));
        EXPECT_EQ(found.end, found.begin + std::string_view(c.line).size());
        EXPECT_EQ(found.line.path, c.found);
    }
    const ChosenFileLine a = chooseFileLine(text, {"E:\\docs\\a.txt", ""});
    ASSERT_TRUE(a);
    EXPECT_EQ(a.line.sizeText, "10");
    EXPECT_EQ(a.line.ticks, 1);
}

TEST(ChooseFileLines, FirstLineAndHardDiskSiblings) {
    // A hard-disk folder D:\music\pop: "pop\kpop\live" stands before "pop\live".
    const std::string HardIndex =
        crlf({"D:\\music\\pop\\|kpop", "D:\\music\\pop\\kpop\\|live",
              "D:\\music\\pop\\kpop\\live\\a.mp3[4096]", "D:\\music\\pop\\live\\a.mp3[4096]"});
    // A folder is no file, nor is a path that only begins its lines.
    EXPECT_FALSE(chooseFileLine(HardIndex, {"D:\\music\\pop\\kpop", ""}));
    EXPECT_FALSE(chooseFileLine(HardIndex, {"D:\\music\\pop\\kpop\\live", ""}));
    const std::string text = "E:\\a.txt[1]\r\nE:\\b.txt[2]\r\n";
    const ChosenFileLine a = chooseFileLine(text, {"E:\\a.txt", ""});
    ASSERT_TRUE(a);
    EXPECT_EQ(a.begin, 0u);
    EXPECT_EQ(a.end, 13u);
    const ChosenFileLine live = chooseFileLine(HardIndex, {"D:\\music\\pop\\live\\a.mp3", "4096"});
    ASSERT_TRUE(live);
    EXPECT_EQ(HardIndex.substr(live.begin, live.end - live.begin),
              "D:\\music\\pop\\live\\a.mp3[4096]\r\n");
}

TEST(NameLookup, ManyNamesInOnePassAndEachSpellingItsOwnChoice) {
    NameLookup lookup;
    const std::size_t exact = lookup.want("E:\\d\\|Img");
    const std::size_t lower = lookup.want("e:\\d\\|img");
    const std::size_t other = lookup.want("E:\\d\\|IMG");
    const std::size_t again = lookup.want("E:\\d\\|Img");
    const std::size_t single = lookup.want("E:\\|Docs");
    const std::size_t missing = lookup.want("E:\\|gone");
    EXPECT_FALSE(lookup.settled());
    lookup.offer("E:\\|docs", 10);
    lookup.offer("E:\\d\\|img", 20);
    lookup.offer("E:\\d\\|Img", 30);
    lookup.offer("E:\\d\\|Img", 40);
    lookup.offer("E:\\unrelated", 50);
    const auto at = [&](std::size_t i) {
        const NameChoice c = lookup.choice(i);
        return c.match == NameMatch::Found       ? std::to_string(c.position)
               : c.match == NameMatch::Ambiguous ? std::string("ambiguous")
                                                 : std::string("-");
    };
    EXPECT_EQ(at(exact), "30");
    EXPECT_EQ(at(again), "30");
    EXPECT_EQ(at(lower), "ambiguous");
    EXPECT_EQ(at(other), "ambiguous");
    EXPECT_EQ(at(single), "10");
    EXPECT_EQ(at(missing), "-");
    EXPECT_FALSE(lookup.settled());

    // Settled once every wanted spelling has its exact match.
    NameLookup two;
    two.want("a");
    two.want("B");
    two.offer("b", 1);
    EXPECT_FALSE(two.settled());
    two.offer("a", 2);
    two.offer("B", 3);
    EXPECT_TRUE(two.settled());
    EXPECT_TRUE(NameLookup().settled());
}

TEST(NameLookup, TheRefusalNamesTheFile) {
    EXPECT_EQ(ambiguousNameMessage("E:\\d\\a.txt"),
              "有几个文件的名字只是大小写不同，无法确定是哪一个：E:\\d\\a.txt");
}

}  // namespace
}  // namespace catalogue
