#include "catalogue/folder_walk.h"

#include <cerrno>
#include <memory>
#include <unordered_set>

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

std::string ScannedFolderList::printedName(std::string_view actualName,
                                           std::string_view scannedFolderName) const {
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

using platform::files::FolderId;
using platform::files::FolderIdHash;
using platform::files::WalkEntry;
using platform::files::WalkFolder;

constexpr std::size_t SinkChunk = 1 << 20;
constexpr std::int64_t CaptionEvery = 50;
const std::string FolderWord = "文件夹：";

// Thrown to end the walk once it has failed (the result says why).
struct WalkFailed {};

class Walker {
  public:
    Walker(const WalkRequest& request, ScannedFolderList& scanned, WalkCounts& counts,
           const IndexSink& sink, const CaptionSink& caption, WalkResult& result)
        : request_(request),
          scanned_(scanned),
          counts_(counts),
          sink_(sink),
          caption_(caption),
          result_(result) {}

    // Walks request.path (ending in "\"), one folder after another from a
    // stack, so that no depth is too deep.
    void walk() {
        auto root = std::make_unique<Frame>(request_.path);
        if (!opened(root->folder, root->folder.id())) return;
        taken_.insert(root->folder.id());
        path_ = request_.path;
        enter(std::move(root));
        while (!stack_.empty()) {
            Frame& top = *stack_.back();
            if (top.next == top.runs.size()) {
                stack_.pop_back();
                continue;
            }
            const WalkEntry& sub = top.runs[top.next++];
            path_.resize(top.pathLength);
            path_ += sub.name;
            path_ += '\\';
            auto child = std::make_unique<Frame>(top.folder, sub);
            if (opened(child->folder, sub.folder)) enter(std::move(child));
        }
        path_ = request_.path;
        flush();
    }

    std::int64_t total() const { return total_; }

  private:
    // A folder on the stack: its subfolders whose runs follow, in order.
    struct Frame {
        explicit Frame(std::string_view windowsFolder) : folder(windowsFolder) {}
        Frame(const WalkFolder& parent, const WalkEntry& sub) : folder(parent, sub) {}
        WalkFolder folder;
        std::size_t pathLength = 0;  // of its Windows path in path_
        std::vector<WalkEntry> runs;
        std::size_t next = 0;
    };

    // False when the folder cannot be walked: it cannot be opened (counted
    // as left out unless it has vanished), or it is no longer the folder that
    // was listed (replaced meanwhile: left out).
    bool opened(const WalkFolder& folder, const FolderId& listed) {
        if (folder.isOpen() && folder.id() == listed) return true;
        if (folder.openError() != ENOENT) ++result_.skippedNames;
        return false;
    }

    // Reads the folder on top of the stack (path_ is its Windows path) and
    // writes its lines.
    void enter(std::unique_ptr<Frame> frame) {
        Frame& f = *frame;
        f.pathLength = path_.size();
        stack_.push_back(std::move(frame));
        std::vector<WalkEntry> entries;
        try {
            entries = f.folder.read(request_.pattern, result_.skippedNames,
                                    [this](const FolderId& id) { return taken_.contains(id); });
        } catch (const platform::Error& e) {
            fail(e);
        }
        // Past the limit of folders kept open, a folder's handle is closed
        // once it is read (its subfolders are still reached: see WalkFolder).
        if (stack_.size() > openLimit_) f.folder.closeHandle();

        // Each folder is walked once in a scan. The subfolders proper take
        // theirs first (one met again, through a mount, keeps its line but has
        // no run); then each link, in order, to a folder not taken yet.
        std::vector<bool> runs(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].isFolder && !entries[i].throughLink)
                runs[i] = taken_.insert(entries[i].folder).second;
        }

        // First pass: a folder line per subfolder. The step counter counts
        // every entry of the listing, "." and ".." too where a folder has them.
        std::int64_t step = f.folder.isDriveRoot() ? 0 : 2;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            WalkEntry& e = entries[i];
            if (e.isFolder && e.throughLink) runs[i] = taken_.insert(e.folder).second;
            if (e.isFolder && (runs[i] || !e.throughLink)) {
                const std::string printed =
                    scanned_.printedName(e.name, request_.scannedFolderName);
                scanned_.add(printed);
                appendFolderLine(buffer_, path_, printed);
                ++counts_.dirCount;
                show(std::string());
                if (runs[i]) f.runs.push_back(std::move(e));
            }
            if (++step % CaptionEvery == 0) show(std::to_string(step));
        }

        // Second pass: a file line per matching file.
        std::int64_t fileLines = 0;
        for (const WalkEntry& e : entries) {
            if (!e.matches) continue;
            appendFileLine(buffer_, path_, e.name, e.size);
            ++counts_.fileCount;
            total_ += static_cast<std::int64_t>(e.size);
            if (++fileLines % CaptionEvery == 0) show(std::to_string(counts_.fileCount));
        }
        if (buffer_.size() >= SinkChunk) flush();
    }

    void flush() {
        if (buffer_.empty()) return;
        try {
            sink_(buffer_);
        } catch (const platform::Error& e) {
            fail(e);
        }
        buffer_.clear();
    }

    [[noreturn]] void fail(const platform::Error& e) {
        result_.ok = false;
        result_.errorNumber = e.number();
        result_.errorText = e.description();
        result_.errorPath = path_;
        throw WalkFailed{};
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
    const std::size_t openLimit_ = platform::files::walkOpenFolderLimit();
    std::vector<std::unique_ptr<Frame>> stack_;
    // The folders taken in: walked, or to be walked. All lie inside the
    // scanned folder, which is among them.
    std::unordered_set<FolderId, FolderIdHash> taken_;
    std::string path_;  // the Windows path of the folder being read
    std::string buffer_;
    std::int64_t total_ = 0;
};

}  // namespace

WalkResult walkFolder(WalkRequest& request, ScannedFolderList& scanned, WalkCounts& counts,
                      const IndexSink& sink, const CaptionSink& caption) {
    WalkResult result;
    if (request.path.empty() || request.path.back() != '\\') request.path += '\\';

    // A drive that is unknown or holds no disc, and a folder that cannot be
    // found, give an empty listing as the system's search does.
    Walker walker(request, scanned, counts, sink, caption, result);
    try {
        walker.walk();
        result.total = walker.total();
    } catch (const WalkFailed&) {
        result.total = 0;
    }
    return result;
}

}  // namespace catalogue
