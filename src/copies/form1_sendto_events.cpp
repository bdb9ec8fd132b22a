// The wiring of the send-to commands and of the library page: the items of
// the file list's submenu 发送到, the pop-up item that adds a row to the
// library, and the library tree's clicks with its pop-up pop6.
#include "mainwindow/form1.h"

void Form1::wireSendToEvents() {
    SendToMyDocument.Click = [this] { SendToMyDocument_Click(); };
    SendToDpan.Click = [this] { SendToDpan_Click(); };
    SendToCustom.Click = [this] { SendToCustom_Click(); };
    SendToDefine.Click = [this] { SendToDefine_Click(); };
    addfilelib.Click = [this] { addfilelib_Click(); };
    TreeView4.NodeClick = [this](platform::Node& n) { TreeView4_NodeClick(n); };
    TreeView4.MouseDown = [this](int b, int s, double x, double y) {
        TreeView4_MouseDown(b, s, x, y);
    };
    deletelibfile.Click = [this] { deletelibfile_Click(); };
}
