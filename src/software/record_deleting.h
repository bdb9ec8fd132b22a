// Deleting a software record in the software tree changes two files:
// class.ini loses the record's lines (the write that switches) and then the
// record's file goes. The pending-work record (catalogue/pending_work.h)
// names the record meanwhile. A start that finds it left judges by
// class.ini: when no record line of the name is left, the file goes too;
// otherwise the deletion never took effect and nothing is done.
#pragma once

#include <string_view>

#include "catalogue/pending_work.h"

namespace software {

inline constexpr std::string_view RecordDeleteCommand = "delete software record";
inline constexpr std::string_view RecordDeleteCaption = "删除目录或软件";

catalogue::PendingWork recordDeleteWork(std::string_view name);

// The finisher (catalogue/pending_work.h): a record of a name that is not
// plain is not understood.
catalogue::FinishOutcome finishRecordDelete(std::string_view programFolder,
                                            const catalogue::PendingWork& work);

}  // namespace software
