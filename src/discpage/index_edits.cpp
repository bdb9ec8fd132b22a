#include "discpage/index_edits.h"

#include <map>
#include <optional>
#include <utility>

#include "catalogue/name_lookup.h"
#include "discpage/file_listing.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace discpage {

namespace {

using catalogue::IndexFileLine;
using catalogue::parseFileLine;

// One line of a text (catalogue::textLineAt).
using LineSpan = catalogue::TextLine;

LineSpan lineAt(std::string_view text, std::size_t begin) {
    return catalogue::textLineAt(text, begin);
}

std::string_view contentOf(std::string_view text, const LineSpan& span) {
    return text.substr(span.begin, span.contentEnd - span.begin);
}

std::string_view breakOf(std::string_view text, const LineSpan& span) {
    return text.substr(span.contentEnd, span.end - span.contentEnd);
}

}  // namespace

TickResult applyTicks(std::string_view indexText, const std::vector<PendingTick>& ticks,
                      bool hardDisc) {
    // The file each entry names; an entry whose key is no name with a size
    // names no file.
    const std::string_view firstLine = contentOf(indexText, lineAt(indexText, 0));
    std::vector<catalogue::WantedFile> wanted;
    wanted.reserve(ticks.size());
    for (const PendingTick& tick : ticks) {
        const auto key = parseFileLine(tick.key);
        if (!key) continue;
        wanted.push_back(
            {indexFolderPrefix(firstLine, tick.folderPath, hardDisc) + key->path, key->sizeText});
    }
    const std::vector<catalogue::ChosenFileLine> chosen =
        catalogue::chooseFileLines(indexText, wanted);

    // The chosen lines in text order, each with its number of entries.
    std::map<std::size_t, std::pair<const catalogue::ChosenFileLine*, int>> marks;
    TickResult result;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        if (chosen[i].match == catalogue::NameMatch::Ambiguous)
            result.ambiguous.push_back(wanted[i].path);
        if (!chosen[i]) continue;
        auto& [line, entries] = marks[chosen[i].begin];
        line = &chosen[i];
        ++entries;
        ++result.written;
    }

    result.text.reserve(indexText.size() + result.written * catalogue::TickMark.size());
    std::size_t copied = 0;
    for (const auto& [begin, marked] : marks) {
        IndexFileLine line = marked.first->line;
        line.ticks += marked.second;
        result.text += indexText.substr(copied, begin - copied);
        result.text += catalogue::formatFileLine(line);
        copied = marked.first->contentEnd;
    }
    result.text += indexText.substr(copied);
    return result;
}

namespace {

// The text with the tick marks taken from every file line, and with mirrors
// also the mirror suffixes; without mirrors a line with a suffix keeps its
// marks.
std::string clearFileLines(std::string_view indexText, bool mirrors) {
    std::string out;
    out.reserve(indexText.size());
    for (std::size_t pos = 0; pos < indexText.size();) {
        const LineSpan span = lineAt(indexText, pos);
        pos = span.end;
        const std::string_view content = contentOf(indexText, span);
        // Only a line that holds a mark (or a brace) can change; the others
        // are copied.
        if (content.find(catalogue::TickMark) != std::string_view::npos ||
            (mirrors && content.find('{') != std::string_view::npos)) {
            auto line = parseFileLine(content);
            if (line &&
                (mirrors ? line->ticks > 0 || line->mirror : line->ticks > 0 && !line->mirror)) {
                line->ticks = 0;
                line->mirror.reset();
                out += catalogue::formatFileLine(*line);
                out += breakOf(indexText, span);
                continue;
            }
        }
        out += indexText.substr(span.begin, span.end - span.begin);
    }
    return out;
}

}  // namespace

std::string removeTicks(std::string_view indexText) { return clearFileLines(indexText, false); }

std::string removeTicksAndMirrors(std::string_view indexText) {
    return clearFileLines(indexText, true);
}

KeywordTicks tickByKeywords(std::string_view indexText,
                            std::span<const std::string_view> keywords) {
    // The keywords are ASCII: the text lower-cased once keeps every offset.
    const std::string lower = platform::text::lcase(indexText);
    const auto chosen = [&](const LineSpan& span) {
        const std::string_view line = contentOf(lower, span);
        for (const std::string_view keyword : keywords) {
            const std::size_t at = line.find(keyword);
            if (at != std::string_view::npos &&
                line.find('\\', at + keyword.size()) == std::string_view::npos)
                return true;
        }
        return false;
    };

    KeywordTicks out;
    out.text.reserve(indexText.size());
    for (std::size_t pos = 0; pos < indexText.size();) {
        const LineSpan span = lineAt(indexText, pos);
        pos = span.end;
        const std::string_view content = contentOf(indexText, span);
        // A line holding "|" is a folder's.
        if (chosen(span) && content.find('|') == std::string_view::npos) {
            auto line = parseFileLine(content);
            if (line && !line->ticked()) {
                ++line->ticks;
                ++out.ticked;
                out.text += catalogue::formatFileLine(*line);
                out.text += breakOf(indexText, span);
                continue;
            }
        }
        out.text += indexText.substr(span.begin, span.end - span.begin);
    }
    return out;
}

std::vector<std::string> markedFileLines(std::string_view indexText) {
    std::vector<std::string> out;
    for (std::size_t pos = 0; pos < indexText.size();) {
        const LineSpan span = lineAt(indexText, pos);
        pos = span.end;
        const std::string_view content = contentOf(indexText, span);
        if (content.find(catalogue::TickMark) == std::string_view::npos ||
            content.find('|') != std::string_view::npos)
            continue;
        const auto line = parseFileLine(content);
        if (!line || line->ticks == 0 || line->mirror) continue;
        if (!out.empty() && out.back() == content) continue;
        out.emplace_back(content);
    }
    return out;
}

FileTotal countFiles(platform::files::RawLineReader& lines, std::string_view folderPath,
                     bool hardDisc, bool tickedOnly) {
    // The whole disc (folderPath ""), or the folder in each spelling of its
    // prefix that lines begin with: the one chosen counts.
    std::optional<FolderSpellings> spellings;
    std::map<std::string, std::pair<std::int64_t, std::uint64_t>> totals;
    bool first = true;
    std::string_view raw;
    while (lines.next(raw)) {
        if (first) {
            first = false;
            if (!folderPath.empty())
                spellings.emplace(
                    indexFolderPrefix(platform::text::fromCp936(raw), folderPath, hardDisc));
        }
        std::string spelling;
        if (spellings) {
            spelling = spellings->take(platform::text::trim(raw));
            if (spelling.empty()) continue;
        }
        // A ticked line holds a mark. Its three bytes are never part of a
        // double-byte character, so a line without them is passed over
        // undecoded when only ticked files count.
        if (tickedOnly && raw.find(catalogue::TickMark) == std::string_view::npos) continue;
        const auto line = parseFileLine(platform::text::trim(platform::text::fromCp936(raw)));
        if (!line || (tickedOnly && !line->ticked()) || line->bytes() == 0) continue;
        auto& [files, bytes] = totals[spelling];
        ++files;
        bytes += line->bytes();
    }
    const std::optional<std::string> chosen =
        spellings ? spellings->chosen() : std::optional<std::string>("");
    const auto total = chosen ? totals.find(*chosen) : totals.end();
    if (total == totals.end()) return {};
    return FileTotal{total->second.first, static_cast<double>(total->second.second)};
}

TickedTotal countTicked(platform::files::RawLineReader& lines, std::string_view folderPath,
                        bool hardDisc) {
    return countFiles(lines, folderPath, hardDisc, true);
}

}  // namespace discpage
