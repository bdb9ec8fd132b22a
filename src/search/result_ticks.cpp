#include "search/result_ticks.h"

#include <algorithm>

#include "catalogue/index_line.h"
#include "catalogue/name_lookup.h"

namespace search {

namespace {

constexpr std::string_view NoExtensionSuffix = ".No扩展名";

}  // namespace

std::string noteRowIndexPath(std::string_view noteKey, std::string_view base) {
    if (noteKey.empty() || isFolderNoteKey(noteKey)) return {};
    if (noteKey.ends_with(NoExtensionSuffix)) noteKey.remove_suffix(NoExtensionSuffix.size());
    if (noteKey.empty()) return {};
    return std::string(base) + std::string(noteKey);
}

std::vector<ResultLookup> findResultLines(std::string_view indexText, ResultLayout layout,
                                          const std::vector<std::string>& rowKeys, bool hardDisc) {
    std::vector<ResultLookup> found(rowKeys.size());
    if (layout == ResultLayout::Remark) return found;
    const std::string base = hardDisc ? catalogue::HardDiscBase(indexText.substr(
                                            0, catalogue::textLineAt(indexText, 0).contentEnd))
                                      : std::string();

    // What each row asks for: a folder line by its text, a file line by its
    // path and size (a file row) or by its path (a note row).
    enum class Kind { Nothing, Folder, File };
    std::vector<Kind> kinds(rowKeys.size(), Kind::Nothing);
    std::vector<std::size_t> number(rowKeys.size());
    catalogue::NameLookup folders;
    std::vector<catalogue::WantedFile> files;
    for (std::size_t i = 0; i < rowKeys.size(); ++i) {
        const std::string& key = rowKeys[i];
        if (key.empty()) continue;
        if (layout == ResultLayout::Note) {
            std::string path = noteRowIndexPath(key, base);
            if (path.empty()) continue;
            kinds[i] = Kind::File;
            number[i] = files.size();
            files.push_back({std::move(path), {}});
        } else if (catalogue::indexLineKind(key) == catalogue::IndexLineKind::Folder) {
            kinds[i] = Kind::Folder;
            number[i] = folders.want(key);
        } else if (const auto line = catalogue::parseFileLine(key)) {
            kinds[i] = Kind::File;
            number[i] = files.size();
            files.push_back({line->path, line->sizeText});
        }
    }

    // The folder lines in one pass, the file lines in another.
    for (std::size_t pos = 0; pos < indexText.size() && !folders.settled();) {
        const catalogue::TextLine at = catalogue::textLineAt(indexText, pos);
        pos = at.end;
        const std::string_view content = indexText.substr(at.begin, at.contentEnd - at.begin);
        if (catalogue::indexLineKind(content) == catalogue::IndexLineKind::Folder)
            folders.offer(content, at.begin);
    }
    const std::vector<catalogue::ChosenFileLine> fileLines =
        files.empty() ? std::vector<catalogue::ChosenFileLine>()
                      : catalogue::chooseFileLines(indexText, files);

    for (std::size_t i = 0; i < rowKeys.size(); ++i) {
        ResultLookup& out = found[i];
        if (kinds[i] == Kind::Folder) {
            const catalogue::NameChoice c = folders.choice(number[i]);
            out.match = c.match;
            out.name = rowKeys[i];
            if (c.match != catalogue::NameMatch::Found) continue;
            out.line.begin = c.position;
            out.line.contentEnd = catalogue::textLineAt(indexText, c.position).contentEnd;
            out.line.folder = true;
        } else if (kinds[i] == Kind::File) {
            const catalogue::ChosenFileLine& c = fileLines[number[i]];
            out.match = c.match;
            out.name = files[number[i]].path;
            if (!c) continue;
            out.line.begin = c.begin;
            out.line.contentEnd = c.contentEnd;
            out.line.ticks = c.line.ticks;
            out.line.mirrored = c.line.mirror.has_value();
        }
    }
    return found;
}

ResultLookup findResultLine(std::string_view indexText, ResultLayout layout,
                            std::string_view rowKey, bool hardDisc) {
    return findResultLines(indexText, layout, {std::string(rowKey)}, hardDisc).front();
}

std::string addTickMarks(std::string_view indexText, std::vector<std::size_t> contentEnds) {
    std::sort(contentEnds.begin(), contentEnds.end());
    contentEnds.erase(std::unique(contentEnds.begin(), contentEnds.end()), contentEnds.end());
    std::string out;
    out.reserve(indexText.size() + contentEnds.size() * catalogue::TickMark.size());
    std::size_t copied = 0;
    for (const std::size_t at : contentEnds) {
        if (at > indexText.size()) break;
        out += indexText.substr(copied, at - copied);
        out += catalogue::TickMark;
        copied = at;
    }
    out += indexText.substr(copied);
    return out;
}

}  // namespace search
