// The scan command: the disc in the CD drive, or a folder picked in the scan
// dialog, becomes a disc of the catalogue with its index file, its catalogue
// line and its nodes in both trees.
#include <cstdint>
#include <optional>
#include <string>

#include "catalogue/catalogue_file.h"
#include "catalogue/cd_drive.h"
#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "catalogue/scan_command.h"
#include "catalogue/scan_dialog.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/file_ops.h"
#include "platform/files/text_file.h"
#include "platform/ui/ui.h"

namespace {

using catalogue::TipTitle;

}  // namespace

void Form1::maker_Click() {
    namespace files = platform::files;

    // The CD drive: its label is the proposed name; selecting it in the hidden
    // drive list fails with 68 when it holds no disc.
    SearchPath.clear();
    if (CdDriveKnown) {
        cdRom = GetVolumeLabel(CdDrive);
        platform::SkipOnError probe;
        probe.step([&] { Drive1.setDrive(CdDrive); });
        if (probe.number() == platform::err::DeviceUnavailable)
            cdRom = std::string(catalogue::NoDiscName);
        else
            SearchPath = CdDrive;
    }
    FindStr = "*.*";

    // DialogFromWhere is "" here: the dialog's new-scan mode.
    {
        Dialog dialog(*this);
        dialog.showModal();
    }
    if (!ok) return;
    ok = false;
    if (txtName.empty() || txtOrder.empty() || txtTip.empty() || txtPath.empty()) return;

    ui().flush();
    platform::BusyPointer busy(*this);

    const std::string sspath = catalogue::scannedFolderName(SearchPath);
    // A folder, also one on the CD drive, is a hard-disk disc.
    if (SearchPath != CdDrive) txtName += catalogue::HardDiscSuffix;

    const std::string& programFolder = app().ProgramFolder;
    const std::string cataloguePath = catalogue::catalogueFilePath(programFolder);
    const std::string catalogueText = catalogue::readCatalogueText(cataloguePath);
    if (catalogue::CatalogueNameTaken(catalogueText, txtName)) {
        ui().msgBox(catalogue::NameTakenMessage, platform::MsgButtons::OK, TipTitle);
        return;
    }
    // An index file of that name, filed or not, is never overwritten.
    const std::string indexPath = catalogue::discIndexFilePath(programFolder, txtName);
    if (files::getAttributes(indexPath)) {
        ui().msgBox(catalogue::IndexFileExistsMessage, platform::MsgButtons::OK, TipTitle);
        return;
    }

    // The category: "top" is filed under "|top", "top\sub" under "@sub"; its
    // node's key is the name on that line.
    Txt1 = catalogue::categoryLineFor(txtPath);
    const std::string parentKey = catalogue::treeNodeKey(std::string_view(Txt1).substr(1));
    const std::string discKey = catalogue::treeNodeKey(txtName);

    // The walk goes into a temporary file; the disc is filed only when its
    // index file stands whole and durable under its name.
    const std::string captionBefore = caption();
    std::int32_t fileCount = 0, dirCount = 0;
    std::int64_t total = 0;
    walkSkippedNames = 0;
    std::optional<std::string> failure;
    bool indexInPlace = false;
    // The index file is written beneath "guangpan" (a link of its name that
    // leads out is refused) and, on a failure, removed there.
    std::optional<files::ConfinedRoot> folder;
    const std::string indexName = catalogue::discFileName(txtName, catalogue::IndexExtension);
    // Takes back what a failed scan wrote and restores pointer and caption.
    const auto undo = [&] {
        platform::SkipOnError cleanUp;
        if (indexInPlace) cleanUp.step([&] { folder->remove(indexName); });
        busy.end();
        setCaption(captionBefore);
    };
    try {
        // A field that would not read back raises 5: nothing is filed.
        const std::optional<std::string> filed = catalogue::InsertDiscLine(
            catalogueText, txtPath,
            catalogue::formatDiscLine(catalogue::discLineOf(txtName, txtOrder, txtTip)));
        if (!filed)
            platform::raise(platform::err::PathNotFound, catalogue::missingCategoryText(txtPath));

        // Left without a commit, the index file leaves no trace.
        folder.emplace(catalogue::openIndexFolder(programFolder));
        files::CommittedTextFile index(*folder, indexName, files::OnExisting::Refuse);
        total = FindFilesAPI(sspath, SearchPath, FindStr, fileCount, dirCount,
                             [&index](std::string_view lines) { index.write(lines); });
        index.commit();
        indexInPlace = true;
        catalogue::writeCatalogueText(cataloguePath, *filed);
    } catch (const platform::Error& e) {
        failure = e.description();
    } catch (...) {
        // Any other failure is undone the same way, then reported as the
        // errors of every command are.
        undo();
        throw;
    }
    if (failure) {
        undo();
        ui().msgBox(catalogue::scanFailedText(*failure), platform::MsgButtons::OK, TipTitle);
        return;
    }

    // A node that cannot be added (its category node is gone from the tree,
    // a stale node holds the key) is left out until the next reload.
    platform::SkipOnError onError;
    onError.step([&] { TreeView2.addChild(parentKey, discKey, txtName, images::Disc); });
    StatusBar1.panel(1).setText(catalogue::scanCountText(fileCount, dirCount));
    StatusBar1.panel(2).setText(catalogue::scanSizeText(SearchPath, total));
    busy.end();
    setCaption("Zelbrin");
    onError.step([&] { TreeView1.add(discKey, txtName, images::Disc); });
    ++Cdrom_Num;

    if (walkSkippedNames > 0)
        ui().msgBox(catalogue::skippedNamesText(walkSkippedNames), platform::MsgButtons::OK,
                    TipTitle);
}
