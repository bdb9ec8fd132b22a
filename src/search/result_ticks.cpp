#include "search/result_ticks.h"

#include <algorithm>
#include <unordered_map>

#include "catalogue/index_line.h"
#include "platform/text/text.h"

namespace search {

namespace {

constexpr std::string_view NoExtensionSuffix = ".No扩展名";

// The end of the content of the line that begins at begin, and where the
// next line begins.
struct LineEnds {
    std::size_t contentEnd;
    std::size_t next;
};
LineEnds lineEndsFrom(std::string_view text, std::size_t begin) {
    const std::size_t brk = text.find_first_of("\r\n", begin);
    if (brk == std::string_view::npos) return {text.size(), text.size()};
    const bool crlf = text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n';
    return {brk, brk + (crlf ? 2 : 1)};
}

// What a row's key asks for: a folder line by its text, a file line by its
// path and size (a file row: the size tells apart two files whose paths
// differ only in letter case), or a file line by its path (a note row). All
// lower-cased.
enum class WantedKind { Folder, FileAndSize, File };
struct Wanted {
    WantedKind kind;
    std::string text;
};

// A file line's path and size as one text, lower-cased: the line without its
// marks and mirror suffix.
std::string fileId(const catalogue::IndexFileLine& line) {
    return platform::text::lcase(catalogue::formatFileLine({line.path, line.sizeText, 0, {}}));
}

std::optional<Wanted> wantedLine(ResultLayout layout, std::string_view key, std::string_view base) {
    if (key.empty()) return std::nullopt;
    switch (layout) {
        case ResultLayout::File: {
            if (catalogue::indexLineKind(key) == catalogue::IndexLineKind::Folder)
                return Wanted{WantedKind::Folder, platform::text::lcase(key)};
            const auto line = catalogue::parseFileLine(key);
            if (!line) return std::nullopt;
            return Wanted{WantedKind::FileAndSize, fileId(*line)};
        }
        case ResultLayout::Note: {
            const std::string path = noteRowIndexPath(key, base);
            if (path.empty()) return std::nullopt;
            return Wanted{WantedKind::File, platform::text::lcase(path)};
        }
        case ResultLayout::Remark:
            break;
    }
    return std::nullopt;
}

}  // namespace

std::string noteRowIndexPath(std::string_view noteKey, std::string_view base) {
    if (noteKey.empty() || isFolderNoteKey(noteKey)) return {};
    if (noteKey.ends_with(NoExtensionSuffix)) noteKey.remove_suffix(NoExtensionSuffix.size());
    if (noteKey.empty()) return {};
    return std::string(base) + std::string(noteKey);
}

std::vector<std::optional<ResultLine>> findResultLines(std::string_view indexText,
                                                       ResultLayout layout,
                                                       const std::vector<std::string>& rowKeys,
                                                       bool hardDisc) {
    std::vector<std::optional<ResultLine>> found(rowKeys.size());
    const std::string base =
        hardDisc
            ? catalogue::HardDiscBase(indexText.substr(0, lineEndsFrom(indexText, 0).contentEnd))
            : std::string();

    // The rows waiting for each folder line, file path and size, file path.
    using Waiting = std::unordered_map<std::string, std::vector<std::size_t>>;
    Waiting folders, filesAndSizes, files;
    for (std::size_t i = 0; i < rowKeys.size(); ++i) {
        auto wanted = wantedLine(layout, rowKeys[i], base);
        if (!wanted) continue;
        Waiting& waiting = wanted->kind == WantedKind::Folder        ? folders
                           : wanted->kind == WantedKind::FileAndSize ? filesAndSizes
                                                                     : files;
        waiting[std::move(wanted->text)].push_back(i);
    }

    // The first line of each answers all its rows.
    auto answer = [&](Waiting& waiting, const std::string& key, const ResultLine& line) {
        const auto it = waiting.find(key);
        if (it == waiting.end()) return;
        for (const std::size_t row : it->second) found[row] = line;
        waiting.erase(it);
    };
    for (std::size_t pos = 0;
         pos < indexText.size() && !(folders.empty() && filesAndSizes.empty() && files.empty());) {
        const LineEnds ends = lineEndsFrom(indexText, pos);
        const std::string_view content = indexText.substr(pos, ends.contentEnd - pos);
        ResultLine line;
        line.begin = pos;
        line.contentEnd = ends.contentEnd;
        pos = ends.next;
        if (catalogue::indexLineKind(content) == catalogue::IndexLineKind::Folder) {
            if (folders.empty()) continue;
            line.folder = true;
            answer(folders, platform::text::lcase(content), line);
        } else if (!filesAndSizes.empty() || !files.empty()) {
            const auto file = catalogue::parseFileLine(content);
            if (!file) continue;
            line.ticks = file->ticks;
            line.mirrored = file->mirror.has_value();
            if (!filesAndSizes.empty()) answer(filesAndSizes, fileId(*file), line);
            if (!files.empty()) answer(files, platform::text::lcase(file->path), line);
        }
    }
    return found;
}

std::optional<ResultLine> findResultLine(std::string_view indexText, ResultLayout layout,
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
