#include "webpages/sitemap.h"

#include "catalogue/scan_command.h"
#include "platform/text/text.h"
#include "webpages/folder_page.h"

namespace webpages {

std::string contentsHead(std::string_view disc) {
    std::string s =
        "<HTML><!-- Sitemap 1.0 --><OBJECT type=\"text/site properties\"><param "
        "name=\"FrameName\" value=\"right\"></OBJECT>\r\n";
    s += contentsEntry(disc, FolderPageName, true);
    s += "\r\n";
    return s;
}

std::string indexHead() {
    return "<HTML><HEAD><!-- Sitemap 1.0 --></HEAD><BODY><OBJECT type=\"text/site "
           "properties\"><param name=\"FrameName\" value=\"right\"><param name=\"ImageList\" "
           "value=\"\"></OBJECT><UL>\r\n";
}

std::string sitemapLocal(std::string_view disc, std::string_view fullPath) {
    std::size_t from = std::string_view::npos;
    if (catalogue::isHardDisc(disc)) {
        const std::size_t first = fullPath.find('\\');
        const std::size_t second =
            first == std::string_view::npos ? first : fullPath.find('\\', first + 1);
        if (second != std::string_view::npos) from = second + 1;
    } else if (const std::size_t at = fullPath.find(":\\"); at != std::string_view::npos) {
        from = at + 2;
    }
    // Each name percent-encoded as the pages' own links are; "\\" kept.
    std::string local;
    if (from != std::string_view::npos)
        for (const std::string& name : platform::text::split(fullPath.substr(from), "\\"))
            local += platform::text::percentEncode(name) + '\\';
    local += FolderPageName;
    return local;
}

std::string contentsEntry(std::string_view name, std::string_view local, bool firstChild) {
    std::string s = firstChild ? "<UL>" : "";
    s += "<LI><OBJECT type=\"Text/sitemap\"><param name=\"Name\" value=\"";
    s += platform::text::htmlEscape(name);
    s += "\"><param name=\"Local\" value=\"";
    s += local;
    s += "\"></OBJECT></LI>";
    return s;
}

std::string indexEntry(std::string_view name, std::string_view local) {
    std::string s = "<LI><OBJECT type=\"Text/sitemap;\"><param name=\"Name\" value=\"";
    s += platform::text::htmlEscape(name);
    s += "\"><param name=\"Local\" value=\"";
    s += local;
    s += "\"></OBJECT>";
    return s;
}

}  // namespace webpages
