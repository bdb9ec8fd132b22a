// What the drive table learns from the running system: optical drives, their
// mounts, volume labels and the user's documents folder. The parsers work on
// texts so that they can be tested without the files they normally read.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::files {

// One line of /proc/self/mountinfo.
struct MountEntry {
    unsigned major = 0;
    unsigned minor = 0;
    std::string root;        // the folder of the file system that is mounted
    std::string mountPoint;  // where it is mounted
    std::string fsType;
    std::string source;     // "/dev/sr0"
    bool readOnly = false;  // mounted read-only ("ro" among the mount options)
};

// Decodes the octal escapes of mount tables ("\040" space, "\011" tab,
// "\012" newline, "\134" backslash). Other text is kept as it is.
std::string decodeMountEscapes(std::string_view field);

// Parses the text of /proc/self/mountinfo; malformed lines are skipped.
std::vector<MountEntry> parseMountInfo(std::string_view text);

// Decodes udev's "\xNN" escapes of /dev/disk/by-label names
// ("DATA\x2001" -> "DATA 01"). Bytes that are not UTF-8 are read as code page 936.
std::string decodeUdevEscapes(std::string_view name);

// The device names of the "drive name:" line of /proc/sys/dev/cdrom/info,
// sorted by name and number ("sr0", "sr1", ...).
std::vector<std::string> parseCdromInfo(std::string_view text);

// The folder named by key (such as "XDG_DOCUMENTS_DIR") in the text of
// user-dirs.dirs, "$HOME" replaced by home; "" when the key is absent.
std::string parseUserDir(std::string_view text, std::string_view key, const std::string& home);

// ---- the live system ----

// The optical drives' device nodes ("/dev/sr0", ...) in the system's order:
// /sys/block/sr*, else the drive names of /proc/sys/dev/cdrom/info.
std::vector<std::string> opticalDevices();

// The current mount table. Re-read only when the kernel reports a change of
// the mounts (poll on /proc/self/mountinfo), so asking often is cheap.
std::vector<MountEntry> currentMounts();

// The mount of a block device (by its device number, else by its name), the
// whole-file-system mount preferred; nothing when it is not mounted.
std::optional<MountEntry> mountOfDevice(const std::string& device,
                                        const std::vector<MountEntry>& mounts);

// The label of the file system on a device: the /dev/disk/by-label link that
// points at it (escapes decoded); nothing when there is none.
std::optional<std::string> labelFromByLabel(
    const std::string& device, const std::string& byLabelFolder = "/dev/disk/by-label");

// The folder named by key ("XDG_DESKTOP_DIR") in the user-dirs.dirs file of
// configHome, else home/fallbackName.
std::string userFolder(std::string_view key, std::string_view fallbackName, const std::string& home,
                       const std::string& configHome);

// The documents folder: XDG_DOCUMENTS_DIR of user-dirs.dirs, else ~/Documents.
std::string documentsFolder();

// $HOME, else the passwd entry's home folder.
std::string homeFolder();

// The folder an environment variable names when it is absolute, without a
// final "/"; "" when it is unset, empty or relative.
std::string envFolder(const char* name);

// The user's configuration home: $XDG_CONFIG_HOME, else ~/.config.
std::string xdgConfigHome();

}  // namespace platform::files
