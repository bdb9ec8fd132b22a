// Undoing mirror copies: every tick mark and mirror suffix of the open disc
// taken from its index (the copies stay on the hard disk), or the mirror copy
// of the file selected in the file list deleted, its suffix removed and its
// size taken from the copied-size total. A copy is deleted only below a
// folder a copy run copied into (mirror_folders.h); an index that cannot be
// read is never written, and nothing is deleted for it.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "catalogue/pending_work.h"
#include "catalogue/scan_command.h"
#include "copies/copy_dialog.h"
#include "copies/form1_mirror_row.h"
#include "copies/mirror_files.h"
#include "copies/mirror_folders.h"
#include "discpage/index_edits.h"
#include "discpage/marks_removal_work.h"
#include "discpage/size_text.h"
#include "mainwindow/form1.h"
#include "mainwindow/startup.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/listing.h"
#include "platform/files/text_file.h"

namespace {

namespace files = platform::files;

constexpr std::string_view ChooseDisc = "请选择光盘！";
constexpr std::string_view DeleteCopiesByHand =
    "如果在硬盘上的映象文件不需要，请在资源管理器里删除！否则将不能再次建立映象文件。";
constexpr std::string_view OnlyMirroredFiles = "只有红色的文件在硬盘上才有对应的文件！";
constexpr std::string_view CannotOpen = "不能打开文件: ";
constexpr std::string_view CannotSave = "不能保存文件: ";
constexpr std::string_view FailureReason = "错误原因：";
constexpr std::string_view CopiedSizeCaption = "已经拷贝到硬盘上的文件大小是";
const platform::Color Black = platform::qbColor(0);

void tell(Form1& form, std::string_view message) {
    form.ui().msgBox(message, platform::MsgButtons::OK, catalogue::TipTitle);
}

// Writes a stored file whole; a failure is told and gives false.
bool rewrite(Form1& form, const std::string& path, std::string_view text) {
    try {
        copies::rewriteProgramFile(form.app().ProgramFolder, path, text);
    } catch (const platform::Error& e) {
        tell(form, std::string(CannotSave) + path + e.description());
        return false;
    }
    return true;
}

bool isMissing(const platform::Error& e) {
    return e.number() == platform::err::FileNotFound || e.number() == platform::err::PathNotFound;
}

// A stored file of the program folder read whole: nothing when it is missing,
// or when it cannot be read, which is told (and the file is left as it is).
std::optional<std::string> readProgramFile(Form1& form, const std::string& path) {
    try {
        return files::WholeFileRead(path);
    } catch (const platform::Error& e) {
        if (!isMissing(e)) startup::reportUnreadableFile(form.ui(), path, e.description());
        return std::nullopt;
    }
}

// The copied-size total less size (when it is at least that), read afresh
// from the size file and written back; a missing file counts as 0. A file
// that cannot be read is told and left as it is.
void subtractCopiedSize(Form1& form, double size) {
    const std::string path = copies::copiedSizeFilePath(form.app().ProgramFolder);
    double total = 0;
    try {
        total = copies::readCopiedSize(files::WholeFileRead(path));
    } catch (const platform::Error& e) {
        if (!isMissing(e)) return startup::reportUnreadableFile(form.ui(), path, e.description());
    }
    if (total >= size) total -= size;
    form.AllSize = total;
    try {
        copies::writeCopiedSize(form.app().ProgramFolder, total);
    } catch (const platform::Error& e) {
        tell(form, std::string(CannotSave) + path + e.description());
    }
    form.CopyAllSize.setCaption(std::string(CopiedSizeCaption) + discpage::sizeText(total));
}

// The text with the found line's mirror suffix taken away; its marks stay.
std::string withoutMirror(const copies::MirroredRow& row) {
    const std::string_view text = row.indexText;
    catalogue::IndexFileLine line = row.found.line;
    line.mirror.reset();
    std::string out(text.substr(0, row.found.begin));
    out += catalogue::formatFileLine(line);
    out += text.substr(row.found.contentEnd);
    return out;
}

}  // namespace

void Form1::deleteAllred_Click() {
    if (OpenedDisk.empty()) return tell(*this, ChooseDisc);
    platform::BusyPointer busy(*this);
    std::string path;
    std::string text;
    try {
        path = catalogue::discIndexFilePath(app().ProgramFolder, OpenedDisk);
        text = files::WholeFileRead(path);
    } catch (const platform::Error& e) {
        busy.end();
        return tell(*this, std::string(CannotOpen) + path + e.description());
    }
    // The index (the switch), then red.ini, under pending work: a start
    // after a cut takes the disc out of red.ini.
    std::optional<catalogue::PendingWorkScope> pending;
    try {
        pending.emplace(app().ProgramFolder, discpage::marksRemovalWork(OpenedDisk, path));
    } catch (const platform::Error& e) {
        busy.end();
        return tell(*this, catalogue::pendingWorkBeginMessage(
                               e, std::string(CannotSave) +
                                      catalogue::pendingWorkFilePath(app().ProgramFolder) +
                                      e.description()));
    }
    if (!rewrite(*this, path, discpage::removeTicksAndMirrors(text))) return pending->done();
    if (platform::Node* node = TreeView1.find(catalogue::treeNodeKey(OpenedDisk)))
        node->setForeColor(Black);
    const std::string listPath = copies::mirrorDiscListPath(app().ProgramFolder);
    if (const std::optional<std::string> list = readProgramFile(*this, listPath)) {
        if (const std::optional<std::string> rest = copies::removeMirrorDisc(*list, OpenedDisk)) {
            try {
                copies::rewriteProgramFile(app().ProgramFolder, listPath, *rest);
            } catch (const platform::Error& e) {
                busy.end();
                return tell(*this, pending->keep(listPath, e));
            }
        }
    }
    pending->done();
    busy.end();
    tell(*this, DeleteCopiesByHand);
}

void Form1::DeleteCopyFile_Click() {
    platform::ListItem* item = ListView1.selectedItem();
    if (!item) return;
    if (item->foreColor() != CopyFileColor) return tell(*this, OnlyMirroredFiles);
    if (ui().msgBox("确实要删除 {" + item->text() + "} 文件吗？", platform::MsgButtons::OKCancel,
                    catalogue::TipTitle) != platform::MsgOK)
        return;
    const std::optional<copies::MirroredRow> row = copies::selectedMirroredRow(*this);
    if (!row) return;
    const std::string& copy = row->mirrorPath;
    // Only a copy below a folder a copy run copied into, its folders'
    // links resolved; a link at the copy's own name is deleted itself.
    const std::optional<copies::RecordedCopy> place =
        copies::recordedCopyOf(app().settings, copy, files::Follow::No);
    if (!place) return tell(*this, copies::refusedMirrorPathMessage(copy));

    // The size as stored, as the copy run added it.
    subtractCopiedSize(*this, static_cast<double>(row->found.line.size()));

    // A copy that cannot be deleted (gone already, say) is told; its record
    // goes all the same.
    try {
        place->root.remove(place->relative, files::ReadOnlyToo::Yes);
    } catch (const platform::Error& e) {
        tell(*this, std::string(FailureReason) + e.description());
    }

    if (!rewrite(*this, row->indexFile, withoutMirror(*row))) return;
    item->setForeColor(Black);
}
