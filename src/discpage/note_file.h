// The remark and usage-note files of a disc: "guangpan\<DiscName>.note"
// (remarks) and "guangpan\<DiscName>.exam" (usage notes), code page 936 on
// disk, read whole. A file is a run of records, each
//
//     marker  key  "=="  text  CR LF
//
// marker "@##note##@" (remarks) or "@##exam##@" (usage notes); key the item's
// note key (folder path from the disc node, "\", the item's name, "." and its
// type column: "Tools\E:\docs\Readme.txt", "Tools\E:\docs.文件夹",
// "src_hard\src\Makefile.No扩展名"); text at least one character, line breaks
// allowed. At most one record per key; new keys are appended, a replaced text
// keeps its place, a removed record closes up. A file may begin with one
// empty line (left when its only record was removed).
//
// A record is found by marker, the whole key and "==", never by a key that
// merely begins another one (page.htm never finds page.html's record), and
// its text runs to the CR LF before the next record (the next marker followed
// by the disc's name) or before the file's final CR LF. A disc's records are
// those whose key is its name and "\": the records of a disc "Wx" (which end
// a record of "W" before them) are never those of "W". Every reader and
// writer of these files goes through this module.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace platform::files {
class ConfinedRoot;
}

namespace discpage {

inline constexpr std::string_view NoteMarker = "@##note##@";
inline constexpr std::string_view UsageMarker = "@##exam##@";
inline constexpr std::string_view NoteExtension = ".note";
inline constexpr std::string_view UsageExtension = ".exam";
inline constexpr std::string_view NoteSeparator = "==";

// The note key of a listed item: folderPath + "\" + text + "." + type, where
// folderPath is the listed folder's full path from the disc node on.
std::string noteKey(std::string_view folderPath, std::string_view text, std::string_view type);

// The text of key's record in a file's text, or nothing when it has none (a
// key that is not discName's, its name and "\" first, has none): the
// first marker + key + "==" of the text starts it, and its text runs to the
// next marker + discName, less the one line break before that (CR LF, or a
// lone LF or CR), or to the end of the file, less its final line break.
std::optional<std::string> readNote(std::string_view fileText, std::string_view marker,
                                    std::string_view discName, std::string_view key);

// A text taken from a file for a record (a page's title, a text's opening,
// text selected in its preview): every line break removed, CR LF, a lone CR
// and a lone LF alike, so the record stays on its one line.
std::string withoutLineBreaks(std::string_view text);

// True when a text, stored under a key of discName, would not read back
// whole: it holds the marker followed by the disc's name, where a reader
// takes the next record to begin.
bool noteTextCutsRecord(std::string_view text, std::string_view marker, std::string_view discName);

// Where one record lies in a file's text: its key [keyBegin, keyEnd) and its
// text [textBegin, textEnd), as readNote reads the text.
struct NoteRecordSpan {
    std::size_t keyBegin;
    std::size_t keyEnd;
    std::size_t textBegin;
    std::size_t textEnd;
};

// The records of a file's text in file order, read in one pass: every marker
// followed by the disc's name and "\" starts a record whose key runs to the
// first "==" after the name and whose text runs to the line break before the
// next marker followed by the disc's name, or to the end of the file less its
// final line break. A later record
// of a key is listed too, though readers see the first one only.
std::vector<NoteRecordSpan> noteRecords(std::string_view fileText, std::string_view marker,
                                        std::string_view discName);

// The records of one file, indexed once, for a listing that looks up every
// row: find(key) gives what readNote gives, in constant time. Every marker
// followed by the disc's name starts a record whose key runs to the first
// "==" after the name; the first record of a key wins. A key that does not
// begin with the disc's name, holds "==" or ends in "=" is looked up by
// readNote itself.
class NoteLookup {
  public:
    NoteLookup(std::string fileText, std::string_view marker, std::string_view discName);
    // The record's text, "" when there is none.
    std::string find(std::string_view key) const;
    bool empty() const { return text_.empty(); }

  private:
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const {
            return std::hash<std::string_view>{}(key);
        }
    };

    std::string text_;
    std::string marker_;
    std::string discName_;
    // key -> [begin, end) of the record's text in text_ (first record wins).
    std::unordered_map<std::string, std::pair<std::size_t, std::size_t>, KeyHash, std::equal_to<>>
        records_;
};

// The text of a note file at path (a Windows path), "" when it is missing or
// cannot be read: the listings and the search then show no texts from it.
std::string readNoteText(std::string_view path);

// What storing a text does to a file's text.
struct NoteChange {
    enum Kind {
        Nothing,  // a new key with an empty text: nothing is written
        Append,   // a new key: `line` is appended (the write adds CR LF)
        Rewrite,  // a replaced or removed record: the file becomes `text`
    };
    Kind kind = Nothing;
    std::string line;  // Append: marker + key + "==" + text, without its CR LF
                       // (after a CR LF when the file's last line has none)
    std::string text;  // Rewrite: the whole new file text, ending in one CR LF
                       // ("\r\n" alone when the only record was removed)
};

// Storing text under key in a file whose text is fileText: an empty text
// removes the record; any other text (blanks too) adds or replaces it. The
// record is found as readNote finds it; a replaced record keeps its key and
// place and gets the text and CR LF, a removed one closes up with the next
// record. A rewritten file ends with exactly one CR LF: the line break that
// ends it (if any) is written anew.
NoteChange planStoreNote(std::string_view fileText, std::string_view marker,
                         std::string_view discName, std::string_view key, std::string_view text);

// The file's text once a change is written.
std::string noteTextAfter(std::string_view fileText, const NoteChange& change);

// The same on the file at path (a Windows path). A missing file holds no
// records; the first text stored creates it; an empty text for a key without
// a record writes nothing and creates nothing. A file that exists but cannot
// be read raises its error and is not written (appending to it would give the
// key a second record). Appends in place; rewrites through the committed-
// write path. Returns the file's text afterwards.
// The file is changed beneath the folder that holds it: a link there that
// leads out of the folder is refused (75).
std::string StoreNote(std::string_view path, std::string_view marker, std::string_view discName,
                      std::string_view key, std::string_view text);
// The same on the file at relative beneath root (confined.h).
std::string StoreNote(const platform::files::ConfinedRoot& root, std::string_view relative,
                      std::string_view marker, std::string_view discName, std::string_view key,
                      std::string_view text);

}  // namespace discpage
