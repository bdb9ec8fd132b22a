// Windows-style paths ("E:\docs\a.txt") and the native paths they stand for,
// through the current drive table (drive_table.h).
//
// Windows -> native: "/" is accepted as a separator too; "." and ".." are
// applied to the Windows path first, and ".." above the drive root is refused
// (error 52). The longest drive entry that begins the path gives the native
// folder ("C:\My Documents\x" before "C:"). Every further name is looked up
// exactly, else as the entry of its folder whose Windows name (windowsNameOf)
// equals it, else as the only one whose Windows name equals it without regard
// to ASCII case; several such and none exact raise 75 with AmbiguousNameText
// and the path (the one rule of case-alike names). So a name stored
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

// The refusal of a name that several names spell alike and none exactly
// (reads and changes of the files layer raise 75 with it and the path; the
// look-ups of stored lines tell it too).
inline constexpr std::string_view AmbiguousNameText =
    "有几个文件的名字只是大小写不同，无法确定是哪一个：";

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

// A native (Linux) path, kept apart from the Windows paths of the program.
struct NativePath {
    std::string value;
};

// True when path lies inside root or is root itself, judged on resolved
// paths: the longest existing leading part of each is resolved through every
// link (realpath), the rest is appended name by name. Outside are: a path
// that is not absolute, one whose existing part resolves outside (a link that
// points out, a ".." that climbs above root), one whose missing part holds
// "..", one that names a link that cannot be resolved, and a sibling that
// merely shares the beginning of root's name ("/a/bc" for "/a/b"). A root
// that does not exist holds nothing. (A query: changes are made beneath a
// confined root, confined.h.)
bool isInside(const NativePath& root, const NativePath& path);

}  // namespace platform::files
