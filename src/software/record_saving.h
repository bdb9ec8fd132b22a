// Saving a software record that is filed anew (a new record, or an edited one
// moved to another category) changes two files: the record's file and
// class.ini. The record's file is written first and class.ini after it; the
// pending-work record (catalogue/pending_work.h) names the record and its
// category while they are written. A start that finds the record left
// completes the filing when the record's file holds the new category, so a
// record is never filed without its file and never filed twice.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "catalogue/pending_work.h"

namespace software {

// The command's name in the pending-work record, and the caption the start
// tells when it completed one.
inline constexpr std::string_view RecordSavingCommand = "save software record";
inline constexpr std::string_view RecordSavingCaption = "保存软件说明";

// The pending work of filing the record name under categoryPath; moved: its
// other record lines are taken away (an edited record changing category).
catalogue::PendingWork recordSavingWork(std::string_view name, std::string_view categoryPath,
                                        bool moved);

// The text of class.ini with the record filed under categoryPath: a new
// record's text as it is when a record line of name is there already (filing
// is done once); a moved record without the name's other lines first.
// Nothing when the category has no line.
std::optional<std::string> withRecordFiledOnce(std::string_view text, std::string_view categoryPath,
                                               std::string_view name, bool moved);

// Completes a saving the last run left: when the record's file exists and
// holds the category, class.ini gets the filing it lacks (the finisher of
// catalogue/pending_work.h).
catalogue::FinishOutcome finishRecordSaving(std::string_view programFolder,
                                            const catalogue::PendingWork& work);

}  // namespace software
