#include "preview/preview_text.h"

#include "catalogue/name_lookup.h"
#include "discpage/note_file.h"
#include "platform/text/text.h"

namespace preview {

namespace text = platform::text;

namespace {

constexpr std::size_t OpeningLength = 30;
constexpr std::size_t NameLength = 100;
constexpr std::size_t NameBytes = 255;
constexpr std::string_view OpenTitle = "<title>";
constexpr std::string_view CloseTitle = "</title>";

}  // namespace

RemarkSource remarkSourceOf(std::string_view type) {
    const std::string t = text::lcase(type);
    if (t == "htm" || t == "html") return RemarkSource::Title;
    if (t == "txt" || t == "log" || t == "asp" || t == "ini" || t == "css" || t == "doc")
        return RemarkSource::Opening;
    return RemarkSource::None;
}

std::string pageTitle(std::string_view page) {
    // ASCII letters only change case, so positions stay those of the page.
    const std::string lower = text::lcase(page);
    const std::size_t a = lower.find(OpenTitle);
    const std::size_t b = lower.find(CloseTitle);
    if (a == std::string::npos || b == std::string::npos || b < a + OpenTitle.size()) return {};
    return std::string(page.substr(a + OpenTitle.size(), b - a - OpenTitle.size()));
}

std::optional<std::string> textOpening(std::string_view t) {
    const std::string joined = discpage::withoutLineBreaks(t);
    if (joined.empty()) return std::nullopt;
    return text::left(text::trim(joined), OpeningLength);
}

std::string remarkOfSelection(std::string_view selection) {
    return text::trim(discpage::withoutLineBreaks(selection));
}

std::string nameOfSelection(std::string_view selection, std::size_t extensionBytes) {
    // Through code page 936 and back: what it cannot write comes back as "?".
    std::string name;
    const std::string valid = text::isValidUtf8(selection) ? std::string(selection) : std::string();
    for (std::size_t i = 1, n = text::len(valid); i <= n; ++i) {
        const std::string c = text::mid(valid, i, 1);
        const std::string encoded = text::toCp936(c);
        name += text::fromCp936(encoded) == c ? c : "?";
    }
    name = text::trim(name);
    std::string cleaned;
    for (char c : name)
        if (std::string_view("/\\*><:?|\r\n").find(c) == std::string_view::npos) cleaned += c;
    cleaned = text::left(cleaned, NameLength);
    while (!cleaned.empty() && cleaned.size() + extensionBytes > NameBytes)
        cleaned = text::left(cleaned, text::len(cleaned) - 1);
    return cleaned;
}

std::string_view extensionOf(std::string_view path) {
    const std::size_t sep = path.find_last_of('\\');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || (sep != std::string_view::npos && dot < sep)) return {};
    return path.substr(dot);
}

std::string renamedPath(std::string_view oldPath, std::string_view name) {
    const std::size_t sep = oldPath.find_last_of('\\');
    const std::string_view folder =
        sep == std::string_view::npos ? std::string_view() : oldPath.substr(0, sep + 1);
    return std::string(folder) + std::string(name) + std::string(extensionOf(oldPath));
}

RenamedIndex renameFileLine(std::string_view indexText, std::string_view oldPath,
                            std::string_view newPath) {
    const catalogue::ChosenFileLine found =
        catalogue::chooseFileLine(indexText, {std::string(oldPath), {}});
    RenamedIndex out{found.match, {}};
    if (!found) return out;
    out.text = indexText.substr(0, found.begin);
    out.text += newPath;
    out.text += indexText.substr(found.begin + found.line.path.size());
    return out;
}

}  // namespace preview
