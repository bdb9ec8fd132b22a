// Reading a large index file: the whole file read, decoded from code page 936
// (GB18030) into UTF-8 and split into lines, beside `wc -l` on the same file.
//
//   bench_text [file]
//
// Without an argument the file is made in a temporary folder and removed at
// the end; with one, it is made there (when missing) and kept.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/text/text.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kLines = 1'000'000;
constexpr int kRuns = 7;

// Index-like lines: folders and files with mixed Chinese and ASCII names.
void makeFile(const fs::path& path) {
    static const char* const folders[] = {"资料",     "文件夹", "Program Files", "音乐",
                                          "照片2003", "遊戲",   "docs",          "软件\\工具"};
    static const char* const names[] = {"文件名",   "readme", "许可协议", "setup",
                                        "光盘目录", "歌曲",   "IMG",      "誠品"};
    static const char* const exts[] = {".txt", ".exe", ".mp3", ".jpg", ".doc", ".htm"};
    std::string text;
    text.reserve(kLines * 48);
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int i = 0; i < kLines; ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%04d", i % 10000);
        std::string line = "E:\\";
        line += folders[next() % 8];
        line += "\\";
        line += folders[next() % 8];
        line += std::to_string(next() % 1000);
        if (i % 20 == 0) {
            line += "\\";  // a folder line
        } else {
            line += "\\";
            line += names[next() % 8];
            line += "_";
            line += number;
            line += exts[next() % 6];
            line += '[';
            line += std::to_string(next() * 37);
            line += ']';
        }
        text += line;
        text += "\r\n";
    }
    std::ofstream(path, std::ios::binary) << platform::text::toCp936(text);
}

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    in.seekg(0, std::ios::end);
    bytes.resize(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Stats {
    double min;
    double median;
};

Stats stats(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v.front(), v[v.size() / 2]};
}

}  // namespace

int main(int argc, char** argv) {
    fs::path dir;
    fs::path file;
    if (argc > 1) {
        file = argv[1];
    } else {
        std::string tmpl = (fs::temp_directory_path() / "bench_text_XXXXXX").string();
        if (!mkdtemp(tmpl.data())) {
            std::perror("mkdtemp");
            return 1;
        }
        dir = tmpl;
        file = dir / "index.wcd";
    }
    if (!fs::exists(file)) {
        const auto t0 = Clock::now();
        makeFile(file);
        std::printf("made %s (%.1f MB) in %.0f ms\n", file.c_str(),
                    static_cast<double>(fs::file_size(file)) / 1e6, ms(Clock::now() - t0));
    }

    std::vector<double> readMs, decodeMs, splitMs, totalMs, onePassMs, encodeMs, wcMs;
    std::size_t lineCount = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto t0 = Clock::now();
        const std::string bytes = readWhole(file);
        const auto t1 = Clock::now();
        const std::string utf8 = platform::text::fromCp936(bytes);
        const auto t2 = Clock::now();
        const std::vector<std::string> lines = platform::text::splitLines(utf8);
        const auto t3 = Clock::now();
        lineCount = lines.size();
        readMs.push_back(ms(t1 - t0));
        decodeMs.push_back(ms(t2 - t1));
        splitMs.push_back(ms(t3 - t2));
        totalMs.push_back(ms(t3 - t0));
    }
    for (int run = 0; run < kRuns; ++run) {
        const auto t0 = Clock::now();
        const std::vector<std::string> lines = platform::text::linesFromCp936(readWhole(file));
        const auto t1 = Clock::now();
        onePassMs.push_back(ms(t1 - t0));
        std::string text;
        for (const std::string& line : lines) text.append(line).append("\r\n");
        const auto t2 = Clock::now();
        const std::string bytes = platform::text::toCp936(text);
        encodeMs.push_back(ms(Clock::now() - t2));
        if (bytes.size() != fs::file_size(file)) {
            std::fprintf(stderr, "toCp936 gave %zu bytes\n", bytes.size());
            return 1;
        }
        if (lines.size() != lineCount) {
            std::fprintf(stderr, "linesFromCp936 gave %zu lines\n", lines.size());
            return 1;
        }
    }
    const std::string wc = "wc -l < '" + file.string() + "' > /dev/null";
    for (int run = 0; run < kRuns; ++run) {
        const auto t0 = Clock::now();
        if (std::system(wc.c_str()) != 0) {
            std::fprintf(stderr, "wc -l failed\n");
            return 1;
        }
        wcMs.push_back(ms(Clock::now() - t0));
    }

    const Stats read = stats(readMs), decode = stats(decodeMs), split = stats(splitMs);
    const Stats total = stats(totalMs), onePass = stats(onePassMs), encode = stats(encodeMs);
    const Stats wcl = stats(wcMs);
    std::printf("%zu lines, %d runs (ms: min / median)\n", lineCount, kRuns);
    auto row = [](const char* what, Stats st) {
        std::printf("  %-34s %8.1f / %8.1f\n", what, st.min, st.median);
    };
    row("read whole file", read);
    row("decode to UTF-8 (fromCp936)", decode);
    row("split into lines (splitLines)", split);
    row("total: read, decode, split", total);
    row("read + linesFromCp936 (one pass)", onePass);
    row("encode back (toCp936)", encode);
    row("wc -l (subprocess)", wcl);
    std::printf("  %-34s %8.2f / %8.2f\n", "ratio total / wc -l", total.min / wcl.min,
                total.median / wcl.median);
    std::printf("  %-34s %8.2f / %8.2f\n", "ratio one pass / wc -l", onePass.min / wcl.min,
                onePass.median / wcl.median);

    if (!dir.empty()) fs::remove_all(dir);
    return 0;
}
