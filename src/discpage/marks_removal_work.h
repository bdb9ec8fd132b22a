// Taking every tick and mirror path of a disc away (删除光盘上的所有“钩”及
// 映象文件的路径) changes two files: the disc's index (the write that
// switches) and then the mirror disc list red.ini, which no longer names the
// disc. The pending-work record (catalogue/pending_work.h) names the disc
// and its index meanwhile; a start that finds it left, and the index without
// marks, takes the disc out of red.ini.
#pragma once

#include <string_view>

#include "catalogue/pending_work.h"

namespace discpage {

inline constexpr std::string_view MarksRemovalCommand = "remove marks";
inline constexpr std::string_view MarksRemovalCaption = "删除光盘上的所有“钩”及映象文件的路径";

catalogue::PendingWork marksRemovalWork(std::string_view disc, std::string_view indexPath);

// The finisher (catalogue/pending_work.h): a record whose index is not the
// disc's own is not understood; a red.ini that cannot be read is left as it
// is.
catalogue::FinishOutcome finishMarksRemoval(std::string_view programFolder,
                                            const catalogue::PendingWork& work);

}  // namespace discpage
