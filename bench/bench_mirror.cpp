// Mirror copy benchmark: a CD disc with 10,000 ticked small files copied to
// the hard disk by the copy command (把打标记的文件拷贝到硬盘形成映象文件),
// on the main window of the test harness's temporary machine.
//
// `gen <dir>` writes the disc's files into <dir>/cd (100 folders of 100 files
// of 200 bytes each, ASCII and Chinese names) and its index file
// <dir>/mirror.wcd (code page 936, CR LF, every file line ticked, as a scan
// writes it: the folder lines of the root, then each folder's file lines).
//
// `run <dir>` maps <dir>/cd as the CD drive E: and <dir>/out as the drive M:,
// files the index as the disc "[001]Mirror", starts the main window, opens
// the disc and runs the copy command into M:\[001]Mirror (the dialog
// answered as a user answers it). It prints the time of the command, the
// files copied and how many times the index file was rewritten.
//
// Time `run` as a whole process beside `cp -r <dir>/cd <dir>/cp-copy` of the
// same files (remove <dir>/out and <dir>/cp-copy between runs).
//
// `compare <dir>` does it in one run for 2,500 and 10,000 files in one
// folder: the command's time beside `cp -r` of the same files, and the time
// per file at 10,000 against that at 2,500.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "catalogue/disc_trees.h"
#include "copies/copy_dialog.h"
#include "platform/files/committed_write.h"
#include "platform/files/drive_table.h"
#include "platform/text/text.h"
#include "support/harness.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int Folders = 100;
constexpr int FilesPerFolder = 100;
constexpr std::size_t FileSize = 200;
const std::string Disc = "[001]Mirror";

std::string folderName(int f) { return (f % 3 == 0 ? "照片" : "docs") + std::to_string(f); }
std::string fileName(int f, int i) {
    return (i % 4 == 0 ? "誠遊" : "file") + std::to_string(f) + "_" + std::to_string(i) + ".txt";
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

int generate(const std::string& dir, int folders = Folders, int filesPerFolder = FilesPerFolder) {
    const fs::path cd = fs::path(dir) / "cd";
    fs::create_directories(cd);
    std::string index;
    for (int f = 0; f < folders; ++f) index += "E:\\|" + folderName(f) + "\r\n";
    const std::string content(FileSize, 'x');
    for (int f = 0; f < folders; ++f) {
        fs::create_directories(cd / folderName(f));
        for (int i = 0; i < filesPerFolder; ++i) {
            writeFile(cd / folderName(f) / fileName(f, i), content);
            index += "E:\\" + folderName(f) + "\\" + fileName(f, i) + "[" +
                     std::to_string(FileSize) + "]($)\r\n";
        }
    }
    writeFile(fs::path(dir) / "mirror.wcd", platform::text::toCp936(index));
    std::printf("wrote %d files into %s and the index %s\n", folders * filesPerFolder, cd.c_str(),
                (fs::path(dir) / "mirror.wcd").c_str());
    return 0;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), {});
}

double since(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// The time of the copy command in ms.
double run(const std::string& dir) {
    const auto begin = Clock::now();
    const fs::path root = fs::absolute(dir);
    fs::create_directories(root / "out");
    testsupport::Harness h;
    h.drives().find("E:")->folder = (root / "cd").string();
    platform::files::DriveEntry out;
    out.name = "M:";
    out.folder = (root / "out").string();
    h.drives().set(out);
    h.writeBytes("C:\\zelbrin\\guangpan\\" + Disc + ".wcd", readFile(root / "mirror.wcd"));
    h.write("C:\\zelbrin\\ini.ini", "|测试\r\n#" + Disc + "#1#备注#\r\n");
    h.start();
    h.form.TabStrip1.userSelect(2);
    h.form.TreeView1.userClickNode(*h.form.TreeView1.find(catalogue::treeNodeKey(Disc)));
    const double startMs = since(begin);

    // Every commit of the index file counted.
    const std::string indexNative = h.nativePath("C:\\zelbrin\\guangpan\\" + Disc + ".wcd");
    int rewrites = 0;
    platform::files::ScopedCommitHook hook(
        [&](platform::files::CommitStep step, const std::string& path) {
            if (step == platform::files::CommitStep::Rename && path == indexNative) ++rewrites;
        });

    h.ui.answerMsgBox(platform::MsgYes);
    h.ui.onModal<copy>([](copy& d) {
        d.Text1.userType("M:\\" + Disc);
        d.OKButton.userClick();
    });
    const auto t = Clock::now();
    h.form.copytag.userClick();
    const double runMs = since(t);

    std::printf("start and open the disc: %.1f ms\n", startMs);
    std::printf("copy command: %.1f ms (%s)\n", runMs, h.form.StatusBar1.panel(2).text().c_str());
    std::printf("index rewrites: %d\n", rewrites);
    std::printf("copies in %s\n", (root / "out").c_str());
    return runMs;
}

// `cp -r` of the disc's files in ms.
double copyWithCp(const std::string& dir) {
    const fs::path root = fs::absolute(dir);
    fs::remove_all(root / "cp-copy");
    const std::string command =
        "cp -r '" + (root / "cd").string() + "' '" + (root / "cp-copy").string() + "'";
    const auto t = Clock::now();
    if (std::system(command.c_str()) != 0) throw std::runtime_error("cp failed");
    return since(t);
}

// 2,500 and 10,000 files in one folder: the copy command beside cp -r of the
// same files, the ratio, and the time per file at 10,000 against 2,500.
int compare(const std::string& dir) {
    double perFile[2] = {0, 0};
    const int counts[2] = {2500, 10000};
    for (int k = 0; k < 2; ++k) {
        const fs::path at = fs::path(dir) / std::to_string(counts[k]);
        fs::remove_all(at);
        generate(at.string(), 1, counts[k]);
        copyWithCp(at.string());  // the source read into the cache once
        const double command = run(at.string());
        const double cp = copyWithCp(at.string());
        perFile[k] = command / counts[k];
        std::printf(
            "%d files in one folder: copy command %.1f ms, cp -r %.1f ms: %.2fx cp -r; "
            "%.4f ms per file\n",
            counts[k], command, cp, command / cp, perFile[k]);
        fs::remove_all(at);
    }
    std::printf("time per file at 10,000 / at 2,500: %.2fx\n", perFile[1] / perFile[0]);
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: bench_mirror gen <dir> [n]   writes the disc's files and its index\n"
                 "                                    (n files in one folder)\n"
                 "       bench_mirror run <dir>   copies the ticked files with the copy command\n"
                 "       bench_mirror compare <dir>   2,500 and 10,000 files in one folder,\n"
                 "                                    each beside cp -r\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "gen" && argc == 3) return generate(argv[2]);
        if (mode == "gen" && argc == 4) return generate(argv[2], 1, std::stoi(argv[3]));
        if (mode == "run" && argc == 3) return run(argv[2]) >= 0 ? 0 : 1;
        if (mode == "compare" && argc == 3) return compare(argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return usage();
}
