// The desktop shortcut: a freedesktop desktop entry that starts the program.
#pragma once

#include <string>
#include <string_view>

namespace desktopentry {

// The shortcut's file name in the desktop folder.
inline constexpr std::string_view FileName = "Zelbrin.desktop";

// The Exec key's value that starts the program at that native path. With a
// portable folder (ZELBRIN_HOME, not empty) the program is started through
// `env ZELBRIN_HOME=<folder>`, so the shortcut opens the same catalogue as the
// running program. Each argument but "env" is put in double quotes, with `"`,
// `` ` ``, `$` and `\` escaped by a backslash inside them and "%" doubled;
// then come the string escapes of the value (a backslash doubled; tab,
// newline and carriage return as \t, \n, \r). "" when an argument cannot be
// written in an entry at all (not UTF-8, or another control character) and
// for an empty program path.
std::string execValue(std::string_view programPath, std::string_view portableFolder = {});

// The whole entry (UTF-8, LF line ends) for the program at that native path;
// "" when execValue has none.
std::string entryText(std::string_view programPath, std::string_view portableFolder = {});

// The native path of the running program ("" when it cannot be told).
std::string runningProgram();

}  // namespace desktopentry
