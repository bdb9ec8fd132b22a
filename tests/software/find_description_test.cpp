// 查找软件说明 on the disc page: the selected file's description is found by
// the first record name (in list order) that its name holds, letter case
// ignored, and shown on the page 软件.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/text/text.h"
#include "support/harness.h"
#include "support/temp_folder.h"

namespace {

using testsupport::Harness;

constexpr const char* NotFound = "没有找到这个软件的说明！";
constexpr const char* Ambiguous = "有几个软件说明的名字只是大小写不同，请在软件树中选择！";

class FindDescription : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write("C:\\zelbrin\\guangpan\\[001]D.wcd",
                "E:\\FlashGet1.4.exe[900]\r\nE:\\readme.txt[5]\r\nE:\\NetAnts Pro.zip[7]\r\n");
        h.write("C:\\zelbrin\\ini.ini", "|软件\r\n#[001]D#1#&&#\r\n");
    }
    void addRecord(const std::string& fileName, const std::string& shownName) {
        h.write("C:\\zelbrin\\software\\" + fileName,
                "软件名称：" + shownName + "\r\n软件分类：工具\r\n");
    }
    // The disc page with the disc's root listed.
    void openDisc() {
        h.start();
        listRoot();
    }
    // The disc page shown again, the disc's root listed.
    void listRoot() {
        h.form.TabStrip1.userSelect(2);
        platform::TreeView& discs = h.form.TreeView1;
        discs.userClickNode(discs.item(1));
        discs.userClickNode(*discs.item(1).child());
        h.ui.clearLog();
    }
    // The row selected, then 查找软件说明 from its pop-up menu.
    void find(std::string_view rowText) {
        for (const auto& r : h.form.ListView1.items())
            if (r->text() == rowText) {
                h.form.ListView1.userClickItem(*r);
                h.ui.choosePopup("findSoftDescri");
                h.form.ListView1.userMouseDown(platform::RightButton, 0, 100, 100, r.get());
                return;
            }
        ADD_FAILURE() << "no row " << rowText;
    }

    Harness h;
};

TEST_F(FindDescription, TheFirstRecordWhoseNameTheFileHoldsIsShownOnTheSoftwarePage) {
    addRecord("flash.txt", "Flash");  // comes first in the list: taken
    addRecord("FlashGET.TXT", "FlashGet");
    openDisc();
    find("FlashGet1.4");
    EXPECT_EQ(h.form.ExistSoftName, "Flash");
    EXPECT_EQ(h.form.SoftCategoryT.text(), "工具");
    EXPECT_EQ(h.form.TabStrip1.selectedItem()->index(), 3);
    EXPECT_TRUE(h.form.TreeView3.visible());
    EXPECT_FALSE(h.form.ListView1.visible());
    EXPECT_TRUE(h.form.SoftNameT.visible());
    EXPECT_EQ(h.form.TreeView3.selectedItem(), nullptr);
    EXPECT_EQ(h.form.File1.path(), "C:\\");
    EXPECT_EQ(h.form.File1.pattern(), "*.*");
}

TEST_F(FindDescription, ARecordWhoseNameTheFileHoldsWithItsLetterCaseComesFirst) {
    h.write("C:\\zelbrin\\guangpan\\[001]D.wcd",
            "E:\\FlashGet1.4.exe[900]\r\nE:\\NetAnts Pro.zip[7]\r\nE:\\netants2.zip[7]\r\n"
            "E:\\NETANTS3.zip[7]\r\n");
    addRecord("flash.txt", "flash");
    addRecord("FlashGet.txt", "FlashGet");
    // Two records whose names differ in letter case alone (written natively:
    // a Windows path would find the first one again).
    addRecord("Ants.txt", "Ants");
    testsupport::writeBytes(
        std::filesystem::path(h.nativePath("C:\\zelbrin\\software")) / "ants.txt",
        platform::text::toCp936("软件名称：ants\r\n"));
    openDisc();
    struct Case {
        const char* row;
        const char* found;  // "": refused
    };
    const Case cases[] = {
        {"FlashGet1.4", "FlashGet"},  // held as it is written, though flash comes first
        {"NetAnts Pro", "Ants"},
        {"netants2", "ants"},
        {"NETANTS3", ""},  // letter case alone cannot tell Ants from ants
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        h.form.ExistSoftName.clear();
        listRoot();
        if (!*c.found) h.ui.answerMsgBox(platform::MsgOK, Ambiguous);
        find(c.row);
        EXPECT_EQ(h.form.ExistSoftName, c.found);
        EXPECT_EQ(h.form.TabStrip1.selectedItem()->index(), *c.found ? 3 : 2);
        EXPECT_EQ(h.form.File1.path(), "C:\\");
        h.ui.verifyAllUsed();
    }
}

TEST_F(FindDescription, AFileWithoutADescriptionIsToldAndTheDiscPageStays) {
    addRecord("FlashGet.txt", "FlashGet");
    openDisc();
    h.ui.answerMsgBox(platform::MsgOK, NotFound);
    find("NetAnts Pro");
    EXPECT_EQ(h.form.TabStrip1.selectedItem()->index(), 2);
    EXPECT_TRUE(h.form.ListView1.visible());
    EXPECT_EQ(h.form.ExistSoftName, "");
    EXPECT_EQ(h.form.File1.path(), "C:\\");
}

TEST_F(FindDescription, OffTheDiscPageNothingHappens) {
    addRecord("FlashGet.txt", "FlashGet");
    openDisc();
    h.form.ListView1.setSelectedItem(h.form.ListView1.items().front().get());
    h.form.TabStrip1.userSelect(1);
    h.ui.clearLog();
    h.form.findSoftDescri_Click();
    EXPECT_EQ(h.form.ExistSoftName, "");
    EXPECT_TRUE(h.ui.log().empty());
}

}  // namespace
