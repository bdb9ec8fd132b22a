#include "copies/library_file.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/error.h"
#include "platform/text/text.h"

namespace copies {

namespace text = platform::text;

std::string formatRecord(const LibraryRecord& record) {
    std::string s;
    s.append(IconMarker).append(record.icon);
    s.append(NameMarker).append(record.name);
    s.append(DiscMarker).append(record.disc);
    s.append(PathMarker).append(record.path);
    s.append(RemarkMarker).append(record.remark);
    return s;
}

std::string libraryNodeKey(std::string_view disc, std::string_view path) {
    std::string key(disc);
    key.append(PathMarker).append(path);
    return key;
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

std::optional<RecordSpan> findRecord(std::string_view fileText, std::string_view key) {
    std::size_t begin = 0;
    while (begin <= fileText.size()) {
        std::size_t end = fileText.find("\r\n", begin);
        if (end == std::string_view::npos) end = fileText.size();
        const auto k = recordKey(text::trim(fileText.substr(begin, end - begin)));
        if (k && *k == key) return RecordSpan{begin, end};
        if (end == fileText.size()) break;
        begin = end + 2;
    }
    return std::nullopt;
}

std::string removeRecord(std::string_view fileText, std::string_view key) {
    const auto span = findRecord(fileText, key);
    if (!span) return std::string(fileText);
    const bool breakFollows = fileText.substr(span->end, 2) == "\r\n";
    std::string out;
    if (span->begin == 0) {
        // The first line and the CR LF after it.
        if (breakFollows) out = std::string(fileText.substr(span->end + 2));
    } else if (breakFollows) {
        // The CR LF before the line and the line.
        out = std::string(fileText.substr(0, span->begin - 2));
        out.append(fileText.substr(span->end));
    } else {
        // The last line without a break: cut right after the CR LF before it.
        out = std::string(fileText.substr(0, span->begin));
    }
    return out;
}

}  // namespace copies
