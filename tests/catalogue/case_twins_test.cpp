// Discs whose names differ only in letter case: deleting one leaves the
// other's page open, and the catalogue and the mirror disc list find each
// disc's own line.
#include "discpage/case_twins.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "platform/ui/ui.h"

using namespace case_twins;

namespace {

TEST(DiscTwins, DeletingOneLeavesTheOtherOpen) {
    for (const char* item : {"DeleteThisCD", "Delete"}) {
        SCOPED_TRACE(item);
        testsupport::Harness h;
        writeTwins(h);
        h.start();
        Form1& f = h.form;
        f.TabStrip1.userSelect(disc_page_test::DiscTab);
        f.TreeView1.userClickNode(disc_page_test::node(f.TreeView1, Upper));
        f.TreeView1.userClickNode(disc_page_test::node(f.TreeView1, "ABC\\E:"));
        ASSERT_EQ(f.OpenedDisk, "ABC");
        ASSERT_EQ(f.ListView1.count(), 1);
        platform::TreeView& tree = std::string(item) == "Delete" ? f.TreeView2 : f.TreeView1;
        platform::Node* lower = nullptr;
        for (const auto& n : tree.nodes())
            if (n->text() == Lower) lower = n.get();
        ASSERT_NE(lower, nullptr);
        tree.setSelectedItem(lower);
        h.ui.answerMsgBox(platform::MsgOK);
        h.ui.choosePopup(item);
        tree.userMouseDown(platform::RightButton, 0, 100, 200);
        const std::filesystem::path guangpan = h.nativePath("C:\\zelbrin\\guangpan");
        ASSERT_FALSE(std::filesystem::exists(guangpan / "abc.wcd"));
        EXPECT_TRUE(std::filesystem::exists(guangpan / "ABC.wcd"));
        EXPECT_EQ(f.OpenedDisk, "ABC");
        EXPECT_EQ(f.ListView1.count(), 1);
        EXPECT_EQ(f.alreadystr, "ABC\\E:");
        EXPECT_EQ(h.read("C:\\zelbrin\\ini.ini"),
                  "|盘\r\n#twins_hard#1#孪生#\r\n#[005]Folders#5#目录#\r\n#ABC#7#大写#\r\n");
    }
}

TEST(CatalogueLinesOfTwinDiscs, ANameFindsItsOwnLineOrTheOnlyOneSpeltAlike) {
    const std::string text = "|盘\r\n#Abc#1#&&#\r\n#aBC#2#&&#\r\n#xyz#3#&&#\r\n";
    EXPECT_EQ(catalogue::FindDiscLine(text, "aBC"), 18u);
    // Two other spellings: neither is taken.
    EXPECT_EQ(catalogue::FindDiscLine(text, "abc"), std::nullopt);
    EXPECT_EQ(catalogue::FindDiscLine(text, "XYZ"), 30u);
}

TEST(CatalogueLinesOfTwinCategories, ANameFindsItsOwnLineOrTheOnlyOneSpeltAlike) {
    const std::string text = "|music\r\n#a#1#&&#\r\n|Music\r\n@Pop\r\n@pop\r\n|Film\r\n";
    EXPECT_EQ(catalogue::FindCategoryLine(text, "Music"), 18u);
    EXPECT_EQ(catalogue::FindCategoryLine(text, "MUSIC"), std::nullopt);
    EXPECT_EQ(catalogue::FindCategoryLine(text, "film"), 38u);
    EXPECT_EQ(catalogue::RenameCategoryLine(text, '|', "Music", "Songs"),
              "|music\r\n#a#1#&&#\r\n|Songs\r\n@Pop\r\n@pop\r\n|Film\r\n");
    EXPECT_EQ(catalogue::RenameCategoryLine(text, '@', "pop", "Rock"),
              "|music\r\n#a#1#&&#\r\n|Music\r\n@Pop\r\n@Rock\r\n|Film\r\n");
    EXPECT_EQ(catalogue::InsertSubCategoryLine(text, "Music", "Jazz"),
              "|music\r\n#a#1#&&#\r\n|Music\r\n@Pop\r\n@pop\r\n@Jazz\r\n|Film\r\n");
}

TEST(MirrorListOfTwinDiscs, ARenameChangesTheDiscsOwnLine) {
    EXPECT_EQ(catalogue::renameMirrorListLines("ABC\r\nabc\r\n", "abc", "new"), "ABC\r\nnew\r\n");
    EXPECT_EQ(catalogue::renameMirrorListLines("ABC\r\nxyz\r\n", "abc", "new"), "new\r\nxyz\r\n");
    EXPECT_EQ(catalogue::renameMirrorListLines("ABC\r\nAbc\r\n", "abc", "new"), std::nullopt);
}

}  // namespace
