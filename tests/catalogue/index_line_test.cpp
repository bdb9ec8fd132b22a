#include "catalogue/index_line.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace catalogue {
namespace {

TEST(IndexLineTest, IndexFilePath) {
    EXPECT_EQ(discIndexFilePath("C:\\zelbrin", "[001]古典"),
              "C:\\zelbrin\\guangpan\\[001]古典.wcd");
    EXPECT_EQ(discFilePath("C:\\zelbrin", "a..b", ".note"), "C:\\zelbrin\\guangpan\\a..b.note");
}

// A disc name read from a stored file never leads out of "guangpan".
TEST(IndexLineTest, DiscFilePathRefusesNamesThatLeaveTheIndexFolder) {
    for (const char* name : {"", ".", "..", "..\\..\\x", "a/b", "C:x", "sub\\x"}) {
        SCOPED_TRACE(name);
        try {
            discFilePath("C:\\zelbrin", name, ".wcd");
            ADD_FAILURE() << "accepted";
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.number(), platform::err::BadFileName);
        }
    }
}

TEST(IndexLineTest, KindOfLine) {
    struct Case {
        const char* line;
        IndexLineKind kind;
    };
    const Case cases[] = {
        {"E:\\|docs", IndexLineKind::Folder},
        {"E:\\pics\\|img@", IndexLineKind::Folder},
        {"E:\\readme.txt[1234]", IndexLineKind::File},
        {"E:\\a.txt[0]($)($){C:\\m\\a.txt}", IndexLineKind::File},
        {"E:\\a.txt", IndexLineKind::Unknown},
        {"E:\\a.txt[]", IndexLineKind::Unknown},
        {"E:\\a.txt[12x]", IndexLineKind::Unknown},
        {"[12]", IndexLineKind::Unknown},
        {"", IndexLineKind::Unknown},
    };
    for (const auto& c : cases) EXPECT_EQ(indexLineKind(c.line), c.kind) << c.line;
}

TEST(IndexLineTest, FileLinesReadFromTheRight) {
    struct Case {
        const char* line;
        const char* path;
        const char* size;
        int ticks;
        const char* mirror;  // nullptr: none
    };
    const Case cases[] = {
        {"E:\\docs\\readme.txt[1234]", "E:\\docs\\readme.txt", "1234", 0, nullptr},
        {"E:\\docs\\a.txt[1234]($){C:\\copies\\docs\\a.txt}", "E:\\docs\\a.txt", "1234", 1,
         "C:\\copies\\docs\\a.txt"},
        {"E:\\a.txt[812]($)($)($)", "E:\\a.txt", "812", 3, nullptr},
        {"E:\\x.dat[0]", "E:\\x.dat", "0", 0, nullptr},
        {"E:\\big.iso[5368709120]", "E:\\big.iso", "5368709120", 0, nullptr},
        // Names holding the grammar's own characters come out whole.
        {"E:\\song[12].mp3[400]", "E:\\song[12].mp3", "400", 0, nullptr},
        {"E:\\a($)[5]", "E:\\a($)", "5", 0, nullptr},
        {"E:\\x[5]($)[7]($)", "E:\\x[5]($)", "7", 1, nullptr},
        {"E:\\$money$ (1).doc[9]", "E:\\$money$ (1).doc", "9", 0, nullptr},
        {"E:\\me@home{1}.txt[3]", "E:\\me@home{1}.txt", "3", 0, nullptr},
        // A mirror path holding a disc number tag and the name's own braces.
        {"E:\\docs\\img\\a.jpg[800]($){d:\\zelbrin\\[003]Photos\\docs\\img\\a.jpg}",
         "E:\\docs\\img\\a.jpg", "800", 1, "d:\\zelbrin\\[003]Photos\\docs\\img\\a.jpg"},
        {"E:\\a[1]{b}.txt[10]($){C:\\m\\a[1]{b}.txt}", "E:\\a[1]{b}.txt", "10", 1,
         "C:\\m\\a[1]{b}.txt"},
        // An old file's negative size (a signed 32-bit write).
        {"E:\\huge.avi[-1294967296]", "E:\\huge.avi", "-1294967296", 0, nullptr},
    };
    for (const auto& c : cases) {
        const auto f = parseFileLine(c.line);
        ASSERT_TRUE(f.has_value()) << c.line;
        EXPECT_EQ(f->path, c.path) << c.line;
        EXPECT_EQ(f->sizeText, c.size) << c.line;
        EXPECT_EQ(f->ticks, c.ticks) << c.line;
        EXPECT_EQ(f->mirror.has_value(), c.mirror != nullptr) << c.line;
        if (c.mirror && f->mirror) {
            EXPECT_EQ(*f->mirror, c.mirror) << c.line;
        }
        EXPECT_EQ(formatFileLine(*f), c.line) << "round trip";
    }
}

TEST(IndexLineTest, FileLineAccessors) {
    const auto f = parseFileLine("E:\\docs\\a.txt[5368709120]($)");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->size(), 5368709120LL);
    EXPECT_TRUE(f->ticked());
    EXPECT_EQ(f->name(), "a.txt");
    EXPECT_EQ(f->folder(), "E:\\docs\\");
    EXPECT_FALSE(parseFileLine("E:\\a.txt[1]($)($)")->ticked());
    EXPECT_EQ(parseFileLine("E:\\huge.avi[-5]")->size(), -5);
}

TEST(IndexLineTest, FolderLines) {
    struct Case {
        const char* line;
        const char* parent;
        const char* key;
        const char* shown;
    };
    const Case cases[] = {
        {"E:\\|docs", "E:\\", "docs", "docs"},
        {"E:\\pics\\|img@", "E:\\pics\\", "img@", "img"},
        {"E:\\b\\|img@@", "E:\\b\\", "img@@", "img"},
        {"E:\\|me@home", "E:\\", "me@home", "me@home"},
        {"E:\\|[001]x{y}($)", "E:\\", "[001]x{y}($)", "[001]x{y}($)"},
    };
    for (const auto& c : cases) {
        const auto f = parseFolderLine(c.line);
        ASSERT_TRUE(f) << c.line;
        EXPECT_EQ(f->parent, c.parent);
        EXPECT_EQ(f->key, c.key);
        EXPECT_EQ(f->shownName(), c.shown);
        EXPECT_EQ(formatFolderLine(*f), c.line);
    }
    EXPECT_EQ(parseFolderLine("E:\\pics\\|img@")->path(), "E:\\pics\\img");
    EXPECT_FALSE(parseFolderLine("E:\\a.txt[1]"));
    EXPECT_FALSE(parseFileLine("E:\\|a[1]"));
}

TEST(IndexLineTest, WriterHelpersEndEachLine) {
    std::string out;
    appendFolderLine(out, "E:\\", "docs");
    appendFileLine(out, "E:\\docs\\", "a.txt", 18446744073709551615ULL);
    appendFileLine(out, "E:\\", "x.dat", 0);
    EXPECT_EQ(out, "E:\\|docs\r\nE:\\docs\\a.txt[18446744073709551615]\r\nE:\\x.dat[0]\r\n");
}

TEST(IndexLineTest, SizeTokens) {
    EXPECT_EQ(formatSize(0), "0");
    EXPECT_EQ(formatSize(5368709120ULL), "5368709120");
    EXPECT_EQ(parseSize("5368709120"), 5368709120LL);
    EXPECT_EQ(parseSize("-12"), -12);
    for (const char* bad : {"", "-", "+1", "1 2", "1,000", "99999999999999999999"}) {
        EXPECT_FALSE(parseSize(bad).has_value()) << bad;
    }
}

TEST(IndexLineTest, FolderKeySuffix) {
    EXPECT_EQ(folderKeySuffixLength("img@@"), 2u);
    EXPECT_EQ(folderKeySuffixLength("img"), 0u);
    EXPECT_EQ(stripFolderKeySuffix("a@b@"), "a@b");
    EXPECT_EQ(stripFolderKeySuffix("@@"), "");
}

TEST(IndexLineTest, FirstLine) {
    struct Case {
        const char* line;
        const char* base;
    };
    const Case cases[] = {
        {"D:\\music\\pop\\|live", "D:\\music\\"},
        {"D:\\music\\pop\\a.mp3[4096]", "D:\\music\\"},
        {"D:\\music\\pop\\a{1}.mp3[4096]", "D:\\music\\"},
        {"D:\\data\\photos\\|2001", "D:\\data\\"},
        {"D:\\|live", ""},  // a whole drive was scanned
        {"D:\\a.mp3[1]", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(HardDiscBase(c.line), c.base) << c.line;
    EXPECT_EQ(indexDriveLetter("E:\\|docs"), "E");
    EXPECT_EQ(indexDriveLetter(""), "");
}

}  // namespace
}  // namespace catalogue
