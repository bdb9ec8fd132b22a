// The wiring of the search's events: the menu item 搜索文件或备注.
#include "mainwindow/form1.h"

void Form1::wireSearchEvents() {
    findItem.Click = [this] { find_Click(); };
    // Opening and copying the files of results; the search shortcuts of the
    // trees' pop-up menus.
    openfind.Click = [this] { openfind_Click(); };
    copytaggedresult.Click = [this] { copytaggedresult_Click(); };
    findInDisk.Click = [this] { findInDisk_Click(); };
    findintree.Click = [this] { findintree_Click(); };
}
