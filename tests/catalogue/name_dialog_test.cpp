// The name dialog in its modes: the prompt and the mode line at loading, the
// name handed back by OK (to the software record's name in the record mode),
// and Cancel and the close box, which hand nothing back.
#include "catalogue/name_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/harness.h"

namespace {

using testsupport::Harness;

class NameDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { h.start(); }

    void show(std::function<void(Dialog1&)> script) {
        h.ui.onModal<Dialog1>(std::move(script));
        Dialog1 d(h.form);
        d.showModal();
    }

    Harness h;
};

TEST_F(NameDialogTest, TheModeLineFollowsTheModeWord) {
    struct Case {
        const char* mode;
        const char* line;
    };
    const Case cases[] = {
        {"insert", "你将建立一个顶级目录！"},
        {"insertsub", "    你将建立一个子目录，在 {音乐} 目录的下面！"},
        {"insertsoftbrother", "    你将建立一个目录，与 {音乐} 目录同级！"},
        {"insertsoftchild", "    你将建立一个目录，是 {音乐} 目录的子目录！"},
        {"Insert", ""},  // the comparison is exact
        {"", ""},
        {"rename", ""},
    };
    for (const auto& c : cases) {
        h.form.Txtcontent_Name = c.mode;
        h.form.Txt1 = "音乐";
        show([&](Dialog1& d) {
            EXPECT_EQ(d.caption(), "信息");
            EXPECT_EQ(d.Label1.caption(), "请输入目录名称:") << c.mode;
            EXPECT_EQ(d.Label2.caption(), c.line) << c.mode;
            EXPECT_EQ(d.Text1.text(), "");
            EXPECT_EQ(d.OKButton.caption(), "确定");
            EXPECT_EQ(d.CancelButton.caption(), "取消");
            d.CancelButton.userClick();
        });
    }
}

TEST_F(NameDialogTest, OkHandsTheNameBackAsTyped) {
    h.form.Txtcontent_Name = "insert";
    h.form.SoftName = "kept";
    show([](Dialog1& d) {
        d.Text1.userType(" 古典 音乐 ");
        d.OKButton.userClick();
    });
    EXPECT_TRUE(h.form.OkName);
    EXPECT_EQ(h.form.Txtcontent_Name, " 古典 音乐 ");
    EXPECT_EQ(h.form.SoftName, "kept");

    // An empty name is handed back too: the dialog does not test it.
    h.form.Txtcontent_Name = "insert";
    h.form.OkName = false;
    show([](Dialog1& d) { d.OKButton.userClick(); });
    EXPECT_TRUE(h.form.OkName);
    EXPECT_EQ(h.form.Txtcontent_Name, "");
}

TEST_F(NameDialogTest, TheSoftwareRecordModeWinsOverTheModeWord) {
    h.form.NewSoft1 = true;
    h.form.Txtcontent_Name = "insertsub";
    h.form.Txt1 = "音乐";
    show([](Dialog1& d) {
        EXPECT_EQ(d.Label1.caption(), "输入软件的名字:");
        EXPECT_EQ(d.Label2.caption(), "");
        d.Text1.userType("WinZip");
        d.OKButton.userClick();
    });
    EXPECT_TRUE(h.form.OkName);
    EXPECT_EQ(h.form.SoftName, "WinZip");
    EXPECT_EQ(h.form.Txtcontent_Name, "insertsub");
}

TEST_F(NameDialogTest, CancelAndTheCloseBoxHandNothingBack) {
    for (const bool closeBox : {false, true}) {
        h.form.Txtcontent_Name = "insert";
        h.form.OkName = true;  // left from an earlier OK
        show([closeBox](Dialog1& d) {
            d.Text1.userType("typed");
            if (closeBox)
                d.userClose();
            else
                d.CancelButton.userClick();
        });
        EXPECT_FALSE(h.form.OkName) << closeBox;
        EXPECT_EQ(h.form.Txtcontent_Name, "insert") << closeBox;
    }
}

}  // namespace
