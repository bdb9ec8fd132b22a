// Editing the software tree from its pop-up menu: a new category beside or
// below the selected one, a new name for the selected category or record
// (the label edited in place), and deleting a record or an empty category.
// Each command reads the category file, changes the tree node and writes the
// file back once; a record's file is renamed or deleted with it.
//
// A category's line is the one its node was made from (found by the node's
// full path); a record's lines are the whole lines "{#$}" + name. A new name
// is refused when a node of the tree bears it (letter case ignored), and a
// name that cannot be a category or record name is refused before anything
// changes.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/name_dialog.h"
#include "catalogue/pending_work.h"
#include "discpage/disc_file_path.h"
#include "mainwindow/form1.h"
#include "mainwindow/images.h"
#include "platform/error.h"
#include "platform/files/file_ops.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"
#include "software/class_file.h"
#include "software/class_file_edits.h"
#include "software/record_deleting.h"
#include "software/record_file.h"
#include "software/record_renaming.h"
#include "software/software_texts.h"

namespace {

namespace files = platform::files;

constexpr std::string_view Title = software::TipTitle;
constexpr std::string_view SelectCategoryMessage = "请选择目录节点!";
constexpr std::string_view CategoryExistsMessage = "你要新建的分类已经有了!";
constexpr std::string_view CategoryViewFirstMessage = "请先点击[软件按分类排列]菜单";
constexpr std::string_view FourthLevelMessage = "只能建立三级分类目录，不能建立第四级分类目录！";
constexpr std::string_view ErrorMessage = "有错误！";
constexpr std::string_view NameExistsMessage = "你要改的软件或目录名字已经存在!";
constexpr std::string_view BadNameMessage = software::NameCharsRefusal;
constexpr std::string_view DeleteEmptyOnlyMessage =
    "只能删除空目录！如果确实想删除，请先删除子节点！";
// The caption of softlist while the alphabetical list is shown.
constexpr std::string_view AlphabeticalShown = "软件按分类排列";

// A stored file that cannot be written, told with its path and the reason.
void tellNotSaved(Form1& form, const std::string& path, const platform::Error& e) {
    form.ui().msgBox("不能保存文件: " + path + e.description(), platform::MsgButtons::OK, Title);
}

bool isRecord(const platform::Node& node) { return node.image() == images::SoftwareRecord; }

// The level of a node: 1 top-level, 2 below a top-level node, else 3.
int levelOf(const platform::Node& node) {
    const platform::Node* parent = node.parent();
    if (!parent) return 1;
    return parent->parent() ? 3 : 2;
}

// True when a node of the tree bears the name, letter case ignored.
bool nameInTree(const platform::TreeView& tree, std::string_view name) {
    const std::string folded = software::foldRecordName(name);
    for (const auto& node : tree.nodes())
        if (software::foldRecordName(node->text()) == folded) return true;
    return false;
}

// A category name the file and the category paths can hold: not empty, no
// "\" (the path separator), no control character (a line break).
bool isUsableCategoryName(std::string_view name) {
    if (name.empty()) return false;
    for (const char c : name)
        if (c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
    return platform::text::isValidUtf8(name);
}

// Empties the name dialog's hand-over when the command ends, however it ends.
struct SoftNameHandOff {
    Form1& form;
    ~SoftNameHandOff() {
        form.Txtcontent_Name.clear();
        form.OkName = false;
    }
};

// Asks the name dialog for a category's name in a mode, showing the selected
// node's name; the name typed when OK closed it.
std::optional<std::string> askCategoryName(Form1& form, std::string_view modeWord,
                                           const std::string& selected) {
    form.Txt1 = selected;
    form.Txtcontent_Name = std::string(modeWord);
    form.OkName = false;
    {
        Dialog1 dialog(form);
        dialog.showModal();
    }
    if (!form.OkName) return std::nullopt;
    return form.Txtcontent_Name;
}

// Refuses a new category name that is unusable or taken; true when it may
// be added. An empty name is dropped without a word.
bool newCategoryAccepted(Form1& form, const std::string& name) {
    if (name.empty()) return false;
    if (!isUsableCategoryName(name)) {
        form.ui().msgBox(BadNameMessage, platform::MsgButtons::OK, Title);
        return false;
    }
    if (nameInTree(form.TreeView3, name)) {
        form.ui().msgBox(CategoryExistsMessage, platform::MsgButtons::OK, Title);
        return false;
    }
    return true;
}

// Adds the node, writes the text, and takes the node away again when the
// write fails.
void addWithText(Form1& form, platform::Node& node, const std::string& text) {
    try {
        software::writeClassText(form.app().ProgramFolder, text);
    } catch (...) {
        if (!node.removed()) form.TreeView3.remove(node);
        throw;
    }
}

}  // namespace

void Form1::insertSoftBrother_Click() {
    platform::Node* selected = TreeView3.selectedItem();
    if (!selected) return;
    if (isRecord(*selected)) {
        ui().msgBox(SelectCategoryMessage, platform::MsgButtons::OK, Title);
        return;
    }
    SoftNameHandOff handOff{*this};
    const std::string selectedName = selected->text();
    const std::string selectedPath = selected->fullPath();
    const bool topLevel = levelOf(*selected) == 1;
    platform::Node* parent = selected->parent();
    const std::uint64_t parentSerial = parent ? parent->serial() : 0;
    const auto name = askCategoryName(*this, "insertsoftbrother", selectedName);
    if (!name || !newCategoryAccepted(*this, *name)) return;
    // The tree may have changed while the dialog was open.
    if (parentSerial && !TreeView3.findSerial(parentSerial)) return;

    const auto text = softwareClassText();
    if (!text) return;
    if (topLevel) {
        platform::Node& node =
            TreeView3.add(software::nodeKey(*name), *name, images::SoftwareCategory);
        addWithText(*this, node, software::withTopCategoryAppended(*text, *name));
        return;
    }
    platform::Node& node =
        TreeView3.addChild(*TreeView3.findSerial(parentSerial), software::nodeKey(*name), *name,
                           images::SoftwareCategory);
    const auto changed = software::withCategoryAbove(*text, selectedPath, *name);
    // The sibling's line is not in the file: the node stays in the tree
    // until the next reload, and the user is told.
    if (!changed) {
        ui().msgBox(ErrorMessage, platform::MsgButtons::OK, Title);
        return;
    }
    addWithText(*this, node, *changed);
}

void Form1::insertSoftChild_Click() {
    if (softlist.caption() == AlphabeticalShown) {
        ui().msgBox(CategoryViewFirstMessage, platform::MsgButtons::OK, Title);
        return;
    }
    platform::Node* selected = TreeView3.selectedItem();
    if (!selected) return;
    if (isRecord(*selected)) {
        ui().msgBox(SelectCategoryMessage, platform::MsgButtons::OK, Title);
        return;
    }
    if (levelOf(*selected) == 3) {
        ui().msgBox(FourthLevelMessage, platform::MsgButtons::OK, Title);
        return;
    }
    SoftNameHandOff handOff{*this};
    const std::uint64_t parentSerial = selected->serial();
    const std::string parentPath = selected->fullPath();
    const auto name = askCategoryName(*this, "insertsoftchild", selected->text());
    if (!name || !newCategoryAccepted(*this, *name)) return;
    platform::Node* parent = TreeView3.findSerial(parentSerial);
    if (!parent) return;

    const auto text = softwareClassText();
    if (!text) return;
    platform::Node& node =
        TreeView3.addChild(*parent, software::nodeKey(*name), *name, images::SoftwareCategory);
    const auto changed = software::withSubCategory(*text, parentPath, *name);
    if (!changed) {
        ui().msgBox(ErrorMessage, platform::MsgButtons::OK, Title);
        return;
    }
    addWithText(*this, node, *changed);
}

// ---- the rename in place ----

void Form1::ChangeSoftName_Click() {
    if (TreeView3.selectedItem()) TreeView3.startLabelEdit();
}

void Form1::TreeView3_BeforeLabelEdit(int& /*Cancel*/) {
    // Every node may be renamed; the edit remembers its node.
    const platform::Node* selected = TreeView3.selectedItem();
    SoftLabelEditNode = selected ? selected->serial() : 0;
}

void Form1::TreeView3_AfterLabelEdit(int& Cancel, const std::string& NewString) {
    platform::Node* node = TreeView3.findSerial(SoftLabelEditNode);
    SoftLabelEditNode = 0;
    // An empty name (an edit given up) is dropped without a word.
    if (!node || NewString.empty()) {
        Cancel = 1;
        return;
    }
    const bool record = isRecord(*node);
    if (nameInTree(TreeView3, NewString)) {
        ui().msgBox(NameExistsMessage, platform::MsgButtons::OK, Title);
        Cancel = 1;
        return;
    }
    if (record ? !software::isPlainRecordName(NewString) : !isUsableCategoryName(NewString)) {
        ui().msgBox(BadNameMessage, platform::MsgButtons::OK, Title);
        Cancel = 1;
        return;
    }
    const std::string& folder = app().ProgramFolder;
    const std::string oldName = node->text();
    const auto read = softwareClassText();
    if (!read) {
        Cancel = 1;
        return;
    }
    const std::string& text = *read;
    // The key first: a key the tree refuses stops the rename before any file
    // changes.
    const std::string oldKey = node->key();
    node->setKey(software::nodeKey(NewString));
    // Puts the old key back when a later step fails.
    const auto undo = [&] {
        node->setKey(oldKey);
        Cancel = 1;
    };
    if (!record) {
        // A category without a line in the file is renamed in the tree only.
        const std::optional<std::string> changed =
            software::withCategoryRenamed(text, node->fullPath(), NewString);
        if (!changed || *changed == text) return;
        try {
            software::writeClassText(folder, *changed);
        } catch (const platform::Error& e) {
            undo();
            tellNotSaved(*this, software::classFilePath(folder), e);
        }
        return;
    }
    // A record: its file gets the new name beside the old one (never over
    // another file; when it cannot, nothing changes), class.ini switches, the
    // old name goes. The pending work lets the next start finish or take
    // back a rename cut short (record_renaming.h). Both names are beneath
    // the software folder: a link of the old name is linked itself.
    std::string from, to;
    std::optional<files::ConfinedRoot> records;
    std::optional<catalogue::PendingWorkScope> pending;
    try {
        pending.emplace(folder, software::recordRenameWork(oldName, NewString));
    } catch (const platform::Error& e) {
        undo();
        if (catalogue::isPendingWorkRefusal(e))
            return (void)ui().msgBox(e.description(), platform::MsgButtons::OK, Title);
        return tellNotSaved(*this, catalogue::pendingWorkFilePath(folder), e);
    }
    std::string failedPath = software::softwareFolderPath(folder);
    try {
        // The new file: the record's text with its name line giving the new
        // name, never over another file. A record that is a link is linked
        // itself (its target is never read or written).
        records.emplace(software::openSoftwareFolder(folder));
        from = software::recordFileName(oldName);
        to = software::recordFileName(NewString);
        if (records->exists(to)) platform::raise(platform::err::FileExists);
        const auto status = records->status(from, files::Follow::No);
        if (status && status->isLink) {
            catalogue::linkOrCopy(*records, from, to);
        } else {
            failedPath = software::recordFilePath(folder, oldName);
            const std::string recordText = files::WholeFileRead(failedPath);
            failedPath = software::recordFilePath(folder, NewString);
            files::CommittedTextFile file(*records, to, files::OnExisting::Refuse);
            file.write(software::withRecordName(recordText, NewString));
            file.commit();
        }
    } catch (const platform::Error& e) {
        pending->done();
        undo();
        if (e.number() == platform::err::FileExists)
            ui().msgBox(NameExistsMessage, platform::MsgButtons::OK, Title);
        else if (std::string_view(e.description()).starts_with(discpage::OutsideFolder))
            ui().msgBox(e.description(), platform::MsgButtons::OK, Title);
        else if (failedPath == software::recordFilePath(folder, oldName))
            ui().msgBox("不能读取文件: " + failedPath + e.description(), platform::MsgButtons::OK,
                        Title);
        else
            tellNotSaved(*this, failedPath, e);
        return;
    }
    const std::string changed = software::withRecordRenamed(text, oldName, NewString);
    if (changed != text) {
        try {
            software::writeClassText(folder, changed);
        } catch (const platform::Error& e) {
            // Not switched: the finisher takes the new name away again (when
            // even that fails, the next start does).
            pending->settle();
            undo();
            return tellNotSaved(*this, software::classFilePath(folder), e);
        }
    }
    // The old name last; when it cannot go, the next start removes it.
    const catalogue::FinishOutcome outcome = pending->settle();
    if (!outcome.settled())
        ui().msgBox(catalogue::pendingWorkWaitingMessage(ChangeSoftName.caption(), outcome.path,
                                                         outcome.reason, outcome.removal),
                    platform::MsgButtons::OK, Title);
    // The record shown is saved into its file under the new name, and shows
    // it.
    if (ExistSoftFile == oldName) {
        ExistSoftFile = NewString;
        std::array<std::string, 12> texts = softwareFormTexts();
        if (texts[software::NameField] == oldName) {
            texts[software::NameField] = NewString;
            setSoftwareFormTexts(texts);
        }
        if (ExistSoftName == oldName) ExistSoftName = NewString;
    }
}

// ---- deleting ----

void Form1::deleteSoftN_Click() {
    platform::Node* selected = TreeView3.selectedItem();
    if (!selected) return;
    const std::string name = selected->text();
    const std::uint64_t serial = selected->serial();
    const std::string& folder = app().ProgramFolder;
    if (isRecord(*selected)) {
        if (ui().msgBox("确实要删除软件[" + name + "]吗?", platform::MsgButtons::YesNo,
                        software::QuestionTitle) != platform::MsgYes)
            return;
        const auto text = softwareClassText();
        if (!text) return;
        // class.ini first (the switch), then the file (only a plain name is
        // a file of the software folder), under pending work: a start
        // after a cut removes the file of a record class.ini no longer
        // files.
        const std::string changed = software::withoutRecordLines(*text, name);
        std::optional<catalogue::PendingWorkScope> pending;
        if (software::isPlainRecordName(name)) {
            // A software folder that leads out of the program folder is
            // refused and told; nothing changes.
            try {
                software::openSoftwareFolder(folder);
            } catch (const platform::Error& e) {
                if (std::string_view(e.description()).starts_with(discpage::OutsideFolder))
                    return (void)ui().msgBox(e.description(), platform::MsgButtons::OK, Title);
            }
            try {
                pending.emplace(folder, software::recordDeleteWork(name));
            } catch (const platform::Error& e) {
                if (catalogue::isPendingWorkRefusal(e))
                    return (void)ui().msgBox(e.description(), platform::MsgButtons::OK, Title);
                return tellNotSaved(*this, catalogue::pendingWorkFilePath(folder), e);
            }
        }
        if (changed != *text) {
            try {
                software::writeClassText(folder, changed);
            } catch (const platform::Error& e) {
                if (pending) pending->done();
                return tellNotSaved(*this, software::classFilePath(folder), e);
            }
        }
        if (pending) {
            const catalogue::FinishOutcome outcome = pending->settle();
            if (!outcome.settled())
                ui().msgBox(
                    catalogue::pendingWorkWaitingMessage(deleteSoftN.caption(), outcome.path,
                                                         outcome.reason, outcome.removal),
                    platform::MsgButtons::OK, Title);
        }
        {
            platform::SkipOnError onError;
            onError.step([&] {
                if (platform::Node* node = TreeView3.findSerial(serial)) TreeView3.remove(*node);
            });
        }
        // The form is emptied whatever record it showed.
        SoftName.clear();
        ExistSoftName.clear();
        ExistSoftFile.clear();
        setSoftwareFormTexts({});
        return;
    }
    if (ui().msgBox("确实要删除目录[" + name + "]吗?", platform::MsgButtons::YesNo,
                    software::QuestionTitle) != platform::MsgYes)
        return;
    platform::Node* node = TreeView3.findSerial(serial);
    if (!node) return;
    if (node->children() > 0) {
        ui().msgBox(DeleteEmptyOnlyMessage, platform::MsgButtons::OK, Title);
        return;
    }
    const auto text = softwareClassText();
    if (!text) return;
    // A category without a line in the file leaves the file as it is.
    if (const auto changed = software::withoutCategoryLine(*text, node->fullPath()))
        software::writeClassText(folder, *changed);
    TreeView3.remove(*node);
}
