#include "platform/files/committed_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <random>
#include <set>
#include <thread>
#include <utility>

#include "platform/error.h"
#include "platform/files/files_internal.h"

namespace platform::files {

namespace {

// Taken when the program loads, before any code of ours runs.
const std::chrono::system_clock::time_point startedAt = std::chrono::system_clock::now();

CommitHook& hookSlot() {
    static CommitHook hook;
    return hook;
}

void before(CommitStep step, const std::string& path) {
    if (const CommitHook& hook = hookSlot()) hook(step, path);
}

// Raises the error of a failed system call; ENOENT means a missing folder.
[[noreturn]] void raiseFailure(int errnoValue) {
    detail::raiseErrno(errnoValue, err::PathNotFound);
}

// Copies the rest of in to out; false on a failure (errno set). With the
// size the file had when it was opened, the copy ends once that much has
// been copied (no call is spent to learn that nothing follows).
bool copyBytes(int in, int out, std::optional<std::uint64_t> size) {
    bool tryRange = true;
    std::uint64_t copied = 0;
    for (;;) {
        if (size && *size > 0 && copied >= *size) return true;
        if (tryRange) {
            ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, std::size_t{1} << 30, 0);
            if (n == 0) return true;
            if (n > 0) {
                copied += static_cast<std::uint64_t>(n);
                continue;
            }
            if (errno == EINTR) continue;
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP &&
                errno != EBADF) {
                return false;
            }
            tryRange = false;
        }
        char buf[1 << 16];
        ssize_t n = ::read(in, buf, sizeof buf);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (!detail::writeAll(out, std::string_view(buf, static_cast<std::size_t>(n)))) {
            return false;
        }
        copied += static_cast<std::uint64_t>(n);
    }
}

// "registry.ini.Ab3xZ9": a temporary file of the settings stores of earlier
// versions (mkstemp's six letters or digits after the store's name).
bool earlierStoreTemp(std::string_view name) {
    for (std::string_view store : {"registry.ini.", "settings.ini."}) {
        if (name.size() != store.size() + 6 || name.substr(0, store.size()) != store) continue;
        bool letters = true;
        for (char c : name.substr(store.size()))
            letters = letters && std::isalnum(static_cast<unsigned char>(c));
        if (letters) return true;
    }
    return false;
}

// fsync of an open folder; folders that cannot be synced on their file
// system are passed over.
void syncOpenFolder(int folder) {
    if (::fsync(folder) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP) {
        raiseFailure(errno);
    }
}

// Two open folders are the same folder.
bool sameFolder(int a, int b) {
    struct stat sa {
    }, sb{};
    return ::fstat(a, &sa) == 0 && ::fstat(b, &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool isTempName(std::string_view name) {
    return name.substr(0, TempFilePrefix.size()) == TempFilePrefix || name == ".scan.tmp" ||
           earlierStoreTemp(name);
}

// Removes the dead temporary files of an open folder (sweepTempFiles) and
// adds the names of its folders (never links) to subfolders when given: one
// listing does both.
int sweepOpenFolder(int folder, std::chrono::system_clock::time_point before,
                    std::vector<std::string>* subfolders = nullptr) {
    const int readable = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable < 0) return 0;
    DIR* dir = ::fdopendir(readable);
    if (!dir) {
        ::close(readable);
        return 0;
    }
    const auto limit =
        std::chrono::duration_cast<std::chrono::nanoseconds>(before.time_since_epoch());
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (subfolders && name != "." && name != ".." &&
            (entry->d_type == DT_DIR || entry->d_type == DT_UNKNOWN)) {
            subfolders->emplace_back(name);
        }
        if (!isTempName(name)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode)) continue;
        const auto modified =
            std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec);
        if (modified >= limit) continue;  // a file of a program still running
        // A writer still at work holds its file locked (a copy gets its
        // source's time before it is committed, so the age alone cannot tell).
        // A file that cannot be opened to find out stays.
        detail::Fd file(
            ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        if (!file.valid()) continue;
        if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) continue;
        struct stat opened {};
        if (::fstat(file.get(), &opened) != 0 || opened.st_dev != st.st_dev ||
            opened.st_ino != st.st_ino) {
            continue;  // replaced meanwhile
        }
        if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

// The folders written into during this run whose dead temporary files have
// been swept, by native path (a folder's number may come back for another
// folder once it is removed; its path, in a run, hardly does).
std::mutex sweptMutex;
std::set<std::string>& sweptFolders() {
    static std::set<std::string> folders;
    return folders;
}

// Notes a folder as swept in this run; false when it was already.
bool markSwept(const std::string& nativeFolder) {
    const std::lock_guard<std::mutex> lock(sweptMutex);
    return sweptFolders().insert(nativeFolder).second;
}

// The first write into a folder in this run sweeps it.
void sweepOnce(int folder, const std::string& nativeFolder) {
    if (markSwept(nativeFolder)) sweepOpenFolder(folder, startedAt);
}

int sweepTree(int folder, const std::string& nativeFolder,
              std::chrono::system_clock::time_point before, int depth, int levels) {
    markSwept(nativeFolder);
    std::vector<std::string> subfolders;
    int removed = sweepOpenFolder(folder, before, depth < levels ? &subfolders : nullptr);
    for (const std::string& name : subfolders) {
        // Folders only: a link is never followed.
        const detail::Fd child(
            ::openat(folder, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (child.valid())
            removed += sweepTree(child.get(), detail::nativeJoin(nativeFolder, name), before,
                                 depth + 1, levels);
    }
    return removed;
}

// The writes whose folder sync failed twice, native paths in order.
std::mutex unconfirmedMutex;
std::vector<std::string>& unconfirmedList() {
    static std::vector<std::string> paths;
    return paths;
}

void recordUnconfirmed(const std::string& path) {
    const std::lock_guard<std::mutex> lock(unconfirmedMutex);
    std::vector<std::string>& paths = unconfirmedList();
    if (std::find(paths.begin(), paths.end(), path) == paths.end()) paths.push_back(path);
}

}  // namespace

std::vector<std::string> takeUnconfirmedWrites() {
    const std::lock_guard<std::mutex> lock(unconfirmedMutex);
    return std::exchange(unconfirmedList(), {});
}

void detail::confirmFolder(int folder, const std::string& folderPath, const std::string& written) {
    for (int attempt = 1;; ++attempt) {
        try {
            syncFolderAt(folder, folderPath);
            return;
        } catch (const Error&) {
            if (attempt == 2) break;
        }
    }
    recordUnconfirmed(written);
}

void detail::beforeChange(CommitStep step, const std::string& path) { before(step, path); }

CommitHook setCommitHook(CommitHook hook) { return std::exchange(hookSlot(), std::move(hook)); }

CommittedFile::CommittedFile(std::string nativeTarget, OnExisting onExisting,
                             std::optional<unsigned> mode)
    : target_(std::move(nativeTarget)), onExisting_(onExisting) {
    detail::Fd folder = detail::openFolder(detail::nativeParent(target_));
    create(folder.release(), detail::nativeBaseName(target_), mode);
}

CommittedFile::CommittedFile(int folder, std::string name, std::string nativeTarget,
                             OnExisting onExisting, std::optional<unsigned> mode)
    : target_(std::move(nativeTarget)), onExisting_(onExisting) {
    const int own = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
    if (own < 0) raiseFailure(errno);
    create(own, std::move(name), mode);
}

CommittedFile::CommittedFile(BorrowedFolder folder, std::string name, std::string nativeTarget,
                             OnExisting onExisting, std::optional<unsigned> mode, bool newName)
    : target_(std::move(nativeTarget)), onExisting_(onExisting), ownsFolder_(false) {
    create(folder.fd, std::move(name), mode, newName);
}

namespace {

// Files without a name can be given one through /proc (linkat of
// /proc/self/fd/N), which needs no privilege.
bool procFdAvailable() {
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

std::string randomTempName() {
    static std::mt19937_64 rng{std::random_device{}()};
    static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string tempName(TempFilePrefix);
    for (int i = 0; i < 8; ++i) tempName += digits[rng() % (sizeof digits - 1)];
    return tempName;
}

}  // namespace

void CommittedFile::create(int folder, std::string name, std::optional<unsigned> mode,
                           bool newName) {
    folder_ = folder;
    name_ = std::move(name);
    folderPath_ = detail::nativeParent(target_);
    sweepOnce(folder_, folderPath_);
    const mode_t createMode = mode ? static_cast<mode_t>(*mode & 0777) : mode_t{0666};
    // A file for a name not there yet is made without a name and linked to
    // it at the commit: one entry added to the folder instead of a temporary
    // one, a rename and a removal, and nothing left behind by a crash.
    if (newName && procFdAvailable()) {
        temp_ = detail::nativeJoin(folderPath_, randomTempName());
        before(CommitStep::CreateTemp, temp_);
        fd_ = ::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, createMode);
        if (fd_ >= 0) {
            anonymous_ = true;
        } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            const int e = errno;
            temp_.clear();
            closeFolder();
            raiseFailure(e);
        } else {
            temp_.clear();
        }
    }
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        std::string tempName = randomTempName();
        std::string temp = detail::nativeJoin(folderPath_, tempName);
        before(CommitStep::CreateTemp, temp);
        fd_ = ::openat(folder_, tempName.c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, createMode);
        if (fd_ >= 0) {
            temp_ = std::move(temp);
            tempName_ = std::move(tempName);
        } else if (errno != EEXIST) {
            const int e = errno;
            closeFolder();  // the destructor of an object not made does not run
            raiseFailure(e);
        }
    }
    if (fd_ < 0) {
        closeFolder();
        raise(err::PathFileAccess);
    }
    // Locked while it is written, so no sweep takes it away: a second
    // descriptor of the same open file keeps the lock after the data
    // descriptor is closed, until the rename or the discard. A file system
    // without locks is written unlocked; a file without a name needs none.
    if (!anonymous_ && ::flock(fd_, LOCK_EX | LOCK_NB) == 0)
        lock_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    // Exactly the mode asked for (the umask or a folder's default access
    // list may have changed the bits); file systems without permissions
    // keep what they have. Changed only when it differs: a change of mode
    // is an update of the file's inode, a look at it is not.
    if (mode) {
        const auto wanted = static_cast<mode_t>(*mode & 07777);
        struct stat made {};
        if (::fstat(fd_, &made) != 0 || (made.st_mode & 07777) != wanted) ::fchmod(fd_, wanted);
    }
}

CommittedFile::~CommittedFile() {
    discard();
    closeFolder();
}

void CommittedFile::closeFolder() noexcept {
    if (folder_ >= 0 && ownsFolder_) ::close(folder_);
    folder_ = -1;
}

void CommittedFile::discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tempName_.empty()) ::unlinkat(folder_, tempName_.c_str(), 0);
    tempName_.clear();
    temp_.clear();
    unlock();
}

void CommittedFile::unlock() noexcept {
    if (lock_ >= 0) ::close(lock_);
    lock_ = -1;
}

int CommittedFile::fd() const { return fd_; }

void CommittedFile::write(std::string_view bytes) {
    if (fd_ < 0) raise(err::BadFileName);
    before(CommitStep::Write, temp_);
    if (!detail::writeAll(fd_, bytes)) raiseFailure(errno);
}

void CommittedFile::writeFrom(int inputFd, std::optional<std::uint64_t> size) {
    if (fd_ < 0) raise(err::BadFileName);
    before(CommitStep::Write, temp_);
    if (!copyBytes(inputFd, fd_, size)) raiseFailure(errno);
}

void CommittedFile::commit() {
    if (fd_ < 0) raise(err::BadFileName);
    SyncBatch* batch = SyncBatch::current();
    try {
        syncAndRename(batch == nullptr);
    } catch (...) {
        discard();
        throw;
    }
    if (batch)
        batch->note(folder_, folderPath_);
    else
        detail::confirmFolder(folder_, folderPath_, target_);
}

void CommittedFile::syncAndRename(bool syncData) {
    if (syncData) {
        before(CommitStep::SyncData, temp_);
        // EINVAL: a file that cannot be synced (not on a disk); nothing to wait for.
        if (::fdatasync(fd_) != 0 && errno != EINVAL) raiseFailure(errno);
    }
    if (anonymous_) return linkAnonymous();
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) raiseFailure(errno);

    before(CommitStep::Rename, target_);
    int e = 0;
    if (onExisting_ == OnExisting::Replace) {
        if (::renameat(folder_, tempName_.c_str(), folder_, name_.c_str()) != 0) e = errno;
    } else {
        e = detail::renameNoReplaceAt(folder_, tempName_, folder_, name_);
    }
    if (e != 0) raiseFailure(e);
    tempName_.clear();  // it is the target now
    temp_.clear();
    unlock();
}

void CommittedFile::linkAnonymous() {
    before(CommitStep::Rename, target_);
    const std::string proc = "/proc/self/fd/" + std::to_string(fd_);
    int e = 0;
    if (::linkat(AT_FDCWD, proc.c_str(), folder_, name_.c_str(), AT_SYMLINK_FOLLOW) != 0) e = errno;
    if (e == EEXIST && onExisting_ == OnExisting::Replace) {
        // The name came meanwhile: a temporary name, then over it.
        e = 0;
        std::string tempName = randomTempName();
        if (::linkat(AT_FDCWD, proc.c_str(), folder_, tempName.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            e = errno;
        } else if (::renameat(folder_, tempName.c_str(), folder_, name_.c_str()) != 0) {
            e = errno;
            ::unlinkat(folder_, tempName.c_str(), 0);
        }
    }
    if (e != 0) raiseFailure(e);
    // It has its name: the descriptor is only closed now.
    ::close(std::exchange(fd_, -1));
    temp_.clear();
}

namespace {
thread_local SyncBatch* openBatch = nullptr;
}  // namespace

// How often the thread of a batch syncs what the batch has written so far.
constexpr std::chrono::milliseconds FlushInterval{50};

// The thread of a batch: syncs each file system of the batch through a
// descriptor of its own (so the batch's own sync at the end still reports a
// failure since the batch began), every FlushInterval until it is stopped.
struct SyncBatch::Flusher {
    std::mutex mutex;
    std::condition_variable wake;
    bool stopped = false;
    std::vector<int> fds;
    std::thread thread;

    Flusher() : thread([this] { run(); }) {}
    ~Flusher() {
        {
            const std::lock_guard lock(mutex);
            stopped = true;
        }
        wake.notify_all();
        thread.join();
        for (const int fd : fds) ::close(fd);
    }
    void add(int folder) {
        const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return;
        const std::lock_guard lock(mutex);
        fds.push_back(fd);
    }
    void run() {
        std::unique_lock lock(mutex);
        while (!wake.wait_for(lock, FlushInterval, [this] { return stopped; })) {
            const std::vector<int> now = fds;
            lock.unlock();
            for (const int fd : now) ::syncfs(fd);
            lock.lock();
        }
    }
};

SyncBatch::SyncBatch() : previous_(openBatch) { openBatch = this; }

SyncBatch::~SyncBatch() {
    try {
        finish();
    } catch (const Error&) {
    }
}

SyncBatch* SyncBatch::current() { return openBatch; }

void SyncBatch::note(int folder, const std::string& nativeFolder) {
    struct stat st {};
    if (::fstat(folder, &st) != 0) return;
    const auto device = static_cast<unsigned long long>(st.st_dev);
    for (const FileSystem& fileSystem : fileSystems_)
        if (fileSystem.device == device) return;
    const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fileSystems_.push_back({device, fd, nativeFolder});
    if (!flusher_) flusher_ = std::make_unique<Flusher>();
    flusher_->add(folder);
}

void SyncBatch::finish() {
    if (!open_) return;
    open_ = false;
    if (openBatch == this) openBatch = previous_;
    flusher_.reset();
    int failure = 0;
    for (const FileSystem& fileSystem : fileSystems_) {
        try {
            before(CommitStep::SyncFolder, fileSystem.folder);
            if (::syncfs(fileSystem.fd) != 0 && failure == 0) failure = errno;
        } catch (const Error&) {
            if (failure == 0) failure = EIO;
        }
        ::close(fileSystem.fd);
    }
    fileSystems_.clear();
    if (failure != 0) raiseFailure(failure);
}

void detail::syncFolderAt(int folder, const std::string& path) {
    before(CommitStep::SyncFolder, path);
    detail::Fd readable(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!readable.valid()) raiseFailure(errno);
    syncOpenFolder(readable.get());
}

void detail::moveEntry(const Entry& from, const Entry& to, OnExisting onExisting) {
    const std::string sourceFolder = nativeParent(from.path);
    const std::string targetFolder = nativeParent(to.path);
    before(CommitStep::Rename, to.path);
    int e = 0;
    if (onExisting == OnExisting::Replace) {
        if (::renameat(from.folder, from.name.c_str(), to.folder, to.name.c_str()) != 0) e = errno;
    } else {
        e = renameNoReplaceAt(from.folder, from.name, to.folder, to.name);
    }
    if (e == 0) {
        // The move has happened: a folder that will not sync is told, never
        // taken back.
        confirmFolder(to.folder, targetFolder, to.path);
        if (!sameFolder(from.folder, to.folder)) confirmFolder(from.folder, sourceFolder, to.path);
        return;
    }
    if (e != EXDEV) raiseErrno(e, err::FileNotFound);
    struct stat st {};
    if (::fstatat(from.folder, from.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        raiseErrno(errno, err::FileNotFound);
    if (!S_ISREG(st.st_mode)) raise(err::PathFileAccess);
    // Until the copy is durable under its name the source stays.
    Fd in = readingFrom(Fd(::openat(from.folder, from.name.c_str(),
                                    O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC)),
                        errno, st, err::FileNotFound);
    if (!S_ISREG(st.st_mode)) raise(err::PathFileAccess);
    {
        CommittedFile out(to.folder, to.name, to.path, onExisting, copyMode(in.get(), st));
        copyOpenFile(in.get(), st, out);
    }
    // A source that cannot be removed stays beside its copy, which is
    // complete and durable: nothing is taken back.
    if (::unlinkat(from.folder, from.name.c_str(), 0) != 0) raiseErrno(errno, err::FileNotFound);
    confirmFolder(from.folder, sourceFolder, to.path);
}

std::chrono::system_clock::time_point programStartTime() { return startedAt; }

int sweepTempFiles(const std::string& nativeFolder, std::chrono::system_clock::time_point before) {
    const detail::Fd folder(::open(nativeFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) return 0;
    markSwept(nativeFolder);
    return sweepOpenFolder(folder.get(), before);
}

int sweepTempFilesBelow(const std::string& nativeFolder,
                        std::chrono::system_clock::time_point before, int levels) {
    const detail::Fd folder(::open(nativeFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) return 0;
    return sweepTree(folder.get(), nativeFolder, before, 0, levels);
}

}  // namespace platform::files
