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
    const std::string treePath = node->fullPath() + "\\" +
                                 discpage::rowFileName(item->text(), item->subItem(1), item->key(),
                                                       item->smallIcon() == images::Folder);

    const std::optional<discpage::ListedFilePlace> listed = discpage::listedFilePlace(
        app().ProgramFolder, OpenedDisk, OpenedDiskLabel1, CdDrive, treePath);
    if (!listed) return;
    if (!discpage::existsInside(listed->place)) {
        ui().msgBox(listed->hardDisc ? NoSuchFile : InsertDisc, platform::MsgButtons::OK,
                    catalogue::TipTitle);
        return;
    }
    const std::string path = listed->place.path;

    // A program that cannot be started for an existing file is not told.
    platform::BusyPointer busy(*this);
    app().shell.open(path, ShellWorkDir);
}
