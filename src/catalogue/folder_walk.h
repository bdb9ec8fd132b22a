// The folder walk that writes a disc's index file.
//
// For each folder F, in this order: one folder line per subfolder of F, then
// one file line per file of F that matches the pattern, then the whole run of
// each subfolder in turn. Entries come in listing order (upper-cased name,
// then bytes). Names are Windows names (platform::files::windowsNameOf): a
// name stored in code page 936 on disk is written decoded. Folder lines print
// each name with as many "@" as make it new in this run of the program (see
// ScannedFolderList).
//
// Each folder is walked once in a scan, whatever leads to it: the walk keeps
// the identity (device, inode) of every folder it has taken in. The scanned
// folder is taken in first; then, as each folder is read, its subfolders
// proper, then its links to folders in listing order.
// - A subfolder proper always has its folder line; it has a run only when its
//   folder was not taken in before (a folder met again through a mount, or
//   one that a link in a folder read earlier took in, has its line and no
//   run: its contents are under the link's name).
// - A link to a folder inside the scanned folder (the target, or a folder
//   above it, is the scanned folder or a folder taken in) that is not taken
//   in yet has a folder line and a run under the link's name. A link to a
//   folder taken in already has no line: its contents are written once,
//   under the other name.
// - A link to a folder outside the scanned folder is not followed.
// - A link to a file is listed with its target's size.
// Folders are read by open handles (platform::files::WalkFolder), so no
// depth is too deep for the walk, however long the paths grow.
//
// Left out of the index and counted (WalkResult::skippedNames): names that
// have no Windows name (control characters, \ / : * ? " < > |, bytes that are
// neither UTF-8 nor clean code page 936), FIFOs, sockets and devices, dangling
// links, links to folders outside the scanned folder, entries whose attributes
// cannot be read, and folders that cannot be opened (their contents: the
// folder line stays). A folder that vanishes during the walk is not counted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace catalogue {

// The run-long record of the folder names printed in index files. It lives
// from program start to program end and is never cleared, so a second scan
// of the same disc in one run prints "@" after every folder name the first
// scan printed.
class ScannedFolderList {
  public:
    // The name to print for a folder: its actual name, plus one "@" when that
    // name was printed before or equals the scanned folder's own name, plus
    // further "@" as long as the result was printed before.
    std::string printedName(std::string_view actualName, std::string_view scannedFolderName) const;
    // Records a printed name.
    void add(std::string_view printedName);
    bool contains(std::string_view printedName) const;

  private:
    // Printed names grouped by their stem (the name without trailing "@"s):
    // which "@" counts are taken, so the next free count is found at once even
    // after thousands of folders of the same name.
    struct Counts {
        std::vector<bool> taken;
        std::size_t lowestFree = 0;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    bool taken(std::string_view stem, std::size_t count) const;
    std::unordered_map<std::string, Counts, Hash, std::equal_to<>> stems_;
};

// The counts the caller owns; the walk raises them as it writes lines.
struct WalkCounts {
    std::int64_t fileCount = 0;  // file lines written
    std::int64_t dirCount = 0;   // folder lines written
};

struct WalkResult {
    bool ok = true;
    int errorNumber = 0;     // on failure: the error number (61 disk full, 52 bad name, ...)
    std::string errorText;   // and its description
    std::string errorPath;   // the folder being walked
    std::int64_t total = 0;  // sum of the sizes of the files written
    // Entries left out of the index: see the top of this file.
    std::int64_t skippedNames = 0;
};

struct WalkRequest {
    std::string scannedFolderName;  // text after the last "\" of the scanned path ("" for "E:\")
    std::string path;               // the Windows folder to walk ("E:\", "D:\music\pop")
    std::string pattern;            // the file pattern ("*.*", "*.mp3")
};

// Receives the index text (UTF-8, complete lines ended by CR LF) in chunks.
// May throw platform::Error (a write that failed): the walk then stops and
// reports that error.
using IndexSink = std::function<void(std::string_view text)>;
// Shows a progress caption ("37文件夹：", "37文件夹：150").
using CaptionSink = std::function<void(const std::string& caption)>;

// Walks request.path and writes its index lines to sink. The caption shows
// "<dirCount>文件夹：" after each folder line, "<dirCount>文件夹：<step>" every 50
// entries of a folder's listing, and "<dirCount>文件夹：<fileCount>" every 50
// file lines of one folder.
//
// A path that does not end in "\" gets one (in request.path). A folder that
// is missing, cannot be opened or is on a drive without a disc gives no lines
// and no error (one that cannot be opened is counted as left out). Failure is
// reported (ok false) when a write fails or a folder's listing breaks off
// part-way (an I/O error on a damaged disc); the lines given to the sink so
// far are then incomplete.
WalkResult walkFolder(WalkRequest& request, ScannedFolderList& scanned, WalkCounts& counts,
                      const IndexSink& sink, const CaptionSink& caption = {});

}  // namespace catalogue
