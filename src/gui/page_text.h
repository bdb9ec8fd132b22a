// How the browser view shows a local document: which files are shown as
// HTML, which as pictures and which as plain text, and where a page's links
// lead. The text of pages and text files is read by the program's one
// document decoder (platform/text/document_text.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gui {

// True for the file types shown as HTML (htm, html, shtml, asp, asa, php,
// jsp), by the path's extension without regard to case.
bool isHtmlPath(std::string_view path);

// The address a link of a local page leads to, for the browser model: an
// address with a scheme ("http://...", "mailto:...") as it is; a relative or
// rooted link ("b.htm", "../img/c.htm", "/d.htm", percent escapes decoded)
// as "file:\\" and the Windows path it names from the page's folder
// (pagePath is the page's Windows path). "" for a link within the page
// ("#part") or an empty one.
std::string linkTarget(std::string_view pagePath, std::string_view href);

// How the browser shows a document, by the extension of its path: as a page
// (isHtmlPath), as a picture (gif, jpg, jpeg, png, bmp, ico), as plain text
// that the program decodes (txt, log, ini, inf, nfo, diz, css, xml, xsl, bat,
// js, csv, c, h, cpp, me, 1st, the help sitemaps hhc and hhk, and no
// extension), or as a one-line note naming the file (doc, ppt and every other
// type: documents the browser cannot show; platform::text::notePage).
enum class DocumentKind { Page, Picture, Note, Text };
DocumentKind documentKind(std::string_view path);

// True when a script of the local page at pagePath may read the file at
// path (both Windows paths): a help sitemap (hhc, hhk) in the page's own
// folder, from which the contents page of generated web pages builds its
// folder tree. A script reads nothing else.
bool scriptMayRead(std::string_view pagePath, std::string_view path);

// The MIME type of a picture file by its extension ("image/gif", ...).
std::string pictureMime(std::string_view path);

// The MIME type a text document is sent with (UTF-8): style sheets and
// scripts as what they are, so that a page in standards mode applies its
// style sheet; every other text as plain text.
std::string textMime(std::string_view path);

// A folder's listing as a page (UTF-8 HTML): the folder's Windows path as
// its title, then one link per entry, folders first and marked with "\".
struct ListedEntry {
    std::string name;  // the Windows name
    bool folder = false;
};
std::string folderListingPage(std::string_view windowsFolder,
                              const std::vector<ListedEntry>& entries);

// The page shown for a document that is not there (a link to a file that was
// never made, a file removed meanwhile): "找不到文件：" and its Windows path.
inline constexpr std::string_view MissingFileText = "找不到文件：";
std::string missingFilePage(std::string_view windowsPath);

}  // namespace gui
