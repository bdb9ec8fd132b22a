// Changing a disc: its name, number, remark, purchase date and category, as
// the scan dialog in its change mode hands them back. A new name goes to
// every stored file that bears it: the index file, the remark and usage-note
// files with their record keys, the mirror disc list; the disc's catalogue
// line is always filed anew, first under its category.
//
// A new name is carried whole or not at all, even when the program is cut
// short: the names are checked before anything is touched; the command is
// recorded (pending_discs.h); the files under the new name are made beside
// the old ones (never replacing a file); the catalogue is written once, the
// write that switches; then the old files go and red.ini follows. Nothing
// done is taken back: a failure before the switch removes only the new files
// made, and what is left after it the next start finishes.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

namespace files = platform::files;

using catalogue::ChangeMode;
using catalogue::TipTitle;

constexpr std::string_view NoDiscMessage = "请点击光盘标签，然后选择你要修改的光盘！";
constexpr std::string_view FailedPrefix = "改名失败：";

// The disc's files in "guangpan", the index first, and the record marker of
// the remark and usage-note files (none for the index).
struct DiscFileKind {
    std::string_view extension;
    std::string_view marker;
};
constexpr DiscFileKind DiscFiles[] = {
    {catalogue::IndexExtension, ""}, {".note", "@##note##@"}, {".exam", "@##exam##@"}};

// The suffix of a remark file written under the new name before the switch
// when the new name differs from the old in letter case only (the two names
// are one file to the look-ups).
constexpr std::string_view StagedSuffix = ".new";

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

// A stored text written whole as a new file (or over a file of ours).
void writeNew(const files::ConfinedRoot& folder, const std::string& name, const std::string& text,
              files::OnExisting onExisting) {
    files::CommittedTextFile file(folder, name, onExisting);
    file.write(text);
    file.commit();
}

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

    std::optional<std::string> refiled;
    std::optional<catalogue::DiscRenamePlan> plan;
    // The new files, each made before the catalogue's write.
    std::vector<std::function<void(const files::ConfinedRoot&)>> makes;
    try {
        const std::string stored = catalogue::readCatalogueText(cataloguePath);
        const std::optional<std::string> withoutDisc = catalogue::RemoveDiscLine(stored, oldName);
        if (!withoutDisc) return refuse(NoDiscMessage);

        if (renamed) {
            // The new name must be free: in the catalogue (the disc's own
            // line aside) and among the files of "guangpan".
            bool taken = catalogue::CatalogueNameTaken(*withoutDisc, newName);
            for (const DiscFileKind& kind : DiscFiles)
                taken =
                    taken || otherFileExists(
                                 catalogue::discFilePath(programFolder, newName, kind.extension),
                                 catalogue::discFilePath(programFolder, oldName, kind.extension));
            if (taken) return refuse(catalogue::NameTakenMessage);
        }

        // The disc's new line, filed first under its category (a field that
        // would not read back raises 5).
        refiled = catalogue::InsertDiscLine(
            *withoutDisc, txtPath,
            catalogue::formatDiscLine(catalogue::discLineOf(newName, txtOrder, txtTip)));
        if (!refiled)
            platform::raise(platform::err::PathNotFound, catalogue::missingCategoryText(txtPath));

        if (renamed) {
            // Each file of the disc gets its new name beside the old one: the
            // index a second name (a link), the remarks and usage notes a new
            // file with their keys renamed. A disc without remarks gets none;
            // its index must be there. When the names differ in letter case
            // only, they are one file: the new remarks wait beside it and the
            // files are renamed once the catalogue has the new name.
            const bool caseOnly = platform::text::lcase(oldName) == platform::text::lcase(newName);
            plan.emplace(oldName, newName);
            for (const DiscFileKind& kind : DiscFiles) {
                const std::string oldFile = catalogue::discFileName(oldName, kind.extension);
                const std::string newFile = catalogue::discFileName(newName, kind.extension);
                const std::optional<std::string> present =
                    catalogue::discFileSpelling(programFolder, oldFile);
                if (!present) {
                    if (kind.marker.empty()) platform::raise(platform::err::FileNotFound);
                    continue;
                }
                std::optional<std::string> rekeyed;
                if (!kind.marker.empty()) {
                    const std::optional<std::string> notes = readIfPresent(
                        catalogue::discFilePath(programFolder, oldName, kind.extension));
                    if (!notes) continue;
                    std::string text =
                        catalogue::renameNoteKeys(*notes, kind.marker, oldName, newName);
                    if (text != *notes) rekeyed = std::move(text);
                }
                if (caseOnly) {
                    if (rekeyed) {
                        const std::string staged = newFile + std::string(StagedSuffix);
                        plan->make(staged);
                        makes.push_back([staged, text = *rekeyed](const files::ConfinedRoot& f) {
                            writeNew(f, staged, text, files::OnExisting::Replace);
                        });
                        plan->move(staged, *present);
                    }
                    plan->move(*present, newFile);
                    continue;
                }
                plan->make(newFile);
                if (rekeyed)
                    makes.push_back([newFile, text = *rekeyed](const files::ConfinedRoot& f) {
                        writeNew(f, newFile, text, files::OnExisting::Refuse);
                    });
                else
                    makes.push_back([from = *present, newFile](const files::ConfinedRoot& f) {
                        catalogue::linkOrCopy(f, from, newFile);
                    });
                plan->drop(*present);
            }
        }
    } catch (const platform::Error& e) {
        return refuse(std::string(FailedPrefix) + e.description());
    }

    if (!plan) {
        // Only the catalogue changes.
        try {
            catalogue::writeCatalogueText(cataloguePath, *refiled);
        } catch (const platform::Error& e) {
            return refuse(std::string(FailedPrefix) + e.description());
        }
    } else {
        // Recorded first, so that a start after a cut finishes or takes back
        // what follows; then the new files, then the catalogue, the one write
        // that switches. What is done after it (the old files removed, the
        // mirror disc list) the settling does, judging by the catalogue as it
        // is: a failure on the way takes only the new files away.
        std::optional<catalogue::PendingWorkScope> pending;
        std::optional<files::ConfinedRoot> folder;
        try {
            pending.emplace(programFolder, plan->work());
            folder.emplace(catalogue::openIndexFolder(programFolder));
        } catch (const platform::Error& e) {
            return refuse(
                catalogue::pendingWorkBeginMessage(e, std::string(FailedPrefix) + e.description()));
        }
        std::optional<platform::Error> failure;
        try {
            for (const auto& make : makes) make(*folder);
            catalogue::writeCatalogueText(cataloguePath, *refiled);
        } catch (const platform::Error& e) {
            failure = e;
        }
        const catalogue::FinishOutcome outcome = pending->settle();
        if (!outcome.finished) {
            const std::string reason =
                failure             ? failure->description()
                : outcome.settled() ? platform::Error(platform::err::Unspecified).description()
                                    : outcome.reason;
            return refuse(std::string(FailedPrefix) + reason);
        }
        // Renamed. A step after the switch that could not be done (the old
        // files, the mirror disc list) is told now; the next start does it.
        if (!outcome.settled())
            refuse(catalogue::pendingWorkWaitingMessage(ChangeOrder.caption(), outcome.path,
                                                        outcome.reason, outcome.removal));
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
