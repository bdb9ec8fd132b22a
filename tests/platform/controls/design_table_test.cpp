// A form's design table: each row gives its control the caption (where the
// control has one) and the place of the row.
#include "platform/controls/design_table.h"

#include <gtest/gtest.h>

#include <array>

#include "plain_form.h"
#include "platform/controls/file_lists.h"
#include "platform/controls/simple_controls.h"

namespace {

using namespace platform;

TEST(DesignTable, EachRowGivesItsCaptionAndPlace) {
    plaincontrols::PlainFormEnv env;
    Label label{env.form, "Label1"};
    TextBox text{env.form, "Text1"};
    CommandButton button{env.form, "OKButton"};
    CheckBox check{env.form, "Check1"};
    DirListBox folders{env.form, "Dir1"};
    applyDesign({
        {label, "名称:", 105, 540, 1080, 270},
        {text, "", 1050, 525, 2565, 345},
        {button, "确定", 1200, 1020, 1140, 390},
        {check, "下次不出此框", 120, 1080, 975, 375},
        {folders, "", 0, 360, 2415, 2610},
    });
    EXPECT_EQ(label.caption(), "名称:");
    EXPECT_EQ(button.caption(), "确定");
    EXPECT_EQ(check.caption(), "下次不出此框");
    EXPECT_EQ(text.text(), "");
    using Place = std::array<double, 4>;
    auto place = [](const Control& c) { return Place{c.left(), c.top(), c.width(), c.height()}; };
    EXPECT_EQ(place(label), (Place{105, 540, 1080, 270}));
    EXPECT_EQ(place(text), (Place{1050, 525, 2565, 345}));
    EXPECT_EQ(place(button), (Place{1200, 1020, 1140, 390}));
    EXPECT_EQ(place(check), (Place{120, 1080, 975, 375}));
    EXPECT_EQ(place(folders), (Place{0, 360, 2415, 2610}));
}

}  // namespace
