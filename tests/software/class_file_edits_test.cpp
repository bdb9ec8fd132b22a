// The category file's edits: where new category lines go, which lines a
// rename or a delete touches, and where an imported record is filed. Texts
// are written with "|" for CR LF.
#include "software/class_file_edits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/text/text.h"
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
    ImportedRecordFiling filing(crlf("==a|{#$}abcd|  {#$}x y |"));
    EXPECT_TRUE(filing.isFiled("abcd"));
    EXPECT_FALSE(filing.isFiled("abc"));
    EXPECT_FALSE(filing.isFiled("a"));
    EXPECT_TRUE(filing.isFiled("x y"));
    EXPECT_FALSE(filing.isFiled("ABCD"));
    // The records filed in the run count too.
    filing.file("a", "abc");
    filing.fileInCatchAll("b");
    EXPECT_TRUE(filing.isFiled("abc"));
    EXPECT_TRUE(filing.isFiled("b"));
    EXPECT_EQ(filing.text(), crlf("==a|{#$}abc|{#$}abcd|  {#$}x y |==无相应类别软件|{#$}b|"));
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
    for (const Case& c : cases) {
        ImportedRecordFiling filing(crlf(c.text));
        filing.file(c.value, "新");
        EXPECT_EQ(filing.text(), crlf(c.filed)) << c.text;
    }
    ImportedRecordFiling filing(crlf("==a|"));
    filing.fileInCatchAll("新");
    EXPECT_EQ(filing.text(), crlf("==a|==无相应类别软件|{#$}新|"));
}

// Filing records one after another into the whole text, as the command did
// before it parsed the text once: the reference the one-parse filing must
// give byte for byte.
namespace reference {

bool endsWithBreak(std::string_view t) {
    return !t.empty() && (t.back() == '\r' || t.ends_with("\r\n"));
}

std::string withLineAt(std::string_view t, std::size_t pos, std::string_view line) {
    std::string out(t.substr(0, pos));
    if (pos == t.size() && !t.empty() && !endsWithBreak(t)) out += "\r\n";
    out.append(line).append("\r\n");
    out.append(t.substr(pos));
    return out;
}

std::optional<std::size_t> firstLine(std::string_view t, const std::vector<ClassLineSpan>& spans,
                                     ClassLineKind kind, std::string_view name) {
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const ClassLine line = parseClassLine(spans[i].line(t));
        if (line.kind == kind && line.name == name) return i;
    }
    return std::nullopt;
}

bool isRecordFiled(std::string_view t, std::string_view name) {
    return firstLine(t, classLineSpans(t), ClassLineKind::Record, name).has_value();
}

std::string withRecordInCatchAll(std::string_view t, std::string_view name) {
    const auto spans = classLineSpans(t);
    auto i = firstLine(t, spans, ClassLineKind::Category, CatchAllCategory);
    if (!i) {
        const std::string out = withLineAt(t, t.size(), "==" + std::string(CatchAllCategory));
        return withLineAt(out, out.size(), recordLine(name));
    }
    while (*i + 1 < spans.size() &&
           parseClassLine(spans[*i + 1].line(t)).kind == ClassLineKind::Record)
        ++*i;
    return withLineAt(t, spans[*i].next, recordLine(name));
}

std::string withImportedRecordFiled(std::string_view t, std::string_view value,
                                    std::string_view name) {
    const auto spans = classLineSpans(t);
    const std::string rest = platform::text::mid(value, 2);
    const auto separators = std::count(rest.begin(), rest.end(), '\\');
    std::optional<std::size_t> line;
    if (separators == 0)
        line = firstLine(t, spans, ClassLineKind::Category, value);
    else if (separators == 1)
        line = firstLine(t, spans, ClassLineKind::SubCategory, lastPathName(value));
    else if (separators == 2)
        line = firstLine(t, spans, ClassLineKind::ThirdCategory, lastPathName(value));
    if (line) return withLineAt(t, spans[*line].next, recordLine(name));
    return withRecordInCatchAll(t, name);
}

}  // namespace reference

TEST(ClassFileEdits, FilingManyRecordsGivesTheTextOfFilingThemOneByOne) {
    // Lines of every kind, blanks, an empty line, a doubled catch-all, a
    // line holding an LF; breaks CR LF, a lone CR, or none at the end.
    const std::vector<std::string> pool = {
        "==工具",
        "==网络",
        "==无相应类别软件",
        " ==无相应类别软件 ",
        "=网络",
        "=下载",
        "下载",
        "浏览",
        "",
        "{#$}A",
        "{#$}B",
        " {#$}abc",
        "x\ny",
        "==丙",
        "{#$}",
        "=",
        "{#$}新1",
    };
    const std::vector<std::optional<std::string>> values = {
        "工具",       "网络",       "x\\网络", "x\\y\\下载", "x\\y\\",     "无相应类别软件",
        "a\\b\\c\\d", "无此类",     "",        "\\",         "\\网络",     "工具\\",
        "丙",         std::nullopt, "y\\下载", "=网络",      "x\\y\\浏览",
    };
    const std::vector<std::string> names = {"A",   "B",   "abc", "C",  "新1",
                                            "新2", "新3", "新4", "新5"};
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::size_t n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<std::size_t>((seed >> 8) % n);
    };
    for (int run = 0; run < 400; ++run) {
        std::string text;
        const std::size_t lineCount = next(12);
        for (std::size_t i = 0; i < lineCount; ++i) {
            text += pool[next(pool.size())];
            const std::size_t breakKind = next(8);
            if (i + 1 == lineCount && breakKind == 0) break;  // a last line without a break
            text += breakKind == 1 ? "\r" : "\r\n";
        }
        std::string expected = text;
        ImportedRecordFiling filing(text);
        const std::size_t records = 1 + next(10);
        for (std::size_t r = 0; r < records; ++r) {
            const std::string& name = names[next(names.size())];
            const std::optional<std::string>& value = values[next(values.size())];
            ASSERT_EQ(filing.isFiled(name), reference::isRecordFiled(expected, name)) << text;
            if (filing.isFiled(name)) continue;
            if (value) {
                expected = reference::withImportedRecordFiled(expected, *value, name);
                filing.file(*value, name);
            } else {
                expected = reference::withRecordInCatchAll(expected, name);
                filing.fileInCatchAll(name);
            }
        }
        ASSERT_EQ(filing.text(), expected) << "run " << run << " from " << text;
    }
}

}  // namespace
