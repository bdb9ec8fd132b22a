// Opening the file or folder selected in the disc page's file list with the
// program the desktop associates with it, where it lies now: on the disc in
// the CD drive, or, for a catalogued hard-disk folder, in that folder on the
// hard disk. The catalogue is not changed.
//
// The path is built from the tree's names, which come from an index file
// that may have been made elsewhere: the rules of disc_file_path.h keep it
// inside the CD drive, respectively the catalogued folder. A path that is
// refused, or missing, is told as a missing file.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/scan_command.h"
#include "discpage/disc_file_path.h"
#include "discpage/file_listing.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/system/shell.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

namespace text = platform::text;

constexpr std::string_view InsertDisc = "请插入光盘";
constexpr std::string_view NoSuchFile = "该文件不存在!";
// The folder the opening program starts in.
constexpr std::string_view ShellWorkDir = "C:\\";

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
        const std::optional<discpage::HardDiscFolder> disc =
            discpage::hardDiscFolderOf(app().ProgramFolder, OpenedDisk);
        const discpage::DiscFilePlace place =
            discpage::hardDiscFilePlace(disc.value_or(discpage::HardDiscFolder{}), below);
        if (!discpage::existsInside(place)) {
            ui().msgBox(NoSuchFile, platform::MsgButtons::OK, catalogue::TipTitle);
            return;
        }
        path = place.path;
    } else {
        // Below the scan root node ("\" + scan drive + ":\"), on the drive.
        const std::string scanRoot = "\\" + text::lcase(OpenedDiskLabel1) + ":\\";
        const std::size_t at = text::lcase(treePath).find(scanRoot);
        if (OpenedDiskLabel1.empty() || at == std::string::npos) return;
        const discpage::DiscFilePlace place =
            discpage::cdFilePlace(CdDrive, treePath.substr(at + scanRoot.size()));
        if (!discpage::existsInside(place)) {
            ui().msgBox(InsertDisc, platform::MsgButtons::OK, catalogue::TipTitle);
            return;
        }
        path = place.path;
    }

    // A program that cannot be started for an existing file is not told.
    platform::BusyPointer busy(*this);
    app().shell.open(path, ShellWorkDir);
}
