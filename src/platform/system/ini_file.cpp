#include "platform/system/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/paths.h"

namespace platform::system {

namespace {

void appendEscaped(std::string& out, std::string_view s, bool isName) {
    for (char c : s) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '=':
            case '[':
                if (isName) out += '\\';
                out += c;
                break;
            default: out += c;
        }
    }
}

std::string unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char next = s[++i];
        out += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return out;
}

// Byte offset of the first "=" not preceded by an escaping backslash.
std::size_t findNameEnd(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') ++i;
        else if (line[i] == '=') return i;
    }
    return std::string_view::npos;
}

[[noreturn]] void throwErrno(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

const std::string* IniSection::value(std::string_view entryName) const {
    for (const auto& [n, v] : entries)
        if (files::sameNameIgnoringCase(n, entryName)) return &v;
    return nullptr;
}

void IniSection::put(std::string_view entryName, std::string_view newValue) {
    for (auto& [n, v] : entries) {
        if (files::sameNameIgnoringCase(n, entryName)) {
            v = newValue;
            return;
        }
    }
    entries.emplace_back(entryName, newValue);
}

const IniSection* IniData::find(std::string_view sectionName) const {
    for (const auto& s : sections)
        if (files::sameNameIgnoringCase(s.name, sectionName)) return &s;
    return nullptr;
}

IniSection* IniData::find(std::string_view sectionName) {
    return const_cast<IniSection*>(std::as_const(*this).find(sectionName));
}

IniSection& IniData::obtain(std::string_view sectionName) {
    if (IniSection* s = find(sectionName)) return *s;
    sections.push_back(IniSection{std::string(sectionName), {}});
    return sections.back();
}

std::string IniData::serialize() const {
    std::string out;
    for (const auto& s : sections) {
        if (!out.empty()) out += '\n';
        out += '[';
        out += s.name;
        out += "]\n";
        for (const auto& [n, v] : s.entries) {
            appendEscaped(out, n, true);
            out += '=';
            appendEscaped(out, v, false);
            out += '\n';
        }
    }
    return out;
}

IniData IniData::parse(std::string_view text) {
    IniData data;
    IniSection* current = nullptr;
    while (!text.empty()) {
        std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            current = &data.obtain(line.substr(1, line.size() - 2));
            continue;
        }
        std::size_t eq = findNameEnd(line);
        if (current == nullptr || eq == std::string_view::npos) continue;
        current->put(unescape(line.substr(0, eq)), unescape(line.substr(eq + 1)));
    }
    return data;
}

IniData loadIniFile(const std::filesystem::path& file) {
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return {};  // no such file
        throwErrno("cannot read " + file.string());
    }
    std::string text;
    char buffer[8192];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int error = errno;
            ::close(fd);
            errno = error;
            throwErrno("cannot read " + file.string());
        }
        if (n == 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return IniData::parse(text);
}

void saveIniFile(const std::filesystem::path& file, const IniData& data) {
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    try {
        // Only the user may read the stores: they may hold a password.
        files::CommittedFile out(file.string(), files::OnExisting::Replace, 0600);
        out.write(data.serialize());
        out.commit();
    } catch (const Error& e) {
        throw std::system_error(std::make_error_code(std::errc::io_error),
                                "cannot write " + file.string() + ": " + e.description());
    }
}

}  // namespace platform::system
