// A temporary folder and a drive table over it for the files tests:
//   C:               -> <tmp>/c
//   C:\My Documents  -> <tmp>/docs
//   E: (CD-ROM)      -> <tmp>/cd, label "DATA_01"
//   Z:               -> /
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/files/drive_table.h"
#include "support/error_of.h"
#include "support/temp_folder.h"
#include "support/test_drives.h"

namespace files_test {

namespace fs = std::filesystem;

using testsupport::errorOf;
using testsupport::readBytes;
using testsupport::TempFolder;
using testsupport::writeBytes;

class FilesTest : public ::testing::Test {
  protected:
    FilesTest() : drives_(makeTable()) {}

    std::string c() const { return (tmp_ / "c").string(); }
    std::string docs() const { return (tmp_ / "docs").string(); }
    std::string cd() const { return (tmp_ / "cd").string(); }
    platform::files::DriveTable& table() { return drives_.table(); }

  private:
    platform::files::DriveTable makeTable() const {
        platform::files::DriveTable t = testsupport::testDrives(tmp_.path(), "DATA_01");
        fs::create_directories(docs());
        t.set({.name = "C:\\My Documents", .folder = docs()});
        t.set(testsupport::rootDrive());
        return t;
    }

    TempFolder tmp_;
    platform::files::ScopedDriveTable drives_;
};

}  // namespace files_test
