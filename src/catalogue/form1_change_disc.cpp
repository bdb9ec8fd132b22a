// Changing a disc: its name, number, remark, purchase date and category, as
// the scan dialog in its change mode hands them back. A new name goes to
// every stored file that bears it: the index file, the remark and usage-note
// files with their record keys, the mirror disc list; the disc's catalogue
// line is always filed anew, first under its category.
//
// A new name is carried whole or not at all: the names are checked before
// anything is touched, the files are renamed without replacing any file, the
// catalogue is written once, last, and a failure on the way takes back what
// was already changed and says why.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "catalogue/scan_command.h"
#include "catalogue/scan_dialog.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "platform/ui/ui.h"

namespace {

namespace files = platform::files;

using catalogue::ChangeMode;
using catalogue::TipTitle;

constexpr std::string_view NoDiscMessage = "请点击光盘标签，然后选择你要修改的光盘！";
constexpr std::string_view FailedPrefix = "改名失败：";

// The disc's remark and usage-note files: extension and record marker.
struct NoteFileKind {
    std::string_view extension;
    std::string_view marker;
};
constexpr NoteFileKind NoteFiles[] = {{".note", "@##note##@"}, {".exam", "@##exam##@"}};

// The whole text of a stored file; nothing when it does not exist.
std::optional<std::string> readIfPresent(const std::string& path) {
    try {
        return files::WholeFileRead(path);
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::FileNotFound) return std::nullopt;
        throw;
    }
}

// True when a file of that name exists that is not the file `own` (the same
// file named in another letter case does not count).
bool otherFileExists(const std::string& path, const std::string& own) {
    const files::ResolvedPath target = files::resolvePath(path);
    if (!target.exists) return false;
    const files::ResolvedPath self = files::resolvePath(own);
    return !(self.exists && self.native == target.native);
}

// The changes made so far, taken back in reverse order when a later step
// fails. Taking back is done as far as it goes.
class Changes {
  public:
    void done(std::function<void()> takeBack) { takeBack_.push_back(std::move(takeBack)); }
    void takeBack() {
        platform::SkipOnError onError;
        for (auto it = takeBack_.rbegin(); it != takeBack_.rend(); ++it) onError.step(*it);
        takeBack_.clear();
    }

  private:
    std::vector<std::function<void()>> takeBack_;
};

}  // namespace

void Form1::ChangeOrder1_Click() { ChangeOrder_Click(); }

void Form1::ChangeOrder_Click() {
    const std::string& programFolder = app().ProgramFolder;
    const std::string cataloguePath = catalogue::catalogueFilePath(programFolder);
    const auto refuse = [this](std::string_view message) {
        ui().msgBox(message, platform::MsgButtons::OK, TipTitle);
    };

    // The open disc on the page 光盘, and only one the catalogue knows.
    if (OpenedDisk.empty() || !TreeView1.visible() ||
        !catalogue::FindDiscLine(catalogue::readCatalogueText(cataloguePath), OpenedDisk))
        return refuse(NoDiscMessage);

    DialogFromWhere = std::string(ChangeMode);
    try {
        Dialog dialog(*this);
        dialog.showModal();
    } catch (...) {
        DialogFromWhere.clear();
        throw;
    }
    DialogFromWhere.clear();
    if (!ok) return;
    ok = false;

    const std::string oldName = OpenedDisk;
    const std::string newName = txtName;
    const bool renamed = newName != oldName;

    Changes changes;
    try {
        const std::string stored = catalogue::readCatalogueText(cataloguePath);
        const std::optional<std::string> withoutDisc = catalogue::RemoveDiscLine(stored, oldName);
        if (!withoutDisc) return refuse(NoDiscMessage);

        if (renamed) {
            // The new name must be free: in the catalogue (the disc's own
            // line aside) and among the files of "guangpan".
            bool taken = catalogue::CatalogueNameTaken(*withoutDisc, newName);
            for (const std::string_view extension :
                 {catalogue::IndexExtension, NoteFiles[0].extension, NoteFiles[1].extension})
                taken = taken ||
                        otherFileExists(catalogue::discFilePath(programFolder, newName, extension),
                                        catalogue::discFilePath(programFolder, oldName, extension));
            if (taken) return refuse(catalogue::NameTakenMessage);
        }

        // The disc's new line, filed first under its category (a field that
        // would not read back raises 5).
        const std::optional<std::string> refiled = catalogue::InsertDiscLine(
            *withoutDisc, txtPath,
            catalogue::formatDiscLine(catalogue::discLineOf(newName, txtOrder, txtTip)));
        if (!refiled)
            platform::raise(platform::err::PathNotFound, catalogue::missingCategoryText(txtPath));

        if (renamed) {
            // Every change beneath "guangpan" and the program folder: a link
            // there is renamed itself, and a write through one is refused
            // when it leads out.
            const auto folder =
                std::make_shared<files::ConfinedRoot>(catalogue::openIndexFolder(programFolder));
            const std::string oldIndex =
                catalogue::discFileName(oldName, catalogue::IndexExtension);
            const std::string newIndex =
                catalogue::discFileName(newName, catalogue::IndexExtension);
            folder->rename(oldIndex, newIndex, files::OnExisting::Refuse);
            changes.done([=] { folder->rename(newIndex, oldIndex, files::OnExisting::Refuse); });

            // Remarks and usage notes: the keys first, then the name. A disc
            // without such a file gets none.
            for (const NoteFileKind& kind : NoteFiles) {
                const std::string from = catalogue::discFileName(oldName, kind.extension);
                const std::string to = catalogue::discFileName(newName, kind.extension);
                const std::optional<std::string> notes =
                    readIfPresent(catalogue::discFilePath(programFolder, oldName, kind.extension));
                if (!notes) continue;
                const std::string rekeyed =
                    catalogue::renameNoteKeys(*notes, kind.marker, oldName, newName);
                if (rekeyed != *notes) {
                    files::WholeFileRewrite(*folder, from, rekeyed);
                    changes.done([folder, from, was = *notes] {
                        files::WholeFileRewrite(*folder, from, was);
                    });
                }
                folder->rename(from, to, files::OnExisting::Refuse);
                changes.done(
                    [folder, from, to] { folder->rename(to, from, files::OnExisting::Refuse); });
            }

            // The mirror disc list: written only when it names the disc.
            const std::string mirrorList(catalogue::MirrorDiscListName);
            if (const std::optional<std::string> list =
                    readIfPresent(programFolder + "\\" + mirrorList)) {
                if (const auto renamedList =
                        catalogue::renameMirrorListLines(*list, oldName, newName)) {
                    const auto program = std::make_shared<files::ConfinedRoot>(
                        catalogue::openProgramFolder(programFolder));
                    files::WholeFileRewrite(*program, mirrorList, *renamedList);
                    changes.done([program, mirrorList, was = *list] {
                        files::WholeFileRewrite(*program, mirrorList, was);
                    });
                }
            }
        }

        catalogue::writeCatalogueText(cataloguePath, *refiled);
    } catch (const platform::Error& e) {
        changes.takeBack();
        return refuse(std::string(FailedPrefix) + e.description());
    }

    // The trees. A node that cannot be added (its category node is gone, a
    // stale node holds the key) is left out until the next reload.
    if (platform::Node* node = TreeView2.find(catalogue::treeNodeKey(oldName)))
        TreeView2.remove(*node);
    if (renamed) {
        TreeView1.clear();
        file1load();
    }
    const std::string categoryLine = catalogue::categoryLineFor(txtPath);
    const std::string parentKey = catalogue::treeNodeKey(std::string_view(categoryLine).substr(1));
    platform::SkipOnError onError;
    onError.step([&] {
        TreeView2.addChild(parentKey, catalogue::treeNodeKey(newName), newName, images::Disc);
    });

    firstClick2 = false;
    for (const auto& node : TreeView2.nodes())
        if (node->image() == images::Folder) firstClick2 = true;
    if (renamed) {
        firstClick = false;
        // The old name opens nothing any more: the disc page shows no disc.
        OpenedDisk.clear();
        ListView1.clear();
    }
}
