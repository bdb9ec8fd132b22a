// The library page: favourite files and folders picked from the disc page,
// one record per line of the library file (library_file.h), shown as the
// flat tree TreeView4 and the record of the clicked entry in Text1. The tree
// is loaded once at start-up; entries are then only added and removed.
//
// A library file that exists but cannot be read is told and never written:
// nothing is added to it or removed from it. It is written whole beneath the
// program folder (confined.h); a write that fails (a full disk, a path that
// leads out) leaves the file as it was, the tree as it was, and is told:
// "不能保存文件: " + the file + the reason.
#include <optional>
#include <string>

#include "catalogue/disc_trees.h"
#include "catalogue/scan_command.h"
#include "copies/copy_failures.h"
#include "copies/library_file.h"
#include "copies/mirror_files.h"
#include "discpage/disc_file_path.h"
#include "discpage/file_listing.h"
#include "mainwindow/form1.h"
#include "mainwindow/startup.h"
#include "platform/error.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

namespace files = platform::files;
namespace text = platform::text;

constexpr std::string_view SelectAnItem = "必须选中文件或文件夹才可使用此菜单!";
constexpr std::string_view EntryInTree = "已经存在该文件!";
constexpr std::string_view RecordInFile = "已经存在!";

// The library file's text; "" when there is none. Nothing when it exists but
// cannot be read, which has been told.
std::optional<std::string> readLibrary(Form1& form, const std::string& path) {
    try {
        return files::WholeFileRead(path);
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::FileNotFound) return std::string();
        startup::reportUnreadableFile(form.ui(), path, e.description());
        return std::nullopt;
    }
}

// Writes the library file whole (the old file stays as it was on any
// failure); a failure is told with the file and its reason, and gives false.
bool writeLibrary(Form1& form, const std::string& path, const std::string& text) {
    try {
        copies::rewriteProgramFile(form.app().ProgramFolder, path, text);
        return true;
    } catch (const platform::Error& e) {
        form.ui().msgBox(std::string(copies::CannotSave) + path + e.description(),
                         platform::MsgButtons::OK, catalogue::TipTitle);
        return false;
    }
}

// The path of the row as it lies now, from the tree path (the selected
// folder node's full path, "\" and the row's name): for a catalogued
// hard-disk folder the folder's parent and the names below the disc node
// (the parent is "" when the index cannot be read); for a CD the CD drive and
// the names below the scan root node. Nothing when the tree path does not
// hold the disc's node, respectively its scan root.
std::optional<std::string> entryPath(const Form1& form, const std::string& treePath) {
    if (catalogue::isHardDisc(form.OpenedDisk)) {
        const std::string discPrefix = form.OpenedDisk + "\\";
        if (!text::startsWith(treePath, discPrefix)) return std::nullopt;
        const auto disc = discpage::hardDiscFolderOf(form.app().ProgramFolder, form.OpenedDisk);
        return (disc ? disc->base : std::string()) + treePath.substr(discPrefix.size());
    }
    const std::string scanRoot = "\\" + text::lcase(form.OpenedDiskLabel1) + ":\\";
    const std::size_t at = text::lcase(treePath).find(scanRoot);
    if (at == std::string::npos) return std::nullopt;
    return form.CdDrive + treePath.substr(at + scanRoot.size());
}

}  // namespace

void Form1::Treeview4Load() {
    platform::SkipOnError onError;
    const std::string path = copies::libraryFilePath(app().ProgramFolder);
    std::optional<files::InputFile> file;
    // No file yet: nothing to load. One that cannot be read is told and left
    // as it is.
    if (!onError.step([&] { file.emplace(path); })) {
        if (onError.number() != platform::err::FileNotFound)
            startup::reportUnreadableFile(ui(), path, onError.description());
        return;
    }
    while (!file->eof()) {
        std::string line;
        if (!onError.step([&] { line = file->lineInput(); })) break;
        const auto entry = copies::parseLibraryLine(line);
        // Empty lines are passed over, and so are lines that are no record.
        if (!entry) continue;
        // An icon outside the image list shows the picture of other files
        // rather than failing the node.
        int icon = entry->icon.value_or(images::OtherFile);
        if (icon < 1 || icon > images::Count) icon = images::OtherFile;
        // A key already in the tree is told, and its line passed over; the
        // lines after it are loaded.
        if (!onError.step([&] { TreeView4.add(entry->key, entry->name, icon); }))
            ui().msgBox(EntryInTree, platform::MsgButtons::OK, catalogue::TipTitle);
    }
}

void Form1::addfilelib_Click() {
    const platform::Node* folderNode = TreeView1.selectedItem();
    const platform::ListItem* row = ListView1.selectedItem();
    if (!TreeView1.visible() || ListView1.count() == 0 || !folderNode || !row ||
        row->smallIcon() == images::SoftwareCategory) {
        ui().msgBox(SelectAnItem, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    const bool folder = row->smallIcon() == images::Folder;
    const std::string treePath =
        folderNode->fullPath() + "\\" +
        discpage::rowFileName(row->text(), row->subItem(1), row->key(), folder);
    const std::optional<std::string> path = entryPath(*this, treePath);
    if (!path) return;
    const std::string name = copies::entryName(*path);
    const std::string key = copies::libraryNodeKey(OpenedDisk, *path);
    const int icon = row->smallIcon();

    platform::Node* node = nullptr;
    try {
        node = &TreeView4.add(key, name, icon);
    } catch (const platform::Error&) {
        ui().msgBox(EntryInTree, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    const std::string libraryFile = copies::libraryFilePath(app().ProgramFolder);
    const std::optional<std::string> stored = readLibrary(*this, libraryFile);
    if (!stored) {
        TreeView4.remove(*node);
        return;
    }
    // A record of the same key is stored already (the entry stays in the
    // tree, which lacked it).
    if (copies::findRecord(*stored, key)) {
        ui().msgBox(RecordInFile, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    const std::string record = copies::formatRecord(
        {std::to_string(icon), name, OpenedDisk, *path,
         copies::recordRemark(row->subItem(3), catalogue::isHardDisc(OpenedDisk))});
    // A last line without its break (a hand-edited file) gets one first.
    if (!writeLibrary(*this, libraryFile,
                      *stored + (copies::lastLineOpen(*stored) ? "\r\n" : "") + record))
        TreeView4.remove(*node);
}

void Form1::TreeView4_NodeClick(platform::Node& Node) {
    const std::string libraryFile = copies::libraryFilePath(app().ProgramFolder);
    const std::optional<std::string> stored = readLibrary(*this, libraryFile);
    const auto span = stored ? copies::findRecord(*stored, Node.key()) : std::nullopt;
    Text1.setText(span ? copies::shownRecord(span->line(*stored)) : std::string());
}

void Form1::TreeView4_MouseDown(int Button, int Shift, double X, double Y) {
    (void)Shift;
    if (Button != platform::RightButton) return;
    popupMenu(pop6, X + catalogue::PopupOffsetX, Y + catalogue::PopupOffsetY);
}

void Form1::deletelibfile_Click() {
    platform::Node* node = TreeView4.selectedItem();
    if (!node) return;
    Text1.setText({});
    const std::string libraryFile = copies::libraryFilePath(app().ProgramFolder);
    std::string stored;
    try {
        stored = files::WholeFileRead(libraryFile);
    } catch (const platform::Error& e) {
        // A file removed from outside: the entry goes, nothing is written.
        if (e.number() == platform::err::FileNotFound) {
            TreeView4.remove(*node);
            return;
        }
        startup::reportUnreadableFile(ui(), libraryFile, e.description());
        return;
    }
    const std::string rest = copies::removeRecord(stored, node->key());
    if (rest != stored && !writeLibrary(*this, libraryFile, rest)) return;
    TreeView4.remove(*node);
}
