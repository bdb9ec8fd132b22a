// Remarks and usage notes: the notes dialog edits the remark (备注) or the
// usage note (使用情况) of the file list's selected row, or the remark of the
// selected row of a search of remarks; the text is stored in the disc's note
// file under the row's note key and then shown in the row. Cancel and the
// dialog's close box store nothing; an empty text removes the record. A
// result row that names no file or folder edits nothing.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/index_line.h"
#include "catalogue/scan_command.h"
#include "discpage/disc_file_path.h"
#include "discpage/form1_note_store.h"
#include "discpage/note_file.h"
#include "discpage/notes_dialog.h"
#include "mainwindow/form1.h"
#include "mainwindow/images.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/ui/ui.h"
#include "search/result_rows.h"

namespace {

constexpr std::string_view CannotSave = "不能保存文件: ";
// The heading of the result list's third column after a search of remarks.
constexpr std::string_view RemarkHeading = "备注";

// Puts the hand-off members back to rest however a command ends.
class NoteCommandEnd {
  public:
    explicit NoteCommandEnd(Form1& form) : form_(form) {}
    ~NoteCommandEnd() {
        form_.fileNotes.clear();
        form_.IsExample = false;
    }
    NoteCommandEnd(const NoteCommandEnd&) = delete;
    NoteCommandEnd& operator=(const NoteCommandEnd&) = delete;

  private:
    Form1& form_;
};

// Shows the notes dialog; the text it hands back, or nothing when cancelled.
std::optional<std::string> askNote(Form1& form) {
    form.fileNotes.clear();
    {
        notes dialog(form);
        dialog.showModal();
    }
    if (form.fileNotes == notes::Cancelled) return std::nullopt;
    return form.fileNotes;
}

}  // namespace

std::optional<std::string> storeDiscNote(Form1& form, std::string_view disc,
                                         std::string_view extension, std::string_view marker,
                                         const std::string& key, const std::string& text) {
    std::string path = form.app().ProgramFolder + "\\" + std::string(catalogue::IndexFolderName) +
                       "\\" + std::string(disc) + std::string(extension);
    try {
        path = catalogue::discFilePath(form.app().ProgramFolder, disc, extension);
        const platform::files::ConfinedRoot root =
            discpage::discFilesRoot(form.app().ProgramFolder);
        return discpage::StoreNote(root, root.relativeOf(path), marker, disc, key, text);
    } catch (const platform::Error& e) {
        form.ui().msgBox(std::string(CannotSave) + path + e.description(), platform::MsgButtons::OK,
                         catalogue::TipTitle);
        return std::nullopt;
    }
}

namespace {

// The remark (usage false) or usage note of the file list's selected row.
void editFileListNote(Form1& form, bool usage) {
    NoteCommandEnd end(form);
    const platform::ListItem* row = form.ListView1.selectedItem();
    const platform::Node* folder = form.TreeView1.selectedItem();
    if (!row || !folder || row->smallIcon() == images::SoftwareCategory) return;
    const std::uint64_t serial = row->serial();
    const std::string key = discpage::noteKey(folder->fullPath(), row->text(), row->subItem(1));

    form.IsExample = usage;
    form.Is_addnotes111 = false;
    const std::optional<std::string> text = askNote(form);
    if (!text) return;

    const std::string disc = form.OpenedDisk;
    if (!storeDiscNote(form, disc, usage ? discpage::UsageExtension : discpage::NoteExtension,
                       usage ? discpage::UsageMarker : discpage::NoteMarker, key, *text))
        return;
    if (platform::ListItem* shown = form.ListView1.findSerial(serial))
        shown->setSubItem(usage ? 4 : 3, *text);
}

}  // namespace

void Form1::addnotes_Click() { editFileListNote(*this, false); }

void Form1::addexample_Click() { editFileListNote(*this, true); }

void Form1::addnotes111_Click() {
    NoteCommandEnd end(*this);
    const platform::ListItem* row = ListView2.selectedItem();
    if (!row) return;
    // Only a row of a search of remarks: a usage-note row, a file row or a
    // disc-remark row is not edited here.
    if (search::resultLayout(ListView2) != search::ResultLayout::Note ||
        ListView2.columnCount() < 3 || ListView2.column(3).text() != RemarkHeading)
        return;
    // The note key the row was listed with, a name's own "($)" kept; a row
    // without one (a line the tick-all commands listed under these headers)
    // names no file or folder and has no record to edit.
    const std::string path = search::resultRowKey(search::ResultLayout::Note, *row);
    if (path.empty()) return;
    const std::uint64_t serial = row->serial();
    const std::string disc = row->text();
    const std::string key = disc + "\\" + path;

    IsExample = false;
    Is_addnotes111 = true;
    const std::optional<std::string> text = askNote(*this);
    if (!text) return;

    const std::optional<std::string> after =
        storeDiscNote(*this, disc, discpage::NoteExtension, discpage::NoteMarker, key, *text);
    if (!after) return;
    // The only record removed: no note file is left for the disc.
    if (text->empty() && *after == "\r\n") {
        platform::SkipOnError skip;
        skip.step([&] {
            const platform::files::ConfinedRoot root = discpage::discFilesRoot(app().ProgramFolder);
            root.remove(root.relativeOf(
                catalogue::discFilePath(app().ProgramFolder, disc, discpage::NoteExtension)));
        });
    }
    if (platform::ListItem* shown = ListView2.findSerial(serial)) shown->setSubItem(2, *text);
}
