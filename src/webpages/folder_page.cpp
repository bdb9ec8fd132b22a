#include "webpages/folder_page.h"

#include "platform/error.h"
#include "platform/text/text.h"

namespace webpages {

namespace {

constexpr std::string_view Eol = "\r\n";
constexpr std::string_view Nbsp = "&nbsp;";

void line(std::string& page, std::initializer_list<std::string_view> pieces) {
    for (std::string_view p : pieces) page += p;
    page += Eol;
}

// Replaces the first occurrence of token; false when there is none.
bool replaceFirst(std::string& s, std::string_view token, std::string_view by) {
    const std::size_t at = s.find(token);
    if (at == std::string::npos) return false;
    s.replace(at, token.size(), by);
    return true;
}

void replaceAll(std::string& s, std::string_view token, std::string_view by) {
    for (std::size_t at = s.find(token); at != std::string::npos;
         at = s.find(token, at + by.size()))
        s.replace(at, token.size(), by);
}

std::string linkTarget(const PageEntry& e) {
    std::string target = platform::text::percentEncode(e.name);
    if (e.folder) {
        target += '\\';
        target += FolderPageName;
    }
    return target;
}

void listLines(std::string& page, const PageEntry& e, const PageOptions& o) {
    const std::string name = platform::text::htmlEscape(e.name);
    const std::string href = linkTarget(e);
    if (e.folder) {
        line(page, {"<li><a href=\"", href, "\"><font color=\"", o.folderColour, "\">", name,
                    "</font></a>"});
        if (o.remarks) line(page, {"&nbsp;&nbsp;<font color=\"#000000\">", e.remark, "</font>"});
        return;
    }
    line(page,
         {"<li><a href=\"", href, "\"><font color=\"", o.fileColour, "\">", name, "</font></a>"});
    if (o.sizes) line(page, {"<font color=\"", o.fileColour, "\">&nbsp;大小：", e.size, "</font>"});
    if (o.remarks) line(page, {"<font color=\"#000000\">&nbsp;", e.remark, "</font>"});
}

void tableLines(std::string& page, const PageEntry& e, const PageOptions& o) {
    const std::string_view colour = e.folder ? o.folderColour : o.fileColour;
    line(page, {"<tr><td height=\"10\"><a href=\"", linkTarget(e), "\"><font color=\"", colour,
                "\">", platform::text::htmlEscape(e.name), "</font></a></td>"});
    if (o.sizes) {
        if (e.folder)
            line(page, {"<td height=\"10\">&nbsp;&nbsp;</td>"});
        else
            line(page,
                 {"<td height=\"10\"><font color=\"", colour, "\">", e.size, "&nbsp;</font></td>"});
    }
    if (o.remarks)
        line(page,
             {"<td height=\"10\"><font color=\"", colour, "\">", e.remark, "&nbsp;</font></td>"});
    line(page, {"</tr>"});
}

// A copy of part B with the entry's link around its name token.
void linkedTemplateLine(std::string& page, const PageEntry& e, const PageOptions& o) {
    std::string s = o.partB;
    const std::size_t p = s.find(NameToken);
    if (p != std::string::npos) {
        // The link closes after the name's font element when nothing else
        // comes first, else right after the token.
        const std::size_t c = s.find('<', p);
        const std::size_t f = s.find("</font>", p);
        const std::size_t close = c != std::string::npos && c == f ? f + 7 : p + NameToken.size();
        s.insert(close, "</a>");
        // It opens before the name's font element when that tag is the last
        // one before the token, else right before the token.
        std::size_t open = p;
        if (p > 0) {
            const std::size_t h = s.rfind('<', p - 1);
            const std::size_t g = s.rfind("<font", p - 1);
            if (h != std::string::npos && h == g) open = g;
        }
        s.insert(open, "<a href=\"" + linkTarget(e) + "\">");
        replaceFirst(s, NameToken, platform::text::htmlEscape(e.name) + std::string(Nbsp));
    }
    replaceFirst(s, SizeToken,
                 !e.folder && o.sizes ? e.size + std::string(Nbsp) : std::string(Nbsp));
    replaceFirst(s, RemarkToken, o.remarks ? e.remark + std::string(Nbsp) : std::string(" "));
    line(page, {s});
}

// A copy of part B with every token replaced, no link.
void plainTemplateLine(std::string& page, const PageEntry& e, const PageOptions& o) {
    std::string s = o.partB;
    replaceAll(s, NameToken, platform::text::htmlEscape(e.name));
    replaceAll(s, SizeToken, e.size);
    replaceAll(s, RemarkToken, o.remarks ? e.remark : std::string());
    replaceAll(s, RowNumberToken, std::to_string(e.rowNumber));
    line(page, {s});
}

}  // namespace

std::string pageHead(std::string_view partA, std::string_view folderName) {
    std::string head(partA);
    replaceFirst(head, FolderNameToken, platform::text::htmlEscape(folderName));
    return head;
}

void appendEntryLines(std::string& page, const PageEntry& entry, const PageOptions& options) {
    switch (options.layout) {
        case Layout::List:
            return listLines(page, entry, options);
        case Layout::Table:
            return tableLines(page, entry, options);
        case Layout::Template:
            if (!entry.folder && options.plainFileRows)
                return plainTemplateLine(page, entry, options);
            return linkedTemplateLine(page, entry, options);
    }
}

platform::files::ConfinedRoot openPageTree(std::string_view programFolder) {
    namespace files = platform::files;
    const std::string tree = std::string(programFolder) + "\\" + std::string(PageTreeFolder);
    try {
        return files::ConfinedRoot::open(tree);
    } catch (const platform::Error& e) {
        if (e.number() != platform::err::PathNotFound) throw;
    }
    files::ConfinedRoot::open(programFolder).createFolders(PageTreeFolder);
    return files::ConfinedRoot::open(tree);
}

platform::files::ConfinedRoot openPageFolder(const platform::files::ConfinedRoot& root,
                                             std::string_view relative) {
    root.createFolders(relative);
    return root.folder(relative);
}

}  // namespace webpages
