#include "gui/page_text.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <cctype>

#include "platform/text/text.h"

namespace gui {

namespace {

// The lower-case extension of a path's last name, without its "."; empty when it has none.
std::string extensionOf(std::string_view path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t sep = path.find_last_of("\\/");
    if (dot == std::string_view::npos || (sep != std::string_view::npos && dot < sep)) return {};
    return platform::text::lcase(path.substr(dot + 1));
}

constexpr std::string_view PageHead = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>";

}  // namespace

bool isHtmlPath(std::string_view path) {
    static const std::array<std::string_view, 7> html = {"htm", "html", "shtml", "asp",
                                                         "asa", "php",  "jsp"};
    const std::string ext = extensionOf(path);
    return !ext.empty() && std::find(html.begin(), html.end(), ext) != html.end();
}

DocumentKind documentKind(std::string_view path) {
    if (isHtmlPath(path)) return DocumentKind::Page;
    const std::string ext = extensionOf(path);
    if (!pictureMime(path).empty()) return DocumentKind::Picture;
    static const std::array<std::string_view, 20> texts = {
        "",    "txt", "log", "ini", "inf", "nfo", "diz", "css", "xml", "xsl",
        "bat", "js",  "csv", "c",   "h",   "cpp", "me",  "1st", "hhc", "hhk"};
    if (std::find(texts.begin(), texts.end(), ext) != texts.end()) return DocumentKind::Text;
    return DocumentKind::Note;
}

bool scriptMayRead(std::string_view pagePath, std::string_view path) {
    const std::size_t pageSep = pagePath.find_last_of('\\');
    const std::size_t sep = path.find_last_of('\\');
    if (pageSep == std::string_view::npos || sep == std::string_view::npos ||
        pagePath.substr(0, pageSep) != path.substr(0, sep))
        return false;
    const std::string ext = extensionOf(path);
    return ext == "hhc" || ext == "hhk";
}

std::string pictureMime(std::string_view path) {
    const std::string ext = extensionOf(path);
    if (ext == "gif") return "image/gif";
    if (ext == "jpg" || ext == "jpeg") return "image/jpeg";
    if (ext == "png") return "image/png";
    if (ext == "bmp") return "image/bmp";
    if (ext == "ico") return "image/x-icon";
    return {};
}

std::string textMime(std::string_view path) {
    const std::string ext = extensionOf(path);
    if (ext == "css") return "text/css;charset=utf-8";
    if (ext == "js") return "text/javascript;charset=utf-8";
    return "text/plain;charset=utf-8";
}

std::string folderListingPage(std::string_view windowsFolder,
                              const std::vector<ListedEntry>& entries) {
    std::string folder(windowsFolder);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    std::string out = std::string(PageHead) + platform::text::htmlEscape(folder) +
                      "</title></head><body><h3>" + platform::text::htmlEscape(folder) +
                      "</h3><ul>";
    for (int pass = 0; pass < 2; ++pass) {
        for (const ListedEntry& e : entries) {
            if (e.folder != (pass == 0)) continue;
            const std::string shown = e.folder ? e.name + "\\" : e.name;
            out += "<li><a href=\"" + platform::text::percentEncode(e.name) +
                   (e.folder ? "/" : "") + "\">" + platform::text::htmlEscape(shown) + "</a></li>";
        }
    }
    return out + "</ul></body></html>";
}

std::string missingFilePage(std::string_view windowsPath) {
    const std::string path = platform::text::htmlEscape(windowsPath);
    return std::string(PageHead) + path + "</title></head><body><p>" +
           std::string(MissingFileText) + path + "</p></body></html>";
}

std::string linkTarget(std::string_view pagePath, std::string_view href) {
    if (href.empty() || href.front() == '#') return {};
    // A scheme of two or more letters before ":" is an address of its own.
    const std::size_t colon = href.find(':');
    if (colon != std::string_view::npos && colon >= 2 &&
        std::all_of(href.begin(), href.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
        }))
        return std::string(href);
    std::string_view ref = href.substr(0, href.find_first_of("#?"));
    if (ref.empty()) return {};
    const QByteArray raw(ref.data(), static_cast<qsizetype>(ref.size()));
    std::string rel = QByteArray::fromPercentEncoding(raw).toStdString();
    std::replace(rel.begin(), rel.end(), '/', '\\');
    std::string path;
    if (rel.size() >= 2 && rel[1] == ':') {
        path = rel;  // a drive of its own
    } else if (rel.front() == '\\') {
        path = std::string(pagePath.substr(0, std::min<std::size_t>(2, pagePath.size()))) + rel;
    } else {
        const std::size_t sep = pagePath.find_last_of('\\');
        path = std::string(sep == std::string_view::npos ? std::string_view()
                                                         : pagePath.substr(0, sep + 1)) +
               rel;
    }
    return "file:\\\\" + path;
}

}  // namespace gui
