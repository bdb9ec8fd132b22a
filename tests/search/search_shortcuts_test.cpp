// The search shortcuts: 在这个光盘里查找文件 of the disc list's pop-up menu,
// 在这里查找 of the category tree's, and the search for a software name. The
// search options dialog proposes the selected disc or category as the
// location (the disc itself, not an earlier disc CD10 whose name holds CD1),
// or the software name as the keyword; folders and an empty selection are
// refused.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/form1.h"
#include "mainwindow/images.h"
#include "search/find_dialog.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;
using Strings = std::vector<std::string>;

enum Tab { CategoryTab = 1, DiscTab = 2, SoftwareTab = 3 };

constexpr const char* NotADisc = "请选中你要查找的那个光盘，而不要选中文件夹！";
constexpr const char* NotADiscOrCategory = "请选中光盘图标或者分类图标！";
constexpr const char* NotOnDiscPage = "只有在光盘页下，才可打开预览窗口！";

platform::Node& node(const platform::TreeView& tree, std::string_view fullPath) {
    for (const auto& n : tree.nodes())
        if (n->fullPath() == fullPath) return *n;
    ADD_FAILURE() << "no node " << fullPath;
    throw std::runtime_error("no node");
}

class SearchShortcuts : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write("C:\\zelbrin\\ini.ini",
                "|音乐\r\n#CD10#1#十&&2024-1-1#\r\n#CD1#2#一&&2024-1-1#\r\n|软件\r\n");
        h.write("C:\\zelbrin\\guangpan\\CD10.wcd", "E:\\|docs\r\nE:\\song.mp3[1]\r\n");
        h.write("C:\\zelbrin\\guangpan\\CD1.wcd",
                "E:\\|docs\r\nE:\\song.mp3[2]\r\nE:\\docs\\song.txt[3]\r\n");
        h.write("C:\\zelbrin\\software\\Song Tools.txt", "");
        h.start();
    }

    // What the dialog showed when it opened, and the mode the main window
    // held meanwhile.
    struct Shown {
        std::string location;
        std::string keyword;
        std::string mode;
    };
    // The next search dialog: what it shows is kept in shown; then keyword
    // is typed (unless empty) and OK, or Cancel, chosen.
    void dialog(Shown& shown, std::string keyword, bool ok = true) {
        h.ui.onModal<find1>([this, &shown, keyword, ok](find1& d) {
            shown = {d.Text1.text(), d.Combo1.text(), h.form.DialogFromWhere};
            if (!keyword.empty()) d.Combo1.userType(keyword);
            (ok ? d.OKButton : d.CancelButton).userClick();
        });
    }
    // Right-click on the tree and choose the item of its pop-up menu.
    void choose(platform::TreeView& tree, std::string item) {
        h.ui.choosePopup(std::move(item));
        tree.userMouseDown(platform::RightButton, 0, 100, 100);
    }
    // The result rows as "disc|path".
    Strings results() const {
        Strings out;
        for (const auto& r : h.form.ListView2.items())
            out.push_back(r->text() + "|" + r->subItem(2));
        return out;
    }
    int modalsShown() const {
        int n = 0;
        for (const auto& s : h.ui.log()) n += s.kind == testsupport::ShownKind::Modal;
        return n;
    }

    Harness h;
};

TEST_F(SearchShortcuts, ASearchInTheDiscSelectedInTheDiscList) {
    h.form.TabStrip1.userSelect(DiscTab);
    for (const std::string disc : {"CD1", "CD10"}) {
        SCOPED_TRACE(disc);
        h.form.TreeView1.userClickNode(node(h.form.TreeView1, disc));
        Shown shown;
        dialog(shown, "song");
        choose(h.form.TreeView1, "findInDisk");
        EXPECT_EQ(shown.location, "所有\\音乐\\" + disc);
        EXPECT_EQ(shown.mode, "findindisk");
        EXPECT_EQ(h.form.DialogFromWhere, "");
        EXPECT_EQ(h.form.find_Location, "所有\\音乐\\" + disc);
    }
    EXPECT_EQ(results(), (Strings{"CD10|E:\\song.mp3[1]"}));

    // Cancelled: the mode is cleared all the same.
    h.form.TreeView1.userClickNode(node(h.form.TreeView1, "CD1"));
    Shown shown;
    dialog(shown, "", false);
    choose(h.form.TreeView1, "findInDisk");
    EXPECT_EQ(shown.mode, "findindisk");
    EXPECT_EQ(h.form.DialogFromWhere, "");
    EXPECT_EQ(results(), (Strings{"CD10|E:\\song.mp3[1]"}));
}

TEST_F(SearchShortcuts, ASearchInTheCategoryOrDiscSelectedInTheCategoryTree) {
    struct Case {
        std::string node;
        std::string location;
        Strings rows;
    };
    const std::vector<Case> cases = {
        {"音乐",
         "所有\\音乐",
         {"CD10|E:\\song.mp3[1]", "CD1|E:\\song.mp3[2]", "CD1|E:\\docs\\song.txt[3]"}},
        {"音乐\\CD1", "所有\\音乐\\CD1", {"CD1|E:\\song.mp3[2]", "CD1|E:\\docs\\song.txt[3]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.node);
        h.form.TreeView2.userClickNode(node(h.form.TreeView2, c.node));
        Shown shown;
        dialog(shown, "song");
        // Off the disc page the search ends by saying the preview cannot open.
        h.ui.answerMsgBox(platform::MsgOK, NotOnDiscPage);
        choose(h.form.TreeView2, "findintree");
        EXPECT_EQ(shown.location, c.location);
        EXPECT_EQ(shown.mode, "findintree");
        EXPECT_EQ(h.form.DialogFromWhere, "");
        EXPECT_EQ(results(), c.rows);
    }
}

TEST_F(SearchShortcuts, FoldersAndNoSelectionAreRefusedWithoutADialog) {
    // A folder of a disc opened in the tree, then nothing selected.
    struct Case {
        Tab tab;
        platform::TreeView& tree;
        const char* disc;
        const char* item;
        const char* refusal;
    };
    for (const Case& c :
         {Case{DiscTab, h.form.TreeView1, "CD1", "findInDisk", NotADisc},
          Case{CategoryTab, h.form.TreeView2, "音乐\\CD1", "findintree", NotADiscOrCategory}}) {
        SCOPED_TRACE(c.item);
        h.form.TabStrip1.userSelect(c.tab);
        c.tree.userClickNode(node(c.tree, c.disc));
        platform::Node& folder = node(c.tree, std::string(c.disc) + "\\E:");
        ASSERT_EQ(folder.image(), images::Folder);
        c.tree.userClickNode(folder);
        h.ui.answerMsgBox(platform::MsgOK, c.refusal);
        choose(c.tree, c.item);
        c.tree.setSelectedItem(nullptr);
        h.ui.answerMsgBox(platform::MsgOK, c.refusal);
        choose(c.tree, c.item);
    }

    EXPECT_EQ(modalsShown(), 0);
    EXPECT_EQ(h.form.DialogFromWhere, "");
    for (const auto& s : h.ui.log()) {
        if (s.kind == testsupport::ShownKind::MsgBox) {
            EXPECT_EQ(s.title, "提示");
        }
    }
}

TEST_F(SearchShortcuts, ASoftwareNameIsSearchedForOnTheDiscPage) {
    h.form.TabStrip1.userSelect(SoftwareTab);
    // Nothing selected: nothing happens, the page stays.
    h.form.findSoft_Click();
    EXPECT_TRUE(h.form.TreeView3.visible());
    EXPECT_EQ(modalsShown(), 0);

    h.form.TreeView3.userClickNode(node(h.form.TreeView3, "Song Tools"));
    Shown shown;
    h.ui.onModal<find1>([&](find1& d) {
        shown = {d.Text1.text(), d.Combo1.text(), h.form.DialogFromWhere};
        // The search refuses the software page: the disc page is shown by now.
        EXPECT_TRUE(h.form.TreeView1.visible());
        EXPECT_FALSE(h.form.TreeView3.visible());
        d.Combo1.userType("song");
        d.OKButton.userClick();
    });
    h.form.findSoft_Click();
    EXPECT_EQ(shown.keyword, "Song Tools");
    EXPECT_EQ(shown.location, "所有");
    EXPECT_EQ(shown.mode, "");
    EXPECT_EQ(h.form.TabStrip1.selectedItem()->index(), DiscTab);
    EXPECT_TRUE(h.form.TreeView1.visible());
    EXPECT_EQ(results().size(), 3u);

    // The name stays the proposed keyword of every later search.
    Shown later;
    dialog(later, "", false);
    h.form.findItem.userClick();
    EXPECT_EQ(later.keyword, "Song Tools");
    EXPECT_EQ(h.form.SoftFind, "Song Tools");
}

}  // namespace
