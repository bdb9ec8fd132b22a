#include "platform/files/listing.h"

#include <dirent.h>
#include <fcntl.h>
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

// Lists a native folder; false when it cannot be opened for reading.
bool listInto(const std::string& folder, std::vector<FindEntry>& out) {
    const detail::Fd dfd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dfd.valid()) return false;
    struct stat dirStat {};
    ::fstat(dfd.get(), &dirStat);
    const bool readOnlyFs = detail::readOnlyFileSystem(dfd.get());
    readDirectory(dfd.get(), [&](const char* rawName, unsigned char) {
        std::string_view name = rawName;
        if (name == "." || name == ".." || !isWindowsName(name)) return;
        struct stat st {};
        if (::fstatat(dfd.get(), rawName, &st, 0) != 0) return;
        if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) return;
        // A folder that another file system is mounted on has that one's mode.
        bool ro = st.st_dev == dirStat.st_dev
                      ? readOnlyFs
                      : detail::readOnlyFileSystem(detail::nativeJoin(folder, name));
        out.push_back(makeEntry(std::string(name), st, ro));
    });
    sortForListing(out);
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
    return r.exists && listInto(r.native, out);
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
    listInto(nativeFolder, entries);
    return entries;
}

// ---- WalkFolder ----

namespace {
constexpr int FolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
}  // namespace

WalkFolder::WalkFolder(std::string_view windowsFolder) {
    ResolvedPath r;
    try {
        r = resolvePath(windowsFolder);
    } catch (const Error&) {
        return;
    }
    if (!r.exists) return;
    native_ = std::move(r.native);
    driveRoot_ = r.isDriveRoot;
    fd_ = ::open(native_.c_str(), FolderFlags);
    identify();
}

WalkFolder::WalkFolder(const WalkFolder& parent, const std::string& name)
    : native_(detail::nativeJoin(parent.native_, name)),
      fd_(parent.isOpen() ? ::openat(parent.fd_, name.c_str(), FolderFlags) : ::open(native_.c_str(), FolderFlags)) {
    identify();
}

void WalkFolder::identify() {
    struct stat self {};
    if (fd_ >= 0 && ::fstat(fd_, &self) != 0) close();
    device_ = self.st_dev;
    inode_ = self.st_ino;
}

WalkFolder::~WalkFolder() { close(); }

void WalkFolder::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::vector<WalkEntry> WalkFolder::read(std::string_view pattern, std::int64_t& skippedNames) const {
    std::vector<WalkEntry> entries;
    if (fd_ < 0) return entries;
    const bool whole = readDirectory(fd_, [&](const char* rawName, unsigned char type) {
        const std::string_view name = rawName;
        if (name == "." || name == "..") return;
        if (!isWindowsName(name)) {
            ++skippedNames;
            return;
        }
        WalkEntry e;
        struct stat st {};
        bool statted = false;
        switch (type) {
            case DT_DIR: e.isFolder = true; break;
            case DT_REG: break;
            case DT_LNK:
            case DT_UNKNOWN:
                // Links are followed; a link whose target cannot be read is left out.
                if (::fstatat(fd_, rawName, &st, 0) != 0) return;
                statted = true;
                if (S_ISDIR(st.st_mode)) {
                    e.isFolder = true;
                    e.throughLink = true;
                    e.device = st.st_dev;
                    e.inode = st.st_ino;
                } else if (!S_ISREG(st.st_mode)) {
                    return;
                }
                break;
            default: return;  // FIFOs, sockets, devices
        }
        if (!e.isFolder && matchesPattern(name, pattern)) {
            if (!statted && ::fstatat(fd_, rawName, &st, 0) != 0) return;
            if (!S_ISREG(st.st_mode)) return;  // replaced while we looked
            e.matches = true;
            e.size = static_cast<std::uint64_t>(st.st_size);
        }
        e.name = name;
        entries.push_back(std::move(e));
    });
    // A folder removed while it is read has simply vanished (ENOENT).
    if (!whole && errno != ENOENT) detail::raiseErrno(errno, err::PathNotFound);
    sortForListing(entries);
    return entries;
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
