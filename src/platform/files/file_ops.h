// File and folder operations on Windows paths, with Windows semantics and the
// error numbers the program tests: 53 file not found, 76 path not found, 58
// file exists, 75 path/file access error (a folder opened as a file, a
// read-only file written or deleted), 70 permission denied, 52 bad name, 68
// unknown drive, 71 drive without a disc.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform::files {

// The attributes of a file or folder (attr:: bits of listing.h); nothing when
// the path is malformed or missing, or its drive holds no disc.
std::optional<std::uint32_t> getAttributes(std::string_view path);

// The length of a file in bytes; 53 when it is missing (or a folder), 76 when
// its folder is missing.
std::uint64_t fileLength(std::string_view path);

#if defined(ZELBRIN_FILES_INTERNAL)
// The changes by path below belong to the files layer and its tests: the
// program changes a file only beneath a confined root (confined.h), so
// they are not declared for it.

// Sets the attributes; only the read-only bit has an effect: without it the
// owner gets write permission (the archive attribute 32 alone clears
// read-only), with it every write permission is taken away. False on failure.
bool setAttributes(std::string_view path, std::uint32_t attributes);

// Deletes a file: 53 when it is missing or a folder, 76 when its folder is
// missing, 75 when it is read-only.
void deleteFile(std::string_view path);

// Creates one folder level: 58 when the name exists, 76 when the folder that
// should hold it is missing.
void createFolder(std::string_view path);

// Renames or moves a file or folder, never replacing an existing target. A
// target that differs from the source only in letter case renames in place.
// The new name is durable when it returns (committed_write.h); a file moved to
// another file system is copied whole and synced before the original goes.
// Raises 53 for a missing source (76 its folder), 76 for a missing target
// folder, 58 when the target exists, 75 for a drive root or a folder moved to
// another file system, and the number of any other failure.
void moveFile(std::string_view from, std::string_view to);

// Copies a file (the system's copy call): overwrite false fails when the
// target exists. A read-only target is never replaced. The copy keeps the
// source's modification time and read-only attribute (files copied from a CD
// come out read-only). The target appears whole or not at all. False on any
// failure.
bool tryCopyFile(std::string_view from, std::string_view to, bool overwrite);

// Copies a file (the file-system object's copy): a target ending in "\" means
// into that folder under the source's name. Raises 53 for a missing source,
// 76 for a missing target folder, 58 when the target exists and overwrite is
// false, 70 when the target is read-only, a folder, or the source itself.
void copyFile(std::string_view from, std::string_view to, bool overwrite);

// Copies a folder with everything in it (the file-system object's copy): a
// target ending in "\" means into that folder under the source's name.
// Raises 76 for a missing source or target folder, 58 when the target folder
// exists and overwrite is false (overwrite true copies into it, replacing
// files), 75 when the target lies inside the source. Folders reached twice
// through links are copied once per path but never in a loop.
void copyFolder(std::string_view from, std::string_view to, bool overwrite);
#endif  // ZELBRIN_FILES_INTERNAL

}  // namespace platform::files
