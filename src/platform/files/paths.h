// Windows-style paths ("E:\docs\a.txt") and the native paths they stand for,
// through the current drive table (drive_table.h).
//
// Windows -> native: "/" is accepted as a separator too; "." and ".." are
// applied to the Windows path first, and ".." above the drive root is refused
// (error 52). The longest drive entry that begins the path gives the native
// folder ("C:\My Documents\x" before "C:"). Every further name is looked up
// exactly, else as the entry of its folder whose Windows name (windowsNameOf)
// equals it, else as the one whose Windows name equals it without regard to
// ASCII case (among several, the first in native byte order). So a name stored
// in code page 936 on disk is found by its decoded name and maps back to its
// own bytes. Names that are not found are kept as given, so a new file is
// created under the spelling given.
// A path without a drive is taken relative to the current folder.
//
// Native -> Windows: the entry whose folder is the longest leading part of the
// path (on a tie the first in name order) gives the drive; each further name
// becomes its Windows name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/error.h"
#include "platform/files/drive_table.h"

namespace platform::files {

// True when a native name can stand in a Windows path and in a stored line:
// non-empty UTF-8 without control characters and without \ / : * ? " < > |.
bool isWindowsName(std::string_view name);

// The name a native name has inside the program, or nothing when it has none
// (the entry is then left out of every listing and walk): the name itself when
// it is a Windows name; else, when its bytes are not UTF-8 but read completely
// and cleanly as code page 936 (a disc written by Windows and mounted without
// a character set), the decoded name if that is a Windows name. A clean read
// has no invalid or cut sequence and encodes back to the very same bytes, so
// the decoded name always leads back to the one native name.
std::optional<std::string> windowsNameOf(std::string_view nativeName);

// Case-insensitive (ASCII) equality of two names.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);

struct ResolvedPath {
    const DriveEntry* drive = nullptr;
    std::string windows;        // normal form: "E:\docs\a.txt", a root "E:\"
    std::string native;         // native path; names found take their stored spelling
    std::string nativeFolder;   // native folder that holds the last name ("" for a root)
    std::string lastName;       // the last name as given ("" for a root)
    bool exists = false;        // the whole path exists
    bool folderExists = false;  // the folder that holds the last name exists (true for a root)
    bool isDriveRoot = false;   // "E:\" itself
};

// Resolves a Windows path. Raises 52 for a malformed path or name (also ".."
// above the root and "\\server" paths), 68 for a drive the table does not
// know, and 71 for a drive that holds no disc. A missing name is no error here.
ResolvedPath resolvePath(std::string_view windowsPath);

// Resolves a path that must exist: raises notFound when it is missing and 76
// when the folder that should hold it is missing (besides resolvePath's errors).
ResolvedPath resolveExisting(std::string_view windowsPath, int notFound = err::FileNotFound);

// The native path of a Windows path (resolvePath(...).native).
std::string toNative(std::string_view windowsPath);

// The Windows path of an absolute native path; raises 52 when no drive holds
// it or one of its names has no Windows name.
std::string toWindows(std::string_view nativePath);

// The process's current folder in Windows form.
std::string currentWindowsFolder();

}  // namespace platform::files
