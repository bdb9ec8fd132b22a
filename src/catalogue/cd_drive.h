// The CD drive: finding it among the drives, and the volume label of the disc
// in it (proposed as the name of a new disc). The scan command probes the
// drive for a disc by selecting it in the hidden drive list Form1::Drive1.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

// What the scan dialog proposes as the name when the drive holds no disc.
inline constexpr std::string_view NoDiscName = "你的光驱中没有光盘";

// The root ("E:\") of the first CD-ROM drive in the system's drive list, in
// letter order; nothing when there is none.
std::optional<std::string> findCdDriveRoot();

// Whether the drive table maps the drive of root ("E:\", "e:") as a CD drive.
bool isCdDrive(std::string_view root);

// The volume label of the disc in the drive of root: the whole label, as it
// is (not trimmed, never cut inside a character); "(no label)"
// (platform::files::NoLabel) when it is blank; "" when the query fails (no
// such drive, no disc).
std::string volumeLabelOf(std::string_view root);

// The part of a text before its first NUL character (a label as the system
// hands it over); the text itself is cut the same way.
std::string stripNulls(std::string& originalStr);

}  // namespace catalogue
