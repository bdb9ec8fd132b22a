// The page-code dialog, shown from the menu 制作网页 and the disc list's
// pop-up: the parts it takes back on OK, the part B it refuses, Cancel, and
// the template files it saves and opens.
#include "webpages/htmlcode_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/text/text.h"
#include "support/harness.h"
#include "webpages/page_template_defaults.h"

namespace {

using testsupport::Harness;

constexpr std::string_view Folder = "C:\\zelbrin\\webmodel\\modeltext";

class HtmlcodeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.makeFolder(Folder);
        h.start();
    }

    // Opens the dialog from the menu item 查看网页代码.
    void show(std::function<void(htmlcode&)> script) {
        h.ui.onModal<htmlcode>(std::move(script));
        h.form.htmlview.userClick();
    }

    std::string file(std::string_view name) const {
        return std::string(Folder) + "\\" + std::string(name);
    }

    Harness h;
};

TEST_F(HtmlcodeTest, ShowsThePartsAndOkTakesThemBack) {
    const std::string partB = h.form.htmlText2;
    show([&](htmlcode& d) {
        EXPECT_EQ(d.caption(), "网页代码");
        EXPECT_EQ(d.Text1.text(), h.form.htmlText1);
        EXPECT_EQ(d.Text2.text(), partB);
        EXPECT_EQ(d.Text3.text(), h.form.htmlText3);
        EXPECT_TRUE(d.Text1.multiLine());
        d.Text1.userType("<html>\r\n<body>");
        d.Text3.userType("</body></html>");
        d.OKButton.userClick();
    });
    EXPECT_EQ(h.form.htmlText1, "<html>\r\n<body>");
    EXPECT_EQ(h.form.htmlText3, "</body></html>");
    // Part B unchanged: the layout stays.
    EXPECT_EQ(h.form.htmlText2, partB);
    EXPECT_FALSE(h.form.Web2Text);
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(HtmlcodeTest, APartBWithoutItsTokensIsRefused) {
    struct Case {
        const char* partB;
        bool taken;
    };
    const Case cases[] = {
        {"<tr><td>Zelbrin文件名</td><td>Zelbrin文件大小</td><td>Zelbrin文件备注</td></tr>", true},
        {"Zelbrin文件备注 Zelbrin文件大小 Zelbrin文件名 Zelbrin加计数", true},
        {"<tr><td>Zelbrin文件名</td><td>Zelbrin文件大小</td></tr>", false},
        {"zelbrin文件名 Zelbrin文件大小 Zelbrin文件备注", false},
        {"Ｚｅｌｂｒｉｎ文件名 Zelbrin文件大小 Zelbrin文件备注", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.partB);
        h.form.setPageTemplateDefaults();
        h.form.Web2Text = false;
        const std::string before = h.form.htmlText2;
        if (!c.taken) h.ui.answerMsgBox(platform::MsgOK, std::string(webpages::KeepTokensMessage));
        show([&](htmlcode& d) {
            d.Text1.userType("A");
            d.Text2.userType(c.partB);
            d.OKButton.userClick();
            if (!c.taken) {
                // Still open, with the boxes as they were: A is taken already.
                EXPECT_TRUE(d.loaded());
                EXPECT_EQ(d.Text2.text(), c.partB);
                EXPECT_EQ(h.form.htmlText1, "A");
                d.Text3.userType("C");
                d.CancelButton.userClick();
            }
        });
        EXPECT_EQ(h.form.htmlText1, "A");
        EXPECT_EQ(h.form.htmlText2, c.taken ? std::string(c.partB) : before);
        EXPECT_EQ(h.form.Web2Text, c.taken);
        // Cancel took nothing of what was typed after the refusal.
        EXPECT_NE(h.form.htmlText3, "C");
    }
    EXPECT_EQ(
        webpages::KeepTokensMessage,
        "无论你做任何修改,请保留\r\n\"Zelbrin文件名\"\r\n\"Zelbrin文件大小\"\r\n"
        "\"Zelbrin文件备注\"\r\n这三个词,否则我不知道文件名,\r\n文件大小,文件备注该放到哪里。");
    EXPECT_EQ(h.ui.log().back().title, "提示");
}

TEST_F(HtmlcodeTest, PartBTypedBackToItsTextCountsAsUnchanged) {
    show([&](htmlcode& d) {
        const std::string b = d.Text2.text();
        d.Text2.userType("x");
        d.Text2.userType(b);
        d.OKButton.userClick();
    });
    EXPECT_FALSE(h.form.Web2Text);
}

TEST_F(HtmlcodeTest, CancelTheCloseBoxAndThePopUpItem) {
    const std::string a = h.form.htmlText1;
    show([](htmlcode& d) {
        d.Text1.userType("x");
        d.CancelButton.userClick();
    });
    show([](htmlcode& d) {
        d.Text1.userType("x");
        d.userClose();
    });
    EXPECT_EQ(h.form.htmlText1, a);
    // The pop-up's twin item shows the same dialog.
    h.ui.onModal<htmlcode>([](htmlcode& d) {
        d.Text1.userType("y");
        d.OKButton.userClick();
    });
    h.form.htmlviewcode1.userClick();
    EXPECT_EQ(h.form.htmlText1, "y");
}

TEST_F(HtmlcodeTest, SavingWritesANewFileOnly) {
    h.ui.answerInputBox("蓝色");
    h.ui.answerInputBox("蓝色");
    h.ui.answerMsgBox(platform::MsgOK, std::string(webpages::NameTakenMessage));
    h.ui.answerInputBox("蓝色");
    h.ui.answerInputBox(std::nullopt);  // a cancelled prompt saves "_C.htm"
    show([](htmlcode& d) {
        d.Text1.userType("页头\r\n");
        d.Command1.userClick();
        d.Text1.userType("other");
        d.Command1.userClick();  // taken: nothing written
        d.Text2.userType("");
        d.Command3.userClick();
        d.Command5.userClick();
        d.CancelButton.userClick();
    });
    EXPECT_EQ(h.readBytes(file("蓝色_A.htm")), platform::text::toCp936("页头\r\n\r\n"));
    EXPECT_EQ(h.readBytes(file("蓝色_B.htm")), "\r\n");
    EXPECT_EQ(h.read(file("_C.htm")), h.form.htmlText3 + "\r\n");
    const auto& prompt = h.ui.log().at(1);  // after the dialog itself
    EXPECT_EQ(prompt.prompt, "请输入文件名，不用输入文件扩展名。");
    EXPECT_EQ(prompt.title, "信息");
}

TEST_F(HtmlcodeTest, NamesThatLeaveTheFolderOrCannotBeMadeCountAsTaken) {
    const char* names[] = {"..\\..\\x", "a\\b", "a/b", "..", "x..y"};
    for (const char* name : names) {
        h.ui.answerInputBox(name);
        h.ui.answerMsgBox(platform::MsgOK, std::string(webpages::NameTakenMessage));
    }
    // A folder of that name, and a missing template folder.
    h.makeFolder(file("dir_A.htm"));
    h.ui.answerInputBox("dir");
    h.ui.answerMsgBox(platform::MsgOK, std::string(webpages::NameTakenMessage));
    show([&](htmlcode& d) {
        for (std::size_t i = 0; i < std::size(names) + 1; ++i) d.Command1.userClick();
        d.CancelButton.userClick();
    });
    EXPECT_FALSE(h.exists("C:\\zelbrin\\x_A.htm"));
    EXPECT_FALSE(h.exists("C:\\x_A.htm"));
    EXPECT_FALSE(h.exists(file("a_A.htm")));

    h.ui.answerInputBox("new");
    h.ui.answerMsgBox(platform::MsgOK, std::string(webpages::NameTakenMessage));
    std::filesystem::remove_all(h.nativePath(Folder));
    show([](htmlcode& d) {
        d.Command1.userClick();
        d.CancelButton.userClick();
    });
    EXPECT_FALSE(h.exists(Folder));
}

TEST_F(HtmlcodeTest, OpeningLoadsAWholeFileIntoItsBox) {
    h.write(file("绿_B.htm"), "<tr>Zelbrin文件名</tr>\r\n");
    h.ui.answerOpen(std::nullopt);
    h.ui.answerOpen(file("绿_B.htm"));
    h.ui.answerOpen(file("gone_A.htm"));  // unreadable: nothing, no message
    h.ui.answerOpen(file("绿_B.htm"));
    show([&](htmlcode& d) {
        const std::string a = d.Text1.text();
        d.Command2.userClick();
        EXPECT_EQ(d.Text1.text(), a);
        EXPECT_EQ(h.form.CommonDialog1.initDir(), Folder);
        EXPECT_EQ(h.form.CommonDialog1.dialogTitle(), "请选择后缀名为\"_A\"的文件: ");
        const std::string b = d.Text2.text();
        d.Command4.userClick();
        EXPECT_EQ(d.Text2.text(), "<tr>Zelbrin文件名</tr>\r\n");
        EXPECT_EQ(h.form.CommonDialog1.dialogTitle(), "请选择后缀名为\"_B\"的文件: ");
        d.Text2.userType(b);
        d.Command6.userClick();
        EXPECT_EQ(d.Text3.text(), h.form.htmlText3);
        // Any file goes into any part.
        d.Command2.userClick();
        EXPECT_EQ(d.Text1.text(), "<tr>Zelbrin文件名</tr>\r\n");
        EXPECT_EQ(h.form.CommonDialog1.dialogTitle(), "请选择后缀名为\"_A\"的文件: ");
        d.OKButton.userClick();
    });
    EXPECT_TRUE(h.ui.messages().empty());
    EXPECT_EQ(h.form.htmlText1, "<tr>Zelbrin文件名</tr>\r\n");
}

TEST_F(HtmlcodeTest, ASavedPartComesBackWithOneMoreLineBreak) {
    h.ui.answerInputBox("t");
    h.ui.answerOpen(file("t_A.htm"));
    const std::string a = h.form.htmlText1;
    show([](htmlcode& d) {
        d.Command1.userClick();
        d.Command2.userClick();
        d.OKButton.userClick();
    });
    EXPECT_EQ(h.form.htmlText1, a + "\r\n");
}

}  // namespace
