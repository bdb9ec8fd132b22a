#include "catalogue/catalogue_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <random>

#include "platform/error.h"
#include "platform/files/files_fixture.h"
#include "platform/text/text.h"
#include "support/error_of.h"

namespace catalogue {
namespace {

// The example catalogue: two discs under 音乐, one under its sub-category 外国,
// and a second top-level category without discs.
const std::string kExample =
    "|音乐\r\n"
    "#[002]流行#2#演唱会&&2004-5-1#\r\n"
    "#[001]古典#1#巴赫&&2004-4-2#\r\n"
    "@外国\r\n"
    "#mp3_hard#3#硬盘上的音乐&&2004-6-9#\r\n"
    "|软件\r\n";

TEST(CatalogueFileTest, LineKindsAndNames) {
    struct Case {
        const char* line;
        CatalogueLineKind kind;
        const char* name;
    };
    const Case cases[] = {
        {"|音乐", CatalogueLineKind::CategoryLine, "音乐"},
        {"@外国", CatalogueLineKind::SubCategoryLine, "外国"},
        {"#[002]流行#2#演唱会&&2004-5-1#", CatalogueLineKind::DiscLine, "[002]流行"},
        {"#abc", CatalogueLineKind::DiscLine, "abc"},
        {"音乐", CatalogueLineKind::Other, ""},
        {"", CatalogueLineKind::Other, ""},
    };
    for (const auto& c : cases) {
        const auto e = parseCatalogueLine(c.line);
        EXPECT_EQ(e.kind, c.kind) << c.line;
        EXPECT_EQ(e.name, c.name) << c.line;
    }
}

TEST(CatalogueFileTest, DiscLineFields) {
    const auto d = parseDiscLine("#mp3_hard#3#硬盘上的音乐&&2004-6-9#");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->name, "mp3_hard");
    EXPECT_EQ(d->number, "3");
    EXPECT_EQ(d->remark, "硬盘上的音乐");
    EXPECT_EQ(d->date, "2004-6-9");
    EXPECT_EQ(formatDiscLine(*d), "#mp3_hard#3#硬盘上的音乐&&2004-6-9#");

    const auto noDate = parseDiscLine("#x#1#just a remark#");
    EXPECT_EQ(noDate->remark, "just a remark");
    EXPECT_EQ(noDate->date, "");
    // Only the first "&&" splits.
    EXPECT_EQ(parseDiscLine("#x#1#a&&b&&c#")->date, "b&&c");
    EXPECT_FALSE(parseDiscLine("|x"));
}

TEST(CatalogueFileTest, DiscLineProblemNamesTheFirstFaultAndItsField) {
    struct Case {
        DiscLine disc;
        std::optional<DiscLineProblem> problem;
    };
    using F = DiscLineFault;
    using D = DiscField;
    const Case cases[] = {
        {{"[001]DATA", "1", "演唱会 | @", "2004-5-1"}, std::nullopt},
        {{"a&b", "1&", "&r", "d&"}, std::nullopt},  // a single "&" away from the separator
        {{"", "", "", ""}, std::nullopt},
        {{"a&&b", "1", "r", "d"}, DiscLineProblem{D::Name, F::DoubleAmpersand}},
        {{"a", "1&&", "r", "d"}, DiscLineProblem{D::Number, F::DoubleAmpersand}},
        {{"a", "1", "r&&x", "d"}, DiscLineProblem{D::Remark, F::DoubleAmpersand}},
        {{"a", "1", "r", "2004&&5"}, DiscLineProblem{D::Date, F::DoubleAmpersand}},
        {{"a", "1", "r&", "d"}, DiscLineProblem{D::Remark, F::AmpersandAtEdge}},
        {{"a", "1", "r", "&d"}, DiscLineProblem{D::Date, F::AmpersandAtEdge}},
        {{"a&", "&1", "r", "d"}, std::nullopt},  // only where remark and date meet
        {{"a#", "1", "r", "d"}, DiscLineProblem{D::Name, F::Hash}},
        {{"a", "1", "r", "d#"}, DiscLineProblem{D::Date, F::Hash}},
        {{"a", "1", "live\r\n|evil", "d"}, DiscLineProblem{D::Remark, F::LineBreak}},
        {{"a", "1\r", "r", "d"}, DiscLineProblem{D::Number, F::LineBreak}},
        {{"a", "1", "r", "\n"}, DiscLineProblem{D::Date, F::LineBreak}},
        // Faults are taken in order "#", line break, "&&", "&" at the edge.
        {{"a&&b", "1", "r\n", "d#"}, DiscLineProblem{D::Date, F::Hash}},
        {{"a&&b", "1", "r&", "\n"}, DiscLineProblem{D::Date, F::LineBreak}},
        {{"a", "1", "r&", "d&&"}, DiscLineProblem{D::Date, F::DoubleAmpersand}},
    };
    for (const auto& c : cases) {
        const std::string shown =
            c.disc.name + "|" + c.disc.number + "|" + c.disc.remark + "|" + c.disc.date;
        const auto p = discLineProblem(c.disc);
        ASSERT_EQ(p.has_value(), c.problem.has_value()) << shown;
        if (!p) continue;
        EXPECT_EQ(p->field, c.problem->field) << shown;
        EXPECT_EQ(p->fault, c.problem->fault) << shown;
        // The line is never built: error 5 with the fault's message.
        try {
            formatDiscLine(c.disc);
            ADD_FAILURE() << "formatted " << shown;
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.number(), platform::err::InvalidCall) << shown;
            EXPECT_EQ(e.description(), discLineFaultText(c.problem->fault)) << shown;
        }
    }
}

// Fields drawn from the characters that mean something in the catalogue:
// every accepted disc comes back whole from its line, also when the line is
// filed in a catalogue text, and every refused one raises 5.
TEST(CatalogueFileTest, EveryAcceptedDiscLineReadsBackAsWritten) {
    const char* const pieces[] = {"a", "7", "#", "&",  "&",  "\r", "\n",
                                  "|", "@", " ", "音", "乐", "[",  "]"};
    std::mt19937 random(20240506);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1), length(0, 4);
    const auto field = [&] {
        std::string s;
        for (std::size_t n = length(random); n > 0; --n) s += pieces[piece(random)];
        return s;
    };
    int accepted = 0, refused = 0;
    for (int i = 0; i < 20000; ++i) {
        const DiscLine disc{field(), field(), field(), field()};
        const std::string shown =
            disc.name + "|" + disc.number + "|" + disc.remark + "|" + disc.date;
        if (discLineProblem(disc)) {
            ++refused;
            EXPECT_EQ(testsupport::errorOf([&] { formatDiscLine(disc); }),
                      platform::err::InvalidCall)
                << shown;
            continue;
        }
        ++accepted;
        const std::string line = formatDiscLine(disc);
        ASSERT_EQ(parseDiscLine(line), disc) << shown;
        ASSERT_EQ(discLineOf(disc.name, disc.number, formatRemarkAndDate(disc.remark, disc.date)),
                  disc)
            << shown;
        const std::string text = *InsertDiscLine("|类\r\n", "类", line);
        ASSERT_EQ(platform::text::splitLines(text).size(), 2u) << shown;
        const auto back = ReadDiscFields(text, disc.name);
        ASSERT_TRUE(back) << shown;
        EXPECT_EQ(static_cast<const DiscLine&>(*back), disc) << shown;
        EXPECT_EQ(back->categoryPath, "类") << shown;
    }
    // Both outcomes are well represented.
    EXPECT_GT(accepted, 2000);
    EXPECT_GT(refused, 2000);
}

TEST(CatalogueFileTest, NormaliseLineEnds) {
    EXPECT_EQ(normaliseLineEnds(""), "");
    EXPECT_EQ(normaliseLineEnds("|a"), "|a\r\n");
    EXPECT_EQ(normaliseLineEnds("|a\n#b#\r\n@c\r"), "|a\r\n#b#\r\n@c\r\n");
    EXPECT_EQ(normaliseLineEnds("|a\r\n"), "|a\r\n");
}

TEST(CatalogueFileTest, FindCategoryLineMatchesWholeLinesOnly) {
    const std::string text = "|a@b\r\n|A\r\n@b\r\n|x\r\n";
    EXPECT_EQ(FindCategoryLine(text, "a"), 6u);      // not the "|a" inside "|a@b"
    EXPECT_EQ(FindCategoryLine(text, "A\\B"), 10u);  // "@b" as its own line, any case
    EXPECT_EQ(FindCategoryLine(text, "a@b"), 0u);
    EXPECT_FALSE(FindCategoryLine(text, "b"));  // "@b" is a sub-category, not "|b"
    EXPECT_FALSE(FindCategoryLine(text, "x\\y"));
    EXPECT_FALSE(FindCategoryLine("|ab\r\n", "a"));
}

TEST(CatalogueFileTest, InsertDiscLineFilesTheNewestFirst) {
    struct Case {
        const char* name;
        std::string text;
        const char* path;
        std::string expected;
    };
    const Case cases[] = {
        {"under a category that has sub-categories: above the first sub-category",
         "|音乐\r\n@外国\r\n", "音乐", "|音乐\r\n#n#1#r&&d#\r\n@外国\r\n"},
        {"under a sub-category on the last line: the new last line", "|音乐\r\n@外国\r\n",
         "音乐\\外国", "|音乐\r\n@外国\r\n#n#1#r&&d#\r\n"},
        {"second disc of a category stands above the first", "|a\r\n#old#1#r&&d#\r\n", "A",
         "|a\r\n#n#1#r&&d#\r\n#old#1#r&&d#\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InsertDiscLine(c.text, c.path, "#n#1#r&&d#"), c.expected) << c.name;
    }
    EXPECT_FALSE(InsertDiscLine("|a\r\n", "b", "#n#1#r&&d#"));
}

TEST(CatalogueFileTest, FindDiscLineAtLineStartsOnly) {
    const std::string text = "|a\r\n#x#5#r&&d#\r\n#5#1#r&&d#\r\n#ABC#2#r&&d#\r\n";
    EXPECT_EQ(FindDiscLine(text, "5"), 16u);  // not the disc numbered 5
    EXPECT_EQ(FindDiscLine(text, "abc"), 28u);
    EXPECT_FALSE(FindDiscLine(text, "r&&d"));
    EXPECT_FALSE(FindDiscLine(text, "a"));
}

TEST(CatalogueFileTest, ReadDiscFieldsTakesTheCategoryFromAbove) {
    struct Case {
        const char* disc;
        const char* path;
        const char* remark;
    };
    const std::string text = kExample + "@子\r\n#e#9#mail me@x.com |here&&#\r\n#f#9#&&#\r\n";
    const Case cases[] = {
        {"[002]流行", "音乐", "演唱会"},
        {"[001]古典", "音乐", "巴赫"},
        {"mp3_hard", "音乐\\外国", "硬盘上的音乐"},
        {"e", "软件\\子", "mail me@x.com |here"},  // "|" and "@" in a remark change nothing
        {"f", "软件\\子", ""},
    };
    for (const auto& c : cases) {
        const auto f = ReadDiscFields(text, c.disc);
        ASSERT_TRUE(f) << c.disc;
        EXPECT_EQ(f->categoryPath, c.path) << c.disc;
        EXPECT_EQ(f->remark, c.remark) << c.disc;
    }
    const auto first = ReadDiscFields(text, "[002]流行");
    EXPECT_EQ(first->number, "2");
    EXPECT_EQ(first->date, "2004-5-1");
    EXPECT_FALSE(ReadDiscFields(text, "none"));
    EXPECT_EQ(ReadDiscFields("#lost#1#r&&d#\r\n", "lost")->categoryPath, "");
}

TEST(CatalogueFileTest, RemoveDiscLineCutsTheWholeLine) {
    EXPECT_EQ(RemoveDiscLine(kExample, "MP3_HARD"),
              "|音乐\r\n#[002]流行#2#演唱会&&2004-5-1#\r\n#[001]古典#1#巴赫&&2004-4-2#\r\n@"
              "外国\r\n|软件\r\n");
    EXPECT_EQ(RemoveDiscLine("|a\r\n#x#1#r&&d#\r\n", "x"), "|a\r\n");
    EXPECT_EQ(RemoveDiscLine("|a\r\n#x#1#r&&d#", "x"), "|a\r\n");  // a last line without its end
    EXPECT_FALSE(RemoveDiscLine(kExample, "外国"));
}

TEST(CatalogueFileTest, CatalogueNameTaken) {
    struct Case {
        const char* name;
        bool taken;
    };
    const std::string text = kExample + "|a@b\r\n";
    const Case cases[] = {
        {"[001]古典", true}, {"MP3_hard", true}, {"音乐", true}, {"外国", true}, {"软件", true},
        {"a@b", true},       {"b", false},       {"音", false},  {"2", false},   {"巴赫", false},
    };
    for (const auto& c : cases) EXPECT_EQ(CatalogueNameTaken(text, c.name), c.taken) << c.name;
}

class CatalogueFileIoTest : public files_test::FilesTest {};

TEST_F(CatalogueFileIoTest, AMissingFileReadsEmptyAndLineEndsAreMadeWhole) {
    const std::string path = catalogueFilePath("C:\\zelbrin");
    EXPECT_EQ(path, "C:\\zelbrin\\ini.ini");
    std::filesystem::create_directories(c() + "/zelbrin");
    EXPECT_EQ(readCatalogueText(path), "");

    files_test::writeBytes(c() + "/zelbrin/ini.ini", platform::text::toCp936("|音乐\n#a#1#r&&d#"));
    const std::string text = readCatalogueText(path);
    EXPECT_EQ(text, "|音乐\r\n#a#1#r&&d#\r\n");

    writeCatalogueText(path, *InsertDiscLine(text, "音乐", "#b#2#&&#"));
    EXPECT_EQ(files_test::readBytes(c() + "/zelbrin/ini.ini"),
              platform::text::toCp936("|音乐\r\n#b#2#&&#\r\n#a#1#r&&d#\r\n"));
}

// ---- a disc given a new name ----

TEST(RenameMirrorListLines, EveryWholeLineOfTheDiscChangesAndNothingElse) {
    struct Case {
        const char* what;
        const char* text;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"first line", "abc\r\nx\r\ny\r\n", "新\r\nx\r\ny\r\n"},
        {"middle line", "x\r\nabc\r\ny\r\n", "x\r\n新\r\ny\r\n"},
        {"last line", "x\r\ny\r\nabc\r\n", "x\r\ny\r\n新\r\n"},
        {"last line without break", "x\r\nabc", "x\r\n新"},
        {"one other letter case, every line", "ABC\r\nx\r\nABC\r\n", "新\r\nx\r\n新\r\n"},
        {"two other letter cases: none", "ABC\r\nx\r\nAbc\r\n", std::nullopt},
        {"the exact line only", "ABC\r\nabc\r\n", "ABC\r\n新\r\n"},
        {"lone LF kept", "x\nabc\n", "x\n新\n"},
        {"only whole lines", "abcd\r\nxabc\r\nab\r\n", std::nullopt},
        {"empty list", "", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(renameMirrorListLines(c.text, "abc", "新"), c.expected) << c.what;
}

TEST(RenameNoteKeys, OnlyTheKeysOfTheDiscChange) {
    const std::string text =
        "@##note##@abc\\E:\\a.txt==see abc\\E:\\a.txt\r\n"
        "@##note##@abcd\\E:\\b.txt==b\r\n"
        "@##note##@ABC\\E:\\c.txt==c\r\n"
        "@##exam##@abc\\E:\\d.txt==d\r\n"
        "@##note##@abc\\E:\\e.txt==two\r\nlines\r\n";
    EXPECT_EQ(renameNoteKeys(text, "@##note##@", "abc", "新"),
              "@##note##@新\\E:\\a.txt==see abc\\E:\\a.txt\r\n"
              "@##note##@abcd\\E:\\b.txt==b\r\n"
              "@##note##@ABC\\E:\\c.txt==c\r\n"
              "@##exam##@abc\\E:\\d.txt==d\r\n"
              "@##note##@新\\E:\\e.txt==two\r\nlines\r\n");
    EXPECT_EQ(renameNoteKeys("", "@##note##@", "abc", "新"), "");
}

// ---- deleting categories ----

TEST(CatalogueFileTest, RemoveCategoryLineCutsTheFirstWholeLineOnly) {
    struct Case {
        const char* text;
        const char* path;
        const char* expected;  // nullptr: no such line
    };
    const Case cases[] = {
        {"|a\r\n|b\r\n", "a", "|b\r\n"},
        {"|a\r\n|b\r\n", "B", "|a\r\n"},  // any case
        // a longer name that begins with it, and the name inside another line
        {"|ab\r\n|a@b\r\n|a\r\n|c\r\n", "a", "|ab\r\n|a@b\r\n|c\r\n"},
        {"|ab\r\n", "a", nullptr},
        // a sub-category by its path; its top-level namesake stays
        {"|b\r\n|a\r\n@b\r\n#d#1#&&#\r\n", "a\\b", "|b\r\n|a\r\n#d#1#&&#\r\n"},
        {"|a\r\n@b\r\n", "b", nullptr},  // "@b" is no top-level line
        // a disc line that looks like the category is never cut
        {"#|a#1#&&#\r\n|a\r\n", "a", "#|a#1#&&#\r\n"},
        // the first of two equal lines
        {"|a\r\n@s\r\n|b\r\n@s\r\n", "b\\s", "|a\r\n|b\r\n@s\r\n"},
        {"", "a", nullptr},
    };
    for (const auto& c : cases) {
        const auto out = RemoveCategoryLine(c.text, c.path);
        if (!c.expected) {
            EXPECT_FALSE(out) << c.text << " / " << c.path;
        } else {
            ASSERT_TRUE(out) << c.text << " / " << c.path;
            EXPECT_EQ(*out, c.expected) << c.text << " / " << c.path;
        }
    }
}

// ---- adding and renaming categories ----

TEST(CategoryLines, UsableNames) {
    for (const char* name : {"音乐", "a b", "|x", "@x", "x&&y", "[001]"})
        EXPECT_TRUE(categoryNameIsUsable(name)) << name;
    for (const char* name : {"", "a\\b", "\\", "a#b", "#", "a\rb", "a\nb"})
        EXPECT_FALSE(categoryNameIsUsable(name)) << name;
}

TEST(CategoryLines, AppendCategoryLineEndsTheFileWithOneLineEnd) {
    EXPECT_EQ(AppendCategoryLine("", "音乐"), "|音乐\r\n");
    EXPECT_EQ(AppendCategoryLine("|a\r\n#d#1#&&#\r\n", "b"), "|a\r\n#d#1#&&#\r\n|b\r\n");
    EXPECT_EQ(AppendCategoryLine("|a", "b"), "|a\r\n|b\r\n");
}

TEST(CategoryLines, SubCategoryGoesToTheEndOfItsTopLevelBlock) {
    struct Case {
        const char* text;
        const char* top;
        const char* want;
    };
    const Case cases[] = {
        // The top category's own discs and sub-categories keep their places.
        {"|A\r\n#d1#1#&&#\r\n#d2#2#&&#\r\n|B\r\n", "A",
         "|A\r\n#d1#1#&&#\r\n#d2#2#&&#\r\n@new\r\n|B\r\n"},
        {"|A\r\n@s\r\n#d#1#&&#\r\n|B\r\n@t\r\n", "A",
         "|A\r\n@s\r\n#d#1#&&#\r\n@new\r\n|B\r\n@t\r\n"},
        // The last block: the new line becomes the last line.
        {"|A\r\n|B\r\n#d#1#&&#\r\n", "B", "|A\r\n|B\r\n#d#1#&&#\r\n@new\r\n"},
        {"|A\r\n|B\r\n", "B", "|A\r\n|B\r\n@new\r\n"},
        // The whole line is matched (电影2 is not 电影), letter case ignored.
        {"|电影2\r\n|电影\r\n", "电影", "|电影2\r\n|电影\r\n@new\r\n"},
        {"|Music\r\n|x\r\n", "music", "|Music\r\n@new\r\n|x\r\n"},
        // A sub-category of that name is not the top category.
        {"|A\r\n@B\r\n|B\r\n|C\r\n", "B", "|A\r\n@B\r\n|B\r\n@new\r\n|C\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InsertSubCategoryLine(c.text, c.top, "new"), std::optional<std::string>(c.want))
            << c.text;
    EXPECT_EQ(InsertSubCategoryLine("|电影2\r\n@电影\r\n", "电影", "new"), std::nullopt);
    EXPECT_EQ(InsertSubCategoryLine("", "A", "new"), std::nullopt);
}

TEST(CategoryLines, RenameReplacesTheFirstWholeLineOnly) {
    const std::string text = "|电影2\r\n|电影\r\n@电影x\r\n@Foreign\r\n#电影#1#&&#\r\n@foreign\r\n";
    EXPECT_EQ(RenameCategoryLine(text, '|', "电影", "影片"),
              "|电影2\r\n|影片\r\n@电影x\r\n@Foreign\r\n#电影#1#&&#\r\n@foreign\r\n");
    EXPECT_EQ(RenameCategoryLine(text, '@', "foreign", "外国"),
              "|电影2\r\n|电影\r\n@电影x\r\n@Foreign\r\n#电影#1#&&#\r\n@外国\r\n");
    // Spelt two other ways: neither.
    EXPECT_EQ(RenameCategoryLine(text, '@', "FOREIGN", "外国"), std::nullopt);
    EXPECT_EQ(RenameCategoryLine(text, '@', "电影", "x"), std::nullopt);  // only "|电影"
    EXPECT_EQ(RenameCategoryLine(text, '|', "电", "x"), std::nullopt);
}

}  // namespace
}  // namespace catalogue
