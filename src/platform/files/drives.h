// The drives as the program sees them: their roots, types, volume labels,
// whether a disc is in a CD drive, and the drive door.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::files {

namespace drive_type {
inline constexpr int Unknown = 1;  // no such drive
inline constexpr int Fixed = 3;
inline constexpr int CdRom = 5;
}  // namespace drive_type

// The roots of the drive letters of the table, upper case, in letter order:
// "C:\", "D:\", "Z:\". CD drives are listed whether or not they hold a disc.
std::vector<std::string> driveRoots();

// The type of the drive of a root ("E:\", "e:" or any path on the drive).
int driveType(std::string_view root);

// What a disc's volume label reads when it is blank.
inline constexpr std::string_view NoLabel = "(no label)";

// The volume label of the disc in a drive: the label of its device
// (/dev/disk/by-label), else the label the drive table gives, else the name of
// its mount point when the desktop mounted it under /media or /run/media; a
// blank label reads NoLabel. An audio CD (audio_disc.h) reads the label the
// drive table gives, else AudioCdLabel. "" when the drive is unknown or holds no disc.
std::string volumeLabel(std::string_view root);

// Raises 68 (device unavailable) when the drive is unknown or holds no disc:
// an optical drive without a mounted disc, a folder-backed CD drive that is
// not ready, a drive whose folder is missing.
void requireReady(std::string_view root);

// Opens and closes the door of a CD drive (the first CD drive with a device
// when root is empty). Failures are ignored.
void openDoor(std::string_view root = {});
void closeDoor(std::string_view root = {});

}  // namespace platform::files
