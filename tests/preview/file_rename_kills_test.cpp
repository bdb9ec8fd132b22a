// Renaming a previewed hard-disk file after the selected text, cut short
// before each of its changes or failing at each: after the next start the
// file and its index line bear the same name (old or new), no temporary or
// pending file is left, and a line left behind is renamed and told once.
#include <gtest/gtest.h>

#include <string>

#include "catalogue/pending_work.h"
#include "discpage/disc_page_steps.h"
#include "support/fail_points.h"
#include "support/kill_points.h"

using namespace disc_page_test;

namespace {

const std::string Old = "C:\\data\\docs\\a.txt";
const std::string New = "C:\\data\\docs\\报告.txt";
const std::string Index = indexPath("docs_hard");
const std::string OldIndex = lines({"C:\\data\\docs\\a.txt[4]($)", "C:\\data\\docs\\b.txt[1]"});
const std::string NewIndex = lines({"C:\\data\\docs\\报告.txt[4]($)", "C:\\data\\docs\\b.txt[1]"});
const std::string Told = catalogue::pendingWorkReport("按选中的文字给文件改名", true);

// The file a.txt of docs_hard previewed with "报告" selected.
void prepare(testsupport::Harness& h) {
    h.write(Index, OldIndex);
    h.write("C:\\zelbrin\\ini.ini", "|文档\r\n#docs_hard#9#文档#\r\n");
    h.write(Old, "甲乙");
    h.start();
    Form1& f = h.form;
    f.TabStrip1.userSelect(DiscTab);
    f.TreeView1.userClickNode(node(f.TreeView1, "docs_hard"));
    f.TreeView1.userClickNode(node(f.TreeView1, "docs_hard\\docs"));
    f.ListView1.userClickItem(row(f, "a"));
    f.WebBrowser1.navigate("file://" + Old);
    f.WebBrowser1.setVisible(true);
    f.WebBrowser1.userSelect("报告");
}

bool renamedFileOldLine(const testsupport::Harness& h) {
    return h.exists(New) && h.read(Index) == OldIndex;
}

void expectOneNameAfterNextStart(testsupport::Harness& h) {
    const bool lineLeftBehind = renamedFileOldLine(h);
    testsupport::ageTempFiles(h, "C:\\zelbrin\\guangpan");
    testsupport::Harness next(h, testsupport::Harness::NextStart);
    if (lineLeftBehind) next.ui.answerMsgBox(platform::MsgOK, Told);
    next.start();
    next.ui.verifyAllUsed();
    const bool renamed = next.exists(New);
    EXPECT_NE(renamed, next.exists(Old));
    EXPECT_EQ(next.read(renamed ? New : Old), "甲乙");
    EXPECT_EQ(next.read(Index), renamed ? NewIndex : OldIndex);
    EXPECT_FALSE(next.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    EXPECT_FALSE(testsupport::holdsTempFile(next, "C:\\zelbrin\\guangpan"));
}

TEST(FileRenameKills, EveryKillLeavesTheFileAndItsLineUnderOneName) {
    int leftBehind = 0;
    const int changes = testsupport::killBeforeEveryChange(
        prepare, [](testsupport::Harness& h) { h.form.AlterFilename_Click(); },
        [&](testsupport::Harness& h) {
            if (renamedFileOldLine(h)) ++leftBehind;
            expectOneNameAfterNextStart(h);
        });
    // The pending record, the rename and its folder sync, the index, the
    // record's removal.
    EXPECT_EQ(changes, 13);
    // Killed after the rename: before its folder sync, the index's temporary
    // file, its write, its sync or its rename.
    EXPECT_EQ(leftBehind, 5);
}

TEST(FileRenameKills, AFullDiskOrAnIoErrorAtEachChangeIsToldOnceAndNeverTakenBack) {
    testsupport::failAtEveryChange(
        13, prepare, [](testsupport::Harness& h) { h.form.AlterFilename_Click(); }, 0,
        [](testsupport::Harness& h, const testsupport::FailedChange& failure) {
            // Before the rename nothing changed; after it, it stays.
            if (failure.toldByCommand() && failure.step <= 6) {
                EXPECT_EQ(h.read(Old), "甲乙");
                EXPECT_EQ(h.read(Index), OldIndex);
            } else {
                EXPECT_EQ(h.read(New), "甲乙");
            }
            expectOneNameAfterNextStart(h);
        });
}

}  // namespace

namespace {

// Killed before each change, then a start whose finishing fails at each of
// its changes, then a start with room: one name for the file and its line.
TEST(FileRenameKills, AStartThatCannotFinishKeepsTheRecordAndTheNextFinishesIt) {
    const int runs = testsupport::killThenFailTheFinishing(
        prepare, [](testsupport::Harness& h) { h.form.AlterFilename_Click(); },
        [](testsupport::Harness& h, const testsupport::FailedFinishing&) {
            expectOneNameAfterNextStart(h);
        });
    EXPECT_GT(runs, 0);
}

}  // namespace

namespace {

// On a full disk the file is renamed and its line cannot follow: told once
// with the file and why; the next click, the disk still full, says nothing
// more and keeps the record; once there is room the next click finishes it
// and says so.
TEST(FileRenameKills, OnAFullDiskTheLineWaitsAndIsRenamedOnceThereIsRoom) {
    testsupport::Harness h;
    prepare(h);
    bool full = true;
    const platform::files::ScopedCommitHook hook([&](platform::files::CommitStep step,
                                                     const std::string& path) {
        if (full && step == platform::files::CommitStep::Rename && path.ends_with("/docs_hard.wcd"))
            platform::raise(platform::err::DiskFull);
    });
    h.ui.answerMsgBox(platform::MsgOK, "不能保存文件: " + Index +
                                           platform::errorText(platform::err::DiskFull) +
                                           "\r\n“按选中的文字给文件改名”还没有做完，"
                                           "将在下次启动时完成。");
    h.form.AlterFilename_Click();
    h.ui.verifyAllUsed();
    EXPECT_TRUE(h.exists(New));
    EXPECT_EQ(h.read(Index), OldIndex);
    h.form.TabStrip1.userSelect(1);
    h.ui.verifyAllUsed();
    EXPECT_TRUE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    full = false;
    h.ui.answerMsgBox(platform::MsgOK, Told);
    h.form.TabStrip1.userSelect(DiscTab);
    h.ui.verifyAllUsed();
    EXPECT_EQ(h.read(Index), NewIndex);
    EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
}

}  // namespace
