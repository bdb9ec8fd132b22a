// Opening a disc and listing its folders from the disc list and from the
// category tree, driven through Form1's node clicks.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "disc_page_steps.h"

using namespace disc_page_test;
using Strings = std::vector<std::string>;

namespace {

const Strings ToolsTree = {
    "[003]Tools",
    "[003]Tools\\E:",
    "[003]Tools\\E:\\docs",
    "[003]Tools\\E:\\pics",
    "[003]Tools\\E:\\2004",
    "[003]Tools\\E:\\docs\\img",
    "[003]Tools\\E:\\docs\\me@home",
    "[003]Tools\\E:\\docs\\img\\old",
    "[003]Tools\\E:\\pics\\img",
};

Strings discSubtree(const Form1& form, std::string_view disc) {
    Strings out;
    for (const std::string& p : nodePaths(form.TreeView1))
        if (p == disc || p.rfind(std::string(disc) + "\\", 0) == 0) out.push_back(p);
    return out;
}

}  // namespace

TEST_F(DiscPage, ClickOnADiscBuildsItsFolderTreeAndShowsItsInformation) {
    clickDiscList({Tools});
    EXPECT_EQ(discSubtree(f(), Tools), ToolsTree);
    // Keys: digits first get the prefix, a repeated name keeps its "@".
    EXPECT_EQ(node(f().TreeView1, "[003]Tools\\E:\\2004").key(), "noStr2004");
    EXPECT_EQ(node(f().TreeView1, "[003]Tools\\E:\\pics\\img").key(), "img@");
    EXPECT_TRUE(node(f().TreeView1, "[003]Tools").expanded());
    EXPECT_FALSE(node(f().TreeView1, "[003]Tools\\E:").expanded());

    EXPECT_EQ(f().OpenedDisk, Tools);
    EXPECT_EQ(f().OpenedDiskLabel1, "E");
    EXPECT_TRUE(f().firstClick);
    EXPECT_EQ(f().caption(), "Zelbrin");
    EXPECT_EQ(f().StatusBar1.panel(1).text(), "7个文件夹");
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "3号光盘的备注：工具盘；购买日期：2024-5-6");
    EXPECT_EQ(rows(f()), (Strings{
                             "bz1 | 3号光盘的备注： |  |  |  |  | 94",
                             "bz2 | 工具盘 |  |  |  |  | 94",
                             "bz3 | 购买日期： |  |  |  |  | 94",
                             "bz4 | 2024-5-6 |  |  |  |  | 94",
                         }));
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(DiscPage, ASecondClickOnAnOpenDiscOnlyShowsItsInformation) {
    clickDiscList({Tools});
    const std::uint64_t root = node(f().TreeView1, "[003]Tools\\E:").serial();
    clickDiscList({"[003]Tools\\E:\\docs", Tools});
    EXPECT_EQ(node(f().TreeView1, "[003]Tools\\E:").serial(), root);
    EXPECT_EQ(f().ListView1.count(), 4);
    EXPECT_EQ(f().ListView1.item(2).text(), "工具盘");
}

TEST_F(DiscPage, OpeningAnotherDiscRemovesTheFirstOnesTreeAndOpeningItAgainRebuildsIt) {
    clickDiscList({Tools, Pop});
    EXPECT_EQ(discSubtree(f(), Tools), Strings{"[003]Tools"});
    EXPECT_EQ(discSubtree(f(), Pop), (Strings{"pop_hard", "pop_hard\\pop", "pop_hard\\pop\\kpop",
                                              "pop_hard\\pop\\live", "pop_hard\\pop\\kpop\\live"}));
    EXPECT_EQ(f().OpenedDisk, Pop);
    EXPECT_EQ(f().OpenedDiskLabel1, "C");
    // Filed under a sub-category, its information shows all the same.
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "8号光盘的备注：流行歌曲；购买日期：");

    clickDiscList({Tools});
    EXPECT_EQ(discSubtree(f(), Tools), ToolsTree);
    EXPECT_EQ(discSubtree(f(), Pop), Strings{"pop_hard"});
}

TEST_F(DiscPage, AReloadedDiscListLeavesNoStaleNodeBehind) {
    clickDiscList({Tools});
    f().refresh1_Click();
    clickDiscList({Pop, Tools});
    EXPECT_EQ(discSubtree(f(), Tools), ToolsTree);
    EXPECT_EQ(discSubtree(f(), Pop), Strings{"pop_hard"});
}

TEST_F(DiscPage, AMissingIndexIsToldAndTheListKeepsItsRows) {
    clickDiscList({Tools});
    h.write(indexPath("Gone"), "E:\\a.txt[1]\r\n");
    f().refresh1_Click();
    std::filesystem::remove(h.nativePath(indexPath("Gone")));
    const Strings before = rows(f());
    h.ui.answerMsgBox(platform::MsgOK);
    clickDiscList({"Gone"});
    ASSERT_EQ(h.ui.messages().size(), 1u);
    EXPECT_EQ(h.ui.messages()[0].rfind("不能打开文件: C:\\zelbrin\\guangpan\\Gone.wcd", 0), 0u);
    EXPECT_GT(h.ui.messages()[0].size(),
              std::string("不能打开文件: C:\\zelbrin\\guangpan\\Gone.wcd").size());
    EXPECT_EQ(h.ui.log()[0].title, "提示");
    EXPECT_EQ(rows(f()), before);
    EXPECT_EQ(f().OpenedDisk, "Gone");
    EXPECT_FALSE(h.exists(indexPath("Gone")));
}

TEST(DiscOpening, ScanRootOfAnIndexWithoutFolders) {
    struct Case {
        std::string index;
        std::string root;   // the scan root node's text
        std::string label;  // OpenedDiskLabel1 afterwards ("?" unchanged)
    };
    const std::vector<Case> cases = {
        {"", ":", ""},
        {"E:\\a.txt[1]\r\n", "E:", "E"},
        {"D:\\work\\photos\\a.jpg[100]\r\n", "photos", "?"},
        {"D:\\work\\2004\\a.jpg[100]\r\n", "2004", "?"},
    };
    for (const Case& c : cases) {
        testsupport::Harness h;
        h.write(indexPath("d"), c.index);
        h.start();
        h.form.OpenedDiskLabel1 = "?";
        h.form.TabStrip1.userSelect(DiscTab);
        h.form.TreeView1.userClickNode(node(h.form.TreeView1, "d"));
        EXPECT_EQ(nodePaths(h.form.TreeView1), (Strings{"d", "d\\" + c.root})) << c.index;
        EXPECT_EQ(h.form.OpenedDiskLabel1, c.label) << c.index;
        EXPECT_EQ(h.form.StatusBar1.panel(1).text(), "0个文件夹");
        // A disc without a catalogue line shows empty fields.
        EXPECT_EQ(h.form.StatusBar1.panel(2).text(), "号光盘的备注：；购买日期：");
    }
}

TEST_F(DiscPage, TheScanRootListsTheDiscsTopLevel) {
    clickDiscList({Tools, "[003]Tools\\E:"});
    // Sorted by type, descending; ".profile" is neither listed nor counted.
    EXPECT_EQ(rows(f()), (Strings{
                             "docs | docs | 文件夹 |  |  |  | 1",
                             "pics | pics | 文件夹 |  |  |  | 1",
                             "noStr2004 | 2004 | 文件夹 |  |  |  | 1",
                             "noStr1.txt[5] | 1 | txt | 1K |  |  | 24",
                             "setup.exe[900] | setup | exe | 1K |  |  | 13",
                         }));
    EXPECT_EQ(f().StatusBar1.panel(1).text(), "E:");
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "5个文件夹或文件");
    EXPECT_EQ(f().alreadystr, "[003]Tools\\E:");
    EXPECT_TRUE(f().ListView1.sorted());
    EXPECT_EQ(f().ListView1.sortKey(), 1);
    EXPECT_EQ(f().ListView1.sortOrder(), platform::ListView::Descending);
}

TEST_F(DiscPage, AFolderListsItsOwnFilesWithTicksSizesTypesAndPictures) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    EXPECT_EQ(rows(f()), (Strings{
                             "img | img | 文件夹 |  |  |  | 1",
                             "me@home | me@home | 文件夹 |  |  |  | 1",
                             "Readme.TXT[3000]($) | Readme | txt | 2K |  |  | 24 ✓",
                             "a.txt[10]($) | a | txt | 1K |  |  | 24 ✓ red",
                             "README[12] | README | No扩展名 | 1K |  |  | 7",
                             "誠遊許.jpeg[2048]($)($) | 誠遊許 | jpeg | 2K |  |  | 17",
                             "archive.tar.gz[1572864] | archive.tar | gz | 1.50M |  |  | 25",
                             "a.txt.bak[3] | a.txt | bak | 1K |  |  | 7",
                         }));
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "8个文件夹或文件");
}

TEST_F(DiscPage, AFolderNamedWithAtAndDeeperFoldersList) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs\\me@home"});
    EXPECT_EQ(rows(f()), Strings{"x.mp3[4096] | x | mp3 | 4K |  |  | 20"});
    clickDiscList({"[003]Tools\\E:\\docs\\img\\old"});
    EXPECT_EQ(rows(f()), Strings{"c.wmf[100] | c | wmf | 1K |  |  | 49"});
    // The second folder named img: its own file, not the first one's.
    clickDiscList({"[003]Tools\\E:\\pics\\img"});
    EXPECT_EQ(rows(f()), Strings{"d.jpg[55] | d | jpg | 1K |  |  | 17"});
}

TEST_F(DiscPage, AHardDiskFolderListsOnlyItsOwnFiles) {
    // kpop\live\a.mp3 stands first in the index and ends like live\a.mp3.
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    EXPECT_EQ(rows(f()), (Strings{
                             "a.mp3[7] | a | mp3 | 1K |  |  | 20",
                             "b.mp3[8] | b | mp3 | 1K |  |  | 20",
                         }));
    clickDiscList({"pop_hard\\pop"});
    EXPECT_EQ(rows(f()), (Strings{
                             "kpop | kpop | 文件夹 |  |  |  | 1",
                             "live | live | 文件夹 |  |  |  | 1",
                             "top.mp3[100] | top | mp3 | 1K |  |  | 20",
                         }));
}

TEST_F(DiscPage, RemarksAndUsageNotesAreShownForTheirOwnFile) {
    // The record of a.txt.bak stands first and begins with a.txt's key.
    h.write(discFile(Tools, ".note"),
            "@##note##@[003]Tools\\E:\\docs\\a.txt.bak==备份\r\n"
            "@##note##@[003]Tools\\E:\\docs\\a.txt==第一行\r\n第二行\r\n"
            "@##note##@[003]Tools\\E:\\docs\\img.文件夹==图片\r\n"
            "@##note##@[003]Tools\\E:\\docs\\README.No扩展名==说明\r\n");
    h.write(discFile(Tools, ".exam"), "@##exam##@[003]Tools\\E:\\docs\\archive.tar.gz==压缩包\r\n");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    EXPECT_EQ(row(f(), "a").subItem(3), "第一行\r\n第二行");
    EXPECT_EQ(row(f(), "a.txt").subItem(3), "备份");
    EXPECT_EQ(row(f(), "img").subItem(3), "图片");
    // The last record is read without the file's final line break.
    EXPECT_EQ(row(f(), "README").subItem(3), "说明");
    EXPECT_EQ(row(f(), "archive.tar").subItem(4), "压缩包");
    EXPECT_EQ(row(f(), "Readme").subItem(3), "");
}

TEST_F(DiscPage, TheCategoryTreeOpensAndListsWithoutTicks) {
    h.write(discFile(Tools, ".note"), "@##note##@[003]Tools\\E:\\docs\\a.txt==备注\r\n");
    clickCategoryTree({"软件\\[003]Tools"});
    EXPECT_EQ(f().OpenedDiskTree2, Tools);
    EXPECT_EQ(f().OpenedDiskLabel2, "E");
    EXPECT_TRUE(f().firstClick2);
    EXPECT_EQ(f().OpenedDisk, "");
    EXPECT_EQ(f().ListView1.item(2).text(), "工具盘");

    clickCategoryTree({"软件\\[003]Tools\\E:\\docs"});
    EXPECT_EQ(rows(f()), (Strings{
                             "img | img | 文件夹 |  |  |  | 1",
                             "me@home | me@home | 文件夹 |  |  |  | 1",
                             "Readme.TXT[3000] | Readme | txt | 2K |  |  | 24",
                             "a.txt[10] | a | txt | 1K | 备注 |  | 24",
                             "README[12] | README | No扩展名 | 1K |  |  | 7",
                             "誠遊許.jpeg[2048] | 誠遊許 | jpeg | 2K |  |  | 17",
                             "archive.tar.gz[1572864] | archive.tar | gz | 1.50M |  |  | 25",
                             "a.txt.bak[3] | a.txt | bak | 1K |  |  | 7",
                         }));
    EXPECT_EQ(f().Alreadystr2, "软件\\[003]Tools\\E:\\docs");

    // A disc under a sub-category: its folders begin one level deeper.
    clickCategoryTree({"音乐\\流行\\pop_hard", "音乐\\流行\\pop_hard\\pop\\live"});
    EXPECT_EQ(rows(f()), (Strings{
                             "a.mp3[7] | a | mp3 | 1K |  |  | 20",
                             "b.mp3[8] | b | mp3 | 1K |  |  | 20",
                         }));

    // A category lists nothing and names itself.
    clickCategoryTree({"音乐"});
    EXPECT_EQ(f().ListView1.count(), 0);
    EXPECT_EQ(f().StatusBar1.panel(1).text(), "音乐");
}

TEST_F(DiscPage, TheCategoryTreeFindsTheDiscLineWithItsExactCase) {
    h.write("C:\\zelbrin\\ini.ini", "|软件\r\n#[003]TOOLS#3#工具盘&&2024-5-6#\r\n");
    f().refresh2_Click();
    f().refresh1_Click();
    clickDiscList({Tools});
    EXPECT_EQ(f().ListView1.item(2).text(), "工具盘");
    // A node whose text differs in case from its line finds no line.
    f().TreeView2.add("x*", "[003]Tools", images::Disc);
    clickCategoryTree({"[003]Tools"});
    EXPECT_EQ(f().ListView1.item(2).text(), "");
}
