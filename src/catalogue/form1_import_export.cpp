// Import and export of index files. Only the index file travels, byte for
// byte: a disc's remarks and usage notes stay where they are.
//
// The import records itself (pending_discs.h), copies the chosen file into
// "guangpan", never replacing a file there, and only when the copy stands
// whole files the disc in the catalogue and shows it in both trees. A failure
// at any step leaves the catalogue, the trees and "guangpan" as they were and
// says why; a copy left by a cut is removed by the next start, so it never
// stands in the way of importing the file again.
//
// The export writes wherever the user chooses. The save dialog asks before
// it replaces an existing file (the desktop front end's file dialog confirms
// an existing name); the copy then replaces it through the committed write,
// so the old file stays whole until the new one is complete. The disc's own
// index file is never a target.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "catalogue/catalogue_file.h"
#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "catalogue/pending_discs.h"
#include "catalogue/pending_work.h"
#include "catalogue/scan_command.h"
#include "catalogue/scan_dialog.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/file_ops.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"
#include "platform/ui/ui.h"

namespace {

namespace files = platform::files;

using catalogue::ImportMode;
using catalogue::TipTitle;

constexpr std::string_view ImportFilter = "*.wcd";
constexpr std::string_view ExportTitle = "选择你要导出的目录：";
constexpr std::string_view ExportExtension = "wcd";

constexpr std::string_view NoOpenDiscMessage = "请点击光盘标签，然后选择你要导出的光盘！";
// The disc's index file is gone (the disc was deleted, or the file removed).
constexpr std::string_view MissingIndexMessage = "找不到这张光盘的索引文件：";
// The chosen target is the disc's index file itself.
constexpr std::string_view SameFileMessage = "不能把光盘索引文件导出到它自己！请另选一个文件。";

std::string importFailedText(std::string_view reason) { return "导入失败：" + std::string(reason); }

std::string exportFailedText(std::string_view reason) { return "导出失败：" + std::string(reason); }

// Sets the scan dialog's mode for one showing and clears it however the
// showing ends.
class DialogMode {
  public:
    DialogMode(std::string& mode, std::string_view value) : mode_(mode) { mode_ = value; }
    ~DialogMode() { mode_.clear(); }
    DialogMode(const DialogMode&) = delete;
    DialogMode& operator=(const DialogMode&) = delete;

  private:
    std::string& mode_;
};

// True when both Windows paths name the same file, links followed.
// The folder of a chosen file as a root, and the file's name in it.
std::pair<files::ConfinedRoot, std::string> folderAndName(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos) platform::raise(platform::err::BadFileName);
    std::string folder(path.substr(0, slash));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // a drive's root
    return {files::ConfinedRoot::open(folder), std::string(path.substr(slash + 1))};
}

bool sameFile(std::string_view a, std::string_view b) {
    const files::NativePath first{files::toNative(a)};
    const files::NativePath second{files::toNative(b)};
    return files::isInside(first, second) && files::isInside(second, first);
}

}  // namespace

void Form1::import_Click() {
    // The title an export left behind does not belong to this dialog.
    CommonDialog1.setFilter(std::string(ImportFilter));
    CommonDialog1.setDialogTitle({});
    if (!CommonDialog1.showOpen()) return;
    ImportFileName = CommonDialog1.fileName();
    if (ImportFileName.empty()) return;

    {
        const DialogMode mode(DialogFromWhere, ImportMode);
        Dialog dialog(*this);
        dialog.showModal();
    }
    if (!ok) return;
    ok = false;
    if (txtName.empty() || txtOrder.empty() || txtTip.empty() || txtPath.empty()) return;

    const std::string& programFolder = app().ProgramFolder;
    const std::string cataloguePath = catalogue::catalogueFilePath(programFolder);
    std::optional<std::string> filed;
    std::string indexName;
    try {
        const std::string catalogueText = catalogue::readCatalogueText(cataloguePath);
        // A category or a disc whose index file is missing may bear the name.
        if (catalogue::CatalogueNameTaken(catalogueText, txtName)) {
            ui().msgBox(catalogue::NameTakenMessage, platform::MsgButtons::OK, TipTitle);
            return;
        }
        if (files::getAttributes(catalogue::discIndexFilePath(programFolder, txtName))) {
            ui().msgBox(catalogue::IndexFileExistsMessage, platform::MsgButtons::OK, TipTitle);
            return;
        }
        // A field that would not read back raises 5: nothing is filed.
        filed = catalogue::InsertDiscLine(
            catalogueText, txtPath,
            catalogue::formatDiscLine(catalogue::discLineOf(txtName, txtOrder, txtTip)));
        if (!filed)
            platform::raise(platform::err::PathNotFound, catalogue::missingCategoryText(txtPath));
        indexName = catalogue::discFileName(txtName, catalogue::IndexExtension);
    } catch (const platform::Error& e) {
        ui().msgBox(importFailedText(e.description()), platform::MsgButtons::OK, TipTitle);
        return;
    }

    // Recorded first, then the copy, then the catalogue (the write that
    // switches); the settling judges by the catalogue and takes the copy
    // away when it does not name the disc, here or at the next start.
    std::optional<catalogue::PendingWorkScope> pending;
    std::optional<files::ConfinedRoot> folder;
    std::optional<std::string> failure;
    try {
        pending.emplace(programFolder, catalogue::discImport(txtName, indexName));
        folder.emplace(catalogue::openIndexFolder(programFolder));
    } catch (const platform::Error& e) {
        // Not recorded: nothing was changed (a record still there is
        // another command's and stays).
        ui().msgBox(catalogue::pendingWorkBeginMessage(e, importFailedText(e.description())),
                    platform::MsgButtons::OK, TipTitle);
        return;
    }
    try {
        // Copied beneath "guangpan" (a link of the index file's name is
        // never followed), read from the chosen file's own folder. A copy
        // from a CD would be read-only; the index file of a disc is rewritten
        // by the commands that tick files, so it comes out writable.
        const auto [sourceFolder, sourceName] = folderAndName(ImportFileName);
        folder->copyInto(indexName, sourceFolder, sourceName, files::OnExisting::Refuse,
                         files::ReadOnlyToo::Yes);
        catalogue::writeCatalogueText(cataloguePath, *filed);
    } catch (const platform::Error& e) {
        failure = e.description();
    }
    const catalogue::FinishOutcome outcome = pending->settle();
    if (!outcome.finished) {
        if (!failure)
            failure = outcome.settled() ? platform::Error(platform::err::Unspecified).description()
                                        : outcome.reason;
        ui().msgBox(importFailedText(*failure), platform::MsgButtons::OK, TipTitle);
        return;
    }

    // Shown as a scanned disc: last under its category and last in the disc
    // list until the trees are built again. A node that cannot be added (its
    // category node is gone from the tree) is left out until then.
    const std::string parentKey =
        catalogue::treeNodeKey(std::string_view(catalogue::categoryLineFor(txtPath)).substr(1));
    const std::string discKey = catalogue::treeNodeKey(txtName);
    platform::SkipOnError onError;
    onError.step([&] { TreeView2.addChild(parentKey, discKey, txtName, images::Disc); });
    onError.step([&] { TreeView1.add(discKey, txtName, images::Disc); });
    ++Cdrom_Num;
}

void Form1::Export_Click() {
    if (OpenedDisk.empty()) {
        ui().msgBox(NoOpenDiscMessage, platform::MsgButtons::OK, TipTitle);
        return;
    }
    std::string source;
    try {
        source = catalogue::discIndexFilePath(app().ProgramFolder, OpenedDisk);
    } catch (const platform::Error& e) {
        ui().msgBox(exportFailedText(e.description()), platform::MsgButtons::OK, TipTitle);
        return;
    }
    if (!files::getAttributes(source)) {
        ui().msgBox(std::string(MissingIndexMessage) + source, platform::MsgButtons::OK, TipTitle);
        return;
    }

    CommonDialog1.setFileName(OpenedDisk);
    CommonDialog1.setDialogTitle(std::string(ExportTitle));
    CommonDialog1.setDefaultExt(std::string(ExportExtension));
    if (!CommonDialog1.showSave()) return;
    const std::string target = CommonDialog1.fileName();
    if (target.empty()) return;

    std::optional<std::string> failure;
    try {
        if (sameFile(source, target)) {
            ui().msgBox(SameFileMessage, platform::MsgButtons::OK, TipTitle);
            return;
        }
        // The dialog has asked before an existing file is replaced. Written
        // beneath the chosen file's folder (a link of that name is replaced
        // itself), read beneath "guangpan".
        const auto [targetFolder, targetName] = folderAndName(target);
        targetFolder.copyInto(targetName, catalogue::openIndexFolder(app().ProgramFolder),
                              catalogue::discFileName(OpenedDisk, catalogue::IndexExtension),
                              files::OnExisting::Replace);
    } catch (const platform::Error& e) {
        failure = e.description();
    }
    if (failure) ui().msgBox(exportFailedText(*failure), platform::MsgButtons::OK, TipTitle);
}
