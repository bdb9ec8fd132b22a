#include "software/class_file_edits.h"

#include <algorithm>
#include <vector>

#include "platform/text/text.h"

namespace software {

namespace text = platform::text;

namespace {

constexpr std::string_view LineBreak = "\r\n";

// True when the text's last line ends with a break (CR, or CR LF).
bool endsWithBreak(std::string_view t) {
    return !t.empty() && (t.back() == '\r' || t.ends_with(LineBreak));
}

// The text with a whole line (and CR LF) put at pos, the start of a line or
// the end of the text.
std::string withLineAt(std::string_view t, std::size_t pos, std::string_view line) {
    std::string out(t.substr(0, pos));
    if (pos == t.size() && !t.empty() && !endsWithBreak(t)) out += LineBreak;
    out.append(line).append(LineBreak);
    out.append(t.substr(pos));
    return out;
}

// The span of the line of the category at path.
std::optional<ClassLineSpan> categorySpan(std::string_view t, std::string_view path,
                                          const std::vector<ClassLineSpan>& spans) {
    const auto line = categoryLine(t, path);
    if (!line) return std::nullopt;
    return spans[*line];
}

// Where the line after line i and the record lines right below it ends.
std::size_t afterOwnRecords(std::string_view t, const std::vector<ClassLineSpan>& spans,
                            std::size_t i) {
    while (i + 1 < spans.size() &&
           parseClassLine(spans[i + 1].line(t)).kind == ClassLineKind::Record)
        ++i;
    return spans[i].next;
}

// The text with each line for which rename gives a new line replaced by it.
template <class Rename>
std::string withLinesReplaced(std::string_view t, Rename&& rename) {
    std::string out;
    out.reserve(t.size());
    for (const ClassLineSpan& span : classLineSpans(t)) {
        const std::optional<std::string> changed = rename(parseClassLine(span.line(t)));
        if (changed)
            out.append(*changed);
        else
            out.append(span.line(t));
        out.append(t.substr(span.end, span.next - span.end));
    }
    return out;
}

}  // namespace

std::string classLineText(ClassLineKind kind, std::string_view name) {
    std::string line;
    switch (kind) {
        case ClassLineKind::Category:
            line = CategoryPrefix;
            break;
        case ClassLineKind::SubCategory:
            line = SubCategoryPrefix;
            break;
        case ClassLineKind::Record:
            line = RecordLinePrefix;
            break;
        case ClassLineKind::ThirdCategory:
            break;
    }
    return line.append(name);
}

std::string withTopCategoryAppended(std::string_view t, std::string_view name) {
    return withLineAt(t, t.size(), classLineText(ClassLineKind::Category, name));
}

std::optional<std::string> withCategoryAbove(std::string_view t, std::string_view siblingPath,
                                             std::string_view name) {
    const auto spans = classLineSpans(t);
    const auto span = categorySpan(t, siblingPath, spans);
    if (!span) return std::nullopt;
    const ClassLineKind kind = parseClassLine(span->line(t)).kind;
    return withLineAt(t, span->begin, classLineText(kind, name));
}

std::optional<std::string> withSubCategory(std::string_view t, std::string_view parentPath,
                                           std::string_view name) {
    const auto spans = classLineSpans(t);
    const auto line = categoryLine(t, parentPath);
    if (!line) return std::nullopt;
    ClassLineKind kind;
    switch (parseClassLine(spans[*line].line(t)).kind) {
        case ClassLineKind::Category:
            kind = ClassLineKind::SubCategory;
            break;
        case ClassLineKind::SubCategory:
            kind = ClassLineKind::ThirdCategory;
            break;
        default:
            return std::nullopt;
    }
    return withLineAt(t, afterOwnRecords(t, spans, *line), classLineText(kind, name));
}

std::optional<std::string> withCategoryRenamed(std::string_view t, std::string_view path,
                                               std::string_view newName) {
    const auto spans = classLineSpans(t);
    const auto span = categorySpan(t, path, spans);
    if (!span) return std::nullopt;
    const ClassLine old = parseClassLine(span->line(t));
    return withLinesReplaced(t, [&](const ClassLine& line) -> std::optional<std::string> {
        if (line != old) return std::nullopt;
        return classLineText(old.kind, newName);
    });
}

std::string withRecordRenamed(std::string_view t, std::string_view oldName,
                              std::string_view newName) {
    const ClassLine old{ClassLineKind::Record, std::string(oldName)};
    return withLinesReplaced(t, [&](const ClassLine& line) -> std::optional<std::string> {
        if (line != old) return std::nullopt;
        return recordLine(newName);
    });
}

std::optional<std::string> withoutCategoryLine(std::string_view t, std::string_view path) {
    const auto spans = classLineSpans(t);
    const auto span = categorySpan(t, path, spans);
    if (!span) return std::nullopt;
    std::string out(t.substr(0, span->begin));
    return out.append(t.substr(span->next));
}

ImportedRecordFiling::ImportedRecordFiling(std::string_view t) {
    for (const ClassLineSpan& span : classLineSpans(t)) {
        ClassLine parsed = parseClassLine(span.line(t));
        lines_.push_back({std::string(t.substr(span.begin, span.next - span.begin)),
                          span.next - span.end, parsed.kind});
        const At at = std::prev(lines_.end());
        if (parsed.kind == ClassLineKind::Record)
            filed_.insert(std::move(parsed.name));
        else
            firstCategory_[static_cast<std::size_t>(parsed.kind)].try_emplace(
                std::move(parsed.name), at);
    }
    const auto& top = firstCategory_[static_cast<std::size_t>(ClassLineKind::Category)];
    if (const auto found = top.find(std::string(CatchAllCategory)); found != top.end())
        catchAll_ = found->second;
}

ImportedRecordFiling::At ImportedRecordFiling::lineBefore(At before, std::string_view line,
                                                          ClassLineKind kind) {
    // Only the last line can lack its break.
    if (before != lines_.begin() && std::prev(before)->breakSize == 0) {
        std::prev(before)->text.append(LineBreak);
        std::prev(before)->breakSize = LineBreak.size();
    }
    std::string text(line);
    text.append(LineBreak);
    return lines_.insert(before, {std::move(text), LineBreak.size(), kind});
}

ImportedRecordFiling::At ImportedRecordFiling::recordAfter(At at, const std::string& name) {
    filed_.insert(name);
    return lineBefore(std::next(at), recordLine(name), ClassLineKind::Record);
}

void ImportedRecordFiling::file(std::string_view categoryValue, const std::string& name) {
    // The number of "\" after the value's first character tells the level.
    const std::string rest = text::mid(categoryValue, 2);
    const auto separators = std::count(rest.begin(), rest.end(), '\\');
    std::optional<ClassLineKind> kind;
    if (separators == 0)
        kind = ClassLineKind::Category;
    else if (separators == 1)
        kind = ClassLineKind::SubCategory;
    else if (separators == 2)
        kind = ClassLineKind::ThirdCategory;
    if (kind) {
        const auto& first = firstCategory_[static_cast<std::size_t>(*kind)];
        const auto found =
            first.find(separators == 0 ? std::string(categoryValue) : lastPathName(categoryValue));
        // Right below the category's line: the end of the catch-all's run of
        // records (known only once a record was filed there) stays where it is.
        if (found != first.end()) {
            recordAfter(found->second, name);
            return;
        }
    }
    fileInCatchAll(name);
}

void ImportedRecordFiling::fileInCatchAll(const std::string& name) {
    if (!catchAll_) {
        catchAll_ =
            lineBefore(lines_.end(), classLineText(ClassLineKind::Category, CatchAllCategory),
                       ClassLineKind::Category);
        firstCategory_[static_cast<std::size_t>(ClassLineKind::Category)].try_emplace(
            std::string(CatchAllCategory), *catchAll_);
        catchAllEnd_ = catchAll_;
    }
    if (!catchAllEnd_) {
        At end = *catchAll_;
        while (std::next(end) != lines_.end() && std::next(end)->kind == ClassLineKind::Record)
            ++end;
        catchAllEnd_ = end;
    }
    catchAllEnd_ = recordAfter(*catchAllEnd_, name);
}

std::string ImportedRecordFiling::text() const {
    std::size_t size = 0;
    for (const Line& line : lines_) size += line.text.size();
    std::string out;
    out.reserve(size);
    for (const Line& line : lines_) out.append(line.text);
    return out;
}

}  // namespace software
