// The edits the template editor makes in the page template's parts A and C.
// Each finds its place by the template's marker texts (the class names and
// attribute forms of the default template) and returns the changed text.
//
// Searches are case-sensitive and positions count characters. An edit whose
// marker or closing text is missing (a part replaced in the page-code dialog
// by text without them) returns the text unchanged: it never cuts, doubles
// or moves text it cannot place.
#pragma once

#include <string>
#include <string_view>

#include "platform/controls/control.h"

namespace webpages {

// ---- colours ----

// The colour text of a colour value (lowest byte red): "#" and six upper-case
// hexadecimal digits, red, green, blue ("#FF0000" for 255).
std::string colorToHtml(platform::Color c);
// A colour text in double quotes, as the template holds every colour.
std::string colourItem(platform::Color c);

// ---- the marker texts ----

inline constexpr std::string_view FileTableMarker = R"(<table class="p1table")";
inline constexpr std::string_view HeaderRowMarker = R"(<tr class="p2htmltext11")";
inline constexpr std::string_view HeaderBackgroundMarker = R"(<tr class="p2htmltext11" bgColor=)";
inline constexpr std::string_view HeaderTitleMarker = R"(<span class="p3htmltext11"><font color=)";
inline constexpr std::string_view TextBlockMarker = R"(<table class="p01htmltext11")";
inline constexpr std::string_view TextBlockEnd = "</table><br>";
inline constexpr std::string_view TextAlignMarker = R"(<td class="p02htmltext11" align=")";
inline constexpr std::string_view TextSpanMarker = R"(<span class="p03htmltext11">)";
inline constexpr std::string_view TextSizeMarker = R"(<span class="p03htmltext11"><font size=")";
inline constexpr std::string_view LeftCellMarker = R"(<td align="left" width="33.3%"><font)";
inline constexpr std::string_view MiddleCellMarker = R"(<td align="middle" width="33.3%"><font)";
inline constexpr std::string_view BorderLightMarker = "borderColorLight=";
inline constexpr std::string_view BorderDarkMarker = "borderColorDark=";

// The folder below the disc's page folder that holds background pictures.
inline constexpr std::string_view WebImageFolder = "ZelbrinWebImage";

// ---- part A: colours and the background ----

// The nine characters after the first marker become item.
std::string replaceColourAfter(std::string_view text, std::string_view marker,
                               std::string_view item);
// The file table's bgcolor attribute becomes "bgcolor=" + item; put back
// right after the table's class attribute when the tag has none.
std::string setTableBackground(std::string_view partA, std::string_view item);
// The body's bgColor attribute becomes "bgColor=" + item; added at the end of
// the body tag when it has none.
std::string setPageBackground(std::string_view partA, std::string_view item);
// Takes the file table's bgcolor attribute out (the blank before it stays).
std::string removeTableBackground(std::string_view partA);
// Takes the body's background attribute out.
std::string removeBodyBackground(std::string_view partA);
// The body's background attribute becomes the picture's relative path
// "ZelbrinWebImage\" + pictureName.
std::string setBodyPicture(std::string_view partA, std::string_view pictureName);

// ---- part A: the header row ----

// Part A + CR LF + row, unless part A holds a header row already.
std::string appendHeaderRow(std::string_view partA, std::string_view row);
// Part A up to the header row (the line break before it stays).
std::string cutHeaderRow(std::string_view partA);
// The header title becomes title + "&nbsp;". previous is the title written
// last: when the row holds exactly it, exactly it is replaced (so a title
// holding "</font>" is replaced whole); otherwise up to the first "</font>".
std::string writeHeaderTitle(std::string_view partA, std::string_view title,
                             std::string_view previous);

// ---- part A: the text before the table ----

// The block inserted right before the file table, unless part A holds one.
std::string insertTextBlock(std::string_view partA, std::string_view block);
// Takes the block out, through its closing "</table><br>".
std::string removeTextBlock(std::string_view partA);
// The block's text becomes text (previous as for writeHeaderTitle).
std::string writeBlockText(std::string_view partA, std::string_view text,
                           std::string_view previous);
// The block's font size becomes the first character of sizeChoice.
std::string writeBlockSize(std::string_view partA, std::string_view sizeChoice);
// The block's font colour becomes item.
std::string writeBlockColour(std::string_view partA, std::string_view item);
// The block's cell alignment becomes word ("left", "middle", "right").
std::string writeBlockAlign(std::string_view partA, std::string_view word);

// ---- part C: the text after the table ----

// The footer cell found by cellMarker holds text (previous as for
// writeHeaderTitle).
std::string writeFooterCell(std::string_view partC, std::string_view cellMarker,
                            std::string_view text, std::string_view previous);
// The first three colours of part C (the two text cells and the link cell)
// become item.
std::string footerColourWalk(std::string_view partC, std::string_view item);

}  // namespace webpages
