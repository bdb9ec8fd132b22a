// A write that fails at one step, as a full disk (61) or a device error (57)
// makes it fail: while a FailingStep lives, the files layer's first change of
// that step (committed_write.h: CreateTemp, Write, SyncData, Rename, ...)
// raises the error instead, and, with `from`, every such change from the
// from-th on (a disk that fills up part-way).
//
//     for (const testsupport::StepFailure& f : testsupport::commitFailures()) {
//         SCOPED_TRACE(f.name());
//         testsupport::FailingStep failing(f);
//         ...the gesture; the old bytes are there, the user told once...
//     }
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/files/committed_write.h"

namespace testsupport {

struct StepFailure {
    platform::files::CommitStep step;
    int number;  // the error raised (platform::err)
    int from = 1;

    std::string name() const {
        static const char* const names[] = {"CreateTemp", "Write",      "SyncData",
                                            "Rename",     "SyncFolder", "Remove",
                                            "MakeFolder", "Link",       "SetAttributes"};
        return std::string(names[static_cast<int>(step)]) + " " + std::to_string(number);
    }
};

// The steps of a commit before its rename, each failing with a full disk and
// with a device error: the target keeps its old bytes in every case.
inline std::vector<StepFailure> commitFailures() {
    using platform::files::CommitStep;
    std::vector<StepFailure> out;
    for (CommitStep step :
         {CommitStep::CreateTemp, CommitStep::Write, CommitStep::SyncData, CommitStep::Rename})
        for (int number : {platform::err::DiskFull, platform::err::DeviceIO})
            out.push_back({step, number});
    return out;
}

class FailingStep {
  public:
    explicit FailingStep(StepFailure failure)
        : hook_([failure, seen = 0](platform::files::CommitStep step, const std::string&) mutable {
              if (step == failure.step && ++seen >= failure.from)
                  throw platform::Error(failure.number);
          }) {}

  private:
    platform::files::ScopedCommitHook hook_;
};

// The temporary files of the files layer left in a native folder (none after
// any failure).
inline std::vector<std::string> tempFilesIn(const std::string& nativeFolder) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(nativeFolder))
        if (e.path().filename().string().starts_with(platform::files::TempFilePrefix))
            out.push_back(e.path().string());
    return out;
}

}  // namespace testsupport
