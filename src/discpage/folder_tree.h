// The folder tree of an opened disc, planned from its index file in one pass:
// the scan root node under the disc node, then one node per folder line,
// each under its parent folder's node.
//
// A folder's parent is found by its path (the folder line's text before
// "|", compared exactly with the parent's own path: its parent path, its name
// without the key suffix and "\"), so two folders of the same name in
// different places, or a folder named like its neighbour with key suffixes
// ("docs" beside "docsold@"), each get their own children. Only lines holding
// the byte "|" are decoded, besides the first line.
//
// Node keys are the folder key of the line (the name with its "@" suffix,
// with the noStr prefix when it begins with a digit); node texts the name
// without its trailing "@"s, so a real "@" inside a name ("me@home") stays.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

namespace platform::files {
class RawLineReader;
}

namespace discpage {

class FolderRuns;

struct FolderNodePlan {
    static constexpr std::size_t DiscNode = std::numeric_limits<std::size_t>::max();
    // The position in the plan of the parent's node; DiscNode for the scan
    // root node, which goes under the clicked disc node.
    std::size_t parent = DiscNode;
    // Unique within the plan and never all-numeric: a key taken already (an
    // index written elsewhere can repeat one) is made unique by more "@"s.
    std::string key;
    std::string text;
};

struct DiscFolderTree {
    // nodes[0] is the scan root node; parents stand before their children.
    std::vector<FolderNodePlan> nodes;
    // The index's first line ("" for an empty file).
    std::string firstLine;
    // The scan drive letter when the index tells it (the first character of
    // the first folder line, or of a first file line lying in the scan root);
    // unset: the open disc's drive letter is left as it was.
    bool driveLetterKnown = false;
    std::string driveLetter;
    // The number of folder lines read.
    int folderCount = 0;
};

// Reads the whole index. Folder lines whose parent has no node (a damaged
// or hand-edited index) are left out, with everything below them. The scan
// root node is made also for an index without folder lines: the folder that
// holds the first file when that lies below a drive root (a hard-disk folder
// without subfolders), else the first line's first character and ":" (":"
// for an empty index). With runs, every line read is also added to that
// record (folder_runs.h), which the caller then finishes.
DiscFolderTree planDiscFolderTree(platform::files::RawLineReader& lines,
                                  FolderRuns* runs = nullptr);

}  // namespace discpage
