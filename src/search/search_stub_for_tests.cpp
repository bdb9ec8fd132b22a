// Temporary stand-ins for the searches, so that the search command links
// before the real ones land. Dropped at the merge.
#include <string>
#include <string_view>
#include <vector>

#include "search/search.h"

namespace search {

namespace {

bool holds(std::string_view text, std::string_view term, bool caseSensitive) {
    if (caseSensitive) return text.find(term) != std::string_view::npos;
    std::string a(text), b(term);
    for (char& c : a)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (char& c : b)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return a.find(b) != std::string::npos;
}

}  // namespace

Query splitQuery(std::string_view findTxt) {
    for (auto [marker, op] : {std::pair<std::string_view, Operator>{"(与)", Operator::And},
                              {"(或)", Operator::Or},
                              {"(非)", Operator::Not}}) {
        const std::size_t p = findTxt.find(marker);
        if (p != std::string_view::npos)
            return {std::string(findTxt.substr(0, p)), op,
                    std::string(findTxt.substr(p + marker.size()))};
    }
    return {std::string(findTxt), Operator::Single, {}};
}

std::string locationPrefix(std::string_view findLocation) {
    const std::string_view all = "所有";
    if (findLocation.size() <= all.size() + 1) return {};
    return std::string(findLocation.substr(all.size() + 1));
}

bool locationTakes(std::string_view fullPath, std::string_view prefix) {
    if (prefix.empty() || fullPath == prefix) return true;
    return fullPath.size() > prefix.size() && fullPath.substr(0, prefix.size()) == prefix &&
           fullPath[prefix.size()] == '\\';
}

// Disc lines "#name#number#remark#", one a line.
std::vector<RemarkHit> searchDiscRemarks(std::string_view catalogueText, std::string_view term,
                                         bool caseSensitive) {
    std::vector<RemarkHit> hits;
    std::vector<std::size_t> marks;
    for (std::size_t i = 0; i < catalogueText.size(); ++i)
        if (catalogueText[i] == '#') marks.push_back(i);
    for (std::size_t k = 0; k + 3 < marks.size(); k += 4) {
        auto field = [&](std::size_t a) {
            return catalogueText.substr(marks[a] + 1, marks[a + 1] - marks[a] - 1);
        };
        if (holds(field(k + 2), term, caseSensitive))
            hits.push_back(
                {std::string(field(k)), std::string(field(k + 1)), std::string(field(k + 2))});
    }
    return hits;
}

// Records marker + discName + "\" + path + "==" + text + CR LF.
std::vector<NoteHit> searchNotes(std::string_view noteFileText, std::string_view marker,
                                 std::string_view, const Query& query, bool caseSensitive) {
    std::vector<NoteHit> hits;
    std::size_t at = noteFileText.find(marker);
    while (at != std::string_view::npos) {
        const std::size_t next = noteFileText.find(marker, at + marker.size());
        std::string_view record = noteFileText.substr(
            at + marker.size(),
            (next == std::string_view::npos ? noteFileText.size() : next) - at - marker.size());
        if (record.size() >= 2 && record.substr(record.size() - 2) == "\r\n")
            record.remove_suffix(2);
        const std::size_t eq = record.find("==");
        if (eq != std::string_view::npos) {
            const std::string_view key = record.substr(0, eq);
            const std::string_view text = record.substr(eq + 2);
            const std::size_t slash = key.find('\\');
            if (holds(text, query.first, caseSensitive))
                hits.push_back(
                    {std::string(slash == std::string_view::npos ? key : key.substr(slash + 1)),
                     std::string(text)});
        }
        at = next;
    }
    return hits;
}

}  // namespace search
