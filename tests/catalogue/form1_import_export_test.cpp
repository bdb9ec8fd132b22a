// Import and export of index files, driven as a user drives them: the menu
// items and toolbar keys, the file dialogs and the scan dialog answered by
// script.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/scan_command.h"
#include "catalogue/scan_dialog.h"
#include "catalogue_steps.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/file_ops.h"
#include "platform/files/listing.h"
#include "support/harness.h"

namespace {

namespace fs = std::filesystem;
using testsupport::Harness;
using testsupport::ShownKind;
using namespace catalogue_test;

constexpr std::string_view Source = "C:\\backup\\[003]Games.wcd";
// A disc "老歌" is filed under 音乐; its index file exists.
constexpr std::string_view StartCatalogue = "|音乐\r\n#老歌#1#旧&&2001-1-1#\r\n@外国\r\n|软件\r\n";

// An index file as a Windows installation writes it: code page 936, Windows
// paths, a tick mark and a mirror path, a euro sign (0x80) and a byte that
// starts no character.
const std::string WindowsIndex =
    "E:\\|\xd2\xf4\xc0\xd6@\r\n"                                       // E:\|音乐@
    "E:\\\xd2\xf4\xc0\xd6\\\xb8\xe8.mp3[4096]\r\n"                     // E:\音乐\歌.mp3[4096]
    "E:\\\xd2\xf4\xc0\xd6\\a.mp3[12]($){C:\\My Documents\\a.mp3}\r\n"  // ticked, mirrored
    "E:\\\x80 price\xff.txt[3]\r\n";                                   // € and a stray byte

// What the user does in the scan dialog of the import.
struct ImportAnswers {
    std::string category = "音乐";
    std::string remark = "游戏";
    std::optional<std::string> name;  // typed over the proposed name
    std::function<void()> afterOk;    // runs once the dialog has closed
};

void answerImport(Harness& h, std::string source, ImportAnswers a) {
    h.ui.answerOpen(std::move(source));
    h.ui.onModal<Dialog>([a](Dialog& d) {
        clickCategory(d, a.category);
        d.Text3.userType(a.remark);
        if (a.name) d.Text1.userType(*a.name);
        d.OKButton.userClick();
        if (a.afterOk) a.afterOk();
    });
}

// Everything a refused or failed import must leave as it was: the snapshot
// and the scan dialog's answers.
void expectUnchanged(const Harness& h, const Snapshot& before) {
    expectSameSnapshot(h, before);
    EXPECT_EQ(h.form.DialogFromWhere, "");
    EXPECT_FALSE(h.form.ok);
}

struct ImportExportTest : ::testing::Test {
    Harness h;
    void SetUp() override {
        h.write(Catalogue, StartCatalogue);
        h.writeBytes(indexPath("老歌"), "E:\\old.txt[1]\r\n");
        h.writeBytes(Source, WindowsIndex);
        h.start();
        h.ui.clearLog();
    }
};

// ---- import ----

TEST_F(ImportExportTest, ImportCopiesTheFileFilesTheDiscAndShowsItInBothTrees) {
    const std::vector<std::pair<const char*, std::function<void(Harness&)>>> gestures = {
        {"menu item", [](Harness& h) { h.form.import.userClick(); }},
        {"toolbar key", [](Harness& h) { h.form.Toolbar1.userClick("import"); }},
    };
    for (const auto& [how, gesture] : gestures) {
        SCOPED_TRACE(how);
        Harness h;
        h.write(Catalogue, StartCatalogue);
        h.writeBytes(indexPath("老歌"), "E:\\old.txt[1]\r\n");
        h.writeBytes(Source, WindowsIndex);
        h.start();
        h.ui.clearLog();
        h.ui.answerOpen(std::string(Source));
        h.ui.onModal<Dialog>([&h](Dialog& d) {
            EXPECT_EQ(h.form.DialogFromWhere, "import");
            EXPECT_EQ(h.form.ImportFileName, Source);
            EXPECT_EQ(d.Label4.caption(), "请为你要导入的光盘文件填写备注和选择分类！");
            EXPECT_EQ(d.Text1.text(), "[003]Games");  // the file title, no number tag
            EXPECT_EQ(d.Text2.text(), "2");
            EXPECT_EQ(d.Text5.text(), "2024-5-6");
            clickCategory(d, "音乐");
            d.Text3.userType("游戏");
            d.OKButton.userClick();
        });
        gesture(h);

        EXPECT_EQ(h.form.import.caption(), "导入光盘索引文件");
        ASSERT_EQ(h.ui.log().size(), 2u);
        EXPECT_EQ(h.ui.log()[0].kind, ShownKind::Open);
        EXPECT_EQ(h.ui.log()[0].prompt, "*.wcd");
        EXPECT_EQ(h.ui.log()[1].kind, ShownKind::Modal);
        // Copied byte for byte; the source stays.
        EXPECT_EQ(h.readBytes(indexPath("[003]Games")), WindowsIndex);
        EXPECT_EQ(h.readBytes(Source), WindowsIndex);
        EXPECT_EQ(guangpanEntries(h), (std::vector<std::string>{"[003]Games.wcd", "老歌.wcd"}));
        // The first disc under its category in the file ...
        EXPECT_EQ(h.read(Catalogue),
                  "|音乐\r\n#[003]Games#2#游戏&&2024-5-6#\r\n#老歌#1#旧&&2001-1-1#\r\n@外国\r\n|"
                  "软件\r\n");
        // ... and the last in both trees until they are built again.
        const platform::Node* filed = h.form.TreeView2.find("[003]Games*");
        ASSERT_NE(filed, nullptr);
        EXPECT_EQ(filed->fullPath(), "音乐\\[003]Games");
        EXPECT_EQ(filed->image(), images::Disc);
        EXPECT_EQ(filed->parent()->lastChild(), filed);
        const platform::Node* listed = h.form.TreeView1.find("[003]Games*");
        ASSERT_NE(listed, nullptr);
        EXPECT_EQ(h.form.TreeView1.nodes().back().get(), listed);
        EXPECT_EQ(listed->parent(), nullptr);
        EXPECT_EQ(listed->image(), images::Disc);
        EXPECT_EQ(listed->foreColor(), platform::DefaultColor);
        EXPECT_EQ(h.form.Cdrom_Num, 2);
        EXPECT_FALSE(h.form.ok);
        EXPECT_EQ(h.form.DialogFromWhere, "");
        EXPECT_TRUE(h.ui.messages().empty());
    }
}

// The disc is filed under the category chosen, matched as a whole line.
TEST_F(ImportExportTest, ImportFilesTheLineUnderTheChosenCategoryOnly) {
    struct Case {
        const char* catalogue;
        const char* category;
        const char* filed;
        const char* parentPath;
    };
    const std::vector<Case> cases = {
        {"|音乐会\r\n|音乐\r\n", "音乐", "|音乐会\r\n|音乐\r\n#G#1#r&&2024-5-6#\r\n", "音乐"},
        {"|音乐\r\n@外国歌\r\n@外国\r\n", "音乐\\外国",
         "|音乐\r\n@外国歌\r\n@外国\r\n#G#1#r&&2024-5-6#\r\n", "音乐\\外国"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.category);
        Harness h;
        h.write(Catalogue, c.catalogue);
        h.writeBytes("C:\\backup\\G.wcd", WindowsIndex);
        h.start();
        ImportAnswers answers;
        answers.category = c.category;
        answers.remark = "r";
        answerImport(h, "C:\\backup\\G.wcd", answers);
        h.form.import.userClick();
        EXPECT_EQ(h.read(Catalogue), c.filed);
        const platform::Node* filed = h.form.TreeView2.find("G*");
        ASSERT_NE(filed, nullptr);
        EXPECT_EQ(filed->parent()->fullPath(), c.parentPath);
        EXPECT_EQ(h.readBytes(indexPath("G")), WindowsIndex);
    }
}

TEST_F(ImportExportTest, CancellingTheOpenOrTheScanDialogChangesNothing) {
    const std::vector<std::pair<const char*, std::function<void(Harness&)>>> cases = {
        {"open dialog cancelled", [](Harness& h) { h.ui.answerOpen(std::nullopt); }},
        {"scan dialog cancelled",
         [](Harness& h) {
             h.ui.answerOpen(std::string(Source));
             h.ui.onModal<Dialog>([](Dialog& d) {
                 clickCategory(d, "音乐");
                 d.Text3.userType("游戏");
                 d.CancelButton.userClick();
             });
         }},
        {"scan dialog closed by its close box",
         [](Harness& h) {
             h.ui.answerOpen(std::string(Source));
             h.ui.onModal<Dialog>([](Dialog& d) {
                 clickCategory(d, "音乐");
                 d.Text3.userType("游戏");
             });
         }},
    };
    for (const auto& [name, answer] : cases) {
        SCOPED_TRACE(name);
        const Snapshot before = snapshot(h);
        answer(h);
        h.form.import.userClick();
        expectUnchanged(h, before);
        EXPECT_TRUE(h.ui.messages().empty());
    }
}

// A name that a category or a catalogued disc bears is refused after the
// dialog, also when that disc's index file is missing.
TEST_F(ImportExportTest, ImportRefusesANameTheCatalogueAlreadyHas) {
    h.write(Catalogue, std::string(StartCatalogue) + "#无文件#5#r&&2003-1-1#\r\n@waiguo\r\n");
    for (const char* taken : {"软件", "外国", "无文件", "WAIGUO"}) {
        SCOPED_TRACE(taken);
        const Snapshot before = snapshot(h);
        ImportAnswers answers;
        answers.name = taken;
        answerImport(h, std::string(Source), answers);
        h.ui.answerMsgBox(platform::MsgOK, "这个名字已经存在！");
        h.form.import.userClick();
        expectUnchanged(h, before);
        EXPECT_EQ(h.ui.log().back().title, "提示");
    }
}

// The copy comes first: when it or the catalogue's write fails, nothing is
// filed and no file is left in "guangpan".
TEST(ImportCommand, AFailedImportLeavesEverythingAsItWas) {
    struct Case {
        const char* name;
        // Runs once the scan dialog has accepted OK and closed.
        std::function<void(Harness&)> afterOk;
        std::function<platform::files::CommitHook(Harness&)> inject;
        std::string reason;
    };
    const auto noHook = [](Harness&) { return platform::files::CommitHook(); };
    const std::vector<Case> cases = {
        {"the source vanished", [](Harness& h) { fs::remove(h.nativePath(Source)); }, noHook,
         platform::errorText(platform::err::FileNotFound)},
        {"the copy cannot be written",
         {},
         [](Harness& h) -> platform::files::CommitHook {
             const std::string folder = h.nativePath(Guangpan) + "/";
             return [folder](platform::files::CommitStep step, const std::string& path) {
                 if (step == platform::files::CommitStep::Write && path.rfind(folder, 0) == 0)
                     throw platform::Error(platform::err::DiskFull);
             };
         },
         platform::errorText(platform::err::DiskFull)},
        // The copy stood whole under its name and is taken away again.
        {"the catalogue cannot be written",
         {},
         [](Harness& h) {
             fs::permissions(h.nativePath(Catalogue), fs::perms::owner_read);
             return platform::files::CommitHook();
         },
         platform::errorText(platform::err::PathFileAccess)},
        {"the category is gone when the dialog has closed",
         [](Harness& h) { h.write(Catalogue, "|软件\r\n"); }, noHook,
         catalogue::missingCategoryText("音乐")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.write(Catalogue, StartCatalogue);
        h.writeBytes(indexPath("老歌"), "E:\\old.txt[1]\r\n");
        h.writeBytes(Source, WindowsIndex);
        h.start();
        const platform::files::ScopedCommitHook hook(c.inject(h));
        ImportAnswers answers;
        if (c.afterOk) answers.afterOk = [&] { c.afterOk(h); };
        answerImport(h, std::string(Source), answers);
        h.ui.answerMsgBox(platform::MsgOK, "导入失败：" + c.reason);
        Snapshot expected = snapshot(h);
        if (c.afterOk && std::string_view(c.name).find("category") != std::string_view::npos)
            expected.catalogue = "|软件\r\n";
        h.form.import.userClick();

        std::error_code ec;
        fs::permissions(h.nativePath(Catalogue), fs::perms::owner_all, ec);
        // Nothing is left in "guangpan", no temporary file either.
        expectUnchanged(h, expected);
    }
}

// A copy from a read-only file (as every file on a CD is) can still be
// rewritten by the commands that tick files.
TEST_F(ImportExportTest, TheImportedCopyIsNotReadOnly) {
    fs::permissions(h.nativePath(Source), fs::perms::owner_read | fs::perms::group_read);
    answerImport(h, std::string(Source), {});
    h.form.import.userClick();
    const auto attributes = platform::files::getAttributes(indexPath("[003]Games"));
    ASSERT_TRUE(attributes);
    EXPECT_EQ(*attributes & platform::files::attr::ReadOnly, 0u);
    EXPECT_EQ(h.readBytes(indexPath("[003]Games")), WindowsIndex);
}

// ---- export ----

// What the save dialog was shown with.
struct SaveSettings {
    std::string fileName, title, defaultExt;
};

// Answers the next save dialog with the path and records its settings.
void answerSave(Harness& h, std::optional<std::string> path, SaveSettings* shown = nullptr) {
    h.ui.whileNextOpen([&h, shown] {
        if (shown)
            *shown = {h.form.CommonDialog1.fileName(), h.form.CommonDialog1.dialogTitle(),
                      h.form.CommonDialog1.defaultExt()};
    });
    h.ui.answerSave(std::move(path));
}

TEST_F(ImportExportTest, ImportThenExportGivesTheSameBytes) {
    answerImport(h, std::string(Source), {});
    h.form.import.userClick();
    h.form.OpenedDisk = "[003]Games";  // the disc as the disc page opens it

    SaveSettings shown;
    answerSave(h, "C:\\out\\Games.wcd", &shown);
    h.makeFolder("C:\\out");
    h.form.Toolbar1.userClick("export");

    EXPECT_EQ(shown.fileName, "[003]Games");
    EXPECT_EQ(shown.title, "选择你要导出的目录：");
    EXPECT_EQ(shown.defaultExt, "wcd");
    EXPECT_EQ(h.readBytes("C:\\out\\Games.wcd"), WindowsIndex);
    EXPECT_EQ(h.readBytes(indexPath("[003]Games")), WindowsIndex);
    EXPECT_TRUE(h.ui.messages().empty());

    // The next import's open dialog does not keep the export's title.
    h.ui.clearLog();
    h.ui.answerOpen(std::nullopt);
    h.form.import.userClick();
    ASSERT_EQ(h.ui.log().size(), 1u);
    EXPECT_EQ(h.ui.log()[0].title, "");
    EXPECT_EQ(h.ui.log()[0].prompt, "*.wcd");
}

TEST_F(ImportExportTest, ExportCopiesTheOpenDiscsIndexFile) {
    const std::vector<std::pair<const char*, std::function<void(Harness&)>>> gestures = {
        {"menu item", [](Harness& h) { h.form.Export.userClick(); }},
        {"toolbar key", [](Harness& h) { h.form.Toolbar1.userClick("export"); }},
    };
    for (const auto& [how, gesture] : gestures) {
        SCOPED_TRACE(how);
        h.form.OpenedDisk = "老歌";
        answerSave(h, "C:\\老歌.wcd");
        gesture(h);
        EXPECT_EQ(h.form.Export.caption(), "导出光盘索引文件");
        EXPECT_EQ(h.readBytes("C:\\老歌.wcd"), "E:\\old.txt[1]\r\n");
        EXPECT_EQ(h.ui.log().back().kind, ShownKind::Save);
        EXPECT_TRUE(h.ui.messages().empty());
        // Once the save dialog has asked, an existing file is replaced: the
        // next export meets this one.
        h.writeBytes("C:\\老歌.wcd", "an older export, longer than the index\r\n");
    }
}

TEST_F(ImportExportTest, ExportRefusesWithoutAnOpenDiscOrItsIndexFile) {
    struct Case {
        const char* openedDisk;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"", "请点击光盘标签，然后选择你要导出的光盘！"},
        {"已删除", "找不到这张光盘的索引文件：C:\\zelbrin\\guangpan\\已删除.wcd"},
        {"..\\ini", "导出失败：" + platform::errorText(platform::err::BadFileName)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.openedDisk);
        h.ui.clearLog();
        h.form.OpenedDisk = c.openedDisk;
        h.ui.answerMsgBox(platform::MsgOK, c.message);
        h.form.Export.userClick();
        ASSERT_EQ(h.ui.log().size(), 1u);  // no save dialog
        EXPECT_EQ(h.ui.log()[0].title, "提示");
    }
}

TEST_F(ImportExportTest, ExportNeverHarmsTheIndexFileOrAnUnwritableTarget) {
    h.writeBytes("C:\\locked.wcd", "locked");
    fs::permissions(h.nativePath("C:\\locked.wcd"), fs::perms::owner_read);
    struct Case {
        const char* name;
        std::optional<std::string> target;
        std::optional<std::string> message;
    };
    const std::vector<Case> cases = {
        {"cancelled", std::nullopt, std::nullopt},
        {"the index file itself", indexPath("老歌"),
         "不能把光盘索引文件导出到它自己！请另选一个文件。"},
        {"the index file in other letter case", "C:\\ZELBRIN\\GuangPan\\老歌.WCD",
         "不能把光盘索引文件导出到它自己！请另选一个文件。"},
        {"the index file through \"..\"", "C:\\zelbrin\\x\\..\\guangpan\\老歌.wcd",
         "不能把光盘索引文件导出到它自己！请另选一个文件。"},
        {"a read-only file", "C:\\locked.wcd",
         "导出失败：" + platform::errorText(platform::err::PermissionDenied)},
        {"a missing folder", "C:\\nowhere\\老歌.wcd",
         "导出失败：" + platform::errorText(platform::err::PathNotFound)},
    };
    h.form.OpenedDisk = "老歌";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        answerSave(h, c.target);
        if (c.message) h.ui.answerMsgBox(platform::MsgOK, *c.message);
        h.form.Export.userClick();
        EXPECT_EQ(h.readBytes(indexPath("老歌")), "E:\\old.txt[1]\r\n");
        EXPECT_EQ(h.readBytes("C:\\locked.wcd"), "locked");
        EXPECT_FALSE(h.exists("C:\\nowhere"));
    }
    EXPECT_EQ(guangpanEntries(h), std::vector<std::string>{"老歌.wcd"});
}

}  // namespace
