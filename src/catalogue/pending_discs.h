// The second half of the commands that change a disc's files together:
// changing a disc's name, deleting a disc and importing an index file. Each
// records itself (pending_work.h) before its first change, makes its new
// files beside the old ones, writes the catalogue (the one write that
// switches from the old state to the new) and then settles: judging by the
// catalogue as it now is, it either finishes (the old files go, the mirror
// disc list follows the new name) or takes its new files away again. The
// start-up settles a record the last run left the same way, so a command cut
// short anywhere ends old or new as a whole.
//
// Settling changes only what is left to do: done twice, it changes nothing
// the second time. A file is removed only under the exact name recorded.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "catalogue/pending_work.h"
#include "platform/error.h"

namespace catalogue {

// The commands' names in the record.
inline constexpr std::string_view ChangeDiscWork = "change disc";
inline constexpr std::string_view DeleteDiscWork = "delete disc";
inline constexpr std::string_view ImportWork = "import";

// What settling found and did.
struct PendingOutcome {
    bool switched = false;  // the catalogue has the new state: finished, else taken back
    bool changed = false;   // a file was removed, renamed or written while settling
    // The first step that failed (the catalogue could not be read, a file
    // could not be removed or written) and the Windows path it concerned;
    // the record must then stay for the next start.
    std::optional<platform::Error> failure;
    std::string failedPath;
    bool failedRemoval = false;  // the failed step was a removal

    bool complete() const { return !failure; }
};

// ---- the records ----

// A disc renamed from oldName to newName in "guangpan" (the record's fields:
// "old", "new"; "make" for each new file made before the switch; after it,
// "from"/"to" for each rename and "drop" for each old file removed).
class DiscRenamePlan {
  public:
    DiscRenamePlan(std::string oldName, std::string newName);
    // A file made before the switch.
    void make(std::string name) { work_.add("make", std::move(name)); }
    // A rename after the switch (replacing what is at `to`, or the same file
    // under another letter case).
    void move(std::string from, std::string to);
    // A file removed after the switch.
    void drop(std::string name) { work_.add("drop", std::move(name)); }
    const PendingWork& work() const { return work_; }

  private:
    PendingWork work_;
};

// A disc deleted: its catalogue line goes, then its files ("name", "drop").
PendingWork discDeletion(std::string_view discName, std::string_view indexFile,
                         std::string_view noteFile, std::string_view usageFile);
// An index file imported as the disc discName ("name", "make").
PendingWork discImport(std::string_view discName, std::string_view indexFile);

// ---- settling ----

// The disc has a new name once the catalogue files it under exactly that
// name: the renames and removals left are done and red.ini follows the
// name; otherwise the new files are removed.
PendingOutcome settleChangeDisc(std::string_view programFolder, const PendingWork& work);
// The disc is deleted once the catalogue no longer files it under exactly
// its name: its files left are removed; otherwise nothing is done.
PendingOutcome settleDeleteDisc(std::string_view programFolder, const PendingWork& work);
// The import is done once the catalogue files the disc under exactly its
// name; otherwise the copied index file is removed.
PendingOutcome settleImport(std::string_view programFolder, const PendingWork& work);

// The finishers of the three commands (pending_work.h's contract): a record
// that names a file its command could not have made (the disc's own files
// under the names recorded: for a change the new name's files and their
// ".new" companions made, the old name's files renamed or removed; for an
// import the new disc's index) is not understood, and nothing is done.
FinishOutcome finishChangeDisc(std::string_view programFolder, const PendingWork& work);
FinishOutcome finishDeleteDisc(std::string_view programFolder, const PendingWork& work);
FinishOutcome finishImport(std::string_view programFolder, const PendingWork& work);

// The name the disc's file `name` has in "guangpan" (its own spelling, or the
// one file that matches it ignoring letter case); nothing when there is none.
std::optional<std::string> discFileSpelling(std::string_view programFolder, std::string_view name);

}  // namespace catalogue
