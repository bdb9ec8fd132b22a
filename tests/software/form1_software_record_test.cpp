// The software record form: a click on a category chooses the form's
// category, a click on a record loads it; saving new and edited records with
// class.ini and the tree kept in step; failures that keep the form.
#include <filesystem>
#include <string>

#include "platform/files/committed_write.h"
#include "platform/text/text.h"
#include "software/software_steps.h"

using namespace software_test;

namespace {

namespace fs = std::filesystem;

const std::string Classes =
    lines({"==工具", "=网络", "{#$}A", "下载", "{#$}B", "==网络游戏", "==游戏"});

const std::string NewQuestion = "你要保存新建软件N?";

class SoftwareRecord : public SoftwarePage {
  protected:
    void SetUp() override {
        h.write(recordPath("A"), recordText("A", "工具\\网络", "2.0"));
        h.write(recordPath("B"), recordText("B", "工具\\网络\\下载"));
        start(Classes);
        categoryView();
    }
};

// Makes the next committed write of a file of that name fail.
platform::files::CommitHook failWriteOf(std::string name, bool& failed) {
    return [name, &failed](platform::files::CommitStep step, const std::string& path) {
        if (!failed && step == platform::files::CommitStep::Rename &&
            fs::path(path).filename() == name) {
            failed = true;
            platform::raise(platform::err::PermissionDenied);
        }
    };
}

TEST_F(SoftwareRecord, ClickingARecordLoadsItsFields) {
    h.write(recordPath("A"),
            "  软件版本：  3.1  \r\n软件作者：甲\r\n软件作者：乙\r\n软件主页：http：//x\r\n"
            "软件名称 ：no\r\n软件等级：7\r\n软件分类：工具\\网络\r\n软件名称：A\r\n");
    click("A");
    EXPECT_EQ(form(),
              (Strings{"A", "3.1", "", "", "乙", "", "工具\\网络", "", "http：//x", "", "7", ""}));
    EXPECT_EQ(f.ExistSoftName, "A");
    EXPECT_EQ(f.SoftName, "");
    EXPECT_EQ(f.PreSoftCategoryT, "工具\\网络");
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "现在你也可以直接修改软件资料!");
}

TEST_F(SoftwareRecord, ClickingACategoryChangesOnlyTheCategoryField) {
    click("A");
    const Strings before = form();
    click("下载");
    Strings expected = before;
    expected[software::CategoryField] = "工具\\网络\\下载";
    EXPECT_EQ(form(), expected);
    EXPECT_EQ(f.ExistSoftName, "A");
    EXPECT_EQ(f.PreSoftCategoryT, "工具\\网络");
}

TEST_F(SoftwareRecord, AnUnreadableOrUnsafeRecordLeavesTheFormEmptyAndTheStateAsItWas) {
    click("A");
    // A record without a name line, one whose file is missing, and one whose
    // name would lead out of the folder.
    h.write(recordPath("B"), "软件版本：9\r\n");
    h.write("C:\\zelbrin\\x.txt", recordText("x", "工具"));
    h.write(ClassFile, Classes + lines({"{#$}..\\x", "{#$}Gone"}));
    f.refreshSoft.userClick();
    click("B");
    EXPECT_EQ(form()[software::VersionField], "9");
    EXPECT_EQ(form()[software::NameField], "");
    for (const char* name : {"Gone", "..\\x"}) {
        SCOPED_TRACE(name);
        click(name);
        EXPECT_EQ(form(), Strings(12, ""));
        EXPECT_EQ(f.ExistSoftName, "A");
        EXPECT_EQ(f.PreSoftCategoryT, "工具\\网络");
    }
    EXPECT_TRUE(h.ui.messages().empty());
    // Saving now asks for the name: the form holds none.
    h.ui.answerMsgBox(platform::MsgYes, "你要保存软件A的修改?");
    h.ui.answerMsgBox(platform::MsgOK, "软件名文本框不能为空！");
    f.SaveSoft.userClick();
    EXPECT_EQ(h.read(recordPath("A")), recordText("A", "工具\\网络", "2.0"));
}

TEST_F(SoftwareRecord, NewRecordIsFiledBelowItsCategoryAndWritten) {
    newRecord("N");
    click("下载");
    f.SoftVersionT.userType("1.5");
    f.SoftDescriptionT.userType("one\r\ntwo\r\nthree");
    f.SoftRankT.userType("5");
    save(NewQuestion);
    h.ui.verifyAllUsed();
    EXPECT_EQ(h.read(ClassFile), lines({"==工具", "=网络", "{#$}A", "下载", "{#$}N", "{#$}B",
                                        "==网络游戏", "==游戏"}));
    EXPECT_EQ(h.readBytes(recordPath("N")),
              platform::text::toCp936(
                  "软件名称：N\r\n软件版本：1.5\r\n软件类型：共享软件 免费软件 商业软件\r\n"
                  "软件大小：\r\n软件作者：\r\n邮箱地址：\r\n软件分类：工具\\网络\\下载\r\n"
                  "软件序列号：\r\n软件主页：http://\r\n下载网址：\r\n软件等级：5\r\n"
                  "软件简介：onetwothree\r\n"));
    EXPECT_EQ(f.TreeView3.item("N").parent()->key(), "下载");
    EXPECT_EQ(f.TreeView3.item("N").image(), 99);
    EXPECT_EQ(form(), Strings(12, ""));
    EXPECT_EQ(f.SoftName, "");
    EXPECT_EQ(f.ExistSoftName, "");
    // A second save at once asks for a name.
    h.ui.answerMsgBox(platform::MsgOK,
                      "没有软件名,请点击[软件管理/新建软件说明]菜单,先填写软件名字!");
    f.Toolbar1.userClick("save");
}

TEST_F(SoftwareRecord, CategoryIsTheWholeLineNeverOneThatEndsWithTheName) {
    newRecord("N");
    click("游戏");
    save(NewQuestion);
    EXPECT_EQ(h.read(ClassFile), lines({"==工具", "=网络", "{#$}A", "下载", "{#$}B", "==网络游戏",
                                        "==游戏", "{#$}N"}));
}

TEST_F(SoftwareRecord, InTheAlphabeticalListANewRecordIsATopNode) {
    newRecord("N");
    click("网络");
    f.softlist.userClick();
    save(NewQuestion);
    EXPECT_EQ(tree(), (Strings{"A [A] 99", "B [B] 99", "N [N] 99"}));
    EXPECT_EQ(h.read(ClassFile), lines({"==工具", "=网络", "{#$}N", "{#$}A", "下载", "{#$}B",
                                        "==网络游戏", "==游戏"}));
}

TEST_F(SoftwareRecord, NoAndFailedChecksChangeNothing) {
    newRecord("N");
    const Strings filled = form();
    h.ui.answerMsgBox(platform::MsgNo, NewQuestion);
    f.SaveSoft.userClick();
    h.ui.answerMsgBox(platform::MsgYes, NewQuestion);
    h.ui.answerMsgBox(
        platform::MsgOK,
        "必须要选择软件所属的分类！请点击[软件管理/软件按分类排列]菜单，然后选择分类");
    f.SaveSoft.userClick();
    h.ui.verifyAllUsed();
    EXPECT_EQ(form(), filled);
    EXPECT_EQ(f.SoftName, "N");
    EXPECT_FALSE(h.exists(recordPath("N")));
    EXPECT_EQ(h.read(ClassFile), Classes);
}

TEST_F(SoftwareRecord, CategoryGoneFromTheFileIsToldAndTheSaveCanBeTriedAgain) {
    newRecord("N");
    click("网络");
    h.write(ClassFile, lines({"==工具", "==游戏"}));
    h.ui.answerMsgBox(platform::MsgYes, NewQuestion);
    h.ui.answerMsgBox(platform::MsgOK, "没有你选择的分类!请重新选择");
    f.SaveSoft.userClick();
    h.ui.verifyAllUsed();
    EXPECT_FALSE(h.exists(recordPath("N")));
    EXPECT_EQ(h.read(ClassFile), lines({"==工具", "==游戏"}));
    EXPECT_EQ(f.SoftName, "N");
    EXPECT_EQ(form()[software::CategoryField], "工具\\网络");
    // The node stays under the selected category until the view is reloaded.
    EXPECT_EQ(f.TreeView3.item("N").parent()->key(), "网络");

    f.refreshSoft.userClick();
    click("游戏");
    save(NewQuestion);
    EXPECT_EQ(h.read(ClassFile), lines({"==工具", "==游戏", "{#$}N"}));
    EXPECT_TRUE(h.exists(recordPath("N")));
}

TEST_F(SoftwareRecord, FailedWriteIsToldKeepsTheFormAndUndoesTheFiling) {
    for (const char* failing : {"N.txt", "class.ini"}) {
        SCOPED_TRACE(failing);
        newRecord("N");
        click("下载");
        const Strings filled = form();
        bool failed = false;
        {
            const platform::files::ScopedCommitHook hook(failWriteOf(failing, failed));
            h.ui.answerMsgBox(platform::MsgYes, NewQuestion);
            h.ui.answerMsgBox(platform::MsgOK, "保存失败！");
            f.SaveSoft.userClick();
            h.ui.verifyAllUsed();
        }
        EXPECT_TRUE(failed);
        EXPECT_FALSE(h.exists(recordPath("N")));
        EXPECT_EQ(h.read(ClassFile), Classes);
        EXPECT_EQ(f.TreeView3.find("N"), nullptr);
        EXPECT_EQ(form(), filled);
        EXPECT_EQ(f.SoftName, "N");
        // Another try goes through.
        save(NewQuestion);
        EXPECT_TRUE(h.exists(recordPath("N")));
        EXPECT_EQ(f.TreeView3.item("N").parent()->key(), "下载");
        f.TreeView3.remove("N");
        fs::remove(h.nativePath(recordPath("N")));
        h.write(ClassFile, Classes);
    }
}

TEST_F(SoftwareRecord, ExistingFileOfANewNameIsWrittenOverWithoutFiling) {
    // A file that appeared after the name check.
    newRecord("N");
    click("游戏");
    h.write(recordPath("n"), "old\r\n");
    save(NewQuestion);
    EXPECT_EQ(h.read(ClassFile), Classes);
    EXPECT_EQ(f.TreeView3.find("N"), nullptr);
    EXPECT_TRUE(h.read(recordPath("n")).starts_with("软件名称：N\r\n"));
    EXPECT_FALSE(fs::exists(fs::path(h.nativePath("C:\\zelbrin\\software")) / "N.txt"));
}

TEST_F(SoftwareRecord, EditedRecordInItsOwnCategoryRewritesOnlyItsFile) {
    click("A");
    f.SoftAuthorT.userType("作者");
    save("你要保存软件A的修改?");
    EXPECT_EQ(h.read(recordPath("A")).find("软件作者：作者\r\n") != std::string::npos, true);
    EXPECT_EQ(h.read(recordPath("A")).find("软件版本：2.0\r\n") != std::string::npos, true);
    EXPECT_EQ(h.read(ClassFile), Classes);
    EXPECT_EQ(f.TreeView3.item("A").parent()->key(), "网络");
    EXPECT_EQ(f.ExistSoftName, "");
    EXPECT_EQ(form(), Strings(12, ""));
}

TEST_F(SoftwareRecord, EditedRecordMovedToAnotherCategory) {
    h.write(ClassFile, Classes + lines({"{#$}A"}));
    f.refreshSoft.userClick();
    click("A");
    click("游戏");
    save("你要保存软件A的修改?");
    EXPECT_EQ(h.read(ClassFile),
              lines({"==工具", "=网络", "下载", "{#$}B", "==网络游戏", "==游戏", "{#$}A"}));
    EXPECT_EQ(f.TreeView3.item("A").parent()->key(), "游戏");
    EXPECT_NE(h.read(recordPath("A")).find("软件分类：游戏\r\n"), std::string::npos);
}

TEST_F(SoftwareRecord, EditedRecordWhoseCategoryIsGoneKeepsTheForm) {
    click("A");
    click("游戏");
    h.write(ClassFile, lines({"==工具", "=网络", "{#$}A"}));
    h.ui.answerMsgBox(platform::MsgYes, "你要保存软件A的修改?");
    h.ui.answerMsgBox(platform::MsgOK, "没有你选择的分类!请重新选择");
    f.SaveSoft.userClick();
    h.ui.verifyAllUsed();
    EXPECT_EQ(h.read(ClassFile), lines({"==工具", "=网络", "{#$}A"}));
    // Nothing is written: the record's file keeps its old text.
    EXPECT_EQ(h.read(recordPath("A")), recordText("A", "工具\\网络", "2.0"));
    EXPECT_EQ(f.ExistSoftName, "A");
    EXPECT_EQ(form()[software::CategoryField], "游戏");
}

TEST_F(SoftwareRecord, EditedRecordIsSavedIntoTheFileItWasReadFrom) {
    // A name line that names no other record's file.
    h.write(recordPath("A"), recordText("Other", "工具\\网络"));
    click("A");
    f.SoftAuthorT.userType("作者");
    save("你要保存软件Other的修改?");
    EXPECT_NE(h.read(recordPath("A")).find("软件作者：作者\r\n"), std::string::npos);
    EXPECT_FALSE(h.exists(recordPath("Other")));
    EXPECT_EQ(h.read(ClassFile), Classes);
    EXPECT_EQ(f.ExistSoftName, "");
}

TEST_F(SoftwareRecord, NameLineOfAnotherRecordsFileAsksBeforeThatFileIsReplaced) {
    // A renamed in the tree to R (its name line still says A), then a new
    // record A.
    h.write(recordPath("R"), recordText("A", "工具\\网络", "2.0"));
    const std::string other = recordText("A", "游戏", "9.9");
    h.write(recordPath("A"), other);
    h.write(ClassFile,
            lines({"==工具", "=网络", "{#$}R", "下载", "{#$}B", "==网络游戏", "==游戏", "{#$}A"}));
    f.refreshSoft.userClick();
    const std::string question = "已经有一个名为“A”的软件说明，要替换它吗？";
    for (const auto answer : {platform::MsgNo, platform::MsgYes}) {
        SCOPED_TRACE(answer);
        click("R");
        f.SoftAuthorT.userType("作者");
        h.ui.answerMsgBox(platform::MsgYes, "你要保存软件A的修改?");
        h.ui.answerMsgBox(answer, question);
        f.SaveSoft.userClick();
        h.ui.verifyAllUsed();
        if (answer == platform::MsgNo) {
            // Both kept, nothing written, the form as it was.
            EXPECT_EQ(h.read(recordPath("A")), other);
            EXPECT_EQ(h.read(recordPath("R")), recordText("A", "工具\\网络", "2.0"));
            EXPECT_EQ(f.ExistSoftName, "A");
            EXPECT_EQ(f.SoftAuthorT.text(), "作者");
        } else {
            EXPECT_NE(h.read(recordPath("A")).find("软件作者：作者\r\n"), std::string::npos);
            EXPECT_EQ(h.read(recordPath("R")), recordText("A", "工具\\网络", "2.0"));
            EXPECT_EQ(f.ExistSoftName, "");
        }
    }
}

TEST_F(SoftwareRecord, NameLineThatLeadsOutOfTheFolderIsRefused) {
    h.write(recordPath("A"), recordText("..\\..\\evil", "工具\\网络"));
    click("A");
    h.ui.answerMsgBox(platform::MsgYes, "你要保存软件..\\..\\evil的修改?");
    h.ui.answerMsgBox(platform::MsgOK, "名字中不能含有 \\ / : * ? \" < > | 等字符！");
    f.SaveSoft.userClick();
    h.ui.verifyAllUsed();
    EXPECT_FALSE(h.exists("C:\\evil.txt"));
    EXPECT_EQ(f.ExistSoftName, "..\\..\\evil");
    EXPECT_EQ(form()[software::NameField], "..\\..\\evil");
}

TEST_F(SoftwareRecord, EditedFileThatCannotBeWrittenIsToldAndTheFormStays) {
    click("A");
    click("游戏");
    bool failed = false;
    {
        const platform::files::ScopedCommitHook hook(failWriteOf("A.txt", failed));
        h.ui.answerMsgBox(platform::MsgYes, "你要保存软件A的修改?");
        h.ui.answerMsgBox(platform::MsgOK, "保存失败！");
        f.SaveSoft.userClick();
        h.ui.verifyAllUsed();
    }
    EXPECT_EQ(h.read(recordPath("A")), recordText("A", "工具\\网络", "2.0"));
    EXPECT_EQ(h.read(ClassFile), Classes);
    EXPECT_EQ(f.TreeView3.item("A").parent()->key(), "网络");
    EXPECT_EQ(f.ExistSoftName, "A");
}

TEST_F(SoftwareRecord, NameAndCategoryFieldsAreNotTyped) {
    EXPECT_TRUE(f.SoftNameT.locked());
    EXPECT_TRUE(f.SoftCategoryT.locked());
    EXPECT_FALSE(f.SoftVersionT.locked());
}

}  // namespace
