// Category editing: new top-level categories and sub-categories named in the
// name dialog, and the in-place rename of a category's label. Each command
// reads the catalogue file, checks the name, writes the file back once and
// then changes the category tree, so a failure leaves both as they were.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/catalogue_file.h"
#include "catalogue/disc_trees.h"
#include "catalogue/name_dialog.h"
#include "mainwindow/form1.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"

namespace {

constexpr std::string_view Title = "提示";
constexpr std::string_view CategoryExistsMessage = "你要新建的分类已经有了!";
constexpr std::string_view NameTakenMessage = "这个名字已经存在！";
constexpr std::string_view BadCategoryNameMessage = "目录名不能为空，也不能含有\\或#";

// The top-level node above a node (the node itself at the top level).
platform::Node& topLevelOf(platform::Node& node) {
    platform::Node* top = &node;
    while (top->parent()) top = top->parent();
    return *top;
}

// Empties the hand-over members of the name dialog when the command ends,
// however it ends (Txt1 only when the command set it).
struct NameDialogHandOff {
    Form1& form;
    bool setsTxt1 = false;
    ~NameDialogHandOff() {
        if (setsTxt1) form.Txt1.clear();
        form.Txtcontent_Name.clear();
    }
};

// Shows the name dialog in a mode; the typed name when OK closed it.
std::optional<std::string> askName(Form1& form, std::string_view modeWord) {
    form.Txtcontent_Name = std::string(modeWord);
    {
        Dialog1 dialog(form);
        dialog.showModal();
    }
    if (!form.OkName) return std::nullopt;
    form.OkName = false;
    return form.Txtcontent_Name;
}

// True when a category or disc node of the tree (any node but the folders of
// an opened disc) bears the name, letter case ignored.
bool shownInTree(const platform::TreeView& tree, std::string_view name) {
    const std::string lower = platform::text::lcase(name);
    for (const auto& node : tree.nodes())
        if (node->image() != images::Folder && platform::text::lcase(node->text()) == lower)
            return true;
    return false;
}

// Refuses a name that is unusable or taken (by a node of the tree, a line of
// the catalogue or a node key); true when it may be added.
bool newCategoryNameAccepted(Form1& form, std::string_view text, const std::string& name) {
    if (!catalogue::categoryNameIsUsable(name)) {
        form.ui().msgBox(BadCategoryNameMessage, platform::MsgButtons::OK, Title);
        return false;
    }
    if (shownInTree(form.TreeView2, name) || catalogue::CatalogueNameTaken(text, name) ||
        form.TreeView2.find(catalogue::treeNodeKey(name))) {
        form.ui().msgBox(CategoryExistsMessage, platform::MsgButtons::OK, Title);
        return false;
    }
    return true;
}

}  // namespace

void Form1::insert_Click() {
    NameDialogHandOff handOff{*this};
    const auto name = askName(*this, "insert");
    if (!name) return;
    const std::string path = catalogue::catalogueFilePath(app().ProgramFolder);
    const std::string text = catalogue::readCatalogueText(path);
    if (!newCategoryNameAccepted(*this, text, *name)) return;
    catalogue::writeCatalogueText(path, catalogue::AppendCategoryLine(text, *name));
    TreeView2.add(catalogue::treeNodeKey(*name), *name, images::Category);
}

void Form1::insertsub_Click() {
    platform::Node* selected = TreeView2.selectedItem();
    if (!selected) return;
    platform::Node& top = topLevelOf(*selected);
    if (top.image() != images::Category) return;
    NameDialogHandOff handOff{*this, true};
    Txt1 = top.text();
    const auto name = askName(*this, "insertsub");
    if (!name || top.removed()) return;
    const std::string path = catalogue::catalogueFilePath(app().ProgramFolder);
    const std::string text = catalogue::readCatalogueText(path);
    if (!newCategoryNameAccepted(*this, text, *name)) return;
    // The top-level category's line is gone from the file (changed since the
    // tree was built): nothing is added.
    const auto changed = catalogue::InsertSubCategoryLine(text, top.text(), *name);
    if (!changed) return;
    catalogue::writeCatalogueText(path, *changed);
    TreeView2.addChild(top, catalogue::treeNodeKey(*name), *name, images::Category);
    top.setExpanded(true);
}

// ---- the rename in place ----

void Form1::ChangeMulu_Click() {
    const platform::Node* selected = TreeView2.selectedItem();
    if (selected && selected->image() == images::Category) TreeView2.startLabelEdit();
}

void Form1::TreeView2_BeforeLabelEdit(int& Cancel) {
    const platform::Node* selected = TreeView2.selectedItem();
    // Only a category's label is edited.
    if (!selected || selected->image() != images::Category) {
        Cancel = 1;
        return;
    }
    MuluName = selected->text();
}

void Form1::TreeView2_AfterLabelEdit(int& Cancel, const std::string& NewString) {
    if (NewString == MuluName) return;
    platform::Node* node = TreeView2.selectedItem();
    if (!node || node->image() != images::Category || node->text() != MuluName) {
        Cancel = 1;
        return;
    }
    if (!catalogue::categoryNameIsUsable(NewString)) {
        ui().msgBox(BadCategoryNameMessage, platform::MsgButtons::OK, Title);
        Cancel = 1;
        return;
    }
    const char marker = node->parent() ? '@' : '|';
    const std::string path = catalogue::catalogueFilePath(app().ProgramFolder);
    const std::string text = catalogue::readCatalogueText(path);
    const std::string newKey = catalogue::treeNodeKey(NewString);
    const platform::Node* keyHolder = TreeView2.find(newKey);
    if (catalogue::CatalogueNameTaken(text, NewString) || (keyHolder && keyHolder != node)) {
        ui().msgBox(NameTakenMessage, platform::MsgButtons::OK, Title);
        Cancel = 1;
        return;
    }
    // The category's line is not in the file (changed since the tree was
    // built): the edit is cancelled and nothing is written.
    const auto renamed = catalogue::RenameCategoryLine(text, marker, MuluName, NewString);
    if (!renamed) {
        Cancel = 1;
        return;
    }
    catalogue::writeCatalogueText(path, *renamed);
    // The node's key follows its name, so the commands that find a category
    // by its key find it under the new name.
    node->setKey(newKey);
}
