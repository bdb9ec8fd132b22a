// The main window's procedures over the CD drive finder and the folder walk.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/harness.h"

namespace {

using testsupport::Harness;

TEST(Form1Catalogue, FindCdDriveSetsTheDriveOnlyWhenThereIsOne) {
    Harness h;
    h.form.FindCdDrive();
    EXPECT_EQ(h.form.CdDrive, "E:\\");
    EXPECT_TRUE(h.form.CdDriveKnown);

    Harness none;
    none.drives().remove("E:");
    none.form.CdDrive = "x";
    none.form.FindCdDrive();
    EXPECT_EQ(none.form.CdDrive, "x");
    EXPECT_FALSE(none.form.CdDriveKnown);
}

TEST(Form1Catalogue, GetVolumeLabel) {
    Harness h;
    h.setCdLabel("DATA");
    EXPECT_EQ(h.form.GetVolumeLabel("E:\\"), "DATA");
    h.setCdReady(false);
    EXPECT_EQ(h.form.GetVolumeLabel("E:\\"), "");
}

TEST(Form1Catalogue, FindFilesApiWalksWithTheRunLongFolderList) {
    Harness h;
    namespace fs = std::filesystem;
    fs::create_directories(fs::path(h.cdFolder()) / "docs");
    std::ofstream(fs::path(h.cdFolder()) / "docs" / "a.txt") << "12345";

    std::string index;
    std::string path = "E:";
    std::int32_t files = 0, dirs = 0;
    const auto total =
        h.form.FindFilesAPI("", path, "*.*", files, dirs, [&](std::string_view t) { index += t; });
    EXPECT_EQ(path, "E:\\");
    EXPECT_EQ(index, "E:\\|docs\r\nE:\\docs\\a.txt[5]\r\n");
    EXPECT_EQ(total, 5);
    EXPECT_EQ(files, 1);
    EXPECT_EQ(dirs, 1);
    EXPECT_EQ(h.form.caption(), "1文件夹：");
    EXPECT_GT(h.ui.flushCount(), 0);

    // A second scan in the same run prints the folder name anew.
    index.clear();
    h.form.FindFilesAPI("", path, "*.*", files, dirs, [&](std::string_view t) { index += t; });
    EXPECT_EQ(index.substr(0, index.find("\r\n")), "E:\\|docs@");
    EXPECT_EQ(dirs, 2);
}

TEST(Form1Catalogue, StripNulls) {
    Harness h;
    std::string s("abc\0def", 7);
    EXPECT_EQ(h.form.StripNulls(s), "abc");
    EXPECT_EQ(s, "abc");
}

}  // namespace
