// The one way a file is written whole: every rewrite of a stored file, every
// copy, a move between file systems, the settings stores and the scan's index
// file go through it.
//
// The new bytes go to a temporary file beside the target (same folder, so the
// same file system; its name begins with ".zeltmp-", which keeps it out of
// every listing), locked (flock) from its creation to the rename or its
// removal. Then, in this order: the data are synced (fdatasync), the
// temporary file is renamed to the target (over an existing one, or never over
// one), and the folder is synced (fsync), so that the new name survives a
// power cut. A failure or a crash at any step leaves the target with either
// its old or its new bytes, never a mix; a temporary file left by a crash is
// removed at the next start (sweepTempFiles), and by the first write into its
// folder in any later run. A file for a name its caller has just found
// missing may be written without a name instead and linked to the name at
// the commit: nothing is left by a crash. The writer itself (CommittedFile)
// belongs to the layer (files_internal.h): the program writes through a
// confined root (confined.h) and the text files of text_file.h.
//
// A rename is a change that has happened: when the folder sync after it fails
// twice, the write does not fail. The target keeps its new bytes and is
// recorded as written but not confirmed by the disk (takeUnconfirmedWrites);
// the event dispatcher tells the user after the event. Nothing in this layer
// takes a rename back.
//
// Paths here are native paths. Failures raise platform::Error with the
// Windows-style number derived from errno (58 when a target that may not be
// replaced exists, 61 disk full, 76 a missing folder, ...).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::files {

class CommittedFile;
class ConfinedRoot;

// The beginning of the name of every temporary file the program makes.
inline constexpr std::string_view TempFilePrefix = ".zeltmp-";

// What a commit does when the target exists.
enum class OnExisting { Replace, Refuse };

// The steps of a commit, in their order, and the other changes the layer
// makes (each is told to the hook before it is made).
enum class CommitStep {
    CreateTemp,
    Write,
    SyncData,
    Rename,
    SyncFolder,
    Remove,
    MakeFolder,
    Link,
    SetAttributes
};

// Many files written as one batch (a copy run of thousands of files). While a
// batch is open in this thread, commits skip their own syncs (no data sync
// before the rename, no folder sync after it) and the batch notes each file
// system they wrote to; finish() then syncs each of those once (syncfs), so
// the batch costs one sync instead of two per file. Meanwhile a thread of
// the batch syncs those file systems every FlushInterval, so the writing
// goes on while the disk takes what was written, and finish() waits only for
// the rest (its own sync reports every failure since the batch began). Each
// file still replaces its target whole by a rename, but until finish() has
// returned a power cut may leave a file of the batch empty or cut under its
// new name: a command records the files of a batch only after finish().
// Moves are not batched.
class SyncBatch {
  public:
    SyncBatch();
    // Finishes the batch when finish() was not called (failures passed over).
    ~SyncBatch();
    SyncBatch(const SyncBatch&) = delete;
    SyncBatch& operator=(const SyncBatch&) = delete;

    // Syncs every file system written to in the batch and closes it; later
    // commits sync on their own again. Raises the error of a failed sync.
    void finish();

  private:
    friend class CommittedFile;
    // The batch open in this thread, or null.
    static SyncBatch* current();
    // Notes the file system of an open folder written to (path for the hook).
    void note(int folder, const std::string& nativeFolder);

    SyncBatch* previous_;
    bool open_ = true;
    // One open folder per file system written to.
    struct FileSystem {
        unsigned long long device;
        int fd;
        std::string folder;
    };
    std::vector<FileSystem> fileSystems_;
    // The thread that syncs meanwhile (started with the first file system).
    struct Flusher;
    std::unique_ptr<Flusher> flusher_;
};

// The time this program started; files of ours older than it belong to a run
// that has ended.
std::chrono::system_clock::time_point programStartTime();

// Removes the temporary files a run that ended without cleaning up left in a
// folder: regular files whose name begins with TempFilePrefix, or has a form
// earlier versions used (".scan.tmp"; "registry.ini." or "settings.ini."
// followed by six letters or digits), last modified before `before` and not
// held by a writer (another process's CommittedFile keeps its temporary file
// locked; one that cannot be opened to find out stays). Errors are passed
// over. Returns the number of files removed. The first commit into a folder
// in a run sweeps that folder so (before: programStartTime()), once per run.
int sweepTempFiles(const std::string& nativeFolder, std::chrono::system_clock::time_point before);
// The same for a folder and the folders below it, at most levels down
// (folders only: links are never followed).
int sweepTempFilesBelow(const std::string& nativeFolder,
                        std::chrono::system_clock::time_point before, int levels = 64);

// The targets (native paths) written or moved since the last call whose
// folder sync failed twice: they hold their new bytes, but the disk has not
// confirmed that the change survives a power cut. Each once, in the order
// written; the list is emptied.
std::vector<std::string> takeUnconfirmedWrites();

// Test seam: the hook runs before each step of every commit, with the path the
// step acts on (CreateTemp, Write, SyncData: the temporary file; Rename: the
// target; SyncFolder: the folder), and before every other change the layer
// makes (Remove: the file or folder removed; MakeFolder: the folder made;
// Link: the new name; SetAttributes: the file changed). A hook that throws platform::Error makes
// that step fail. Returns the previous hook; an empty one removes it.
using CommitHook = std::function<void(CommitStep step, const std::string& path)>;
CommitHook setCommitHook(CommitHook hook);

// A commit hook installed for the lifetime of this object.
class ScopedCommitHook {
  public:
    explicit ScopedCommitHook(CommitHook hook) : previous_(setCommitHook(std::move(hook))) {}
    ~ScopedCommitHook() { setCommitHook(std::move(previous_)); }
    ScopedCommitHook(const ScopedCommitHook&) = delete;
    ScopedCommitHook& operator=(const ScopedCommitHook&) = delete;

  private:
    CommitHook previous_;
};

}  // namespace platform::files
