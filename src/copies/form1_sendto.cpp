// The send-to commands of the file list's pop-up menu (send_to.h): the
// selected row, a file or a folder, is copied from where it lies now into a
// folder on the hard disk, and recorded nowhere. The item's path is built
// from the names of the disc tree: on a CD the names below the scan root
// node, on the disc in the CD drive; for a catalogued hard-disk folder the
// names below the disc node, under the folder's parent. Those names come from
// an index file, so a path holding a name "." or "..", or one that leads
// outside the CD drive or the catalogued folder, is refused as a failed copy.
// The item is read beneath the CD drive's root or the catalogued folder and
// written beneath the target (confined.h): an item or a name in a folder that
// leads out through a link is refused and named (the rest of a folder is
// copied).
#include <optional>
#include <string>
#include <vector>

#include "catalogue/scan_command.h"
#include "copies/mirror_files.h"
#include "copies/send_to.h"
#include "copies/sendto_dialog.h"
#include "discpage/disc_file_path.h"
#include "discpage/file_listing.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/drive_table.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

namespace files = platform::files;
namespace text = platform::text;

// The text a refusal of the confined layer begins with.
constexpr std::string_view OutsideText = "路径不在允许的文件夹里：";

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

// The three targets of the menu.
enum class Target { MyDocuments, DriveD, OwnFolder };

// Why the target folder cannot take a copy now; "" when it can. The
// documents folder is made when missing; D: must be a folder drive.
std::string targetRefusal(Target kind, const std::string& target) {
    if (kind == Target::DriveD && !copies::driveDIsFolderDrive(files::DriveTable::current()))
        return copies::unmappedDriveMessage(target);
    return copies::readySendTarget(target, kind == Target::MyDocuments);
}

// Copies the selected row's item into the target folder (ending in "\"). A
// target that cannot take it is told before anything is read; any failure
// of the copy shows the error box.
void sendSelectedRow(Form1& form, Target kind, const std::string& target) {
    const platform::Node* node = form.TreeView1.selectedItem();
    const platform::ListItem* row = form.ListView1.selectedItem();
    if (!node || !row || row->smallIcon() == images::SoftwareCategory) return;
    if (const std::string refused = targetRefusal(kind, target); !refused.empty()) {
        form.ui().msgBox(refused, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    const bool folder = row->smallIcon() == images::Folder;
    const std::string treePath =
        node->fullPath() + "\\" +
        discpage::rowFileName(row->text(), row->subItem(1), row->key(), folder);
    const std::optional<discpage::DiscFilePlace> source = sourceOf(form, treePath);

    platform::SkipOnError onError;
    std::vector<std::string> refused;
    platform::BusyPointer busy(form);
    const bool copied = source && onError.step([&] {
        // Read beneath the CD drive's root or the catalogued folder, written
        // beneath the target under the item's own name.
        const files::ConfinedRoot sourceRoot = files::ConfinedRoot::open(source->root);
        const std::string relative = sourceRoot.relativeOf(source->path);
        const std::size_t slash = relative.rfind('\\');
        const std::string name = slash == std::string::npos ? relative : relative.substr(slash + 1);
        if (name.empty()) platform::raise(platform::err::PathNotFound);
        const files::ConfinedRoot targetRoot =
            files::ConfinedRoot::open(copies::trimTargetFolder(target));
        if (folder)
            targetRoot.copyFolderInto(name, sourceRoot, relative, files::OnExisting::Refuse,
                                      [&](const std::string& path) {
                                          refused.push_back(std::string(OutsideText) + path);
                                      });
        else
            targetRoot.copyInto(name, sourceRoot, relative, files::OnExisting::Refuse);
    });
    busy.end();
    // A path that leads out of its folder is named; the rest of a folder is
    // copied without it.
    if (!copied && onError.number() == platform::err::PathFileAccess &&
        onError.description().starts_with(OutsideText))
        refused.push_back(onError.description());
    if (!refused.empty()) {
        std::string message;
        for (const std::string& r : refused) message += (message.empty() ? "" : "\r\n") + r;
        form.ui().msgBox(message, platform::MsgButtons::OK, copies::SendErrorTitle);
    } else if (!copied)
        form.ui().msgBox(copies::sendErrorText(folder), platform::MsgButtons::OK,
                         copies::SendErrorTitle);
}

}  // namespace

void Form1::SendToMyDocument_Click() {
    sendSelectedRow(*this, Target::MyDocuments, std::string(copies::MyDocumentsTarget));
}

void Form1::SendToDpan_Click() {
    sendSelectedRow(*this, Target::DriveD, std::string(copies::DriveDTarget));
}

void Form1::SendToCustom_Click() {
    if (SendToCustom.caption() == copies::NoOwnFolder) {
        ui().msgBox(copies::DefineOwnFolderFirst, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    sendSelectedRow(*this, Target::OwnFolder, copies::ownFolderTarget(SendToCustom.caption()));
}

void Form1::SendToDefine_Click() {
    // The chooser runs in send-to mode: fromMaker is false outside the scan
    // dialog's own use of it.
    sendto chooser(*this);
    chooser.showModal();
}
