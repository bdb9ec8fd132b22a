// Changing a disc, driven as a user drives it: the toolbar key "changeorder"
// or the disc list's pop-up item, the scan dialog in its change mode answered
// by script.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/scan_command.h"
#include "catalogue/scan_dialog.h"
#include "catalogue_steps.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "support/harness.h"
#include "support/outside_snapshot.h"

namespace {

namespace fs = std::filesystem;
using catalogue_test::Catalogue;
using catalogue_test::clickCategory;
using catalogue_test::discFile;
using catalogue_test::guangpanEntries;
using catalogue_test::MirrorList;
using catalogue_test::nodePaths;
using testsupport::Harness;

constexpr std::string_view NoDisc = "请点击光盘标签，然后选择你要修改的光盘！";
constexpr std::string_view NameTaken = "这个名字已经存在！";

// "other" has the number "abc": only the disc "abc" owns the line "#abc#…".
constexpr std::string_view Stored =
    "|音乐\r\n"
    "#other#abc#r&&d#\r\n"
    "@外国\r\n"
    "#x#1#x&&#\r\n"
    "#abc#3#演唱会&&2004-1-2#\r\n"
    "|电影2\r\n"
    "|电影\r\n"
    "#y#2#y&&#\r\n"
    "|软件\r\n";
constexpr std::string_view Notes =
    "@##note##@abc\\E:\\a.txt==about abc\\E:\\a.txt\r\n@##note##@abc\\E:\\docs.文件夹==d\r\n";
constexpr std::string_view Usage = "@##exam##@abc\\E:\\a.txt==used\r\n";
constexpr std::string_view Mirrors = "other\r\nabc\r\ny\r\n";

// A commit hook that records the name of each file written, linked or
// removed, in the order the names take effect ("-" before a removal, "+"
// before a new link).
platform::files::CommitHook recordCommits(std::vector<std::string>& names) {
    return [&names](platform::files::CommitStep step, const std::string& path) {
        const std::string name = fs::path(path).filename().string();
        if (step == platform::files::CommitStep::Rename) names.push_back(name);
        if (step == platform::files::CommitStep::Link) names.push_back("+" + name);
        if (step == platform::files::CommitStep::Remove) names.push_back("-" + name);
    };
}

// What the user does in the dialog; empty fields stay as shown.
struct ChangeAnswers {
    std::string name{}, number{}, remark{}, category{};
    std::function<void()> afterOk{};  // runs once the dialog has closed
    // The command's message after the dialog, answered OK.
    std::optional<std::string> thenMessage{};
};

void answerChange(Harness& h, ChangeAnswers a) {
    h.ui.onModal<Dialog>([a, &h](Dialog& d) {
        EXPECT_EQ(h.form.DialogFromWhere, "changeorder");
        if (!a.name.empty()) d.Text1.userType(a.name);
        if (!a.number.empty()) d.Text2.userType(a.number);
        if (!a.remark.empty()) d.Text3.userType(a.remark);
        if (!a.category.empty()) clickCategory(d, a.category);
        h.ui.answerMsgBox(platform::MsgYes);  // the summary of the changes
        d.OKButton.userClick();
        EXPECT_FALSE(d.loaded());
        if (a.afterOk) a.afterOk();
        if (a.thenMessage) h.ui.answerMsgBox(platform::MsgOK, *a.thenMessage);
    });
}

class ChangeDiscTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write(Catalogue, Stored);
        for (const char* disc : {"other", "x", "abc", "y"}) h.write(discFile(disc, ".wcd"), "");
        h.write(discFile("abc", ".wcd"), "E:\\|docs@\r\nE:\\a.txt[5]\r\n");
        h.write(discFile("abc", ".note"), Notes);
        h.write(discFile("abc", ".exam"), Usage);
        h.write(MirrorList, Mirrors);
        h.start();
        // The page 光盘 with the disc "abc" open.
        h.form.TreeView1.setVisible(true);
        h.form.OpenedDisk = "abc";
        h.form.ListView1.add("bz1", "3号光盘的备注：");
        h.ui.clearLog();
    }

    // Everything a refused or failed change must leave as it was.
    struct Snapshot {
        std::string catalogue, mirrors, notes, usage;
        std::vector<std::string> files, discList, categoryTree;
        std::string opened;
    };
    Snapshot snapshot() const {
        return {h.readBytes(Catalogue),
                h.readBytes(MirrorList),
                h.exists(discFile("abc", ".note")) ? h.readBytes(discFile("abc", ".note")) : "",
                h.exists(discFile("abc", ".exam")) ? h.readBytes(discFile("abc", ".exam")) : "",
                guangpanEntries(h),
                nodePaths(h.form.TreeView1),
                nodePaths(h.form.TreeView2),
                h.form.OpenedDisk};
    }
    void expectUnchanged(const Snapshot& before) const {
        const Snapshot now = snapshot();
        EXPECT_EQ(now.catalogue, before.catalogue);
        EXPECT_EQ(now.mirrors, before.mirrors);
        EXPECT_EQ(now.notes, before.notes);
        EXPECT_EQ(now.usage, before.usage);
        EXPECT_EQ(now.files, before.files);
        EXPECT_EQ(now.discList, before.discList);
        EXPECT_EQ(now.categoryTree, before.categoryTree);
        EXPECT_EQ(now.opened, before.opened);
        EXPECT_EQ(h.form.DialogFromWhere, "");
        EXPECT_FALSE(h.form.ok);
    }

    // The disc's files and its mirror line under the new name: the keys
    // change, the texts keep their words.
    void expectFilesNamed(const std::string& name) const {
        EXPECT_EQ(h.read(discFile(name, ".wcd")), "E:\\|docs@\r\nE:\\a.txt[5]\r\n");
        EXPECT_EQ(h.read(discFile(name, ".note")),
                  "@##note##@" + name + "\\E:\\a.txt==about abc\\E:\\a.txt\r\n@##note##@" + name +
                      "\\E:\\docs.文件夹==d\r\n");
        EXPECT_EQ(h.read(discFile(name, ".exam")), "@##exam##@" + name + "\\E:\\a.txt==used\r\n");
        EXPECT_EQ(h.read(MirrorList), "other\r\n" + name + "\r\ny\r\n");
    }

    Harness h;
};

// ---- refusals before the dialog ----

TEST_F(ChangeDiscTest, WithoutAnOpenDiscOfTheCatalogueTheCommandIsRefused) {
    struct Case {
        const char* what;
        std::function<void(Harness&)> arrange;
    };
    const Case cases[] = {
        {"no disc opened", [](Harness& h) { h.form.OpenedDisk.clear(); }},
        {"page 光盘 not shown", [](Harness& h) { h.form.TreeView1.setVisible(false); }},
        // A disc renamed or deleted since it was opened: no line of its own
        // ("abc" is only the number of "other" then).
        {"no catalogue line",
         [](Harness& h) { h.write(Catalogue, "|音乐\r\n#other#abc#r&&d#\r\n"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange(h);
        const Snapshot before = snapshot();
        // The toolbar button and the item of the menu 文件 run the same command.
        h.ui.answerMsgBox(platform::MsgOK, std::string(NoDisc));
        h.form.Toolbar1.userClick("changeorder");
        h.ui.answerMsgBox(platform::MsgOK, std::string(NoDisc));
        h.form.ChangeOrder.userClick();
        expectUnchanged(before);
        ASSERT_EQ(h.ui.log().size(), 2u);
        EXPECT_EQ(h.ui.log().back().title, "提示");
        h.ui.clearLog();
        h.write(Catalogue, Stored);
        h.form.TreeView1.setVisible(true);
        h.form.OpenedDisk = "abc";
    }
}

TEST_F(ChangeDiscTest, CancelAndTheCloseBoxChangeNothing) {
    const Snapshot before = snapshot();
    h.ui.onModal<Dialog>([](Dialog& d) {
        d.Text1.userType("新名");
        d.CancelButton.userClick();
    });
    h.form.Toolbar1.userClick("changeorder");
    expectUnchanged(before);

    h.ui.onModal<Dialog>([](Dialog& d) { d.Text2.userType("9"); });  // left open: close box
    h.form.Toolbar1.userClick("changeorder");
    expectUnchanged(before);
}

// ---- a new name ----

TEST_F(ChangeDiscTest, ANewNameGoesToEveryFileOfTheDiscAndTheCatalogueIsWrittenOnce) {
    std::vector<std::string> commits;
    const platform::files::ScopedCommitHook hook(recordCommits(commits));
    answerChange(h, {.name = "新名", .category = "电影"});
    h.ui.choosePopup("ChangeOrder1");
    h.form.TreeView1.userMouseDown(platform::RightButton, 0, 10, 20);
    h.ui.verifyAllUsed();

    EXPECT_EQ(h.read(Catalogue),
              "|音乐\r\n#other#abc#r&&d#\r\n@外国\r\n#x#1#x&&#\r\n|电影2\r\n|电影\r\n"
              "#新名#3#演唱会&&2004-1-2#\r\n#y#2#y&&#\r\n|软件\r\n");
    EXPECT_EQ(guangpanEntries(h), (std::vector<std::string>{"other.wcd", "x.wcd", "y.wcd",
                                                            "新名.exam", "新名.note", "新名.wcd"}));
    expectFilesNamed("新名");
    // Recorded first; the new files beside the old (the index linked); the
    // catalogue once, the switch; then the old files go, the mirror list
    // follows, and the record goes last.
    EXPECT_EQ(commits, (std::vector<std::string>{"pending.ini", "+新名.wcd", "新名.note",
                                                 "新名.exam", "ini.ini", "-abc.wcd", "-abc.note",
                                                 "-abc.exam", "red.ini", "-pending.ini"}));

    // Both trees: the disc list reloaded (in the mirror colour still), the
    // node last under its new category.
    EXPECT_EQ(nodePaths(h.form.TreeView1), (std::vector<std::string>{"other", "x", "y", "新名"}));
    EXPECT_EQ(h.form.TreeView1.item("新名*").foreColor(), h.form.CopyFileColor);
    const platform::Node& node = h.form.TreeView2.item("新名*");
    EXPECT_EQ(node.fullPath(), "电影\\新名");
    EXPECT_EQ(node.image(), images::Disc);
    EXPECT_EQ(h.form.TreeView2.find("abc*"), nullptr);
    EXPECT_EQ(h.form.TreeView2.item("电影*").child()->next()->text(), "新名");

    // The old name opens nothing any more.
    EXPECT_EQ(h.form.OpenedDisk, "");
    EXPECT_EQ(h.form.ListView1.count(), 0);
    EXPECT_FALSE(h.form.firstClick);
    EXPECT_FALSE(h.form.firstClick2);
    EXPECT_FALSE(h.form.ok);
    EXPECT_EQ(h.form.DialogFromWhere, "");
    EXPECT_TRUE(h.ui.messages().size() == 1u);  // the dialog's summary only
}

// The look-ups find "ABC.wcd" as "abc.wcd" when no file bears the exact
// name: a new name in another letter case only renames the disc's own files
// in place and moves the keys of its records.
TEST_F(ChangeDiscTest, ANameChangedInLetterCaseOnlyRenamesTheDiscsOwnFiles) {
    answerChange(h, {.name = "ABC"});
    h.form.Toolbar1.userClick("changeorder");
    h.ui.verifyAllUsed();

    EXPECT_EQ(guangpanEntries(h), (std::vector<std::string>{"ABC.exam", "ABC.note", "ABC.wcd",
                                                            "other.wcd", "x.wcd", "y.wcd"}));
    expectFilesNamed("ABC");
    EXPECT_NE(h.read(Catalogue).find("\r\n#ABC#3#演唱会&&2004-1-2#\r\n"), std::string::npos);
    EXPECT_EQ(h.read(Catalogue).find("\r\n#abc#"), std::string::npos);
    EXPECT_EQ(nodePaths(h.form.TreeView1), (std::vector<std::string>{"ABC", "other", "x", "y"}));
}

TEST_F(ChangeDiscTest, ADiscWithoutRemarksOrMirrorLineGetsNoSuchFile) {
    fs::remove(h.nativePath(discFile("abc", ".note")));
    fs::remove(h.nativePath(discFile("abc", ".exam")));
    fs::remove(h.nativePath(MirrorList));
    answerChange(h, {.name = "新名"});
    h.form.Toolbar1.userClick("changeorder");

    EXPECT_FALSE(h.exists(discFile("新名", ".note")));
    EXPECT_FALSE(h.exists(discFile("新名", ".exam")));
    EXPECT_TRUE(h.exists(discFile("新名", ".wcd")));
    // The reloaded disc list makes the empty list, as it does at start.
    EXPECT_EQ(h.read(MirrorList), "");
    EXPECT_EQ(h.read(Catalogue),
              "|音乐\r\n#other#abc#r&&d#\r\n@外国\r\n#新名#3#演唱会&&2004-1-2#\r\n#x#1#x&&#\r\n"
              "|电影2\r\n|电影\r\n#y#2#y&&#\r\n|软件\r\n");
}

TEST_F(ChangeDiscTest, ANameThatIsTakenIsRefusedBeforeAnythingChanges) {
    struct Case {
        const char* what;
        const char* name;
        std::function<void(Harness&)> arrange;  // while the dialog is shown
    };
    const Case cases[] = {
        {"a category", "软件", nullptr},
        {"a sub-category", "外国", nullptr},
        {"a disc without index file", "ghost",
         [](Harness& h) { h.write(Catalogue, std::string(Stored) + "#ghost#9#g&&#\r\n"); }},
        {"an index file made meanwhile", "新名",
         [](Harness& h) { h.write(discFile("新名", ".wcd"), "other"); }},
        {"a remark file left behind", "新名",
         [](Harness& h) { h.write(discFile("新名", ".NOTE"), "@##note##@新名\\E:\\b==b\r\n"); }},
        {"a usage file left behind", "新名",
         [](Harness& h) { h.write(discFile("新名", ".exam"), "@##exam##@新名\\E:\\b==b\r\n"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Harness* harness = &h;
        const auto arrange = c.arrange;
        answerChange(h, {.name = c.name,
                         .afterOk =
                             [harness, arrange] {
                                 if (arrange) arrange(*harness);
                             },
                         .thenMessage = std::string(NameTaken)});
        h.form.Toolbar1.userClick("changeorder");
        h.ui.verifyAllUsed();
        EXPECT_EQ(h.form.OpenedDisk, "abc");
        EXPECT_TRUE(h.exists(discFile("abc", ".wcd")));
        EXPECT_EQ(h.read(discFile("abc", ".note")), Notes);
        EXPECT_EQ(h.read(discFile("abc", ".exam")), Usage);
        EXPECT_EQ(h.read(MirrorList), Mirrors);
        EXPECT_NE(h.read(Catalogue).find("#abc#3#演唱会&&2004-1-2#\r\n"), std::string::npos);
        EXPECT_NE(h.form.TreeView2.find("abc*"), nullptr);
        h.ui.clearLog();
        for (const char* ext : {".wcd", ".NOTE", ".exam"})
            fs::remove(h.nativePath(discFile("新名", ext)));
        h.write(Catalogue, Stored);
    }
}

// A failure before the catalogue's write takes away the new files made, and
// nothing else: the disc keeps its old name in every file.
TEST_F(ChangeDiscTest, AFailureOnTheWayLeavesTheDiscAsItWas) {
    struct Case {
        const char* what;
        const char* failingTarget;  // the file whose link, commit or rename fails
    };
    const Case cases[] = {
        {"the index file's link and copy", "新名.wcd"},
        {"the new remarks", "新名.note"},
        {"the new usage notes", "新名.exam"},
        {"the catalogue", "ini.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Snapshot before = snapshot();
        bool failed = false;
        const platform::files::ScopedCommitHook hook(
            [&](platform::files::CommitStep step, const std::string& path) {
                if ((step == platform::files::CommitStep::Rename ||
                     step == platform::files::CommitStep::Link) &&
                    fs::path(path).filename() == c.failingTarget) {
                    failed = true;
                    platform::raise(platform::err::PermissionDenied);
                }
            });
        answerChange(h, {.name = "新名",
                         .thenMessage =
                             "改名失败：" + platform::errorText(platform::err::PermissionDenied)});
        h.form.Toolbar1.userClick("changeorder");
        h.ui.verifyAllUsed();
        EXPECT_TRUE(failed);
        expectUnchanged(before);
        EXPECT_EQ(h.form.ListView1.count(), 1);
        h.ui.clearLog();
    }
}

// ---- the other fields ----

TEST_F(ChangeDiscTest, AChangedRemarkMovesTheLineFirstUnderItsCategoryAndRenamesNothing) {
    std::vector<std::string> commits;
    const platform::files::ScopedCommitHook hook(recordCommits(commits));
    const std::vector<std::string> files = guangpanEntries(h);
    answerChange(h, {.remark = "新的备注"});
    h.form.Toolbar1.userClick("changeorder");

    EXPECT_EQ(h.read(Catalogue),
              "|音乐\r\n#other#abc#r&&d#\r\n@外国\r\n#abc#3#新的备注&&2004-1-2#\r\n#x#1#x&&#\r\n"
              "|电影2\r\n|电影\r\n#y#2#y&&#\r\n|软件\r\n");
    EXPECT_EQ(commits, std::vector<std::string>{"ini.ini"});
    EXPECT_EQ(guangpanEntries(h), files);
    // The node stands last under its category until the tree is built again.
    EXPECT_EQ(h.form.TreeView2.item("abc*").fullPath(), "音乐\\外国\\abc");
    EXPECT_EQ(h.form.TreeView2.item("外国*").child()->text(), "x");
    // The disc page keeps the disc.
    EXPECT_EQ(h.form.OpenedDisk, "abc");
    EXPECT_EQ(h.form.ListView1.count(), 1);
}

TEST_F(ChangeDiscTest, TheLineGoesUnderTheCategoryChosen) {
    struct Case {
        const char* category;
        const char* expected;
    };
    const Case cases[] = {
        {"音乐",
         "|音乐\r\n#abc#3#演唱会&&2004-1-2#\r\n#other#abc#r&&d#\r\n@外国\r\n#x#1#x&&#\r\n"
         "|电影2\r\n|电影\r\n#y#2#y&&#\r\n|软件\r\n"},
        {"电影",
         "|音乐\r\n#other#abc#r&&d#\r\n@外国\r\n#x#1#x&&#\r\n|电影2\r\n|电影\r\n"
         "#abc#3#演唱会&&2004-1-2#\r\n#y#2#y&&#\r\n|软件\r\n"},
        {"软件",
         "|音乐\r\n#other#abc#r&&d#\r\n@外国\r\n#x#1#x&&#\r\n|电影2\r\n|电影\r\n#y#2#y&&#\r\n"
         "|软件\r\n#abc#3#演唱会&&2004-1-2#\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.category);
        answerChange(h, {.category = c.category});
        h.form.Toolbar1.userClick("changeorder");
        EXPECT_EQ(h.read(Catalogue), c.expected);
        EXPECT_EQ(h.form.TreeView2.item("abc*").fullPath(), std::string(c.category) + "\\abc");
        h.write(Catalogue, Stored);
    }
}

TEST_F(ChangeDiscTest, ACategoryGoneWhileTheDialogWasOpenLosesNoLine) {
    const std::string without =
        "|音乐\r\n#other#abc#r&&d#\r\n@外国\r\n#abc#3#演唱会&&2004-1-2#\r\n";
    answerChange(h, {.category = "软件",
                     .afterOk = [this, without] { h.write(Catalogue, without); },
                     .thenMessage = "改名失败：" + catalogue::missingCategoryText("软件")});
    h.form.Toolbar1.userClick("changeorder");
    EXPECT_EQ(h.read(Catalogue), without);
    EXPECT_EQ(h.form.TreeView2.item("abc*").fullPath(), "音乐\\外国\\abc");
}

// A new name whose index, remark or usage file is a link out of
// "guangpan" (to a file, a folder, or nothing yet): the name is taken and
// nothing outside changes; the disc's own remark file a link out is renamed
// itself, its target untouched.
// The old remarks are a second name (a hard link) of a read-only file outside
// the program's folders: the old name goes, the file keeps its bytes and its
// mode.
TEST_F(ChangeDiscTest, OldRemarksThatAreAHardLinkToAReadOnlyFileLeaveThatFileAsItWas) {
    h.write("C:\\outside\\abc.note", Notes);
    const std::string outside = h.nativePath("C:\\outside");
    fs::permissions(outside + "/abc.note", fs::perms::owner_read | fs::perms::group_read);
    fs::remove(h.nativePath(discFile("abc", ".note")));
    fs::create_hard_link(outside + "/abc.note", h.nativePath(discFile("abc", ".note")));
    const auto before = testsupport::outsideSnapshot(outside);
    answerChange(h, {.name = "新名"});
    h.form.Toolbar1.userClick("changeorder");
    h.ui.verifyAllUsed();
    expectFilesNamed("新名");
    EXPECT_FALSE(h.exists(discFile("abc", ".note")));
    EXPECT_EQ(testsupport::outsideSnapshot(outside), before);
    EXPECT_EQ(fs::status(outside + "/abc.note").permissions(),
              fs::perms::owner_read | fs::perms::group_read);
}

TEST_F(ChangeDiscTest, LinksOutOfTheIndexFolderAreNeverFollowed) {
    struct Case {
        const char* link;     // the file of guangpan made a link
        const char* outside;  // what it points at
        bool taken;           // the new name is refused
        const char* told;     // by this message after the dialog
    };
    const Case cases[] = {
        {".note", "C:\\outside\\folder", true, "这个名字已经存在！"},
        {".note", "C:\\outside\\locked.txt", true, "这个名字已经存在！"},
        {".exam", "C:\\outside\\made.txt", true,
         "改名失败：路径不在允许的文件夹里：C:\\zelbrin\\guangpan\\新名.exam"},
        {".wcd", "C:\\outside\\folder", true, "这个名字已经存在！"},
        {"own .note", "C:\\outside\\locked.txt", false, ""},
    };
    h.write("C:\\outside\\locked.txt", "keep");
    h.makeFolder("C:\\outside\\folder");
    h.write("C:\\outside\\folder\\inner.txt", "inner");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.link) + " -> " + c.outside);
        const std::string linked =
            c.taken ? discFile("新名", c.link) : discFile("abc", std::string(c.link).substr(4));
        fs::remove(h.nativePath(linked));
        fs::create_symlink(h.nativePath(c.outside), h.nativePath(linked));
        const auto before = testsupport::outsideSnapshot(h.nativePath("C:\\outside"));
        answerChange(h,
                     {.name = "新名",
                      .thenMessage = c.taken ? std::optional<std::string>(c.told) : std::nullopt});
        h.form.Toolbar1.userClick("changeorder");
        h.ui.verifyAllUsed();
        EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath("C:\\outside")), before);
        if (c.taken) {
            EXPECT_EQ(h.form.OpenedDisk, "abc");
            EXPECT_EQ(h.read(discFile("abc", ".note")), Notes);
            fs::remove(h.nativePath(linked));
        } else {
            EXPECT_TRUE(
                fs::is_symlink(fs::symlink_status(h.nativePath(discFile("新名", ".note")))));
            EXPECT_TRUE(h.exists(discFile("新名", ".wcd")));
        }
        h.ui.clearLog();
    }
}

}  // namespace
