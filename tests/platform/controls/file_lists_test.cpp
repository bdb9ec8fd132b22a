// The drive, folder and file list boxes and the picture probe, on temporary
// folders mapped by a test drive table: C: a fixed drive, E: a folder that
// stands in for a CD drive.
#include "platform/controls/file_lists.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "plain_form.h"
#include "platform/controls/viewers.h"
#include "platform/error.h"
#include "platform/files/drive_table.h"
#include "support/error_of.h"
#include "support/temp_folder.h"
#include "support/test_drives.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

using testsupport::errorOf;
using testsupport::writeBytes;

class FileListsTest : public plaincontrols::PlainFormTest {
  protected:
    FileListsTest() {
        fs::create_directories(c / "zelbrin" / "guangpan");
        fs::create_directories(cd / "docs" / "img");
    }
    void setCdReady(bool ready) { drives.table().find("E:")->ready = ready; }

    testsupport::TempFolder root;
    fs::path c = root / "c";
    fs::path cd = root / "cd";
    files::ScopedDriveTable drives{testsupport::testDrives(root.path(), "DATA_01")};
};

TEST_F(FileListsTest, FileListShowsMatchingFilesWithoutRegardToCase) {
    const fs::path guangpan = c / "zelbrin" / "guangpan";
    for (const char* name : {"b.WCD", "a.wcd", "C.wcd", "notes.txt", ".hidden.wcd", "red.ini"})
        writeBytes(guangpan / name, "x");
    fs::create_directory(guangpan / "sub.wcd");
    FileListBox file1{form, "File1"};
    file1.setPath("C:\\zelbrin\\guangpan\\");
    EXPECT_EQ(file1.path(), "C:\\zelbrin\\guangpan");
    file1.setPattern("*.wcd");
    EXPECT_EQ(file1.items(), (std::vector<std::string>{"a.wcd", "b.WCD", "C.wcd"}));
    ASSERT_EQ(file1.listCount(), 3);
    EXPECT_EQ(file1.list(2), "C.wcd");
    EXPECT_EQ(errorOf([&] { file1.list(3); }), 381);
    file1.setPattern("*.txt;*.ini");
    EXPECT_EQ(file1.items(), (std::vector<std::string>{"notes.txt", "red.ini"}));
    file1.setPath("c:\\");
    file1.setPattern("*.*");
    EXPECT_EQ(file1.path(), "C:\\");
    EXPECT_EQ(file1.listCount(), 0);  // C:\ holds folders only
}

TEST_F(FileListsTest, FileAndFolderListsRefuseMissingFoldersAndEmptyDrives) {
    FileListBox file1{form, "File1"};
    DirListBox dir1{form, "Dir1"};
    file1.setPath("C:\\zelbrin");
    dir1.setPath("C:\\zelbrin");
    EXPECT_EQ(errorOf([&] { file1.setPath("C:\\nowhere"); }), err::PathNotFound);
    EXPECT_EQ(errorOf([&] { dir1.setPath("C:\\zelbrin\\guangpan\\x"); }), err::PathNotFound);
    setCdReady(false);
    EXPECT_EQ(errorOf([&] { dir1.setPath("e:"); }), err::DeviceUnavailable);
    EXPECT_EQ(errorOf([&] { file1.setPath("E:\\docs"); }), err::DeviceUnavailable);
    EXPECT_EQ(file1.path(), "C:\\zelbrin");
    EXPECT_EQ(dir1.path(), "C:\\zelbrin");
}

TEST_F(FileListsTest, DriveListRaises68ForACdDriveWithoutDisc) {
    DriveListBox drive1{form, "Drive1"};
    int changes = 0;
    drive1.Change = [&] { ++changes; };
    drive1.setDrive("C:\\");
    EXPECT_EQ(drive1.drive(), "c:");
    changes = 0;
    setCdReady(false);
    EXPECT_EQ(errorOf([&] { drive1.setDrive("E:\\"); }), err::DeviceUnavailable);
    EXPECT_EQ(drive1.drive(), "c:");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(errorOf([&] { drive1.setDrive("Q:"); }), err::DeviceUnavailable);
    setCdReady(true);
    drive1.setDrive("e:");
    EXPECT_EQ(drive1.drive(), "e:");
    EXPECT_EQ(changes, 1);
    drive1.setDrive("E: [DATA_01]");  // the selected drive: no Change
    EXPECT_EQ(changes, 1);
    setCdReady(false);  // ... but the disc is still asked for
    EXPECT_EQ(errorOf([&] { drive1.setDrive("E:\\"); }), err::DeviceUnavailable);
    EXPECT_EQ(drive1.list(), (std::vector<std::string>{"c:", "e:"}));
    setCdReady(true);
    EXPECT_EQ(drive1.list(), (std::vector<std::string>{"c:", "e: [DATA_01]"}));
}

// The main window's hidden lists: the drive moves the folder list, the folder
// list moves the file list.
TEST_F(FileListsTest, DriveFolderAndFileListsFollowEachOther) {
    writeBytes(cd / "readme.txt", "x");
    DriveListBox drive1{form, "Drive1"};
    DirListBox dir1{form, "Dir1"};
    FileListBox file1{form, "File1"};
    std::vector<std::string> events;
    drive1.Change = [&] {
        events.push_back("Drive1.Change");
        dir1.setPath(drive1.drive());
    };
    dir1.Change = [&] {
        events.push_back("Dir1.Change");
        file1.setPath(dir1.path());
    };
    drive1.setDrive("C:\\");
    dir1.setPath("C:\\zelbrin");
    events.clear();
    drive1.setDrive("E:\\");
    EXPECT_EQ(events, (std::vector<std::string>{"Drive1.Change", "Dir1.Change"}));
    EXPECT_EQ(dir1.path(), "E:\\");
    EXPECT_EQ(file1.items(), (std::vector<std::string>{"readme.txt"}));
    EXPECT_EQ(dir1.subFolders(), (std::vector<std::string>{"docs"}));
    events.clear();
    dir1.setPath("E:\\docs\\");
    dir1.setPath("e:\\docs");
    EXPECT_EQ(events, (std::vector<std::string>{"Dir1.Change"}));
    EXPECT_EQ(dir1.path(), "E:\\docs");
}

// The folder chooser: the user picks an empty CD drive; the drive list keeps
// it, and the folder list, whose change fails, stays where it was.
TEST_F(FileListsTest, UserPicksAnEmptyDrive) {
    DriveListBox drive1{form, "Drive1"};
    DirListBox dir1{form, "Dir1"};
    drive1.setDrive("C:\\");
    dir1.setPath("C:\\zelbrin");
    drive1.Change = [&] { dir1.setPath(drive1.drive()); };
    setCdReady(false);
    ui.answerMsgBox(MsgOK, "运行时错误 '68':\r\n设备不可用");
    drive1.userChoose("e: [DATA_01]");
    EXPECT_EQ(drive1.drive(), "e:");
    EXPECT_EQ(dir1.path(), "C:\\zelbrin");
    drive1.userChoose("q:");  // not in the list
    EXPECT_EQ(drive1.drive(), "e:");
}

TEST_F(FileListsTest, PictureProbeKnowsThePicturesByTheirFirstBytes) {
    struct Case {
        const char* name;
        std::string bytes;
        int error;
    };
    const Case cases[] = {
        {"a.bmp", "BM\x36\x00", 0},
        {"a.ico", std::string("\x00\x00\x01\x00\x01", 5), 0},
        {"a.cur", std::string("\x00\x00\x02\x00", 4), 0},
        {"a.wmf", "\xD7\xCD\xC6\x9A\x00", 0},
        {"b.wmf", std::string("\x01\x00\x09\x00", 4), 0},
        {"fake.bmp", "not a picture", err::InvalidPicture},
        {"empty.bmp", "", err::InvalidPicture},
        {"a.jpg", "\xFF\xD8\xFF\xE0", err::InvalidPicture},
    };
    PictureBox picture1{form, "Picture1"};
    for (const Case& c : cases) {
        writeBytes(cd / "docs" / "img" / c.name, c.bytes);
        picture1.clearPicture();
        std::string path = std::string("E:\\docs\\img\\") + c.name;
        EXPECT_EQ(errorOf([&] { picture1.loadPicture(path); }), c.error) << c.name;
        EXPECT_EQ(picture1.picture(), c.error ? "" : path) << c.name;
    }
    EXPECT_EQ(errorOf([&] { picture1.loadPicture("E:\\docs\\img\\missing.bmp"); }),
              err::FileNotFound);
    EXPECT_EQ(errorOf([&] { picture1.loadPicture("E:\\docs\\img"); }), err::FileNotFound);
    EXPECT_EQ(errorOf([&] { picture1.loadPicture("E:\\nowhere\\a.bmp"); }), err::PathNotFound);
}

}  // namespace
