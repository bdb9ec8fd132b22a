#include "catalogue/name_lookup.h"

#include "platform/text/text.h"

namespace catalogue {

namespace {

// A file line's path and size as one name: "E:\a.txt[5]".
std::string withSize(std::string_view path, std::string_view sizeText) {
    std::string s;
    s.reserve(path.size() + sizeText.size() + 2);
    s += path;
    s += '[';
    s += sizeText;
    s += ']';
    return s;
}

}  // namespace

std::string ambiguousNameMessage(std::string_view name) {
    std::string message(AmbiguousNameText);
    message += name;
    return message;
}

std::size_t NameLookup::want(std::string_view name) {
    const auto [it, added] = groupOf_.try_emplace(platform::text::lcase(name), groups_.size());
    if (added) groups_.emplace_back();
    Wanted w{it->second, std::string(name)};
    if (groups_[w.group].exact.try_emplace(w.spelling).second) ++unsettled_;
    wanted_.push_back(std::move(w));
    return wanted_.size() - 1;
}

void NameLookup::offer(std::string_view name, std::size_t position) {
    const auto it = groupOf_.find(platform::text::lcase(name));
    if (it == groupOf_.end()) return;
    Group& g = groups_[it->second];
    const auto exact = g.exact.find(std::string(name));
    if (exact != g.exact.end() && !exact->second) {
        exact->second = position;
        --unsettled_;
    }
    if (!g.any) {
        g.any = true;
        g.first = name;
        g.firstAt = position;
    } else if (!g.several && name != g.first) {
        g.several = true;
    }
}

NameChoice NameLookup::choice(std::size_t wanted) const {
    const Wanted& w = wanted_.at(wanted);
    const Group& g = groups_[w.group];
    if (const std::optional<std::size_t>& at = g.exact.at(w.spelling))
        return {NameMatch::Found, *at};
    if (!g.any) return {};
    if (g.several) return {NameMatch::Ambiguous, 0};
    return {NameMatch::Found, g.firstAt};
}

std::vector<ChosenFileLine> chooseFileLines(std::string_view indexText,
                                            const std::vector<WantedFile>& wanted) {
    // Files with a size are wanted by path and size, the others by path.
    NameLookup bySize, byPath;
    std::vector<std::size_t> number(wanted.size());
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const WantedFile& w = wanted[i];
        number[i] =
            w.sizeText.empty() ? byPath.want(w.path) : bySize.want(withSize(w.path, w.sizeText));
    }
    // One wanted file: a line that does not begin with its path is not read.
    const std::string_view onlyPath = wanted.size() == 1 ? wanted[0].path : std::string_view();
    for (std::size_t pos = 0; pos < indexText.size() && !(bySize.settled() && byPath.settled());) {
        const TextLine at = textLineAt(indexText, pos);
        pos = at.end;
        const std::string_view content = indexText.substr(at.begin, at.contentEnd - at.begin);
        if (!onlyPath.empty() && !platform::text::startsWithIgnoringCase(content, onlyPath))
            continue;
        const auto line = parseFileLine(content);
        if (!line) continue;
        if (!bySize.empty()) bySize.offer(withSize(line->path, line->sizeText), at.begin);
        if (!byPath.empty()) byPath.offer(line->path, at.begin);
    }

    std::vector<ChosenFileLine> out(wanted.size());
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const NameChoice c = (wanted[i].sizeText.empty() ? byPath : bySize).choice(number[i]);
        ChosenFileLine& chosen = out[i];
        chosen.match = c.match;
        if (c.match != NameMatch::Found) continue;
        const TextLine at = textLineAt(indexText, c.position);
        chosen.begin = at.begin;
        chosen.contentEnd = at.contentEnd;
        chosen.end = at.end;
        chosen.line = *parseFileLine(indexText.substr(at.begin, at.contentEnd - at.begin));
    }
    return out;
}

ChosenFileLine chooseFileLine(std::string_view indexText, const WantedFile& wanted) {
    return chooseFileLines(indexText, {wanted}).front();
}

}  // namespace catalogue
