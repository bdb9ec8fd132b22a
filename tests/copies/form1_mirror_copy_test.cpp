// Copying the ticked files of the opened disc to the hard disk, run from the
// menu item 把打标记的文件拷贝到硬盘形成映象文件 and the toolbar as a user
// runs it: the copies and their bytes, the index with the mirror paths on
// the files' own lines, the mirror disc list, the copied size, the disc
// node's colour, and what a failure part-way leaves.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mirror_steps.h"
#include "platform/controls/listview.h"
#include "platform/files/committed_write.h"
#include "platform/files/drive_table.h"
#include "support/outside_snapshot.h"
#include "support/temp_folder.h"

using namespace mirror_test;
using Strings = std::vector<std::string>;

namespace {

namespace fs = std::filesystem;

constexpr const char* CopiedLines[] = {
    "F:\\c.txt[5]($){C:\\mirror\\[005]Photos\\c.txt}",
    "F:\\docs\\a.txt[4]($){C:\\mirror\\[005]Photos\\docs\\a.txt}",
    "F:\\docs\\img\\a.jpg[800]($){C:\\mirror\\[005]Photos\\docs\\img\\a.jpg}",
    "F:\\docs\\img\\z.txt[1]($)($)($){C:\\mirror\\[005]Photos\\docs\\img\\z.txt}",
};

// The Photos index after a run that copied every ticked file.
std::string photosCopied() {
    return lines({
        "F:\\|docs",
        CopiedLines[0],
        "F:\\b.txt[10]($)($)",
        "F:\\docs\\|img",
        "F:\\docs\\a.txt.bak[3]",
        CopiedLines[1],
        "F:\\docs\\m.txt[7]($){C:\\old\\docs\\m.txt}",
        CopiedLines[2],
        CopiedLines[3],
    });
}

TEST_F(MirrorCopy, ACdRunCopiesRecordsAndColours) {
    // Files copied from a CD are read-only.
    fs::permissions(h.nativePath("E:\\c.txt"), fs::perms::owner_read | fs::perms::group_read);
    openDisc(Photos);
    h.ui.answerMsgBox(platform::MsgYes, "要拷贝的光盘名是[005]Photos！是否正确？");
    h.ui.onModal<copy>([](copy& d) {
        EXPECT_EQ(d.caption(), "把打勾的文件拷贝到硬盘里！");
        EXPECT_EQ(d.Label1.caption(), "请输入要建立的文件夹的名字：");
        // No drive D: here: the proposal is on C:, the home folder.
        EXPECT_EQ(d.Text1.text(), "c:\\zelbrin\\[005]Photos");
        d.Text1.userType(Target);
        d.OKButton.userClick();
    });
    f().copytag.userClick();

    EXPECT_EQ(boxes(), Strings{"信息: 要拷贝的光盘名是[005]Photos！是否正确？"});
    // The copies keep the folders below the disc root; only ticked files
    // without a mirror copy are copied, from the drive the disc is in now.
    EXPECT_EQ(h.read("C:\\mirror\\[005]Photos\\c.txt"), "ccccc");
    EXPECT_EQ(h.read("C:\\mirror\\[005]Photos\\docs\\a.txt"), "aaaa");
    EXPECT_EQ(h.read("C:\\mirror\\[005]Photos\\docs\\img\\a.jpg"), std::string(800, 'j'));
    EXPECT_EQ(h.read("C:\\mirror\\[005]Photos\\docs\\img\\z.txt"), "z");
    EXPECT_FALSE(h.exists("C:\\mirror\\[005]Photos\\b.txt"));
    EXPECT_FALSE(h.exists("C:\\mirror\\[005]Photos\\docs\\m.txt"));
    EXPECT_FALSE(h.exists("C:\\mirror\\[005]Photos\\docs\\a.txt.bak"));
    EXPECT_TRUE(writable("C:\\mirror\\[005]Photos\\c.txt"));
    // Each mirror path on its own file's line, also after an earlier line
    // whose name begins with the same name.
    EXPECT_EQ(h.read(PhotosIndex), photosCopied());
    EXPECT_EQ(h.read(RedIni), "Other\r\n[005]Photos\r\n");
    EXPECT_EQ(f().AllSize, 1810);
    EXPECT_EQ(h.readBytes(SizeIni), " 1810\r\n");
    EXPECT_EQ(f().CopyAllSize.caption(), "已经拷贝到硬盘上的文件大小是1K");
    EXPECT_EQ(discNode(Photos).foreColor(), f().CopyFileColor);
    EXPECT_EQ(f().caption(), "Zelbrin");
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "4个文件已经拷贝到硬盘！");
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
    // The parent of the typed folder is the next proposal's base.
    EXPECT_EQ(setting("Path"), "C:\\mirror\\");
    EXPECT_EQ(f().MyValue, Target);
    EXPECT_EQ(f().DialogFromWhere, "");

    // A second run finds every ticked file mirrored: the folder exists (No:
    // copy into it), nothing is copied, the index is written back as it was,
    // the list keeps one line of the disc and the total is written again.
    h.ui.clearLog();
    h.write(SizeIni, "");
    h.ui.answerMsgBox(platform::MsgYes, "要拷贝的光盘名是[005]Photos！是否正确？");
    h.ui.onModal<copy>([](copy& d) {
        EXPECT_EQ(d.Text1.text(), "C:\\mirror\\[005]Photos");
        d.OKButton.userClick();
    });
    h.ui.answerMsgBox(platform::MsgNo, "已经有此文件夹！需要另选吗?");
    f().Toolbar1.userClick("copytag");
    EXPECT_EQ(h.read(PhotosIndex), photosCopied());
    EXPECT_EQ(h.read(RedIni), "Other\r\n[005]Photos\r\n");
    EXPECT_EQ(h.readBytes(SizeIni), " 1810\r\n");
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "0个文件已经拷贝到硬盘！");
}

// Folders whose names differ only in letter case are two folders on the
// disc and two below the target: each file is copied into its own.
TEST_F(MirrorCopy, FoldersThatDifferInCaseAreCopiedApart) {
    h.write(PhotosIndex,
            lines({"F:\\|Docs", "F:\\|docs", "F:\\Docs\\u.txt[3]($)", "F:\\docs\\l.txt[4]($)"}));
    const fs::path drive = h.nativePath("E:\\");
    fs::create_directories(drive / "Docs");
    testsupport::writeBytes(drive / "Docs" / "u.txt", "UUU");
    testsupport::writeBytes(drive / "docs" / "l.txt", "llll");
    openDisc(Photos);
    copyTo(Photos, Target);
    EXPECT_EQ(boxes(), Strings{"信息: 要拷贝的光盘名是[005]Photos！是否正确？"});
    const fs::path target = h.nativePath(Target);
    EXPECT_EQ(testsupport::readBytes(target / "Docs" / "u.txt"), "UUU");
    EXPECT_EQ(testsupport::readBytes(target / "docs" / "l.txt"), "llll");
    EXPECT_FALSE(fs::exists(target / "Docs" / "l.txt"));
    EXPECT_EQ(h.read(PhotosIndex),
              lines({"F:\\|Docs", "F:\\|docs",
                     "F:\\Docs\\u.txt[3]($){C:\\mirror\\[005]Photos\\Docs\\u.txt}",
                     "F:\\docs\\l.txt[4]($){C:\\mirror\\[005]Photos\\docs\\l.txt}"}));
}

TEST_F(MirrorCopy, TicksMadeInTheListAreCopied) {
    h.write(PhotosIndex, lines({"F:\\|docs", "F:\\c.txt[5]", "F:\\docs\\a.txt[4]"}));
    openDisc(Photos);
    platform::Node* docs = nullptr;
    for (const auto& n : f().TreeView1.nodes())
        if (n->fullPath() == "[005]Photos\\F:\\docs") docs = n.get();
    ASSERT_NE(docs, nullptr);
    f().TreeView1.userClickNode(*docs);
    ASSERT_EQ(f().ListView1.items().size(), 1u);
    f().ListView1.userToggleCheck(*f().ListView1.items().front());

    copyTo(Photos, Target);
    EXPECT_EQ(h.read("C:\\mirror\\[005]Photos\\docs\\a.txt"), "aaaa");
    EXPECT_FALSE(h.exists("C:\\mirror\\[005]Photos\\c.txt"));
    EXPECT_EQ(h.read(PhotosIndex),
              lines({"F:\\|docs", "F:\\c.txt[5]",
                     "F:\\docs\\a.txt[4]($){C:\\mirror\\[005]Photos\\docs\\a.txt}"}));
}

TEST_F(MirrorCopy, TheIndexIsWrittenOnceForAllTheFilesOfARun) {
    std::vector<std::string_view> index;
    std::vector<std::string> texts;
    texts.reserve(60);
    for (int i = 0; i < 60; ++i) {
        const std::string folder = "d" + std::to_string(i % 3);
        const std::string name = "f" + std::to_string(i) + ".txt";
        h.write("E:\\" + folder + "\\" + name, name);
        texts.push_back("F:\\" + folder + "\\" + name + "[6]($)");
    }
    for (const std::string& t : texts) index.push_back(t);
    h.write(PhotosIndex, lines(index));
    // The last file is missing: the run fails there, and still writes once.
    fs::remove(h.nativePath("E:\\d2\\f59.txt"));
    openDisc(Photos);
    const std::string indexNative = h.nativePath(PhotosIndex);
    int rewrites = 0;
    platform::files::ScopedCommitHook hook(
        [&](platform::files::CommitStep step, const std::string& path) {
            if (step == platform::files::CommitStep::Rename && path == indexNative) ++rewrites;
        });
    answerRun(Photos, Target);
    h.ui.answerMsgBox(platform::MsgOK, "不能读取文件: E:\\d2\\f59.txt文件未找到");
    f().copytag.userClick();
    EXPECT_EQ(rewrites, 1);
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "59个文件已经拷贝到硬盘！");
    const std::string after = h.read(PhotosIndex);
    EXPECT_NE(after.find("F:\\d1\\f58.txt[6]($){C:\\mirror\\[005]Photos\\d1\\f58.txt}\r\n"),
              std::string::npos);
    EXPECT_NE(after.find("F:\\d2\\f59.txt[6]($)\r\n"), std::string::npos);
}

TEST_F(MirrorCopy, AFailurePartWayRecordsEveryFileCopied) {
    fs::remove(h.nativePath("E:\\docs\\img\\a.jpg"));
    openDisc(Photos);
    answerRun(Photos, Target);
    h.ui.answerMsgBox(platform::MsgOK, "不能读取文件: E:\\docs\\img\\a.jpg文件未找到");
    f().copytag.userClick();

    // c.txt and docs\a.txt were copied before the failure: both recorded;
    // z.txt after it is not copied.
    EXPECT_TRUE(h.exists("C:\\mirror\\[005]Photos\\c.txt"));
    EXPECT_TRUE(h.exists("C:\\mirror\\[005]Photos\\docs\\a.txt"));
    EXPECT_FALSE(h.exists("C:\\mirror\\[005]Photos\\docs\\img\\a.jpg"));
    EXPECT_FALSE(h.exists("C:\\mirror\\[005]Photos\\docs\\img\\z.txt"));
    EXPECT_EQ(h.read(PhotosIndex), lines({
                                       "F:\\|docs",
                                       CopiedLines[0],
                                       "F:\\b.txt[10]($)($)",
                                       "F:\\docs\\|img",
                                       "F:\\docs\\a.txt.bak[3]",
                                       CopiedLines[1],
                                       "F:\\docs\\m.txt[7]($){C:\\old\\docs\\m.txt}",
                                       "F:\\docs\\img\\a.jpg[800]($)",
                                       "F:\\docs\\img\\z.txt[1]($)($)($)",
                                   }));
    EXPECT_EQ(h.readBytes(SizeIni), " 1009\r\n");
    EXPECT_EQ(h.read(RedIni), "Other\r\n[005]Photos\r\n");
    EXPECT_EQ(discNode(Photos).foreColor(), f().CopyFileColor);
    EXPECT_EQ(f().caption(), "Zelbrin");
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "2个文件已经拷贝到硬盘！");
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

TEST_F(MirrorCopy, AFailedFileInTheRootStopsTheRunBeforeAnyCopy) {
    fs::remove(h.nativePath("E:\\c.txt"));
    openDisc(Photos);
    answerRun(Photos, Target);
    h.ui.answerMsgBox(platform::MsgOK, "不能读取文件: E:\\c.txt文件未找到");
    f().copytag.userClick();
    EXPECT_EQ(h.read(PhotosIndex), lines(PhotosLines));
    EXPECT_FALSE(h.exists("C:\\mirror\\[005]Photos\\docs"));
    // Nothing copied: the list and the node stay as they were.
    EXPECT_EQ(h.read(RedIni), "Other\r\n");
    EXPECT_NE(discNode(Photos).foreColor(), f().CopyFileColor);
    EXPECT_EQ(h.readBytes(SizeIni), " 1000\r\n");
}

TEST_F(MirrorCopy, NamesFromAnIndexNeverLeaveTheTarget) {
    // An imported index whose names climb out of the disc, and a link in the
    // target that leads elsewhere: each counts as a failed copy.
    h.write("C:\\evil.txt", "old");
    h.write("E:\\evil.txt", "evil");
    struct Case {
        std::string line;
        std::string message;
    };
    const std::string badName = "文件的路径里有“.”、“..”或空的文件夹名，不能拷贝：";
    for (const Case& c : std::vector<Case>{
             {"F:\\..\\..\\evil.txt[4]($)", badName + "F:\\..\\..\\evil.txt"},
             {"F:\\docs\\..\\..\\..\\evil.txt[4]($)", badName + "F:\\docs\\..\\..\\..\\evil.txt"},
             {"F:\\.\\evil.txt[4]($)", badName + "F:\\.\\evil.txt"},
             {"F:\\..[4]($)", badName + "F:\\.."},
         }) {
        SCOPED_TRACE(c.line);
        h.write(PhotosIndex, lines({"F:\\c.txt[5]($)", c.line, "F:\\docs\\a.txt[4]($)"}));
        fs::remove_all(h.nativePath("C:\\mirror"));
        openDisc(Photos);
        answerRun(Photos, "C:\\mirror\\in\\deep");
        h.ui.answerMsgBox(platform::MsgOK, c.message);
        f().copytag.userClick();
        EXPECT_EQ(h.read("C:\\evil.txt"), "old");
        EXPECT_FALSE(h.exists("C:\\mirror\\evil.txt"));
        EXPECT_FALSE(h.exists("C:\\mirror\\in\\evil.txt"));
        // What came before is recorded; the line itself and what follows are not.
        EXPECT_EQ(h.read(PhotosIndex), lines({"F:\\c.txt[5]($){C:\\mirror\\in\\deep\\c.txt}",
                                              c.line, "F:\\docs\\a.txt[4]($)"}));
    }

    // docs in the target is a link to a folder outside it: the file is
    // refused and named, the run goes on with the next.
    h.write(PhotosIndex, lines({"F:\\docs\\a.txt[4]($)", "F:\\c.txt[5]($)"}));
    h.makeFolder("C:\\outside");
    h.makeFolder("C:\\linked");
    fs::create_directory_symlink(h.nativePath("C:\\outside"), h.nativePath("C:\\linked") + "/docs");
    openDisc(Photos);
    answerRun(Photos, "C:\\linked");
    h.ui.answerMsgBox(platform::MsgNo, "已经有此文件夹！需要另选吗?");
    h.ui.answerMsgBox(platform::MsgOK, "路径不在允许的文件夹里：C:\\linked\\docs");
    f().copytag.userClick();
    EXPECT_FALSE(h.exists("C:\\outside\\a.txt"));
    EXPECT_TRUE(fs::is_empty(h.nativePath("C:\\outside")));
    EXPECT_EQ(h.read(PhotosIndex),
              lines({"F:\\docs\\a.txt[4]($)", "F:\\c.txt[5]($){C:\\linked\\c.txt}"}));
    EXPECT_EQ(h.read("C:\\linked\\c.txt"), "ccccc");
    h.write(PhotosIndex, lines({"F:\\docs\\a.txt[4]($)"}));

    // A link in the copy's own name is replaced, never written through.
    h.write("C:\\outside\\secret.txt", "secret");
    h.makeFolder("C:\\named\\docs");
    fs::create_symlink(h.nativePath("C:\\outside\\secret.txt"),
                       h.nativePath("C:\\named\\docs") + "/a.txt");
    answerRun(Photos, "C:\\named");
    h.ui.answerMsgBox(platform::MsgNo, "已经有此文件夹！需要另选吗?");
    f().copytag.userClick();
    EXPECT_EQ(h.read("C:\\outside\\secret.txt"), "secret");
    EXPECT_EQ(h.read("C:\\named\\docs\\a.txt"), "aaaa");
    EXPECT_FALSE(fs::is_symlink(h.nativePath("C:\\named\\docs\\a.txt")));
    EXPECT_EQ(h.read(PhotosIndex), lines({"F:\\docs\\a.txt[4]($){C:\\named\\docs\\a.txt}"}));
}

TEST_F(MirrorCopy, CancelNoAndTheCloseBoxCopyNothing) {
    openDisc(Photos);
    // No to the disc's name.
    h.ui.answerMsgBox(platform::MsgNo, "要拷贝的光盘名是[005]Photos！是否正确？");
    f().copytag.userClick();
    // Cancel, Esc and the close box, also after a run that chose a folder.
    f().MyValue = "C:\\before";
    const std::vector<std::function<void(copy&)>> dismissals = {
        [](copy& d) { d.CancelButton.userClick(); },
        [](copy& d) { EXPECT_TRUE(d.userPressEscape()); },
        [](copy& d) { d.userClose(); },
    };
    for (const auto& dismiss : dismissals) {
        h.ui.answerMsgBox(platform::MsgYes, "要拷贝的光盘名是[005]Photos！是否正确？");
        h.ui.onModal<copy>([&dismiss](copy& d) {
            d.Text1.userType("C:\\elsewhere\\x");
            dismiss(d);
            EXPECT_FALSE(d.loaded());
        });
        f().copytag.userClick();
        EXPECT_EQ(f().MyValue, "");
        EXPECT_EQ(f().DialogFromWhere, "");
    }
    EXPECT_FALSE(h.exists("C:\\mirror"));
    EXPECT_FALSE(h.exists("C:\\elsewhere"));
    EXPECT_EQ(setting("Path"), "Error");
    EXPECT_EQ(h.read(PhotosIndex), lines(PhotosLines));
    EXPECT_EQ(boxes().size(), 4u);
}

TEST_F(MirrorCopy, NoDiscOpened) {
    h.ui.answerMsgBox(platform::MsgOK, "请点击光盘标签选择你要拷贝的光盘！");
    f().copytag.userClick();
    EXPECT_EQ(boxes(), Strings{"信息: 请点击光盘标签选择你要拷贝的光盘！"});
}

TEST_F(MirrorCopy, AnExistingFolderCanBeRefused) {
    h.makeFolder(Target);
    openDisc(Photos);
    answerRun(Photos, Target);
    h.ui.answerMsgBox(platform::MsgYes, "已经有此文件夹！需要另选吗?");
    f().copytag.userClick();
    EXPECT_FALSE(h.exists("C:\\mirror\\[005]Photos\\c.txt"));
    EXPECT_EQ(h.read(PhotosIndex), lines(PhotosLines));
    EXPECT_EQ(h.readBytes(SizeIni), " 1000\r\n");
}

TEST_F(MirrorCopy, TheTargetTyped) {
    openDisc(Photos);
    // One final "\" is dropped: no question, no doubled "\" in the paths.
    h.write(PhotosIndex, lines({"F:\\c.txt[5]($)"}));
    copyTo(Photos, "C:\\mirror\\p\\");
    EXPECT_EQ(h.read(PhotosIndex), lines({"F:\\c.txt[5]($){C:\\mirror\\p\\c.txt}"}));
    EXPECT_EQ(setting("Path"), "C:\\mirror\\p\\");

    // A native path under a drive is taken in its Windows form.
    h.write(PhotosIndex, lines({"F:\\c.txt[5]($)"}));
    copyTo(Photos, h.nativePath("C:\\") + "/native");
    EXPECT_EQ(h.read(PhotosIndex), lines({"F:\\c.txt[5]($){C:\\native\\c.txt}"}));

    // Targets a mirror path cannot be built on are refused before anything
    // is made; an empty one ends the command silently.
    const std::string refused =
        "映象文件的文件夹必须是以盘符开头的完整路径（例如 d:\\zelbrin\\光盘名），"
        "其中不能有“.”、“..”或空的文件夹名，也不能有“{”、“}”或“($)”！";
    for (const char* target :
         {"mirror", "C:\\a\\..\\b", "C:\\a\\\\b", "C:\\{x}", "C:\\x($)", "\\mirror"}) {
        SCOPED_TRACE(target);
        h.ui.clearLog();
        answerRun(Photos, target);
        h.ui.answerMsgBox(platform::MsgOK, refused);
        f().copytag.userClick();
        EXPECT_EQ(h.read(PhotosIndex), lines({"F:\\c.txt[5]($){C:\\native\\c.txt}"}));
    }
    EXPECT_FALSE(h.exists("C:\\b"));
    EXPECT_FALSE(h.exists("C:\\a"));
    h.ui.clearLog();
    answerRun(Photos, "");
    f().copytag.userClick();
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(MirrorCopy, AnIndexThatCannotBeReadStopsWithNothingWritten) {
    openDisc(Photos);
    fs::remove(h.nativePath(PhotosIndex));
    answerRun(Photos, Target);
    h.ui.answerMsgBox(platform::MsgOK);
    f().copytag.userClick();
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].rfind("提示: 不能打开文件: C:\\zelbrin\\guangpan\\[005]Photos.wcd", 0), 0u)
        << boxes()[1];
    EXPECT_FALSE(h.exists(PhotosIndex));
    EXPECT_FALSE(h.exists("C:\\mirror"));
    EXPECT_EQ(h.readBytes(SizeIni), " 1000\r\n");
    EXPECT_EQ(h.read(RedIni), "Other\r\n");
}

TEST_F(MirrorCopy, AMissingListIsMadeWithTheDisc) {
    fs::remove(h.nativePath(RedIni));
    h.write(PhotosIndex, lines({"F:\\c.txt[5]($)"}));
    openDisc(Photos);
    copyTo(Photos, Target);
    EXPECT_EQ(h.read(RedIni), "[005]Photos\r\n");
    EXPECT_EQ(discNode(Photos).foreColor(), f().CopyFileColor);

    // A line of the disc in another letter case is another disc's.
    h.write(RedIni, "[005]PHOTOS\r\n");
    h.write(PhotosIndex, lines({"F:\\docs\\a.txt[4]($)"}));
    copyTo(Photos, "C:\\second");
    EXPECT_TRUE(h.exists("C:\\second\\docs\\a.txt"));
    EXPECT_EQ(h.read(RedIni), "[005]PHOTOS\r\n[005]Photos\r\n");
}

TEST_F(MirrorCopy, AHardDiskFolderIsCopiedSideBySideAndNothingIsRecorded) {
    openDisc(Music);
    answerRun(Music, "C:\\out");
    h.ui.answerMsgBox(platform::MsgYes,
                      "可能文件位置已经发生变动！C:\\music\\pop\\live\\gone.mp3没发现！是否继续？");
    f().copytag.userClick();
    EXPECT_EQ(h.read("C:\\out\\top.mp3"), "top");
    EXPECT_EQ(h.read("C:\\out\\a.mp3"), "live-a");
    EXPECT_FALSE(h.exists("C:\\out\\b.mp3"));
    EXPECT_FALSE(h.exists("C:\\out\\live"));
    EXPECT_EQ(h.read(MusicIndex), lines(MusicLines));
    EXPECT_EQ(h.read(RedIni), "Other\r\n");
    EXPECT_EQ(h.readBytes(SizeIni), " 1000\r\n");
    EXPECT_EQ(f().AllSize, 1107);
    EXPECT_EQ(f().CopyAllSize.caption(), "已经拷贝的文件大小是1K");
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "2个文件已经拷贝到硬盘！");
    EXPECT_EQ(f().caption(), "Zelbrin");

    // No to the question stops the run.
    answerRun(Music, "C:\\out2");
    h.ui.answerMsgBox(platform::MsgNo,
                      "可能文件位置已经发生变动！C:\\music\\pop\\live\\gone.mp3没发现！是否继续？");
    f().copytag.userClick();
    EXPECT_TRUE(h.exists("C:\\out2\\top.mp3"));
    EXPECT_FALSE(h.exists("C:\\out2\\a.mp3"));
    EXPECT_EQ(f().AllSize, 1207);
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "1个文件已经拷贝到硬盘！");
}

}  // namespace

// ---- sources and folders outside their folders ----

// The sources of a hard-disk run: a ticked line outside the catalogued
// folder, a link in it to a file or a folder outside, a line of another
// drive: each is refused and named at the end, nothing outside is read into
// the target, and the run copies the others.
TEST_F(MirrorCopy, AHardDiskRunReadsOnlyInsideTheCataloguedFolder) {
    h.write("C:\\private\\notes.txt", "secret");
    h.write("C:\\private\\sub\\deep.mp3", "deep");
    fs::create_symlink(h.nativePath("C:\\private\\notes.txt"),
                       h.nativePath("C:\\music\\pop") + "/leak.mp3");
    fs::create_directory_symlink(h.nativePath("C:\\private\\sub"),
                                 h.nativePath("C:\\music\\pop") + "/out");
    h.write(MusicIndex, lines({
                            "C:\\music\\pop\\|live",
                            "C:\\music\\pop\\top.mp3[3]($)",
                            "C:\\private\\notes.txt[6]($)",
                            "C:\\music\\pop\\leak.mp3[6]($)",
                            "C:\\music\\pop\\out\\deep.mp3[4]($)",
                            "E:\\c.txt[5]($)",
                            "C:\\music\\pop\\live\\a.mp3[6]($)",
                        }));
    const testsupport::OutsideSnapshot outside =
        testsupport::outsideSnapshot(h.nativePath("C:\\private"));
    openDisc(Music);
    answerRun(Music, "C:\\out");
    h.ui.answerMsgBox(platform::MsgOK,
                      "路径不在允许的文件夹里：C:\\private\\notes.txt\r\n"
                      "路径不在允许的文件夹里：C:\\music\\pop\\leak.mp3\r\n"
                      "路径不在允许的文件夹里：C:\\music\\pop\\out\\deep.mp3\r\n"
                      "路径不在允许的文件夹里：E:\\c.txt");
    f().copytag.userClick();
    EXPECT_EQ(h.read("C:\\out\\top.mp3"), "top");
    EXPECT_EQ(h.read("C:\\out\\a.mp3"), "live-a");
    for (const char* name : {"notes.txt", "leak.mp3", "deep.mp3", "c.txt"})
        EXPECT_FALSE(h.exists(std::string("C:\\out\\") + name)) << name;
    EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath("C:\\private")), outside);
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "2个文件已经拷贝到硬盘！");
}

// A link on the CD that leads out of it, as the file or as a folder on its
// path: refused and named, no mirror path or size recorded for it; the run
// goes on with the others.
TEST_F(MirrorCopy, ACdRunReadsOnlyFromTheDisc) {
    h.write("C:\\private\\notes.txt", "secret");
    h.write("C:\\private\\sub\\x.txt", "x");
    fs::create_symlink(h.nativePath("C:\\private\\notes.txt"), h.nativePath("E:\\docs") + "/n.txt");
    fs::create_directory_symlink(h.nativePath("C:\\private\\sub"),
                                 h.nativePath("E:\\docs") + "/sub");
    h.write(PhotosIndex, lines({
                             "F:\\c.txt[5]($)",
                             "F:\\docs\\n.txt[6]($)",
                             "F:\\docs\\sub\\x.txt[1]($)",
                             "F:\\docs\\a.txt[4]($)",
                         }));
    openDisc(Photos);
    answerRun(Photos, Target);
    h.ui.answerMsgBox(platform::MsgOK,
                      "路径不在允许的文件夹里：E:\\docs\\n.txt\r\n"
                      "路径不在允许的文件夹里：E:\\docs\\sub\\x.txt");
    f().copytag.userClick();
    EXPECT_EQ(h.read(PhotosIndex),
              lines({
                  "F:\\c.txt[5]($){C:\\mirror\\[005]Photos\\c.txt}",
                  "F:\\docs\\n.txt[6]($)",
                  "F:\\docs\\sub\\x.txt[1]($)",
                  "F:\\docs\\a.txt[4]($){C:\\mirror\\[005]Photos\\docs\\a.txt}",
              }));
    EXPECT_FALSE(h.exists(std::string(Target) + "\\docs\\n.txt"));
    EXPECT_FALSE(h.exists(std::string(Target) + "\\docs\\sub\\x.txt"));
    EXPECT_EQ(h.readBytes(SizeIni), " 1009\r\n");
    EXPECT_EQ(h.read("C:\\private\\notes.txt"), "secret");
}

// An existing target whose folders lead out through links, at each level
// and to a folder or a file: nothing is made or written outside, the file is
// refused and named, and the files beside it are copied.
TEST_F(MirrorCopy, FoldersOfTheTargetThatLeadOutGetNothing) {
    h.write(PhotosIndex, lines({"F:\\docs\\img\\a.jpg[800]($)", "F:\\c.txt[5]($)"}));
    h.write("C:\\outside\\file.txt", "keep");
    h.makeFolder("C:\\outside\\docs");
    struct Case {
        const char* name;
        const char* link;      // below the target
        const char* pointsTo;  // outside
        const char* refused;   // the path named
    };
    int n = 0;
    for (const Case& c : std::vector<Case>{
             {"docs to a folder", "docs", "C:\\outside\\docs", "C:\\t0\\docs\\img"},
             {"img to a folder", "docs\\img", "C:\\outside\\docs", "C:\\t1\\docs\\img"},
             {"docs to a file", "docs", "C:\\outside\\file.txt", "C:\\t2\\docs\\img"},
             {"img to a file", "docs\\img", "C:\\outside\\file.txt", "C:\\t3\\docs\\img"},
             {"docs to nothing", "docs", "C:\\outside\\none.txt", "C:\\t4\\docs\\img"},
             {"img to nothing", "docs\\img", "C:\\outside\\none.txt", "C:\\t5\\docs\\img"},
         }) {
        SCOPED_TRACE(c.name);
        const std::string target = "C:\\t" + std::to_string(n++);
        const std::string link = target + "\\" + c.link;
        h.makeFolder(link.substr(0, link.rfind('\\')));
        const bool folder = std::string(c.pointsTo).find('.') == std::string::npos;
        if (folder)
            fs::create_directory_symlink(h.nativePath(c.pointsTo), h.nativePath(link));
        else
            fs::create_symlink(h.nativePath(c.pointsTo), h.nativePath(link));
        const testsupport::OutsideSnapshot outside =
            testsupport::outsideSnapshot(h.nativePath("C:\\outside"));
        openDisc(Photos);
        answerRun(Photos, target);
        h.ui.answerMsgBox(platform::MsgNo, "已经有此文件夹！需要另选吗?");
        h.ui.answerMsgBox(platform::MsgOK, std::string("路径不在允许的文件夹里：") + c.refused);
        f().copytag.userClick();
        EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath("C:\\outside")), outside);
        EXPECT_EQ(h.read(target + "\\c.txt"), "ccccc");
        h.write(PhotosIndex, lines({"F:\\docs\\img\\a.jpg[800]($)", "F:\\c.txt[5]($)"}));
    }
}

// ---- targets on drives that do not exist, and the messages of failed runs ----

// A target on a drive that is not mapped (no such drive, a folder drive
// whose folder is gone, a CD drive without a disc) is refused with a message
// naming the drive, before anything is made anywhere.
TEST_F(MirrorCopy, ATargetOnADriveThatIsNotMappedIsRefused) {
    using platform::files::DriveKind;
    openDisc(Photos);
    const testsupport::OutsideSnapshot before = testsupport::outsideSnapshot(h.nativePath("C:\\"));
    struct Case {
        const char* name;
        std::optional<platform::files::DriveEntry> d;  // none: no D:
        const char* target;
        const char* message;
    };
    for (const Case& c : std::vector<Case>{
             {"no D:", std::nullopt, "d:\\zelbrin\\[005]Photos",
              "驱动器 D: 不存在或没有映射到文件夹，请另选一个文件夹。"},
             {"a letter no drive has", std::nullopt, "q:\\x",
              "驱动器 Q: 不存在或没有映射到文件夹，请另选一个文件夹。"},
             {"D:'s folder is gone",
              platform::files::DriveEntry{.name = "D:", .folder = h.nativePath("C:\\gone")},
              "D:\\zelbrin\\[005]Photos", "驱动器 D: 不存在或没有映射到文件夹，请另选一个文件夹。"},
             {"D: a CD drive without a disc",
              platform::files::DriveEntry{.name = "D:",
              .folder = h.nativePath("C:\\music"),
              .kind = DriveKind::CdRom,
              .ready = false},
              "d:\\mirror", "驱动器 D: 不存在或没有映射到文件夹，请另选一个文件夹。"},
         }) {
        SCOPED_TRACE(c.name);
        h.drives().remove("D:");
        if (c.d) h.drives().set(*c.d);
        h.ui.clearLog();
        answerRun(Photos, c.target);
        h.ui.answerMsgBox(platform::MsgOK, c.message);
        f().copytag.userClick();
        EXPECT_EQ(boxes().size(), 2u);
        EXPECT_EQ(boxes().back(), std::string("提示: ") + c.message);
        EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath("C:\\")), before);
    }
    EXPECT_EQ(h.read(PhotosIndex), lines(PhotosLines));

    // The folder proposed without D: is on C: and the run copies into it.
    h.drives().remove("D:");
    h.write(PhotosIndex, lines({"F:\\c.txt[5]($)"}));
    h.ui.answerMsgBox(platform::MsgYes, "要拷贝的光盘名是[005]Photos！是否正确？");
    h.ui.onModal<copy>([](copy& d) { d.OKButton.userClick(); });
    f().copytag.userClick();
    EXPECT_EQ(h.read("C:\\zelbrin\\[005]Photos\\c.txt"), "ccccc");
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "1个文件已经拷贝到硬盘！");
}

// A run makes no folder it does not copy into: with nothing left to copy,
// or a file that cannot be read, neither the target nor the file's folders
// are made; the folders of the files it copies are.
TEST_F(MirrorCopy, ARunMakesNoFolderItDoesNotCopyInto) {
    struct Case {
        const char* name;
        std::string_view disc;
        std::string index;
        std::vector<std::pair<int, std::string>> answers;
        Strings made;  // below C:\, all there is after the run
        int copied;
    };
    const std::string missing = "不能读取文件: E:\\docs\\img\\gone.txt文件未找到";
    const std::vector<Case> cases = {
        {"every ticked file mirrored already",
         Photos,
         lines({"F:\\|docs", "F:\\c.txt[5]($){C:\\old\\c.txt}", "F:\\docs\\a.txt[4]",
                "F:\\docs\\m.txt[7]($){C:\\old\\docs\\m.txt}"}),
         {},
         {},
         0},
        {"nothing ticked", Photos, lines({"F:\\c.txt[5]", "F:\\docs\\a.txt[4]($)($)"}), {}, {}, 0},
        {"the only file missing from the disc",
         Photos,
         lines({"F:\\docs\\img\\gone.txt[3]($)"}),
         {{platform::MsgOK, missing}},
         {},
         0},
        {"a file copied, then one missing in another folder",
         Photos,
         lines({"F:\\c.txt[5]($)", "F:\\docs\\img\\gone.txt[3]($)", "F:\\docs\\a.txt[4]($)"}),
         {{platform::MsgOK, missing}},
         {"mirror", "mirror\\[005]Photos", "mirror\\[005]Photos\\c.txt"},
         1},
        {"a hard-disk folder's only file gone",
         Music,
         lines({"C:\\music\\pop\\|live", "C:\\music\\pop\\live\\gone.mp3[8]($)"}),
         {{platform::MsgYes,
           "可能文件位置已经发生变动！C:\\music\\pop\\live\\gone.mp3没发现！是否继续？"}},
         {},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(h.nativePath("C:\\mirror"));
        h.write(c.disc == Photos ? PhotosIndex : MusicIndex, c.index);
        openDisc(c.disc);
        answerRun(c.disc, c.disc == Photos ? Target : "C:\\mirror\\out");
        for (const auto& [answer, prompt] : c.answers) h.ui.answerMsgBox(answer, prompt);
        f().copytag.userClick();
        h.ui.verifyAllUsed();
        Strings made;
        if (fs::exists(h.nativePath("C:\\mirror"))) {
            made.push_back("mirror");
            for (const auto& entry : fs::recursive_directory_iterator(h.nativePath("C:\\mirror")))
                made.push_back("mirror\\" +
                               fs::relative(entry.path(), h.nativePath("C:\\mirror")).string());
            std::sort(made.begin(), made.end());
            for (std::string& m : made) std::replace(m.begin(), m.end(), '/', '\\');
        }
        EXPECT_EQ(made, c.made);
        EXPECT_EQ(f().StatusBar1.panel(2).text(),
                  std::to_string(c.copied) + "个文件已经拷贝到硬盘！");
        EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    }
}

// Each way a run can fail is told as what happened, the run stops there,
// and the status text says how many files were copied, 0 too.
TEST_F(MirrorCopy, AFailedRunSaysWhatReallyHappened) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        bool targetExists;
        std::string message;
        int copied;
    };
    const std::string target = Target;
    const std::vector<Case> cases = {
        {"no disc in the drive", [&] { h.setCdReady(false); }, false,
         "光驱 E: 里没有光盘！请放入光盘“[005]Photos”后再拷贝。", -1},
        {"a file where the target is to be made", [&] { h.write("C:\\mirror", "x"); }, false,
         "不能建立文件夹: " + target + platform::errorText(platform::err::FileExists), -1},
        {"a file missing from the disc", [&] { fs::remove(h.nativePath("E:\\docs\\a.txt")); },
         false, "不能读取文件: E:\\docs\\a.txt文件未找到", 1},
        {"a file of the disc that cannot be read",
         [&] {
             fs::remove(h.nativePath("E:\\docs\\a.txt"));
             ASSERT_EQ(::mkfifo(h.nativePath("E:\\docs\\a.txt").c_str(), 0644), 0);
         },
         false, "不能读取文件: E:\\docs\\a.txt它不是普通文件，而是一个管道", 1},
        {"a folder of the target that cannot be made", [&] { h.write(target + "\\docs", "x"); },
         true,
         "不能建立文件夹: " + target + "\\docs" + platform::errorText(platform::err::FileExists),
         1},
        {"a copy that cannot be written", [&] { h.makeFolder(target + "\\c.txt"); }, true,
         "不能保存文件: " + target + "\\c.txt" +
             platform::errorText(platform::err::PermissionDenied),
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(h.nativePath("C:\\mirror"));
        h.setCdReady(true);
        // The pipe of an earlier case goes before the disc's files are written again.
        fs::remove(h.nativePath("E:\\docs\\a.txt"));
        writeDiscs(h);
        c.arrange();
        openDisc(Photos);
        h.ui.clearLog();
        f().StatusBar1.panel(2).setText("");
        answerRun(Photos, Target);
        if (c.targetExists) h.ui.answerMsgBox(platform::MsgNo, "已经有此文件夹！需要另选吗?");
        h.ui.answerMsgBox(platform::MsgOK, c.message);
        f().copytag.userClick();
        EXPECT_EQ(boxes().back(), "提示: " + c.message);
        EXPECT_EQ(boxes().size(), c.targetExists ? 3u : 2u);
        if (c.copied < 0) {
            // Refused before the run: nothing made, no status text.
            EXPECT_EQ(f().StatusBar1.panel(2).text(), "");
            EXPECT_FALSE(h.exists(target));
        } else {
            EXPECT_EQ(f().StatusBar1.panel(2).text(),
                      std::to_string(c.copied) + "个文件已经拷贝到硬盘！");
        }
        EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    }
}

// A hard-disk run asks whether to go on after a file it cannot read, saying
// why; a target it cannot write ends the run without a question.
TEST_F(MirrorCopy, AHardDiskRunTellsAFileItCannotReadOrWrite) {
    fs::remove(h.nativePath("C:\\music\\pop\\top.mp3"));
    ASSERT_EQ(::mkfifo(h.nativePath("C:\\music\\pop\\top.mp3").c_str(), 0644), 0);
    openDisc(Music);
    answerRun(Music, "C:\\out");
    h.ui.answerMsgBox(
        platform::MsgYes,
        "不能读取文件: C:\\music\\pop\\top.mp3它不是普通文件，而是一个管道\r\n是否继续？");
    h.ui.answerMsgBox(platform::MsgYes,
                      "可能文件位置已经发生变动！C:\\music\\pop\\live\\gone.mp3没发现！是否继续？");
    f().copytag.userClick();
    EXPECT_EQ(h.read("C:\\out\\a.mp3"), "live-a");
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "1个文件已经拷贝到硬盘！");

    h.makeFolder("C:\\out2\\a.mp3");
    answerRun(Music, "C:\\out2");
    h.ui.answerMsgBox(platform::MsgNo, "已经有此文件夹！需要另选吗?");
    h.ui.answerMsgBox(
        platform::MsgYes,
        "不能读取文件: C:\\music\\pop\\top.mp3它不是普通文件，而是一个管道\r\n是否继续？");
    h.ui.answerMsgBox(platform::MsgYes,
                      "可能文件位置已经发生变动！C:\\music\\pop\\live\\gone.mp3没发现！是否继续？");
    h.ui.answerMsgBox(platform::MsgOK, "不能保存文件: C:\\out2\\a.mp3" +
                                           platform::errorText(platform::err::PermissionDenied));
    f().copytag.userClick();
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "0个文件已经拷贝到硬盘！");
}
