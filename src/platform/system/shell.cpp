#include "platform/system/shell.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/error.h"
#include "platform/files/paths.h"
#include "platform/files/system_probe.h"

extern char** environ;

namespace platform::system {

namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Maps a Windows path, counting a platform::Error as "cannot be mapped".
std::optional<std::string> mapPath(const ToNative& toNative, std::string_view windowsPath) {
    if (!toNative || windowsPath.empty()) return std::nullopt;
    try {
        std::optional<std::string> native = toNative(windowsPath);
        if (native && native->empty()) return std::nullopt;
        return native;
    } catch (const platform::Error&) {
        return std::nullopt;
    }
}

// Waits for the child in the background so that it leaves no zombie.
void reapLater(pid_t pid) {
    try {
        std::thread([pid] {
            while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child stays a zombie until the program ends.
    }
}

}  // namespace

bool isUrl(std::string_view target) {
    std::size_t colon = target.find(':');
    if (colon == std::string_view::npos || colon < 2 || !isAsciiLetter(target[0])) return false;
    for (std::size_t i = 1; i < colon; ++i) {
        char c = target[i];
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

std::optional<std::string> resolveShellTarget(std::string_view target, const ToNative& toNative) {
    if (isUrl(target)) return std::string(target);
    std::optional<std::string> native = mapPath(toNative, target);
    std::error_code ec;
    if (!native || !std::filesystem::exists(*native, ec)) return std::nullopt;
    return native;
}

bool spawnDetached(const std::vector<std::string>& argv, const std::string& nativeWorkDir) {
    if (argv.empty() || argv.front().empty()) return false;
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::error_code ec;
    if (!nativeWorkDir.empty() && std::filesystem::is_directory(nativeWorkDir, ec))
        posix_spawn_file_actions_addchdir_np(&actions, nativeWorkDir.c_str());

    // A session of its own; no blocked signals, and the signals a program
    // commonly ignores back at their defaults (an ignored signal survives exec).
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t noSignals;
    sigemptyset(&noSignals);
    posix_spawnattr_setsigmask(&attr, &noSignals);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGCHLD}) sigaddset(&defaults, sig);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    int rc = ::posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    reapLater(pid);
    return true;
}

DesktopShell::DesktopShell(ToNative toNative, std::string opener, Launcher launcher)
    : toNative_(std::move(toNative)), opener_(std::move(opener)), launcher_(std::move(launcher)) {}

int DesktopShell::open(std::string_view target, std::string_view workDir) {
    std::optional<std::string> opened = resolveShellTarget(target, toNative_);
    if (!opened) return shell_result::FileNotFound;
    std::string nativeWorkDir = mapPath(toNative_, workDir).value_or(std::string());
    return launcher_({opener_, *opened}, nativeWorkDir) ? shell_result::Opened
                                                        : shell_result::NoAssociation;
}

RecordingShell::RecordingShell(ToNative toNative) : toNative_(std::move(toNative)) {}

int RecordingShell::open(std::string_view target, std::string_view workDir) {
    Call call{std::string(target), std::string(workDir), {}};
    int result = shell_result::Opened;
    if (auto fixed = results_.find(target); fixed != results_.end()) {
        result = fixed->second;
        if (result > 32) call.opened = call.target;
    } else if (!toNative_ && !target.empty()) {
        call.opened = call.target;
    } else if (std::optional<std::string> opened = resolveShellTarget(target, toNative_)) {
        call.opened = *opened;
    } else {
        result = shell_result::FileNotFound;
    }
    calls_.push_back(std::move(call));
    return result;
}

void RecordingShell::setResult(std::string target, int result) {
    results_[std::move(target)] = result;
}

std::string desktopFolder(const std::string& home, const std::string& configHome) {
    return files::userFolder("XDG_DESKTOP_DIR", "Desktop", home, configHome);
}

std::string desktopFolder() { return desktopFolder(files::homeFolder(), files::xdgConfigHome()); }

ToNative filesToNative() {
    return [](std::string_view windowsPath) -> std::optional<std::string> {
        return files::toNative(windowsPath);
    };
}

}  // namespace platform::system
