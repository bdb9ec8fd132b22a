// The property commands, chosen from the pop-up menus of the category tree
// (属性), the disc list (属性1) and the file list (文件夹属性): the number of
// files of a disc or a folder (with its subfolders) and their size, in the
// left status panel.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "disc_page_steps.h"

using namespace disc_page_test;

namespace {

// The Tools disc: 14 files of 1585168 bytes; E:\docs with its subfolders 9
// files of 1584181 bytes, E:\docs\img 2 files of 2148 bytes.
constexpr std::string_view ToolsWhole = "14个文件，共1.51M";
constexpr std::string_view ToolsDocs = "9个文件，共1.51M";
constexpr std::string_view NoFiles = "0个文件，共1K";

struct Case {
    std::string node;
    std::string status;
};

class Properties : public DiscPage {
  protected:
    std::string panel() { return f().StatusBar1.panel(1).text(); }
    // Selects the node of the category tree and chooses 属性 from its pop-up.
    void propertyOf(std::string_view path) {
        f().TreeView2.setSelectedItem(&node(f().TreeView2, path));
        h.ui.choosePopup("property");
        f().TreeView2.userMouseDown(platform::RightButton, 0, 100, 100);
    }
    // The same in the disc list with 属性1.
    void property1Of(std::string_view path) {
        f().TreeView1.setSelectedItem(&node(f().TreeView1, path));
        h.ui.choosePopup("property1");
        f().TreeView1.userMouseDown(platform::RightButton, 0, 100, 100);
    }
    // Right-click on the row of the file list and choose 文件夹属性.
    void property3Of(std::string_view rowText) {
        h.ui.choosePopup("property3");
        f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &row(f(), rowText));
    }
};

TEST_F(Properties, TheDiscListCountsADiscOrAFolderWithItsSubfolders) {
    for (const Case& c : std::vector<Case>{
             {"[003]Tools", std::string(ToolsWhole)},
             {"[003]Tools\\E:", std::string(ToolsWhole)},
             {"[003]Tools\\E:\\docs", std::string(ToolsDocs)},
             {"[003]Tools\\E:\\docs\\img", "2个文件，共2K"},
             {"[003]Tools\\E:\\pics\\img", "1个文件，共1K"},
             {"[003]Tools\\E:\\2004", "1个文件，共1K"},
             // A hard-disk folder: "pop\live" never counts "pop\kpop\live".
             {"pop_hard", "4个文件，共1K"},
             {"pop_hard\\pop", "4个文件，共1K"},
             {"pop_hard\\pop\\live", "2个文件，共1K"},
             {"pop_hard\\pop\\kpop\\live", "1个文件，共1K"},
         }) {
        clickDiscList({c.node.substr(0, c.node.find('\\'))});
        property1Of(c.node);
        EXPECT_EQ(panel(), c.status) << c.node;
    }
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(Properties, TheCategoryTreeCountsDiscsUnderACategoryOrASubCategory) {
    clickCategoryTree({"软件\\[003]Tools"});
    for (const Case& c : std::vector<Case>{
             {"软件\\[003]Tools", std::string(ToolsWhole)},
             {"软件\\[003]Tools\\E:", std::string(ToolsWhole)},
             {"软件\\[003]Tools\\E:\\docs", std::string(ToolsDocs)},
             {"软件\\[003]Tools\\E:\\docs\\img", "2个文件，共2K"},
             // A category or a sub-category: nothing is read.
             {"软件", std::string(NoFiles)},
             {"音乐", std::string(NoFiles)},
             {"音乐\\流行", std::string(NoFiles)},
         }) {
        propertyOf(c.node);
        EXPECT_EQ(panel(), c.status) << c.node;
    }
    clickCategoryTree({"音乐\\流行\\pop_hard"});
    for (const Case& c : std::vector<Case>{
             {"音乐\\流行\\pop_hard", "4个文件，共1K"},
             {"音乐\\流行\\pop_hard\\pop\\live", "2个文件，共1K"},
             {"音乐\\流行\\pop_hard\\pop\\kpop", "1个文件，共1K"},
         }) {
        propertyOf(c.node);
        EXPECT_EQ(panel(), c.status) << c.node;
    }
}

TEST_F(Properties, SizesAbove4GbOldNegativeSizesAndFolderNamesThatBeginAlike) {
    h.write(indexPath(Tools),
            lines({"E:\\|Disc [1]", "E:\\|docs", "E:\\|docs2", "E:\\|big", "E:\\|old",
                   "E:\\Photo [2].jpg[500]", "E:\\zero.txt[0]", "E:\\docs\\a.txt[10]",
                   "E:\\docs2\\b.txt[20]", "E:\\big\\huge.mkv[5000000000]",
                   "E:\\old\\old.iso[-1073741824]($){C:\\copies\\old.iso}"}));
    clickDiscList({Tools});
    for (const Case& c : std::vector<Case>{
             // Folder lines and empty files count neither in the number nor
             // in the size; the size is the line's own size field.
             {"[003]Tools", "5个文件，共7840.37M"},
             {"[003]Tools\\E:\\docs", "1个文件，共1K"},
             {"[003]Tools\\E:\\docs2", "1个文件，共1K"},
             {"[003]Tools\\E:\\big", "1个文件，共4768.37M"},
             // Written as a signed 32-bit number: 3 GB.
             {"[003]Tools\\E:\\old", "1个文件，共3072M"},
             {"[003]Tools\\E:\\Disc [1]", std::string(NoFiles)},
         }) {
        property1Of(c.node);
        EXPECT_EQ(panel(), c.status) << c.node;
    }
}

TEST_F(Properties, AFolderRowCountsThatFolderOnCdAndHardDisk) {
    struct RowCase {
        std::string folder;
        std::string row;
        std::string status;
    };
    for (const RowCase& c : std::vector<RowCase>{
             {"[003]Tools\\E:", "docs", std::string(ToolsDocs)},
             {"[003]Tools\\E:", "2004", "1个文件，共1K"},
             {"[003]Tools\\E:\\docs", "img", "2个文件，共2K"},
             {"[003]Tools\\E:\\docs", "me@home", "1个文件，共4K"},
             {"pop_hard\\pop", "live", "2个文件，共1K"},
             {"pop_hard\\pop", "kpop", "1个文件，共1K"},
             {"pop_hard\\pop\\kpop", "live", "1个文件，共1K"},
         }) {
        clickDiscList({c.folder.substr(0, c.folder.find('\\')), c.folder});
        property3Of(c.row);
        EXPECT_EQ(panel(), c.status) << c.folder << " " << c.row;
    }
    // A file row: nothing at all, the panel keeps its text.
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    f().StatusBar1.panel(1).setText("before");
    property3Of("Readme");
    EXPECT_EQ(panel(), "before");
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(Properties, AnIndexThatCannotBeOpenedIsToldAndThePanelKeepsItsText) {
    clickDiscList({Tools});
    std::filesystem::remove(h.nativePath(indexPath(Tools)));
    f().StatusBar1.panel(1).setText("before");
    h.ui.answerMsgBox(platform::MsgOK);
    property1Of("[003]Tools");
    ASSERT_EQ(h.ui.messages().size(), 1u);
    EXPECT_EQ(h.ui.messages()[0], "不能打开文件: C:\\zelbrin\\guangpan\\[003]Tools.wcd文件未找到");
    EXPECT_EQ(h.ui.log().back().title, "提示");
    EXPECT_EQ(panel(), "before");
}

TEST_F(Properties, WithoutASelectionNothingIsRead) {
    clickDiscList({Tools});
    f().TreeView1.setSelectedItem(nullptr);
    f().property1_Click();
    EXPECT_EQ(panel(), NoFiles);
    f().TreeView2.setSelectedItem(nullptr);
    f().StatusBar1.panel(1).setText("before");
    f().property_Click();
    EXPECT_EQ(panel(), NoFiles);
    // 文件夹属性 without a selected row does nothing at all.
    f().ListView1.setSelectedItem(nullptr);
    f().StatusBar1.panel(1).setText("before");
    f().property3_Click();
    EXPECT_EQ(panel(), "before");
}

}  // namespace
