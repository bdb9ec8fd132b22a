// The line grammar of a disc's index file ("guangpan\<DiscName>.wcd").
//
// The index file keeps one line per folder and one per listed file, in UTF-8
// inside the program (code page 936 on disk), each ended by CR LF:
//
//   folder line   P|name@@          P = the parent path, always ending in "\";
//                                   the "@"s are the folder-key suffix that
//                                   makes the printed name unique in a run
//   file line     P name[size]($)($){mirror}
//                                   size: bytes in plain decimal, 64-bit;
//                                   "($)": zero or more tick marks (an odd
//                                   number means ticked); "{...}": at most one
//                                   mirror suffix, the path of the file's copy
//                                   on the hard disk
//
// Nothing is escaped: names may hold "[", "]", "{", "}", "(", ")", "$" and "@".
// So file lines are read from the right (marks and size are peeled off the
// end), and a mirror suffix is told from a name holding "{" by the rule that
// a mirror path ends with "\" and the file's own name. A line holding "|" is a
// folder line: names never hold "|" (the folder walk skips names that do).
//
// Every reader and writer of index lines in the program goes through this
// module; nobody parses index lines by hand.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/confined.h"

namespace catalogue {

// The token that ticks (odd count) or unticks (even count) a file.
inline constexpr std::string_view TickMark = "($)";
// The character of the folder-key suffix.
inline constexpr char FolderKeyChar = '@';
// Every stored line ends with this.
inline constexpr std::string_view LineEnd = "\r\n";

// The folder of the index files in the program folder, and their extension.
inline constexpr std::string_view IndexFolderName = "guangpan";
inline constexpr std::string_view IndexExtension = ".wcd";
// The pattern that lists the index files.
inline constexpr std::string_view IndexFilePattern = "*.wcd";

// programFolder + "\guangpan".
std::string indexFolderPath(std::string_view programFolder);
// programFolder + "\guangpan\" + discName + extension: the path of one of a
// disc's files (its index ".wcd", its remarks ".note", its usage notes
// ".exam"). A name that could reach outside "guangpan" (empty, "." or "..",
// or holding "\", "/" or ":") raises 52, so a name read from a stored file
// never names another file.
std::string discFilePath(std::string_view programFolder, std::string_view discName,
                         std::string_view extension);
// The disc's index file: discFilePath(programFolder, discName, ".wcd").
std::string discIndexFilePath(std::string_view programFolder, std::string_view discName);
// discName + extension: the name of one of the disc's files in "guangpan",
// checked as discFilePath checks it (52).
std::string discFileName(std::string_view discName, std::string_view extension);
// "guangpan" as the root every change to a disc's own files goes through
// (76 when it is missing).
platform::files::ConfinedRoot openIndexFolder(std::string_view programFolder);
// The program folder as the root of changes to its own files (the
// catalogue, the mirror disc list, settings).
platform::files::ConfinedRoot openProgramFolder(std::string_view programFolder);

enum class IndexLineKind { Folder, File, Unknown };

// A folder line: parent + "|" + key.
struct IndexFolderLine {
    std::string parent;  // the parent folder's path, ending in "\"
    std::string key;     // the printed name with its folder-key suffix ("img@")

    // The folder's name as shown: the key without its trailing "@"s, so that
    // a name holding "@" inside ("me@home") comes out whole.
    std::string_view shownName() const;
    // parent + name shown: the folder's own path (without a final "\").
    std::string path() const;
};

// A file line: path + "[" + size + "]" + ticks × "($)" + optional "{mirror}".
struct IndexFileLine {
    std::string path;                   // the full path as scanned ("E:\docs\a.txt")
    std::string sizeText;               // the size token as stored ("1234")
    int ticks = 0;                      // number of tick marks
    std::optional<std::string> mirror;  // the mirror copy's path, without the braces

    // The size as a 64-bit count. Old index files may hold a negative size (a
    // signed 32-bit write of a file above 2 GB); it is returned as stored.
    std::int64_t size() const;
    // The file's size in bytes: a negative size is read by adding 2^32.
    std::uint64_t bytes() const;
    bool ticked() const { return ticks % 2 == 1; }
    std::string_view name() const;    // text after the last "\"
    std::string_view folder() const;  // up to and including the last "\"
};

// What kind of line this is. A line holding "|" is a folder line; a line that
// parses as a file line is a file line; anything else is unknown (readers
// pass such lines over).
IndexLineKind indexLineKind(std::string_view line);

// The parsers take one line without its line end. They return nothing when
// the line is not of their kind.
std::optional<IndexFolderLine> parseFolderLine(std::string_view line);
std::optional<IndexFileLine> parseFileLine(std::string_view line);

// The formatters give the line without its line end. formatFileLine writes
// the size token as stored, so parse + format gives the same line back.
std::string formatFolderLine(std::string_view parent, std::string_view key);
std::string formatFolderLine(const IndexFolderLine& line);
std::string formatFileLine(const IndexFileLine& line);

// The writer's helpers: append the line and its CR LF to an output buffer.
void appendFolderLine(std::string& out, std::string_view parent, std::string_view key);
void appendFileLine(std::string& out, std::string_view parent, std::string_view name,
                    std::uint64_t size);

// Size tokens: plain decimal, no sign, no separators, no leading zeros.
std::string formatSize(std::uint64_t size);
// Reads a size token: decimal digits with an optional leading "-" (old files).
// Nothing for an empty token, any other character, or a value beyond 64 bits.
std::optional<std::int64_t> parseSize(std::string_view token);

// The number of "@"s that end a printed folder name.
std::size_t folderKeySuffixLength(std::string_view key);
// The key without its trailing "@"s.
std::string_view stripFolderKeySuffix(std::string_view key);

// One line of an index text read whole (UTF-8): its content [begin,
// contentEnd) and its break up to end. A line ends at CR LF, a lone LF or a
// lone CR; a last line without a break ends at the end of the text.
struct TextLine {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};
// The line that begins at begin.
TextLine textLineAt(std::string_view text, std::size_t begin);

// From the first line of an index file:
// the drive letter under which the disc was scanned (its first character);
std::string indexDriveLetter(std::string_view firstLine);
// the parent folder of a scanned hard-disk folder: the line's path up to and
// including its second-last "\" ("D:\music\pop\|live" and
// "D:\music\pop\a.mp3[4096]" both give "D:\music\"); "" when the path holds
// fewer than two "\" (a whole drive was scanned). A mirror suffix, when the
// line has one, never counts.
std::string HardDiscBase(std::string_view firstLine);

}  // namespace catalogue
