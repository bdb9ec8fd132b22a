#include "copies/mirror_folders.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/files/paths.h"
#include "platform/system/settings_store.h"

namespace copies {

namespace files = platform::files;

std::vector<std::string> recordedMirrorFolders(const platform::system::SettingsStore& settings) {
    std::vector<std::string> folders;
    for (int n = 1;; ++n) {
        std::string folder =
            settings.get(MirrorFoldersApp, MirrorFoldersSection, std::to_string(n), "");
        if (folder.empty()) break;
        folders.push_back(std::move(folder));
    }
    return folders;
}

void recordMirrorFolder(platform::system::SettingsStore& settings, std::string_view folder) {
    const std::vector<std::string> folders = recordedMirrorFolders(settings);
    if (std::find(folders.begin(), folders.end(), folder) != folders.end()) return;
    settings.save(MirrorFoldersApp, MirrorFoldersSection, std::to_string(folders.size() + 1),
                  folder);
}

std::optional<RecordedCopy> recordedCopyOf(const platform::system::SettingsStore& settings,
                                           std::string_view mirrorPath, files::Follow lastName) {
    std::string native;
    try {
        native = files::resolvePath(mirrorPath).native;
    } catch (const platform::Error&) {
        return std::nullopt;
    }
    for (const std::string& folder : recordedMirrorFolders(settings)) {
        try {
            files::ConfinedRoot root = files::ConfinedRoot::openNative(folder);
            // The folder is the one recorded, not another reached through a
            // link put in its place since.
            if (root.resolvedPath() != folder) continue;
            std::optional<std::string> relative = root.nativeRelativeOf(native, lastName);
            if (relative && !relative->empty())
                return RecordedCopy{std::move(root), std::move(*relative)};
        } catch (const platform::Error&) {
        }
    }
    return std::nullopt;
}

}  // namespace copies
