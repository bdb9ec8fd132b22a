// Saving the software record form: a new record is written to its file and
// filed in class.ini and the tree; an edited record is written to the file it
// was read from and moved when its category was changed.
//
// A saving that files the record changes two files: the record's file first,
// then class.ini, with the pending work recorded around them
// (record_saving.h). When class.ini cannot be written, the record's file is
// taken back (a new one removed, an edited one given its old text) and the
// tree node with it; a failure keeps the form and its state.
#include "catalogue/index_line.h"
#include "catalogue/pending_work.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/files/text_file.h"
#include "platform/ui/ui.h"
#include "software/class_file.h"
#include "software/record_file.h"
#include "software/record_saving.h"
#include "software/software_texts.h"

namespace {

using platform::MsgButtons;

// A committed write of a stored file: true when it took effect (a folder
// sync the disk did not confirm does not fail it).
template <class Write>
bool committed(Write&& write) {
    try {
        write();
        return true;
    } catch (const platform::Error&) {
        return false;
    }
}

void tellSaveFailed(Form1& form) {
    form.ui().msgBox(software::SaveFailed, MsgButtons::OK, software::TipTitle);
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
    if (!software::isPlainRecordName(edited ? ExistSoftName : SoftName)) {
        ui().msgBox(software::NameCharsRefusal, MsgButtons::OK, TipTitle);
        return;
    }
    // An edited record goes back into the file it was read from. Its name
    // line may name another record's file (a record renamed in the tree, then
    // a new record of the old name): that file is replaced only when the user
    // says so.
    std::string name = edited ? ExistSoftFile : SoftName;
    if (edited && (name.empty() || !software::isPlainRecordName(name))) name = ExistSoftName;
    if (edited && software::foldRecordName(name) != software::foldRecordName(ExistSoftName) &&
        software::probeRecordFile(programFolder, ExistSoftName) == 0) {
        if (ui().msgBox("已经有一个名为“" + ExistSoftName + "”的软件说明，要替换它吗？",
                        MsgButtons::YesNo, software::QuestionTitle) != platform::MsgYes)
            return;
        name = ExistSoftName;
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

    const std::string recordPath = software::recordFilePath(programFolder, name);
    // The record's file written.
    auto writeRecord = [&] {
        return committed([&] { software::writeRecordFile(programFolder, name, values); });
    };
    // class.ini with the record filed under the category (moved: its other
    // lines taken away); nothing, after telling it, when class.ini cannot be
    // read or the category has no line.
    auto filedText = [&](bool moved) -> std::optional<std::string> {
        const std::optional<std::string> text = softwareClassText();
        if (!text) return std::nullopt;
        std::optional<std::string> filed =
            software::withRecordFiledOnce(*text, category, name, moved);
        if (!filed) ui().msgBox(software::CategoryMissing, MsgButtons::OK, TipTitle);
        return filed;
    };
    // Files the record: the pending work, the record's file, class.ini (when
    // it changes). before: the record file's old text (none for a new one).
    // False, after telling it, when the saving did not take effect.
    auto fileRecord = [&](const std::string& filed, const std::optional<std::string>& before,
                          bool moved) {
        std::optional<catalogue::PendingWorkScope> pending;
        try {
            pending.emplace(programFolder, software::recordSavingWork(name, category, moved));
        } catch (const platform::Error& e) {
            if (catalogue::isPendingWorkRefusal(e))
                ui().msgBox(e.description(), MsgButtons::OK, TipTitle);
            else
                tellSaveFailed(*this);
            return false;
        }
        if (!writeRecord()) {
            pending->done();
            tellSaveFailed(*this);
            return false;
        }
        if (!committed([&] { software::writeClassText(programFolder, filed); })) {
            // The record's file taken back; when even that fails, the next
            // start completes the filing.
            try {
                const platform::files::ConfinedRoot records =
                    software::openSoftwareFolder(programFolder);
                if (before)
                    platform::files::WholeFileRewrite(records, software::recordFileName(name),
                                                      *before);
                else
                    records.remove(software::recordFileName(name));
                pending->done();
            } catch (const platform::Error&) {
            }
            tellSaveFailed(*this);
            return false;
        }
        pending->done();
        return true;
    };

    if (!edited) {
        // 3. A new record whose file is not there yet is filed: its node,
        // then its file, then its line below its category in class.ini.
        const bool newToDisk =
            software::probeRecordFile(programFolder, name) == platform::err::FileNotFound;
        if (newToDisk) {
            const bool nodeAdded = addNode();
            const std::optional<std::string> filed = filedText(false);
            if (!filed) return;
            if (!fileRecord(*filed, std::nullopt, false)) {
                if (nodeAdded && TreeView3.find(key)) TreeView3.remove(key);
                return;
            }
        } else if (!writeRecord()) {
            // 6. A file of the name that appeared meanwhile is written over.
            return tellSaveFailed(*this);
        }
    } else if (PreSoftCategoryT == category) {
        // 5. An edited record in its own category: its file alone.
        if (!writeRecord()) return tellSaveFailed(*this);
    } else {
        // An edited record moved to another category: its file and its
        // line. The node moves in the category view only, and only under
        // another selected node.
        const std::optional<std::string> moved = filedText(true);
        if (!moved) return;
        std::optional<std::string> before;
        try {
            before = platform::files::WholeFileRead(recordPath);
        } catch (const platform::Error&) {
        }
        if (!fileRecord(*moved, before, true)) return;
        if (categoryView && !parentKey.empty() && parentKey != key) {
            if (TreeView3.find(key)) TreeView3.remove(key);
            addNode();
        }
    }

    // 7. The form is empty again.
    SoftName.clear();
    ExistSoftName.clear();
    ExistSoftFile.clear();
    setSoftwareFormTexts({});
}
