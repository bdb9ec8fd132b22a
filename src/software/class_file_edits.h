// The changes the software tree's editing commands make to the text of the
// category file "class.ini" (class_file.h): new categories beside or below
// another, new names for categories and records, removed category lines, and
// imported records filed by their category value.
//
// A category is found by the full path of its node in the category view
// (categoryLine), a record line and a catch-all line by the whole line as the
// loader reads it, never by a text that merely contains the name. Every
// function leaves the lines it does not change as they are, bytes and line
// breaks included; a line put after a last line without a break gets CR LF
// first.
#pragma once

#include <array>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "software/class_file.h"

namespace software {

// The top-level category that takes imported records whose category is not
// in the file.
inline constexpr std::string_view CatchAllCategory = "无相应类别软件";

// The line of a category or record of that kind: its prefix and the name.
std::string classLineText(ClassLineKind kind, std::string_view name);

// The text with "==" + name as its last line.
std::string withTopCategoryAppended(std::string_view text, std::string_view name);

// The text with a category line of name right above the line of the category
// at siblingPath, of the same kind, so that the new category becomes its
// sibling. Nothing when that category has no line.
std::optional<std::string> withCategoryAbove(std::string_view text, std::string_view siblingPath,
                                             std::string_view name);

// The text with a sub-category of name below the category at parentPath: "="
// + name under a top-level category, the name alone under a second-level one,
// put below the parent's line and the record lines right after it (above its
// other sub-categories). Nothing when the parent has no line, or its line is
// a third-level one (which can hold no category).
std::optional<std::string> withSubCategory(std::string_view text, std::string_view parentPath,
                                           std::string_view name);

// The text with every line of the category's kind and old name (the kind of
// the line of the category at path) given the new name. Nothing when that
// category has no line.
std::optional<std::string> withCategoryRenamed(std::string_view text, std::string_view path,
                                               std::string_view newName);

// The text with every record line of oldName given newName.
std::string withRecordRenamed(std::string_view text, std::string_view oldName,
                              std::string_view newName);

// The text without the line of the category at path (with its break).
// Nothing when that category has no line.
std::optional<std::string> withoutCategoryLine(std::string_view text, std::string_view path);

// Filing imported records: the category file's text parsed once into lines,
// each record decided against the set of the record names it holds (whole
// record lines, names compared exactly) and filed in the lines, and the text
// made once at the end. Each filing gives the lines that filing the records
// one after another into the text would give.
class ImportedRecordFiling {
  public:
    explicit ImportedRecordFiling(std::string_view text);

    // True when the text, with the records filed so far, holds the record
    // line of name.
    bool isFiled(const std::string& name) const { return filed_.contains(name); }

    // Files a record by its category value (the names from the top level
    // down, joined by "\"): right below the first line of the category named
    // like the value's last name, of the level the value gives (one name:
    // top-level; two: second-level; three: third-level), above the records
    // filed there before. A value that names no such line, or a fourth
    // level, files the record under the catch-all category.
    void file(std::string_view categoryValue, const std::string& name);
    // Files a record under the catch-all category: after its line and the
    // record lines right below it, the category made at the end of the text
    // when it is missing.
    void fileInCatchAll(const std::string& name);

    // The text with every record filed: the lines not touched keep their
    // bytes and breaks; a line put after a last line without a break gives it
    // CR LF first.
    std::string text() const;

  private:
    struct Line {
        std::string text;           // the line and its break, as in the text
        std::size_t breakSize = 0;  // 0: the last line, without a break
        ClassLineKind kind = ClassLineKind::ThirdCategory;
    };
    using Lines = std::list<Line>;
    using At = Lines::iterator;

    // Puts a line (and CR LF) before the line before, or at the end.
    At lineBefore(At before, std::string_view line, ClassLineKind kind);
    // Puts the record line of name right after the line at.
    At recordAfter(At at, const std::string& name);

    Lines lines_;
    std::unordered_set<std::string> filed_;
    // The first category line of each kind (indexed by ClassLineKind), by name.
    std::array<std::unordered_map<std::string, At>, 4> firstCategory_;
    // The catch-all category's line, and the last line of the run of record
    // lines right below it (found when first needed).
    std::optional<At> catchAll_;
    std::optional<At> catchAllEnd_;
};

}  // namespace software
