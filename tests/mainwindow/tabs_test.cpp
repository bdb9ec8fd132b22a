// The page switch of the tab strip, driven by the user's clicks on the tabs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/harness.h"

namespace {

using testsupport::Harness;

enum Tab { Category = 1, Disc = 2, Software = 3, Library = 4 };

class Tabs : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"a", "b", "c"})
            h.write(std::string("C:\\zelbrin\\software\\") + name + ".txt", "x");
        h.start();
    }
    // Which tree shows, by page order 分类 光盘 软件 文库 ("2" = TreeView2).
    std::string shownTrees() const {
        std::string s;
        const Form1& f = h.form;
        for (const auto& [tree, n] : {std::pair{&f.TreeView2, '2'},
                                      {&f.TreeView1, '1'},
                                      {&f.TreeView3, '3'},
                                      std::pair{&f.TreeView4, '4'}})
            if (tree->visible()) s += n;
        return s;
    }
    int preview() const { return h.form.Toolbar1.button("preview").value(); }
    void addRow() { h.form.ListView1.add("k", "row"); }

    Harness h;
};

TEST_F(Tabs, DiscPageOpensThePreviewPaneWithCheckBoxes) {
    addRow();
    h.form.alreadystr = "x";
    h.form.Alreadystr2 = "y";
    h.form.TabStrip1.userSelect(Disc);
    Form1& f = h.form;
    EXPECT_EQ(shownTrees(), "1");
    EXPECT_TRUE(f.ListView1.visible());
    EXPECT_TRUE(f.ListView1.checkboxes());
    EXPECT_EQ(f.ListView1.count(), 0);
    EXPECT_FALSE(f.Text1.visible());
    EXPECT_TRUE(f.previewPaneOpen());
    EXPECT_EQ(preview(), 1);
    EXPECT_TRUE(f.TreeView1.hasFocus());
    EXPECT_EQ(f.alreadystr, "");
    EXPECT_EQ(f.Alreadystr2, "");
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(Tabs, LeavingTheDiscPageClosesThePane) {
    for (int page : {Category, Software, Library}) {
        h.form.TabStrip1.userSelect(Disc);
        ASSERT_TRUE(h.form.previewPaneOpen());
        h.form.TabStrip1.userSelect(page);
        EXPECT_FALSE(h.form.previewPaneOpen()) << page;
        EXPECT_EQ(preview(), 0) << page;
    }
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(Tabs, DiscPageReopensAPaneTheUserClosed) {
    h.form.TabStrip1.userSelect(Disc);
    h.form.OpenPreview_Click();  // the user closes the pane
    ASSERT_FALSE(h.form.previewPaneOpen());
    h.form.TabStrip1.userSelect(Library);
    h.form.TabStrip1.userSelect(Disc);
    EXPECT_TRUE(h.form.previewPaneOpen());
    EXPECT_EQ(preview(), 1);
}

TEST_F(Tabs, StuckPreviewButtonIsReleasedWithoutAMessage) {
    // "preview" pressed with the pane closed (as a refused full screen leaves it).
    h.form.Toolbar1.button("preview").setValue(1);
    h.form.TabStrip1.userSelect(Library);
    EXPECT_EQ(preview(), 0);
    EXPECT_FALSE(h.form.previewPaneOpen());
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(Tabs, CategoryPageListsWithoutCheckBoxes) {
    h.form.TabStrip1.userSelect(Disc);
    addRow();
    h.form.StatusBar1.panel(2).setText("x");
    h.form.TabStrip1.userSelect(Category);
    Form1& f = h.form;
    EXPECT_EQ(shownTrees(), "2");
    EXPECT_TRUE(f.ListView1.visible());
    EXPECT_FALSE(f.ListView1.checkboxes());
    EXPECT_EQ(f.ListView1.count(), 0);
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "");
    EXPECT_TRUE(f.TreeView2.hasFocus());
}

TEST_F(Tabs, SoftwarePageShowsTheRecordFormAndTheCount) {
    h.form.TabStrip1.userSelect(Software);
    Form1& f = h.form;
    EXPECT_EQ(shownTrees(), "3");
    EXPECT_FALSE(f.ListView1.visible());
    EXPECT_FALSE(f.Text1.visible());
    EXPECT_TRUE(f.SoftNameT.visible());
    EXPECT_TRUE(f.SoftDescriptionT.visible());
    EXPECT_EQ(f.StatusBar1.panel(2).text(),
              "共有3个软件，你可以按数字或者首字母选中你的软件，而无须拖动滚动条。");

    // In the category view the panel keeps its text.
    h.form.TabStrip1.userSelect(Category);
    f.softlist.setCaption("软件按字母顺序排列");
    f.StatusBar1.panel(2).setText("kept");
    h.form.TabStrip1.userSelect(Software);
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "kept");

    // Other pages hide the record form again.
    h.form.TabStrip1.userSelect(Library);
    EXPECT_FALSE(f.SoftNameT.visible());
}

TEST_F(Tabs, OnlyTheSoftwarePageClosesTheResultList) {
    Form1& f = h.form;
    f.ListView2.add("r", "result");
    f.ListView2.setVisible(true);
    f.FormSizeFind();
    for (int page : {Disc, Category, Library}) {
        f.TabStrip1.userSelect(page);
        EXPECT_TRUE(f.ListView2.visible()) << page;
        EXPECT_EQ(f.ListView2.count(), 1) << page;
    }
    f.TabStrip1.userSelect(Disc);
    f.TabStrip1.userSelect(Software);
    EXPECT_FALSE(f.ListView2.visible());
    EXPECT_EQ(f.ListView2.count(), 0);
    EXPECT_FALSE(f.previewPaneOpen());
    EXPECT_EQ(preview(), 0);
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(Tabs, LibraryPageShowsAnEmptyRecordBox) {
    h.form.Text1.setText("old record");
    h.form.TabStrip1.userSelect(Library);
    Form1& f = h.form;
    EXPECT_EQ(shownTrees(), "4");
    EXPECT_TRUE(f.Text1.visible());
    EXPECT_EQ(f.Text1.text(), "");
    EXPECT_FALSE(f.ListView1.visible());
    EXPECT_GT(f.Text1.zIndex(), f.ListView1.zIndex());
    EXPECT_TRUE(f.TreeView4.hasFocus());
}

TEST_F(Tabs, CodeSelectingATabSwitchesThePage) {
    h.form.TabStrip1.tab(Software).setSelected();
    EXPECT_EQ(shownTrees(), "3");
}

}  // namespace
