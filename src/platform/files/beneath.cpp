// Resolving a path beneath an open folder: openat2 with RESOLVE_BENEATH, or a
// walk that follows links the same way where the system has no openat2.
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <deque>
#include <string>
#include <vector>

#include "platform/files/confined.h"
#include "platform/files/files_internal.h"

namespace platform::files {

namespace {

std::atomic<Resolution> chosen{Resolution::Automatic};

constexpr unsigned long long Beneath = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
// As many links as the system follows in one look-up.
constexpr int MaxLinks = 40;

long openat2(int root, const char* path, int flags, unsigned mode) {
    open_how how{};
    how.flags = static_cast<unsigned long long>(flags | O_CLOEXEC);
    how.mode = (flags & (O_CREAT | O_TMPFILE)) ? mode : 0;
    how.resolve = Beneath;
    return ::syscall(SYS_openat2, root, path, &how, sizeof how);
}

// The names of a native relative path, empty ones and "." left out.
std::deque<std::string> namesOf(std::string_view path) {
    std::deque<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view name = path.substr(start, end - start);
        if (!name.empty() && name != ".") names.emplace_back(name);
        start = end + 1;
    }
    return names;
}

// The text of the link open as fd (O_PATH | O_NOFOLLOW).
bool linkText(int fd, std::string& text) {
    std::string buf(256, '\0');
    for (;;) {
        const ssize_t n = ::readlinkat(fd, "", buf.data(), buf.size());
        if (n < 0) return false;
        if (static_cast<std::size_t>(n) < buf.size()) {
            text.assign(buf.data(), static_cast<std::size_t>(n));
            return true;
        }
        buf.resize(buf.size() * 2);
    }
}

// The walk: each name opened with O_PATH | O_NOFOLLOW in the folder reached
// so far; a link's text takes its place (its names resolved from the folder
// that holds it), an absolute one or a ".." above root ends the walk with
// EXDEV, as openat2 would.
int walkBeneath(int root, const std::string& relative, int flags, unsigned mode) {
    const bool followLast = !(flags & O_NOFOLLOW) && !((flags & O_CREAT) && (flags & O_EXCL));
    std::vector<detail::Fd> folders;  // the folders entered below root, innermost last
    std::deque<std::string> rest = namesOf(relative);
    int links = 0;
    const auto current = [&] { return folders.empty() ? root : folders.back().get(); };
    while (!rest.empty()) {
        const std::string name = std::move(rest.front());
        rest.pop_front();
        const bool last = rest.empty();
        if (name == "..") {
            if (folders.empty()) {
                errno = EXDEV;
                return -1;
            }
            folders.pop_back();
            continue;
        }
        detail::Fd entry(::openat(current(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        if (!entry.valid()) {
            if (last && errno == ENOENT && (flags & O_CREAT))
                return ::openat(current(), name.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
            return -1;
        }
        struct stat st {};
        if (::fstat(entry.get(), &st) != 0) return -1;
        if (S_ISLNK(st.st_mode) && (!last || followLast)) {
            std::string text;
            if (++links > MaxLinks) {
                errno = ELOOP;
                return -1;
            }
            if (!linkText(entry.get(), text)) return -1;
            if (text.empty()) {
                errno = ENOENT;
                return -1;
            }
            if (text.front() == '/') {
                errno = EXDEV;
                return -1;
            }
            const std::deque<std::string> names = namesOf(text);
            rest.insert(rest.begin(), names.begin(), names.end());
            continue;
        }
        if (last) {
            // The handle held is the answer when a handle is all that is asked for.
            if ((flags & O_PATH) &&
                (flags & ~(O_PATH | O_NOFOLLOW | O_DIRECTORY | O_CLOEXEC)) == 0) {
                if ((flags & O_DIRECTORY) && !S_ISDIR(st.st_mode)) {
                    errno = ENOTDIR;
                    return -1;
                }
                return entry.release();
            }
            // O_NOFOLLOW: should the name have become a link meanwhile, it fails.
            return ::openat(current(), name.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
        }
        if (!S_ISDIR(st.st_mode)) {
            errno = ENOTDIR;
            return -1;
        }
        folders.push_back(std::move(entry));
    }
    // The path ends in a folder reached ("", "..", a link to a folder).
    return ::openat(current(), ".", (flags & ~(O_NOFOLLOW | O_CREAT | O_EXCL)) | O_CLOEXEC);
}

}  // namespace

bool openat2Available() {
    static const bool available = [] {
        const long fd = openat2(AT_FDCWD, ".", O_PATH, 0);
        if (fd < 0) return false;  // ENOSYS, or refused by a filter (EPERM)
        ::close(static_cast<int>(fd));
        return true;
    }();
    return available;
}

Resolution setResolution(Resolution resolution) { return chosen.exchange(resolution); }

int detail::openBeneath(int root, const std::string& relative, int flags, unsigned mode) {
    const Resolution r = chosen.load();
    if (r == Resolution::Walk || (r == Resolution::Automatic && !openat2Available()))
        return walkBeneath(root, relative, flags, mode);
    const char* path = relative.empty() ? "." : relative.c_str();
    for (int attempt = 0;; ++attempt) {
        const long fd = openat2(root, path, flags, mode);
        if (fd >= 0) return static_cast<int>(fd);
        // EAGAIN: a rename elsewhere raced the look-up; it is tried again.
        if (errno != EAGAIN || attempt >= 16) return -1;
    }
}

}  // namespace platform::files
