// Index files for the tests of the disc page's readers: lines written in code
// page 936 with CR LF into a temporary folder that the drive table shows as C:.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/files/drive_table.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"
#include "support/temp_folder.h"
#include "support/test_drives.h"

namespace discpage_test {

// The CD "Tools" scanned from E:.
inline const std::vector<std::string> Tools = {
    "E:\\|docs",
    "E:\\|pics",
    "E:\\setup.exe[900]",
    "E:\\docs\\|img",
    "E:\\docs\\Readme.TXT[3000]($)",
    "E:\\docs\\a.txt[10]($){G:\\copies\\docs\\a.txt}",
    "E:\\docs\\img\\|old",
    "E:\\docs\\img\\b.gif[2048]",
    "E:\\pics\\c.jpg[1]",
};

class IndexFixture : public ::testing::Test {
  protected:
    IndexFixture() : drives_(testsupport::testDrives(tmp_.path(), "TOOLS")) {}

    // Writes the lines (UTF-8), each followed by CR LF, as C:\<name>.
    std::string writeIndex(const std::vector<std::string>& lines,
                           const std::string& name = "disc.wcd") {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        testsupport::writeBytes(tmp_ / "c" / name, platform::text::toCp936(text));
        return "C:\\" + name;
    }

    // Writes the bytes as they are as C:\<name>.
    std::string writeIndexBytes(const std::string& bytes, const std::string& name = "disc.wcd") {
        testsupport::writeBytes(tmp_ / "c" / name, bytes);
        return "C:\\" + name;
    }

    // A reader over the lines of a fresh index file.
    std::unique_ptr<platform::files::RawLineReader> reader(const std::vector<std::string>& lines) {
        return std::make_unique<platform::files::RawLineReader>(writeIndex(lines));
    }

  private:
    testsupport::TempFolder tmp_;
    platform::files::ScopedDriveTable drives_;
};

}  // namespace discpage_test
