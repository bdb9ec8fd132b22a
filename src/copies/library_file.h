// The library file "favorite.ini": one record per line (code page 936, CR LF),
// in the order the entries were added. A record is five fields, each after
// its marker, with no escaping:
//
//     |文件图标:1;|文件名:img;|光盘名字:[003]Tools;|文件路径:F:\docs\img;|文件备注:空
//
// An entry's key is disc ";|文件路径:" path: the text between the end of
// ";|光盘名字:" and the start of ";|文件备注" (searched without its colon).
//
// Lines end at CR LF, a lone CR or a lone LF (a hand-edited file), for the
// loader and for the look-up and removal of a record alike.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace copies {

inline constexpr std::string_view LibraryFileName = "favorite.ini";

inline constexpr std::string_view IconMarker = "|文件图标:";
inline constexpr std::string_view NameMarker = ";|文件名:";
inline constexpr std::string_view DiscMarker = ";|光盘名字:";
inline constexpr std::string_view PathMarker = ";|文件路径:";
// The remark's marker as the readers search it: without its colon.
inline constexpr std::string_view RemarkMarkerStem = ";|文件备注";
inline constexpr std::string_view RemarkMarker = ";|文件备注:";
// What an empty remark is stored as.
inline constexpr std::string_view EmptyRemark = "空";

// The library file of a program folder.
std::string libraryFilePath(std::string_view programFolder);

struct LibraryRecord {
    std::string icon;    // the small-icon number, in decimal
    std::string name;    // the path's last element, cut before its last "."
    std::string disc;    // the disc's name
    std::string path;    // the full path, without a final "\"
    std::string remark;  // one line; "空" when there is none
};

// The record's line (without its line break).
std::string formatRecord(const LibraryRecord& record);

// The key of an entry: disc ";|文件路径:" path.
std::string libraryNodeKey(std::string_view disc, std::string_view path);

// The name of an entry: the path's last element, cut before its last "."
// when it has one (folders alike: "F:\docs\data.old" gives "data").
std::string entryName(std::string_view path);

// The remark field of a row's remark: without line breaks, blanks trimmed at
// both ends, EmptyRemark for an empty one. An empty remark is told before the
// breaks go for a CD, after them for a catalogued hard-disk folder (so a
// remark of line breaks alone is stored empty for a CD, as EmptyRemark for a
// hard-disk folder; one of blanks alone is stored empty for both).
std::string recordRemark(std::string_view remark, bool hardDisc);

// A record as the library page shows it: every "|" starts a new line (CR LF).
std::string shownRecord(std::string_view line);

// True when the text's last line has no line break after it (an appended
// record would run on from it).
bool lastLineOpen(std::string_view fileText);

// What the loader takes from one line of the file.
struct LibraryEntry {
    std::string name;
    std::string key;
    // The icon field's number, rounded to a whole number (half to even);
    // nothing when it is no number within 16 bits.
    std::optional<int> icon;
};

// The entry of a line: the line is trimmed first. Nothing for a line that is
// empty after trimming, or that lacks a marker or has them out of order.
std::optional<LibraryEntry> parseLibraryLine(std::string_view line);

// The key cut out of a line as the loader cuts it; nothing when it has none.
std::optional<std::string> recordKey(std::string_view line);

// Where the record of a key lies in the file's text: the first line whose key
// equals it. Offsets in bytes of the text; the line excludes its break.
struct RecordSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    // The line as it stands in the file.
    std::string_view line(std::string_view fileText) const {
        return fileText.substr(begin, end - begin);
    }
};
std::optional<RecordSpan> findRecord(std::string_view fileText, std::string_view key);

// The file's text without the record of key: the first line goes with the
// line break after it, any other line with the line break before it.
// Unchanged when there is no such record.
std::string removeRecord(std::string_view fileText, std::string_view key);

}  // namespace copies
