// The scripted Ui of the behaviour tests: it must answer as queued, fail a
// test on anything the test did not expect, and catch answers left over.
#include "support/scripted_ui.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/common_dialog.h"
#include "platform/controls/form.h"
#include "platform/controls/menu.h"
#include "platform/controls/simple_controls.h"
#include "support/form_env.h"

namespace {

using platform::MsgButtons;
using testsupport::ScriptedUi;
using testsupport::ShownKind;

// A dialog with OK and Cancel whose close box counts as Cancel.
class AskDialog : public platform::Form {
  public:
    AskDialog(platform::Services& services, std::string& result)
        : Form(services, "AskDialog"), result_(result) {
        setCaption("问题");
        OKButton.Click = [this] { finish("ok"); };
        CancelButton.Click = [this] { finish("cancel"); };
    }
    platform::TextBox Text1{*this, "Text1"};
    platform::CommandButton OKButton{*this, "OKButton"};
    platform::CommandButton CancelButton{*this, "CancelButton"};

  protected:
    void onCloseBox() override { finish("closed"); }

  private:
    void finish(const char* how) {
        result_ = std::string(how) + ":" + Text1.text();
        unload();
    }
    std::string& result_;
};

// A second dialog type, so that scripts are matched by type.
class OtherDialog : public platform::Form {
  public:
    explicit OtherDialog(platform::Services& services) : Form(services, "OtherDialog") {}
    bool refuseClose = false;

  protected:
    void Form_QueryUnload(int& cancel, platform::UnloadMode) override {
        cancel = refuseClose ? 1 : 0;
    }
};

class ScriptedUiTest : public ::testing::Test, public testsupport::FormEnv<ScriptedUi> {
  protected:
    std::string ownerResult;
    AskDialog owner{services, ownerResult};
};

TEST_F(ScriptedUiTest, UnexpectedBoxFailsTheTestAndAnswersAsCancel) {
    struct Case {
        MsgButtons buttons;
        int expected;
    };
    for (Case c :
         {Case{MsgButtons::OK, platform::MsgOK}, Case{MsgButtons::OKCancel, platform::MsgCancel},
          Case{MsgButtons::YesNo, platform::MsgNo}}) {
        int answer = 0;
        EXPECT_NONFATAL_FAILURE(answer = ui.msgBox("光盘名已经存在！", c.buttons, "提示"),
                                "光盘名已经存在！");
        EXPECT_EQ(answer, c.expected);
    }
    std::string typed = "x";
    EXPECT_NONFATAL_FAILURE(typed = ui.inputBox("请输入你的光驱的盘符！", "信息", ""),
                            "请输入你的光驱的盘符！");
    EXPECT_EQ(typed, "");
    std::string folder = "x";
    EXPECT_NONFATAL_FAILURE(folder = ui.browseForFolder("选定要拷贝的目的文件夹。"),
                            "选定要拷贝的目的文件夹。");
    EXPECT_EQ(folder, "");

    platform::CommonDialog dialog(owner, "CommonDialog1");
    dialog.setFileName("C:\\old.wcd");
    dialog.setColor(0x0000FF);
    bool chosen = true;
    EXPECT_NONFATAL_FAILURE(chosen = dialog.showOpen(), "unexpected open dialog");
    EXPECT_FALSE(chosen);
    EXPECT_NONFATAL_FAILURE(chosen = dialog.showSave(), "unexpected save dialog");
    EXPECT_FALSE(chosen);
    EXPECT_NONFATAL_FAILURE(chosen = dialog.showColor(), "unexpected colour dialog");
    EXPECT_FALSE(chosen);
    EXPECT_EQ(dialog.fileName(), "C:\\old.wcd");
    EXPECT_EQ(dialog.color(), 0x0000FFu);

    platform::MenuItem pop(owner, "pop1");
    platform::MenuItem refresh(pop, "refresh2", "刷新");
    int clicks = 0;
    refresh.Click = [&] { ++clicks; };
    EXPECT_NONFATAL_FAILURE(owner.popupMenu(pop, 100, 800), "unexpected pop-up menu \"pop1\"");
    EXPECT_EQ(clicks, 0);

    EXPECT_EQ(ui.log().size(), 9u);
}

TEST_F(ScriptedUiTest, QueuedAnswersAreGivenInOrderAndLogged) {
    ui.answerMsgBox(platform::MsgYes);
    ui.answerMsgBox(platform::MsgCancel, "确实要删除 {A} 光盘吗？");
    ui.answerInputBox("e");
    ui.answerInputBox(std::nullopt);
    ui.answerFolder("D:\\copies");

    EXPECT_EQ(ui.msgBox("要拷贝的光盘名是A！是否正确？", MsgButtons::YesNo, "信息"),
              platform::MsgYes);
    EXPECT_EQ(ui.msgBox("确实要删除 {A} 光盘吗？", MsgButtons::OKCancel, ""), platform::MsgCancel);
    EXPECT_EQ(ui.inputBox("请输入你的光驱的盘符！", "信息", ""), "e");
    EXPECT_EQ(ui.inputBox("请输入文件名，不用输入文件扩展名。", "信息", ""), "");
    EXPECT_EQ(ui.browseForFolder("选定要拷贝的目的文件夹。"), "D:\\copies");
    EXPECT_TRUE(ui.allUsed());

    ASSERT_EQ(ui.log().size(), 5u);
    const testsupport::Shown& second = ui.log()[1];
    EXPECT_EQ(second.kind, ShownKind::MsgBox);
    EXPECT_EQ(second.title, "Zelbrin");  // no title of its own
    EXPECT_EQ(second.buttons, MsgButtons::OKCancel);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"要拷贝的光盘名是A！是否正确？",
                                                       "确实要删除 {A} 光盘吗？"}));
}

TEST_F(ScriptedUiTest, AnswerThatDoesNotFitTheBoxFailsTheTest) {
    ui.answerMsgBox(platform::MsgOK, "请选择光盘！");
    EXPECT_NONFATAL_FAILURE(ui.msgBox("请先点击光盘标签！", MsgButtons::OK, "提示"),
                            "the test expected \"请选择光盘！\"");
    ui.answerMsgBox(platform::MsgYes);
    int answer = 0;
    EXPECT_NONFATAL_FAILURE(
        answer = ui.msgBox("确实要删除 {A} 光盘吗？", MsgButtons::OKCancel, "提示"),
        "cannot answer 6");
    EXPECT_EQ(answer, platform::MsgCancel);
}

TEST_F(ScriptedUiTest, FileAnswersSetTheDialogOrLeaveItAsItWas) {
    platform::CommonDialog dialog(owner, "CommonDialog1");
    dialog.setFileName("[001]A");
    ui.answerSave("D:\\backup\\[001]A.wcd");
    ui.answerOpen(std::nullopt);
    ui.answerColor(0x00FF00);

    EXPECT_TRUE(dialog.showSave());
    EXPECT_EQ(dialog.fileName(), "D:\\backup\\[001]A.wcd");
    EXPECT_EQ(dialog.fileTitle(), "[001]A.wcd");
    EXPECT_FALSE(dialog.showOpen());
    EXPECT_EQ(dialog.fileName(), "D:\\backup\\[001]A.wcd");
    EXPECT_TRUE(dialog.showColor());
    EXPECT_EQ(dialog.color(), 0x00FF00u);

    ui.answerOpen("C:\\a.wcd");
    bool chosen = true;
    EXPECT_NONFATAL_FAILURE(chosen = dialog.showSave(),
                            "the next queued answer is for the open dialog");
    EXPECT_FALSE(chosen);
}

TEST_F(ScriptedUiTest, ModalScriptsRunByTypeInOrderAndTheCloseBoxCountsAsCancel) {
    std::vector<std::string> results;
    ui.onModal<AskDialog>([](AskDialog& d) {
        d.Text1.userType("第一");
        d.OKButton.userClick();
    });
    ui.onModal<OtherDialog>([](OtherDialog& d) { EXPECT_TRUE(d.loaded()); });
    ui.onModal<AskDialog>([](AskDialog& d) { d.Text1.userType("第二"); });  // leaves it open

    OtherDialog other(services);
    other.showModal();
    EXPECT_FALSE(other.loaded());  // closed by its close box after the script
    for (int i = 0; i < 2; ++i) {
        std::string result;
        AskDialog dlg(services, result);
        dlg.showModal();
        EXPECT_FALSE(dlg.loaded());
        results.push_back(result);
    }
    EXPECT_EQ(results, (std::vector<std::string>{"ok:第一", "closed:第二"}));
    EXPECT_TRUE(ui.allUsed());

    std::string result;
    AskDialog unscripted(services, result);
    EXPECT_NONFATAL_FAILURE(unscripted.showModal(),
                            "unexpected modal form \"AskDialog\" (caption \"问题\")");
    EXPECT_EQ(result, "closed:");

    ui.onModal("OtherDialog", [](platform::Form&) {});
    OtherDialog stubborn(services);
    stubborn.refuseClose = true;
    EXPECT_NONFATAL_FAILURE(stubborn.showModal(), "stays loaded after its close box");
}

TEST_F(ScriptedUiTest, PopupChoiceRunsTheItemsClickBeforeReturning) {
    platform::MenuItem pop(owner, "pop4");
    pop.setVisible(false);
    platform::MenuItem refresh(pop, "refresh1", "刷新");
    platform::MenuItem sub(pop, "htmlcopyfile1",
                           "生成网页时是否把光盘上的文件拷贝到对应位置以便下载");
    platform::MenuItem all(sub, "htmlcopyall1", "拷贝所有文件");
    platform::MenuItem hidden(pop, "hiddenItem", "x");
    hidden.setVisible(false);
    std::vector<std::string> clicked;
    refresh.Click = [&] { clicked.push_back("refresh1"); };
    all.Click = [&] { clicked.push_back("htmlcopyall1"); };

    ui.choosePopup("htmlcopyall1");
    ui.dismissPopup();
    ui.choosePopup("refresh1");
    owner.popupMenu(pop, 100, 800);
    owner.popupMenu(pop, 100, 800);
    EXPECT_EQ(clicked, (std::vector<std::string>{"htmlcopyall1"}));
    owner.popupMenu(pop, 4100, 1300);
    EXPECT_EQ(clicked, (std::vector<std::string>{"htmlcopyall1", "refresh1"}));
    EXPECT_EQ(ui.log().back().prompt, "pop4");
    EXPECT_EQ(ui.log().back().x, 4100);
    EXPECT_EQ(ui.log().back().y, 1300);

    ui.choosePopup("hiddenItem");
    EXPECT_NONFATAL_FAILURE(owner.popupMenu(pop, 0, 0), "shows no item \"hiddenItem\"");
}

TEST_F(ScriptedUiTest, LeftoverAnswersFailTheTestOnce) {
    ui.answerMsgBox(platform::MsgOK, "整理完毕,请刷新一下");
    ui.onModal<OtherDialog>([](OtherDialog&) {});
    ui.choosePopup("refresh1");
    EXPECT_FALSE(ui.allUsed());
    EXPECT_NONFATAL_FAILURE(ui.verifyAllUsed(), "整理完毕,请刷新一下");
    EXPECT_TRUE(ui.allUsed());  // reported once, then dropped

    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUi other;
            other.answerInputBox("e");
        },
        "input box answer \"e\"");
}

}  // namespace
