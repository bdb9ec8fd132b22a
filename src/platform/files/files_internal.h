// Helpers shared by the files-and-drives sources; not part of the public API.
// Only the layer (and its own tests) may include this header: the program
// changes files beneath confined roots (confined.h), never by an open
// descriptor or a native path.
#pragma once

#if !defined(ZELBRIN_FILES_INTERNAL)
#error "files_internal.h belongs to the files layer (src/platform/files); use confined.h"
#endif

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files/committed_write.h"

namespace platform::files {

struct DriveEntry;
class ConfinedRoot;

// A file being written whole through a temporary file beside nativeTarget.
class CommittedFile {
  public:
    // Creates the temporary file. mode: the permissions the new file gets
    // (exactly, where the file system allows it; never more than mode while it
    // is written); none: 0666 less the umask.
    CommittedFile(std::string nativeTarget, OnExisting onExisting,
                  std::optional<unsigned> mode = std::nullopt);
    // The same for the name `name` in the open folder `folder` (a folder the
    // confined layer has resolved; the descriptor is duplicated), never
    // through a link of that name; nativeTarget is its path for the hook and
    // target().
    CommittedFile(int folder, std::string name, std::string nativeTarget, OnExisting onExisting,
                  std::optional<unsigned> mode = std::nullopt);
    // The same in a folder the caller keeps open until this object is gone
    // (no copy of the descriptor is made). newName: the caller has just
    // found no file of that name; the new bytes then go to a file without a
    // name (O_TMPFILE, where the file system has it) that the commit links
    // to the name (a name that came meanwhile is replaced or refused as
    // onExisting says).
    struct BorrowedFolder {
        int fd;
    };
    CommittedFile(BorrowedFolder folder, std::string name, std::string nativeTarget,
                  OnExisting onExisting, std::optional<unsigned> mode = std::nullopt,
                  bool newName = false);
    // A file written whole at relative beneath root (confined.h): every name
    // resolved beneath it, a link as the last name followed only while it
    // stays beneath it. An existing file keeps its permissions unless mode is
    // given. Raises 75 for a path that leaves root (with the text
    // "路径不在允许的文件夹里：" and the path), a folder or a read-only file
    // of that name, and a drive root; 76 when the folder is missing;
    // with OnExisting::Refuse 58 when the file exists. The last name is found
    // as confined.h says: Replace by the rule of case-alike names, Refuse
    // exactly (a file spelt alike is another name).
    CommittedFile(const ConfinedRoot& root, std::string_view relative, OnExisting onExisting,
                  std::optional<unsigned> mode = std::nullopt);
    // Removes the temporary file unless the commit has renamed it.
    ~CommittedFile();
    CommittedFile(const CommittedFile&) = delete;
    CommittedFile& operator=(const CommittedFile&) = delete;

    // Appends bytes to the temporary file.
    void write(std::string_view bytes);
    // Appends the rest of an open file (copy_file_range where it works);
    // with its size when it was opened, at most up to that size.
    void writeFrom(int inputFd, std::optional<std::uint64_t> size = std::nullopt);
    // The temporary file's descriptor (for its times and the like); -1 after
    // the commit.
    int fd() const;
    const std::string& target() const { return target_; }

    // Syncs the data, renames the temporary file to the target and syncs the
    // folder. With OnExisting::Refuse an existing target raises 58 and stays
    // as it is. A failure before the rename removes the temporary file and
    // raises; once the rename is done the target holds the new bytes and
    // commit() returns: a folder sync that fails twice records the target as
    // not confirmed (takeUnconfirmedWrites) instead. Writing ends here.
    void commit();

  private:
    // Takes the open folder over and creates the temporary file in it.
    void create(int folder, std::string name, std::optional<unsigned> mode, bool newName = false);
    // The commit of a file without a name: linked to the target.
    void linkAnonymous();
    void syncAndRename(bool syncData);
    void discard() noexcept;
    void unlock() noexcept;
    void closeFolder() noexcept;

    std::string target_;  // native path, for the hook and target()
    std::string folderPath_;
    int folder_ = -1;   // the folder the file is written in (O_PATH)
    std::string name_;  // the target's name in it
    std::string tempName_;
    std::string temp_;  // the temporary file's path, for the hook
    OnExisting onExisting_;
    bool ownsFolder_ = true;
    bool anonymous_ = false;  // written without a name (O_TMPFILE)
    int fd_ = -1;
    int lock_ = -1;  // holds the temporary file's lock until the rename
};

}  // namespace platform::files

namespace platform::files::detail {

// An owned file descriptor, closed on destruction.
class Fd {
  public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    // A descriptor someone else owns and keeps open while this one is used:
    // never closed here; release() gives a duplicate of it.
    static Fd borrowed(int fd) {
        Fd f(fd);
        f.owned_ = false;
        return f;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd(Fd&& o) noexcept : fd_(std::exchange(o.fd_, -1)), owned_(std::exchange(o.owned_, true)) {}
    Fd& operator=(Fd&& o) noexcept;
    ~Fd();

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // The descriptor, now the caller's to close (-1 when a borrowed one
    // cannot be duplicated).
    int release();
    // Closes now; returns false when close reported an error.
    bool close();

  private:
    int fd_ = -1;
    bool owned_ = true;
};

// The Windows-style error number for an errno value. notFound is the number
// ENOENT stands for at this place (53 for a file, 76 for a folder).
int errorNumberFor(int errnoValue, int notFound);
[[noreturn]] void raiseErrno(int errnoValue, int notFound);

// Opens a file for reading without waiting (a plain open of a pipe without a
// writer, or of some devices, would block) and reads its status into st; the
// descriptor returned reads blocking again. Raises as open does (notFound for
// a missing name). The caller looks at st before it reads.
Fd openForReading(const std::string& nativePath, struct stat& st, int notFound);
// The same for a descriptor opened without waiting (O_NONBLOCK): reads its
// status and makes it read blocking again. errnoValue is the error of the
// open when fd is not valid.
Fd readingFrom(Fd fd, int errnoValue, struct stat& st, int notFound);

// Whole contents of a regular file by native path; false when it cannot be
// read or is not a regular file (never waits on a pipe or device).
bool readNativeFile(const std::string& nativePath, std::string& out);
// Reads everything from an open descriptor; false on a read error.
bool readAll(int fd, std::string& out, std::size_t limit = static_cast<std::size_t>(-1));
// Writes all bytes; false on a write error (errno set).
bool writeAll(int fd, std::string_view bytes);

// True when the owner lacks write permission (the read-only attribute).
inline bool ownerReadOnly(const struct stat& st) { return (st.st_mode & S_IWUSR) == 0; }
// The Windows attributes of a file or folder named name (attr:: bits of listing.h).
std::uint32_t attributesFor(const struct stat& st, std::string_view name, bool readOnlyFs);

// True when the file system holding the descriptor / path is mounted read-only.
bool readOnlyFileSystem(int fd);
bool readOnlyFileSystem(const std::string& nativePath);

// Folder part and last name of a native path ("/a/b" -> "/a", "b"; "/b" -> "/", "b").
std::string nativeParent(const std::string& nativePath);
std::string nativeJoin(const std::string& folder, std::string_view name);
std::string nativeBaseName(const std::string& nativePath);

// Copies a native file's bytes, modification time and permissions to dst
// through the committed-write path (committed_write.h), never over an
// existing dst (58); the copy comes out writable by its owner (made so, not
// changed afterwards). Raises an Error with the number of the failure; dst is
// never left half written.
void copyNativeFile(const std::string& src, const std::string& dst);

// The permissions a copy of the open regular file in gets: the source's,
// without write permission when it is read-only (its mode or its file system).
unsigned copyMode(int in, const struct stat& st);
// The same when it is known whether its file system is read-only.
unsigned copyMode(const struct stat& st, bool readOnlyFs);
// Writes the rest of the open file in (whose status is st) to out, gives it
// the source's times and commits it.
void copyOpenFile(int in, const struct stat& st, CommittedFile& out);

// Renames without replacing an existing target (renameat2 RENAME_NOREPLACE,
// else link + unlink for files). Returns 0 or the errno value.
int renameNoReplace(const std::string& from, const std::string& to);
// The same for names in open folders (AT_FDCWD for paths); never follows a
// link, neither the one renamed nor the one in the way.
int renameNoReplaceAt(int fromFolder, const std::string& from, int toFolder, const std::string& to);

// Opens relative (native names separated by "/"; "" is root itself) beneath
// the open folder root as openat2 with RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS
// does, with openat2 or with a walk name by name (setResolution of
// confined.h): a ".." above root, an absolute path and a link that leads out
// (absolute, or climbing above root) fail with EXDEV, a /proc link or more
// than 40 links with ELOOP; O_NOFOLLOW: a link as the last name is not
// followed. Returns the descriptor (O_CLOEXEC), or -1 with errno set.
int openBeneath(int root, const std::string& relative, int flags, unsigned mode = 0);

// An open folder by native path (O_PATH, links followed); raises as open
// does (76 for a missing folder).
Fd openFolder(const std::string& nativeFolder);

// The entries of an open folder whose Windows name (windowsNameOf) equals
// name: the one equal exactly, and those equal without regard to ASCII case
// (how many, and the one when there is one). The one rule of case-alike
// names, for reads and changes alike: the exact entry, else the only one
// alike, else none; several alike and none exact is refused (ambiguous).
struct CaseAlikeNames {
    std::optional<std::string> exact;
    std::optional<std::string> onlyAlike;  // when alike == 1
    std::size_t alike = 0;
    std::optional<std::string> chosen() const {
        if (exact) return exact;
        if (alike == 1) return onlyAlike;
        return std::nullopt;
    }
    bool ambiguous() const { return !exact && alike > 1; }
};
CaseAlikeNames findByWindowsName(int folder, std::string_view name);
// The refusal of a name that several entries spell alike, none exactly (75
// with AmbiguousNameText and the path).
[[noreturn]] void refuseAmbiguous(const std::string& windowsPath);
// The Windows name a native entry is listed and looked up by (its own name,
// or its code page 936 reading); nothing when it has none.
std::optional<std::string> lookedUpWindowsName(std::string_view native);
// Every entry of an open folder with its Windows name (lookedUpWindowsName),
// in the order the folder lists them.
std::vector<std::pair<std::string, std::string>> windowsNamesIn(int folder);

// The Windows drive and names of a Windows path, "." and ".." applied (".."
// above the drive root is 52), and the drive table's entry that holds it (the
// longest that begins it; 68 when none does).
struct WindowsLocation {
    const DriveEntry* drive = nullptr;
    std::string letter;              // "E:"
    std::vector<std::string> names;  // below the drive's root
    std::size_t driveNames = 0;      // how many of names the entry's own name holds
};
WindowsLocation locateWindows(std::string_view windowsPath);

// The path resolved through every link (realpath); nothing when it cannot be.
std::optional<std::string> realNative(const std::string& native);
// The path with its existing part resolved through every link and the rest
// appended name by name; nothing when it cannot be judged (not absolute, a
// ".." below a missing name, an entry that exists but cannot be resolved: a
// dangling link, a folder that cannot be searched).
std::optional<std::string> resolvedNative(const std::string& native);

// A name in an open folder: what every change acts on. The folder is held
// open by the caller, so the change happens in that folder whatever becomes
// of its path meanwhile, and the name is never followed when it is a link.
struct Entry {
    int folder = -1;   // an open folder (O_PATH is enough)
    std::string name;  // the native name in it
    std::string path;  // its native path: for the commit hook and messages
};

// Deletes a file, or a link itself whatever it points at: 53 when it is
// missing or a folder, 75 on a read-only file system or, unless readOnlyToo,
// when a file (not a link) is read-only. The file's mode is never changed.
void removeFileEntry(const Entry& entry, bool readOnlyToo = false);
// Deletes an empty folder, or a link itself: 76 when it is missing, 75 when
// it is a file, 58 when the folder is not empty.
void removeFolderEntry(const Entry& entry);
// Makes one folder: 58 when the name exists (a link too), 76 when the
// folder that should hold it is missing.
void makeFolderEntry(const Entry& entry);
// Sets the attributes (only the read-only bit has an effect: without it the
// owner gets write permission, with it every write permission is taken away)
// of a file or folder; with an empty name, of the open folder itself. Nothing
// is changed when the mode is already so. A link is never changed nor
// followed: false with errno ELOOP; neither is a file with more than one name
// (a hard link): false with errno EMLINK. False with errno set on any other
// failure.
bool setEntryAttributes(const Entry& entry, std::uint32_t attributes);
// Renames or moves from to to, durably (both folders synced after the
// rename); across file systems (files only, else 75) a committed copy, then
// the original is removed. OnExisting::Refuse: 58 when to exists (a link
// too); Replace: an existing to, or the link there itself, is replaced.
// Links are renamed themselves, never followed.
void moveEntry(const Entry& from, const Entry& to, OnExisting onExisting);
// Makes the names in an open folder durable (fsync); path is for the hook.
void syncFolderAt(int folder, const std::string& path);
// The same after a change that has taken effect (written: the path changed):
// a failed sync is tried once more, and when it fails again the change is
// recorded as written but not confirmed (takeUnconfirmedWrites), never raised.
void confirmFolder(int folder, const std::string& path, const std::string& written);
// Runs the commit hook (committed_write.h) before a change to path.
void beforeChange(CommitStep step, const std::string& path);

}  // namespace platform::files::detail
