#include "platform/files/program_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/error.h"
#include "platform/files/drive_table.h"
#include "platform/files/files_internal.h"
#include "platform/files/listing.h"
#include "platform/files/paths.h"
#include "platform/files/system_probe.h"

namespace platform::files {

namespace {

// mkdir -p; false when a level cannot be made.
bool makeFolders(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    std::string parent = detail::nativeParent(folder);
    if (parent != folder && !makeFolders(parent)) return false;
    return ::mkdir(folder.c_str(), 0777) == 0 || errno == EEXIST;
}

int installInto(const std::string& from, const std::string& to) {
    if (!makeFolders(to)) return 0;
    int copied = 0;
    for (const auto& e : listNativeFolder(from)) {
        const std::string src = detail::nativeJoin(from, e.name);
        const std::string dst = detail::nativeJoin(to, e.name);
        if (e.isFolder()) {
            copied += installInto(src, dst);
            continue;
        }
        struct stat st {};
        if (::lstat(dst.c_str(), &st) == 0) continue;
        try {
            // The installed copy belongs to the user, who may change it:
            // it is made writable.
            detail::copyNativeFile(src, dst);
            ++copied;
        } catch (const Error&) {
            // A resource that cannot be copied is left out; the others still are.
        }
    }
    return copied;
}

}  // namespace

std::string portableFolder() { return envFolder("ZELBRIN_HOME"); }

std::string dataFolder() {
    if (auto home = portableFolder(); !home.empty()) return home;
    auto xdg = envFolder("XDG_DATA_HOME");
    return (xdg.empty() ? homeFolder() + "/.local/share" : xdg) + "/zelbrin";
}

std::string configFolder() {
    if (auto home = portableFolder(); !home.empty()) return home;
    return xdgConfigHome() + "/zelbrin";
}

std::string ProgramFolder() {
    const std::string data = dataFolder();
    try {
        return toWindows(data);
    } catch (const Error&) {
        DriveTable& table = DriveTable::current();
        for (char letter = 'Y'; letter >= 'D'; --letter) {
            std::string name{letter, ':'};
            if (table.find(name)) continue;
            table.set({.name = name, .folder = data});
            return toWindows(data);
        }
        throw;
    }
}

std::string resourcesFolder() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "resources";
    return detail::nativeJoin(detail::nativeParent(std::string(buf, static_cast<std::size_t>(n))),
                              "resources");
}

int installResources(const std::string& resources, const std::string& data) {
    struct stat st {};
    if (::stat(resources.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return 0;
    return installInto(resources, data);
}

void prepareProgramFolder() {
    makeFolders(dataFolder());
    makeFolders(configFolder());
    installResources(resourcesFolder(), dataFolder());
}

}  // namespace platform::files
