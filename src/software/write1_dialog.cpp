#include "software/write1_dialog.h"

#include "mainwindow/form1.h"
#include "platform/controls/design_table.h"

write1::write1(Form1& main) : Form(main.services(), "write1"), main_(main) {
    setCaption("名字");
    setInnerSize(4815, 1665);
    setFixedBorder(true);

    platform::applyDesign({
        {Label1, "将要保存的文件名:", 120, 120, 4575, 255},
        {Text1, "", 120, 435, 4575, 315},
        {OKButton, "确定", 2160, 1080, 1215, 375},
        {CancelButton, "取消", 3480, 1080, 1215, 375},
    });
    OKButton.setDefault(true);
    CancelButton.setCancel(true);

    OKButton.Click = [this] { OKButton_Click(); };
    CancelButton.Click = [this] { CancelButton_Click(); };
}

void write1::Form_Load() { Text1.setText(main_.SoftName); }

void write1::OKButton_Click() {
    main_.ok = true;
    main_.SoftName = Text1.text();
    unload();
}

void write1::CancelButton_Click() {
    main_.ok = false;
    unload();
}
