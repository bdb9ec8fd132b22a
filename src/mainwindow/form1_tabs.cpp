// The page switch of the tab strip. The page is told by the selected tab's
// caption; which page is shown is the visibility of its tree.
#include <string>

#include "mainwindow/form1.h"

namespace {
constexpr std::string_view DiscPage = "光盘";
constexpr std::string_view CategoryPage = "分类";
constexpr std::string_view SoftwarePage = "软件";
constexpr std::string_view LibraryPage = "文库";
}  // namespace

void Form1::TabStrip1_Click() {
    auto selected = [this] {
        const platform::Tab* tab = TabStrip1.selectedItem();
        return tab ? tab->caption() : std::string();
    };
    platform::ToolbarButton& preview = Toolbar1.button("preview");
    // Off the disc page the pane is closed, whatever state "preview" is in.
    auto closePreview = [&] {
        if (previewPaneOpen()) closePreviewPane();
        preview.setValue(0);
    };

    if (selected() == DiscPage) {
        StatusBar1.panel(2).setText({});
        TreeView1.zOrder(0);
        TreeView1.setVisible(true);
        TreeView2.setVisible(false);
        TreeView3.setVisible(false);
        TreeView4.setVisible(false);
        ListView1.zOrder(0);
        formSoftVisibleF();
        Text1.setVisible(false);
        ListView1.setVisible(true);
        ListView1.setCheckboxes(true);
        ListView1.clear();
        alreadystr.clear();
        Alreadystr2.clear();
        TreeView1.setFocus();
        // Opened only when it is closed, so a pane already open stays open.
        if (!previewPaneOpen()) OpenPreview_Click();
        preview.setValue(1);
    }
    if (selected() == CategoryPage) {
        closePreview();
        StatusBar1.panel(2).setText({});
        TreeView2.zOrder(0);
        TreeView2.setVisible(true);
        TreeView1.setVisible(false);
        TreeView3.setVisible(false);
        TreeView4.setVisible(false);
        ListView1.zOrder(0);
        Text1.setVisible(false);
        formSoftVisibleF();
        ListView1.setVisible(true);
        ListView1.setCheckboxes(false);
        ListView1.clear();
        TreeView2.setFocus();
    }
    if (selected() == SoftwarePage) {
        if (ListView2.visible()) {
            closePreview();
            ListView2.clear();
            ListView2.setVisible(false);
            FormSize();
        }
        closePreview();
        if (softlist.caption() == "软件按分类排列")
            StatusBar1.panel(2).setText(
                "共有" + std::to_string(TreeView3.count()) +
                "个软件，你可以按数字或者首字母选中你的软件，而无须拖动滚动条。");
        formSoftSize();
        TreeView3.zOrder(0);
        TreeView3.setVisible(true);
        Text1.setVisible(false);
        TreeView1.setVisible(false);
        TreeView2.setVisible(false);
        TreeView4.setVisible(false);
        ListView1.setVisible(false);
        Label3.setVisible(false);
        TreeView3.setFocus();
    }
    if (selected() == LibraryPage) {
        closePreview();
        TreeView4.setVisible(true);
        TreeView4.zOrder(0);
        TreeView1.setVisible(false);
        TreeView2.setVisible(false);
        TreeView3.setVisible(false);
        ListView1.setVisible(false);
        Text1.setVisible(true);
        Text1.zOrder(0);
        Text1.setText({});
        TreeView4.setFocus();
        formSoftVisibleF();
    }
}
