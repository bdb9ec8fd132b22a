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

// A run killed before each of its changes (the record, the target's
// folders, each copy, the index, size.ini, red.ini): the next start leaves
// the index and size.ini agreeing (old or new together), no temporary file
// of the program anywhere, tells the user once when it found the run's
// record, and a second run then counts every file once.
TEST(MirrorRunKilled, TheNextStartCompletesOrTakesBackAndARerunCountsOnce) {
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
    int finished = 0, takenBack = 0;
    for (int step = 1; step <= changes; ++step) {
        SCOPED_TRACE(step);
        testsupport::Harness h;
        writeDiscs(h);
        h.start();
        openDiscIn(h, Photos);
        ASSERT_TRUE(testsupport::runKilledBefore(step, [&] { run(h); }));
        ageTempFiles(h.nativePath("C:\\"));

        testsupport::Harness next(h, testsupport::Harness::NextStart);
        const auto record =
            catalogue::readPendingWork(std::string(testsupport::Harness::ProgramFolder));
        if (record) {
            const bool done = !record->field("total").empty();
            ++(done ? finished : takenBack);
            next.ui.answerMsgBox(platform::MsgOK, catalogue::pendingWorkReport(RunCaption, done));
        }
        next.start();
        EXPECT_FALSE(next.exists(Pending));
        EXPECT_EQ(tempFiles(next.nativePath("C:\\")), std::vector<std::string>{});
        const std::string index = next.read(PhotosIndex);
        if (index == photosCopied()) {
            EXPECT_EQ(next.readBytes(SizeIni), SizeAfter);
            EXPECT_EQ(next.read(RedIni), "Other\r\n[005]Photos\r\n");
        } else {
            EXPECT_EQ(index, lines(PhotosLines));
            EXPECT_EQ(next.readBytes(SizeIni), SizeBefore);
            EXPECT_EQ(next.read(RedIni), "Other\r\n");
        }

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
    EXPECT_GT(finished, 0);
    EXPECT_GT(takenBack, 0);
    testsupport::Harness h;
    writeDiscs(h);
    h.start();
    openDiscIn(h, Photos);
    EXPECT_FALSE(testsupport::runKilledBefore(changes + 1, [&] { run(h); }));
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
                    EXPECT_TRUE(boxes[1].ends_with(platform::errorText(platform::err::DiskFull)) ||
                                boxes[1].ends_with(platform::errorText(platform::err::DeviceIO)))
                        << boxes[1];
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
            }
        }
    }
    EXPECT_GT(retriedSyncs, 0);
    EXPECT_EQ(unconfirmedSyncs, retriedSyncs);
    EXPECT_GT(toldSyncs, 0);
}

// A hard-disk folder's run killed before each change: the next start sweeps
// the target of the cut copies' temporary files and ends the record; the
// index and size.ini are never touched.
TEST(MirrorRunKilled, AHardDiskRunLeavesNoTemporaryFile) {
    const auto run = [](testsupport::Harness& h) {
        answerRunIn(h, Music, "C:\\out");
        h.ui.answerMsgBox(
            platform::MsgYes,
            "可能文件位置已经发生变动！C:\\music\\pop\\live\\gone.mp3没发现！是否继续？");
        h.form.copytag.userClick();
    };
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        testsupport::Harness h;
        writeDiscs(h);
        h.start();
        openDiscIn(h, Music);
        if (!testsupport::runKilledBefore(step, [&] { run(h); })) break;
        ageTempFiles(h.nativePath("C:\\"));
        testsupport::Harness next(h, testsupport::Harness::NextStart);
        if (next.exists(Pending))
            next.ui.answerMsgBox(platform::MsgOK, catalogue::pendingWorkReport(RunCaption, false));
        next.start();
        EXPECT_FALSE(next.exists(Pending));
        EXPECT_EQ(tempFiles(next.nativePath("C:\\")), std::vector<std::string>{});
        EXPECT_EQ(next.read(MusicIndex), lines(MusicLines));
        EXPECT_EQ(next.readBytes(SizeIni), SizeBefore);
    }
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
