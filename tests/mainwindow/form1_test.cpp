// The main window on the test harness: its design values, the harness's
// temporary machine, and one command driven end to end as a user would.
#include "mainwindow/form1.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/files/drive_table.h"
#include "platform/files/paths.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;

TEST(Form1Design, ImageNumbersAreFixed) {
    Harness h;
    const platform::ImageList& images = h.form.ImageList1;
    ASSERT_EQ(images.count(), images::Count);
    // Stored icon numbers and the fixed numbers of the program refer to these.
    const std::vector<std::pair<const char*, int>> expected = {
        {"folder", images::Folder},
        {"finddisc", images::Category},
        {"dot", images::OtherFile},
        {"whitedisc", images::Disc},
        {"softw", images::SoftwareCategory},
        {"softwarelist", images::SoftwareRecord},
        {"url", 2},
        {"txt", 24},
        {"wmf", 39},
        {"asf", 49},
        {"mid", 56},
        {"check", 58},
        {"copy3", 71},
        {"rar", 74},
        {"t1", 76},
        {"t2", 77},
        {"t78", 78},
        {"t90", 90},
        {"cda", 91},
        {"tree", 100},
        {"StopCD", 107},
        {"caj", 109},
        {"time", 112}};
    for (const auto& [key, number] : expected) EXPECT_EQ(images.indexOf(key), number) << key;
    EXPECT_EQ(images.key(57), "");  // the picture no command uses
}

TEST(Form1Design, WindowAndFrame) {
    Harness h;
    Form1& f = h.form;
    EXPECT_EQ(f.caption(), "Zelbrin18.0");
    EXPECT_EQ(f.scaleWidth(), 9675);
    EXPECT_EQ(f.scaleHeight(), 6780);
    EXPECT_EQ(f.Toolbar1.height(), 360);
    EXPECT_EQ(f.StatusBar1.height(), 375);
    ASSERT_EQ(f.StatusBar1.count(), 2);

    ASSERT_EQ(f.Toolbar1.count(), 34);
    std::vector<std::string> shown;
    for (const auto& b : f.Toolbar1.buttons())
        if (b->visible()) shown.push_back(b->key());
    EXPECT_EQ(shown, (std::vector<std::string>{"maker", "import", "export", "changeorder", "find",
                                               "copytag", "fgt1", "softlistbar", "newsoftbar",
                                               "save", "preview", "fgt2", "grid", "down", "eject",
                                               "playMP3", "help"}));
    for (const char* key : {"preview", "grid", "eject", "time", "fullscreen"})
        EXPECT_EQ(f.Toolbar1.button(key).style(), platform::ToolbarButton::Check) << key;
    EXPECT_EQ(f.Toolbar1.button("grid").toolTipText(), "去掉网格");
    EXPECT_EQ(f.Toolbar1.button("fgt4").style(), platform::ToolbarButton::Separator);
    EXPECT_EQ(f.Toolbar1.button(34).key(), "StopCD");

    ASSERT_EQ(f.TabStrip1.count(), 4);
    EXPECT_EQ(f.TabStrip1.selectedItem()->caption(), "分类");
    EXPECT_EQ(f.TabStrip1.tab("filelib").caption(), "文库");
    EXPECT_EQ(f.TreeView2.top(), f.TabStrip1.clientTop());

    ASSERT_EQ(f.ListView1.columnCount(), 5);
    EXPECT_EQ(f.ListView1.column(5).text(), "使用情况");
    EXPECT_FALSE(f.ListView2.visible());
    EXPECT_TRUE(f.ListView2.checkboxes());
    for (platform::Timer* t : {&f.Timer1, &f.Timer2}) {
        EXPECT_FALSE(t->running());
        EXPECT_EQ(t->interval(), 1000);
    }
    EXPECT_EQ(f.SoftDescriptionT.left() + f.SoftDescriptionT.width(),
              f.SoftNameT.left() + f.SoftNameT.width());
    EXPECT_EQ(f.SoftRankT.listCount(), 5);
    EXPECT_EQ(f.RegisterCode.caption(), "注册号:");
}

TEST(HarnessTest, FilesAreCodePage936OnATemporaryDriveTable) {
    std::string root;
    {
        Harness h;
        h.write("C:\\zelbrin\\ini.ini", "|软件\r\n");
        EXPECT_EQ(h.readBytes("c:\\ZELBRIN\\ini.ini"), "|\xC8\xED\xBC\xFE\r\n");
        EXPECT_EQ(h.read("C:\\zelbrin\\ini.ini"), "|软件\r\n");

        h.write("E:\\docs\\a.txt", "0123456789");
        EXPECT_TRUE(std::filesystem::exists(h.cdFolder() + "/docs/a.txt"));
        h.setCdReady(false);
        EXPECT_THROW(platform::files::toNative("E:\\docs\\a.txt"), platform::Error);
        h.setCdReady(true);
        h.setCdLabel("DATA");
        EXPECT_EQ(platform::files::DriveTable::current().find("E:")->label, "DATA");

        h.start();
        EXPECT_EQ(h.read("C:\\zelbrin\\disk.ini"), "E:\\\r\n");
        EXPECT_TRUE(h.form.visible());
        root = h.nativePath("C:\\");
    }
    EXPECT_FALSE(std::filesystem::exists(root));
    const auto* e = platform::files::DriveTable::current().find("E:");
    EXPECT_TRUE(e == nullptr || e->label != "DATA");
}

TEST(HarnessTest, FirstRunLeavesTheCdDriveFileAlone) {
    Harness h;
    // Start-up asks for the drive; Cancel twice stores nothing.
    h.ui.answerMsgBox(platform::MsgCancel);
    h.ui.answerInputBox(std::nullopt);
    h.start(true);
    EXPECT_FALSE(h.exists("C:\\zelbrin\\disk.ini"));
}

TEST(HarnessTest, AnswerLeftOverAtTeardownFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            Harness h;
            h.ui.answerMsgBox(platform::MsgOK, "若想设置生效，请重新打开程序！");
        },
        "若想设置生效，请重新打开程序！");
}

// A user clicks the toolbar's grid button twice: the file list loses its grid
// lines and gets them back; nothing is asked and the status bar is left alone.
TEST(ToolbarDispatch, GridButtonTogglesTheFileListsGridLines) {
    Harness h;
    h.start();
    Form1& f = h.form;
    f.ListView1.setGridLines(true);
    f.StatusBar1.panel(1).setText("左");
    f.StatusBar1.panel(2).setText("右");

    f.Toolbar1.userClick("grid");
    EXPECT_EQ(f.Toolbar1.button("grid").value(), 1);
    EXPECT_FALSE(f.ListView1.gridLines());

    f.Toolbar1.userClick("grid");
    EXPECT_EQ(f.Toolbar1.button("grid").value(), 0);
    EXPECT_TRUE(f.ListView1.gridLines());

    EXPECT_EQ(f.StatusBar1.panel(1).text(), "左");
    EXPECT_EQ(f.StatusBar1.panel(2).text(), "右");
    EXPECT_TRUE(h.ui.log().empty());
}

// The window's bars follow its size; the rest of the layout is start-up's.
TEST(Form1Resize, BarsSpanTheInnerArea) {
    Harness h;
    h.start();
    h.form.userResize(12000, 8010, platform::WindowState::Normal);
    EXPECT_EQ(h.form.Toolbar1.width(), 12000);
    EXPECT_EQ(h.form.StatusBar1.width(), 12000);
    EXPECT_EQ(h.form.StatusBar1.top() + h.form.StatusBar1.height(), 8010);
}

}  // namespace
