// The software tree: the alphabetical list at start-up, the category view from
// class.ini, switching and reloading the view, a node chosen by its number,
// and the pop-up menu.
#include <filesystem>
#include <string>

#include "mainwindow/startup.h"
#include "platform/text/text.h"
#include "software/software_steps.h"
#include "support/unreadable_file.h"

using namespace software_test;

namespace {

const std::string ThreeLevels =
    lines({"==工具", "=网络", "{#$}A", "下载", "{#$}B", "=系统", "{#$}K"});

TEST_F(SoftwarePage, StartsWithTheAlphabeticalListOfTheRecordFiles) {
    h.write(recordPath("b"), "");
    h.write(recordPath("A"), "");
    h.write("C:\\zelbrin\\software\\c.TXT", "");
    h.write(recordPath("a.b"), "");
    h.write("C:\\zelbrin\\software\\notes.doc", "");
    start(ThreeLevels);
    // In the file list's order: by name, letter case ignored ("A.B.TXT" < "A.TXT").
    EXPECT_EQ(tree(), (Strings{"a.b [a.b] 99", "A [A] 99", "b [b] 99", "c [c] 99"}));
    EXPECT_EQ(f.softlist.caption(), ToCategoryView);
    EXPECT_EQ(f.StatusBar1.panel(2).text(),
              "共有4个软件，你可以按数字或者首字母选中你的软件，而无须拖动滚动条。");
    // The hidden file list is left as it rests.
    EXPECT_EQ(platform::text::lcase(f.File1.path()), "c:\\");
    EXPECT_EQ(f.File1.pattern(), "*.*");
}

TEST_F(SoftwarePage, SwitchingShowsTheCategoryViewAndBack) {
    start(ThreeLevels, {"Z"});
    categoryView();
    EXPECT_EQ(f.softlist.caption(), ToAlphabeticalList);
    EXPECT_EQ(f.softlist1.caption(), ToAlphabeticalList);
    EXPECT_EQ(f.TreeView3.lineStyle(), 1);
    EXPECT_EQ(tree(), (Strings{"工具 [工具] 94", "工具>网络 [网络] 94", "网络>A [A] 99",
                               "网络>下载 [下载] 94", "下载>B [B] 99", "工具>系统 [系统] 94",
                               "系统>K [K] 99"}));
    EXPECT_EQ(f.TreeView3.item("B").fullPath(), "工具\\网络\\下载\\B");

    // The pop-up's item and the toolbar button switch back.
    f.softlist1.userClick();
    EXPECT_EQ(f.softlist.caption(), ToCategoryView);
    EXPECT_EQ(f.softlist1.caption(), ToCategoryView);
    EXPECT_EQ(f.TreeView3.lineStyle(), 0);
    EXPECT_EQ(tree(), (Strings{"Z [Z] 99"}));
    f.Toolbar1.userClick("softlistbar");
    EXPECT_EQ(f.softlist.caption(), ToAlphabeticalList);
    EXPECT_EQ(f.TreeView3.count(), 7);
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(SoftwarePage, RefreshRebuildsTheViewShown) {
    start(lines({"==工具"}), {"A"});
    categoryView();
    h.write(ClassFile, lines({"==工具", "{#$}A", "==游戏"}));
    f.refreshSoft.userClick();
    EXPECT_EQ(tree(), (Strings{"工具 [工具] 94", "工具>A [A] 99", "游戏 [游戏] 94"}));
    EXPECT_EQ(f.softlist.caption(), ToAlphabeticalList);

    f.softlist.userClick();
    h.write(recordPath("B"), "");
    f.refreshSoft.userClick();
    EXPECT_EQ(tree(), (Strings{"A [A] 99", "B [B] 99"}));
    EXPECT_EQ(f.softlist.caption(), ToCategoryView);
}

TEST_F(SoftwarePage, MissingCategoryFileGivesAnEmptyViewUnreadableOneIsTold) {
    start("");
    categoryView();
    EXPECT_EQ(f.TreeView3.count(), 0);
    EXPECT_TRUE(h.ui.messages().empty());

    const std::string native = h.nativePath(ClassFile);
    for (testsupport::Unreadable kind : testsupport::unreadableKinds()) {
        SCOPED_TRACE(testsupport::kindName(kind));
        testsupport::UnreadableFile bad(native, kind);
        h.ui.answerMsgBox(platform::MsgOK, startup::unreadableFileMessage(ClassFile, bad.reason()));
        f.refreshSoft.userClick();
        h.ui.verifyAllUsed();
        EXPECT_EQ(f.TreeView3.count(), 0);
        EXPECT_TRUE(bad.unchanged());
        std::filesystem::remove(native);
    }
}

TEST_F(SoftwarePage, DigitsAndEnterChooseANodeByNumber) {
    std::string text = "==top\r\n";
    for (int i = 1; i < 40; ++i) text += "{#$}r" + std::to_string(i) + "\r\n";
    start(text);
    categoryView();
    ASSERT_EQ(f.TreeView3.count(), 40);
    auto type = [&](const std::string& keys) {
        for (char c : keys) f.TreeView3.userKeyPress(c == '\n' ? 13 : c);
    };
    type("1");
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "1/40");
    type("2");
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "12/40");
    type("\n");
    EXPECT_EQ(f.TreeView3.selectedItem()->text(), "r11");
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "");
    type("99\n");
    EXPECT_EQ(f.TreeView3.selectedItem()->text(), "r39");
    type("3\n");
    EXPECT_EQ(f.TreeView3.selectedItem()->text(), "r2");
    // 0 and Enter: nothing, and the digit stays; 5 then makes 05.
    type("0\n");
    EXPECT_EQ(f.TreeView3.selectedItem()->text(), "r2");
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "0/40");
    type("5\n");
    EXPECT_EQ(f.TreeView3.selectedItem()->text(), "r4");
    // A number too long for any tree is the last node.
    type("123456789012345678901234567890\n");
    EXPECT_EQ(f.TreeView3.selectedItem()->text(), "r39");
    // The node is only selected: the form stays empty.
    EXPECT_EQ(f.SoftNameT.text(), "");
}

TEST_F(SoftwarePage, EnterOnAnEmptyTreeForgetsTheDigits) {
    start("");
    categoryView();
    f.TreeView3.userKeyPress('4');
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "4/0");
    f.TreeView3.userKeyPress(13);
    EXPECT_EQ(f.TreeView3.selectedItem(), nullptr);
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "");
    EXPECT_EQ(f.TypedSoftNumber, "");
}

TEST_F(SoftwarePage, RightButtonPopsUpTheMenuWithoutChangingTheSelection) {
    start(ThreeLevels);
    categoryView();
    click("A");
    h.ui.dismissPopup();
    f.TreeView3.userMouseDown(platform::RightButton, 0, 300, 450);
    ASSERT_FALSE(h.ui.log().empty());
    const testsupport::Shown& shown = h.ui.log().back();
    EXPECT_EQ(shown.kind, testsupport::ShownKind::Popup);
    EXPECT_EQ(shown.prompt, "pop3");
    EXPECT_EQ(shown.x, 400);
    EXPECT_EQ(shown.y, 1250);
    EXPECT_EQ(f.TreeView3.selectedItem()->key(), "A");
    // The left button pops up nothing.
    f.TreeView3.userMouseDown(platform::LeftButton, 0, 300, 450);
    h.ui.verifyAllUsed();
}

TEST_F(SoftwarePage, PopupItemsSwitchAndRefresh) {
    start(ThreeLevels);
    h.ui.choosePopup("softlist1");
    f.TreeView3.userMouseDown(platform::RightButton, 0, 0, 0);
    EXPECT_EQ(f.softlist.caption(), ToAlphabeticalList);
    h.write(ClassFile, lines({"==x"}));
    h.ui.choosePopup("refreshSoft");
    f.TreeView3.userMouseDown(platform::RightButton, 0, 0, 0);
    EXPECT_EQ(tree(), (Strings{"x [x] 94"}));
}

}  // namespace
