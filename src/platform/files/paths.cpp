#include "platform/files/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "platform/error.h"
#include "platform/files/files_internal.h"
#include "platform/text/text.h"

namespace platform::files {

namespace {

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::vector<std::string> splitAt(std::string_view s, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= s.size()) {
        auto end = s.find(sep, start);
        if (end == std::string_view::npos) end = s.size();
        if (end > start) parts.emplace_back(s.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Components of a native absolute path with "." and ".." applied.
std::vector<std::string> nativeComponents(std::string_view path) {
    std::vector<std::string> out;
    for (auto& part : splitAt(path, '/')) {
        if (part == ".") continue;
        if (part == "..") {
            if (!out.empty()) out.pop_back();
            continue;
        }
        out.push_back(std::move(part));
    }
    return out;
}

bool isDirectory(const std::string& nativePath) {
    struct stat st {};
    return ::stat(nativePath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The native entry of folder whose Windows name is name: one whose Windows
// name equals it exactly, else the only one whose Windows name equals it
// without regard to ASCII case; several such and none exact: ambiguous.
detail::CaseAlikeNames findByWindowsName(const std::string& folder, const std::string& name) {
    const int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return {};
    detail::CaseAlikeNames found = detail::findByWindowsName(fd, name);
    ::close(fd);
    return found;
}

// The UTF-8 text of bytes that read completely and cleanly as code page 936,
// else nothing.
std::optional<std::string> cleanCp936(std::string_view bytes) {
    std::string decoded = text::fromCp936(bytes);
    // U+FFFD stands for an invalid or cut sequence; U+DC80..U+DCFF (ED B2 xx,
    // ED B3 xx) for a byte kept as it was.
    for (const std::string_view mark : {"\xEF\xBF\xBD", "\xED\xB2", "\xED\xB3"}) {
        if (decoded.find(mark) != std::string::npos) return std::nullopt;
    }
    if (text::toCp936(decoded) != bytes) return std::nullopt;
    return decoded;
}

struct WindowsParts {
    std::string drive;                    // "E:"
    std::vector<std::string> components;  // names below the root
};

WindowsParts splitWindowsPath(std::string_view windowsPath) {
    std::string p(windowsPath);
    for (auto& c : p) {
        if (c == '/') c = '\\';
    }
    if (p.empty() || p.rfind("\\\\", 0) == 0) raise(err::BadFileName);
    WindowsParts parts;
    std::string rest;
    if (p.size() >= 2 && p[1] == ':') {
        char letter = upperAscii(p[0]);
        if (letter < 'A' || letter > 'Z') raise(err::BadFileName);
        parts.drive = std::string{letter, ':'};
        rest = p.substr(2);
    } else {
        std::string cur = currentWindowsFolder();
        parts.drive = cur.substr(0, 2);
        rest = p.front() == '\\' ? p : cur.substr(2) + "\\" + p;
    }
    for (auto& part : splitAt(rest, '\\')) {
        if (part == ".") continue;
        if (part == "..") {
            if (parts.components.empty()) raise(err::BadFileName);
            parts.components.pop_back();
            continue;
        }
        if (!isWindowsName(part)) raise(err::BadFileName);
        parts.components.push_back(std::move(part));
    }
    return parts;
}

}  // namespace

bool isWindowsName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) return false;
        if (std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
            return false;
        }
    }
    return text::isValidUtf8(name);
}

std::optional<std::string> windowsNameOf(std::string_view nativeName) {
    if (isWindowsName(nativeName)) return std::string(nativeName);
    if (nativeName.empty() || text::isValidUtf8(nativeName)) return std::nullopt;
    auto decoded = cleanCp936(nativeName);
    if (!decoded || !isWindowsName(*decoded)) return std::nullopt;
    return decoded;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upperAscii(a[i]) != upperAscii(b[i])) return false;
    }
    return true;
}

namespace detail {

WindowsLocation locateWindows(std::string_view windowsPath) {
    WindowsParts parts = splitWindowsPath(windowsPath);
    const DriveTable& table = DriveTable::current();

    // The longest entry that begins the path.
    WindowsLocation l;
    for (const auto& e : table.entries()) {
        auto names = splitAt(e.name, '\\');
        if (names.empty() || names[0] != parts.drive ||
            names.size() - 1 > parts.components.size()) {
            continue;
        }
        bool match = true;
        for (std::size_t i = 1; i < names.size() && match; ++i) {
            match = sameNameIgnoringCase(names[i], parts.components[i - 1]);
        }
        if (match && (!l.drive || names.size() - 1 > l.driveNames)) {
            l.drive = &e;
            l.driveNames = names.size() - 1;
        }
    }
    if (!l.drive) raise(err::DeviceUnavailable);
    l.letter = std::move(parts.drive);
    l.names = std::move(parts.components);
    return l;
}

std::optional<std::string> realNative(const std::string& native) {
    char buf[PATH_MAX];
    if (native.empty() || native.front() != '/' || !::realpath(native.c_str(), buf)) {
        return std::nullopt;
    }
    return std::string(buf);
}

std::optional<std::string> resolvedNative(const std::string& native) {
    if (native.empty() || native.front() != '/') return std::nullopt;
    std::string existing = native;
    std::vector<std::string> missing;  // the names below the existing part, last first
    for (;;) {
        if (std::optional<std::string> real = realNative(existing)) {
            std::string r = *real;
            for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
                if (*it == "..") return std::nullopt;
                if (it->empty() || *it == ".") continue;
                r = nativeJoin(r, *it);
            }
            return r;
        }
        if (errno != ENOENT || existing == "/") return std::nullopt;
        struct stat st {};
        if (::lstat(existing.c_str(), &st) == 0) return std::nullopt;  // a dangling link
        missing.push_back(nativeBaseName(existing));
        existing = nativeParent(existing);
    }
}

}  // namespace detail

bool isInside(const NativePath& root, const NativePath& path) {
    const std::optional<std::string> r = detail::realNative(root.value);
    const std::optional<std::string> p = detail::resolvedNative(path.value);
    if (!r || !p) return false;
    if (*p == *r || *r == "/") return true;
    return p->size() > r->size() && p->compare(0, r->size(), *r) == 0 && (*p)[r->size()] == '/';
}

ResolvedPath resolvePath(std::string_view windowsPath) {
    detail::WindowsLocation location = detail::locateWindows(windowsPath);
    const DriveTable& table = DriveTable::current();
    const DriveEntry* drive = location.drive;
    const std::size_t used = location.driveNames;
    WindowsParts parts{std::move(location.letter), std::move(location.names)};
    auto folder = table.folderOf(*drive);
    if (!folder) raise(err::DiskNotReady);

    ResolvedPath r;
    r.drive = drive;
    r.windows = parts.drive + "\\";
    for (std::size_t i = 0; i < parts.components.size(); ++i) {
        if (i > 0) r.windows += '\\';
        r.windows += parts.components[i];
    }
    r.isDriveRoot = parts.components.empty();

    std::string cur = *folder;
    const std::size_t n = parts.components.size();
    if (used == n) {  // the drive's own folder
        r.native = cur;
        r.exists = r.folderExists = isDirectory(cur);
        r.nativeFolder = r.isDriveRoot ? std::string() : detail::nativeParent(cur);
        r.lastName = r.isDriveRoot ? std::string() : parts.components.back();
        return r;
    }
    r.lastName = parts.components.back();
    bool curIsDir = isDirectory(cur);
    for (std::size_t i = used; i < n; ++i) {
        const std::string& name = parts.components[i];
        const bool last = i + 1 == n;
        std::string candidate = detail::nativeJoin(cur, name);
        struct stat st {};
        bool found = false;
        if (curIsDir) {
            if (::stat(candidate.c_str(), &st) == 0) {
                found = true;
            } else if (errno == ENOENT) {
                const detail::CaseAlikeNames alike = findByWindowsName(cur, name);
                if (alike.ambiguous()) detail::refuseAmbiguous(r.windows);
                if (auto other = alike.chosen()) {
                    std::string alt = detail::nativeJoin(cur, *other);
                    if (::stat(alt.c_str(), &st) == 0) {
                        candidate = alt;
                        found = true;
                    }
                }
            }
        }
        if (!found) {
            r.native = candidate;
            for (std::size_t j = i + 1; j < n; ++j)
                r.native = detail::nativeJoin(r.native, parts.components[j]);
            r.folderExists = last && curIsDir;
            r.nativeFolder = last ? cur : detail::nativeParent(r.native);
            return r;
        }
        if (last) {
            r.native = candidate;
            r.nativeFolder = cur;
            r.exists = r.folderExists = true;
            return r;
        }
        cur = candidate;
        curIsDir = S_ISDIR(st.st_mode);
    }
    return r;  // not reached
}

ResolvedPath resolveExisting(std::string_view windowsPath, int notFound) {
    ResolvedPath r = resolvePath(windowsPath);
    if (!r.exists) raise(r.folderExists ? notFound : err::PathNotFound);
    return r;
}

std::string toNative(std::string_view windowsPath) { return resolvePath(windowsPath).native; }

std::string toWindows(std::string_view nativePath) {
    if (nativePath.empty() || nativePath.front() != '/') raise(err::BadFileName);
    const auto parts = nativeComponents(nativePath);
    const DriveTable& table = DriveTable::current();
    const DriveEntry* best = nullptr;
    std::size_t bestLen = 0;
    for (const auto& e : table.entries()) {
        auto folder = table.folderOf(e);
        if (!folder) continue;
        auto root = nativeComponents(*folder);
        if (root.size() > parts.size()) continue;
        if (!std::equal(root.begin(), root.end(), parts.begin())) continue;
        if (!best || root.size() > bestLen) {
            best = &e;
            bestLen = root.size();
        }
    }
    if (!best) raise(err::BadFileName);
    std::string out = best->name;
    if (bestLen == parts.size() && best->isLetter()) out += '\\';
    for (std::size_t i = bestLen; i < parts.size(); ++i) {
        const auto shown = windowsNameOf(parts[i]);
        if (!shown) raise(err::BadFileName);
        out += '\\';
        out += *shown;
    }
    return out;
}

std::string currentWindowsFolder() {
    char buf[PATH_MAX];
    if (!::getcwd(buf, sizeof buf)) raise(err::PathNotFound);
    return toWindows(buf);
}

}  // namespace platform::files
