#include "copies/copy_dialog.h"

#include "copies/send_to.h"
#include "mainwindow/form1.h"
#include "mainwindow/module1.h"
#include "platform/controls/design_table.h"
#include "platform/error.h"
#include "platform/files/drive_table.h"
#include "platform/files/paths.h"

namespace {

constexpr std::string_view CopyMode = "copytag";

// A folder typed as a native path ("/home/me/copies") in its Windows form
// when a drive holds it; any other text as typed.
std::string windowsFormOf(const std::string& typed) {
    if (typed.empty() || typed.front() != '/') return typed;
    try {
        return platform::files::toWindows(typed);
    } catch (const platform::Error&) {
        return typed;
    }
}

}  // namespace

copy::copy(Form1& main) : Form(main.services(), "copy"), main_(main) {
    setCaption("copy");
    setInnerSize(6015, 1215);
    setFixedBorder(true);

    platform::applyDesign({
        {Label1, "", 120, 120, 4455, 255},
        {Text1, "", 120, 480, 4455, 315},
        {OKButton, "确定", 4680, 120, 1215, 375},
        {CancelButton, "取消", 4680, 600, 1215, 375},
    });
    OKButton.setDefault(true);
    CancelButton.setCancel(true);

    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.Click = [this] { CancelButton_Click(); };
}

void copy::Form_Load() {
    if (main_.DialogFromWhere != CopyMode) return;
    setCaption("把打勾的文件拷贝到硬盘里！");
    Label1.setCaption("请输入要建立的文件夹的名字：");
    basePath_ = main_.module1().GetRegValue(SettingsKey, copies::MirrorBaseValue);
    if (basePath_ == "error" || basePath_ == "Error" || basePath_.empty() ||
        !copies::driveMapped(basePath_)) {
        basePath_ = std::string(copies::driveDIsFolderDrive(platform::files::DriveTable::current())
                                    ? copies::DefaultMirrorBaseD
                                    : copies::DefaultMirrorBaseC);
    }
    Text1.setText(basePath_ + main_.OpenedDisk);
}

void copy::OKButton_Click() {
    if (main_.DialogFromWhere == CopyMode) {
        const std::string target = windowsFormOf(Text1.text());
        const std::size_t slash = target.rfind('\\');
        const std::string parent =
            slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
        if (parent != basePath_) {
            main_.module1().CreateRegKey(SettingsKey);
            main_.module1().SetRegValue(SettingsKey, copies::MirrorBaseValue, parent);
        }
        main_.MyValue = target;
    }
    unload();
}

void copy::CancelButton_Click() { unload(); }
