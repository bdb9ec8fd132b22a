#include "platform/files/drives.h"

#include <gtest/gtest.h>

#include "files_fixture.h"

namespace {

using namespace platform::files;
using files_test::errorOf;
using files_test::FilesTest;

TEST_F(FilesTest, DriveRootsAreUpperCaseLettersInLetterOrder) {
    table().set({.name = "d:", .folder = "/", .kind = DriveKind::CdRom});
    EXPECT_EQ(driveRoots(), (std::vector<std::string>{"C:\\", "D:\\", "E:\\", "Z:\\"}));
}

TEST_F(FilesTest, DriveTypesAreCdRomFixedOrUnknown) {
    EXPECT_EQ(driveType("E:\\"), drive_type::CdRom);
    EXPECT_EQ(driveType("e:"), drive_type::CdRom);
    EXPECT_EQ(driveType("C:\\"), drive_type::Fixed);
    EXPECT_EQ(driveType("Q:\\"), drive_type::Unknown);
    EXPECT_EQ(driveType(""), drive_type::Unknown);
}

TEST_F(FilesTest, VolumeLabelsAndTheDiscProbe) {
    EXPECT_EQ(volumeLabel("E:\\"), "DATA_01");
    requireReady("E:\\");  // a disc is in the drive

    table().find("E:")->label = "   ";
    EXPECT_EQ(volumeLabel("E:\\"), "(no label)");
    table().find("E:")->label = "";
    EXPECT_EQ(volumeLabel("E:\\"), "(no label)");

    // An empty drive: the label query fails and the probe raises 68.
    table().find("E:")->ready = false;
    EXPECT_EQ(volumeLabel("E:\\"), "");
    EXPECT_EQ(errorOf([] { requireReady("E:\\"); }), 68);
    EXPECT_EQ(errorOf([] { requireReady("Q:\\"); }), 68);
    EXPECT_EQ(volumeLabel("Q:\\"), "");

    // The door of a drive without a device: nothing happens, nothing fails.
    openDoor("E:\\");
    closeDoor();
}

}  // namespace
