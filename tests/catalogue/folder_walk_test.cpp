#include "catalogue/folder_walk.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/files/files_fixture.h"
#include "platform/files/listing.h"

namespace catalogue {
namespace {

namespace fs = std::filesystem;
using files_test::writeBytes;

class FolderWalkTest : public files_test::FilesTest {
protected:
    // Walks a Windows folder; the index text comes back in out.
    WalkResult scan(std::string path, std::string_view sspath, std::string_view pattern = "*.*") {
        WalkRequest request{std::string(sspath), std::move(path), std::string(pattern)};
        out.clear();
        counts = {};
        auto result = walkFolder(request, scanned, counts, [this](std::string_view t) { out += t; },
                                 [this](const std::string& c) { captions.push_back(c); });
        walkedPath = request.path;
        return result;
    }

    void file(const std::string& native, std::size_t size) { writeBytes(native, std::string(size, 'x')); }

    ScannedFolderList scanned;
    WalkCounts counts;
    std::string out;
    std::string walkedPath;
    std::vector<std::string> captions;
};

TEST_F(FolderWalkTest, WritesFoldersThenFilesThenEachSubfolderRun) {
    file(cd() + "/readme.txt", 1234);
    file(cd() + "/docs/a.txt", 10);
    file(cd() + "/docs/img/x.jpg", 2048);
    fs::create_directories(cd() + "/setup");
    ::chmod((cd() + "/docs").c_str(), 0555);  // a read-only folder matches "*.*" too
    ::chmod((cd() + "/setup").c_str(), 0555);

    const auto r = scan("E:\\", "");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(out,
              "E:\\|docs\r\n"
              "E:\\|setup\r\n"
              "E:\\readme.txt[1234]\r\n"
              "E:\\docs\\|img\r\n"
              "E:\\docs\\a.txt[10]\r\n"
              "E:\\docs\\img\\x.jpg[2048]\r\n");
    EXPECT_EQ(counts.fileCount, 3);
    EXPECT_EQ(counts.dirCount, 3);
    EXPECT_EQ(r.total, 3292);
}

TEST_F(FolderWalkTest, FolderKeySuffixMakesPrintedNamesUnique) {
    fs::create_directories(c() + "/music/pop/a/img");
    fs::create_directories(c() + "/music/pop/b/img");
    fs::create_directories(c() + "/music/pop/c/img");
    fs::create_directories(c() + "/music/pop/pop");
    fs::create_directories(c() + "/music/pop/IMG");
    file(c() + "/music/pop/b/img/x.jpg", 1);

    ASSERT_TRUE(scan("C:\\music\\pop", "pop").ok);
    EXPECT_EQ(walkedPath, "C:\\music\\pop\\");  // the caller's path gets its "\"
    EXPECT_EQ(out,
              "C:\\music\\pop\\|a\r\n"
              "C:\\music\\pop\\|b\r\n"
              "C:\\music\\pop\\|c\r\n"
              "C:\\music\\pop\\|IMG\r\n"
              "C:\\music\\pop\\|pop@\r\n"  // the scanned folder's own name
              "C:\\music\\pop\\a\\|img\r\n"
              "C:\\music\\pop\\b\\|img@\r\n"
              "C:\\music\\pop\\b\\img\\x.jpg[1]\r\n"  // file lines keep the real path
              "C:\\music\\pop\\c\\|img@@\r\n");

    // The record lasts the whole run: a second scan prints further "@".
    ASSERT_TRUE(scan("C:\\music\\pop\\a", "a").ok);
    EXPECT_EQ(out, "C:\\music\\pop\\a\\|img@@@\r\n");
}

TEST_F(FolderWalkTest, PatternSelectsFilesButEveryFolderIsListed) {
    file(cd() + "/a.MP3", 3);
    file(cd() + "/b.txt", 4);
    file(cd() + "/x.mp3/inner.mp3", 5);  // a folder whose name matches
    file(cd() + "/.hidden.mp3", 6);     // hidden files are listed like any other
    const auto r = scan("E:", "", "*.mp3");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(out,
              "E:\\|x.mp3\r\n"
              "E:\\.hidden.mp3[6]\r\n"
              "E:\\a.MP3[3]\r\n"
              "E:\\x.mp3\\inner.mp3[5]\r\n");
    EXPECT_EQ(r.total, 14);
}

TEST_F(FolderWalkTest, EmptyMissingAndDisclessGiveNoLinesAndNoError) {
    table().find("E:")->ready = false;
    for (const std::string path : {"C:\\", "C:\\missing", "E:\\", "Q:\\"}) {
        const auto r = scan(path, "");
        EXPECT_TRUE(r.ok) << path;
        EXPECT_EQ(out, "") << path;
        EXPECT_EQ(counts.fileCount + counts.dirCount + r.total, 0) << path;
    }
}

TEST_F(FolderWalkTest, SizesAreSixtyFourBit) {
    file(cd() + "/empty.dat", 0);
    writeBytes(cd() + "/big.iso", "");
    ASSERT_EQ(::truncate((cd() + "/big.iso").c_str(), 5368709120LL), 0);  // sparse
    const auto r = scan("E:\\", "");
    EXPECT_EQ(out, "E:\\big.iso[5368709120]\r\nE:\\empty.dat[0]\r\n");
    EXPECT_EQ(r.total, 5368709120LL);
    EXPECT_EQ(counts.fileCount, 2);
}

TEST_F(FolderWalkTest, LinksSpecialFilesAndUnstorableNames) {
    file(c() + "/t/real/f.txt", 7);
    fs::create_symlink("../real", c() + "/t/real/up");      // into the folder itself: a loop
    fs::create_symlink("..", c() + "/t/real/parent");       // into the scanned folder: a loop
    fs::create_symlink(c() + "/t/other", c() + "/t/zlink");  // elsewhere: followed
    file(c() + "/t/other/o.txt", 3);
    fs::create_symlink("real/f.txt", c() + "/t/flink");      // a file link: sized by its target
    fs::create_symlink("nowhere", c() + "/t/dangling");
    ASSERT_EQ(::mkfifo((c() + "/t/pipe").c_str(), 0644), 0);
    for (const char* bad : {"a|b", "a?b", "a:b", "a\\b", "a*b", "line\nbreak", "bad\xff"}) {
        file(c() + "/t/" + bad, 1);
    }

    const auto r = scan("C:\\t", "t");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(out,
              "C:\\t\\|other\r\n"
              "C:\\t\\|real\r\n"
              "C:\\t\\|zlink\r\n"
              "C:\\t\\flink[7]\r\n"
              "C:\\t\\other\\o.txt[3]\r\n"
              "C:\\t\\real\\f.txt[7]\r\n"
              "C:\\t\\zlink\\o.txt[3]\r\n");
    EXPECT_EQ(r.skippedNames, 7);
}

// Deep trees: past a few hundred levels folders are no longer kept open and
// are opened by their paths; nothing is lost.
TEST_F(FolderWalkTest, DeepTreesAreWalkedToTheBottom) {
    std::string native = c() + "/deep";
    std::string windows = "C:\\deep\\";
    for (int i = 0; i < 300; ++i) {
        native += "/d";
        windows += "d\\";
    }
    file(native + "/bottom.txt", 4);
    const auto r = scan("C:\\deep", "deep");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(counts.dirCount, 300);
    EXPECT_EQ(counts.fileCount, 1);
    EXPECT_NE(out.find(windows + "bottom.txt[4]\r\n"), std::string::npos);
}

// A folder removed between its opening and its reading has vanished: no
// entries and no error.
TEST_F(FolderWalkTest, AFolderThatVanishesWhileOpenIsNoError) {
    fs::create_directories(c() + "/gone");
    const platform::files::WalkFolder folder("C:\\gone");
    ASSERT_TRUE(folder.isOpen());
    fs::remove(c() + "/gone");
    std::int64_t skipped = 0;
    EXPECT_TRUE(folder.read("*.*", skipped).empty());
}

TEST_F(FolderWalkTest, CaptionShowsProgress) {
    for (int i = 0; i < 60; ++i) file(cd() + "/f" + std::to_string(100 + i), 1);
    fs::create_directories(cd() + "/zz");
    ASSERT_TRUE(scan("E:\\", "").ok);
    const std::vector<std::string> expected = {"0文件夹：50", "1文件夹：", "1文件夹：50"};
    EXPECT_EQ(captions, expected);
}

TEST_F(FolderWalkTest, AFailedWriteIsReported) {
    file(cd() + "/a.txt", 1);
    WalkRequest request{"", "E:\\", "*.*"};
    const auto r = walkFolder(request, scanned, counts,
                              [](std::string_view) { throw platform::Error(61); });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorNumber, 61);
    EXPECT_EQ(r.errorPath, "E:\\");
}

// The record answers exactly what a search of the run-long text
// "|" + sspath + "?" + "P|printed?P|printed?..." would.
TEST(ScannedFolderListTest, AgreesWithTheTextSearch) {
    const char* names[] = {"a", "a@", "a@@", "b", "b@", "@", "x@y", "x@y@"};
    std::mt19937 rng(5);
    for (int run = 0; run < 50; ++run) {
        ScannedFolderList list;
        std::string text;
        const std::string sspath = names[rng() % 8];
        for (int i = 0; i < 40; ++i) {
            const std::string actual = names[rng() % 8];
            std::string expected = actual;
            if (("|" + sspath + "?" + text).find("|" + expected + "?") != std::string::npos) expected += "@";
            while (text.find("|" + expected + "?") != std::string::npos) expected += "@";
            const std::string printed = list.printedName(actual, sspath);
            ASSERT_EQ(printed, expected) << "run " << run << " step " << i;
            list.add(printed);
            text += "E:\\|" + printed + "?";
            EXPECT_TRUE(list.contains(printed));
        }
    }
}

TEST(StripNullsTest, CutsAtTheFirstNul) {
    std::string s("abc\0def", 7);
    EXPECT_EQ(stripNulls(s), "abc");
    EXPECT_EQ(s, "abc");
    std::string plain = "abc";
    EXPECT_EQ(stripNulls(plain), "abc");
}

}  // namespace
}  // namespace catalogue
