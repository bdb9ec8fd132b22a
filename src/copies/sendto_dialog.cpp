#include "copies/sendto_dialog.h"

#include "mainwindow/form1.h"
#include "platform/controls/design_table.h"
#include "platform/error.h"
#include "platform/system/settings_store.h"
#include "platform/ui/ui.h"

sendto::sendto(Form1& main) : Form(main.services(), "sendto"), main_(main) {
    setCaption("选择文件夹");
    setInnerSize(2400, 3375);
    setFixedBorder(true);

    platform::applyDesign({
        {Drive1, "", 0, 0, 2415, 300},
        {Dir1, "", 0, 360, 2415, 2610},
        {OKButton, "确定", 0, 3000, 1215, 375},
        {CancelButton, "取消", 1200, 3000, 1215, 375},
    });
    OKButton.setDefault(true);
    CancelButton.setCancel(true);

    Drive1.Change = [this] { Drive1_Change(); };
    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.Click = [this] { CancelButton_Click(); };
}

void sendto::Drive1_Change() {
    platform::SkipOnError onError;
    if (!onError.step([this] { Dir1.setPath(Drive1.drive()); }))
        ui().msgBox("你选择的光驱或软驱里没有盘", platform::MsgButtons::OK, "提示");
}

void sendto::OKButton_Click() {
    const std::string folder = Dir1.path();
    if (main_.fromMaker) {
        main_.SearchPath = folder;
    } else {
        main_.SendToCustom.setCaption(folder);
        main_.app().settings.save(copies::SendToSettingApp, copies::SendToSettingSection,
                                  copies::SendToSettingKey, folder);
    }
    unload();
}

void sendto::CancelButton_Click() { unload(); }
