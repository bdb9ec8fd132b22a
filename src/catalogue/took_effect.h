// A write that raised after its rename (the folder sync the disk did not
// confirm) has taken effect all the same: the target holds the new text. A
// command judges by that, and never takes back a step that took effect.
#pragma once

#include <string_view>

namespace catalogue {

// True when the stored file at the Windows path reads as text (code page 936
// decoded); false when it does not or cannot be read.
bool holdsText(std::string_view path, std::string_view text) noexcept;

}  // namespace catalogue
