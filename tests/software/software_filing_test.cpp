// Filing imported records (整理归类新导入的外来软件 from the tree's pop-up
// menu or the menu 软件管理): record files copied into the software folder
// are filed by their own category value, each decided by its name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwindow/web_links.h"
#include "software/crlf_text.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;

constexpr const char* ClassFile = "C:\\zelbrin\\class.ini";
constexpr const char* Ready =
    "在点击这个菜单之前，你必须把新得到软件说明文件放在[software]文件夹下，这些工作做好了吗？";
constexpr const char* Done = "整理完毕,请刷新一下";

using software_test::crlf;

std::string nothingNew() {
    return "没有新添软件说明，如果需要可到" + std::string(weblinks::SoftwareDownload) + "下载！";
}

class Filing : public ::testing::Test {
  protected:
    // A record file of that name whose line "软件分类：" holds the value
    // (none: no such line).
    void addRecord(const std::string& name, std::optional<std::string> category) {
        std::string text = "软件名称：" + name + "\r\n软件版本：\r\n";
        if (category) text += "软件分类：" + *category + "\r\n";
        h.write("C:\\zelbrin\\software\\" + name + ".txt", text + "软件简介：\r\n");
    }
    void start(bool categoryView) {
        h.start();
        h.form.TabStrip1.userSelect(3);
        if (categoryView) h.form.softlist.userClick();
        h.ui.clearLog();
    }
    std::string classText() { return h.read(ClassFile); }

    Harness h;
};

TEST_F(Filing, NewRecordsGoBelowTheirCategoriesAndTheRestToTheCatchAll) {
    h.write(ClassFile, crlf("==工具|=网络|{#$}A|下载|==其他|{#$}old|"));
    addRecord("A", "工具\\网络");       // filed already
    addRecord("下载器", "工具\\网络");  // below =网络, above {#$}A
    addRecord("dl", "x\\y\\下载");      // only the last name is sought
    addRecord("top", "工具");
    addRecord("lost", "无此类");
    addRecord("bare", std::nullopt);  // no category value
    addRecord("deep", "a\\b\\c\\d");  // a fourth level
    start(true);
    h.ui.answerMsgBox(platform::MsgYes, Ready);
    h.ui.answerMsgBox(platform::MsgOK, Done);
    h.form.ClassSoft1.userClick();
    EXPECT_EQ(classText(), crlf("==工具|{#$}top|=网络|{#$}下载器|{#$}A|下载|{#$}dl|==其他|{#$}old|"
                                "==无相应类别软件|{#$}bare|{#$}deep|{#$}lost|"));
    EXPECT_EQ(h.form.caption(), "Zelbrin");
    EXPECT_EQ(h.form.File1.path(), "C:\\");
    EXPECT_EQ(h.form.File1.pattern(), "*.*");
    // The tree is not touched until 刷新.
    EXPECT_EQ(h.form.TreeView3.find("下载器"), nullptr);
}

TEST_F(Filing, TheCatchAllKeepsItsRecordsWhenACategoryFollowsIt) {
    h.write(ClassFile, crlf("==无相应类别软件|{#$}X|==甲|{#$}Y"));
    addRecord("X", "?");
    addRecord("Y", "甲");
    addRecord("new", "?");
    start(false);  // the alphabetical list: no closing message
    h.ui.answerMsgBox(platform::MsgYes, Ready);
    h.form.ClassSoft1.userClick();
    EXPECT_EQ(classText(), crlf("==无相应类别软件|{#$}X|{#$}new|==甲|{#$}Y|"));
}

TEST_F(Filing, EachRecordIsDecidedByItsOwnName) {
    // As many lines as files, but abc is not filed ({#$}abcd is another
    // record, gone is a record without a file).
    h.write(ClassFile, crlf("==工具|{#$}abcd|{#$}gone|"));
    addRecord("abcd", "工具");
    addRecord("abc", "工具");
    start(true);
    h.ui.answerMsgBox(platform::MsgYes, Ready);
    h.ui.answerMsgBox(platform::MsgOK, Done);
    h.form.TreeView3.setSelectedItem(h.form.TreeView3.firstRoot());
    h.ui.choosePopup("ClassSoft");
    h.form.TreeView3.userMouseDown(platform::RightButton, 0, 10, 10);
    EXPECT_EQ(classText(), crlf("==工具|{#$}abc|{#$}abcd|{#$}gone|"));

    // A second run finds nothing new and writes nothing.
    h.write(ClassFile, crlf("==工具|{#$}abc|{#$}abcd"));
    h.ui.answerMsgBox(platform::MsgYes, Ready);
    h.ui.answerMsgBox(platform::MsgOK, nothingNew());
    h.form.ClassSoft1.userClick();
    EXPECT_EQ(classText(), crlf("==工具|{#$}abc|{#$}abcd"));
}

TEST_F(Filing, NoReadsOrWritesNothingAndAMissingCategoryFileIsMade) {
    addRecord("A", "工具");
    start(false);
    h.ui.answerMsgBox(platform::MsgNo, Ready);
    h.form.ClassSoft1.userClick();
    EXPECT_FALSE(h.exists(ClassFile));
    h.ui.answerMsgBox(platform::MsgYes, Ready);
    h.form.ClassSoft1.userClick();
    EXPECT_EQ(classText(), crlf("==无相应类别软件|{#$}A|"));
}

}  // namespace
