#include "platform/system/shell.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/error.h"
#include "platform/files/drive_table.h"
#include "support/temp_folder.h"

using namespace platform::system;

namespace {

using testsupport::readBytes;
using testsupport::TempFolder;
using testsupport::writeBytes;

// A drive table of one drive: "C:\" is the temporary folder; "X:\..." throws
// as an unmappable drive does; anything else cannot be mapped.
ToNative driveC(const std::filesystem::path& root) {
    return [root](std::string_view windowsPath) -> std::optional<std::string> {
        if (windowsPath.starts_with("X:")) platform::raise(platform::err::DeviceUnavailable);
        if (!windowsPath.starts_with("C:\\")) return std::nullopt;
        std::string rest(windowsPath.substr(3));
        for (char& c : rest)
            if (c == '\\') c = '/';
        return (root / rest).string();
    };
}

struct LaunchLog {
    std::vector<std::vector<std::string>> argvs;
    std::vector<std::string> workDirs;
    bool succeed = true;

    Launcher launcher() {
        return [this](const std::vector<std::string>& argv, const std::string& workDir) {
            argvs.push_back(argv);
            workDirs.push_back(workDir);
            return succeed;
        };
    }
};

TEST(Shell, RecognisesAddresses) {
    for (std::string url : {"http://example.com/a b", "https://x", "mailto:someone@example.com",
                            "file:///C:/a.txt", "ms-help:x", "svn+ssh:y"})
        EXPECT_TRUE(isUrl(url)) << url;
    for (std::string path : {"C:\\a.txt", "c:", "", "readme.txt", "\\\\server\\share", "1http://x",
                             ":x", "a b:c", "help\\index.html"})
        EXPECT_FALSE(isUrl(path)) << path;
}

class DesktopShellTest : public testing::Test {
  protected:
    void SetUp() override {
        writeBytes(folder_ / "a b.txt", "x");
        std::filesystem::create_directory(folder_ / "docs");
    }
    TempFolder folder_;
    LaunchLog log_;
    DesktopShell shell_{driveC(folder_.path()), "xdg-open", log_.launcher()};
};

TEST_F(DesktopShellTest, AddressGoesThroughUnchanged) {
    EXPECT_EQ(shell_.open("mailto:a@b.cn?subject=光盘", "C:\\"), shell_result::Opened);
    ASSERT_EQ(log_.argvs.size(), 1u);
    EXPECT_EQ(log_.argvs[0], (std::vector<std::string>{"xdg-open", "mailto:a@b.cn?subject=光盘"}));
}

TEST_F(DesktopShellTest, MissingOrUnmappablePathGivesTwoAndStartsNothing) {
    for (std::string target :
         {"C:\\missing.txt", "C:\\docs\\missing\\a.txt", "Q:\\a.txt", "X:\\a.txt", ""})
        EXPECT_EQ(shell_.open(target, "C:\\"), shell_result::FileNotFound) << target;
    EXPECT_TRUE(log_.argvs.empty());
}

TEST_F(DesktopShellTest, ExistingFileOrFolderIsOpenedByNativePath) {
    EXPECT_EQ(shell_.open("C:\\a b.txt", "C:\\docs"), shell_result::Opened);
    EXPECT_EQ(shell_.open("C:\\docs", ""), shell_result::Opened);
    ASSERT_EQ(log_.argvs.size(), 2u);
    EXPECT_EQ(log_.argvs[0],
              (std::vector<std::string>{"xdg-open", (folder_ / "a b.txt").string()}));
    EXPECT_EQ(log_.workDirs[0], (folder_ / "docs").string());
    EXPECT_EQ(log_.argvs[1], (std::vector<std::string>{"xdg-open", (folder_ / "docs").string()}));
    EXPECT_EQ(log_.workDirs[1], "");
}

TEST_F(DesktopShellTest, OpenerThatCannotStartIsReportedAsNoAssociation) {
    log_.succeed = false;
    EXPECT_EQ(shell_.open("C:\\a b.txt", "C:\\"), shell_result::NoAssociation);
}

// Waits (up to a generous bound) for a condition that a background process
// brings about.
template <class F>
bool eventually(F condition) {
    for (int i = 0; i < 1000; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// Children of this process that have ended but were not reaped.
int zombieChildren() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::string stat = readBytes(entry.path() / "stat");
        std::size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        char state = 0;
        int parent = 0;
        if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &parent) == 2 &&
            parent == ::getpid() && state == 'Z')
            ++count;
    }
    return count;
}

TEST(SpawnDetached, RunsProgramWithArgumentVectorNotThroughShell) {
    TempFolder folder;
    const std::string name = "it's a \"name\"; $(echo no) *.txt";
    ASSERT_TRUE(
        spawnDetached({"touch", name}, folder.path().string()));  // relative to the work folder
    EXPECT_TRUE(eventually([&] { return std::filesystem::exists(folder / name); }));
    EXPECT_TRUE(eventually([] { return zombieChildren() == 0; }));
}

TEST(SpawnDetached, MissingProgramIsReported) {
    EXPECT_FALSE(spawnDetached({"/nonexistent/zelbrin-no-such-opener", "x"}));
    EXPECT_FALSE(spawnDetached({}));
}

TEST(SpawnDetached, DesktopShellStartsTheGivenOpener) {
    TempFolder folder;
    writeBytes(folder / "a.txt", "x");
    DesktopShell shell(driveC(folder.path()), "/bin/true");
    EXPECT_EQ(shell.open("C:\\a.txt", "C:\\"), shell_result::Opened);
    DesktopShell broken(driveC(folder.path()), "/nonexistent/zelbrin-no-such-opener");
    EXPECT_EQ(broken.open("C:\\a.txt", "C:\\"), shell_result::NoAssociation);
    EXPECT_TRUE(eventually([] { return zombieChildren() == 0; }));
}

TEST(DesktopShell, MapsThroughTheFilesLayerByDefault) {
    TempFolder folder;
    writeBytes(folder / "Readme.TXT", "x");
    platform::files::DriveTable table;
    table.set({.name = "C:", .folder = folder.path().string()});
    platform::files::ScopedDriveTable scoped(table);
    LaunchLog log;
    DesktopShell shell(filesToNative(), "xdg-open", log.launcher());
    EXPECT_EQ(shell.open("c:\\readme.txt", "C:\\"),
              shell_result::Opened);  // case-insensitive look-up
    EXPECT_EQ(shell.open("C:\\missing.txt", "C:\\"), shell_result::FileNotFound);
    EXPECT_EQ(shell.open("C:\\..\\..\\etc\\passwd", "C:\\"),
              shell_result::FileNotFound);                                   // refused (52)
    EXPECT_EQ(shell.open("Q:\\a.txt", "C:\\"), shell_result::FileNotFound);  // no such drive (68)
    ASSERT_EQ(log.argvs.size(), 1u);
    EXPECT_EQ(log.argvs[0][1], (folder / "Readme.TXT").string());
    EXPECT_EQ(log.workDirs[0], folder.path().string());
}

TEST(RecordingShell, RecordsCallsAndAnswersLikeTheShell) {
    TempFolder folder;
    writeBytes(folder / "a.txt", "x");
    RecordingShell shell(driveC(folder.path()));
    shell.setResult("C:\\fixed.txt", 42);
    EXPECT_EQ(shell.open("C:\\a.txt", "C:\\"), shell_result::Opened);
    EXPECT_EQ(shell.open("C:\\gone.txt", "C:\\"), shell_result::FileNotFound);
    EXPECT_EQ(shell.open("http://x.cn", ""), shell_result::Opened);
    EXPECT_EQ(shell.open("C:\\fixed.txt", ""), 42);
    ASSERT_EQ(shell.calls().size(), 4u);
    EXPECT_EQ(shell.calls()[0].opened, (folder / "a.txt").string());
    EXPECT_EQ(shell.calls()[0].workDir, "C:\\");
    EXPECT_EQ(shell.calls()[1].target, "C:\\gone.txt");
    EXPECT_EQ(shell.calls()[1].opened, "");
    EXPECT_EQ(shell.calls()[2].opened, "http://x.cn");

    RecordingShell anything;  // without a drive table every path exists
    anything.setResult("C:\\gone.txt", shell_result::FileNotFound);
    EXPECT_EQ(anything.open("C:\\a.txt", ""), shell_result::Opened);
    EXPECT_EQ(anything.open("C:\\gone.txt", ""), shell_result::FileNotFound);
}

TEST(DesktopFolder, FromUserDirsFileElseDesktopInHome) {
    struct Case {
        const char* file;  // user-dirs.dirs, nullptr for none
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, "/home/u/Desktop"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", "/home/u/Desktop"},
        {"# comment\nXDG_DESKTOP_DIR=\"$HOME/桌面\"\n", "/home/u/桌面"},
        {"XDG_DESKTOP_DIR=\"/data/my desk/\"\n", "/data/my desk"},
        {"XDG_DESKTOP_DIRX=\"/x\"\n", "/home/u/Desktop"},
    };
    for (const Case& c : cases) {
        TempFolder config;
        if (c.file != nullptr) writeBytes(config / "user-dirs.dirs", c.file);
        EXPECT_EQ(desktopFolder("/home/u", config.path().string()), c.expected)
            << (c.file ? c.file : "(none)");
    }
}

}  // namespace
