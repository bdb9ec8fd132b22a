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
    FUZZ_CHECK(span->begin == 0 || text.substr(span->begin - kBreak.size(), 2) == kBreak);
    FUZZ_CHECK(span->end == text.size() || text.substr(span->end, 2) == kBreak);
    const std::string_view line = text.substr(span->begin, span->end - span->begin);
    FUZZ_CHECK(line.find(kBreak) == std::string_view::npos);
    FUZZ_CHECK(recordKey(trim(line)) == key);

    // The line goes with one line break: the one after it when it is the
    // first line, else the one before it (when there is one after it).
    std::size_t from = span->begin;
    std::size_t to = span->end;
    const bool breakFollows = span->end < text.size();
    if (span->begin == 0) {
        if (breakFollows) to += kBreak.size();
    } else if (breakFollows) {
        from -= kBreak.size();
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
    const std::vector<std::string_view> lines = fuzz::cut(text, kBreak, 16);
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
