#include "platform/files/drive_table.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <optional>

#include "platform/files/files_internal.h"
#include "platform/files/paths.h"
#include "platform/files/program_folder.h"
#include "platform/files/system_probe.h"
#include "platform/text/text.h"

namespace platform::files {

namespace {

std::string trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return std::string(s);
}

// "~/x" -> home/x; a relative folder is refused (empty); a final "/" is dropped.
std::string nativeFolderSetting(const std::string& value) {
    std::string f = value;
    if (f == "~" || f.rfind("~/", 0) == 0) f = homeFolder() + f.substr(1);
    if (f.empty() || f.front() != '/') return {};
    while (f.size() > 1 && f.back() == '/') f.pop_back();
    return f;
}

std::optional<DriveTable>& currentSlot() {
    static std::optional<DriveTable> table;
    return table;
}

struct IniSection {
    std::string name{};
    std::optional<std::string> folder{}, device{}, type{}, label{};
};

}  // namespace

std::string normalizeDriveName(std::string_view name) {
    if (name.size() < 2 || name[1] != ':') return {};
    char letter = name[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return {};
    std::string out{letter, ':'};
    std::string rest(name.substr(2));
    std::replace(rest.begin(), rest.end(), '/', '\\');
    for (const auto& part : text::split(rest, "\\")) {
        if (part.empty()) continue;
        if (part == "." || part == ".." || !isWindowsName(part)) return {};
        out += '\\';
        out += part;
    }
    return out;
}

DriveTable DriveTable::defaults() {
    DriveTable t;
    const std::string home = homeFolder();
    t.set({.name = "C:\\My Documents", .folder = documentsFolder()});
    t.set({.name = "C:", .folder = home});
    char letter = 'D';
    for (const auto& dev : opticalDevices()) {
        if (letter >= 'Z') break;
        t.set({.name = std::string{letter, ':'}, .device = dev, .kind = DriveKind::CdRom});
        ++letter;
    }
    t.set({.name = "Z:", .folder = "/"});
    return t;
}

DriveTable DriveTable::systemDefault(const std::string& configFolder) {
    DriveTable t = defaults();
    std::string ini;
    if (detail::readNativeFile(configFolder + "/drives.ini", ini)) t.applyIni(ini);
    return t;
}

void DriveTable::set(DriveEntry entry) {
    std::string name = normalizeDriveName(entry.name);
    if (name.empty()) return;
    entry.name = name;
    if (auto* existing = find(name)) {
        *existing = std::move(entry);
        return;
    }
    auto key = text::ucase(name);
    auto pos = std::find_if(entries_.begin(), entries_.end(),
                            [&](const DriveEntry& e) { return text::ucase(e.name) > key; });
    entries_.insert(pos, std::move(entry));
}

bool DriveTable::remove(std::string_view name) {
    std::string n = normalizeDriveName(name);
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const DriveEntry& e) { return sameNameIgnoringCase(e.name, n); });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

DriveEntry* DriveTable::find(std::string_view name) {
    std::string n = normalizeDriveName(name);
    if (n.empty()) return nullptr;
    for (auto& e : entries_) {
        if (sameNameIgnoringCase(e.name, n)) return &e;
    }
    return nullptr;
}

const DriveEntry* DriveTable::find(std::string_view name) const {
    return const_cast<DriveTable*>(this)->find(name);
}

void DriveTable::applyIni(std::string_view textIn) {
    std::vector<IniSection> sections;
    bool inValidSection = false;
    for (const auto& raw : text::splitLines(textIn)) {
        std::string line = trimBlanks(raw);
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        if (line.front() == '[') {
            auto close = line.find(']');
            std::string name = close == std::string::npos
                                   ? std::string()
                                   : normalizeDriveName(line.substr(1, close - 1));
            inValidSection = !name.empty();
            if (inValidSection) sections.push_back({.name = name});
            continue;
        }
        auto eq = line.find('=');
        if (!inValidSection || eq == std::string::npos) continue;
        std::string key = text::lcase(trimBlanks(line.substr(0, eq)));
        std::string value = trimBlanks(line.substr(eq + 1));
        auto& s = sections.back();
        if (key == "folder") {
            s.folder = value;
        } else if (key == "device") {
            s.device = value;
        } else if (key == "type") {
            s.type = text::lcase(value);
        } else if (key == "label") {
            s.label = value;
        }
    }
    for (const auto& s : sections) {
        DriveEntry e;
        bool isNew = true;
        if (const auto* existing = find(s.name)) {
            e = *existing;
            isNew = false;
        }
        e.name = s.name;
        if (s.folder) {
            e.folder = nativeFolderSetting(*s.folder);
            e.device.clear();
        }
        if (s.device) {
            e.device = *s.device;
            e.folder.clear();
        }
        if (s.type == "cdrom") {
            e.kind = DriveKind::CdRom;
        } else if (s.type == "fixed") {
            e.kind = DriveKind::Fixed;
        } else if (isNew) {
            e.kind = e.device.empty() ? DriveKind::Fixed : DriveKind::CdRom;
        }
        if (s.label) e.label = *s.label;
        if (e.folder.empty() && e.device.empty()) {
            remove(s.name);
        } else {
            set(std::move(e));
        }
    }
}

std::optional<std::string> DriveTable::folderOf(const DriveEntry& entry) const {
    if (!entry.device.empty()) {
        auto m = mountOfDevice(entry.device, currentMounts());
        if (!m) return std::nullopt;
        return m->mountPoint;
    }
    if (!entry.ready || entry.folder.empty()) return std::nullopt;
    return entry.folder;
}

DriveTable& DriveTable::current() {
    auto& slot = currentSlot();
    if (!slot) slot = systemDefault(configFolder());
    return *slot;
}

void DriveTable::setCurrent(DriveTable table) { currentSlot() = std::move(table); }

ScopedDriveTable::ScopedDriveTable(DriveTable table) : saved_(DriveTable::current()) {
    DriveTable::setCurrent(std::move(table));
}

ScopedDriveTable::~ScopedDriveTable() { DriveTable::setCurrent(std::move(saved_)); }

}  // namespace platform::files
