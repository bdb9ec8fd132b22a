// Disc-file search benchmark: the names of a catalogue's discs searched as the
// search command does it, one index file after the other, beside ripgrep over
// the same files.
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
//   bench_search compare <dir> [runs [pin]]
//                                    the report: for the rare and the common
//                                    word, case compared and ignored, each
//                                    beside a whole process of `rg -F [-i] -c
//                                    <word> <dir>` (medians of runs, default
//                                    9): the bare search of every .wcd in
//                                    <dir> as a whole process; the search
//                                    command (the dialog answered, the result
//                                    list filled) as the first search of a
//                                    fresh window and repeated in one
//                                    process; the heap a result row holds,
//                                    the first search's peak and the pages
//                                    it touched first (and what a fresh page
//                                    costs on this machine). With pin, this
//                                    process, its children and rg run on one
//                                    CPU.
//   bench_search command <dir> <term> [exact]
//                                    one whole process of the search command
//                                    (as compare times it): hits, time, bytes
//                                    per row and peak memory
//   bench_search rows <dir> <term> [exact,word,ext]
//                                    one search (with those switches of the
//                                    dialog), printing every result row and
//                                    the status text (to compare two builds)
//   bench_search files <dir> <term> [runs [threads]]
//   bench_search files-exact <dir> <term> [runs [threads]]
//                                    the bare search of every .wcd in <dir>
//                                    (plain mode, ignoring case, respectively
//                                    comparing it exactly), the hits kept but
//                                    no result list: the hit count and the
//                                    time (with runs, the median and the
//                                    fastest of that many searches in one
//                                    process; threads as the command searches
//                                    with, default 1; compare gives it the
//                                    command's number)
//
// Every <dir> may be relative to the working folder.

#include <fcntl.h>
#include <malloc.h>
#include <sched.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/folder_walk.h"
#include "catalogue/index_line.h"
#include "platform/files/drive_table.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "platform/system/heap_pages.h"
#include "platform/text/text.h"
#include "platform/ui/dispatcher.h"
#include "search/find_dialog.h"
#include "search/search.h"
#include "support/harness.h"

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

std::vector<fs::path> indexFiles(const fs::path& dir) {
    std::vector<fs::path> paths;
    for (const auto& e : fs::directory_iterator(fs::absolute(dir)))
        if (e.path().extension() == catalogue::IndexExtension) paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    if (paths.empty()) throw std::runtime_error("no index files in " + dir.string());
    return paths;
}

double msSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// ---- the bare search ----

// One search over the index files as the search command runs it (with that
// many threads; 1: one file after the other): the hit count and the time in
// ms.
std::pair<std::size_t, double> searchAll(const std::vector<fs::path>& paths,
                                         const search::Query& query,
                                         const search::FileSearchOptions& options,
                                         unsigned threads) {
    const auto t0 = std::chrono::steady_clock::now();
    // The hits are kept, disc by disc, until the search ends (no result list
    // is filled here).
    std::vector<search::FileHits> discs(paths.size());
    search::searchDiscFilesInOrder(
        paths.size(), threads,
        [&](std::size_t i) {
            return std::make_unique<platform::files::RawLineReader>(
                platform::files::toWindows(paths[i].string()));
        },
        query, options, [&](std::size_t i, const search::FileHits& hits) { discs[i] = hits; });
    std::size_t hits = 0;
    for (const auto& d : discs) hits += d.size();
    return {hits, msSince(t0)};
}

int files(const fs::path& dir, const std::string& term, bool caseSensitive, int runs,
          unsigned threads) {
    // The heap as the program has it.
    platform::system::preferLargeHeapPages();
    // Only the root drive: the system's drives are not looked for.
    platform::files::DriveTable table;
    table.set({.name = "Z:", .folder = "/"});
    platform::files::DriveTable::setCurrent(std::move(table));

    const std::vector<fs::path> paths = indexFiles(dir);
    search::Query query;
    query.first = term;
    std::vector<double> times;
    std::size_t hits = 0;
    for (int run = 0; run < runs; ++run) {
        const auto [h, ms] = searchAll(paths, query, {.caseSensitive = caseSensitive}, threads);
        hits = h;
        times.push_back(ms);
    }
    std::printf("%zu hits in %zu discs, search %.1f ms", hits, paths.size(), median(times));
    if (runs > 1)
        std::printf(" (median of %d, fastest %.1f ms)", runs,
                    *std::min_element(times.begin(), times.end()));
    std::printf("\n");
    return 0;
}

// ---- the search command ----

constexpr int DiscTab = 2;  // 光盘
const std::string GuangpanFolder = "C:\\zelbrin\\guangpan";

// The heap in use, in bytes.
std::size_t heapInUse() {
    const struct mallinfo2 m = ::mallinfo2();
    return m.uordblks + m.hblkhd;
}

// The main window of the harness's machine with the index files of a folder
// filed as the discs of one category, on the disc page.
class SearchWindow {
  public:
    explicit SearchWindow(const fs::path& dir) {
        h_.makeFolder(GuangpanFolder);
        std::string catalogueText = "|测试\r\n";
        int number = 0;
        for (const fs::path& p : indexFiles(dir)) {
            const std::string disc = p.stem().string();
            const std::string target = h_.nativePath(GuangpanFolder + "\\" + disc + ".wcd");
            // A hard link costs nothing to make; a copy only where the
            // harness's folder lies on another file system.
            std::error_code ec;
            fs::create_hard_link(p, target, ec);
            if (ec && !fs::copy_file(p, target, ec))
                throw std::runtime_error("cannot place " + p.string() + ": " + ec.message());
            catalogueText += "#" + disc + "#" + std::to_string(++number) + "#备注&&2024-1-1#\r\n";
        }
        h_.write("C:\\zelbrin\\ini.ini", catalogueText);
        h_.start();
        h_.form.TabStrip1.userSelect(DiscTab);
    }

    // The search command from the menu, the dialog answered as a user
    // answers it (the disc files, every disc, case compared when exact): the
    // number of result rows.
    // With wholeWord or extension, that switch too.
    int search(const std::string& term, bool exact, bool wholeWord = false,
               bool extension = false) {
        h_.ui.onModal<find1>([&](find1& d) {
            d.Option2.userClick();
            if (exact) d.Check2.userClick();
            if (wholeWord) d.Check1.userClick();
            if (extension) d.Check3.userClick();
            d.Combo1.userType(term);
            d.OKButton.userClick();
        });
        h_.form.findItem.userClick();
        return h_.form.ListView2.count();
    }

    // Prints the result list as it stands: each row's text, sub-items and
    // check mark, then the status text.
    void printResults() const {
        for (const auto& row : h_.form.ListView2.items()) {
            std::string line = row->text();
            for (const std::string& sub : row->subItems()) line += "|" + sub;
            std::printf("%s|%s\n", line.c_str(), row->checked() ? "x" : "");
        }
        std::printf("%s\n", h_.form.StatusBar1.panel(2).text().c_str());
    }

    // Empties the result list; its rows are freed here.
    void clearResults() {
        platform::dispatch([this] { h_.form.ListView2.clear(); });
    }

  private:
    testsupport::Harness h_;
};

struct CommandFigures {
    int rows = 0;
    double ms = 0;
    double bytesPerRow = 0;  // the heap the result rows hold
    long pageFaults = 0;     // the pages the command touched first
};

long minorFaults() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Runs the command once, the result list emptied before.
CommandFigures runCommand(SearchWindow& window, const std::string& term, bool exact) {
    window.clearResults();
    const std::size_t before = heapInUse();
    const long faults = minorFaults();
    const auto t0 = std::chrono::steady_clock::now();
    CommandFigures f;
    f.rows = window.search(term, exact);
    f.ms = msSince(t0);
    f.pageFaults = minorFaults() - faults;
    const double grown = static_cast<double>(heapInUse()) - static_cast<double>(before);
    f.bytesPerRow = f.rows > 0 ? grown / f.rows : 0;
    return f;
}

// The process's own peak resident size in MB (VmHWM: a child started by
// this process would report the parent's peak as its ru_maxrss).
double peakMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmHWM:")) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// One whole process of the command: the window started, one search (the
// first of the process, so its rows take fresh memory).
int commandProcess(const fs::path& dir, const std::string& term, bool exact) {
    // As the program does first thing at its start.
    platform::system::preferLargeHeapPages();
    const auto t0 = std::chrono::steady_clock::now();
    CommandFigures f;
    {
        SearchWindow window(dir);
        f = runCommand(window, term, exact);
    }
    std::printf(
        "%d rows, command %.2f ms, %.1f bytes per row, %ld page faults, process %.1f ms, peak "
        "%.2f MB\n",
        f.rows, f.ms, f.bytesPerRow, f.pageFaults, msSince(t0), peakMb());
    return 0;
}

// Prints the rows of one search (to compare the results of two builds);
// switches: "exact", "word" (whole word), "ext" (extension), or several
// joined by ",".
int printRows(const fs::path& dir, const std::string& term, const std::string& switches) {
    const auto has = [&](const char* s) {
        return ("," + switches + ",").find(s) != std::string::npos;
    };
    SearchWindow window(dir);
    window.search(term, has(",exact,"), has(",word,"), has(",ext,"));
    window.printResults();
    return 0;
}

// ---- beside ripgrep ----

struct ProcessRun {
    double ms = 0;       // wall time, start to end
    std::string output;  // what it wrote to its standard output
};

// Runs a program to its end; nullopt when it cannot be started or fails.
std::optional<ProcessRun> runProcess(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addclose(&actions, out[0]);
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ProcessRun run;
    char buffer[4096];
    for (ssize_t n; spawned == 0 && (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        run.output.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    if (spawned != 0) return std::nullopt;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return std::nullopt;
    run.ms = msSince(t0);
    // rg -c ends with 1 when nothing matched.
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) return std::nullopt;
    return run;
}

// The number after label in a child's report ("command 12.3 ms": label
// "command "); 0 when it is missing.
double reported(const std::string& output, const std::string& label) {
    const std::size_t at = output.find(label);
    return at == std::string::npos ? 0 : std::atof(output.c_str() + at + label.size());
}

// What touching a page of fresh memory costs here (µs), the median of a few
// tries: on some machines it is most of a first search's time.
double freshPageMicroseconds() {
    constexpr std::size_t pages = 4096;
    std::vector<double> tries;
    for (int k = 0; k < 5; ++k) {
        void* m = ::mmap(nullptr, pages * 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                         -1, 0);
        if (m == MAP_FAILED) return 0;
        const auto t0 = std::chrono::steady_clock::now();
        for (std::size_t i = 0; i < pages; ++i) static_cast<volatile char*>(m)[i * 4096] = 1;
        tries.push_back(msSince(t0) * 1000 / pages);
        ::munmap(m, pages * 4096);
    }
    return median(tries);
}

std::string selfPath() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("bench_search") : self.string();
}

int compare(const fs::path& dirArg, int runs, bool pin) {
    // The searches repeated here run on the heap as the program has it.
    platform::system::preferLargeHeapPages();
    const fs::path dir = fs::absolute(dirArg);
    if (pin) {
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(static_cast<unsigned>(std::max(0, ::sched_getcpu())), &one);
        if (::sched_setaffinity(0, sizeof one, &one) != 0) std::perror("sched_setaffinity");
    }
    std::uintmax_t bytes = 0;
    const std::vector<fs::path> paths = indexFiles(dir);
    for (const fs::path& p : paths) bytes += fs::file_size(p);
    std::printf("%zu index files, %.1f MB, in %s%s; medians of %d runs\n", paths.size(),
                static_cast<double>(bytes) / 1e6, dir.c_str(), pin ? ", all on one CPU" : "", runs);
    std::printf("fresh memory costs %.2f us a page of 4 KiB when first touched here\n",
                freshPageMicroseconds());
    std::printf("%-5s %-7s %5s | %8s %8s %8s | %8s | %6s %6s %6s | %9s %7s %6s\n", "word", "case",
                "rows", "search", "first", "again", "rg", "search", "first", "again", "bytes/row",
                "peak", "pages");

    SearchWindow window(dir);
    const std::string self = selfPath();
    struct Case {
        const char* word;
        bool exact;
    };
    bool failed = false;
    for (const Case c :
         {Case{"zebra", true}, Case{"zebra", false}, Case{"photo", true}, Case{"photo", false}}) {
        std::vector<std::string> rg = {"rg", "-F", "-c", c.word, dir.string()};
        if (!c.exact) rg.insert(rg.begin() + 2, "-i");
        const std::vector<std::string> bare = {
            self, c.exact ? "files-exact" : "files",          dir.string(), c.word,
            "1",  std::to_string(search::searchThreadCount())};
        std::vector<std::string> first = {self, "command", dir.string(), c.word};
        if (c.exact) first.push_back("exact");

        std::vector<double> searchMs, firstMs, againMs, rgMs, perRow, faults;
        double peak = 0;
        int rows = 0;
        // The first round warms up (the files in the page cache).
        for (int r = 0; r <= runs && !failed; ++r) {
            const CommandFigures again = runCommand(window, c.word, c.exact);
            const auto s = runProcess(bare);
            const auto f = runProcess(first);
            const auto g = runProcess(rg);
            if (!s || !f || !g) {
                std::fprintf(stderr, "%s could not be run\n", !g ? "rg" : self.c_str());
                failed = true;
            } else if (r > 0) {
                rows = again.rows;
                againMs.push_back(again.ms);
                searchMs.push_back(s->ms);
                firstMs.push_back(reported(f->output, "command "));
                rgMs.push_back(g->ms);
                perRow.push_back(reported(f->output, "ms, "));
                faults.push_back(reported(f->output, "per row, "));
                peak = std::max(peak, reported(f->output, "peak "));
            }
        }
        if (failed) break;
        const double grep = median(rgMs);
        const double bare1 = median(searchMs), first1 = median(firstMs), again1 = median(againMs);
        std::printf(
            "%-5s %-7s %5d | %5.1f ms %5.1f ms %5.1f ms | %5.1f ms | %5.2fx %5.2fx %5.2fx | %9.1f "
            "%4.1f MB %6.0f\n",
            c.word, c.exact ? "exact" : "ignored", rows, bare1, first1, again1, grep, bare1 / grep,
            first1 / grep, again1 / grep, median(perRow), peak, median(faults));
    }
    std::printf(
        "search: a whole process of the bare search (files mode, with the command's threads: "
        "every disc searched, the hits kept, no result list)\n"
        "first:  the search command (dialog, search, result list filled) as the first search of "
        "a freshly started window\n"
        "again:  the search command repeated in one process\n"
        "rg:     a whole process of rg -F [-i] -c <word> <dir>; the ratios are to it\n"
        "bytes/row: the heap the result list's rows hold; peak: the resident peak of the "
        "process of the first search; pages: the pages of memory that search touched first\n");
    return failed ? 1 : 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: bench_search gen <dir>\n"
                 "       bench_search compare <dir> [runs [pin]]\n"
                 "       bench_search command <dir> <term> [exact]\n"
                 "       bench_search rows <dir> <term> [exact,word,ext]\n"
                 "       bench_search files[-exact] <dir> <term> [runs [threads]]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const auto number = [&](int i, int otherwise) {
        return argc > i ? std::max(1, std::atoi(argv[i])) : otherwise;
    };
    // A failure unwinds, so the harness removes its temporary folder.
    try {
        if (mode == "gen" && argc == 3) {
            writeCatalogue(fs::path(argv[2]) / "1m", 100, 1'000'000);
            writeCatalogue(fs::path(argv[2]) / "100k", 10, 100'000);
            return 0;
        }
        if (mode == "compare" && argc >= 3 && argc <= 5 &&
            (argc < 5 || std::string(argv[4]) == "pin"))
            return compare(argv[2], number(3, 9), argc == 5);
        const bool exactArg = argc == 5 && std::string(argv[4]) == "exact";
        if (mode == "command" && (argc == 4 || exactArg))
            return commandProcess(argv[2], argv[3], exactArg);
        if (mode == "rows" && (argc == 4 || argc == 5))
            return printRows(argv[2], argv[3], argc == 5 ? argv[4] : "");
        if ((mode == "files" || mode == "files-exact") && argc >= 4 && argc <= 6)
            return files(argv[2], argv[3], mode == "files-exact", number(4, 1),
                         static_cast<unsigned>(number(5, 1)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return usage();
}
