// The small rules of start-up that stand on their own.
#pragma once

#include <string>
#include <string_view>

#include "platform/controls/control.h"

namespace platform {
class Ui;
}

namespace startup {

// The file that keeps the CD drive's root, in the program folder.
inline constexpr std::string_view CdDriveFileName = "disk.ini";
// The root proposed on a first run when no CD-ROM drive was found.
inline constexpr std::string_view ProposedCdDrive = "t:\\";

// The mirror colour of a stored colour number ("Error" or "" mean 12): the
// palette colour for 0 to 15, colour 12 for any other number. The number is
// the text's numeric value rounded half to even (0 for no number).
platform::Color mirrorColour(std::string_view stored);

// A drive root from the first character of a text ("e:\data" -> "e:\"; "" ->
// ":\"). The CD drive file's text is trimmed of blanks first.
std::string rootOfFirstCharacter(std::string_view text);

// The caption of the own send-to folder's menu item for a stored setting.
std::string sendToCaption(std::string_view setting);

// The box shown for a stored file that cannot be read (no permission; a
// folder, pipe or device of that name): it names the file and the reason and
// says that the program goes on without it and will not write over it.
std::string unreadableFileMessage(std::string_view file, std::string_view reason);
void reportUnreadableFile(platform::Ui& ui, std::string_view file, std::string_view reason);

}  // namespace startup
