// The wiring of the catalogue's events: the disc list, the category tree,
// their pop-up menus, the hidden drive and folder lists, the scan, and the
// import and export of index files.
#include "mainwindow/form1.h"

void Form1::wireCatalogueEvents() {
    refresh1.Click = [this] { refresh1_Click(); };
    refresh2.Click = [this] { refresh2_Click(); };
    expandtree.Click = [this] { expandtree_Click(); };
    expandtree1.Click = [this] { expandtree1_Click(); };
    TreeView1.Collapse = [this](platform::Node& n) { TreeView1_Collapse(n); };
    TreeView2.Collapse = [this](platform::Node& n) { TreeView2_Collapse(n); };
    TreeView1.MouseDown = [this](int b, int s, double x, double y) {
        TreeView1_MouseDown(b, s, x, y);
    };
    TreeView2.MouseDown = [this](int b, int s, double x, double y) {
        TreeView2_MouseDown(b, s, x, y);
    };
    TreeView1.KeyPress = [this](int& k) { TreeView1_KeyPress(k); };
    Drive1.Change = [this] { Drive1_Change(); };
    Dir1.Change = [this] { Dir1_Change(); };
    maker.Click = [this] { maker_Click(); };
    // Import and export of index files.
    this->import.Click = [this] { import_Click(); };
    Export.Click = [this] { Export_Click(); };
    // Changing a disc.
    ChangeOrder.Click = [this] { ChangeOrder_Click(); };
    ChangeOrder1.Click = [this] { ChangeOrder1_Click(); };
    // deleting discs and categories
    DeleteThisCD.Click = [this] { DeleteThisCD_Click(); };
    Delete.Click = [this] { Delete_Click(); };
    // Category editing. Only 修改目录名 starts editing a label of the
    // category tree (manual label editing), never a click on a node.
    insert.Click = [this] { insert_Click(); };
    insertsub.Click = [this] { insertsub_Click(); };
    ChangeMulu.Click = [this] { ChangeMulu_Click(); };
    TreeView2.setLabelEdit(1);
    TreeView2.BeforeLabelEdit = [this](int& cancel) { TreeView2_BeforeLabelEdit(cancel); };
    TreeView2.AfterLabelEdit = [this](int& cancel, const std::string& newString) {
        TreeView2_AfterLabelEdit(cancel, newString);
    };
}
