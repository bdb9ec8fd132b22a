// The small ini-like file behind the registry key store and the per-user
// settings store.
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Zelbrin]
//   Path=d:\\zelbrin\\ (the value "d:\zelbrin\")
//   Color=12
//
// A section header holds its name verbatim. Each other line is name=value;
// both are kept verbatim (no trimming) with "\" written as "\\", CR as "\r"
// and LF as "\n"; in a name "=" and "[" are escaped as well ("\=", "\["), so
// the first unescaped "=" ends the name. The file is UTF-8. Empty lines and
// lines before the first section are passed over; a CR before a line's LF is
// taken as part of the line ending (the store itself never writes one).
//
// Section and entry names compare without regard to ASCII case, as the
// registry does; the spelling given first is the one kept.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::system {

struct IniSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;

    const std::string* value(std::string_view entryName) const;
    // Replaces the value of an existing entry or appends a new one.
    void put(std::string_view entryName, std::string_view newValue);
};

struct IniData {
    std::vector<IniSection> sections;

    const IniSection* find(std::string_view sectionName) const;
    IniSection* find(std::string_view sectionName);
    // The section of that name, appended empty when it is missing.
    IniSection& obtain(std::string_view sectionName);

    std::string serialize() const;
    static IniData parse(std::string_view text);
};

// Reads the file; an empty IniData when it does not exist. Only a regular
// file is read: a folder, pipe or device of that name is refused unread.
// Throws platform::Error (70 no permission, 75 not a regular file, ...) when
// the file exists but cannot be read, so that a later write can never
// replace a file that was not understood. Linear in the file's size.
IniData loadIniFile(const std::filesystem::path& file);

// A store's file that could not be read: its native path and the reason in
// words ("没有权限").
struct LoadFailure {
    std::string file;
    std::string reason;
};

// The file read for a store: its data, or empty data and why the file could
// not be read (a missing file is no failure). Never throws for the file.
struct LoadedIni {
    IniData data;
    std::optional<LoadFailure> failure;
};
LoadedIni loadIniStore(const std::filesystem::path& file);

// Writes the whole file atomically: the text goes to a temporary file beside
// it (mode 0600), which is then renamed over the old one. Missing folders
// above it are created. On failure the old file stays as it was and
// std::system_error is thrown.
void saveIniFile(const std::filesystem::path& file, const IniData& data);

// What an edit of a store's data made of it.
enum class IniEdit {
    Changed,    // write the data back
    Unchanged,  // nothing to write
    Refused     // the edit does not apply (a key that is missing): nothing written
};

// The data an update read and edited, and what the edit said.
struct IniUpdate {
    IniData data;
    IniEdit outcome = IniEdit::Unchanged;
};

// Changes one store file that several programs may share: under a lock on
// the file's folder (flock; the folder is made when missing), the file is
// read as it is now, the edit is applied to what was read, and the result is
// written back as saveIniFile does when the edit changed it; then the lock
// is released. So a key another program wrote since this one read the file
// is kept. Throws std::system_error when the folder cannot be made or
// locked, the file cannot be read (nothing is written then) or written (the
// old file stays as it was).
IniUpdate updateIniFile(const std::filesystem::path& file,
                        const std::function<IniEdit(IniData&)>& edit);

}  // namespace platform::system
