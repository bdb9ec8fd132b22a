// Folder listings with Windows semantics: find-first/find-next entries with
// DOS wildcard patterns, attributes, and the file-list box's listing.
//
// Every listing gives entries by their Windows names (windowsNameOf of
// paths.h: the name itself, or a name stored in code page 936 on disk
// decoded), and leaves out names that have none (they cannot be written in a
// Windows path or a stored line), entries whose attributes cannot be read, and
// entries that are neither files nor folders (devices, pipes, sockets). When a
// decoded name equals another entry's own name, the decoded one is left out:
// the Windows path leads to the other. Symbolic links are followed; a walk
// (WalkFolder) follows links to folders only into the walked folder.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::files {

// Attribute bits.
namespace attr {
inline constexpr std::uint32_t ReadOnly = 1;  // the owner may not write, or a read-only mount
inline constexpr std::uint32_t Hidden = 2;    // the name begins with "."
inline constexpr std::uint32_t Directory = 16;
inline constexpr std::uint32_t Archive = 32;  // every plain file
}  // namespace attr

struct FindEntry {
    std::string name;        // the Windows name (windowsNameOf)
    std::string nativeName;  // the name on disk when it differs from name, else ""
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;    // 0 for a folder
    std::uint64_t device = 0;  // identity of the file or folder (to tell loops of links)
    std::uint64_t inode = 0;

    bool isFolder() const { return (attributes & attr::Directory) != 0; }
};

// DOS wildcard match, without regard to ASCII case: "*" any run of characters,
// "?" one character; "*" and "*.*" match every name; a pattern ending in ".*"
// also matches the same name without a dot ("a.*" matches "a"); a pattern
// ending in "." matches names without a dot ("*." matches "readme"). There are
// no matches through short 8.3 names. An empty pattern matches nothing.
bool matchesPattern(std::string_view name, std::string_view pattern);

// The listing order: by the upper-cased name (ASCII), then by the bytes.
bool listsBefore(std::string_view a, std::string_view b);

// The entries of a native folder ("." and ".." left out) that have a Windows
// name, with their native names (for copies made natively), in listing order
// of the native names. A folder that cannot be read gives no entries. One
// directory read and one stat per entry, with no path resolution.
std::vector<FindEntry> listNativeFolder(const std::string& nativeFolder);

// The identity of a folder (to tell a folder met twice, through links or
// mounts).
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FolderId&) const = default;
};
struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const {
        return std::hash<std::uint64_t>{}(id.inode * 31 + id.device);
    }
};

// One entry of a folder read for a recursive walk (see WalkFolder).
struct WalkEntry {
    std::string name;        // the Windows name (windowsNameOf)
    std::string nativeName;  // the name on disk when it differs from name, else ""
    bool isFolder = false;
    bool throughLink = false;  // a folder reached through a symbolic link
    bool matches = false;      // a file whose name matches the walk's pattern
    std::uint64_t size = 0;    // the size of a matching file (of its target for a link)
    FolderId folder;           // a folder's identity (its target's for a link)

    const std::string& onDisk() const { return nativeName.empty() ? name : nativeName; }
};

// A folder opened for a recursive walk (the folder walk of a scan). Its
// subfolders are opened through it by their names (openat), so no path is
// resolved again and no path grows past the system's limit however deep the
// tree. To stay within the limit of open files, a walk may close the handle
// of a deep folder once it is read (closeHandle): its subfolders are then
// opened through the nearest ancestor still open, by their names from there,
// in pieces shorter than the system's path limit.
//
// A WalkFolder opened through a parent refers to it: the parent must outlive it.
class WalkFolder {
  public:
    // Opens a Windows folder ("E:\", "D:\music\pop"). isOpen() is false when
    // the path is malformed, the drive is unknown or holds no disc, or the
    // folder is missing or cannot be opened.
    explicit WalkFolder(std::string_view windowsFolder);
    // Opens the subfolder sub (an entry read from parent), through a link
    // when sub is one.
    WalkFolder(const WalkFolder& parent, const WalkEntry& sub);
    WalkFolder(const WalkFolder&) = delete;
    WalkFolder& operator=(const WalkFolder&) = delete;
    ~WalkFolder();

    // The folder was found and opened; its identity is then known.
    bool isOpen() const { return error_ == 0; }
    // Why it was not: ENOENT when it is missing (also a drive without a disc
    // or a malformed path), else the system's error number (EACCES, ...).
    int openError() const { return error_; }
    // The root of a drive ("E:\"), whose listing has no "." and "..".
    bool isDriveRoot() const { return driveRoot_; }
    FolderId id() const { return id_; }

    // The entries in listing order, by their Windows names, read while the
    // handle is open (nothing after closeHandle). Left out and counted in
    // leftOut: entries without a Windows name, a decoded name that equals
    // another entry's own name, FIFOs, sockets and devices, links whose target
    // cannot be read (dangling), entries whose attributes cannot be read, and
    // links to folders that lie outside the walk. A folder link lies inside
    // when its target, or a folder above the target (climbing by ".." up to
    // the system's root), is one for which isInside is true (the walk's root
    // and the folders it has taken in: see the folder walk). Links to files
    // are followed. Raises an Error when the folder cannot be read to its end (an
    // I/O error part-way); a folder removed meanwhile has no entries and is no
    // error.
    std::vector<WalkEntry> read(std::string_view pattern, std::int64_t& leftOut,
                                const std::function<bool(const FolderId&)>& isInside) const;
    // Closes the handle (a folder below the walk's root only).
    void closeHandle();

  private:
    void identify();  // reads the identity of the folder just opened
    int openThroughAncestor(const std::string& name) const;

    const WalkFolder* parent_ = nullptr;
    std::string nativeName_;  // the name in parent_ ("" for the root)
    bool driveRoot_ = false;
    int fd_ = -1;
    int error_ = 0;
    FolderId id_;
};

// How many folders a walk keeps open at most: 256, or a quarter of the
// process's limit of open files when that is lower (at least 8).
std::size_t walkOpenFolderLimit();

// find-first/find-next over a Windows folder ("E:\docs" or "E:\docs\") and a
// pattern ("*", "*.mp3"): "." and ".." first (except at a drive root), then the
// matching entries in listing order. A folder that is missing or cannot be
// searched, and a drive without a disc, give no entries and no error.
std::vector<FindEntry> findEntries(std::string_view windowsFolder, std::string_view pattern);

// The file-list box's listing: the names of the plain files of a Windows
// folder that do not begin with "." and match the pattern (several patterns
// may be given separated by ";"), sorted by text::compareText. Nothing for a
// folder that cannot be read.
std::vector<std::string> listFiles(std::string_view windowsFolder, std::string_view pattern);

}  // namespace platform::files
