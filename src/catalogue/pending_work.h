// A command that changes several stored files (change disc, delete disc,
// import, mirror copy run, a software record, dropping a hard-disk file with
// its line) writes what it is about to do into "pending.ini" in the index
// folder before its first change, and removes it after its last. Its steps
// are ordered so that one write switches from the old state to the new (the
// catalogue, class.ini or the index file); new files are made beside the old
// ones before it and the old ones go after it. When the program was cut short
// on the way, the next start finds the file and, judging by the switch,
// finishes the command or takes its new files away again, then tells the
// user once.
//
// The file holds the command's name on its first line and then one
// "key=value" line per field (code page 936, CR LF); a value holds no line
// break. One command runs at a time (one program instance per folder), so one
// file is enough.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::files {
class ConfinedRoot;
}

namespace catalogue {

inline constexpr std::string_view PendingWorkFileName = "pending.ini";

struct PendingWork {
    std::string command;
    std::vector<std::pair<std::string, std::string>> fields;

    // The value of the first field of that key; "" when there is none.
    std::string field(std::string_view key) const;
    // All values of the key, in their order.
    std::vector<std::string> valuesOf(std::string_view key) const;
    PendingWork& add(std::string key, std::string value);
};

// The file's text, and back; nothing for a text without a command line.
std::string formatPendingWork(const PendingWork& work);
std::optional<PendingWork> parsePendingWork(std::string_view text);

// Records the command before its first change (committed write). A record
// still there (an earlier command of this run whose step failed, and which
// could not be completed before this event either) is never replaced: the
// command is refused with 75 and the text PendingWorkLeftText, and changes
// nothing. Raises what the write raises: the command then changes nothing.
void beginPendingWork(const platform::files::ConfinedRoot& indexFolder, const PendingWork& work);
// Writes the record of the command that is running anew (what it learnt on
// the way).
void updatePendingWork(const platform::files::ConfinedRoot& indexFolder, const PendingWork& work);
// The text of that refusal.
inline constexpr std::string_view PendingWorkLeftText = "上次没有做完的操作还没有完成";
// The record's Windows path (for messages).
std::string pendingWorkFilePath(std::string_view programFolder);
// Whether a record may be there as far as this run knows: a command wrote
// one and did not remove it, or one was found and not dealt with. The
// program looks for a record before an event only then (no file is read
// before every click).
bool pendingWorkMayBeLeft();
void setPendingWorkMayBeLeft(bool left);
// Removes the record after the command's last change (a missing one is
// fine). Failures are passed over: the next start finds the work done.
void endPendingWork(const platform::files::ConfinedRoot& indexFolder) noexcept;
// The record left in the program folder's index folder, if any (an
// unreadable or empty one counts as none).
std::optional<PendingWork> readPendingWork(std::string_view programFolder);

// A second name for a file beside it, as the new files of a command are made
// beside the old ones: a hard link, or a copy where the file system makes
// none. When the copy fails too, its reason is raised, unless the copy found
// the name taken (then the link's own failure is); 58 when the name exists.
void linkOrCopy(const platform::files::ConfinedRoot& folder, const std::string& from,
                const std::string& to);

// The sentence the start-up shows once after it has dealt with a record:
// "上次没有做完的“修改光盘”已经完成。" or "…已经撤销。".
std::string pendingWorkReport(std::string_view caption, bool finished);

}  // namespace catalogue
