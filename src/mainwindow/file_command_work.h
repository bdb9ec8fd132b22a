// The start-up's finishers of the commands that change a stored file beside
// another file: saving a software record that is filed anew
// (software/record_saving.h), renaming a record in the software tree
// (software/record_renaming.h), dropping a hard-disk file with its line
// (discpage/line_drop_work.h) and renaming a file after the selected text
// (preview/file_rename_work.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "catalogue/pending_work.h"

// Deals with the work when it is one of those commands: the sentence to tell
// ("" when nothing was left to do). Nothing for any other command.
std::optional<std::string> finishFileCommandWork(std::string_view programFolder,
                                                 const catalogue::PendingWork& work);
