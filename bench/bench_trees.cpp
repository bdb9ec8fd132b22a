// Tree-build benchmark: the disc list of 2,000 index files (200 of them on
// the mirror list) and the category tree of 2,000 discs in 50 categories
// (10 of them with two sub-categories), both built on the main window of the
// test harness's temporary machine, as the reload commands build them.
//
// Each build runs once to warm up, then several times; the median and the
// fastest run are printed.
//
// Usage: bench_trees [runs]   (default 15)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "support/harness.h"

namespace {

constexpr int Discs = 2000;
constexpr int Categories = 50;
constexpr int MirroredEvery = 10;

std::string discName(int i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "[%04d]光盘%d", i, i * 7919 % 10007);
    return buf;
}

void makeCatalogue(testsupport::Harness& h) {
    std::string catalogue, mirrors;
    h.makeFolder("C:\\zelbrin\\guangpan");
    for (int i = 0; i < Discs; ++i) {
        h.write("C:\\zelbrin\\guangpan\\" + discName(i) + ".wcd", "E:\\\r\n");
        if (i % MirroredEvery == 0) mirrors += discName(i) + "\r\n";
    }
    const int perCategory = Discs / Categories;
    for (int c = 0; c < Categories; ++c) {
        catalogue += "|分类" + std::to_string(c) + "\r\n";
        for (int k = 0; k < perCategory; ++k) {
            if (c % 5 == 0 && k % (perCategory / 2) == 0)
                catalogue += "@子类" + std::to_string(c) + '_' + std::to_string(k) + "\r\n";
            catalogue += '#';
            catalogue += discName(c * perCategory + k);
            catalogue += '#';
            catalogue += std::to_string(k);
            catalogue += "#备注&&2024-5-6#\r\n";
        }
    }
    h.write("C:\\zelbrin\\ini.ini", catalogue);
    h.write("C:\\zelbrin\\red.ini", mirrors);
}

void measure(const char* what, int runs, const std::function<void()>& build,
             const std::function<int()>& count) {
    build();  // warm-up
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        build();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s %6d nodes  median %8.2f ms  fastest %8.2f ms\n", what, count(),
                ms[ms.size() / 2], ms.front());
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    testsupport::Harness h;
    makeCatalogue(h);
    Form1& f = h.form;
    measure(
        "disc list (2,000 discs, 200 mirrored)", runs,
        [&] {
            f.TreeView1.clear();
            f.file1load();
        },
        [&] { return f.TreeView1.count(); });
    measure(
        "category tree (2,000 discs, 50 categories)", runs,
        [&] {
            f.TreeView2.clear();
            f.Treeview2Load();
        },
        [&] { return f.TreeView2.count(); });
    return 0;
}
