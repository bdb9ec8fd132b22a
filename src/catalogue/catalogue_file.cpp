#include "catalogue/catalogue_file.h"

#include <optional>
#include <utility>

#include "catalogue/index_line.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace catalogue {

namespace {

using platform::text::lcase;

// Splits the third field of a disc line into remark and date.
constexpr std::string_view RemarkDateSeparator = "&&";

bool atLineStart(std::string_view text, std::size_t pos) {
    return pos == 0 || text[pos - 1] == '\n';
}

// The first position at a line start where needle stands; npos when none.
std::size_t findAtLineStart(std::string_view text, std::string_view needle) {
    for (std::size_t p = text.find(needle); p != std::string_view::npos;
         p = text.find(needle, p + 1)) {
        if (atLineStart(text, p)) return p;
    }
    return std::string_view::npos;
}

// The first whole line equal to line (both already lower-cased).
std::size_t findWholeLine(std::string_view lowerText, std::string_view lowerLine) {
    std::string needle(lowerLine);
    needle += LineEnd;
    return findAtLineStart(lowerText, needle);
}

std::size_t lineEndAt(std::string_view text, std::size_t pos) {
    const auto e = text.find('\n', pos);
    return e == std::string_view::npos ? text.size() : e;
}

// The line that starts at pos, without its line end.
std::string_view lineAt(std::string_view text, std::size_t pos) {
    std::string_view line = text.substr(pos, lineEndAt(text, pos) - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

std::size_t findDisc(std::string_view lowerText, std::string_view discName) {
    std::string needle = "#";
    needle += lcase(discName);
    needle += '#';
    return findAtLineStart(lowerText, needle);
}

// The first line that begins with needle with ASCII letter case ignored,
// when all such lines spell it alike; npos when there is none or when they
// spell it in two ways (the name rule of name_lookup.h).
std::size_t findOnlyCaseAlike(std::string_view text, std::string_view needle) {
    const std::string lower = lcase(text);
    const std::string lowerNeedle = lcase(needle);
    const std::size_t first = findAtLineStart(lower, lowerNeedle);
    if (first == std::string_view::npos) return first;
    const std::string_view spelling = text.substr(first, needle.size());
    for (std::size_t p = lower.find(lowerNeedle, first + 1); p != std::string_view::npos;
         p = lower.find(lowerNeedle, p + 1))
        if (atLineStart(lower, p) && text.substr(p, needle.size()) != spelling)
            return std::string_view::npos;
    return first;
}

// The first line that begins with needle exactly, else the only spelling
// with letter case ignored: how a name the program holds finds its line.
std::size_t findHeld(std::string_view text, std::string_view needle) {
    const std::size_t exact = findAtLineStart(text, needle);
    return exact != std::string_view::npos ? exact : findOnlyCaseAlike(text, needle);
}

// The same for a whole line.
std::size_t findHeldLine(std::string_view text, std::string_view line) {
    std::string needle(line);
    needle += LineEnd;
    return findHeld(text, needle);
}

}  // namespace

std::string catalogueFilePath(std::string_view programFolder) {
    std::string path(programFolder);
    path += '\\';
    path += CatalogueFileName;
    return path;
}

std::string readCatalogueText(std::string_view path) {
    try {
        return normaliseLineEnds(platform::files::WholeFileRead(path));
    } catch (const platform::Error& e) {
        if (e.number() == platform::err::FileNotFound) return {};
        throw;
    }
}

void writeCatalogueText(std::string_view path, std::string_view text) {
    // Written beneath its own folder: a link named "ini.ini" is followed
    // only while it stays there.
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos) platform::raise(platform::err::BadFileName);
    const auto folder = platform::files::ConfinedRoot::open(path.substr(0, slash));
    platform::files::WholeFileRewrite(folder, path.substr(slash + 1), text);
}

CatalogueLineKind catalogueLineKind(std::string_view line) {
    if (line.empty()) return CatalogueLineKind::Other;
    switch (line.front()) {
        case '|':
            return CatalogueLineKind::CategoryLine;
        case '@':
            return CatalogueLineKind::SubCategoryLine;
        case '#':
            return CatalogueLineKind::DiscLine;
        default:
            return CatalogueLineKind::Other;
    }
}

CatalogueEntry parseCatalogueLine(std::string_view line) {
    CatalogueEntry entry;
    entry.kind = catalogueLineKind(line);
    switch (entry.kind) {
        case CatalogueLineKind::CategoryLine:
        case CatalogueLineKind::SubCategoryLine:
            entry.name = line.substr(1);
            break;
        case CatalogueLineKind::DiscLine:
            entry.name = parseDiscLine(line)->name;
            break;
        case CatalogueLineKind::Other:
            break;
    }
    return entry;
}

std::optional<DiscLine> parseDiscLine(std::string_view line) {
    if (catalogueLineKind(line) != CatalogueLineKind::DiscLine) return std::nullopt;
    // Fields between the "#"s; a missing "#" ends its field at the line end.
    std::string_view fields[3];
    std::size_t start = 1;
    for (auto& field : fields) {
        if (start > line.size()) break;
        const auto hash = line.find('#', start);
        const std::size_t end = hash == std::string_view::npos ? line.size() : hash;
        field = line.substr(start, end - start);
        start = end + 1;
    }
    return discLineOf(fields[0], fields[1], fields[2]);
}

std::string formatRemarkAndDate(std::string_view remark, std::string_view date) {
    std::string field(remark);
    field += RemarkDateSeparator;
    field += date;
    return field;
}

DiscLine discLineOf(std::string_view name, std::string_view number,
                    std::string_view remarkAndDate) {
    DiscLine disc;
    disc.name = name;
    disc.number = number;
    const auto amp = remarkAndDate.find(RemarkDateSeparator);
    if (amp == std::string_view::npos) {
        disc.remark = remarkAndDate;
    } else {
        disc.remark = remarkAndDate.substr(0, amp);
        disc.date = remarkAndDate.substr(amp + RemarkDateSeparator.size());
    }
    return disc;
}

std::optional<DiscLineProblem> discLineProblem(const DiscLine& disc) {
    const std::pair<DiscField, const std::string*> fields[] = {
        {DiscField::Name, &disc.name},
        {DiscField::Number, &disc.number},
        {DiscField::Remark, &disc.remark},
        {DiscField::Date, &disc.date},
    };
    const auto has = [](DiscLineFault fault, DiscField which, std::string_view s) {
        switch (fault) {
            case DiscLineFault::Hash:
                return s.find('#') != std::string_view::npos;
            case DiscLineFault::LineBreak:
                return s.find_first_of("\r\n") != std::string_view::npos;
            case DiscLineFault::DoubleAmpersand:
                return s.find(RemarkDateSeparator) != std::string_view::npos;
            case DiscLineFault::AmpersandAtEdge:
                return (which == DiscField::Remark && s.ends_with('&')) ||
                       (which == DiscField::Date && s.starts_with('&'));
        }
        return false;
    };
    for (const DiscLineFault fault :
         {DiscLineFault::Hash, DiscLineFault::LineBreak, DiscLineFault::DoubleAmpersand,
          DiscLineFault::AmpersandAtEdge})
        for (const auto& [which, field] : fields)
            if (has(fault, which, *field)) return DiscLineProblem{which, fault};
    return std::nullopt;
}

std::string_view discLineFaultText(DiscLineFault fault) {
    switch (fault) {
        case DiscLineFault::Hash:
            return "光盘信息中不能含有#";
        case DiscLineFault::LineBreak:
            return "光盘信息中不能含有换行符";
        case DiscLineFault::DoubleAmpersand:
            return "光盘信息中不能含有&&";
        case DiscLineFault::AmpersandAtEdge:
            return "备注的末尾和日期的开头不能是“&”！";
    }
    return {};
}

namespace {

std::string prefixed(char first, std::string_view name) {
    std::string line(1, first);
    line += name;
    return line;
}

}  // namespace

std::string formatCategoryLine(std::string_view name) { return prefixed('|', name); }

std::string formatSubCategoryLine(std::string_view name) { return prefixed('@', name); }

std::string formatDiscLine(const DiscLine& disc) {
    if (const auto problem = discLineProblem(disc))
        platform::raise(platform::err::InvalidCall, std::string(discLineFaultText(problem->fault)));
    return "#" + disc.name + "#" + disc.number + "#" + formatRemarkAndDate(disc.remark, disc.date) +
           "#";
}

std::string normaliseLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += LineEnd;
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += LineEnd;
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() != '\n') out += LineEnd;
    return out;
}

std::string categoryLineFor(std::string_view categoryPath) {
    const auto slash = categoryPath.find('\\');
    if (slash == std::string_view::npos) return formatCategoryLine(categoryPath);
    return formatSubCategoryLine(categoryPath.substr(slash + 1));
}

std::optional<std::size_t> FindCategoryLine(std::string_view text, std::string_view categoryPath) {
    const auto p = findHeldLine(text, categoryLineFor(categoryPath));
    if (p == std::string_view::npos) return std::nullopt;
    return p;
}

std::optional<std::string> InsertDiscLine(std::string_view text, std::string_view categoryPath,
                                          std::string_view discLine) {
    const auto start = FindCategoryLine(text, categoryPath);
    if (!start) return std::nullopt;
    const std::size_t e = *start + categoryLineFor(categoryPath).size();
    std::string out;
    out.reserve(text.size() + discLine.size() + 2);
    out += text.substr(0, e);
    out += LineEnd;
    out += discLine;
    out += text.substr(e);
    return out;
}

std::optional<std::size_t> FindDiscLineExactly(std::string_view text, std::string_view discName) {
    std::string needle = "#";
    needle += discName;
    needle += '#';
    const auto p = findAtLineStart(text, needle);
    if (p == std::string_view::npos) return std::nullopt;
    return p;
}

std::optional<std::size_t> FindDiscLine(std::string_view text, std::string_view discName) {
    if (const auto exact = FindDiscLineExactly(text, discName)) return exact;
    const auto p = findOnlyCaseAlike(text, "#" + std::string(discName) + "#");
    if (p == std::string_view::npos) return std::nullopt;
    return p;
}

std::optional<DiscFields> ReadDiscFields(std::string_view text, std::string_view discName) {
    const auto start = FindDiscLine(text, discName);
    if (!start) return std::nullopt;
    DiscFields fields;
    static_cast<DiscLine&>(fields) = *parseDiscLine(lineAt(text, *start));

    // Walk up through the lines above the disc line.
    std::optional<std::string_view> sub;
    std::size_t lineStart = *start;
    while (lineStart > 0) {
        const std::size_t prevEnd = lineStart - 1;  // the '\n' that ends the line above
        const auto nl = prevEnd == 0 ? std::string_view::npos : text.rfind('\n', prevEnd - 1);
        lineStart = nl == std::string_view::npos ? 0 : nl + 1;
        const std::string_view line = lineAt(text, lineStart);
        const auto kind = catalogueLineKind(line);
        if (kind == CatalogueLineKind::SubCategoryLine && !sub) {
            sub = line.substr(1);
        } else if (kind == CatalogueLineKind::CategoryLine) {
            fields.categoryPath = line.substr(1);
            if (sub) {
                fields.categoryPath += '\\';
                fields.categoryPath += *sub;
            }
            break;
        }
    }
    return fields;
}

std::optional<std::string> RemoveDiscLine(std::string_view text, std::string_view discName) {
    const auto start = FindDiscLine(text, discName);
    if (!start) return std::nullopt;
    const std::size_t e = lineEndAt(text, *start);
    const std::size_t after = e < text.size() ? e + 1 : e;
    std::string out(text.substr(0, *start));
    out += text.substr(after);
    return out;
}

bool CatalogueNameTaken(std::string_view text, std::string_view name) {
    const std::string lower = lcase(text);
    if (findDisc(lower, name) != std::string_view::npos) return true;
    const std::string lowerName = lcase(name);
    return findWholeLine(lower, prefixed('|', lowerName)) != std::string_view::npos ||
           findWholeLine(lower, prefixed('@', lowerName)) != std::string_view::npos;
}

// ---- a disc given a new name ----

std::optional<std::string> renameMirrorListLines(std::string_view text, std::string_view oldName,
                                                 std::string_view newName) {
    // The lines spelt exactly so; without one, those spelt alike with letter
    // case ignored when they spell it one way only.
    std::optional<std::string> spelling;
    bool several = false;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t e = lineEndAt(text, start);
        const std::string_view line = lineAt(text, start);
        if (line == oldName) {
            spelling = std::string(oldName);
            several = false;
            break;
        }
        if (lcase(line) == lcase(oldName)) {
            if (spelling && *spelling != line) several = true;
            if (!spelling) spelling = std::string(line);
        }
        start = e + 1;
    }
    if (!spelling || several) return std::nullopt;
    std::string out;
    out.reserve(text.size() + newName.size());
    bool replaced = false;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t e = lineEndAt(text, start);
        std::string_view line = text.substr(start, e - start);
        std::string_view end = e < text.size() ? text.substr(e, 1) : std::string_view();
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            end = text.substr(e - 1, end.size() + 1);
        }
        if (line == *spelling) {
            out += newName;
            replaced = true;
        } else {
            out += line;
        }
        out += end;
        start = e + 1;
    }
    if (!replaced) return std::nullopt;
    return out;
}

std::string renameNoteKeys(std::string_view text, std::string_view marker, std::string_view oldName,
                           std::string_view newName) {
    std::string from(marker);
    from += oldName;
    from += '\\';
    std::string to(marker);
    to += newName;
    to += '\\';
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t p = text.find(from); p != std::string_view::npos; p = text.find(from, start)) {
        out += text.substr(start, p - start);
        out += to;
        start = p + from.size();
    }
    out += text.substr(start);
    return out;
}

// ---- deleting categories ----

std::optional<std::string> RemoveCategoryLine(std::string_view text,
                                              std::string_view categoryPath) {
    const auto start = FindCategoryLine(text, categoryPath);
    if (!start) return std::nullopt;
    const std::size_t after = *start + categoryLineFor(categoryPath).size() + LineEnd.size();
    std::string out(text.substr(0, *start));
    out += text.substr(after);
    return out;
}

// ---- adding and renaming categories ----

namespace {

// The start of the line after the one at pos (the text's size at the end).
std::size_t nextLineStart(std::string_view text, std::size_t pos) {
    const std::size_t e = lineEndAt(text, pos);
    return e < text.size() ? e + 1 : e;
}

// The text with a line end after its last line, when it lacks one.
std::string withFinalLineEnd(std::string_view text) {
    std::string out(text);
    if (!out.empty() && out.back() != '\n') out += LineEnd;
    return out;
}

}  // namespace

bool categoryNameIsUsable(std::string_view name) {
    return !name.empty() && name.find_first_of("\\#\r\n") == std::string_view::npos;
}

std::string AppendCategoryLine(std::string_view text, std::string_view name) {
    std::string out = withFinalLineEnd(text);
    out += formatCategoryLine(name);
    out += LineEnd;
    return out;
}

std::optional<std::string> InsertSubCategoryLine(std::string_view text, std::string_view topName,
                                                 std::string_view name) {
    const auto top = findHeldLine(text, formatCategoryLine(topName));
    if (top == std::string_view::npos) return std::nullopt;
    std::size_t end = nextLineStart(text, top);
    while (end < text.size() && text[end] != '|') end = nextLineStart(text, end);
    std::string out = withFinalLineEnd(text.substr(0, end));
    out += formatSubCategoryLine(name);
    out += LineEnd;
    out += text.substr(end);
    return out;
}

std::optional<std::string> RenameCategoryLine(std::string_view text, char marker,
                                              std::string_view oldName, std::string_view newName) {
    const auto p = findHeldLine(text, prefixed(marker, oldName));
    if (p == std::string_view::npos) return std::nullopt;
    std::string out(text.substr(0, p));
    out += marker;
    out += newName;
    out += text.substr(p + 1 + oldName.size());
    return out;
}

}  // namespace catalogue
