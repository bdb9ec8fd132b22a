// Deleting discs and categories, driven as a user drives it: a node is
// clicked, the tree's pop-up menu is opened with the right button and the
// item chosen, and the confirmation answered.
#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "catalogue/pending_work.h"
#include "catalogue_steps.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/file_ops.h"
#include "platform/files/listing.h"
#include "support/harness.h"
#include "support/outside_snapshot.h"

namespace {

namespace fs = std::filesystem;
using catalogue_test::Catalogue;
using catalogue_test::discFile;
using catalogue_test::guangpanEntries;
using catalogue_test::MirrorList;
using testsupport::Harness;

constexpr const char* MirrorCopy = "C:\\mirror\\a\\song.mp3";

// Discs a (with remarks and usage notes) and 5 under 音乐, b (number 5, with
// remarks only) under its sub-category 外国; the empty categories 空间 and
// 空, and 电影 with its empty sub-category 科幻.
constexpr const char* CatalogueText =
    "|音乐\r\n"
    "#a#1#演唱会&&2004-5-1#\r\n"
    "#5#2#&&#\r\n"
    "@外国\r\n"
    "#b#5#&&#\r\n"
    "|空间\r\n"
    "|空\r\n"
    "|电影\r\n"
    "@科幻\r\n";

// The example catalogue without the given lines (each found as a whole line).
std::string catalogueWithout(std::initializer_list<std::string_view> lines) {
    std::string text = CatalogueText;
    for (const std::string_view line : lines) {
        const std::string whole = "\n" + std::string(line) + "\r\n";
        const auto p = ("\n" + text).find(whole);
        if (p == std::string::npos) {
            ADD_FAILURE() << "no line " << line;
            continue;
        }
        text.erase(p, whole.size() - 1);
    }
    return text;
}

// One line per node: its full path, "+" when expanded.
std::vector<std::string> describe(const platform::TreeView& tree) {
    std::vector<std::string> out;
    for (const auto& n : tree.nodes())
        out.push_back(n->fullPath() + " " + std::to_string(n->image()) +
                      (n->expanded() ? " +" : ""));
    return out;
}

void startCatalogue(Harness& h, std::string_view catalogue = CatalogueText) {
    h.write(Catalogue, catalogue);
    h.write(discFile("a", ".wcd"), "E:\\\r\n");
    h.write(discFile("a", ".note"), "a note\r\n");
    h.write(discFile("a", ".exam"), "a usage\r\n");
    h.write(discFile("5", ".wcd"), "E:\\\r\n");
    h.write(discFile("b", ".wcd"), "E:\\\r\n");
    h.write(discFile("b", ".note"), "b note\r\n");
    h.write(MirrorList, "a\r\n");
    h.write(MirrorCopy, "music");
    h.start();
    h.ui.clearLog();
}

// Selects the node (without the click's opening of the disc, which the
// disc page's tests cover) and chooses the pop-up item.
void choose(Harness& h, platform::TreeView& tree, platform::Node* node, const char* item) {
    if (node) tree.setSelectedItem(node);
    h.ui.choosePopup(item);
    tree.userMouseDown(platform::RightButton, 0, 100, 200);
}

void deleteInDiscList(Harness& h, std::string_view disc) {
    choose(h, h.form.TreeView1, &h.form.TreeView1.item(std::string(disc) + "*"), "DeleteThisCD");
}

void deleteInCategoryTree(Harness& h, std::string_view name) {
    choose(h, h.form.TreeView2, &h.form.TreeView2.item(std::string(name) + "*"), "Delete");
}

// Everything a refused or cancelled command leaves as it was.
struct Snapshot {
    std::string catalogue;
    std::vector<std::string> files, discList, categoryTree;
    int discs;
    bool firstClick, firstClick2;
};

Snapshot snapshot(const Harness& h) {
    return {h.readBytes(Catalogue),     guangpanEntries(h), describe(h.form.TreeView1),
            describe(h.form.TreeView2), h.form.Cdrom_Num,   h.form.firstClick,
            h.form.firstClick2};
}

void expectUnchanged(const Harness& h, const Snapshot& before) {
    const Snapshot now = snapshot(h);
    EXPECT_EQ(now.catalogue, before.catalogue);
    EXPECT_EQ(now.files, before.files);
    EXPECT_EQ(now.discList, before.discList);
    EXPECT_EQ(now.categoryTree, before.categoryTree);
    EXPECT_EQ(now.discs, before.discs);
    EXPECT_EQ(now.firstClick, before.firstClick);
    EXPECT_EQ(now.firstClick2, before.firstClick2);
}

// ---- a disc from the disc list ----

TEST(DeleteThisCD, RemovesTheLineAndTheFilesAndRebuildsTheCategoryTree) {
    Harness h;
    startCatalogue(h);
    // An index file copied from a CD is read-only; it is deleted all the same.
    h.makeReadOnly(discFile("a", ".wcd"));
    h.form.firstClick = h.form.firstClick2 = true;
    h.form.TreeView2.item("外国*").setExpanded(true);
    ASSERT_EQ(h.form.Cdrom_Num, 3);

    h.ui.answerMsgBox(platform::MsgOK, "你确实要删除 {a} 光盘 ?");
    deleteInDiscList(h, "a");

    EXPECT_EQ(h.read(Catalogue), catalogueWithout({"#a#1#演唱会&&2004-5-1#"}));
    EXPECT_EQ(guangpanEntries(h), (std::vector<std::string>{"5.wcd", "b.note", "b.wcd"}));
    // The mirror disc list and the mirror copies stay.
    EXPECT_EQ(h.read(MirrorList), "a\r\n");
    EXPECT_EQ(h.read(MirrorCopy), "music");
    EXPECT_EQ(describe(h.form.TreeView1), (std::vector<std::string>{"5 73", "b 73"}));
    // Rebuilt: the sub-category is folded again.
    EXPECT_EQ(describe(h.form.TreeView2), (std::vector<std::string>{
                                              "音乐 3 +",
                                              "音乐\\5 73",
                                              "音乐\\外国 3",
                                              "音乐\\外国\\b 73",
                                              "空间 3 +",
                                              "空 3 +",
                                              "电影 3 +",
                                              "电影\\科幻 3",
                                          }));
    EXPECT_FALSE(h.form.firstClick);
    EXPECT_FALSE(h.form.firstClick2);
    EXPECT_EQ(h.form.Cdrom_Num, 2);
    ASSERT_EQ(h.ui.log().size(), 2u);  // the pop-up menu and the confirmation
    EXPECT_EQ(h.ui.log()[1].title, "提示");
    EXPECT_EQ(h.ui.log()[1].buttons, platform::MsgButtons::OKCancel);
}

// The disc's remarks and usage notes are second names (hard links) of
// read-only files outside the program's folders: the names go, the files
// keep their bytes and their mode.
TEST(DeleteThisCD, HardLinksToReadOnlyFilesElsewhereGoAndThoseFilesKeepTheirMode) {
    Harness h;
    startCatalogue(h);
    h.write("C:\\elsewhere\\a.note", "kept note\r\n");
    h.write("C:\\elsewhere\\a.exam", "kept usage\r\n");
    const std::string elsewhere = h.nativePath("C:\\elsewhere");
    for (const char* ext : {".note", ".exam"}) {
        fs::permissions(elsewhere + "/a" + ext, fs::perms::owner_read | fs::perms::group_read);
        fs::remove(h.nativePath(discFile("a", ext)));
        fs::create_hard_link(elsewhere + "/a" + ext, h.nativePath(discFile("a", ext)));
    }
    const auto before = testsupport::outsideSnapshot(elsewhere);

    h.ui.answerMsgBox(platform::MsgOK, "你确实要删除 {a} 光盘 ?");
    deleteInDiscList(h, "a");

    EXPECT_EQ(guangpanEntries(h), (std::vector<std::string>{"5.wcd", "b.note", "b.wcd"}));
    EXPECT_EQ(testsupport::outsideSnapshot(elsewhere), before);
    for (const char* ext : {".note", ".exam"})
        EXPECT_EQ(fs::status(elsewhere + "/a" + ext).permissions(),
                  fs::perms::owner_read | fs::perms::group_read);
}

TEST(DeleteThisCD, TheFolderTreeOfTheDiscGoesWithItsNodeAndOtherNodesStay) {
    Harness h;
    startCatalogue(h);
    h.form.TreeView1.addChild("b*", "E:\\docs*", "docs", images::Folder);
    h.form.TreeView1.addChild("5*", "E:\\img*", "img", images::Folder);

    h.ui.answerMsgBox(platform::MsgOK, "你确实要删除 {b} 光盘 ?");
    deleteInDiscList(h, "b");

    EXPECT_EQ(describe(h.form.TreeView1), (std::vector<std::string>{"5 73", "a 73", "5\\img 1"}));
    EXPECT_EQ(guangpanEntries(h), (std::vector<std::string>{"5.wcd", "a.exam", "a.note", "a.wcd"}));
    EXPECT_EQ(h.read(Catalogue), catalogueWithout({"#b#5#&&#"}));
}

// A disc whose index file was never filed: its files go, the catalogue is not
// written (a missing one is not created).
TEST(DeleteThisCD, ADiscWithoutACatalogueLineLeavesTheCatalogueAlone) {
    struct Case {
        const char* name;
        bool catalogueExists;
    };
    for (const Case c : {Case{"filed elsewhere", true}, Case{"no catalogue", false}}) {
        SCOPED_TRACE(c.name);
        Harness h;
        if (c.catalogueExists) h.write(Catalogue, "|音乐\n#other#1#&&#");  // LF line ends kept
        h.write(discFile("loose", ".wcd"), "E:\\\r\n");
        h.start();
        h.ui.clearLog();
        if (!c.catalogueExists) fs::remove(h.nativePath(Catalogue));  // start-up made one
        const std::string before = c.catalogueExists ? h.readBytes(Catalogue) : "";

        h.ui.answerMsgBox(platform::MsgOK, "你确实要删除 {loose} 光盘 ?");
        deleteInDiscList(h, "loose");

        EXPECT_FALSE(h.exists(discFile("loose", ".wcd")));
        EXPECT_EQ(h.form.TreeView1.count(), 0);
        EXPECT_EQ(h.form.Cdrom_Num, 0);
        EXPECT_EQ(h.exists(Catalogue), c.catalogueExists);
        if (c.catalogueExists) {
            EXPECT_EQ(h.readBytes(Catalogue), before);
        }
    }
}

// ---- a disc from the category tree ----

// A disc named like another disc's number: only the line of the disc of that
// name goes.
TEST(DeleteDisc, RemovesTheLineOfTheDiscOfThatNameAndReloadsTheDiscList) {
    Harness h;
    startCatalogue(h);
    h.form.TreeView1.addChild("a*", "E:\\docs*", "docs", images::Folder);
    h.form.firstClick = h.form.firstClick2 = true;

    h.ui.answerMsgBox(platform::MsgOK, "确实要删除 {5} 光盘吗？");
    deleteInCategoryTree(h, "5");

    EXPECT_EQ(h.read(Catalogue), catalogueWithout({"#5#2#&&#"}));
    EXPECT_EQ(guangpanEntries(h),
              (std::vector<std::string>{"a.exam", "a.note", "a.wcd", "b.note", "b.wcd"}));
    // Reloaded from the index files: the folder tree is gone, the mirror
    // colour is back.
    EXPECT_EQ(describe(h.form.TreeView1), (std::vector<std::string>{"a 73", "b 73"}));
    EXPECT_EQ(h.form.TreeView1.item("a*").foreColor(), h.form.CopyFileColor);
    EXPECT_EQ(h.form.TreeView2.find("5*"), nullptr);
    EXPECT_NE(h.form.TreeView2.find("b*"), nullptr);
    EXPECT_FALSE(h.form.firstClick);
    EXPECT_FALSE(h.form.firstClick2);
    EXPECT_EQ(h.form.Cdrom_Num, 2);
    EXPECT_EQ(h.ui.log().back().title, "提示");
    EXPECT_EQ(h.ui.log().back().buttons, platform::MsgButtons::OKCancel);
}

// A record of unfinished work that cannot be dealt with (here a folder of
// its name) is never replaced: the delete changes nothing and says why.
TEST(DeleteDisc, ARecordOfUnfinishedWorkLeftOverStopsItUntilItIsSetAside) {
    Harness h;
    startCatalogue(h);
    h.makeFolder("C:\\zelbrin\\guangpan\\pending.ini");
    const std::string before = h.readBytes(Catalogue);
    h.ui.answerMsgBox(platform::MsgOK, "确实要删除 {b} 光盘吗？");
    h.ui.answerMsgBox(platform::MsgOK, std::string(catalogue::PendingWorkLeftText));
    deleteInCategoryTree(h, "b");
    h.ui.verifyAllUsed();
    EXPECT_EQ(h.readBytes(Catalogue), before);
    EXPECT_TRUE(h.exists("C:\\zelbrin\\guangpan\\b.wcd"));
    EXPECT_TRUE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    // The next event sets the record it cannot read aside and says so; the
    // command then goes through.
    h.ui.answerMsgBox(platform::MsgOK);
    h.ui.answerMsgBox(platform::MsgOK, "确实要删除 {b} 光盘吗？");
    deleteInCategoryTree(h, "b");
    h.ui.verifyAllUsed();
    EXPECT_NE(h.ui.messages().at(2).find("pending-2024-5-6.bad"), std::string::npos);
    EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    EXPECT_TRUE(h.exists("C:\\zelbrin\\guangpan\\pending-2024-5-6.bad"));
    EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\b.wcd"));
}

// A disc without usage notes, and one without remarks or usage notes: what
// there is goes, and the command goes on.
TEST(DeleteDisc, MissingRemarkAndUsageFilesArePassedOver) {
    Harness h;
    startCatalogue(h);
    h.ui.answerMsgBox(platform::MsgOK, "确实要删除 {b} 光盘吗？");
    deleteInCategoryTree(h, "b");
    h.ui.answerMsgBox(platform::MsgOK, "确实要删除 {5} 光盘吗？");
    deleteInCategoryTree(h, "5");

    EXPECT_EQ(guangpanEntries(h), (std::vector<std::string>{"a.exam", "a.note", "a.wcd"}));
    EXPECT_EQ(describe(h.form.TreeView1), (std::vector<std::string>{"a 73"}));
    EXPECT_EQ(h.read(Catalogue), catalogueWithout({"#b#5#&&#", "#5#2#&&#"}));
    EXPECT_EQ(h.form.Cdrom_Num, 1);
    EXPECT_EQ(h.ui.messages().size(), 2u);
}

// Letter case does not matter between the node, the catalogue line and the
// files.
TEST(DeleteDisc, TheCatalogueLineIsFoundInAnyCase) {
    Harness h;
    h.write(Catalogue, "|音乐\r\n#Alpha#1#&&#\r\n#alphabet#2#&&#\r\n");
    h.write(discFile("Alpha", ".wcd"), "E:\\\r\n");
    h.write(discFile("alphabet", ".wcd"), "E:\\\r\n");
    h.start();
    h.ui.clearLog();
    h.ui.answerMsgBox(platform::MsgOK, "你确实要删除 {Alpha} 光盘 ?");
    deleteInDiscList(h, "Alpha");
    EXPECT_EQ(h.read(Catalogue), "|音乐\r\n#alphabet#2#&&#\r\n");
    EXPECT_EQ(guangpanEntries(h), (std::vector<std::string>{"alphabet.wcd"}));
}

// A hand-edited catalogue may hold "abc" and "ABC"; deleting the one whose
// index is missing deletes its own line and files, never the other's.
TEST(DeleteDisc, OnlyFilesOfTheDiscsExactNameGo) {
    Harness h;
    h.write(Catalogue, "|音乐\r\n#ABC#2#&&#\r\n#abc#1#&&#\r\n");
    h.write(discFile("ABC", ".wcd"), "E:\\\r\n");
    h.write(discFile("ABC", ".note"), "ABC note\r\n");
    h.write(discFile("abc", ".exam"), "abc usage\r\n");
    h.start();
    h.ui.clearLog();
    platform::Node* node = nullptr;
    for (const auto& n : h.form.TreeView2.nodes())
        if (n->text() == "abc") node = n.get();
    ASSERT_NE(node, nullptr);
    h.ui.answerMsgBox(platform::MsgOK, "确实要删除 {abc} 光盘吗？");
    choose(h, h.form.TreeView2, node, "Delete");
    EXPECT_EQ(h.read(Catalogue), "|音乐\r\n#ABC#2#&&#\r\n");
    EXPECT_EQ(guangpanEntries(h), (std::vector<std::string>{"ABC.note", "ABC.wcd"}));
}

// ---- the open disc ----

TEST(DeleteOpenDisc, TheDiscPageForgetsTheDeletedDiscOnly) {
    struct Case {
        const char* menu;    // the pop-up item
        const char* opened;  // OpenedDisk before
        bool forgotten;
    };
    const Case cases[] = {
        // Only by its exact name: "A" is another disc.
        {"DeleteThisCD", "a", true}, {"DeleteThisCD", "A", false}, {"DeleteThisCD", "b", false},
        {"Delete", "a", true},       {"Delete", "A", false},       {"Delete", "5", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.menu) + " " + c.opened);
        Harness h;
        startCatalogue(h);
        h.form.OpenedDisk = c.opened;
        h.form.ListView1.add("E:\\docs\\x.txt*", "x.txt");
        h.form.alreadystr = "E:\\docs";
        h.form.Alreadystr2 = "E:\\docs";

        h.ui.answerMsgBox(platform::MsgOK);
        const std::string disc = "a";
        if (std::string(c.menu) == "Delete")
            deleteInCategoryTree(h, disc);
        else
            deleteInDiscList(h, disc);

        ASSERT_FALSE(h.exists(discFile("a", ".wcd")));
        EXPECT_EQ(h.form.OpenedDisk, c.forgotten ? "" : c.opened);
        EXPECT_EQ(h.form.ListView1.count(), c.forgotten ? 0 : 1);
        EXPECT_EQ(h.form.alreadystr, c.forgotten ? "" : "E:\\docs");
        EXPECT_EQ(h.form.Alreadystr2, c.forgotten ? "" : "E:\\docs");
    }
}

// ---- categories ----

TEST(DeleteCategory, OnlyAnEmptyCategoryGoesAndAfterItsSubCategoryItsParent) {
    Harness h;
    startCatalogue(h);
    h.form.firstClick = h.form.firstClick2 = true;
    const std::vector<std::string> discList = describe(h.form.TreeView1);

    h.ui.answerMsgBox(platform::MsgOK, "应该先删除子目录及光盘！");
    deleteInCategoryTree(h, "电影");
    EXPECT_EQ(h.read(Catalogue), CatalogueText);
    EXPECT_EQ(h.ui.log().back().title, "提示");
    EXPECT_EQ(h.ui.log().back().buttons, platform::MsgButtons::OK);

    h.ui.answerMsgBox(platform::MsgOK, "确实要删除 {科幻} 目录吗？");
    deleteInCategoryTree(h, "科幻");
    EXPECT_EQ(h.read(Catalogue), catalogueWithout({"@科幻"}));
    EXPECT_EQ(h.ui.log().back().buttons, platform::MsgButtons::OKCancel);

    h.ui.answerMsgBox(platform::MsgOK, "确实要删除 {电影} 目录吗？");
    deleteInCategoryTree(h, "电影");
    EXPECT_EQ(h.read(Catalogue), catalogueWithout({"@科幻", "|电影"}));
    EXPECT_EQ(h.form.TreeView2.find("电影*"), nullptr);
    EXPECT_EQ(h.form.TreeView2.find("科幻*"), nullptr);

    // A category holding discs is refused too; the disc list, the files and
    // the flags are never touched.
    h.ui.answerMsgBox(platform::MsgOK, "应该先删除子目录及光盘！");
    deleteInCategoryTree(h, "外国");
    EXPECT_EQ(describe(h.form.TreeView1), discList);
    EXPECT_EQ(guangpanEntries(h).size(), 6u);
    EXPECT_TRUE(h.form.firstClick);
    EXPECT_TRUE(h.form.firstClick2);
    EXPECT_EQ(h.form.Cdrom_Num, 3);
}

// The category's line is matched as a whole line, whatever stands before it.
TEST(DeleteCategory, TheWholeLineIsCutNotALineThatBeginsWithIt) {
    Harness h;
    startCatalogue(h);
    h.ui.answerMsgBox(platform::MsgOK, "确实要删除 {空} 目录吗？");
    deleteInCategoryTree(h, "空");
    EXPECT_EQ(h.read(Catalogue), catalogueWithout({"|空"}));
    EXPECT_NE(h.form.TreeView2.find("空间*"), nullptr);
    EXPECT_EQ(h.form.TreeView2.find("空*"), nullptr);
}

// ---- what changes nothing ----

TEST(DeleteNothing, CancelLeavesEveryFileAndBothTrees) {
    struct Case {
        bool discList;
        const char* node;
        const char* prompt;
    };
    const Case cases[] = {
        {true, "a", "你确实要删除 {a} 光盘 ?"},
        {false, "a", "确实要删除 {a} 光盘吗？"},
        {false, "空", "确实要删除 {空} 目录吗？"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prompt);
        Harness h;
        startCatalogue(h);
        h.form.firstClick = h.form.firstClick2 = true;
        h.form.OpenedDisk = "a";
        const Snapshot before = snapshot(h);
        h.ui.answerMsgBox(platform::MsgCancel, c.prompt);
        if (c.discList)
            deleteInDiscList(h, c.node);
        else
            deleteInCategoryTree(h, c.node);
        expectUnchanged(h, before);
        EXPECT_EQ(h.form.OpenedDisk, "a");
    }
}

TEST(DeleteNothing, NoSelectionOrAFolderNodeDoesNothing) {
    Harness h;
    startCatalogue(h);
    h.form.TreeView1.addChild("a*", "E:\\docs*", "docs", images::Folder);
    h.form.TreeView2.addChild("b*", "E:\\img*", "img", images::Folder);
    const Snapshot nothingSelected = snapshot(h);
    choose(h, h.form.TreeView1, nullptr, "DeleteThisCD");
    choose(h, h.form.TreeView2, nullptr, "Delete");
    expectUnchanged(h, nothingSelected);

    // Selecting a folder unfolds the nodes above it.
    h.form.TreeView1.userClickNode(h.form.TreeView1.item("E:\\docs*"));
    h.form.TreeView2.userClickNode(h.form.TreeView2.item("E:\\img*"));
    const Snapshot folderSelected = snapshot(h);
    choose(h, h.form.TreeView1, nullptr, "DeleteThisCD");
    choose(h, h.form.TreeView2, nullptr, "Delete");
    expectUnchanged(h, folderSelected);
    EXPECT_TRUE(h.ui.messages().empty());
}

// A name read from the catalogue that would lead out of "guangpan" deletes
// nothing, in "guangpan" or beside it, and says so.
TEST(DeleteNothing, ANameLeadingOutOfTheIndexFolderIsRefused) {
    for (const char* name : {"..\\x", "..", "sub/x", "c:x"}) {
        SCOPED_TRACE(name);
        Harness h;
        const std::string text = std::string("|音乐\r\n#") + name + "#1#&&#\r\n";
        h.write(Catalogue, text);
        h.write("C:\\zelbrin\\x.wcd", "outside");
        h.write("C:\\zelbrin\\guangpan\\sub\\x.wcd", "inside a folder");
        h.start();
        h.ui.clearLog();
        const Snapshot before = snapshot(h);

        h.ui.answerMsgBox(platform::MsgOK,
                          std::string("光盘名 {") + name + "} 不能用作文件名，没有删除这张光盘！");
        deleteInCategoryTree(h, name);

        expectUnchanged(h, before);
        EXPECT_EQ(h.read("C:\\zelbrin\\x.wcd"), "outside");
        EXPECT_EQ(h.read("C:\\zelbrin\\guangpan\\sub\\x.wcd"), "inside a folder");
        ASSERT_EQ(h.ui.log().size(), 2u);  // the pop-up menu and the refusal
        EXPECT_EQ(h.ui.log()[1].title, "提示");
        EXPECT_EQ(h.ui.log()[1].buttons, platform::MsgButtons::OK);
    }
}

// The catalogue is written before any file of the disc goes: when the write
// fails, the command says which file it could not save and why, and the disc
// keeps every file and node.
TEST(DeleteNothing, ACatalogueThatCannotBeWrittenKeepsTheDiscWhole) {
    for (const bool discList : {true, false}) {
        SCOPED_TRACE(discList ? "disc list" : "category tree");
        Harness h;
        startCatalogue(h);
        const Snapshot before = snapshot(h);
        const std::string catalogue = h.nativePath(Catalogue);
        const platform::files::ScopedCommitHook hook(
            [&](platform::files::CommitStep step, const std::string& path) {
                if (step == platform::files::CommitStep::Rename && path == catalogue)
                    throw platform::Error(platform::err::PermissionDenied);
            });
        h.ui.answerMsgBox(platform::MsgOK);  // the confirmation
        h.ui.answerMsgBox(platform::MsgOK);  // the error
        if (discList)
            deleteInDiscList(h, "a");
        else
            deleteInCategoryTree(h, "a");
        expectUnchanged(h, before);
        ASSERT_EQ(h.ui.messages().size(), 2u);
        EXPECT_EQ(h.ui.messages()[1], "不能保存文件: C:\\zelbrin\\ini.ini没有权限");
    }
}

}  // namespace
