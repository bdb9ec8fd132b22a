#include "platform/files/instance_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>

#include "platform/error.h"
#include "platform/files/files_internal.h"

namespace platform::files {

std::optional<InstanceLock> InstanceLock::tryAcquire(const std::string& nativeFolder) {
    const detail::Fd folder = detail::openFolder(nativeFolder);
    const std::string name(InstanceLockFileName);
    // Opened for reading: a lock needs no more, and the file holds nothing.
    detail::Fd file(::openat(folder.get(), name.c_str(),
                             O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    if (!file.valid()) detail::raiseErrno(errno, err::FileNotFound);
    for (;;) {
        if (::flock(file.get(), LOCK_EX | LOCK_NB) == 0) return InstanceLock(file.release());
        if (errno == EWOULDBLOCK) return std::nullopt;
        if (errno != EINTR) detail::raiseErrno(errno, err::FileNotFound);
    }
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

namespace {

bool locksUnavailable = false;

}  // namespace

void setFolderLocksUnavailable(bool unavailable) { locksUnavailable = unavailable; }

FolderLock FolderLock::tryAcquire(const std::string& nativeFolder, Outcome& outcome) {
    // Opened for reading: a descriptor of the path alone takes no lock.
    detail::Fd folder(::open(nativeFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) detail::raiseErrno(errno, err::PathNotFound);
    if (locksUnavailable) {
        outcome = Outcome::Unavailable;
        return {};
    }
    for (;;) {
        if (::flock(folder.get(), LOCK_EX | LOCK_NB) == 0) {
            outcome = Outcome::Taken;
            FolderLock lock;
            lock.lock_.emplace(InstanceLock(folder.release()));
            return lock;
        }
        if (errno == EWOULDBLOCK) {
            outcome = Outcome::Held;
            return {};
        }
        if (errno != EINTR) {
            outcome = Outcome::Unavailable;
            return {};
        }
    }
}

namespace {

std::string bootId() {
    std::ifstream in("/proc/sys/kernel/random/boot_id");
    std::string id;
    std::getline(in, id);
    return id;
}

// The start time (field 22 of /proc/<pid>/stat, after the command in
// parentheses); "" when there is none.
std::string startTime(long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(in, stat);
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return {};
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        if (!(fields >> field)) return {};
    return field;
}

}  // namespace

std::string processIdentity(long pid) {
    const std::string start = startTime(pid);
    const std::string boot = bootId();
    if (start.empty() || boot.empty()) return {};
    return std::to_string(pid) + " " + start + " " + boot;
}

std::string processIdentity() { return processIdentity(static_cast<long>(::getpid())); }

std::optional<bool> processRunning(std::string_view identity) {
    std::istringstream fields{std::string(identity)};
    long pid = 0;
    std::string start, boot;
    if (!(fields >> pid >> start >> boot) || pid <= 0) return std::nullopt;
    const std::string thisBoot = bootId();
    if (thisBoot.empty()) return std::nullopt;
    if (boot != thisBoot) return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) return false;
    const std::string now = startTime(pid);
    if (now.empty()) return std::nullopt;
    return now == start;
}

std::string resolvedFolder(const std::string& nativeFolder) {
    char buf[PATH_MAX];
    return ::realpath(nativeFolder.c_str(), buf) ? std::string(buf) : nativeFolder;
}

}  // namespace platform::files
