// The software page's events: the tree, the record form's menu and toolbar
// commands and the disc page's "填写软件说明".
#include "mainwindow/form1.h"

void Form1::wireSoftwareEvents() {
    softlist.Click = [this] { softlist_Click(); };
    softlist1.Click = [this] { softlist1_Click(); };
    refreshSoft.Click = [this] { refreshSoft_Click(); };
    NewSoft.Click = [this] { NewSoft_Click(); };
    SaveSoft.Click = [this] { SaveSoft_Click(); };
    writeC.Click = [this] { writeC_Click(); };
    TreeView3.KeyPress = [this](int& keyAscii) { TreeView3_KeyPress(keyAscii); };
    TreeView3.MouseDown = [this](int button, int shift, double x, double y) {
        TreeView3_MouseDown(button, shift, x, y);
    };
    TreeView3.NodeClick = [this](platform::Node& node) { TreeView3_NodeClick(node); };
}
