// The CD drive: finding it among the drives, the volume label of the disc in
// it (proposed as the name of a new disc), and the probe for a disc.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

// What the scan dialog proposes as the name when the drive holds no disc.
inline constexpr std::string_view NoDiscName = "你的光驱中没有光盘";
// The label of a disc whose label is blank.
inline constexpr std::string_view NoLabel = "(no label)";

// The root ("E:\") of the first CD-ROM drive in the system's drive list, in
// letter order; nothing when there is none.
std::optional<std::string> findCdDriveRoot();

// The volume label of the disc in the drive of root: the whole label, as it
// is (not trimmed, never cut inside a character); "(no label)" when it is
// blank; "" when the query fails (no such drive, no disc).
std::string volumeLabelOf(std::string_view root);

// The disc probe: 0 when the drive of root holds a disc, else the error the
// drive gives (68: device unavailable, no disc). Any outcome other than 68
// counts as a disc in the drive.
int probeDisc(std::string_view root);

}  // namespace catalogue
