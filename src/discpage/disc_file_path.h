// Where a catalogued file lies now: on the disc in the CD drive, or, for a
// catalogued hard-disk folder (a disc name ending in "_hard"), in that folder
// on the hard disk.
//
// The paths are built from index text or from names of the trees, which an
// index made elsewhere may fill with anything: every name below the drive or
// the catalogued folder must be plain (not empty, "." or ".."), and the path
// must lie inside that drive, respectively that folder, once links are
// followed. A path that fails either test counts as a missing file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/files/confined.h"

namespace discpage {

// A file's place: its Windows path, the folder it must lie inside (the CD
// drive's root, or the catalogued folder), and whether the path was built by
// the rules (plain names only, below the folder's parent). A place that
// breaks them keeps its path to be told, and never exists.
struct DiscFilePlace {
    std::string path;
    std::string root;
    bool plain = true;
};

// True when every name of a path is a plain name: not empty, not "." and not
// "..". Names are separated by "\" and by "/", which the drive table reads
// as "\" too.
bool plainNames(std::string_view path);

// A catalogued hard-disk folder, from the first line of its index file.
struct HardDiscFolder {
    std::string base;    // its parent, HardDiscBase of the line ("" for a whole drive)
    std::string folder;  // the folder itself ("C:\music\pop", "D:\" for a whole drive)
};
HardDiscFolder hardDiscFolder(std::string_view firstLine);
// The same from the disc's index file (its first line is the only one read;
// an empty index holds no folder); nothing when the index cannot be read.
std::optional<HardDiscFolder> hardDiscFolderOf(std::string_view programFolder,
                                               std::string_view disc);

// A file of a CD from the names below its scan root ("docs\a.txt"): the CD
// drive's root followed by them.
DiscFilePlace cdFilePlace(std::string_view cdDrive, std::string_view below);

// A file of a hard-disk disc from the names below the disc's node: the
// scanned folder's own name and the names below it ("pop\live\a.mp3"), or
// the drive ("D:\sub\a.txt") when a whole drive was scanned; the folder's
// parent followed by them, inside the catalogued folder.
DiscFilePlace hardDiscFilePlace(const HardDiscFolder& disc, std::string_view below);

// A file of a CD from its path as scanned ("E:\docs\a.txt"): the CD drive's
// root followed by the path without its first three characters (the scan
// drive, whatever its letter).
DiscFilePlace cdScanPathPlace(std::string_view cdDrive, std::string_view scanPath);

// A file of a hard-disk disc from its path as scanned: the path itself, which
// must begin with the folder's parent (ASCII letter case ignored) and name a
// file inside the catalogued folder.
DiscFilePlace hardDiscScanPathPlace(const HardDiscFolder& disc, std::string_view scanPath);

// The path an index line names: a file line's path (its size, tick marks and
// mirror part taken off), a folder line's folder; any other line up to its
// first "[" (the whole line without one).
std::string indexLinePath(std::string_view line);

// The file a note path names (a note key without its disc name: folders,
// name, "." and type): the path with a trailing ".No扩展名" taken off; nothing
// for the note of a folder (type "文件夹").
std::optional<std::string> notedFilePath(std::string_view notePath);

// Where a file or folder of the disc page's list lies now, from its tree path
// (the listed folder's full path, "\" and the row's file name). A hard-disk
// disc (openedDisk ends in "_hard"): the names after openedDisk + "\", under
// the catalogued folder's parent (an index that cannot be read gives a place
// that never exists). Otherwise the names after the scan root node ("\",
// scanDrive, ":\", letter case ignored), on the CD drive. Nothing when the
// path holds no scan root.
struct ListedFilePlace {
    DiscFilePlace place;
    bool hardDisc = false;
};
std::optional<ListedFilePlace> listedFilePlace(std::string_view programFolder,
                                               std::string_view openedDisk,
                                               std::string_view scanDrive, std::string_view cdDrive,
                                               std::string_view treePath);

// True when place is plain and its path exists and lies inside its root.
bool existsInside(const DiscFilePlace& place);

// The refusal of a path that leads out of the folder a command may change.
inline constexpr std::string_view OutsideFolder = "路径不在允许的文件夹里：";

// The root a change to a disc's own files goes through: "guangpan" of the
// program folder (confined.h). Raises as ConfinedRoot::open.
platform::files::ConfinedRoot discFilesRoot(std::string_view programFolder);
// Writes text whole (WholeFileRewrite) to path, one of the disc's own files
// (catalogue::discFilePath), beneath "guangpan": a path or a link that leads
// out of it raises 75 "路径不在允许的文件夹里：" + the path.
void rewriteDiscFile(std::string_view programFolder, std::string_view path, std::string_view text);

// The place's path relative to its root, opened (confined.h): the file a
// change on the disc (a delete, a rename, a copy's source) may touch. Raises
// 75 "路径不在允许的文件夹里：" + the path for a place that is not plain or
// not below its root.
struct ConfinedPlace {
    platform::files::ConfinedRoot root;
    std::string relative;
};
ConfinedPlace confinedPlace(const DiscFilePlace& place);

}  // namespace discpage
