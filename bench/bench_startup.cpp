// Start-up benchmark: the program started as a whole process until its main
// window is painted for the first time (zelbrin --exit-after-first-paint),
// with a catalogue of 2,000 discs and with an empty one, beside a bare Qt
// program that shows a QMainWindow of the same size and ends at its first
// paint (bench_bare_window). Each run is a fresh process; the runs of the
// three take turns, so a busy moment of the machine falls on all of them.
//
// The program folders are made in $TMPDIR (or /tmp) and given to the program
// through ZELBRIN_HOME: "discs" holds 2,000 index files in guangpan and a
// catalogue of 100 categories of 20 discs; "empty" holds nothing but the CD
// drive file (so that no start asks for the drive). The platform is
// offscreen unless QT_QPA_PLATFORM says otherwise.
//
// Printed: the median and fastest time of each, its median peak memory, and
// the ratio of the medians to the bare window's.
//
// Usage: bench_startup [runs]   (default 15)
// BENCH_PROGRAM=<path> times another build of the program instead (one that
// has the option), to compare before and after.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/text/text.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int Discs = 2000;
constexpr int DiscsPerCategory = 20;

void writeFile(const fs::path& path, const std::string& utf8) {
    std::ofstream(path, std::ios::binary) << platform::text::toCp936(utf8);
}

// A small disc's index: a few folders with a few files each.
std::string indexText(int disc) {
    std::string out;
    for (int f = 0; f < 4; ++f) {
        const std::string folder = "文件夹" + std::to_string(f);
        out += "E:\\|" + folder + "\r\n";
        for (int i = 0; i < 5; ++i)
            out += "E:\\" + folder + "\\照片" + std::to_string(disc) + "-" + std::to_string(i) +
                   ".jpg[" + std::to_string(1000 + 37 * i) + "]\r\n";
    }
    return out;
}

void makeProgramFolders(const fs::path& root) {
    fs::remove_all(root);
    const fs::path discs = root / "discs", empty = root / "empty";
    fs::create_directories(discs / "guangpan");
    fs::create_directories(empty);
    std::string catalogue;
    for (int i = 0; i < Discs; ++i) {
        if (i % DiscsPerCategory == 0)
            catalogue += "|分类" + std::to_string(i / DiscsPerCategory) + "\r\n";
        const std::string name = "光盘" + std::to_string(i);
        catalogue += "#" + name + "#" + std::to_string(i) + "#备注&&2024-5-6#\r\n";
        writeFile(discs / "guangpan" / platform::text::toCp936(name + ".wcd"), indexText(i));
    }
    writeFile(discs / "ini.ini", catalogue);
    for (const fs::path& folder : {discs, empty}) writeFile(folder / "disk.ini", "E:\\\r\n");
}

struct Run {
    double seconds = 0;
    double megabytes = 0;  // peak resident memory
    std::string out;       // what it printed
};

// Runs the program to its end: wall time, peak memory and standard output.
Run run(const std::vector<std::string>& args, const std::string& home) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::string_view(*e).substr(0, 13) != "ZELBRIN_HOME=") env.emplace_back(*e);
    if (!home.empty()) env.push_back("ZELBRIN_HOME=" + home);
    if (!std::getenv("QT_QPA_PLATFORM")) env.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp, argv;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> a = args;
    for (std::string& s : a) argv.push_back(s.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run r;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        std::perror(argv[0]);
        std::exit(1);
    }
    ::close(pipeFds[1]);
    char buf[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        r.out.append(buf, static_cast<std::size_t>(n));
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::close(pipeFds[0]);
    posix_spawn_file_actions_destroy(&actions);
    r.megabytes = static_cast<double>(usage.ru_maxrss) / 1024;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s ended with status %d\n", argv[0], status);
        std::exit(1);
    }
    while (!r.out.empty() && (r.out.back() == '\n' || r.out.back() == '\r')) r.out.pop_back();
    return r;
}

struct Series {
    explicit Series(const char* w) : what(w) {}
    const char* what;
    std::vector<double> seconds, megabytes;
    void add(const Run& r) {
        seconds.push_back(r.seconds);
        megabytes.push_back(r.megabytes);
    }
    double median() const { return middle(seconds); }
    double fastest() const { return *std::min_element(seconds.begin(), seconds.end()); }
    double memory() const { return middle(megabytes); }
    static double middle(std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const char* tmp = std::getenv("TMPDIR");
    const fs::path root = fs::path(tmp && *tmp ? tmp : "/tmp") /
                          ("zelbrin-bench-startup-" + std::to_string(::getpid()));
    makeProgramFolders(root);
    const std::string discs = (root / "discs").string(), empty = (root / "empty").string();
    const char* other = std::getenv("BENCH_PROGRAM");
    const std::vector<std::string> program = {other && *other ? other : ZELBRIN_PROGRAM,
                                              "--exit-after-first-paint"};

    // The first start of each installs the program's resources; the window's
    // size comes from the program itself.
    const std::string size = run(program, discs).out;
    if (run(program, empty).out != size || size.empty()) {
        std::fprintf(stderr, "the program did not report one window size (\"%s\")\n", size.c_str());
        return 1;
    }
    const std::vector<std::string> bare = {BARE_WINDOW_PROGRAM, size};
    run(bare, "");

    Series bareSeries("bare Qt window"), emptySeries("empty catalogue"), discSeries("2,000 discs");
    for (int i = 0; i < runs; ++i) {
        bareSeries.add(run(bare, ""));
        emptySeries.add(run(program, empty));
        discSeries.add(run(program, discs));
    }
    fs::remove_all(root);

    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("start-up of %s to the first painted window %s, %s, %d runs each\n",
                program[0].c_str(), size.c_str(), platform ? platform : "offscreen", runs);
    const double b = bareSeries.median();
    for (const Series* s : {&bareSeries, &emptySeries, &discSeries}) {
        std::printf("%-16s median %.3f s (fastest %.3f s), peak %5.1f MB", s->what, s->median(),
                    s->fastest(), s->memory());
        if (s != &bareSeries) std::printf("   %.2f× the bare window", s->median() / b);
        std::printf("\n");
    }
    return 0;
}
