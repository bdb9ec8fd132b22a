// A temporary folder and a drive table over it for the files tests:
//   C:               -> <tmp>/c
//   C:\My Documents  -> <tmp>/docs
//   E: (CD-ROM)      -> <tmp>/cd, label "DATA_01"
//   Z:               -> /
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/error.h"
#include "platform/files/drive_table.h"

namespace files_test {

namespace fs = std::filesystem;

class TempFolder {
  public:
    TempFolder() {
        std::string templ = (fs::temp_directory_path() / "zelfiles-XXXXXX").string();
        if (!::mkdtemp(templ.data())) throw std::runtime_error("mkdtemp");
        path_ = templ;
    }
    ~TempFolder() {
        std::error_code ec;
        // Read-only folders made by a test must become writable to be removed.
        for (auto it = fs::recursive_directory_iterator(path_, ec);
             it != fs::recursive_directory_iterator(); it.increment(ec)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
        fs::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

inline void writeBytes(const std::string& native, std::string_view bytes) {
    fs::create_directories(fs::path(native).parent_path());
    std::ofstream(native, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::string& native) {
    std::ifstream in(native, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Runs f and returns the number of the platform::Error it raised (0 when none).
inline int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return e.number();
    }
    return 0;
}

class FilesTest : public ::testing::Test {
  protected:
    FilesTest() : drives_(makeTable()) {
        fs::create_directories(c());
        fs::create_directories(docs());
        fs::create_directories(cd());
    }

    std::string c() const { return tmp_.path() + "/c"; }
    std::string docs() const { return tmp_.path() + "/docs"; }
    std::string cd() const { return tmp_.path() + "/cd"; }
    platform::files::DriveTable& table() { return drives_.table(); }

  private:
    platform::files::DriveTable makeTable() const {
        using namespace platform::files;
        DriveTable t;
        t.set({.name = "C:", .folder = c()});
        t.set({.name = "C:\\My Documents", .folder = docs()});
        t.set({.name = "E:", .folder = cd(), .kind = DriveKind::CdRom, .label = "DATA_01"});
        t.set({.name = "Z:", .folder = "/"});
        return t;
    }

    TempFolder tmp_;
    platform::files::ScopedDriveTable drives_;
};

}  // namespace files_test
