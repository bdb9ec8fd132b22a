#include "platform/controls/simple_controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "plain_form.h"
#include "platform/controls/common_dialog.h"
#include "platform/error.h"

using namespace platform;
using plaincontrols::errorOf;

namespace {

// Every control kind of this file on one form, each event wired to a log.
struct EventForm : plaincontrols::PlainFormEnv {
    EventForm() {
        option1.setContainer(&frame1);
        option2.setContainer(&frame1);
        label2.move(3000, 0, 600, 300);
        label1.move(990, 510, 270, 1995);
        auto log = [this](std::string what) { return [this, what] { events.push_back(what); }; };
        auto logMouse = [this](std::string what) {
            return [this, what](int, int, double, double) { events.push_back(what); };
        };
        text1.Change = log("Text1.Change");
        combo1.Change = log("Combo1.Change");
        combo1.Click = log("Combo1.Click");
        combo1.LostFocus = log("Combo1.LostFocus");
        check1.Click = log("Check1.Click");
        option1.Click = log("Option1.Click");
        option2.Click = log("Option2.Click");
        option3.Click = log("Option3.Click");
        command1.Click = log("Command1.Click");
        slider1.Change = log("Slider1.Change");
        slider1.Scroll = log("Slider1.Scroll");
        label1.Click = log("Label1.Click");
        label1.MouseDown = logMouse("Label1.MouseDown");
        label1.MouseUp = logMouse("Label1.MouseUp");
        label2.Click = log("Label2.Click");
        label2.MouseDown = logMouse("Label2.MouseDown");
        label2.MouseUp = logMouse("Label2.MouseUp");
        combo1.addItem("2号字");
        combo1.addItem("5号字");
    }

    std::vector<std::string> events;
    TextBox text1{form, "Text1"};
    ComboBox combo1{form, "Combo1"};
    CheckBox check1{form, "Check1"};
    Frame frame1{form, "Frame1"};
    OptionButton option1{form, "Option1"};
    OptionButton option2{form, "Option2"};
    OptionButton option3{form, "Option3"};  // in the form itself
    CommandButton command1{form, "Command1"};
    Slider slider1{form, "Slider1"};
    Label label1{form, "Label1"};
    Label label2{form, "Label2"};
};

class EventFormTest : public ::testing::Test, public EventForm {};

struct EventCase {
    const char* action;
    std::function<void(EventForm&)> setUp;  // runs before the log is cleared
    std::function<void(EventForm&)> act;
    std::vector<std::string> expected;
};

TEST(EventRules, CodeAndUserActionsRaiseExactlyTheirEvents) {
    const std::vector<EventCase> cases = {
        {"code sets a new text",
         nullptr,
         [](EventForm& f) { f.text1.setText("a"); },
         {"Text1.Change"}},
        {"code sets the same text",
         [](EventForm& f) { f.text1.setText("a"); },
         [](EventForm& f) { f.text1.setText("a"); },
         {}},
        {"user types into a text box",
         nullptr,
         [](EventForm& f) { f.text1.userType("ab"); },
         {"Text1.Change"}},
        {"user types the text it has",
         [](EventForm& f) { f.text1.setText("ab"); },
         [](EventForm& f) { f.text1.userType("ab"); },
         {}},
        {"code sets a combo's text",
         nullptr,
         [](EventForm& f) { f.combo1.setText("3"); },
         {"Combo1.Change"}},
        {"code sets a combo's same text",
         [](EventForm& f) { f.combo1.setText("3"); },
         [](EventForm& f) { f.combo1.setText("3"); },
         {}},
        {"user types into a combo",
         nullptr,
         [](EventForm& f) { f.combo1.userType("3"); },
         {"Combo1.Change"}},
        {"user chooses from a combo's list",
         nullptr,
         [](EventForm& f) { f.combo1.userChoose(1); },
         {"Combo1.Click"}},
        {"user leaves a combo",
         [](EventForm& f) { f.combo1.userChoose(1); },
         [](EventForm& f) { f.combo1.userLeave(); },
         {"Combo1.LostFocus"}},
        {"user leaves a combo for a text box",
         [](EventForm& f) { f.combo1.userChoose(1); },
         [](EventForm& f) { f.text1.userType("x"); },
         {"Combo1.LostFocus", "Text1.Change"}},
        {"user clicks a button after choosing from a combo",
         [](EventForm& f) { f.combo1.userChoose(0); },
         [](EventForm& f) { f.command1.userClick(); },
         {"Combo1.LostFocus", "Command1.Click"}},
        {"code ticks a check box",
         nullptr,
         [](EventForm& f) { f.check1.setValue(1); },
         {"Check1.Click"}},
        {"code sets a check box to its value",
         [](EventForm& f) { f.check1.setValue(1); },
         [](EventForm& f) { f.check1.setValue(1); },
         {}},
        {"user clicks a ticked check box",
         [](EventForm& f) { f.check1.setValue(1); },
         [](EventForm& f) { f.check1.userClick(); },
         {"Check1.Click"}},
        {"code selects an option",
         nullptr,
         [](EventForm& f) { f.option1.setValue(true); },
         {"Option1.Click"}},
        {"code selects the selected option",
         [](EventForm& f) { f.option1.setValue(true); },
         [](EventForm& f) { f.option1.setValue(true); },
         {}},
        {"code clears an option",
         [](EventForm& f) { f.option1.setValue(true); },
         [](EventForm& f) { f.option1.setValue(false); },
         {}},
        {"code selects another option of the frame",
         [](EventForm& f) { f.option1.setValue(true); },
         [](EventForm& f) { f.option2.setValue(true); },
         {"Option2.Click"}},
        {"user clicks the selected option",
         [](EventForm& f) { f.option3.setValue(true); },
         [](EventForm& f) { f.option3.userClick(); },
         {}},
        {"user clicks a command button",
         nullptr,
         [](EventForm& f) { f.command1.userClick(); },
         {"Command1.Click"}},
        {"code moves a slider",
         nullptr,
         [](EventForm& f) { f.slider1.setValue(4); },
         {"Slider1.Change"}},
        {"user moves a slider",
         nullptr,
         [](EventForm& f) { f.slider1.userSetValue(4); },
         {"Slider1.Scroll", "Slider1.Change"}},
        {"user moves a slider to its value",
         [](EventForm& f) { f.slider1.setValue(4); },
         [](EventForm& f) { f.slider1.userSetValue(4); },
         {}},
        {"user clicks a label",
         nullptr,
         [](EventForm& f) { f.label1.userClick(); },
         {"Label1.MouseDown", "Label1.MouseUp", "Label1.Click"}},
        {"user presses one label and releases over another",
         nullptr,
         [](EventForm& f) {
             f.label1.userMouseDown(LeftButton, 0, 100, 100);
             f.label2.userMouseUp(LeftButton, 0, 10, 10);
         },
         {"Label1.MouseDown", "Label1.MouseUp"}},
        {"user right-clicks a label",
         nullptr,
         [](EventForm& f) {
             f.label1.userMouseDown(RightButton, 0, 100, 100);
             f.label1.userMouseUp(RightButton, 0, 100, 100);
         },
         {"Label1.MouseDown", "Label1.MouseUp"}},
        {"user clicks a disabled check box",
         [](EventForm& f) { f.check1.setEnabled(false); },
         [](EventForm& f) { f.check1.userClick(); },
         {}},
        {"user types into a hidden text box",
         [](EventForm& f) { f.text1.setVisible(false); },
         [](EventForm& f) { f.text1.userType("x"); },
         {}},
        {"user types into a locked text box",
         [](EventForm& f) { f.text1.setLocked(true); },
         [](EventForm& f) { f.text1.userType("x"); },
         {}},
        {"code sets a locked text box's text",
         [](EventForm& f) { f.text1.setLocked(true); },
         [](EventForm& f) { f.text1.setText("x"); },
         {"Text1.Change"}},
        {"user types into a drop-down list",
         [](EventForm& f) { f.combo1.setStyle(2); },
         [](EventForm& f) { f.combo1.userType("x"); },
         {}},
    };
    for (const EventCase& c : cases) {
        EventForm f;  // each case starts from the design state
        if (c.setUp) c.setUp(f);
        f.events.clear();
        c.act(f);
        EXPECT_EQ(f.events, c.expected) << c.action;
    }
}

TEST_F(EventFormTest, UserGesturesChangeStateBeforeTheEventRuns) {
    std::string seen;
    text1.Change = [&] { seen += "text=" + text1.text() + ";"; };
    combo1.Click = [&] { seen += "combo=" + combo1.text() + ";"; };
    check1.Click = [&] { seen += "check=" + std::to_string(check1.value()) + ";"; };
    text1.userType("abc");
    combo1.userChoose(0);
    check1.userClick();
    EXPECT_EQ(seen, "text=abc;combo=2号字;check=1;");
    EXPECT_EQ(text1.selStart(), 3);
}

TEST_F(EventFormTest, EnterAndEscClickTheDefaultAndCancelButtons) {
    // Without such buttons the keys do nothing.
    EXPECT_FALSE(form.userPressEnter());
    EXPECT_FALSE(form.userPressEscape());

    CommandButton ok{form, "OK"};
    CommandButton cancel{form, "Cancel"};
    ok.Click = [this] { events.push_back("OK.Click"); };
    cancel.Click = [this] { events.push_back("Cancel.Click"); };
    ok.setDefault(true);
    cancel.setCancel(true);
    EXPECT_TRUE(form.userPressEnter());
    EXPECT_TRUE(form.userPressEscape());
    EXPECT_EQ(events, (std::vector<std::string>{"OK.Click", "Cancel.Click"}));

    // A hidden or disabled button is not pressed by its key.
    ok.setVisible(false);
    cancel.setEnabled(false);
    EXPECT_FALSE(form.userPressEnter());
    EXPECT_FALSE(form.userPressEscape());
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(EventFormTest, AnErrorInAHandlerIsReportedAndTheGestureStands) {
    check1.Click = [] { platform::raise(err::FileNotFound); };
    ui.answerMsgBox(MsgOK, "运行时错误 '53':\r\n文件未找到");
    check1.userClick();
    EXPECT_EQ(check1.value(), 1);
}

TEST_F(EventFormTest, CodeChangesPassHandlerErrorsToTheCaller) {
    text1.Change = [] { platform::raise(err::PathNotFound); };
    EXPECT_EQ(errorOf([&] { text1.setText("x"); }), err::PathNotFound);
    EXPECT_EQ(text1.text(), "x");
}

TEST_F(EventFormTest, OptionGroupsAreTheFrameAndTheForm) {
    OptionButton option4{form, "Option4"};
    Frame frame2{form, "Frame2"};
    OptionButton option5{form, "Option5", &frame2};
    option1.setValue(true);
    option3.setValue(true);
    option5.setValue(true);
    option2.userClick();  // frame 1: option1 goes off
    EXPECT_FALSE(option1.value());
    EXPECT_TRUE(option2.value());
    EXPECT_TRUE(option3.value());
    EXPECT_TRUE(option5.value());
    option4.setValue(true);  // the form's group: option3 goes off
    EXPECT_FALSE(option3.value());
    EXPECT_TRUE(option2.value());
    EXPECT_TRUE(option5.value());
}

TEST_F(EventFormTest, ReleaseGoesToThePressedLabelInItsCoordinates) {
    std::vector<std::string> seen;
    auto record = [&](const char* what) {
        return [&seen, what](int button, int shift, double x, double y) {
            seen.push_back(std::string(what) + " " + std::to_string(button) + " " +
                           std::to_string(shift) + " " + std::to_string(int(x)) + "," +
                           std::to_string(int(y)));
        };
    };
    label1.MouseDown = record("down1");
    label1.MouseMove = record("move1");
    label1.MouseUp = record("up1");
    label2.MouseUp = record("up2");
    label1.userMouseDown(LeftButton, 1, 120, 900);
    // Label2 lies at (3000, 0); Label1 at (990, 510).
    label2.userMouseMove(LeftButton, 1, 15, 30);
    label2.userMouseUp(LeftButton, 1, 15, 30);
    label2.userMouseUp(LeftButton, 0, 5, 5);  // a release without a press stays there
    EXPECT_EQ(seen, (std::vector<std::string>{"down1 1 1 120,900", "move1 1 1 2025,-480",
                                              "up1 1 1 2025,-480", "up2 1 0 5,5"}));
    EXPECT_TRUE(std::find(events.begin(), events.end(), "Label1.Click") == events.end());
}

TEST_F(EventFormTest, TextSelectionCountsCharacters) {
    text1.setText("软件说明");
    text1.setSelStart(1);
    text1.setSelLength(10);
    EXPECT_EQ(text1.selStart(), 1);
    EXPECT_EQ(text1.selLength(), 3);
    text1.setSelStart(9);
    EXPECT_EQ(text1.selStart(), 4);
    EXPECT_EQ(text1.selLength(), 0);
    text1.setText("x");  // a new text puts the selection at its start
    EXPECT_EQ(text1.selStart(), 0);
}

// A single-line box and a combo box drop CR and LF however the text comes
// in; Change runs only when what is kept differs. A multi-line box keeps them.
TEST(SingleLineText, LineBreaksAreDroppedAndChangeFollowsTheKeptText) {
    struct Case {
        const char* action;
        std::function<void(EventForm&)> act;
        std::string text1, combo1;
        std::vector<std::string> events;
    };
    const std::vector<Case> cases = {
        {"code sets a text with CR LF",
         [](EventForm& f) { f.text1.setText("live\r\n|evil"); },
         "live|evil",
         "",
         {"Text1.Change"}},
        {"user pastes lone CRs and LFs",
         [](EventForm& f) { f.text1.userType("\ra\nb\n\r"); },
         "ab",
         "",
         {"Text1.Change"}},
        {"user types only a line break",
         [](EventForm& f) { f.text1.userType("\r\n"); },
         "",
         "",
         {}},
        {"user adds a line break to the text",
         [](EventForm& f) {
             f.text1.setText("a");
             f.events.clear();
             f.text1.userType("a\r\n");
         },
         "a",
         "",
         {}},
        {"code sets a multi-line box",
         [](EventForm& f) {
             f.text1.setMultiLine(true);
             f.text1.setText("a\r\nb");
         },
         "a\r\nb",
         "",
         {"Text1.Change"}},
        {"user types into a multi-line box",
         [](EventForm& f) {
             f.text1.setMultiLine(true);
             f.text1.userType("a\nb");
         },
         "a\nb",
         "",
         {"Text1.Change"}},
        {"a multi-line box made single-line",
         [](EventForm& f) {
             f.text1.setMultiLine(true);
             f.text1.setText("a\r\nb");
             f.text1.setSelStart(4);
             f.events.clear();
             f.text1.setMultiLine(false);
             EXPECT_EQ(f.text1.selStart(), 2);
         },
         "ab",
         "",
         {}},
        {"code sets a combo's text",
         [](EventForm& f) { f.combo1.setText("*.mp3\r\n"); },
         "",
         "*.mp3",
         {"Combo1.Change"}},
        {"user pastes into a combo",
         [](EventForm& f) { f.combo1.userType("a\nb"); },
         "",
         "ab",
         {"Combo1.Change"}},
        {"user chooses an entry holding a line break",
         [](EventForm& f) {
             f.combo1.addItem("x\r\ny");
             f.combo1.userChoose(2);
         },
         "",
         "xy",
         {"Combo1.Click"}},
    };
    for (const Case& c : cases) {
        EventForm f;
        c.act(f);
        EXPECT_EQ(f.text1.text(), c.text1) << c.action;
        EXPECT_EQ(f.combo1.text(), c.combo1) << c.action;
        EXPECT_EQ(f.events, c.events) << c.action;
    }
}

TEST_F(EventFormTest, ComboListCountsFromZero) {
    combo1.addItem("1号字", 0);
    EXPECT_EQ(combo1.listCount(), 3);
    EXPECT_EQ(combo1.list(0), "1号字");
    EXPECT_EQ(combo1.list(2), "5号字");
    EXPECT_EQ(errorOf([&] { combo1.list(3); }), 381);
    combo1.setText("t");
    combo1.clear();
    EXPECT_EQ(combo1.listCount(), 0);
    EXPECT_EQ(combo1.text(), "t");
}

TEST_F(EventFormTest, ProgressBarAndSliderKeepTheirValueInRange) {
    ProgressBar bar{form, "ProgressBar1"};
    EXPECT_EQ(bar.max(), 100);
    bar.setMax(230.56);
    bar.setValue(84.5);
    EXPECT_DOUBLE_EQ(bar.value(), 84.5);
    bar.setMax(50);  // a smaller maximum takes the value along
    EXPECT_DOUBLE_EQ(bar.value(), 50);
    bar.setValue(-1);
    EXPECT_DOUBLE_EQ(bar.value(), 0);

    slider1.setMin(1);
    slider1.setMax(13);
    slider1.setValue(2);
    slider1.userSetValue(20);
    EXPECT_EQ(slider1.value(), 13);
    slider1.setValue(0);
    EXPECT_EQ(slider1.value(), 1);
}

TEST(Palette, SixteenColoursAsBlueGreenRed) {
    const Color expected[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int n = 0; n < 16; ++n) {
        EXPECT_EQ(qbColor(n), expected[n]) << n;
        EXPECT_NE(qbColor(n), DefaultColor) << n;
    }
    for (int n : {-1, 16, 100}) EXPECT_EQ(errorOf([n] { qbColor(n); }), err::InvalidCall) << n;
}

// A dialog that writes into the control before it reports a cancel.
class CarelessUi : public testsupport::ScriptedUi {
  public:
    bool showSave(CommonDialog& d) override {
        d.setFileName("scribbled");
        d.setFileTitle("scribbled");
        return ScriptedUi::showSave(d);
    }
    bool showColor(CommonDialog& d) override {
        d.setColor(0x123456);
        return ScriptedUi::showColor(d);
    }
};

class CommonDialogTest : public plaincontrols::PlainFormTest {
  protected:
    CommonDialog dialog{form, "CommonDialog1"};
};

TEST_F(CommonDialogTest, ChoiceFillsNameAndTitle) {
    dialog.setFilter("*.wcd");
    ui.answerOpen("C:\\export\\Disc7.wcd");
    EXPECT_TRUE(dialog.showOpen());
    EXPECT_EQ(dialog.fileName(), "C:\\export\\Disc7.wcd");
    EXPECT_EQ(dialog.fileTitle(), "Disc7.wcd");
    EXPECT_EQ(dialog.filter(), "*.wcd");  // the settings stay for later uses
}

TEST(CommonDialogCancel, LeavesEveryPropertyAsItWas) {
    CarelessUi ui;
    VirtualTimerHost timers;
    Services services{ui, timers};
    plaincontrols::PlainForm form{services};
    CommonDialog dialog{form, "CommonDialog1"};
    dialog.setFileName("Disc7");
    dialog.setFileTitle("Disc7");
    dialog.setDialogTitle("选择你要导出的目录：");
    dialog.setColor(qbColor(12));
    ui.answerSave(std::nullopt);
    ui.answerColor(std::nullopt);
    EXPECT_FALSE(dialog.showSave());
    EXPECT_FALSE(dialog.showColor());
    EXPECT_EQ(dialog.fileName(), "Disc7");
    EXPECT_EQ(dialog.fileTitle(), "Disc7");
    EXPECT_EQ(dialog.color(), qbColor(12));
    ui.answerColor(Color{0x00FF80});
    EXPECT_TRUE(dialog.showColor());
    EXPECT_EQ(dialog.color(), 0x00FF80u);
}

}  // namespace
