#include "discpage/disc_file_path.h"

#include "catalogue/index_line.h"
#include "catalogue/scan_command.h"
#include "discpage/file_listing.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/file_ops.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace discpage {

namespace {
namespace files = platform::files;
namespace text = platform::text;

// The characters of a scan drive's root ("E:\") before a path on a CD.
constexpr std::size_t ScanDriveLength = 3;
}  // namespace

bool plainNames(std::string_view path) {
    for (const std::string& name : text::split(text::replace(path, "/", "\\"), "\\"))
        if (name.empty() || name == "." || name == "..") return false;
    return true;
}

HardDiscFolder hardDiscFolder(std::string_view firstLine) {
    HardDiscFolder disc;
    disc.base = catalogue::HardDiscBase(firstLine);
    if (text::startsWith(firstLine, disc.base))
        disc.folder = scannedFolder(disc.base, firstLine.substr(disc.base.size()));
    return disc;
}

std::optional<HardDiscFolder> hardDiscFolderOf(std::string_view programFolder,
                                               std::string_view disc) {
    try {
        files::RawLineReader lines(catalogue::discIndexFilePath(programFolder, disc));
        std::string_view first;
        if (!lines.next(first)) return HardDiscFolder{};
        return hardDiscFolder(text::fromCp936(first));
    } catch (const platform::Error&) {
        return std::nullopt;
    }
}

DiscFilePlace cdFilePlace(std::string_view cdDrive, std::string_view below) {
    return {std::string(cdDrive) + std::string(below), std::string(cdDrive), plainNames(below)};
}

DiscFilePlace hardDiscFilePlace(const HardDiscFolder& disc, std::string_view below) {
    return {disc.base + std::string(below), disc.folder, !disc.folder.empty() && plainNames(below)};
}

DiscFilePlace cdScanPathPlace(std::string_view cdDrive, std::string_view scanPath) {
    return cdFilePlace(cdDrive, text::mid(scanPath, ScanDriveLength + 1));
}

DiscFilePlace hardDiscScanPathPlace(const HardDiscFolder& disc, std::string_view scanPath) {
    if (!text::startsWithIgnoringCase(scanPath, disc.base))
        return {std::string(scanPath), disc.folder, false};
    DiscFilePlace place = hardDiscFilePlace(disc, scanPath.substr(disc.base.size()));
    place.path = std::string(scanPath);
    return place;
}

std::string indexLinePath(std::string_view line) {
    if (const auto file = catalogue::parseFileLine(line)) return file->path;
    if (const auto folder = catalogue::parseFolderLine(line)) return folder->path();
    return std::string(line.substr(0, line.find('[')));
}

std::optional<std::string> notedFilePath(std::string_view notePath) {
    const std::string folderSuffix = "." + std::string(FolderType);
    const std::string noExtensionSuffix = "." + std::string(NoExtensionType);
    if (notePath.ends_with(folderSuffix)) return std::nullopt;
    if (notePath.ends_with(noExtensionSuffix)) notePath.remove_suffix(noExtensionSuffix.size());
    return std::string(notePath);
}

bool existsInside(const DiscFilePlace& place) {
    try {
        const ConfinedPlace at = confinedPlace(place);
        return at.root.status(at.relative).has_value();
    } catch (const platform::Error&) {
        return false;
    }
}

files::ConfinedRoot discFilesRoot(std::string_view programFolder) {
    return files::ConfinedRoot::open(catalogue::indexFolderPath(programFolder));
}

void rewriteDiscFile(std::string_view programFolder, std::string_view path, std::string_view text) {
    const files::ConfinedRoot root = discFilesRoot(programFolder);
    files::WholeFileRewrite(root, root.relativeOf(path), text);
}

ConfinedPlace confinedPlace(const DiscFilePlace& place) {
    if (!place.plain || place.root.empty())
        platform::raise(platform::err::PathFileAccess, std::string(OutsideFolder) + place.path);
    files::ConfinedRoot root = files::ConfinedRoot::open(place.root);
    std::string relative = root.relativeOf(place.path);
    return {std::move(root), std::move(relative)};
}

std::optional<ListedFilePlace> listedFilePlace(std::string_view programFolder,
                                               std::string_view openedDisk,
                                               std::string_view scanDrive, std::string_view cdDrive,
                                               std::string_view treePath) {
    namespace text = platform::text;
    const std::string discPrefix = std::string(openedDisk) + "\\";
    if (catalogue::isHardDisc(openedDisk) && text::startsWith(treePath, discPrefix)) {
        const std::optional<HardDiscFolder> disc = hardDiscFolderOf(programFolder, openedDisk);
        return ListedFilePlace{
            hardDiscFilePlace(disc.value_or(HardDiscFolder{}), treePath.substr(discPrefix.size())),
            true};
    }
    const std::string scanRoot = "\\" + text::lcase(scanDrive) + ":\\";
    const std::size_t at = text::lcase(treePath).find(scanRoot);
    if (scanDrive.empty() || at == std::string::npos) return std::nullopt;
    return ListedFilePlace{cdFilePlace(cdDrive, treePath.substr(at + scanRoot.size())), false};
}

}  // namespace discpage
