#include "platform/files/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/error.h"
#include "platform/files/files_internal.h"
#include "platform/files/paths.h"
#include "platform/text/text.h"

namespace platform::files {

namespace {

constexpr int InputPastEnd = 62;
constexpr std::size_t FlushSize = std::size_t{1} << 16;

// What a name that is not a regular file stands for, in words.
std::string notRegularFile(mode_t mode) {
    const char* what = S_ISDIR(mode)                    ? "文件夹"
                       : S_ISFIFO(mode)                 ? "管道"
                       : S_ISSOCK(mode)                 ? "套接字"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "设备"
                                                        : "特殊文件";
    return std::string("它不是普通文件，而是一个") + what;
}

std::string readBytes(std::string_view path) {
    return readRegularFile(resolveExisting(path).native);
}

// A path that may be written: not a folder, not read-only, its folder present.
ResolvedPath writableTarget(std::string_view path) {
    ResolvedPath r = resolvePath(path);
    if (r.isDriveRoot) raise(err::PathFileAccess);
    if (r.exists) {
        struct stat st {};
        if (::stat(r.native.c_str(), &st) != 0) detail::raiseErrno(errno, err::FileNotFound);
        if (S_ISDIR(st.st_mode) || detail::ownerReadOnly(st)) raise(err::PathFileAccess);
    } else if (!r.folderExists) {
        raise(err::PathNotFound);
    }
    return r;
}

std::string_view withoutFinalBreak(std::string_view text) {
    if (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n") {
        text.remove_suffix(2);
    } else if (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::string readRegularFile(const std::string& nativePath) {
    // Opening does not wait: a pipe without a writer, or a device, would
    // block a plain open. The descriptor tells what the name is.
    detail::Fd fd(::open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid()) detail::raiseErrno(errno, err::FileNotFound);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) detail::raiseErrno(errno, err::FileNotFound);
    if (!S_ISREG(st.st_mode)) raise(err::PathFileAccess, notRegularFile(st.st_mode));
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        detail::raiseErrno(errno, err::FileNotFound);
    std::string bytes;
    if (!detail::readAll(fd.get(), bytes)) detail::raiseErrno(errno, err::FileNotFound);
    return bytes;
}

std::string WholeFileRead(std::string_view path) { return text::fromCp936(readBytes(path)); }

void WholeFileRewrite(std::string_view path, std::string_view text) {
    ResolvedPath r = writableTarget(path);
    std::string target = r.native;
    struct stat st {};
    const bool existed = r.exists && ::stat(target.c_str(), &st) == 0;
    if (existed) {
        // Rewrite the file a link points at, not the link.
        char real[PATH_MAX];
        if (::realpath(target.c_str(), real)) target = real;
    }
    const std::string bytes =
        text.empty() ? std::string() : text::toCp936(withoutFinalBreak(text)) + "\r\n";

    std::string temp;
    detail::Fd fd = detail::createTempBeside(target, temp);
    int failure = 0;
    if (!detail::writeAll(fd.get(), bytes)) {
        failure = errno;
    } else {
        if (existed) ::fchmod(fd.get(), st.st_mode & 07777);
        if (::fsync(fd.get()) != 0 && errno != EINVAL) failure = errno;
        if (!fd.close() && failure == 0) failure = errno;
    }
    if (failure != 0) {
        ::unlink(temp.c_str());
        detail::raiseErrno(failure, err::PathNotFound);
    }
    if (int e = detail::commitTemp(temp, target, true); e != 0) {
        detail::raiseErrno(e, err::PathNotFound);
    }
}

InputFile::InputFile(std::string_view path) : lines_(text::linesFromCp936(readBytes(path))) {}

std::string InputFile::lineInput() {
    if (eof()) raise(InputPastEnd, "输入超出文件尾");
    return std::move(lines_[next_++]);
}

OutputFile::OutputFile(std::string_view path, Mode mode) {
    ResolvedPath r = writableTarget(path);
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == Mode::Output ? O_TRUNC : O_APPEND);
    fd_ = ::open(r.native.c_str(), flags, 0666);
    if (fd_ < 0) detail::raiseErrno(errno, err::PathNotFound);
}

OutputFile::~OutputFile() {
    try {
        close();
    } catch (const Error&) {
        // Closing silently: the caller that cares calls close() itself.
    }
}

void OutputFile::print(std::string_view text) {
    write(text);
    buffer_ += "\r\n";
    if (buffer_.size() >= FlushSize) flush();
}

void OutputFile::write(std::string_view text) {
    if (fd_ < 0) raise(err::BadFileName);
    buffer_ += text;
    if (buffer_.size() >= FlushSize) flush();
}

bool OutputFile::writeBuffer() {
    if (buffer_.empty()) return true;
    const std::string bytes = text::toCp936(buffer_);
    buffer_.clear();
    return detail::writeAll(fd_, bytes);
}

void OutputFile::flush() {
    if (!writeBuffer()) detail::raiseErrno(errno, err::PathNotFound);
}

void OutputFile::close() {
    if (fd_ < 0) return;
    int failure = writeBuffer() ? 0 : errno;
    if (::close(fd_) != 0 && failure == 0) failure = errno;
    fd_ = -1;
    if (failure != 0) detail::raiseErrno(failure, err::PathNotFound);
}

}  // namespace platform::files
