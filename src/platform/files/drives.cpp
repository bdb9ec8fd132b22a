#include "platform/files/drives.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/error.h"
#include "platform/files/audio_disc.h"
#include "platform/files/drive_table.h"
#include "platform/files/files_internal.h"
#include "platform/files/system_probe.h"
#include "platform/text/text.h"

namespace platform::files {

namespace {

// The letter entry of a root or path ("E:\", "e:", "E:\docs").
const DriveEntry* letterEntry(std::string_view root) {
    if (root.size() < 2 || root[1] != ':') return nullptr;
    return DriveTable::current().find(root.substr(0, 2));
}

// The native folder of a drive that holds its disc.
std::optional<std::string> readyFolder(const DriveEntry& e) {
    auto folder = DriveTable::current().folderOf(e);
    struct stat st {};
    if (!folder || ::stat(folder->c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    return folder;
}

std::string mountPointLabel(const std::string& mountPoint) {
    std::string parent = detail::nativeParent(mountPoint);
    const char* user = std::getenv("USER");
    std::string u = user ? user : "";
    if (parent == "/media" ||
        (!u.empty() && (parent == "/media/" + u || parent == "/run/media/" + u))) {
        return detail::nativeBaseName(mountPoint);
    }
    return {};
}

void doorIoctl(std::string_view root, unsigned long request) {
    const DriveEntry* entry = nullptr;
    if (root.empty()) {
        for (const auto& e : DriveTable::current().entries()) {
            if (e.kind == DriveKind::CdRom && !e.device.empty()) {
                entry = &e;
                break;
            }
        }
    } else {
        entry = letterEntry(root);
    }
    if (!entry || entry->device.empty()) return;
    detail::Fd fd(::open(entry->device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.valid()) ::ioctl(fd.get(), request, 0);
}

}  // namespace

std::vector<std::string> driveRoots() {
    std::vector<std::string> roots;
    for (const auto& e : DriveTable::current().entries()) {
        if (e.isLetter()) roots.push_back(e.name + "\\");
    }
    return roots;  // the table keeps its entries in name order
}

int driveType(std::string_view root) {
    const DriveEntry* e = letterEntry(root);
    if (!e) return drive_type::Unknown;
    return e->kind == DriveKind::CdRom ? drive_type::CdRom : drive_type::Fixed;
}

std::string volumeLabel(std::string_view root) {
    const DriveEntry* e = letterEntry(root);
    if (!e) return {};
    auto folder = readyFolder(*e);
    if (!folder) return {};
    std::string label;
    if (isAudioDiscFolder(*folder)) return e->label.empty() ? std::string(AudioCdLabel) : e->label;
    if (!e->device.empty()) {
        if (auto l = labelFromByLabel(e->device)) label = *l;
    }
    if (label.empty()) label = e->label;
    if (label.empty()) label = mountPointLabel(*folder);
    return text::trim(label).empty() ? std::string(NoLabel) : label;
}

void requireReady(std::string_view root) {
    const DriveEntry* e = letterEntry(root);
    if (!e || !readyFolder(*e)) raise(err::DeviceUnavailable);
}

void openDoor(std::string_view root) { doorIoctl(root, CDROMEJECT); }

void closeDoor(std::string_view root) { doorIoctl(root, CDROMCLOSETRAY); }

}  // namespace platform::files
