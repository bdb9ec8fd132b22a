// The parts of a library record made from a listed row, and the look-up and
// removal of a record in files with any line breaks.
#include "copies/library_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LibraryEntry, NameIsTheLastElementCutBeforeItsLastDot) {
    EXPECT_EQ(copies::entryName("F:\\docs\\img"), "img");
    EXPECT_EQ(copies::entryName("F:\\docs\\data.old"), "data");
    EXPECT_EQ(copies::entryName("F:\\docs\\archive.tar.gz"), "archive.tar");
    EXPECT_EQ(copies::entryName("F:\\docs\\README"), "README");
    // A dot in a folder above does not count.
    EXPECT_EQ(copies::entryName("F:\\v1.2\\README"), "README");
}

TEST(LibraryEntry, RemarkIsOneTrimmedLine) {
    struct Case {
        const char* remark;
        const char* cd;
        const char* hard;
    };
    for (const Case& c :
         {Case{"", "空", "空"}, Case{"  note  ", "note", "note"},
          Case{"one\r\ntwo\r\n", "onetwo", "onetwo"}, Case{"\r\n", "", "空"}, Case{"   ", "", ""},
          // A lone break would split the record's line.
          Case{"a\nb\rc", "abc", "abc"}}) {
        SCOPED_TRACE(c.remark);
        EXPECT_EQ(copies::recordRemark(c.remark, false), c.cd);
        EXPECT_EQ(copies::recordRemark(c.remark, true), c.hard);
    }
}

TEST(LibraryEntry, ShownRecordBreaksAtEveryBar) {
    EXPECT_EQ(copies::shownRecord(
                  copies::formatRecord({"1", "img", "[003]Tools", "F:\\docs\\img", "空"})),
              "\r\n文件图标:1;\r\n文件名:img;\r\n光盘名字:[003]Tools;\r\n文件路径:F:\\docs\\img;"
              "\r\n文件备注:空");
}

TEST(LibraryEntry, LastLineOpen) {
    EXPECT_FALSE(copies::lastLineOpen(""));
    EXPECT_FALSE(copies::lastLineOpen("a\r\n"));
    EXPECT_FALSE(copies::lastLineOpen("a\n"));
    EXPECT_TRUE(copies::lastLineOpen("a\r\nb"));
}

TEST(LibraryFileText, RecordsAreFoundAndRemovedWhateverTheLineBreaks) {
    const std::string a = copies::formatRecord({"1", "a", "D", "E:\\a", "空"});
    const std::string b = copies::formatRecord({"1", "b", "D", "E:\\b", "空"});
    const std::string c = copies::formatRecord({"1", "c", "D", "E:\\c", "空"});
    const std::string keyB = copies::libraryNodeKey("D", "E:\\b");
    struct Case {
        std::string text;
        std::string withoutB;
    };
    for (const Case& t : {Case{a + "\n" + b + "\n" + c + "\n", a + "\n" + c + "\n"},
                          Case{a + "\r" + b + "\r\n" + c, a + "\r\n" + c}, Case{b + "\n" + c, c},
                          Case{a + "\r\n" + b, a + "\r\n"}}) {
        const auto span = copies::findRecord(t.text, keyB);
        ASSERT_TRUE(span);
        EXPECT_EQ(span->line(t.text), b);
        EXPECT_EQ(copies::removeRecord(t.text, keyB), t.withoutB);
    }
}

TEST(LibraryFileText, LibraryFileLiesInTheProgramFolder) {
    EXPECT_EQ(copies::libraryFilePath("C:\\zelbrin"), "C:\\zelbrin\\favorite.ini");
    EXPECT_EQ(copies::libraryFilePath("C:\\"), "C:\\favorite.ini");
}

}  // namespace
