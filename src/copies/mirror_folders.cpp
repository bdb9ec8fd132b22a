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

std::optional<std::string> resolvedFolderOf(std::string_view windowsFolder) {
    std::string native;
    try {
        native = files::resolvePath(windowsFolder).native;
    } catch (const platform::Error&) {
        return std::nullopt;
    }
    std::string existing = native;
    for (;;) {
        try {
            const std::string resolved =
                files::ConfinedRoot::openNative(existing.empty() ? "/" : existing).resolvedPath();
            std::string missing = native.substr(existing.size());
            if (!missing.empty() && missing.front() == '/') missing.erase(0, 1);
            if (missing.empty()) return resolved;
            return resolved.ends_with('/') ? resolved + missing : resolved + "/" + missing;
        } catch (const platform::Error&) {
            const std::size_t slash = existing.rfind('/');
            if (slash == std::string::npos || existing == "/") return std::nullopt;
            existing.resize(slash == 0 ? 1 : slash);
        }
    }
}

bool isRecordedMirrorFolder(const platform::system::SettingsStore& settings,
                            std::string_view windowsFolder) {
    const std::optional<std::string> folder = resolvedFolderOf(windowsFolder);
    if (!folder) return false;
    const std::vector<std::string> folders = recordedMirrorFolders(settings);
    return std::find(folders.begin(), folders.end(), *folder) != folders.end();
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
