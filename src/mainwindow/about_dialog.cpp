#include "mainwindow/about_dialog.h"

#include <string>

#include "mainwindow/form1.h"
#include "mainwindow/web_links.h"
#include "platform/controls/design_table.h"
#include "platform/system/shell.h"

about1::about1(Form1& main) : Form(main.services(), "about1"), main_(main) {
    setCaption("关于");
    setInnerSize(5400, 2760);
    setFixedBorder(true);
    setStartPosition(platform::StartPosition::CenterScreen);

    platform::applyDesign({
        {Label1, std::string(Version), 240, 240, 4920, 375},
        {Label2, "作者的网站：", 240, 840, 1440, 300},
        {Label7, "", 1800, 840, 3360, 300},
        {Label3, "网址大全：", 240, 1260, 1440, 300},
        {Label9, "", 1800, 1260, 3360, 300},
        {Label4, "电子书库：", 240, 1680, 1440, 300},
        {Label10, "", 1800, 1680, 3360, 300},
        {CancelButton, "取消", 4080, 2220, 1080, 375},
    });
    CancelButton.setCancel(true);

    CancelButton.Click = [this] { CancelButton_Click(); };
    Label7.Click = [this] { Label7_Click(); };
    Label9.Click = [this] { Label9_Click(); };
    Label10.Click = [this] { Label10_Click(); };
    Label7.MouseMove = [this](int, int, double, double) { Label7_MouseMove(); };
    Label9.MouseMove = [this](int, int, double, double) { Label9_MouseMove(); };
    Label10.MouseMove = [this](int, int, double, double) { Label10_MouseMove(); };
}

void about1::Form_Load() {
    for (auto [label, address] :
         {std::pair{&Label7, weblinks::AboutSite}, std::pair{&Label9, weblinks::AboutDirectory},
          std::pair{&Label10, weblinks::AboutLibrary}}) {
        label->setAutoSize(true);
        label->setForeColor(LinkColor);
        label->setFontUnderline(true);
        label->setCaption(std::string(address));
    }
}

void about1::RunShellExecute(std::string_view, std::string_view file, std::string_view,
                             std::string_view directory, int) {
    // The shell's answer is not looked at.
    main_.app().shell.open(file, directory);
}

void about1::Label7_Click() { RunShellExecute("open", Label7.caption(), "", "", 1); }
void about1::Label9_Click() { RunShellExecute("open", Label9.caption(), "", "", 1); }
void about1::Label10_Click() { RunShellExecute("open", Label10.caption(), "", "", 1); }

void about1::Label7_MouseMove() { Label7.setForeColor(HoverColor); }
void about1::Label9_MouseMove() { Label9.setForeColor(HoverColor); }
void about1::Label10_MouseMove() { Label10.setForeColor(HoverColor); }

void about1::CancelButton_Click() { unload(); }
