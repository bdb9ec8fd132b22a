#include "catalogue/folder_walk.h"

#include <algorithm>

#include "catalogue/index_line.h"
#include "platform/error.h"
#include "platform/files/listing.h"

namespace catalogue {

// ---- ScannedFolderList ----

bool ScannedFolderList::taken(std::string_view stem, std::size_t count) const {
    const auto it = stems_.find(stem);
    return it != stems_.end() && count < it->second.taken.size() && it->second.taken[count];
}

bool ScannedFolderList::contains(std::string_view printedName) const {
    const std::size_t n = folderKeySuffixLength(printedName);
    return taken(printedName.substr(0, printedName.size() - n), n);
}

std::string ScannedFolderList::printedName(std::string_view actualName, std::string_view scannedFolderName) const {
    const std::size_t own = folderKeySuffixLength(actualName);
    const std::string_view stem = actualName.substr(0, actualName.size() - own);
    std::size_t count = own;
    if (taken(stem, count) || actualName == scannedFolderName) ++count;
    const auto it = stems_.find(stem);
    if (it != stems_.end()) {
        const Counts& c = it->second;
        // Every count below lowestFree is taken, so the search can start there.
        if (count <= c.lowestFree && taken(stem, count)) count = c.lowestFree;
        while (count < c.taken.size() && c.taken[count]) ++count;
    }
    std::string printed(stem);
    printed.append(count, FolderKeyChar);
    return printed;
}

void ScannedFolderList::add(std::string_view printedName) {
    const std::size_t n = folderKeySuffixLength(printedName);
    const std::string_view stem = printedName.substr(0, printedName.size() - n);
    auto it = stems_.find(stem);
    if (it == stems_.end()) it = stems_.emplace(std::string(stem), Counts{}).first;
    Counts& c = it->second;
    if (c.taken.size() <= n) c.taken.resize(n + 1, false);
    c.taken[n] = true;
    while (c.lowestFree < c.taken.size() && c.taken[c.lowestFree]) ++c.lowestFree;
}

// ---- the walk ----

namespace {

using platform::files::WalkEntry;
using platform::files::WalkFolder;

constexpr std::size_t SinkChunk = 1 << 20;
constexpr std::int64_t CaptionEvery = 50;
const std::string FolderWord = "文件夹：";

struct FolderId {
    std::uint64_t device;
    std::uint64_t inode;
    bool operator==(const FolderId&) const = default;
};

// Folders kept open at once while their subfolders are walked; deeper
// folders are opened by their full paths.
constexpr std::size_t MaxOpenFolders = 256;

// Thrown to end the walk once it has failed (the result says why).
struct WalkFailed {};

class Walker {
public:
    Walker(const WalkRequest& request, ScannedFolderList& scanned, WalkCounts& counts, const IndexSink& sink,
           const CaptionSink& caption, WalkResult& result)
        : request_(request), scanned_(scanned), counts_(counts), sink_(sink), caption_(caption), result_(result) {}

    // Walks folder, whose Windows path is path (ending in "\").
    std::int64_t walk(const std::string& path, WalkFolder& folder) {
        // A folder that cannot be opened, or is already on the current path
        // (a loop through a mount), gives no lines.
        if (!folder.isOpen() || onPath({folder.device(), folder.inode()})) return 0;
        std::vector<WalkEntry> entries;
        try {
            entries = folder.read(request_.pattern, result_.skippedNames);
        } catch (const platform::Error& e) {
            fail(e, path);
        }
        ancestors_.push_back({folder.device(), folder.inode()});
        if (ancestors_.size() >= MaxOpenFolders) folder.close();

        // First pass: a folder line per subfolder. The step counter counts
        // every entry of the listing, "." and ".." too where a folder has them.
        std::vector<std::string> subfolders;
        std::int64_t step = folder.isDriveRoot() ? 0 : 2;
        for (WalkEntry& e : entries) {
            if (e.isFolder) {
                // A link back into a folder on the current path is left out.
                if (e.throughLink && onPath({e.device, e.inode})) continue;
                const std::string printed = scanned_.printedName(e.name, request_.scannedFolderName);
                scanned_.add(printed);
                appendFolderLine(buffer_, path, printed);
                ++counts_.dirCount;
                show(std::string());
                subfolders.push_back(std::move(e.name));
            }
            if (++step % CaptionEvery == 0) show(std::to_string(step));
        }

        // Second pass: a file line per matching file.
        std::int64_t total = 0;
        std::int64_t fileLines = 0;
        for (const WalkEntry& e : entries) {
            if (!e.matches) continue;
            appendFileLine(buffer_, path, e.name, e.size);
            ++counts_.fileCount;
            total += static_cast<std::int64_t>(e.size);
            if (++fileLines % CaptionEvery == 0) show(std::to_string(counts_.fileCount));
        }
        entries = {};
        if (buffer_.size() >= SinkChunk) flush(path);

        // Then each subfolder's run, in list order.
        for (const std::string& sub : subfolders) {
            WalkFolder child(folder, sub);
            total += walk(path + sub + "\\", child);
        }
        ancestors_.pop_back();
        return total;
    }

    void flush(const std::string& path) {
        if (buffer_.empty()) return;
        try {
            sink_(buffer_);
        } catch (const platform::Error& e) {
            fail(e, path);
        }
        buffer_.clear();
    }

private:
    [[noreturn]] void fail(const platform::Error& e, const std::string& path) {
        result_.ok = false;
        result_.errorNumber = e.number();
        result_.errorText = e.description();
        result_.errorPath = path;
        throw WalkFailed{};
    }

    bool onPath(const FolderId& id) const {
        return std::find(ancestors_.begin(), ancestors_.end(), id) != ancestors_.end();
    }

    void show(const std::string& tail) {
        if (caption_) caption_(std::to_string(counts_.dirCount) + FolderWord + tail);
    }

    const WalkRequest& request_;
    ScannedFolderList& scanned_;
    WalkCounts& counts_;
    const IndexSink& sink_;
    const CaptionSink& caption_;
    WalkResult& result_;
    std::vector<FolderId> ancestors_;
    std::string buffer_;
};

}  // namespace

WalkResult walkFolder(WalkRequest& request, ScannedFolderList& scanned, WalkCounts& counts, const IndexSink& sink,
                      const CaptionSink& caption) {
    WalkResult result;
    if (request.path.empty() || request.path.back() != '\\') request.path += '\\';

    // A drive that is unknown or holds no disc, and a folder that cannot be
    // found, give an empty listing as the system's search does.
    WalkFolder root(request.path);
    Walker walker(request, scanned, counts, sink, caption, result);
    try {
        result.total = walker.walk(request.path, root);
        walker.flush(request.path);
    } catch (const WalkFailed&) {
        result.total = 0;
    }
    return result;
}

std::string stripNulls(std::string& originalStr) {
    const auto nul = originalStr.find('\0');
    if (nul != std::string::npos) originalStr.erase(nul);
    return originalStr;
}

}  // namespace catalogue
