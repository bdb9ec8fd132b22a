// Changing, deleting and importing a disc cut short before each of their
// changes of a file (a kill, a power cut), then the program started again on
// the same files; and the same commands with a change failing as on a full
// disk or a failing device. After the next start the whole command is old or
// new, every file together.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/pending_work.h"
#include "catalogue/scan_dialog.h"
#include "catalogue_steps.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "support/fail_points.h"
#include "support/harness.h"
#include "support/kill_points.h"

namespace {

namespace fs = std::filesystem;
using catalogue_test::Catalogue;
using catalogue_test::clickCategory;
using catalogue_test::discFile;
using catalogue_test::MirrorList;
using testsupport::Harness;

constexpr int DiscTab = 2;
constexpr std::string_view Pending = "pending.ini";

// The stored files a disc command may touch: the catalogue, the mirror disc
// list and everything in "guangpan" but the record, by name, with their bytes.
using Files = std::map<std::string, std::string>;

Files storedFiles(const Harness& h) {
    Files files;
    for (const std::string_view name : {Catalogue, MirrorList})
        if (h.exists(name)) files[std::string(name)] = h.readBytes(name);
    for (const auto& e : fs::directory_iterator(h.nativePath(catalogue_test::Guangpan))) {
        const std::string name = e.path().filename().string();
        if (name == Pending || name.rfind(platform::files::TempFilePrefix, 0) == 0) continue;
        files[name] = e.is_regular_file() ? h.readBytes(discFile(name, "")) : "(folder)";
    }
    return files;
}

// The temporary files anywhere below the program folder.
std::vector<std::string> temporaryFiles(const Harness& h) {
    std::vector<std::string> found;
    for (const auto& e : fs::recursive_directory_iterator(h.nativePath(Harness::ProgramFolder)))
        if (e.path().filename().string().rfind(platform::files::TempFilePrefix, 0) == 0)
            found.push_back(e.path().string());
    return found;
}

// A run cut short has ended before the next one starts: its temporary files
// are older than the next program.
void ageTemporaryFiles(const Harness& h) {
    for (const std::string& path : temporaryFiles(h))
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24));
}

// Every disc of the catalogue has its index file and every index file its
// disc line.
void expectCatalogueAndIndexesAgree(const Harness& h) {
    const std::string catalogue = h.read(Catalogue);
    std::vector<std::string> filed, indexed;
    std::size_t start = 0;
    while (start < catalogue.size()) {
        const std::size_t end = catalogue.find("\r\n", start);
        const std::string line = catalogue.substr(start, end - start);
        const catalogue::CatalogueEntry entry = catalogue::parseCatalogueLine(line);
        if (entry.kind == catalogue::CatalogueLineKind::DiscLine) filed.push_back(entry.name);
        if (end == std::string::npos) break;
        start = end + 2;
    }
    for (const auto& e : fs::directory_iterator(h.nativePath(catalogue_test::Guangpan))) {
        const std::string name = e.path().filename().string();
        if (name.size() > 4 && name.substr(name.size() - 4) == ".wcd")
            indexed.push_back(name.substr(0, name.size() - 4));
    }
    std::sort(filed.begin(), filed.end());
    std::sort(indexed.begin(), indexed.end());
    EXPECT_EQ(filed, indexed);
}

// A disc opens from the disc list without a message.
void expectDiscOpens(Harness& h, const std::string& disc) {
    h.form.TabStrip1.userSelect(DiscTab);
    platform::Node* node = h.form.TreeView1.find(disc + "*");
    ASSERT_NE(node, nullptr) << disc;
    const std::size_t shown = h.ui.log().size();
    h.form.TreeView1.userClickNode(*node);
    EXPECT_EQ(h.form.OpenedDisk, disc);
    EXPECT_EQ(h.ui.log().size(), shown);
    EXPECT_GT(h.form.TreeView1.nodes().size(), 1u);
}

// One command on prepared files.
struct Scenario {
    std::string caption;                    // its menu text, as the start-up names it
    std::function<void(Harness&)> prepare;  // files, start, window state
    // The gesture with its answers; with `told`, the command's own message
    // after them is answered too.
    std::function<void(Harness&, bool told)> command;
    std::string discBefore, discAfter;  // the disc that opens ("" none)
};

// What the kills found.
struct KillCount {
    int points = 0, old = 0, done = 0, told = 0;
};

// The stored files before and after the whole command, and the number of
// changes it makes.
struct Ends {
    Files before, after;
    int points = 0;
    // Each change made, as the hook is told of it.
    std::vector<std::pair<platform::files::CommitStep, std::string>> changes;
    std::vector<std::string> messages;  // the boxes of the whole command
};

Ends runWhole(const Scenario& s) {
    Ends ends;
    Harness h;
    s.prepare(h);
    h.ui.clearLog();
    ends.before = storedFiles(h);
    {
        const platform::files::ScopedCommitHook hook(
            [&](platform::files::CommitStep step, const std::string& path) {
                ends.changes.emplace_back(step, path);
            });
        s.command(h, false);
    }
    h.ui.verifyAllUsed();
    ends.messages = h.ui.messages();
    ends.after = storedFiles(h);
    EXPECT_FALSE(h.exists(discFile(Pending, "")));
    EXPECT_NE(ends.before, ends.after);
    ends.points = static_cast<int>(ends.changes.size());
    EXPECT_GT(ends.points, 0);
    return ends;
}

// Starts the program again on h's files (the temporary files of h's run
// aged as an ended run's are) and checks that it leaves the old or the new
// state whole, with every file: no temporary file, no record, the catalogue
// and the index files agreeing, the disc opening. The start tells the user
// once when it had something to do. True when the state is the new one.
bool expectNextStartSettles(const Harness& h, const Scenario& s, const Ends& ends, bool& told) {
    ageTemporaryFiles(h);
    // The catalogue switches: its bytes say which state the start must
    // complete.
    const bool switched = h.readBytes(Catalogue) == ends.after.at(std::string(Catalogue));
    const Files& expected = switched ? ends.after : ends.before;
    told = storedFiles(h) != expected;
    Harness next(h, Harness::NextStart);
    if (told)
        next.ui.answerMsgBox(platform::MsgOK, catalogue::pendingWorkReport(s.caption, switched));
    next.start();
    next.ui.verifyAllUsed();
    EXPECT_EQ(storedFiles(next), expected);
    EXPECT_EQ(temporaryFiles(next), std::vector<std::string>{});
    EXPECT_FALSE(next.exists(discFile(Pending, "")));
    expectCatalogueAndIndexesAgree(next);
    const std::string& disc = switched ? s.discAfter : s.discBefore;
    if (!disc.empty()) expectDiscOpens(next, disc);
    return switched;
}

KillCount killAtEveryChange(const Scenario& s) {
    const Ends ends = runWhole(s);
    KillCount count;
    {
        Harness h;
        s.prepare(h);
        count.points = testsupport::countChanges([&] { s.command(h, false); });
    }
    EXPECT_EQ(count.points, ends.points);
    for (int step = 1; step <= count.points; ++step) {
        SCOPED_TRACE("killed before change " + std::to_string(step));
        Harness h;
        s.prepare(h);
        EXPECT_TRUE(testsupport::runKilledBefore(step, [&] { s.command(h, false); }));
        bool told = false;
        (expectNextStartSettles(h, s, ends, told) ? count.done : count.old) += 1;
        count.told += told ? 1 : 0;
    }
    Harness h;
    s.prepare(h);
    EXPECT_FALSE(testsupport::runKilledBefore(count.points + 1, [&] { s.command(h, false); }));
    return count;
}

// Each change of the command fails in turn with the error `number` (61 a
// full disk, 57 a device error): a failure before the catalogue's new name
// takes effect leaves the old state and one message of the command naming
// the reason; one after it leaves the new state (the next start finishing
// what is left), told with the file that waits and why. A
// link the file system refuses is made a copy. A folder sync is tried again:
// failing once it changes nothing of the command, failing on both tries the
// command goes through and the file the disk did not confirm is named once.
// Never a bare runtime error.
void failAtEveryChange(const Scenario& s, int number, std::string_view failedPrefix) {
    const Ends ends = runWhole(s);
    namespace files = platform::files;
    using testsupport::Tries;
    std::size_t switchAt = ends.changes.size();
    for (std::size_t i = 0; i < ends.changes.size(); ++i)
        if (ends.changes[i].first == files::CommitStep::Rename &&
            fs::path(ends.changes[i].second).filename() == "ini.ini")
            switchAt = i;
    ASSERT_LT(switchAt, ends.changes.size());
    const std::string reason = platform::errorText(number);
    for (std::size_t failing = 0; failing < ends.changes.size(); ++failing) {
        const auto& [step, path] = ends.changes[failing];
        const bool sync = step == files::CommitStep::SyncFolder;
        for (const Tries tries : {Tries::Once, Tries::Twice}) {
            if (tries == Tries::Twice && !sync) continue;
            SCOPED_TRACE("change " + std::to_string(failing + 1) + " fails" +
                         (tries == Tries::Twice ? " twice: " : ": ") + path);
            // A link that fails is made a copy.
            const bool before = failing <= switchAt && step != files::CommitStep::Link && !sync;
            // After the switch: an old file that cannot be removed or a
            // mirror disc list that cannot be written is told when it
            // happens; the next start does it (the record's own removal is
            // silent).
            const bool afterSwitch =
                failing > switchAt && !sync && fs::path(path).filename() != "pending.ini";
            Harness h;
            s.prepare(h);
            h.ui.clearLog();
            {
                const testsupport::FailAtChange fail(
                    static_cast<int>(failing) + 1, number, tries,
                    [&](const testsupport::FailAtChange& c) {
                        if (c.kind == files::CommitStep::SyncFolder && tries == Tries::Twice)
                            h.ui.answerMsgBox(platform::MsgOK, c.unconfirmedBox());
                    });
                s.command(h, before || afterSwitch);
                EXPECT_TRUE(fail.failed);
                EXPECT_EQ(fail.retried, sync);
                EXPECT_EQ(fail.unconfirmed, tries == Tries::Twice);
            }
            h.ui.verifyAllUsed();
            for (const std::string& message : h.ui.messages())
                EXPECT_EQ(message.find("运行时错误"), std::string::npos) << message;
            const std::string told = h.ui.messages().empty() ? "" : h.ui.messages().back();
            if (sync) {
                EXPECT_EQ(storedFiles(h), ends.after);
                std::vector<std::string> expected = ends.messages;
                if (tries == Tries::Twice) expected.push_back(told);
                EXPECT_EQ(h.ui.messages(), expected);
            } else if (before) {
                EXPECT_EQ(told.rfind(failedPrefix, 0), 0u) << told;
                EXPECT_NE(told.find(reason), std::string::npos) << told;
            } else if (afterSwitch) {
                const std::string waits = step == files::CommitStep::Remove
                                              ? "不能删除文件: C:\\zelbrin\\guangpan\\"
                                              : "不能保存文件: C:\\zelbrin\\";
                EXPECT_EQ(told.rfind(waits, 0), 0u) << told;
                EXPECT_NE(
                    told.find(reason + "\r\n“" + s.caption + "”还没有做完，将在下次启动时完成。"),
                    std::string::npos)
                    << told;
            }
            bool toldAtStart = false;
            EXPECT_EQ(expectNextStartSettles(h, s, ends, toldAtStart), !before);
            if (sync) {
                EXPECT_FALSE(toldAtStart);
            }
        }
    }
}

// ---- the scenarios ----

constexpr std::string_view Stored =
    "|音乐\r\n"
    "#other#1#r&&d#\r\n"
    "#abc#3#演唱会&&2004-1-2#\r\n"
    "|电影\r\n";
constexpr std::string_view Index = "E:\\|docs@\r\nE:\\docs\\a.txt[5]\r\n";
constexpr std::string_view Notes = "@##note##@abc\\E:\\docs\\a.txt.txt==about abc\r\n";
constexpr std::string_view Usage = "@##exam##@abc\\E:\\docs.文件夹==used\r\n";

void prepareDiscs(Harness& h) {
    h.write(Catalogue, Stored);
    h.write(discFile("other", ".wcd"), "E:\\\r\n");
    h.write(discFile("abc", ".wcd"), Index);
    h.write(discFile("abc", ".note"), Notes);
    h.write(discFile("abc", ".exam"), Usage);
    h.write(MirrorList, "other\r\nabc\r\n");
    h.start();
    h.ui.clearLog();
}

// 修改光盘名字、序号、备注和分类 on the open disc "abc".
std::function<void(Harness&, bool)> changeDisc(std::string name, std::string remark) {
    return [name, remark](Harness& h, bool told) {
        h.form.TreeView1.setVisible(true);
        h.form.OpenedDisk = "abc";
        h.ui.onModal<Dialog>([name, remark, told, &h](Dialog& d) {
            if (!name.empty()) d.Text1.userType(name);
            if (!remark.empty()) d.Text3.userType(remark);
            h.ui.answerMsgBox(platform::MsgYes);  // the summary of the changes
            if (told) h.ui.answerMsgBox(platform::MsgOK);
            d.OKButton.userClick();
        });
        h.form.ChangeOrder.userClick();
    };
}

Scenario renameScenario(std::string name) {
    return {"修改光盘名字、序号、备注和分类", prepareDiscs, changeDisc(name, ""), "abc", name};
}

Scenario remarkScenario() {
    return {"修改光盘名字、序号、备注和分类", prepareDiscs, changeDisc("", "新的备注"), "abc",
            "abc"};
}

Scenario deleteScenario() {
    return {"删除这张光盘", prepareDiscs,
            [](Harness& h, bool told) {
                h.form.TreeView1.setSelectedItem(&h.form.TreeView1.item("abc*"));
                h.ui.choosePopup("DeleteThisCD");
                h.ui.answerMsgBox(platform::MsgOK, "你确实要删除 {abc} 光盘 ?");
                if (told) h.ui.answerMsgBox(platform::MsgOK);
                h.form.TreeView1.userMouseDown(platform::RightButton, 0, 100, 200);
            },
            "abc", ""};
}

constexpr std::string_view ImportSource = "C:\\in\\tools.wcd";

Scenario importScenario() {
    return {"导入光盘索引文件",
            [](Harness& h) {
                prepareDiscs(h);
                h.write(ImportSource, "E:\\|bin@\r\nE:\\bin\\x.exe[9]\r\n");
            },
            [](Harness& h, bool told) {
                h.ui.answerOpen(std::string(ImportSource));
                if (told) h.ui.answerMsgBox(platform::MsgOK);
                h.ui.onModal<Dialog>([](Dialog& d) {
                    clickCategory(d, "电影");
                    d.Text3.userType("工具");
                    d.OKButton.userClick();
                });
                h.form.import.userClick();
            },
            "", "tools"};
}

void report(const char* what, const KillCount& c) {
    std::printf("%s: %d kill points; old %d, new %d; the next start told %d\n", what, c.points,
                c.old, c.done, c.told);
}

TEST(DiscCommandsCutShort, ARenameWithRemarksUsageNotesAndMirrorListIsOldOrNewAsAWhole) {
    const KillCount c = killAtEveryChange(renameScenario("新名"));
    report("rename", c);
    EXPECT_GT(c.old, 0);
    EXPECT_GT(c.done, 0);
    EXPECT_GT(c.told, 0);
}

TEST(DiscCommandsCutShort, ARenameInLetterCaseOnlyIsOldOrNewAsAWhole) {
    const KillCount c = killAtEveryChange(renameScenario("ABC"));
    report("rename in letter case", c);
    EXPECT_GT(c.old, 0);
    EXPECT_GT(c.done, 0);
}

TEST(DiscCommandsCutShort, AChangedRemarkIsOldOrNewAndNothingIsTold) {
    const KillCount c = killAtEveryChange(remarkScenario());
    report("remark", c);
    EXPECT_EQ(c.told, 0);
}

TEST(DiscCommandsCutShort, ADeleteIsOldOrNewAsAWhole) {
    const KillCount c = killAtEveryChange(deleteScenario());
    report("delete", c);
    EXPECT_GT(c.done, 0);
    EXPECT_GT(c.told, 0);
}

TEST(DiscCommandsFailing, OnAFullDiskOrADeviceErrorEachCommandKeepsItsOldBytesAndSaysWhy) {
    for (const int number : {platform::err::DiskFull, platform::err::DeviceIO}) {
        SCOPED_TRACE(number);
        {
            SCOPED_TRACE("rename");
            failAtEveryChange(renameScenario("新名"), number, "改名失败：");
        }
        {
            SCOPED_TRACE("rename in letter case");
            failAtEveryChange(renameScenario("ABC"), number, "改名失败：");
        }
        {
            SCOPED_TRACE("remark");
            failAtEveryChange(remarkScenario(), number, "改名失败：");
        }
        {
            SCOPED_TRACE("delete");
            failAtEveryChange(deleteScenario(), number, "不能保存文件: C:\\zelbrin\\");
        }
        {
            SCOPED_TRACE("import");
            failAtEveryChange(importScenario(), number, "导入失败：");
        }
    }
}

// Each command killed before each of its changes, then a start whose
// finishing fails at each of its changes (a full disk, an I/O error), then a
// start with room: the whole old or the whole new state, told once, and the
// record never dropped while its work is undone.
TEST(DiscCommandsCutShort, AStartThatCannotFinishKeepsTheRecordAndTheNextFinishesIt) {
    for (const Scenario& s :
         {renameScenario("新名"), renameScenario("ABC"), deleteScenario(), importScenario()}) {
        SCOPED_TRACE(s.caption);
        const Ends ends = runWhole(s);
        int done = 0, old = 0;
        const int runs = testsupport::killThenFailTheFinishing(
            s.prepare, [&](Harness& h) { s.command(h, false); },
            [&](Harness& h, const testsupport::FailedFinishing&) {
                bool told = false;
                (expectNextStartSettles(h, s, ends, told) ? done : old) += 1;
            });
        EXPECT_GT(runs, 0);
        EXPECT_GT(done, 0);
        EXPECT_GT(old, 0);
    }
}

TEST(DiscCommandsCutShort, AnImportIsOldOrNewAsAWholeAndACutOneDoesNotBlockTheNext) {
    const Scenario s = importScenario();
    const KillCount c = killAtEveryChange(s);
    report("import", c);
    EXPECT_GT(c.told, 0);
    // Cut between the copy and the catalogue line: the next start takes
    // the copy away, and the import then goes through.
    for (int step = 1; step <= c.points; ++step) {
        Harness h;
        s.prepare(h);
        ASSERT_TRUE(testsupport::runKilledBefore(step, [&] { s.command(h, false); }));
        if (!h.exists(discFile("tools", ".wcd")) ||
            h.read(Catalogue).find("#tools#") != std::string::npos)
            continue;
        SCOPED_TRACE(step);
        ageTemporaryFiles(h);
        Harness next(h, Harness::NextStart);
        next.ui.answerMsgBox(platform::MsgOK, "上次没有做完的“导入光盘索引文件”已经撤销。");
        next.start();
        EXPECT_FALSE(next.exists(discFile("tools", ".wcd")));
        s.command(next, false);
        next.ui.verifyAllUsed();
        EXPECT_EQ(next.read(discFile("tools", ".wcd")), "E:\\|bin@\r\nE:\\bin\\x.exe[9]\r\n");
        EXPECT_NE(next.read(Catalogue).find("#tools#"), std::string::npos);
        return;
    }
    ADD_FAILURE() << "no kill point between the copy and the catalogue line";
}

}  // namespace
