// Scan benchmark: the folder walk writing an index file, beside
// `find ROOT -printf '%p %s\n' > /dev/null` on the same tree (scan_tree.h).
// Both sides are run once to warm the cache, then several times in turn; the
// medians and their ratio are printed. bench_gui_scan runs the same scan
// through the main window.
//
// Usage: bench_scan [runs]   (default 7)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/folder_walk.h"
#include "platform/files/confined.h"
#include "platform/files/drive_table.h"
#include "platform/files/text_file.h"
#include "scan_tree.h"

namespace {

namespace fs = std::filesystem;
using scanbench::median;
using scanbench::seconds;
using scanbench::timeFind;

// The walk of "T:\" (the tree) into the index file "O:\bench.wcd".
double timeWalk(std::int64_t& lines, std::int64_t& total) {
    const auto start = std::chrono::steady_clock::now();
    catalogue::ScannedFolderList scanned;  // a fresh run each time
    catalogue::WalkCounts counts;
    catalogue::WalkRequest request{"", "T:\\", "*.*"};
    platform::files::CommittedTextFile out(platform::files::ConfinedRoot::open("O:\\"), "bench.wcd",
                                           platform::files::OnExisting::Replace);
    const auto result = catalogue::walkFolder(request, scanned, counts,
                                              [&](std::string_view text) { out.write(text); });
    out.commit();
    const double s = seconds(start);
    if (!result.ok) {
        std::fprintf(stderr, "walk failed: %d %s\n", result.errorNumber, result.errorText.c_str());
        std::exit(1);
    }
    lines = counts.fileCount + counts.dirCount;
    total = result.total;
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const fs::path root = scanbench::tree();
    const fs::path outFolder = root.parent_path() / "zelbrin-bench-scan-out";
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
    std::printf("tree: %s, %lld index lines, %lld bytes listed, index file %lld bytes\n",
                root.c_str(), static_cast<long long>(lines), static_cast<long long>(total),
                static_cast<long long>(fs::file_size(outFolder / "bench.wcd")));
    std::printf("walk + index file: median %.3f s (best %.3f s) over %d runs\n", w,
                *std::min_element(walk.begin(), walk.end()), runs);
    std::printf("find -printf:      median %.3f s (best %.3f s) over %d runs\n", f,
                *std::min_element(find.begin(), find.end()), runs);
    std::printf("ratio walk/find: %.2f\n", w / f);
    return 0;
}
