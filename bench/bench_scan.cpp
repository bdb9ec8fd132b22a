// Scan benchmark: the folder walk writing an index file, beside
// `find ROOT -printf '%p %s\n' > /dev/null` on the same tree.
//
// The tree (20,220 folders, 200,000+ files, Chinese and ASCII names, folder
// names that repeat across the tree) is built once in $TMPDIR (or /tmp) and
// reused by later runs. Both sides are run once to warm the cache, then
// several times in turn; the medians and their ratio are printed.
//
// Usage: bench_scan [runs]   (default 7)

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

#include "catalogue/folder_walk.h"
#include "platform/files/drive_table.h"
#include "platform/files/text_file.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int TopFolders = 20;
constexpr int MiddleFolders = 10;  // per top folder
constexpr int LeafFolders = 100;   // per middle folder
constexpr int FilesPerLeaf = 10;
constexpr int FilesPerUpper = 3;   // in every top and middle folder

const char* const Words[] = {"照片", "音乐", "文档", "备份", "软件", "电影", "src", "img", "docs", "data",
                             "歌曲", "项目", "test", "build", "资料", "新建文件夹", "backup", "assets",
                             "lib", "下载"};
const char* const Extensions[] = {".jpg", ".mp3", ".txt", ".doc", ".htm", ".exe", ".zip", ".pdf"};

std::string word(std::mt19937& rng) { return Words[rng() % std::size(Words)]; }

// A folder name from a pool of a few hundred, so names repeat in the tree
// and the walk's "@" suffixes are exercised.
std::string folderName(std::mt19937& rng) { return word(rng) + (rng() % 2 ? "_" : " ") + std::to_string(rng() % 25); }

std::string fileName(std::mt19937& rng, int i) {
    return word(rng) + " " + std::to_string(i) + "-" + std::to_string(rng() % 1000) +
           Extensions[rng() % std::size(Extensions)];
}

void makeFiles(const fs::path& folder, int count, std::mt19937& rng) {
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
fs::path makeFolder(const fs::path& parent, std::mt19937& rng) {
    for (;;) {
        fs::path p = parent / folderName(rng);
        if (fs::create_directory(p)) return p;
    }
}

void buildTree(const fs::path& root) {
    const fs::path done = root / ".complete";
    if (fs::exists(done)) return;
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
            for (int l = 0; l < LeafFolders; ++l) makeFiles(makeFolder(middle, rng), FilesPerLeaf, rng);
        }
    }
    std::ofstream(done) << "ok\n";
}

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The walk of "T:\" (the tree) into the index file "O:\bench.wcd".
double timeWalk(std::int64_t& lines, std::int64_t& total) {
    const auto start = std::chrono::steady_clock::now();
    catalogue::ScannedFolderList scanned;  // a fresh run each time
    catalogue::WalkCounts counts;
    catalogue::WalkRequest request{"", "T:\\", "*.*"};
    platform::files::OutputFile out("O:\\bench.wcd");
    const auto result = catalogue::walkFolder(request, scanned, counts,
                                              [&](std::string_view text) { out.write(text); });
    out.close();
    const double s = seconds(start);
    if (!result.ok) {
        std::fprintf(stderr, "walk failed: %d %s\n", result.errorNumber, result.errorText.c_str());
        std::exit(1);
    }
    lines = counts.fileCount + counts.dirCount;
    total = result.total;
    return s;
}

double timeFind(const std::string& root) {
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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const char* tmp = std::getenv("TMPDIR");
    const fs::path base = tmp && *tmp ? tmp : "/tmp";
    const fs::path root = base / "zelbrin-bench-scan";
    const fs::path outFolder = base / "zelbrin-bench-scan-out";
    buildTree(root);
    fs::create_directories(outFolder);

    platform::files::DriveTable table;
    table.set({.name = "T:", .folder = root.string()});
    table.set({.name = "O:", .folder = outFolder.string()});
    platform::files::ScopedDriveTable scope(std::move(table));

    std::int64_t lines = 0, total = 0;
    timeWalk(lines, total);  // warm the cache
    timeFind(root.string());

    std::vector<double> walk, find;
    for (int i = 0; i < runs; ++i) {
        walk.push_back(timeWalk(lines, total));
        find.push_back(timeFind(root.string()));
    }
    const double w = median(walk), f = median(find);
    std::printf("tree: %s, %lld index lines, %lld bytes listed, index file %lld bytes\n", root.c_str(),
                static_cast<long long>(lines), static_cast<long long>(total),
                static_cast<long long>(fs::file_size(outFolder / "bench.wcd")));
    std::printf("walk + index file: median %.3f s (best %.3f s) over %d runs\n", w,
                *std::min_element(walk.begin(), walk.end()), runs);
    std::printf("find -printf:      median %.3f s (best %.3f s) over %d runs\n", f,
                *std::min_element(find.begin(), find.end()), runs);
    std::printf("ratio walk/find: %.2f\n", w / f);
    return 0;
}
