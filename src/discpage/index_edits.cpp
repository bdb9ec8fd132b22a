#include "discpage/index_edits.h"

#include <unordered_map>

#include "discpage/file_listing.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace discpage {

namespace {

using catalogue::IndexFileLine;
using catalogue::parseFileLine;

// One line of a text: its content [begin, contentEnd) and its break up to end.
// A line ends at CR LF, a lone LF or a lone CR; a last line without a break
// ends at the end of the text.
struct LineSpan {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};

LineSpan lineAt(std::string_view text, std::size_t begin) {
    LineSpan span{begin, text.size(), text.size()};
    const std::size_t brk = text.find_first_of("\r\n", begin);
    if (brk == std::string_view::npos) return span;
    span.contentEnd = brk;
    span.end = brk + 1;
    if (text[brk] == '\r' && span.end < text.size() && text[span.end] == '\n') ++span.end;
    return span;
}

std::string_view contentOf(std::string_view text, const LineSpan& span) {
    return text.substr(span.begin, span.contentEnd - span.begin);
}

std::string_view breakOf(std::string_view text, const LineSpan& span) {
    return text.substr(span.contentEnd, span.end - span.contentEnd);
}

// The name of a file together with its size: the lower-cased full path, then
// "[" size "]". The size is digits (an old file's may start with "-"), so two
// different files never give the same text.
std::string fileId(std::string_view path, std::string_view sizeText) {
    std::string id = platform::text::lcase(path);
    id += '[';
    id += sizeText;
    id += ']';
    return id;
}

}  // namespace

TickResult applyTicks(std::string_view indexText, const std::vector<PendingTick>& ticks,
                      bool hardDisc) {
    // The files the entries name, each with its number of entries. An entry
    // whose key is no name with a size names no file.
    struct Target {
        int entries = 0;
        bool found = false;
    };
    const std::string_view firstLine = contentOf(indexText, lineAt(indexText, 0));
    std::unordered_map<std::string, Target> targets;
    std::size_t waiting = 0;
    for (const PendingTick& tick : ticks) {
        const auto key = parseFileLine(tick.key);
        if (!key) continue;
        const std::string path =
            indexFolderPrefix(firstLine, tick.folderPath, hardDisc) + key->path;
        ++targets[fileId(path, key->sizeText)].entries;
        ++waiting;
    }

    TickResult result;
    result.text.reserve(indexText.size() + waiting * catalogue::TickMark.size());
    std::size_t pos = 0;
    while (pos < indexText.size() && waiting > 0) {
        const LineSpan span = lineAt(indexText, pos);
        const std::string_view content = contentOf(indexText, span);
        pos = span.end;
        auto line = parseFileLine(content);
        if (line) {
            const auto it = targets.find(fileId(line->path, line->sizeText));
            if (it != targets.end() && !it->second.found) {
                // The first line of the file takes all its entries' marks.
                it->second.found = true;
                line->ticks += it->second.entries;
                result.written += static_cast<std::size_t>(it->second.entries);
                waiting -= static_cast<std::size_t>(it->second.entries);
                result.text += catalogue::formatFileLine(*line);
                result.text += breakOf(indexText, span);
                continue;
            }
        }
        result.text += indexText.substr(span.begin, span.end - span.begin);
    }
    result.text += indexText.substr(pos);
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

std::optional<FoundLine> findFileLine(std::string_view indexText, std::string_view filePath) {
    for (std::size_t pos = 0; pos < indexText.size();) {
        const LineSpan span = lineAt(indexText, pos);
        pos = span.end;
        const std::string_view content = contentOf(indexText, span);
        // A file's line begins with its path; other lines are not parsed.
        if (!platform::text::startsWithIgnoringCase(content, filePath)) continue;
        auto line = parseFileLine(content);
        if (!line || !platform::files::sameNameIgnoringCase(line->path, filePath)) continue;
        return FoundLine{span.begin, span.end, std::move(*line)};
    }
    return std::nullopt;
}

FileTotal countFiles(platform::files::RawLineReader& lines, std::string_view folderPath,
                     bool hardDisc, bool tickedOnly) {
    std::string prefix;  // "" counts the whole disc
    std::int64_t files = 0;
    std::uint64_t bytes = 0;
    bool first = true;
    std::string_view raw;
    while (lines.next(raw)) {
        if (first) {
            first = false;
            if (!folderPath.empty())
                prefix = indexFolderPrefix(platform::text::fromCp936(raw), folderPath, hardDisc);
        }
        // A ticked line holds a mark. Its three bytes are never part of a
        // double-byte character, so a line without them is passed over
        // undecoded when only ticked files count.
        if (tickedOnly && raw.find(catalogue::TickMark) == std::string_view::npos) continue;
        const auto line = parseFileLine(platform::text::trim(platform::text::fromCp936(raw)));
        if (!line || (tickedOnly && !line->ticked()) || line->bytes() == 0) continue;
        if (!prefix.empty() && !platform::text::startsWithIgnoringCase(line->path, prefix))
            continue;
        ++files;
        bytes += line->bytes();
    }
    return FileTotal{files, static_cast<double>(bytes)};
}

TickedTotal countTicked(platform::files::RawLineReader& lines, std::string_view folderPath,
                        bool hardDisc) {
    return countFiles(lines, folderPath, hardDisc, true);
}

}  // namespace discpage
