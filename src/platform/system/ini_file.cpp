#include "platform/system/ini_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <optional>
#include <system_error>
#include <unordered_map>

#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/confined.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace platform::system {

namespace {

void appendEscaped(std::string& out, std::string_view s, bool isName) {
    for (char c : s) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '=':
            case '[':
                if (isName) out += '\\';
                out += c;
                break;
            default:
                out += c;
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
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '=')
            return i;
    }
    return std::string_view::npos;
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
    // Names are looked up in indexes (upper-cased name -> position), so a
    // file of many sections or entries reads in time linear in its size.
    IniData data;
    std::unordered_map<std::string, std::size_t> sectionAt;
    std::vector<std::unordered_map<std::string, std::size_t>> entryAt;
    std::size_t current = std::string_view::npos;
    while (!text.empty()) {
        std::size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            const std::string_view name = line.substr(1, line.size() - 2);
            const auto [at, added] =
                sectionAt.try_emplace(platform::text::ucase(name), data.sections.size());
            if (added) {
                data.sections.push_back(IniSection{std::string(name), {}});
                entryAt.emplace_back();
            }
            current = at->second;
            continue;
        }
        std::size_t eq = findNameEnd(line);
        if (current == std::string_view::npos || eq == std::string_view::npos) continue;
        std::string name = unescape(line.substr(0, eq));
        auto& entries = data.sections[current].entries;
        const auto [at, added] =
            entryAt[current].try_emplace(platform::text::ucase(name), entries.size());
        if (added)
            entries.emplace_back(std::move(name), unescape(line.substr(eq + 1)));
        else
            entries[at->second].second = unescape(line.substr(eq + 1));
    }
    return data;
}

IniData loadIniFile(const std::filesystem::path& file) {
    std::string bytes;
    try {
        bytes = files::readRegularFile(file.string());
    } catch (const platform::Error& e) {
        // No such file, or no folder for it: an empty store.
        if (e.number() == platform::err::FileNotFound || e.number() == platform::err::PathNotFound)
            return {};
        throw;
    }
    return IniData::parse(bytes);
}

LoadedIni loadIniStore(const std::filesystem::path& file) {
    try {
        return {loadIniFile(file), std::nullopt};
    } catch (const platform::Error& e) {
        return {{}, LoadFailure{file.string(), e.description()}};
    } catch (const std::bad_alloc&) {
        return {{}, LoadFailure{file.string(), platform::errorText(platform::err::OutOfMemory)}};
    }
}

namespace {

// The store's folder, made beneath the nearest folder that exists.
files::ConfinedRoot storeFolder(const std::filesystem::path& file) {
    std::filesystem::path existing = file.parent_path();
    std::error_code ec;
    while (!existing.empty() && !std::filesystem::is_directory(existing, ec) &&
           existing != existing.root_path())
        existing = existing.parent_path();
    files::ConfinedRoot top =
        files::ConfinedRoot::openNative(existing.empty() ? "." : existing.string());
    const std::string below = file.parent_path().lexically_relative(existing).string();
    if (below.empty() || below == ".") return top;
    top.createFolders(below);
    return top.folder(below);
}

void writeStore(const files::ConfinedRoot& folder, const std::filesystem::path& file,
                const IniData& data) {
    // Only the user may read the stores: they may hold a password.
    folder.write(file.filename().string(), data.serialize(), files::OnExisting::Replace, 0600);
}

std::system_error cannotWrite(const std::filesystem::path& file, const std::string& why) {
    return std::system_error(std::make_error_code(std::errc::io_error),
                             "cannot write " + file.string() + ": " + why);
}

// An exclusive lock on a folder, held while the object lives. The folder is
// opened for reading only, to hold the lock on it: nothing in it changes.
class FolderLock {
  public:
    explicit FolderLock(const std::string& nativeFolder)
        : fd_(open(nativeFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ < 0) raise(errno);
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd_);
            raise(error);
        }
    }
    ~FolderLock() { ::close(fd_); }  // closing releases the lock
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    [[noreturn]] static void raise(int error) {
        throw std::system_error(error, std::generic_category(), "cannot lock the store's folder");
    }
    int fd_;
};

}  // namespace

void saveIniFile(const std::filesystem::path& file, const IniData& data) {
    try {
        writeStore(storeFolder(file), file, data);
    } catch (const Error& e) {
        throw cannotWrite(file, e.description());
    }
}

IniUpdate updateIniFile(const std::filesystem::path& file,
                        const std::function<IniEdit(IniData&)>& edit) {
    try {
        const files::ConfinedRoot folder = storeFolder(file);
        const FolderLock lock(folder.resolvedPath());
        IniUpdate update{loadIniFile(file), IniEdit::Unchanged};
        update.outcome = edit(update.data);
        if (update.outcome == IniEdit::Changed) writeStore(folder, file, update.data);
        return update;
    } catch (const Error& e) {
        throw cannotWrite(file, e.description());
    }
}

}  // namespace platform::system
