// Folder listings with Windows semantics: find-first/find-next entries with
// DOS wildcard patterns, attributes, and the file-list box's listing.
//
// Every listing leaves out names that cannot be written in a Windows path or a
// stored line (see isWindowsName), entries whose attributes cannot be read, and
// entries that are neither files nor folders (devices, pipes, sockets).
// Symbolic links are followed.
#pragma once

#include <cstdint>
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
    std::string name;
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

// The entries of a native folder ("." and ".." left out), in listing order.
// A folder that cannot be read gives no entries. One directory read and one
// stat per entry, with no path resolution.
std::vector<FindEntry> listNativeFolder(const std::string& nativeFolder);

// One entry of a folder read for a recursive walk (see WalkFolder).
struct WalkEntry {
    std::string name;
    bool isFolder = false;
    bool matches = false;      // a file whose name matches the walk's pattern
    std::uint64_t size = 0;    // the size of a matching file
    // A folder reached through a symbolic link (or whose entry gave no type):
    // device and inode are then its identity (to tell loops).
    bool throughLink = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// A folder opened for a recursive walk (the folder walk of a scan). Its
// subfolders are opened through it, without resolving their paths again, and
// it is read with one directory read plus a stat only for links, entries of
// unknown type and files whose name matches the pattern. The entries follow
// the rules of every listing (names, special files, links followed).
class WalkFolder {
public:
    // Opens a Windows folder ("E:\", "D:\music\pop"). isOpen() is false when
    // the path is malformed, the drive is unknown or holds no disc, or the
    // folder is missing or cannot be opened.
    explicit WalkFolder(std::string_view windowsFolder);
    // Opens the subfolder name of parent.
    WalkFolder(const WalkFolder& parent, const std::string& name);
    WalkFolder(const WalkFolder&) = delete;
    WalkFolder& operator=(const WalkFolder&) = delete;
    ~WalkFolder();

    bool isOpen() const { return fd_ >= 0; }
    // The root of a drive ("E:\"), whose listing has no "." and "..".
    bool isDriveRoot() const { return driveRoot_; }
    // The folder's identity (to tell loops), read when it was opened.
    std::uint64_t device() const { return device_; }
    std::uint64_t inode() const { return inode_; }

    // The entries in listing order. Names that cannot stand in a Windows path
    // or a stored line are left out and counted in skippedNames. Raises an
    // Error when the folder cannot be read to its end (an I/O error part-way);
    // a folder removed meanwhile has no entries and is no error.
    std::vector<WalkEntry> read(std::string_view pattern, std::int64_t& skippedNames) const;
    // Closes the folder (to stay within the limit of open files); its
    // subfolders are then opened by their full paths.
    void close();

private:
    void identify();  // reads the identity of the folder just opened

    std::string native_;
    bool driveRoot_ = false;
    int fd_ = -1;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
};

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
