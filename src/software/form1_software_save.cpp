// Saving the software record form: a new record is written to its file and
// filed in class.ini and the tree; an edited record is written to the file of
// its name and moved when its category was changed.
//
// Each write is checked: class.ini is written before a new record's file, and
// written back as it was (with the tree node taken away again) when the
// record cannot be written; a failure keeps the form and its state.
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/ui/ui.h"
#include "software/class_file.h"
#include "software/record_file.h"
#include "software/software_texts.h"

namespace {

using platform::MsgButtons;

// What a failed write of a stored file tells: nothing more than the failure,
// the form stays for another try.
template <class Write>
bool written(Form1& form, Write&& write) {
    try {
        write();
        return true;
    } catch (const platform::Error&) {
        form.ui().msgBox(software::SaveFailed, MsgButtons::OK, software::TipTitle);
        return false;
    }
}

}  // namespace

void Form1::SaveSoft_Click() {
    using software::TipTitle;
    const std::string programFolder = app().ProgramFolder;
    // An edited record is saved under its own name only, also while a new
    // name is pending.
    const bool edited = !ExistSoftName.empty();

    // 1. Confirmation by the form's state.
    if (!edited && SoftName.empty()) {
        ui().msgBox("没有软件名,请点击[软件管理/新建软件说明]菜单,先填写软件名字!", MsgButtons::OK,
                    TipTitle);
        return;
    }
    const std::string question = !edited            ? "你要保存新建软件" + SoftName + "?"
                                 : SoftName.empty() ? "你要保存软件" + ExistSoftName + "的修改?"
                                                    : "你要保存软件" + ExistSoftName + "?";
    if (ui().msgBox(question, MsgButtons::YesNo, software::QuestionTitle) != platform::MsgYes)
        return;

    // 2. Checks.
    if (SoftNameT.text().empty()) {
        ui().msgBox("软件名文本框不能为空！", MsgButtons::OK, TipTitle);
        return;
    }
    if (SoftCategoryT.text().empty() || SoftCategoryT.text() == software::CategoryHint) {
        ui().msgBox("必须要选择软件所属的分类！请点击[软件管理/软件按分类排列]菜单，然后选择分类",
                    MsgButtons::OK, TipTitle);
        return;
    }
    const std::string& name = edited ? ExistSoftName : SoftName;
    if (!software::isPlainRecordName(name)) {
        ui().msgBox(software::NameCharsRefusal, MsgButtons::OK, TipTitle);
        return;
    }
    const std::string category = SoftCategoryT.text();
    const std::array<std::string, 12> texts = softwareFormTexts();
    software::RecordValues values;
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = texts[i];

    // The tree shows the category view: a filed node goes under the selected
    // node (normally the category clicked to fill the category field).
    const bool categoryView = softlist.caption() != "软件按分类排列";
    const platform::Node* selected = TreeView3.selectedItem();
    const std::string parentKey = selected ? selected->key() : std::string();
    const std::string key = software::nodeKey(name);
    // Adds the record's node; false when the tree has not taken it.
    auto addNode = [&] {
        if (TreeView3.find(key)) return false;
        platform::SkipOnError onError;
        return onError.step([&] {
            if (!categoryView)
                TreeView3.add(key, name, images::SoftwareRecord);
            else
                TreeView3.addChild(parentKey, key, name, images::SoftwareRecord);
        });
    };

    if (!edited) {
        // 3. A new record whose file is not there yet is filed first: its
        // node, then its line below its category in class.ini.
        const bool newToDisk =
            software::probeRecordFile(programFolder, name) == platform::err::FileNotFound;
        std::optional<std::string> before;
        bool nodeAdded = false;
        if (newToDisk) {
            nodeAdded = addNode();
            before = softwareClassText();
            if (!before) return;
            const std::optional<std::string> filed =
                software::withRecordFiled(*before, category, name);
            if (!filed) {
                ui().msgBox(software::CategoryMissing, MsgButtons::OK, TipTitle);
                return;
            }
            if (!written(*this, [&] { software::writeClassText(programFolder, *filed); })) {
                if (nodeAdded) TreeView3.remove(key);
                return;
            }
        }
        // 6. The record's file; when it cannot be written, the filing is undone.
        if (!written(*this, [&] { software::writeRecordFile(programFolder, name, values); })) {
            if (before) {
                platform::SkipOnError onError;
                onError.step([&] { software::writeClassText(programFolder, *before); });
            }
            if (nodeAdded && TreeView3.find(key)) TreeView3.remove(key);
            return;
        }
    } else {
        // 5. An edited record: its file, then its place when the category
        // was changed. The node moves in the category view only, and only
        // under another selected node.
        if (!written(*this, [&] { software::writeRecordFile(programFolder, name, values); }))
            return;
        if (PreSoftCategoryT != category) {
            if (categoryView && !parentKey.empty() && parentKey != key) {
                if (TreeView3.find(key)) TreeView3.remove(key);
                addNode();
            }
            const std::optional<std::string> text = softwareClassText();
            if (!text) return;
            const std::optional<std::string> moved = software::withRecordFiled(
                software::withoutRecordLines(*text, name), category, name);
            if (!moved) {
                ui().msgBox(software::CategoryMissing, MsgButtons::OK, TipTitle);
                return;
            }
            if (!written(*this, [&] { software::writeClassText(programFolder, *moved); })) return;
        }
    }

    // 7. The form is empty again.
    SoftName.clear();
    ExistSoftName.clear();
    setSoftwareFormTexts({});
}
