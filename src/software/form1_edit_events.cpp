// The wiring of the software tree's editing commands: the items of its
// pop-up menu that add, rename and delete categories and records, the
// filing of imported records (pop-up and main menu), the tree's label-edit
// events, and the disc page's 查找软件说明.
#include "mainwindow/form1.h"

void Form1::wireSoftwareEditEvents() {
    insertSoftBrother.Click = [this] { insertSoftBrother_Click(); };
    insertSoftChild.Click = [this] { insertSoftChild_Click(); };
    deleteSoftN.Click = [this] { deleteSoftN_Click(); };
    ClassSoft.Click = [this] { ClassSoft_Click(); };
    ClassSoft1.Click = [this] { ClassSoft1_Click(); };
    findSoftDescri.Click = [this] { findSoftDescri_Click(); };
    // Only 修改目录或软件名 starts editing a label (manual label editing),
    // never a click on a selected node.
    ChangeSoftName.Click = [this] { ChangeSoftName_Click(); };
    TreeView3.setLabelEdit(1);
    TreeView3.BeforeLabelEdit = [this](int& cancel) { TreeView3_BeforeLabelEdit(cancel); };
    TreeView3.AfterLabelEdit = [this](int& cancel, const std::string& newString) {
        TreeView3_AfterLabelEdit(cancel, newString);
    };
}
