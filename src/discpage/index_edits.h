// The disc page's changes to an index file's text, and its count of ticked
// sizes. Each works on whole lines through the index-line grammar
// (catalogue/index_line.h): a file is named by its full path, matched
// against the whole path of a file line, never as a piece of a longer path
// ("E:\docs\a.txt" never finds "E:\docs\a.txt.bak", "pop\live\" never
// "pop\kpop\live\").
//
// Tick protocol: a file is ticked while its line holds an odd number of tick
// marks "($)". Every tick or untick adds one mark to the run after the size
// and before the mirror suffix; only the tick removal of the whole disc takes
// marks away.
//
// The texts are UTF-8 (an index file read whole); lines end at CR LF, a lone
// LF or a lone CR, and a last line may have no break. The edits rewrite only
// the lines they change; every other byte of the text stays as it was.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/index_line.h"

namespace platform::files {
class RawLineReader;
}

namespace discpage {

// One queued tick or untick of a file listed on the disc page.
struct PendingTick {
    // The texts of the listed folder's parent node and of the folder's node
    // in the disc list, and the row key without its noStr prefix: the file's
    // name, "[", size, "]" and the marks it had when it was listed.
    std::string parentText;
    std::string folderText;
    std::string key;
    // The listed folder is the scan root (its parent is the disc node).
    bool atRoot = false;
    // The listed folder's path below the disc node ("E:\docs",
    // "photos\2004"): the file's line is the one whose path is this folder's
    // absolute path, "\" and the name in key. applyTicks finds the line by
    // this path and the key alone; parentText, folderText and atRoot only
    // describe where the entry was made.
    std::string folderPath;
};

struct TickResult {
    std::string text;         // the index text with the marks added
    std::size_t written = 0;  // the entries whose file line was found
    // The paths of the entries refused because several lines spell their
    // file alike but for letter case and none exactly (see name_lookup.h).
    std::vector<std::string> ambiguous;
};

// Adds one mark per entry, in queue order, to the file line the entry names:
// the line whose path is the entry's folder's absolute path (see
// indexFolderPrefix) followed by the name in its key and whose size is the
// key's, chosen by the rule of catalogue/name_lookup.h (the exact path
// first; another letter case only when one such file alone is there); the
// marks the key carried are not compared, so a line changed since the
// listing is still found. A file named by several entries gets one mark per
// entry, on the first of its lines; an entry whose line is missing or
// ambiguous (or whose key holds no size) changes nothing. The text is scanned
// once, whatever the number of entries; hardDisc tells a catalogued
// hard-disk folder, whose absolute paths begin with HardDiscBase of the first
// line.
TickResult applyTicks(std::string_view indexText, const std::vector<PendingTick>& ticks,
                      bool hardDisc);

// Removes every tick mark from the lines of files without a mirror copy;
// lines with a mirror suffix keep their marks, folder lines and lines that
// are no file lines stay as they are (a name holding "($)" is never cut).
// Running it on its own result changes nothing.
std::string removeTicks(std::string_view indexText);

// The marking of every unticked file whose name holds a keyword: a file
// line (no "|", read through the index-line grammar) is ticked when it holds
// an even number of marks and the first place where one of the keywords
// stands in it, ASCII letter case ignored, is followed by no "\" anywhere
// in the line. So the keyword must lie in the file's name: a line whose
// first match is a folder of its path ("E:\indexes\index.htm" for "\index")
// is passed over, and so is every line with a mirror suffix, whose path
// follows the name. The new mark heads the run of marks after the size
// bracket, also when the name itself holds "]"; a file matched by several
// keywords or at several places gets one mark. Lines that are not file lines
// stay as they are. ticked counts the files marked.
struct KeywordTicks {
    std::string text;
    std::size_t ticked = 0;
};
KeywordTicks tickByKeywords(std::string_view indexText, std::span<const std::string_view> keywords);

// The keywords of the index and default pages ("\index", "\default": the
// name begins with them) and of the readme files (the name holds it).
inline constexpr std::array<std::string_view, 2> IndexPageKeywords = {"\\index", "\\default"};
inline constexpr std::array<std::string_view, 1> ReadmeKeywords = {"readme"};

// The lines of the files that carry marks, ticked or not, in the order of
// the text, each without its line break and as stored; lines with a mirror
// suffix are left out, and a line equal to the one listed before it is
// listed once.
std::vector<std::string> markedFileLines(std::string_view indexText);
// Removes every tick mark and every mirror suffix from the file lines, so
// that each becomes its path and size alone; folder lines and lines that are
// no file lines stay as they are (a name holding "($)" or "{" is never cut).
// Running it on its own result changes nothing.
std::string removeTicksAndMirrors(std::string_view indexText);

// The files of a disc, or of one folder and everything below it, and their
// total size, read line by line from the start of the index file; with
// tickedOnly the ticked files alone. folderPath "" counts the whole disc;
// otherwise the folder's path below the disc node ("E:\docs"), and the files
// counted are those whose path begins with the folder's absolute path
// (indexFolderPrefix of the file's first line) as FolderSpellings chooses
// it: "E:\Docs" never counts the files of "E:\docs", so
// "pop\live" never counts "pop\kpop\live" and "E:\docs" never "E:\docs2".
// Lines are read with blanks cut from both ends and through the index-line
// grammar: folder lines never count, the size is the line's own size field
// ("Photo [2].jpg[500]" is 500 bytes). Files of 0 bytes are not counted; a
// negative size is read by adding 2^32.
struct FileTotal {
    std::int64_t files = 0;
    double bytes = 0;
};
FileTotal countFiles(platform::files::RawLineReader& lines, std::string_view folderPath,
                     bool hardDisc, bool tickedOnly);

// countFiles of the ticked files.
using TickedTotal = FileTotal;
TickedTotal countTicked(platform::files::RawLineReader& lines, std::string_view folderPath,
                        bool hardDisc);

}  // namespace discpage
