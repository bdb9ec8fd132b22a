// Lists a tree of 200,000 files with the listing calls of the files layer and
// writes one index-like line per folder and file, beside `find -printf '%p %s\n'`
// over the same tree. Two walks: with native paths (listNativeFolder, one
// listing per folder) and with Windows paths (findEntries twice per folder, as
// the find calls are made). The scan's own walk (WalkFolder) is measured by
// bench_scan.
//
// Usage: bench_files_walk [folder]   (default: a tree made under /tmp once)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files/confined.h"
#include "platform/files/drive_table.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"

namespace fs = std::filesystem;
using namespace platform::files;

namespace {

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void makeTree(const std::string& root) {
    if (fs::exists(root + "/done")) return;
    std::printf("making 200,000 files under %s ...\n", root.c_str());
    for (int a = 0; a < 20; ++a) {
        for (int b = 0; b < 20; ++b) {
            std::string folder = root + "/dir" + std::to_string(a) + "/sub" + std::to_string(b);
            fs::create_directories(folder);
            for (int f = 0; f < 500; ++f) {
                std::ofstream(folder + "/file" + std::to_string(f) + ".txt") << f;
            }
        }
    }
    std::ofstream(root + "/done") << "";
}

struct Counts {
    long files = 0;
    long folders = 0;
};

void walkNative(const std::string& native, const std::string& windows, CommittedTextFile& out,
                Counts& n) {
    auto entries = listNativeFolder(native);
    for (const auto& e : entries) {
        if (e.isFolder()) {
            out.print(windows + "|" + e.name);
            ++n.folders;
        }
    }
    for (const auto& e : entries) {
        if (!e.isFolder() && matchesPattern(e.name, "*.*")) {
            out.print(windows + e.name + "[" + std::to_string(e.size) + "]");
            ++n.files;
        }
    }
    for (const auto& e : entries) {
        if (e.isFolder()) walkNative(native + "/" + e.name, windows + e.name + "\\", out, n);
    }
}

void walkWindows(const std::string& windows, CommittedTextFile& out, Counts& n) {
    std::vector<std::string> subfolders;
    for (const auto& e : findEntries(windows, "*")) {
        if (e.isFolder() && e.name != "." && e.name != "..") {
            out.print(windows + "|" + e.name);
            subfolders.push_back(e.name);
            ++n.folders;
        }
    }
    for (const auto& e : findEntries(windows, "*.*")) {
        if (!e.isFolder()) {
            out.print(windows + e.name + "[" + std::to_string(e.size) + "]");
            ++n.files;
        }
    }
    for (const auto& s : subfolders) walkWindows(windows + s + "\\", out, n);
}

}  // namespace

int main(int argc, char** argv) {
    std::string root = argc > 1 ? argv[1] : "/tmp/zelbrin-bench-tree";
    makeTree(root);
    const std::string outNative = "/tmp/zelbrin-bench-walk.wcd";
    const std::string outWindows = toWindows(outNative);
    const std::string outFolder = outWindows.substr(0, outWindows.rfind('\\'));
    const std::string outName = outWindows.substr(outWindows.rfind('\\') + 1);
    const std::string rootWindows = toWindows(root) + "\\";

    // Warm the caches once, then time each.
    std::system(("find '" + root + "' -printf '%p %s\\n' > /dev/null").c_str());

    auto t = std::chrono::steady_clock::now();
    std::system(("find '" + root + "' -printf '%p %s\\n' > /tmp/zelbrin-bench-find.txt").c_str());
    double findTime = seconds(t);

    Counts native;
    t = std::chrono::steady_clock::now();
    {
        CommittedTextFile out(ConfinedRoot::open(outFolder), outName, OnExisting::Replace);
        walkNative(root, rootWindows, out, native);
        out.commit();
    }
    double nativeTime = seconds(t);

    Counts windows;
    t = std::chrono::steady_clock::now();
    {
        CommittedTextFile out(ConfinedRoot::open(outFolder), outName, OnExisting::Replace);
        walkWindows(rootWindows, out, windows);
        out.commit();
    }
    double windowsTime = seconds(t);

    std::printf("find -printf:               %.3f s\n", findTime);
    std::printf("walk, native paths:         %.3f s (%ld files, %ld folders)\n", nativeTime,
                native.files, native.folders);
    std::printf("walk, Windows paths:        %.3f s (%ld files, %ld folders)\n", windowsTime,
                windows.files, windows.folders);
    return 0;
}
