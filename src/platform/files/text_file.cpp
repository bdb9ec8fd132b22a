#include "platform/files/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <utility>

#include "platform/error.h"
#include "platform/files/files_internal.h"
#include "platform/files/paths.h"
#include "platform/text/text.h"

namespace platform::files {

namespace {

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

std::string_view withoutFinalBreak(std::string_view text) {
    if (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n") {
        text.remove_suffix(2);
    } else if (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::string readRegularFile(const std::string& nativePath, std::size_t limit) {
    // Opening does not wait: a pipe without a writer, or a device, would
    // block a plain open. The descriptor tells what the name is.
    struct stat st {};
    detail::Fd fd = detail::openForReading(nativePath, st, err::FileNotFound);
    if (!S_ISREG(st.st_mode)) raise(err::PathFileAccess, notRegularFile(st.st_mode));
    std::string bytes;
    if (!detail::readAll(fd.get(), bytes, limit)) detail::raiseErrno(errno, err::FileNotFound);
    return bytes;
}

std::string WholeFileRead(std::string_view path) { return text::fromCp936(readBytes(path)); }

void WholeFileRewrite(const ConfinedRoot& root, std::string_view relative, std::string_view text) {
    CommittedTextFile file(root, relative, OnExisting::Replace);
    if (!text.empty()) file.print(withoutFinalBreak(text));
    file.commit();
}

InputFile::InputFile(std::string_view path) : lines_(text::linesFromCp936(readBytes(path))) {}

std::string InputFile::lineInput() {
    if (eof()) raise(err::InputPastEnd);
    return std::move(lines_[next_++]);
}

RawLineReader::RawLineReader(std::string_view path) {
    const std::string native = resolveExisting(path).native;
    struct stat st {};
    detail::Fd fd = detail::openForReading(native, st, err::FileNotFound);
    if (!S_ISREG(st.st_mode)) raise(err::PathFileAccess, notRegularFile(st.st_mode));
    const auto ns = [](const timespec& t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
    };
    stamp_ = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
              static_cast<std::uint64_t>(st.st_size), ns(st.st_mtim), ns(st.st_ctim)};
    fd_ = fd.release();
}

RawLineReader::~RawLineReader() {
    if (fd_ >= 0) ::close(fd_);
}

bool RawLineReader::fill() {
    if (atEnd_) return false;
    // Blocks of 64 KB: small enough that a short folder run touches little
    // memory, large enough that a whole index is read in few calls.
    constexpr std::size_t Block = std::size_t{1} << 16;
    const std::size_t unread = size_ - pos_;
    if (unread + Block > capacity_) {
        const std::size_t capacity = std::max(2 * Block, unread + Block);
        std::unique_ptr<char[]> bigger(new char[capacity]);
        if (unread) std::memcpy(bigger.get(), buffer_.get() + pos_, unread);
        buffer_ = std::move(bigger);
        capacity_ = capacity;
    } else if (unread && pos_) {
        std::memmove(buffer_.get(), buffer_.get() + pos_, unread);
    }
    bufferOffset_ += pos_;
    pos_ = 0;
    size_ = unread;
    ssize_t n;
    do {
        n = ::read(fd_, buffer_.get() + size_, capacity_ - size_);
    } while (n < 0 && errno == EINTR);
    if (n < 0) raise(err::DeviceIO);
    size_ += static_cast<std::size_t>(n);
    if (n == 0) atEnd_ = true;
    return n > 0;
}

bool RawLineReader::next(std::string_view& line) {
    if (!buffer_ && !fill()) return false;
    std::size_t scanned = pos_;
    for (;;) {
        char* data = buffer_.get();
        if (skipLf_ && pos_ < size_) {
            // The LF of a CR LF split across two blocks.
            skipLf_ = false;
            if (data[pos_] == '\n') ++pos_;
            scanned = pos_;
        }
        const char* begin = data + scanned;
        const char* end = data + size_;
        // The first LF, then a CR before it (a lone CR ends a line too).
        const void* lf =
            begin < end ? std::memchr(begin, '\n', static_cast<std::size_t>(end - begin)) : nullptr;
        const char* brk = lf ? static_cast<const char*>(lf) : end;
        if (const void* cr = brk > begin
                                 ? std::memchr(begin, '\r', static_cast<std::size_t>(brk - begin))
                                 : nullptr)
            brk = static_cast<const char*>(cr);
        if (brk < end) {
            const std::size_t at = static_cast<std::size_t>(brk - data);
            line = std::string_view(data + pos_, at - pos_);
            lineOffset_ = bufferOffset_ + pos_;
            pos_ = at + 1;
            if (*brk == '\r') {
                if (pos_ < size_) {
                    if (data[pos_] == '\n') ++pos_;
                } else {
                    skipLf_ = true;
                }
            }
            return true;
        }
        scanned = size_ - pos_;
        if (!fill()) {
            if (pos_ >= size_) return false;
            line = std::string_view(buffer_.get() + pos_, size_ - pos_);
            lineOffset_ = bufferOffset_ + pos_;
            pos_ = size_;
            return true;
        }
        // fill() moved the unread bytes to the front: scanned counts them.
    }
}

void RawLineReader::seek(std::uint64_t offset) {
    if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) raise(err::DeviceIO);
    bufferOffset_ = offset;
    pos_ = size_ = 0;
    atEnd_ = skipLf_ = false;
}

bool RawLineReader::nextBlock(std::string_view& block) {
    if (!buffer_ && !fill()) return false;
    for (;;) {
        const char* data = buffer_.get();
        if (skipLf_ && pos_ < size_) {
            // The LF of a CR LF that the last block ended between.
            skipLf_ = false;
            if (data[pos_] == '\n') ++pos_;
        }
        std::size_t end = size_;
        while (end > pos_ && !isLineBreak(data[end - 1])) --end;
        // At the end of the file the rest is the last line, without a break.
        if (end == pos_ && atEnd_) end = size_;
        if (end > pos_) {
            block = std::string_view(data + pos_, end - pos_);
            pos_ = end;
            // A block that ends in CR: the LF of its CR LF may come next.
            if (data[end - 1] == '\r') skipLf_ = true;
            return true;
        }
        if (atEnd_) return false;
        // No whole line yet: read on (the buffer grows for a long line).
        fill();
    }
}

CommittedTextFile::CommittedTextFile(const ConfinedRoot& root, std::string_view relative,
                                     OnExisting onExisting)
    : file_(std::make_unique<CommittedFile>(root, relative, onExisting)) {}

CommittedTextFile::~CommittedTextFile() = default;

void CommittedTextFile::print(std::string_view text) {
    write(text);
    write("\r\n");
}

void CommittedTextFile::write(std::string_view text) {
    if (!file_) raise(err::BadFileName);
    buffer_ += text;
    if (buffer_.size() >= FlushSize) flush();
}

void CommittedTextFile::flush() {
    if (buffer_.empty()) return;
    const std::string bytes = text::toCp936(buffer_);
    buffer_.clear();
    file_->write(bytes);
}

void CommittedTextFile::commit() {
    if (!file_) raise(err::BadFileName);
    try {
        flush();
        file_->commit();
    } catch (...) {
        file_.reset();
        throw;
    }
    file_.reset();
}

}  // namespace platform::files
