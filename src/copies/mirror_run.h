// What a mirror copy run writes back at its end, and how the next start
// completes a run that was cut short.
//
// A run records itself in the pending-work file (catalogue/pending_work.h)
// before its first change: the disc, its index file, the target, the time
// the run began and every folder of the target it copies into. When its
// copies are made and synced it adds what it is about to record (the
// copied-size total and, for each copy, its file's path, size token and
// mirror path) and only then writes, in this order, the index (the switch),
// size.ini and red.ini, and removes the record.
//
// The next start finishes a run cut short forward. A record with results is
// written again (each write gives the same bytes however often it is made).
// A record without them is worked out from the index, which still is the
// one the run began with: each ticked line without a mirror path names the
// place of its copy below the target (the same mapping the run copies by),
// and the copy there is the run's whole copy when it is a regular file of
// the line's size that changed after the time the run began. A copy
// is linked under its name only when it is complete (committed_write.h), so
// a name there is never a half-written copy; the time tells it from a file
// that was in the target before the run (the run replaces such a file by a
// new one, which changed after the run began, so an old file still there
// was not copied by this run and is never claimed); the size tells a copy
// of the line's file from one of another file, and a file a power cut left
// short. The whole copies are synced, added to the record as results, and
// written as at the end of a run. A run that copied nothing is taken back:
// the temporary files of its folders are swept and nothing is written. A
// hard-disk folder's run records nothing in the index; its start only counts
// the whole copies (of its files' sizes now). The time is read from the
// coarse clock the file system stamps changes with, so a change after it
// never looks older; a target on a file system that keeps another clock (a
// network share) may have copies that are not claimed: they stay unrecorded
// and a rerun copies them again.
//
// A record is trusted no further than the command could have written it
// (mirrorRunRecordUnderstood): a target the settings store does not record
// as a mirror folder, an index file that is not the disc's own in guangpan,
// folders or mirror paths that leave the target are refused, and the start
// is to set such a record aside without touching anything it names.
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

#include "catalogue/index_line.h"
#include "catalogue/pending_work.h"

namespace platform::system {
class SettingsStore;
}

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

// ---- where a ticked line's copy goes ----

// A ticked line of a CD disc's index that has no mirror copy yet; nothing for
// any other line.
std::optional<catalogue::IndexFileLine> cdLineToCopy(std::string_view line);

// Where a ticked file's copy goes below the target.
struct CopyPlace {
    std::string folder;      // its folders below the target ("docs\img"; "" the target)
    std::string relative;    // its path below the target
    std::string mirrorPath;  // its Windows path (the index's mirror path); "" from a hard disk
};
// A CD disc's file goes to the target followed by its folders below the disc
// root and its name; nothing when a name there cannot be a copy's name.
std::optional<CopyPlace> cdCopyPlace(std::string_view target, std::string_view indexPath);
// A hard-disk folder's file goes into the target itself under its name;
// nothing when its path or name cannot be a copy's.
std::optional<CopyPlace> hardDiscCopyPlace(std::string_view indexPath);

// The folders below the target a CD run copies into ("" the target itself),
// each once, letter case ignored.
std::vector<std::string> cdCopyFolders(std::string_view indexText);

// ---- the record ----

// The moment a run begins, as the record keeps it: nanoseconds since 1970.
// It returns once the coarse clock that file systems stamp changes with has
// passed that moment, so that a file changed before the run is stamped at or
// before it and every change the run makes after it.
std::int64_t mirrorRunStartTime();

// The record of a run before its first change: the disc (its name), its
// index file (a Windows path), the target, the moment the run began and the
// folders below the target that copies go into ("" the target itself,
// "docs\img").
catalogue::PendingWork mirrorRunRecord(std::string_view disc, std::string_view indexPath,
                                       std::string_view target, std::int64_t started,
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

// Whether the record is one a run could have written for this program
// folder: the command's keys, the disc's own index file in guangpan, a
// plain absolute target that the settings store records as a mirror folder
// (mirror_folders.h), plain folders below it, a start time, and results
// whose mirror paths are the copies' places below the target. A record that
// is not is set aside by the start: nothing it names is touched.
bool mirrorRunRecordUnderstood(const platform::system::SettingsStore& settings,
                               std::string_view programFolder, const catalogue::PendingWork& work);

// What the next start did with a run cut short.
struct MirrorRunFinish {
    bool finished = false;  // the whole copies are recorded (false: taken back)
    int copies = 0;         // the whole copies the run made
};

// The next start's part, for a record mirrorRunRecordUnderstood accepts (any
// other is left untouched and counts as taken back): sweeps the dead
// temporary files of the target's folders the record names, then writes
// what a record with results holds, or works the results out from the index
// and the whole copies in the target (see the top of this file). Finished
// when copies the run made remain, taken back when there are none. Raises a
// failed write: the record then stays for the next start (with the results
// it was given, when the failure came after them).
// failedPath, when given, names the file (Windows path) a raised failure
// concerns.
MirrorRunFinish completeMirrorRun(std::string_view programFolder,
                                  const catalogue::PendingWork& work,
                                  std::string* failedPath = nullptr);

// What the start tells: "上次没有做完的“<caption>”已经完成：N个文件已经拷贝到硬盘。"
// or "…已经撤销。".
std::string mirrorRunReport(std::string_view caption, const MirrorRunFinish& finish);

}  // namespace copies
