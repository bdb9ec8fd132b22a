// The search shortcuts of the trees' pop-up menus: a search in the disc
// selected in the disc list, a search in the category or disc selected in the
// category tree, and a search for the name selected in the software tree.
// Each leaves its mode or keyword in a main-window member, which the search
// options dialog turns into a proposed location or keyword, and runs the
// search command.
#include <string>
#include <string_view>

#include "catalogue/scan_command.h"
#include "mainwindow/form1.h"
#include "mainwindow/images.h"
#include "platform/ui/ui.h"
#include "search/find_dialog.h"

namespace {
constexpr std::string_view NotADisc = "请选中你要查找的那个光盘，而不要选中文件夹！";
constexpr std::string_view NotADiscOrCategory = "请选中光盘图标或者分类图标！";
// The tab of the disc page.
constexpr int DiscTab = 2;
}  // namespace

void Form1::findInDisk_Click() {
    const platform::Node* node = TreeView1.selectedItem();
    if (!node || node->image() != images::Disc) {
        ui().msgBox(NotADisc, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    DialogFromWhere = search::FindInDiskMode;
    find_Click();
    DialogFromWhere.clear();
}

void Form1::findintree_Click() {
    const platform::Node* node = TreeView2.selectedItem();
    if (!node || node->image() == images::Folder) {
        ui().msgBox(NotADiscOrCategory, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    DialogFromWhere = search::FindInTreeMode;
    find_Click();
    DialogFromWhere.clear();
}

void Form1::findSoft_Click() {
    const platform::Node* node = TreeView3.selectedItem();
    if (!node) return;
    // The search refuses to run on the software page: the disc page first.
    const std::string name = node->text();
    TabStrip1.tab(DiscTab).setSelected();
    SoftFind = name;
    find_Click();
}
