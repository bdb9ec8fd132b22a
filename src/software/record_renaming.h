// Renaming a software record in the software tree changes two files: the
// record's file and class.ini. The file gets its new name beside the old one
// first (a new file of the same text, its name line giving the new name),
// class.ini is the write that switches, and
// the old name goes last; the pending-work record (catalogue/pending_work.h)
// names both names meanwhile. A start that finds the record left judges by
// class.ini: when it files the record under its new name the old file name
// goes, otherwise the new one does, so the tree and the files always agree.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/pending_work.h"

namespace software {

// The command's name in the pending-work record, and the caption (the menu
// text) the start tells when it finished or took back one.
inline constexpr std::string_view RecordRenameCommand = "rename software record";
inline constexpr std::string_view RecordRenameCaption = "修改目录或软件名";

catalogue::PendingWork recordRenameWork(std::string_view oldName, std::string_view newName);

// True when the text has a record line of the name (as the loader reads it).
bool holdsRecordLine(std::string_view text, std::string_view name);

// Completes or takes back a rename the last run left: the file name that
// class.ini no longer (or not yet) names is removed while the other is
// there (the finisher of catalogue/pending_work.h).
catalogue::FinishOutcome finishRecordRename(std::string_view programFolder,
                                            const catalogue::PendingWork& work);

// The record text with its name line (every line of the key "软件名称",
// as the reader finds it) giving name; every other byte as it is.
std::string withRecordName(std::string_view text, std::string_view name);

}  // namespace software
