#include "catalogue/index_line.h"

#include <charconv>
#include <limits>

#include "platform/error.h"
#include "platform/files/paths.h"
#include "platform/text/text.h"

namespace catalogue {

namespace {

struct FileParts {
    std::string_view path;
    std::string_view size;
    int ticks = 0;
    bool hasMirror = false;
    std::string_view mirror;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool endsWithIgnoringAsciiCase(std::string_view s, std::string_view suffix) {
    return suffix.size() <= s.size() &&
           platform::files::sameNameIgnoringCase(s.substr(s.size() - suffix.size()), suffix);
}

std::string_view nameOf(std::string_view path) {
    const auto p = path.rfind('\\');
    return p == std::string_view::npos ? path : path.substr(p + 1);
}

// Reads "path[size]($)($)" from the right; no mirror suffix here.
bool splitBase(std::string_view s, FileParts& parts) {
    int ticks = 0;
    while (s.size() >= TickMark.size() && s.substr(s.size() - TickMark.size()) == TickMark) {
        s.remove_suffix(TickMark.size());
        ++ticks;
    }
    if (s.empty() || s.back() != ']') return false;
    const std::size_t close = s.size() - 1;
    std::size_t start = close;
    while (start > 0 && isDigit(s[start - 1])) --start;
    if (start == close) return false;
    if (start > 0 && s[start - 1] == '-') --start;
    if (start < 2 || s[start - 1] != '[') return false;  // a path of one character at least
    parts.path = s.substr(0, start - 1);
    parts.size = s.substr(start, close - start);
    parts.ticks = ticks;
    return parseSize(parts.size).has_value();
}

// Reads a whole file line. A mirror suffix is the "{...}" at the end whose
// opening brace follows a size and its marks; when a name itself holds such
// text, the split whose mirror path ends with "\" and the file's name wins.
bool splitFileLine(std::string_view line, FileParts& parts) {
    if (line.find('|') != std::string_view::npos) return false;
    if (line.empty() || line.back() != '}') {
        parts.hasMirror = false;
        parts.mirror = {};
        return splitBase(line, parts);
    }
    const std::string_view inner = line.substr(0, line.size() - 1);
    bool found = false;
    for (std::size_t brace = inner.find('{'); brace != std::string_view::npos;
         brace = inner.find('{', brace + 1)) {
        FileParts candidate;
        if (!splitBase(inner.substr(0, brace), candidate)) continue;
        candidate.hasMirror = true;
        candidate.mirror = inner.substr(brace + 1);
        const std::string_view name = nameOf(candidate.path);
        const bool nameMatches =
            !name.empty() && candidate.mirror.size() > name.size() &&
            endsWithIgnoringAsciiCase(candidate.mirror, name) &&
            candidate.mirror[candidate.mirror.size() - name.size() - 1] == '\\';
        if (!found || nameMatches) {
            parts = candidate;
            found = true;
        }
        if (nameMatches) break;
    }
    return found;
}

std::size_t secondLastBackslashEnd(std::string_view s) {
    const auto last = s.rfind('\\');
    if (last == std::string_view::npos || last == 0) return 0;
    const auto before = s.rfind('\\', last - 1);
    return before == std::string_view::npos ? 0 : before + 1;
}

}  // namespace

std::string indexFolderPath(std::string_view programFolder) {
    std::string path(programFolder);
    path += '\\';
    path += IndexFolderName;
    return path;
}

std::string discFileName(std::string_view discName, std::string_view extension) {
    if (discName.empty() || discName == "." || discName == ".." ||
        discName.find_first_of("\\/:") != std::string_view::npos)
        platform::raise(platform::err::BadFileName);
    std::string name(discName);
    name += extension;
    return name;
}

std::string discFilePath(std::string_view programFolder, std::string_view discName,
                         std::string_view extension) {
    const std::string name = discFileName(discName, extension);
    std::string path = indexFolderPath(programFolder);
    path += '\\';
    path += name;
    return path;
}

platform::files::ConfinedRoot openIndexFolder(std::string_view programFolder) {
    return platform::files::ConfinedRoot::open(indexFolderPath(programFolder));
}

platform::files::ConfinedRoot openProgramFolder(std::string_view programFolder) {
    return platform::files::ConfinedRoot::open(programFolder);
}

std::string discIndexFilePath(std::string_view programFolder, std::string_view discName) {
    return discFilePath(programFolder, discName, IndexExtension);
}

std::string_view IndexFolderLine::shownName() const { return stripFolderKeySuffix(key); }

std::string IndexFolderLine::path() const {
    std::string p = parent;
    p += shownName();
    return p;
}

std::int64_t IndexFileLine::size() const { return parseSize(sizeText).value_or(0); }

std::uint64_t IndexFileLine::bytes() const {
    const std::int64_t s = size();
    if (s >= 0) return static_cast<std::uint64_t>(s);
    const std::int64_t wrapped = s + (std::int64_t{1} << 32);
    return wrapped < 0 ? 0 : static_cast<std::uint64_t>(wrapped);
}

std::string_view IndexFileLine::name() const { return nameOf(path); }

std::string_view IndexFileLine::folder() const {
    const auto p = std::string_view(path).rfind('\\');
    return p == std::string_view::npos ? std::string_view()
                                       : std::string_view(path).substr(0, p + 1);
}

IndexLineKind indexLineKind(std::string_view line) {
    if (line.find('|') != std::string_view::npos) return IndexLineKind::Folder;
    FileParts parts;
    return splitFileLine(line, parts) ? IndexLineKind::File : IndexLineKind::Unknown;
}

std::optional<IndexFolderLine> parseFolderLine(std::string_view line) {
    const auto bar = line.find('|');
    if (bar == std::string_view::npos) return std::nullopt;
    return IndexFolderLine{std::string(line.substr(0, bar)), std::string(line.substr(bar + 1))};
}

std::optional<IndexFileLine> parseFileLine(std::string_view line) {
    FileParts parts;
    if (!splitFileLine(line, parts)) return std::nullopt;
    IndexFileLine result;
    result.path = parts.path;
    result.sizeText = parts.size;
    result.ticks = parts.ticks;
    if (parts.hasMirror) result.mirror = std::string(parts.mirror);
    return result;
}

std::string formatFolderLine(std::string_view parent, std::string_view key) {
    std::string s;
    s.reserve(parent.size() + 1 + key.size());
    s += parent;
    s += '|';
    s += key;
    return s;
}

std::string formatFolderLine(const IndexFolderLine& line) {
    return formatFolderLine(line.parent, line.key);
}

std::string formatFileLine(const IndexFileLine& line) {
    std::string s;
    s.reserve(line.path.size() + line.sizeText.size() + 2 + TickMark.size() * line.ticks +
              (line.mirror ? line.mirror->size() + 2 : 0));
    s += line.path;
    s += '[';
    s += line.sizeText;
    s += ']';
    for (int i = 0; i < line.ticks; ++i) s += TickMark;
    if (line.mirror) {
        s += '{';
        s += *line.mirror;
        s += '}';
    }
    return s;
}

void appendFolderLine(std::string& out, std::string_view parent, std::string_view key) {
    out += parent;
    out += '|';
    out += key;
    out += LineEnd;
}

void appendFileLine(std::string& out, std::string_view parent, std::string_view name,
                    std::uint64_t size) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, size);
    out += parent;
    out += name;
    out += '[';
    out.append(digits, r.ptr);
    out += ']';
    out += LineEnd;
}

std::string formatSize(std::uint64_t size) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, size);
    return std::string(digits, r.ptr);
}

std::optional<std::int64_t> parseSize(std::string_view token) {
    if (token.empty()) return std::nullopt;
    std::int64_t value = 0;
    const char* first = token.data();
    const char* last = token.data() + token.size();
    const auto r = std::from_chars(first, last, value);
    if (r.ec != std::errc() || r.ptr != last) return std::nullopt;
    return value;
}

std::size_t folderKeySuffixLength(std::string_view key) {
    std::size_t n = 0;
    while (n < key.size() && key[key.size() - 1 - n] == FolderKeyChar) ++n;
    return n;
}

std::string_view stripFolderKeySuffix(std::string_view key) {
    return key.substr(0, key.size() - folderKeySuffixLength(key));
}

TextLine textLineAt(std::string_view text, std::size_t begin) {
    TextLine line{begin, text.size(), text.size()};
    const std::size_t brk = text.find_first_of("\r\n", begin);
    if (brk == std::string_view::npos) return line;
    line.contentEnd = brk;
    line.end = brk + 1;
    if (text[brk] == '\r' && line.end < text.size() && text[line.end] == '\n') ++line.end;
    return line;
}

std::string indexDriveLetter(std::string_view firstLine) {
    return platform::text::left(firstLine, 1);
}

std::string HardDiscBase(std::string_view firstLine) {
    std::string_view path;
    FileParts parts;
    if (firstLine.find('|') != std::string_view::npos) {
        path = firstLine.substr(0, firstLine.find('|'));
    } else if (splitFileLine(firstLine, parts)) {
        path = parts.path;
    } else {
        path = firstLine.substr(0, firstLine.find('{'));
    }
    return std::string(path.substr(0, secondLastBackslashEnd(path)));
}

}  // namespace catalogue
