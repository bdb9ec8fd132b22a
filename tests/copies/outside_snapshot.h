// What a folder outside a command's folders holds, to show that a command
// changed nothing there: each path with its kind, permissions and bytes (the
// text of a link).
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace copies_test {

using Snapshot = std::map<std::string, std::string>;

inline Snapshot snapshot(const std::filesystem::path& top) {
    namespace fs = std::filesystem;
    Snapshot s;
    if (!fs::exists(top)) return s;
    for (auto it = fs::recursive_directory_iterator(top); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::path& p = it->path();
        struct stat st {};
        ::lstat(p.c_str(), &st);
        std::string what = std::to_string(st.st_mode);
        if (S_ISLNK(st.st_mode)) what += " -> " + fs::read_symlink(p).string();
        if (S_ISREG(st.st_mode)) {
            std::ifstream in(p, std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            what += " " + bytes.str();
        }
        s[p.string()] = what;
    }
    return s;
}

}  // namespace copies_test
