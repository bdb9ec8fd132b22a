// What a file tree holds, to show that a command changed nothing outside the
// folder it may change: for each path below top (except the tree leftOut),
// its kind and permissions, and its bytes or, for a link, the link's text.
//
//     const auto before = testsupport::outsideSnapshot(top, allowed);
//     ... the command ...
//     EXPECT_EQ(testsupport::outsideSnapshot(top, allowed), before);
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace testsupport {

using OutsideSnapshot = std::map<std::string, std::string>;

inline OutsideSnapshot outsideSnapshot(const std::filesystem::path& top,
                                       const std::filesystem::path& leftOut = {}) {
    namespace fs = std::filesystem;
    OutsideSnapshot s;
    if (!fs::exists(fs::symlink_status(top))) return s;
    for (auto it = fs::recursive_directory_iterator(top); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::path& p = it->path();
        if (p == leftOut) {
            it.disable_recursion_pending();
            continue;
        }
        struct stat st {};
        ::lstat(p.c_str(), &st);
        std::string what = std::to_string(st.st_mode);
        if (S_ISLNK(st.st_mode)) what += " -> " + fs::read_symlink(p).string();
        if (S_ISREG(st.st_mode)) {
            std::ifstream in(p, std::ios::binary);
            what += " " + std::string(std::istreambuf_iterator<char>(in), {});
        }
        s[p.string()] = what;
    }
    return s;
}

}  // namespace testsupport
