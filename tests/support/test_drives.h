// The drive table the tests put over a temporary folder.
#pragma once

#include <filesystem>
#include <string>

#include "platform/files/drive_table.h"

namespace testsupport {

// C: a fixed drive on <root>/c, and E: a CD drive on <root>/cd holding a disc
// labelled cdLabel. Makes both folders. Tests that want Z: (the root of the
// file system) or more drives add them.
inline platform::files::DriveTable testDrives(const std::filesystem::path& root,
                                              std::string cdLabel) {
    using namespace platform::files;
    const std::filesystem::path c = root / "c", cd = root / "cd";
    std::filesystem::create_directories(c);
    std::filesystem::create_directories(cd);
    DriveTable table;
    table.set({.name = "C:", .folder = c.string(), .kind = DriveKind::Fixed});
    table.set({.name = "E:",
               .folder = cd.string(),
               .kind = DriveKind::CdRom,
               .label = std::move(cdLabel),
               .ready = true});
    return table;
}

// Z: the root of the file system, so that every native path has a Windows form.
inline platform::files::DriveEntry rootDrive() { return {.name = "Z:", .folder = "/"}; }

}  // namespace testsupport
