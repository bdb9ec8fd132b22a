#include "webpages/template_edits.h"

#include <cstdio>

#include "platform/text/text.h"

namespace webpages {

namespace text = platform::text;

namespace {

constexpr std::string_view Dq = "\"";
constexpr std::string_view FontEnd = "</font>";
constexpr std::string_view Space = "&nbsp;";

// The characters before position p (1-based): its first p - 1 characters.
std::string before(std::string_view s, std::size_t p) { return text::left(s, p - 1); }
// The text from position p on.
std::string from(std::string_view s, std::size_t p) { return text::mid(s, p); }

// Everything from start through the double quote that closes an attribute's
// value (searched from valueSearch) replaced by replacement; the text
// unchanged when there is no closing quote.
std::string replaceAttribute(std::string_view s, std::size_t start, std::size_t valueSearch,
                             std::string_view replacement) {
    const std::size_t close = text::inStr(s, Dq, valueSearch);
    if (close == 0) return std::string(s);
    return before(s, start) + std::string(replacement) + from(s, close + 1);
}

// Where the attribute name starts inside the tag that opens at tag: its
// position when it comes before the tag's ">", else 0.
std::size_t attributeInTag(std::string_view s, std::size_t tag, std::string_view name) {
    const std::size_t at = text::inStr(s, name, tag);
    const std::size_t end = text::inStr(s, ">", tag);
    return at != 0 && at < end ? at : 0;
}

// The "</font>" that ends the text written at position at: right after
// previous when the text there is exactly previous and "</font>", else the
// first one from fallbackFrom. 0 when there is none.
std::size_t fontEndAfter(std::string_view s, std::size_t at, std::string_view previous,
                         std::size_t fallbackFrom) {
    const std::size_t n = text::len(previous);
    if (text::mid(s, at, n + FontEnd.size()) == std::string(previous) + std::string(FontEnd))
        return at + n;
    return text::inStr(s, FontEnd, fallbackFrom);
}

}  // namespace

std::string colorToHtml(platform::Color c) {
    char h[16];
    std::snprintf(h, sizeof h, "%06X", static_cast<unsigned>(c));
    const std::string bgr = text::right(h, 6);
    return "#" + bgr.substr(4, 2) + bgr.substr(2, 2) + bgr.substr(0, 2);
}

std::string colourItem(platform::Color c) {
    return std::string(Dq) + colorToHtml(c) + std::string(Dq);
}

std::string replaceColourAfter(std::string_view s, std::string_view marker, std::string_view item) {
    const std::size_t p = text::inStr(s, marker);
    if (p == 0) return std::string(s);
    const std::size_t value = p + text::len(marker);
    return before(s, value) + std::string(item) + from(s, value + 9);
}

std::string setTableBackground(std::string_view partA, std::string_view item) {
    const std::size_t table = text::inStr(partA, FileTableMarker);
    if (table == 0) return std::string(partA);
    const std::string attribute = "bgcolor=" + std::string(item);
    if (const std::size_t b = attributeInTag(partA, table, "bgcolor=")) {
        return replaceAttribute(partA, b, b + 10, attribute);
    }
    return before(partA, table) + std::string(FileTableMarker) + " " + attribute +
           from(partA, table + FileTableMarker.size());
}

std::string setPageBackground(std::string_view partA, std::string_view item) {
    const std::size_t body = text::inStr(partA, "<body");
    if (body == 0) return std::string(partA);
    const std::string attribute = "bgColor=" + std::string(item);
    if (const std::size_t b = attributeInTag(partA, body, "bgColor="))
        return replaceAttribute(partA, b, b + 10, attribute);
    const std::size_t end = text::inStr(partA, ">", body);
    if (end == 0) return std::string(partA);
    return before(partA, end) + attribute + from(partA, end);
}

std::string removeTableBackground(std::string_view partA) {
    const std::size_t table = text::inStr(partA, FileTableMarker);
    if (table == 0) return std::string(partA);
    if (const std::size_t b = attributeInTag(partA, table, "bgcolor="))
        return replaceAttribute(partA, b, b + 10, "");
    return std::string(partA);
}

std::string removeBodyBackground(std::string_view partA) {
    const std::size_t body = text::inStr(partA, "<body");
    if (body == 0) return std::string(partA);
    if (const std::size_t k = attributeInTag(partA, body, "background="))
        return replaceAttribute(partA, k, k + 13, "");
    return std::string(partA);
}

std::string setBodyPicture(std::string_view partA, std::string_view pictureName) {
    const std::size_t body = text::inStr(partA, "<body");
    if (body == 0) return std::string(partA);
    const std::string attribute = "background=" + std::string(Dq) + std::string(WebImageFolder) +
                                  "\\" + std::string(pictureName) + std::string(Dq);
    if (const std::size_t k = attributeInTag(partA, body, "background="))
        return replaceAttribute(partA, k, k + 12, attribute);
    return before(partA, body) + "<body " + attribute + from(partA, body + 5);
}

std::string appendHeaderRow(std::string_view partA, std::string_view row) {
    if (text::inStr(partA, HeaderRowMarker) != 0) return std::string(partA);
    return std::string(partA) + "\r\n" + std::string(row);
}

std::string cutHeaderRow(std::string_view partA) {
    const std::size_t p = text::inStr(partA, HeaderRowMarker);
    return p == 0 ? std::string(partA) : before(partA, p);
}

std::string writeHeaderTitle(std::string_view partA, std::string_view title,
                             std::string_view previous) {
    const std::size_t p = text::inStr(partA, HeaderTitleMarker);
    if (p == 0) return std::string(partA);
    // The marker, the nine-character colour and ">".
    const std::size_t at = p + HeaderTitleMarker.size() + 10;
    const std::size_t end = fontEndAfter(partA, at, std::string(previous) + std::string(Space), p);
    if (end < at) return std::string(partA);
    return before(partA, at) + std::string(title) + std::string(Space) + from(partA, end);
}

std::string insertTextBlock(std::string_view partA, std::string_view block) {
    if (text::inStr(partA, TextBlockMarker) != 0) return std::string(partA);
    const std::size_t table = text::inStr(partA, FileTableMarker);
    if (table == 0) return std::string(partA);
    return before(partA, table) + std::string(block) + from(partA, table);
}

std::string removeTextBlock(std::string_view partA) {
    const std::size_t s = text::inStr(partA, TextBlockMarker);
    if (s == 0) return std::string(partA);
    const std::size_t e = text::inStr(partA, TextBlockEnd, s);
    if (e == 0) return std::string(partA);
    return before(partA, s) + from(partA, e + TextBlockEnd.size());
}

std::string writeBlockText(std::string_view partA, std::string_view textBefore,
                           std::string_view previous) {
    const std::size_t s = text::inStr(partA, TextSpanMarker);
    if (s == 0) return std::string(partA);
    const std::size_t font = text::inStr(partA, "<font", s);
    const std::size_t tagEnd = font == 0 ? 0 : text::inStr(partA, ">", font);
    if (tagEnd == 0) return std::string(partA);
    const std::size_t end = fontEndAfter(partA, tagEnd + 1, previous, s);
    if (end <= tagEnd) return std::string(partA);
    return text::left(partA, tagEnd) + std::string(textBefore) + from(partA, end);
}

std::string writeBlockSize(std::string_view partA, std::string_view sizeChoice) {
    const std::size_t p = text::inStr(partA, TextSizeMarker);
    if (p == 0) return std::string(partA);
    const std::size_t close = text::inStr(partA, Dq, p + TextSizeMarker.size());
    if (close == 0) return std::string(partA);
    return before(partA, p) + std::string(TextSizeMarker) + text::left(sizeChoice, 1) +
           from(partA, close);
}

std::string writeBlockColour(std::string_view partA, std::string_view item) {
    const std::size_t s = text::inStr(partA, TextSpanMarker);
    if (s == 0) return std::string(partA);
    const std::size_t after = s + TextSpanMarker.size();
    const std::size_t colour = text::inStr(partA, "color=", after);
    const std::size_t tagEnd = text::inStr(partA, ">", after);
    if (colour == 0 || tagEnd < colour) return std::string(partA);
    return before(partA, colour) + "color=" + std::string(item) + from(partA, tagEnd);
}

std::string writeBlockAlign(std::string_view partA, std::string_view word) {
    const std::size_t a = text::inStr(partA, TextAlignMarker);
    if (a == 0) return std::string(partA);
    const std::size_t close = text::inStr(partA, Dq, a + TextAlignMarker.size());
    if (close == 0) return std::string(partA);
    return before(partA, a) + std::string(TextAlignMarker) + std::string(word) + from(partA, close);
}

std::string writeFooterCell(std::string_view partC, std::string_view cellMarker,
                            std::string_view cellText, std::string_view previous) {
    const std::size_t p = text::inStr(partC, cellMarker);
    if (p == 0) return std::string(partC);
    const std::size_t tagEnd = text::inStr(partC, ">", p + cellMarker.size());
    if (tagEnd == 0) return std::string(partC);
    const std::size_t end = fontEndAfter(partC, tagEnd + 1, previous, tagEnd);
    if (end <= tagEnd) return std::string(partC);
    return text::left(partC, tagEnd) + std::string(cellText) + from(partC, end);
}

std::string footerColourWalk(std::string_view partC, std::string_view item) {
    constexpr std::string_view ColourAttribute = "color=\"";
    std::string s(partC);
    std::size_t searchFrom = 1;
    std::size_t tagFrom = 0;  // the ">" is searched from the colour (first) or after it
    for (int n = 0; n < 3; ++n) {
        const std::size_t c = text::inStr(s, ColourAttribute, searchFrom);
        if (c == 0) break;
        const std::size_t g = text::inStr(s, ">", c + tagFrom);
        if (g == 0) break;
        s = before(s, c) + "color=" + std::string(item) + from(s, g);
        searchFrom = c + 5;
        tagFrom = 1;
    }
    return s;
}

}  // namespace webpages
