// Ticks on the disc page, driven through the file list's check boxes and the
// pop-up menus: each tick is written into the open disc's index at once, on
// the file's own line; the tick removal, dropping a line and the size of the
// ticked files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "disc_page_steps.h"

using namespace disc_page_test;
using Strings = std::vector<std::string>;

namespace {

// The index with line i replaced.
std::string toolsWith(std::size_t i, std::string_view line) {
    std::vector<std::string_view> ls = ToolsIndex;
    ls[i] = line;
    return lines(ls);
}

}  // namespace

TEST_F(DiscPage, ATickAndAnUntickEachAddOneMarkToTheFilesOwnLine) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    platform::ListItem& bak = row(f(), "a.txt");
    f().ListView1.userToggleCheck(bak);
    EXPECT_TRUE(bak.checked());
    EXPECT_EQ(index(Tools), toolsWith(10, "E:\\docs\\a.txt.bak[3]($)"));
    f().ListView1.userToggleCheck(bak);
    EXPECT_FALSE(bak.checked());
    EXPECT_EQ(index(Tools), toolsWith(10, "E:\\docs\\a.txt.bak[3]($)($)"));

    // A ticked file unticked: its mark goes behind the marks it had.
    platform::ListItem& readme = row(f(), "Readme");
    f().ListView1.userToggleCheck(readme);
    EXPECT_FALSE(readme.checked());
    std::vector<std::string_view> expected = ToolsIndex;
    expected[8] = "E:\\docs\\Readme.TXT[3000]($)($)";
    expected[10] = "E:\\docs\\a.txt.bak[3]($)($)";
    EXPECT_EQ(index(Tools), lines(expected));
    EXPECT_TRUE(f().PendingTickPaths.empty());
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(DiscPage, TicksInTheRootAndInNamesWithDigitsAndGbkCharacters) {
    clickDiscList({Tools, "[003]Tools\\E:"});
    f().ListView1.userToggleCheck(row(f(), "1"));
    clickDiscList({"[003]Tools\\E:\\docs"});
    f().ListView1.userToggleCheck(row(f(), "誠遊許"));
    std::vector<std::string_view> expected = ToolsIndex;
    expected[5] = "E:\\1.txt[5]($)";
    expected[13] = "E:\\docs\\誠遊許.jpeg[2048]($)($)($)";
    EXPECT_EQ(index(Tools), lines(expected));
}

TEST_F(DiscPage, AHardDiskTickMarksTheFileOfTheListedFolderOnly) {
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    f().ListView1.userToggleCheck(row(f(), "a"));
    std::vector<std::string_view> expected = PopIndex;
    expected[5] = "C:\\music\\pop\\live\\a.mp3[7]($)";
    EXPECT_EQ(index(Pop), lines(expected));
}

TEST_F(DiscPage, FoldersInformationRowsAndMirroredFilesKeepNoTick) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    const std::string before = index(Tools);
    for (const char* text : {"img", "a"}) {
        platform::ListItem& r = row(f(), text);
        const bool was = r.checked();
        f().ListView1.userToggleCheck(r);
        EXPECT_FALSE(r.checked()) << text << (was ? " was ticked" : "");
    }
    clickDiscList({Tools});
    f().ListView1.userToggleCheck(f().ListView1.item(1));
    EXPECT_FALSE(f().ListView1.item(1).checked());
    EXPECT_EQ(index(Tools), before);
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(DiscPage, ATickOnTheCategoryPageIsRefusedWhereItIsMade) {
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    clickCategoryTree({"软件\\[003]Tools", "软件\\[003]Tools\\E:\\docs"});
    // The category page shows no check boxes; a tick that reaches the list
    // all the same is refused where it is made.
    EXPECT_FALSE(f().ListView1.checkboxes());
    platform::ListItem& bak = row(f(), "a.txt");
    bak.setChecked(true);
    h.ui.answerMsgBox(platform::MsgOK, "请先点击光盘标签！");
    f().ListView1_ItemCheck(bak);
    EXPECT_FALSE(bak.checked());
    EXPECT_TRUE(f().PendingTickPaths.empty());
    EXPECT_EQ(index(Tools), lines(ToolsIndex));
    EXPECT_EQ(index(Pop), lines(PopIndex));

    // Nothing of it reaches the disc page's next tick.
    clickDiscList({"pop_hard\\pop\\live"});
    f().ListView1.userToggleCheck(row(f(), "b"));
    std::vector<std::string_view> expected = PopIndex;
    expected[6] = "C:\\music\\pop\\live\\b.mp3[8]($)";
    EXPECT_EQ(index(Pop), lines(expected));
    EXPECT_EQ(index(Tools), lines(ToolsIndex));
}

TEST_F(DiscPage, ATickForADiscDeletedMeanwhileWritesNothing) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    std::filesystem::remove(h.nativePath(indexPath(Tools)));
    platform::ListItem& bak = row(f(), "a.txt");
    h.ui.answerMsgBox(platform::MsgOK);
    f().ListView1.userToggleCheck(bak);
    ASSERT_EQ(h.ui.messages().size(), 1u);
    EXPECT_EQ(h.ui.messages()[0].rfind("不能打开文件: C:\\zelbrin\\guangpan\\[003]Tools.wcd", 0),
              0u);
    EXPECT_FALSE(bak.checked());
    EXPECT_FALSE(h.exists(indexPath(Tools)));
    EXPECT_TRUE(f().PendingTickPaths.empty());
}

TEST_F(DiscPage, AFlushOfManyTicksWritesOnceAndLeavesTheLastTenthInTheCaption) {
    std::vector<std::string_view> ls = {"E:\\|big"};
    std::vector<std::string> names;
    for (int i = 0; i < 25; ++i) names.push_back("E:\\big\\f" + std::to_string(i) + ".txt[1]");
    for (const std::string& n : names) ls.push_back(n);
    h.write(indexPath("big"), lines(ls));
    f().refresh1_Click();
    clickDiscList({"big", "big\\E:\\big"});
    for (const auto& r : f().ListView1.items())
        f().PendingTickPaths.push_back({"E:", "big", r->key(), false, "E:\\big"});
    EXPECT_TRUE(f().WritePendingTicks());
    EXPECT_EQ(f().caption(), "19");
    const std::string text = index("big");
    for (const std::string& n : names) EXPECT_NE(text.find(n + "($)\r\n"), std::string::npos) << n;
    EXPECT_TRUE(f().PendingTickPaths.empty());
}

TEST_F(DiscPage, TheFlushRefusesOffTheDiscPageAndWithoutAnOpenDisc) {
    h.ui.answerMsgBox(platform::MsgOK, "请先点击光盘标签！");
    f().PendingTickPaths.push_back({"E:", "docs", "a.txt.bak[3]", false, "E:\\docs"});
    EXPECT_FALSE(f().WritePendingTicks());
    EXPECT_EQ(f().PendingTickPaths.size(), 1u);
    f().TabStrip1.userSelect(DiscTab);
    h.ui.answerMsgBox(platform::MsgOK, "请选择光盘！");
    EXPECT_FALSE(f().WritePendingTicks());
    EXPECT_EQ(f().PendingTickPaths.size(), 1u);
    EXPECT_EQ(index(Tools), lines(ToolsIndex));
}

TEST_F(DiscPage, RemovingTheTicksKeepsThoseOfMirroredFiles) {
    h.write(indexPath(Tools), toolsWith(13, "E:\\docs\\誠遊許.jpeg[2048]($)($)($)"));
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    h.ui.choosePopup("deleteGou");
    f().TreeView1.userMouseDown(platform::RightButton, 0, 100, 100);
    std::vector<std::string_view> expected = ToolsIndex;
    expected[8] = "E:\\docs\\Readme.TXT[3000]";
    expected[13] = "E:\\docs\\誠遊許.jpeg[2048]";
    EXPECT_EQ(index(Tools), lines(expected));
    // The boxes show the index again; the mirrored file keeps its tick.
    EXPECT_FALSE(row(f(), "Readme").checked());
    EXPECT_TRUE(row(f(), "a").checked());
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);

    // Without an open disc: told, nothing written.
    f().OpenedDisk.clear();
    h.ui.answerMsgBox(platform::MsgOK, "请选择光盘！");
    f().deleteGou_Click();
}

TEST_F(DiscPage, DroppingALineOfACdTakesTheSelectedFilesLineOnly) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    platform::ListItem& a = row(f(), "a");
    f().ListView1.setSelectedItem(&a);
    f().DeleteFromMulu_Click();
    std::vector<std::string_view> expected = ToolsIndex;
    expected.erase(expected.begin() + 9);
    EXPECT_EQ(index(Tools), lines(expected));
    EXPECT_EQ(rowText(f(), a), "a.txt[10]($) |  |  |  |  |  | 0 ✓ red");

    // A file without extension is found by its bare name.
    f().ListView1.setSelectedItem(&row(f(), "README"));
    f().DeleteFromMulu_Click();
    expected.erase(expected.begin() + 10);
    EXPECT_EQ(index(Tools), lines(expected));

    // A folder cannot be dropped; a line gone meanwhile is told.
    f().ListView1.setSelectedItem(&row(f(), "img"));
    h.ui.answerMsgBox(platform::MsgOK, "只能删除文件！");
    f().DeleteFromMulu_Click();
    h.write(indexPath(Tools), "E:\\|docs\r\n");
    f().ListView1.setSelectedItem(&row(f(), "a.txt"));
    h.ui.answerMsgBox(platform::MsgOK, "有错误！在目录文件里找不到这个文件。");
    f().DeleteFromMulu_Click();
    EXPECT_EQ(index(Tools), "E:\\|docs\r\n");
}

TEST_F(DiscPage, DroppingALineOfAHardDiskFolderDeletesThatFileEvenReadOnly) {
    for (const char* p : {"C:\\music\\pop\\kpop\\live\\a.mp3", "C:\\music\\pop\\live\\a.mp3"})
        h.write(p, "x");
    std::filesystem::permissions(h.nativePath("C:\\music\\pop\\live\\a.mp3"),
                                 std::filesystem::perms::owner_read);
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    f().ListView1.setSelectedItem(&row(f(), "a"));
    f().DeleteFromMulu_Click();
    EXPECT_FALSE(h.exists("C:\\music\\pop\\live\\a.mp3"));
    EXPECT_TRUE(h.exists("C:\\music\\pop\\kpop\\live\\a.mp3"));
    std::vector<std::string_view> expected = PopIndex;
    expected.erase(expected.begin() + 5);
    EXPECT_EQ(index(Pop), lines(expected));

    // A file already gone: the line goes all the same.
    f().ListView1.setSelectedItem(&row(f(), "b"));
    f().DeleteFromMulu_Click();
    expected.erase(expected.begin() + 5);
    EXPECT_EQ(index(Pop), lines(expected));
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(DiscPage, AFileOutsideTheCataloguedFolderIsNeverDeleted) {
    // The listed file is a link to a file elsewhere: it stays, and so does
    // its line.
    h.write("C:\\elsewhere\\a.mp3", "x");
    h.makeFolder("C:\\music\\pop\\live");
    std::filesystem::create_symlink(h.nativePath("C:\\elsewhere\\a.mp3"),
                                    h.nativePath("C:\\music\\pop\\live") + "/a.mp3");
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    f().ListView1.setSelectedItem(&row(f(), "a"));
    h.ui.answerMsgBox(platform::MsgOK);
    f().DeleteFromMulu_Click();
    ASSERT_EQ(h.ui.messages().size(), 1u);
    EXPECT_EQ(h.ui.messages()[0].rfind("不能删除文件: C:\\music\\pop\\live\\a.mp3", 0), 0u);
    EXPECT_TRUE(h.exists("C:\\elsewhere\\a.mp3"));
    EXPECT_EQ(index(Pop), lines(PopIndex));
    EXPECT_EQ(row(f(), "a").subItem(1), "mp3");
}

TEST_F(DiscPage, TheSizeOfTickedFilesOfADiscOrAFolder) {
    std::vector<std::string_view> ls = ToolsIndex;
    ls[16] = "E:\\docs\\img\\old\\c.wmf[1572864]($)";
    ls[20] = "E:\\2004\\y.txt[7]($)";
    ls[15] = "E:\\docs\\img\\b.gif[0]($)";
    h.write(indexPath(Tools), lines(ls));
    struct Case {
        std::string node;
        std::string status;
    };
    for (const Case& c : std::vector<Case>{
             {"[003]Tools", "4个文件，共1.5M"},
             {"[003]Tools\\E:", "4个文件，共1.5M"},
             {"[003]Tools\\E:\\docs", "3个文件，共1.5M"},
             {"[003]Tools\\E:\\docs\\img", "1个文件，共1.5M"},
             {"[003]Tools\\E:\\pics", "0个文件，共1K"},
         }) {
        clickDiscList({Tools});
        f().TreeView1.setSelectedItem(&node(f().TreeView1, c.node));
        h.ui.choosePopup("property2");
        f().TreeView1.userMouseDown(platform::RightButton, 0, 100, 100);
        EXPECT_EQ(f().StatusBar1.panel(1).text(), c.status) << c.node;
    }
}
