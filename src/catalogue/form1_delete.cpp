// Deleting discs and categories: a disc from the disc list's or the category
// tree's pop-up menu (its catalogue line, then its index, remark and usage
// files), an empty category from the category tree's pop-up menu (its line).
// The catalogue is written before any of the disc's files is deleted, so a
// failed write leaves the disc whole, and the files go only under the disc's
// exact name; a delete cut short is finished by the next start. A write that
// fails is told with the file and its reason, never as a bare runtime error.
// Mirror copies, the mirror disc list and the library are left alone.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/catalogue_file.h"
#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "catalogue/pending_discs.h"
#include "catalogue/pending_work.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/listing.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

constexpr std::string_view TipTitle = "提示";
// A failed write, told as every command tells one: this text, the file's
// path and the reason ("磁盘已满" on a full disk).
constexpr std::string_view CannotSave = "不能保存文件: ";

// A disc's files in "guangpan": its index, its remarks and its usage notes.
constexpr std::array<std::string_view, 3> DiscFileExtensions = {catalogue::IndexExtension, ".note",
                                                                ".exam"};

std::string bracedName(std::string_view before, std::string_view name, std::string_view after) {
    std::string text(before);
    text += name;
    text += after;
    return text;
}

// The names of the disc's files in "guangpan", or nothing when its name
// could reach outside "guangpan" (then no file of it is touched).
std::optional<std::array<std::string, 3>> discFiles(std::string_view name) {
    std::array<std::string, 3> names;
    platform::SkipOnError check;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!check.step([&] { names[i] = catalogue::discFileName(name, DiscFileExtensions[i]); }))
            return std::nullopt;
    }
    return names;
}

// Deletes the disc: recorded first (pending_discs.h), then its catalogue line
// goes (the write that switches; a catalogue without the line is left as it
// is), then its files, each only under its exact name, so a disc of the same
// name in another letter case keeps its own. A read-only file is deleted
// too; a link is removed itself, its target untouched. A file that cannot be
// removed stays with the record, and the next start removes it. False, and
// the reason told, when the catalogue keeps the disc.
bool deleteDiscAndFiles(Form1& form, std::string_view name,
                        const std::array<std::string, 3>& names) {
    const std::string& programFolder = form.app().ProgramFolder;
    const std::string path = catalogue::catalogueFilePath(programFolder);
    const catalogue::PendingWork work = catalogue::discDeletion(name, names[0], names[1], names[2]);
    std::optional<catalogue::PendingWorkScope> pending;
    std::optional<platform::Error> failure;
    try {
        pending.emplace(programFolder, work);
    } catch (const platform::Error& e) {
        // Not recorded: nothing was changed (a record still there is
        // another command's and stays).
        form.ui().msgBox(
            catalogue::pendingWorkBeginMessage(
                e, std::string(CannotSave) + catalogue::pendingWorkFilePath(programFolder) +
                       e.description()),
            platform::MsgButtons::OK, TipTitle);
        return false;
    }
    try {
        const std::optional<std::string> text =
            catalogue::RemoveDiscLine(catalogue::readCatalogueText(path), name);
        if (text) catalogue::writeCatalogueText(path, *text);
    } catch (const platform::Error& e) {
        failure = e;
    }
    const catalogue::FinishOutcome outcome = pending->settle();
    if (outcome.finished) {
        // Deleted. A file that could not be removed is told; the next start
        // removes it.
        if (!outcome.settled())
            form.ui().msgBox(
                catalogue::pendingWorkWaitingMessage(form.DeleteThisCD.caption(), outcome.path,
                                                     outcome.reason, outcome.removal),
                platform::MsgButtons::OK, TipTitle);
        return true;
    }
    const std::string failedPath = failure || outcome.settled() ? path : outcome.path;
    const std::string reason = failure ? failure->description()
                               : outcome.settled()
                                   ? platform::Error(platform::err::Unspecified).description()
                                   : outcome.reason;
    form.ui().msgBox(std::string(CannotSave) + failedPath + reason, platform::MsgButtons::OK,
                     TipTitle);
    return false;
}

// What the deletion of a disc does to the window beyond its nodes: the disc
// page no longer shows the deleted disc, the trees' folder listings are
// over, and the disc count is that of the index files left.
// The disc open on the page is the deleted one only by its exact name: "ABC"
// stays open when "abc" goes.
void afterDiscDeleted(Form1& form, std::string_view name) {
    if (!form.OpenedDisk.empty() && form.OpenedDisk == name) {
        form.OpenedDisk.clear();
        form.ListView1.clear();
        form.alreadystr.clear();
        form.Alreadystr2.clear();
    }
    form.firstClick2 = false;
    form.firstClick = false;
    form.Cdrom_Num =
        static_cast<int>(catalogue::listIndexFiles(form.File1, form.app().ProgramFolder).size());
}

// Deletes the disc once the user has confirmed the prompt: its catalogue
// line, then its files. False when nothing was deleted: the name cannot name
// its files (which is said) or the user cancelled.
bool deleteDisc(Form1& form, std::string_view name, const std::string& prompt) {
    const auto names = discFiles(name);
    if (!names) {
        form.ui().msgBox(bracedName("光盘名 {", name, "} 不能用作文件名，没有删除这张光盘！"),
                         platform::MsgButtons::OK, TipTitle);
        return false;
    }
    if (form.ui().msgBox(prompt, platform::MsgButtons::OKCancel, TipTitle) != platform::MsgOK)
        return false;
    return deleteDiscAndFiles(form, name, *names);
}

}  // namespace

void Form1::DeleteThisCD_Click() {
    platform::Node* node = TreeView1.selectedItem();
    // Nothing selected, or a folder of the opened disc.
    if (!node || node->image() != images::Disc) return;
    const std::string name = node->text();
    if (!deleteDisc(*this, name, bracedName("你确实要删除 {", name, "} 光盘 ?"))) return;
    if (!node->removed()) TreeView1.remove(*node);
    TreeView2.clear();
    Treeview2Load();
    afterDiscDeleted(*this, name);
}

void Form1::Delete_Click() {
    platform::Node* node = TreeView2.selectedItem();
    if (!node) return;
    const std::string name = node->text();

    if (node->image() == images::Disc) {
        if (!deleteDisc(*this, name, bracedName("确实要删除 {", name, "} 光盘吗？"))) return;
        if (!node->removed()) TreeView2.remove(*node);
        TreeView1.clear();
        file1load();
        afterDiscDeleted(*this, name);
        return;
    }

    if (node->image() != images::Category) return;  // a folder of an opened disc
    if (node->children() > 0) {
        ui().msgBox("应该先删除子目录及光盘！", platform::MsgButtons::OK, TipTitle);
        return;
    }
    if (ui().msgBox(bracedName("确实要删除 {", name, "} 目录吗？"), platform::MsgButtons::OKCancel,
                    TipTitle) != platform::MsgOK)
        return;

    // "top" for a top-level category, "top\sub" for a sub-category: its line
    // is "|top", respectively "@sub", matched as a whole line.
    std::string categoryPath = name;
    if (platform::Node* parent = node->parent()) categoryPath = parent->text() + "\\" + name;
    const std::string path = catalogue::catalogueFilePath(app().ProgramFolder);
    try {
        const std::optional<std::string> text =
            catalogue::RemoveCategoryLine(catalogue::readCatalogueText(path), categoryPath);
        if (text) catalogue::writeCatalogueText(path, *text);
    } catch (const platform::Error& e) {
        ui().msgBox(std::string(CannotSave) + path + e.description(), platform::MsgButtons::OK,
                    TipTitle);
        return;
    }
    if (!node->removed()) TreeView2.remove(*node);
}
