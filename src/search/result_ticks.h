// Ticks written from the search-result list into a disc's index text: the
// line that a result row stands for, and tick marks added to many lines of
// one text in one pass.
//
// A row's line is looked up whole, never as the first text that contains the
// row's key, and chosen by the rule of catalogue/name_lookup.h: the exact
// name first; another letter case only when one such line alone is there;
// several of them and no exact one leave the row's line ambiguous.
// - a file row (the file layout) holds the index line as the search listed
//   it, lower-cased by the extension search; its line is a file line whose
//   path and size are the row's ("E:\a.txt[3]" never finds
//   "E:\a.txt.bak[9]"), whatever marks or mirror suffix either holds; a
//   folder row (its line holds "|") finds the folder line that reads as the
//   row does;
// - a note row (the note layout) holds the note key without the disc's name:
//   the folders from the disc node down, the name, "." and the type text. For
//   a CD the folders begin with the scan drive ("E:\docs\a.txt"), so the key
//   is the file's index path; for a catalogued hard-disk folder they begin
//   with the scanned folder's name ("src\Makefile"), and the index path is
//   the scanned folder's parent (HardDiscBase of the first line) followed by
//   the key. The type text "No扩展名" of a file without extension is no part
//   of its path; a key of a folder (type text "文件夹") names no file line.
//
// Texts are UTF-8 (an index file read whole); lines end at CR LF, a lone LF
// or a lone CR, and a last line may have no break.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/name_lookup.h"
#include "search/result_rows.h"

namespace search {

// A line of an index text found for a row.
struct ResultLine {
    std::size_t begin = 0;       // the line's first character in the text
    std::size_t contentEnd = 0;  // where its content ends: its break, or the text's end
    bool folder = false;         // a folder line
    int ticks = 0;               // a file line's tick marks
    bool mirrored = false;       // a file line with a mirror suffix
    bool ticked() const { return ticks % 2 == 1; }
};

// The index path of the file a note row names, "" when it names none (an
// empty key, a folder's key). base is the scanned folder's parent for a
// hard-disk disc (HardDiscBase of the index's first line), "" for a CD.
std::string noteRowIndexPath(std::string_view noteKey, std::string_view base);

// What the lookup of a row found: its line when match is Found.
struct ResultLookup {
    catalogue::NameMatch match = catalogue::NameMatch::None;
    ResultLine line;
    std::string name;  // the path (or folder line) looked up, for a message
    explicit operator bool() const { return match == catalogue::NameMatch::Found; }
};

// The lines of many rows of one disc, found in one pass over the text for
// the file lines (and one for the folder lines when folder rows are
// wanted): entry i is the lookup of rowKeys[i] (read in the given layout),
// None when the key is empty, names no line, or the layout is the remark
// layout. Several keys may find the same line. hardDisc tells a catalogued
// hard-disk folder.
std::vector<ResultLookup> findResultLines(std::string_view indexText, ResultLayout layout,
                                          const std::vector<std::string>& rowKeys, bool hardDisc);

// The same for one row.
ResultLookup findResultLine(std::string_view indexText, ResultLayout layout,
                            std::string_view rowKey, bool hardDisc);

// The text with one tick mark put at the end of the content of each line
// named (by its ResultLine::contentEnd), after the line's marks and before
// its break; a position named twice gets one mark. One pass over the text.
std::string addTickMarks(std::string_view indexText, std::vector<std::size_t> contentEnds);

}  // namespace search
