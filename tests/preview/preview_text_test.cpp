// The texts taken from a previewed file or a selection, and the index line
// changed for a renamed file.
#include "preview/preview_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using preview::RemarkSource;

TEST(PreviewText, TypesGiveTheirRemarkSource) {
    for (const char* t : {"htm", "html", "HTM"})
        EXPECT_EQ(preview::remarkSourceOf(t), RemarkSource::Title) << t;
    for (const char* t : {"txt", "log", "asp", "ini", "css", "doc", "TXT"})
        EXPECT_EQ(preview::remarkSourceOf(t), RemarkSource::Opening) << t;
    for (const char* t : {"", "文件夹", "shtml", "xml", "jpg", "No扩展名"})
        EXPECT_EQ(preview::remarkSourceOf(t), RemarkSource::None) << t;
}

TEST(PreviewText, ATitleIsTakenAsItStands) {
    struct Case {
        std::string page;
        std::string title;
    };
    for (const Case& c : std::vector<Case>{
             {"<html><TITLE>Index</TITLE>", "Index"},
             {"<title> 两行\r\n标题 </title>", " 两行\r\n标题 "},
             {"<Title>a</tItle><title>b</title>", "a"},
             {"<title></title>", ""},
             {"</title><title>x", ""},  // the closing tag first
             {"<title>no end", ""},
             {"no tags at all", ""},
             // Non-ASCII text before the tags keeps the positions right.
             {"\xC4\xB0\xC4\xB0<TITLE>İx</TITLE>", "İx"},
         }) {
        SCOPED_TRACE(c.page);
        EXPECT_EQ(preview::pageTitle(c.page), c.title);
    }
}

TEST(PreviewText, TheOpeningOfATextDropsLineBreaksThenTrimsAndKeeps30Characters) {
    struct Case {
        std::string text;
        std::optional<std::string> opening;
    };
    std::string forty;
    for (int i = 0; i < 40; ++i) forty += "中";
    std::string thirty;
    for (int i = 0; i < 30; ++i) thirty += "中";
    for (const Case& c : std::vector<Case>{
             {"  short  ", "short"},
             {"ab\r\ncd\r\n", "abcd"},
             {"a\nb\rc", "abc"},  // lone line ends go too
             {"\n\r \n", ""},
             {"\r\n\r\n", std::nullopt},
             {"\n\r\r\n\n", std::nullopt},
             {"", std::nullopt},
             {"   ", ""},
             {forty, thirty},
             {"0123456789\r\n0123456789\r\n0123456789abc", "012345678901234567890123456789"},
         }) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(preview::textOpening(c.text), c.opening);
    }
}

TEST(PreviewText, ASelectedRemarkHasNoLineBreaksAndNoOuterSpaces) {
    EXPECT_EQ(preview::remarkOfSelection("  a\nb\r\nc\rd  "), "abcd");
    EXPECT_EQ(preview::remarkOfSelection("\r\n x \n"), "x");
    EXPECT_EQ(preview::remarkOfSelection("   "), "");
}

TEST(PreviewText, ASelectionBecomesAPlainName) {
    struct Case {
        std::string selection;
        std::string name;
    };
    std::string long120;
    for (int i = 0; i < 120; ++i) long120 += static_cast<char>('a' + i % 26);
    for (const Case& c : std::vector<Case>{
             {"  报告:第1章\r\n", "报告第1章"},
             {"a/b\\c*d>e<f:g?h|i", "abcdefghi"},
             {"Part.2", "Part.2"},
             {"say \"hi\"", "say \"hi\""},
             {"x  \r\ny", "x  y"},  // blanks before a removed line break stay
             {"\r\n", ""},
             {"???", ""},
             {long120, long120.substr(0, 100)},
             // Code page 936 as stored (with GB18030) writes every character.
             {"a😀b", "a😀b"},
         }) {
        SCOPED_TRACE(c.selection);
        EXPECT_EQ(preview::nameOfSelection(c.selection, 4), c.name);
    }
    // 100 Chinese characters are 300 bytes: cut to fit 255 with the extension.
    std::string hundred;
    for (int i = 0; i < 100; ++i) hundred += "名";
    const std::string name = preview::nameOfSelection(hundred, 4);
    EXPECT_LE(name.size() + 4, 255u);
    EXPECT_EQ(name.size() % 3, 0u);
    EXPECT_EQ(name.size(), 249u);
}

TEST(PreviewText, TheNewPathKeepsFolderAndExtension) {
    EXPECT_EQ(preview::renamedPath("D:\\data\\a.txt", "New Name"), "D:\\data\\New Name.txt");
    EXPECT_EQ(preview::renamedPath("D:\\data\\a.b.htm", "x.y"), "D:\\data\\x.y.htm");
    EXPECT_EQ(preview::renamedPath("D:\\da.ta\\README", "x"), "D:\\da.ta\\x");
    EXPECT_EQ(preview::extensionOf("D:\\da.ta\\README"), "");
}

TEST(PreviewText, OnlyTheFilesOwnLineIsRenamed) {
    const std::string index =
        "D:\\data\\|sub\r\n"
        "D:\\data\\a.txt.bak[3]\r\n"
        "D:\\data\\a.txt[10]($)\r\n"
        "D:\\data\\a.txt.d\\|x\r\n"
        "D:\\data\\a.txt.d\\b.txt[4]\r\n";
    // The text, or "-" when no line is found, "ambiguous" when several are.
    const auto renamed = [](std::string_view text, std::string_view from, std::string_view to) {
        const preview::RenamedIndex r = preview::renameFileLine(text, from, to);
        return r.match == catalogue::NameMatch::Found       ? r.text
               : r.match == catalogue::NameMatch::Ambiguous ? std::string("ambiguous")
                                                            : std::string("-");
    };
    EXPECT_EQ(renamed(index, "d:\\data\\a.txt", "d:\\data\\N.txt"),
              "D:\\data\\|sub\r\n"
              "D:\\data\\a.txt.bak[3]\r\n"
              "d:\\data\\N.txt[10]($)\r\n"
              "D:\\data\\a.txt.d\\|x\r\n"
              "D:\\data\\a.txt.d\\b.txt[4]\r\n");
    // Other letter case: only when exactly one line matches so.
    EXPECT_EQ(renamed("D:\\Data\\A.txt[1]\r\n", "D:\\data\\a.txt", "D:\\data\\b.txt"),
              "D:\\data\\b.txt[1]\r\n");
    EXPECT_EQ(renamed("D:\\Data\\A.txt[1]\r\nD:\\DATA\\a.txt[1]\r\n", "D:\\data\\a.txt",
                      "D:\\data\\b.txt"),
              "ambiguous");
    // Case twins: the exact one, wherever it stands.
    EXPECT_EQ(renamed("D:\\d\\A.txt[1]\r\nD:\\d\\a.txt[2]\r\n", "D:\\d\\a.txt", "D:\\d\\b.txt"),
              "D:\\d\\A.txt[1]\r\nD:\\d\\b.txt[2]\r\n");
    // A folder line or a longer name is not the file.
    EXPECT_EQ(renamed(index, "D:\\data\\sub", "D:\\data\\x"), "-");
    EXPECT_EQ(renamed(index, "D:\\data\\a", "D:\\data\\x"), "-");
    // Lone line ends.
    EXPECT_EQ(renamed("x[1]\nD:\\a[2]\rD:\\b[3]", "D:\\b", "D:\\c"), "x[1]\nD:\\a[2]\rD:\\c[3]");
}

}  // namespace
