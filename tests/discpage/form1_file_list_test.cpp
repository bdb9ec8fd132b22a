// The file list's own events on the disc page: a folder row clicked twice,
// the column headers, the right button's pop-up menu, the place shown on a
// release, and the three views of the menu 选项.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "disc_page_steps.h"

using namespace disc_page_test;
using Strings = std::vector<std::string>;

TEST_F(DiscPage, TwoClicksOnAFolderRowWithinASecondAndAHalfListIt) {
    struct Case {
        double first, second;
        bool lists;
    };
    // The first click's time is kept in whole seconds, a half to the even one.
    for (const Case& c : std::vector<Case>{{100.6, 102.4, true},
                                           {100.4, 101.6, false},
                                           {301.5, 303.4, true},
                                           {300.5, 301.9, false}}) {
        clickDiscList({Tools, "[003]Tools\\E:"});
        f().FileCursor = 3;
        h.clock.setSeconds(c.first - 50);
        f().ListView1.userClickItem(row(f(), "pics"));
        h.clock.setSeconds(c.first);
        f().ListView1.userClickItem(row(f(), "docs"));
        h.clock.setSeconds(c.second);
        f().ListView1.userClickItem(row(f(), "docs"));
        const std::string listed = c.lists ? "[003]Tools\\E:\\docs" : "[003]Tools\\E:";
        EXPECT_EQ(f().TreeView1.selectedItem()->fullPath(), listed) << c.first;
        EXPECT_EQ(f().alreadystr, listed);
        EXPECT_EQ(f().ListView1.count(), c.lists ? 8 : 5) << c.first;
        EXPECT_EQ(f().FileCursor, 3);
        if (c.lists) {
            EXPECT_TRUE(node(f().TreeView1, listed).expanded());
            EXPECT_EQ(row(f(), "Readme").key(), "Readme.TXT[3000]($)");
            EXPECT_TRUE(row(f(), "Readme").checked());
        }
    }
}

TEST_F(DiscPage, ASecondClickFindsTheFolderAmongTheListedFoldersChildren) {
    // pics\img is keyed "img@"; the row reads img.
    clickDiscList({Tools, "[003]Tools\\E:\\pics"});
    f().ListView1.userClickItem(row(f(), "img"));
    f().ListView1.userClickItem(row(f(), "img"));
    EXPECT_EQ(f().TreeView1.selectedItem()->fullPath(), "[003]Tools\\E:\\pics\\img");
    EXPECT_EQ(rows(f()), Strings{"d.jpg[55] | d | jpg | 1K |  |  | 17"});
}

TEST_F(DiscPage, FileRowsAndTheCategoryPageListNothingOnAClick) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    f().ListView1.userClickItem(row(f(), "a.txt"));
    f().ListView1.userClickItem(row(f(), "a.txt"));
    EXPECT_EQ(f().TreeView1.selectedItem()->fullPath(), "[003]Tools\\E:\\docs");
    clickCategoryTree({"软件\\[003]Tools", "软件\\[003]Tools\\E:"});
    // The category page opens the folder with its program instead (not on
    // this disc: the disc is asked for).
    h.ui.answerMsgBox(platform::MsgOK, "请插入光盘");
    h.ui.answerMsgBox(platform::MsgOK, "请插入光盘");
    f().ListView1.userClickItem(row(f(), "docs"));
    f().ListView1.userClickItem(row(f(), "docs"));
    EXPECT_EQ(f().ListView1.count(), 5);
}

TEST_F(DiscPage, AColumnHeaderSetsTheSortKeyOnly) {
    clickDiscList({Tools, "[003]Tools\\E:"});
    f().ListView1.userClickColumn(1);
    EXPECT_EQ(f().ListView1.sortKey(), 0);
    EXPECT_EQ(f().ListView1.sortOrder(), platform::ListView::Descending);
    EXPECT_EQ(f().ListView1.item(1).text(), "setup");
    f().ListView1.userClickColumn(3);
    EXPECT_EQ(f().ListView1.sortKey(), 2);
}

TEST_F(DiscPage, TheRightButtonOpensThePopupOverAFileOrFolderOnly) {
    clickDiscList({Tools});
    // The disc's information rows: no menu.
    f().ListView1.userMouseDown(platform::RightButton, 0, 10, 20, &f().ListView1.item(1));
    clickDiscList({"[003]Tools\\E:\\docs"});
    // None selected: no menu either.
    f().ListView1.userMouseDown(platform::RightButton, 0, 10, 20);
    f().ListView1.userMouseDown(platform::LeftButton, 0, 10, 20, &row(f(), "a"));
    EXPECT_TRUE(h.ui.log().empty());
    h.ui.dismissPopup();
    f().ListView1.userMouseDown(platform::RightButton, 0, 10, 20, &row(f(), "a"));
    ASSERT_EQ(h.ui.log().size(), 1u);
    EXPECT_EQ(h.ui.log()[0].prompt, "pop2");
    EXPECT_EQ(h.ui.log()[0].x, 4010);
    EXPECT_EQ(h.ui.log()[0].y, 820);
    // Not on the category page.
    clickCategoryTree({"软件\\[003]Tools", "软件\\[003]Tools\\E:\\docs"});
    f().ListView1.userMouseDown(platform::RightButton, 0, 10, 20, &row(f(), "a"));
    EXPECT_EQ(h.ui.log().size(), 1u);
}

TEST_F(DiscPage, AReleaseShowsTheSelectedRowsPlace) {
    clickDiscList({Tools});
    f().ListView1.userMouseDown(platform::LeftButton, 0, 0, 0, &f().ListView1.item(1));
    f().ListView1.userMouseUp(platform::LeftButton, 0, 0, 0);
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "3号光盘的备注：.(1/4)");
    clickDiscList({"[003]Tools\\E:\\docs"});
    platform::ListItem& readme = row(f(), "README");
    f().ListView1.userMouseDown(platform::LeftButton, 0, 0, 0, &readme);
    f().ListView1.userMouseUp(platform::LeftButton, 0, 0, 0);
    EXPECT_EQ(f().StatusBar1.panel(2).text(),
              "README.No扩展名(" + std::to_string(readme.index()) + "/8)");
    h.ui.dismissPopup();
    f().ListView1.userMouseDown(platform::RightButton, 0, 0, 0, &row(f(), "img"));
    f().ListView1.userMouseUp(platform::RightButton, 0, 0, 0);
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "img(1/8)");
}

TEST_F(DiscPage, TheViewItemsCarryOneCheckMark) {
    EXPECT_EQ(f().ListView1.view(), platform::ListView::Report);
    EXPECT_TRUE(f().AlterListviewStyle3.checked());
    struct Case {
        platform::MenuItem* item;
        int view;
    };
    for (const Case& c :
         std::vector<Case>{{&f().AlterListviewStyle2, platform::ListView::List},
                           {&f().AlterListviewStyle2, platform::ListView::List},
                           {&f().AlterListviewStyle1, platform::ListView::SmallIcons},
                           {&f().AlterListviewStyle3, platform::ListView::Report}}) {
        c.item->userClick();
        EXPECT_EQ(f().ListView1.view(), c.view);
        for (platform::MenuItem* m :
             {&f().AlterListviewStyle1, &f().AlterListviewStyle2, &f().AlterListviewStyle3})
            EXPECT_EQ(m->checked(), m == c.item) << m->name();
    }
}

TEST_F(DiscPage, ThePopupHoldsItsItemsInOrder) {
    Strings names;
    for (const platform::MenuItem* m : f().pop2.items()) names.push_back(m->caption());
    EXPECT_EQ(names,
              (Strings{"打开硬盘上的映象文件", "打开光盘上的文件",
                       "从目录文件中删除这个文件(如果是扫描硬盘，就把硬盘上对应的文件删除)",
                       "删除硬盘上对应的映象文件", "-", "修改或添加[使用情况]", "修改或添加备注",
                       "自动提取文件备注", "-", "文件夹属性", "把选中的文件或文件夹加入\"文库\"",
                       "查找软件说明", "填写软件说明", "-", "打钩当前目录下的所有文件",
                       "打钩当前光盘上的所有index.htm和default.htm文件",
                       "打钩当前光盘上的所有Readme文件", "-", "发送到"}));
    names.clear();
    for (const platform::MenuItem* m : f().SendToto.items()) names.push_back(m->caption());
    EXPECT_EQ(names, (Strings{"我的文档", "D盘", "你的文件夹", "-", "定义你的文件夹"}));
}
