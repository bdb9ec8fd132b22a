// 删除光盘上的所有“钩”及映象文件的路径 cut short before each of its changes,
// and with a start that cannot finish it: after the next start with room the
// index and the mirror disc list agree (marks and the disc's line, or
// neither), and a removal the start finished is told once. A mirror disc
// list that cannot be written is told with the file and why.
#include <gtest/gtest.h>

#include <string>

#include "catalogue/pending_work.h"
#include "discpage/index_edits.h"
#include "mirror_page_steps.h"
#include "support/fail_points.h"
#include "support/kill_points.h"

using namespace mirror_page_test;

namespace {

constexpr const char* CopiesStay =
    "如果在硬盘上的映象文件不需要，请在资源管理器里删除！否则将不能再次建立映象文件。";
const std::string Told = catalogue::pendingWorkReport("删除光盘上的所有“钩”及映象文件的路径", true);
const std::string ListAfter = "[003]Photos2\r\nOther\r\n";

void prepare(testsupport::Harness& h) {
    h.write(indexPath(Photos), lines(PhotosIndex));
    h.write("C:\\zelbrin\\ini.ini", Catalogue);
    h.write(MirrorList, MirrorListText);
    h.start();
    h.form.TabStrip1.userSelect(disc_page_test::DiscTab);
    h.form.TreeView1.userClickNode(node(h.form.TreeView1, Photos));
}

void removeAll(testsupport::Harness& h) {
    h.ui.answerMsgBox(platform::MsgOK, CopiesStay);
    h.form.deleteAllred_Click();
}

std::string cleared() { return discpage::removeTicksAndMirrors(lines(PhotosIndex)); }

struct States {
    int old = 0, cleared = 0, told = 0;
};

void expectAgreeingAfterNextStart(testsupport::Harness& h, States& states) {
    const bool leftBehind =
        h.read(indexPath(Photos)) == cleared() && h.read(MirrorList) == MirrorListText;
    testsupport::ageAllTempFiles(h);
    testsupport::Harness next(h, testsupport::Harness::NextStart);
    if (leftBehind) next.ui.answerMsgBox(platform::MsgOK, Told);
    next.start();
    next.ui.verifyAllUsed();
    states.told += leftBehind ? 1 : 0;
    if (next.read(indexPath(Photos)) == cleared()) {
        ++states.cleared;
        EXPECT_EQ(next.read(MirrorList), ListAfter);
    } else {
        ++states.old;
        EXPECT_EQ(next.read(indexPath(Photos)), lines(PhotosIndex));
        EXPECT_EQ(next.read(MirrorList), MirrorListText);
    }
    EXPECT_FALSE(next.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    EXPECT_FALSE(testsupport::holdsTempFile(next, "C:\\zelbrin"));
    EXPECT_FALSE(testsupport::holdsTempFile(next, "C:\\zelbrin\\guangpan"));
}

TEST(MarksRemovalKills, EveryKillLeavesTheIndexAndTheMirrorListAgreeing) {
    States states;
    const int changes = testsupport::killBeforeEveryChange(
        prepare, removeAll,
        [&](testsupport::Harness& h) { expectAgreeingAfterNextStart(h, states); });
    // The pending record, the index, red.ini, the record's removal.
    EXPECT_EQ(changes, 16);
    EXPECT_GT(states.told, 0);
    EXPECT_GT(states.cleared, 0);
    EXPECT_GT(states.old, 0);
}

TEST(MarksRemovalKills, AStartThatCannotFinishKeepsTheRecordAndTheNextFinishesIt) {
    States states;
    const int runs = testsupport::killThenFailTheFinishing(
        prepare, removeAll, [&](testsupport::Harness& h, const testsupport::FailedFinishing&) {
            expectAgreeingAfterNextStart(h, states);
        });
    EXPECT_GT(runs, 0);
    EXPECT_GT(states.told, 0);
}

// red.ini that cannot be written (a full disk at its rename): told with the
// file and why; the next start takes the disc out of it.
TEST(MarksRemovalKills, AMirrorListThatCannotBeWrittenIsToldAndFinishedAtTheNextStart) {
    testsupport::Harness h;
    prepare(h);
    {
        const platform::files::ScopedCommitHook hook(
            [](platform::files::CommitStep step, const std::string& path) {
                if (step == platform::files::CommitStep::Rename && path.ends_with("/red.ini"))
                    platform::raise(platform::err::DiskFull);
            });
        h.ui.answerMsgBox(platform::MsgOK,
                          "不能保存文件: C:\\zelbrin\\red.ini" +
                              platform::errorText(platform::err::DiskFull) +
                              "\r\n“删除光盘上的所有“钩”及映象文件的路径”还没有做完，"
                              "将在下次启动时完成。");
        h.form.deleteAllred_Click();
    }
    h.ui.verifyAllUsed();
    EXPECT_EQ(h.read(indexPath(Photos)), cleared());
    EXPECT_EQ(h.read(MirrorList), MirrorListText);
    States states;
    expectAgreeingAfterNextStart(h, states);
    EXPECT_EQ(states.told, 1);
}

}  // namespace
