// The folder chooser in its two modes: the user's own send-to folder (menu
// caption and settings store) and the scan's folder (Form1::SearchPath).
#include "copies/sendto_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/harness.h"

namespace {

using testsupport::Harness;

constexpr const char* NoDiscInDrive = "你选择的光驱或软驱里没有盘";

std::string storedFolder(Harness& h) {
    return h.settings.get("Zelbrin", "Expiry", "yourfolder", "<none>");
}

class SendToDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.makeFolder("C:\\work\\sub");
        h.start();
        h.form.SearchPath = "before";
    }

    void show(bool fromMaker, std::function<void(sendto&)> script) {
        h.form.fromMaker = fromMaker;
        h.ui.onModal<sendto>(std::move(script));
        sendto s(h.form);
        s.showModal();
    }

    Harness h;
};

TEST_F(SendToDialogTest, DesignValues) {
    show(false, [](sendto& s) {
        EXPECT_EQ(s.caption(), "选择文件夹");
        EXPECT_EQ(s.scaleWidth(), 2400);
        EXPECT_EQ(s.scaleHeight(), 3375);
        EXPECT_EQ(s.Dir1.top(), 360);
        EXPECT_EQ(s.OKButton.caption(), "确定");
        EXPECT_EQ(s.CancelButton.caption(), "取消");
        EXPECT_EQ(s.CancelButton.left(), 1200);
        s.CancelButton.userClick();
    });
}

TEST_F(SendToDialogTest, SendToModeSetsTheCaptionAndTheSetting) {
    show(false, [](sendto& s) {
        s.Drive1.userChoose("c:");
        s.Dir1.userOpen("C:\\work\\sub");
        s.OKButton.userClick();
        EXPECT_FALSE(s.loaded());
    });
    EXPECT_EQ(h.form.SendToCustom.caption(), "C:\\work\\sub");
    EXPECT_EQ(storedFolder(h), "C:\\work\\sub");
    EXPECT_EQ(h.form.SearchPath, "before");

    // A drive root keeps its backslash.
    show(false, [](sendto& s) {
        s.Dir1.userOpen("E:\\");
        s.OKButton.userClick();
    });
    EXPECT_EQ(storedFolder(h), "E:\\");

    // The next start shows the stored folder.
    Harness next;
    next.settings.save("Zelbrin", "Expiry", "yourfolder", storedFolder(h));
    next.start();
    EXPECT_EQ(next.form.SendToCustom.caption(), "E:\\");
}

TEST_F(SendToDialogTest, ScanModeSetsOnlyTheSearchPath) {
    show(true, [](sendto& s) {
        s.Dir1.userOpen("C:\\work");
        s.OKButton.userClick();
    });
    EXPECT_EQ(h.form.SearchPath, "C:\\work");
    EXPECT_EQ(h.form.SendToCustom.caption(), "你的文件夹");
    EXPECT_EQ(storedFolder(h), "<none>");
    EXPECT_TRUE(h.form.fromMaker);  // the form never changes the mode
}

TEST_F(SendToDialogTest, CancelAndCloseBoxChangeNothing) {
    for (const bool fromMaker : {false, true}) {
        show(fromMaker, [](sendto& s) {
            s.Dir1.userOpen("C:\\work");
            s.CancelButton.userClick();
        });
        show(fromMaker, [](sendto& s) {
            s.Dir1.userOpen("C:\\work");
            s.userClose();
        });
    }
    EXPECT_EQ(h.form.SearchPath, "before");
    EXPECT_EQ(h.form.SendToCustom.caption(), "你的文件夹");
    EXPECT_EQ(storedFolder(h), "<none>");
}

TEST_F(SendToDialogTest, DriveWithoutDiscIsReportedAndTheFolderStays) {
    h.setCdReady(false);
    show(true, [this](sendto& s) {
        s.Dir1.userOpen("C:\\work");
        h.ui.answerMsgBox(platform::MsgOK, NoDiscInDrive);
        s.Drive1.userChoose("e:");
        EXPECT_EQ(s.Drive1.drive(), "e:");
        EXPECT_EQ(s.Dir1.path(), "C:\\work");
        s.OKButton.userClick();
    });
    EXPECT_EQ(h.ui.log().back().title, "提示");
    EXPECT_EQ(h.form.SearchPath, "C:\\work");
}

TEST_F(SendToDialogTest, EveryShowingStartsAfresh) {
    std::string start;
    show(true, [&start](sendto& s) {
        start = s.Dir1.path();
        s.Dir1.userOpen("C:\\work\\sub");
        s.OKButton.userClick();
    });
    ASSERT_NE(start, "C:\\work\\sub");
    show(true, [&start](sendto& s) {
        EXPECT_EQ(s.Dir1.path(), start);
        s.CancelButton.userClick();
    });
}

}  // namespace
