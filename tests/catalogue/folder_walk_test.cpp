#include "catalogue/folder_walk.h"

#include <fcntl.h>
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
        auto result = walkFolder(
            request, scanned, counts, [this](std::string_view t) { out += t; },
            [this](const std::string& c) { captions.push_back(c); });
        walkedPath = request.path;
        return result;
    }

    void file(const std::string& native, std::size_t size) {
        writeBytes(native, std::string(size, 'x'));
    }

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
    file(cd() + "/.hidden.mp3", 6);      // hidden files are listed like any other
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

// Links that lead out of the scanned folder are not followed: "up" would put
// the sibling's files into the index, "root" the whole file system.
TEST_F(FolderWalkTest, LinksOutOfTheScannedFolderAreLeftOutAndCounted) {
    file(c() + "/scanme/a.txt", 1);
    file(c() + "/sibling/s.txt", 2);
    fs::create_directories(c() + "/scanme/sub");
    fs::create_directory_symlink("..", c() + "/scanme/up");
    fs::create_directory_symlink("/", c() + "/scanme/root");
    fs::create_directory_symlink(c() + "/sibling", c() + "/scanme/abs");
    fs::create_directory_symlink("../../sibling", c() + "/scanme/sub/side");
    fs::create_symlink("../sibling/s.txt",
                       c() + "/scanme/flink");  // a file link is followed anywhere

    const auto r = scan("C:\\scanme", "scanme");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(out,
              "C:\\scanme\\|sub\r\n"
              "C:\\scanme\\a.txt[1]\r\n"
              "C:\\scanme\\flink[2]\r\n");
    EXPECT_EQ(r.skippedNames, 4);
    EXPECT_EQ(r.total, 3);
}

// Every folder is walked once, whatever leads to it; a link listed before
// the folder proper takes it in under the link's name.
TEST_F(FolderWalkTest, LinksInsideTheScannedFolderLeadToFoldersWalkedOnce) {
    file(c() + "/t/b/f.txt", 1);
    file(c() + "/t/z/inner/g.txt", 2);
    fs::create_directories(c() + "/t/a");
    fs::create_directory_symlink("../b", c() + "/t/a/s");           // b is a subfolder proper of t
    fs::create_directory_symlink("../z/inner", c() + "/t/a/deep");  // inner is read after a
    fs::create_directory_symlink("..", c() + "/t/z/loop");          // the scanned folder itself
    fs::create_directory_symlink(".", c() + "/t/b/self");

    const auto r = scan("C:\\t", "t");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(out,
              "C:\\t\\|a\r\n"
              "C:\\t\\|b\r\n"
              "C:\\t\\|z\r\n"
              "C:\\t\\a\\|deep\r\n"
              "C:\\t\\a\\deep\\g.txt[2]\r\n"
              "C:\\t\\b\\f.txt[1]\r\n"
              "C:\\t\\z\\|inner\r\n");  // its line, but its files are under a\deep
    EXPECT_EQ(r.skippedNames, 0);
    EXPECT_EQ(counts.dirCount, 5);
}

// Folders linking twice to the next: without the record of folders walked,
// 2^K runs.
TEST_F(FolderWalkTest, ADoublingChainOfLinksIsWalkedOnce) {
    constexpr int K = 20;
    const std::string root = c() + "/chain";
    for (int i = 1; i <= K; ++i) {
        const std::string f = root + "/h/f" + std::to_string(i);
        file(f + "/x" + std::to_string(i) + ".txt", 1);
        if (i < K) {
            fs::create_directory_symlink("../f" + std::to_string(i + 1), f + "/l1");
            fs::create_directory_symlink("../f" + std::to_string(i + 1), f + "/l2");
        }
    }
    fs::create_directories(root + "/a");
    fs::create_directory_symlink("../h/f1", root + "/a/l1");
    fs::create_directory_symlink("../h/f1", root + "/a/l2");

    const auto r = scan("C:\\chain", "chain");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.skippedNames, 0);
    EXPECT_EQ(counts.fileCount, K);
    EXPECT_EQ(r.total, K);
    // a, h, the chain under a\l1\l1\..., and h's folders f1..fK (no runs).
    EXPECT_EQ(counts.dirCount, 2 + K + K);
    EXPECT_NE(out.find("C:\\chain\\a\\l1\\l1\\x2.txt[1]\r\n"), std::string::npos);
    EXPECT_EQ(out.find("\\l2"), std::string::npos);
    EXPECT_EQ(out.find("C:\\chain\\h\\f1\\"), std::string::npos);
}

TEST_F(FolderWalkTest, SpecialFilesDanglingLinksAndUnstorableNamesAreCounted) {
    file(c() + "/t/real/f.txt", 7);
    fs::create_symlink("real/f.txt", c() + "/t/flink");  // a file link: sized by its target
    fs::create_symlink("nowhere", c() + "/t/dangling");
    ASSERT_EQ(::mkfifo((c() + "/t/pipe").c_str(), 0644), 0);
    fs::create_symlink("pipe", c() + "/t/plink");
    for (const char* bad : {"a|b", "a?b", "a:b", "a\\b", "a*b", "line\nbreak", "bad\xff"}) {
        file(c() + "/t/" + bad, 1);
    }

    const auto r = scan("C:\\t", "t");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(out,
              "C:\\t\\|real\r\n"
              "C:\\t\\flink[7]\r\n"
              "C:\\t\\real\\f.txt[7]\r\n");
    EXPECT_EQ(r.skippedNames, 7 + 3);
}

TEST_F(FolderWalkTest, AFolderThatCannotBeOpenedKeepsItsLineAndIsCounted) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    file(c() + "/t/locked/hidden.txt", 1);
    file(c() + "/t/open/seen.txt", 2);
    ASSERT_EQ(::chmod((c() + "/t/locked").c_str(), 0), 0);
    const auto r = scan("C:\\t", "t");
    ::chmod((c() + "/t/locked").c_str(), 0755);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(out,
              "C:\\t\\|locked\r\n"
              "C:\\t\\|open\r\n"
              "C:\\t\\open\\seen.txt[2]\r\n");
    EXPECT_EQ(r.skippedNames, 1);
}

// Names in code page 936 on disk (a disc written by Windows, mounted without
// a character set) are written decoded; a decoded name that another entry
// has as its own name, and a name that is neither UTF-8 nor code page 936,
// are left out.
TEST_F(FolderWalkTest, NamesInCodePage936AreWrittenDecoded) {
    file(c() + "/t/\xD6\xD0\xCE\xC4.txt", 5);  // 中文.txt
    file(c() + "/t/\xB8\xE8/a.txt", 1);        // 歌
    file(c() + "/t/dup/中文.txt", 2);
    file(c() + "/t/dup/\xD6\xD0\xCE\xC4.txt", 3);
    file(c() + "/t/bad\xff", 1);

    const auto r = scan("C:\\t", "t");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(out,
              "C:\\t\\|dup\r\n"
              "C:\\t\\|歌\r\n"
              "C:\\t\\中文.txt[5]\r\n"
              "C:\\t\\dup\\中文.txt[2]\r\n"
              "C:\\t\\歌\\a.txt[1]\r\n");
    EXPECT_EQ(r.skippedNames, 2);
}

// A chain of folders whose path is far longer than the system's limit, made
// and removed with calls relative to open folders (paths that long cannot be
// named whole).
class FolderChain {
  public:
    FolderChain(const std::string& base, int levels, std::size_t nameLength)
        : name_(nameLength, 'n'), levels_(levels), base_(base) {
        int fd = ::open(base.c_str(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; i < levels && fd >= 0; ++i) {
            ::mkdirat(fd, name_.c_str(), 0755);
            fd = step(fd, name_.c_str());
        }
        if (fd >= 0) {
            const int f = ::openat(fd, "bottom.txt", O_WRONLY | O_CREAT, 0644);
            EXPECT_EQ(::write(f, "abcd", 4), 4);
            ::close(f);
            ::close(fd);
        }
    }
    // Goes down to the bottom, then up by "..", removing on the way: two
    // folders open at a time.
    ~FolderChain() {
        int fd = ::open(base_.c_str(), O_RDONLY | O_DIRECTORY);
        int depth = 0;
        for (; depth < levels_ && fd >= 0; ++depth) fd = step(fd, name_.c_str());
        if (fd >= 0) ::unlinkat(fd, "bottom.txt", 0);
        for (; depth > 0 && fd >= 0; --depth) {
            fd = step(fd, "..");
            if (fd >= 0) ::unlinkat(fd, name_.c_str(), AT_REMOVEDIR);
        }
        if (fd >= 0) ::close(fd);
    }
    FolderChain(const FolderChain&) = delete;
    FolderChain& operator=(const FolderChain&) = delete;

    // The Windows path of the bottom folder below a Windows folder.
    std::string windowsBottom(std::string windows) const {
        for (int i = 0; i < levels_; ++i) windows += name_ + "\\";
        return windows;
    }

  private:
    // Opens the folder name of the open folder fd, and closes fd.
    static int step(int fd, const char* name) {
        const int next = ::openat(fd, name, O_RDONLY | O_DIRECTORY);
        ::close(fd);
        return next;
    }

    std::string name_;
    int levels_;
    std::string base_;
};

// Past a few hundred levels the folders' handles are closed once read, and
// deeper folders are opened through the nearest one still open; nothing is
// lost, however long the paths.
TEST_F(FolderWalkTest, ChainsFarLongerThanThePathLimitAreWalkedToTheBottom) {
    struct Case {
        int levels;
        std::size_t nameLength;
    };
    for (const Case k : {Case{40, 200}, Case{400, 30}, Case{300, 1}}) {
        SCOPED_TRACE(std::to_string(k.levels) + " levels");
        fs::create_directories(c() + "/deep");
        const FolderChain chain(c() + "/deep", k.levels, k.nameLength);
        const auto r = scan("C:\\deep", "deep");
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(counts.dirCount, k.levels);
        EXPECT_EQ(counts.fileCount, 1);
        EXPECT_EQ(r.skippedNames, 0);
        EXPECT_NE(out.find(chain.windowsBottom("C:\\deep\\") + "bottom.txt[4]\r\n"),
                  std::string::npos);
    }
}

// A folder removed between its opening and its reading has vanished: no
// entries and no error.
TEST_F(FolderWalkTest, AFolderThatVanishesWhileOpenIsNoError) {
    fs::create_directories(c() + "/gone");
    const platform::files::WalkFolder folder("C:\\gone");
    ASSERT_TRUE(folder.isOpen());
    fs::remove(c() + "/gone");
    std::int64_t skipped = 0;
    EXPECT_TRUE(
        folder.read("*.*", skipped, [](const platform::files::FolderId&) { return true; }).empty());
    EXPECT_EQ(skipped, 0);
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
    const auto r =
        walkFolder(request, scanned, counts, [](std::string_view) { throw platform::Error(61); });
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
            if (("|" + sspath + "?" + text).find("|" + expected + "?") != std::string::npos)
                expected += "@";
            while (text.find("|" + expected + "?") != std::string::npos) expected += "@";
            const std::string printed = list.printedName(actual, sspath);
            ASSERT_EQ(printed, expected) << "run " << run << " step " << i;
            list.add(printed);
            text += "E:\\|" + printed + "?";
            EXPECT_TRUE(list.contains(printed));
        }
    }
}

}  // namespace
}  // namespace catalogue
