#include "platform/files/files_internal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"
#include "platform/text/text.h"

namespace platform::files::detail {

Fd& Fd::operator=(Fd&& o) noexcept {
    if (this != &o) {
        close();
        fd_ = std::exchange(o.fd_, -1);
        owned_ = std::exchange(o.owned_, true);
    }
    return *this;
}

Fd::~Fd() { close(); }

int Fd::release() {
    int fd = std::exchange(fd_, -1);
    if (!std::exchange(owned_, true) && fd >= 0) fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    return fd;
}

bool Fd::close() {
    if (fd_ < 0) return true;
    const int fd = std::exchange(fd_, -1);
    if (!std::exchange(owned_, true)) return true;
    return ::close(fd) == 0;
}

int errorNumberFor(int errnoValue, int notFound) {
    switch (errnoValue) {
        case ENOENT:
            return notFound;
        case ENOTDIR:
            return err::PathNotFound;
        case EACCES:
        case EPERM:
            return err::PermissionDenied;
        case EEXIST:
        case ENOTEMPTY:
            return err::FileExists;
        case ENAMETOOLONG:
        case EINVAL:
        case EILSEQ:
            return err::BadFileName;
        case ENOSPC:
        case EDQUOT:
            return err::DiskFull;
        case EIO:
            return err::DeviceIO;
        case ENODEV:
        case ENXIO:
        case ENOMEDIUM:
            return err::DiskNotReady;
        default:
            return err::PathFileAccess;  // EISDIR, EROFS, EBUSY, ...
    }
}

void raiseErrno(int errnoValue, int notFound) { raise(errorNumberFor(errnoValue, notFound)); }

bool readAll(int fd, std::string& out, std::size_t limit) {
    out.clear();
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        out.reserve(std::min(static_cast<std::size_t>(st.st_size), limit));
    }
    char buf[65536];
    while (out.size() < limit) {
        ssize_t n = ::read(fd, buf, std::min(sizeof buf, limit - out.size()));
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
    return true;
}

Fd openForReading(const std::string& nativePath, struct stat& st, int notFound) {
    Fd fd(::open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    return readingFrom(std::move(fd), errno, st, notFound);
}

Fd readingFrom(Fd fd, int errnoValue, struct stat& st, int notFound) {
    if (!fd.valid()) raiseErrno(errnoValue, notFound);
    if (::fstat(fd.get(), &st) != 0) raiseErrno(errno, notFound);
    // Reads of a regular file never wait: the flag changes nothing there.
    if (S_ISREG(st.st_mode)) return fd;
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        raiseErrno(errno, notFound);
    return fd;
}

bool readNativeFile(const std::string& nativePath, std::string& out) {
    try {
        struct stat st {};
        Fd fd = openForReading(nativePath, st, err::FileNotFound);
        return S_ISREG(st.st_mode) && readAll(fd.get(), out);
    } catch (const Error&) {
        return false;
    }
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::uint32_t attributesFor(const struct stat& st, std::string_view name, bool readOnlyFs) {
    std::uint32_t a = S_ISDIR(st.st_mode) ? attr::Directory : attr::Archive;
    if (ownerReadOnly(st) || readOnlyFs) a |= attr::ReadOnly;
    if (!name.empty() && name.front() == '.') a |= attr::Hidden;
    return a;
}

bool readOnlyFileSystem(int fd) {
    struct statvfs vfs {};
    return ::fstatvfs(fd, &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0;
}

bool readOnlyFileSystem(const std::string& nativePath) {
    struct statvfs vfs {};
    return ::statvfs(nativePath.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0;
}

std::string nativeParent(const std::string& nativePath) {
    auto slash = nativePath.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return nativePath.substr(0, slash);
}

std::string nativeBaseName(const std::string& nativePath) {
    auto slash = nativePath.find_last_of('/');
    return slash == std::string::npos ? nativePath : nativePath.substr(slash + 1);
}

std::string nativeJoin(const std::string& folder, std::string_view name) {
    std::string r = folder;
    if (r.empty() || r.back() != '/') r += '/';
    r += name;
    return r;
}

int renameNoReplace(const std::string& from, const std::string& to) {
    return renameNoReplaceAt(AT_FDCWD, from, AT_FDCWD, to);
}

int renameNoReplaceAt(int fromFolder, const std::string& from, int toFolder,
                      const std::string& to) {
    const char* f = from.c_str();
    const char* t = to.c_str();
    if (::renameat2(fromFolder, f, toFolder, t, RENAME_NOREPLACE) == 0) return 0;
    int e = errno;
    if (e != EINVAL && e != ENOSYS && e != ENOTSUP) return e;
    // The file system cannot rename without replacing: a hard link fails when
    // the target exists, which gives the same guarantee for files.
    struct stat st {};
    if (::fstatat(fromFolder, f, &st, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    if (!S_ISDIR(st.st_mode)) {
        if (::linkat(fromFolder, f, toFolder, t, 0) == 0) {
            ::unlinkat(fromFolder, f, 0);
            return 0;
        }
        if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) return errno;
    }
    // No links either (some removable-media file systems): test, then rename.
    if (::fstatat(toFolder, t, &st, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
    return ::renameat(fromFolder, f, toFolder, t) == 0 ? 0 : errno;
}

unsigned copyMode(int in, const struct stat& st) { return copyMode(st, readOnlyFileSystem(in)); }

unsigned copyMode(const struct stat& st, bool readOnlyFs) {
    const bool readOnly = ownerReadOnly(st) || readOnlyFs;
    return (st.st_mode & 07777) & (readOnly ? ~mode_t{0222} : ~mode_t{0});
}

void copyOpenFile(int in, const struct stat& st, CommittedFile& out) {
    if (S_ISREG(st.st_mode))
        out.writeFrom(in, static_cast<std::uint64_t>(st.st_size));
    else
        out.writeFrom(in);
    // Times are kept where the file system allows it.
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out.fd(), times);
    out.commit();
}

void copyNativeFile(const std::string& src, const std::string& dst) {
    struct stat st {};
    Fd in = openForReading(src, st, err::FileNotFound);
    if (!S_ISREG(st.st_mode)) raise(err::FileNotFound);
    CommittedFile out(dst, OnExisting::Refuse, copyMode(in.get(), st) | S_IWUSR);
    copyOpenFile(in.get(), st, out);
}

Fd openFolder(const std::string& nativeFolder) {
    Fd fd(::open(nativeFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) raiseErrno(errno, err::PathNotFound);
    return fd;
}

std::optional<std::string> lookedUpWindowsName(std::string_view native) {
    // A UTF-8 name is its own Windows name, or has none.
    if (text::isValidUtf8(native)) {
        if (!isWindowsName(native)) return std::nullopt;
        return std::string(native);
    }
    return windowsNameOf(native);
}

std::vector<std::pair<std::string, std::string>> windowsNamesIn(int folder) {
    std::vector<std::pair<std::string, std::string>> names;
    const int readable = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable < 0) return names;
    DIR* d = ::fdopendir(readable);
    if (!d) {
        ::close(readable);
        return names;
    }
    while (const dirent* e = ::readdir(d)) {
        std::optional<std::string> shown = lookedUpWindowsName(e->d_name);
        if (shown) names.emplace_back(e->d_name, std::move(*shown));
    }
    ::closedir(d);
    return names;
}

CaseAlikeNames findByWindowsName(int folder, std::string_view name) {
    CaseAlikeNames found;
    for (const auto& [native, shown] : windowsNamesIn(folder)) {
        if (!sameNameIgnoringCase(shown, name)) continue;
        if (shown == name && !found.exact) found.exact = native;
        if (++found.alike == 1) found.onlyAlike = native;
    }
    if (found.alike != 1) found.onlyAlike.reset();
    return found;
}

void refuseAmbiguous(const std::string& windowsPath) {
    raise(err::PathFileAccess, std::string(AmbiguousNameText) + windowsPath);
}

}  // namespace platform::files::detail
