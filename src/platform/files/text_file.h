// Stored text files: code page 936 on disk (written as GB18030), UTF-8 inside
// the program. Paths are Windows paths; an existing file found through a match
// without regard to letter case is the one read or written, and a new file is
// created under the spelling given.
//
// Errors when opening: 53 file not found, 76 its folder is missing, 75 the
// name is not a regular file (a folder, pipe or device) or a read-only file
// is to be written, 70 no permission, 52 bad name, 68 unknown drive, 71 drive
// without a disc.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/committed_write.h"

namespace platform::files {

class ConfinedRoot;

// The whole file as one text.
std::string WholeFileRead(std::string_view path);

// The bytes of a stored file by native path (the reading under WholeFileRead
// and InputFile, and under the program's own stores outside the drive table).
// Only a regular file is read: a folder, pipe, device or socket, or a link to
// one, is refused with error 75 (its description says what the name is)
// without waiting on it or reading from it. Other errors: 53 no such file,
// 76 a folder above it missing, 70 no permission. With a limit, at most that
// many bytes from the start are read.
std::string readRegularFile(const std::string& nativePath,
                            std::size_t limit = static_cast<std::size_t>(-1));

// Writes a text back whole to the file at relative beneath root (confined.h):
// the final line break of the text is dropped when it has one (CR LF, or a
// lone LF or CR) and one CR LF is written after the rest, so the file ends as
// it did; an empty text makes an empty file. It goes through the
// committed-write path (committed_write.h), so a failure or a crash at any
// point leaves the old file whole. A missing file is created; the file keeps
// its permissions, and a link there is followed only while it stays beneath
// the root.
void WholeFileRewrite(const ConfinedRoot& root, std::string_view relative, std::string_view text);

// A file opened for input, read line by line. A line ends at CR LF, a lone CR
// or a lone LF; a final line without a break is a line too.
class InputFile {
  public:
    explicit InputFile(std::string_view path);

    // True when every line has been read.
    bool eof() const { return next_ >= lines_.size(); }
    // The next line without its break; error 62 past the end of the file.
    std::string lineInput();

  private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
};

// What tells one state of a stored file from another: the file itself (its
// device and inode number), its size, and the times of its last change of
// contents and of its last change of any kind, in nanoseconds. A rewrite
// through the committed-write path makes a new file (another inode) and sets
// the change time, which no program can set back.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// A stored text file read line by line as its raw bytes (code page 936), in
// blocks, so that a reader that stops early never reads the rest of the file.
// The index readers of the disc page use it on files of any size: a line is
// decoded (text::fromCp936) only when the reader needs its text. Opening
// raises as InputFile does (53, 75, 70, 76).
class RawLineReader {
  public:
    explicit RawLineReader(std::string_view path);
    ~RawLineReader();
    RawLineReader(const RawLineReader&) = delete;
    RawLineReader& operator=(const RawLineReader&) = delete;

    // The file as it was when it was opened.
    const FileStamp& stamp() const { return stamp_; }

    // The next line's bytes without its break (CR LF, a lone CR or a lone
    // LF; a final line without a break is a line too). The view stays valid
    // until the next call. False at the end of the file; a read error raises
    // 57.
    bool next(std::string_view& line);
    // Where the line that next() gave last begins in the file (its byte
    // offset).
    std::uint64_t lineOffset() const { return lineOffset_; }
    // Reading goes on at that byte offset, as if a line began there; a
    // failure raises 57.
    void seek(std::uint64_t offset);

    // The next run of whole lines, breaks included: the bytes read and not
    // yet handed out, up to the last line break among them (the rest of the
    // file at its end). Lines are told apart in it as next() tells them
    // (forEachRawLine); the LF of a CR LF that a block ends between is left
    // out of the next block. False at the end of the file. A reader uses
    // next() or nextBlock(), not both.
    bool nextBlock(std::string_view& block);

  private:
    bool fill();

    int fd_ = -1;
    FileStamp stamp_;
    // The bytes read and not yet handed out are buffer_[pos_, size_); the
    // buffer grows only for a line longer than a block. buffer_[0] is the
    // byte at bufferOffset_ of the file.
    std::unique_ptr<char[]> buffer_;
    std::uint64_t bufferOffset_ = 0;
    std::uint64_t lineOffset_ = 0;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    bool atEnd_ = false;
    bool skipLf_ = false;
};

// True for the bytes that end a line: CR and LF.
constexpr bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

// Calls visit(line) for each line of a block of RawLineReader::nextBlock,
// without its break, as RawLineReader::next would give it.
template <class Visit>
void forEachRawLine(std::string_view block, Visit&& visit) {
    std::size_t at = 0;
    while (at < block.size()) {
        std::size_t end = at;
        while (end < block.size() && !isLineBreak(block[end])) ++end;
        visit(block.substr(at, end - at));
        if (end < block.size() && block[end] == '\r' && end + 1 < block.size() &&
            block[end + 1] == '\n')
            ++end;
        at = end + 1;
    }
}

// A stored text file written whole as a stream (a scan's index file): UTF-8
// in, code page 936 on disk, buffered. The text goes to a temporary file
// beside the target; commit() makes it the file, durably (committed_write.h).
// Destroyed without a commit (a failure on the way), it leaves no trace and
// the old file as it was. Opening raises 75 for a path that leaves root (with
// the text "路径不在允许的文件夹里：" and the path), a folder or a read-only
// file of that name; 76 when the folder is missing; with OnExisting::Refuse 58
// when the file exists; commit() raises 58 when one has appeared since.
// Replacing an existing file keeps its permissions.
class CommittedTextFile {
  public:
    // The file at relative beneath root (confined.h).
    CommittedTextFile(const ConfinedRoot& root, std::string_view relative, OnExisting onExisting);
    ~CommittedTextFile();
    CommittedTextFile(const CommittedTextFile&) = delete;
    CommittedTextFile& operator=(const CommittedTextFile&) = delete;

    // The text and CR LF.
    void print(std::string_view text);
    // The text as it is.
    void write(std::string_view text);
    // Writes what is buffered and commits the file; writing ends here.
    void commit();

  private:
    void flush();

    std::unique_ptr<CommittedFile> file_;  // null once committed
    std::string buffer_;                   // UTF-8 not yet written
};

}  // namespace platform::files
