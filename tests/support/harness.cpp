#include "harness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "platform/files/paths.h"
#include "platform/text/text.h"
#include "platform/ui/dispatcher.h"
#include "test_drives.h"

namespace testsupport {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view CdLetter = "E:";

// C: on the temporary folder with the program folder in it, E: a ready CD
// drive backed by a folder, Z: the root of the file system.
platform::files::DriveTable makeDriveTable(const fs::path& root) {
    platform::files::DriveTable table = testDrives(root, "CDROM");
    fs::create_directories(root / "c" / "zelbrin");
    table.set(rootDrive());
    return table;
}

platform::files::DriveEntry& cdEntry() {
    platform::files::DriveEntry* entry = platform::files::DriveTable::current().find(CdLetter);
    if (!entry) throw std::logic_error("the harness's CD drive is gone from the drive table");
    return *entry;
}

}  // namespace

// ---- Harness ----

Harness::Harness()
    : root_(std::make_shared<TempFolder>()),
      driveTable_(makeDriveTable(root_->path())),
      previousUi_(platform::Dispatcher::instance().ui()),
      shell(platform::system::filesToNative()),
      clock(2024, 5, 6, 36000),
      services{{ui, timers}, registry, settings, shell,
               clipboard,    clock,    mci,      std::string(ProgramFolder)},
      form(services) {
    platform::Dispatcher::instance().setUi(&ui);
}

Harness::Harness(const Harness& earlier, NextStartTag)
    : root_(earlier.root_),
      driveTable_(platform::files::DriveTable::current()),
      previousUi_(platform::Dispatcher::instance().ui()),
      registry(earlier.registry),
      settings(earlier.settings),
      shell(platform::system::filesToNative()),
      clock(2024, 5, 6, 36000),
      services{{ui, timers}, registry, settings, shell,
               clipboard,    clock,    mci,      std::string(ProgramFolder)},
      form(services) {
    platform::Dispatcher::instance().setUi(&ui);
}

Harness::~Harness() {
    platform::Dispatcher::instance().setUi(previousUi_);
    ui.verifyAllUsed();
}

void Harness::start(bool firstRun) {
    const std::string cdDriveFile = std::string(ProgramFolder) + "\\disk.ini";
    if (!firstRun && !exists(cdDriveFile)) write(cdDriveFile, std::string(CdDrive) + "\r\n");
    platform::dispatch([this] { form.show(); });
}

// ---- files ----

std::string Harness::nativePath(std::string_view windowsPath) const {
    return platform::files::toNative(windowsPath);
}

void Harness::makeReadOnly(std::string_view windowsPath) const {
    fs::permissions(nativePath(windowsPath),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

bool Harness::exists(std::string_view windowsPath) const {
    std::error_code ec;
    return fs::exists(nativePath(windowsPath), ec);
}

void Harness::makeFolder(std::string_view windowsPath) {
    fs::create_directories(nativePath(windowsPath));
}

void Harness::writeBytes(std::string_view windowsPath, std::string_view bytes) {
    testsupport::writeBytes(nativePath(windowsPath), bytes);
}

std::string Harness::readBytes(std::string_view windowsPath) const {
    const std::string native = nativePath(windowsPath);
    std::error_code ec;
    if (!fs::is_regular_file(native, ec)) {
        ADD_FAILURE() << "cannot read " << windowsPath << " (" << native << ")";
        return {};
    }
    return testsupport::readBytes(native);
}

void Harness::write(std::string_view windowsPath, std::string_view utf8) {
    writeBytes(windowsPath, platform::text::toCp936(utf8));
}

std::string Harness::read(std::string_view windowsPath) const {
    return platform::text::fromCp936(readBytes(windowsPath));
}

// ---- the CD drive ----

void Harness::setCdReady(bool ready) { cdEntry().ready = ready; }

void Harness::setCdLabel(std::string label) { cdEntry().label = std::move(label); }

std::string Harness::cdFolder() const { return cdEntry().folder; }

platform::files::DriveTable& Harness::drives() { return platform::files::DriveTable::current(); }

}  // namespace testsupport
