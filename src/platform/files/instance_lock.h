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
    explicit InstanceLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// The folder with every link resolved: the same text for every path that
// leads to it (the folder as given when it cannot be resolved).
std::string resolvedFolder(const std::string& nativeFolder);

}  // namespace platform::files
