#include "discpage/folder_tree.h"

#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "catalogue/index_line.h"
#include "discpage/file_listing.h"
#include "discpage/folder_runs.h"
#include "platform/controls/key_index.h"
#include "platform/files/text_file.h"
#include "platform/text/text.h"

namespace discpage {

namespace {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// The last component of a folder path ending in "\": "E:" of "E:\",
// "photos" of "D:\work\photos\".
std::string_view lastComponent(std::string_view path) {
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    const auto p = path.rfind('\\');
    return p == std::string_view::npos ? path : path.substr(p + 1);
}

class KeyPlanner {
  public:
    // The node key of a name: the noStr prefix before a digit or before an
    // all-numeric name ("-1"), then as many more "@"s as make it unused.
    std::string take(std::string_view name) {
        std::string key = addNoStrPrefix(name);
        if (platform::isNumericKey(key)) key.insert(0, NoStrPrefix);
        while (!taken_.insert(key).second) key += catalogue::FolderKeyChar;
        return key;
    }

  private:
    std::unordered_set<std::string> taken_;
};

}  // namespace

DiscFolderTree planDiscFolderTree(platform::files::RawLineReader& lines, FolderRuns* runs) {
    DiscFolderTree tree;
    KeyPlanner keys;
    // A folder's own path (parent, shown name, "\") -> its node's position.
    std::unordered_map<std::string, std::size_t> nodeOfPath;
    auto addRoot = [&](std::string_view name) {
        tree.nodes.push_back({FolderNodePlan::DiscNode, keys.take(name), std::string(name)});
    };

    std::string_view raw;
    bool first = true;
    while (lines.next(raw)) {
        if (runs) runs->add(raw, lines.lineOffset());
        const std::string_view bytes = trimBlanks(raw);
        if (first) tree.firstLine = platform::text::fromCp936(bytes);
        // Only lines holding the byte "|" can be folder lines; the byte can
        // also be a trail byte, so the decoded line decides.
        const bool maybeFolder = std::memchr(bytes.data(), '|', bytes.size()) != nullptr;
        if (!maybeFolder) {
            first = false;
            continue;
        }
        const std::string line = first ? tree.firstLine : platform::text::fromCp936(bytes);
        first = false;
        const auto folder = catalogue::parseFolderLine(line);
        if (!folder) continue;
        ++tree.folderCount;
        if (tree.nodes.empty()) {
            addRoot(lastComponent(folder->parent));
            nodeOfPath.emplace(folder->parent, 0);
            tree.driveLetterKnown = true;
            tree.driveLetter = platform::text::left(line, 1);
        }
        const auto parent = nodeOfPath.find(folder->parent);
        if (parent == nodeOfPath.end() || folder->key.empty()) continue;
        const std::size_t parentNode = parent->second;
        const std::string_view name = folder->shownName();
        tree.nodes.push_back({parentNode, keys.take(folder->key), std::string(name)});
        nodeOfPath.emplace(folder->path() + '\\', tree.nodes.size() - 1);
    }

    if (tree.nodes.empty()) {
        // No folder lines: the scan root from the first line.
        const auto file = catalogue::parseFileLine(tree.firstLine);
        const std::string_view folder = file ? file->folder() : std::string_view();
        if (file && folder.find('\\') != folder.rfind('\\')) {
            // A hard-disk folder without subfolders: the folder of its first file.
            addRoot(lastComponent(folder));
        } else {
            tree.driveLetterKnown = true;
            tree.driveLetter = platform::text::left(tree.firstLine, 1);
            addRoot(tree.driveLetter + ":");
        }
    }
    return tree;
}

}  // namespace discpage
