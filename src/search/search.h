// The catalogue search: the query, the choice of discs by location, and the
// three searches over the stored files (the disc remarks of the catalogue
// file, the names in the discs' index files, the remarks and usage notes of
// the discs' note files). The functions here only read texts and give hits;
// the search command (Form1::find_Click, form1_search.cpp) shows them in the
// result list.
//
// Texts are searched decoded (UTF-8 inside the program), so a term never
// matches across the bytes of a Chinese character. Letter case is ignored by
// lower-casing ASCII letters on both sides (platform::text::lcase), which
// never changes a length, so a position found in a lower-cased copy is the
// same position in the stored text.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::files {
class RawLineReader;
}

namespace search {

// ---- the query ----

enum class Operator {
    Single,  // "单": one term
    And,     // "与": both terms
    Or,      // "或": either term
    Not,     // "非": the first term without the second
};

struct Query {
    std::string first;
    Operator op = Operator::Single;
    std::string second;  // "" without an operator
};

// Takes "a(与)b", "a(或)b", "a(非)b" apart: the first of the markers found in
// that order splits the text at its first occurrence; a later marker stays in
// the second term. Nothing is trimmed.
Query splitQuery(std::string_view findTxt);

// ---- the location ----

// The location without its leading "所有" and "\" ("" for "所有").
std::string locationPrefix(std::string_view findLocation);
// Whether a disc node of the category tree whose full path is fullPath lies
// in the location: the path equals the prefix, or begins with the prefix
// followed by "\" ("Music" never takes "Music2\disc"); "" takes every disc.
bool locationTakes(std::string_view fullPath, std::string_view prefix);

// ---- the disc remarks of the catalogue file ----

struct RemarkHit {
    std::string disc;    // field 1 of the disc line
    std::string number;  // field 2
    std::string remark;  // field 3 as stored: remark, "&&", purchase date
};
// The disc lines whose remark field holds the first term (the operator and
// the second term are not used). caseSensitive false: ASCII letters compared
// without regard to case. The walk ends when fewer than four "#" remain.
std::vector<RemarkHit> searchDiscRemarks(std::string_view catalogueText, std::string_view term,
                                         bool caseSensitive);

// ---- the names in a disc's index file ----

struct FileSearchOptions {
    bool extension = false;      // the term is an extension (always ignoring case)
    bool wholeWord = false;      // a file's base name or a folder's name is the term
    bool caseSensitive = false;  // plain and whole-word modes
};

struct FileHit {
    std::string_view line;  // the index line (lower-cased in extension mode), without its CR LF
    bool ticked = false;    // a file line with an odd number of tick marks (after its size)
};

// The hits of one disc in order, their lines kept back to back in one text
// (a hit costs its line's bytes and one number, whatever the number of hits).
// A hit's line stays valid until the list is changed or destroyed.
class FileHits {
  public:
    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    FileHit operator[](std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1] >> 1;
        return {std::string_view(lines_).substr(begin, (ends_[i] >> 1) - begin),
                (ends_[i] & 1) != 0};
    }
    FileHit back() const { return (*this)[size() - 1]; }
    void add(std::string_view line, bool ticked) {
        lines_ += line;
        ends_.push_back(lines_.size() << 1 | (ticked ? 1 : 0));
    }
    // No hits (the room stays for the next ones).
    void clear() {
        lines_.clear();
        ends_.clear();
    }
    // Adds the hits of another list after these.
    void append(const FileHits& other) {
        for (std::size_t i = 0; i < other.size(); ++i) add(other[i].line, other[i].ticked);
    }

    class Iterator {
      public:
        Iterator(const FileHits& hits, std::size_t i) : hits_(&hits), i_(i) {}
        FileHit operator*() const { return (*hits_)[i_]; }
        Iterator& operator++() { return ++i_, *this; }
        bool operator==(const Iterator& other) const { return i_ == other.i_; }

      private:
        const FileHits* hits_;
        std::size_t i_;
    };
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, size()}; }

  private:
    std::string lines_;
    std::vector<std::size_t> ends_;  // each line's end in lines_, times two, plus 1 if ticked
};

// The hits of one disc, in the order the result list shows them. A last line
// without a line break ends at the end of the text.
FileHits searchDiscFiles(platform::files::RawLineReader& lines, const Query& query,
                         const FileSearchOptions& options);
// The same into hits, which it empties first (its room is used again).
void searchDiscFiles(platform::files::RawLineReader& lines, const Query& query,
                     const FileSearchOptions& options, FileHits& hits);

// The index files of many discs, searched several at a time: each file's
// hits are handed to take(i, hits) in file order, on the calling thread,
// while worker threads search the files after it (the hits are valid during
// the call only; their lists are filled again for later files). open(i) opens file i, on
// the calling thread, a few files ahead of the one taken; an error of the
// platform (platform::Error) when it is opened or read gives that file no
// hits, another error reaches the caller at that file's turn. With one
// thread (or one file) nothing runs beside the calling thread.
void searchDiscFilesInOrder(
    std::size_t files, unsigned threads,
    const std::function<std::unique_ptr<platform::files::RawLineReader>(std::size_t)>& open,
    const Query& query, const FileSearchOptions& options,
    const std::function<void(std::size_t, const FileHits&)>& take);

// The threads the search command searches index files with: the cores, at
// most four.
unsigned searchThreadCount();

// ---- the remarks and usage notes of a disc ----

struct NoteHit {
    std::string path;  // the record's key after its first "\" (without the disc name)
    std::string text;  // the record's text as stored
};

// The records of a note file (marker "@##note##@" or "@##exam##@") whose text
// holds the query's terms as the operator says; a term found in a key or in
// a marker counts for nothing. Read by the one note-record module's rules.
std::vector<NoteHit> searchNotes(std::string_view noteFileText, std::string_view marker,
                                 std::string_view discName, const Query& query, bool caseSensitive);

}  // namespace search
