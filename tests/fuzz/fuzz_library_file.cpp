// The library file: the loader's line parser, the record key, and finding and
// removing a record in the file's whole text.
#include <set>

#include "copies/library_file.h"
#include "fuzz_target.h"
#include "platform/text/text.h"

namespace {

using namespace copies;
using platform::text::trim;

constexpr std::string_view kBreak = "\r\n";

bool isBreak(char c) { return c == '\r' || c == '\n'; }

// The length of the line break that starts at `at`, and of the one that
// ends right before it (CR LF, a lone CR or a lone LF; 0 for none).
std::size_t breakAfter(std::string_view text, std::size_t at) {
    if (at >= text.size() || !isBreak(text[at])) return 0;
    return text.substr(at, 2) == kBreak ? 2 : 1;
}
std::size_t breakBefore(std::string_view text, std::size_t at) {
    if (at == 0 || !isBreak(text[at - 1])) return 0;
    return at >= 2 && text.substr(at - 2, 2) == kBreak ? 2 : 1;
}

void checkLine(std::string_view line) {
    const auto entry = parseLibraryLine(line);
    const auto key = recordKey(trim(line));
    if (!entry) return;
    FUZZ_CHECK(key && entry->key == *key);
    if (entry->icon) FUZZ_CHECK(*entry->icon >= -32768 && *entry->icon <= 32767);
}

// A key that a line of the text holds is found (in that line or an earlier one).
void checkKey(std::string_view text, const std::string& key, bool held) {
    const auto span = findRecord(text, key);
    const std::string removed = removeRecord(text, key);
    FUZZ_CHECK(span || !held);
    if (!span) {
        FUZZ_CHECK(removed == text);
        return;
    }
    FUZZ_CHECK(span->begin <= span->end && span->end <= text.size());
    FUZZ_CHECK(span->begin == 0 || isBreak(text[span->begin - 1]));
    FUZZ_CHECK(span->end == text.size() || isBreak(text[span->end]));
    const std::string_view line = span->line(text);
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string_view::npos);
    FUZZ_CHECK(recordKey(trim(line)) == key);

    // The line goes with one line break: the one after it when it is the
    // first line, else the one before it (when there is one after it).
    std::size_t from = span->begin;
    std::size_t to = span->end;
    const std::size_t after = breakAfter(text, span->end);
    if (span->begin == 0) {
        to += after;
    } else if (after > 0) {
        from -= breakBefore(text, span->begin);
    }
    FUZZ_CHECK(removed == std::string(text.substr(0, from)) + std::string(text.substr(to)));
}

// A record whose fields hold no ";|" loads as it was written.
void checkRecord(const LibraryRecord& record) {
    for (const std::string* field :
         {&record.icon, &record.name, &record.disc, &record.path, &record.remark}) {
        if (field->find(";|") != std::string::npos) return;
    }
    const auto entry = parseLibraryLine(formatRecord(record));
    FUZZ_CHECK(entry && entry->name == record.name &&
               entry->key == libraryNodeKey(record.disc, record.path));
    FUZZ_CHECK(recordKey(formatRecord(record)) == libraryNodeKey(record.disc, record.path));
}

}  // namespace

int fuzzOne(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    // The lines as the loader reads them (at most 16): CR LF, a lone CR or a
    // lone LF ends one.
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; lines.size() < 16;) {
        std::size_t end = at;
        while (end < text.size() && !isBreak(text[end])) ++end;
        lines.push_back(text.substr(at, end - at));
        if (end == text.size()) break;
        at = end + breakAfter(text, end);
    }
    std::set<std::string> keys;
    for (std::string_view line : lines) {
        checkLine(line);
        if (auto key = recordKey(trim(line))) keys.insert(std::move(*key));
    }
    for (const std::string& key : keys) checkKey(text, key, true);
    checkKey(text, std::string(lines.back()), keys.contains(std::string(lines.back())));

    // A record made of the pieces of the first line between tabs.
    const std::vector<std::string_view> parts = fuzz::cut(lines.front(), "\t", 5);
    LibraryRecord record;
    std::string* fields[] = {&record.icon, &record.name, &record.disc, &record.path,
                             &record.remark};
    for (std::size_t i = 0; i < parts.size(); ++i) *fields[i] = parts[i];
    checkRecord(record);
    return 0;
}
