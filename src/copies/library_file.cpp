#include "copies/library_file.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/error.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace copies {

namespace text = platform::text;

using platform::files::isLineBreak;

std::string formatRecord(const LibraryRecord& record) {
    std::string s;
    s.append(IconMarker).append(record.icon);
    s.append(NameMarker).append(record.name);
    s.append(DiscMarker).append(record.disc);
    s.append(PathMarker).append(record.path);
    s.append(RemarkMarker).append(record.remark);
    return s;
}

std::string libraryFilePath(std::string_view programFolder) {
    std::string path(programFolder);
    if (path.empty() || path.back() != '\\') path += '\\';
    return path.append(LibraryFileName);
}

std::string libraryNodeKey(std::string_view disc, std::string_view path) {
    std::string key(disc);
    key.append(PathMarker).append(path);
    return key;
}

std::string entryName(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = last.rfind('.');
    if (dot != std::string_view::npos) last = last.substr(0, dot);
    return std::string(last);
}

namespace {

// The text without any CR or LF: a record is one line.
std::string withoutBreaks(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (!isLineBreak(c)) out += c;
    return out;
}

}  // namespace

std::string recordRemark(std::string_view remark, bool hardDisc) {
    std::string r(remark);
    if (!hardDisc && r.empty()) r = EmptyRemark;
    r = withoutBreaks(r);
    if (hardDisc && r.empty()) r = EmptyRemark;
    return text::trim(r);
}

std::string shownRecord(std::string_view line) { return text::replace(line, "|", "\r\n"); }

bool lastLineOpen(std::string_view fileText) {
    return !fileText.empty() && !isLineBreak(fileText.back());
}

namespace {

// The text between the end of the first `from` and the start of the first
// `to` (byte offsets; markers are ASCII-led and found whole).
std::optional<std::string> between(std::string_view line, std::string_view from,
                                   std::string_view to) {
    const std::size_t a = line.find(from);
    const std::size_t b = line.find(to);
    if (a == std::string_view::npos || b == std::string_view::npos) return std::nullopt;
    const std::size_t start = a + from.size();
    if (b < start) return std::nullopt;
    return std::string(line.substr(start, b - start));
}

std::optional<int> iconNumber(std::string_view field) {
    double v = 0;
    try {
        v = std::nearbyint(text::val(field));
    } catch (const platform::Error&) {
        return std::nullopt;  // a number beyond any double ("1e999"): val overflows
    }
    if (v < std::numeric_limits<std::int16_t>::min() ||
        v > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<int>(v);
}

}  // namespace

std::optional<std::string> recordKey(std::string_view line) {
    return between(line, DiscMarker, RemarkMarkerStem);
}

std::optional<LibraryEntry> parseLibraryLine(std::string_view line) {
    const std::string trimmed = text::trim(line);
    if (trimmed.empty()) return std::nullopt;
    auto name = between(trimmed, NameMarker, DiscMarker);
    auto key = recordKey(trimmed);
    auto icon = between(trimmed, IconMarker, NameMarker);
    if (!name || !key || !icon) return std::nullopt;
    return LibraryEntry{std::move(*name), std::move(*key), iconNumber(*icon)};
}

namespace {

// The length of the line break that starts at `at` (0 for none).
std::size_t breakAt(std::string_view s, std::size_t at) {
    if (at >= s.size() || !isLineBreak(s[at])) return 0;
    return (s[at] == '\r' && s.substr(at, 2) == "\r\n") ? 2 : 1;
}

// The length of the line break that ends right before `at` (0 for none).
std::size_t breakBefore(std::string_view s, std::size_t at) {
    if (at == 0 || !isLineBreak(s[at - 1])) return 0;
    return (s[at - 1] == '\n' && at >= 2 && s[at - 2] == '\r') ? 2 : 1;
}

}  // namespace

std::optional<RecordSpan> findRecord(std::string_view fileText, std::string_view key) {
    std::size_t begin = 0;
    while (begin < fileText.size()) {
        std::size_t end = begin;
        while (end < fileText.size() && !isLineBreak(fileText[end])) ++end;
        const auto k = recordKey(text::trim(fileText.substr(begin, end - begin)));
        if (k && *k == key) return RecordSpan{begin, end};
        begin = end + breakAt(fileText, end);
    }
    return std::nullopt;
}

std::string removeRecord(std::string_view fileText, std::string_view key) {
    const auto span = findRecord(fileText, key);
    if (!span) return std::string(fileText);
    const std::size_t after = breakAt(fileText, span->end);
    std::string out;
    if (span->begin == 0) {
        // The first line and the break after it.
        out = std::string(fileText.substr(span->end + after));
    } else if (after > 0) {
        // The break before the line and the line.
        out = std::string(fileText.substr(0, span->begin - breakBefore(fileText, span->begin)));
        out.append(fileText.substr(span->end));
    } else {
        // The last line without a break: cut right after the break before it.
        out = std::string(fileText.substr(0, span->begin));
    }
    return out;
}

}  // namespace copies
