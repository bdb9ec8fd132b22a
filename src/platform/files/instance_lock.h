// One running program per program folder.
//
// The program holds the lock file ".zelbrin.lock" in its data folder
// (program_folder.h) locked (flock LOCK_EX) for as long as it runs; a second
// start on the same folder cannot take it and hands over to the first
// instead (the front end's single_instance.h). The lock belongs to the
// process: it goes when the program ends or dies, and the file stays.
// Programs on different folders run side by side.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::files {

inline constexpr std::string_view InstanceLockFileName = ".zelbrin.lock";

class InstanceLock {
  public:
    // Takes the lock of the native folder, making the lock file when it is
    // missing; nothing when another holder (another process, or another
    // InstanceLock of this one) has it. Raises the number of the failure
    // when the folder or the file cannot be opened (76 a missing folder).
    static std::optional<InstanceLock> tryAcquire(const std::string& nativeFolder);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&& other) noexcept;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    // Releases the lock.
    ~InstanceLock();

  private:
    friend class FolderLock;
    explicit InstanceLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// A lock on a folder itself (flock of a descriptor of the folder), held by
// a command while its record of pending work is in the folder
// (catalogue/pending_work.h): a live holder keeps others from acting on the
// record. Like the instance lock it belongs to the process and goes when the
// process ends or dies. Nothing is created.
class FolderLock {
  public:
    enum class Outcome {
        Taken,        // the lock is this one's
        Held,         // another holder (another process, or another FolderLock of this one)
        Unavailable,  // the file system takes no such lock
    };
    // Tries the lock of the native folder; raises the number of the failure
    // when the folder cannot be opened (76 a missing folder).
    static FolderLock tryAcquire(const std::string& nativeFolder, Outcome& outcome);

    bool held() const { return lock_.has_value(); }

  private:
    // The descriptor that holds the lock, released as the instance lock's.
    std::optional<InstanceLock> lock_;
};

// For tests: folder locks behave as on a file system that takes none.
void setFolderLocksUnavailable(bool unavailable);

// The running process as a text that names it alone among the processes of
// this boot: its id, its start time and the boot's id ("" when the system
// does not tell them).
std::string processIdentity();
// The same text of another process, by its id ("" when there is none).
std::string processIdentity(long pid);
// Whether the process a processIdentity text names is running: nothing when
// that cannot be told (an empty or malformed text, another boot's text is
// told dead).
std::optional<bool> processRunning(std::string_view identity);

// The folder with every link resolved: the same text for every path that
// leads to it (the folder as given when it cannot be resolved).
std::string resolvedFolder(const std::string& nativeFolder);

}  // namespace platform::files
