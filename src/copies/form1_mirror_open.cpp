// Opening a file's mirror copy with the program the desktop associates with
// it, from the disc page's file list or from the search results. Nothing
// stored is changed. The path comes from an index file, which may have been
// made elsewhere: it is opened only when a copy run could have written it.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/index_line.h"
#include "catalogue/scan_command.h"
#include "copies/form1_mirror_row.h"
#include "copies/mirror_edits.h"
#include "copies/mirror_files.h"
#include "copies/mirror_folders.h"
#include "discpage/file_listing.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/text_file.h"
#include "platform/system/shell.h"
#include "platform/text/text.h"
#include "search/result_rows.h"

namespace {

namespace text = platform::text;

constexpr std::string_view NotMirrored =
    "这个文件没有拷贝到硬盘上，凡是拷贝到硬盘上的文件字体颜色是红色。";
constexpr std::string_view CopyDeleted = "该映象文件已经删除！";
constexpr std::string_view CannotOpen = "不能打开文件: ";
// The folder the opening program starts in.
constexpr std::string_view ShellWorkDir = "C:\\";

void tell(Form1& form, std::string_view message) {
    form.ui().msgBox(message, platform::MsgButtons::OK, catalogue::TipTitle);
}

// Hands a mirror path to the shell when it lies below a folder a copy run
// copied into, links resolved (its own name too); any other is refused. A
// copy that is not there any more is told.
void openMirrorCopy(Form1& form, const std::string& mirrorPath) {
    if (!copies::recordedCopyOf(form.app().settings, mirrorPath, platform::files::Follow::Yes))
        return tell(form, copies::refusedMirrorPathMessage(mirrorPath));
    platform::BusyPointer busy(form);
    const int answer = form.app().shell.open(mirrorPath, ShellWorkDir);
    busy.end();
    if (answer == platform::system::shell_result::FileNotFound) tell(form, CopyDeleted);
}

}  // namespace

namespace copies {

std::string refusedMirrorPathMessage(std::string_view mirrorPath) {
    std::string message = "索引里的映象文件路径不可信：";
    message.append(mirrorPath).append("。程序不会打开或删除这个文件。");
    return message;
}

std::optional<MirroredRow> selectedMirroredRow(Form1& form) {
    const platform::Node* node = form.TreeView1.selectedItem();
    const platform::ListItem* item = form.ListView1.selectedItem();
    if (!node || !item || form.OpenedDisk.empty() || form.OpenedDiskLabel1.empty()) return {};

    // The tree path, and from it the file's path in the index: what follows
    // the disc's name up to the scan drive ("\E:\").
    const discpage::RowFile file = discpage::rowFile(item->text(), item->subItem(1), item->key());
    const std::string treePath = node->fullPath() + "\\" + file.name;
    const std::string scanRoot = "\\" + text::lcase(form.OpenedDiskLabel1) + ":\\";
    const std::size_t at = text::lcase(treePath).find(scanRoot);
    if (at == std::string::npos) return {};
    const std::string filePath = treePath.substr(at + 1);

    MirroredRow row;
    try {
        row.indexFile = catalogue::discIndexFilePath(form.app().ProgramFolder, form.OpenedDisk);
        row.indexText = platform::files::WholeFileRead(row.indexFile);
    } catch (const platform::Error& e) {
        tell(form, std::string(CannotOpen) + row.indexFile + e.description());
        return {};
    }
    catalogue::ChosenFileLine found =
        catalogue::chooseFileLine(row.indexText, {filePath, file.sizeText});
    if (found.match == catalogue::NameMatch::Ambiguous) {
        tell(form, catalogue::ambiguousNameMessage(filePath));
        return {};
    }
    if (!found || !found.line.mirror) return {};
    row.mirrorPath = *found.line.mirror;
    row.copyFolder = mirrorCopyFolder(row.mirrorPath, found.line.path);
    if (row.copyFolder.empty()) {
        tell(form, refusedMirrorPathMessage(row.mirrorPath));
        return {};
    }
    row.found = std::move(found);
    return row;
}

}  // namespace copies

void Form1::OpenRed_Click() {
    if (!TreeView1.visible()) return;
    const platform::ListItem* item = ListView1.selectedItem();
    if (!item) return;
    if (item->foreColor() != CopyFileColor) return tell(*this, NotMirrored);
    const std::optional<copies::MirroredRow> row = copies::selectedMirroredRow(*this);
    if (row) openMirrorCopy(*this, row->mirrorPath);
}

void Form1::openfindRed_Click() {
    // Only the file layout's path column holds an index line; remark and
    // note text is never handed to the shell.
    const platform::ListItem* item = ListView2.selectedItem();
    const search::ResultLayout layout = search::resultLayout(ListView2);
    if (!item || layout != search::ResultLayout::File) return;
    const std::optional<catalogue::IndexFileLine> line =
        catalogue::parseFileLine(search::resultRowKey(layout, *item));
    if (!line || !line->mirror) return;
    if (!copies::mirrorPathAccepted(*line->mirror, line->path))
        return tell(*this, copies::refusedMirrorPathMessage(*line->mirror));
    openMirrorCopy(*this, *line->mirror);
}
