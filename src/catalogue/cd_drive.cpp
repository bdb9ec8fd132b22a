#include "catalogue/cd_drive.h"

#include "platform/files/drives.h"
#include "platform/text/text.h"

namespace catalogue {

std::optional<std::string> findCdDriveRoot() {
    for (const std::string& root : platform::files::driveRoots()) {
        if (isCdDrive(root)) return root;
    }
    return std::nullopt;
}

bool isCdDrive(std::string_view root) {
    return platform::files::driveType(root) == platform::files::drive_type::CdRom;
}

std::string volumeLabelOf(std::string_view root) {
    std::string label = platform::files::volumeLabel(root);
    if (label.empty()) return {};  // no such drive, or no disc
    stripNulls(label);
    if (platform::text::trim(label).empty()) return std::string(platform::files::NoLabel);
    return label;
}

std::string stripNulls(std::string& originalStr) {
    const auto nul = originalStr.find('\0');
    if (nul != std::string::npos) originalStr.erase(nul);
    return originalStr;
}

}  // namespace catalogue
