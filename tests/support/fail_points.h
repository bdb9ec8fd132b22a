// Failing a command at one change: the hook of the committed-write path
// (committed_write.h) raises platform::Error before the command's step-th
// change (a full disk: 61, an I/O error: 57), in this process.
//
// A multi-file command tells a failure unless the failing change came after
// the write had taken effect: the folder sync after the rename of a stored
// file, or the removal of the pending-work record at its end. `failed`
// reports whether the step was reached, `told` whether a message is to come;
// the harness's Ui gets an OK queued for it when the step fails.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "support/harness.h"
#include "support/kill_points.h"

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

class FailBefore {
  public:
    FailBefore(Harness& h, int step, int number)
        : hook_(
              [this, &h, step, number](platform::files::CommitStep kind, const std::string& path) {
                  using platform::files::CommitStep;
                  if (kind == CommitStep::Rename) lastRename_ = path;
                  if (++seen_ != step) return;
                  failed = true;
                  const bool afterRename =
                      kind == CommitStep::SyncFolder && !isPendingRecord(lastRename_);
                  const bool recordRemoval = kind == CommitStep::Remove && isPendingRecord(path);
                  told = !afterRename && !recordRemoval;
                  if (told) h.ui.answerMsgBox(platform::MsgOK);
                  platform::raise(number);
              }) {}

    bool failed = false;
    bool told = false;

  private:
    static bool isPendingRecord(const std::string& path) { return path.ends_with("/pending.ini"); }
    int seen_ = 0;
    std::string lastRename_;
    platform::files::ScopedCommitHook hook_;
};

}  // namespace testsupport

namespace testsupport {

// Runs the command on a machine made by prepare, failing at its step-th
// change with a full disk (61) and with an I/O error (57), for every step
// from 1 to changes, and calls check with the harness, the step, and
// whether a message was due (messagesBefore: the boxes the command shows
// before it changes anything, a question say).
inline void failAtEveryChange(int changes, const std::function<void(Harness&)>& prepare,
                              const std::function<void(Harness&)>& command,
                              std::size_t messagesBefore,
                              const std::function<void(Harness&, int step, bool told)>& check) {
    for (const int number : {platform::err::DiskFull, platform::err::DeviceIO}) {
        for (int step = 1; step <= changes; ++step) {
            SCOPED_TRACE("error " + std::to_string(number) + " at change " + std::to_string(step));
            Harness h;
            prepare(h);
            bool told = false;
            {
                FailBefore fail(h, step, number);
                command(h);
                EXPECT_TRUE(fail.failed);
                told = fail.told;
            }
            EXPECT_EQ(h.ui.messages().size(), messagesBefore + (told ? 1 : 0));
            for (const std::string& message : h.ui.messages())
                EXPECT_EQ(message.find("运行时错误"), std::string::npos) << message;
            check(h, step, told);
        }
    }
}

}  // namespace testsupport
