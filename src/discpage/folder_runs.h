// Where each folder's lines begin in a disc's index file, recorded while the
// opening of the disc reads every line, so that a click on a folder reads the
// folder's own lines and not the index from its start.
//
// The listing of a folder (file_listing.h) passes over every line before the
// first one that begins with the folder's prefix (its absolute path and "\",
// exactly) and reads on from there. So the record keeps, for every text that
// a line begins with up to one of its "\" bytes, where the first line that
// begins so lies. Whatever a folder's lines look like (in one run or spread
// over several, led by a subfolder's lines, beside a case twin such as
// "docs" beside "Docs"), reading from that line gives what reading from the
// start gives. The same texts with ASCII letter case ignored are kept too:
// a prefix that no line begins with, exactly or so, lists nothing without a
// reading; one that lines begin with only in another letter case is listed
// from the start (listFolder), as the name rule of case twins says. The
// texts are kept as 64-bit hashes, and the line found is checked to begin
// with the prefix before it is read.
//
// A record serves the file it was made from, as it was then (its FileStamp):
// once the file has changed, the listing reads the index from its start.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "discpage/file_listing.h"
#include "platform/files/text_file.h"

namespace discpage {

class FolderRuns {
  public:
    // A record of no file.
    FolderRuns() = default;
    // Begins the record of the index file at path as its reader opened it.
    FolderRuns(std::string path, const platform::files::FileStamp& stamp);

    // Each line of the file in turn, as RawLineReader::next gives it, and
    // the offset where it begins; then finish() once, after the last line.
    void add(std::string_view raw, std::uint64_t offset) {
        // Mostly a line of the folder of the line before: it begins with
        // that folder and holds no other "\". Nothing begins here first.
        const std::size_t known = lastFolder_.size();
        if (lineCount_ != 0 && raw.size() > known && raw.front() != ' ' &&
            std::memcmp(raw.data(), lastFolder_.data(), known) == 0 &&
            !std::memchr(raw.data() + known, '\\', raw.size() - known)) {
            ++lineCount_;
            return;
        }
        addOther(raw, offset);
    }
    void finish();

    // The index file's path as the record was begun with it ("" for none).
    const std::string& path() const { return path_; }
    const platform::files::FileStamp& stamp() const { return stamp_; }
    // The file's first line, decoded ("" for an empty file).
    const std::string& firstLine() const { return firstLine_; }
    std::uint64_t lineCount() const { return lineCount_; }

    // Where the first line that begins with prefixBytes (bytes as the file
    // holds them, ending in "\") begins; nothing when no line does. Where two
    // texts share a hash, the line may begin with the other one.
    std::optional<std::uint64_t> firstLineBeginning(std::string_view prefixBytes) const;
    // The same with ASCII letter case ignored.
    std::optional<std::uint64_t> firstLineBeginningIgnoringCase(std::string_view prefixBytes) const;

  private:
    struct Start {
        std::uint64_t hash;
        std::uint64_t offset;
    };
    struct Slash {
        std::size_t position;
        std::uint64_t hash;
        std::uint64_t foldedHash;
    };

    std::string path_;
    platform::files::FileStamp stamp_;
    std::string firstLine_;
    std::uint64_t lineCount_ = 0;
    // Where each text begins, in file order; sorted by hash, one per hash
    // (the first line), at the first look-up, so that the opening pays only
    // for writing them down.
    mutable std::vector<Start> starts_;
    mutable std::vector<Start> foldedStarts_;
    mutable bool sorted_ = false;
    void sort() const;
    // The last line's bytes up to its last "\", and the hash of its text up
    // to each of its "\": a line that begins as the one before only adds what
    // follows.
    std::string lastFolder_;
    std::vector<Slash> lastSlashes_;
    void addOther(std::string_view raw, std::uint64_t offset);
};

// Reads the index from the start and records it.
FolderRuns recordFolderRuns(platform::files::RawLineReader& lines, std::string path);

// The folder's listing as listFolder gives it, read from the first line that
// begins with the folder's prefix on. Nothing (the reader then stands
// anywhere) when the record does not serve the file as the reader opened it,
// or when the line it names does not begin there with the prefix.
std::optional<std::vector<ListedEntry>> listFolderRun(platform::files::RawLineReader& lines,
                                                      const FolderRuns& runs,
                                                      const ListingScope& scope);

}  // namespace discpage
