// The stored files of mirror copies: the disc list, the copied size, the
// mirror paths and the copy run's pass over an index text.
#include "copies/mirror_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using copies::MirrorRecord;

TEST(MirrorDiscList, Append) {
    EXPECT_EQ(copies::appendMirrorDisc("", "[003]Photos"), "[003]Photos\r\n");
    EXPECT_EQ(copies::appendMirrorDisc("A\r\n", "B"), "A\r\nB\r\n");
    // A last line without a break gets one before the new line.
    EXPECT_EQ(copies::appendMirrorDisc("A", "B"), "A\r\nB\r\n");
    // An equal line: nothing to add. Letter case counts: "[003]PHOTOS" is
    // another disc.
    EXPECT_FALSE(copies::appendMirrorDisc("x\r\n[003]Photos\r\ny\r\n", "[003]Photos"));
    EXPECT_FALSE(copies::appendMirrorDisc("x\n[003]Photos", "[003]Photos"));
    EXPECT_EQ(copies::appendMirrorDisc("x\n[003]photos", "[003]Photos"),
              "x\n[003]photos\r\n[003]Photos\r\n");
    // A line that merely holds the name, or a longer name, is another disc.
    EXPECT_EQ(copies::appendMirrorDisc("[003]Photos2\r\nmy [003]Photos\r\n", "[003]Photos"),
              "[003]Photos2\r\nmy [003]Photos\r\n[003]Photos\r\n");
}

TEST(MirrorDiscList, Remove) {
    EXPECT_EQ(copies::removeMirrorDisc("A\r\nB\r\nC\r\n", "B"), "A\r\nC\r\n");
    // Only the first equal line; letter case counts; a longer line is another disc.
    EXPECT_EQ(copies::removeMirrorDisc("BB\r\nb\r\nB\r\nB\r\n", "B"), "BB\r\nb\r\nB\r\n");
    EXPECT_EQ(copies::removeMirrorDisc("A\r\nB", "B"), "A\r\n");
    // The only line gone: an empty list.
    EXPECT_EQ(copies::removeMirrorDisc("B\r\n", "B"), "");
    EXPECT_FALSE(copies::removeMirrorDisc("A\r\nb\r\nBB\r\n", "B"));
    EXPECT_FALSE(copies::removeMirrorDisc("", "B"));
}

TEST(CopiedSize, Read) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {" 805\r\n", 805}, {"805", 805},     {"  12  \r\n", 12}, {"", 0},      {"abc", 0},
        {"-5\r\n", -5},    {" 3000x", 3000}, {"1.5", 1.5},       {"1e999", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(copies::readCopiedSize(c.text), c.value) << c.text;
}

TEST(CopiedSize, Text) {
    EXPECT_EQ(copies::copiedSizeText(805), " 805\r\n");
    EXPECT_EQ(copies::copiedSizeText(0), " 0\r\n");
    EXPECT_EQ(copies::copiedSizeText(-0.0), " 0\r\n");
    EXPECT_EQ(copies::copiedSizeText(-5), "-5\r\n");
    EXPECT_EQ(copies::copiedSizeText(1.5), " 1.5\r\n");
    // Plain decimal also for totals a double holds only with an exponent.
    EXPECT_EQ(copies::copiedSizeText(12345678901234567.0), " 12345678901234568\r\n");
    EXPECT_EQ(copies::copiedSizeText(1e20), " 100000000000000000000\r\n");
    for (double v : {0.0, 805.0, 3000.0, 4294967296.0, 1e20, -7.0})
        EXPECT_EQ(copies::readCopiedSize(copies::copiedSizeText(v)), v);
}

TEST(MirrorPaths, PlainNamesAndPaths) {
    for (const char* name : {"a", "a.jpg", "[003]Photos", "a b", "...", ".x", "照片"})
        EXPECT_TRUE(copies::isPlainName(name)) << name;
    for (const char* name : {"", ".", "..", "a\\b", "a/b", "c:x"})
        EXPECT_FALSE(copies::isPlainName(name)) << name;

    for (const char* path : {"d:\\", "D:\\zelbrin", "d:\\zelbrin\\[003]Photos\\docs\\a.jpg"})
        EXPECT_TRUE(copies::isPlainAbsolutePath(path)) << path;
    for (const char* path :
         {"", "d:", "zelbrin\\a", "\\zelbrin\\a", "d:zelbrin", "1:\\a", "d:\\zelbrin\\", "d:\\\\a",
          "d:\\a\\..\\b", "d:\\a\\.\\b", "d:\\..", "d:\\a/..\\b", "/home/u/a"})
        EXPECT_FALSE(copies::isPlainAbsolutePath(path)) << path;
}

TEST(MirrorPaths, TrimTarget) {
    EXPECT_EQ(copies::trimTargetFolder("d:\\zelbrin\\x\\"), "d:\\zelbrin\\x");
    EXPECT_EQ(copies::trimTargetFolder("d:\\zelbrin\\x"), "d:\\zelbrin\\x");
    EXPECT_EQ(copies::trimTargetFolder("d:\\zelbrin\\x\\\\"), "d:\\zelbrin\\x\\");
    EXPECT_EQ(copies::trimTargetFolder("d:\\"), "d:\\");
    EXPECT_EQ(copies::trimTargetFolder(""), "");
}

TEST(MirrorPaths, CopyPath) {
    EXPECT_EQ(copies::mirrorCopyPath("d:\\z\\P", "docs\\img", "a.jpg"),
              "d:\\z\\P\\docs\\img\\a.jpg");
    EXPECT_EQ(copies::mirrorCopyPath("d:\\z\\P", "", "c.txt"), "d:\\z\\P\\c.txt");
    EXPECT_EQ(copies::mirrorCopyPath("d:\\", "docs", "a.jpg"), "d:\\docs\\a.jpg");
    // Names from an index that would leave the target.
    EXPECT_FALSE(copies::mirrorCopyPath("d:\\z\\P", "..\\..", "x"));
    EXPECT_FALSE(copies::mirrorCopyPath("d:\\z\\P", "docs\\.", "x"));
    EXPECT_FALSE(copies::mirrorCopyPath("d:\\z\\P", "docs\\\\img", "x"));
    EXPECT_FALSE(copies::mirrorCopyPath("d:\\z\\P", "docs", ".."));
    EXPECT_FALSE(copies::mirrorCopyPath("d:\\z\\P", "docs", ""));
    EXPECT_FALSE(copies::mirrorCopyPath("d:\\z\\P", "", "a/../../x"));
}

TEST(MirrorPaths, Accepted) {
    struct Case {
        const char* mirror;
        const char* index;
        bool accepted;
    } cases[] = {
        {"d:\\zelbrin\\[003]Photos\\docs\\img\\a.jpg", "E:\\docs\\img\\a.jpg", true},
        {"D:\\ZELBRIN\\P\\DOCS\\A.JPG", "e:\\docs\\a.jpg", true},
        {"d:\\P\\c.txt", "E:\\c.txt", true},
        {"d:\\docs\\a.jpg", "E:\\docs\\a.jpg", true},  // copied to a drive root
        // Elsewhere: another file, a climbing path, a relative path, a longer name.
        {"d:\\P\\docs\\b.jpg", "E:\\docs\\a.jpg", false},
        {"d:\\P\\..\\..\\docs\\a.jpg", "E:\\docs\\a.jpg", false},
        {"P\\docs\\a.jpg", "E:\\docs\\a.jpg", false},
        {"d:\\P\\xdocs\\a.jpg", "E:\\docs\\a.jpg", false},
        {"d:\\P\\docs\\a.jpg.bak", "E:\\docs\\a.jpg", false},
        {"d:\\P\\docs\\a.jpg", "E:\\", false},
        {"c:\\.bashrc", "E:\\docs\\a.jpg", false},
        {"", "E:\\a", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(copies::mirrorPathAccepted(c.mirror, c.index), c.accepted) << c.mirror;
}

TEST(MirrorRun, MarkedLinesOncePerLineInFileOrder) {
    const std::string text =
        "E:\\|docs@\r\n"
        "E:\\a.txt[1]($)($)($)\r\n"
        "E:\\b.txt[2]\r\n"
        "E:\\docs\\c.txt[3]($)\n"
        "E:\\d.txt[4]($)";
    const std::vector<copies::MarkedLine> lines = copies::markedLines(text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(text.substr(lines[0].begin, lines[0].end - lines[0].begin), "E:\\a.txt[1]($)($)($)");
    EXPECT_EQ(text.substr(lines[1].begin, lines[1].end - lines[1].begin), "E:\\docs\\c.txt[3]($)");
    EXPECT_EQ(text.substr(lines[2].begin, lines[2].end - lines[2].begin), "E:\\d.txt[4]($)");
    EXPECT_TRUE(copies::markedLines("E:\\a[1]\r\n").empty());
    EXPECT_TRUE(copies::markedLines("").empty());
}

TEST(MirrorRun, SuffixesGoOnTheirOwnLines) {
    // The same name stands earlier inside a longer name: the suffix still goes
    // on the line that was visited.
    const std::string text =
        "E:\\a.txt.bak[1]($)\r\n"
        "E:\\a.txt[2]($)\r\n"
        "E:\\b.txt[3]($)";
    const std::vector<copies::MarkedLine> lines = copies::markedLines(text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(copies::addMirrorSuffixes(text, {MirrorRecord{lines[1].end, "d:\\t\\a.txt"},
                                               MirrorRecord{lines[2].end, "d:\\t\\b.txt"}}),
              "E:\\a.txt.bak[1]($)\r\n"
              "E:\\a.txt[2]($){d:\\t\\a.txt}\r\n"
              "E:\\b.txt[3]($){d:\\t\\b.txt}");
    EXPECT_EQ(copies::addMirrorSuffixes(text, {}), text);
}

}  // namespace
