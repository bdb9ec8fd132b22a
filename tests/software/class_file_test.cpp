// The software category file: its line grammar, the category view the loader
// builds from it, and filing and unfiling a record's line.
#include "software/class_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/key_index.h"

namespace {

using software::ClassLine;
using software::ClassLineKind;
using Strings = std::vector<std::string>;

// The text of lines, each ended by CR LF.
std::string file(const Strings& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// The category view as "path (c|r)", in the order the nodes are added.
Strings view(const std::string& text) {
    Strings out;
    for (const software::ClassTreeNode& n : software::classTreeNodes(text))
        out.push_back(n.fullPath + (n.category ? " c" : " r"));
    return out;
}

TEST(ClassLine, KindsInOrderAndNamesAfterThePrefix) {
    struct Case {
        const char* line;
        ClassLine parsed;
    };
    for (const Case& c : {
             Case{"==工具", {ClassLineKind::Category, "工具"}},
             Case{"  ==工具  ", {ClassLineKind::Category, "工具"}},
             Case{"== 工具", {ClassLineKind::Category, " 工具"}},
             Case{"=网络", {ClassLineKind::SubCategory, "网络"}},
             Case{"===x", {ClassLineKind::Category, "=x"}},
             Case{"{#$}FlashGet", {ClassLineKind::Record, "FlashGet"}},
             Case{"下载", {ClassLineKind::ThirdCategory, "下载"}},
             Case{"", {ClassLineKind::ThirdCategory, ""}},
             // Only blanks are trimmed: a tab or a full-width blank stays.
             Case{"\t下载", {ClassLineKind::ThirdCategory, "\t下载"}},
             Case{"　下载", {ClassLineKind::ThirdCategory, "　下载"}},
         }) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(software::parseClassLine(c.line), c.parsed);
    }
}

TEST(ClassLine, LinesEndAtCrWithOrWithoutLf) {
    const std::string text = "a\r\nb\rc\nd\r\ne";
    Strings lines;
    for (const auto& span : software::classLineSpans(text)) lines.emplace_back(span.line(text));
    EXPECT_EQ(lines, (Strings{"a", "b", "c\nd", "e"}));
    EXPECT_TRUE(software::classLineSpans("").empty());
    EXPECT_EQ(software::classLineSpans("\r\n").size(), 1u);
}

TEST(ClassTree, BuildsThreeLevelsWithRecordsUnderTheLastCategoryLine) {
    struct Case {
        Strings lines;
        Strings nodes;
    };
    for (const Case& c : {
             Case{{"==工具", "=网络", "{#$}A", "下载", "{#$}B", "=系统", "{#$}K"},
                  {"工具 c", "工具\\网络 c", "工具\\网络\\A r", "工具\\网络\\下载 c",
                   "工具\\网络\\下载\\B r", "工具\\系统 c", "工具\\系统\\K r"}},
             // The last second-level line came before the last top line.
             Case{{"==甲", "=乙", "==丙", "丁"}, {"甲 c", "甲\\乙 c", "丙 c", "丙\\丁 c"}},
             Case{{"==甲", "=乙", "丙", "=丁", "{#$}X"},
                  {"甲 c", "甲\\乙 c", "甲\\乙\\丙 c", "甲\\丁 c", "甲\\丁\\X r"}},
             // A second line of a taken name adds nothing; the lines below it
             // attach to the node that holds the name.
             Case{{"==工具", "=网络", "==工具", "=系统"},
                  {"工具 c", "工具\\网络 c", "工具\\系统 c"}},
             Case{{"==工具", "{#$}工具", "{#$}A"}, {"工具 c", "工具\\A r"}},
             // Nothing before the first top line.
             Case{{"{#$}A", "=网络", "下载", "==工具"}, {"工具 c"}},
             // An empty name adds no node; the records below go too. Names of
             // digits are nodes as any other.
             Case{{"==工具", "", "{#$}A", "==360", "{#$}B", "==T", "{#$}360xx", "{#$}2048"},
                  {"工具 c", "360 c", "360\\B r", "T c", "T\\360xx r", "T\\2048 r"}},
             // Names are compared with letter case.
             Case{{"==Tools", "{#$}tools"}, {"Tools c", "Tools\\tools r"}},
         }) {
        SCOPED_TRACE(c.lines.front());
        EXPECT_EQ(view(file(c.lines)), c.nodes);
    }
}

TEST(ClassTree, ParentKeysAndLines) {
    const auto nodes = software::classTreeNodes(file({"==工具", "=网络", "{#$}A"}));
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[0].parentKey, "");
    EXPECT_EQ(nodes[1].parentKey, "工具");
    EXPECT_EQ(nodes[2].parentKey, "网络");
    EXPECT_EQ(nodes[2].line, 2u);
}

TEST(ClassTree, KeysOfNamesTheTreeWouldRefuseOrMistakeAreMadeApartAndGiveTheNameBack) {
    struct Case {
        const char* name;
        const char* key;
    };
    for (const Case& c : {
             Case{"工具", "工具"},
             Case{"A1", "A1"},
             Case{"2048", "noStr2048"},
             Case{"360安全", "noStr360安全"},
             Case{"1.5", "noStr1.5"},
             Case{"-1", "noStr-1"},  // all-numeric, though no digit first
             Case{".5", "noStr.5"},
             Case{"+3", "noStr+3"},
             Case{"noStr5", "noStrnoStr5"},  // else it would be the key of "5"
             Case{"noStrX", "noStrnoStrX"},
             Case{"nostr5", "nostr5"},
             Case{"Nostradamus", "Nostradamus"},
             Case{"-", "-"},
         }) {
        SCOPED_TRACE(c.name);
        const std::string key = software::nodeKey(c.name);
        EXPECT_EQ(key, c.key);
        EXPECT_FALSE(platform::isNumericKey(key));
        EXPECT_EQ(software::nodeKeyName(key), c.name);
    }
    const auto nodes = software::classTreeNodes(file({"==1999", "=noStr5", "{#$}5", "{#$}A"}));
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(nodes[0].key, "noStr1999");
    EXPECT_EQ(nodes[1].key, "noStrnoStr5");
    EXPECT_EQ(nodes[1].parentKey, "noStr1999");
    EXPECT_EQ(nodes[2].key, "noStr5");
    EXPECT_EQ(nodes[2].parentKey, "noStrnoStr5");
    EXPECT_EQ(nodes[3].key, "A");
    EXPECT_EQ(nodes[3].name, "A");
}

TEST(ClassFiling, RecordGoesRightBelowItsCategoryLine) {
    const std::string text = file({"==工具", "=网络", "{#$}A", "下载", "{#$}B", "==游戏"});
    struct Case {
        const char* path;
        std::string filed;
    };
    for (const Case& c : {
             Case{"工具", file({"==工具", "{#$}N", "=网络", "{#$}A", "下载", "{#$}B", "==游戏"})},
             Case{"工具\\网络",
                  file({"==工具", "=网络", "{#$}N", "{#$}A", "下载", "{#$}B", "==游戏"})},
             Case{"工具\\网络\\下载",
                  file({"==工具", "=网络", "{#$}A", "下载", "{#$}N", "{#$}B", "==游戏"})},
             Case{"游戏", file({"==工具", "=网络", "{#$}A", "下载", "{#$}B", "==游戏", "{#$}N"})},
         }) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(software::withRecordFiled(text, c.path, "N"), c.filed);
    }
    // A path the view does not have, or a record's path, files nothing.
    EXPECT_FALSE(software::withRecordFiled(text, "网络", "N"));
    EXPECT_FALSE(software::withRecordFiled(text, "工具\\网络\\A", "N"));
    EXPECT_FALSE(software::withRecordFiled("", "工具", "N"));
}

TEST(ClassFiling, WholeLinesOnlyNeverALineThatEndsWithTheName) {
    // "网络游戏" and the record "{#$}游戏" end with "游戏"; the category is the
    // line that is 游戏 itself.
    const std::string text = file({"==网络游戏", "{#$}游戏x", "==娱乐", "=游戏"});
    EXPECT_EQ(software::withRecordFiled(text, "娱乐\\游戏", "N"),
              file({"==网络游戏", "{#$}游戏x", "==娱乐", "=游戏", "{#$}N"}));
    // Blanks around a line and line breaks of any kind.
    EXPECT_EQ(software::withRecordFiled("  ==工具  \r\n=a\r\n", "工具", "N"),
              "  ==工具  \r\n{#$}N\r\n=a\r\n");
    EXPECT_EQ(software::withRecordFiled("==工具", "工具", "N"), "==工具\r\n{#$}N\r\n");
    EXPECT_EQ(software::withRecordFiled("==工具\r=a", "工具", "N"), "==工具\r{#$}N\r\n=a");
}

TEST(ClassFiling, APathTwoCategoriesShareFilesNothing) {
    // A hand-edited top category named 工具\b has the same path as the
    // sub-category "b" of "工具": neither is taken for the other.
    const std::string text = "==工具\\b\r\n==工具\r\n=b\r\n=c\r\n";
    EXPECT_FALSE(software::categoryLine(text, "工具\\b"));
    EXPECT_FALSE(software::withRecordFiled(text, "工具\\b", "N"));
    EXPECT_EQ(software::categoryLine(text, "工具\\c"), 3u);
}

TEST(ClassFiling, RemovingTakesEveryLineOfTheNameAndNothingElse) {
    const std::string text =
        file({"==工具", "{#$}A", "  {#$}A  ", "{#$}AB", "{#$}a", "=A", "{#$}A"});
    EXPECT_EQ(software::withoutRecordLines(text, "A"), file({"==工具", "{#$}AB", "{#$}a", "=A"}));
    EXPECT_EQ(software::withoutRecordLines("{#$}A\r\n==x\r\n{#$}A", "A"), "==x\r\n");
    EXPECT_EQ(software::withoutRecordLines(text, "Z"), text);
    // A lone CR before the removed line and an LF after it never join into one
    // break: the line that begins with LF keeps it.
    EXPECT_EQ(software::withoutRecordLines("=x\r{#$}A\r\n\n=y\r\n", "A"), "=x\r\n\n=y\r\n");
}

TEST(ClassFiling, LastPathName) {
    EXPECT_EQ(software::lastPathName("工具\\网络\\下载"), "下载");
    EXPECT_EQ(software::lastPathName("工具"), "工具");
}

}  // namespace
