// The record of a multi-file command in progress, and the start-up that
// deals with one the last run left.
#include "catalogue/pending_work.h"

#include <gtest/gtest.h>

#include "catalogue/index_line.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "support/harness.h"
#include "support/kill_points.h"

namespace {

using catalogue::PendingWork;

TEST(PendingWorkText, ReadsBackWhatItWrites) {
    PendingWork work{"change disc", {}};
    work.add("old", "[001]光盘=甲").add("new", "").add("file", "a.wcd").add("file", "b.note");
    const std::string text = catalogue::formatPendingWork(work);
    EXPECT_EQ(text, "change disc\r\nold=[001]光盘=甲\r\nnew=\r\nfile=a.wcd\r\nfile=b.note\r\n");
    const auto back = catalogue::parsePendingWork(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->command, "change disc");
    EXPECT_EQ(back->field("old"), "[001]光盘=甲");
    EXPECT_EQ(back->field("missing"), "");
    EXPECT_EQ(back->valuesOf("file"), (std::vector<std::string>{"a.wcd", "b.note"}));
    EXPECT_FALSE(catalogue::parsePendingWork(""));
    EXPECT_FALSE(catalogue::parsePendingWork("\r\n\r\n"));
}

TEST(PendingWorkStart, ARecordOfAnUnknownCommandIsRemovedSilently) {
    testsupport::Harness h;
    h.write("C:\\zelbrin\\guangpan\\pending.ini", "something newer\r\nx=1\r\n");
    h.start();
    EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST(PendingWorkStart, EveryKillLeavesWholeFilesAndTheNextStartEndsTheRecord) {
    const auto write = [] {
        const auto folder =
            catalogue::openIndexFolder(std::string(testsupport::Harness::ProgramFolder));
        catalogue::beginPendingWork(folder, PendingWork{"something newer", {}});
        folder.write("a.txt", "a");
    };
    int changes = 0;
    {
        testsupport::Harness h;
        h.start();
        changes = testsupport::countChanges(write);
    }
    ASSERT_GT(changes, 2);
    for (int step = 1; step <= changes; ++step) {
        SCOPED_TRACE(step);
        testsupport::Harness h;
        h.start();
        ASSERT_TRUE(testsupport::runKilledBefore(step, write));
        if (h.exists("C:\\zelbrin\\guangpan\\a.txt")) {
            EXPECT_EQ(h.readBytes("C:\\zelbrin\\guangpan\\a.txt"), "a");
            EXPECT_TRUE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
        }
        testsupport::Harness next(h, testsupport::Harness::NextStart);
        next.start();
        EXPECT_FALSE(next.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    }
    testsupport::Harness h;
    h.start();
    EXPECT_FALSE(testsupport::runKilledBefore(changes + 1, write));
}

TEST(PendingWorkStart, ARecordLeftDuringTheRunIsDealtWithBeforeTheNextEvent) {
    testsupport::Harness h;
    h.start();
    // A command that recorded its work and failed before removing it.
    catalogue::beginPendingWork(
        catalogue::openIndexFolder(std::string(testsupport::Harness::ProgramFolder)),
        PendingWork{"something newer", {}});
    EXPECT_TRUE(catalogue::pendingWorkMayBeLeft());
    h.form.TabStrip1.userSelect(2);
    EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\pending.ini"));
    EXPECT_FALSE(catalogue::pendingWorkMayBeLeft());
}

TEST(PendingWorkText, ACommandNeverReplacesARecordLeftOver) {
    testsupport::Harness h;
    h.start();
    h.write("C:\\zelbrin\\guangpan\\pending.ini", "change disc\r\nold=a\r\n");
    const auto folder =
        catalogue::openIndexFolder(std::string(testsupport::Harness::ProgramFolder));
    try {
        catalogue::beginPendingWork(folder, PendingWork{"delete disc", {}});
        ADD_FAILURE() << "the record left over was replaced";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.description(), catalogue::PendingWorkLeftText);
    }
    EXPECT_EQ(h.read("C:\\zelbrin\\guangpan\\pending.ini"), "change disc\r\nold=a\r\n");
}

}  // namespace
