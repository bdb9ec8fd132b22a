// The drive table's drives.ini parser, applied over a small table, and the
// drive-name normaliser on every line of the input.
#include "fuzz_target.h"
#include "platform/files/drive_table.h"
#include "platform/files/paths.h"
#include "platform/text/text.h"

namespace {

using platform::files::DriveEntry;
using platform::files::DriveKind;
using platform::files::DriveTable;
using platform::files::normalizeDriveName;

DriveTable startingTable() {
    DriveTable t;
    t.set({.name = "C:", .folder = "/home/user"});
    t.set({.name = "C:\\My Documents", .folder = "/home/user/Documents"});
    t.set({.name = "D:", .device = "/dev/sr0", .kind = DriveKind::CdRom});
    t.set({.name = "E:", .folder = "/srv/cd", .kind = DriveKind::CdRom, .label = "DATA_01"});
    t.set({.name = "Z:", .folder = "/"});
    return t;
}

void checkName(std::string_view text) {
    const std::string name = normalizeDriveName(text);
    if (name.empty()) return;
    FUZZ_CHECK(normalizeDriveName(name) == name);
    FUZZ_CHECK(name.size() >= 2 && name[0] >= 'A' && name[0] <= 'Z' && name[1] == ':');
    FUZZ_CHECK(name.size() == 2 || (name[2] == '\\' && name.back() != '\\'));
    FUZZ_CHECK(name.find('/') == std::string::npos);
}

void checkTable(const DriveTable& table) {
    const auto& entries = table.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const DriveEntry& e = entries[i];
        FUZZ_CHECK(normalizeDriveName(e.name) == e.name);
        FUZZ_CHECK(table.find(e.name) == &e);
        if (i > 0) {
            FUZZ_CHECK(platform::text::ucase(entries[i - 1].name) < platform::text::ucase(e.name));
        }
        // Each entry stands for a native folder or for an optical device, not both.
        FUZZ_CHECK(e.folder.empty() != e.device.empty());
        if (!e.folder.empty()) {
            FUZZ_CHECK(e.folder.front() == '/');
            FUZZ_CHECK(e.folder.size() == 1 || e.folder.back() != '/');
        }
    }
}

}  // namespace

int fuzzOne(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    DriveTable table = startingTable();
    table.applyIni(text);
    checkTable(table);
    for (std::string_view line : fuzz::cut(text, "\n", 32)) checkName(line);
    return 0;
}
