// Saving a software record that is filed anew (a new record; an edited one
// moved to another category), cut short before each of its changes or
// failing at each: after the next start the record's file and class.ini are
// both old or both new, filed once, with no temporary or pending file left,
// and a filing the start completed is told once.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "catalogue/pending_work.h"
#include "software/software_steps.h"
#include "support/fail_points.h"
#include "support/kill_points.h"

using namespace software_test;

namespace {

const std::string Classes = lines({"==工具", "=网络", "{#$}A", "下载", "==游戏"});
const std::string Told = catalogue::pendingWorkReport("保存软件说明", true);

struct Saving {
    const char* what;
    std::string question;
    std::string name;
    std::function<void(testsupport::Harness&)> fill;  // the form, before the save
    std::string oldRecord;                            // "" for none
    std::string newClasses;
    std::string newCategory;
};

void click(testsupport::Harness& h, const std::string& key) {
    h.form.TreeView3.userClickNode(h.form.TreeView3.item(key));
}

std::vector<Saving> savings() {
    return {
        {"new", "你要保存新建软件N?", "N",
         [](testsupport::Harness& h) {
             h.ui.onModal<Dialog1>([](Dialog1& d) {
                 d.Text1.userType("N");
                 d.OKButton.userClick();
             });
             h.form.NewSoft.userClick();
             click(h, "下载");
         },
         "", lines({"==工具", "=网络", "{#$}A", "下载", "{#$}N", "==游戏"}), "工具\\网络\\下载"},
        {"moved", "你要保存软件A的修改?", "A",
         [](testsupport::Harness& h) {
             click(h, "A");
             click(h, "游戏");
         },
         recordText("A", "工具\\网络"), lines({"==工具", "=网络", "下载", "==游戏", "{#$}A"}),
         "游戏"},
    };
}

void prepare(testsupport::Harness& h, const Saving& s) {
    h.write(ClassFile, Classes);
    h.write(recordPath("A"), recordText("A", "工具\\网络"));
    h.start();
    h.form.TabStrip1.userSelect(SoftwareTab);
    h.form.softlist.userClick();
    s.fill(h);
}

// The save, confirmed.
void save(testsupport::Harness& h, const Saving& s) {
    h.ui.answerMsgBox(platform::MsgYes, s.question);
    h.form.SaveSoft.userClick();
}

bool isNewRecord(const testsupport::Harness& h, const Saving& s) {
    return h.exists(recordPath(s.name)) &&
           h.read(recordPath(s.name)).find("软件分类：" + s.newCategory + "\r\n") !=
               std::string::npos;
}

void expectOldOrNewAfterNextStart(testsupport::Harness& h, const Saving& s) {
    const bool unfiled = isNewRecord(h, s) && h.read(ClassFile) == Classes;
    testsupport::ageTempFiles(h, "C:\\zelbrin\\guangpan");
    testsupport::ageTempFiles(h, "C:\\zelbrin\\software");
    testsupport::Harness next(h, testsupport::Harness::NextStart);
    if (unfiled) next.ui.answerMsgBox(platform::MsgOK, Told);
    next.start();
    next.ui.verifyAllUsed();
    if (isNewRecord(next, s)) {
        EXPECT_EQ(next.read(ClassFile), s.newClasses);
    } else {
        EXPECT_EQ(next.read(ClassFile), Classes);
        if (s.oldRecord.empty())
            EXPECT_FALSE(next.exists(recordPath(s.name)));
        else
            EXPECT_EQ(next.read(recordPath(s.name)), s.oldRecord);
    }
    EXPECT_FALSE(next.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    EXPECT_FALSE(testsupport::holdsTempFile(next, "C:\\zelbrin\\guangpan"));
    EXPECT_FALSE(testsupport::holdsTempFile(next, "C:\\zelbrin\\software"));
}

TEST(RecordSavingKills, EveryKillLeavesTheRecordAndItsFilingOldOrNew) {
    for (const Saving& s : savings()) {
        SCOPED_TRACE(s.what);
        int unfiled = 0;
        const int changes = testsupport::killBeforeEveryChange(
            [&](testsupport::Harness& h) { prepare(h, s); },
            [&](testsupport::Harness& h) { save(h, s); },
            [&](testsupport::Harness& h) {
                if (isNewRecord(h, s) && h.read(ClassFile) == Classes) ++unfiled;
                expectOldOrNewAfterNextStart(h, s);
            });
        // The pending record, the record's file, class.ini, the record's removal.
        EXPECT_EQ(changes, 16);
        // Killed after the record's rename: before its folder sync, class.ini's
        // temporary file, its write, its sync or its rename.
        EXPECT_EQ(unfiled, 5);
    }
}

TEST(RecordSavingKills, AFullDiskOrAnIoErrorAtEachChangeIsToldOnceAndKeepsTheOldBytes) {
    for (const Saving& s : savings()) {
        SCOPED_TRACE(s.what);
        testsupport::failAtEveryChange(
            16, [&](testsupport::Harness& h) { prepare(h, s); },
            [&](testsupport::Harness& h) { save(h, s); }, 1,
            [&](testsupport::Harness& h, const testsupport::FailedChange& failure) {
                if (failure.toldByCommand()) {
                    EXPECT_EQ(h.ui.messages().back(), "保存失败！");
                    EXPECT_EQ(h.read(ClassFile), Classes);
                    EXPECT_FALSE(isNewRecord(h, s));
                } else {
                    EXPECT_EQ(h.read(ClassFile), s.newClasses);
                    EXPECT_TRUE(isNewRecord(h, s));
                }
                expectOldOrNewAfterNextStart(h, s);
            });
    }
}

TEST(RecordSavingKills, AFilingThatIsThereAlreadyIsNotMadeTwice) {
    // A start that finds the record filed and the pending work left.
    testsupport::Harness h;
    h.write(ClassFile, lines({"==工具", "=网络", "{#$}A", "下载", "{#$}N", "==游戏"}));
    h.write(recordPath("A"), recordText("A", "工具\\网络"));
    h.write(recordPath("N"), recordText("N", "工具\\网络\\下载"));
    h.write("C:\\zelbrin\\guangpan\\pending.ini",
            "save software record\r\nname=N\r\ncategory=工具\\网络\\下载\r\nmoved=0\r\n");
    h.start();
    EXPECT_EQ(h.read(ClassFile), lines({"==工具", "=网络", "{#$}A", "下载", "{#$}N", "==游戏"}));
    EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    EXPECT_TRUE(h.ui.messages().empty());
}

}  // namespace

namespace {

// Killed before each change, then a start whose finishing fails at each of
// its changes, then a start with room: the record and its filing old or new.
TEST(RecordSavingKills, AStartThatCannotFinishKeepsTheRecordAndTheNextFinishesIt) {
    for (const Saving& s : savings()) {
        SCOPED_TRACE(s.what);
        const int runs = testsupport::killThenFailTheFinishing(
            [&](testsupport::Harness& h) { prepare(h, s); },
            [&](testsupport::Harness& h) { save(h, s); },
            [&](testsupport::Harness& h, const testsupport::FailedFinishing&) {
                expectOldOrNewAfterNextStart(h, s);
            });
        EXPECT_GT(runs, 0);
    }
}

}  // namespace
