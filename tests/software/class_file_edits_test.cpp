// The category file's edits: where new category lines go, which lines a
// rename or a delete touches, and where an imported record is filed. Texts
// are written with "|" for CR LF.
#include "software/class_file_edits.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "software/crlf_text.h"

namespace {

using namespace software;

using software_test::crlf;

std::optional<std::string> opt(std::string_view s) { return crlf(s); }

TEST(ClassFileEdits, ANewTopLevelCategoryIsTheLastLine) {
    EXPECT_EQ(withTopCategoryAppended("", "甲"), crlf("==甲|"));
    EXPECT_EQ(withTopCategoryAppended(crlf("==工具|{#$}A|"), "甲"), crlf("==工具|{#$}A|==甲|"));
    // A last line without its break gets one first.
    EXPECT_EQ(withTopCategoryAppended(crlf("==工具|{#$}A"), "甲"), crlf("==工具|{#$}A|==甲|"));
}

TEST(ClassFileEdits, ASiblingGoesRightAboveTheSelectedCategoryInItsKind) {
    const std::string text = crlf("==工具|=网络|{#$}A|浏览|=系统|{#$}B|");
    EXPECT_EQ(withCategoryAbove(text, "工具\\网络\\浏览", "新"),
              opt("==工具|=网络|{#$}A|新|浏览|=系统|{#$}B|"));
    EXPECT_EQ(withCategoryAbove(text, "工具\\系统", "新"),
              opt("==工具|=网络|{#$}A|浏览|=新|=系统|{#$}B|"));
    // A third-level line straight under a top category (shown one level
    // below it) gets a plain sibling line.
    EXPECT_EQ(withCategoryAbove(crlf("==甲|=乙|==丙|丁|"), "丙\\丁", "新"),
              opt("==甲|=乙|==丙|新|丁|"));
    // Found by the node's path, never by a line that merely ends with the
    // name (a record "a=系统", a category "=大系统").
    EXPECT_EQ(withCategoryAbove(crlf("==工具|{#$}a=系统|=大系统|=系统|"), "工具\\系统", "新"),
              opt("==工具|{#$}a=系统|=大系统|=新|=系统|"));
    EXPECT_EQ(withCategoryAbove(text, "工具\\下载", "新"), std::nullopt);
}

TEST(ClassFileEdits, ASubCategoryGoesBelowItsParentsOwnRecords) {
    const std::string text = crlf("==工具|=网络|{#$}A|{#$}B|浏览|=系统|");
    EXPECT_EQ(withSubCategory(text, "工具\\网络", "下载"),
              opt("==工具|=网络|{#$}A|{#$}B|下载|浏览|=系统|"));
    EXPECT_EQ(withSubCategory(crlf("==工具|{#$}X|=网络|"), "工具", "新名"),
              opt("==工具|{#$}X|=新名|=网络|"));
    // The parent is the last line, without its break.
    EXPECT_EQ(withSubCategory(crlf("==工具|{#$}X"), "工具", "新名"), opt("==工具|{#$}X|=新名|"));
    // No line of the parent, or a third-level parent: nothing.
    EXPECT_EQ(withSubCategory(text, "其他", "新"), std::nullopt);
    EXPECT_EQ(withSubCategory(text, "工具\\网络\\浏览", "新"), std::nullopt);
}

TEST(ClassFileEdits, ARenameChangesTheWholeLinesOfTheCategorysKind) {
    struct Case {
        const char* text;
        const char* path;
        const char* newName;
        std::optional<const char*> renamed;
    };
    const Case cases[] = {
        {"==工具|=网络|{#$}网络|浏览|=网络|", "工具\\网络", "网页",
         "==工具|=网页|{#$}网络|浏览|=网页|"},
        {"==工具|=网络|浏览|{#$}X|", "工具\\网络\\浏览", "看看", "==工具|=网络|看看|{#$}X|"},
        {"==工具|=工具2|", "工具", "器具", "==器具|=工具2|"},
        // Blanks around a line go with the rename; the break stays.
        {"  ==工具  \r=a|", "工具", "器具", "==器具\r=a|"},
        {"==工具|", "其他", "器具", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto expected = c.renamed ? opt(*c.renamed) : std::nullopt;
        EXPECT_EQ(withCategoryRenamed(crlf(c.text), c.path, c.newName), expected) << c.text;
    }
}

TEST(ClassFileEdits, ARecordRenameChangesEveryWholeLineOfTheRecord) {
    EXPECT_EQ(withRecordRenamed(crlf("==a|{#$}A|{#$}AB|=b|{#$}A|{#$}xA|"), "A", "B"),
              crlf("==a|{#$}B|{#$}AB|=b|{#$}B|{#$}xA|"));
    EXPECT_EQ(withRecordRenamed(crlf("==a|{#$}A"), "A", "B"), crlf("==a|{#$}B"));
}

TEST(ClassFileEdits, ADeleteTakesTheCategorysOwnLineWithItsBreak) {
    const std::string text = crlf("==工具|=网络|{#$}A|下载|==系统|");
    EXPECT_EQ(withoutCategoryLine(text, "工具\\网络\\下载"), opt("==工具|=网络|{#$}A|==系统|"));
    EXPECT_EQ(withoutCategoryLine(text, "工具\\网络"), opt("==工具|{#$}A|下载|==系统|"));
    EXPECT_EQ(withoutCategoryLine(text, "系统"), opt("==工具|=网络|{#$}A|下载|"));
    // The last line alone: nothing is left.
    EXPECT_EQ(withoutCategoryLine(crlf("==甲|"), "甲"), opt(""));
    EXPECT_EQ(withoutCategoryLine(text, "网络"), std::nullopt);
}

TEST(ClassFileEdits, AFiledRecordIsAWholeRecordLine) {
    const std::string text = crlf("==a|{#$}abcd|{#$}x y|");
    EXPECT_TRUE(isRecordFiled(text, "abcd"));
    EXPECT_FALSE(isRecordFiled(text, "abc"));
    EXPECT_FALSE(isRecordFiled(text, "a"));
    EXPECT_TRUE(isRecordFiled(text, "x y"));
}

TEST(ClassFileEdits, AnImportedRecordIsFiledByItsCategoryValue) {
    struct Case {
        const char* text;
        const char* value;
        const char* filed;
    };
    const Case cases[] = {
        // Right below the category's line, above the records filed before.
        {"==工具|=网络|{#$}A|", "工具\\网络", "==工具|=网络|{#$}新|{#$}A|"},
        {"==工具|=网络|下载|", "工具", "==工具|{#$}新|=网络|下载|"},
        {"==工具|=网络|下载|{#$}B|", "工具\\网络\\下载", "==工具|=网络|下载|{#$}新|{#$}B|"},
        // Only the last name, of the value's level.
        {"==工具|=网络|", "其他\\网络", "==工具|=网络|{#$}新|"},
        // A line of another level, or one that merely ends with the name,
        // is not the category.
        {"==网络|", "工具\\网络", "==网络|==无相应类别软件|{#$}新|"},
        {"==工具|=大网络|", "工具\\网络", "==工具|=大网络|==无相应类别软件|{#$}新|"},
        // A fourth level goes to the catch-all category.
        {"==a|=b|c|", "a\\b\\c\\d", "==a|=b|c|==无相应类别软件|{#$}新|"},
        // Under the catch-all, after its own records, even when other top
        // categories came after it.
        {"==无相应类别软件|{#$}X|==甲|{#$}Y|", "无", "==无相应类别软件|{#$}X|{#$}新|==甲|{#$}Y|"},
        {"==a|==无相应类别软件|{#$}X", "无", "==a|==无相应类别软件|{#$}X|{#$}新|"},
        {"", "工具", "==无相应类别软件|{#$}新|"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(withImportedRecordFiled(crlf(c.text), c.value, "新"), crlf(c.filed)) << c.text;
    EXPECT_EQ(withRecordInCatchAll(crlf("==a|"), "新"), crlf("==a|==无相应类别软件|{#$}新|"));
}

}  // namespace
