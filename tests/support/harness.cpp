#include "harness.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "platform/files/paths.h"
#include "platform/text/text.h"
#include "platform/ui/dispatcher.h"

namespace testsupport {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view CdLetter = "E:";

std::string nativeChild(const std::string& folder, std::string_view name) {
    return (fs::path(folder) / fs::path(std::string(name))).string();
}

// C: on the temporary folder with the program folder in it, E: a ready CD
// drive backed by a folder, Z: the root of the file system.
platform::files::DriveTable makeDriveTable(const std::string& root) {
    const std::string c = nativeChild(root, "c");
    const std::string cd = nativeChild(root, "cd");
    fs::create_directories(nativeChild(c, "zelbrin"));
    fs::create_directories(cd);

    platform::files::DriveTable table;
    platform::files::DriveEntry fixed;
    fixed.name = "C:";
    fixed.folder = c;
    fixed.kind = platform::files::DriveKind::Fixed;
    table.set(fixed);

    platform::files::DriveEntry optical;
    optical.name = std::string(CdLetter);
    optical.folder = cd;
    optical.kind = platform::files::DriveKind::CdRom;
    optical.label = "CDROM";
    optical.ready = true;
    table.set(optical);

    platform::files::DriveEntry system;
    system.name = "Z:";
    system.folder = "/";
    system.kind = platform::files::DriveKind::Fixed;
    table.set(system);
    return table;
}

platform::files::DriveEntry& cdEntry() {
    platform::files::DriveEntry* entry = platform::files::DriveTable::current().find(CdLetter);
    if (!entry) throw std::logic_error("the harness's CD drive is gone from the drive table");
    return *entry;
}

}  // namespace

// ---- TempFolder ----

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "zelbrin-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::system_error(errno, std::generic_category(), "mkdtemp");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    // Files copied from the "CD" may be read-only; make everything writable first.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        std::error_code ignored;
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ec);
}

// ---- Harness ----

Harness::Harness()
    : driveTable_(makeDriveTable(root_.path())),
      previousUi_(platform::Dispatcher::instance().ui()),
      shell(platform::system::filesToNative()),
      clock(2024, 5, 6, 36000),
      services{{ui, timers}, registry, settings, shell, clipboard, clock, mci, std::string(ProgramFolder)},
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

std::string Harness::nativePath(std::string_view windowsPath) const { return platform::files::toNative(windowsPath); }

bool Harness::exists(std::string_view windowsPath) const {
    std::error_code ec;
    return fs::exists(nativePath(windowsPath), ec);
}

void Harness::makeFolder(std::string_view windowsPath) { fs::create_directories(nativePath(windowsPath)); }

void Harness::writeBytes(std::string_view windowsPath, std::string_view bytes) {
    const fs::path target = nativePath(windowsPath);
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + target.string());
}

std::string Harness::readBytes(std::string_view windowsPath) const {
    const std::string native = nativePath(windowsPath);
    std::ifstream in(native, std::ios::binary);
    if (!in || fs::is_directory(native)) {
        ADD_FAILURE() << "cannot read " << windowsPath << " (" << native << ")";
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
