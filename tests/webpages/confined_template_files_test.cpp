// The template editor's files stay in their folders: the page-code dialog
// saves into webmodel\modeltext, the background picture is copied into the
// disc's ZelbrinWebImage folder; with those folders, or the name written, a
// link out, nothing outside changes and the refusal names the path; a write
// that fails (a full disk, a device error) is told with the file and reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/error.h"
#include "support/failing_step.h"
#include "support/harness.h"
#include "support/outside_snapshot.h"
#include "webpages/htmlcode_dialog.h"
#include "webpages/model_dialog.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Harness;

constexpr const char* Outside = "C:\\outside";

void prepareOutside(Harness& h) {
    h.write("C:\\outside\\locked.txt", "keep");
    h.makeFolder("C:\\outside\\folder");
    h.write("C:\\outside\\folder\\inner.txt", "inner");
}

void linkOut(Harness& h, const std::string& windowsPath, const std::string& outside) {
    const std::string native = h.nativePath(windowsPath);
    fs::remove_all(native);
    fs::create_directories(fs::path(native).parent_path());
    fs::create_symlink(h.nativePath(outside), native);
}

// A name made a link, what it points at, and the message ("" for none).
struct Case {
    const char* link;  // "" for the plain case
    const char* outside;
    const char* told;
};

// 保存 of part A as "蓝色": modeltext itself, or the name written, a link out.
TEST(ConfinedTemplateFiles, PageCodeSaveStaysInTheTemplateFolder) {
    const std::vector<Case> cases = {
        {"", "", ""},
        {"C:\\zelbrin\\webmodel\\modeltext", "C:\\outside\\folder",
         "路径不在允许的文件夹里：C:\\zelbrin\\webmodel\\modeltext"},
        {"C:\\zelbrin\\webmodel\\modeltext", "C:\\outside\\locked.txt",
         "文件名重复，请重新起名保存。"},
        {"C:\\zelbrin\\webmodel\\modeltext\\蓝色_A.htm", "C:\\outside\\made.htm",
         "路径不在允许的文件夹里：C:\\zelbrin\\webmodel\\modeltext\\蓝色_A.htm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        Harness h;
        h.makeFolder("C:\\zelbrin\\webmodel\\modeltext");
        prepareOutside(h);
        if (*c.link) linkOut(h, c.link, c.outside);
        const auto before = testsupport::outsideSnapshot(h.nativePath(Outside));
        h.start();
        h.ui.clearLog();
        h.ui.answerInputBox("蓝色");
        if (*c.told) h.ui.answerMsgBox(platform::MsgOK, c.told);
        h.ui.onModal<htmlcode>([](htmlcode& d) {
            d.Text1.userType("页头");
            d.Command1.userClick();
            d.CancelButton.userClick();
        });
        h.form.htmlview.userClick();
        EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath(Outside)), before);
        if (!*c.link) {
            EXPECT_TRUE(h.exists("C:\\zelbrin\\webmodel\\modeltext\\蓝色_A.htm"));
        }
        h.ui.verifyAllUsed();
    }
}

// The background picture copied with each folder of its way a link out.
TEST(ConfinedTemplateFiles, BackgroundPictureCopyStaysInThePageFolder) {
    const std::vector<Case> cases = {
        {"", "", ""},
        {"C:\\zelbrin\\webhtml", "C:\\outside\\folder",
         "路径不在允许的文件夹里：C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage"},
        {"C:\\zelbrin\\webhtml\\Disc1", "C:\\outside\\folder",
         "路径不在允许的文件夹里：C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage"},
        {"C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage", "C:\\outside\\folder",
         "路径不在允许的文件夹里：C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage"},
        {"C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage", "C:\\outside\\locked.txt",
         "路径不在允许的文件夹里：C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage"},
        {"C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage\\sky.bmp", "C:\\outside\\locked.txt",
         "路径不在允许的文件夹里：C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage\\sky.bmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        Harness h;
        h.write("C:\\pics\\sky.bmp", "picture");
        prepareOutside(h);
        if (*c.link) linkOut(h, c.link, c.outside);
        const auto before = testsupport::outsideSnapshot(h.nativePath(Outside));
        h.start();
        h.ui.clearLog();
        h.form.OpenedDisk = "Disc1";
        h.ui.answerOpen("C:\\pics\\sky.bmp");
        if (*c.told) h.ui.answerMsgBox(platform::MsgOK, c.told);
        h.ui.onModal<model>([](model& d) {
            d.Check7.userClick();
            d.Command1.userClick();
            if (d.loaded()) d.OKButton.userClick();
        });
        h.form.htmlselect.userClick();
        EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath(Outside)), before);
        if (!*c.link) {
            EXPECT_EQ(h.read("C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage\\sky.bmp"), "picture");
        }
        h.ui.verifyAllUsed();
    }
}

// Both saves failing at each step of their commit before its rename: nothing
// is written, no temporary file is left, and the file is named with the
// reason.
TEST(ConfinedTemplateFiles, ASaveThatFailsIsToldWithTheFileAndTheReason) {
    for (const testsupport::StepFailure& failure : testsupport::commitFailures()) {
        SCOPED_TRACE(failure.name());
        Harness h;
        h.makeFolder("C:\\zelbrin\\webmodel\\modeltext");
        h.write("C:\\pics\\sky.bmp", "picture");
        h.start();
        h.form.OpenedDisk = "Disc1";
        h.ui.clearLog();
        const std::string reason = platform::errorText(failure.number);
        const std::string code = "C:\\zelbrin\\webmodel\\modeltext\\蓝色_A.htm";
        const std::string picture = "C:\\zelbrin\\webhtml\\Disc1\\ZelbrinWebImage\\sky.bmp";
        {
            const testsupport::FailingStep failing(failure);
            h.ui.answerInputBox("蓝色");
            h.ui.answerMsgBox(platform::MsgOK, "不能保存文件: " + code + reason);
            h.ui.onModal<htmlcode>([](htmlcode& d) {
                d.Text1.userType("页头");
                d.Command1.userClick();
                d.CancelButton.userClick();
            });
            h.form.htmlview.userClick();
            h.ui.answerOpen("C:\\pics\\sky.bmp");
            h.ui.answerMsgBox(platform::MsgOK, "不能保存文件: " + picture + reason);
            h.ui.onModal<model>([](model& d) {
                d.Check7.userClick();
                d.Command1.userClick();
                if (d.loaded()) d.OKButton.userClick();
            });
            h.form.htmlselect.userClick();
        }
        h.ui.verifyAllUsed();
        EXPECT_FALSE(h.exists(code));
        EXPECT_FALSE(h.exists(picture));
        EXPECT_EQ(testsupport::tempFilesIn(h.nativePath("C:\\zelbrin")),
                  std::vector<std::string>{});
    }
}

}  // namespace
