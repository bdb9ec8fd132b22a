// Queries of files and folders by Windows path, with the error numbers the
// program tests: 53 file not found, 76 path not found, 52 bad name, 68
// unknown drive, 71 drive without a disc. Every change to a file is made
// beneath a confined root (confined.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::files {

// The attributes of a file or folder (attr:: bits of listing.h); nothing when
// the path is malformed or missing, or its drive holds no disc.
std::optional<std::uint32_t> getAttributes(std::string_view path);

// The length of a file in bytes; 53 when it is missing (or a folder), 76 when
// its folder is missing.
std::uint64_t fileLength(std::string_view path);

// Whether a file or folder of exactly that last name is there (a name spelt
// alike but for letter case is another one); false when its folder is
// missing. Raises what opening the folder raises otherwise (a drive that is
// not there now), so that the caller decides nothing from it.
bool existsExactly(std::string_view path);

}  // namespace platform::files
