#include "platform/files/text_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "files_fixture.h"
#include "platform/files/confined.h"
#include "platform/files/paths.h"
#include "support/file_size_limit.h"
#include "support/unreadable_file.h"

namespace {

using namespace platform::files;
using files_test::errorOf;
using files_test::FilesTest;
using files_test::readBytes;
using files_test::writeBytes;
namespace fs = std::filesystem;

// "光盘" in code page 936.
const std::string Guangpan = "\xb9\xe2\xc5\xcc";

// Rewrites a text file whole beneath C:.
void rewriteC(std::string_view relative, std::string_view text) {
    WholeFileRewrite(ConfinedRoot::open("C:\\"), relative, text);
}

TEST_F(FilesTest, WholeFileReadDecodesCodePage936) {
    writeBytes(c() + "/ini.ini", "|" + Guangpan + "\r\n#a#1#r&&d#\r\n");
    EXPECT_EQ(WholeFileRead("C:\\INI.ini"), "|光盘\r\n#a#1#r&&d#\r\n");
}

TEST_F(FilesTest, ReadingAndRewritingAFileKeepsBytesThatAreNoCharacters) {
    // 0xFF, a lead byte with a bad trail, a lone lead byte before a break, a
    // cut four-byte code, the euro sign (0x80) and A2E3 beside valid text.
    const std::string bytes =
        "|x\xFFy\r\n\x81\x7F" + Guangpan + "\x81\r\n\x81\x30\r\n\x80\xA2\xE3\r\n";
    writeBytes(c() + "/ini.ini", bytes);
    rewriteC("ini.ini", WholeFileRead("C:\\ini.ini"));
    EXPECT_EQ(readBytes(c() + "/ini.ini"), bytes);
}

TEST_F(FilesTest, WholeFileRewriteDropsOnlyAFinalBreakThatIsThere) {
    struct Case {
        const char* text;
        std::string bytes;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", "a\r\nb\r\n"},  // the usual case: read, changed, written back
        {"a\r\nb", "a\r\nb\r\n"},      // no final break: nothing of the text is lost
        {"a\r\nb\n", "a\r\nb\r\n"},    // a lone LF counts as the break
        {"a\r\n\r\n", "a\r\n\r\n"},    // only one break is dropped
        {"\r\n", "\r\n"},
        {"光盘", Guangpan + "\r\n"},
        {"", ""},  // nothing left: an empty file, no empty line
    };
    for (const auto& k : cases) {
        rewriteC("f.txt", k.text);
        EXPECT_EQ(readBytes(c() + "/f.txt"), k.bytes) << "text: " << k.text;
    }
}

TEST_F(FilesTest, WholeFileRewriteKeepsTheFileItsNameAndItsMode) {
    writeBytes(c() + "/Index.WCD", "old\r\n");
    ::chmod((c() + "/Index.WCD").c_str(), 0640);
    rewriteC("index.wcd", "new\r\n");
    EXPECT_EQ(readBytes(c() + "/Index.WCD"), "new\r\n");
    EXPECT_FALSE(fs::exists(c() + "/index.wcd"));
    EXPECT_EQ(fs::status(c() + "/Index.WCD").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Nothing else is left in the folder.
    EXPECT_EQ(testsupport::entryCount(c()), 1);
    // A read-only file is not rewritten.
    ::chmod((c() + "/Index.WCD").c_str(), 0444);
    EXPECT_EQ(errorOf([] { rewriteC("index.wcd", "x"); }), 75);
    EXPECT_EQ(readBytes(c() + "/Index.WCD"), "new\r\n");
}

TEST_F(FilesTest, AnInterruptedRewriteLeavesTheOldFileWhole) {
    const std::string old = "line 1\r\nline 2\r\n";
    writeBytes(c() + "/ini.ini", old);
    int error = 0;
    {
        // The system refuses to write past 64 bytes, as a full disk would.
        const testsupport::FileSizeLimit limit(64);
        error = errorOf([] { rewriteC("ini.ini", std::string(1000, 'x')); });
    }
    EXPECT_NE(error, 0);
    EXPECT_EQ(readBytes(c() + "/ini.ini"), old);
    EXPECT_EQ(testsupport::entryCount(c()), 1) << "the temporary file is removed";
}

// Names whose second byte in code page 936 is "\", "[" or an ASCII letter,
// as file names on disk and inside a stored line: written, found again
// without regard to case, read back and split line by line.
TEST_F(FilesTest, NamesWithAsciiTrailBytesSurviveAStoredFile) {
    struct Case {
        const char* name;
        const char* otherCase;  // the same name as another program may spell it
        std::string gb;
    };
    const Case cases[] = {
        {"誠品.txt", "誠品.TXT", "\xD5\x5C\xC6\xB7.txt"},
        {"遊戲[1].exe", "遊戲[1].EXE", "\xDF\x5B\x91\xF2[1].exe"},
        {"資料夾", "資料夾", "\xD9\x59\xC1\xCF\x8A\x41"},
        {"許可.doc", "許可.DOC", "\xD4\x53\xBF\xC9.doc"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const std::string path = std::string("C:\\資料夾\\") + k.name;
        const std::string line = std::string("E:\\") + k.name + "\\" + k.name + "[12]";
        fs::create_directories(c() + "/資料夾");
        rewriteC(path.substr(3), line + "\r\n" + line + "\r\n");
        EXPECT_EQ(readBytes(c() + "/資料夾/" + k.name),
                  "E:\\" + k.gb + "\\" + k.gb + "[12]\r\nE:\\" + k.gb + "\\" + k.gb + "[12]\r\n");
        EXPECT_EQ(toNative(std::string("c:\\資料夾\\") + k.otherCase), c() + "/資料夾/" + k.name);
        InputFile in(std::string("C:\\資料夾\\") + k.otherCase);
        EXPECT_EQ(in.lineInput(), line);
        EXPECT_EQ(in.lineInput(), line);
        EXPECT_TRUE(in.eof());
        EXPECT_EQ(WholeFileRead(path), line + "\r\n" + line + "\r\n");
        EXPECT_EQ(toWindows(c() + "/資料夾/" + k.name), path);
    }
}

TEST_F(FilesTest, LineInputEndsLinesAtCrLfCrOrLf) {
    writeBytes(c() + "/notes.txt", "one\r\ntwo\rthree\nfour\r\n\r\nlast");
    InputFile in("C:\\notes.txt");
    std::vector<std::string> lines;
    while (!in.eof()) lines.push_back(in.lineInput());
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four", "", "last"}));
    EXPECT_EQ(errorOf([&] { in.lineInput(); }), 62);

    writeBytes(c() + "/empty.txt", "");
    EXPECT_TRUE(InputFile("C:\\empty.txt").eof());
}

// All lines of a file as RawLineReader gives them, one by one; its blocks
// of whole lines must give the same lines.
std::vector<std::string> rawLines(const std::string& path) {
    RawLineReader in(path);
    std::vector<std::string> lines;
    std::string_view line;
    while (in.next(line)) lines.emplace_back(line);
    EXPECT_FALSE(in.next(line));  // the end stays the end

    RawLineReader blocks(path);
    std::vector<std::string> fromBlocks;
    std::string_view block;
    while (blocks.nextBlock(block)) {
        EXPECT_FALSE(block.empty());
        forEachRawLine(block, [&](std::string_view l) { fromBlocks.emplace_back(l); });
    }
    EXPECT_FALSE(blocks.nextBlock(block));
    EXPECT_TRUE(fromBlocks == lines) << "the lines of the blocks differ";
    return lines;
}

using Lines = std::vector<std::string>;

TEST_F(FilesTest, RawLineReaderEndsLinesAtCrLfCrOrLfAndKeepsTheBytes) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},  // no final break
        {"one\r\ntwo\rthree\nfour\r\n\r\nlast", {"one", "two", "three", "four", "", "last"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"\n\n", {"", ""}},
        {"", {}},
        // Raw code page 936 bytes, trail bytes 0x5C, 0x7C and 0x5B among them.
        {"E:\\" + Guangpan + "\xd5\x5c\x81\x7c\xdf\x5b[5]\r\n",
         {"E:\\" + Guangpan + "\xd5\x5c\x81\x7c\xdf\x5b[5]"}},
    };
    for (const Case& k : cases) {
        writeBytes(c() + "/index.wcd", k.bytes);
        EXPECT_EQ(rawLines("C:\\index.wcd"), k.lines) << testing::PrintToString(k.bytes);
    }
}

TEST_F(FilesTest, RawLineReaderJoinsLinesAcrossItsBlocks) {
    constexpr std::size_t Block = std::size_t{1} << 18;  // the reader's block
    const std::string head(Block - 1, 'x');
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        // CR the last byte of the first block, LF the first of the next.
        {head + "\r\nnext\r\n", {head, "next"}},
        {head + "\rnext", {head, "next"}},
        {head + "\r\r\nnext", {head, "", "next"}},
        {head + "\r", {head}},
        {head + "\r\n", {head}},
        // The break right after the block's end.
        {head + "y\r\nnext", {head + "y", "next"}},
        // A line longer than a block, and one of several blocks.
        {std::string(Block + 10, 'y') + "\r\nb", {std::string(Block + 10, 'y'), "b"}},
        {std::string(3 * Block + 7, 'z'), {std::string(3 * Block + 7, 'z')}},
    };
    for (const Case& k : cases) {
        writeBytes(c() + "/index.wcd", k.bytes);
        const Lines lines = rawLines("C:\\index.wcd");
        ASSERT_EQ(lines.size(), k.lines.size()) << k.bytes.size();
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_TRUE(lines[i] == k.lines[i]) << "line " << i << " of " << k.bytes.size();
    }

    // Many short lines over many blocks, every kind of break.
    std::string bytes;
    Lines expected;
    const char* breaks[] = {"\r\n", "\r", "\n"};
    for (int i = 0; i < 200000; ++i) {
        expected.push_back("E:\\docs\\file" + std::to_string(i) + ".txt[" + std::to_string(i) +
                           "]");
        bytes += expected.back() + breaks[i % 3];
    }
    writeBytes(c() + "/index.wcd", bytes);
    EXPECT_TRUE(rawLines("C:\\index.wcd") == expected);
}

TEST_F(FilesTest, RawLineReaderCanStopEarlyAndRefusesWhatItCannotRead) {
    std::string bytes;
    for (int i = 0; i < 100000; ++i) bytes += "line " + std::to_string(i) + "\r\n";
    writeBytes(c() + "/index.wcd", bytes);
    {
        RawLineReader in("C:\\INDEX.WCD");
        std::string_view line;
        ASSERT_TRUE(in.next(line));
        EXPECT_EQ(line, "line 0");
        ASSERT_TRUE(in.next(line));
        EXPECT_EQ(line, "line 1");
    }  // closed with most of the file unread
    EXPECT_EQ(errorOf([] { RawLineReader in("C:\\none.wcd"); }), 53);
    EXPECT_EQ(errorOf([] { RawLineReader in("C:\\none\\index.wcd"); }), 76);
    fs::create_directories(c() + "/folder.wcd");
    EXPECT_EQ(errorOf([] { RawLineReader in("C:\\folder.wcd"); }), 75);
}

TEST_F(FilesTest, RawLineReaderTellsWhereALineBeginsAndReadsOnFromAnyLine) {
    // Lines of every length and break, over many blocks, one longer than a
    // block, blank lines, and a last line without a break.
    std::string bytes;
    std::vector<std::pair<std::uint64_t, std::string>> lines;
    const char* breaks[] = {"\r\n", "\r", "\n", "\r\n\r\n"};
    for (int i = 0; i < 30000; ++i) {
        std::string line = "E:\\docs\\" + std::string(static_cast<std::size_t>(i % 37), 'a') +
                           std::to_string(i) + ".txt[" + std::to_string(i) + "]";
        if (i == 12345) line += std::string(std::size_t{1} << 17, 'L');
        lines.emplace_back(bytes.size(), line);
        bytes += line;
        if (i == 29999) break;  // no break after the last line
        if (i % 4 == 3) lines.emplace_back(bytes.size() + 2, "");
        bytes += breaks[i % 4];
    }
    writeBytes(c() + "/index.wcd", bytes);

    RawLineReader in("C:\\index.wcd");
    std::string_view line;
    for (const auto& [offset, text] : lines) {
        ASSERT_TRUE(in.next(line));
        ASSERT_EQ(in.lineOffset(), offset) << text.substr(0, 40);
        ASSERT_TRUE(line == text) << offset;
    }
    EXPECT_FALSE(in.next(line));

    // From any line on the reading goes on as from the start.
    for (std::size_t i = 0; i < lines.size(); i += i < 100 ? 1 : 97) {
        in.seek(lines[i].first);
        for (std::size_t j = i; j < std::min(i + 3, lines.size()); ++j) {
            ASSERT_TRUE(in.next(line)) << i;
            EXPECT_EQ(in.lineOffset(), lines[j].first);
            EXPECT_TRUE(line == lines[j].second) << i << " " << j;
        }
    }
    in.seek(bytes.size());
    EXPECT_FALSE(in.next(line));
}

TEST_F(FilesTest, RawLineReaderStampsTheFileAsItOpenedIt) {
    writeBytes(c() + "/index.wcd", "E:\\a.txt[1]\r\n");
    const FileStamp first = RawLineReader("C:\\index.wcd").stamp();
    EXPECT_EQ(first.size, 13u);
    EXPECT_NE(first.inode, 0u);
    EXPECT_EQ(RawLineReader("C:\\index.wcd").stamp(), first);

    // Written again with the same bytes and given back its time: still
    // another state of the file.
    RawLineReader open("C:\\index.wcd");
    rewriteC("index.wcd", "E:\\a.txt[1]\r\n");
    const timespec times[2] = {{0, UTIME_OMIT},
                               {static_cast<time_t>(first.modifiedNs / 1'000'000'000),
                                static_cast<long>(first.modifiedNs % 1'000'000'000)}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (c() + "/index.wcd").c_str(), times, 0), 0);
    const FileStamp second = RawLineReader("C:\\index.wcd").stamp();
    EXPECT_EQ(second.size, first.size);
    EXPECT_NE(second, first);
    EXPECT_EQ(open.stamp(), first);
}

// A stored file that is not a regular file is refused at once, never read
// or waited on: through a Windows path, by native path and line by line.
TEST_F(FilesTest, OnlyRegularFilesAreRead) {
    for (const testsupport::Unreadable kind : testsupport::unreadableKinds()) {
        SCOPED_TRACE(testsupport::kindName(kind));
        const testsupport::UnreadableFile bad(c() + "/ini.ini", kind);
        const int number = kind == testsupport::Unreadable::NoPermission ? 70 : 75;
        try {
            WholeFileRead("C:\\ini.ini");
            ADD_FAILURE() << "read";
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.number(), number);
            EXPECT_EQ(e.description(), bad.reason());
        }
        EXPECT_EQ(errorOf([] { InputFile("C:\\INI.INI"); }), number);
        EXPECT_EQ(errorOf([] { RawLineReader in("C:\\INI.INI"); }), number);
        EXPECT_EQ(errorOf([&] { readRegularFile(c() + "/ini.ini"); }), number);
        EXPECT_TRUE(bad.unchanged());
        fs::remove(c() + "/ini.ini");
    }
    // A link to a regular file is read; a missing file stays "not found".
    writeBytes(c() + "/real.ini", "|a\r\n");
    fs::create_symlink(c() + "/real.ini", c() + "/link.ini");
    EXPECT_EQ(WholeFileRead("C:\\link.ini"), "|a\r\n");
    EXPECT_EQ(errorOf([&] { readRegularFile(c() + "/none.ini"); }), 53);
    EXPECT_EQ(errorOf([&] { readRegularFile(c() + "/real.ini/x"); }), 76);
}

TEST_F(FilesTest, ATextFileIsWrittenInCodePage936AndAnAppendAddsToIt) {
    const ConfinedRoot root = ConfinedRoot::open("C:\\");
    {
        CommittedTextFile out(root, "red.ini", OnExisting::Replace);
        out.print("光盘");
        out.write("a");
        out.print("");
        out.commit();
    }
    EXPECT_EQ(readBytes(c() + "/red.ini"), Guangpan + "\r\na\r\n");
    root.append("RED.INI", "b\r\n");  // the existing file
    EXPECT_EQ(readBytes(c() + "/red.ini"), Guangpan + "\r\na\r\nb\r\n");
    EXPECT_FALSE(fs::exists(c() + "/RED.INI"));
    {
        CommittedTextFile out(root, "Red.ini", OnExisting::Replace);  // emptied
        out.commit();
    }
    EXPECT_EQ(readBytes(c() + "/red.ini"), "");
    root.append("New.txt", "x\r\n");  // created as spelled
    EXPECT_EQ(readBytes(c() + "/New.txt"), "x\r\n");
    {
        // Destroyed without a commit: nothing changes.
        CommittedTextFile out(root, "red.ini", OnExisting::Replace);
        out.print("lost");
    }
    EXPECT_EQ(readBytes(c() + "/red.ini"), "");
}

TEST_F(FilesTest, ALargeOutputIsWrittenWhole) {
    std::string expected;
    {
        CommittedTextFile out(ConfinedRoot::open("C:\\"), "big.wcd", OnExisting::Replace);
        for (int i = 0; i < 20000; ++i) {
            std::string line =
                "E:\\文件夹\\" + std::to_string(i) + ".txt[" + std::to_string(i) + "]";
            out.print(line);
            expected += line + "\r\n";
        }
        out.commit();
    }
    EXPECT_EQ(WholeFileRead("C:\\big.wcd"), expected);
}

}  // namespace
