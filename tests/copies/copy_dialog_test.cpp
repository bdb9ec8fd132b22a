// The mirror target dialog: the folder it proposes, the base folder it
// keeps in the setting "Path", and the keys and buttons that close it.
#include "copies/copy_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/module1.h"
#include "platform/files/drive_table.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;

class CopyDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.start();
        h.form.OpenedDisk = "[004]Music";
    }

    std::string path() { return h.form.module1().GetRegValue(SettingsKey, "Path"); }
    void storePath(const std::string& value) {
        h.form.module1().CreateRegKey(SettingsKey);
        h.form.module1().SetRegValue(SettingsKey, "Path", value);
    }

    // Shows the dialog as the copy command does and runs the script in it.
    void show(std::function<void(copy&)> script) {
        h.form.MyValue.clear();
        h.form.DialogFromWhere = "copytag";
        h.ui.onModal<copy>(std::move(script));
        copy d(h.form);
        d.showModal();
        h.form.DialogFromWhere.clear();
    }

    Harness h;
};

TEST_F(CopyDialogTest, ProposalFromTheStoredBase) {
    struct Case {
        const char* stored;  // nullptr: no value
        const char* proposed;
    };
    for (const Case& c :
         {Case{nullptr, "c:\\zelbrin\\[004]Music"}, Case{"error", "c:\\zelbrin\\[004]Music"},
          Case{"Error", "c:\\zelbrin\\[004]Music"}, Case{"", "c:\\zelbrin\\[004]Music"},
          Case{"e:\\backup\\photos\\", "e:\\backup\\photos\\[004]Music"},
          Case{"C:\\[003]Photos", "C:\\[003]Photos[004]Music"}}) {
        if (c.stored) storePath(c.stored);
        show([&](copy& d) {
            EXPECT_EQ(d.Text1.text(), c.proposed) << (c.stored ? c.stored : "none");
            d.CancelButton.userClick();
        });
    }
}

// Without a kept base (or with one whose drive is gone) the proposal is on D:
// only when D: is a folder drive; otherwise on C:, the home folder.
TEST_F(CopyDialogTest, TheProposalIsOnADriveThatExists) {
    using platform::files::DriveKind;
    h.makeFolder("C:\\ddisk");
    const std::string dFolder = h.nativePath("C:\\ddisk");
    struct Case {
        const char* name;
        std::optional<platform::files::DriveEntry> d;  // none: no D:
        const char* stored;                            // nullptr: no value
        const char* proposed;
    };
    for (const Case& c : std::vector<Case>{
             {"D: a folder drive", platform::files::DriveEntry{.name = "D:", .folder = dFolder},
              nullptr, "d:\\zelbrin\\[004]Music"},
             {"D: a CD drive",
              platform::files::DriveEntry{
                  .name = "D:", .folder = dFolder, .kind = DriveKind::CdRom, .label = "X"},
              nullptr, "c:\\zelbrin\\[004]Music"},
             {"no D:", std::nullopt, nullptr, "c:\\zelbrin\\[004]Music"},
             {"a kept base on a drive not mapped", std::nullopt, "q:\\old\\",
              "c:\\zelbrin\\[004]Music"},
             {"a kept base on a folder drive D:",
              platform::files::DriveEntry{.name = "D:", .folder = dFolder}, "D:\\kept\\",
              "D:\\kept\\[004]Music"},
         }) {
        SCOPED_TRACE(c.name);
        h.drives().remove("D:");
        if (c.d) h.drives().set(*c.d);
        storePath(c.stored ? c.stored : "");
        show([&](copy& d) {
            EXPECT_EQ(d.Text1.text(), c.proposed);
            d.CancelButton.userClick();
        });
    }
}

TEST_F(CopyDialogTest, OkKeepsADifferentParentAsTheBase) {
    // The proposal confirmed: nothing is stored.
    show([](copy& d) { d.OKButton.userClick(); });
    EXPECT_EQ(h.form.MyValue, "c:\\zelbrin\\[004]Music");
    EXPECT_EQ(path(), "Error");

    // Another parent, confirmed with Enter, becomes the base.
    show([](copy& d) {
        d.Text1.userType("e:\\backup\\photos\\[004]Music");
        EXPECT_TRUE(d.userPressEnter());
        EXPECT_FALSE(d.loaded());
    });
    EXPECT_EQ(h.form.MyValue, "e:\\backup\\photos\\[004]Music");
    EXPECT_EQ(path(), "e:\\backup\\photos\\");

    // A text ending in "\" is its own parent; a bare name has none.
    show([](copy& d) {
        d.Text1.userType("e:\\x\\");
        d.OKButton.userClick();
    });
    EXPECT_EQ(path(), "e:\\x\\");
    show([](copy& d) {
        d.Text1.userType("bare");
        d.OKButton.userClick();
    });
    EXPECT_EQ(h.form.MyValue, "bare");
    EXPECT_EQ(path(), "");
    show([](copy& d) {
        EXPECT_EQ(d.Text1.text(), "c:\\zelbrin\\[004]Music");
        d.OKButton.userClick();
    });
}

TEST_F(CopyDialogTest, CancelEscAndTheCloseBoxHandNothingBack) {
    for (const auto& dismiss : std::vector<std::function<void(copy&)>>{
             [](copy& d) { d.CancelButton.userClick(); },
             [](copy& d) { EXPECT_TRUE(d.userPressEscape()); },
             [](copy& d) { d.userClose(); },
         }) {
        show([&](copy& d) {
            d.Text1.userType("e:\\other\\x");
            dismiss(d);
            EXPECT_FALSE(d.loaded());
        });
        EXPECT_EQ(h.form.MyValue, "");
        EXPECT_EQ(path(), "Error");
    }
}

TEST_F(CopyDialogTest, Layout) {
    show([](copy& d) {
        EXPECT_TRUE(d.fixedBorder());
        EXPECT_EQ(d.startPosition(), platform::StartPosition::CenterOwner);
        EXPECT_EQ(d.OKButton.caption(), "确定");
        EXPECT_EQ(d.CancelButton.caption(), "取消");
        // The label above the box, the buttons at the right, OK above Cancel.
        EXPECT_LT(d.Label1.top(), d.Text1.top());
        EXPECT_GT(d.OKButton.left(), d.Text1.left() + d.Text1.width());
        EXPECT_LT(d.OKButton.top(), d.CancelButton.top());
        d.CancelButton.userClick();
    });
}

}  // namespace
