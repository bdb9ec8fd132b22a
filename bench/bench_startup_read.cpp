// Start-up reading benchmark: the main window's start on the test harness's
// temporary machine with a catalogue file ("ini.ini") of about 10 MB, once as
// one long line of each kind and once as many short lines; then the registry
// store read from a "registry.ini" of the same size, as one long value and as
// many short entries. Reading a stored file should cost about the same for
// the same size, whatever its lines.
//
// Each start runs on a fresh harness; the median and the fastest run are
// printed, with the growth of the peak memory use since the previous case.
//
// Usage: bench_startup_read [runs] [megabytes]   (defaults 5 and 10)
// BENCH_ONLY=<part of a case's name> runs only the cases it names (to profile one).

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/system/registry.h"
#include "platform/text/text.h"
#include "support/harness.h"
#include "support/temp_folder.h"

namespace {

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// UTF-8 text of about size bytes made of whole copies of piece (Chinese
// takes three bytes in UTF-8, two on disk).
std::string repeated(std::string_view piece, std::size_t size) {
    std::string out;
    out.reserve(size + piece.size());
    while (out.size() < size) out += piece;
    return out;
}

struct Case {
    const char* what;
    std::string catalogue;  // UTF-8; about the given size on disk
};

// Short disc lines.
std::string discs(int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += "#光盘" + std::to_string(i) + "#" + std::to_string(i) + "#备注&&2024-5-6#\r\n";
    return out;
}

std::vector<Case> cases(std::size_t size) {
    // 10 MB of short lines: categories of twenty discs each.
    std::string shortLines;
    for (int i = 0; shortLines.size() < size; ++i) {
        if (i % 20 == 0) shortLines += "|分类" + std::to_string(i / 20) + "\r\n";
        shortLines +=
            "#光盘" + std::to_string(i) + "#" + std::to_string(i) + "#备注&&2024-5-6#\r\n";
    }
    return {
        {"short lines (categories and discs)", shortLines},
        {"short lines (passed over)",
         repeated("这一行不属于任何分类，程序不读它。\r\n", size * 3 / 2)},
        {"one category line, ASCII", "|" + repeated("a", size) + "\r\n"},
        {"one category line, Chinese", "|" + repeated("中", size * 3 / 2) + "\r\n"},
        {"one disc line", "#" + repeated("光", size * 3 / 2) + "#1#备注&&2024-5-6#\r\n"},
        {"one line passed over", repeated("x", size) + "\r\n"},
        {"a 1 MB category line, 2,000 discs",
         "|" + repeated("a", size / 10) + "\r\n" + discs(2000)},
        {"one line, no line break", repeated("中文", size * 3 / 2)},
    };
}

void report(const char* what, std::size_t bytes, std::vector<double>& ms, long peakBefore) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-36s %6.1f MB  median %9.2f ms  fastest %9.2f ms  peak +%5ld MB\n", what,
                static_cast<double>(bytes) / 1e6, ms[ms.size() / 2], ms.front(),
                (peakKilobytes() - peakBefore) / 1024);
}

void measureRegistry(const char* what, const std::string& text, int runs) {
    testsupport::TempFolder folder;
    const auto file = folder / "registry.ini";
    testsupport::writeBytes(file, text);
    std::vector<double> ms;
    const long before = peakKilobytes();
    for (int r = 0; r < runs; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        platform::system::FileRegistryStore store(file);
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    report(what, text.size(), ms, before);
}

void measure(const Case& c, int runs) {
    std::vector<double> ms;
    const long before = peakKilobytes();
    const std::string bytes = platform::text::toCp936(c.catalogue);
    for (int r = 0; r < runs; ++r) {
        testsupport::Harness h;
        h.writeBytes("C:\\zelbrin\\ini.ini", bytes);
        const auto t0 = std::chrono::steady_clock::now();
        h.start();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    report(c.what, bytes.size(), ms, before);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::size_t megabytes =
        argc > 2 ? static_cast<std::size_t>(std::max(1, std::atoi(argv[2]))) : 10;
    {
        testsupport::Harness h;  // empty catalogue: the cost of start-up itself
        const auto t0 = std::chrono::steady_clock::now();
        h.start();
        std::printf("%-36s %6.1f MB  %9.2f ms\n", "empty catalogue", 0.0,
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                        .count());
    }
    const std::size_t size = megabytes * 1000 * 1000;
    const char* only = std::getenv("BENCH_ONLY");  // a part of one case's name, to profile it alone
    auto chosen = [only](std::string_view what) {
        return !only || what.find(only) != std::string_view::npos;
    };
    for (const Case& c : cases(size))
        if (chosen(c.what)) measure(c, runs);
    if (!chosen("registry")) return 0;

    const std::string key = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Zelbrin]\n";
    measureRegistry("registry: one long value", key + "Path=" + repeated("a", size) + "\n", runs);
    std::string entries = key, sections;
    for (int i = 0; entries.size() < size; ++i) entries += "name" + std::to_string(i) + "=value\n";
    for (int i = 0; sections.size() < size; ++i)
        sections += "[HKEY_USERS\\k" + std::to_string(i) + "]\nv=1\n";
    measureRegistry("registry: short entries, one key", entries, runs);
    measureRegistry("registry: one entry per key", sections, runs);
    return 0;
}
