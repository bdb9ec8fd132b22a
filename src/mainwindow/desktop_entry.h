// The desktop shortcut: a freedesktop desktop entry that starts the program.
#pragma once

#include <string>
#include <string_view>

namespace desktopentry {

// The shortcut's file name in the desktop folder.
inline constexpr std::string_view FileName = "Zelbrin.desktop";

// The program path as the Exec key's value: in double quotes, with `"`, `` ` ``,
// `$` and `\` escaped by a backslash inside them, "%" doubled, and then the
// string escapes of the value (a backslash doubled; tab, newline and carriage
// return as \t, \n, \r).
std::string execValue(std::string_view programPath);

// The whole entry (UTF-8, LF line ends) for the program at that native path.
std::string entryText(std::string_view programPath);

// The native path of the running program ("" when it cannot be told).
std::string runningProgram();

}  // namespace desktopentry
