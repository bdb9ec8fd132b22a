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

// The index of the first line of that kind and name.
std::optional<std::size_t> firstLine(std::string_view t, const std::vector<ClassLineSpan>& spans,
                                     ClassLineKind kind, std::string_view name) {
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const ClassLine line = parseClassLine(spans[i].line(t));
        if (line.kind == kind && line.name == name) return i;
    }
    return std::nullopt;
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

bool isRecordFiled(std::string_view t, std::string_view name) {
    return firstLine(t, classLineSpans(t), ClassLineKind::Record, name).has_value();
}

std::string withImportedRecordFiled(std::string_view t, std::string_view categoryValue,
                                    std::string_view name) {
    const auto spans = classLineSpans(t);
    // The number of "\" after the value's first character tells the level.
    const std::string rest = text::mid(categoryValue, 2);
    const auto separators = std::count(rest.begin(), rest.end(), '\\');
    std::optional<std::size_t> line;
    if (separators == 0)
        line = firstLine(t, spans, ClassLineKind::Category, categoryValue);
    else if (separators == 1)
        line = firstLine(t, spans, ClassLineKind::SubCategory, lastPathName(categoryValue));
    else if (separators == 2)
        line = firstLine(t, spans, ClassLineKind::ThirdCategory, lastPathName(categoryValue));
    if (line) return withLineAt(t, spans[*line].next, recordLine(name));
    return withRecordInCatchAll(t, name);
}

std::string withRecordInCatchAll(std::string_view t, std::string_view name) {
    const auto spans = classLineSpans(t);
    const auto catchAll = firstLine(t, spans, ClassLineKind::Category, CatchAllCategory);
    if (catchAll) return withLineAt(t, afterOwnRecords(t, spans, *catchAll), recordLine(name));
    std::string out = withTopCategoryAppended(t, CatchAllCategory);
    return withLineAt(out, out.size(), recordLine(name));
}

}  // namespace software
