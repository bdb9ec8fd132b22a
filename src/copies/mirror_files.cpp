// The stored files of mirror copies (see mirror_files.h).
#include "copies/mirror_files.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace text = platform::text;

namespace copies {

namespace {

// One line of a text: its content [begin, end) and the end of its break.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

// The line that starts at begin (begin < text.size()).
Line lineAt(std::string_view text, std::size_t begin) {
    Line line;
    line.begin = begin;
    const std::size_t e = text.find_first_of("\r\n", begin);
    if (e == std::string_view::npos) {
        line.end = line.next = text.size();
        return line;
    }
    line.end = e;
    line.next = e + 1;
    if (text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ++line.next;
    return line;
}

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string copiedSizeFilePath(std::string_view programFolder) {
    return std::string(programFolder) + "\\" + std::string(CopiedSizeFileName);
}

std::string mirrorDiscListPath(std::string_view programFolder) {
    return std::string(programFolder) + "\\" + std::string(catalogue::MirrorDiscListName);
}

// ---- the mirror disc list ----

std::optional<std::string> appendMirrorDisc(std::string_view listText, std::string_view discName) {
    for (std::size_t at = 0; at < listText.size();) {
        const Line line = lineAt(listText, at);
        if (listText.substr(line.begin, line.end - line.begin) == discName) return std::nullopt;
        at = line.next;
    }
    std::string out(listText);
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += catalogue::LineEnd;
    out.append(discName).append(catalogue::LineEnd);
    return out;
}

std::optional<std::string> removeMirrorDisc(std::string_view listText, std::string_view discName) {
    for (std::size_t at = 0; at < listText.size();) {
        const Line line = lineAt(listText, at);
        if (listText.substr(line.begin, line.end - line.begin) == discName) {
            std::string out(listText.substr(0, line.begin));
            out.append(listText.substr(line.next));
            return out;
        }
        at = line.next;
    }
    return std::nullopt;
}

// ---- the copied size ----

double readCopiedSize(std::string_view text) {
    try {
        return text::val(text);
    } catch (const platform::Error&) {
        return 0;  // a number beyond a double
    }
}

std::string copiedSizeText(double total) {
    if (!std::isfinite(total) || total == 0) total = 0;  // also turns -0 into 0
    char buffer[400];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, total, std::chars_format::fixed);
    std::string out;
    if (ec == std::errc()) {
        out.assign(buffer, end);
    } else {
        out = "0";
    }
    if (out.front() != '-') out.insert(out.begin(), ' ');
    out += catalogue::LineEnd;
    return out;
}

void writeCopiedSize(std::string_view programFolder, double total) {
    rewriteProgramFile(programFolder, copiedSizeFilePath(programFolder), copiedSizeText(total));
}

void rewriteProgramFile(std::string_view programFolder, std::string_view path,
                        std::string_view text) {
    const platform::files::ConfinedRoot root = platform::files::ConfinedRoot::open(programFolder);
    platform::files::WholeFileRewrite(root, root.relativeOf(path), text);
}

// ---- mirror paths ----

bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("\\/:") == std::string_view::npos;
}

bool isPlainAbsolutePath(std::string_view path) {
    if (path.size() < 3 || !isLetter(path[0]) || path[1] != ':' || path[2] != '\\') return false;
    if (path.size() == 3) return true;
    std::size_t at = 3;
    while (true) {
        const std::size_t slash = path.find('\\', at);
        const std::string_view name =
            path.substr(at, slash == std::string_view::npos ? std::string_view::npos : slash - at);
        if (!isPlainName(name)) return false;
        if (slash == std::string_view::npos) return true;
        at = slash + 1;
    }
}

std::string trimTargetFolder(std::string_view typed) {
    const bool driveRoot = typed.size() == 3 && typed[1] == ':' && typed[2] == '\\';
    if (!driveRoot && !typed.empty() && typed.back() == '\\') typed.remove_suffix(1);
    return std::string(typed);
}

std::optional<std::string> mirrorCopyPath(std::string_view target, std::string_view folderPath,
                                          std::string_view name) {
    std::string path(target);
    auto add = [&](std::string_view part) {
        if (path.empty() || path.back() != '\\') path += '\\';
        path += part;
    };
    if (!folderPath.empty()) {
        for (const std::string& folder : text::split(folderPath, "\\")) {
            if (!isPlainName(folder)) return std::nullopt;
            add(folder);
        }
    }
    if (!isPlainName(name)) return std::nullopt;
    add(name);
    return path;
}

bool mirrorPathAccepted(std::string_view mirrorPath, std::string_view indexPath) {
    if (!isPlainAbsolutePath(mirrorPath)) return false;
    if (indexPath.size() <= 3) return false;
    const std::string tail = "\\" + text::lcase(indexPath.substr(3));
    return text::endsWith(text::lcase(mirrorPath), tail);
}

// ---- the copy run's pass over an index text ----

std::vector<MarkedLine> markedLines(std::string_view indexText) {
    std::vector<MarkedLine> lines;
    std::size_t from = 0;
    while (true) {
        const std::size_t mark = indexText.find(catalogue::TickMark, from);
        if (mark == std::string_view::npos) break;
        const std::size_t lineStart = indexText.find_last_of("\r\n", mark);
        const std::size_t begin = lineStart == std::string_view::npos ? 0 : lineStart + 1;
        const Line line = lineAt(indexText, begin);
        lines.push_back({line.begin, line.end});
        from = line.next;
        if (from >= indexText.size()) break;
    }
    return lines;
}

std::string addMirrorSuffixes(std::string_view indexText,
                              const std::vector<MirrorRecord>& records) {
    std::size_t extra = 0;
    for (const MirrorRecord& r : records) extra += r.mirrorPath.size() + 2;
    std::string out;
    out.reserve(indexText.size() + extra);
    std::size_t copied = 0;
    for (const MirrorRecord& r : records) {
        const std::size_t at = std::min(std::max(r.lineEnd, copied), indexText.size());
        out.append(indexText.substr(copied, at - copied));
        out.append("{").append(r.mirrorPath).append("}");
        copied = at;
    }
    out.append(indexText.substr(copied));
    return out;
}

}  // namespace copies
