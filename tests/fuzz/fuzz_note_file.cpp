// The remark and usage-note files: the reading rule, the index of a file's
// records, and storing, replacing and removing a text, asked about the keys
// the text holds and about keys made from them.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "discpage/note_file.h"
#include "fuzz_target.h"

namespace {

using namespace discpage;

constexpr std::size_t npos = std::string_view::npos;

bool has(std::string_view s, std::string_view what) { return s.find(what) != npos; }

// The marker that comes first in the text (remarks when neither does).
std::string_view markerOf(std::string_view text) {
    const std::size_t note = text.find(NoteMarker);
    const std::size_t usage = text.find(UsageMarker);
    return usage < note ? UsageMarker : NoteMarker;
}

// The disc's name: what follows the first marker up to the first "\" (or
// "==", or a few characters), "d" when the text holds no marker.
std::string discOf(std::string_view text, std::string_view marker) {
    const std::size_t at = text.find(marker);
    if (at == npos) return "d";
    const std::string_view rest = text.substr(at + marker.size());
    std::size_t end = rest.find('\\');
    if (end == npos) end = rest.find(NoteSeparator);
    return std::string(rest.substr(0, std::min<std::size_t>(end, 16)));
}

// Every key the text holds after a marker, and keys that begin or extend them.
std::vector<std::string> keysOf(std::string_view text, std::string_view marker,
                                const std::string& disc) {
    std::set<std::string> keys = {"", disc, disc + "\\", disc + "\\a", disc + "\\a.txt"};
    std::size_t found = 0;
    for (std::size_t at = text.find(marker); at != npos && found < 12;
         at = text.find(marker, at + 1), ++found) {
        const std::size_t begin = at + marker.size();
        const std::size_t end = text.find(NoteSeparator, begin);
        const std::string key(text.substr(begin, end == npos ? 24 : end - begin));
        keys.insert({key, key + "x", key + "=", key + ".bak", key + "==b"});
        if (!key.empty()) keys.insert(key.substr(0, key.size() - 1));
    }
    return {keys.begin(), keys.end()};
}

std::size_t occurrences(std::string_view text, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != npos; at = text.find(what, at + 1)) ++n;
    return n;
}

void checkLookup(std::string_view text, std::string_view marker, const std::string& disc,
                 const std::vector<std::string>& keys) {
    const NoteLookup lookup(std::string(text), marker, disc);
    const NoteLookup copy = lookup;
    FUZZ_CHECK(lookup.empty() == text.empty());
    for (const std::string& key : keys) {
        const std::string expected = readNote(text, marker, disc, key).value_or("");
        FUZZ_CHECK(lookup.find(key) == expected);
        FUZZ_CHECK(copy.find(key) == expected);
    }
}

// Storing reads back what was stored; removing leaves the key without a
// record and every other record's text as it was. This holds for a disc name
// without "@", "=" or line breaks, a key of the disc that holds no second
// record start, and a text that holds no record start. A key of the disc is
// its name and a backslash first ("Wx\a" is none of disc "W"'s).
void checkStore(std::string_view text, std::string_view marker, const std::string& disc,
                const std::vector<std::string>& keys, std::string_view piece) {
    if (has(disc, "@") || has(disc, "=") || has(disc, "\r") || has(disc, "\n")) return;
    const std::string recordStart = std::string(marker) + disc;
    std::vector<std::string> ownKeys;
    for (const std::string& key : keys) {
        if (key.starts_with(disc + "\\") &&
            !has((std::string(marker) + key).substr(1), recordStart))
            ownKeys.push_back(key);
    }
    const std::string notes[] = {"x", "two\r\nlines\r\n", "  ", std::string(piece)};
    for (const std::string& key : ownKeys) {
        for (const std::string& note : notes) {
            if (note.empty() || noteTextCutsRecord(note, marker, disc)) continue;
            const NoteChange change = planStoreNote(text, marker, disc, key, note);
            FUZZ_CHECK(change.kind != NoteChange::Nothing);
            const std::string after = noteTextAfter(text, change);
            FUZZ_CHECK(after.ends_with("\r\n"));
            FUZZ_CHECK(readNote(after, marker, disc, key) == note);
        }

        const std::string head = std::string(marker) + key + std::string(NoteSeparator);
        const std::optional<std::string> before = readNote(text, marker, disc, key);
        const NoteChange change = planStoreNote(text, marker, disc, key, "");
        FUZZ_CHECK((change.kind == NoteChange::Nothing) == !before);
        if (!before) continue;
        const std::string after = noteTextAfter(text, change);
        FUZZ_CHECK(after.ends_with("\r\n"));
        FUZZ_CHECK(after.size() < text.size() + 2);
        if (occurrences(text, head) == 1) FUZZ_CHECK(!readNote(after, marker, disc, key));
        for (const std::string& other : ownKeys) {
            if (has(head, std::string(marker) + other + std::string(NoteSeparator))) continue;
            if (!has(std::string(marker) + other + std::string(NoteSeparator), head))
                FUZZ_CHECK(readNote(after, marker, disc, other) ==
                           readNote(text, marker, disc, other));
        }
    }
}

}  // namespace

int fuzzOne(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    const std::string_view marker = markerOf(text);
    const std::string disc = discOf(text, marker);
    const std::vector<std::string> keys = keysOf(text, marker, disc);
    checkLookup(text, marker, disc, keys);
    checkLookup(text, marker == NoteMarker ? UsageMarker : NoteMarker, disc, keys);
    checkStore(text, marker, disc, keys, text.substr(text.size() / 2, 12));
    return 0;
}
