#include "platform/files/confine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/files_internal.h"
#include "platform/files/paths.h"

namespace platform::files {

namespace {

// The path resolved through every link; nothing (errno set) when it cannot be.
std::optional<std::string> realPath(const std::string& native) {
    char buf[PATH_MAX];
    if (native.empty() || native.front() != '/' || !::realpath(native.c_str(), buf)) {
        return std::nullopt;
    }
    return std::string(buf);
}

// The path with its existing part resolved through every link; nothing when
// it cannot be judged (not absolute, a ".." below a missing name, an entry
// that exists but cannot be resolved: a dangling link, a folder that cannot
// be searched).
std::optional<std::string> resolved(const std::string& native) {
    if (native.empty() || native.front() != '/') return std::nullopt;
    std::string existing = native;
    std::vector<std::string> missing;  // the names below the existing part, last first
    for (;;) {
        if (std::optional<std::string> real = realPath(existing)) {
            std::string r = *real;
            for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
                if (*it == "..") return std::nullopt;
                if (it->empty() || *it == ".") continue;
                r = detail::nativeJoin(r, *it);
            }
            return r;
        }
        if (errno != ENOENT || existing == "/") return std::nullopt;
        struct stat st {};
        if (::lstat(existing.c_str(), &st) == 0) return std::nullopt;  // a dangling link
        missing.push_back(detail::nativeBaseName(existing));
        existing = detail::nativeParent(existing);
    }
}

}  // namespace

bool isInside(const NativePath& root, const NativePath& path) {
    const std::optional<std::string> r = realPath(root.value);
    const std::optional<std::string> p = resolved(path.value);
    if (!r || !p) return false;
    if (*p == *r || *r == "/") return true;
    return p->size() > r->size() && p->compare(0, r->size(), *r) == 0 && (*p)[r->size()] == '/';
}

NativePath confinedNative(std::string_view windowsPath, std::string_view windowsRoot) {
    NativePath root{resolvePath(windowsRoot).native};
    NativePath path{resolvePath(windowsPath).native};
    if (!isInside(root, path)) {
        raise(err::PathFileAccess, "路径不在允许的文件夹里：" + std::string(windowsPath));
    }
    return path;
}

std::string ConfinedRoot::resolvedPath() const {
    char buf[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fd_);
    const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf);
    if (n > 0 && static_cast<std::size_t>(n) < sizeof buf && buf[0] == '/')
        return std::string(buf, static_cast<std::size_t>(n));
    return realPath(native_).value_or(native_);
}

std::optional<std::string> ConfinedRoot::nativeRelativeOf(const std::string& nativePath,
                                                          Follow lastName) const {
    if (nativePath.empty() || nativePath.front() != '/') return std::nullopt;
    std::optional<std::string> path;
    if (lastName == Follow::Yes) {
        path = resolved(nativePath);
    } else {
        std::string trimmed = nativePath;
        while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
        const std::string name = detail::nativeBaseName(trimmed);
        if (name.empty() || name == "." || name == "..") return std::nullopt;
        path = resolved(detail::nativeParent(trimmed));
        if (path) path = detail::nativeJoin(*path, name);
    }
    const std::string root = resolvedPath();
    if (!path) return std::nullopt;
    if (*path == root) return std::string();
    const std::string prefix = root == "/" ? root : root + "/";
    if (path->size() <= prefix.size() || path->compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    return path->substr(prefix.size());
}

}  // namespace platform::files
