// The software record file: its twelve lines, the reader's rules, and the
// names that may become a record file's name.
#include "software/record_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using software::RecordValues;

RecordValues sample() {
    return {"FlashGet",   "1.4", "免费软件",    "2M", "张三", "a@b.c",
            "工具\\网络", "K-1", "http://x.cn", "",   "5",    "好用"};
}

TEST(RecordText, TwelveKeyedLinesInOrder) {
    EXPECT_EQ(software::formatRecordText(sample()),
              "软件名称：FlashGet\r\n软件版本：1.4\r\n软件类型：免费软件\r\n软件大小：2M\r\n"
              "软件作者：张三\r\n邮箱地址：a@b.c\r\n软件分类：工具\\网络\r\n软件序列号：K-1\r\n"
              "软件主页：http://x.cn\r\n下载网址：\r\n软件等级：5\r\n软件简介：好用\r\n");
}

TEST(RecordText, DescriptionLosesItsCrLfPairsOnly) {
    RecordValues v{};
    v[software::DescriptionField] = "one\r\ntwo\r\n\r\nthree";
    EXPECT_TRUE(software::formatRecordText(v).ends_with("软件简介：onetwothree\r\n"));
    v[software::DescriptionField] = "a\rb\nc";
    EXPECT_TRUE(software::formatRecordText(v).ends_with("软件简介：a\rb\nc\r\n"));
}

TEST(RecordText, ReadsBackWhatWasWritten) {
    RecordValues v = sample();
    v[software::VersionField] = "  1.4  ";  // blanks around a value are lost
    v[software::HomepageField] = "http：//x";
    const software::ParsedRecord r = software::parseRecordText(software::formatRecordText(v));
    for (std::size_t i = 0; i < software::RecordFieldCount; ++i) {
        SCOPED_TRACE(software::RecordKeys[i]);
        ASSERT_TRUE(r[i]);
        EXPECT_EQ(*r[i], i == software::VersionField ? "1.4" : v[i]);
    }
}

TEST(RecordText, ReaderRules) {
    const software::ParsedRecord r = software::parseRecordText(
        "  软件版本：  2.0  \r\n"
        "软件作者 ：ignored\r\n"  // a blank before the colon: another key
        "软件作者：甲\r\n"
        "软件作者：乙\r"                      // a lone CR ends a line; the last one wins
        "主页：x\r\n"                         // unknown keys are ignored
        "软件主页：http：//y\n软件等级：7");  // a lone LF ends no line
    EXPECT_EQ(r[software::VersionField], "2.0");
    EXPECT_EQ(r[software::AuthorField], "乙");
    EXPECT_EQ(r[software::HomepageField], "http：//y\n软件等级：7");
    EXPECT_FALSE(r[software::NameField]);
    EXPECT_FALSE(r[software::RankField]);
    EXPECT_EQ(software::parseRecordText("软件名称：\r\n")[software::NameField], "");
}

TEST(RecordName, PlainNames) {
    for (const char* name : {"FlashGet", "a.b", "360安全卫士", "x y", "...a", ".txt"})
        EXPECT_TRUE(software::isPlainRecordName(name)) << name;
    for (const char* name : {"", ".", "..", " a", "a ", "..\\..\\x", "a/b", "a:b", "a*", "a?",
                             "a\"b", "a<b", "a>b", "a|b", "a\tb", "a\rb", "\x7f", "\xff"})
        EXPECT_FALSE(software::isPlainRecordName(name)) << name;
}

TEST(RecordName, FoldedWithoutCase) {
    EXPECT_EQ(software::foldRecordName("FlashGET"), "flashget");
    EXPECT_EQ(software::foldRecordName("ＡＢｃ"), "ａｂｃ");  // full-width Latin
    EXPECT_EQ(software::foldRecordName("工具"), "工具");
    EXPECT_EQ(software::foldRecordName("\xff"
                                       "A"),
              "\xff"
              "a");
}

TEST(RecordName, HeldNameWithItsLetterCaseFirstAndNoGuessBetweenCaseTwins) {
    struct Case {
        const char* subject;
        std::vector<std::string> names;
        std::optional<std::size_t> found;
        bool caseTwins = false;
    };
    for (const Case& c : {
             Case{"FlashGet1.4", {"flash", "FlashGet"}, 1},  // as written beats letter case
             Case{"flashget1.4", {"flash", "flashget"}, 0},  // both as written: list order
             Case{"FLASHGET", {"flash", "FlashGet"}, 0},     // both ignoring case: list order
             Case{"NetAnts", {"ants", "Ants"}, 1},
             Case{"netants", {"ants", "Ants"}, 0},
             Case{"NETANTS", {"ants", "Ants"}, std::nullopt, true},
             Case{"NETANTS", {"flash", "ants"}, 1},
             Case{"readme", {"flash", "ants"}, std::nullopt},
             Case{"x", {"", "x"}, 0},  // an empty name is held by every name
             Case{"x", {}, std::nullopt},
         }) {
        SCOPED_TRACE(c.subject);
        const software::HeldRecordName held = software::findHeldRecordName(c.subject, c.names);
        EXPECT_EQ(held.index, c.found);
        EXPECT_EQ(held.caseTwins, c.caseTwins);
    }
}

TEST(RecordName, Paths) {
    EXPECT_EQ(software::recordFilePath("C:\\zelbrin", "A"), "C:\\zelbrin\\software\\A.txt");
    EXPECT_EQ(software::softwareFolderPath("C:\\zelbrin\\"), "C:\\zelbrin\\software");
}

}  // namespace
