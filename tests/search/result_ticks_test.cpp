#include "search/result_ticks.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace search {
namespace {

const std::string CdIndex =
    "E:\\|docs@\r\n"
    "E:\\|新建文件夹\r\n"
    "E:\\docs\\|img@@\r\n"
    "E:\\docs\\a.txt.bak[9]\r\n"
    "E:\\docs\\A.TXT[3]($)\r\n"
    "E:\\docs\\b.htm[4]($){d:\\zelbrin\\CD\\docs\\b.htm}\r\n"
    "E:\\docs\\Makefile[5]\r\n"
    "E:\\docs\\a[6]\r\n"
    "E:\\新建文件夹\\说明.txt[7]($)($)\r\n"
    "E:\\docs\\a.txt[8]\r\n";

// The scanned folder D:\work\src.
const std::string HardIndex =
    "D:\\work\\src\\Makefile[10]\r\n"
    "D:\\work\\src\\|lib\r\n"
    "D:\\work\\src\\a.txt.bak[11]\r\n"
    "D:\\work\\src\\a.txt[12]\r\n";

// The found line as "its content|folder|marks|mirrored", or "-".
// "ambiguous" when the index spells the row's file or folder several ways
// but for letter case and never exactly.
std::string shown(std::string_view text, const ResultLookup& found) {
    if (found.match == catalogue::NameMatch::Ambiguous) return "ambiguous|" + found.name;
    if (!found) return "-";
    const ResultLine& line = found.line;
    return std::string(text.substr(line.begin, line.contentEnd - line.begin)) + "|" +
           (line.folder ? "folder" : "file") + "|" + std::to_string(line.ticks) + "|" +
           (line.mirrored ? "mirror" : "");
}

TEST(ResultLine, EachRowFindsItsOwnWholeLine) {
    struct Case {
        ResultLayout layout;
        std::string key;
        bool hard;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // File rows: the line as listed, lower-cased by the extension search.
        {ResultLayout::File, "e:\\docs\\a.txt[3]($)", false, "E:\\docs\\A.TXT[3]($)|file|1|"},
        {ResultLayout::File, "E:\\docs\\A.TXT[3]", false, "E:\\docs\\A.TXT[3]($)|file|1|"},
        {ResultLayout::File, "E:\\docs\\b.htm[4]($){d:\\zelbrin\\CD\\docs\\b.htm}", false,
         "E:\\docs\\b.htm[4]($){d:\\zelbrin\\CD\\docs\\b.htm}|file|1|mirror"},
        {ResultLayout::File, "E:\\docs\\|img@@", false, "E:\\docs\\|img@@|folder|0|"},
        {ResultLayout::File, "e:\\docs\\|IMG@@", false, "E:\\docs\\|img@@|folder|0|"},
        {ResultLayout::File, "E:\\docs\\|img", false, "-"},
        {ResultLayout::File, "E:\\docs\\gone.txt[1]", false, "-"},
        {ResultLayout::File, "no line at all", false, "-"},
        // Note rows of a CD: the key is the index path; a.txt.bak and a
        // folder named a.txt never answer for a.txt.
        {ResultLayout::Note, "E:\\docs\\a.txt", false, "E:\\docs\\a.txt[8]|file|0|"},
        {ResultLayout::Note, "E:\\docs\\A.TXT", false, "E:\\docs\\A.TXT[3]($)|file|1|"},
        {ResultLayout::Note, "E:\\docs\\A.txt", false, "ambiguous|E:\\docs\\A.txt"},
        {ResultLayout::Note, "E:\\docs\\a.No扩展名", false, "E:\\docs\\a[6]|file|0|"},
        {ResultLayout::Note, "E:\\docs\\Makefile.No扩展名", false, "E:\\docs\\Makefile[5]|file|0|"},
        {ResultLayout::Note, "E:\\新建文件夹\\说明.txt", false,
         "E:\\新建文件夹\\说明.txt[7]($)($)|file|2|"},
        {ResultLayout::Note, "E:\\docs\\b.htm", false,
         "E:\\docs\\b.htm[4]($){d:\\zelbrin\\CD\\docs\\b.htm}|file|1|mirror"},
        {ResultLayout::Note, "E:\\docs\\a.tx", false, "-"},
        {ResultLayout::Note, "E:\\docs.文件夹", false, "-"},
        {ResultLayout::Note, "E:\\新建文件夹.文件夹", false, "-"},
        {ResultLayout::Note, "", false, "-"},
        // The notes of a hard-disk folder begin below the scanned folder's parent.
        {ResultLayout::Note, "src\\Makefile.No扩展名", true, "D:\\work\\src\\Makefile[10]|file|0|"},
        {ResultLayout::Note, "src\\a.txt", true, "D:\\work\\src\\a.txt[12]|file|0|"},
        {ResultLayout::Note, "src\\a.txt", false, "-"},
        // Remark rows name no line.
        {ResultLayout::Remark, "E:\\docs\\a.txt", false, "-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const std::string& text = c.hard ? HardIndex : CdIndex;
        EXPECT_EQ(shown(text, findResultLine(text, c.layout, c.key, c.hard)), c.expected);
    }
}

TEST(ResultLine, ManyRowsAreAnsweredInOnePassAndMayShareALine) {
    // A.TXT and a.txt differ in their size (a scan of a case-sensitive folder).
    const std::vector<std::string> keys = {
        "E:\\docs\\a.txt[8]",     "e:\\docs\\a.txt[8]", "",
        "E:\\docs\\a.txt.bak[9]", "E:\\x[1]",           "e:\\docs\\a.txt[3]"};
    const auto lines = findResultLines(CdIndex, ResultLayout::File, keys, false);
    ASSERT_EQ(lines.size(), keys.size());
    EXPECT_EQ(shown(CdIndex, lines[0]), "E:\\docs\\a.txt[8]|file|0|");
    EXPECT_EQ(shown(CdIndex, lines[5]), "E:\\docs\\A.TXT[3]($)|file|1|");
    ASSERT_TRUE(lines[1]);
    EXPECT_EQ(lines[1].line.begin, lines[0].line.begin);
    EXPECT_EQ(shown(CdIndex, lines[2]), "-");
    EXPECT_EQ(shown(CdIndex, lines[3]), "E:\\docs\\a.txt.bak[9]|file|0|");
    EXPECT_EQ(shown(CdIndex, lines[4]), "-");
}

// Case twins and names holding "($)", "[", "{", "@" or beginning with
// "noStr" and a digit: a row finds the line of its own file, the exact
// spelling first; a lower-cased row whose file is spelt two ways (and not
// its way) finds none.
TEST(ResultLine, ARowFindsItsOwnFileAmongCaseTwins) {
    const std::string text =
        "E:\\|d\r\n"
        "E:\\|D\r\n"
        "E:\\d\\A.txt[5]\r\n"
        "E:\\d\\a.txt[5]\r\n"
        "E:\\d\\B.txt[5]\r\n"
        "E:\\d\\b.txt[6]($)\r\n"
        "E:\\d\\許($).doc[7]\r\n"
        "E:\\d\\x[1].txt[8]\r\n"
        "E:\\d\\y{z}.txt[9]\r\n"
        "E:\\d\\me@home.txt[10]\r\n"
        "E:\\d\\noStr5.txt[11]\r\n"
        "E:\\d\\5.txt[11]\r\n";
    struct Case {
        ResultLayout layout;
        std::string key;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {ResultLayout::File, "E:\\d\\a.txt[5]", "E:\\d\\a.txt[5]|file|0|"},
        {ResultLayout::File, "E:\\d\\A.txt[5]($)", "E:\\d\\A.txt[5]|file|0|"},
        {ResultLayout::File, "e:\\d\\a.txt[5]", "ambiguous|e:\\d\\a.txt"},
        {ResultLayout::File, "e:\\d\\a.TXT[5]", "ambiguous|e:\\d\\a.TXT"},
        {ResultLayout::File, "e:\\d\\b.txt[5]", "E:\\d\\B.txt[5]|file|0|"},
        {ResultLayout::File, "e:\\d\\B.TXT[6]", "E:\\d\\b.txt[6]($)|file|1|"},
        {ResultLayout::File, "e:\\d\\許($).doc[7]", "E:\\d\\許($).doc[7]|file|0|"},
        {ResultLayout::File, "E:\\d\\x[1].txt[8]", "E:\\d\\x[1].txt[8]|file|0|"},
        {ResultLayout::File, "E:\\d\\y{z}.txt[9]", "E:\\d\\y{z}.txt[9]|file|0|"},
        {ResultLayout::File, "E:\\d\\me@home.txt[10]", "E:\\d\\me@home.txt[10]|file|0|"},
        {ResultLayout::File, "E:\\d\\noStr5.txt[11]", "E:\\d\\noStr5.txt[11]|file|0|"},
        {ResultLayout::File, "E:\\d\\5.txt[11]", "E:\\d\\5.txt[11]|file|0|"},
        {ResultLayout::File, "E:\\|D", "E:\\|D|folder|0|"},
        {ResultLayout::File, "e:\\|d", "ambiguous|e:\\|d"},
        {ResultLayout::File, "E:\\|d", "E:\\|d|folder|0|"},
        {ResultLayout::File, "E:\\|DD", "-"},
        {ResultLayout::Note, "E:\\d\\a.txt", "E:\\d\\a.txt[5]|file|0|"},
        {ResultLayout::Note, "E:\\d\\A.TXT", "ambiguous|E:\\d\\A.TXT"},
        {ResultLayout::Note, "E:\\d\\noStr5.txt", "E:\\d\\noStr5.txt[11]|file|0|"},
    };
    std::vector<std::string> keys;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(shown(text, findResultLine(text, c.layout, c.key, false)), c.expected);
        if (c.layout == ResultLayout::File) keys.push_back(c.key);
    }
    // All file rows at once: the same lines.
    const auto lines = findResultLines(text, ResultLayout::File, keys, false);
    ASSERT_EQ(lines.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(shown(text, lines[i]), cases[i].expected) << keys[i];
}

TEST(ResultLine, ALastLineWithoutBreakEndsAtTheTextsEnd) {
    const std::string text = "E:\\a.txt[1]\r\nE:\\b.txt[2]($)";
    const auto line = findResultLine(text, ResultLayout::Note, "E:\\b.txt", false);
    ASSERT_TRUE(line);
    EXPECT_EQ(line.line.contentEnd, text.size());
    EXPECT_EQ(addTickMarks(text, {line.line.contentEnd}), "E:\\a.txt[1]\r\nE:\\b.txt[2]($)($)");
}

TEST(TickMarks, EachNamedLineGetsOneMarkBeforeItsBreak) {
    const std::string text = "E:\\a[1]\r\nE:\\b[2]($)\nE:\\c[3]\rE:\\d[4]\r\n";
    const auto a = findResultLine(text, ResultLayout::Note, "E:\\a.No扩展名", false);
    const auto b = findResultLine(text, ResultLayout::Note, "E:\\b.No扩展名", false);
    const auto c = findResultLine(text, ResultLayout::Note, "E:\\c.No扩展名", false);
    ASSERT_TRUE(a && b && c);
    // Named twice, marked once; the line breaks stay as they were.
    EXPECT_EQ(addTickMarks(text, {c.line.contentEnd, a.line.contentEnd, c.line.contentEnd,
                                  b.line.contentEnd}),
              "E:\\a[1]($)\r\nE:\\b[2]($)($)\nE:\\c[3]($)\rE:\\d[4]\r\n");
    EXPECT_EQ(addTickMarks(text, {}), text);
}

TEST(TickMarks, ANoteRowsIndexPathDropsTheTypeOfAFileWithoutExtension) {
    EXPECT_EQ(noteRowIndexPath("E:\\docs\\Makefile.No扩展名", ""), "E:\\docs\\Makefile");
    EXPECT_EQ(noteRowIndexPath("src\\a.txt", "D:\\work\\"), "D:\\work\\src\\a.txt");
    EXPECT_EQ(noteRowIndexPath("E:\\docs.文件夹", ""), "");
    EXPECT_EQ(noteRowIndexPath(".No扩展名", ""), "");
    EXPECT_EQ(noteRowIndexPath("", "D:\\work\\"), "");
}

}  // namespace
}  // namespace search
