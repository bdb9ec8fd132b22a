// The catalogue file ("ini.ini"): every disc filed under a category.
//
//   |音乐                               a top-level category ("|" + name)
//   #[002]流行#2#演唱会&&2004-5-1#       a disc filed under it
//   @外国                               a sub-category of the "|" line above
//   #mp3_hard#3#硬盘上的音乐&&2004-6-9#   a disc filed under the sub-category
//
// The first character of a line tells its kind; other lines are passed over.
// A disc line is "#" name "#" number "#" remark "&&" date "#"; it belongs to
// the nearest category line above it, of either kind. formatDiscLine writes
// only fields that read back as they were (see discLineProblem). A new disc line goes
// directly under its category line, so the newest disc comes first.
// Categories and discs share one name space, compared without regard to case.
// A category path is "top" or "top\sub".
//
// The operations work on the whole text of the file (UTF-8, lines ended by
// CR LF; see normaliseLineEnds). Names are compared lower-cased on both sides.
// Positions are byte offsets into the text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace catalogue {

// The file's name in the program folder.
inline constexpr std::string_view CatalogueFileName = "ini.ini";

// programFolder + "\ini.ini".
std::string catalogueFilePath(std::string_view programFolder);
// The file's text with its line ends made whole (normaliseLineEnds); a
// missing file reads as empty. Other failures raise platform::Error.
std::string readCatalogueText(std::string_view path);
// Writes the text back whole (the old file stays whole when this fails),
// beneath the file's own folder (a link that leads out of it: 75).
void writeCatalogueText(std::string_view path, std::string_view text);

enum class CatalogueLineKind { CategoryLine, SubCategoryLine, DiscLine, Other };

// The fields of a disc line.
struct DiscLine {
    std::string name;    // the disc's name (its index file's name)
    std::string number;  // as typed; need not be numeric
    std::string remark;
    std::string date;  // the purchase date; may be empty

    bool operator==(const DiscLine&) const = default;
};

// A disc's fields with the category it is filed under.
struct DiscFields : DiscLine {
    std::string categoryPath;  // "top" or "top\sub"
};

// One line as the tree builders read it: its kind and its name (the text
// after "|" or "@", or the text between a disc line's first two "#").
struct CatalogueEntry {
    CatalogueLineKind kind = CatalogueLineKind::Other;
    std::string name;
};

CatalogueLineKind catalogueLineKind(std::string_view line);
CatalogueEntry parseCatalogueLine(std::string_view line);

// A disc line's fields: the number between the second and third "#", the
// remark up to the first "&&" of the third field and the date after it (no
// "&&": the whole field is the remark, the date is empty). Nothing when the
// line is not a disc line.
std::optional<DiscLine> parseDiscLine(std::string_view line);

// The third field of a disc line: remark + "&&" + date (the form in which the
// scan dialog hands both over, Form1::txtTip).
std::string formatRemarkAndDate(std::string_view remark, std::string_view date);
// The fields of a disc line from its name, its number and its third field,
// split at the first "&&" as parseDiscLine splits it.
DiscLine discLineOf(std::string_view name, std::string_view number, std::string_view remarkAndDate);

// What keeps a disc line's fields from reading back as they were written.
enum class DiscLineFault {
    Hash,             // a field holds "#", which ends a field
    LineBreak,        // a field holds CR or LF, which ends the line
    DoubleAmpersand,  // a field holds "&&", which splits remark from date
    AmpersandAtEdge,  // the remark ends in "&" or the date begins with "&"
};
enum class DiscField { Name, Number, Remark, Date };
struct DiscLineProblem {
    DiscField field;
    DiscLineFault fault;
};

// The first problem of the fields, taking the faults in the order above and
// within each the fields in the order name, number, remark, date; nothing
// when every field reads back as it is. A remark ending in "&" would give
// part of the separator to the date; a date beginning with "&" is refused
// alongside, since remark + "&&" + date split again at its first "&&" puts
// any such "&" at the date's start.
std::optional<DiscLineProblem> discLineProblem(const DiscLine& disc);
// The message that names a fault, as the scan dialog shows it:
//   Hash             光盘信息中不能含有#
//   LineBreak        光盘信息中不能含有换行符
//   DoubleAmpersand  光盘信息中不能含有&&
//   AmpersandAtEdge  备注的末尾和日期的开头不能是“&”！
std::string_view discLineFaultText(DiscLineFault fault);

// Lines without their line end.
std::string formatCategoryLine(std::string_view name);     // "|" + name
std::string formatSubCategoryLine(std::string_view name);  // "@" + name
// "#name#number#remark&&date#". Fields with a problem (discLineProblem) raise
// platform::Error 5 with the fault's message, so no broken line is written:
// for every line it gives, parseDiscLine gives back the same fields.
std::string formatDiscLine(const DiscLine& disc);

// Makes every line end CR LF (a lone LF or CR becomes CR LF) and gives a
// non-empty text that lacks a final line end one, so that "line + CR LF"
// searches also find the last line. Readers apply it to what they read.
std::string normaliseLineEnds(std::string_view text);

// The line of a category path: "|" + path for a top-level category, "@" +
// the text after the first "\" for a sub-category.
std::string categoryLineFor(std::string_view categoryPath);

// The start of the category's line: the first whole line (at the start of the
// text or after a line end, followed by CR LF) that equals the category's
// line exactly, else the first that equals it with letter case ignored when
// all such lines spell it one way. Nothing when there is none.
std::optional<std::size_t> FindCategoryLine(std::string_view text, std::string_view categoryPath);

// The text with CR LF + the disc line inserted where the category line's CR LF
// begins, so the disc is filed first under it. Nothing (and no change) when
// the category line is not found.
std::optional<std::string> InsertDiscLine(std::string_view text, std::string_view categoryPath,
                                          std::string_view discLine);

// The start of the disc's line: the first line that begins with "#" + name +
// "#" spelt exactly so, else the first that does so ignoring letter case when
// all such lines spell the name one way (a hand-edited catalogue may hold
// "abc" and "ABC": each finds its own line, and "Abc" finds neither).
std::optional<std::size_t> FindDiscLine(std::string_view text, std::string_view discName);
// The same, letter case counting: whether the catalogue files the disc under
// exactly this name (how a command that renames or deletes a disc tells
// whether its write took effect).
std::optional<std::size_t> FindDiscLineExactly(std::string_view text, std::string_view discName);

// The disc's number, remark, date and category path: the nearest "|" line
// above gives the top-level name, and an "@" line between it and the disc
// line adds "\" + its name. Nothing when the disc has no line.
std::optional<DiscFields> ReadDiscFields(std::string_view text, std::string_view discName);

// The text without the disc's line (from its first character up to and
// including its CR LF). Nothing when the disc has no line.
std::optional<std::string> RemoveDiscLine(std::string_view text, std::string_view discName);

// True when a disc line or a category line (of either level, as a whole
// line) already bears the name.
bool CatalogueNameTaken(std::string_view text, std::string_view name);

// ---- a disc given a new name ----

// The mirror disc list ("red.ini", one disc name per line) with every line
// that equals oldName made newName; without such a line, every line that
// equals it with letter case ignored, when they spell it one way only. The
// line ends stay as they were. Nothing when no line names the disc (the list
// is then left as it is).
std::optional<std::string> renameMirrorListLines(std::string_view text, std::string_view oldName,
                                                 std::string_view newName);

// The text of a remark or usage-note file with the record keys of the disc
// moved to its new name: every marker + oldName + "\" becomes marker + newName
// + "\" (letter case counts, as in the keys). The records' own texts stay as
// they were, even where they name the disc.
std::string renameNoteKeys(std::string_view text, std::string_view marker, std::string_view oldName,
                           std::string_view newName);
// ---- deleting categories ----

// The text without the category's line: the line FindCategoryLine finds,
// from its first character up to and including its CR LF. Nothing when the
// category has no line.
std::optional<std::string> RemoveCategoryLine(std::string_view text, std::string_view categoryPath);
// ---- adding and renaming categories ----

// A name a category can bear: not empty, and without "\" (which separates
// a category path), "#" (which ends a disc line's field) or a line break.
bool categoryNameIsUsable(std::string_view name);

// The text with "|" + name as its new last line, ended by CR LF.
std::string AppendCategoryLine(std::string_view text, std::string_view name);

// The text with "@" + name inserted at the end of the top-level category's
// block: right before the next line that begins with "|" after the category's
// line (found as FindCategoryLine finds it), or as the new last line. The
// lines of the block keep their places. Nothing (and no change) when the
// category has no line.
std::optional<std::string> InsertSubCategoryLine(std::string_view text, std::string_view topName,
                                                 std::string_view name);

// The text with the whole line marker + oldName (found as FindCategoryLine
// finds a line) replaced by marker + newName; marker is '|' or '@'. Nothing (and no
// change) when there is no such line.
std::optional<std::string> RenameCategoryLine(std::string_view text, char marker,
                                              std::string_view oldName, std::string_view newName);

}  // namespace catalogue
