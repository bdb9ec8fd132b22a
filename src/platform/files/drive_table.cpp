#include "platform/files/drive_table.h"

#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <optional>

#include "platform/files/audio_disc.h"
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
    int line = 0;  // of the section's name
    std::string header{};
    bool told = false;  // a line of it was reported already
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
    if (textIn.starts_with("\xEF\xBB\xBF")) textIn.remove_prefix(3);  // a UTF-8 mark
    std::vector<IniSection> sections;
    const std::size_t firstProblem = problems_.size();
    bool inValidSection = false;
    bool inSkippedSection = false;  // its name was malformed: its lines are not told again
    int number = 0;
    auto problem = [&](const std::string& line, const char* reason) {
        problems_.push_back({number, line, reason});
        if (inValidSection) sections.back().told = true;
    };
    for (const auto& raw : text::splitLines(textIn)) {
        ++number;
        std::string line = trimBlanks(raw);
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        if (line.front() == '[') {
            auto close = line.find(']');
            std::string name = close == std::string::npos
                                   ? std::string()
                                   : normalizeDriveName(line.substr(1, close - 1));
            inValidSection = !name.empty();
            inSkippedSection = !inValidSection;
            if (inValidSection) {
                sections.push_back({.name = name, .line = number, .header = line});
            } else {
                problem(line, close == std::string::npos
                                  ? "缺少“]”"
                                  : "不是驱动器名（应如[E:]或[C:\\My Documents]）");
            }
            continue;
        }
        if (inSkippedSection) continue;
        auto eq = line.find('=');
        if (!inValidSection) {
            problem(line, "不在任何驱动器段（如[E:]）之内");
            continue;
        }
        if (eq == std::string::npos) {
            problem(line, "不是“名称 = 值”的形式");
            continue;
        }
        std::string key = text::lcase(trimBlanks(line.substr(0, eq)));
        std::string value = trimBlanks(line.substr(eq + 1));
        auto& s = sections.back();
        if (key == "folder") {
            if (!value.empty() && nativeFolderSetting(value).empty()) {
                problem(line, "folder须是绝对路径或以~/开头");
                continue;
            }
            s.folder = value;
        } else if (key == "device") {
            s.device = value;
        } else if (key == "type") {
            std::string type = text::lcase(value);
            if (type != "cdrom" && type != "fixed") {
                problem(line, "type只能是cdrom或fixed");
                continue;
            }
            s.type = type;
        } else if (key == "label") {
            s.label = value;
        } else {
            problem(line, "未知的设置项（只有folder、device、type和label）");
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
            if (isNew) {
                if (!s.told)
                    problems_.push_back({s.line, s.header, "新的驱动器须有folder或device"});
            } else {
                remove(s.name);
            }
        } else {
            set(std::move(e));
        }
    }
    // In line order (a new name without folder or device is found last).
    std::stable_sort(
        problems_.begin() + static_cast<std::ptrdiff_t>(firstProblem), problems_.end(),
        [](const DriveIniProblem& a, const DriveIniProblem& b) { return a.line < b.line; });
}

std::string DriveTable::problemReport() const {
    if (problems_.empty()) return {};
    std::string report =
        "驱动器设置文件drives.ini中有以下几行无法使用，已被忽略，相关驱动器仍用默认设置：";
    for (const DriveIniProblem& p : problems_)
        report += "\r\n第" + std::to_string(p.line) + "行 " + p.text + "：" + p.reason;
    return report;
}

std::optional<std::string> DriveTable::folderOf(const DriveEntry& entry) const {
    if (!entry.device.empty()) {
        auto m = mountOfDevice(entry.device, currentMounts());
        // An audio CD has no file system: its tracks show as files.
        if (!m) return audioDiscFolder(entry.device);
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
