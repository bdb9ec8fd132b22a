#include "platform/files/confined.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <map>
#include <unordered_map>
#include <utility>

#include "platform/error.h"
#include "platform/files/files_internal.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"

namespace platform::files {

namespace {

const std::string OutsideText = "路径不在允许的文件夹里：";

std::string joinNative(const std::string& folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    if (name.empty()) return folder;
    if (folder.back() == '/') return folder + std::string(name);
    return folder + "/" + std::string(name);
}

bool sameIdentity(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

detail::Fd duplicate(int fd) {
    detail::Fd copy(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
    if (!copy.valid()) detail::raiseErrno(errno, err::PathNotFound);
    return copy;
}

// The status of a name in an open folder without following it; false with
// errno set when it cannot be read.
bool statusAt(int folder, const std::string& name, struct stat& st) {
    return ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

// The folder open as folder is ancestor or lies below it (climbing by "..").
bool isWithin(int folder, const struct stat& ancestor) {
    detail::Fd cur = duplicate(folder);
    for (int depth = 0; depth < 4096; ++depth) {
        struct stat st {};
        if (::fstat(cur.get(), &st) != 0) return false;
        if (sameIdentity(st, ancestor)) return true;
        detail::Fd up(::openat(cur.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat upSt {};
        if (!up.valid() || ::fstat(up.get(), &upSt) != 0 || sameIdentity(upSt, st)) return false;
        cur = std::move(up);
    }
    return false;
}

// The native names of an open folder that have a Windows name, in listing
// order, each with its Windows name.
std::vector<std::pair<std::string, std::string>> namesIn(int folder) {
    std::vector<std::pair<std::string, std::string>> names;
    const int readable = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable < 0) detail::raiseErrno(errno, err::PathNotFound);
    DIR* d = ::fdopendir(readable);
    if (!d) {
        const int e = errno;
        ::close(readable);
        detail::raiseErrno(e, err::PathNotFound);
    }
    while (const dirent* e = ::readdir(d)) {
        const std::string_view n = e->d_name;
        if (n == "." || n == "..") continue;
        if (auto shown = windowsNameOf(n)) names.emplace_back(std::string(n), std::move(*shown));
    }
    ::closedir(d);
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return listsBefore(a.first, b.first); });
    return names;
}

// A relative path given as text: absolute ("\x", "/x", "C:\x").
bool isAbsolute(std::string_view relative) {
    return (!relative.empty() && (relative.front() == '\\' || relative.front() == '/')) ||
           (relative.size() >= 2 && relative[1] == ':');
}

// The names of a relative path, "." dropped and ".." applied; nothing when a
// ".." climbs above the start. Raises 52 for a name that cannot be one.
std::optional<std::vector<std::string>> relativeNames(std::string_view relative) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = relative.size();
        std::string name(relative.substr(start, end - start));
        start = end + 1;
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (names.empty()) return std::nullopt;
            names.pop_back();
            continue;
        }
        if (!isWindowsName(name)) raise(err::BadFileName);
        names.push_back(std::move(name));
    }
    return names;
}

}  // namespace

// ---- Changes to one name in an open folder ----

void detail::removeFileEntry(const Entry& entry, bool readOnlyToo) {
    struct stat st {};
    if (!statusAt(entry.folder, entry.name, st)) raiseErrno(errno, err::FileNotFound);
    if (S_ISDIR(st.st_mode)) raise(err::FileNotFound);
    if ((!readOnlyToo && !S_ISLNK(st.st_mode) && ownerReadOnly(st)) ||
        readOnlyFileSystem(entry.folder))
        raise(err::PathFileAccess);
    beforeChange(CommitStep::Remove, entry.path);
    if (::unlinkat(entry.folder, entry.name.c_str(), 0) != 0) raiseErrno(errno, err::FileNotFound);
}

void detail::removeFolderEntry(const Entry& entry) {
    struct stat st {};
    if (!statusAt(entry.folder, entry.name, st)) raiseErrno(errno, err::PathNotFound);
    if (!S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode)) raise(err::PathFileAccess);
    const int flags = S_ISDIR(st.st_mode) ? AT_REMOVEDIR : 0;
    beforeChange(CommitStep::Remove, entry.path);
    if (::unlinkat(entry.folder, entry.name.c_str(), flags) != 0)
        raiseErrno(errno, err::PathNotFound);
}

void detail::makeFolderEntry(const Entry& entry) {
    beforeChange(CommitStep::MakeFolder, entry.path);
    if (::mkdirat(entry.folder, entry.name.c_str(), 0777) != 0)
        raiseErrno(errno, err::PathNotFound);
}

bool detail::setEntryAttributes(const Entry& entry, std::uint32_t attributes) {
    Fd file(entry.name.empty()
                ? ::openat(entry.folder, ".", O_PATH | O_DIRECTORY | O_CLOEXEC)
                : ::openat(entry.folder, entry.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!file.valid() || ::fstat(file.get(), &st) != 0) return false;
    if (S_ISLNK(st.st_mode)) {
        errno = ELOOP;
        return false;
    }
    const mode_t was = st.st_mode & 07777;
    const mode_t mode = (attributes & attr::ReadOnly) ? (was & ~mode_t{0222}) : (was | S_IWUSR);
    if (mode == was) return true;
    // A file with more than one name (a hard link) is one file: its mode is
    // its other names' mode too, perhaps of a file outside the root.
    if (!S_ISDIR(st.st_mode) && st.st_nlink > 1) {
        errno = EMLINK;
        return false;
    }
    beforeChange(CommitStep::SetAttributes, entry.path);
    // The handle cannot be changed itself (O_PATH); its /proc name leads to
    // the very file it holds, whatever the name in the folder is now.
    const std::string proc = "/proc/self/fd/" + std::to_string(file.get());
    if (::chmod(proc.c_str(), mode) == 0) return true;
    if (errno != ENOENT) return false;
    // No /proc: the file opened again without following a link, checked to be
    // the same one.
    Fd again(entry.name.empty() ? ::openat(entry.folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                                : ::openat(entry.folder, entry.name.c_str(),
                                           O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat againSt {};
    if (!again.valid() || ::fstat(again.get(), &againSt) != 0) return false;
    if (!sameIdentity(st, againSt)) {
        errno = ENOENT;
        return false;
    }
    return ::fchmod(again.get(), mode) == 0;
}

// ---- The root ----

struct ConfinedRoot::Located {
    detail::Fd folder;         // holds the last name; not valid when a folder on the way is missing
    std::string folderNative;  // the folder, native, relative to the root ("" the root)
    std::string name;          // the native last name; "" the root itself
    std::string given;         // the last name as given
    std::string shown;         // the Windows path, for messages
    bool missing = false;      // the last name was looked for and is not there

    std::string nativeRelative() const { return joinNative(folderNative, name); }
};

struct ConfinedRoot::CopyRun {
    const ConfinedRoot& sourceRoot;
    OnExisting onExisting;
    const RefusedName& refused;
    // The folders of the source on the way down (device, inode).
    std::vector<std::pair<unsigned long long, unsigned long long>> ancestors;
};

struct ConfinedRoot::WriteTarget {
    detail::Fd folder;
    std::string name;
    std::string path;
    std::optional<unsigned> mode;  // of the file replaced
};

// ---- the listings of a run ----

// A folder's entries by their Windows names upper-cased (ASCII): each with
// its Windows name and native name.
struct FolderListings::Folder {
    std::unordered_map<std::string, std::vector<std::pair<std::string, std::string>>> byUpper;
};

// A folder on the way to the names a run makes, opened once for the run.
struct FolderListings::OpenFolder {
    std::string native;  // its native path below the root
    detail::Fd fd;
};

struct FolderListings::Impl {
    std::map<std::pair<dev_t, ino_t>, Folder> folders;
    // By the root and the names given up to the folder, joined with "\".
    std::map<std::pair<const ConfinedRoot*, std::string>, OpenFolder> open;
    // The identity of each folder held open above, by its descriptor.
    std::unordered_map<int, std::pair<dev_t, ino_t>> openIds;
    // Whether each file system a copy read from is read-only.
    std::unordered_map<dev_t, bool> readOnlyFileSystems;
};

FolderListings::FolderListings() : impl_(std::make_unique<Impl>()) {}
FolderListings::~FolderListings() = default;

namespace {

std::string upperAscii(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace

// The native name of name in the open folder: the name itself, else the
// entry whose Windows name equals it, else (ignoringCase) the one entry
// whose Windows name equals it without regard to ASCII case; else the name
// as given, and missing is set: no entry answers to the name as it is looked
// up (without ignoringCase, entries spelt alike do not answer). With listings, the entries come
// from the folder's listing kept for the run (each checked to be there still), and a name not found
// joins it, since the caller makes it under the spelling given.
std::string ConfinedRoot::nativeName(int folder, const std::string& name, bool ignoringCase,
                                     bool* missing) const {
    struct stat st {};
    std::pair<dev_t, ino_t> id{0, 0};
    if (listings_ && missing && !listings_->impl_->folders.empty()) {
        const auto& ids = listings_->impl_->openIds;
        if (const auto known = ids.find(folder); known != ids.end())
            id = known->second;
        else if (::fstat(folder, &st) == 0)
            id = {st.st_dev, st.st_ino};
    }
    // A name that no entry of the run's listing of the folder answers to,
    // in any letter case, is missing without a look of its own: the run
    // adds what it makes to the listing, and a name another program makes
    // meanwhile is met when the copy is linked to it (replaced through a
    // temporary name, or refused).
    if (missing && id != std::pair<dev_t, ino_t>{0, 0}) {
        const auto known = listings_->impl_->folders.find(id);
        if (known != listings_->impl_->folders.end()) {
            std::string upper = upperAscii(name);
            if (!known->second.byUpper.contains(upper) &&
                detail::lookedUpWindowsName(name) == name) {
                *missing = true;
                known->second.byUpper[std::move(upper)].emplace_back(name, name);
                return name;
            }
        }
    }
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT)
        return name;
    if (listings_ && id == std::pair<dev_t, ino_t>{0, 0} && ::fstat(folder, &st) == 0)
        id = {st.st_dev, st.st_ino};
    if (!listings_ || id == std::pair<dev_t, ino_t>{0, 0}) {
        const detail::CaseAlikeNames found = detail::findByWindowsName(folder, name);
        if (found.exact) return *found.exact;
        if (ignoringCase && found.ambiguous()) throw AmbiguousName{};
        if (ignoringCase && found.alike == 1) return *found.onlyAlike;
        if (missing) *missing = true;
        return name;
    }
    auto [at, added] = listings_->impl_->folders.try_emplace(id);
    FolderListings::Folder& listing = at->second;
    if (added)
        for (auto& [native, shown] : detail::windowsNamesIn(folder))
            listing.byUpper[upperAscii(shown)].emplace_back(std::move(shown), std::move(native));
    auto& alike = listing.byUpper[upperAscii(name)];
    // Entries gone since (or never made) leave the listing.
    std::erase_if(alike, [&](const std::pair<std::string, std::string>& e) {
        struct stat there {};
        return ::fstatat(folder, e.second.c_str(), &there, AT_SYMLINK_NOFOLLOW) != 0;
    });
    for (const auto& [shown, native] : alike)
        if (shown == name) return native;
    if (ignoringCase && alike.size() > 1) throw AmbiguousName{};
    if (ignoringCase && alike.size() == 1) return alike.front().second;
    if (missing) *missing = true;
    if (detail::lookedUpWindowsName(name) == name) alike.emplace_back(name, name);
    return name;
}

ConfinedRoot ConfinedRoot::open(std::string_view windowsFolder) {
    const ResolvedPath r = resolvePath(windowsFolder);
    if (!r.exists) raise(err::PathNotFound);
    ConfinedRoot root;
    root.fd_ = detail::openFolder(r.native).release();
    root.windows_ = r.windows;
    root.native_ = r.native;
    detail::WindowsLocation location = detail::locateWindows(r.windows);
    root.driveName_ = location.drive->name;
    root.windowsNames_ = std::move(location.names);
    return root;
}

ConfinedRoot ConfinedRoot::openNative(const std::string& nativeFolder) {
    ConfinedRoot root;
    root.fd_ = detail::openFolder(nativeFolder).release();
    root.native_ = nativeFolder;
    try {
        root.windows_ = toWindows(nativeFolder);
        detail::WindowsLocation location = detail::locateWindows(root.windows_);
        root.driveName_ = location.drive->name;
        root.windowsNames_ = std::move(location.names);
    } catch (const Error&) {
        root.windows_.clear();  // no drive holds it: it has no Windows path
    }
    return root;
}

ConfinedRoot ConfinedRoot::folder(std::string_view relative) const {
    Located l = locate(relative, LastName::IgnoringCase);
    if (!l.folder.valid()) raise(err::PathNotFound);
    ConfinedRoot root;
    root.fd_ = openBeneath(l.nativeRelative(), O_PATH | O_DIRECTORY, l.shown, err::PathNotFound);
    root.native_ = joinNative(native_, l.nativeRelative());
    root.windows_ = windows_.empty() ? std::string() : l.shown;
    if (!root.windows_.empty()) {
        root.driveName_ = driveName_;
        root.windowsNames_ = detail::locateWindows(root.windows_).names;
    }
    return root;
}

ConfinedRoot::ConfinedRoot(ConfinedRoot&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      listings_(other.listings_),
      windows_(std::move(other.windows_)),
      native_(std::move(other.native_)),
      driveName_(std::move(other.driveName_)),
      windowsNames_(std::move(other.windowsNames_)) {}

ConfinedRoot& ConfinedRoot::operator=(ConfinedRoot&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        windows_ = std::move(other.windows_);
        listings_ = other.listings_;
        native_ = std::move(other.native_);
        driveName_ = std::move(other.driveName_);
        windowsNames_ = std::move(other.windowsNames_);
    }
    return *this;
}

ConfinedRoot::~ConfinedRoot() {
    if (fd_ >= 0) ::close(fd_);
}

std::string ConfinedRoot::windowsOf(std::string_view relative) const {
    std::string rel(relative);
    std::replace(rel.begin(), rel.end(), '/', '\\');
    const std::string& base = windows_.empty() ? native_ : windows_;
    if (rel.empty()) return base;
    const char separator = windows_.empty() ? '/' : '\\';
    if (windows_.empty()) std::replace(rel.begin(), rel.end(), '\\', '/');
    if (base.empty() || base.back() == separator || rel.front() == separator) return base + rel;
    return base + separator + rel;
}

std::string ConfinedRoot::relativeOf(std::string_view windowsPath) const {
    const std::string shown(windowsPath);
    if (windows_.empty()) refuse(shown);
    const detail::WindowsLocation location = detail::locateWindows(windowsPath);
    if (!sameNameIgnoringCase(location.drive->name, driveName_) ||
        location.names.size() < windowsNames_.size()) {
        refuse(shown);
    }
    std::string relative;
    for (std::size_t i = 0; i < location.names.size(); ++i) {
        if (i < windowsNames_.size()) {
            if (!sameNameIgnoringCase(location.names[i], windowsNames_[i])) refuse(shown);
            continue;
        }
        if (!relative.empty()) relative += '\\';
        relative += location.names[i];
    }
    return relative;
}

void ConfinedRoot::refuse(const std::string& shown) const {
    raise(err::PathFileAccess, OutsideText + shown);
}

void ConfinedRoot::refuseWhenLeadingOut(int folder, const std::string& name,
                                        const std::string& nativeRelative,
                                        const std::string& shown) const {
    struct stat st {};
    if (!statusAt(folder, name, st) || !S_ISLNK(st.st_mode)) return;
    const int fd = detail::openBeneath(fd_, nativeRelative, O_PATH);
    if (fd >= 0) {
        ::close(fd);
        return;
    }
    if (errno == EXDEV || errno == ELOOP) refuse(shown);
}

int ConfinedRoot::openBeneath(const std::string& nativeRelative, int flags,
                              const std::string& shown, int notFound) const {
    const int fd = detail::openBeneath(fd_, nativeRelative, flags);
    if (fd >= 0) return fd;
    if (errno == EXDEV || errno == ELOOP) refuse(shown);
    detail::raiseErrno(errno, notFound);
}

ConfinedRoot::Located ConfinedRoot::locate(std::string_view relative, LastName match) const {
    Located l;
    if (isAbsolute(relative)) refuse(std::string(relative));
    l.shown = windowsOf(relative);
    const std::optional<std::vector<std::string>> given = relativeNames(relative);
    if (!given) refuse(l.shown);
    const std::vector<std::string>& names = *given;
    // The root's own handle lives as long as the root: lent, not copied.
    l.folder = detail::Fd::borrowed(fd_);
    // With the listings of a run, the deepest folder on the way that the run
    // has opened before is taken up again from there. Only folders found by
    // their exact names are kept: one found by another letter case may stop
    // being the one a later look-up finds once the run makes the exact name.
    std::size_t from = 0;
    std::string givenPath;
    bool exactSoFar = true;
    if (listings_ && names.size() > 1) {
        auto& open = listings_->impl_->open;
        std::string prefix;
        for (std::size_t i = 0; i + 1 < names.size(); ++i) {
            if (i > 0) prefix += '\\';
            prefix += names[i];
            const auto found = open.find({this, prefix});
            if (found == open.end()) break;
            l.folder = detail::Fd::borrowed(found->second.fd.get());
            l.folderNative = found->second.native;
            from = i + 1;
            givenPath = prefix;
        }
    }
    for (std::size_t i = from; i < names.size(); ++i) {
        const bool last = i + 1 == names.size();
        std::string native = names[i];
        try {
            if (l.folder.valid())
                native =
                    nativeName(l.folder.get(), names[i], !last || match == LastName::IgnoringCase,
                               last ? &l.missing : nullptr);
        } catch (const AmbiguousName&) {
            detail::refuseAmbiguous(l.shown);
        }
        if (last) {
            l.name = native;
            l.given = names[i];
            break;
        }
        l.folderNative = joinNative(l.folderNative, native);
        if (!l.folder.valid()) continue;
        exactSoFar =
            exactSoFar && (native == names[i] || detail::lookedUpWindowsName(native) == names[i]);
        const int fd = detail::openBeneath(fd_, l.folderNative, O_PATH | O_DIRECTORY);
        if (fd >= 0) {
            l.folder = detail::Fd(fd);
            if (listings_ && exactSoFar) {
                if (!givenPath.empty()) givenPath += '\\';
                givenPath += names[i];
                auto& opened = listings_->impl_->open[{this, givenPath}];
                opened.native = l.folderNative;
                opened.fd = std::move(l.folder);
                l.folder = detail::Fd::borrowed(opened.fd.get());
                struct stat folderSt {};
                if (::fstat(opened.fd.get(), &folderSt) == 0)
                    listings_->impl_->openIds[opened.fd.get()] = {folderSt.st_dev, folderSt.st_ino};
            }
        } else if (errno == ENOENT || errno == ENOTDIR) {
            l.folder = detail::Fd();  // missing: the names below are kept as given
        } else if (errno == EXDEV || errno == ELOOP) {
            refuse(l.shown);
        } else {
            detail::raiseErrno(errno, err::PathNotFound);
        }
    }
    return l;
}

std::optional<EntryStatus> ConfinedRoot::status(std::string_view relative, Follow follow) const {
    return statusOf(relative, follow, LastName::IgnoringCase);
}

std::optional<EntryStatus> ConfinedRoot::statusExactly(std::string_view relative,
                                                       Follow follow) const {
    return statusOf(relative, follow, LastName::Exactly);
}

bool ConfinedRoot::existsExactly(std::string_view relative) const {
    return statusExactly(relative, Follow::No).has_value();
}

std::optional<std::string> ConfinedRoot::spellingOf(std::string_view relative) const {
    Located l = locate(relative, LastName::IgnoringCase);
    if (!l.folder.valid() || l.missing || l.name.empty()) return std::nullopt;
    struct stat st {};
    if (!statusAt(l.folder.get(), l.name, st)) return std::nullopt;
    const std::optional<std::string> name = windowsNameOf(l.name);
    if (!name) return std::nullopt;
    const std::size_t slash = relative.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? std::string_view()
                                                       : relative.substr(0, slash + 1)) +
           *name;
}

std::optional<EntryStatus> ConfinedRoot::statusOf(std::string_view relative, Follow follow,
                                                  LastName match) const {
    Located l = locate(relative, match);
    if (!l.folder.valid()) return std::nullopt;
    struct stat st {};
    bool readOnlyFs = false;
    if (l.name.empty() || follow == Follow::Yes) {
        const int fd = detail::openBeneath(fd_, l.nativeRelative(), O_PATH);
        if (fd < 0) {
            if (errno == EXDEV || errno == ELOOP) refuse(l.shown);
            return std::nullopt;
        }
        const detail::Fd file(fd);
        if (::fstat(file.get(), &st) != 0) return std::nullopt;
        readOnlyFs = detail::readOnlyFileSystem(file.get());
    } else {
        if (!statusAt(l.folder.get(), l.name, st)) return std::nullopt;
        readOnlyFs = detail::readOnlyFileSystem(l.folder.get());
    }
    EntryStatus s;
    s.attributes = detail::attributesFor(st, l.given, readOnlyFs);
    s.isFolder = S_ISDIR(st.st_mode);
    s.isLink = S_ISLNK(st.st_mode);
    s.size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    s.mode = st.st_mode & 07777;
    s.changed = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return s;
}

void ConfinedRoot::syncFileSystem() const {
    detail::beforeChange(CommitStep::SyncFolder, native_);
    const detail::Fd folder(::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid() || ::syncfs(folder.get()) != 0)
        detail::raiseErrno(errno, err::PathNotFound);
}

bool ConfinedRoot::exists(std::string_view relative) const {
    return status(relative, Follow::No).has_value();
}

void ConfinedRoot::createFolder(std::string_view relative) const {
    Located l = locate(relative, LastName::Exactly);
    if (l.name.empty()) raise(err::FileExists);
    if (!l.folder.valid()) raise(err::PathNotFound);
    refuseWhenLeadingOut(l.folder.get(), l.name, l.nativeRelative(), l.shown);
    detail::makeFolderEntry({l.folder.get(), l.name, joinNative(native_, l.nativeRelative())});
}

bool ConfinedRoot::createFolders(std::string_view relative) const {
    // Level by level: each folder is resolved beneath the root before the
    // next is looked up or made in it. Each level is a name the call makes:
    // taken exactly, never for a folder spelt alike.
    if (isAbsolute(relative)) refuse(std::string(relative));
    const std::string shown = windowsOf(relative);
    const std::optional<std::vector<std::string>> names = relativeNames(relative);
    if (!names) refuse(shown);
    std::string prefix;
    bool made = false;
    for (const std::string& name : *names) {
        prefix += (prefix.empty() ? "" : "\\") + name;
        Located l = locate(prefix, LastName::Exactly);
        if (!l.folder.valid()) raise(err::PathNotFound);
        const std::string path = joinNative(native_, l.nativeRelative());
        int fd = detail::openBeneath(fd_, l.nativeRelative(), O_PATH | O_DIRECTORY);
        if (fd < 0 && errno == ENOENT) {
            detail::makeFolderEntry({l.folder.get(), l.name, path});
            made = true;
            fd = detail::openBeneath(fd_, l.nativeRelative(), O_PATH | O_DIRECTORY);
        }
        if (fd < 0) {
            if (errno == EXDEV || errno == ELOOP) refuse(shown);
            detail::raiseErrno(errno == ENOTDIR ? EEXIST : errno, err::PathNotFound);
        }
        ::close(fd);
    }
    return made;
}

ConfinedRoot::WriteTarget ConfinedRoot::writeTarget(std::string_view relative,
                                                    OnExisting onExisting) const {
    // A write that may replace rewrites the file found by the rule of
    // case-alike names; one that refuses an existing file makes a new name.
    Located l = locate(
        relative, onExisting == OnExisting::Replace ? LastName::IgnoringCase : LastName::Exactly);
    if (l.name.empty()) raise(err::PathFileAccess);
    if (!l.folder.valid()) raise(err::PathNotFound);
    WriteTarget t;
    // A link at the last name is followed while it stays beneath the root:
    // its text names the file from the link's folder.
    for (int links = 0;; ++links) {
        struct stat st {};
        if (!statusAt(l.folder.get(), l.name, st)) {
            if (errno != ENOENT) detail::raiseErrno(errno, err::FileNotFound);
            break;
        }
        if (!S_ISLNK(st.st_mode)) {
            if (S_ISDIR(st.st_mode) || detail::ownerReadOnly(st)) raise(err::PathFileAccess);
            if (onExisting == OnExisting::Refuse) raise(err::FileExists);
            t.mode = st.st_mode & 07777;
            break;
        }
        std::string text(4096, '\0');
        const ssize_t n = ::readlinkat(l.folder.get(), l.name.c_str(), text.data(), text.size());
        if (links >= 40 || n <= 0 || static_cast<std::size_t>(n) >= text.size() ||
            text.front() == '/') {
            refuse(l.shown);
        }
        text.resize(static_cast<std::size_t>(n));
        const std::size_t slash = text.find_last_of('/');
        const std::string name = slash == std::string::npos ? text : text.substr(slash + 1);
        if (name.empty() || name == "." || name == "..") raise(err::PathFileAccess);  // a folder
        const std::string folder =
            joinNative(l.folderNative, slash == std::string::npos ? "" : text.substr(0, slash));
        l.folder =
            detail::Fd(openBeneath(folder, O_PATH | O_DIRECTORY, l.shown, err::PathNotFound));
        l.folderNative = folder;
        l.name = name;
    }
    t.folder = std::move(l.folder);
    t.name = l.name;
    t.path = joinNative(native_, l.nativeRelative());
    return t;
}

void ConfinedRoot::write(std::string_view relative, std::string_view bytes, OnExisting onExisting,
                         std::optional<unsigned> mode) const {
    CommittedFile file(*this, relative, onExisting, mode);
    file.write(bytes);
    file.commit();
}

void ConfinedRoot::append(std::string_view relative, std::string_view bytes) const {
    WriteTarget t = writeTarget(relative, OnExisting::Replace);
    std::string old;
    if (t.mode) {
        struct stat st {};
        detail::Fd in = detail::readingFrom(
            detail::Fd(::openat(t.folder.get(), t.name.c_str(),
                                O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC)),
            errno, st, err::FileNotFound);
        if (!S_ISREG(st.st_mode)) raise(err::PathFileAccess);
        if (!detail::readAll(in.get(), old)) detail::raiseErrno(errno, err::FileNotFound);
    }
    CommittedFile file(t.folder.get(), t.name, t.path, OnExisting::Replace, t.mode);
    file.write(old);
    file.write(bytes);
    file.commit();
}

void ConfinedRoot::copyInto(std::string_view relative, const ConfinedRoot& sourceRoot,
                            std::string_view sourceRelative, OnExisting onExisting,
                            ReadOnlyToo clearReadOnly) const {
    const Located s = sourceRoot.locate(sourceRelative, LastName::IgnoringCase);
    if (!s.folder.valid()) raise(err::PathNotFound);
    struct stat st {};
    const detail::Fd in = detail::readingFrom(
        detail::Fd(sourceRoot.openBeneath(s.nativeRelative(), O_RDONLY | O_NONBLOCK, s.shown,
                                          err::FileNotFound)),
        0, st, err::FileNotFound);
    if (!S_ISREG(st.st_mode)) raise(err::FileNotFound);

    // The copy is made under the name given: a file spelt alike is another file.
    const Located t = locate(relative, LastName::Exactly);
    if (t.name.empty() || !t.folder.valid()) raise(err::PathNotFound);
    struct stat existing {};
    if (!t.missing && statusAt(t.folder.get(), t.name, existing)) {
        if (!S_ISLNK(existing.st_mode) &&
            (S_ISDIR(existing.st_mode) || sameIdentity(existing, st))) {
            raise(err::PermissionDenied);
        }
        if (onExisting == OnExisting::Refuse) {
            refuseWhenLeadingOut(t.folder.get(), t.name, t.nativeRelative(), t.shown);
            raise(err::FileExists);
        }
        if (!S_ISLNK(existing.st_mode) && detail::ownerReadOnly(existing))
            raise(err::PermissionDenied);
    }
    // Whether the source's file system is read-only, asked once a run.
    bool readOnlyFs = false;
    if (sourceRoot.listings_) {
        auto& known = sourceRoot.listings_->impl_->readOnlyFileSystems;
        auto at = known.find(st.st_dev);
        if (at == known.end())
            at = known.emplace(st.st_dev, detail::readOnlyFileSystem(in.get())).first;
        readOnlyFs = at->second;
    } else {
        readOnlyFs = detail::readOnlyFileSystem(in.get());
    }
    unsigned mode = detail::copyMode(st, readOnlyFs);
    if (clearReadOnly == ReadOnlyToo::Yes) mode |= S_IWUSR;
    // The folder stays open (t holds it) until the file is written.
    CommittedFile out(CommittedFile::BorrowedFolder{t.folder.get()}, t.name,
                      joinNative(native_, t.nativeRelative()), onExisting, mode, t.missing);
    detail::copyOpenFile(in.get(), st, out);
}

void ConfinedRoot::copyFolderInto(std::string_view relative, const ConfinedRoot& sourceRoot,
                                  std::string_view sourceRelative, OnExisting onExisting,
                                  const RefusedName& refused) const {
    const Located s = sourceRoot.locate(sourceRelative, LastName::IgnoringCase);
    if (!s.folder.valid()) raise(err::PathNotFound);
    const detail::Fd source(sourceRoot.openBeneath(s.nativeRelative(), O_PATH | O_DIRECTORY,
                                                   s.shown, err::PathNotFound));
    struct stat sourceSt {};
    if (::fstat(source.get(), &sourceSt) != 0) detail::raiseErrno(errno, err::PathNotFound);

    const Located t = locate(relative, LastName::Exactly);
    if (t.name.empty() || !t.folder.valid()) raise(err::PathNotFound);
    struct stat existing {};
    if (statusAt(t.folder.get(), t.name, existing) &&
        (onExisting == OnExisting::Refuse || !S_ISDIR(existing.st_mode))) {
        refuseWhenLeadingOut(t.folder.get(), t.name, t.nativeRelative(), t.shown);
        raise(err::FileExists);
    }
    // Never into itself: that copy would not end.
    if (isWithin(t.folder.get(), sourceSt)) raise(err::PathFileAccess);
    CopyRun run{sourceRoot, onExisting, refused, {}};
    run.ancestors.emplace_back(sourceSt.st_dev, sourceSt.st_ino);
    copyTree(run, s.nativeRelative(), s.shown, t.folder.get(), t.name, t.nativeRelative(), t.shown);
}

void ConfinedRoot::copyTree(CopyRun& run, const std::string& sourceNative,
                            const std::string& sourceShown, int targetFolder,
                            const std::string& targetName, const std::string& targetRelative,
                            const std::string& targetShown) const {
    const std::string targetPath = joinNative(native_, targetRelative);
    detail::beforeChange(CommitStep::MakeFolder, targetPath);
    if (::mkdirat(targetFolder, targetName.c_str(), 0777) != 0) {
        const int e = errno;
        struct stat st {};
        if (e != EEXIST || run.onExisting == OnExisting::Refuse ||
            !statusAt(targetFolder, targetName, st) || !S_ISDIR(st.st_mode)) {
            if (e == EEXIST)
                refuseWhenLeadingOut(targetFolder, targetName, targetRelative, targetShown);
            detail::raiseErrno(e, err::PathNotFound);
        }
    }
    const detail::Fd target(
        ::openat(targetFolder, targetName.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!target.valid()) detail::raiseErrno(errno, err::PathNotFound);
    const detail::Fd source(run.sourceRoot.openBeneath(sourceNative, O_PATH | O_DIRECTORY,
                                                       sourceShown, err::PathNotFound));
    for (const auto& [native, shownName] : namesIn(source.get())) {
        const std::string childNative = joinNative(sourceNative, native);
        const std::string childShown = sourceShown + "\\" + shownName;
        const std::string childRelative = joinNative(targetRelative, native);
        const std::string childPath = joinNative(native_, childRelative);
        const std::string childTargetShown = targetShown + "\\" + shownName;
        // Through a link: only while it stays beneath the source root.
        const int fd = detail::openBeneath(run.sourceRoot.fd_, childNative, O_PATH);
        if (fd < 0) {
            if (errno != EXDEV && errno != ELOOP) continue;  // a dangling link, a name gone
            if (!run.refused) refuse(childShown);
            run.refused(childShown);
            continue;
        }
        const detail::Fd child(fd);
        struct stat st {};
        if (::fstat(child.get(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            const auto id = std::make_pair(static_cast<unsigned long long>(st.st_dev),
                                           static_cast<unsigned long long>(st.st_ino));
            if (std::find(run.ancestors.begin(), run.ancestors.end(), id) != run.ancestors.end())
                continue;  // a loop of links
            run.ancestors.push_back(id);
            copyTree(run, childNative, childShown, target.get(), native, childRelative,
                     childTargetShown);
            run.ancestors.pop_back();
            continue;
        }
        if (!S_ISREG(st.st_mode)) continue;
        struct stat existing {};
        if (statusAt(target.get(), native, existing)) {
            if (run.onExisting == OnExisting::Refuse) {
                refuseWhenLeadingOut(target.get(), native, childRelative, childTargetShown);
                raise(err::FileExists);
            }
            if (!S_ISLNK(existing.st_mode) &&
                (S_ISDIR(existing.st_mode) || detail::ownerReadOnly(existing))) {
                raise(err::PermissionDenied);
            }
        }
        struct stat inSt {};
        const detail::Fd in = detail::readingFrom(
            detail::Fd(run.sourceRoot.openBeneath(childNative, O_RDONLY | O_NONBLOCK, childShown,
                                                  err::FileNotFound)),
            0, inSt, err::FileNotFound);
        if (!S_ISREG(inSt.st_mode)) continue;
        CommittedFile out(target.get(), native, childPath, run.onExisting,
                          detail::copyMode(in.get(), inSt));
        detail::copyOpenFile(in.get(), inSt, out);
    }
}

void ConfinedRoot::rename(std::string_view from, std::string_view to, OnExisting onExisting) const {
    const Located f = locate(from, LastName::IgnoringCase);
    if (f.name.empty()) raise(err::PathFileAccess);
    if (!f.folder.valid()) raise(err::PathNotFound);
    struct stat st {};
    if (!statusAt(f.folder.get(), f.name, st)) detail::raiseErrno(errno, err::FileNotFound);
    // A rename that refuses an existing name makes the name given; one that
    // replaces takes the entry found by the rule of case-alike names.
    const Located t =
        locate(to, onExisting == OnExisting::Replace ? LastName::IgnoringCase : LastName::Exactly);
    if (t.name.empty()) raise(err::PathFileAccess);
    if (!t.folder.valid()) raise(err::PathNotFound);
    std::string name = t.name;
    struct stat existing {};
    if (statusAt(t.folder.get(), t.name, existing)) {
        struct stat a {
        }, b{};
        const bool sameEntry = t.name == f.name && ::fstat(f.folder.get(), &a) == 0 &&
                               ::fstat(t.folder.get(), &b) == 0 && sameIdentity(a, b);
        if (sameEntry) {
            // The same file under another letter case: renamed in place.
            if (t.given == f.name) return;
            name = t.given;
            onExisting = OnExisting::Refuse;
        } else if (onExisting == OnExisting::Refuse) {
            refuseWhenLeadingOut(t.folder.get(), t.name, t.nativeRelative(), t.shown);
            raise(err::FileExists);
        }
    }
    detail::moveEntry({f.folder.get(), f.name, joinNative(native_, f.nativeRelative())},
                      {t.folder.get(), name, joinNative(native_, joinNative(t.folderNative, name))},
                      onExisting);
}

void ConfinedRoot::hardLink(std::string_view existing, std::string_view relative) const {
    const Located f = locate(existing, LastName::IgnoringCase);
    if (f.name.empty()) raise(err::PathFileAccess);
    if (!f.folder.valid()) raise(err::PathNotFound);
    const Located t = locate(relative, LastName::Exactly);
    if (t.name.empty()) raise(err::FileExists);
    if (!t.folder.valid()) raise(err::PathNotFound);
    detail::beforeChange(CommitStep::Link, joinNative(native_, t.nativeRelative()));
    if (::linkat(f.folder.get(), f.name.c_str(), t.folder.get(), t.name.c_str(), 0) != 0) {
        const int e = errno;
        if (e == EEXIST) refuseWhenLeadingOut(t.folder.get(), t.name, t.nativeRelative(), t.shown);
        detail::raiseErrno(e, err::FileNotFound);
    }
    detail::confirmFolder(t.folder.get(), joinNative(native_, t.folderNative),
                          joinNative(native_, t.nativeRelative()));
}

void ConfinedRoot::remove(std::string_view relative, ReadOnlyToo readOnlyToo) const {
    const Located l = locate(relative, LastName::Exactly);
    if (l.name.empty()) raise(err::PathFileAccess);
    if (!l.folder.valid()) raise(err::PathNotFound);
    // Removing a name needs no change of the file's mode: the file may have
    // other names (hard links) that keep it, read-only as it is.
    detail::removeFileEntry({l.folder.get(), l.name, joinNative(native_, l.nativeRelative())},
                            readOnlyToo == ReadOnlyToo::Yes);
}

void ConfinedRoot::removeFolder(std::string_view relative) const {
    const Located l = locate(relative, LastName::Exactly);
    if (l.name.empty()) raise(err::PathFileAccess);
    if (!l.folder.valid()) raise(err::PathNotFound);
    detail::removeFolderEntry({l.folder.get(), l.name, joinNative(native_, l.nativeRelative())});
}

void ConfinedRoot::setAttributes(std::string_view relative, std::uint32_t attributes) const {
    const Located l = locate(relative, LastName::Exactly);
    if (!l.folder.valid()) raise(err::PathNotFound);
    if (detail::setEntryAttributes(
            {l.folder.get(), l.name, joinNative(native_, l.nativeRelative())}, attributes)) {
        return;
    }
    if (errno == ELOOP) refuse(l.shown);
    if (errno == EMLINK) raise(err::PathFileAccess, std::string(SeveralNamesText) + l.shown);
    detail::raiseErrno(errno, err::FileNotFound);
}

std::string ConfinedRoot::resolvedPath() const {
    char buf[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(fd_);
    const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf);
    if (n > 0 && static_cast<std::size_t>(n) < sizeof buf && buf[0] == '/')
        return std::string(buf, static_cast<std::size_t>(n));
    return detail::realNative(native_).value_or(native_);
}

std::optional<std::string> ConfinedRoot::nativeRelativeOf(const std::string& nativePath,
                                                          Follow lastName) const {
    if (nativePath.empty() || nativePath.front() != '/') return std::nullopt;
    std::optional<std::string> path;
    if (lastName == Follow::Yes) {
        path = detail::resolvedNative(nativePath);
    } else {
        std::string trimmed = nativePath;
        while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
        const std::string name = detail::nativeBaseName(trimmed);
        if (name.empty() || name == "." || name == "..") return std::nullopt;
        path = detail::resolvedNative(detail::nativeParent(trimmed));
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

// ---- Committed writes beneath a root (committed_write.h) ----

CommittedFile::CommittedFile(const ConfinedRoot& root, std::string_view relative,
                             OnExisting onExisting, std::optional<unsigned> mode)
    : onExisting_(onExisting) {
    ConfinedRoot::WriteTarget t = root.writeTarget(relative, onExisting);
    target_ = std::move(t.path);
    create(t.folder.release(), std::move(t.name), mode ? mode : t.mode);
}

}  // namespace platform::files
