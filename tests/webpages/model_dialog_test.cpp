// The template editor, opened from the menu 制作网页 (or the disc list's
// pop-up) as a user would: what each control writes into the template, the
// options and the menu marks, the background picture, the three text
// blocks, reopening as it was left, and templates whose places are gone.
#include "webpages/model_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/text/text.h"
#include "support/harness.h"
#include "webpages/htmlcode_dialog.h"
#include "webpages/page_template_defaults.h"

namespace {

using testsupport::Harness;
namespace text = platform::text;

constexpr platform::Color Red = 0x0000FF;
constexpr platform::Color Green = 0x00FF00;
constexpr platform::Color Blue = 0xFF0000;

std::string replaced(std::string s, const std::string& from, const std::string& to) {
    const auto at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
}

class ModelTest : public ::testing::Test {
  protected:
    void SetUp() override { h.start(); }

    // Opens the editor from the menu item 选择网页模板; the script closes it
    // with 确定 unless it closed it itself.
    void edit(std::function<void(model&)> script) {
        h.ui.onModal<model>([script = std::move(script)](model& d) {
            script(d);
            if (d.loaded()) d.OKButton.userClick();
        });
        h.form.htmlselect.userClick();
    }

    const std::string partA = std::string(webpages::DefaultPartA);
    const std::string partC = webpages::defaultPartC();
    Harness h;
};

TEST(ModelColours, ColourTextAndItsParts) {
    EXPECT_EQ(model::ColorToHtml(255), "#FF0000");
    EXPECT_EQ(model::ColorToHtml(0x123456), "#563412");
    // Parts of the decimal value: 1 red, 3 green, 2 blue, "" otherwise.
    EXPECT_EQ(model::ColorPart("1193046", 1), "56");
    EXPECT_EQ(model::ColorPart("1193046", 3), "34");
    EXPECT_EQ(model::ColorPart("1193046", 2), "12");
    EXPECT_EQ(model::ColorPart("1193046", 4), "");
    EXPECT_EQ(model::ColorPart("0", 1), "00");
}

TEST_F(ModelTest, OpensInItsDesignStateAndChangesNothing) {
    h.write("C:\\zelbrin\\webmodel\\modelimage\\table.bmp",
            std::string("BM") + std::string(60, '\0'));
    edit([&](model& d) {
        EXPECT_EQ(d.caption(), "选择网页模板");
        EXPECT_TRUE(d.Option2.value());
        EXPECT_FALSE(d.Option1.value());
        EXPECT_EQ(d.Check1.value(), 1);
        for (auto* c : {&d.Check2, &d.Check3, &d.Check4, &d.Check5, &d.Check6, &d.Check7})
            EXPECT_EQ(c->value(), 0) << c->name();
        for (platform::Control* c : std::initializer_list<platform::Control*>{
                 &d.Option3, &d.Option4, &d.Text2, &d.Command5, &d.Command11, &d.Command1, &d.Text5,
                 &d.Combo1, &d.Option5, &d.Command6, &d.Text6, &d.Option8, &d.Command7})
            EXPECT_FALSE(c->enabled()) << c->name();
        EXPECT_EQ(d.Text2.text(), "文件夹名字");
        EXPECT_EQ(d.Combo1.text(), "2号字");
        EXPECT_EQ(d.Combo1.listCount(), 6);
        EXPECT_TRUE(d.Option6.value());
        EXPECT_TRUE(d.Option8.value());
        EXPECT_EQ(d.Command8.backColor(), Red);
        EXPECT_EQ(d.Command9.backColor(), Blue);
        EXPECT_EQ(d.Image1.picture(), "C:\\zelbrin\\webmodel\\modelimage\\table.bmp");
    });
    h.ui.onModal<model>([](model& d) { d.CancelButton.userClick(); });
    h.form.htmlmodelselect.userClick();
    EXPECT_EQ(h.form.htmlText1, partA);
    EXPECT_EQ(h.form.htmlText3, partC);
    EXPECT_FALSE(h.form.ListOrTable);
    EXPECT_TRUE(h.form.orSize);
}

TEST_F(ModelTest, ColourButtonsWriteTheTemplateAndCancelChangesNothing) {
    struct Case {
        const char* button;
        std::string from, to;
        platform::Color Form1::*member;
    };
    const Case cases[] = {
        {"Command10", "borderColorLight=\"#2c52a0\"", "borderColorLight=\"#00FF00\"",
         &Form1::valcommand10},
        {"Command14", "borderColorDark=\"#ffffff\"", "borderColorDark=\"#00FF00\"",
         &Form1::valcommand14},
        {"Command3", "bgcolor=\"#ffffff\"", "bgcolor=\"#00FF00\"", &Form1::valcommand3},
        {"Command4", "bgColor=\"#ffffff\"", "bgColor=\"#00FF00\"", &Form1::valcommand4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        h.form.setPageTemplateDefaults();
        h.ui.answerColor(std::nullopt);
        h.ui.answerColor(Green);
        edit([&](model& d) {
            auto* button = static_cast<platform::CommandButton*>(d.find(c.button));
            const platform::Color design = button->backColor();
            button->userClick();  // cancelled
            EXPECT_EQ(button->backColor(), design);
            EXPECT_EQ(h.form.htmlText1, partA);
            EXPECT_EQ(h.form.*c.member, 0u);
            button->userClick();
            EXPECT_EQ(button->backColor(), Green);
        });
        EXPECT_EQ(h.form.htmlText1, replaced(partA, c.from, c.to));
        EXPECT_EQ(h.form.*c.member, Green);
    }
    // The entry colours change no template text.
    h.form.setPageTemplateDefaults();
    h.ui.answerColor(Red);
    h.ui.answerColor(Green);
    edit([](model& d) {
        d.Command8.userClick();
        d.Command9.userClick();
    });
    EXPECT_EQ(h.form.valcommand8, "#FF0000");
    EXPECT_EQ(h.form.valcommand9, "#00FF00");
    EXPECT_EQ(h.form.valcommand88, Red);
    EXPECT_EQ(h.form.htmlText1, partA);
    // The chosen colours show again at the next opening.
    edit([](model& d) {
        EXPECT_EQ(d.Command9.backColor(), Green);
        EXPECT_EQ(d.Command8.backColor(), Red);
    });
}

TEST_F(ModelTest, PageOptionsAndMenuMarks) {
    edit([&](model& d) {
        d.Option1.userClick();
        EXPECT_TRUE(h.form.ListOrTable);
        d.Check1.userClick();
        EXPECT_FALSE(h.form.orSize);
        d.Check2.userClick();
        EXPECT_TRUE(h.form.createnote1.checked());
        EXPECT_TRUE(h.form.createnotes.checked());
        d.Check3.userClick();
        EXPECT_TRUE(d.Option3.value());
        EXPECT_TRUE(d.Option4.enabled());
        EXPECT_TRUE(h.form.htmlcopygou.checked() && h.form.htmlcopygou1.checked());
        d.Option4.userClick();
        EXPECT_FALSE(h.form.htmlcopygou.checked() || h.form.htmlcopygou1.checked());
        EXPECT_TRUE(h.form.htmlcopyall.checked() && h.form.htmlcopyall1.checked());
    });
    // Reopened: the marks and the layout come back; 带文件大小 opens ticked
    // whatever orSize holds.
    edit([&](model& d) {
        EXPECT_TRUE(d.Option1.value());
        EXPECT_EQ(d.Check2.value(), 1);
        EXPECT_EQ(d.Check3.value(), 1);
        EXPECT_TRUE(d.Option4.value());
        EXPECT_FALSE(d.Option3.value());
        EXPECT_TRUE(h.form.htmlcopyall.checked());
        EXPECT_FALSE(h.form.htmlcopygou.checked());
        EXPECT_EQ(d.Check1.value(), 1);
        EXPECT_FALSE(h.form.orSize);
        d.Check3.userClick();
        d.Check2.userClick();
        d.Option2.userClick();
    });
    EXPECT_FALSE(h.form.ListOrTable);
    for (auto* item : {&h.form.htmlcopygou, &h.form.htmlcopygou1, &h.form.htmlcopyall,
                       &h.form.htmlcopyall1, &h.form.createnote1, &h.form.createnotes})
        EXPECT_FALSE(item->checked()) << item->name();
}

TEST_F(ModelTest, TheBackgroundOptionAndPicture) {
    h.write("C:\\pics\\sky.bmp", "picture");
    h.write("C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage\\sea.bmp", "earlier");
    h.write("C:\\pics\\sea.bmp", "later");
    h.form.OpenedDisk = "Disc1";
    h.ui.answerOpen(std::nullopt);
    h.ui.answerOpen("C:\\pics\\sky.bmp");
    h.ui.answerOpen("C:\\pics\\sea.bmp");
    h.ui.answerColor(Green);
    // Taken out, the attribute leaves the blank before it.
    const std::string tableBg = "bgcolor=\"#ffffff\"";
    edit([&](model& d) {
        d.Check7.userClick();
        EXPECT_TRUE(d.Command1.enabled());
        EXPECT_EQ(h.form.htmlText1, replaced(partA, tableBg, ""));
        d.Command1.userClick();  // cancelled
        EXPECT_EQ(h.form.htmlText1, replaced(partA, tableBg, ""));
        d.Command1.userClick();
        d.Command1.userClick();
        // A table colour chosen now goes right after the class attribute.
        d.Command3.userClick();
    });
    EXPECT_EQ(h.read("C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage\\sky.bmp"), "picture");
    EXPECT_EQ(h.read("C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage\\sea.bmp"), "earlier");
    const std::string expected = replaced(
        replaced(partA, "<body bgColor", "<body background=\"ZelbrinWebImage\\sea.bmp\" bgColor"),
        "p1table\" bgcolor=\"#ffffff\" border", "p1table\" bgcolor=\"#00FF00\"  border");
    EXPECT_EQ(h.form.htmlText1, expected);
    // Reopening ticks 带背景 again (which takes the table colour out again);
    // unticking takes the picture out.
    edit([&](model& d) {
        EXPECT_EQ(d.Check7.value(), 1);
        EXPECT_EQ(h.form.htmlText1, replaced(expected, "bgcolor=\"#00FF00\"", ""));
        d.Check7.userClick();
        EXPECT_FALSE(d.Command1.enabled());
    });
    EXPECT_EQ(h.form.htmlText1,
              replaced(replaced(partA, "<body bgColor", "<body  bgColor"), tableBg, " "));
}

TEST_F(ModelTest, APictureChosenBeforeAnyDiscWasOpened) {
    // No disc opened yet: the disc's folder element is empty.
    h.write("C:\\pics\\sky.bmp", "picture");
    h.ui.answerOpen("C:\\pics\\sky.bmp");
    edit([](model& d) {
        d.Check7.userClick();
        d.Command1.userClick();
    });
    EXPECT_EQ(h.read("C:\\zelbrin\\webhtml\\ZelbrinWebImage\\sky.bmp"), "picture");
    EXPECT_NE(h.form.htmlText1.find("<body background=\"ZelbrinWebImage\\sky.bmp\" bgColor"),
              std::string::npos);
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(ModelTest, TheHeaderRow) {
    const std::string row(webpages::DefaultHeaderRow);
    h.ui.answerColor(Green);
    h.ui.answerColor(Red);
    edit([&](model& d) {
        d.Check4.userClick();
        EXPECT_TRUE(d.Text2.enabled());
        EXPECT_EQ(h.form.htmlText1,
                  partA + "\r\n" + replaced(row, "\">&nbsp;", "\">文件夹名字&nbsp;"));
        d.Text2.userType("");
        EXPECT_EQ(h.form.htmlText1, partA + "\r\n" + row);
        d.Text2.userType("目录 文件夹名字");
        d.Command5.userClick();
        d.Command11.userClick();
        EXPECT_EQ(h.form.htmlText1,
                  partA + "\r\n" +
                      replaced(replaced(replaced(row, "\">&nbsp;", "\">目录 文件夹名字&nbsp;"),
                                        "#FFFFFF", "#00FF00"),
                               "#2c52a0", "#FF0000"));
    });
    EXPECT_EQ(h.form.valText2, "目录 文件夹名字");
    EXPECT_EQ(h.form.valcommand5, Green);
    // Reopened: ticked, the title and colours shown, the template as it was.
    const std::string kept = h.form.htmlText1;
    edit([&](model& d) {
        EXPECT_EQ(d.Check4.value(), 1);
        EXPECT_EQ(d.Text2.text(), "目录 文件夹名字");
        EXPECT_EQ(d.Command5.backColor(), Green);
        EXPECT_EQ(h.form.htmlText1, kept);
        d.Check4.userClick();
        EXPECT_EQ(h.form.htmlText1, partA + "\r\n");
        EXPECT_EQ(d.Command5.backColor(), 0xFFFFFFu);
        EXPECT_EQ(d.Command11.backColor(), Blue);
        EXPECT_FALSE(d.Text2.enabled());
        // Ticked again: a fresh row with the title kept in the box.
        d.Check4.userClick();
        EXPECT_EQ(h.form.htmlText1,
                  partA + "\r\n\r\n" + replaced(row, "\">&nbsp;", "\">目录 文件夹名字&nbsp;"));
    });
    EXPECT_EQ(h.form.valcommand5, 0u);
    EXPECT_EQ(h.form.valcommand11, 0u);
}

TEST_F(ModelTest, TheTextBeforeTheTable) {
    const std::string block(webpages::DefaultTextBlock);
    const auto withBlock = [&](std::string b) {
        return replaced(partA, "<table class=\"p1table\"", b + "<table class=\"p1table\"");
    };
    h.ui.answerColor(Green);
    edit([&](model& d) {
        d.Check5.userClick();
        EXPECT_TRUE(d.Combo1.enabled());
        // Its default text never shows: an empty box writes an empty text.
        EXPECT_EQ(h.form.htmlText1, withBlock(replaced(block, "Zelbrin网页版制作", "")));
        d.Text5.userType("欢迎");
        d.Combo1.userType("3");
        d.Combo1.userChoose(3);  // "5号字": written when the box loses the focus
        EXPECT_NE(h.form.htmlText1.find("size=\"3\""), std::string::npos);
        d.Option7.userClick();
        d.Command6.userClick();
    });
    const std::string edited = withBlock(replaced(
        replaced(replaced(replaced(block, "Zelbrin网页版制作", "欢迎"), "size=\"2\"", "size=\"5\""),
                 "align=\"middle\"", "align=\"right\""),
        "color=\"#0000ff\"", "color=\"#00FF00\""));
    EXPECT_EQ(h.form.htmlText1, edited);
    EXPECT_EQ(h.form.valCombo1, "5号字");
    EXPECT_TRUE(h.form.valOption7);
    // Reopened as it was left; unticked, the block goes and its settings
    // reset; ticked again it comes back centred, in size 2 and blue, with
    // the text still in the box.
    edit([&](model& d) {
        EXPECT_EQ(d.Check5.value(), 1);
        EXPECT_TRUE(d.Option7.value());
        EXPECT_EQ(d.Combo1.text(), "5号字");
        EXPECT_EQ(d.Command6.backColor(), Green);
        EXPECT_EQ(h.form.htmlText1, edited);
        d.Check5.userClick();
        EXPECT_EQ(h.form.htmlText1, partA);
        EXPECT_TRUE(d.Option6.value());
        EXPECT_EQ(d.Combo1.text(), "2号字");
        EXPECT_EQ(d.Text5.text(), "欢迎");
        d.Check5.userClick();
        EXPECT_EQ(h.form.htmlText1, withBlock(replaced(block, "Zelbrin网页版制作", "欢迎")));
    });
    EXPECT_FALSE(h.form.valOption7);
    EXPECT_EQ(h.form.valcommand6, 0u);
}

TEST_F(ModelTest, TheTextAfterTheTable) {
    const std::string leftCell =
        "<td align=\"left\" width=\"33.3%\"><font size=\"2\" color=\"#0000ff\">";
    const std::string midCell =
        "<td align=\"middle\" width=\"33.3%\"><font size=\"2\" color=\"#0000ff\">";
    h.ui.answerColor(Red);
    edit([&](model& d) {
        d.Check6.userClick();
        d.Text6.userType("版权所有");
        EXPECT_EQ(h.form.htmlText3, replaced(partC, leftCell, leftCell + "版权所有"));
        d.Option9.userClick();
        EXPECT_EQ(h.form.htmlText3, replaced(partC, midCell, midCell + "版权所有"));
        d.Option8.userClick();
        d.Option9.userClick();
        d.Command7.userClick();
    });
    const std::string red = replaced(
        replaced(replaced(replaced(partC, midCell, midCell + "版权所有"), "#0000ff", "#FF0000"),
                 "#0000ff", "#FF0000"),
        "#0000ff", "#FF0000");
    EXPECT_EQ(h.form.htmlText3, red);
    // Reopened: centred, with the text in the middle cell only.
    edit([&](model& d) {
        EXPECT_EQ(d.Check6.value(), 1);
        EXPECT_TRUE(d.Option9.value());
        EXPECT_EQ(h.form.htmlText3, red);
        d.Check6.userClick();
        EXPECT_FALSE(d.Text6.enabled());
    });
    EXPECT_EQ(h.form.htmlText3,
              replaced(replaced(replaced(partC, "#0000ff", "#0000FF"), "#0000ff", "#0000FF"),
                       "#0000ff", "#0000FF"));
    EXPECT_FALSE(h.form.valCheck6);
    EXPECT_EQ(h.form.valText6, "版权所有");
}

TEST_F(ModelTest, TypedEndTagsDoNotBreakTheTemplate) {
    edit([&](model& d) {
        d.Check4.userClick();
        d.Check5.userClick();
        d.Check6.userClick();
        for (const char* typed : {"a</font>b", "c</font>", "d"}) {
            d.Text2.userType(typed);
            d.Text5.userType(typed);
            d.Text6.userType(typed);
        }
    });
    // The same as typing "d" alone.
    const std::string a = h.form.htmlText1, c = h.form.htmlText3;
    h.form.setPageTemplateDefaults();
    h.form.valText2 = h.form.valText5 = h.form.valText6 = "";
    h.form.valCheck6 = false;
    edit([&](model& d) {
        d.Check4.userClick();
        d.Check5.userClick();
        d.Check6.userClick();
        d.Text2.userType("d");
        d.Text5.userType("d");
        d.Text6.userType("d");
    });
    EXPECT_EQ(h.form.htmlText1, a);
    EXPECT_EQ(h.form.htmlText3, c);
}

TEST_F(ModelTest, PartsWithoutTheirPlacesStayAsTheyAre) {
    // The page code replaced both parts by hand.
    h.ui.onModal<htmlcode>([](htmlcode& d) {
        d.Text1.userType("<html><body>");
        d.Text3.userType("</body></html>");
        d.OKButton.userClick();
    });
    h.write("C:\\pics\\sky.bmp", "picture");
    h.ui.answerOpen("C:\\pics\\sky.bmp");
    for (int i = 0; i < 5; ++i) h.ui.answerColor(Green);
    edit([&](model& d) {
        d.Command2.userClick();
        d.Check5.userClick();
        d.Check6.userClick();
        d.Text5.userType("t");
        d.Text6.userType("t");
        d.Combo1.userType("4");
        d.Option5.userClick();
        d.Option9.userClick();
        for (auto* b : {&d.Command10, &d.Command14, &d.Command6, &d.Command7, &d.Command3})
            b->userClick();
        EXPECT_EQ(d.Command3.backColor(), Green);
        d.Check7.userClick();
        d.Command1.userClick();
    });
    EXPECT_EQ(h.form.htmlText1, "<html><body background=\"ZelbrinWebImage\\sky.bmp\">");
    EXPECT_EQ(h.form.htmlText3, "</body></html>");
    // The members still take the choices.
    EXPECT_EQ(h.form.valText5, "t");
    EXPECT_EQ(h.form.valCombo1, "4");
    EXPECT_TRUE(h.form.valOption5);
    EXPECT_TRUE(h.form.valOption9);
    EXPECT_EQ(h.form.valcommand10, Green);
    EXPECT_EQ(h.form.valcommand3, Green);
}

}  // namespace
