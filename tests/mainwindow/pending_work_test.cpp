// The record of a multi-file command in progress, its scope, its owner, and
// the start-up that deals with one the last run left.
#include "catalogue/pending_work.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/index_line.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/instance_lock.h"
#include "platform/files/text_file.h"
#include "software/record_deleting.h"
#include "support/harness.h"
#include "support/kill_points.h"

namespace {

using catalogue::PendingWork;
using testsupport::Harness;

const std::string Pending = "C:\\zelbrin\\guangpan\\pending.ini";
const std::string SetAside = "C:\\zelbrin\\guangpan\\pending-2024-5-6.bad";
const std::string Folder(Harness::ProgramFolder);

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
}

TEST(PendingWorkText, ATextThatIsNoRecordReadsAsNone) {
    for (const std::string_view text :
         {std::string_view(""), std::string_view("\r\n\r\n"),
          std::string_view("import\r\n\r\nname=a\r\n"), std::string_view("import\r\nname\r\n"),
          std::string_view("import\r\n=a\r\n"), std::string_view("import\r\nNAME=a\r\n"),
          std::string_view("import\r\nname=a\x01\r\n"), std::string_view("import\0\r\n", 8),
          std::string_view("\r\nimport\r\n")}) {
        SCOPED_TRACE(std::string(text));
        EXPECT_FALSE(catalogue::parsePendingWork(text));
    }
}

// Every command of the table has a caption and a finisher, under one name.
TEST(PendingWorkTable, NamesEachCommandOnce) {
    std::vector<std::string_view> names;
    for (const catalogue::PendingCommand& entry : catalogue::pendingCommands()) {
        EXPECT_FALSE(entry.caption.empty());
        EXPECT_NE(entry.finish, nullptr);
        for (const std::string_view name : names) EXPECT_NE(name, entry.command);
        names.push_back(entry.command);
    }
    EXPECT_EQ(names.size(), 10u);
}

// A record the program cannot read or understand: set aside under a new
// name with one message naming both files, nothing else touched, and the
// next command is not blocked.
TEST(PendingWorkStart, ARecordNotUnderstoodIsSetAsideToldOnceAndBlocksNothing) {
    struct Case {
        const char* what;
        std::string record;  // "" with folder: a folder of that name
        bool folder = false;
    };
    const std::vector<Case> cases = {
        {"empty", ""},
        {"blank lines", "\r\n\r\n"},
        {"a folder", "", true},
        {"binary", std::string("import\r\nname=\x01\x02\0x\r\n", 19)},
        {"unknown command", "something newer\r\nx=1\r\n"},
        {"missing keys", "change disc\r\nmake=b.wcd\r\n"},
        {"a key its command never writes",
         "delete software record\r\nname=A\r\nsweep=C:\\keep\r\n"},
        {"change disc making a live disc's index",
         "change disc\r\nold=x\r\nnew=b\r\nmake=a.wcd\r\n"},
        {"import making a live disc's index", "import\r\nname=b\r\nmake=a.wcd\r\n"},
        {"delete disc dropping another file", "delete disc\r\nname=b\r\ndrop=C:\\keep\\k.txt\r\n"},
        {"line drop outside guangpan",
         "drop file line\r\nindex=C:\\keep\\k.txt\r\npath=C:\\a\\x\r\nsize=1\r\nfile=C:\\a\\x\r\n"},
        {"line drop of a file its line does not name",
         "drop file line\r\nindex=C:\\zelbrin\\guangpan\\a.wcd\r\npath=E:\\x.txt\r\nsize=1\r\n"
         "file=C:\\keep\\gone.txt\r\n"},
        {"software record with a path", "delete software record\r\nname=..\\..\\ini\r\n"},
        {"marks of another disc's index",
         "remove marks\r\ndisc=b\r\nindex=C:\\zelbrin\\guangpan\\a.wcd\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        h.write("C:\\zelbrin\\ini.ini", "|音乐\r\n#a#1#r#\r\n");
        h.write("C:\\zelbrin\\guangpan\\a.wcd", "E:\\\r\nE:\\x.txt[1]\r\n");
        h.write("C:\\keep\\k.txt", "keep");
        if (c.folder)
            h.makeFolder(Pending);
        else
            h.writeBytes(Pending, c.record);
        h.ui.answerMsgBox(platform::MsgOK);
        h.start();
        h.ui.verifyAllUsed();
        ASSERT_EQ(h.ui.messages().size(), 1u);
        const std::string message = h.ui.messages().front();
        EXPECT_NE(message.find(Pending), std::string::npos) << message;
        EXPECT_NE(message.find(SetAside), std::string::npos) << message;
        EXPECT_FALSE(h.exists(Pending));
        EXPECT_TRUE(h.exists(SetAside));
        if (!c.folder) {
            EXPECT_EQ(h.readBytes(SetAside), c.record);
        }
        EXPECT_EQ(h.read("C:\\zelbrin\\guangpan\\a.wcd"), "E:\\\r\nE:\\x.txt[1]\r\n");
        EXPECT_EQ(h.read("C:\\keep\\k.txt"), "keep");
        // A later command begins.
        EXPECT_NO_THROW(
            catalogue::PendingWorkScope(Folder, software::recordDeleteWork("N")).done());
        EXPECT_FALSE(h.exists(Pending));
    }
}

TEST(PendingWorkStart, ASecondRecordSetAsideTakesAnotherName) {
    Harness h;
    h.write(SetAside, "earlier");
    h.write(Pending, "");
    h.ui.answerMsgBox(platform::MsgOK);
    h.start();
    h.ui.verifyAllUsed();
    EXPECT_EQ(h.read(SetAside), "earlier");
    EXPECT_TRUE(h.exists("C:\\zelbrin\\guangpan\\pending-2024-5-6-2.bad"));
    EXPECT_NE(h.ui.messages().front().find("pending-2024-5-6-2.bad"), std::string::npos);
}

TEST(PendingWorkStart, EveryKillLeavesWholeFilesAndTheNextStartEndsTheRecord) {
    const auto write = [] {
        catalogue::PendingWorkScope scope(Folder, software::recordDeleteWork("N"));
        catalogue::openIndexFolder(Folder).write("a.txt", "a");
        scope.done();
    };
    int changes = 0;
    {
        Harness h;
        h.start();
        changes = testsupport::countChanges(write);
    }
    ASSERT_GT(changes, 2);
    for (int step = 1; step <= changes; ++step) {
        SCOPED_TRACE(step);
        Harness h;
        h.start();
        ASSERT_TRUE(testsupport::runKilledBefore(step, write));
        if (h.exists("C:\\zelbrin\\guangpan\\a.txt")) {
            EXPECT_EQ(h.readBytes("C:\\zelbrin\\guangpan\\a.txt"), "a");
        }
        Harness next(h, Harness::NextStart);
        next.start();
        next.ui.verifyAllUsed();
        EXPECT_FALSE(next.exists(Pending));
    }
    Harness h;
    h.start();
    EXPECT_FALSE(testsupport::runKilledBefore(changes + 1, write));
}

TEST(PendingWorkStart, ARecordLeftDuringTheRunIsDealtWithBeforeTheNextEvent) {
    Harness h;
    h.start();
    // A command that recorded its work and failed before ending it.
    { catalogue::PendingWorkScope scope(Folder, software::recordDeleteWork("N")); }
    EXPECT_TRUE(h.exists(Pending));
    EXPECT_TRUE(catalogue::pendingWorkMayBeLeft());
    h.form.TabStrip1.userSelect(2);
    EXPECT_FALSE(h.exists(Pending));
    EXPECT_FALSE(catalogue::pendingWorkMayBeLeft());
}

TEST(PendingWorkScope, ACommandNeverReplacesARecordLeftOver) {
    Harness h;
    h.start();
    h.write(Pending, "change disc\r\nold=a\r\nnew=b\r\n");
    try {
        catalogue::PendingWorkScope scope(Folder, PendingWork{"delete disc", {}});
        ADD_FAILURE() << "the record left over was replaced";
    } catch (const platform::Error& e) {
        EXPECT_TRUE(catalogue::isPendingWorkRefusal(e));
        EXPECT_EQ(e.description(), "上次没有做完的“修改光盘名字、序号、备注和分类”还没有完成");
    }
    EXPECT_EQ(h.read(Pending), "change disc\r\nold=a\r\nnew=b\r\n");
}

// A change of disc that has switched, waiting for red.ini (a folder of that
// name): the start says which file and why, a later command is refused
// naming them, and the event after the folder is gone completes it and
// says so.
TEST(PendingWorkStart, WorkThatWaitsForAFileSaysWhichAndWhyUntilItIsDone) {
    Harness h;
    h.write("C:\\zelbrin\\ini.ini", "|音乐\r\n#b#1#r#\r\n");
    h.write("C:\\zelbrin\\guangpan\\a.wcd", "E:\\\r\n");
    h.write("C:\\zelbrin\\guangpan\\b.wcd", "E:\\\r\n");
    h.makeFolder("C:\\zelbrin\\red.ini");
    h.write(Pending, "change disc\r\nold=a\r\nnew=b\r\nmake=b.wcd\r\ndrop=a.wcd\r\n");
    const std::string reason = [&] {
        try {
            platform::files::WholeFileRead("C:\\zelbrin\\red.ini");
        } catch (const platform::Error& e) {
            return e.description();
        }
        return std::string();
    }();
    ASSERT_FALSE(reason.empty());
    h.ui.answerMsgBox(platform::MsgOK, "不能保存文件: C:\\zelbrin\\red.ini" + reason +
                                           "\r\n“修改光盘名字、序号、备注和分类”还没有做完，"
                                           "将在下次启动时完成。");
    h.ui.answerMsgBox(platform::MsgOK);  // red.ini cannot be read for the trees
    h.start();
    h.ui.verifyAllUsed();
    EXPECT_TRUE(h.exists(Pending));
    EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan\\a.wcd"));
    try {
        catalogue::PendingWorkScope scope(Folder, software::recordDeleteWork("N"));
        ADD_FAILURE() << "not refused";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.description(),
                  "上次没有做完的“修改光盘名字、序号、备注和分类”还需要写入：C:\\zelbrin\\red.ini" +
                      reason);
    }
    // Tried again before each event, told only when something changed.
    h.form.TabStrip1.userSelect(2);
    h.ui.verifyAllUsed();
    EXPECT_TRUE(h.exists(Pending));
    std::filesystem::remove_all(h.nativePath("C:\\zelbrin\\red.ini"));
    h.write("C:\\zelbrin\\red.ini", "a\r\n");
    h.ui.answerMsgBox(platform::MsgOK, "上次没有做完的“修改光盘名字、序号、备注和分类”已经完成。");
    h.form.TabStrip1.userSelect(1);
    h.ui.verifyAllUsed();
    EXPECT_FALSE(h.exists(Pending));
    EXPECT_EQ(h.read("C:\\zelbrin\\red.ini"), "b\r\n");
}

// A record a live process holds is never settled by another start; once it
// has died, the next start settles it.
TEST(PendingWorkOwner, ARecordALiveProcessHoldsIsLeftAndTold) {
    Harness h;
    h.start();
    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        catalogue::PendingWorkScope scope(Folder, software::recordDeleteWork("N"));
        char c = 1;
        (void)!::write(ready[1], &c, 1);
        (void)!::read(release[0], &c, 1);
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    {
        Harness second(h, Harness::NextStart);
        second.ui.answerMsgBox(
            platform::MsgOK,
            "“删除目录或软件”正在另一个运行中的程序里进行，它的记录留着不动：" + Pending);
        second.start();
        second.ui.verifyAllUsed();
        EXPECT_TRUE(second.exists(Pending));
        // Its commands are refused meanwhile.
        EXPECT_THROW(catalogue::PendingWorkScope(Folder, software::recordDeleteWork("M")),
                     platform::Error);
    }
    (void)!::write(release[1], &c, 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    for (const int fd : {ready[0], ready[1], release[0], release[1]}) ::close(fd);
    Harness third(h, Harness::NextStart);
    third.start();
    third.ui.verifyAllUsed();
    EXPECT_FALSE(third.exists(Pending));
}

// Where no lock can be taken, the record's owner (process and start time)
// decides: a dead owner's record is settled, a live or unknown one is left
// and told.
TEST(PendingWorkOwner, WithoutLocksARecordNotProvedDeadIsLeftAndTold) {
    struct Unlocked {
        Unlocked() { platform::files::setFolderLocksUnavailable(true); }
        ~Unlocked() { platform::files::setFolderLocksUnavailable(false); }
    } unlocked;
    // A process that has ended.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string me = platform::files::processIdentity();
        (void)!::write(fds[1], me.data(), me.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    char buffer[256];
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    ::close(fds[0]);
    ::waitpid(child, nullptr, 0);
    ASSERT_GT(n, 0);
    const std::string dead(buffer, static_cast<std::size_t>(n));
    const std::string alive = platform::files::processIdentity(static_cast<long>(::getppid()));
    ASSERT_FALSE(alive.empty());
    EXPECT_EQ(platform::files::processRunning(dead), false);
    EXPECT_EQ(platform::files::processRunning(alive), true);

    const std::string left =
        "不能确定做“删除目录或软件”的程序是否已经结束，它的记录留着不动：" + Pending;
    for (const std::string& owner : {alive, std::string()}) {
        SCOPED_TRACE(owner);
        Harness h;
        h.write(Pending, "delete software record\r\nname=N\r\n" +
                             (owner.empty() ? std::string() : "owner=" + owner + "\r\n"));
        h.ui.answerMsgBox(platform::MsgOK, left);
        h.start();
        h.ui.verifyAllUsed();
        EXPECT_TRUE(h.exists(Pending));
    }
    Harness h;
    h.write(Pending, "delete software record\r\nname=N\r\nowner=" + dead + "\r\n");
    h.start();
    h.ui.verifyAllUsed();
    EXPECT_FALSE(h.exists(Pending));
}

// Without locks, a record a command of this run left (its owner this
// process, no command running) is finished before the next event.
TEST(PendingWorkOwner, WithoutLocksARecordThisRunLeftIsFinishedBeforeTheNextEvent) {
    struct Unlocked {
        Unlocked() { platform::files::setFolderLocksUnavailable(true); }
        ~Unlocked() { platform::files::setFolderLocksUnavailable(false); }
    } unlocked;
    Harness h;
    h.start();
    { catalogue::PendingWorkScope scope(Folder, software::recordDeleteWork("N")); }
    EXPECT_NE(h.read(Pending).find("owner=" + platform::files::processIdentity()),
              std::string::npos);
    h.form.TabStrip1.userSelect(2);
    h.ui.verifyAllUsed();
    EXPECT_FALSE(h.exists(Pending));
}

}  // namespace
