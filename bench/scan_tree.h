// The tree the scan benchmarks walk, and `find -printf '%p %s\n'` over it.
//
// The tree (20,220 folders, 200,000+ files, Chinese and ASCII names, folder
// names that repeat across the tree) is built once in $TMPDIR (or /tmp) and
// reused by later runs.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

extern char** environ;

namespace scanbench {

namespace fs = std::filesystem;

inline constexpr int TopFolders = 20;
inline constexpr int MiddleFolders = 10;  // per top folder
inline constexpr int LeafFolders = 100;   // per middle folder
inline constexpr int FilesPerLeaf = 10;
inline constexpr int FilesPerUpper = 3;  // in every top and middle folder

inline const char* const Words[] = {
    "照片", "音乐", "文档", "备份",  "软件", "电影",       "src",    "img",    "docs", "data",
    "歌曲", "项目", "test", "build", "资料", "新建文件夹", "backup", "assets", "lib",  "下载"};
inline const char* const Extensions[] = {".jpg", ".mp3", ".txt", ".doc",
                                         ".htm", ".exe", ".zip", ".pdf"};

inline std::string word(std::mt19937& rng) { return Words[rng() % std::size(Words)]; }

// A folder name from a pool of a few hundred, so names repeat in the tree
// and the walk's "@" suffixes are exercised.
inline std::string folderName(std::mt19937& rng) {
    return word(rng) + (rng() % 2 ? "_" : " ") + std::to_string(rng() % 25);
}

inline std::string fileName(std::mt19937& rng, int i) {
    return word(rng) + " " + std::to_string(i) + "-" + std::to_string(rng() % 1000) +
           Extensions[rng() % std::size(Extensions)];
}

inline void makeFiles(const fs::path& folder, int count, std::mt19937& rng) {
    for (int i = 0; i < count; ++i) {
        const fs::path p = folder / fileName(rng, i);
        const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) continue;
        // Sparse sizes: the tree takes almost no disc space.
        if (::ftruncate(fd, static_cast<off_t>(rng() % 5000000)) != 0) std::perror("ftruncate");
        ::close(fd);
    }
}

// Makes a unique child folder of a random pooled name.
inline fs::path makeFolder(const fs::path& parent, std::mt19937& rng) {
    for (;;) {
        fs::path p = parent / folderName(rng);
        if (fs::create_directory(p)) return p;
    }
}

// The tree's root folder ($TMPDIR or /tmp), built unless it is there.
inline fs::path tree() {
    const char* tmp = std::getenv("TMPDIR");
    const fs::path root = fs::path(tmp && *tmp ? tmp : "/tmp") / "zelbrin-bench-scan";
    const fs::path done = root / ".complete";
    if (fs::exists(done)) return root;
    std::printf("building the tree in %s ...\n", root.c_str());
    std::fflush(stdout);
    fs::remove_all(root);
    fs::create_directories(root);
    std::mt19937 rng(20240601);
    for (int t = 0; t < TopFolders; ++t) {
        const fs::path top = makeFolder(root, rng);
        makeFiles(top, FilesPerUpper, rng);
        for (int m = 0; m < MiddleFolders; ++m) {
            const fs::path middle = makeFolder(top, rng);
            makeFiles(middle, FilesPerUpper, rng);
            for (int l = 0; l < LeafFolders; ++l)
                makeFiles(makeFolder(middle, rng), FilesPerLeaf, rng);
        }
    }
    std::ofstream(done) << "ok\n";
    return root;
}

inline double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// `find ROOT -printf '%p %s\n' > /dev/null`, in seconds.
inline double timeFind(const std::string& root) {
    const auto start = std::chrono::steady_clock::now();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::string a0 = "find", a2 = "-printf", a3 = "%p %s\n";
    std::string a1 = root;
    char* argv[] = {a0.data(), a1.data(), a2.data(), a3.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "find", &actions, nullptr, argv, environ) != 0) {
        std::perror("find");
        std::exit(1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return seconds(start);
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace scanbench
