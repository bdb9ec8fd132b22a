// The mirror colour items of the menu 选项 (kept for the next start) and the
// reset of the copied size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwindow/module1.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;

constexpr const char* RestartToApply = "若想设置生效，请重新打开程序！";

TEST(MirrorOptions, TheColourItemsStoreTheColourForTheNextStart) {
    Harness h;
    h.start();
    const platform::Color before = h.form.CopyFileColor;
    struct Case {
        platform::MenuItem& item;
        const char* stored;
        int palette;
    };
    for (const Case& c : std::vector<Case>{{h.form.copyblue, "9", 9},
                                           {h.form.copypurple, "13", 13},
                                           {h.form.copygreen, "2", 2},
                                           {h.form.copyred, "12", 12},
                                           {h.form.copyred, "12", 12}}) {
        SCOPED_TRACE(c.stored);
        h.ui.answerMsgBox(platform::MsgOK, RestartToApply);
        c.item.userClick();
        EXPECT_EQ(h.form.module1().GetRegValue(SettingsKey, "Color"), c.stored);
        EXPECT_EQ(h.ui.log().back().title, "提示");
        // Nothing changes until the next start.
        EXPECT_EQ(h.form.CopyFileColor, before);
        EXPECT_FALSE(c.item.checked());

        Harness next;
        next.form.module1().CreateRegKey(SettingsKey);
        next.form.module1().SetRegValue(SettingsKey, "Color", c.stored);
        next.start();
        EXPECT_EQ(next.form.CopyFileColor, platform::qbColor(c.palette));
    }
    EXPECT_EQ(h.form.copycolor.caption(), "拷贝到硬盘上的文件显示的颜色");
}

TEST(MirrorOptions, ResetOfTheCopiedSize) {
    Harness h;
    h.write("C:\\zelbrin\\size.ini", " 3000\r\n");
    h.start();
    EXPECT_EQ(h.form.AllSize, 3000);
    EXPECT_EQ(h.form.CopyAllSize.caption(), "已经拷贝到硬盘上的文件大小是2K");
    h.form.CopyClearSize.userClick();
    EXPECT_EQ(h.form.AllSize, 0);
    EXPECT_EQ(h.readBytes("C:\\zelbrin\\size.ini"), " 0\r\n");
    EXPECT_EQ(h.form.CopyAllSize.caption(), "已经拷贝到硬盘上的文件大小是0K");
    EXPECT_TRUE(h.ui.log().empty());
}

}  // namespace
