// New software records: the name from the name dialog (menu and toolbar) or
// proposed from a file of the disc page and confirmed in write1; the name
// check; the form prepared with the default texts of a new record. Nothing is
// written until the record is saved.
//
// A name that is refused, or a dialog that is cancelled, leaves SoftName as it
// was, so that no later save writes the form under a name that was refused.
#include "catalogue/name_dialog.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"
#include "software/record_file.h"
#include "software/software_texts.h"
#include "software/write1_dialog.h"

namespace {

constexpr int SoftwareTab = 3;

}  // namespace

bool Form1::softwareNameRefused(const std::string& name) {
    // An empty name goes on: the save asks for a name.
    if (!name.empty() && !software::isPlainRecordName(name)) {
        ui().msgBox(software::NameCharsRefusal, platform::MsgButtons::OK, software::TipTitle);
        return true;
    }
    bool taken = false;
    platform::SkipOnError onError;
    if (onError.step([&] { File1.setPath(software::softwareFolderPath(app().ProgramFolder)); }) &&
        onError.step([&] { File1.setPattern("*.txt"); })) {
        const std::string folded = software::foldRecordName(name);
        for (const std::string& file : File1.items()) {
            const std::string base = platform::text::left(file, platform::text::len(file) - 4);
            if (software::foldRecordName(base) == folded) {
                taken = true;
                break;
            }
        }
    }
    onError.step([&] { File1.setPath("c:\\"); });
    onError.step([&] { File1.setPattern("*.*"); });
    if (taken)
        ui().msgBox("你要新建的软件说明已经有了!", platform::MsgButtons::OK, software::TipTitle);
    return taken;
}

namespace {

// The steps both commands end with: the default texts of a new record.
void prepareNewRecord(Form1& form) {
    std::array<std::string, 12> texts;
    texts[software::NameField] = form.SoftName;
    texts[software::KindField] = "共享软件 免费软件 商业软件";
    texts[software::HomepageField] = "http://";
    texts[software::CategoryField] = software::CategoryHint;
    form.setSoftwareFormTexts(texts);
    form.ExistSoftName.clear();
    form.ExistSoftFile.clear();
    form.StatusBar1.panel(2).setText("现在请填写新建软件的资料!");
}

// The software tree in front; the other panes hidden.
void showSoftwareTree(Form1& form) {
    form.TreeView3.zOrder(0);
    form.TreeView3.setVisible(true);
    form.Text1.setVisible(false);
    form.TreeView1.setVisible(false);
    form.TreeView2.setVisible(false);
    form.TreeView4.setVisible(false);
    form.ListView1.setVisible(false);
}

}  // namespace

void Form1::NewSoft_Click() {
    const std::string previous = SoftName;
    OkName = false;
    NewSoft1 = true;
    {
        Dialog1 dialog(*this);
        dialog.showModal();
    }
    NewSoft1 = false;
    if (!OkName) {
        SoftName = previous;
        return;
    }
    OkName = false;
    if (softwareNameRefused(SoftName)) {
        SoftName = previous;
        return;
    }
    showSoftwareTree(*this);
    formSoftSize();
    prepareNewRecord(*this);
}

void Form1::writeC_Click() {
    const platform::ListItem* row = ListView1.selectedItem();
    if (!row) return;
    const std::string previous = SoftName;
    const std::string& rowText = row->text();
    SoftName = rowText.substr(0, rowText.find('.'));
    ok = false;
    {
        write1 dialog(*this);
        dialog.showModal();
    }
    if (!ok) {
        SoftName = previous;
        return;
    }
    if (softwareNameRefused(SoftName)) {
        SoftName = previous;
        ok = false;
        return;
    }
    TabStrip1.tab(SoftwareTab).setSelected();
    showSoftwareTree(*this);
    ok = false;
    prepareNewRecord(*this);
}
