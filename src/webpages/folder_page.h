// The text of a folder's page "ZelbrinIndex.html": the lines of its entries
// in the list, table and template layouts, from the page template.
//
// Names are file and folder names read from an index file: in the page's
// text they are HTML-escaped, in its links percent-encoded, so that any name
// shows as it is and its link opens it. Remarks are written as the user
// typed them (they may hold markup on purpose).
#pragma once

#include <string>
#include <string_view>

#include "platform/files/confined.h"

namespace webpages {

// The page of each folder, and the folder of the generated pages below the
// program folder.
inline constexpr std::string_view FolderPageName = "ZelbrinIndex.html";
inline constexpr std::string_view PageTreeFolder = "webhtml";

// The tokens of part B and the folder-name token of part A.
inline constexpr std::string_view FolderNameToken = "文件夹名字";
inline constexpr std::string_view NameToken = "Zelbrin文件名";
inline constexpr std::string_view SizeToken = "Zelbrin文件大小";
inline constexpr std::string_view RemarkToken = "Zelbrin文件备注";
inline constexpr std::string_view RowNumberToken = "Zelbrin加计数";

// The list layout's opening and closing lines.
inline constexpr std::string_view ListOpener = "<tr><td width=\"100%\"><br><UL>";
inline constexpr std::string_view ListCloser = "</ul></td></tr>";

enum class Layout { List, Table, Template };

// What the page shows, read from the template switches and the menu marks.
struct PageOptions {
    Layout layout = Layout::List;
    bool sizes = true;
    bool remarks = false;
    bool plainFileRows = false;  // template layout: file rows without links
    std::string folderColour;
    std::string fileColour;
    std::string partB;
};

// One entry of the file list: a folder (text = its name) or a file (name =
// its file name with the extension).
struct PageEntry {
    bool folder = false;
    std::string name;
    std::string size;
    std::string remark;
    int rowNumber = 0;  // position in the file list, from 1
};

// Part A with its first folder-name token replaced by the folder's name.
std::string pageHead(std::string_view partA, std::string_view folderName);

// Appends the entry's lines, each ended by CR LF, to page.
void appendEntryLines(std::string& page, const PageEntry& entry, const PageOptions& options);

// The folder of the generated pages, "webhtml" below the program folder, as
// the root its changes go through (confined.h), made when missing. Raises as
// ConfinedRoot::open.
platform::files::ConfinedRoot openPageTree(std::string_view programFolder);
// The folder at relative beneath root (a disc's folder beneath the page
// tree), made when missing, as a root of its own: every level is resolved
// beneath root, so a link on the way that leads out raises 75 and nothing is
// made through it.
platform::files::ConfinedRoot openPageFolder(const platform::files::ConfinedRoot& root,
                                             std::string_view relative);

}  // namespace webpages
