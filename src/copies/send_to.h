// The send-to commands of the file list's pop-up menu: a listed file or
// folder is copied into "c:\My Documents\", into "d:\" or into the user's own
// folder (the caption of the menu item, "你的文件夹" until one is chosen).
// A copy goes into the folder under the item's own name, never over an
// existing file or folder; what was copied before a failure stays.
//
// On this system "c:\My Documents" is the documents folder of the drive
// table, made when it is missing; "d:\" is the drive table's D: only when
// that is a folder (fixed) drive: otherwise (by default D: is the first
// optical drive, or missing) "D盘" is refused with unmappedDriveMessage. A
// target folder that does not exist is refused ("文件夹不存在：" + the
// folder) before anything is copied.
#pragma once

#include <string>
#include <string_view>

namespace platform::files {
class DriveTable;
}

namespace copies {

inline constexpr std::string_view MyDocumentsTarget = "c:\\My Documents\\";
inline constexpr std::string_view DriveDTarget = "d:\\";
// The own folder's caption while none has been chosen.
inline constexpr std::string_view NoOwnFolder = "你的文件夹";

inline constexpr std::string_view DefineOwnFolderFirst =
    "首先点击［定义你的文件夹］菜单定义［你的文件夹］";
inline constexpr std::string_view SendErrorTitle = "出现错误，请仔细检查！";

// Whether the drive table's D: is a folder (fixed) drive: the one test by
// which "D盘" and the mirror copy's proposed folder choose D: or C:.
bool driveDIsFolderDrive(const platform::files::DriveTable& drives);

// Whether the drive of a Windows path ("D:\zelbrin\x") stands for a folder
// now: false when the drive table has no such drive, or its folder is
// missing, or it is a CD drive without a disc.
bool driveMapped(std::string_view path);

// The message that refuses a target on a drive that is not mapped, naming
// the target's drive ("驱动器 D: 不存在或没有映射到文件夹，请另选一个文件夹。").
std::string unmappedDriveMessage(std::string_view path);

// Readies the folder a send-to copies into (target, ending in "\"): "" when
// it is there to copy into; else the message that refuses it: its drive not
// mapped (unmappedDriveMessage), the folder missing or no folder
// (missingFolderMessage). makeWhenMissing: a missing folder whose drive is
// mapped is made (the documents folder), "不能建立文件夹: " + the folder + the
// reason when that fails.
std::string readySendTarget(std::string_view target, bool makeWhenMissing);

// The message that refuses a target folder that does not exist.
std::string missingFolderMessage(std::string_view folder);

// The folder the own folder's caption names, ending in exactly one "\":
// "E:\" gives "E:\", "D:\work" gives "D:\work\".
std::string ownFolderTarget(std::string_view caption);

// The error box's text after a failed copy of a folder or of a file.
std::string sendErrorText(bool folder);

}  // namespace copies
