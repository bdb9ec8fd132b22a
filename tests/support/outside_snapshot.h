// What a folder outside a command's own folders holds, to show that a
// command changed nothing there: for each path below it, its kind,
// permissions and bytes (the text of a link). Links are not followed.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace testsupport {

using FolderSnapshot = std::map<std::string, std::string>;

inline FolderSnapshot folderSnapshot(const std::filesystem::path& top) {
    namespace fs = std::filesystem;
    FolderSnapshot s;
    for (auto it = fs::recursive_directory_iterator(top); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::path& p = it->path();
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
