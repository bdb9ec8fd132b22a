// Renaming a hard-disk file after the selected text changes the file's name
// and its index line. The rename of the real file is the switch: it is
// recorded as pending work (catalogue/pending_work.h) first, and the index
// line follows it. A start that finds the record left, and the file under its
// new name, gives the line the new name too; a rename that did not happen
// leaves the line as it is. A rename that may have taken effect is never
// taken back.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/pending_work.h"

namespace preview {

inline constexpr std::string_view FileRenameCommand = "rename file";
inline constexpr std::string_view FileRenameCaption = "按选中的文字给文件改名";

// The pending work: the index file, the file's old and new path (Windows paths).
catalogue::PendingWork fileRenameWork(std::string_view indexPath, std::string_view oldPath,
                                      std::string_view newPath);

// True when the rename from oldPath to newPath is on disk: the new name
// there, the old one gone.
bool renamedOnDisk(std::string_view oldPath, std::string_view newPath);

// Completes a rename the last run left: when the file bears its new name and
// the index line still the old one, the line is renamed (the finisher of
// pending_work.h). A record whose names are not in one folder, or whose index
// is not a disc's in "guangpan", is not understood.
catalogue::FinishOutcome finishFileRename(std::string_view programFolder,
                                          const catalogue::PendingWork& work);

}  // namespace preview
