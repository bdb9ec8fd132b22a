#include "platform/files/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
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

std::string resolvedFolder(const std::string& nativeFolder) {
    char buf[PATH_MAX];
    return ::realpath(nativeFolder.c_str(), buf) ? std::string(buf) : nativeFolder;
}

}  // namespace platform::files
