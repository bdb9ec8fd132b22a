// The software category file "class.ini": the category tree of the software
// descriptions, up to three levels, with the records filed under them.
//
//   ==工具            a top-level category ("==" + name)
//   =网络             a second-level category ("=" + name)
//   {#$}FlashGet      a record filed under the category line read last
//   下载              a third-level category (the whole line)
//   {#$}NetAnts       a record filed under 下载
//
// Each line is trimmed of blanks (ASCII spaces) at both ends before its kind
// is told, in this order: "==", "=", "{#$}", anything else (an empty line
// included) is a third-level category. The name is everything after the
// prefix, blanks included ("== 工具" names " 工具").
//
// A line ends at CR, with or without an LF after it; a lone LF ends no line
// (it stays part of the line's text). The file is code page 936, every line
// ended by CR LF.
//
// The tree built from the file has one key space for categories and records:
// text = name, key = nodeKey(name), compared exactly (case-sensitive). A node
// is refused when its name is empty, already taken, or its parent is not in
// the tree; lines below a refused category attach to the node that holds its
// name. Positions are byte offsets into the text (UTF-8 inside the program).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace software {

inline constexpr std::string_view ClassFileName = "class.ini";
inline constexpr std::string_view CategoryPrefix = "==";
inline constexpr std::string_view SubCategoryPrefix = "=";
inline constexpr std::string_view RecordLinePrefix = "{#$}";
// The separator of a category path (the tree's path separator).
inline constexpr std::string_view PathSeparator = "\\";

// The prefix that makes a node key of a name the tree control would refuse
// or mistake, as the disc page keys the folders whose names begin with a digit.
inline constexpr std::string_view NodeKeyPrefix = "noStr";

// The key of the software tree's node of a name: the name itself, or
// NodeKeyPrefix + the name for a name that begins with a digit, is
// all-numeric (the tree takes no such key: "-1", ".5") or begins with the
// prefix itself. So every name has a key the tree takes, and nodeKeyName
// gives the name back from any key.
std::string nodeKey(std::string_view name);
// The name of a node key: the key without one NodeKeyPrefix at its start.
std::string nodeKeyName(std::string_view key);

// programFolder + "\class.ini".
std::string classFilePath(std::string_view programFolder);
// The file's text; a missing file reads as "". Other failures raise
// platform::Error (75 not a regular file, 70 no permission, ...).
std::string readClassText(std::string_view programFolder);
// Writes the text back whole through the committed-write path (the old file
// stays whole when this fails).
void writeClassText(std::string_view programFolder, std::string_view text);

enum class ClassLineKind { Category, SubCategory, Record, ThirdCategory };

struct ClassLine {
    ClassLineKind kind = ClassLineKind::ThirdCategory;
    std::string name;
    bool operator==(const ClassLine&) const = default;
};

// The kind and name of one line (trimmed of blanks first).
ClassLine parseClassLine(std::string_view line);

// The line of a record: "{#$}" + name (without its break).
std::string recordLine(std::string_view name);

// Where one line lies in the text: [begin, end) is the line without its
// break, next is where the next line begins (end when the line has no break).
struct ClassLineSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    std::string_view line(std::string_view text) const { return text.substr(begin, end - begin); }
};

// The lines of the text as the loader reads them: CR LF or a lone CR ends
// one; a final line without a break is a line too; "" has no lines.
std::vector<ClassLineSpan> classLineSpans(std::string_view text);

// One node of the category view, in the order the loader adds them.
struct ClassTreeNode {
    std::string name;       // the node's text
    std::string key;        // nodeKey(name)
    std::string parentKey;  // "" for a top-level node
    bool category = false;  // image 94; else a record, image 99
    std::string fullPath;   // the names from the top level down, joined by "\"
    std::size_t line = 0;   // the index of its line in classLineSpans
};

// The nodes of the category view of the text, as the loader builds them on
// an empty tree: only the nodes the tree accepts.
std::vector<ClassTreeNode> classTreeNodes(std::string_view text);

// The line of the category whose node has the full path categoryPath in the
// category view (the first such line; a later line of the same name adds no
// node). Nothing when no category node has that path, or when two have it
// (a hand-edited category name holding "\" reads as a deeper path).
std::optional<std::size_t> categoryLine(std::string_view text, std::string_view categoryPath);

// The text with the record line of name inserted as the first line below the
// line of the category categoryPath (categoryLine); a category line without
// a break at the end of the text gets CR LF first. Nothing when there is no
// such category.
std::optional<std::string> withRecordFiled(std::string_view text, std::string_view categoryPath,
                                           std::string_view name);

// True when a record line of name (compared exactly) is among the record
// lines right below the line of the category categoryPath (categoryLine),
// before the next category line.
bool isRecordFiledUnder(std::string_view text, std::string_view categoryPath,
                        std::string_view name);

// The text without every line that is the record line of name (read as the
// loader reads it: trimmed, the name compared exactly), each with its break.
std::string withoutRecordLines(std::string_view text, std::string_view name);

// The last name of a category path (the whole path when it holds no "\").
std::string lastPathName(std::string_view categoryPath);

}  // namespace software
