// The stored files of mirror copies: ticked files of a CD disc copied to a
// folder on the hard disk.
//
// - The mirror suffix on a file's index line: "{" + the copy's path + "}",
//   after the line's tick marks, at most one per line (the grammar is
//   catalogue/index_line.h). The copy's path is the target folder, "\", the
//   file's folders below the disc root and its name: a file scanned as
//   "E:\docs\img\a.jpg" and copied to "d:\zelbrin\Photos" is recorded as
//   "{d:\zelbrin\Photos\docs\img\a.jpg}".
// - The mirror disc list "red.ini" (catalogue::MirrorDiscListName): one disc
//   name per line, CR LF, in the order the discs were added.
// - The copied size "size.ini": one line holding the bytes copied so far in
//   plain decimal with a blank in the sign's place (" 805" + CR LF).
//
// Texts are UTF-8 (files read whole); lines end at CR LF, a lone LF or a
// lone CR.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace copies {

// The copied-size file in the program folder.
inline constexpr std::string_view CopiedSizeFileName = "size.ini";

// programFolder + "\size.ini", programFolder + "\red.ini".
std::string copiedSizeFilePath(std::string_view programFolder);
std::string mirrorDiscListPath(std::string_view programFolder);

// ---- the mirror disc list ----

// The list with the disc appended as a new line (after a CR LF when the last
// line has no break). Nothing when a line already equals the name exactly
// ("ABC" in the list does not stand for "abc").
std::optional<std::string> appendMirrorDisc(std::string_view listText, std::string_view discName);

// The list without the first line that equals the name (letter case counts),
// its line break included; a list left with no line is "". Nothing when no
// line equals it.
std::optional<std::string> removeMirrorDisc(std::string_view listText, std::string_view discName);

// ---- the copied size ----

// The number a copied-size text holds: its numeric prefix, leading blanks
// skipped; "" and a text without a number read 0, a number beyond the range
// of a double reads 0.
double readCopiedSize(std::string_view text);

// The text written for a total: plain decimal (no exponent, no separators),
// a blank in the sign's place for 0 and above, "-" below, then CR LF
// (805 -> " 805\r\n", -5 -> "-5\r\n", 1.5 -> " 1.5\r\n"). A total that is no
// number is written as 0.
std::string copiedSizeText(double total);

// Writes the copied-size file of the program folder with the total, through
// the committed write (a failure leaves the old file whole). Raises the
// file errors of text_file.h.
void writeCopiedSize(std::string_view programFolder, double total);

// Writes a stored file of the program folder (the disc's index, red.ini,
// size.ini) whole beneath the program folder (confined.h): a path outside it,
// or a link there that leads out, is refused (75). Raises the file errors of
// text_file.h.
void rewriteProgramFile(std::string_view programFolder, std::string_view path,
                        std::string_view text);

// ---- mirror paths ----

// True for a name that stays inside its folder: not empty, not "." or "..",
// without "\", "/" or ":".
bool isPlainName(std::string_view name);

// True for a plain absolute Windows path: a drive letter, ":\" and plain names
// separated by single "\" ("d:\zelbrin\a"); a drive root alone ("d:\") is
// one too. A final "\" after the last name is refused.
bool isPlainAbsolutePath(std::string_view path);

// The target folder as typed with one final "\" taken away, except from a
// drive root ("d:\x\" -> "d:\x", "d:\" stays).
std::string trimTargetFolder(std::string_view typed);

// Where a file's copy goes: target + "\" + its folders below the disc root
// and its name (folderPath "docs\img", or "" for a file in the root). The
// "\" is not doubled after a drive root. Nothing when a folder name or the
// name is not a plain name (isPlainName), so a name read from an index never
// reaches outside the target.
std::optional<std::string> mirrorCopyPath(std::string_view target, std::string_view folderPath,
                                          std::string_view name);

// True when a stored mirror path may be the copy of the file at indexPath
// (its path in the index, "E:\docs\a.jpg"): the mirror path is a plain
// absolute Windows path that ends with "\" + the index path without its first
// three characters, ASCII letter case ignored. A copy run writes only such
// paths; anything else (an imported or hand-edited index) is refused.
bool mirrorPathAccepted(std::string_view mirrorPath, std::string_view indexPath);

// ---- the copy run's pass over an index text ----

// A line of the text that holds a tick mark "($)": [begin, end) without its
// line break.
struct MarkedLine {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Every line that holds at least one "($)", once each, in file order.
std::vector<MarkedLine> markedLines(std::string_view indexText);

// A suffix to add: "{" + mirrorPath + "}" goes at lineEnd, the end of a line's
// content (MarkedLine::end), before its line break.
struct MirrorRecord {
    std::size_t lineEnd = 0;
    std::string mirrorPath;
};

// The text with every record's suffix inserted at its own line end, in one
// pass; records are given in the order of their positions (ascending).
std::string addMirrorSuffixes(std::string_view indexText, const std::vector<MirrorRecord>& records);

}  // namespace copies
