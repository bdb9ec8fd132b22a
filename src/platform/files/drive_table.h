// The drive table: which native folder each Windows drive letter (or Windows
// folder such as "C:\My Documents") stands for. Paths inside the program and in
// stored files stay Windows-style; only the files layer turns them into native
// paths through the table (see paths.h).
//
// Defaults: "C:\My Documents" -> the documents folder (XDG_DOCUMENTS_DIR, else
// ~/Documents); "C:" -> the home folder; "D:", "E:", ... -> the optical drives
// in the system's order, each standing for the mount point of the disc in it
// while one is mounted; "Z:" -> "/".
//
// drives.ini in the configuration folder adds or changes entries. Syntax (UTF-8):
//
//     # a comment (also ";")
//     [E:]                       a drive letter, or a Windows folder: [C:\My Documents]
//     folder = ~/cd/data01       native folder (absolute, or "~/" for the home folder)
//     device = /dev/sr1          or: an optical device; the drive is its mount point
//     type = cdrom               cdrom or fixed (default: cdrom with a device, else fixed)
//     label = DATA_01            volume label of a folder that stands in for a CD
//
// Keys are optional and change only what they name; a section for a new name
// needs a folder or a device. "folder" and "device" replace each other; an
// entry left with neither (such as "folder =" alone) is removed.
//
// A line the table cannot use (a malformed section name and the lines of its
// section, a line outside any section or without "=", an unknown key, a type
// other than cdrom or fixed, a relative folder, a new name without folder or
// device) changes nothing: the drives keep their defaults for it, and the
// table keeps the line as a problem, which start-up tells the user about.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::files {

enum class DriveKind { Fixed, CdRom };

// A line of drives.ini that was not used: its number (from 1), its text and
// why (in the words shown to the user).
struct DriveIniProblem {
    int line = 0;
    std::string text{};
    std::string reason{};
    bool operator==(const DriveIniProblem&) const = default;
};

struct DriveEntry {
    std::string name{};    // "E:" or "C:\My Documents": upper-case letter, no final "\"
    std::string folder{};  // native folder (unused when device is set)
    std::string device{};  // optical device node; the drive is where its disc is mounted
    DriveKind kind = DriveKind::Fixed;
    std::string label{};  // volume label given by drives.ini or a test
    bool ready = true;    // a folder-backed CD drive holds its "disc"

    bool isLetter() const { return name.size() == 2; }
};

// The normal form of a drive name: "e", "e:", "E:\" -> "E:"; "c:/My Documents\"
// -> "C:\My Documents". Empty when the text is no drive name.
std::string normalizeDriveName(std::string_view name);

class DriveTable {
  public:
    DriveTable() = default;

    // The defaults of this system, then the drives.ini of configFolder.
    static DriveTable systemDefault(const std::string& configFolder);
    // The defaults alone.
    static DriveTable defaults();

    // Adds the entry, or replaces the entry of the same name.
    void set(DriveEntry entry);
    bool remove(std::string_view name);
    // The entry of a name (any case, "E:" or "E:\"); null when there is none.
    DriveEntry* find(std::string_view name);
    const DriveEntry* find(std::string_view name) const;
    // In name order: "C:", "C:\My Documents", "D:", ...
    const std::vector<DriveEntry>& entries() const { return entries_; }

    // Applies the text of a drives.ini (syntax above).
    void applyIni(std::string_view text);
    // The lines of the drives.ini texts applied so far that were not used.
    const std::vector<DriveIniProblem>& problems() const { return problems_; }
    // The message that tells the user about them; "" when there are none.
    std::string problemReport() const;

    // The native folder the drive stands for now; nothing while it holds no
    // disc (an optical drive without a mounted disc, a folder-backed CD drive
    // that is not ready). An optical drive holding an audio CD that is not
    // mounted stands for the folder of its track files (audio_disc.h).
    std::optional<std::string> folderOf(const DriveEntry& entry) const;

    // The table every file operation uses. Built from the system and the
    // configuration folder's drives.ini on first use; tests replace it.
    static DriveTable& current();
    static void setCurrent(DriveTable table);

  private:
    std::vector<DriveEntry> entries_;
    std::vector<DriveIniProblem> problems_;
};

// Puts a drive table in place for the lifetime of the object and restores the
// one before it afterwards (tests).
class ScopedDriveTable {
  public:
    explicit ScopedDriveTable(DriveTable table);
    ~ScopedDriveTable();
    ScopedDriveTable(const ScopedDriveTable&) = delete;
    ScopedDriveTable& operator=(const ScopedDriveTable&) = delete;
    DriveTable& table() { return DriveTable::current(); }

  private:
    DriveTable saved_;
};

}  // namespace platform::files
