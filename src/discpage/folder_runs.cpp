#include "discpage/folder_runs.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/text/text.h"

namespace discpage {

namespace {

// FNV-1a over the bytes; folded, with ASCII letters in lower case, as
// text::startsWithIgnoringCase compares them.
constexpr std::uint64_t HashBasis = 0xcbf29ce484222325ULL;
constexpr std::uint64_t HashPrime = 0x100000001b3ULL;

std::uint64_t hashStep(std::uint64_t hash, char c) {
    return (hash ^ static_cast<unsigned char>(c)) * HashPrime;
}

std::uint64_t foldedHashStep(std::uint64_t hash, char c) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    return hashStep(hash, c);
}

// The first line of each hash in front, the others dropped.
void keepFirstOfEachHash(auto& starts) {
    std::sort(starts.begin(), starts.end(), [](const auto& a, const auto& b) {
        return a.hash != b.hash ? a.hash < b.hash : a.offset < b.offset;
    });
    starts.erase(std::unique(starts.begin(), starts.end(),
                             [](const auto& a, const auto& b) { return a.hash == b.hash; }),
                 starts.end());
    starts.shrink_to_fit();
}

std::optional<std::uint64_t> offsetOf(const auto& starts, std::uint64_t hash) {
    const auto it = std::lower_bound(starts.begin(), starts.end(), hash,
                                     [](const auto& s, std::uint64_t h) { return s.hash < h; });
    if (it == starts.end() || it->hash != hash) return std::nullopt;
    return it->offset;
}

std::string_view withoutBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::size_t commonLength(std::string_view a, std::string_view b) {
    const auto [end, unused] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return static_cast<std::size_t>(end - a.begin());
}

}  // namespace

FolderRuns::FolderRuns(std::string path, const platform::files::FileStamp& stamp)
    : path_(std::move(path)), stamp_(stamp) {}

void FolderRuns::addOther(std::string_view raw, std::uint64_t offset) {
    // The listing compares lines without their blanks; a prefix ending in
    // "\" never reaches the blanks at a line's end.
    const std::string_view bytes = withoutBlanks(raw);
    if (lineCount_++ == 0) firstLine_ = platform::text::fromCp936(bytes);

    // A line of the folder of the line before after all (led by blanks).
    const std::size_t known = lastFolder_.size();
    if (bytes.size() >= known && std::memcmp(bytes.data(), lastFolder_.data(), known) == 0 &&
        (bytes.size() == known || !std::memchr(bytes.data() + known, '\\', bytes.size() - known)))
        return;

    const std::size_t slash = bytes.rfind('\\');
    const std::string_view folder =
        bytes.substr(0, slash == std::string_view::npos ? 0 : slash + 1);

    // The texts up to a "\" that the line shares with the one before began
    // there or earlier; the others begin here, unless an earlier run of
    // lines began so too (the look-up takes the first).
    const std::size_t common = commonLength(folder, lastFolder_);
    while (!lastSlashes_.empty() && lastSlashes_.back().position >= common) lastSlashes_.pop_back();
    std::size_t at = 0;
    std::uint64_t hash = HashBasis;
    std::uint64_t folded = HashBasis;
    if (!lastSlashes_.empty()) {
        at = lastSlashes_.back().position + 1;
        hash = lastSlashes_.back().hash;
        folded = lastSlashes_.back().foldedHash;
    }
    for (; at < folder.size(); ++at) {
        hash = hashStep(hash, folder[at]);
        folded = foldedHashStep(folded, folder[at]);
        if (folder[at] != '\\') continue;
        lastSlashes_.push_back({at, hash, folded});
        starts_.push_back({hash, offset});
        foldedStarts_.push_back({folded, offset});
    }
    lastFolder_.assign(folder);
}

void FolderRuns::finish() {
    lastFolder_ = std::string();
    lastSlashes_ = std::vector<Slash>();
}

void FolderRuns::sort() const {
    if (sorted_) return;
    keepFirstOfEachHash(starts_);
    keepFirstOfEachHash(foldedStarts_);
    sorted_ = true;
}

std::optional<std::uint64_t> FolderRuns::firstLineBeginning(std::string_view prefixBytes) const {
    sort();
    std::uint64_t hash = HashBasis;
    for (char c : prefixBytes) hash = hashStep(hash, c);
    return offsetOf(starts_, hash);
}

std::optional<std::uint64_t> FolderRuns::firstLineBeginningIgnoringCase(
    std::string_view prefixBytes) const {
    sort();
    std::uint64_t hash = HashBasis;
    for (char c : prefixBytes) hash = foldedHashStep(hash, c);
    return offsetOf(foldedStarts_, hash);
}

FolderRuns recordFolderRuns(platform::files::RawLineReader& lines, std::string path) {
    FolderRuns runs(std::move(path), lines.stamp());
    std::string_view raw;
    while (lines.next(raw)) runs.add(raw, lines.lineOffset());
    runs.finish();
    return runs;
}

std::optional<std::vector<ListedEntry>> listFolderRun(platform::files::RawLineReader& lines,
                                                      const FolderRuns& runs,
                                                      const ListingScope& scope) {
    if (lines.stamp() != runs.stamp()) return std::nullopt;
    // An empty file lists nothing.
    if (runs.lineCount() == 0) return std::vector<ListedEntry>();
    FolderListing listing(runs.firstLine(), scope);
    const std::optional<std::uint64_t> at = runs.firstLineBeginning(listing.prefixBytes());
    if (!at) {
        // No line begins with the folder's path in any letter case.
        if (!runs.firstLineBeginningIgnoringCase(listing.prefixBytes()))
            return std::vector<ListedEntry>();
        // Only in another: the reading from the start chooses.
        lines.seek(0);
        return listFolder(lines, scope);
    }

    // The line must begin at that offset (the byte before it ends a line
    // alone) and with the prefix.
    std::string_view raw;
    if (*at > 0) {
        lines.seek(*at - 1);
        if (!lines.next(raw) || !raw.empty()) return std::nullopt;
    } else {
        lines.seek(0);
    }
    if (!lines.next(raw) || lines.lineOffset() != *at ||
        !withoutBlanks(raw).starts_with(listing.prefixBytes()))
        return std::nullopt;
    while (listing.take(raw) && lines.next(raw)) {
    }
    return std::move(listing).entries();
}

}  // namespace discpage
