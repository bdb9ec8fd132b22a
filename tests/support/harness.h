// The headless driver of the behaviour tests: a temporary machine with a
// program folder, a drive table, in-memory stores, recording fakes and the
// scripted Ui, and the main window built on them.
//
//     testsupport::Harness h;
//     h.write("C:\\zelbrin\\ini.ini", "|软件\r\n");
//     h.start();
//     h.ui.answerMsgBox(platform::MsgOK, "这个名字已经存在！");
//     h.form.Toolbar1.userClick("maker");
//     EXPECT_EQ(h.read("C:\\zelbrin\\ini.ini"), "...");
//
// Drives: C: is a fixed drive on the temporary folder (the program folder is
// C:\zelbrin), E: a CD drive backed by a folder, holding a disc labelled
// "CDROM" until a test says otherwise, and Z: the root of the file system.
// The table is the process-wide current one while the harness lives; the
// previous table comes back afterwards.
//
// Every gesture goes through the dispatcher, as in the program: the controls'
// user… methods do that themselves. Timers tick only when the test advances
// the virtual timer host.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "fake_media_engine.h"
#include "mainwindow/app_services.h"
#include "mainwindow/form1.h"
#include "platform/controls/timer.h"
#include "platform/files/drive_table.h"
#include "platform/system/clipboard.h"
#include "platform/system/clock.h"
#include "platform/system/mci.h"
#include "platform/system/registry.h"
#include "platform/system/settings_store.h"
#include "platform/system/shell.h"
#include "platform/ui/ui.h"
#include "scripted_ui.h"
#include "temp_folder.h"

namespace testsupport {

class Harness {
  public:
    // The program folder and the CD drive, in Windows form.
    static constexpr std::string_view ProgramFolder = "C:\\zelbrin";
    static constexpr std::string_view CdDrive = "E:\\";

    Harness();
    // The next start of the program on the machine of `earlier`: the same
    // files, drive table and stores, a new main window (not yet shown; call
    // start()). `earlier` keeps the files and must outlive this one; it is
    // not used while this one lives.
    struct NextStartTag {};
    static constexpr NextStartTag NextStart{};
    Harness(const Harness& earlier, NextStartTag);
    ~Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    // Shows the main window as the program does at its start: Form_Load,
    // then the first Form_Resize. Unless firstRun, the CD drive file
    // ("disk.ini", holding "E:\") is written first when it does not exist, so
    // that start-up does not ask for the drive.
    void start(bool firstRun = false);

    // ---- files, by Windows path through the drive table ----
    // Writes the text as code page 936 (GB18030), creating missing folders.
    void write(std::string_view windowsPath, std::string_view utf8);
    // The file's text decoded from code page 936; fails the test and gives
    // "" when the file cannot be read.
    std::string read(std::string_view windowsPath) const;
    // The same with the bytes as they are.
    void writeBytes(std::string_view windowsPath, std::string_view bytes);
    std::string readBytes(std::string_view windowsPath) const;
    void makeFolder(std::string_view windowsPath);
    bool exists(std::string_view windowsPath) const;
    // The native path of a Windows path.
    std::string nativePath(std::string_view windowsPath) const;
    // Takes every write permission from the file at windowsPath, as a file
    // copied from a CD comes.
    void makeReadOnly(std::string_view windowsPath) const;

    // ---- the CD drive E: ----
    // Whether a disc is in the drive.
    void setCdReady(bool ready);
    void setCdLabel(std::string label);
    // The native folder that holds the disc's files.
    std::string cdFolder() const;
    // The drive table in force (to add drives).
    platform::files::DriveTable& drives();

    // ---- the temporary machine (declaration order is construction order) ----
  private:
    std::shared_ptr<TempFolder> root_;
    platform::files::ScopedDriveTable driveTable_;
    platform::Ui* previousUi_;

  public:
    platform::system::MemoryRegistryStore registry;
    platform::system::MemorySettingsStore settings;
    platform::system::RecordingShell shell;
    platform::system::MemoryClipboard clipboard;
    platform::system::FakeClock clock;
    platform::system::FakeMci mci;
    FakeMediaFactory media;
    platform::VirtualTimerHost timers;
    ScriptedUi ui;
    AppServices services;
    Form1 form;
};

}  // namespace testsupport
