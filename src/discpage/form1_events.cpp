// The wiring of the disc page's events: the two trees' node clicks, the file
// list's clicks, check boxes, mouse buttons and column headers, the view
// items of the menu 选项 and the tick commands of the pop-up menus.
#include "mainwindow/form1.h"

void Form1::wireDiscPageEvents() {
    TreeView1.NodeClick = [this](platform::Node& n) { TreeView1_NodeClick(n); };
    TreeView2.NodeClick = [this](platform::Node& n) { TreeView2_NodeClick(n); };
    ListView1.ItemClick = [this](platform::ListItem& i) { ListView1_ItemClick(i); };
    ListView1.ItemCheck = [this](platform::ListItem& i) { ListView1_ItemCheck(i); };
    ListView1.ColumnClick = [this](platform::ColumnHeader& c) { ListView1_ColumnClick(c); };
    ListView1.MouseDown = [this](int b, int s, double x, double y) {
        ListView1_MouseDown(b, s, x, y);
    };
    ListView1.MouseUp = [this](int b, int s, double x, double y) { ListView1_MouseUp(b, s, x, y); };
    AlterListviewStyle1.Click = [this] { AlterListviewStyle1_Click(); };
    AlterListviewStyle2.Click = [this] { AlterListviewStyle2_Click(); };
    AlterListviewStyle3.Click = [this] { AlterListviewStyle3_Click(); };
    deleteGou.Click = [this] { deleteGou_Click(); };
    DeleteFromMulu.Click = [this] { DeleteFromMulu_Click(); };
    // The tick-all commands.
    selectAll.Click = [this] { selectAll_Click(); };
    selectAllIndex.Click = [this] { selectAllIndex_Click(); };
    selectAllReadme.Click = [this] { selectAllReadme_Click(); };
    // Opening files and the property commands.
    OpenOpticDisk.Click = [this] { OpenOpticDisk_Click(); };
    property.Click = [this] { property_Click(); };
    property1.Click = [this] { property1_Click(); };
    property2.Click = [this] { property2_Click(); };
    property3.Click = [this] { property3_Click(); };
    // Remarks and usage notes.
    addnotes.Click = [this] { addnotes_Click(); };
    addexample.Click = [this] { addexample_Click(); };
}
