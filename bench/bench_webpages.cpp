// Folder page benchmark: the page of every folder of a catalogued CD written
// by the page command (生成当前目录的网页), on the main window of the test
// harness's temporary machine, for a disc of 2,000 folders (20,000 index
// lines) and one of 20,000 folders (200,000 index lines).
//
// Each folder holds 9 files; the folders lie in two levels (one top folder
// for every 20 folders, the rest below them), with ASCII and Chinese names.
// For each size the disc is opened, then every folder node is clicked (the
// disc page lists it) and the page command runs on it; the listing and the
// page writing are timed apart. It prints the pages per second of the page
// command and its time per page for both sizes, and their ratio.
//
//     bench_webpages            both sizes
//     bench_webpages 2000       one size (folders)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/disc_trees.h"
#include "platform/text/text.h"
#include "support/harness.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int FilesPerFolder = 9;
const std::string Disc = "[001]Web";

double since(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

std::string folderPath(int f, int tops) {
    auto name = [](int i) { return (i % 3 == 0 ? "照片" : "docs") + std::to_string(i); };
    if (f < tops) return name(f);
    return name(f % tops) + "\\" + name(f);
}

std::string indexText(int folders) {
    const int tops = folders / 20;
    std::string index;
    for (int f = 0; f < tops; ++f) index += "E:\\|" + folderPath(f, tops) + "\r\n";
    for (int f = 0; f < tops; ++f) {
        for (int s = tops + f; s < folders; s += tops)
            index += "E:\\" + folderPath(f, tops) + "\\|" +
                     folderPath(s, tops).substr(folderPath(f, tops).size() + 1) + "\r\n";
    }
    for (int f = 0; f < folders; ++f)
        for (int i = 0; i < FilesPerFolder; ++i)
            index += "E:\\" + folderPath(f, tops) + "\\" + (i % 4 == 0 ? "誠遊" : "file") +
                     std::to_string(i) + ".txt[" + std::to_string(1000 * i + 7) + "]\r\n";
    return index;
}

struct Result {
    int pages = 0;
    std::size_t lines = 0;
    double listMs = 0, pageMs = 0;
};

Result run(int folders) {
    testsupport::Harness h;
    const std::string index = indexText(folders);
    Result r;
    for (char c : index) r.lines += c == '\n';
    h.write("C:\\zelbrin\\guangpan\\" + Disc + ".wcd", index);
    h.write("C:\\zelbrin\\ini.ini", "|网页\r\n#" + Disc + "#1#页#\r\n");
    h.start();
    Form1& f = h.form;
    f.TabStrip1.userSelect(2);
    f.TreeView1.userClickNode(*f.TreeView1.find(catalogue::treeNodeKey(Disc)));
    std::vector<platform::Node*> nodes;
    for (const auto& n : f.TreeView1.nodes())
        if (n->image() == 1) nodes.push_back(n.get());
    for (platform::Node* n : nodes) {
        const auto t0 = Clock::now();
        f.TreeView1.userClickNode(*n);
        r.listMs += since(t0);
        const auto t1 = Clock::now();
        f.createhtml111_Click();
        r.pageMs += since(t1);
        ++r.pages;
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes = {2000, 20000};
    if (argc > 1) sizes = {std::atoi(argv[1])};
    std::vector<Result> results;
    for (int folders : sizes) {
        const Result r = run(folders);
        std::printf(
            "%d folders, %zu index lines: %d pages in %.0f ms = %.0f pages/s (%.3f ms/page); "
            "listing the folders took %.0f ms (%.3f ms/folder)\n",
            folders, r.lines, r.pages, r.pageMs, r.pages / (r.pageMs / 1000), r.pageMs / r.pages,
            r.listMs, r.listMs / r.pages);
        results.push_back(r);
    }
    if (results.size() == 2)
        std::printf(
            "time per page, large / small: %.2f\n",
            (results[1].pageMs / results[1].pages) / (results[0].pageMs / results[0].pages));
    return 0;
}
