#include "catalogue/folder_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>

#include "catalogue/index_line.h"
#include "platform/error.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"

namespace catalogue {

// ---- ScannedFolderList ----

bool ScannedFolderList::taken(std::string_view stem, std::size_t count) const {
    const auto it = stems_.find(stem);
    return it != stems_.end() && count < it->second.taken.size() && it->second.taken[count];
}

bool ScannedFolderList::contains(std::string_view printedName) const {
    const std::size_t n = folderKeySuffixLength(printedName);
    return taken(printedName.substr(0, printedName.size() - n), n);
}

std::string ScannedFolderList::printedName(std::string_view actualName, std::string_view scannedFolderName) const {
    const std::size_t own = folderKeySuffixLength(actualName);
    const std::string_view stem = actualName.substr(0, actualName.size() - own);
    std::size_t count = own;
    if (taken(stem, count) || actualName == scannedFolderName) ++count;
    const auto it = stems_.find(stem);
    if (it != stems_.end()) {
        const Counts& c = it->second;
        // Every count below lowestFree is taken, so the search can start there.
        if (count <= c.lowestFree && taken(stem, count)) count = c.lowestFree;
        while (count < c.taken.size() && c.taken[count]) ++count;
    }
    std::string printed(stem);
    printed.append(count, FolderKeyChar);
    return printed;
}

void ScannedFolderList::add(std::string_view printedName) {
    const std::size_t n = folderKeySuffixLength(printedName);
    const std::string_view stem = printedName.substr(0, printedName.size() - n);
    auto it = stems_.find(stem);
    if (it == stems_.end()) it = stems_.emplace(std::string(stem), Counts{}).first;
    Counts& c = it->second;
    if (c.taken.size() <= n) c.taken.resize(n + 1, false);
    c.taken[n] = true;
    while (c.lowestFree < c.taken.size() && c.taken[c.lowestFree]) ++c.lowestFree;
}

// ---- the walk ----

namespace {

constexpr std::size_t SinkChunk = 1 << 20;
constexpr std::int64_t CaptionEvery = 50;
const std::string FolderWord = "文件夹：";

struct Entry {
    std::string name;
    bool folder = false;
    bool listed = false;  // a file that matches the pattern
    std::uint64_t size = 0;
};

struct FolderId {
    dev_t device;
    ino_t inode;
    bool operator==(const FolderId&) const = default;
};

// Folders kept open at once while their subfolders are walked; deeper
// folders are opened by their native path.
constexpr std::size_t MaxOpenFolders = 256;
constexpr int NotRead = -2;

// Closes a folder kept open, also when the walk ends by an exception.
class FolderFd {
public:
    explicit FolderFd(int fd) : fd_(fd) {}
    ~FolderFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    FolderFd(const FolderFd&) = delete;
    FolderFd& operator=(const FolderFd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Thrown to end the walk once a write has failed.
struct WriteFailed {};

std::string nativeJoin(const std::string& folder, std::string_view name) {
    std::string p = folder;
    if (p.empty() || p.back() != '/') p += '/';
    p += name;
    return p;
}

class Walker {
public:
    Walker(const WalkRequest& request, ScannedFolderList& scanned, WalkCounts& counts, const IndexSink& sink,
           const CaptionSink& caption, WalkResult& result)
        : request_(request), scanned_(scanned), counts_(counts), sink_(sink), caption_(caption), result_(result) {}

    // parentFd: the open folder that holds this one (name: its name there),
    // or -1 to open it by its native path.
    std::int64_t walk(const std::string& path, const std::string& native, bool driveRoot, int parentFd,
                      const std::string& name) {
        std::vector<Entry> entries;
        const int opened = readFolder(native, parentFd, name, entries);
        if (opened == NotRead) return 0;
        const FolderFd fd(opened);

        // First pass: a folder line per subfolder. The step counter counts
        // every entry of the listing, "." and ".." too where a folder has them.
        std::vector<std::string> subfolders;
        std::int64_t step = driveRoot ? 0 : 2;
        for (Entry& e : entries) {
            if (e.folder) {
                const std::string printed = scanned_.printedName(e.name, request_.scannedFolderName);
                scanned_.add(printed);
                appendFolderLine(buffer_, path, printed);
                ++counts_.dirCount;
                show(std::string());
                subfolders.push_back(std::move(e.name));
            }
            if (++step % CaptionEvery == 0) show(std::to_string(step));
        }

        // Second pass: a file line per matching file.
        std::int64_t total = 0;
        std::int64_t fileLines = 0;
        for (const Entry& e : entries) {
            if (!e.listed) continue;
            appendFileLine(buffer_, path, e.name, e.size);
            ++counts_.fileCount;
            total += static_cast<std::int64_t>(e.size);
            if (++fileLines % CaptionEvery == 0) show(std::to_string(counts_.fileCount));
        }
        entries = {};
        if (buffer_.size() >= SinkChunk) flush(path);

        // Then each subfolder's run, in list order.
        for (const std::string& sub : subfolders) {
            total += walk(path + sub + "\\", nativeJoin(native, sub), false, fd.get(), sub);
        }
        ancestors_.pop_back();
        return total;
    }

    void flush(const std::string& path) {
        if (buffer_.empty()) return;
        try {
            sink_(buffer_);
        } catch (const platform::Error& e) {
            result_.ok = false;
            result_.errorNumber = e.number();
            result_.errorText = e.description();
            result_.errorPath = path;
            throw WriteFailed{};
        }
        buffer_.clear();
    }

private:
    // Reads a folder's entries in listing order and puts the folder on the
    // current path. Returns NotRead (nothing to list, not on the path) when it
    // cannot be read or is already on the path (a loop through a mount).
    // Otherwise returns the open folder, kept for opening its subfolders, or
    // -1 when it was closed to stay within the limit of open files.
    int readFolder(const std::string& native, int parentFd, const std::string& name, std::vector<Entry>& entries) {
        const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
        const int fd = parentFd >= 0 ? ::openat(parentFd, name.c_str(), flags) : ::open(native.c_str(), flags);
        if (fd < 0) return NotRead;
        struct stat self {};
        if (::fstat(fd, &self) != 0 || onPath({self.st_dev, self.st_ino})) {
            ::close(fd);
            return NotRead;
        }
        ancestors_.push_back({self.st_dev, self.st_ino});
        for (;;) {
            const long n = ::syscall(SYS_getdents64, fd, dents_.data(), dents_.size());
            if (n <= 0) break;
            for (long off = 0; off < n;) {
                // glibc's dirent64 has the layout of the system call's records.
                const auto* de = reinterpret_cast<const dirent64*>(dents_.data() + off);
                off += de->d_reclen;
                readEntry(fd, de->d_name, de->d_type, entries);
            }
        }
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return platform::files::listsBefore(a.name, b.name); });
        if (ancestors_.size() < MaxOpenFolders) return fd;
        ::close(fd);
        return -1;
    }

    void readEntry(int fd, const char* rawName, unsigned char type, std::vector<Entry>& entries) {
        const std::string_view name = rawName;
        if (name == "." || name == "..") return;
        if (!platform::files::isWindowsName(name)) {
            ++result_.skippedNames;
            return;
        }
        Entry e;
        struct stat st {};
        bool statted = false;
        switch (type) {
            case DT_DIR: e.folder = true; break;
            case DT_REG: break;
            case DT_LNK:
            case DT_UNKNOWN:
                // Links are followed; a link whose target cannot be read is left out.
                if (::fstatat(fd, rawName, &st, 0) != 0) return;
                statted = true;
                if (S_ISDIR(st.st_mode)) {
                    if (onPath({st.st_dev, st.st_ino})) return;
                    e.folder = true;
                } else if (!S_ISREG(st.st_mode)) {
                    return;
                }
                break;
            default: return;  // FIFOs, sockets, devices
        }
        if (!e.folder && platform::files::matchesPattern(name, request_.pattern)) {
            if (!statted && ::fstatat(fd, rawName, &st, 0) != 0) return;
            if (!S_ISREG(st.st_mode)) return;  // replaced while we looked
            e.listed = true;
            e.size = static_cast<std::uint64_t>(st.st_size);
        }
        e.name = name;
        entries.push_back(std::move(e));
    }

    bool onPath(const FolderId& id) const {
        return std::find(ancestors_.begin(), ancestors_.end(), id) != ancestors_.end();
    }

    void show(const std::string& tail) {
        if (caption_) caption_(std::to_string(counts_.dirCount) + FolderWord + tail);
    }

    const WalkRequest& request_;
    ScannedFolderList& scanned_;
    WalkCounts& counts_;
    const IndexSink& sink_;
    const CaptionSink& caption_;
    WalkResult& result_;
    std::vector<FolderId> ancestors_;
    std::string buffer_;
    std::vector<char> dents_ = std::vector<char>(64 * 1024);
};

}  // namespace

WalkResult walkFolder(WalkRequest& request, ScannedFolderList& scanned, WalkCounts& counts, const IndexSink& sink,
                      const CaptionSink& caption) {
    WalkResult result;
    if (request.path.empty() || request.path.back() != '\\') request.path += '\\';

    // A drive that is unknown or holds no disc, and a folder that cannot be
    // found, give an empty listing as the system's search does.
    platform::files::ResolvedPath root;
    try {
        root = platform::files::resolvePath(request.path);
    } catch (const platform::Error&) {
        return result;
    }
    if (!root.exists) return result;

    Walker walker(request, scanned, counts, sink, caption, result);
    try {
        result.total = walker.walk(request.path, root.native, root.isDriveRoot, -1, {});
        walker.flush(request.path);
    } catch (const WriteFailed&) {
        result.total = 0;
    }
    return result;
}

std::string stripNulls(std::string& originalStr) {
    const auto nul = originalStr.find('\0');
    if (nul != std::string::npos) originalStr.erase(nul);
    return originalStr;
}

}  // namespace catalogue
