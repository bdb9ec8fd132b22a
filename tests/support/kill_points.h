// Cutting a command short: the command runs in a child process that dies
// before its n-th change of a file (every change the files layer makes counts:
// each step of a committed write, a removal, a rename, a new folder or link, a
// change of attributes), as a power cut or a kill would leave it. The test
// then starts the program anew on the same files (Harness's NextStart
// constructor) and checks what it finds.
//
//     for (int step = 1; ; ++step) {
//         Harness h; ...prepare...; h.start();
//         if (!testsupport::runKilledBefore(step, [&] { ...the gesture... })) break;
//         Harness next(h, Harness::NextStart);
//         next.start();
//         ...old state or new state, nothing between...
//     }
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/files/committed_write.h"

namespace testsupport {

// Runs command in a child process killed before its step-th change (1 the
// first). True when it was killed there; false when the command made fewer
// changes and ended by itself (nothing more to cut). The child's test
// failures and messages are not seen: the parent judges by the files.
inline bool runKilledBefore(int step, const std::function<void()>& command) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        int seen = 0;
        platform::files::setCommitHook(
            [&seen, step](platform::files::CommitStep, const std::string&) {
                if (++seen == step) ::_exit(0);
            });
        try {
            command();
        } catch (...) {
        }
        ::_exit(1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child) throw std::runtime_error("waitpid failed");
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The number of changes command makes when it runs to its end (in a child
// process, so nothing here changes): the kill points to try are 1 to this.
inline int countChanges(const std::function<void()>& command) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        ::close(fds[0]);
        int seen = 0;
        platform::files::setCommitHook(
            [&seen](platform::files::CommitStep, const std::string&) { ++seen; });
        try {
            command();
        } catch (...) {
        }
        (void)!::write(fds[1], &seen, sizeof seen);
        ::_exit(0);
    }
    ::close(fds[1]);
    int seen = -1;
    if (::read(fds[0], &seen, sizeof seen) != static_cast<ssize_t>(sizeof seen)) seen = -1;
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return seen;
}

}  // namespace testsupport
