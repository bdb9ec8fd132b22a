// Disc page benchmark: opening a large disc (its folder tree built in the disc
// list) and listing its largest folder, on the main window of the test
// harness's temporary machine.
//
// Two index files of one shape are made, as a scan writes them (code page
// 936, CR LF; for each folder its subfolder lines, then its file lines, then
// the runs of its subfolders in turn): "disc200k.wcd", 200,000 lines in 20,000
// folders, and "disc20k.wcd", 20,000 lines in 2,000 folders. Names mix ASCII
// and Chinese (GBK trail bytes such as 誠 遊 許 included), names repeat across
// the tree (so folder keys carry "@"s), some begin with a digit; one file line
// in 149 is ticked, one in 1,490 also has a mirror suffix. The largest folder
// ("最大的文件夹", 3,000 or 300 files) lies near the end of the file, so its
// listing reads almost the whole file.
//
// Usage:
//   bench_disc_page gen <dir>      writes both index files into <dir>
//   bench_disc_page start [file]   starts the main window on the disc page
//                                  (with the index file in place), nothing more
//   bench_disc_page open <file>    the same, then clicks the disc's node
//   bench_disc_page list <file>    the same, then clicks the largest folder's node
//   bench_disc_page inproc [runs]  times opening and listing both discs inside
//                                  one process (default 9 runs after a warm-up):
//                                  median and fastest, and the time per line
//   bench_disc_page browse [runs]  opens each disc and clicks every one of its
//                                  folder nodes in turn, as a user browsing the
//                                  whole disc does (default 3 runs after a
//                                  warm-up): the median time per folder at
//                                  2,000 and at 20,000 folders, and their ratio
//
// start, open and list are meant to be timed as whole processes: open or list
// less start is the cost of the clicks; compare it with `wc -l <file>`. Each
// also prints the time of its phases and the pages each touched first.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/disc_trees.h"
#include "catalogue/folder_walk.h"
#include "catalogue/index_line.h"
#include "platform/text/text.h"
#include "platform/ui/dispatcher.h"
#include "support/harness.h"

namespace {

namespace fs = std::filesystem;

// ---- the index files ----

struct Shape {
    const char* disc;
    int tops;          // folders in the scan root
    int middles;       // per top folder
    int leaves;        // per middle folder
    int upperFiles;    // files in every top and middle folder
    int largestFiles;  // files in the largest folder
    int lines;         // folder and file lines in all
};

// The same shape at two sizes: 2,000 × scale folders, 20,000 × scale lines.
constexpr Shape Large{"disc200k", 20, 9, 110, 3, 3000, 200000};
constexpr Shape Small{"disc20k", 2, 9, 110, 3, 300, 20000};

// The largest folder's name: the last leaf of the sixth middle folder of the
// last top folder.
constexpr const char* LargestFolder = "最大的文件夹";
constexpr int LargestMiddle = 5;

const char* const Words[] = {"照片", "音乐",  "文档",   "备份",  "软件",   "电影", "誠品",
                             "遊戲", "許可",  "资料",   "src",   "img",    "docs", "data",
                             "test", "Build", "backup", "Music", "Photos", "lib"};
const char* const Extensions[] = {".jpg", ".mp3", ".txt", ".DOC", ".htm",
                                  ".exe", ".zip", ".pdf", ".Mp4", ".c"};

struct Folder {
    std::string name;
    std::vector<Folder> subs;
    int files = 0;
};

class Generator {
  public:
    explicit Generator(const Shape& shape) : shape_(shape), rng_(20240101) {}

    // The index text, UTF-8.
    std::string text() {
        Folder root;
        root.subs = folders(shape_.tops);
        int leafCount = 0;
        for (Folder& top : root.subs) {
            top.files = shape_.upperFiles;
            top.subs = folders(shape_.middles);
            for (Folder& middle : top.subs) {
                middle.files = shape_.upperFiles;
                middle.subs = folders(shape_.leaves);
                leafCount += shape_.leaves;
            }
        }
        Folder& largest = root.subs.back().subs[LargestMiddle].subs.back();
        largest.name = LargestFolder;
        largest.files = shape_.largestFiles;

        // The other leaves share the file lines that are left, some one more.
        const int folderCount = shape_.tops * (1 + shape_.middles * (1 + shape_.leaves));
        const int upper = shape_.tops * (1 + shape_.middles) * shape_.upperFiles;
        const int rest = shape_.lines - folderCount - upper - shape_.largestFiles;
        const int leaves = leafCount - 1;
        int j = 0;
        for (Folder& top : root.subs)
            for (Folder& middle : top.subs)
                for (Folder& leaf : middle.subs) {
                    if (&leaf == &largest) continue;
                    leaf.files = rest / leaves + ((j++ * 7919) % leaves < rest % leaves ? 1 : 0);
                }

        std::string out;
        out.reserve(static_cast<std::size_t>(shape_.lines) * 64);
        write(out, root, "E:\\");
        return out;
    }

  private:
    std::string word() { return Words[rng_() % std::size(Words)]; }

    // Names of count subfolders, unique among themselves, from a pool of a
    // thousand or so (so names repeat across the tree), sorted by name.
    std::vector<Folder> folders(int count) {
        std::set<std::string> names;
        while (static_cast<int>(names.size()) < count) {
            if (rng_() % 20 == 0)
                names.insert(std::to_string(1990 + rng_() % 30));
            else
                names.insert(word() + (rng_() % 2 ? "_" : " ") + std::to_string(rng_() % 25));
        }
        std::vector<Folder> out;
        for (const std::string& n : names) out.push_back({n, {}, 0});
        return out;
    }

    std::string fileName(int i) {
        const char* ext = Extensions[rng_() % std::size(Extensions)];
        switch (i % 10) {
            case 3:
                return std::to_string(2000 + i % 20) + "年 " + word() + std::to_string(i) + ext;
            case 7:
                return word() + "[" + std::to_string(i) + "]" + ext;
            case 8:
                return word() + "{" + std::to_string(i) + "}" + std::to_string(i) + ext;
            case 9:
                return word() + " " + std::to_string(i);  // no extension
            default:
                return word() + " " + std::to_string(i) + "-" + std::to_string(rng_() % 1000) + ext;
        }
    }

    std::uint64_t size() {
        if (++sizes_ % 997 == 0) return 5'000'000'000ULL + rng_();
        return rng_() % 5'000'000;
    }

    // The folder's lines, then its subfolders' runs.
    void write(std::string& out, const Folder& folder, const std::string& path) {
        for (const Folder& sub : folder.subs) {
            const std::string printed = scanned_.printedName(sub.name, "");
            scanned_.add(printed);
            catalogue::appendFolderLine(out, path, printed);
        }
        for (int i = 0; i < folder.files; ++i) {
            const std::string name = fileName(i);
            catalogue::IndexFileLine line{path + name, catalogue::formatSize(size()), 0, {}};
            if (++fileLines_ % 149 == 0) {
                line.ticks = 1;
                if (fileLines_ % 1490 == 0) line.mirror = "C:\\copies\\" + name;
            }
            out += catalogue::formatFileLine(line);
            out += catalogue::LineEnd;
        }
        for (const Folder& sub : folder.subs) write(out, sub, path + sub.name + "\\");
    }

    const Shape& shape_;
    std::mt19937 rng_;
    catalogue::ScannedFolderList scanned_;
    long fileLines_ = 0;
    long sizes_ = 0;
};

// The index file's bytes, as stored.
std::string indexBytes(const Shape& shape) {
    return platform::text::toCp936(Generator(shape).text());
}

// ---- the main window ----

constexpr int DiscTab = 2;  // 光盘
const std::string GuangpanFolder = "C:\\zelbrin\\guangpan";

std::string indexPath(const std::string& disc) { return GuangpanFolder + "\\" + disc + ".wcd"; }

void writeCatalogue(testsupport::Harness& h, const std::vector<std::string>& discs) {
    std::string text = "|测试\r\n";
    for (std::size_t i = 0; i < discs.size(); ++i)
        text += "#" + discs[i] + "#" + std::to_string(i + 1) + "#备注&&2024-1-1#\r\n";
    h.write("C:\\zelbrin\\ini.ini", text);
}

// The main window started on the disc page.
void startOnDiscPage(testsupport::Harness& h) {
    h.start();
    h.form.TabStrip1.userSelect(DiscTab);
}

platform::Node& discNode(testsupport::Harness& h, const std::string& disc) {
    platform::Node* node = h.form.TreeView1.find(catalogue::treeNodeKey(disc));
    if (!node) {
        throw std::runtime_error("the disc list has no node for " + disc);
    }
    return *node;
}

// The largest folder's node: its key is its name (met once in the tree).
platform::Node& largestNode(testsupport::Harness& h) {
    platform::Node* node = h.form.TreeView1.find(LargestFolder);
    if (!node) {
        throw std::runtime_error(std::string("the disc's tree has no node ") + LargestFolder);
    }
    return *node;
}

// Drops the disc's folder tree, so that the next click opens it anew; the
// removed nodes are freed here, not in the next click.
void closeDisc(testsupport::Harness& h, platform::Node& disc) {
    if (platform::Node* first = disc.child()) h.form.TreeView1.remove(*first);
    platform::dispatch([] {});
}

// ---- the whole-process modes ----

double msSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

long minorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Prints each phase's time (ms) and the pages it touched first (minor page
// faults, which cost much on some machines), to show where a run's time goes.
int runProcess(const std::string& mode, const char* file) {
    auto t0 = std::chrono::steady_clock::now();
    long faults = minorFaults();
    std::string phases;
    const auto phase = [&](const char* what) {
        char buf[96];
        const long now = minorFaults();
        std::snprintf(buf, sizeof buf, " %s %.2f ms %ld pf", what, msSince(t0), now - faults);
        phases += buf;
        faults = now;
        t0 = std::chrono::steady_clock::now();
    };
    {
        testsupport::Harness h;
        std::string disc = "none";
        if (file) {
            disc = fs::path(file).stem().string();
            h.makeFolder(GuangpanFolder);
            // A hard link costs nothing to make; a copy only where the
            // harness's folder lies on another file system.
            const std::string target = h.nativePath(indexPath(disc));
            std::error_code ec;
            fs::create_hard_link(file, target, ec);
            if (ec && !fs::copy_file(file, target, ec)) {
                std::fprintf(stderr, "cannot place %s: %s\n", file, ec.message().c_str());
                return 1;
            }
        }
        writeCatalogue(h, {disc});
        startOnDiscPage(h);
        phase("start");
        if (mode != "start") {
            Form1& f = h.form;
            f.TreeView1.userClickNode(discNode(h, disc));
            phase("open");
            std::printf("%s: %d nodes in the disc list", disc.c_str(), f.TreeView1.count());
            if (mode == "list") {
                f.TreeView1.userClickNode(largestNode(h));
                phase("list");
                std::printf(", %d rows listed", f.ListView1.count());
            }
            std::printf("\n");
        }
    }
    phase("end");
    std::printf("phases:%s\n", phases.c_str());
    return 0;
}

// ---- the in-process mode ----

struct Figures {
    double median = 0, fastest = 0;
};

Figures measure(int runs, const std::function<void()>& before, const std::function<void()>& run) {
    std::vector<double> ms;
    for (int r = 0; r <= runs; ++r) {  // the first is the warm-up
        before();
        const auto t0 = std::chrono::steady_clock::now();
        run();
        if (r > 0) ms.push_back(msSince(t0));
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front()};
}

struct DiscFigures {
    Figures open, list;
};

DiscFigures measureDisc(testsupport::Harness& h, const Shape& shape, int runs) {
    Form1& f = h.form;
    const std::string disc = shape.disc;
    DiscFigures out;
    out.open = measure(
        runs, [&] { closeDisc(h, discNode(h, disc)); },
        [&] { f.TreeView1.userClickNode(discNode(h, disc)); });
    const int nodes = f.TreeView1.count();
    out.list = measure(
        runs, [&] { f.ListView1.clear(); }, [&] { f.TreeView1.userClickNode(largestNode(h)); });
    const int rows = f.ListView1.count();
    const auto perLine = [&](double ms) { return ms * 1e6 / shape.lines; };
    std::printf(
        "%-9s %7d lines  open: median %8.2f ms fastest %8.2f ms (%5.0f ns/line, %d nodes)\n",
        shape.disc, shape.lines, out.open.median, out.open.fastest, perLine(out.open.median),
        nodes);
    std::printf("%-9s %7s        list: median %8.2f ms fastest %8.2f ms (%5.0f ns/line, %d rows)\n",
                "", "", out.list.median, out.list.fastest, perLine(out.list.median), rows);
    return out;
}

int runInProcess(int runs) {
    testsupport::Harness h;
    h.makeFolder(GuangpanFolder);
    for (const Shape* s : {&Large, &Small}) h.writeBytes(indexPath(s->disc), indexBytes(*s));
    writeCatalogue(h, {Large.disc, Small.disc});
    startOnDiscPage(h);

    const DiscFigures large = measureDisc(h, Large, runs);
    const DiscFigures small = measureDisc(h, Small, runs);
    // Time per line of the small disc over that of the large one.
    const auto ratio = [](double smallMs, double largeMs) {
        return (smallMs / Small.lines) / (largeMs / Large.lines);
    };
    std::printf("per line, 20k over 200k (median): open %.2f, list %.2f\n",
                ratio(small.open.median, large.open.median),
                ratio(small.list.median, large.list.median));
    return 0;
}

// ---- browsing every folder ----

// The disc's folder nodes below its disc node, in tree order.
std::vector<platform::Node*> folderNodes(platform::Node& disc) {
    std::vector<platform::Node*> out;
    std::vector<platform::Node*> stack;
    for (platform::Node* c = disc.lastChild(); c; c = c->previous()) stack.push_back(c);
    while (!stack.empty()) {
        platform::Node* n = stack.back();
        stack.pop_back();
        out.push_back(n);
        for (platform::Node* c = n->lastChild(); c; c = c->previous()) stack.push_back(c);
    }
    return out;
}

// Opens the disc and clicks each of its folder nodes; the time per folder
// (ms) of each run.
Figures browseDisc(testsupport::Harness& h, const Shape& shape, int runs) {
    Form1& f = h.form;
    closeDisc(h, discNode(h, shape.disc));
    f.TreeView1.userClickNode(discNode(h, shape.disc));
    const std::vector<platform::Node*> folders = folderNodes(discNode(h, shape.disc));
    long rows = 0;
    const Figures perFolder = measure(
        runs, [&] { rows = 0; },
        [&] {
            for (platform::Node* n : folders) {
                f.TreeView1.userClickNode(*n);
                rows += f.ListView1.count();
            }
        });
    const double n = static_cast<double>(folders.size());
    std::printf(
        "%-9s %6zu folders  browse: median %9.1f ms fastest %9.1f ms, per folder %.4f ms "
        "(%ld rows listed)\n",
        shape.disc, folders.size(), perFolder.median, perFolder.fastest, perFolder.median / n,
        rows);
    return {perFolder.median / n, perFolder.fastest / n};
}

int runBrowse(int runs) {
    testsupport::Harness h;
    h.makeFolder(GuangpanFolder);
    for (const Shape* s : {&Large, &Small}) h.writeBytes(indexPath(s->disc), indexBytes(*s));
    writeCatalogue(h, {Large.disc, Small.disc});
    startOnDiscPage(h);

    const Figures small = browseDisc(h, Small, runs);
    const Figures large = browseDisc(h, Large, runs);
    std::printf("time per folder, 20,000 folders over 2,000: median %.2f, fastest %.2f\n",
                large.median / small.median, large.fastest / small.fastest);
    return 0;
}

int generate(const fs::path& dir) {
    fs::create_directories(dir);
    for (const Shape* s : {&Large, &Small}) {
        const fs::path file = dir / (std::string(s->disc) + ".wcd");
        const std::string bytes = indexBytes(*s);
        std::ofstream(file, std::ios::binary) << bytes;
        std::printf("%s: %d lines, %zu bytes\n", file.c_str(), s->lines, bytes.size());
    }
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: bench_disc_page gen <dir> | start [file] | open <file> | list <file> | "
                 "inproc [runs] | browse [runs]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    // A failure unwinds, so the harness removes its temporary folder.
    try {
        if (mode == "gen" && argc == 3) return generate(argv[2]);
        if (mode == "start" && argc <= 3) return runProcess(mode, argc == 3 ? argv[2] : nullptr);
        if ((mode == "open" || mode == "list") && argc == 3) return runProcess(mode, argv[2]);
        if (mode == "inproc" && argc <= 3)
            return runInProcess(argc == 3 ? std::max(1, std::atoi(argv[2])) : 9);
        if (mode == "browse" && argc <= 3)
            return runBrowse(argc == 3 ? std::max(1, std::atoi(argv[2])) : 3);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return usage();
}
