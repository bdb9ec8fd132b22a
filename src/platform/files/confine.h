// Keeping a path read from a stored file inside a folder.
//
// A stored index may hold any absolute path ("{C:\.bashrc}" as a mirror path),
// and the drive table maps C: to the home folder and Z: to "/". A change is
// made beneath an open root of the confined layer (confined.h), which
// resolves every name beneath it. Until every command does, a change by path
// of a path read from a stored file first passes through confinedNative, so
// that it can only reach files below the folder the command works in.
#pragma once

#include <string>
#include <string_view>

namespace platform::files {

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
// that does not exist holds nothing.
bool isInside(const NativePath& root, const NativePath& path);

#if defined(ZELBRIN_FILES_INTERNAL)
// The native path of windowsPath when it lies inside windowsRoot, both mapped
// through the drive table. Raises the errors of resolvePath (52, 68, 71), and
// 75 "路径不在允许的文件夹里：" + windowsPath when the path is outside.
NativePath confinedNative(std::string_view windowsPath, std::string_view windowsRoot);
#endif  // ZELBRIN_FILES_INTERNAL

}  // namespace platform::files
