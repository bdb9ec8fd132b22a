#include "catalogue/cd_drive.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/files/drives.h"
#include "platform/text/text.h"

namespace catalogue {

std::optional<std::string> findCdDriveRoot() {
    for (const std::string& root : platform::files::driveRoots()) {
        if (platform::files::driveType(root) == platform::files::drive_type::CdRom) return root;
    }
    return std::nullopt;
}

std::string volumeLabelOf(std::string_view root) {
    std::string label = platform::files::volumeLabel(root);
    label.erase(std::min(label.find('\0'), label.size()));
    if (label.empty()) return {};
    if (platform::text::trim(label).empty()) return std::string(NoLabel);
    return label;
}

int probeDisc(std::string_view root) {
    try {
        platform::files::requireReady(root);
    } catch (const platform::Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace catalogue
