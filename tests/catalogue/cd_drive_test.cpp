#include "catalogue/cd_drive.h"

#include <gtest/gtest.h>

#include "platform/files/files_fixture.h"

namespace catalogue {
namespace {

using platform::files::DriveKind;

class CdDriveTest : public files_test::FilesTest {};

TEST_F(CdDriveTest, TheFirstCdRomDriveInLetterOrder) {
    table().set({.name = "F:", .folder = cd(), .kind = DriveKind::CdRom});
    table().set({.name = "D:", .folder = cd(), .kind = DriveKind::CdRom});
    EXPECT_EQ(findCdDriveRoot(), "D:\\");

    table().remove("D:");
    table().remove("E:");
    table().remove("F:");
    EXPECT_FALSE(findCdDriveRoot().has_value());
}

TEST_F(CdDriveTest, ManyDrivesAreNoProblem) {
    for (char letter = 'D'; letter < 'Z'; ++letter) {
        table().set({.name = std::string(1, letter) + ":", .folder = c()});
    }
    table().set({.name = "Y:", .folder = cd(), .kind = DriveKind::CdRom});
    EXPECT_EQ(findCdDriveRoot(), "Y:\\");
}

TEST_F(CdDriveTest, VolumeLabel) {
    struct Case {
        const char* label;
        const char* expected;
    };
    const Case cases[] = {
        {"DATA_01", "DATA_01"},
        {"  ", "(no label)"},
        {" 我的照片收藏二〇〇四年 ", " 我的照片收藏二〇〇四年 "},  // whole and untrimmed
    };
    for (const auto& c : cases) {
        table().find("E:")->label = c.label;
        EXPECT_EQ(volumeLabelOf("E:\\"), c.expected) << c.label;
    }
}

TEST_F(CdDriveTest, AnEmptyOrUnknownDriveHasNoLabel) {
    table().find("E:")->ready = false;
    EXPECT_EQ(volumeLabelOf("E:\\"), "");
    EXPECT_EQ(volumeLabelOf("Q:\\"), "");
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
