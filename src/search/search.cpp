#include "search/search.h"

#include <array>
#include <unordered_set>
#include <utility>

#include "discpage/note_file.h"
#include "platform/text/text.h"

namespace search {

namespace {

constexpr std::size_t npos = std::string_view::npos;

// Whether text holds term; "" is found in every non-empty text.
bool holds(std::string_view text, std::string_view term) {
    if (term.empty()) return !text.empty();
    return text.find(term) != npos;
}

// The text as compared: itself when case counts, else lower-cased (which
// keeps every position).
std::string compared(std::string_view text, bool caseSensitive) {
    return caseSensitive ? std::string(text) : platform::text::lcase(text);
}

}  // namespace

Query splitQuery(std::string_view findTxt) {
    static constexpr std::array<std::pair<std::string_view, Operator>, 3> markers = {{
        {"(与)", Operator::And},
        {"(或)", Operator::Or},
        {"(非)", Operator::Not},
    }};
    for (const auto& [marker, op] : markers) {
        const std::size_t at = findTxt.find(marker);
        if (at == npos) continue;
        return Query{std::string(findTxt.substr(0, at)), op,
                     std::string(findTxt.substr(at + marker.size()))};
    }
    return Query{std::string(findTxt), Operator::Single, ""};
}

std::string locationPrefix(std::string_view findLocation) {
    // "所有" and "\" are three characters.
    return platform::text::mid(findLocation, 4);
}

bool locationTakes(std::string_view fullPath, std::string_view prefix) {
    if (prefix.empty()) return true;
    if (!fullPath.starts_with(prefix)) return false;
    // The whole path, a node below it, or a prefix typed with its "\".
    return fullPath.size() == prefix.size() || fullPath[prefix.size()] == '\\' ||
           prefix.back() == '\\';
}

std::vector<RemarkHit> searchDiscRemarks(std::string_view catalogueText, std::string_view term,
                                         bool caseSensitive) {
    const std::string text = compared(catalogueText, caseSensitive);
    const std::string wanted = compared(term, caseSensitive);
    std::vector<RemarkHit> hits;
    // Every four "#" in file order are one disc record; the walk ends when
    // fewer than four remain.
    std::size_t c = 0;
    for (;;) {
        std::array<std::size_t, 4> p{};
        std::size_t from = c;
        bool complete = true;
        for (std::size_t& at : p) {
            at = catalogueText.find('#', from);
            if (at == npos) {
                complete = false;
                break;
            }
            from = at + 1;
        }
        if (!complete) break;
        c = p[3] + 1;
        const auto field = [&](std::string_view s, int i) {
            return s.substr(p[i] + 1, p[i + 1] - p[i] - 1);
        };
        if (!holds(field(text, 2), wanted)) continue;
        hits.push_back(RemarkHit{std::string(field(catalogueText, 0)),
                                 std::string(field(catalogueText, 1)),
                                 std::string(field(catalogueText, 2))});
    }
    return hits;
}

std::vector<NoteHit> searchNotes(std::string_view noteFileText, std::string_view marker,
                                 std::string_view discName, const Query& query,
                                 bool caseSensitive) {
    std::vector<NoteHit> hits;
    if (noteFileText.empty()) return hits;
    const std::string text = compared(noteFileText, caseSensitive);
    const std::string first = compared(query.first, caseSensitive);
    const std::string second = compared(query.second, caseSensitive);

    // The records the note readers see: the first one of each key.
    struct Record {
        std::string_view key;
        std::size_t textBegin;
        std::size_t textEnd;
    };
    std::vector<Record> records;
    std::unordered_set<std::string_view> keys;
    for (const discpage::NoteRecordSpan& r :
         discpage::noteRecords(noteFileText, marker, discName)) {
        const std::string_view key = noteFileText.substr(r.keyBegin, r.keyEnd - r.keyBegin);
        if (keys.insert(key).second) records.push_back({key, r.textBegin, r.textEnd});
    }

    // The record's path: its key after the first "\" (the whole key without one).
    const auto pathOf = [](std::string_view key) {
        const std::size_t slash = key.find('\\');
        return slash == npos ? key : key.substr(slash + 1);
    };
    // A term counts only where it lies wholly inside a record's text.
    const auto noteOf = [&](const Record& r) {
        return std::string_view(text).substr(r.textBegin, r.textEnd - r.textBegin);
    };
    const auto add = [&](const Record& r) {
        hits.push_back(
            NoteHit{std::string(pathOf(r.key)),
                    std::string(noteFileText.substr(r.textBegin, r.textEnd - r.textBegin))});
    };

    // Pass 1: the records whose text holds the first term, as the operator
    // says. k is the path of the record found last: a record of the same path
    // right after it gives no second row.
    std::string_view k;
    for (const Record& r : records) {
        const std::string_view note = noteOf(r);
        const std::string_view path = pathOf(r.key);
        if (!holds(note, first) || path == k) continue;
        bool take = true;
        if (query.op == Operator::And) take = holds(note, second);
        if (query.op == Operator::Not) take = !holds(note, second);
        if (take) add(r);
        k = path;
    }
    if (query.op != Operator::Or) return hits;

    // Pass 2: the records whose text holds the second term; k goes on from
    // pass 1, so the record that ended it is not listed again when it is the
    // first one found here.
    for (const Record& r : records) {
        const std::string_view path = pathOf(r.key);
        if (!holds(noteOf(r), second) || path == k) continue;
        add(r);
        k = path;
    }
    return hits;
}

}  // namespace search
