// The targets of the send-to commands and the text of their error box.
#include "copies/send_to.h"

#include <gtest/gtest.h>

#include "platform/files/drive_table.h"

namespace {

using platform::files::DriveKind;
using platform::files::DriveTable;

TEST(SendToTargets, DriveDTakesCopiesOnlyAsAFolderDrive) {
    DriveTable table;
    table.set({.name = "C:", .folder = "/home/u"});
    EXPECT_FALSE(copies::driveDIsFolderDrive(table));
    table.set({.name = "D:", .device = "/dev/sr0", .kind = DriveKind::CdRom});
    EXPECT_FALSE(copies::driveDIsFolderDrive(table));
    table.set({.name = "D:", .folder = "/data"});
    EXPECT_TRUE(copies::driveDIsFolderDrive(table));
    EXPECT_EQ(copies::unmappedDriveMessage(copies::DriveDTarget),
              "驱动器 D: 不存在或没有映射到文件夹，请另选一个文件夹。");
    EXPECT_EQ(copies::missingFolderMessage("C:\\work"), "文件夹不存在：C:\\work");
}

TEST(SendToTargets, TheOwnFolderEndsInOneBackslash) {
    EXPECT_EQ(copies::ownFolderTarget("E:\\"), "E:\\");
    EXPECT_EQ(copies::ownFolderTarget("D:\\work"), "D:\\work\\");
    EXPECT_EQ(copies::ownFolderTarget("D:\\work\\"), "D:\\work\\");
}

TEST(SendToTargets, TheErrorBoxNamesAFolderOrAFile) {
    EXPECT_EQ(copies::sendErrorText(true),
              "可能有以下原因:\r\n1.你放错了光盘或者光驱中无光盘！\r\n"
              "2.硬盘上可能已经有同名文件夹！\r\n3.光盘或光驱有问题，读不出文件！");
    EXPECT_EQ(copies::sendErrorText(false),
              "可能有以下原因:\r\n1.你放错了光盘或者光驱中无光盘！\r\n"
              "2.硬盘上可能已经有同名文件！\r\n3.光盘或光驱有问题，读不出文件！");
}

}  // namespace
