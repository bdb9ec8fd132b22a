// The index-line grammar: every line of the input through every reader of
// src/catalogue/index_line, and each parse written back with its formatter.
#include "catalogue/index_line.h"
#include "fuzz_target.h"
#include "platform/text/text.h"

namespace {

using namespace catalogue;

bool isPrefix(std::string_view prefix, std::string_view of) {
    return of.substr(0, prefix.size()) == prefix;
}

void checkFolderLine(std::string_view line, const IndexFolderLine& folder) {
    FUZZ_CHECK(formatFolderLine(folder) == line);
    FUZZ_CHECK(formatFolderLine(folder.parent, folder.key) == line);
    FUZZ_CHECK(folder.parent.find('|') == std::string::npos);
    const std::string_view shown = folder.shownName();
    FUZZ_CHECK(shown.empty() || shown.back() != FolderKeyChar);
    FUZZ_CHECK(shown.size() + folderKeySuffixLength(folder.key) == folder.key.size());
    FUZZ_CHECK(isPrefix(shown, folder.key));
    FUZZ_CHECK(folder.path() == folder.parent + std::string(shown));
}

void checkFileLine(std::string_view line, const IndexFileLine& file) {
    // parse + format gives the same line back, and the line parses alike again.
    const std::string formatted = formatFileLine(file);
    FUZZ_CHECK(formatted == line);
    const auto again = parseFileLine(formatted);
    FUZZ_CHECK(again && again->path == file.path && again->sizeText == file.sizeText &&
               again->ticks == file.ticks && again->mirror == file.mirror);

    FUZZ_CHECK(!file.path.empty());
    FUZZ_CHECK(file.ticks >= 0);
    const auto size = parseSize(file.sizeText);
    FUZZ_CHECK(size && file.size() == *size);
    FUZZ_CHECK(file.name().find('\\') == std::string_view::npos);
    FUZZ_CHECK(std::string(file.folder()) + std::string(file.name()) == file.path);
    FUZZ_CHECK(file.folder().empty() || file.folder().back() == '\\');
}

// What the scanner writes comes back as it was written.
void checkWrittenFileLine(std::string_view path, std::uint64_t size) {
    const auto slash = path.rfind('\\');
    const std::string_view parent =
        slash == std::string_view::npos ? "" : path.substr(0, slash + 1);
    const std::string_view name = path.substr(parent.size());
    std::string out;
    appendFileLine(out, parent, name, size);
    FUZZ_CHECK(out.size() >= LineEnd.size() && out.ends_with(LineEnd));
    out.resize(out.size() - LineEnd.size());
    FUZZ_CHECK(indexLineKind(out) == IndexLineKind::File);
    const auto file = parseFileLine(out);
    FUZZ_CHECK(file && file->path == path && file->sizeText == formatSize(size) &&
               file->ticks == 0 && !file->mirror);
}

void checkSize(std::uint64_t value) {
    const std::string token = formatSize(value);
    const auto back = parseSize(token);
    if (value <= static_cast<std::uint64_t>(INT64_MAX)) {
        FUZZ_CHECK(back && static_cast<std::uint64_t>(*back) == value);
    } else {
        FUZZ_CHECK(!back);  // beyond 64 signed bits
    }
}

}  // namespace

int fuzzOne(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::asText(data, size);
    bool first = true;
    for (std::string_view line : fuzz::cut(input, LineEnd, 64)) {
        const IndexLineKind kind = indexLineKind(line);
        const auto folder = parseFolderLine(line);
        const auto file = parseFileLine(line);
        FUZZ_CHECK(folder.has_value() == (kind == IndexLineKind::Folder));
        FUZZ_CHECK(file.has_value() == (kind == IndexLineKind::File));
        if (folder) checkFolderLine(line, *folder);
        if (file) checkFileLine(line, *file);

        if (first) {
            const std::string base = HardDiscBase(line);
            FUZZ_CHECK(isPrefix(base, line));
            FUZZ_CHECK(base.empty() || base.back() == '\\');
            if (file) FUZZ_CHECK(isPrefix(base, file->path));  // a mirror never counts
            FUZZ_CHECK(isPrefix(indexDriveLetter(line), line));
            first = false;
        }

        const std::uint64_t n = fuzz::numberFrom(line);
        checkSize(n);
        checkSize(n >> (n & 63));
        // Sizes from 2^63 on are written but not read back (no file is that large).
        if (!line.empty() && line.find('|') == std::string_view::npos) {
            checkWrittenFileLine(line, (n >> (n & 63)) & INT64_MAX);
        }
    }
    return 0;
}
