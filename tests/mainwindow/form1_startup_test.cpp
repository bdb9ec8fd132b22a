// Start-up and shutdown of the main window on the test machine: a fresh and
// an existing program folder, the CD drive file and its first-run dialogue,
// the log-in, and closing the window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "copies/sendto_dialog.h"
#include "mainwindow/password_dialog.h"
#include "mainwindow/startup.h"
#include "platform/files/drive_table.h"
#include "platform/files/program_folder.h"
#include "platform/system/registry.h"
#include "platform/system/settings_store.h"
#include "platform/text/text.h"
#include "platform/ui/dispatcher.h"
#include "support/harness.h"
#include "support/unreadable_file.h"

namespace {

using testsupport::Harness;

constexpr const char* Pf = "C:\\zelbrin";
constexpr const char* DiskIni = "C:\\zelbrin\\disk.ini";
constexpr const char* FirstRunHead = "程序检测到你的光驱的盘符是";
constexpr const char* FirstRunTail =
    "，如果正确请按OK，不正确请按Cancel！如果以后发生改变，请删除disk.ini文件！";
constexpr const char* NotCdRom = "你输入的盘符不是光驱，请重新输入！";

std::string firstRunPrompt(const std::string& root) { return FirstRunHead + root + FirstRunTail; }

void setSetting(Harness& h, const char* name, const char* value) {
    Module1& m = h.form.module1();
    m.CreateRegKey(SettingsKey);
    m.SetRegValue(SettingsKey, name, value);
}

std::vector<std::string> nodeTexts(const platform::TreeView& tree) {
    std::vector<std::string> out;
    for (const auto& n : tree.nodes()) out.push_back(n->text());
    return out;
}

// ---- a fresh program folder ----

TEST(Startup, FreshProgramFolderStartsCleanly) {
    Harness h;
    // The program's resources are put in place before start-up, as the
    // program does (from the source tree here: ctest names it; run directly,
    // the tree is found from this file's own path).
    const char* source = std::getenv("ZELBRIN_SOURCE_DIR");
    const std::filesystem::path tree =
        source ? std::filesystem::path(source)
               : std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
    ASSERT_TRUE(std::filesystem::exists(tree / "webmodel" / "readme.htm"));
    platform::files::installResources((tree / "webmodel").string(), h.nativePath(Pf));
    h.ui.answerMsgBox(platform::MsgOK, firstRunPrompt("E:\\"));
    h.start(true);
    Form1& f = h.form;

    ASSERT_TRUE(f.visible());
    for (const char* folder : {"C:\\zelbrin\\guangpan", "C:\\zelbrin\\software"})
        EXPECT_TRUE(h.exists(folder)) << folder;
    EXPECT_EQ(h.readBytes("C:\\zelbrin\\ini.ini"), "");
    EXPECT_EQ(h.readBytes(DiskIni), "E:\\\r\n");
    // The readme page is shown (then hidden) in the browser.
    const std::string readme = h.read("C:\\zelbrin\\readme.htm");
    EXPECT_NE(readme.find("charset=gb2312"), std::string::npos);
    EXPECT_NE(readme.find("Zelbrin"), std::string::npos);
    EXPECT_EQ(f.WebBrowser1.locationPath(), "C:\\zelbrin\\readme.htm");
    EXPECT_FALSE(f.previewPaneOpen());

    EXPECT_EQ(f.CdDrive, "E:\\");
    EXPECT_TRUE(f.CdDriveKnown);
    EXPECT_EQ(f.Cdrom_Num, 0);
    EXPECT_EQ(f.TreeView1.count() + f.TreeView2.count() + f.TreeView3.count() + f.TreeView4.count(),
              0);
    EXPECT_EQ(f.CopyAllSize.caption(), "已经拷贝到硬盘上的文件大小是0K");
    EXPECT_EQ(f.SendToCustom.caption(), "你的文件夹");
    EXPECT_EQ(f.CopyFileColor, platform::qbColor(12));
    EXPECT_EQ(f.MediaListIndex, 1);
    EXPECT_EQ(f.b_interval, 1.0);
    EXPECT_TRUE(f.PendingTickPaths.empty());

    // The page 分类 shows first.
    EXPECT_TRUE(f.TreeView2.visible());
    for (const platform::TreeView* t : {&f.TreeView1, &f.TreeView3, &f.TreeView4})
        EXPECT_FALSE(t->visible());
    EXPECT_EQ(f.TreeView1.style(), 7);
    EXPECT_EQ(f.TreeView2.style(), 7);
    EXPECT_EQ(f.TreeView1.labelEdit(), 1);
    EXPECT_TRUE(f.ListView1.gridLines());
    EXPECT_EQ(f.File1.path(), "C:\\");
    EXPECT_EQ(f.File1.pattern(), "*.*");
}

TEST(Startup, ExistingCatalogueFileIsLeftAsItIs) {
    Harness h;
    h.write("C:\\zelbrin\\ini.ini", "|软件\r\n");
    h.start();
    EXPECT_EQ(h.read("C:\\zelbrin\\ini.ini"), "|软件\r\n");
    EXPECT_EQ(h.ui.log().size(), 0u);
}

// ---- an existing program folder ----

TEST(Startup, ExistingProgramFolderFillsTheTrees) {
    Harness h;
    for (const char* disc : {"[001]Tools", "[002]Music", "Work_hard"})
        h.write(std::string(Pf) + "\\guangpan\\" + disc + ".wcd", "E:\\|docs\r\n");
    h.write("C:\\zelbrin\\guangpan\\notes.txt", "not a disc\r\n");
    h.write("C:\\zelbrin\\ini.ini", "|软件\r\n#[001]Tools\r\n|音乐\r\n#[002]Music\r\n");
    h.write("C:\\zelbrin\\software\\a.txt", "x");
    h.write("C:\\zelbrin\\software\\Tools.TXT", "x");
    h.write(
        "C:\\zelbrin\\favorite.ini",
        "|文件图标:1;|文件名:img;|光盘名字:[001]Tools;|文件路径:E:\\docs\\img;|文件备注:空\r\n"
        "|文件图标:24;|文件名:a;|光盘名字:[001]Tools;|文件路径:E:\\docs\\a.txt;|文件备注:说明\r\n");
    h.write("C:\\zelbrin\\size.ini", " 1536");
    h.settings.save("Zelbrin", "Expiry", "yourfolder", " D:\\work");
    setSetting(h, "Color", "9");
    h.start();
    Form1& f = h.form;

    EXPECT_EQ(f.Cdrom_Num, 3);
    EXPECT_EQ(f.TreeView1.count(), 3);
    EXPECT_EQ(nodeTexts(f.TreeView2),
              (std::vector<std::string>{"软件", "[001]Tools", "音乐", "[002]Music"}));
    EXPECT_EQ(nodeTexts(f.TreeView3), (std::vector<std::string>{"a", "Tools"}));
    EXPECT_EQ(f.TreeView3.item("Tools").image(), images::SoftwareRecord);
    EXPECT_EQ(nodeTexts(f.TreeView4), (std::vector<std::string>{"img", "a"}));
    EXPECT_EQ(f.TreeView4.item(2).key(), "[001]Tools;|文件路径:E:\\docs\\a.txt");
    EXPECT_EQ(f.TreeView4.item(2).image(), 24);
    EXPECT_EQ(f.AllSize, 1536);
    EXPECT_EQ(f.CopyAllSize.caption(), "已经拷贝到硬盘上的文件大小是1K");
    EXPECT_EQ(f.SendToCustom.caption(), " D:\\work");
    EXPECT_EQ(f.CopyFileColor, platform::qbColor(9));
    for (const platform::TreeView* t : {&f.TreeView1, &f.TreeView2, &f.TreeView3, &f.TreeView4})
        EXPECT_EQ(t->imageList(), &f.ImageList1);
    EXPECT_EQ(f.ListView1.smallIcons(), &f.ImageList1);
    EXPECT_EQ(h.ui.log().size(), 0u);
}

// A program folder brought from elsewhere may spell its stored folders
// otherwise: they are found as the files in them are, and no second, empty
// folder is made beside them.
TEST(Startup, StoredFoldersSpeltOtherwiseAreUsedNotMadeAgain) {
    namespace fs = std::filesystem;
    Harness h;
    const std::string program = h.nativePath(Pf);
    fs::create_directories(program + "/GuangPan");
    fs::create_directories(program + "/SOFTWARE");
    h.write("C:\\zelbrin\\GuangPan\\[001]Tools.wcd", "E:\\|docs\r\n");
    h.write("C:\\zelbrin\\SOFTWARE\\Tools.txt", "x");
    h.write("C:\\zelbrin\\ini.ini", "|软件\r\n#[001]Tools\r\n");
    h.start();
    EXPECT_EQ(h.form.Cdrom_Num, 1);
    EXPECT_EQ(nodeTexts(h.form.TreeView3), (std::vector<std::string>{"Tools"}));
    EXPECT_FALSE(fs::exists(program + "/guangpan"));
    EXPECT_FALSE(fs::exists(program + "/software"));
    EXPECT_EQ(h.ui.log().size(), 0u);
}

// ---- the CD drive file ----

TEST(Startup, AStoredCdDriveIsKeptByItsFirstCharacter) {
    for (const char* stored : {"e:\\\r\n", "  E:\\  ", "E"}) {
        Harness h;
        h.write(DiskIni, stored);
        h.start();
        EXPECT_EQ(h.form.CdDrive, std::string(1, platform::text::trim(stored)[0]) + ":\\")
            << stored;
        EXPECT_TRUE(h.form.CdDriveKnown);
        EXPECT_EQ(h.read(DiskIni), stored);  // never rewritten
        EXPECT_TRUE(h.ui.log().empty());
    }
}

// disk.ini remembers a drive the drive table does not map as a CD drive (the
// "t:\" a start without an optical drive stored, a drive letter gone, the
// home folder's C:): the CD drive is looked for again and disk.ini rewritten
// with the answer.
TEST(Startup, AStoredDriveThatIsNoCdDriveIsLookedForAgain) {
    for (const char* stored : {"t:\\\r\n", "  F:\\  ", "", "   ", "C:\\\r\n"}) {
        SCOPED_TRACE(stored);
        Harness h;
        h.write(DiskIni, stored);
        h.ui.answerMsgBox(platform::MsgOK, firstRunPrompt("E:\\"));
        h.start();
        EXPECT_EQ(h.form.CdDrive, "E:\\");
        EXPECT_TRUE(h.form.CdDriveKnown);
        EXPECT_EQ(h.readBytes(DiskIni), "E:\\\r\n");
    }
    // Typed in place of the drive proposed.
    Harness h;
    h.write(DiskIni, "t:\\\r\n");
    h.write("C:\\cd2\\x", "");
    h.drives().set({.name = "G:",
                    .folder = h.nativePath("C:\\cd2"),
                    .kind = platform::files::DriveKind::CdRom});
    h.ui.answerMsgBox(platform::MsgCancel, firstRunPrompt("E:\\"));
    h.ui.answerInputBox("g");
    h.start();
    EXPECT_EQ(h.form.CdDrive, "g:\\");
    EXPECT_EQ(h.readBytes(DiskIni), "g:\\\r\n");
}

// No CD drive in the drive table: nothing is proposed or stored (a stored
// drive stays as it is), and the run uses the placeholder "t:\", in which
// a scan finds no disc.
TEST(Startup, AStartThatFindsNoCdDriveStoresNone) {
    for (const char* stored : {static_cast<const char*>(nullptr), "t:\\\r\n", "E:\\\r\n"}) {
        SCOPED_TRACE(stored ? stored : "no disk.ini");
        Harness h;
        h.drives().remove("E:");
        if (stored) h.write(DiskIni, stored);
        h.start(true);
        EXPECT_TRUE(h.ui.log().empty());
        EXPECT_EQ(h.form.CdDrive, "t:\\");
        EXPECT_TRUE(h.form.CdDriveKnown);
        if (stored)
            EXPECT_EQ(h.read(DiskIni), stored);
        else
            EXPECT_FALSE(h.exists(DiskIni));
    }
}

TEST(Startup, UnreadableCdDriveFileKeepsTheFoundDrive) {
    for (bool withCd : {true, false}) {
        Harness h;
        if (!withCd) h.drives().remove("E:");
        h.makeFolder(DiskIni);  // opening fails, but not with "file not found"
        h.start(true);
        EXPECT_EQ(h.form.CdDrive, withCd ? "E:\\" : ":\\");
        EXPECT_TRUE(h.form.CdDriveKnown);
        EXPECT_TRUE(h.ui.log().empty());
    }
}

TEST(Startup, FirstRunOkStoresTheProposedDrive) {
    Harness h;
    h.ui.answerMsgBox(platform::MsgOK, firstRunPrompt("E:\\"));
    h.start(true);
    EXPECT_EQ(h.ui.log().at(0).buttons, platform::MsgButtons::OKCancel);
    EXPECT_EQ(h.ui.log().at(0).title, "提示");
    EXPECT_EQ(h.form.CdDrive, "E:\\");
    EXPECT_TRUE(h.form.CdDriveKnown);
    EXPECT_EQ(h.readBytes(DiskIni), "E:\\\r\n");
}

TEST(Startup, FirstRunAsksUntilACdRomDriveIsTyped) {
    Harness h;
    h.ui.answerMsgBox(platform::MsgCancel, firstRunPrompt("E:\\"));
    h.ui.answerInputBox("c");  // a fixed drive
    h.ui.answerMsgBox(platform::MsgOK, NotCdRom);
    h.ui.answerInputBox("q:");  // no such drive
    h.ui.answerMsgBox(platform::MsgOK, NotCdRom);
    h.ui.answerInputBox("e:\\data");
    h.start(true);
    EXPECT_EQ(h.form.CdDrive, "e:\\");
    EXPECT_EQ(h.readBytes(DiskIni), "e:\\\r\n");
    const auto& log = h.ui.log();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[1].kind, testsupport::ShownKind::InputBox);
    EXPECT_EQ(log[1].prompt, "请输入你的光驱的盘符！");
    EXPECT_EQ(log[1].title, "信息");
    EXPECT_EQ(log[2].title, "提示");
}

TEST(Startup, FirstRunCancelInTheInputBoxKeepsTheProposedDrive) {
    Harness h;
    h.ui.answerMsgBox(platform::MsgCancel, firstRunPrompt("E:\\"));
    h.ui.answerInputBox(std::nullopt);
    h.start(true);
    EXPECT_EQ(h.form.CdDrive, "E:\\");
    EXPECT_TRUE(h.form.CdDriveKnown);
    EXPECT_FALSE(h.exists(DiskIni));  // the next start asks again
}

// ---- the log-in ----

TEST(Startup, LogInAskedOnlyForExactlyTrue) {
    for (const char* value : {"True", "TRUE", "false"}) {
        Harness h;
        setSetting(h, "have_password", value);
        h.start();
        EXPECT_TRUE(h.form.visible()) << value;
        EXPECT_FALSE(h.form.Have_Password);
        EXPECT_TRUE(h.ui.log().empty());
    }
}

TEST(Startup, RightPasswordAfterAWrongOneLetsTheProgramStart) {
    Harness h;
    setSetting(h, "have_password", "true");
    setSetting(h, "Password", "Abc");
    h.write("C:\\zelbrin\\software\\a.txt", "x");
    h.ui.onModal<password>([&h](password& d) {
        EXPECT_TRUE(d.Check1.visible());
        d.txtPassword.userType("abc");
        h.ui.answerMsgBox(platform::MsgOK, "无效的密码，请重试!");
        d.cmdOK.userClick();
        EXPECT_TRUE(d.loaded());
        EXPECT_EQ(d.txtPassword.selLength(), 3);
        d.txtPassword.userType("Abc");
        d.cmdOK.userClick();
    });
    h.start();
    EXPECT_TRUE(h.form.visible());
    EXPECT_EQ(h.form.LoginSucceeded, true);
    EXPECT_EQ(h.form.TreeView3.count(), 1);
    EXPECT_EQ(h.form.module1().GetRegValue(SettingsKey, "have_password"), "true");
}

TEST(Startup, TickedBoxSwitchesTheLogInOff) {
    Harness h;
    setSetting(h, "have_password", "true");
    setSetting(h, "Password", "");
    h.ui.onModal<password>([](password& d) {
        d.Check1.userClick();
        d.cmdOK.userClick();
    });
    h.start();
    EXPECT_TRUE(h.form.visible());
    EXPECT_FALSE(h.form.Have_Password);
    EXPECT_EQ(h.form.module1().GetRegValue(SettingsKey, "have_password"), "false");
    EXPECT_EQ(h.form.module1().GetRegValue(SettingsKey, "Password"), "");
}

TEST(Startup, RefusedLogInEndsTheProgramUnshown) {
    // Cancel, and the close box (the script leaves the dialog open).
    for (bool cancel : {true, false}) {
        Harness h;
        setSetting(h, "have_password", "true");
        setSetting(h, "Password", "abc");
        h.write("C:\\zelbrin\\software\\a.txt", "x");
        h.ui.onModal<password>([cancel](password& d) {
            if (cancel) d.cmdCancel.userClick();
        });
        h.start(true);
        EXPECT_FALSE(h.form.loaded());
        EXPECT_FALSE(h.form.visible());
        // Cancel gives its verdict; the close box leaves none.
        EXPECT_EQ(h.form.LoginSucceeded, cancel ? std::optional<bool>(false) : std::nullopt);
        // No later step ran: no folders, no trees, no first-run box.
        EXPECT_FALSE(h.exists("C:\\zelbrin\\guangpan"));
        EXPECT_EQ(h.form.TreeView3.count(), 0);
        EXPECT_TRUE(h.ui.messages().empty());
    }
}

// ---- stored files and stores that cannot be read ----

// Each stored file read at start-up, made unreadable in each way while the
// others hold a disc: a box names it and says why, start-up goes on, the
// tree it feeds stays empty, the others fill, and the file is left as it was.
// A pipe is never waited on, a link to /dev/zero never read.
TEST(StartupUnreadable, StoredFileIsToldAndTheProgramGoesOn) {
    for (const char* name : {"ini.ini", "red.ini", "favorite.ini"}) {
        for (const testsupport::Unreadable kind : testsupport::unreadableKinds()) {
            SCOPED_TRACE(std::string(name) + ", " + testsupport::kindName(kind));
            Harness h;
            h.write("C:\\zelbrin\\guangpan\\[001]Tools.wcd", "E:\\|docs\r\n");
            const std::string path = std::string(Pf) + "\\" + name;
            const std::string ini = "C:\\zelbrin\\ini.ini", red = "C:\\zelbrin\\red.ini",
                              favorite = "C:\\zelbrin\\favorite.ini";
            if (path != ini) h.write(ini, "|软件\r\n#[001]Tools\r\n");
            if (path != red) h.write(red, "[001]Tools\r\n");
            if (path != favorite)
                h.write(favorite,
                        "|文件图标:1;|文件名:img;|光盘名字:[001]Tools;"
                        "|文件路径:E:\\docs\\img;|文件备注:空\r\n");
            setSetting(h, "Color", "9");
            const testsupport::UnreadableFile bad(h.nativePath(path), kind);
            h.ui.answerMsgBox(platform::MsgOK, startup::unreadableFileMessage(path, bad.reason()));
            h.start();
            Form1& f = h.form;

            EXPECT_TRUE(f.visible());
            EXPECT_EQ(h.ui.log().size(), 1u);
            EXPECT_EQ(f.TreeView1.count(), 1);
            EXPECT_EQ(f.TreeView2.count(), path == ini ? 0 : 2);
            EXPECT_EQ(f.TreeView4.count(), path == favorite ? 0 : 1);
            EXPECT_EQ(f.TreeView1.item(1).foreColor() == platform::qbColor(9), path != red);
            EXPECT_EQ(f.CdDrive, "E:\\");  // the steps after the trees ran
            EXPECT_TRUE(bad.unchanged());
        }
    }
}

// registry.ini and settings.ini are read before the window exists: their
// file stores keep the failure, and start-up tells it once the Ui is up. The
// harness's stores stand for file stores that met the same failure.
TEST(StartupUnreadable, StoreIsToldAndRunsOnDefaults) {
    namespace sys = platform::system;
    for (const bool registry : {true, false}) {
        for (const testsupport::Unreadable kind : testsupport::unreadableKinds()) {
            SCOPED_TRACE(std::string(registry ? "registry" : "settings") + ", " +
                         testsupport::kindName(kind));
            testsupport::TempFolder config;
            const auto file =
                config / std::string(registry ? sys::registryFileName : sys::settingsFileName);
            const testsupport::UnreadableFile bad(file, kind);
            const auto failure = registry ? sys::FileRegistryStore(file).loadFailure()
                                          : sys::FileSettingsStore(file).loadFailure();
            ASSERT_TRUE(failure);

            Harness h;
            if (registry)
                h.registry.refuseWrites(*failure);
            else
                h.settings.refuseWrites(*failure);
            h.ui.answerMsgBox(platform::MsgOK,
                              startup::unreadableFileMessage(file.string(), bad.reason()));
            h.start();
            EXPECT_TRUE(h.form.visible());
            EXPECT_EQ(h.ui.log().size(), 1u);
            EXPECT_FALSE(h.form.Have_Password);
            EXPECT_EQ(h.form.CopyFileColor, platform::qbColor(12));
            EXPECT_EQ(h.form.SendToCustom.caption(), "你的文件夹");
            EXPECT_TRUE(bad.unchanged());
        }
    }
}

// Later writes to a store that could not be read change nothing: the
// registry's are dropped, a settings save is told as an error.
TEST(StartupUnreadable, StoreThatCouldNotBeReadRefusesLaterWrites) {
    Harness h;
    h.registry.refuseWrites({"/home/u/.config/zelbrin/registry.ini", "没有权限"});
    h.settings.refuseWrites({"/home/u/.config/zelbrin/settings.ini", "没有权限"});
    h.ui.answerMsgBox(platform::MsgOK);
    h.ui.answerMsgBox(platform::MsgOK);
    h.start();

    setSetting(h, "Color", "9");
    EXPECT_EQ(h.form.module1().GetRegValue(SettingsKey, "Color"), "Error");

    h.makeFolder("C:\\work");
    h.form.fromMaker = false;
    h.ui.onModal<sendto>([&h](sendto& s) {
        s.Dir1.userOpen("C:\\work");
        h.ui.answerMsgBox(platform::MsgOK,
                          "运行时错误 '75':\r\n设置文件“/home/u/.config/zelbrin/settings.ini”"
                          "在启动时无法读取，程序不会覆盖它");
        s.OKButton.userClick();
        s.CancelButton.userClick();
    });
    platform::dispatch([&h] {
        sendto s(h.form);
        s.showModal();
    });
    EXPECT_EQ(h.settings.get("Zelbrin", "Expiry", "yourfolder", "none"), "none");
}

// ---- shutdown ----

TEST(Shutdown, ExitClearsTheTreesAndStopsAnAudioCd) {
    for (bool playing : {true, false}) {
        Harness h;
        h.write("C:\\zelbrin\\ini.ini", "|软件\r\n");
        h.write("C:\\zelbrin\\software\\a.txt", "x");
        h.start();
        h.form.CDPlaying = playing ? -1 : 0;
        h.mci.clearCommands();
        h.form.exit.userClick();
        EXPECT_FALSE(h.form.loaded());
        EXPECT_EQ(h.form.TreeView2.count(), 0);
        EXPECT_EQ(h.form.TreeView3.count(), 0);
        EXPECT_EQ(h.mci.commands(),
                  playing ? std::vector<std::string>{"stop cd wait"} : std::vector<std::string>{});
        EXPECT_TRUE(h.ui.log().empty());
    }
}

TEST(Shutdown, CloseBoxUnloadsAsExitDoes) {
    Harness h;
    h.start();
    h.form.CDPlaying = -1;
    h.form.userClose();
    EXPECT_FALSE(h.form.loaded());
    EXPECT_EQ(h.mci.commands().back(), "stop cd wait");
}

}  // namespace
