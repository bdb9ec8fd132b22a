// The wiring of the search's events: the menu item 搜索文件或备注.
#include "mainwindow/form1.h"

void Form1::wireSearchEvents() {
    findItem.Click = [this] { find_Click(); };
}
