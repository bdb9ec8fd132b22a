// Finding the description of a file on the disc page: the first record (in
// the software folder's list order) whose name occurs in the selected row's
// name is shown in the record form on the page 软件; a name held with its
// letter case comes before one held with letter case ignored, and records
// whose names differ in letter case alone are not guessed between.
#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"
#include "software/record_file.h"
#include "software/software_texts.h"

namespace {

// The tab of the software page.
constexpr int SoftwareTab = 3;

constexpr std::string_view NotFoundMessage = "没有找到这个软件的说明！";
constexpr std::string_view CaseTwinsMessage =
    "有几个软件说明的名字只是大小写不同，请在软件树中选择！";

}  // namespace

void Form1::findSoftDescri_Click() {
    if (!TreeView1.visible()) return;
    const platform::ListItem* row = ListView1.selectedItem();
    if (!row) return;

    std::vector<std::string> names;
    platform::SkipOnError onError;
    if (onError.step([&] { File1.setPath(software::softwareFolderPath(app().ProgramFolder)); }) &&
        onError.step([&] { File1.setPattern("*.txt"); })) {
        for (const std::string& file : File1.items())
            names.push_back(platform::text::left(file, platform::text::len(file) - 4));
    }
    const software::HeldRecordName held = software::findHeldRecordName(row->text(), names);
    const auto resetFile1 = [&] {
        onError.step([&] { File1.setPath("c:\\"); });
        onError.step([&] { File1.setPattern("*.*"); });
    };
    if (!held.index) {
        resetFile1();
        ui().msgBox(held.caseTwins ? CaseTwinsMessage : NotFoundMessage, platform::MsgButtons::OK,
                    software::TipTitle);
        return;
    }
    ListView1.setVisible(false);
    formSoftSize();
    loadSoftwareRecord(names[*held.index]);
    resetFile1();
    TabStrip1.tab(SoftwareTab).setSelected();
}
