// The property commands: the number of files of a disc, or of one of its
// folders with everything below it, and their total size, counted from the
// disc's index file (the disc need not be in the drive) and shown in the
// left panel of the status bar. 属性 measures what the category tree has
// selected, 属性1 and 属性2 what the disc list has selected (属性2 the
// ticked files alone), 文件夹属性 the folder row selected in the file list.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/index_line.h"
#include "catalogue/scan_command.h"
#include "discpage/index_edits.h"
#include "discpage/size_text.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

constexpr std::string_view CannotOpen = "不能打开文件: ";

// Where a tree node lies in a disc: the disc's name and the node's path
// below the disc node ("" for the disc node itself, "E:" for a CD's scan
// root, "E:\docs", "pop\live").
struct DiscPlace {
    std::string disc;
    std::string below;
};

// The disc node at or above node (the one with the disc picture), in either
// tree: nothing for a category node or no node.
std::optional<DiscPlace> discPlaceOf(const platform::Node* node) {
    const platform::Node* disc = node;
    while (disc && disc->image() != images::Disc) disc = disc->parent();
    if (!disc) return std::nullopt;
    if (disc == node) return DiscPlace{disc->text(), ""};
    return DiscPlace{disc->text(), node->fullPath().substr(disc->fullPath().size() + 1)};
}

// What a command counts: a disc and a folder's path below the disc node (""
// for the whole disc).
struct Scope {
    std::string disc;
    std::string folderPath;
};

// The scope of a node of either tree: a disc node or its scan root node, the
// whole disc; a folder node, that folder.
std::optional<Scope> nodeScope(const platform::Node* node) {
    std::optional<DiscPlace> place = discPlaceOf(node);
    if (!place) return std::nullopt;
    if (place->below.find('\\') == std::string::npos) place->below.clear();
    return Scope{place->disc, place->below};
}

// Counts the scope's files (all, or the ticked ones) and shows the count and
// their size in status panel 1; without a scope nothing is read and the
// panel reads "0个文件，共1K". An index that cannot be read is told and the
// panel keeps its text.
void showFileCount(Form1& form, const std::optional<Scope>& scope, bool tickedOnly) {
    discpage::FileTotal total;
    if (scope) {
        std::string path = scope->disc;
        try {
            path = catalogue::discIndexFilePath(form.app().ProgramFolder, scope->disc);
            platform::files::RawLineReader lines(path);
            total = discpage::countFiles(lines, scope->folderPath,
                                         catalogue::isHardDisc(scope->disc), tickedOnly);
        } catch (const platform::Error& e) {
            form.ui().msgBox(std::string(CannotOpen) + path + e.description(),
                             platform::MsgButtons::OK, catalogue::TipTitle);
            return;
        }
    }
    form.StatusBar1.panel(1).setText(std::to_string(total.files) + "个文件，共" +
                                     discpage::summarySizeText(total.bytes));
}

}  // namespace

void Form1::property_Click() { showFileCount(*this, nodeScope(TreeView2.selectedItem()), false); }

void Form1::property1_Click() { showFileCount(*this, nodeScope(TreeView1.selectedItem()), false); }

void Form1::property2_Click() { showFileCount(*this, nodeScope(TreeView1.selectedItem()), true); }

void Form1::property3_Click() {
    // A folder row only: the folder of that name in the folder the disc list
    // has selected.
    const platform::ListItem* item = ListView1.selectedItem();
    if (!item || item->smallIcon() != images::Folder) return;
    std::optional<Scope> scope;
    if (const std::optional<DiscPlace> place = discPlaceOf(TreeView1.selectedItem());
        place && !place->below.empty())
        scope = Scope{place->disc, place->below + "\\" + item->text()};
    showFileCount(*this, scope, false);
}
