#include "discpage/disc_file_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace discpage {
namespace {

TEST(DiscFilePath, OnlyPlainNamesPass) {
    struct Case {
        const char* path;
        bool plain;
    };
    for (const Case& c : std::vector<Case>{
             {"docs\\a.txt", true},
             {"a..b\\.profile", true},
             {"新建文件夹\\b.txt", true},
             {"", false},
             {"docs\\\\a.txt", false},
             {"docs\\a.txt\\", false},
             {"docs\\.\\a.txt", false},
             {"..\\a.txt", false},
             {"docs\\..", false},
             // The drive table reads "/" as "\".
             {"x/../../a.txt", false},
             {"docs/", false},
         }) {
        EXPECT_EQ(plainNames(c.path), c.plain) << c.path;
    }
}

TEST(DiscFilePath, TheCataloguedFolderComesFromTheIndexsFirstLine) {
    struct Case {
        const char* firstLine;
        const char* base;
        const char* folder;
    };
    for (const Case& c : std::vector<Case>{
             {"C:\\music\\pop\\|live", "C:\\music\\", "C:\\music\\pop"},
             {"C:\\music\\pop\\top.mp3[100]($)", "C:\\music\\", "C:\\music\\pop"},
             {"C:\\music\\pop\\a.mp3[5]{D:\\zelbrin\\x\\y\\a.mp3}", "C:\\music\\",
              "C:\\music\\pop"},
             {"D:\\|sub", "", "D:\\"},
             {"D:\\a.txt[5]", "", "D:\\"},
         }) {
        const HardDiscFolder disc = hardDiscFolder(c.firstLine);
        EXPECT_EQ(disc.base, c.base) << c.firstLine;
        EXPECT_EQ(disc.folder, c.folder) << c.firstLine;
    }
}

TEST(DiscFilePath, AnIndexLineNamesItsFileOrFolder) {
    EXPECT_EQ(indexLinePath("E:\\docs\\a.txt[10]($)($){C:\\copies\\docs\\a.txt}"),
              "E:\\docs\\a.txt");
    // A name holding brackets keeps them: the line is read from the right.
    EXPECT_EQ(indexLinePath("E:\\docs\\a[1].txt[5]($)"), "E:\\docs\\a[1].txt");
    EXPECT_EQ(indexLinePath("E:\\docs\\|img@@"), "E:\\docs\\img");
    EXPECT_EQ(indexLinePath("E:\\docs\\odd[x"), "E:\\docs\\odd");
    EXPECT_EQ(indexLinePath("E:\\docs\\odd"), "E:\\docs\\odd");
}

TEST(DiscFilePath, ANotePathNamesTheNotedFile) {
    EXPECT_EQ(notedFilePath("E:\\docs\\Readme.txt"), "E:\\docs\\Readme.txt");
    EXPECT_EQ(notedFilePath("E:\\docs\\README.No扩展名"), "E:\\docs\\README");
    EXPECT_EQ(notedFilePath("E:\\docs\\a.No扩展名.txt"), "E:\\docs\\a.No扩展名.txt");
    EXPECT_EQ(notedFilePath("E:\\新建文件夹\\b.txt"), "E:\\新建文件夹\\b.txt");
    EXPECT_EQ(notedFilePath("E:\\docs\\img.文件夹"), std::nullopt);
    EXPECT_EQ(notedFilePath("E:\\docs\\新建文件夹"), "E:\\docs\\新建文件夹");
}

TEST(DiscFilePath, ACdPathIsReRootedOnTheCdDrive) {
    struct Case {
        const char* scanPath;
        const char* path;
        bool plain;
    };
    for (const Case& c : std::vector<Case>{
             {"E:\\docs\\a.txt", "F:\\docs\\a.txt", true},
             {"G:\\setup.exe", "F:\\setup.exe", true},
             {"e:\\docs\\readme.txt", "F:\\docs\\readme.txt", true},
             {"E:\\docs\\..\\setup.exe", "F:\\docs\\..\\setup.exe", false},
             {"E:\\", "F:\\", false},
             {"E:", "F:\\", false},
         }) {
        const DiscFilePlace place = cdScanPathPlace("F:\\", c.scanPath);
        EXPECT_EQ(place.path, c.path) << c.scanPath;
        EXPECT_EQ(place.root, "F:\\") << c.scanPath;
        EXPECT_EQ(place.plain, c.plain) << c.scanPath;
    }
}

TEST(DiscFilePath, AHardDiskPathStaysInItsCataloguedFolder) {
    const HardDiscFolder pop{"C:\\music\\", "C:\\music\\pop"};
    // From the names below the disc node (a note path, a tree path).
    DiscFilePlace place = hardDiscFilePlace(pop, "pop\\live\\a.mp3");
    EXPECT_EQ(place.path, "C:\\music\\pop\\live\\a.mp3");
    EXPECT_EQ(place.root, "C:\\music\\pop");
    EXPECT_TRUE(place.plain);
    EXPECT_FALSE(hardDiscFilePlace(pop, "pop\\..\\secret.mp3").plain);
    EXPECT_FALSE(hardDiscFilePlace(HardDiscFolder{}, "pop\\a.mp3").plain);

    // From a path as scanned: the path itself, letter case as listed.
    place = hardDiscScanPathPlace(pop, "c:\\MUSIC\\pop\\live\\a.mp3");
    EXPECT_EQ(place.path, "c:\\MUSIC\\pop\\live\\a.mp3");
    EXPECT_EQ(place.root, "C:\\music\\pop");
    EXPECT_TRUE(place.plain);
    EXPECT_FALSE(hardDiscScanPathPlace(pop, "D:\\other\\a.mp3").plain);
    EXPECT_FALSE(hardDiscScanPathPlace(pop, "C:\\music\\pop\\..\\x.mp3").plain);

    // A whole drive.
    place = hardDiscScanPathPlace({"", "D:\\"}, "D:\\sub\\a.txt");
    EXPECT_EQ(place.path, "D:\\sub\\a.txt");
    EXPECT_EQ(place.root, "D:\\");
    EXPECT_TRUE(place.plain);
}

}  // namespace
}  // namespace discpage
