// Renaming a software record in the tree, cut short before each of its
// changes: after the next start the record's file and class.ini name the
// record alike (both the old name or both the new), with one file, no
// temporary or pending file left, and a rename the start finished or took
// back is told once.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "catalogue/pending_work.h"
#include "software/software_steps.h"
#include "support/fail_points.h"
#include "support/kill_points.h"

using namespace software_test;

namespace {

const std::string OldClasses = lines({"==工具", "=网络", "{#$}A", "下载", "==游戏"});
const std::string NewClasses = lines({"==工具", "=网络", "{#$}B", "下载", "==游戏"});
const std::string Record = recordText("A", "工具\\网络");
// The renamed record's file: its name line gives the new name.
const std::string Renamed = recordText("B", "工具\\网络");
constexpr const char* Caption = "修改目录或软件名";

void prepare(testsupport::Harness& h) {
    h.write(ClassFile, OldClasses);
    h.write(recordPath("A"), Record);
    h.start();
    h.form.TabStrip1.userSelect(SoftwareTab);
    h.form.softlist.userClick();
}

// 修改目录或软件名 on the record A, the edit ended with "B".
void rename(testsupport::Harness& h) {
    h.form.TreeView3.userClickNode(h.form.TreeView3.item("A"));
    h.ui.choosePopup("ChangeSoftName");
    h.form.TreeView3.userMouseDown(platform::RightButton, 0, 100, 100);
    h.form.TreeView3.userEndLabelEdit(std::string("B"));
}

struct States {
    int old = 0, renamed = 0, told = 0;
};

// The next start on the files h left: one name for the record everywhere.
void expectOneNameAfterNextStart(testsupport::Harness& h, States& states) {
    const bool both = h.exists(recordPath("A")) && h.exists(recordPath("B"));
    const bool switched = h.read(ClassFile) == NewClasses;
    testsupport::ageTempFiles(h, "C:\\zelbrin\\guangpan");
    testsupport::ageTempFiles(h, "C:\\zelbrin\\software");
    testsupport::Harness next(h, testsupport::Harness::NextStart);
    if (both)
        next.ui.answerMsgBox(platform::MsgOK, catalogue::pendingWorkReport(Caption, switched));
    next.start();
    next.ui.verifyAllUsed();
    states.told += both ? 1 : 0;
    if (next.read(ClassFile) == NewClasses) {
        ++states.renamed;
        EXPECT_FALSE(next.exists(recordPath("A")));
        EXPECT_EQ(next.read(recordPath("B")), Renamed);
    } else {
        ++states.old;
        EXPECT_EQ(next.read(ClassFile), OldClasses);
        EXPECT_FALSE(next.exists(recordPath("B")));
        EXPECT_EQ(next.read(recordPath("A")), Record);
    }
    EXPECT_FALSE(next.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    EXPECT_FALSE(testsupport::holdsTempFile(next, "C:\\zelbrin\\guangpan"));
    EXPECT_FALSE(testsupport::holdsTempFile(next, "C:\\zelbrin\\software"));
    // The tree of the next start shows the record by the name its file has.
    next.form.TabStrip1.userSelect(SoftwareTab);
    next.form.softlist.userClick();
    EXPECT_NE(next.form.TreeView3.find(next.exists(recordPath("B")) ? "B" : "A"), nullptr);
}

TEST(RecordRenameKills, EveryKillLeavesOneNameForTheRecord) {
    States states;
    const int changes = testsupport::killBeforeEveryChange(
        prepare, rename, [&](testsupport::Harness& h) { expectOneNameAfterNextStart(h, states); });
    std::printf("rename of a software record: %d kill points; old %d, new %d; told %d\n", changes,
                states.old, states.renamed, states.told);
    // The pending record, the new name's file (a committed write of the
    // record with its new name line), class.ini, the old name's removal,
    // the record's removal.
    EXPECT_EQ(changes, 17);
    // Killed after the new file's rename: before its folder sync and the
    // five changes of class.ini the start takes the new name back; before
    // the old name's removal it removes the old name.
    EXPECT_EQ(states.told, 7);
    EXPECT_EQ(states.renamed, 3);
    EXPECT_EQ(states.old, 14);
}

// A full disk or an I/O error at each change: one message naming the file
// and the reason (never a runtime error box), the old name everywhere when
// class.ini did not switch, and one name after the next start.
TEST(RecordRenameFailing, AFullDiskOrAnIoErrorAtEachChangeIsToldAndLeavesOneName) {
    using platform::files::CommitStep;
    States states;
    for (const int number : {platform::err::DiskFull, platform::err::DeviceIO}) {
        for (int step = 1; step <= 17; ++step) {
            SCOPED_TRACE(std::to_string(number) + " at change " + std::to_string(step));
            testsupport::Harness h;
            prepare(h);
            {
                const testsupport::FailAtChange fail(
                    step, number, testsupport::Tries::Once,
                    [&](const testsupport::FailAtChange& c) {
                        // Silent: a folder sync (tried again)
                        // and the record's removal.
                        if (c.kind == CommitStep::SyncFolder ||
                            (c.kind == CommitStep::Remove && c.path.ends_with("/pending.ini")))
                            return;
                        h.ui.answerMsgBox(platform::MsgOK);
                    });
                rename(h);
            }
            h.ui.verifyAllUsed();
            for (const std::string& message : h.ui.messages())
                EXPECT_EQ(message.find("运行时错误"), std::string::npos) << message;
            if (h.read(ClassFile) == OldClasses) {
                EXPECT_NE(h.form.TreeView3.find("A"), nullptr);
            }
            expectOneNameAfterNextStart(h, states);
        }
    }
}

// The whole rename: the new file name, class.ini, nothing left over.
TEST(RecordRenameKills, TheWholeRenameLeavesOneFile) {
    testsupport::Harness h;
    prepare(h);
    rename(h);
    h.ui.verifyAllUsed();
    EXPECT_EQ(h.read(ClassFile), NewClasses);
    EXPECT_EQ(h.read(recordPath("B")), Renamed);
    EXPECT_FALSE(h.exists(recordPath("A")));
    EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    EXPECT_NE(h.form.TreeView3.find("B"), nullptr);
}

}  // namespace

namespace {

// Killed before each change, then a start whose finishing fails at each of
// its changes, then a start with room: one name for the record.
TEST(RecordRenameKills, AStartThatCannotFinishKeepsTheRecordAndTheNextFinishesIt) {
    States states;
    const int runs = testsupport::killThenFailTheFinishing(
        prepare, rename, [&](testsupport::Harness& h, const testsupport::FailedFinishing&) {
            expectOneNameAfterNextStart(h, states);
        });
    EXPECT_GT(runs, 0);
    EXPECT_GT(states.renamed, 0);
    EXPECT_GT(states.old, 0);
}

}  // namespace
