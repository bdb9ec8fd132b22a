// Work that spans several files: one record, one scope, one table of
// finishers.
//
// A command that changes several stored files (the table in
// pending_work_table.cpp lists them all) writes what it is about to do into
// "pending.ini" in the index folder before its first change, and removes it
// only when the work is settled. Its steps are ordered so that one write
// switches from the old state to the new (the catalogue, class.ini or the
// index file); new files are made beside the old ones before it and the old
// ones go after it. The command runs inside a PendingWorkScope: the scope
// writes the record, holds the record's owner lock while the command runs,
// and ends with the command's own finisher (settle) or with done() when the
// command's last change went through. A scope left without either keeps the
// record: the next event or start runs the finisher.
//
// Each command has one finisher in the table, with one contract: given the
// record it finishes the work or takes its new files away (judging by the
// switch), and answers settled (what to tell, if anything), waiting (the
// file it could not change, and why: the record stays and the work is tried
// again) or not understood (the record names something its command could
// never have made: nothing is done, the record is set aside).
//
// The file holds the command's name on its first line and then one
// "key=value" line per field (code page 936, CR LF); a value holds no line
// break. One command runs at a time, so one file is enough.
#pragma once

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/files/instance_lock.h"

namespace platform::files {
class ConfinedRoot;
}
namespace platform::system {
class SettingsStore;
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
    // Whether a field of the key is there.
    bool has(std::string_view key) const;
    // Whether every field has one of the keys or is the owner's, and each
    // of the keys is there at least once.
    bool holdsKeys(std::initializer_list<std::string_view> required,
                   std::initializer_list<std::string_view> optional = {}) const;
    PendingWork& add(std::string key, std::string value);
};

// The file's text, and back; nothing for a text that is not a record: no
// command line, a blank line, a line without "=" or with an empty key, a
// control character.
std::string formatPendingWork(const PendingWork& work);
std::optional<PendingWork> parsePendingWork(std::string_view text);

// ---- the finishers' contract ----

struct FinishOutcome {
    enum class State { Settled, Waiting, NotUnderstood };
    State state = State::Settled;
    // Settled: whether something was left to do (then it is told), and
    // whether the work is now finished (else taken back).
    bool changed = false;
    bool finished = true;
    // What to tell instead of the usual sentence ("" the usual one).
    std::string told;
    // Waiting: the file (Windows path) the finisher could not write or
    // remove, and the reason.
    std::string path;
    std::string reason;
    bool removal = false;
    // NotUnderstood: what is wrong with the record.
    std::string why;

    bool settled() const { return state == State::Settled; }
};

// The outcomes a finisher gives.
FinishOutcome nothingLeft();
FinishOutcome finishedNow(bool finished = true);
FinishOutcome waitingFor(std::string path, const platform::Error& e, bool removal = false);
FinishOutcome notUnderstood(std::string why);

using Finisher = FinishOutcome (*)(std::string_view programFolder, const PendingWork& work);
// A check of a record against what the user's settings hold (where its
// command may have written), made before a record left by an earlier run is
// finished: false, and the record is not understood.
using RecordCheck = bool (*)(const platform::system::SettingsStore& settings,
                             std::string_view programFolder, const PendingWork& work);

// One command that uses the record: its name in the record, its menu
// caption, its finisher, and where it needs one its record's check against
// the settings.
struct PendingCommand {
    std::string_view command;
    std::string_view caption;
    Finisher finish;
    RecordCheck understood = nullptr;
};

// The table (pending_work_table.cpp), and a command in it by name.
std::span<const PendingCommand> pendingCommands();
const PendingCommand* findPendingCommand(std::string_view command);

// A finisher that has worked out what its record lacked (the results a run
// cut short made) writes the record anew before it acts on them, so that a
// failure after that finds them at the next start. Raises what the write
// raises.
void rewritePendingWork(std::string_view programFolder, const PendingWork& work);

// ---- the scope ----

class PendingWorkScope {
  public:
    // Records the command before its first change (committed write) and
    // takes the record's owner lock. A record still there (an earlier
    // command whose work could not be finished yet) is never replaced: the
    // command is refused with 75 and a text that says what the record waits
    // for (isPendingWorkRefusal), and changes nothing. Raises what the write
    // raises: the command then changes nothing.
    PendingWorkScope(std::string_view programFolder, PendingWork work);
    PendingWorkScope(PendingWorkScope&& other) noexcept;
    PendingWorkScope& operator=(PendingWorkScope&&) = delete;
    PendingWorkScope(const PendingWorkScope&) = delete;
    // Releases the owner lock; a record not ended stays for the next event
    // or start.
    ~PendingWorkScope();

    // Writes the record anew (what the command learnt on the way).
    void update(PendingWork work);
    const PendingWork& work() const { return work_; }
    // The command's last change went through: the record goes (a failure to
    // remove it is passed over: the next start finds the work done).
    void done() noexcept;
    // Runs the command's finisher now; the record goes when it is settled.
    FinishOutcome settle();
    // The command tells that its work waits for the file at path: the
    // message ("不能保存文件: " + path + reason and that the work will be
    // finished at the next start); the record stays.
    std::string keep(const std::string& path, const platform::Error& e, bool removal = false);

  private:
    std::string programFolder_;
    PendingWork work_;
    platform::files::FolderLock lock_;
    bool ended_ = false;
};

// Whether a failure of PendingWorkScope's constructor is the refusal of a
// record still there (its text is then the whole message to show).
bool isPendingWorkRefusal(const platform::Error& e);
// The message for a failure to begin: the refusal's own text, else
// otherwise.
std::string pendingWorkBeginMessage(const platform::Error& e, std::string otherwise);

// ---- the start and the events ----

// Deals with a record left in the program folder's index folder: returns
// the messages to show (each once). atStart: the program's start (every
// finding is told); before an event, a finisher that waits for the same file
// for the same reason as last told is not told again. today: the date for
// the name of a record set aside.
std::vector<std::string> dealWithPendingWork(std::string_view programFolder,
                                             const platform::system::SettingsStore& settings,
                                             std::string_view today, bool atStart);

// The record left in the program folder's index folder, if any (an
// unreadable one, or one that is not a record, counts as none).
std::optional<PendingWork> readPendingWork(std::string_view programFolder);

// The text of a refusal without more to say.
inline constexpr std::string_view PendingWorkLeftText = "上次没有做完的操作还没有完成";
// The record's Windows path (for messages).
std::string pendingWorkFilePath(std::string_view programFolder);
// Whether a record may be there as far as this run knows: a command wrote
// one and did not remove it, or one was found and not dealt with. The
// program looks for a record before an event only then (no file is read
// before every click).
bool pendingWorkMayBeLeft();
void setPendingWorkMayBeLeft(bool left);

// A second name for a file beside it, as the new files of a command are made
// beside the old ones: a hard link, or a copy where the file system makes
// none. When the copy fails too, its reason is raised, unless the copy found
// the name taken (then the link's own failure is); 58 when the name exists.
void linkOrCopy(const platform::files::ConfinedRoot& folder, const std::string& from,
                const std::string& to);

// The sentence the start-up shows once after it has dealt with a record:
// "上次没有做完的“修改光盘”已经完成。" or "…已经撤销。".
std::string pendingWorkReport(std::string_view caption, bool finished);
// The message of work that waits for a file: "不能保存文件: " (or
// "不能删除文件: ") + path + reason, and that the work will be finished at
// the next start.
std::string pendingWorkWaitingMessage(std::string_view caption, std::string_view path,
                                      std::string_view reason, bool removal);

}  // namespace catalogue
