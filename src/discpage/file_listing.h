// The listing of one folder of a disc from its index file: the folder's own
// subfolders and files, as the file list shows them. One function serves the
// three listings of the file list (a folder node clicked in the disc list or
// in the category tree, a folder row clicked twice).
//
// A folder's lines are those that begin with the folder's absolute path and
// "\", exactly (FolderSpellings: in another letter case only where no line
// spells the folder exactly and one other spelling stands): for a CD the path in the tree below the
// disc node ("E:\docs", the drive first), for a catalogued hard-disk folder
// (a disc named "…_hard") the parent of the scanned folder taken from the
// index's first line (HardDiscBase) followed by that path ("D:\work\" +
// "photos\2004"). The scan writes a folder's own lines (subfolder lines, then
// file lines) before the lines of its subfolders, so the listing reads from
// the start of the file and stops at the first line of a subfolder's
// contents or at the first line outside the folder after its run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::files {
class RawLineReader;
}

namespace discpage {

// The prefix put before a row key or a folder node key that begins with a
// digit ("2004" -> "noStr2004"), and before one that begins with the prefix
// and a digit ("noStr5.txt[3]" -> "noStrnoStr5.txt[3]"), so that every key
// beginning with "noStr" and a digit carries a prefix that was put there.
inline constexpr std::string_view NoStrPrefix = "noStr";
std::string addNoStrPrefix(std::string_view key);
// Drops the prefix only where addNoStrPrefix put it, so that
// stripNoStrPrefix(addNoStrPrefix(name)) is name for every name.
// "Nostradamus.txt[80]" and "nostril.jpg[7]" stay whole.
std::string stripNoStrPrefix(std::string_view key);

// The type column of a folder row and of a file without extension.
inline constexpr std::string_view FolderType = "文件夹";
inline constexpr std::string_view NoExtensionType = "No扩展名";

// The picture of a file type (lower case) in ImageList1: the type's own
// picture among the 52 file-type pictures, else 7 ("dot"); an extension
// group's picture wins over the type's own (wmf shows asf's 49, mp3 rm's 20,
// jpeg jpg's 17). Only file-type pictures: "folder", "whitedisc", "softw"
// and the toolbar's keys give 7.
int typeIcon(std::string_view lowerType);

// The absolute path that a folder's index lines begin with, "\" included:
// folderPath + "\" for a CD, HardDiscBase(firstLine) + folderPath + "\" for
// a hard-disk folder.
std::string indexFolderPrefix(std::string_view firstLine, std::string_view folderPath,
                              bool hardDisc);

// A node's full path in the disc list taken apart: the disc's name (before
// the first "\") and the folder's path below the disc node ("" for a disc
// node).
struct TreePath {
    std::string disc;
    std::string folderPath;
};
TreePath splitTreePath(std::string_view fullPath);

// A listed row's name in a path: a folder's text; a file's name as its
// index line spells it (rowFile below: "a.TXT" for a row "a" of type "txt"
// whose key is "a.TXT[5]"), which is its text, "." and its type, or its
// text alone when the type is NoExtensionType, for a key that names no file
// of that name. Every path made from a row takes its name from here: the
// type column is lower case for display only.
std::string rowFileName(std::string_view text, std::string_view type, std::string_view key,
                        bool folder);

// The file a listed file row names, spelt as its index line spells it: the
// name and size that the listing put in the row's key, while the key's name
// is the row's text and type with ASCII letter case ignored (the type column
// is lower case, the key keeps "Photo.JPG"); otherwise (a row whose text
// took a new name, a key without name and size) the text and type, with the
// key's size when it has one. sizeText is "" when there is none.
struct RowFile {
    std::string name;
    std::string sizeText;
};
RowFile rowFile(std::string_view text, std::string_view type, std::string_view key);

// A row's name and place as the status bar shows them: a folder's text, a
// file's text, "." and its type as listed (also "No扩展名" and ""), then
// "(" position "/" count ")", such as "a.htm(3/12)" or "img(1/12)".
std::string rowPlaceText(std::string_view text, std::string_view type, bool folder, int position,
                         int count);

// The catalogued folder of a hard-disk disc: base (HardDiscBase of its index)
// and the first name of a folder path below the disc node; a drive letter and
// ":" alone stand for the drive's root ("D:\").
std::string scannedFolder(std::string_view base, std::string_view folderPath);

// Which spelling of a folder's prefix (its absolute path and "\") its lines
// take, by the rule of name_lookup.h: "Docs" and "docs" are two folders. The
// prefix itself when a line begins with it exactly or a folder line names
// the folder exactly ("E:\|Docs" for "E:\Docs\", an empty folder); without
// such a line, the one other spelling that lines begin with or folder lines
// name with ASCII letter case ignored; nothing when there are several.
class FolderSpellings {
  public:
    explicit FolderSpellings(std::string_view prefix);
    // One line as the file holds it, without the blanks at its ends. The
    // spelling of the prefix the line begins with, when it does in any
    // letter case ("" otherwise).
    std::string take(std::string_view bytes);
    // The prefix in the spelling chosen; nothing when there is none.
    std::optional<std::string> chosen() const;
    // A line began with the prefix exactly, or a folder line named it so.
    bool exact() const { return exact_; }

  private:
    std::string prefix_;
    std::string prefixBytes_;
    // The parent's path as the file holds it, followed by "|": where a
    // folder line naming the folder begins ("" for a prefix without parent).
    std::string folderLineBytes_;
    bool exact_ = false;
    std::vector<std::string> others_;
};

struct ListingScope {
    // The folder's path below the disc node, as the tree's full path gives
    // it after the disc's name: "E:", "E:\docs", "photos\2004".
    std::string folderPath;
    // The disc is a catalogued hard-disk folder (its name ends in "_hard").
    bool hardDisc = false;
    // Disc list: keys keep the tick marks, rows show ticks and the mirror
    // colour. Category tree: keys hold no marks; nothing ticked or coloured.
    bool withTicks = true;
};

// One row of the file list.
struct ListedEntry {
    bool folder = false;
    // The row key: a file's name, "[", size, "]" and (with ticks) its marks;
    // a folder's name; either with the noStr prefix.
    std::string key;
    // A file's name without its last extension (whole when it has none), a
    // folder's name without its key suffix.
    std::string text;
    // The type column: lower-case extension, FolderType or NoExtensionType.
    std::string type;
    // The size column (sizeText), "" for a folder.
    std::string size;
    std::uint64_t bytes = 0;
    int icon = 0;
    bool ticked = false;    // an odd number of marks (with ticks only)
    bool mirrored = false;  // ticked, and the line has a mirror suffix
};

// The folder's entries in index order: the first line gives HardDiscBase,
// lines before the folder's run are passed over unread (not decoded), and the
// reading stops at the first line of a subfolder's contents (a file below a
// subfolder, or a folder line whose parent lies below the folder) or at the
// first line outside the folder after its run. Lines are taken without the
// blanks at their ends; a line of the run that is neither a folder line nor
// a file line is passed over. Files whose name begins with "." (".profile")
// are left out; folder lines are listed whatever their name. A negative size
// (a file above 2 GB in an old index) is read by adding 2^32.
std::vector<ListedEntry> listFolder(platform::files::RawLineReader& lines,
                                    const ListingScope& scope);

// The same listing fed line by line: the index's first line (decoded) given
// to the constructor, then every line from the start handed to take() until
// it says the folder's run is over. Lines before the first one that begins
// with prefixBytes() change nothing, so the feeding may begin at any line up
// to that one. The lines are those that begin with the prefix exactly, or
// with the one given (a spelling FolderSpellings chose). listFolder reads
// again with the other spelling when a reading from the start met no line of
// the prefix exactly.
class FolderListing {
  public:
    FolderListing(std::string_view firstLine, const ListingScope& scope);
    FolderListing(const ListingScope& scope, std::string prefix);
    // The folder's absolute path and "\" its lines begin with.
    const std::string& prefix() const { return prefix_; }
    // A line of the folder was taken.
    bool seen() const { return seen_; }
    // The folder's absolute path and "\" as the index file holds it.
    const std::string& prefixBytes() const { return prefixBytes_; }
    // Takes the next line's raw bytes; false once the folder's run is over.
    bool take(std::string_view raw);
    std::vector<ListedEntry> entries() && { return std::move(entries_); }

  private:
    ListingScope scope_;
    std::string prefix_;
    std::string prefixBytes_;
    bool seen_ = false;
    std::vector<ListedEntry> entries_;
};

}  // namespace discpage
