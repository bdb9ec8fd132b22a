// The help sitemap files of a disc's pages: the contents file
// "zelbrinleft1.hhc", which nests the disc's folders as its folder tree
// does, and the index file "zelbrinleft1.hhk", one flat list of the same
// folders; each entry points at the page of its folder. A Name value is the
// folder's name HTML-escaped; a Local value is its path below the scan root,
// each name percent-encoded (UTF-8) as the pages' own links are and "\" kept,
// so every entry opens its page whatever the names hold.
#pragma once

#include <string>
#include <string_view>

namespace webpages {

inline constexpr std::string_view SitemapContentsName = "zelbrinleft1.hhc";
inline constexpr std::string_view SitemapIndexName = "zelbrinleft1.hhk";
// The folder of the installed support files, below the program folder, and
// the folder of the shared pictures below the page tree.
inline constexpr std::string_view SupportFilesFolder = "webmodel\\treeviewimage";
inline constexpr std::string_view SharedImageFolder = "image";
// The support files: the first five go to the shared picture folder, the
// last three into the disc's page folder.
inline constexpr std::string_view SupportFiles[] = {
    "cont.gif", "nocont.gif",          "index.gif",          "noindex.gif",
    "i386.cab", "zelbrindefault.html", "zelbrinindex1.html", "zelbrinindex2.html"};
inline constexpr std::size_t SharedSupportFiles = 5;

inline constexpr std::string_view ChooseDiscNode = "请选择光盘节点!";

// The opening lines (each ended by CR LF) and the last line.
std::string contentsHead(std::string_view disc);
inline constexpr std::string_view ContentsEnd = "</UL></HTML>";
std::string indexHead();
inline constexpr std::string_view IndexEnd = "</UL></HEAD></HTML>";
inline constexpr std::string_view ListEnd = "</UL>";

// The Local value of a folder: its path below the scan root (from the
// node's full path in the disc list), each name percent-encoded, and its page.
std::string sitemapLocal(std::string_view disc, std::string_view fullPath);

// The entry lines (without line break): a contents entry, opening its
// parent's sublist when it is the first child, and an index entry. The name
// is HTML-escaped here; the local value goes in as sitemapLocal made it.
std::string contentsEntry(std::string_view name, std::string_view local, bool firstChild);
std::string indexEntry(std::string_view name, std::string_view local);

}  // namespace webpages
