// How the browser view reads a local page: the character set a page
// declares (or none: then code page 936, as pages of that time were
// written), and which files are shown as HTML and which as plain text.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace gui {

enum class PageCharset { Cp936, Utf8, Latin1 };

// The character set of a page's bytes: a UTF-8 byte-order mark or a declared
// "charset=utf-8" gives UTF-8; "iso-8859-1" and "windows-1252" Latin-1;
// "gb2312", "gbk", "gb18030", any other declaration and none code page 936.
PageCharset pageCharset(std::string_view bytes);

// The page's text, decoded by its character set (a byte-order mark dropped).
QString decodePage(std::string_view bytes);

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
// js, csv, c, h, cpp, me, 1st and no extension), or as a one-line note naming
// the file (doc, ppt and every other type: documents the browser cannot show).
enum class DocumentKind { Page, Picture, Note, Text };
DocumentKind documentKind(std::string_view path);

// The MIME type of a picture file by its extension ("image/gif", ...).
std::string pictureMime(std::string_view path);

// The text of a text document as UTF-8: a UTF-8 byte-order mark (dropped)
// or an XML declaration of UTF-8 gives UTF-8, anything else is code page 936.
std::string documentText(std::string_view bytes);

// The note shown for a document the browser cannot show (UTF-8 HTML):
// "预览窗口不能显示这种文件：" and the file's name.
std::string notePage(std::string_view windowsPath);

// A folder's listing as a page (UTF-8 HTML): the folder's Windows path as
// its title, then one link per entry, folders first and marked with "\".
struct ListedEntry {
    std::string name;  // the Windows name
    bool folder = false;
};
std::string folderListingPage(std::string_view windowsFolder,
                              const std::vector<ListedEntry>& entries);

}  // namespace gui
