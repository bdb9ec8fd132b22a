// The committed-write path: the order of its steps, what a failure or a kill
// at each step leaves, and the sweep of temporary files at start.
#include "platform/files/committed_write.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "files_fixture.h"
#include "platform/files/confined.h"
#include "platform/files/files_internal.h"
#include "platform/files/text_file.h"

namespace {

using namespace platform::files;
using files_test::errorOf;
using files_test::readBytes;
using files_test::writeBytes;
namespace fs = std::filesystem;

// A folder on another file system than the test's temporary folder (the
// shared-memory file system), or none when the machine has no such one.
class OtherFileSystem {
  public:
    explicit OtherFileSystem(const std::string& near) {
        std::string pattern = "/dev/shm/zelbrin-test-XXXXXX";
        if (!::mkdtemp(pattern.data())) return;
        struct stat a {
        }, b{};
        if (::stat(pattern.c_str(), &a) == 0 && ::stat(near.c_str(), &b) == 0 &&
            a.st_dev != b.st_dev) {
            folder_ = pattern;
        } else {
            ::rmdir(pattern.c_str());
        }
    }
    ~OtherFileSystem() {
        std::error_code ec;
        if (folder_) fs::remove_all(*folder_, ec);
    }
    OtherFileSystem(const OtherFileSystem&) = delete;
    OtherFileSystem& operator=(const OtherFileSystem&) = delete;

    const std::optional<std::string>& folder() const { return folder_; }

  private:
    std::optional<std::string> folder_;
};

// C: as in every files test, and D: on another file system when there is one.
class CommitTest : public files_test::FilesTest {
  protected:
    CommitTest() : other_(c()) {
        if (other_.folder()) table().set({.name = "D:", .folder = *other_.folder()});
    }
    const std::optional<std::string>& d() const { return other_.folder(); }

    // Moves a file of D: to C: beneath one root that holds both ("/").
    void moveAcross(const std::string& from, const std::string& to) const {
        ConfinedRoot::openNative("/").rename(d()->substr(1) + "/" + from, c().substr(1) + "/" + to,
                                             OnExisting::Refuse);
    }

    // The temporary files left in C: and D:.
    std::vector<std::string> temps() const {
        std::vector<std::string> names;
        for (const std::optional<std::string>& folder : {std::optional<std::string>(c()), d()}) {
            if (!folder) continue;
            for (const auto& e : fs::directory_iterator(*folder)) {
                const std::string name = e.path().filename().string();
                if (name.rfind(TempFilePrefix, 0) == 0) names.push_back(name);
            }
        }
        return names;
    }

  private:
    OtherFileSystem other_;
};

// An operation that writes one file whole: what is there before, what it
// makes, and where.
struct WholeWrite {
    const char* name;
    std::function<void(CommitTest&)> setUp;
    std::function<void()> run;
    std::string target;                 // native, below C:
    std::optional<std::string> before;  // nothing: no file yet
    std::string after;
    std::optional<std::string> source;  // a moved file: native
};

class CommitSteps : public CommitTest {
  protected:
    std::vector<WholeWrite> writes() {
        std::vector<WholeWrite> w = {
            {"text file beneath a root", [](CommitTest&) {},
             [] {
                 CommittedTextFile out(ConfinedRoot::open("C:\\"), "disk.ini", OnExisting::Replace);
                 out.print("E:\\");
                 out.commit();
             },
             c() + "/disk.ini", "D:\\\r\n", "E:\\\r\n", std::nullopt},
            {"write beneath a root", [](CommitTest&) {},
             [] { ConfinedRoot::open("C:\\").write("ini.ini", "new"); }, c() + "/ini.ini",
             "old\r\n", "new", std::nullopt},
            {"rewrite beneath a root", [](CommitTest&) {},
             [] { WholeFileRewrite(ConfinedRoot::open("C:\\"), "INI.INI", "new"); },
             c() + "/ini.ini", "old\r\n", "new\r\n", std::nullopt},
            {"copy beneath roots",
             [this](CommitTest&) { writeBytes(c() + "/src.txt", "copied bytes"); },
             [] {
                 const ConfinedRoot root = ConfinedRoot::open("C:\\");
                 root.copyInto("dst.ini", root, "src.txt", OnExisting::Replace);
             },
             c() + "/dst.ini", "old\r\n", "copied bytes", std::nullopt},
        };
        if (d()) {
            w.push_back({"move to another file system",
                         [this](CommitTest&) { writeBytes(*d() + "/moved.wcd", "moved bytes"); },
                         [this] { moveAcross("moved.wcd", "moved.wcd"); }, c() + "/moved.wcd",
                         std::nullopt, "moved bytes", *d() + "/moved.wcd"});
        }
        return w;
    }

    void prepare(const WholeWrite& w) {
        std::error_code ec;
        fs::remove(w.target, ec);
        if (w.before) writeBytes(w.target, *w.before);
        w.setUp(*this);
    }

    // The target holds exactly the old or exactly the new bytes, and a moved
    // file is never lost.
    void expectWhole(const WholeWrite& w, bool renamed) {
        if (renamed) {
            EXPECT_EQ(readBytes(w.target), w.after);
        } else if (w.before) {
            EXPECT_EQ(readBytes(w.target), *w.before);
        } else {
            EXPECT_FALSE(fs::exists(w.target));
        }
        if (w.source && !renamed) {
            EXPECT_EQ(readBytes(*w.source), w.after);
        }
    }
};

std::string folderOf(const std::string& native) { return fs::path(native).parent_path().string(); }

TEST_F(CommitSteps, DataAreSyncedBeforeTheRenameAndTheFolderAfterIt) {
    for (const WholeWrite& w : writes()) {
        SCOPED_TRACE(w.name);
        prepare(w);
        std::vector<std::pair<CommitStep, std::string>> steps;
        bool sourceKeptUntilTargetDurable = true;
        {
            const ScopedCommitHook hook([&](CommitStep step, const std::string& path) {
                steps.emplace_back(step, path);
                if (w.source && step == CommitStep::SyncFolder && path == folderOf(w.target))
                    sourceKeptUntilTargetDurable = fs::exists(*w.source);
            });
            w.run();
        }
        const auto last = [&](CommitStep step, const std::function<bool(const std::string&)>& is) {
            const auto it = std::find_if(steps.rbegin(), steps.rend(), [&](const auto& s) {
                return s.first == step && is(s.second);
            });
            EXPECT_NE(it, steps.rend()) << static_cast<int>(step);
            return steps.rend() - it - 1;
        };
        const std::string folder = folderOf(w.target);
        const auto synced = last(CommitStep::SyncData, [&](const std::string& p) {
            return p.rfind(folder + "/" + std::string(TempFilePrefix), 0) == 0;
        });
        const auto renamed =
            last(CommitStep::Rename, [&](const std::string& p) { return p == w.target; });
        const auto folderSynced =
            last(CommitStep::SyncFolder, [&](const std::string& p) { return p == folder; });
        EXPECT_LT(synced, renamed);
        EXPECT_LT(renamed, folderSynced);
        if (w.source) {
            // The original goes only once its copy is durable, and its
            // folder is synced after that.
            EXPECT_TRUE(sourceKeptUntilTargetDurable);
            EXPECT_FALSE(fs::exists(*w.source));
            const auto sourceFolderSynced = last(CommitStep::SyncFolder, [&](const std::string& p) {
                return p == folderOf(*w.source);
            });
            EXPECT_LT(folderSynced, sourceFolderSynced);
        }
        EXPECT_EQ(readBytes(w.target), w.after);
        EXPECT_TRUE(temps().empty());
    }
    if (!d()) GTEST_SKIP() << "no second file system: the move between file systems was not tried";
}

// Each step in turn fails (the hook throws) or the process is killed there (a
// child process ends at that step without any clean-up). The target then
// holds exactly its old or its new bytes; a failure leaves no temporary file,
// and the sweep of the next start removes what a kill left. A failure after
// the rename (the folder sync) is no failure of the write: the target is
// told as not confirmed.
TEST_F(CommitSteps, AFailureOrAKillAtAnyStepLeavesTheOldOrTheNewFileWhole) {
    const CommitStep allSteps[] = {CommitStep::CreateTemp, CommitStep::Write, CommitStep::SyncData,
                                   CommitStep::Rename, CommitStep::SyncFolder};
    for (const WholeWrite& w : writes()) {
        for (const CommitStep failing : allSteps) {
            const bool renamed = failing == CommitStep::SyncFolder;
            SCOPED_TRACE(std::string(w.name) + ", step " +
                         std::to_string(static_cast<int>(failing)));

            prepare(w);
            takeUnconfirmedWrites();
            {
                const ScopedCommitHook hook([failing](CommitStep step, const std::string&) {
                    if (step == failing) throw platform::Error(57);
                });
                EXPECT_EQ(errorOf(w.run), renamed ? 0 : 57);
            }
            expectWhole(w, renamed);
            EXPECT_TRUE(temps().empty());
            EXPECT_EQ(takeUnconfirmedWrites(),
                      renamed ? std::vector<std::string>{w.target} : std::vector<std::string>{});

            prepare(w);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                const ScopedCommitHook hook([failing](CommitStep step, const std::string&) {
                    if (step == failing) ::_exit(0);
                });
                try {
                    w.run();
                } catch (...) {
                }
                ::_exit(1);  // the step was never reached
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            expectWhole(w, renamed);
            const auto nextStart = std::chrono::system_clock::now() + std::chrono::seconds(1);
            sweepTempFiles(c(), nextStart);
            if (d()) sweepTempFiles(*d(), nextStart);
            EXPECT_TRUE(temps().empty());
        }
    }
}

TEST_F(CommitTest, ABatchSyncsEachFileSystemOnceAtItsEnd) {
    writeBytes(c() + "/src.txt", "copied bytes");
    fs::create_directories(c() + "/sub");
    std::vector<std::pair<CommitStep, std::string>> steps;
    const ScopedCommitHook hook(
        [&](CommitStep step, const std::string& path) { steps.emplace_back(step, path); });
    const auto count = [&](CommitStep step) {
        return std::count_if(steps.begin(), steps.end(),
                             [step](const auto& s) { return s.first == step; });
    };
    const ConfinedRoot root = ConfinedRoot::open("C:\\");
    {
        SyncBatch batch;
        root.copyInto("a.txt", root, "src.txt", OnExisting::Replace);
        root.copyInto("sub\\b.txt", root, "src.txt", OnExisting::Replace);
        WholeFileRewrite(root, "sub\\c.ini", "new");
        // Whole under their names, not yet synced.
        EXPECT_EQ(readBytes(c() + "/a.txt"), "copied bytes");
        EXPECT_EQ(readBytes(c() + "/sub/c.ini"), "new\r\n");
        EXPECT_EQ(count(CommitStep::Rename), 3);
        EXPECT_EQ(count(CommitStep::SyncData), 0);
        EXPECT_EQ(count(CommitStep::SyncFolder), 0);
        // One sync for the one file system written to.
        batch.finish();
        EXPECT_EQ(count(CommitStep::SyncFolder), 1);
        batch.finish();
        EXPECT_EQ(count(CommitStep::SyncFolder), 1);
    }
    // After the batch each commit syncs on its own again.
    steps.clear();
    root.copyInto("d.txt", root, "src.txt", OnExisting::Replace);
    EXPECT_EQ(count(CommitStep::SyncData), 1);
    EXPECT_EQ(count(CommitStep::SyncFolder), 1);
    EXPECT_TRUE(temps().empty());
}

TEST_F(CommitTest, AMoveWithinAFileSystemSyncsBothFoldersAfterTheRename) {
    writeBytes(c() + "/a/x.wcd", "x");
    fs::create_directories(c() + "/b");
    std::vector<std::pair<CommitStep, std::string>> steps;
    {
        const ScopedCommitHook hook(
            [&](CommitStep step, const std::string& path) { steps.emplace_back(step, path); });
        ConfinedRoot::open("C:\\").rename("a\\x.wcd", "b\\x.wcd", OnExisting::Refuse);
    }
    const std::vector<std::pair<CommitStep, std::string>> expected = {
        {CommitStep::Rename, c() + "/b/x.wcd"},
        {CommitStep::SyncFolder, c() + "/b"},
        {CommitStep::SyncFolder, c() + "/a"},
    };
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(readBytes(c() + "/b/x.wcd"), "x");
}

TEST_F(CommitTest, AMoveToAnotherFileSystemKeepsTimeAndModeAndRemovesTheOriginal) {
    if (!d()) GTEST_SKIP() << "no second file system";
    writeBytes(*d() + "/disc.wcd", "index");
    ::chmod((*d() + "/disc.wcd").c_str(), 0640);
    const auto then = fs::file_time_type::clock::now() - std::chrono::hours(48);
    fs::last_write_time(*d() + "/disc.wcd", then);
    moveAcross("disc.wcd", "Disc.wcd");
    EXPECT_EQ(readBytes(c() + "/Disc.wcd"), "index");
    EXPECT_EQ(fs::last_write_time(c() + "/Disc.wcd"), then);
    EXPECT_EQ(fs::status(c() + "/Disc.wcd").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_FALSE(fs::exists(*d() + "/disc.wcd"));
    // Never over an existing file, and never a folder.
    writeBytes(*d() + "/disc.wcd", "second");
    EXPECT_EQ(errorOf([this] { moveAcross("disc.wcd", "Disc.wcd"); }), 58);
    fs::create_directories(*d() + "/folder");
    EXPECT_EQ(errorOf([this] { moveAcross("folder", "folder"); }), 75);
    EXPECT_EQ(readBytes(*d() + "/disc.wcd"), "second");
    EXPECT_TRUE(temps().empty());
}

TEST_F(CommitTest, RefuseNeverReplacesAFileThatAppearedMeanwhile) {
    CommittedFile file(c() + "/new.wcd", OnExisting::Refuse);
    file.write("mine");
    writeBytes(c() + "/new.wcd", "theirs");
    EXPECT_EQ(errorOf([&] { file.commit(); }), 58);
    EXPECT_EQ(readBytes(c() + "/new.wcd"), "theirs");
    EXPECT_TRUE(temps().empty());
}

TEST_F(CommitTest, TheNewFileHasExactlyTheModeAskedFor) {
    const mode_t umaskBefore = ::umask(077);
    for (const unsigned mode : {0600u, 0640u, 0444u}) {
        CommittedFile file(c() + "/f", OnExisting::Replace, mode);
        file.commit();
        struct stat st {};
        ASSERT_EQ(::stat((c() + "/f").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
    }
    ::umask(umaskBefore);
}

TEST_F(CommitTest, TheSweepRemovesOnlyOurTemporaryFilesOfEndedRuns) {
    const auto start = std::chrono::system_clock::now();
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const std::vector<std::string> removed = {".zeltmp-a1b2c3d4", ".zeltmp-", ".scan.tmp",
                                              "registry.ini.Ab3xZ9", "settings.ini.000000"};
    const std::vector<std::string> kept = {
        "registry.ini", "registry.ini.bak", "settings.ini.Ab3x", "registry.ini.Ab3xZ9z",
        "ini.ini",      ".zeltmp",          "x.zeltmp-a"};
    for (const auto& n : removed) writeBytes(c() + "/" + n, "x");
    for (const auto& n : kept) writeBytes(c() + "/" + n, "x");
    fs::create_directories(c() + "/.zeltmp-folder");
    fs::create_symlink(c() + "/ini.ini", c() + "/.zeltmp-link");
    for (const auto& e : fs::directory_iterator(c())) {
        if (!e.is_symlink()) fs::last_write_time(e.path(), old);
    }
    writeBytes(c() + "/.zeltmp-running", "a run still going");

    EXPECT_EQ(sweepTempFiles(c(), start), static_cast<int>(removed.size()));
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(c())) left.push_back(e.path().filename().string());
    std::vector<std::string> expected = kept;
    expected.insert(expected.end(), {".zeltmp-folder", ".zeltmp-link", ".zeltmp-running"});
    std::sort(left.begin(), left.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
    EXPECT_EQ(sweepTempFiles(c() + "/missing", start), 0);
}

// A folder that will not sync after a rename or a new link: the change has
// happened and stays; the sync is tried once more, and when that fails too
// the changed path is told as not confirmed instead of an error.
TEST_F(CommitTest, AFolderThatWillNotSyncAfterAChangeIsToldNotRaised) {
    struct Change {
        const char* name;
        std::function<void()> run;
        std::string changed;  // native
        std::string expected;
        std::string gone;  // native; "" none
    };
    const ConfinedRoot root = ConfinedRoot::open("C:\\");
    const std::vector<Change> changes = {
        {"write beneath a root", [&] { root.write("a.ini", "new"); }, c() + "/a.ini", "new", ""},
        {"rename beneath a root", [&] { root.rename("old.txt", "b.txt", OnExisting::Refuse); },
         c() + "/b.txt", "old", c() + "/old.txt"},
        {"hard link", [&] { root.hardLink("old.txt", "c.txt"); }, c() + "/c.txt", "old", ""},
        {"move", [&] { root.rename("old.txt", "sub\\d.txt", OnExisting::Refuse); },
         c() + "/sub/d.txt", "old", c() + "/old.txt"},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        fs::create_directories(c() + "/sub");
        writeBytes(c() + "/old.txt", "old");
        takeUnconfirmedWrites();
        for (const int failures : {1, 2}) {
            std::error_code ec;
            fs::remove(change.changed, ec);
            writeBytes(c() + "/old.txt", "old");
            int syncs = 0;
            {
                const ScopedCommitHook hook([&](CommitStep step, const std::string&) {
                    if (step == CommitStep::SyncFolder && ++syncs <= failures)
                        throw platform::Error(57);
                });
                EXPECT_EQ(errorOf(change.run), 0);
            }
            EXPECT_EQ(readBytes(change.changed), change.expected);
            if (!change.gone.empty()) {
                EXPECT_FALSE(fs::exists(change.gone));
            }
            // Failed once: the second try confirmed it.
            EXPECT_EQ(takeUnconfirmedWrites(), failures == 2
                                                   ? std::vector<std::string>{change.changed}
                                                   : std::vector<std::string>{});
            EXPECT_TRUE(takeUnconfirmedWrites().empty());
        }
    }
    EXPECT_TRUE(temps().empty());
}

// Another program's sweep (a second start on the same folder) never takes a
// temporary file a live writer holds, even one that looks old (a copy has its
// source's time), and still removes one a dead run left.
TEST_F(CommitTest, ASweepLeavesATemporaryFileAWriterHolds) {
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    CommittedFile file(c() + "/held.wcd", OnExisting::Replace);
    file.write("being written");
    writeBytes(c() + "/.zeltmp-deadrun1", "left by a kill");
    fs::last_write_time(c() + "/.zeltmp-deadrun1", old);
    const struct timeval times[2] = {{1000, 0}, {1000, 0}};
    ASSERT_EQ(::futimes(file.fd(), times), 0);
    ASSERT_EQ(temps().size(), 2u);

    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The other program started after both files were last written.
        const int removed =
            sweepTempFiles(c(), std::chrono::system_clock::now() + std::chrono::seconds(1));
        ::_exit(removed);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_FALSE(fs::exists(c() + "/.zeltmp-deadrun1"));
    ASSERT_EQ(temps().size(), 1u);
    file.commit();
    EXPECT_EQ(readBytes(c() + "/held.wcd"), "being written");
    // Once committed or discarded nothing is held any more.
    EXPECT_TRUE(temps().empty());
}

// The first write into a folder in a run sweeps the dead temporary files
// there, once; a sweep of a tree goes down folders, never through links.
TEST_F(CommitTest, TheFirstWriteIntoAFolderSweepsItAndATreeSweepTakesItsFolders) {
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const auto dead = [&](const std::string& path) {
        writeBytes(path, "x");
        fs::last_write_time(path, old);
    };
    dead(c() + "/target/.zeltmp-dead0001");
    const ConfinedRoot root = ConfinedRoot::open("C:\\");
    root.write("target\\a.txt", "a");
    EXPECT_FALSE(fs::exists(c() + "/target/.zeltmp-dead0001"));
    // One listing per folder per run.
    dead(c() + "/target/.zeltmp-dead0002");
    root.write("target\\b.txt", "b");
    EXPECT_TRUE(fs::exists(c() + "/target/.zeltmp-dead0002"));

    dead(c() + "/pages/.zeltmp-top00001");
    dead(c() + "/pages/disc/.zeltmp-disc0001");
    dead(c() + "/pages/disc/a/b/.zeltmp-deep0001");
    dead(docs() + "/outside/.zeltmp-outs0001");
    fs::create_directory_symlink(docs() + "/outside", c() + "/pages/link");
    EXPECT_EQ(sweepTempFilesBelow(c() + "/pages", programStartTime()), 3);
    EXPECT_FALSE(fs::exists(c() + "/pages/disc/a/b/.zeltmp-deep0001"));
    EXPECT_TRUE(fs::exists(docs() + "/outside/.zeltmp-outs0001"));
}

}  // namespace
