// Ticks on the disc page: a tick or untick in the file list is queued and
// written into the open disc's index file at once (one read and one rewrite
// per flush, however many ticks are queued); the tick removal of a whole
// disc; dropping a file's line from the index (and, for a catalogued
// hard-disk folder, the file itself, once the user has said yes).
#include <optional>
#include <string>

#include "catalogue/index_line.h"
#include "catalogue/name_lookup.h"
#include "catalogue/pending_work.h"
#include "catalogue/scan_command.h"
#include "discpage/disc_file_path.h"
#include "discpage/file_listing.h"
#include "discpage/index_edits.h"
#include "discpage/line_drop_work.h"
#include "discpage/pending_tick.h"
#include "discpage/size_text.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/file_ops.h"
#include "platform/files/listing.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace {

using catalogue::TipTitle;
namespace files = platform::files;

constexpr std::string_view ShowDiscPageFirst = "请先点击光盘标签！";
constexpr std::string_view ChooseDiscFirst = "请选择光盘！";
constexpr std::string_view CannotOpen = "不能打开文件: ";

// The first line of an index text.
std::string_view firstLineOf(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

// Asked before a file of a catalogued hard-disk folder is deleted with its
// line: the file's Windows path.
std::string dropFileQuestion(std::string_view realFile) {
    return "确实要删除 " + std::string(realFile) + " 文件吗？";
}

void tell(Form1& form, const std::string& message) {
    form.ui().msgBox(message, platform::MsgButtons::OK, TipTitle);
}

// A disc's index file read whole: its path and text, or nothing when it
// cannot be read, which is told ("不能打开文件: " + path + the reason).
struct IndexText {
    std::string path;
    std::string text;
};
std::optional<IndexText> readIndex(Form1& form, const std::string& disc) {
    IndexText out{disc, {}};
    try {
        out.path = catalogue::discIndexFilePath(form.app().ProgramFolder, disc);
        out.text = files::WholeFileRead(out.path);
    } catch (const platform::Error& e) {
        tell(form, std::string(CannotOpen) + out.path + e.description());
        return std::nullopt;
    }
    return out;
}

}  // namespace

void Form1::ListView1_ItemCheck(platform::ListItem& Item) {
    // Folders, the disc's information rows and mirrored files keep no tick
    // from this list.
    if (Item.smallIcon() == images::Folder || Item.smallIcon() == images::SoftwareCategory ||
        Item.foreColor() == CopyFileColor) {
        Item.setChecked(false);
        return;
    }
    // A tick is taken only where it can be written at once: on the page 光盘,
    // in a folder of the disc open there. Elsewhere the box goes back and
    // nothing is queued, so it can never reach another disc's lines.
    const platform::Node* folder = TreeView1.selectedItem();
    if (!TreeView1.visible() || !folder || !folder->parent()) {
        Item.setChecked(!Item.checked());
        tell(*this, std::string(ShowDiscPageFirst));
        return;
    }
    if (OpenedDisk.empty()) {
        Item.setChecked(!Item.checked());
        tell(*this, std::string(ChooseDiscFirst));
        return;
    }
    PendingTickPaths.push_back(discpage::pendingTickOf(*folder, Item));

    // The box shows what the index holds: a tick that was not written goes back.
    const std::optional<std::size_t> written = flushPendingTicks();
    if (!written || *written == 0) Item.setChecked(!Item.checked());
}

bool Form1::WritePendingTicks() { return flushPendingTicks().value_or(0) > 0; }

std::optional<std::size_t> Form1::flushPendingTicks() {
    if (!TreeView1.visible()) {
        tell(*this, std::string(ShowDiscPageFirst));
        return std::nullopt;
    }
    if (OpenedDisk.empty()) {
        tell(*this, std::string(ChooseDiscFirst));
        return std::nullopt;
    }
    // A disc gone meanwhile (deleted while its folder was listed): nothing
    // is written, and no index file is made for it.
    std::optional<IndexText> index = readIndex(*this, OpenedDisk);
    if (!index) {
        PendingTickPaths.clear();
        return std::nullopt;
    }
    const std::string& path = index->path;
    const std::string& text = index->text;
    const std::vector<discpage::PendingTick> queue = std::move(PendingTickPaths);
    PendingTickPaths.clear();
    const discpage::TickResult result =
        discpage::applyTicks(text, queue, catalogue::isHardDisc(OpenedDisk));
    // The number of every tenth entry, counted from 0, stays in the caption.
    for (std::size_t i = 9; i < queue.size(); i += 10) setCaption(std::to_string(i));
    try {
        discpage::rewriteDiscFile(app().ProgramFolder, path, result.text);
    } catch (const platform::Error& e) {
        tell(*this, "不能保存文件: " + path + e.description());
        return std::nullopt;
    }
    // A file the index spells several ways but for letter case takes no mark.
    if (!result.ambiguous.empty())
        tell(*this, catalogue::ambiguousNameMessage(result.ambiguous[0]));
    return result.written;
}

void Form1::deleteGou_Click() {
    if (OpenedDisk.empty()) return tell(*this, std::string(ChooseDiscFirst));
    const std::optional<IndexText> index = readIndex(*this, OpenedDisk);
    if (!index) return;
    platform::BusyPointer busy(*this);
    try {
        discpage::rewriteDiscFile(app().ProgramFolder, index->path,
                                  discpage::removeTicks(index->text));
    } catch (const platform::Error& e) {
        busy.end();
        return tell(*this, "不能保存文件: " + index->path + e.description());
    }
    // The boxes of the disc's listed files show the index again.
    const std::string& listed = alreadystr;
    if (TreeView1.visible() && platform::text::startsWith(listed, OpenedDisk + "\\")) {
        for (const auto& row : ListView1.items())
            if (row->foreColor() != CopyFileColor) row->setChecked(false);
    }
}

void Form1::DeleteFromMulu_Click() {
    platform::ListItem* item = ListView1.selectedItem();
    const platform::Node* folder = TreeView1.selectedItem();
    if (!item || !folder || !folder->parent() || item->smallIcon() == images::SoftwareCategory)
        return;
    if (item->smallIcon() == images::Folder) return tell(*this, "只能删除文件！");
    if (OpenedDisk.empty()) return tell(*this, std::string(ChooseDiscFirst));

    std::optional<IndexText> index = readIndex(*this, OpenedDisk);
    if (!index) return;
    const std::string& path = index->path;
    std::string& text = index->text;

    // The file's path as the index holds it: the folder below the disc node
    // (under the scanned folder's parent for a hard-disk folder) and the
    // row's name, with the row's size.
    const std::string folderPath = discpage::splitTreePath(folder->fullPath()).folderPath;
    const bool hard = catalogue::isHardDisc(OpenedDisk);
    const discpage::RowFile file = discpage::rowFile(item->text(), item->subItem(1), item->key());
    const std::string filePath =
        discpage::indexFolderPrefix(firstLineOf(text), folderPath, hard) + file.name;
    const catalogue::ChosenFileLine found =
        catalogue::chooseFileLine(text, {filePath, file.sizeText});
    if (found.match == catalogue::NameMatch::Ambiguous)
        return tell(*this, catalogue::ambiguousNameMessage(filePath));
    if (!found) return tell(*this, "有错误！在目录文件里找不到这个文件。");
    // A real file is deleted only when the user says so.
    if (hard && ui().msgBox(dropFileQuestion(found.line.path), platform::MsgButtons::YesNoDefaultNo,
                            TipTitle) != platform::MsgYes)
        return;

    // A hard-disk file goes first (recorded as pending work, so that a
    // start after a cut drops the line of a file already gone), then its
    // line.
    std::optional<catalogue::PendingWorkScope> pending;
    if (hard) {
        // The real file, only beneath the catalogued folder (a link there
        // is deleted itself, never its target); a missing one is no
        // hindrance, one that cannot be deleted keeps its line.
        const std::string& real = found.line.path;
        const std::string root =
            discpage::scannedFolder(catalogue::HardDiscBase(firstLineOf(text)), folderPath);
        try {
            pending.emplace(app().ProgramFolder,
                            discpage::lineDropWork(path, filePath, file.sizeText, real));
        } catch (const platform::Error& e) {
            return tell(*this, catalogue::pendingWorkBeginMessage(
                                   e, "不能保存文件: " +
                                          catalogue::pendingWorkFilePath(app().ProgramFolder) +
                                          e.description()));
        }
        try {
            const files::ConfinedRoot scanned = files::ConfinedRoot::open(root);
            scanned.remove(scanned.relativeOf(real), files::ReadOnlyToo::Yes);
        } catch (const platform::Error& e) {
            if (e.number() != platform::err::FileNotFound &&
                e.number() != platform::err::PathNotFound) {
                pending->done();
                return tell(*this, "不能删除文件: " + real + e.description());
            }
        }
    }
    text.erase(found.begin, found.end - found.begin);
    try {
        discpage::rewriteDiscFile(app().ProgramFolder, path, text);
    } catch (const platform::Error& e) {
        // A deleted file's line stays in the pending work: the next start
        // drops it.
        return tell(*this,
                    pending ? pending->keep(path, e) : "不能保存文件: " + path + e.description());
    }
    if (pending) pending->done();
    // The row leaves the list, the status bar counts the rows again instead
    // of naming the file, and the preview shows no more of it.
    ListView1.remove(*item);
    StatusBar1.panel(2).setText(std::to_string(ListView1.count()) + "个文件夹或文件");
    if (previewPaneOpen()) showPreviewStartPage();
}

discpage::PendingTick discpage::pendingTickOf(const platform::Node& folder,
                                              const platform::ListItem& row) {
    PendingTick tick;
    tick.parentText = folder.parent()->text();
    tick.folderText = folder.text();
    tick.key = stripNoStrPrefix(row.key());
    tick.atRoot = folder.parent()->image() == images::Disc;
    tick.folderPath = splitTreePath(folder.fullPath()).folderPath;
    return tick;
}
