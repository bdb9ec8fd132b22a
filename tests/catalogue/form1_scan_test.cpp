// The scan command, driven as a user drives it: the toolbar key "maker" or
// the menu item, the scan dialog and the folder chooser answered by script.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/scan_command.h"
#include "catalogue/scan_dialog.h"
#include "catalogue_steps.h"
#include "copies/sendto_dialog.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "support/harness.h"
#include "support/outside_snapshot.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Harness;
using namespace catalogue_test;

constexpr std::string_view TwoCategories = "|音乐\r\n@外国\r\n|软件\r\n";

// What the user does in the scan dialog.
struct ScanAnswers {
    std::string category = "音乐";
    std::string remark = "演唱会";
    std::optional<std::string> folder;  // picked with "选择硬盘目录"
    std::string pattern;                // typed into the pattern box
    std::function<void()> afterOk;      // runs once the dialog has closed
};

void answerScan(Harness& h, ScanAnswers a) {
    if (a.folder) {
        h.ui.onModal<sendto>([folder = *a.folder](sendto& s) {
            s.Dir1.userOpen(folder);
            s.OKButton.userClick();
        });
    }
    h.ui.onModal<Dialog>([a](Dialog& d) {
        if (a.folder) d.Command1.userClick();
        if (!a.pattern.empty()) d.Combo1.userType(a.pattern);
        clickCategory(d, a.category);
        d.Text3.userType(a.remark);
        d.OKButton.userClick();
        if (a.afterOk) a.afterOk();
    });
}

ScanAnswers folderScan(std::string folder) {
    ScanAnswers answers;
    answers.folder = std::move(folder);
    return answers;
}

// Starts the program with the two categories and a disc "DATA" in the drive
// holding b.bin (3 bytes) and docs\歌.txt (5 bytes).
void startWithDisc(Harness& h) {
    h.write(Catalogue, TwoCategories);
    h.setCdLabel("DATA");
    h.writeBytes("E:\\b.bin", "abc");
    h.writeBytes("E:\\docs\\歌.txt", "12345");
    h.start();
    h.ui.clearLog();
}

// Everything a failed or refused scan must leave as it was: the snapshot and
// the mouse pointer.
void expectUnchanged(const Harness& h, const Snapshot& before) {
    expectSameSnapshot(h, before);
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

struct ScanFixture : ::testing::Test {
    Harness h;
    void SetUp() override { startWithDisc(h); }
};

TEST_F(ScanFixture, ACdWithALabelIsFiledIndexedAndShownInBothTrees) {
    answerScan(h, {});
    h.form.maker.userClick();  // the menu item 扫描光盘生成索引文件

    EXPECT_EQ(h.form.maker.caption(), "扫描光盘生成索引文件");
    // Folder lines of a folder first, then its files, then each subfolder.
    EXPECT_EQ(h.readBytes(indexPath("[001]DATA")),
              "E:\\|docs\r\nE:\\b.bin[3]\r\nE:\\docs\\\xb8\xe8.txt[5]\r\n");
    EXPECT_EQ(h.read(Catalogue), "|音乐\r\n#[001]DATA#1#演唱会&&2024-5-6#\r\n@外国\r\n|软件\r\n");
    EXPECT_EQ(h.form.Txt1, "|音乐");
    EXPECT_EQ(nodePaths(h.form.TreeView1), std::vector<std::string>{"[001]DATA"});
    const platform::Node* filed = h.form.TreeView2.find("[001]DATA*");
    ASSERT_NE(filed, nullptr);
    EXPECT_EQ(filed->fullPath(), "音乐\\[001]DATA");
    EXPECT_EQ(filed->image(), images::Disc);
    EXPECT_EQ(filed->parent()->lastChild(), filed);  // last under its category until a reload
    EXPECT_EQ(h.form.StatusBar1.panel(1).text(), "2个文件在2个文件夹里");
    EXPECT_EQ(h.form.StatusBar1.panel(2).text(), "在E:\\下所有文件的大小 = 8 字节");
    EXPECT_EQ(h.form.caption(), "Zelbrin");
    EXPECT_EQ(h.form.Cdrom_Num, 1);
    EXPECT_EQ(h.form.SearchPath, "E:\\");
    EXPECT_FALSE(h.form.ok);
    EXPECT_EQ(h.ui.pointers(),
              (std::vector<int>{platform::PointerHourglass, platform::PointerDefault}));
    EXPECT_TRUE(h.ui.messages().empty());
    EXPECT_EQ(guangpanEntries(h), std::vector<std::string>{"[001]DATA.wcd"});
}

TEST_F(ScanFixture, AHardDiskFolderGetsTheSuffixAndItsSubCategory) {
    h.setCdReady(false);
    h.writeBytes("C:\\music\\pop\\a.mp3", "1234567");
    h.ui.answerMsgBox(platform::MsgOK, "你的光驱里没有光盘,而且你也没有选择硬盘目录!");
    h.ui.onModal<sendto>([](sendto& s) {
        s.Dir1.userOpen("C:\\music\\pop");
        s.OKButton.userClick();
    });
    h.ui.onModal<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.Text1.text(), "你的光驱中没有光盘");
        clickCategory(d, "音乐\\外国");
        d.OKButton.userClick();  // no disc and no folder: refused, the dialog stays
        d.Command1.userClick();
        d.OKButton.userClick();
    });
    h.form.Toolbar1.userClick("maker");

    EXPECT_EQ(h.form.cdRom, "你的光驱中没有光盘");
    EXPECT_EQ(h.readBytes(indexPath("pop_hard")), "C:\\music\\pop\\a.mp3[7]\r\n");
    EXPECT_EQ(h.read(Catalogue), "|音乐\r\n@外国\r\n#pop_hard#1#外国&&2024-5-6#\r\n|软件\r\n");
    EXPECT_EQ(h.form.Txt1, "@外国");
    EXPECT_EQ(h.form.TreeView2.find("pop_hard*")->fullPath(), "音乐\\外国\\pop_hard");
    EXPECT_NE(h.form.TreeView1.find("pop_hard*"), nullptr);
    EXPECT_EQ(h.form.StatusBar1.panel(1).text(), "1个文件在1个文件夹里");
    EXPECT_EQ(h.form.StatusBar1.panel(2).text(), "在C:\\music\\pop\\下所有文件的大小 = 7 字节");
}

TEST_F(ScanFixture, AFolderOnTheCdDriveGetsTheTagAndTheSuffix) {
    answerScan(h, folderScan("E:\\docs"));
    h.form.Toolbar1.userClick("maker");
    EXPECT_EQ(h.readBytes(indexPath("[001]docs_hard")), "E:\\docs\\\xb8\xe8.txt[5]\r\n");
    EXPECT_NE(h.form.TreeView1.find("[001]docs_hard*"), nullptr);
}

TEST_F(ScanFixture, APatternListsOnlyTheFilesItMatches) {
    ScanAnswers answers;
    answers.pattern = "*.TXT";
    answerScan(h, answers);
    h.form.Toolbar1.userClick("maker");
    EXPECT_EQ(h.form.FindStr, "*.TXT");
    EXPECT_EQ(h.readBytes(indexPath("[001]DATA")), "E:\\|docs\r\nE:\\docs\\\xb8\xe8.txt[5]\r\n");
    EXPECT_EQ(h.form.StatusBar1.panel(1).text(), "1个文件在2个文件夹里");
}

TEST_F(ScanFixture, CancellingAtAnyStepChangesNothing) {
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"Cancel", [&] { h.ui.onModal<Dialog>([](Dialog& d) { d.CancelButton.userClick(); }); }},
        {"close box", [&] { h.ui.onModal<Dialog>([](Dialog& d) { clickCategory(d, "音乐"); }); }},
        {"folder chooser cancelled, then Cancel",
         [&] {
             h.ui.onModal<sendto>([](sendto& s) { s.CancelButton.userClick(); });
             h.ui.onModal<Dialog>([](Dialog& d) {
                 d.Command1.userClick();
                 d.CancelButton.userClick();
             });
         }},
    };
    for (const auto& [name, script] : cases) {
        SCOPED_TRACE(name);
        const Snapshot before = snapshot(h);
        script();
        h.form.Toolbar1.userClick("maker");
        expectUnchanged(h, before);
        EXPECT_TRUE(h.ui.pointers().empty());
        EXPECT_TRUE(h.ui.messages().empty());
    }
}

// A typed name that cannot be a file name keeps the dialog open; once it is
// corrected the disc is filed under the corrected name only.
TEST_F(ScanFixture, ANameAFileCannotHoldIsRefusedUntilCorrected) {
    const std::string badName =
        "光盘名不能为空，不能是“.”或“..”，前后不能有空格，也不能含有\\ / : * ? \" < > |等字符！";
    h.ui.onModal<Dialog>([this, badName](Dialog& d) {
        clickCategory(d, "音乐");
        for (const char* typed : {"..\\..\\x", "a/b", "c:x"}) {
            d.Text1.userType(typed);
            h.ui.answerMsgBox(platform::MsgOK, badName);
            d.OKButton.userClick();
            EXPECT_TRUE(d.loaded()) << typed;
        }
        d.Text1.userType("ok");
        d.OKButton.userClick();
    });
    h.form.maker.userClick();
    EXPECT_EQ(guangpanEntries(h), std::vector<std::string>{"[001]ok.wcd"});
    EXPECT_EQ(h.read(Catalogue), "|音乐\r\n#[001]ok#1#音乐&&2024-5-6#\r\n@外国\r\n|软件\r\n");
    EXPECT_EQ(nodePaths(h.form.TreeView1), std::vector<std::string>{"[001]ok"});
}

// The dialog finds no index file "pop.wcd"; the command then refuses the
// "_hard" name, in any letter case, when the catalogue has it as a disc or a
// category, or when an index file of that name exists without a line.
TEST_F(ScanFixture, ATakenNameIsRefusedAndNothingIsOverwritten) {
    struct Case {
        std::string catalogueTail;
        std::string orphanIndex;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"#POP_hard#3#x&&#\r\n", "", "这个名字已经存在！"},
        {"@pop_HARD\r\n", "", "这个名字已经存在！"},
        {"", "Pop_hard", "光盘名已经存在！请另起一个名字！"},
    };
    h.writeBytes("C:\\pop\\a.txt", "1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message + c.catalogueTail);
        h.write(Catalogue, std::string(TwoCategories) + c.catalogueTail);
        if (!c.orphanIndex.empty()) h.writeBytes(indexPath(c.orphanIndex), "old index\r\n");
        const Snapshot before = snapshot(h);
        answerScan(h, folderScan("C:\\pop"));
        h.ui.answerMsgBox(platform::MsgOK, c.message);
        h.form.Toolbar1.userClick("maker");
        expectUnchanged(h, before);
        EXPECT_EQ(h.ui.log().back().title, "提示");
        if (!c.orphanIndex.empty()) {
            EXPECT_EQ(h.readBytes(indexPath(c.orphanIndex)), "old index\r\n");
        }
    }
}

// Makes the first commit step of a temporary file in "guangpan" that matches
// fail with the error number.
platform::files::CommitHook failInGuangpan(const Harness& h, platform::files::CommitStep failing,
                                           int number) {
    const std::string folder = h.nativePath(Guangpan) + "/";
    return [folder, failing, number](platform::files::CommitStep step, const std::string& path) {
        if (step == failing && path.rfind(folder, 0) == 0) throw platform::Error(number);
    };
}

// A failure anywhere between the dialog and the filing leaves everything as
// it was, restores the caption and the pointer, and says why.
TEST(ScanCommand, AFailedScanFilesNothingAndSaysWhy) {
    using platform::files::CommitStep;
    struct Case {
        const char* name;
        std::function<platform::files::CommitHook(Harness&)> inject;
        std::string reason;
        std::function<void(Harness&)> afterOk;
    };
    const std::vector<Case> cases = {
        // The disk fills up in the middle of the walk (the index text
        // outgrows the write buffer).
        {"disk full during the walk",
         [](Harness& h) {
             for (int i = 0; i < 700; ++i)
                 h.writeBytes("E:\\many\\" + std::string(90, 'x') + std::to_string(i) + ".txt",
                              "1");
             return failInGuangpan(h, CommitStep::Write, platform::err::DiskFull);
         },
         platform::errorText(platform::err::DiskFull),
         {}},
        {"the temporary file cannot be created",
         [](Harness& h) {
             return failInGuangpan(h, CommitStep::CreateTemp, platform::err::PathFileAccess);
         },
         platform::errorText(platform::err::PathFileAccess),
         {}},
        {"the index file cannot be synced to disk",
         [](Harness& h) {
             return failInGuangpan(h, CommitStep::SyncData, platform::err::DeviceIO);
         },
         platform::errorText(platform::err::DeviceIO),
         {}},
        // The index file stood whole under its name and is taken away again.
        {"the catalogue cannot be written",
         [](Harness& h) {
             fs::permissions(h.nativePath(Catalogue), fs::perms::owner_read);
             return platform::files::CommitHook();
         },
         platform::errorText(platform::err::PathFileAccess),
         {}},
        {"the category is gone when the dialog has closed",
         [](Harness&) { return platform::files::CommitHook(); },
         catalogue::missingCategoryText("音乐"),
         [](Harness& h) { h.write(Catalogue, "|软件\r\n"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        startWithDisc(h);
        const platform::files::ScopedCommitHook hook(c.inject(h));
        const std::string captionBefore = h.form.caption();
        ScanAnswers answers;
        if (c.afterOk) answers.afterOk = [&] { c.afterOk(h); };
        answerScan(h, answers);
        h.ui.answerMsgBox(platform::MsgOK, catalogue::scanFailedText(c.reason));
        Snapshot expected = snapshot(h);
        if (c.afterOk) expected.catalogue = "|软件\r\n";
        h.form.Toolbar1.userClick("maker");

        std::error_code ec;
        fs::permissions(h.nativePath(Catalogue), fs::perms::owner_all, ec);
        // Nothing is left in "guangpan", no temporary file either.
        expectUnchanged(h, expected);
        EXPECT_EQ(h.form.caption(), captionBefore);
    }
}

// The command builds its line through the catalogue module, which refuses
// fields that would not read back: remark and date handed over in a form
// the dialog never gives are not filed, whoever set them.
TEST(ScanCommand, FieldsThatWouldNotReadBackAreNeverFiled) {
    const std::vector<std::pair<std::string, catalogue::DiscLineFault>> cases = {
        {"live\r\n|evil&&2024-5-6", catalogue::DiscLineFault::LineBreak},
        {"r&&&2024-5-6", catalogue::DiscLineFault::AmpersandAtEdge},  // the remark was "r&"
        {"r&&2024&&5", catalogue::DiscLineFault::DoubleAmpersand},
        {"r#&&2024-5-6", catalogue::DiscLineFault::Hash},
    };
    for (const auto& [tip, fault] : cases) {
        SCOPED_TRACE(tip);
        Harness h;
        startWithDisc(h);
        ScanAnswers answers;
        answers.afterOk = [&h, tip = tip] { h.form.txtTip = tip; };
        answerScan(h, answers);
        h.ui.answerMsgBox(platform::MsgOK,
                          catalogue::scanFailedText(catalogue::discLineFaultText(fault)));
        const Snapshot before = snapshot(h);
        h.form.Toolbar1.userClick("maker");
        expectUnchanged(h, before);
    }
}

// An index file that appears under the disc's name while the walk runs is
// never replaced: the scan fails with 58 and files nothing.
TEST_F(ScanFixture, AnIndexFileMadeDuringTheWalkIsKept) {
    const std::string other = h.nativePath(indexPath("[001]DATA"));
    const platform::files::ScopedCommitHook hook(
        [&](platform::files::CommitStep step, const std::string&) {
            if (step == platform::files::CommitStep::SyncData && !fs::exists(other))
                std::ofstream(other) << "other";
        });
    answerScan(h, {});
    h.ui.answerMsgBox(platform::MsgOK,
                      catalogue::scanFailedText(platform::errorText(platform::err::FileExists)));
    Snapshot expected = snapshot(h);
    expected.indexFiles.push_back("[001]DATA.wcd");
    h.form.Toolbar1.userClick("maker");
    expectUnchanged(h, expected);
    EXPECT_EQ(h.readBytes(indexPath("[001]DATA")), "other");
}

// The index file is on disk for good (data synced, renamed, folder synced)
// before the catalogue names the disc.
TEST_F(ScanFixture, TheIndexFileIsDurableBeforeTheCatalogueNamesIt) {
    using platform::files::CommitStep;
    std::vector<std::pair<CommitStep, std::string>> steps;
    const platform::files::ScopedCommitHook hook(
        [&](CommitStep step, const std::string& path) { steps.emplace_back(step, path); });
    answerScan(h, {});
    h.form.Toolbar1.userClick("maker");
    ASSERT_NE(h.form.TreeView1.find("[001]DATA*"), nullptr);

    const std::string guangpan = h.nativePath(Guangpan);
    const auto at = [&](CommitStep step, const std::function<bool(const std::string&)>& matches) {
        const auto it = std::find_if(steps.begin(), steps.end(), [&](const auto& s) {
            return s.first == step && matches(s.second);
        });
        EXPECT_NE(it, steps.end()) << static_cast<int>(step);
        return it - steps.begin();
    };
    const auto indexSynced = at(CommitStep::SyncData, [&](const std::string& p) {
        return p.rfind(guangpan + "/.zeltmp-", 0) == 0;
    });
    const auto indexNamed = at(CommitStep::Rename, [&](const std::string& p) {
        return p == h.nativePath(indexPath("[001]DATA"));
    });
    const auto folderSynced =
        at(CommitStep::SyncFolder, [&](const std::string& p) { return p == guangpan; });
    const auto catalogueNamed =
        at(CommitStep::Rename, [&](const std::string& p) { return p == h.nativePath(Catalogue); });
    EXPECT_LT(indexSynced, indexNamed);
    EXPECT_LT(indexNamed, folderSynced);
    EXPECT_LT(folderSynced, catalogueNamed);
}

// Temporary files of a run that was cut short are removed at the next start,
// those of the old names too, in every folder the program writes into (the
// pages' folder and each disc's folder in it; deeper ones when pages are
// next written there); files of a run still going are not.
TEST(ScanCommand, TemporaryFilesOfAnEarlierRunAreSweptAtStart) {
    Harness h;
    h.write(Catalogue, TwoCategories);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const std::vector<std::string> stale = {"C:\\zelbrin\\.zeltmp-a1b2c3d4",
                                            "C:\\zelbrin\\guangpan\\.zeltmp-x",
                                            "C:\\zelbrin\\guangpan\\.scan.tmp",
                                            "C:\\zelbrin\\software\\.zeltmp-software",
                                            "C:\\zelbrin\\webmodel\\modeltext\\.zeltmp-template",
                                            "C:\\zelbrin\\webhtml\\.zeltmp-sitemap",
                                            "C:\\zelbrin\\webhtml\\[001]DATA\\.zeltmp-page"};
    for (const std::string& p : stale) {
        h.writeBytes(p, "half");
        fs::last_write_time(h.nativePath(p), old);
    }
    h.writeBytes("C:\\zelbrin\\guangpan\\.zeltmp-fresh", "running");
    h.writeBytes("C:\\zelbrin\\guangpan\\a.wcd", "E:\\a[1]\r\n");
    fs::last_write_time(h.nativePath("C:\\zelbrin\\guangpan\\a.wcd"), old);
    const std::string deep = "C:\\zelbrin\\webhtml\\[001]DATA\\docs\\old\\.zeltmp-page";
    h.writeBytes(deep, "half");
    fs::last_write_time(h.nativePath(deep), old);
    h.start();
    for (const std::string& p : stale) EXPECT_FALSE(fs::exists(h.nativePath(p))) << p;
    EXPECT_TRUE(fs::exists(h.nativePath(deep)));
    EXPECT_EQ(guangpanEntries(h), (std::vector<std::string>{".zeltmp-fresh", "a.wcd"}));
}

TEST_F(ScanFixture, EntriesWithNamesThatCannotBeStoredAreCountedAfterTheScan) {
    fs::create_directories(fs::path(h.cdFolder()) / "a|b");
    std::ofstream(fs::path(h.cdFolder()) / "c:d.txt") << "x";
    answerScan(h, {});
    h.ui.answerMsgBox(platform::MsgOK,
                      "有2个文件或文件夹没有写进索引"
                      "（名字不能保存、无法打开或链接到扫描的文件夹以外），已跳过！");
    h.form.Toolbar1.userClick("maker");
    // The disc is filed all the same, without them.
    EXPECT_EQ(h.readBytes(indexPath("[001]DATA")),
              "E:\\|docs\r\nE:\\b.bin[3]\r\nE:\\docs\\\xb8\xe8.txt[5]\r\n");
    EXPECT_NE(h.form.TreeView1.find("[001]DATA*"), nullptr);
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

// The new index file's name a link out of "guangpan": to a file (the name
// is taken, the scan takes the next number), to a folder (the dialog refuses
// the name) or to nothing yet (the write is refused and told); nothing
// outside changes.
TEST(ScanConfined, TheIndexFileIsNeverWrittenThroughALinkOut) {
    struct Case {
        const char* outside;
        const char* told;  // "" for none
        std::size_t indexFiles;
    };
    const Case cases[] = {
        {"C:\\outside\\locked.txt", "", 2},
        {"C:\\outside\\folder", "光盘名已经存在！请另起一个名字！", 1},
        {"C:\\outside\\made.wcd",
         "扫描失败：路径不在允许的文件夹里：C:\\zelbrin\\guangpan\\[001]DATA.wcd", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.outside);
        Harness h;
        h.write("C:\\outside\\locked.txt", "keep");
        h.makeFolder("C:\\outside\\folder");
        h.makeFolder("C:\\zelbrin\\guangpan");
        fs::create_symlink(h.nativePath(c.outside), h.nativePath(indexPath("[001]DATA")));
        const auto before = testsupport::outsideSnapshot(h.nativePath("C:\\outside"));
        startWithDisc(h);
        h.ui.onModal<Dialog>([&h, &c](Dialog& d) {
            clickCategory(d, "音乐");
            d.Text3.userType("r");
            if (*c.told) h.ui.answerMsgBox(platform::MsgOK, c.told);
            d.OKButton.userClick();
            if (d.loaded()) d.CancelButton.userClick();
        });
        h.form.maker.userClick();
        h.ui.verifyAllUsed();
        EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath("C:\\outside")), before);
        EXPECT_FALSE(h.exists("C:\\outside\\made.wcd"));
        EXPECT_EQ(guangpanEntries(h).size(), c.indexFiles);
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(h.nativePath(indexPath("[001]DATA")))));
    }
}

}  // namespace
