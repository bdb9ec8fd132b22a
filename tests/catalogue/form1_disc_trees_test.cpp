// The disc list and the category tree: both builds from the stored files,
// mirror colouring, the reloads, expanding and folding, the pop-up menus and
// the number-plus-Enter jump. The window is not started: each test builds
// what it needs on the fresh main window, as start-up would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/disc_trees.h"
#include "support/harness.h"
#include "support/tree_text.h"

namespace {

using testsupport::Harness;

constexpr const char* Catalogue = "C:\\zelbrin\\ini.ini";
constexpr const char* MirrorList = "C:\\zelbrin\\red.ini";

constexpr auto describe = testsupport::describeTree;

void addIndexFiles(Harness& h, const std::vector<std::string>& names) {
    h.makeFolder("C:\\zelbrin\\guangpan");
    for (const std::string& name : names) h.write("C:\\zelbrin\\guangpan\\" + name, "E:\\\r\n");
}

void typeKeys(platform::TreeView& tree, std::string_view keys) {
    for (char c : keys) tree.userKeyPress(c == '\n' ? 13 : c);
}

// ---- the category tree ----

TEST(CategoryTree, BuildsCategoriesSubCategoriesAndDiscsInFileOrder) {
    Harness h;
    h.write(Catalogue,
            "|音乐\r\n#[002]流行#2#演唱会&&2004-5-1#\r\n@外国\r\n#mp3_hard#3#硬盘&&2004-6-9#\r\n"
            "\r\nnot a category\r\n|软件\r\n#tools#1#&&#\r\n|\r\n");
    h.form.Treeview2Load();
    EXPECT_EQ(describe(h.form.TreeView2),
              (std::vector<std::string>{
                  "音乐 [音乐*] 3 +",
                  "音乐>[002]流行 [[002]流行*] 73",
                  "音乐>外国 [外国*] 3",
                  "外国>mp3_hard [mp3_hard*] 73",
                  // after a sub-category, a new category line takes the discs
                  "软件 [软件*] 3 +",
                  "软件>tools [tools*] 73",
                  " [*] 3 +",
              }));
}

TEST(CategoryTree, LinesThatCannotBeAddedAreSkipped) {
    Harness h;
    h.write(Catalogue,
            "#early#1#&&#\r\n"   // no category yet
            "@lost\r\n"          // no top-level category yet
            "#orphan#2#&&#\r\n"  // under the sub-category that was never added
            "|A\r\n#x#3#&&#\r\n"
            "|B\r\n#x#4#&&#\r\n"  // the same disc again
            "|x\r\n"              // a category named like a disc
            "|C\r\n#y#5#&&#\r\n");
    h.form.Treeview2Load();
    EXPECT_EQ(describe(h.form.TreeView2), (std::vector<std::string>{
                                              "A [A*] 3 +",
                                              "A>x [x*] 73",
                                              "B [B*] 3 +",
                                              "C [C*] 3 +",
                                              "C>y [y*] 73",
                                          }));
    EXPECT_TRUE(h.ui.log().empty());
}

TEST(CategoryTree, MissingCatalogueGivesAnEmptyTree) {
    Harness h;
    h.form.Treeview2Load();
    EXPECT_EQ(h.form.TreeView2.count(), 0);
    EXPECT_FALSE(h.exists(Catalogue));
}

// ---- the disc list ----

TEST(DiscList, OneTopLevelNodePerIndexFileInListOrder) {
    Harness h;
    addIndexFiles(h, {"beta.wcd", "Alpha.wcd", "[001]档案.wcd", "readme.txt", "gamma.WCD"});
    h.form.file1load();
    EXPECT_EQ(describe(h.form.TreeView1), (std::vector<std::string>{
                                              "[001]档案 [[001]档案*] 73",
                                              "Alpha [Alpha*] 73",
                                              "beta [beta*] 73",
                                              "gamma [gamma*] 73",
                                          }));
    EXPECT_EQ(h.form.File1.path(), "C:\\");
    EXPECT_EQ(h.form.File1.pattern(), "*.*");
}

TEST(DiscList, DiscsOnTheMirrorListTakeTheMirrorColourByExactName) {
    Harness h;
    addIndexFiles(h, {"Alpha.wcd", "beta.wcd", "gamma.wcd", "档案.wcd"});
    h.write(MirrorList, "Alpha\r\nBETA\r\n\r\nnone\r\ngamma \r\n档案\r\n");
    h.form.CopyFileColor = platform::qbColor(9);
    h.form.file1load();
    EXPECT_EQ(h.form.TreeView1.item("Alpha*").foreColor(), platform::qbColor(9));
    EXPECT_EQ(h.form.TreeView1.item("beta*").foreColor(), platform::DefaultColor);
    EXPECT_EQ(h.form.TreeView1.item("gamma*").foreColor(), platform::DefaultColor);
    EXPECT_EQ(h.form.TreeView1.item("档案*").foreColor(), platform::qbColor(9));
}

TEST(DiscList, MissingMirrorListIsCreatedEmpty) {
    Harness h;
    addIndexFiles(h, {"Alpha.wcd"});
    h.form.file1load();
    EXPECT_EQ(h.readBytes(MirrorList), "");
    EXPECT_EQ(h.form.TreeView1.item("Alpha*").foreColor(), platform::DefaultColor);
    EXPECT_TRUE(h.ui.log().empty());
}

// ---- reloads ----

TEST(Reload, DiscListReloadRebuildsOnlyTheDiscList) {
    Harness h;
    addIndexFiles(h, {"a.wcd"});
    h.write(Catalogue, "|A\r\n");
    h.form.file1load();
    h.form.Treeview2Load();
    h.form.ListView1.add("row*", "row");
    h.form.StatusBar1.panel(2).setText("status");
    h.form.firstClick = h.form.firstClick2 = true;
    addIndexFiles(h, {"b.wcd"});
    h.write(MirrorList, "b\r\n");

    h.ui.choosePopup("refresh1");
    h.form.TreeView1.userMouseDown(platform::RightButton, 0, 10, 20);

    EXPECT_EQ(describe(h.form.TreeView1), (std::vector<std::string>{"a [a*] 73", "b [b*] 73"}));
    EXPECT_EQ(h.form.TreeView1.item("b*").foreColor(), h.form.CopyFileColor);
    EXPECT_FALSE(h.form.firstClick);
    EXPECT_TRUE(h.form.firstClick2);
    EXPECT_EQ(h.form.TreeView2.count(), 1);
    EXPECT_EQ(h.form.ListView1.count(), 1);
    EXPECT_EQ(h.form.StatusBar1.panel(2).text(), "status");
}

TEST(Reload, CategoryReloadSkipsBadLinesAndToleratesAMissingFile) {
    Harness h;
    h.write(Catalogue, "|A\r\n");
    h.form.Treeview2Load();
    h.form.firstClick = h.form.firstClick2 = true;
    h.write(Catalogue, "|A\r\n#d#1#&&#\r\n|d\r\n|B\r\n");

    h.ui.choosePopup("refresh2");
    h.form.TreeView2.userMouseDown(platform::RightButton, 0, 0, 0);
    EXPECT_EQ(describe(h.form.TreeView2),
              (std::vector<std::string>{"A [A*] 3 +", "A>d [d*] 73", "B [B*] 3 +"}));
    EXPECT_FALSE(h.form.firstClick2);
    EXPECT_TRUE(h.form.firstClick);

    std::remove(h.nativePath(Catalogue).c_str());
    h.ui.choosePopup("refresh2");
    h.form.TreeView2.userMouseDown(platform::RightButton, 0, 0, 0);
    EXPECT_EQ(h.form.TreeView2.count(), 0);
    EXPECT_TRUE(h.ui.messages().empty());
}

// ---- expanding and folding ----

TEST(ExpandTree, ExpandsCategoriesWithChildrenThenFoldsSubCategoriesOnly) {
    Harness h;
    h.write(Catalogue, "|A\r\n@B\r\n#d#1#&&#\r\n@C\r\n|D\r\n");
    h.form.Treeview2Load();
    h.form.TreeView2.item("A*").setExpanded(false);
    h.form.TreeView2.item("d*").setExpanded(true);  // a disc node is left alone
    platform::TreeView& t = h.form.TreeView2;

    h.form.expandtree.userClick();
    EXPECT_TRUE(t.item("A*").expanded());
    EXPECT_TRUE(t.item("B*").expanded());
    EXPECT_FALSE(t.item("C*").expanded());
    EXPECT_EQ(h.form.expandtree.caption(), "把分类树收合");
    EXPECT_EQ(h.form.expandtree1.caption(), "把分类树收合");

    h.ui.choosePopup("expandtree1");
    t.userMouseDown(platform::RightButton, 0, 0, 0);
    EXPECT_TRUE(t.item("A*").expanded());  // top level keeps its state
    EXPECT_FALSE(t.item("B*").expanded());
    EXPECT_TRUE(t.item("d*").expanded());
    EXPECT_EQ(h.form.expandtree.caption(), "把分类树展开");
    EXPECT_EQ(h.form.expandtree1.caption(), "把分类树展开");
}

TEST(ExpandTree, CaptionsSwitchEvenWhenNothingExpands) {
    Harness h;
    h.write(Catalogue, "|A\r\n|B\r\n");
    h.form.Treeview2Load();
    h.form.expandtree_Click();
    EXPECT_EQ(h.form.expandtree.caption(), "把分类树收合");
    EXPECT_EQ(h.form.expandtree1.caption(), "把分类树收合");
}

// ---- folding a node empties the file list ----

TEST(Collapse, FoldingAnyNodeOfEitherTreeEmptiesTheFileList) {
    Harness h;
    addIndexFiles(h, {"a.wcd", "b.wcd"});
    h.form.file1load();
    h.form.TreeView1.addChild("a*", "folder1", "folder", images::Folder);
    h.form.TreeView1.item("a*").setExpanded(true);
    h.write(Catalogue, "|A\r\n#a#1#&&#\r\n");
    h.form.Treeview2Load();

    h.form.ListView1.add("x*", "x");
    h.form.TreeView1.userCollapse(h.form.TreeView1.item("a*"));
    EXPECT_EQ(h.form.ListView1.count(), 0);

    h.form.ListView1.add("x*", "x");
    h.form.Alreadystr2 = "E:\\docs";
    h.form.TreeView2.userCollapse(h.form.TreeView2.item("A*"));
    EXPECT_EQ(h.form.ListView1.count(), 0);
    EXPECT_EQ(h.form.Alreadystr2, "");
}

// ---- pop-up menus ----

std::vector<std::string> captions(const platform::MenuItem& menu) {
    std::vector<std::string> out;
    for (const platform::MenuItem* item : menu.items()) {
        std::string line = item->caption();
        for (const platform::MenuItem* sub : item->items()) line += " | " + sub->caption();
        out.push_back(line);
    }
    return out;
}

TEST(PopupMenus, ItemsAndCaptionsInOrder) {
    Harness h;
    EXPECT_FALSE(h.form.pop1.visible());
    EXPECT_FALSE(h.form.pop4.visible());
    EXPECT_EQ(
        captions(h.form.pop1),
        (std::vector<std::string>{"属性", "在这里查找", "-", "把分类树展开", "-", "修改目录名",
                                  "建立顶级目录", "建立子目录", "删除目录或光盘", "刷新"}));
    EXPECT_EQ(
        captions(h.form.pop4),
        (std::vector<std::string>{
            "生成当前目录的网页",
            "生成当前光盘的目录树网页",
            "生成当前光盘的目录索引网页",
            "使Zelbrin处于快速创建网页状态",
            "-",
            "选择网页模板",
            "查看网页代码",
            "生成网页时是否把光盘上的文件拷贝到对应位置以便下载 | 仅拷贝打勾的文件 | 拷贝所有文件",
            "生成网页时是否带备注",
            "-",
            "在这个光盘里查找文件",
            "-",
            "属性1(所有文件的大小)",
            "属性2(所有打勾文件的大小)",
            "修改光盘名字、序号、备注和分类",
            "删除这张光盘",
            "-",
            "删除光盘上的所有“钩”及映象文件的路径",
            "删除光盘上的“钩”",
            "刷新"}));
}

TEST(PopupMenus, RightButtonOpensAtTheOffsetPointerAndKeepsTheSelection) {
    Harness h;
    addIndexFiles(h, {"a.wcd", "b.wcd"});
    h.form.file1load();
    h.form.TreeView1.setSelectedItem(&h.form.TreeView1.item("a*"));

    h.form.TreeView1.userMouseDown(1, 0, 50, 60);  // left button: nothing
    h.ui.dismissPopup();
    h.form.TreeView1.userMouseDown(platform::RightButton, 0, 50, 60);
    h.ui.dismissPopup();
    h.form.TreeView2.userMouseDown(platform::RightButton, 0, 300, 1200);

    ASSERT_EQ(h.ui.log().size(), 2u);
    EXPECT_EQ(h.ui.log()[0].prompt, "pop4");
    EXPECT_DOUBLE_EQ(h.ui.log()[0].x, 150);
    EXPECT_DOUBLE_EQ(h.ui.log()[0].y, 860);
    EXPECT_EQ(h.ui.log()[1].prompt, "pop1");
    EXPECT_DOUBLE_EQ(h.ui.log()[1].x, 400);
    EXPECT_DOUBLE_EQ(h.ui.log()[1].y, 2000);
    EXPECT_EQ(h.form.TreeView1.selectedItem(), &h.form.TreeView1.item("a*"));
}

TEST(PopupMenus, ItemsOfLaterCommandsDoNothingYet) {
    Harness h;
    addIndexFiles(h, {"a.wcd"});
    h.form.file1load();
    for (const char* item : {"createhtml111", "DeleteThisCD"}) {
        h.ui.choosePopup(item);
        h.form.TreeView1.userMouseDown(platform::RightButton, 0, 0, 0);
    }
    for (const char* item : {"property", "Delete"}) {
        h.ui.choosePopup(item);
        h.form.TreeView2.userMouseDown(platform::RightButton, 0, 0, 0);
    }
    EXPECT_TRUE(h.ui.messages().empty());
    EXPECT_EQ(h.form.TreeView1.count(), 1);
}

// ---- the number-plus-Enter jump ----

TEST(DiscJump, SelectsTheNthDiscOfTheList) {
    struct Case {
        const char* keys;
        int discs;
        const char* selected;  // "" for none
        const char* bufferLeft;
    };
    const Case cases[] = {
        {"2\n", 5, "d2", ""},    {"72\n", 5, "d5", ""},   // beyond the count: the last disc
        {"5\n", 5, "d5", ""},    {"1x2\n", 5, "d5", ""},  // other keys leave the digits alone
        {"0\n", 5, "", "0"},                              // "0" is not taken and stays
        {"0\n3\n", 5, "d3", ""},                          // "03"
        {"00\n", 5, "", ""},                              // taken, nothing to select
        {"\n", 5, "", ""},       {"1\n", 0, "", ""},      // no discs
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        Harness h;
        std::vector<std::string> files;
        for (int i = 1; i <= c.discs; ++i) files.push_back("d" + std::to_string(i) + ".wcd");
        addIndexFiles(h, files);
        h.form.file1load();
        h.form.Cdrom_Num = c.discs;
        typeKeys(h.form.TreeView1, c.keys);
        const platform::Node* sel = h.form.TreeView1.selectedItem();
        EXPECT_EQ(sel ? sel->text() : "", c.selected);
        const std::string panel = h.form.StatusBar1.panel(2).text();
        EXPECT_EQ(panel,
                  *c.bufferLeft ? std::string(c.bufferLeft) + "/" + std::to_string(c.discs) : "");
    }
}

TEST(DiscJump, PanelShowsTheTypedNumberAndTheDiscCount) {
    Harness h;
    h.form.Cdrom_Num = 45;
    typeKeys(h.form.TreeView1, "12");
    EXPECT_EQ(h.form.StatusBar1.panel(2).text(), "12/45");
}

TEST(DiscJump, NeverSelectsAFolderNodeOfAnOpenedDisc) {
    Harness h;
    addIndexFiles(h, {"d1.wcd", "d2.wcd"});
    h.form.file1load();
    // d1 opened (its folders appended), then a disc scanned later.
    h.form.TreeView1.addChild("d1*", "E:\\*", "E:\\", images::Folder);
    h.form.TreeView1.addChild("E:\\*", "E:\\docs\\*", "docs", images::Folder);
    h.form.TreeView1.add("d3*", "d3", images::Disc);
    h.form.Cdrom_Num = 3;

    typeKeys(h.form.TreeView1, "3\n");
    EXPECT_EQ(h.form.TreeView1.selectedItem()->text(), "d3");
    typeKeys(h.form.TreeView1, "2\n");
    EXPECT_EQ(h.form.TreeView1.selectedItem()->text(), "d2");
    h.form.Cdrom_Num = 9;  // the count drifted from the list
    typeKeys(h.form.TreeView1, "8\n");
    EXPECT_EQ(h.form.TreeView1.selectedItem()->text(), "d3");
}

// ---- the hidden lists ----

TEST(HiddenLists, DriveMovesTheFolderListAndTheFolderMovesTheFileList) {
    Harness h;
    h.makeFolder("C:\\zelbrin\\guangpan");
    h.form.Dir1.setPath("C:\\zelbrin\\guangpan");
    EXPECT_EQ(h.form.File1.path(), "C:\\zelbrin\\guangpan");
    h.form.Drive1.setDrive("e:");
    EXPECT_EQ(h.form.Dir1.path().substr(0, 2), "E:");
    EXPECT_EQ(h.form.File1.path(), h.form.Dir1.path());
}

}  // namespace
