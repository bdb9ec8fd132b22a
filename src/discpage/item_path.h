// The pieces of a listed row's place on disc that the commands acting on it
// share (opening it, sending it to a folder): names taken from the disc tree
// come from an index file that may have been made elsewhere, so none of them
// may be "." or "..", and a catalogued hard-disk folder's items lie below the
// folder's parent named in the index's first line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace discpage {

// True when every "\"-separated name of a path is a plain name: not empty,
// not "." and not "..".
bool plainNames(std::string_view path);

// The parent of a catalogued hard-disk folder (HardDiscBase of its index
// file's first line; "" for an empty index); nothing when the index file
// cannot be read.
std::optional<std::string> hardDiscBaseOf(std::string_view programFolder, std::string_view disc);

}  // namespace discpage
