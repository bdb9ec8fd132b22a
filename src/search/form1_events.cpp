// The wiring of the search's events: the menu item 搜索文件或备注, the result
// list's clicks, check boxes and mouse buttons, the items of its pop-up menu
// and of the menu 搜索, and the search shortcuts of the trees' pop-up menus.
#include "mainwindow/form1.h"

void Form1::wireSearchEvents() {
    findItem.Click = [this] { find_Click(); };
    // The result list and its tick-all command.
    ListView2.ItemClick = [this](platform::ListItem& i) { ListView2_ItemClick(i); };
    ListView2.ItemCheck = [this](platform::ListItem& i) { ListView2_ItemCheck(i); };
    ListView2.MouseDown = [this](int b, int s, double x, double y) {
        ListView2_MouseDown(b, s, x, y);
    };
    tagfind.Click = [this] { tagfind_Click(); };
    tagfind1.Click = [this] { tagfind1_Click(); };
    addnotes111.Click = [this] { addnotes111_Click(); };
    // Opening and copying the files of results; the search shortcuts of the
    // trees' pop-up menus.
    openfind.Click = [this] { openfind_Click(); };
    copytaggedresult.Click = [this] { copytaggedresult_Click(); };
    findInDisk.Click = [this] { findInDisk_Click(); };
    findintree.Click = [this] { findintree_Click(); };
    findSoft.Click = [this] { findSoft_Click(); };
}
