// Dropping a hard-disk file with its line, cut short before each of its
// changes or failing at each: the next start leaves the file and its line
// together (both there, or both gone), no temporary or pending file, and
// tells once when it dropped a line left behind.
#include <gtest/gtest.h>

#include <string>

#include "catalogue/pending_work.h"
#include "disc_page_steps.h"
#include "support/fail_points.h"
#include "support/kill_points.h"

using namespace disc_page_test;

namespace {

const std::string File = "C:\\music\\pop\\live\\a.mp3";
const std::string Pending = "C:\\zelbrin\\guangpan\\pending.ini";
const std::string Told = catalogue::pendingWorkReport("从目录文件中删除这个文件", true);

std::string droppedIndex() {
    std::vector<std::string_view> expected = PopIndex;
    expected.erase(expected.begin() + 5);
    return lines(expected);
}

// The machine with the pop folder's a.mp3 selected in the file list.
void prepare(testsupport::Harness& h) {
    h.write(indexPath(Pop), lines(PopIndex));
    h.write("C:\\zelbrin\\ini.ini", Catalogue);
    h.write(File, "x");
    h.start();
    h.form.TabStrip1.userSelect(DiscTab);
    h.form.TreeView1.userClickNode(node(h.form.TreeView1, "pop_hard"));
    h.form.TreeView1.userClickNode(node(h.form.TreeView1, "pop_hard\\pop\\live"));
    h.form.ListView1.setSelectedItem(&row(h.form, "a"));
}

// The command, the user saying yes to the question that names the file.
void drop(testsupport::Harness& h) {
    h.ui.answerMsgBox(platform::MsgYes, "确实要删除 " + File + " 文件吗？");
    h.form.DeleteFromMulu_Click();
}

// The next start on the files h left: the file and its line agree, nothing
// is left over, and a line left behind is dropped and told once.
void expectWholeAfterNextStart(testsupport::Harness& h) {
    const bool lineLeftBehind = !h.exists(File) && h.read(indexPath(Pop)) == lines(PopIndex);
    testsupport::ageTempFiles(h, "C:\\zelbrin\\guangpan");
    testsupport::Harness next(h, testsupport::Harness::NextStart);
    if (lineLeftBehind) next.ui.answerMsgBox(platform::MsgOK, Told);
    next.start();
    next.ui.verifyAllUsed();
    if (next.exists(File)) {
        EXPECT_EQ(next.read(File), "x");
        EXPECT_EQ(next.read(indexPath(Pop)), lines(PopIndex));
    } else {
        EXPECT_EQ(next.read(indexPath(Pop)), droppedIndex());
    }
    EXPECT_FALSE(next.exists(Pending));
    EXPECT_FALSE(testsupport::holdsTempFile(next, "C:\\zelbrin\\guangpan"));
    EXPECT_FALSE(testsupport::holdsTempFile(next, "C:\\music\\pop\\live"));
}

TEST(LineDropKills, EveryKillLeavesTheFileAndItsLineTogether) {
    int leftBehind = 0;
    const int changes =
        testsupport::killBeforeEveryChange(prepare, drop, [&](testsupport::Harness& h) {
            if (!h.exists(File) && h.read(indexPath(Pop)) == lines(PopIndex)) ++leftBehind;
            expectWholeAfterNextStart(h);
        });
    // The pending record, the file, the index, the record's removal.
    EXPECT_EQ(changes, 12);
    // Killed after the delete, before the index's temporary file, its
    // write, its sync or its rename.
    EXPECT_EQ(leftBehind, 4);
}

TEST(LineDropKills, AFullDiskOrAnIoErrorAtEachChangeIsToldOnceAndNothingIsLost) {
    testsupport::failAtEveryChange(
        12, prepare, drop, 1,
        [](testsupport::Harness& h, const testsupport::FailedChange& failure) {
            // Before the delete: the file and its line as they were.
            if (failure.toldByCommand() && failure.step <= 6) {
                EXPECT_EQ(h.read(File), "x");
                EXPECT_EQ(h.read(indexPath(Pop)), lines(PopIndex));
            }
            expectWholeAfterNextStart(h);
        });
}

}  // namespace

namespace {

// Killed before each change, then a start whose finishing fails at each of
// its changes, then a start with room: the file and its line together.
TEST(LineDropKills, AStartThatCannotFinishKeepsTheRecordAndTheNextFinishesIt) {
    const int runs = testsupport::killThenFailTheFinishing(
        prepare, drop, [](testsupport::Harness& h, const testsupport::FailedFinishing&) {
            expectWholeAfterNextStart(h);
        });
    EXPECT_GT(runs, 0);
}

}  // namespace
