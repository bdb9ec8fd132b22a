// A mirror copy run among other changes: the index as it is at the end of
// the run takes the suffixes, a disc renamed or deleted meanwhile gets
// nothing written back, a run killed at any change is completed or taken
// back at the next start, and a full disk or an I/O error at any change is
// told once and keeps the stored files whole.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/index_line.h"
#include "catalogue/pending_work.h"
#include "copies/mirror_files.h"
#include "copies/mirror_folders.h"
#include "copies/mirror_run.h"
#include "mirror_steps.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "support/fail_points.h"
#include "support/kill_points.h"

using namespace mirror_test;

namespace {

namespace fs = std::filesystem;
using platform::files::CommitStep;

constexpr const char* Pending = "C:\\zelbrin\\guangpan\\pending.ini";
constexpr const char* RunCaption = "把打标记的文件拷贝到硬盘形成映象文件";

// The Photos index after a run that copied its four ticked files.
std::string photosCopied() {
    return lines({
        "F:\\|docs",
        "F:\\c.txt[5]($){C:\\mirror\\[005]Photos\\c.txt}",
        "F:\\b.txt[10]($)($)",
        "F:\\docs\\|img",
        "F:\\docs\\a.txt.bak[3]",
        "F:\\docs\\a.txt[4]($){C:\\mirror\\[005]Photos\\docs\\a.txt}",
        "F:\\docs\\m.txt[7]($){C:\\old\\docs\\m.txt}",
        "F:\\docs\\img\\a.jpg[800]($){C:\\mirror\\[005]Photos\\docs\\img\\a.jpg}",
        "F:\\docs\\img\\z.txt[1]($)($)($){C:\\mirror\\[005]Photos\\docs\\img\\z.txt}",
    });
}
constexpr std::string_view SizeBefore = " 1000\r\n";
constexpr std::string_view SizeAfter = " 1810\r\n";

// Runs action once, the first time the run writes below the target (a copy
// is being made), as another instance or the user would act meanwhile.
class WhileCopying {
  public:
    WhileCopying(const testsupport::Harness& h, std::function<void()> action)
        : target_(h.nativePath(Target)),
          hook_([this, action = std::move(action)](CommitStep step, const std::string& path) {
              if (done_ || step != CommitStep::CreateTemp || !path.starts_with(target_)) return;
              done_ = true;
              action();
          }) {}

  private:
    std::string target_;
    bool done_ = false;
    platform::files::ScopedCommitHook hook_;
};

// Every temporary file of the program below a native folder.
std::vector<std::string> tempFiles(const std::string& folder) {
    std::vector<std::string> found;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->path().filename().string().starts_with(platform::files::TempFilePrefix))
            found.push_back(it->path().string());
    return found;
}

// A run cut short belongs to a program that has ended: its temporary files
// are older than the next program's start (in a test, the same process).
void ageTempFiles(const std::string& folder) {
    const auto before = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const std::string& file : tempFiles(folder)) fs::last_write_time(file, before);
}

// The copied size an index's mirror paths into the target stand for, as
// size.ini holds it, and the index without them.
struct Recorded {
    std::string size;
    std::string withoutCopies;
};
Recorded recordedIn(const std::string& index) {
    double total = 1000;
    std::vector<std::string_view> kept;
    std::vector<std::string> stripped;
    stripped.reserve(16);
    std::size_t at = 0;
    while (at < index.size()) {
        const std::size_t end = index.find("\r\n", at);
        std::string line = index.substr(at, end - at);
        at = end + 2;
        const auto file = catalogue::parseFileLine(line);
        if (file && file->mirror && file->mirror->starts_with(Target)) {
            total += static_cast<double>(file->size());
            line.resize(line.rfind('{'));
        }
        stripped.push_back(line);
    }
    for (const std::string& l : stripped) kept.push_back(l);
    return {copies::copiedSizeText(total), lines(kept)};
}

// The message boxes shown, as "title: prompt".
std::vector<std::string> boxesOf(const testsupport::Harness& h) {
    std::vector<std::string> out;
    for (const auto& s : h.ui.log())
        if (s.kind == testsupport::ShownKind::MsgBox) out.push_back(s.title + ": " + s.prompt);
    return out;
}

}  // namespace

// Ticks made in the index while the run copies, and a line put before the
// others, stay: each suffix goes onto its own file's line of the index as it
// is at the end.
TEST_F(MirrorCopy, TheSuffixesGoOntoTheIndexAsItIsAtTheEnd) {
    const std::string meanwhile = lines({
        "F:\\new.txt[2]($)",
        "F:\\|docs",
        "F:\\c.txt[5]($)",
        "F:\\b.txt[10]($)($)($)",
        "F:\\docs\\|img",
        "F:\\docs\\a.txt.bak[3]($)",
        "F:\\docs\\a.txt[4]($)",
        "F:\\docs\\m.txt[7]($){C:\\old\\docs\\m.txt}",
        "F:\\docs\\img\\a.jpg[800]($)",
        "F:\\docs\\img\\z.txt[1]($)($)($)",
    });
    openDisc(Photos);
    {
        WhileCopying during(h, [&] { h.write(PhotosIndex, meanwhile); });
        copyTo(Photos, Target);
    }
    EXPECT_EQ(h.read(PhotosIndex),
              lines({
                  "F:\\new.txt[2]($)",
                  "F:\\|docs",
                  "F:\\c.txt[5]($){C:\\mirror\\[005]Photos\\c.txt}",
                  "F:\\b.txt[10]($)($)($)",
                  "F:\\docs\\|img",
                  "F:\\docs\\a.txt.bak[3]($)",
                  "F:\\docs\\a.txt[4]($){C:\\mirror\\[005]Photos\\docs\\a.txt}",
                  "F:\\docs\\m.txt[7]($){C:\\old\\docs\\m.txt}",
                  "F:\\docs\\img\\a.jpg[800]($){C:\\mirror\\[005]Photos\\docs\\img\\a.jpg}",
                  "F:\\docs\\img\\z.txt[1]($)($)($){C:\\mirror\\[005]Photos\\docs\\img\\z.txt}",
              }));
    EXPECT_EQ(h.readBytes(SizeIni), SizeAfter);
    EXPECT_EQ(h.read(RedIni), "Other\r\n[005]Photos\r\n");
    EXPECT_FALSE(h.exists(Pending));

    // A line that took a mirror path meanwhile keeps it, and its size is not
    // counted; a line gone meanwhile takes nothing.
    h.write(PhotosIndex, lines({"F:\\c.txt[5]($)", "F:\\docs\\a.txt[4]($)"}));
    {
        WhileCopying during(h, [&] {
            h.write(PhotosIndex, lines({"F:\\c.txt[5]($){D:\\else\\c.txt}", "F:\\b.txt[10]"}));
        });
        answerRun(Photos, Target);
        h.ui.answerMsgBox(platform::MsgNo, "已经有此文件夹！需要另选吗?");
        f().copytag.userClick();
    }
    EXPECT_EQ(h.read(PhotosIndex), lines({"F:\\c.txt[5]($){D:\\else\\c.txt}", "F:\\b.txt[10]"}));
    EXPECT_EQ(h.readBytes(SizeIni), SizeAfter);
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "2个文件已经拷贝到硬盘！");
}

// The disc renamed, deleted, or only taken out of the catalogue while the
// run copies: nothing is written back (no index made again, no size, no
// list), and the user is told.
TEST_F(MirrorCopy, ADiscRenamedOrDeletedMeanwhileGetsNothingWrittenBack) {
    struct Case {
        const char* name;
        std::function<void(testsupport::Harness&)> change;
    };
    const std::string renamedIndex = "C:\\zelbrin\\guangpan\\[005]Pictures.wcd";
    const std::vector<Case> cases = {
        {"renamed",
         [&](testsupport::Harness& h) {
             fs::rename(h.nativePath(PhotosIndex), h.nativePath(renamedIndex));
             h.write("C:\\zelbrin\\ini.ini",
                     "|照片\r\n#[005]Pictures#5#照片盘#\r\n|音乐\r\n#music_hard#6#流行歌曲#\r\n");
         }},
        {"deleted",
         [](testsupport::Harness& h) {
             fs::remove(h.nativePath(PhotosIndex));
             h.write("C:\\zelbrin\\ini.ini", "|照片\r\n|音乐\r\n#music_hard#6#流行歌曲#\r\n");
         }},
        {"out of the catalogue",
         [](testsupport::Harness& h) {
             h.write("C:\\zelbrin\\ini.ini", "|照片\r\n|音乐\r\n#music_hard#6#流行歌曲#\r\n");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::Harness run;
        writeDiscs(run);
        run.start();
        openDiscIn(run, Photos);
        answerRunIn(run, Photos, Target);
        run.ui.answerMsgBox(platform::MsgOK,
                            "光盘“[005]Photos”在拷贝期间已被改名或删除，拷贝的文件没有记入索引。");
        {
            WhileCopying during(run, [&] { c.change(run); });
            run.form.copytag.userClick();
        }
        EXPECT_TRUE(run.exists("C:\\mirror\\[005]Photos\\docs\\img\\z.txt"));
        for (const std::string& index : {std::string(PhotosIndex), renamedIndex}) {
            if (run.exists(index)) {
                EXPECT_EQ(run.read(index), lines(PhotosLines));
            }
        }
        EXPECT_EQ(run.readBytes(SizeIni), SizeBefore);
        EXPECT_EQ(run.read(RedIni), "Other\r\n");
        EXPECT_EQ(run.form.AllSize, 1000);
        EXPECT_FALSE(run.exists(Pending));
    }
}

namespace {

// The ticked lines of the Photos disc a run copies: where each copy goes and
// the bytes it has.
struct TickedFile {
    std::string_view line;
    std::string copy;
    std::string bytes;
};
const std::vector<TickedFile>& photosTicked() {
    static const std::vector<TickedFile> ticked = {
        {"F:\\c.txt[5]($)", std::string(Target) + "\\c.txt", "ccccc"},
        {"F:\\docs\\a.txt[4]($)", std::string(Target) + "\\docs\\a.txt", "aaaa"},
        {"F:\\docs\\img\\a.jpg[800]($)", std::string(Target) + "\\docs\\img\\a.jpg",
         std::string(800, 'j')},
        {"F:\\docs\\img\\z.txt[1]($)($)($)", std::string(Target) + "\\docs\\img\\z.txt", "z"},
    };
    return ticked;
}

// The Photos index with the copies of the ticked lines chosen recorded, and
// the copied size that goes with it.
std::string photosWith(const std::vector<bool>& recorded) {
    std::vector<std::string> out;
    for (std::string_view line : PhotosLines) {
        std::string l(line);
        for (std::size_t i = 0; i < photosTicked().size(); ++i)
            if (recorded[i] && line == photosTicked()[i].line)
                l += "{" + photosTicked()[i].copy + "}";
        out.push_back(l);
    }
    return lines(std::vector<std::string_view>(out.begin(), out.end()));
}
std::string sizeWith(const std::vector<bool>& recorded) {
    double total = 1000;
    for (std::size_t i = 0; i < recorded.size(); ++i)
        if (recorded[i]) total += static_cast<double>(photosTicked()[i].bytes.size());
    return copies::copiedSizeText(total);
}

// The folder a run copies into, recorded as a mirror folder as the run
// records it before it begins (the harness's settings store lives in memory,
// so what a killed run recorded there is recorded here beforehand).
void recordTargetIn(testsupport::Harness& h, std::string_view target) {
    copies::recordMirrorFolder(h.settings, copies::resolvedFolderOf(target).value());
}

// What the start tells after a run cut short that made copies.
std::string finishedReport(std::size_t copies) {
    return "上次没有做完的“把打标记的文件拷贝到硬盘形成映象文件”已经完成：" +
           std::to_string(copies) + "个文件已经拷贝到硬盘。";
}

// The start's boxes never say a run was taken back.
void expectNotTakenBack(const testsupport::Harness& h) {
    for (const std::string& box : boxesOf(h)) EXPECT_EQ(box.find("撤销"), std::string::npos) << box;
}

}  // namespace

// A run killed before each of its changes (the record, the target's
// folders, each copy, the record's results, the index, size.ini, red.ini):
// the next start records exactly the whole copies the run made (each with
// its mirror path, counted in size.ini, the disc in red.ini) and tells how
// many, or takes back a run that copied nothing; never a copy left
// unrecorded or a recorded one missing, no temporary file anywhere; a second
// run then counts every file once.
TEST(MirrorRunKilled, TheNextStartRecordsTheWholeCopiesOrTakesBackARunThatCopiedNothing) {
    const auto run = [](testsupport::Harness& h) {
        answerRunIn(h, Photos, Target);
        h.form.copytag.userClick();
    };
    int changes = 0;
    {
        testsupport::Harness h;
        writeDiscs(h);
        h.start();
        openDiscIn(h, Photos);
        changes = testsupport::countChanges([&] { run(h); });
    }
    ASSERT_GT(changes, 20);
    int finishedForward = 0, finishedWithResults = 0, takenBack = 0;
    for (int step = 1; step <= changes; ++step) {
        SCOPED_TRACE(step);
        testsupport::Harness h;
        writeDiscs(h);
        recordTargetIn(h, Target);
        h.start();
        openDiscIn(h, Photos);
        ASSERT_TRUE(testsupport::runKilledBefore(step, [&] { run(h); }));
        ageTempFiles(h.nativePath("C:\\"));

        // The copies the killed run left: each one whole.
        std::vector<bool> made;
        std::size_t madeCount = 0;
        for (const TickedFile& file : photosTicked()) {
            made.push_back(h.exists(file.copy));
            if (made.back()) {
                ++madeCount;
                EXPECT_EQ(h.readBytes(file.copy), file.bytes) << file.copy;
            }
        }

        testsupport::Harness next(h, testsupport::Harness::NextStart);
        const auto record =
            catalogue::readPendingWork(std::string(testsupport::Harness::ProgramFolder));
        if (record) {
            // The finisher's own account, as the start tells it.
            EXPECT_TRUE(copies::mirrorRunRecordUnderstood(
                next.settings, testsupport::Harness::ProgramFolder, *record));
            const bool withResults = !record->field("total").empty();
            const copies::MirrorRunFinish finish =
                copies::completeMirrorRun(testsupport::Harness::ProgramFolder, *record);
            EXPECT_EQ(finish.finished, madeCount > 0);
            EXPECT_EQ(finish.copies, static_cast<int>(madeCount));
            EXPECT_EQ(copies::mirrorRunReport(RunCaption, finish),
                      madeCount > 0 ? finishedReport(madeCount)
                                    : catalogue::pendingWorkReport(RunCaption, false));
            ++(madeCount == 0 ? takenBack : withResults ? finishedWithResults : finishedForward);
            next.ui.answerMsgBox(platform::MsgOK);
        }
        next.start();
        if (madeCount > 0) expectNotTakenBack(next);
        EXPECT_FALSE(next.exists(Pending));
        EXPECT_EQ(tempFiles(next.nativePath("C:\\")), std::vector<std::string>{});
        // Made and recorded are the same copies.
        EXPECT_EQ(next.read(PhotosIndex), photosWith(made));
        EXPECT_EQ(next.readBytes(SizeIni), sizeWith(made));
        EXPECT_EQ(next.read(RedIni), madeCount > 0 ? "Other\r\n[005]Photos\r\n" : "Other\r\n");

        // A second run copies what is not recorded, and counts it once.
        openDiscIn(next, Photos);
        answerRunIn(next, Photos, Target);
        if (next.exists(Target))
            next.ui.answerMsgBox(platform::MsgNo, "已经有此文件夹！需要另选吗?");
        next.form.copytag.userClick();
        EXPECT_EQ(next.read(PhotosIndex), photosCopied());
        EXPECT_EQ(next.readBytes(SizeIni), SizeAfter);
        EXPECT_EQ(next.read(RedIni), "Other\r\n[005]Photos\r\n");
        EXPECT_EQ(next.read("C:\\mirror\\[005]Photos\\docs\\img\\a.jpg"), std::string(800, 'j'));
    }
    // Some cuts left part of the copies, some all of them with the results
    // recorded, some none.
    EXPECT_GT(finishedForward, 2);
    EXPECT_GT(finishedWithResults, 0);
    EXPECT_GT(takenBack, 0);
    testsupport::Harness h;
    writeDiscs(h);
    h.start();
    openDiscIn(h, Photos);
    EXPECT_FALSE(testsupport::runKilledBefore(changes + 1, [&] { run(h); }));
}

// A run killed before each of its changes, then a start whose finishing
// fails at each of its changes with a full disk and with an I/O error, then
// a start with room: the record stays while the work waits, and in the end
// exactly the whole copies the run made are recorded and counted.
TEST(MirrorRunKilled, AStartThatCannotFinishKeepsTheRecordAndTheNextFinishesIt) {
    const int runs = testsupport::killThenFailTheFinishing(
        [](testsupport::Harness& h) {
            writeDiscs(h);
            recordTargetIn(h, Target);
            h.start();
            openDiscIn(h, Photos);
        },
        [](testsupport::Harness& h) {
            answerRunIn(h, Photos, Target);
            h.form.copytag.userClick();
        },
        [](testsupport::Harness& h, const testsupport::FailedFinishing& failing) {
            // A stored file that could not be written is named in the box.
            for (const char* file : {"size.ini", "red.ini", "[005]Photos.wcd"}) {
                if (failing.path.ends_with(std::string("/") + file) && !failing.told.empty()) {
                    EXPECT_NE(failing.told.front().find(file), std::string::npos)
                        << failing.told.front();
                }
            }
            std::vector<bool> made;
            for (const TickedFile& file : photosTicked()) made.push_back(h.exists(file.copy));
            const bool left = h.exists(Pending);
            testsupport::Harness next(h, testsupport::Harness::NextStart);
            if (left) next.ui.answerMsgBox(platform::MsgOK);
            next.start();
            for (const std::string& box : boxesOf(next))
                EXPECT_EQ(box.find("运行时错误"), std::string::npos) << box;
            EXPECT_FALSE(next.exists(Pending));
            EXPECT_EQ(next.read(PhotosIndex), photosWith(made));
            EXPECT_EQ(next.readBytes(SizeIni), sizeWith(made));
        });
    EXPECT_GT(runs, 0);
}

// A file that was in the target before the run, and that the run did not
// replace, is not claimed as the run's copy; one the run replaced is.
TEST(MirrorRunKilled, AFileThatWasInTheTargetBeforeTheRunIsNotClaimed) {
    const auto run = [](testsupport::Harness& h) {
        answerRunIn(h, Photos, Target);
        h.ui.answerMsgBox(platform::MsgNo, "已经有此文件夹！需要另选吗?");
        h.form.copytag.userClick();
    };
    // Killed when the run has copied c.txt (over the old one) and is about
    // to copy docs\a.txt: an old docs\a.txt of the same size is there.
    const auto arrange = [](testsupport::Harness& h) {
        writeDiscs(h);
        h.write(std::string(Target) + "\\c.txt", "old c");
        h.write(std::string(Target) + "\\docs\\a.txt", "old!");
        recordTargetIn(h, Target);
        h.start();
        openDiscIn(h, Photos);
    };
    int changes = 0;
    {
        testsupport::Harness h;
        arrange(h);
        changes = testsupport::countChanges([&] { run(h); });
    }
    bool tried = false;
    for (int step = 1; step <= changes && !tried; ++step) {
        testsupport::Harness h;
        arrange(h);
        ASSERT_TRUE(testsupport::runKilledBefore(step, [&] { run(h); }));
        if (h.readBytes(std::string(Target) + "\\c.txt") != "ccccc") continue;
        if (h.readBytes(std::string(Target) + "\\docs\\a.txt") != "old!") continue;
        SCOPED_TRACE(step);
        tried = true;
        testsupport::Harness next(h, testsupport::Harness::NextStart);
        const auto record =
            catalogue::readPendingWork(std::string(testsupport::Harness::ProgramFolder));
        ASSERT_TRUE(record);
        const copies::MirrorRunFinish finish =
            copies::completeMirrorRun(testsupport::Harness::ProgramFolder, *record);
        EXPECT_EQ(copies::mirrorRunReport(RunCaption, finish), finishedReport(1));
        next.ui.answerMsgBox(platform::MsgOK);
        next.start();
        EXPECT_EQ(next.read(PhotosIndex), photosWith({true, false, false, false}));
        EXPECT_EQ(next.readBytes(SizeIni), sizeWith({true, false, false, false}));
        EXPECT_EQ(next.readBytes(std::string(Target) + "\\docs\\a.txt"), "old!");
    }
    EXPECT_TRUE(tried);
}

// A copy of another size than its line's (a file a power cut left short, or
// another disc's file of that name) is not recorded.
TEST(MirrorRunKilled, ACopyOfAnotherSizeIsNotRecorded) {
    testsupport::Harness h;
    writeDiscs(h);
    recordTargetIn(h, Target);
    h.start();
    openDiscIn(h, Photos);
    // Killed before the results are recorded: every copy is made.
    int step = 0;
    {
        int seen = 0;
        testsupport::Harness probe;
        writeDiscs(probe);
        probe.start();
        openDiscIn(probe, Photos);
        const std::string target = probe.nativePath(Target);
        bool copying = false;
        const platform::files::ScopedCommitHook hook([&](CommitStep, const std::string& path) {
            ++seen;
            if (path.starts_with(target)) copying = true;
            if (copying && step == 0 && path.find("/guangpan/") != std::string::npos) step = seen;
        });
        answerRunIn(probe, Photos, Target);
        probe.form.copytag.userClick();
    }
    ASSERT_GT(step, 1);
    ASSERT_TRUE(testsupport::runKilledBefore(step, [&] {
        answerRunIn(h, Photos, Target);
        h.form.copytag.userClick();
    }));
    ASSERT_TRUE(h.exists(std::string(Target) + "\\docs\\img\\a.jpg"));
    // The image comes out short.
    fs::resize_file(h.nativePath(std::string(Target) + "\\docs\\img\\a.jpg"), 100);

    testsupport::Harness next(h, testsupport::Harness::NextStart);
    next.ui.answerMsgBox(platform::MsgOK);
    next.start();
    EXPECT_EQ(next.read(PhotosIndex), photosWith({true, true, false, true}));
    EXPECT_EQ(next.readBytes(SizeIni), sizeWith({true, true, false, true}));
    EXPECT_FALSE(next.exists(Pending));
}

namespace {

// A record of a run on the Photos disc into the target, as a run writes it.
catalogue::PendingWork photosRecord(std::string target) {
    return copies::mirrorRunRecord(Photos, PhotosIndex, target, copies::mirrorRunStartTime(),
                                   {"", "docs", "docs\\img"});
}

}  // namespace

// A record is trusted no further than the run could have written it: a
// target the settings store does not record as a mirror folder (also one
// reached now through a link put on the way), an index that is not the
// disc's own in guangpan, folders or mirror paths that leave the target,
// missing keys. The start sets such a record aside: the finisher never
// sweeps a folder it names, the user's own files there stay.
TEST(MirrorRunRecord, ARecordIsTrustedNoFurtherThanItsCommand) {
    testsupport::Harness h;
    writeDiscs(h);
    recordTargetIn(h, Target);
    recordTargetIn(h, "C:\\out");
    h.start();
    const std::string_view program = testsupport::Harness::ProgramFolder;
    EXPECT_TRUE(copies::mirrorRunRecordUnderstood(h.settings, program, photosRecord(Target)));
    // A target not made yet, recorded before the run began.
    EXPECT_FALSE(h.exists(Target));
    {
        catalogue::PendingWork hard = copies::mirrorRunRecord(Music, MusicIndex, "C:\\out",
                                                              copies::mirrorRunStartTime(), {""});
        EXPECT_TRUE(copies::mirrorRunRecordUnderstood(h.settings, program, hard));
    }
    {
        catalogue::PendingWork results = photosRecord(Target);
        copies::addMirrorRunResults(results, 1005,
                                    {{"F:\\c.txt", "5", std::string(Target) + "\\c.txt"}});
        EXPECT_TRUE(copies::mirrorRunRecordUnderstood(h.settings, program, results));
    }

    h.write("C:\\keep\\k.txt", "mine");
    h.makeFolder("C:\\mirror");
    fs::create_directory_symlink(h.nativePath("C:\\keep"), h.nativePath("C:\\mirror") + "/link");
    struct Case {
        const char* name;
        std::function<void(catalogue::PendingWork&)> change;
    };
    const auto set = [](catalogue::PendingWork& w, std::string_view key, std::string value) {
        for (auto& [k, v] : w.fields)
            if (k == key) {
                v = value;
                return;
            }
        w.add(std::string(key), std::move(value));
    };
    const auto drop = [](catalogue::PendingWork& w, std::string_view key) {
        std::erase_if(w.fields, [&](const auto& f) { return f.first == key; });
    };
    const std::vector<Case> cases = {
        {"a target no run recorded", [&](auto& w) { set(w, "target", "C:\\keep"); }},
        {"below a recorded target",
         [&](auto& w) { set(w, "target", std::string(Target) + "\\docs"); }},
        {"through a link to another folder",
         [&](auto& w) { set(w, "target", "C:\\mirror\\link"); }},
        {"a target that is no plain path",
         [&](auto& w) { set(w, "target", std::string(Target) + "\\..\\..\\keep"); }},
        {"an index outside guangpan",
         [&](auto& w) { set(w, "index", "C:\\keep\\[005]Photos.wcd"); }},
        {"another disc's index", [&](auto& w) { set(w, "index", MusicIndex); }},
        {"a disc name that leaves guangpan",
         [&](auto& w) {
             set(w, "disc", "..\\x");
             set(w, "index", "C:\\zelbrin\\guangpan\\..\\x.wcd");
         }},
        {"a folder that leaves the target", [&](auto& w) { w.add("folder", "..\\..\\keep"); }},
        {"an absolute folder", [&](auto& w) { w.add("folder", "C:\\keep"); }},
        {"no start time", [&](auto& w) { drop(w, "started"); }},
        {"a start time that is no number", [&](auto& w) { set(w, "started", "soon"); }},
        {"no disc", [&](auto& w) { drop(w, "disc"); }},
        {"no target", [&](auto& w) { drop(w, "target"); }},
        {"another command", [&](auto& w) { w.command = "mirror copies"; }},
        {"a copy outside the target",
         [&](auto& w) {
             copies::addMirrorRunResults(w, 1005, {{"F:\\c.txt", "5", "C:\\keep\\c.txt"}});
         }},
        {"a copy of another file",
         [&](auto& w) {
             copies::addMirrorRunResults(w, 1005,
                                         {{"F:\\c.txt", "5", std::string(Target) + "\\k.txt"}});
         }},
        {"results without their copies",
         [&](auto& w) {
             copies::addMirrorRunResults(w, 1005,
                                         {{"F:\\c.txt", "5", std::string(Target) + "\\c.txt"}});
             drop(w, "size");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        catalogue::PendingWork work = photosRecord(Target);
        c.change(work);
        EXPECT_FALSE(copies::mirrorRunRecordUnderstood(h.settings, program, work));
    }
    // A store that records no folder trusts no record.
    testsupport::Harness other;
    EXPECT_FALSE(copies::mirrorRunRecordUnderstood(other.settings, program, photosRecord(Target)));
}

// The finisher sweeps only the folders of the record beneath its target,
// and only the program's dead temporary files there; a file of the user's
// with a name of that form elsewhere stays.
TEST(MirrorRunRecord, TheFinisherSweepsOnlyTheRecordsFoldersBeneathItsTarget) {
    testsupport::Harness h;
    writeDiscs(h);
    recordTargetIn(h, Target);
    const std::string dead = std::string(Target) + "\\docs\\.zeltmp-a1b2c3d4";
    const std::string outside = "C:\\mirror\\.zeltmp-e5f6g7h8";
    const std::string below = std::string(Target) + "\\docs\\other\\.zeltmp-i9j0k1l2";
    for (const std::string& file : {dead, outside, below}) h.write(file, "x");
    ageTempFiles(h.nativePath("C:\\"));
    h.start();
    catalogue::PendingWork work = copies::mirrorRunRecord(Photos, PhotosIndex, Target,
                                                          copies::mirrorRunStartTime(), {"docs"});
    ASSERT_TRUE(
        copies::mirrorRunRecordUnderstood(h.settings, testsupport::Harness::ProgramFolder, work));
    const copies::MirrorRunFinish finish =
        copies::completeMirrorRun(testsupport::Harness::ProgramFolder, work);
    EXPECT_FALSE(finish.finished);
    EXPECT_EQ(copies::mirrorRunReport(RunCaption, finish),
              catalogue::pendingWorkReport(RunCaption, false));
    EXPECT_FALSE(h.exists(dead));
    EXPECT_TRUE(h.exists(outside));
    EXPECT_TRUE(h.exists(below));
    EXPECT_EQ(h.read(PhotosIndex), lines(PhotosLines));
}

// The run records the folder it copies into as a mirror folder before it
// records itself, so that the record it leaves is one the start trusts; a
// hard-disk folder's run too.
TEST_F(MirrorCopy, TheRunRecordsItsTargetBeforeItself) {
    for (const auto& [disc, target] :
         {std::pair{Photos, std::string(Target)}, std::pair{Music, std::string("C:\\out")}}) {
        SCOPED_TRACE(disc);
        bool checked = false;
        {
            const platform::files::ScopedCommitHook hook([&](CommitStep, const std::string& path) {
                if (checked || path.find("/guangpan/") == std::string::npos) return;
                checked = true;
                EXPECT_TRUE(copies::isRecordedMirrorFolder(h.settings, target));
            });
            openDisc(disc);
            answerRun(disc, target);
            if (disc == Music)
                h.ui.answerMsgBox(
                    platform::MsgYes,
                    "可能文件位置已经发生变动！C:\\music\\pop\\live\\gone.mp3没发现！是否继续？");
            f().copytag.userClick();
        }
        EXPECT_TRUE(checked);
        EXPECT_TRUE(copies::isRecordedMirrorFolder(h.settings, target));
    }
}

// A full disk or an I/O error at each change of a run: one message naming
// the file and the reason (none for the record's removal at the very end),
// never a raw runtime error; every stored file old or new whole, and after
// the next start the index and size.ini agree. A stored file's folder sync
// that fails once is tried again and the run ends whole, silently; failing
// on both tries, it ends whole and the file is named once as not confirmed.
TEST(MirrorRunFailing, AFullDiskOrAnIoErrorAtEachChangeIsToldOnce) {
    int changes = 0;
    {
        testsupport::Harness h;
        writeDiscs(h);
        h.start();
        openDiscIn(h, Photos);
        changes = testsupport::countChanges([&] {
            answerRunIn(h, Photos, Target);
            h.form.copytag.userClick();
        });
    }
    using testsupport::Tries;
    int retriedSyncs = 0, unconfirmedSyncs = 0, toldSyncs = 0;
    for (const int number : {platform::err::DiskFull, platform::err::DeviceIO}) {
        for (int step = 1; step <= changes; ++step) {
            for (const Tries tries : {Tries::Once, Tries::Twice}) {
                SCOPED_TRACE(std::to_string(number) + " at " + std::to_string(step) +
                             (tries == Tries::Twice ? " twice" : ""));
                testsupport::Harness h;
                writeDiscs(h);
                h.start();
                openDiscIn(h, Photos);
                answerRunIn(h, Photos, Target);
                bool told = false;
                bool retried = false, unconfirmed = false;
                bool batchSyncFailed = false;
                CommitStep failedKind = CommitStep::Write;
                {
                    // Silent: the record's removal at the end, and a folder sync
                    // that the files layer tries again: its second failure names
                    // the file the disk did not confirm. The sync of the copies
                    // made in the target, once at the end of the copying, is not
                    // tried again: it is told.
                    const testsupport::FailAtChange fail(
                        step, number, tries, [&](const testsupport::FailAtChange& c) {
                            const bool batch = c.kind == CommitStep::SyncFolder &&
                                               c.written.starts_with(h.nativePath(Target));
                            told = c.kind != CommitStep::Remove &&
                                   (c.kind != CommitStep::SyncFolder || batch);
                            batchSyncFailed = batch;
                            if (told) h.ui.answerMsgBox(platform::MsgOK);
                            if (c.kind == CommitStep::SyncFolder && !batch && tries == Tries::Twice)
                                h.ui.answerMsgBox(platform::MsgOK, c.unconfirmedBox());
                        });
                    h.form.copytag.userClick();
                    ASSERT_TRUE(fail.failed);
                    failedKind = fail.kind;
                    retried = fail.retried;
                    unconfirmed = fail.unconfirmed;
                    if (fail.kind != CommitStep::SyncFolder || told) {
                        EXPECT_FALSE(retried);
                        if (tries == Tries::Twice) continue;  // the same run as once
                        if (fail.kind == CommitStep::SyncFolder) ++toldSyncs;
                    } else {
                        EXPECT_TRUE(retried);
                        EXPECT_EQ(unconfirmed, tries == Tries::Twice);
                        ++(unconfirmed ? unconfirmedSyncs : retriedSyncs);
                    }
                }
                h.ui.verifyAllUsed();
                const std::vector<std::string> boxes = boxesOf(h);
                ASSERT_EQ(boxes.size(), 1u + (told ? 1u : 0u) + (unconfirmed ? 1u : 0u));
                if (told) {
                    // A folder of the target is told as a folder, a file as a file.
                    EXPECT_TRUE(boxes[1].starts_with(failedKind == CommitStep::MakeFolder
                                                         ? "提示: 不能建立文件夹: C:\\"
                                                         : "提示: 不能保存文件: C:\\"))
                        << boxes[1];
                    // The reason ends the first line; a second line says the
                    // record stays for the next start to finish.
                    const std::size_t lineEnd = boxes[1].find("\r\n");
                    const std::string first = boxes[1].substr(0, lineEnd);
                    EXPECT_TRUE(first.ends_with(platform::errorText(platform::err::DiskFull)) ||
                                first.ends_with(platform::errorText(platform::err::DeviceIO)))
                        << boxes[1];
                    if (lineEnd != std::string::npos) {
                        EXPECT_EQ(boxes[1].substr(lineEnd),
                                  "\r\n“把打标记的文件拷贝到硬盘形成映象文件”还没有做完，"
                                  "将在下次启动时完成。");
                        EXPECT_TRUE(h.exists(Pending));
                    }
                }
                for (const auto& shown : h.ui.log())
                    EXPECT_EQ(shown.prompt.find("运行时错误"), std::string::npos) << shown.prompt;
                // A folder sync tried again: the whole run, as without a failure.
                if (retried) {
                    EXPECT_EQ(h.read(PhotosIndex), photosCopied());
                    EXPECT_EQ(h.readBytes(SizeIni), SizeAfter);
                    EXPECT_EQ(h.read(RedIni), "Other\r\n[005]Photos\r\n");
                    EXPECT_FALSE(h.exists(Pending));
                }
                // The files copied before the failure are recorded; the index
                // keeps every other byte.
                const Recorded recorded = recordedIn(h.read(PhotosIndex));
                EXPECT_EQ(recorded.withoutCopies, lines(PhotosLines));
                const bool recordLeft = h.exists(Pending);
                if (!recordLeft) {
                    EXPECT_EQ(h.readBytes(SizeIni), recorded.size);
                }

                ageTempFiles(h.nativePath("C:\\"));
                testsupport::Harness next(h, testsupport::Harness::NextStart);
                if (recordLeft) next.ui.answerMsgBox(platform::MsgOK);
                next.start();
                EXPECT_FALSE(next.exists(Pending));
                EXPECT_EQ(tempFiles(next.nativePath("C:\\")), std::vector<std::string>{});
                EXPECT_EQ(next.readBytes(SizeIni), recordedIn(next.read(PhotosIndex)).size);
                // Every copy the run made is recorded in the end, unless the
                // disk did not confirm the batch of copies (told, none
                // recorded).
                if (!batchSyncFailed) {
                    const std::string index = next.read(PhotosIndex);
                    for (const TickedFile& file : photosTicked()) {
                        if (next.exists(file.copy)) {
                            EXPECT_NE(index.find("{" + file.copy + "}"), std::string::npos)
                                << file.copy;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(retriedSyncs, 0);
    EXPECT_EQ(unconfirmedSyncs, retriedSyncs);
    EXPECT_GT(toldSyncs, 0);
}

// A hard-disk folder's run killed before each change: the next start sweeps
// the target of the cut copies' temporary files, tells how many whole copies
// the run made (each of its file's size now) or takes back a run that made
// none, and ends the record; the index and size.ini are never touched.
TEST(MirrorRunKilled, AHardDiskRunIsCountedAndLeavesNoTemporaryFile) {
    const auto run = [](testsupport::Harness& h) {
        answerRunIn(h, Music, "C:\\out");
        h.ui.answerMsgBox(
            platform::MsgYes,
            "可能文件位置已经发生变动！C:\\music\\pop\\live\\gone.mp3没发现！是否继续？");
        h.form.copytag.userClick();
    };
    int finished = 0, takenBack = 0;
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        testsupport::Harness h;
        writeDiscs(h);
        recordTargetIn(h, "C:\\out");
        h.start();
        openDiscIn(h, Music);
        if (!testsupport::runKilledBefore(step, [&] { run(h); })) break;
        ageTempFiles(h.nativePath("C:\\"));
        std::size_t made = 0;
        for (const auto& [name, bytes] :
             {std::pair{"top.mp3", "top"}, std::pair{"a.mp3", "live-a"}}) {
            if (!h.exists(std::string("C:\\out\\") + name)) continue;
            ++made;
            EXPECT_EQ(h.readBytes(std::string("C:\\out\\") + name), bytes);
        }
        testsupport::Harness next(h, testsupport::Harness::NextStart);
        const auto record =
            catalogue::readPendingWork(std::string(testsupport::Harness::ProgramFolder));
        if (record) {
            EXPECT_TRUE(copies::mirrorRunRecordUnderstood(
                next.settings, testsupport::Harness::ProgramFolder, *record));
            const copies::MirrorRunFinish finish =
                copies::completeMirrorRun(testsupport::Harness::ProgramFolder, *record);
            EXPECT_EQ(
                copies::mirrorRunReport(RunCaption, finish),
                made > 0 ? finishedReport(made) : catalogue::pendingWorkReport(RunCaption, false));
            ++(made > 0 ? finished : takenBack);
            next.ui.answerMsgBox(platform::MsgOK);
        }
        next.start();
        if (made > 0) expectNotTakenBack(next);
        EXPECT_FALSE(next.exists(Pending));
        EXPECT_EQ(tempFiles(next.nativePath("C:\\")), std::vector<std::string>{});
        EXPECT_EQ(next.read(MusicIndex), lines(MusicLines));
        EXPECT_EQ(next.readBytes(SizeIni), SizeBefore);
    }
    EXPECT_GT(finished, 0);
    EXPECT_GT(takenBack, 0);
}

// A hard-disk folder's copy that the full disk refuses is told with its
// file and stops the run, without asking to go on.
TEST_F(MirrorCopy, AHardDiskRunStopsAtAFullDisk) {
    openDisc(Music);
    answerRun(Music, "C:\\out");
    h.ui.answerMsgBox(platform::MsgYes,
                      "可能文件位置已经发生变动！C:\\music\\pop\\live\\gone.mp3没发现！是否继续？");
    h.ui.answerMsgBox(platform::MsgOK, "不能保存文件: C:\\out\\a.mp3" +
                                           platform::errorText(platform::err::DiskFull));
    {
        const platform::files::ScopedCommitHook hook([](CommitStep step, const std::string& path) {
            if (step == CommitStep::CreateTemp && path.find("/out/") != std::string::npos &&
                fs::exists(fs::path(path).parent_path() / "top.mp3"))
                throw platform::Error(platform::err::DiskFull);
        });
        f().copytag.userClick();
    }
    EXPECT_EQ(h.read("C:\\out\\top.mp3"), "top");
    EXPECT_FALSE(h.exists("C:\\out\\a.mp3"));
    EXPECT_EQ(tempFiles(h.nativePath("C:\\out")), std::vector<std::string>{});
    EXPECT_FALSE(h.exists(Pending));
    EXPECT_EQ(f().StatusBar1.panel(2).text(), "1个文件已经拷贝到硬盘！");
}
