// Deleting a software record in the tree (删除目录或软件), cut short before
// each of its changes, failing at each, and with a start that cannot finish
// it: after the next start with room the record is there and filed, or gone
// with its file, never its file filed nowhere; every failure is told (never a
// runtime error box) and a deletion the start finished is told once.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/pending_work.h"
#include "platform/text/text.h"
#include "software/software_steps.h"
#include "support/fail_points.h"
#include "support/kill_points.h"
#include "support/temp_folder.h"

using namespace software_test;

namespace {

const std::string OldClasses = lines({"==工具", "=网络", "{#$}A", "{#$}B", "==游戏"});
const std::string NewClasses = lines({"==工具", "=网络", "{#$}B", "==游戏"});
const std::string Told = catalogue::pendingWorkReport("删除目录或软件", true);

void prepare(testsupport::Harness& h) {
    h.write(ClassFile, OldClasses);
    h.write(recordPath("A"), recordText("A", "工具\\网络"));
    h.write(recordPath("B"), recordText("B", "工具\\网络"));
    h.start();
    h.form.TabStrip1.userSelect(SoftwareTab);
    h.form.softlist.userClick();
}

// 删除目录或软件 on the record A, confirmed.
void remove(testsupport::Harness& h) {
    h.form.TreeView3.userClickNode(h.form.TreeView3.item("A"));
    h.ui.answerMsgBox(platform::MsgYes, "确实要删除软件[A]吗?");
    h.ui.choosePopup("deleteSoftN");
    h.form.TreeView3.userMouseDown(platform::RightButton, 0, 100, 100);
}

bool switchedWithFileLeft(const testsupport::Harness& h) {
    return h.read(ClassFile) == NewClasses && h.exists(recordPath("A"));
}

struct States {
    int old = 0, deleted = 0, told = 0;
};

void expectOldOrNewAfterNextStart(testsupport::Harness& h, States& states) {
    const bool leftBehind = switchedWithFileLeft(h);
    testsupport::ageTempFiles(h, "C:\\zelbrin\\guangpan");
    testsupport::ageTempFiles(h, "C:\\zelbrin");
    testsupport::Harness next(h, testsupport::Harness::NextStart);
    if (leftBehind) next.ui.answerMsgBox(platform::MsgOK, Told);
    next.start();
    next.ui.verifyAllUsed();
    states.told += leftBehind ? 1 : 0;
    if (next.read(ClassFile) == NewClasses) {
        ++states.deleted;
        EXPECT_FALSE(next.exists(recordPath("A")));
    } else {
        ++states.old;
        EXPECT_EQ(next.read(ClassFile), OldClasses);
        EXPECT_EQ(next.read(recordPath("A")), recordText("A", "工具\\网络"));
    }
    EXPECT_EQ(next.read(recordPath("B")), recordText("B", "工具\\网络"));
    EXPECT_FALSE(next.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    EXPECT_FALSE(testsupport::holdsTempFile(next, "C:\\zelbrin"));
    EXPECT_FALSE(testsupport::holdsTempFile(next, "C:\\zelbrin\\guangpan"));
}

TEST(RecordDeleteKills, EveryKillLeavesTheRecordFiledWithItsFileOrGoneWithIt) {
    States states;
    const int changes = testsupport::killBeforeEveryChange(
        prepare, remove, [&](testsupport::Harness& h) { expectOldOrNewAfterNextStart(h, states); });
    // The pending record, class.ini, the record's file, the record's removal.
    EXPECT_EQ(changes, 12);
    // Killed after class.ini's rename: before its folder sync and before
    // the file's removal.
    EXPECT_EQ(states.told, 2);
    EXPECT_EQ(states.deleted, 3);
    EXPECT_EQ(states.old, 9);
}

TEST(RecordDeleteKills, AFullDiskOrAnIoErrorAtEachChangeIsToldOnceAndNeverABox) {
    States states;
    testsupport::failAtEveryChange(
        12, prepare, remove, 1,
        [&](testsupport::Harness& h, const testsupport::FailedChange& failure) {
            if (failure.toldByCommand()) {
                const std::string told = h.ui.messages().back();
                if (h.read(ClassFile) == OldClasses) {
                    // Before the switch: nothing changed, the node stays.
                    EXPECT_EQ(told.rfind("不能保存文件: C:\\zelbrin\\", 0), 0u) << told;
                    EXPECT_TRUE(h.exists(recordPath("A")));
                    EXPECT_NE(h.form.TreeView3.find("A"), nullptr);
                } else {
                    // The file that could not go, and that the next start
                    // removes it.
                    EXPECT_EQ(told.rfind("不能删除文件: C:\\zelbrin\\software\\A.txt", 0), 0u)
                        << told;
                    EXPECT_NE(told.find("将在下次启动时完成"), std::string::npos) << told;
                }
            }
            expectOldOrNewAfterNextStart(h, states);
        });
    EXPECT_GT(states.old, 0);
    EXPECT_GT(states.deleted, 0);
}

TEST(RecordDeleteKills, AStartThatCannotFinishKeepsTheRecordAndTheNextFinishesIt) {
    States states;
    const int runs = testsupport::killThenFailTheFinishing(
        prepare, remove, [&](testsupport::Harness& h, const testsupport::FailedFinishing&) {
            expectOldOrNewAfterNextStart(h, states);
        });
    EXPECT_GT(runs, 0);
    EXPECT_GT(states.told, 0);
}

// The whole deletion, and a new record of the same name afterwards.
TEST(RecordDeleteKills, TheWholeDeletionLeavesNeitherFileNorLine) {
    testsupport::Harness h;
    prepare(h);
    remove(h);
    h.ui.verifyAllUsed();
    EXPECT_EQ(h.read(ClassFile), NewClasses);
    EXPECT_FALSE(h.exists(recordPath("A")));
    EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    EXPECT_EQ(h.form.TreeView3.find("A"), nullptr);
}

// A record whose file is spelt in another letter case (brought over from
// Windows: "a.txt" for the record A) is read under its name; deleting it or
// renaming it in the tree removes that file and leaves no work waiting.
TEST(RecordFileSpeltOtherwise, DeleteAndRenameTakeTheFileReadsFind) {
    namespace fs = std::filesystem;
    const auto names = [](const testsupport::Harness& h) {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(h.nativePath("C:\\zelbrin\\software")))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    };
    // Record A in "a.txt", record B in "B.txt", the software page shown.
    const auto prepareSpeltOtherwise = [](testsupport::Harness& h) {
        h.write(ClassFile, OldClasses);
        h.makeFolder("C:\\zelbrin\\software");
        testsupport::writeBytes(fs::path(h.nativePath("C:\\zelbrin\\software")) / "a.txt",
                                platform::text::toCp936(recordText("A", "工具\\网络")));
        h.write(recordPath("B"), recordText("B", "工具\\网络"));
        h.start();
        h.form.TabStrip1.userSelect(SoftwareTab);
        h.form.softlist.userClick();
    };
    {
        testsupport::Harness h;
        prepareSpeltOtherwise(h);
        remove(h);
        h.ui.verifyAllUsed();
        EXPECT_EQ(h.read(ClassFile), NewClasses);
        EXPECT_EQ(names(h), std::vector<std::string>{"B.txt"});
        EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    }
    {
        testsupport::Harness h;
        prepareSpeltOtherwise(h);
        h.form.TreeView3.userClickNode(h.form.TreeView3.item("A"));
        h.ui.choosePopup("ChangeSoftName");
        h.form.TreeView3.userMouseDown(platform::RightButton, 0, 100, 100);
        h.form.TreeView3.userEndLabelEdit(std::string("C"));
        h.ui.verifyAllUsed();
        EXPECT_EQ(h.read(ClassFile), lines({"==工具", "=网络", "{#$}C", "{#$}B", "==游戏"}));
        EXPECT_EQ(names(h), (std::vector<std::string>{"B.txt", "C.txt"}));
        EXPECT_EQ(h.read(recordPath("C")), recordText("C", "工具\\网络"));
        EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    }
}

}  // namespace
