// Where a recorded mirror copy lies: the folder a copy run copied it to.
// The stored formats of mirror copies are in mirror_files.h.
#pragma once

#include <string>
#include <string_view>

namespace copies {

// The folder a copy run wrote the copy at mirrorPath into, for the file at
// indexPath (its path in the index, "E:\docs\a.jpg"): the mirror path less
// "\" and the index path without its first three characters
// ("d:\zelbrin\Photos\docs\a.jpg" gives "d:\zelbrin\Photos"), a drive root
// as "d:\". Only for a path that mirrorPathAccepted accepts; "" otherwise.
std::string mirrorCopyFolder(std::string_view mirrorPath, std::string_view indexPath);

}  // namespace copies
