// Opening the file or folder selected in the disc page's file list with the
// program the desktop associates with it, where it lies now: on the disc in
// the CD drive, or, for a catalogued hard-disk folder, in that folder on the
// hard disk. The catalogue is not changed.
//
// The path is built from the tree's names, which come from an index file
// that may have been made elsewhere: no name may be "." or "..", and the
// path must stay inside the CD drive, respectively the catalogued folder.
// A path that is refused, or missing, is told as a missing file.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/index_line.h"
#include "catalogue/scan_command.h"
#include "discpage/file_listing.h"
#include "discpage/item_path.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/confine.h"
#include "platform/files/file_ops.h"
#include "platform/files/text_file.h"
#include "platform/system/shell.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

namespace files = platform::files;
namespace text = platform::text;

constexpr std::string_view InsertDisc = "请插入光盘";
constexpr std::string_view NoSuchFile = "该文件不存在!";
// The folder the opening program starts in.
constexpr std::string_view ShellWorkDir = "C:\\";

// True when path exists and lies inside root (both Windows paths).
bool existsInside(const std::string& path, const std::string& root) {
    try {
        files::confinedNative(path, root);
    } catch (const platform::Error&) {
        return false;
    }
    return files::getAttributes(path).has_value();
}

// True when below (names under base) holds plain names only and base +
// below exists inside root.
bool openable(const std::string& below, const std::string& base, const std::string& root) {
    return discpage::plainNames(below) && existsInside(base + below, root);
}

}  // namespace

void Form1::OpenOpticDisk_Click() {
    if (!TreeView1.visible()) return;
    const platform::Node* node = TreeView1.selectedItem();
    const platform::ListItem* item = ListView1.selectedItem();
    if (!node || !item || item->smallIcon() == images::SoftwareCategory) return;

    // The tree path: the folder's node, the row's name and, for a file with
    // an extension, "." and its type.
    const std::string treePath =
        node->fullPath() + "\\" +
        discpage::rowFileName(item->text(), item->subItem(1), item->smallIcon() == images::Folder);

    std::string path;
    const std::string discPrefix = OpenedDisk + "\\";
    if (catalogue::isHardDisc(OpenedDisk) && text::startsWith(treePath, discPrefix)) {
        // Below the disc node: the scanned folder's name and the names below
        // it, under the folder's parent.
        const std::string below = treePath.substr(discPrefix.size());
        const std::optional<std::string> base =
            discpage::hardDiscBaseOf(app().ProgramFolder, OpenedDisk);
        const std::string root = base ? discpage::scannedFolder(*base, below) : "";
        if (!base || !openable(below, *base, root)) {
            ui().msgBox(NoSuchFile, platform::MsgButtons::OK, catalogue::TipTitle);
            return;
        }
        path = *base + below;
    } else {
        // Below the scan root node ("\" + scan drive + ":\"), on the drive.
        const std::string scanRoot = "\\" + text::lcase(OpenedDiskLabel1) + ":\\";
        const std::size_t at = text::lcase(treePath).find(scanRoot);
        if (OpenedDiskLabel1.empty() || at == std::string::npos) return;
        const std::string below = treePath.substr(at + scanRoot.size());
        if (!openable(below, CdDrive, CdDrive)) {
            ui().msgBox(InsertDisc, platform::MsgButtons::OK, catalogue::TipTitle);
            return;
        }
        path = CdDrive + below;
    }

    // A program that cannot be started for an existing file is not told.
    platform::BusyPointer busy(*this);
    app().shell.open(path, ShellWorkDir);
}
