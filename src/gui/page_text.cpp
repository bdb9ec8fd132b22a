#include "gui/page_text.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <cctype>

#include "gui/qt_convert.h"
#include "platform/text/text.h"

namespace gui {

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";

// The value after the first "charset=" of the page's head, lower case.
std::string declaredCharset(std::string_view bytes) {
    const std::string head =
        platform::text::lcase(bytes.substr(0, std::min<std::size_t>(bytes.size(), 4096)));
    std::size_t at = head.find("charset");
    while (at != std::string::npos) {
        std::size_t i = at + 7;
        while (i < head.size() && (head[i] == ' ' || head[i] == '\t')) ++i;
        if (i < head.size() && head[i] == '=') {
            ++i;
            while (i < head.size() && (head[i] == ' ' || head[i] == '"' || head[i] == '\'')) ++i;
            std::size_t end = i;
            while (end < head.size() && (std::isalnum(static_cast<unsigned char>(head[end])) ||
                                         head[end] == '-' || head[end] == '_'))
                ++end;
            return head.substr(i, end - i);
        }
        at = head.find("charset", at + 7);
    }
    return {};
}

}  // namespace

PageCharset pageCharset(std::string_view bytes) {
    if (bytes.substr(0, Bom.size()) == Bom) return PageCharset::Utf8;
    const std::string cs = declaredCharset(bytes);
    if (cs == "utf-8" || cs == "utf8") return PageCharset::Utf8;
    if (cs == "iso-8859-1" || cs == "latin1" || cs == "windows-1252" || cs == "us-ascii")
        return PageCharset::Latin1;
    return PageCharset::Cp936;
}

QString decodePage(std::string_view bytes) {
    switch (pageCharset(bytes)) {
        case PageCharset::Utf8:
            if (bytes.substr(0, Bom.size()) == Bom) bytes.remove_prefix(Bom.size());
            return toQ(bytes);
        case PageCharset::Latin1:
            return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
        case PageCharset::Cp936:
            break;
    }
    return toQ(platform::text::fromCp936(bytes));
}

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
    static const std::array<std::string_view, 18> texts = {
        "",    "txt", "log", "ini", "inf", "nfo", "diz", "css", "xml",
        "xsl", "bat", "js",  "csv", "c",   "h",   "cpp", "me",  "1st"};
    if (std::find(texts.begin(), texts.end(), ext) != texts.end()) return DocumentKind::Text;
    return DocumentKind::Note;
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

std::string documentText(std::string_view bytes) {
    if (bytes.substr(0, Bom.size()) == Bom) return std::string(bytes.substr(Bom.size()));
    const std::string head =
        platform::text::lcase(bytes.substr(0, std::min<std::size_t>(bytes.size(), 200)));
    if (head.rfind("<?xml", 0) == 0) {
        const std::size_t end = head.find("?>");
        const std::string decl = head.substr(0, end);
        if (decl.find("utf-8") != std::string::npos || decl.find("utf8") != std::string::npos)
            return std::string(bytes);
    }
    return platform::text::fromCp936(bytes);
}

std::string notePage(std::string_view windowsPath) {
    const std::size_t sep = windowsPath.find_last_of("\\/");
    const std::string_view name =
        sep == std::string_view::npos ? windowsPath : windowsPath.substr(sep + 1);
    return std::string(PageHead) + platform::text::htmlEscape(name) + "</title></head><body><p>" +
           platform::text::htmlEscape("预览窗口不能显示这种文件：") +
           platform::text::htmlEscape(name) + "</p></body></html>";
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
