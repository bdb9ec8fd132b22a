#include "platform/files/system_probe.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <mutex>

#include "platform/files/files_internal.h"
#include "platform/text/text.h"

namespace platform::files {

namespace {

bool isOctal(char c) { return c >= '0' && c <= '7'; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

template <class F>
void forEachLine(std::string_view text, F&& f) {
    while (!text.empty()) {
        auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        f(line);
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
}

// "sr10" after "sr9": by the letters, then by the number that ends the name.
bool deviceNameLess(const std::string& a, const std::string& b) {
    auto split = [](const std::string& s) {
        std::size_t i = s.size();
        while (i > 0 && s[i - 1] >= '0' && s[i - 1] <= '9') --i;
        unsigned long n = i < s.size() ? std::strtoul(s.c_str() + i, nullptr, 10) : 0;
        return std::make_pair(s.substr(0, i), n);
    };
    return split(a) < split(b);
}

bool parseUnsigned(std::string_view s, unsigned& out) {
    if (s.empty()) return false;
    unsigned v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    out = v;
    return true;
}

}  // namespace

std::string decodeMountEscapes(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
            isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            int v = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            out += static_cast<char>(v & 0xFF);
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<MountEntry> parseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    forEachLine(text, [&](std::string_view line) {
        auto f = splitFields(line);
        if (f.size() < 10) return;
        std::size_t dash = 6;
        while (dash < f.size() && f[dash] != "-") ++dash;
        if (dash + 2 >= f.size()) return;
        MountEntry m;
        auto colon = f[2].find(':');
        if (colon == std::string_view::npos || !parseUnsigned(f[2].substr(0, colon), m.major) ||
            !parseUnsigned(f[2].substr(colon + 1), m.minor)) {
            return;
        }
        m.root = decodeMountEscapes(f[3]);
        m.mountPoint = decodeMountEscapes(f[4]);
        for (auto opt : text::split(f[5], ",")) {
            if (opt == "ro") m.readOnly = true;
        }
        m.fsType = decodeMountEscapes(f[dash + 1]);
        m.source = decodeMountEscapes(f[dash + 2]);
        mounts.push_back(std::move(m));
    });
    return mounts;
}

std::string decodeUdevEscapes(std::string_view name) {
    std::string bytes;
    bytes.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            hexValue(name[i + 2]) >= 0 && hexValue(name[i + 3]) >= 0) {
            bytes += static_cast<char>(hexValue(name[i + 2]) * 16 + hexValue(name[i + 3]));
            i += 3;
        } else {
            bytes += name[i];
        }
    }
    return text::isValidUtf8(bytes) ? bytes : text::fromCp936(bytes);
}

std::vector<std::string> parseCdromInfo(std::string_view text) {
    std::vector<std::string> names;
    forEachLine(text, [&](std::string_view line) {
        constexpr std::string_view key = "drive name:";
        if (line.substr(0, key.size()) != key) return;
        for (auto f : splitFields(line.substr(key.size()))) names.emplace_back(f);
    });
    std::sort(names.begin(), names.end(), deviceNameLess);
    return names;
}

std::string parseUserDir(std::string_view text, std::string_view key, const std::string& home) {
    std::string result;
    forEachLine(text, [&](std::string_view line) {
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line.front() == '#') return;
        auto eq = line.find('=');
        if (eq == std::string_view::npos || line.substr(0, eq) != key) return;
        std::string_view v = line.substr(eq + 1);
        while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
        std::string value;
        if (v.substr(0, 5) == "$HOME") {
            value = home + std::string(v.substr(5));
        } else if (!v.empty() && v.front() == '/') {
            value = std::string(v);
        } else {
            value = home + "/" + std::string(v);
        }
        while (value.size() > 1 && value.back() == '/') value.pop_back();
        result = value;
    });
    return result;
}

std::vector<std::string> opticalDevices() {
    std::vector<std::string> names;
    if (DIR* d = ::opendir("/sys/block")) {
        while (dirent* e = ::readdir(d)) {
            std::string_view n = e->d_name;
            if (n.size() > 2 && n.substr(0, 2) == "sr" &&
                n.find_first_not_of("0123456789", 2) == std::string_view::npos) {
                names.emplace_back(n);
            }
        }
        ::closedir(d);
        std::sort(names.begin(), names.end(), deviceNameLess);
    }
    if (names.empty()) {
        std::string info;
        if (detail::readNativeFile("/proc/sys/dev/cdrom/info", info)) names = parseCdromInfo(info);
    }
    for (auto& n : names) n = "/dev/" + n;
    return names;
}

std::vector<MountEntry> currentMounts() {
    // The kernel marks the open mount table with a priority event whenever a
    // file system is mounted or unmounted; only then is it read again.
    static std::mutex lock;
    static detail::Fd fd;
    static bool loaded = false;
    static std::vector<MountEntry> mounts;
    std::lock_guard<std::mutex> guard(lock);
    if (!fd.valid()) fd = detail::Fd(::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC));
    bool reread = !loaded || !fd.valid();
    if (!reread) {
        pollfd p{fd.get(), POLLPRI, 0};
        if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLPRI | POLLERR)) != 0) reread = true;
    }
    if (reread) {
        std::string text;
        bool ok = fd.valid()
                      ? (::lseek(fd.get(), 0, SEEK_SET) == 0 && detail::readAll(fd.get(), text))
                      : detail::readNativeFile("/proc/self/mountinfo", text);
        mounts = ok ? parseMountInfo(text) : std::vector<MountEntry>{};
        loaded = ok && fd.valid();
    }
    return mounts;
}

std::optional<MountEntry> mountOfDevice(const std::string& device,
                                        const std::vector<MountEntry>& mounts) {
    struct stat st {};
    bool isBlock = ::stat(device.c_str(), &st) == 0 && S_ISBLK(st.st_mode);
    char real[PATH_MAX];
    std::string realDevice = ::realpath(device.c_str(), real) ? std::string(real) : device;
    const MountEntry* found = nullptr;
    for (const auto& m : mounts) {
        bool same = isBlock ? (m.major == major(st.st_rdev) && m.minor == minor(st.st_rdev))
                            : (m.source == device || m.source == realDevice);
        if (!same) continue;
        if (m.root == "/") return m;
        if (!found) found = &m;
    }
    if (found) return *found;
    return std::nullopt;
}

std::optional<std::string> labelFromByLabel(const std::string& device,
                                            const std::string& byLabelFolder) {
    char real[PATH_MAX];
    if (!::realpath(device.c_str(), real)) return std::nullopt;
    const std::string realDevice = real;
    DIR* d = ::opendir(byLabelFolder.c_str());
    if (!d) return std::nullopt;
    std::optional<std::string> label;
    while (dirent* e = ::readdir(d)) {
        std::string_view n = e->d_name;
        if (n == "." || n == "..") continue;
        std::string link = detail::nativeJoin(byLabelFolder, n);
        if (::realpath(link.c_str(), real) && realDevice == real) {
            label = decodeUdevEscapes(n);
            break;
        }
    }
    ::closedir(d);
    return label;
}

std::string homeFolder() {
    if (const char* h = std::getenv("HOME"); h && *h) return h;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

std::string envFolder(const char* name) {
    const char* v = std::getenv(name);
    if (!v || *v != '/') return {};  // unset, empty or relative: ignored
    std::string f = v;
    while (f.size() > 1 && f.back() == '/') f.pop_back();
    return f;
}

std::string xdgConfigHome() {
    std::string f = envFolder("XDG_CONFIG_HOME");
    return f.empty() ? homeFolder() + "/.config" : f;
}

std::string userFolder(std::string_view key, std::string_view fallbackName, const std::string& home,
                       const std::string& configHome) {
    std::string text;
    if (detail::readNativeFile(configHome + "/user-dirs.dirs", text)) {
        std::string folder = parseUserDir(text, key, home);
        if (!folder.empty()) return folder;
    }
    return detail::nativeJoin(home, fallbackName);
}

std::string documentsFolder() {
    return userFolder("XDG_DOCUMENTS_DIR", "Documents", homeFolder(), xdgConfigHome());
}

}  // namespace platform::files
