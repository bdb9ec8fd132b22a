// Names on disk that a stored file may have but that cannot be read as one,
// for the tests of reading that must refuse them at once: a folder, a named
// pipe, a link to a device and a file without permissions.
//
//     for (Unreadable kind : unreadableKinds()) {
//         UnreadableFile bad(folder / "settings.ini", kind);
//         ... read it, expect bad.reason() in the message ...
//         EXPECT_TRUE(bad.unchanged());
//     }
//
// The pipe is held open for writing for a few seconds: a reading that waits
// on it is let go then (and reads nothing), so a test of a reading that must
// not wait fails instead of hanging.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "temp_folder.h"

namespace testsupport {

enum class Unreadable { Folder, Pipe, DeviceLink, NoPermission };

// The kinds that this user cannot read (root reads a file without
// permissions all the same).
inline std::vector<Unreadable> unreadableKinds() {
    std::vector<Unreadable> kinds = {Unreadable::Folder, Unreadable::Pipe, Unreadable::DeviceLink};
    if (::geteuid() != 0) kinds.push_back(Unreadable::NoPermission);
    return kinds;
}

// What each kind is called in a test's trace, and the reason the program
// gives for it, in the order of Unreadable.
struct UnreadableKindText {
    const char* name;
    const char* reason;
};
inline constexpr UnreadableKindText unreadableKindTexts[] = {
    {"folder", "它不是普通文件，而是一个文件夹"},
    {"pipe", "它不是普通文件，而是一个管道"},
    {"link to /dev/zero", "它不是普通文件，而是一个设备"},
    {"mode 000", "没有权限"},
};

inline const char* kindName(Unreadable kind) {
    return unreadableKindTexts[static_cast<int>(kind)].name;
}

class UnreadableFile {
  public:
    UnreadableFile(std::filesystem::path path, Unreadable kind)
        : path_(std::move(path)), kind_(kind) {
        std::filesystem::create_directories(path_.parent_path());
        switch (kind) {
            case Unreadable::Folder:
                std::filesystem::create_directory(path_);
                break;
            case Unreadable::Pipe:
                if (::mkfifo(path_.c_str(), 0600) != 0)
                    throw std::runtime_error("mkfifo " + path_.string());
                // Read and write: opening does not wait for a reader.
                writer_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
                holder_ = std::thread([this] {
                    std::unique_lock<std::mutex> lock(mutex_);
                    done_.wait_for(lock, std::chrono::seconds(3), [this] { return finished_; });
                    ::close(writer_);
                });
                break;
            case Unreadable::DeviceLink:
                std::filesystem::create_symlink("/dev/zero", path_);
                break;
            case Unreadable::NoPermission:
                writeBytes(path_, "|kept\r\n");
                std::filesystem::permissions(path_, std::filesystem::perms::none);
                break;
        }
        if (::lstat(path_.c_str(), &made_) != 0)
            throw std::runtime_error("lstat " + path_.string());
    }
    ~UnreadableFile() {
        if (!holder_.joinable()) return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        holder_.join();
    }
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

    // The reason the program gives for it.
    std::string reason() const { return unreadableKindTexts[static_cast<int>(kind_)].reason; }

    // True when the name is still the one made: never replaced, never grown.
    bool unchanged() const {
        struct stat now {};
        return ::lstat(path_.c_str(), &now) == 0 && now.st_ino == made_.st_ino &&
               now.st_mode == made_.st_mode && now.st_size == made_.st_size;
    }

  private:
    std::filesystem::path path_;
    Unreadable kind_;
    struct stat made_ {};
    int writer_ = -1;
    std::thread holder_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
};

}  // namespace testsupport
