// Failing a command at one change: the hook of the committed-write path
// (committed_write.h) raises platform::Error before the command's step-th
// change (a full disk: 61, an I/O error: 57), in this process.
//
// A multi-file command tells a failure with one message of its own, except
// at a folder sync (the files layer tries it again: once failing, nothing is
// told; failing on both tries, the written file is kept and the dispatcher
// names it once as not confirmed by the disk) and at the removal of the
// pending-work record at its end (silent).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/pending_work.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/paths.h"
#include "platform/ui/dispatcher.h"
#include "support/harness.h"
#include "support/kill_points.h"
#include "support/outside_snapshot.h"

namespace testsupport {

// True when the folder (a Windows path) holds a temporary file of the
// committed-write path.
inline bool holdsTempFile(const Harness& h, std::string_view folder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(h.nativePath(folder), ec))
        if (entry.path().filename().string().starts_with(platform::files::TempFilePrefix))
            return true;
    return false;
}

// Dates the temporary files of the folder back before this program's start:
// the next start in this same process then sees them as a later process
// would, as files left by a run that has ended.
inline void ageTempFiles(const Harness& h, std::string_view folder) {
    std::error_code ec;
    const auto before = std::chrono::file_clock::from_sys(platform::files::programStartTime()) -
                        std::chrono::hours(1);
    for (const auto& entry : std::filesystem::directory_iterator(h.nativePath(folder), ec))
        if (entry.path().filename().string().starts_with(platform::files::TempFilePrefix))
            std::filesystem::last_write_time(entry.path(), before, ec);
}

// Runs the command killed before each of its changes, each time on a machine
// made by prepare, and calls check with the harness the kill left (before
// the next start). Returns the number of changes the command makes.
inline int killBeforeEveryChange(const std::function<void(Harness&)>& prepare,
                                 const std::function<void(Harness&)>& command,
                                 const std::function<void(Harness&)>& check) {
    int changes = 0;
    {
        Harness h;
        prepare(h);
        changes = countChanges([&] { command(h); });
    }
    for (int step = 1; step <= changes; ++step) {
        SCOPED_TRACE("killed before change " + std::to_string(step));
        Harness h;
        prepare(h);
        if (!runKilledBefore(step, [&] { command(h); })) {
            ADD_FAILURE() << "not killed";
            continue;
        }
        check(h);
    }
    return changes;
}

// How often the failing change fails: once, or, when it is a folder sync,
// on its retry too (the files layer tries a folder sync twice).
enum class Tries { Once, Twice };

// Fails the step-th change the files layer tells its hook of, raising
// platform::Error(number) in its place. With Tries::Twice, a failing folder
// sync fails again when it is tried again (the next change, the same
// folder): the file written before it is then kept and told as not confirmed
// by the disk. onFail runs when the change fails the first time (to queue
// the answer of the box that will tell it).
class FailAtChange {
  public:
    using CommitStep = platform::files::CommitStep;
    FailAtChange(int step, int number, Tries tries = Tries::Once,
                 std::function<void(const FailAtChange&)> onFail = {})
        : hook_([this, step, number, tries, onFail = std::move(onFail)](CommitStep kind,
                                                                        const std::string& at) {
              ++seen_;
              if (seen_ == step + 1 && failed && this->kind == CommitStep::SyncFolder &&
                  kind == CommitStep::SyncFolder && at == path) {
                  retried = true;
                  if (tries == Tries::Twice) {
                      unconfirmed = true;
                      platform::raise(number);
                  }
                  return;
              }
              if (seen_ != step) {
                  if (kind == CommitStep::Rename || kind == CommitStep::Link) written = at;
                  return;
              }
              failed = true;
              this->kind = kind;
              path = at;
              if (onFail) onFail(*this);
              platform::raise(number);
          }) {}

    bool failed = false;
    CommitStep kind{};         // the failing change
    std::string path;          // its native path
    std::string written;       // the target of the last rename or link before it
    bool retried = false;      // it was a folder sync, tried again
    bool unconfirmed = false;  // ... and it failed again

    // The box the dispatcher shows for the written file when the folder
    // sync failed on both tries.
    std::string unconfirmedBox() const {
        return platform::Dispatcher::unconfirmedMessage({platform::files::toWindows(written)});
    }

  private:
    int seen_ = 0;
    platform::files::ScopedCommitHook hook_;
};

// Fails a command at its step-th change and queues the OK of the one box
// that is to tell it: the command's own message, or, for a folder sync that
// fails on both tries, the dispatcher's box naming the file the disk did not
// confirm. A folder sync that fails once is tried again and tells nothing,
// and neither does the removal of the pending-work record at the end.
class FailBefore {
  public:
    FailBefore(Harness& h, int step, int number, Tries tries = Tries::Once)
        : change(step, number, tries,
                 [this, &h](const FailAtChange& c) {
                     const bool sync = c.kind == platform::files::CommitStep::SyncFolder;
                     const bool recordRemoval = c.kind == platform::files::CommitStep::Remove &&
                                                c.path.ends_with("/pending.ini");
                     told = sync ? twice_ : !recordRemoval;
                     if (!told) return;
                     if (sync)
                         h.ui.answerMsgBox(platform::MsgOK, c.unconfirmedBox());
                     else
                         h.ui.answerMsgBox(platform::MsgOK);
                 }),
          twice_(tries == Tries::Twice) {}

    FailAtChange change;
    bool told = false;

  private:
    bool twice_;
};

}  // namespace testsupport

namespace testsupport {

// What the files of the machine hold (below C:\), by path relative to it.
inline OutsideSnapshot machineFiles(const Harness& h) {
    const std::string top = h.nativePath("C:\\");
    OutsideSnapshot files;
    for (auto& [path, what] : outsideSnapshot(top)) files[path.substr(top.size())] = what;
    return files;
}

// The change that failed in one run of failAtEveryChange.
struct FailedChange {
    int step = 0;  // 1 the first change of the command
    platform::files::CommitStep kind{};
    Tries tries = Tries::Once;
    bool told = false;  // a box told it

    // The command itself failed and said so (not a folder sync, which the
    // files layer tries again and never fails the command).
    bool toldByCommand() const { return told && kind != platform::files::CommitStep::SyncFolder; }
};

// Runs the command on a machine made by prepare, failing at its step-th
// change with a full disk (61) and with an I/O error (57), for every step
// from 1 to changes (the number of changes the command makes), and calls
// check with the harness and the failure (messagesBefore: the boxes the
// command shows before it changes anything, a question say). A folder sync
// fails once (tried again, it goes through) and on both tries: either way
// the command's files end as the whole command leaves them, told only by
// the box naming what the disk did not confirm.
inline void failAtEveryChange(int changes, const std::function<void(Harness&)>& prepare,
                              const std::function<void(Harness&)>& command,
                              std::size_t messagesBefore,
                              const std::function<void(Harness&, const FailedChange&)>& check) {
    using platform::files::CommitStep;
    const auto run = [&](Harness& h) {
        platform::Dispatcher::instance().dispatch([&] { command(h); });
    };
    std::vector<CommitStep> kinds;
    OutsideSnapshot whole;
    {
        Harness h;
        prepare(h);
        {
            const platform::files::ScopedCommitHook hook(
                [&](CommitStep kind, const std::string&) { kinds.push_back(kind); });
            run(h);
        }
        h.ui.verifyAllUsed();
        whole = machineFiles(h);
    }
    ASSERT_EQ(static_cast<int>(kinds.size()), changes);
    for (const int number : {platform::err::DiskFull, platform::err::DeviceIO}) {
        for (int step = 1; step <= changes; ++step) {
            const CommitStep kind = kinds[static_cast<std::size_t>(step - 1)];
            for (const Tries tries : {Tries::Once, Tries::Twice}) {
                if (tries == Tries::Twice && kind != CommitStep::SyncFolder) continue;
                SCOPED_TRACE("error " + std::to_string(number) + " at change " +
                             std::to_string(step) + (tries == Tries::Twice ? " twice" : ""));
                Harness h;
                prepare(h);
                FailedChange failure{step, kind, tries, false};
                {
                    FailBefore fail(h, step, number, tries);
                    run(h);
                    EXPECT_TRUE(fail.change.failed);
                    EXPECT_EQ(fail.change.retried, kind == CommitStep::SyncFolder);
                    EXPECT_EQ(fail.change.unconfirmed, tries == Tries::Twice);
                    failure.told = fail.told;
                }
                h.ui.verifyAllUsed();
                EXPECT_EQ(h.ui.messages().size(), messagesBefore + (failure.told ? 1 : 0));
                for (const std::string& message : h.ui.messages())
                    EXPECT_EQ(message.find("运行时错误"), std::string::npos) << message;
                EXPECT_TRUE(platform::files::takeUnconfirmedWrites().empty());
                if (kind == CommitStep::SyncFolder) {
                    EXPECT_EQ(machineFiles(h), whole);
                }
                check(h, failure);
            }
        }
    }
}

// Dates every temporary file below the machine's C: back before this
// program's start (ageTempFiles for all folders at once).
inline void ageAllTempFiles(const Harness& h) {
    std::error_code ec;
    const auto before = std::chrono::file_clock::from_sys(platform::files::programStartTime()) -
                        std::chrono::hours(1);
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(h.nativePath("C:\\"), ec))
        if (entry.path().filename().string().starts_with(platform::files::TempFilePrefix))
            std::filesystem::last_write_time(entry.path(), before, ec);
}

// The finishing of a start: the record left dealt with as Form_Load deals
// with it, the messages it would show.
inline std::vector<std::string> finishingAtStart(const Harness& h) {
    return catalogue::dealWithPendingWork(Harness::ProgramFolder, h.settings, "2024-5-6", true);
}

// What one run of killThenFailTheFinishing found.
struct FailedFinishing {
    int kill = 0;     // the command killed before its kill-th change
    int failing = 0;  // the finishing's failing-th change failed
    int number = 0;   // with this error
    platform::files::CommitStep kind{};
    std::string path;               // the native path of the failing change
    std::vector<std::string> told;  // what the failing finishing told
};

// The command killed before each of its changes (on a machine made by
// prepare); then a start whose finishing fails at each of its changes in
// turn, with a full disk (61) and an I/O error (57); then check, which makes
// the start with room (Harness::NextStart) and judges its state whole old or
// whole new, told once. Between the two starts: no runtime error, at most
// one message, and, unless the failing change was the removal of the record
// itself or a folder sync (tried again), the record is still there and the
// message says which file waits and why. Returns the number of runs.
inline int killThenFailTheFinishing(
    const std::function<void(Harness&)>& prepare, const std::function<void(Harness&)>& command,
    const std::function<void(Harness&, const FailedFinishing&)>& check) {
    using platform::files::CommitStep;
    const std::string pending = "C:\\zelbrin\\guangpan\\pending.ini";
    int changes = 0;
    {
        Harness h;
        prepare(h);
        changes = countChanges([&] { command(h); });
    }
    int runs = 0;
    for (int kill = 1; kill <= changes; ++kill) {
        int finishing = 0;
        {
            Harness h;
            prepare(h);
            if (!runKilledBefore(kill, [&] { command(h); })) continue;
            ageAllTempFiles(h);
            finishing = countChanges([&] { finishingAtStart(h); });
        }
        for (const int number : {platform::err::DiskFull, platform::err::DeviceIO}) {
            for (int failing = 1; failing <= finishing; ++failing) {
                SCOPED_TRACE("killed before change " + std::to_string(kill) + ", the start's " +
                             std::to_string(failing) + ". change failing with " +
                             std::to_string(number));
                Harness h;
                prepare(h);
                EXPECT_TRUE(runKilledBefore(kill, [&] { command(h); }));
                ageAllTempFiles(h);
                FailedFinishing run{kill, failing, number, {}, {}, {}};
                {
                    FailAtChange fail(failing, number);
                    run.told = finishingAtStart(h);
                    EXPECT_TRUE(fail.failed);
                    run.kind = fail.kind;
                    run.path = fail.path;
                    const bool recordRemoval =
                        fail.kind == CommitStep::Remove && fail.path.ends_with("/pending.ini");
                    if (!recordRemoval && fail.kind != CommitStep::SyncFolder) {
                        // Never a record dropped while its work is undone.
                        EXPECT_TRUE(h.exists(pending));
                        EXPECT_EQ(run.told.size(), 1u);
                        for (const std::string& message : run.told)
                            EXPECT_TRUE(message.starts_with("不能保存文件: ") ||
                                        message.starts_with("不能删除文件: "))
                                << message;
                    }
                }
                EXPECT_LE(run.told.size(), 1u);
                for (const std::string& message : run.told)
                    EXPECT_EQ(message.find("运行时错误"), std::string::npos) << message;
                ++runs;
                check(h, run);
            }
        }
    }
    return runs;
}

}  // namespace testsupport
