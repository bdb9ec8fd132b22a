#include "copies/mirror_edits.h"

#include "copies/mirror_files.h"

namespace copies {

namespace {
// The scan drive that begins every index path: a letter, ":" and "\".
constexpr std::size_t ScanDriveLength = 3;
}  // namespace

std::string mirrorCopyFolder(std::string_view mirrorPath, std::string_view indexPath) {
    if (!mirrorPathAccepted(mirrorPath, indexPath)) return {};
    // The accepted path ends with "\" and the file's path below the disc root.
    const std::size_t below = indexPath.size() - ScanDriveLength + 1;
    std::string folder(mirrorPath.substr(0, mirrorPath.size() - below));
    if (folder.size() == 2) folder += '\\';  // "d:" is the drive's root
    return folder;
}

}  // namespace copies
