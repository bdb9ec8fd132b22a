// Dropping a hard-disk file with its line: the real file is deleted first
// (the step that cannot be taken back), then its line leaves the index file.
// The pending-work record (catalogue/pending_work.h) names the index file
// and the line while they change; a start that finds it left drops the line
// when the file is gone, so a deleted file never stays listed.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/pending_work.h"

namespace discpage {

inline constexpr std::string_view LineDropCommand = "drop file line";
inline constexpr std::string_view LineDropCaption = "从目录文件中删除这个文件";

// The pending work: the index file (its Windows path), the line's path and
// size as the index holds them, and the real file (its Windows path).
catalogue::PendingWork lineDropWork(std::string_view indexPath, std::string_view linePath,
                                    std::string_view sizeText, std::string_view realFile);

// Whether path is the index file of a disc in the program folder's
// "guangpan" (a plain disc name and ".wcd").
bool isDiscIndexPath(std::string_view programFolder, std::string_view path);

// A finisher's change of a disc's index: the index read (a missing one
// leaves nothing to do), edited (nothing, or the same text: nothing to do)
// and written back; a failure to read or write waits for the index.
catalogue::FinishOutcome finishIndexEdit(
    std::string_view programFolder, const std::string& indexPath,
    const std::function<std::optional<std::string>(std::string)>& edit);

// Completes a drop the last run left (the finisher of pending_work.h): when
// the real file is gone and its line is still in the index, the line is
// dropped. A record whose index is not a disc's in "guangpan", or whose file
// is not the one its line names, is not understood.
catalogue::FinishOutcome finishLineDrop(std::string_view programFolder,
                                        const catalogue::PendingWork& work);

}  // namespace discpage
