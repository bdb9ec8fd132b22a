// The disc commands change files only in their own folders: a link in
// "guangpan" or at a chosen target is removed or replaced itself, never
// followed out, and a folder outside keeps its files, bytes and modes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "catalogue_steps.h"
#include "support/harness.h"
#include "support/outside_snapshot.h"

namespace {

namespace fs = std::filesystem;
using catalogue_test::Catalogue;
using catalogue_test::discFile;
using testsupport::Harness;

constexpr const char* Outside = "C:\\outside";

// Disc "a" filed under 音乐, with its three files; beside the program folder
// C:\outside holds a read-only file and a folder.
void prepare(Harness& h) {
    h.write(Catalogue, "|音乐\r\n#a#1#&&#\r\n");
    h.write(discFile("a", ".wcd"), "E:\\\r\n");
    h.write(discFile("a", ".note"), "@##note##@a\r\nnote\r\n");
    h.write(discFile("a", ".exam"), "usage\r\n");
    h.write("C:\\outside\\locked.txt", "keep");
    ::chmod(h.nativePath("C:\\outside\\locked.txt").c_str(), 0444);
    h.makeFolder("C:\\outside\\folder");
    h.write("C:\\outside\\folder\\inner.txt", "inner");
    h.start();
    h.ui.clearLog();
}

// Replaces a file of the program's folders with a link to a path outside.
void linkOut(Harness& h, const std::string& windowsPath, const char* outside) {
    const std::string native = h.nativePath(windowsPath);
    fs::remove(native);
    fs::create_symlink(h.nativePath(outside), native);
}

bool isLink(const Harness& h, const std::string& windowsPath) {
    return fs::is_symlink(fs::symlink_status(h.nativePath(windowsPath)));
}

void deleteDisc(Harness& h) {
    h.form.TreeView1.setSelectedItem(&h.form.TreeView1.item("a*"));
    h.ui.choosePopup("DeleteThisCD");
    h.ui.answerMsgBox(platform::MsgOK, "你确实要删除 {a} 光盘 ?");
    h.form.TreeView1.userMouseDown(platform::RightButton, 0, 100, 200);
}

// Deleting a disc whose files are links out of "guangpan": the links go,
// what they point at stays as it was (a read-only file stays read-only).
TEST(ConfinedDiscCommands, DeletingADiscRemovesLinksNeverTheirTargets) {
    struct Case {
        const char* file;     // the disc's file made a link
        const char* outside;  // what it points at
    };
    const std::vector<Case> cases = {
        {".note", "C:\\outside\\locked.txt"}, {".exam", "C:\\outside\\locked.txt"},
        {".wcd", "C:\\outside\\locked.txt"},  {".note", "C:\\outside\\folder"},
        {".wcd", "C:\\outside\\folder"},      {".exam", "C:\\outside\\missing.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " -> " + c.outside);
        Harness h;
        prepare(h);
        linkOut(h, discFile("a", c.file), c.outside);
        const auto before = testsupport::outsideSnapshot(h.nativePath(Outside));

        deleteDisc(h);

        EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath(Outside)), before);
        struct stat st {};
        ASSERT_EQ(::stat(h.nativePath("C:\\outside\\locked.txt").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0444u);
        for (const char* ext : {".wcd", ".note", ".exam"}) {
            EXPECT_FALSE(h.exists(discFile("a", ext))) << ext;
            EXPECT_FALSE(isLink(h, discFile("a", ext))) << ext;
        }
        EXPECT_EQ(h.read(Catalogue), "|音乐\r\n");
        // Only the confirmation: removing the link is no failure.
        EXPECT_EQ(h.ui.messages(), std::vector<std::string>{"你确实要删除 {a} 光盘 ?"});
    }
}

// Exporting onto a chosen name that is a link to a file or a folder
// outside: the link is replaced by the copy, its target stays as it was.
TEST(ConfinedDiscCommands, ExportReplacesALinkAtTheChosenTargetItself) {
    const std::vector<const char*> targets = {"C:\\outside\\locked.txt", "C:\\outside\\folder"};
    for (const char* target : targets) {
        SCOPED_TRACE(target);
        Harness h;
        prepare(h);
        h.makeFolder("C:\\out");
        fs::create_symlink(h.nativePath(target), h.nativePath("C:\\out") + "/a.wcd");
        const auto before = testsupport::outsideSnapshot(h.nativePath(Outside));
        h.form.OpenedDisk = "a";
        h.ui.answerSave("C:\\out\\a.wcd");
        h.form.Toolbar1.userClick("export");

        EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath(Outside)), before);
        EXPECT_FALSE(isLink(h, "C:\\out\\a.wcd"));
        EXPECT_EQ(h.read("C:\\out\\a.wcd"), "E:\\\r\n");
    }
}

// Scanning and importing under a name whose index file is a dangling link
// out of "guangpan": nothing is made outside and the user is told.
TEST(ConfinedDiscCommands, ImportNeverWritesThroughALinkOfTheNewIndexFile) {
    Harness h;
    prepare(h);
    h.write("C:\\in\\new.wcd", "E:\\\r\n");
    fs::create_symlink(h.nativePath("C:\\outside") + "/made.wcd",
                       h.nativePath(discFile("new", ".wcd")));
    const auto before = testsupport::outsideSnapshot(h.nativePath(Outside));
    h.ui.answerOpen(std::string("C:\\in\\new.wcd"));
    h.ui.onModal<Dialog>([](Dialog& d) {
        catalogue_test::clickCategory(d, "音乐");
        d.Text3.userType("r");
        d.Text1.userType("new");
        d.OKButton.userClick();
    });
    h.ui.answerMsgBox(platform::MsgOK);
    h.form.import.userClick();

    EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath(Outside)), before);
    EXPECT_FALSE(h.exists("C:\\outside\\made.wcd"));
    EXPECT_EQ(h.read(Catalogue), "|音乐\r\n#a#1#&&#\r\n");
    EXPECT_FALSE(h.ui.messages().empty());
}

}  // namespace
