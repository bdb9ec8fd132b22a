// The send-to commands of the file list's pop-up menu (send_to.h): the
// selected row, a file or a folder, is copied from where it lies now into a
// folder on the hard disk, and recorded nowhere. The item's path is built
// from the names of the disc tree: on a CD the names below the scan root
// node, on the disc in the CD drive; for a catalogued hard-disk folder the
// names below the disc node, under the folder's parent. Those names come from
// an index file, so a path holding a name "." or "..", or one that leads
// outside the CD drive or the catalogued folder, is refused as a failed copy.
#include <optional>
#include <string>

#include "catalogue/scan_command.h"
#include "copies/send_to.h"
#include "copies/sendto_dialog.h"
#include "discpage/disc_file_path.h"
#include "discpage/file_listing.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/confine.h"
#include "platform/files/drive_table.h"
#include "platform/files/file_ops.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

namespace files = platform::files;
namespace text = platform::text;

// The item of the tree path (the selected folder node's full path, "\" and
// the row's name); nothing when it cannot be sent.
std::optional<discpage::DiscFilePlace> sourceOf(const Form1& form, const std::string& treePath) {
    const std::string discPrefix = form.OpenedDisk + "\\";
    if (catalogue::isHardDisc(form.OpenedDisk)) {
        // The scanned folder's name and the names below it, under the
        // folder's parent.
        if (!text::startsWith(treePath, discPrefix)) return std::nullopt;
        const std::string below = treePath.substr(discPrefix.size());
        const auto disc = discpage::hardDiscFolderOf(form.app().ProgramFolder, form.OpenedDisk);
        if (!disc) return std::nullopt;
        const discpage::DiscFilePlace place = discpage::hardDiscFilePlace(*disc, below);
        if (!place.plain) return std::nullopt;
        return place;
    }
    // A CD: the disc node's and the scan root node's names dropped, the rest
    // on the CD drive.
    const std::size_t disc = treePath.find('\\');
    const std::size_t root =
        disc == std::string::npos ? std::string::npos : treePath.find('\\', disc + 1);
    if (root == std::string::npos) return std::nullopt;
    const discpage::DiscFilePlace place =
        discpage::cdFilePlace(form.CdDrive, treePath.substr(root + 1));
    if (!place.plain) return std::nullopt;
    return place;
}

// Copies the selected row's item into the target folder (ending in "\");
// any failure shows the error box.
void sendSelectedRow(Form1& form, const std::string& target) {
    const platform::Node* node = form.TreeView1.selectedItem();
    const platform::ListItem* row = form.ListView1.selectedItem();
    if (!node || !row || row->smallIcon() == images::SoftwareCategory) return;
    const bool folder = row->smallIcon() == images::Folder;
    const std::string treePath =
        node->fullPath() + "\\" + discpage::rowFileName(row->text(), row->subItem(1), folder);
    const std::optional<discpage::DiscFilePlace> source = sourceOf(form, treePath);

    platform::SkipOnError onError;
    platform::BusyPointer busy(form);
    const bool copied = source && onError.step([&] {
        files::confinedNative(source->path, source->root);
        if (folder)
            files::copyFolder(source->path, target, false);
        else
            files::copyFile(source->path, target, false);
    });
    busy.end();
    if (!copied)
        form.ui().msgBox(copies::sendErrorText(folder), platform::MsgButtons::OK,
                         copies::SendErrorTitle);
}

}  // namespace

void Form1::SendToMyDocument_Click() {
    sendSelectedRow(*this, std::string(copies::MyDocumentsTarget));
}

void Form1::SendToDpan_Click() {
    sendSelectedRow(*this, copies::driveDTarget(files::DriveTable::current()));
}

void Form1::SendToCustom_Click() {
    if (SendToCustom.caption() == copies::NoOwnFolder) {
        ui().msgBox(copies::DefineOwnFolderFirst, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    sendSelectedRow(*this, copies::ownFolderTarget(SendToCustom.caption()));
}

void Form1::SendToDefine_Click() {
    // The chooser runs in send-to mode: fromMaker is false outside the scan
    // dialog's own use of it.
    sendto chooser(*this);
    chooser.showModal();
}
