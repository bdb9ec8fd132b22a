// Finding the description of a file on the disc page: the first record (in
// the software folder's list order) whose name occurs in the selected row's
// name, letter case ignored, is shown in the record form on the page 软件.
#include <string>
#include <string_view>

#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"
#include "software/record_file.h"
#include "software/software_texts.h"

namespace {

// The tab of the software page.
constexpr int SoftwareTab = 3;

}  // namespace

void Form1::findSoftDescri_Click() {
    if (!TreeView1.visible()) return;
    const platform::ListItem* row = ListView1.selectedItem();
    if (!row) return;
    const std::string subject = software::foldRecordName(row->text());

    std::optional<std::string> found;
    platform::SkipOnError onError;
    if (onError.step([&] { File1.setPath(software::softwareFolderPath(app().ProgramFolder)); }) &&
        onError.step([&] { File1.setPattern("*.txt"); })) {
        for (const std::string& file : File1.items()) {
            const std::string name = platform::text::left(file, platform::text::len(file) - 4);
            if (subject.find(software::foldRecordName(name)) != std::string::npos) {
                found = name;
                break;
            }
        }
    }
    const auto resetFile1 = [&] {
        onError.step([&] { File1.setPath("c:\\"); });
        onError.step([&] { File1.setPattern("*.*"); });
    };
    if (!found) {
        resetFile1();
        ui().msgBox("没有找到这个软件的说明！", platform::MsgButtons::OK, software::TipTitle);
        return;
    }
    ListView1.setVisible(false);
    formSoftSize();
    loadSoftwareRecord(*found);
    resetFile1();
    TabStrip1.tab(SoftwareTab).setSelected();
}
