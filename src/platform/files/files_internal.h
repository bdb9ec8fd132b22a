// Helpers shared by the files-and-drives sources; not part of the public API.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::files::detail {

// An owned file descriptor, closed on destruction.
class Fd {
  public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    Fd(Fd&& o) noexcept : fd_(o.release()) {}
    Fd& operator=(Fd&& o) noexcept;
    ~Fd();

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release();
    // Closes now; returns false when close reported an error.
    bool close();

  private:
    int fd_ = -1;
};

// The Windows-style error number for an errno value. notFound is the number
// ENOENT stands for at this place (53 for a file, 76 for a folder).
int errorNumberFor(int errnoValue, int notFound);
[[noreturn]] void raiseErrno(int errnoValue, int notFound);

// Opens a file for reading without waiting (a plain open of a pipe without a
// writer, or of some devices, would block) and reads its status into st; the
// descriptor returned reads blocking again. Raises as open does (notFound for
// a missing name). The caller looks at st before it reads.
Fd openForReading(const std::string& nativePath, struct stat& st, int notFound);

// Whole contents of a regular file by native path; false when it cannot be
// read or is not a regular file (never waits on a pipe or device).
bool readNativeFile(const std::string& nativePath, std::string& out);
// Reads everything from an open descriptor; false on a read error.
bool readAll(int fd, std::string& out, std::size_t limit = static_cast<std::size_t>(-1));
// Writes all bytes; false on a write error (errno set).
bool writeAll(int fd, std::string_view bytes);

// True when the owner lacks write permission (the read-only attribute).
inline bool ownerReadOnly(const struct stat& st) { return (st.st_mode & S_IWUSR) == 0; }
// The Windows attributes of a file or folder named name (attr:: bits of listing.h).
std::uint32_t attributesFor(const struct stat& st, std::string_view name, bool readOnlyFs);

// True when the file system holding the descriptor / path is mounted read-only.
bool readOnlyFileSystem(int fd);
bool readOnlyFileSystem(const std::string& nativePath);

// Folder part and last name of a native path ("/a/b" -> "/a", "b"; "/b" -> "/", "b").
std::string nativeParent(const std::string& nativePath);
std::string nativeJoin(const std::string& folder, std::string_view name);
std::string nativeBaseName(const std::string& nativePath);

// Copies a native file's bytes, modification time and permissions (write
// permission taken away when the source is read-only) to dst through the
// committed-write path (committed_write.h), over an existing dst only when
// replace. Raises an Error with the number of the failure; dst is never left
// half written.
void copyNativeFile(const std::string& src, const std::string& dst, bool replace);

// Renames without replacing an existing target (renameat2 RENAME_NOREPLACE,
// else link + unlink for files). Returns 0 or the errno value.
int renameNoReplace(const std::string& from, const std::string& to);

}  // namespace platform::files::detail
