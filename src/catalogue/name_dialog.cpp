#include "catalogue/name_dialog.h"

#include "mainwindow/form1.h"
#include "platform/controls/design_table.h"

namespace {

constexpr std::string_view CategoryPrompt = "请输入目录名称:";
constexpr std::string_view SoftwarePrompt = "输入软件的名字:";

}  // namespace

Dialog1::Dialog1(Form1& main) : Form(main.services(), "Dialog1"), main_(main) {
    setCaption("信息");
    setInnerSize(4815, 2025);
    setFixedBorder(true);

    platform::applyDesign({
        {Label1, CategoryPrompt, 120, 120, 4575, 255},
        {Text1, "", 120, 435, 4575, 315},
        {Label2, "", 120, 870, 4575, 495},
        {OKButton, "确定", 2160, 1530, 1215, 375},
        {CancelButton, "取消", 3480, 1530, 1215, 375},
    });
    OKButton.setDefault(true);
    CancelButton.setCancel(true);

    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.Click = [this] { CancelButton_Click(); };
}

std::string Dialog1::modeLine(std::string_view modeWord, std::string_view category) {
    const auto around = [category](std::string_view before, std::string_view after) {
        std::string line(before);
        line += category;
        line += after;
        return line;
    };
    if (modeWord == "insert") return "你将建立一个顶级目录！";
    if (modeWord == "insertsub") return around("    你将建立一个子目录，在 {", "} 目录的下面！");
    if (modeWord == "insertsoftbrother")
        return around("    你将建立一个目录，与 {", "} 目录同级！");
    if (modeWord == "insertsoftchild")
        return around("    你将建立一个目录，是 {", "} 目录的子目录！");
    return {};
}

void Dialog1::Form_Load() {
    if (main_.NewSoft1) {
        Label1.setCaption(std::string(SoftwarePrompt));
        return;
    }
    Label2.setCaption(modeLine(main_.Txtcontent_Name, main_.Txt1));
}

void Dialog1::OKButton_Click() {
    if (main_.NewSoft1)
        main_.SoftName = Text1.text();
    else
        main_.Txtcontent_Name = Text1.text();
    main_.OkName = true;
    unload();
}

void Dialog1::CancelButton_Click() {
    main_.OkName = false;
    unload();
}
