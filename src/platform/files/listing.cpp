#include "platform/files/listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/error.h"
#include "platform/files/files_internal.h"
#include "platform/files/paths.h"
#include "platform/text/text.h"

namespace platform::files {

namespace {

unsigned char upperByte(char c) {
    auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

// Bytes of the UTF-8 character that starts at i (1 for a stray byte).
std::size_t charLength(std::string_view s, std::size_t i) {
    auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    return std::min(n, s.size() - i);
}

bool matchWildcards(std::string_view name, std::string_view pattern) {
    std::size_t ni = 0, pi = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (ni < name.size()) {
        if (pi < pattern.size() && pattern[pi] == '*') {
            starP = pi++;
            starN = ni;
            continue;
        }
        if (pi < pattern.size() && pattern[pi] == '?') {
            ni += charLength(name, ni);
            ++pi;
            continue;
        }
        if (pi < pattern.size() && upperByte(pattern[pi]) == upperByte(name[ni])) {
            ++ni;
            ++pi;
            continue;
        }
        if (starP == std::string_view::npos) return false;
        pi = starP + 1;
        starN += charLength(name, starN);
        ni = starN;
    }
    while (pi < pattern.size() && pattern[pi] == '*') ++pi;
    return pi == pattern.size();
}

bool hasDot(std::string_view name) { return name.find('.') != std::string_view::npos; }

FindEntry makeEntry(std::string name, const struct stat& st, bool readOnlyFs) {
    FindEntry e;
    e.attributes = detail::attributesFor(st, name, readOnlyFs);
    e.size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    e.device = st.st_dev;
    e.inode = st.st_ino;
    e.name = std::move(name);
    return e;
}

// The one directory reader of every listing: calls onEntry(name, d_type) for
// each entry of an open folder, "." and ".." included, in the order the file
// system gives them. False (errno set) when a read fails part-way.
template <class F>
bool readDirectory(int fd, F&& onEntry) {
    // Records of the system call, 8-byte aligned as glibc's dirent64.
    alignas(8) static thread_local char buffer[64 * 1024];
    for (;;) {
        const long n = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) return false;
        for (long off = 0; off < n;) {
            const auto* de = reinterpret_cast<const dirent64*>(buffer + off);
            off += de->d_reclen;
            onEntry(de->d_name, de->d_type);
        }
    }
}

template <class Entry>
void sortForListing(std::vector<Entry>& entries) {
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return listsBefore(a.name, b.name); });
}

// A decoded name that equals another entry's own name is left out (and
// counted in leftOut): the Windows path leads to the other. Equal names are
// next to each other in listing order.
template <class Entry>
void dropShadowedNames(std::vector<Entry>& entries, std::int64_t& leftOut) {
    const auto decoded = [](const Entry& e) { return !e.nativeName.empty(); };
    if (std::none_of(entries.begin(), entries.end(), decoded)) return;
    const auto ownName = [&](std::size_t j, std::size_t i) {
        return j < entries.size() && !decoded(entries[j]) && entries[j].name == entries[i].name;
    };
    std::vector<bool> drop(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        drop[i] = decoded(entries[i]) && ((i > 0 && ownName(i - 1, i)) || ownName(i + 1, i));
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (drop[i]) {
            ++leftOut;
            continue;
        }
        if (kept != i) entries[kept] = std::move(entries[i]);
        ++kept;
    }
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(kept), entries.end());
}

enum class Names { Windows, Native };

// Lists a native folder; false when it cannot be opened for reading.
bool listInto(const std::string& folder, std::vector<FindEntry>& out, Names names) {
    const detail::Fd dfd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dfd.valid()) return false;
    struct stat dirStat {};
    ::fstat(dfd.get(), &dirStat);
    const bool readOnlyFs = detail::readOnlyFileSystem(dfd.get());
    readDirectory(dfd.get(), [&](const char* rawName, unsigned char) {
        const std::string_view raw = rawName;
        if (raw == "." || raw == "..") return;
        auto shown = windowsNameOf(raw);
        if (!shown) return;
        struct stat st {};
        if (::fstatat(dfd.get(), rawName, &st, 0) != 0) return;
        if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) return;
        // A folder that another file system is mounted on has that one's mode.
        bool ro = st.st_dev == dirStat.st_dev
                      ? readOnlyFs
                      : detail::readOnlyFileSystem(detail::nativeJoin(folder, raw));
        const bool decoded = *shown != raw;
        out.push_back(
            makeEntry(names == Names::Native ? std::string(raw) : std::move(*shown), st, ro));
        if (decoded && names == Names::Windows) out.back().nativeName = raw;
    });
    sortForListing(out);
    std::int64_t shadowed = 0;
    dropShadowedNames(out, shadowed);
    return true;
}

// Resolves and lists a Windows folder; false when it cannot be searched.
bool listWindowsFolder(std::string_view windowsFolder, ResolvedPath& r,
                       std::vector<FindEntry>& out) {
    try {
        r = resolvePath(windowsFolder);
    } catch (const Error&) {
        return false;
    }
    return r.exists && listInto(r.native, out, Names::Windows);
}

}  // namespace

bool matchesPattern(std::string_view name, std::string_view pattern) {
    if (pattern.empty()) return false;
    if (pattern == "*" || pattern == "*.*") return true;
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
        return matchWildcards(name, pattern) ||
               (!hasDot(name) && matchWildcards(name, pattern.substr(0, pattern.size() - 2)));
    }
    if (pattern.back() == '.') {
        while (!pattern.empty() && pattern.back() == '.') pattern.remove_suffix(1);
        return !hasDot(name) && matchWildcards(name, pattern);
    }
    return matchWildcards(name, pattern);
}

bool listsBefore(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = upperByte(a[i]), y = upperByte(b[i]);
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::vector<FindEntry> listNativeFolder(const std::string& nativeFolder) {
    std::vector<FindEntry> entries;
    listInto(nativeFolder, entries, Names::Native);
    return entries;
}

// ---- WalkFolder ----

namespace {

constexpr int FolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
constexpr int HandleFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
// The longest relative path opened at once (PATH_MAX less room to spare).
constexpr std::size_t PathPiece = 3000;

FolderId idOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// Whether the folder that the link name of the open folder dirFd leads to,
// whose identity is target, lies inside: it, or a folder above it (climbing
// by ".." to the system's root), is one for which isInside is true.
bool leadsInside(int dirFd, const char* name, const FolderId& target,
                 const std::function<bool(const FolderId&)>& isInside) {
    if (isInside(target)) return true;
    detail::Fd here(::openat(dirFd, name, HandleFlags));
    struct stat st {};
    // A link changed since it was read is judged no further.
    if (!here.valid() || ::fstat(here.get(), &st) != 0 || idOf(st) != target) return false;
    FolderId hereId = target;
    for (;;) {
        detail::Fd up(::openat(here.get(), "..", HandleFlags));
        if (!up.valid() || ::fstat(up.get(), &st) != 0) return false;
        const FolderId upId = idOf(st);
        if (isInside(upId)) return true;
        if (upId == hereId) return false;  // the system's root
        here = std::move(up);
        hereId = upId;
    }
}

}  // namespace

WalkFolder::WalkFolder(std::string_view windowsFolder) {
    ResolvedPath r;
    try {
        r = resolvePath(windowsFolder);
    } catch (const Error&) {
        error_ = ENOENT;
        return;
    }
    if (!r.exists) {
        error_ = ENOENT;
        return;
    }
    driveRoot_ = r.isDriveRoot;
    fd_ = ::open(r.native.c_str(), FolderFlags);
    identify();
}

WalkFolder::WalkFolder(const WalkFolder& parent, const WalkEntry& sub)
    : parent_(&parent), nativeName_(sub.onDisk()) {
    fd_ = parent.fd_ >= 0 ? ::openat(parent.fd_, nativeName_.c_str(), FolderFlags)
                          : parent.openThroughAncestor(nativeName_);
    identify();
}

// Opens the subfolder name of this folder, whose handle is closed: through
// the nearest ancestor still open, by the names from there, a piece at a time.
int WalkFolder::openThroughAncestor(const std::string& name) const {
    std::vector<const std::string*> names{&name};
    const WalkFolder* anchor = this;
    for (; anchor && anchor->fd_ < 0; anchor = anchor->parent_)
        names.push_back(&anchor->nativeName_);
    if (!anchor) {
        errno = EBADF;
        return -1;
    }
    detail::Fd piece;  // the folder reached so far (none: the anchor)
    std::string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        if (!path.empty()) path += '/';
        path += **it;
        const bool last = it + 1 == names.rend();
        if (!last && path.size() + 1 + (*(it + 1))->size() <= PathPiece) continue;
        const int at = piece.valid() ? piece.get() : anchor->fd_;
        detail::Fd next(::openat(at, path.c_str(), last ? FolderFlags : HandleFlags));
        if (!next.valid()) return -1;
        if (last) return next.release();
        piece = std::move(next);
        path.clear();
    }
    return -1;  // not reached
}

void WalkFolder::identify() {
    struct stat self {};
    if (fd_ < 0 || ::fstat(fd_, &self) != 0) {
        error_ = errno != 0 ? errno : EIO;
        closeHandle();
        return;
    }
    id_ = idOf(self);
}

WalkFolder::~WalkFolder() {
    if (fd_ >= 0) ::close(fd_);
}

void WalkFolder::closeHandle() {
    if (fd_ >= 0 && parent_) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::vector<WalkEntry> WalkFolder::read(
    std::string_view pattern, std::int64_t& leftOut,
    const std::function<bool(const FolderId&)>& isInside) const {
    std::vector<WalkEntry> entries;
    if (fd_ < 0) return entries;
    const bool whole = readDirectory(fd_, [&](const char* rawName, unsigned char type) {
        const std::string_view raw = rawName;
        if (raw == "." || raw == "..") return;
        auto shown = windowsNameOf(raw);
        if (!shown) {
            ++leftOut;
            return;
        }
        WalkEntry e;
        struct stat st {};
        bool statted = false;
        // An entry whose attributes cannot be read is left out; one removed
        // meanwhile has simply gone.
        const auto statEntry = [&](int flags) {
            statted = ::fstatat(fd_, rawName, &st, flags) == 0;
            if (!statted && errno != ENOENT) ++leftOut;
            return statted;
        };
        if (type == DT_UNKNOWN) {
            if (!statEntry(AT_SYMLINK_NOFOLLOW)) return;
            type = IFTODT(st.st_mode);
        }
        switch (type) {
            case DT_DIR:
                if (!statted && !statEntry(AT_SYMLINK_NOFOLLOW)) return;
                e.isFolder = true;
                e.folder = idOf(st);
                break;
            case DT_REG:
                break;
            case DT_LNK:
                // A dangling link, or one to a FIFO, socket or device, is left out.
                if (::fstatat(fd_, rawName, &st, 0) != 0 ||
                    (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode))) {
                    ++leftOut;
                    return;
                }
                statted = true;
                if (S_ISDIR(st.st_mode)) {
                    e.isFolder = true;
                    e.throughLink = true;
                    e.folder = idOf(st);
                    if (!leadsInside(fd_, rawName, e.folder, isInside)) {
                        ++leftOut;
                        return;
                    }
                }
                break;
            default:
                ++leftOut;
                return;  // FIFOs, sockets, devices
        }
        if (!e.isFolder && matchesPattern(*shown, pattern)) {
            if (!statted && !statEntry(0)) return;
            if (!S_ISREG(st.st_mode)) return;  // replaced while we looked
            e.matches = true;
            e.size = static_cast<std::uint64_t>(st.st_size);
        }
        if (*shown != raw) e.nativeName = raw;
        e.name = std::move(*shown);
        entries.push_back(std::move(e));
    });
    // A folder removed while it is read has simply vanished (ENOENT).
    if (!whole && errno != ENOENT) detail::raiseErrno(errno, err::PathNotFound);
    sortForListing(entries);
    dropShadowedNames(entries, leftOut);
    return entries;
}

std::size_t walkOpenFolderLimit() {
    struct rlimit limit {};
    std::size_t n = 256;
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        n = std::min<std::size_t>(n, static_cast<std::size_t>(limit.rlim_cur / 4));
    return std::max<std::size_t>(n, 8);
}

std::vector<FindEntry> findEntries(std::string_view windowsFolder, std::string_view pattern) {
    ResolvedPath r;
    std::vector<FindEntry> all;
    if (!listWindowsFolder(windowsFolder, r, all)) return {};
    std::vector<FindEntry> out;
    if (!r.isDriveRoot) {
        const std::pair<const char*, std::string> dots[] = {{".", r.native},
                                                            {"..", detail::nativeParent(r.native)}};
        for (const auto& [name, path] : dots) {
            struct stat st {};
            if (matchesPattern(name, pattern) && ::stat(path.c_str(), &st) == 0) {
                out.push_back(makeEntry(name, st, detail::readOnlyFileSystem(path)));
                out.back().attributes &= ~attr::Hidden;
            }
        }
    }
    for (auto& e : all) {
        if (matchesPattern(e.name, pattern)) out.push_back(std::move(e));
    }
    return out;
}

std::vector<std::string> listFiles(std::string_view windowsFolder, std::string_view pattern) {
    std::vector<std::string> patterns;
    for (const auto& p : text::split(pattern, ";")) {
        std::string t = text::trim(p);
        if (!t.empty()) patterns.push_back(t);
    }
    ResolvedPath r;
    std::vector<FindEntry> all;
    if (!listWindowsFolder(windowsFolder, r, all)) return {};
    std::vector<std::string> names;
    for (auto& e : all) {
        if (e.isFolder() || e.name.front() == '.') continue;
        if (std::any_of(patterns.begin(), patterns.end(),
                        [&](const std::string& p) { return matchesPattern(e.name, p); })) {
            names.push_back(std::move(e.name));
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        int c = text::compareText(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

}  // namespace platform::files
