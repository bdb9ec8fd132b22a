// A plain mutation fuzzer for the targets of tests/fuzz, for builds without
// libFuzzer (g++): no coverage feedback, but the same inputs every run.
//
//   fuzz_<target> [--seconds S] [--runs N] [--seed N] [--max-len N] [--dict FILE]
//                 [FOLDER | FILE]...
//
// A folder adds each of its files as a seed (the folder is only read); a
// file given alone is run once and nothing else (to repeat a crash). The
// seeds and a few built-in ones run first; then, until the time or the run
// count is used up, inputs made from them by byte flips, inserts, deletes,
// copies, dictionary tokens and splices. The random numbers come from a
// fixed seed. When an input fails a check or the sanitizers stop the
// program, the input is printed in hex.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "fuzz_target.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZELBRIN_FUZZ_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZELBRIN_FUZZ_SANITIZED 1
#endif
#endif
#ifdef ZELBRIN_FUZZ_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

// ---- reporting the input that stopped the run ----

const char* g_input = nullptr;
std::size_t g_inputSize = 0;
volatile sig_atomic_t g_reported = 0;

void writeAll(const char* s, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(STDERR_FILENO, s, n);
        if (w <= 0) return;
        s += w;
        n -= static_cast<std::size_t>(w);
    }
}

// Prints the current input in hex; safe inside a signal handler.
void reportInput() {
    if (g_reported || g_input == nullptr) return;
    g_reported = 1;
    static const char digits[] = "0123456789abcdef";
    const char head[] = "\n==== fuzz input that failed (hex):\n";
    writeAll(head, sizeof head - 1);
    char line[2 * 32 + 1];
    for (std::size_t i = 0; i < g_inputSize; i += 32) {
        std::size_t n = 0;
        for (std::size_t k = i; k < g_inputSize && k < i + 32; ++k) {
            const auto b = static_cast<unsigned char>(g_input[k]);
            line[n++] = digits[b >> 4];
            line[n++] = digits[b & 15];
        }
        line[n++] = '\n';
        writeAll(line, n);
    }
    const char tail[] = "==== end of input\n";
    writeAll(tail, sizeof tail - 1);
}

void onFatalSignal(int signal) {
    reportInput();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void runOne(const Bytes& input) {
    g_input = input.data();
    g_inputSize = input.size();
    fuzzOne(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    g_input = nullptr;
}

// ---- inputs ----

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The tokens of a libFuzzer dictionary: one "..." per line (an optional name
// and "=" before it), with \\, \" and \xHH escapes; "#" starts a comment.
std::vector<Bytes> readDictionary(const fs::path& path) {
    std::vector<Bytes> tokens;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    auto hex = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c - 'A' + 10;
    };
    while (std::getline(in, line)) {
        const std::size_t open = line.find('"');
        const std::size_t close = line.rfind('"');
        if (line.empty() || line[0] == '#' || open == std::string::npos || close <= open) continue;
        Bytes token;
        for (std::size_t i = open + 1; i < close; ++i) {
            if (line[i] != '\\' || i + 1 >= close) {
                token += line[i];
            } else if (line[i + 1] == 'x' && i + 3 < close) {
                token += static_cast<char>(hex(line[i + 2]) * 16 + hex(line[i + 3]));
                i += 3;
            } else {
                token += line[++i];
            }
        }
        if (!token.empty()) tokens.push_back(token);
    }
    return tokens;
}

const std::vector<Bytes> kBuiltinSeeds = {
    "",
    "\r\n",
    "\n\r\r\n",
    "a",
    "\x80",
    "\xff",
    "\x81\x30\x81\x30",
    "\xb9\xe2\xc5\xcc",
    "\xe5\x85\x89\xe7\x9b\x98",
};
const std::vector<Bytes> kBuiltinTokens = {"\r\n", "\\", "[", "]", "{",  "}", "(", ")",
                                           "$",    "@",  "#", "|", "&&", "=", ";", "($)"};

class Mutator {
  public:
    Mutator(std::uint64_t seed, std::size_t maxLen, std::vector<Bytes> tokens)
        : rng_(seed), maxLen_(maxLen), tokens_(std::move(tokens)) {}

    std::size_t below(std::size_t n) { return n == 0 ? 0 : rng_() % n; }

    // One to four mutations of input, some with other as a second parent.
    Bytes mutate(Bytes input, const Bytes& other) {
        const std::size_t count = 1 + below(4);
        for (std::size_t i = 0; i < count; ++i) mutateOnce(input, other);
        if (input.size() > maxLen_) input.resize(maxLen_);
        return input;
    }

  private:
    void mutateOnce(Bytes& s, const Bytes& other) {
        static const char interesting[] = {0,      '\n',   '\r',   ' ', '\t', 0x7f,
                                           '\x80', '\xff', '\x81', '0', '9',  '\xa1'};
        switch (below(9)) {
            case 0:  // flip a bit
                if (!s.empty()) s[below(s.size())] ^= static_cast<char>(1u << below(8));
                break;
            case 1:  // set a byte
                if (!s.empty()) s[below(s.size())] = static_cast<char>(below(256));
                break;
            case 2:  // insert a byte
                s.insert(s.begin() + below(s.size() + 1), static_cast<char>(below(256)));
                break;
            case 3:  // insert a byte that parsers look at
                s.insert(s.begin() + below(s.size() + 1), interesting[below(sizeof interesting)]);
                break;
            case 4: {  // delete a range
                if (s.empty()) break;
                const std::size_t at = below(s.size());
                s.erase(at, 1 + below(std::min<std::size_t>(16, s.size() - at)));
                break;
            }
            case 5: {  // copy a range of the input elsewhere
                if (s.empty()) break;
                const std::size_t at = below(s.size());
                const Bytes piece = s.substr(at, 1 + below(32));
                s.insert(below(s.size() + 1), piece);
                break;
            }
            case 6:  // insert a dictionary token
            case 7:
                s.insert(below(s.size() + 1), tokens_[below(tokens_.size())]);
                break;
            case 8: {  // splice: a head of this input, a tail of the other
                const std::size_t head = below(s.size() + 1);
                const std::size_t tail = below(other.size() + 1);
                s = s.substr(0, head) + other.substr(tail);
                break;
            }
        }
    }

    std::mt19937_64 rng_;
    std::size_t maxLen_;
    std::vector<Bytes> tokens_;
};

struct Options {
    double seconds = 3;
    std::uint64_t runs = 0;  // 0: no limit but the time
    std::uint64_t seed = 1;
    std::size_t maxLen = 4096;
    std::vector<fs::path> dictionaries;
    std::vector<fs::path> folders;
    std::vector<fs::path> files;
};

[[noreturn]] void usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s [--seconds S] [--runs N] [--seed N] [--max-len N] [--dict FILE] "
                 "[FOLDER | FILE]...\n",
                 program);
    std::exit(2);
}

Options parseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usage(argv[0]);
            return argv[++i];
        };
        if (arg == "--seconds")
            o.seconds = std::stod(value());
        else if (arg == "--runs")
            o.runs = std::stoull(value());
        else if (arg == "--seed")
            o.seed = std::stoull(value());
        else if (arg == "--max-len")
            o.maxLen = std::stoull(value());
        else if (arg == "--dict")
            o.dictionaries.push_back(value());
        else if (arg.starts_with("--"))
            usage(argv[0]);
        else if (fs::is_directory(arg))
            o.folders.push_back(arg);
        else if (fs::is_regular_file(arg))
            o.files.push_back(arg);
        else {
            std::fprintf(stderr, "%s: no such file or folder: %s\n", argv[0], arg.c_str());
            std::exit(2);
        }
    }
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
#ifdef ZELBRIN_FUZZ_SANITIZED
    __sanitizer_set_death_callback(reportInput);
#endif
    for (int s : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) ::signal(s, onFatalSignal);

    if (!options.files.empty()) {
        for (const auto& file : options.files) runOne(readFile(file));
        std::printf("%zu inputs ran\n", options.files.size());
        return 0;
    }

    std::vector<Bytes> seeds = kBuiltinSeeds;
    for (const auto& folder : options.folders) {
        std::vector<fs::path> paths;
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.is_regular_file()) paths.push_back(entry.path());
        }
        std::sort(paths.begin(), paths.end());  // the same order every run
        for (const auto& path : paths) seeds.push_back(readFile(path));
    }
    std::vector<Bytes> tokens = kBuiltinTokens;
    for (const auto& dict : options.dictionaries) {
        for (auto& token : readDictionary(dict)) tokens.push_back(std::move(token));
    }

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(options.seconds));
    std::uint64_t runs = 0;
    for (const Bytes& seed : seeds) {
        runOne(seed);
        ++runs;
    }

    // The pool grows with some of the mutants, so that mutations pile up.
    constexpr std::size_t kPoolLimit = 512;
    std::vector<Bytes> pool = seeds;
    Mutator mutator(options.seed, options.maxLen, tokens);
    while ((options.runs == 0 || runs < options.runs) &&
           ((runs & 63) != 0 || Clock::now() < deadline)) {
        const Bytes& parent = pool[mutator.below(pool.size())];
        const Bytes& other = pool[mutator.below(pool.size())];
        Bytes input = mutator.mutate(parent, other);
        runOne(input);
        ++runs;
        if (mutator.below(8) == 0) {
            if (pool.size() < kPoolLimit)
                pool.push_back(std::move(input));
            else if (seeds.size() < kPoolLimit)
                pool[seeds.size() + mutator.below(kPoolLimit - seeds.size())] = std::move(input);
        }
    }
    const double took = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%llu runs in %.1f s from %zu seeds (random seed %llu), no failure\n",
                static_cast<unsigned long long>(runs), took, seeds.size(),
                static_cast<unsigned long long>(options.seed));
    return 0;
}
