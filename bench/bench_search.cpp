// Disc-file search benchmark: the names of a catalogue's discs searched as the
// search command does it, one index file after the other.
//
// `gen <dir>` writes two catalogues of index files, as a scan writes them
// (code page 936, CR LF; for each folder its subfolder lines, then its file
// lines, then the runs of its subfolders; folder keys with "@" where a name
// repeats): <dir>/1m, 100 discs with 1,000,000 lines in all, and <dir>/100k,
// 10 discs of the same shape with 100,000 lines. One disc in ten is a
// hard-disk folder ("D:\资料\备份\..."), the others CDs ("E:\..."). Names mix
// ASCII and Chinese (with GBK trail bytes that are ASCII letters or "\", "["
// and "|": 誠 遊 許 剕); one file line in 149 is ticked, one in 1,490 also has
// a mirror suffix. The word "zebra" is rare (one file line in 20,000);
// "photo" is common in file and folder names.
//
// Usage:
//   bench_search gen <dir>           writes <dir>/1m and <dir>/100k
//   bench_search files <dir> <term> [runs [threads]]
//   bench_search files-exact <dir> <term> [runs [threads]]
//                                    searches every .wcd in <dir> (plain
//                                    mode, ignoring case, respectively
//                                    comparing it exactly) and prints the hit
//                                    count and the time of the search (with
//                                    runs, the median and the fastest of
//                                    that many searches in one process; with
//                                    threads, the discs shared out among that
//                                    many threads)
//
// Time `files` as a whole process beside `rg -F -i -c <term> <dir>` and
// `files-exact` beside `rg -F -c <term> <dir>` over the same files, and compare the 100k and 1m
// folders for the time per line.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "catalogue/folder_walk.h"
#include "catalogue/index_line.h"
#include "platform/files/drive_table.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"
#include "search/search.h"

namespace {

namespace fs = std::filesystem;

// Name parts: ASCII and Chinese words, some with GBK trail bytes that are
// ASCII ("誠" D5 5C, "遊" DF 5B, "許" D4 53, "剕" 84 7C).
const std::vector<std::string> NameWords = platform::text::split(
    "照片 音乐 文档 备份 软件 电影 誠品 遊戲 許可 剕刑 资料 歌曲 photo Photos holiday "
    "src include docs data test Build backup Music video setup readme lib",
    " ");
const std::vector<std::string> Types =
    platform::text::split(".jpg .mp3 .txt .DOC .htm .exe .zip .pdf .Mp4 .c .h .PNG", " ");

class Disc {
  public:
    Disc(int number, long lines) : target_(lines), rng_(static_cast<unsigned>(number) * 7919u + 1) {
        root_ = number % 10 == 9 ? "D:\\资料\\备份\\" : "E:\\";
    }

    // The index text, UTF-8.
    std::string text() {
        out_.reserve(static_cast<std::size_t>(target_) * 72);
        folder(root_, 0);
        return std::move(out_);
    }

  private:
    std::string word() { return NameWords[rng_() % NameWords.size()]; }

    std::string fileName() {
        if (++files_ % 20000 == 7) return "zebra " + std::to_string(files_) + ".jpg";
        const std::string type = Types[rng_() % Types.size()];
        switch (rng_() % 8) {
            case 0:
                return std::to_string(1995 + rng_() % 30) + "年" + word() + type;
            case 1:
                return word() + "[" + std::to_string(rng_() % 100) + "]" + type;
            case 2:
                return word() + "_" + word();  // no extension
            default:
                return word() + " " + std::to_string(rng_() % 10000) + type;
        }
    }

    // The folder's lines, then its subfolders' runs, while lines are wanted.
    void folder(const std::string& path, int depth) {
        std::vector<std::string> subs;
        // Twenty top folders hold about 19,000 lines: the runs end where the
        // disc has its lines (the folders left are empty).
        const int subCount = depth == 0 ? 20 : depth < 3 ? 3 + static_cast<int>(rng_() % 6) : 0;
        for (int i = 0; i < subCount && lines_ < target_; ++i) {
            const std::string name = word() + (rng_() % 3 ? "" : " " + std::to_string(rng_() % 50));
            const std::string printed = scanned_.printedName(name, "");
            scanned_.add(printed);
            catalogue::appendFolderLine(out_, path, printed);
            subs.push_back(printed);
            ++lines_;
        }
        const int fileCount = 5 + static_cast<int>(rng_() % 40);
        for (int i = 0; i < fileCount && lines_ < target_; ++i) {
            const std::string name = fileName();
            catalogue::IndexFileLine line{
                path + name, catalogue::formatSize(rng_() % 50'000'000), 0, {}};
            if (files_ % 149 == 0) {
                line.ticks = 1;
                if (files_ % 1490 == 0) line.mirror = "C:\\copies\\" + name;
            }
            out_ += catalogue::formatFileLine(line);
            out_ += catalogue::LineEnd;
            ++lines_;
        }
        for (const std::string& sub : subs) {
            if (lines_ >= target_) break;
            folder(path + sub + "\\", depth + 1);
        }
    }

    long target_;
    std::mt19937 rng_;
    std::string root_;
    std::string out_;
    catalogue::ScannedFolderList scanned_;
    long lines_ = 0;
    long files_ = 0;
};

// Writes discs index files of lines in all (between half and one and a half
// times the mean each).
void writeCatalogue(const fs::path& dir, int discs, long lines) {
    fs::create_directories(dir);
    std::mt19937 rng(42);
    std::vector<long> sizes(static_cast<std::size_t>(discs), lines / discs);
    for (int i = 0; i + 1 < discs; i += 2) {
        const long shift = static_cast<long>(rng() % static_cast<unsigned>(lines / discs / 2));
        sizes[static_cast<std::size_t>(i)] += shift;
        sizes[static_cast<std::size_t>(i) + 1] -= shift;
    }
    for (int i = 0; i < discs; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "disc%03d.wcd", i);
        std::ofstream(dir / name, std::ios::binary)
            << platform::text::toCp936(Disc(i, sizes[static_cast<std::size_t>(i)]).text());
    }
    std::printf("%s: %d discs, %ld lines\n", dir.c_str(), discs, lines);
}

// One search over the index files, the discs shared out among threads
// (1: one after the other, as the search command does it): the hit count and
// the time in ms.
std::pair<std::size_t, double> searchAll(const std::vector<fs::path>& paths,
                                         const search::Query& query,
                                         const search::FileSearchOptions& options,
                                         unsigned threads) {
    const auto t0 = std::chrono::steady_clock::now();
    // The hits are kept, disc by disc, until the search ends (filling the
    // result list is not timed here).
    std::vector<std::vector<search::FileHit>> discs(paths.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next++) < paths.size();) {
            platform::files::RawLineReader lines(platform::files::toWindows(paths[i].string()));
            discs[i] = search::searchDiscFiles(lines, query, options);
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
    std::size_t hits = 0;
    for (const auto& d : discs) hits += d.size();
    const std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - t0;
    return {hits, ms.count()};
}

int files(const fs::path& dir, const std::string& term, bool caseSensitive, int runs,
          unsigned threads) {
    // Only the root drive: the system's drives are not looked for.
    platform::files::DriveTable table;
    table.set({.name = "Z:", .folder = "/"});
    platform::files::DriveTable::setCurrent(std::move(table));

    std::vector<fs::path> paths;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().extension() == catalogue::IndexExtension) paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());

    search::Query query;
    query.first = term;
    std::vector<double> times;
    std::size_t hits = 0;
    for (int run = 0; run < runs; ++run) {
        const auto [h, ms] = searchAll(paths, query, {.caseSensitive = caseSensitive}, threads);
        hits = h;
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("%zu hits in %zu discs, search %.1f ms", hits, paths.size(),
                times[times.size() / 2]);
    if (runs > 1) std::printf(" (median of %d, fastest %.1f ms)", runs, times.front());
    std::printf("\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "gen" && argc == 3) {
        writeCatalogue(fs::path(argv[2]) / "1m", 100, 1'000'000);
        writeCatalogue(fs::path(argv[2]) / "100k", 10, 100'000);
        return 0;
    }
    if ((mode == "files" || mode == "files-exact") && argc >= 4 && argc <= 6)
        return files(argv[2], argv[3], mode == "files-exact",
                     argc >= 5 ? std::max(1, std::atoi(argv[4])) : 1,
                     argc == 6 ? static_cast<unsigned>(std::max(1, std::atoi(argv[5]))) : 1);
    std::fprintf(stderr,
                 "usage: bench_search gen <dir> | files[-exact] <dir> <term> [runs [threads]]\n");
    return 2;
}
