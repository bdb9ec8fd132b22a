// The folders copy runs copied into, kept in the settings store, and the
// check every removal and opening of a mirror copy passes.
//
// A copy run records the folder it copies into before it begins: its target
// with every link resolved (a native path), once per distinct folder, as the
// values "1", "2", ... of the section "Zelbrin\MirrorFolders". A mirror path
// read from an index is acted on only when it lies below one of them after
// links are resolved; a drive root or a parent of a target is never taken
// for it. Before a first copy run has recorded its folder nothing is
// accepted: the user copies again to record it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/confined.h"

namespace platform::system {
class SettingsStore;
}

namespace copies {

inline constexpr std::string_view MirrorFoldersApp = "Zelbrin";
inline constexpr std::string_view MirrorFoldersSection = "MirrorFolders";

// The recorded folders, in the order they were recorded.
std::vector<std::string> recordedMirrorFolders(const platform::system::SettingsStore& settings);

// Records the folder (a resolved native path) unless it is recorded already.
// Raises as the store's save does.
void recordMirrorFolder(platform::system::SettingsStore& settings, std::string_view folder);

// The folder a Windows path names, or will name once its missing folders are
// made, as a run records it: the nearest folder on its way that exists, with
// every link resolved, followed by the missing names. Nothing when its drive
// is not mapped or the path is malformed.
std::optional<std::string> resolvedFolderOf(std::string_view windowsFolder);

// True when the folder a Windows path names (resolvedFolderOf) is one of the
// recorded ones.
bool isRecordedMirrorFolder(const platform::system::SettingsStore& settings,
                            std::string_view windowsFolder);

// A mirror copy found below a recorded folder: that folder opened as a root
// and the copy's path below it.
struct RecordedCopy {
    platform::files::ConfinedRoot root;
    std::string relative;
};

// The place of mirrorPath (a Windows path, mapped through the drive table)
// below a recorded folder, its folders resolved through every link and, with
// Follow::Yes, its last name too. Nothing when it lies below none of them,
// names no drive, or no folder is recorded.
std::optional<RecordedCopy> recordedCopyOf(const platform::system::SettingsStore& settings,
                                           std::string_view mirrorPath,
                                           platform::files::Follow lastName);

}  // namespace copies
