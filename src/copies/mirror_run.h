// What a mirror copy run writes back at its end, and how the next start
// completes a run that was cut short.
//
// A run records itself in the pending-work file (catalogue/pending_work.h)
// before its first change: the disc, its index file, the target and every
// folder of the target it copies into. When its copies are made and synced it
// adds what it is about to record (the copied-size total and, for each copy,
// its file's path, size token and mirror path) and only then writes, in this
// order, the index (the switch), size.ini and red.ini, and removes the record.
// So the next start finds either a record without results (the index and
// size.ini are the old ones: it sweeps the dead temporary files of those
// folders and the run counts as taken back; the copies made stay, unrecorded)
// or one with results, which it writes again (each write gives the same bytes
// however often it is made) and the run counts as finished.
//
// The suffixes are applied to the index as it is when they are written, never
// to the text the run read when it began: each copy finds its own file line by
// its path and size through the name lookup (catalogue/name_lookup.h), so
// ticks made meanwhile stay. A disc renamed or deleted meanwhile (its index
// gone, or the catalogue no longer naming it) gets nothing written back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/pending_work.h"

namespace copies {

// The command's name in the pending-work file.
inline constexpr std::string_view MirrorRunWork = "mirror copy";

// A copy the run made, to be recorded on its file's line.
struct MirrorCopyMade {
    std::string path;      // the file's path as the index spells it
    std::string sizeText;  // its size token
    std::string mirrorPath;
};

// The copies applied to an index text.
struct MirrorCopiesApplied {
    std::string text;  // the text with the new suffixes
    int added = 0;     // lines that took their suffix
    double bytes = 0;  // the sizes of those lines' files
    bool changed() const { return added > 0; }
};

// Adds each copy's suffix to its own file line of the text as it is: the
// line its path and size choose (exact name first, another letter case only
// when it is the one such name). A line that has a mirror path already, or a
// copy whose line is gone or ambiguous, is left as it is; one line takes one
// suffix.
MirrorCopiesApplied applyMirrorCopies(std::string_view indexText,
                                      const std::vector<MirrorCopyMade>& copies);

// The record of a run before its first change: the disc (its name), its
// index file (a Windows path), the target and the folders below it that
// copies go into ("" the target itself, "docs\img").
catalogue::PendingWork mirrorRunRecord(std::string_view disc, std::string_view indexPath,
                                       std::string_view target,
                                       const std::vector<std::string>& folders);
// The record with what the run is about to write: the copied-size total and
// the copies.
void addMirrorRunResults(catalogue::PendingWork& work, double total,
                         const std::vector<MirrorCopyMade>& copies);

// The disc's index text as it is now; nothing when the disc is gone: its
// index file is missing or the catalogue no longer names it. Raises the
// errors of reading the index or the catalogue.
std::optional<std::string> readMirroredDiscIndex(std::string_view programFolder,
                                                 std::string_view disc, std::string_view indexPath);

// The disc joins the mirror disc list unless a line names it already
// (letter case ignored); a missing list is made with the disc's line, a list
// that cannot be read is left as it is. Raises a failed write.
void addToMirrorDiscList(std::string_view programFolder, std::string_view disc);

// The writes of a run's end, in their order: the index with the applied
// suffixes (when they changed it), size.ini with the total, and the disc
// added to red.ini (when addDisc). Raises the first failure, with failedFile
// naming the file it failed on (the index: nothing was written; a later
// file: the index holds the suffixes); "" when all are written.
void writeMirrorRunResults(std::string_view programFolder, std::string_view disc,
                           const std::string& indexPath, const MirrorCopiesApplied& applied,
                           double total, bool addDisc, std::string& failedFile);

// The next start's part: sweeps the dead temporary files of the target's
// folders the record names, then writes what a record with results holds
// (the index with the suffixes, size.ini, red.ini). True when the run is now
// finished, false when it is taken back (no results, or the disc is gone).
// Raises a failed write: the record then stays for the next start.
bool completeMirrorRun(std::string_view programFolder, const catalogue::PendingWork& work);

}  // namespace copies
