// Remarks and names from the preview: the remark of the file list's selected
// file taken from the file itself (a page's title, a text's opening) or from
// the text selected in the preview browser, and a previewed file of a
// catalogued hard-disk folder renamed after the selected text.
//
// A remark taken from the file or its selection keeps no line break
// (note_file.h: withoutLineBreaks) and is stored as the notes commands store
// it (form1_note_store.h). A file takes its new name first, never replacing
// another file, under a record of pending work (file_rename_work.h); only
// then is its own line of the index changed. When that fails, the record
// stays and the next event or start gives the line the new name: a rename
// that took effect is never taken back.

#include <optional>
#include <string>
#include <string_view>

#include "catalogue/index_line.h"
#include "catalogue/name_lookup.h"
#include "catalogue/pending_work.h"
#include "catalogue/scan_command.h"
#include "discpage/disc_file_path.h"
#include "discpage/file_listing.h"
#include "discpage/form1_note_store.h"
#include "discpage/note_file.h"
#include "mainwindow/form1.h"
#include "mainwindow/images.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/file_ops.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "platform/system/clipboard.h"
#include "platform/text/document_text.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"
#include "preview/file_rename_work.h"
#include "preview/preview_text.h"

namespace {

namespace text = platform::text;

constexpr std::string_view NoFileOrDisc = "文件不存在或没有光盘在光驱里!";
// The refusals of the remark from the selection.
constexpr std::string_view OpenPreviewFirst = "请先在光盘页打开预览窗口！";
constexpr std::string_view PreviewFromListFirst = "请先在文件列表中点击要预览的文件！";
constexpr std::string_view ChooseFile = "请选择要预览的文件！";
constexpr std::string_view OnlyPagesAndTexts = "预览网页和文本文件时才可以用上此功能！";
constexpr std::string_view SelectTextFirst = "请先在预览窗口中选中文字！";
// The refusals of the renaming.
constexpr std::string_view RenameNeedsPane =
    "请点击光盘标签，打开预览窗口，选中要作为文件名的文字。";
constexpr std::string_view OnlyHardDiscFiles = "只能修改硬盘文件名！请选择扫描硬盘得来得目录文件。";
constexpr std::string_view OnlyFromFileList = "必须是点击左边的文件列表预览的文件才可以改名！";
constexpr std::string_view NotAFolder = "请不要选择文件夹，只修改文件名！";
constexpr std::string_view RenameOnlyPagesAndTexts = "必须是预览网页和文本文件时才可以用上次功能！";
constexpr std::string_view SelectNameText = "请选择要作为文件名的文字。";
constexpr std::string_view HasError = "有错误！";

void tell(Form1& form, std::string_view message) {
    form.ui().msgBox(message, platform::MsgButtons::OK, catalogue::TipTitle);
}

bool previewPressed(const Form1& form) { return form.Toolbar1.button("preview").value() == 1; }

// The first bytes of a file (at most RemarkReadLimit) as text, read in the
// file's own character set (document_text.h); "" when it is missing or not a
// plain file.
std::string openingOfFile(const std::string& windowsPath) {
    try {
        return text::decodeDocument(platform::files::readRegularFile(
            platform::files::resolveExisting(windowsPath).native, preview::RemarkReadLimit));
    } catch (const platform::Error&) {
        return {};
    }
}

// Puts remark into the selected row's remark cell and the disc's note file.
void storeRemark(Form1& form, const std::string& key, const std::string& remark) {
    platform::ListItem* row = form.ListView1.selectedItem();
    const std::uint64_t serial = row ? row->serial() : 0;
    form.fileNotes = remark;
    const std::optional<std::string> stored = storeDiscNote(
        form, form.OpenedDisk, discpage::NoteExtension, discpage::NoteMarker, key, remark);
    form.fileNotes.clear();
    if (!stored) return;
    if (platform::ListItem* shown = form.ListView1.findSerial(serial)) shown->setSubItem(3, remark);
}

// The browser's selection, as the clipboard holds it after the browser's copy.
std::string copiedSelection(Form1& form) {
    form.app().clipboard.clear();
    form.WebBrowser1.execWB(platform::BrowserCopy, 0);
    return form.app().clipboard.text();
}

}  // namespace

void Form1::addnotesauto_Click() {
    const platform::ListItem* row = ListView1.selectedItem();
    const platform::Node* folder = TreeView1.selectedItem();
    if (!row || !folder || row->smallIcon() == images::Folder ||
        row->smallIcon() == images::SoftwareCategory)
        return;
    const preview::RemarkSource source = preview::remarkSourceOf(row->subItem(1));
    if (source == preview::RemarkSource::None) return;
    const std::string key = discpage::noteKey(folder->fullPath(), row->text(), row->subItem(1));
    const std::string treePath =
        folder->fullPath() + "\\" +
        discpage::rowFileName(row->text(), row->subItem(1), row->key(), false);

    std::string content;
    const std::optional<discpage::ListedFilePlace> listed = discpage::listedFilePlace(
        app().ProgramFolder, OpenedDisk, OpenedDiskLabel1, CdDrive, treePath);
    if (listed && discpage::existsInside(listed->place))
        content = openingOfFile(listed->place.path);

    std::string remark;
    if (source == preview::RemarkSource::Title) {
        if (content.empty()) {
            tell(*this, NoFileOrDisc);
            return;
        }
        // A title written over several lines is stored on one.
        remark = discpage::withoutLineBreaks(preview::pageTitle(content));
    } else {
        const std::optional<std::string> opening = preview::textOpening(content);
        if (!opening) {
            tell(*this, NoFileOrDisc);
            return;
        }
        remark = *opening;
    }
    // No title, an empty one or a text of spaces: the remark stays as it was.
    if (remark.empty()) return;
    storeRemark(*this, key, remark);
}

void Form1::addselecttoremark_Click() {
    if (!TreeView1.visible() || !previewPressed(*this)) {
        tell(*this, OpenPreviewFirst);
        return;
    }
    if (ListView2.visible() && ListView1.count() == 0) {
        tell(*this, PreviewFromListFirst);
        return;
    }
    const platform::ListItem* row = ListView1.selectedItem();
    const platform::Node* folder = TreeView1.selectedItem();
    if (!row || !folder || folder->image() == images::Disc ||
        row->smallIcon() == images::SoftwareCategory) {
        tell(*this, ChooseFile);
        return;
    }
    if (!WebBrowser1.visible()) {
        tell(*this, OnlyPagesAndTexts);
        return;
    }
    const std::string key = discpage::noteKey(folder->fullPath(), row->text(), row->subItem(1));
    const std::string remark = preview::remarkOfSelection(copiedSelection(*this));
    if (remark.empty()) {
        tell(*this, SelectTextFirst);
        return;
    }
    storeRemark(*this, key, remark);
}

void Form1::AlterFilename_Click() {
    if (!TreeView1.visible() || !previewPressed(*this)) {
        tell(*this, RenameNeedsPane);
        return;
    }
    if (!catalogue::isHardDisc(OpenedDisk)) {
        tell(*this, OnlyHardDiscFiles);
        return;
    }
    if (ListView2.visible() && ListView1.count() == 0) {
        tell(*this, OnlyFromFileList);
        return;
    }
    const platform::ListItem* row = ListView1.selectedItem();
    const platform::Node* folder = TreeView1.selectedItem();
    if (!row || !folder) {
        tell(*this, ChooseFile);
        return;
    }
    if (row->smallIcon() == images::Folder) {
        tell(*this, NotAFolder);
        return;
    }
    if (folder->image() == images::Disc) {
        tell(*this, ChooseFile);
        return;
    }
    if (!WebBrowser1.visible()) {
        tell(*this, RenameOnlyPagesAndTexts);
        return;
    }
    const std::string selection = copiedSelection(*this);
    const std::string oldPath = WebBrowser1.locationPath();
    const std::string name =
        preview::nameOfSelection(selection, preview::extensionOf(oldPath).size());
    if (name.empty()) {
        tell(*this, SelectNameText);
        return;
    }
    const std::string newPath = preview::renamedPath(oldPath, name);
    const std::string newName(newPath.substr(newPath.find_last_of('\\') + 1));
    if (oldPath.empty() || newName == "." || newName == "..") {
        tell(*this, HasError);
        return;
    }

    // The index's own line of the file, found before anything changes.
    std::string indexPath;
    std::string indexText;
    preview::RenamedIndex renamed;
    try {
        indexPath = catalogue::discIndexFilePath(app().ProgramFolder, OpenedDisk);
        indexText = platform::files::WholeFileRead(indexPath);
        renamed = preview::renameFileLine(indexText, oldPath, newPath);
    } catch (const platform::Error&) {
    }
    if (renamed.match == catalogue::NameMatch::Ambiguous) {
        tell(*this, catalogue::ambiguousNameMessage(oldPath));
        return;
    }
    if (renamed.match != catalogue::NameMatch::Found) {
        tell(*this, HasError);
        return;
    }
    // The file first, never over another one, and only beneath the
    // catalogued folder (a path or a link that leads out of it is refused
    // and named); then its line. The rename is the switch, recorded as
    // pending work before it: a start after a cut, or after a line that
    // could not be written, gives the line the file's new name. A rename that
    // may have taken effect is never taken back.
    std::optional<catalogue::PendingWorkScope> pending;
    try {
        pending.emplace(app().ProgramFolder, preview::fileRenameWork(indexPath, oldPath, newPath));
    } catch (const platform::Error& e) {
        tell(*this, catalogue::pendingWorkBeginMessage(e, std::string(HasError)));
        return;
    }
    try {
        const discpage::HardDiscFolder disc =
            discpage::hardDiscFolder(indexText.substr(0, indexText.find_first_of("\r\n")));
        const discpage::ConfinedPlace from = discpage::confinedPlace({oldPath, disc.folder, true});
        from.root.rename(from.relative, from.root.relativeOf(newPath),
                         platform::files::OnExisting::Refuse);
    } catch (const platform::Error& e) {
        // Not renamed (a rename that happened does not raise).
        pending->done();
        tell(*this, e.number() == platform::err::PathFileAccess ? std::string_view(e.description())
                                                                : HasError);
        return;
    }
    try {
        discpage::rewriteDiscFile(app().ProgramFolder, indexPath, renamed.text);
    } catch (const platform::Error& e) {
        tell(*this, pending->keep(indexPath, e));
        return;
    }
    pending->done();
    // The row of the renamed file (normally the selected one), by the file's
    // own name as the row's key spells it.
    const std::string oldName(oldPath.substr(oldPath.find_last_of('\\') + 1));
    for (const auto& item : ListView1.items()) {
        if (item->smallIcon() == images::Folder) continue;
        if (discpage::rowFile(item->text(), item->subItem(1), item->key()).name == oldName) {
            item->setText(name);
            break;
        }
    }
}

void Form1::wirePreviewTextEvents() {
    addnotesauto.Click = [this] { addnotesauto_Click(); };
    addselecttoremark.Click = [this] { addselecttoremark_Click(); };
    AlterFilename.Click = [this] { AlterFilename_Click(); };
    StatusBar1.DblClick = [this] { AlterFilename_Click(); };
}
