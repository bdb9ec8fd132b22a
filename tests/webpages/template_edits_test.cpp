// The template editor's edits of parts A and C on the default template, and
// on texts without their places (a part replaced by hand), which stay as
// they are.
#include "webpages/template_edits.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text/text.h"
#include "webpages/page_template_defaults.h"

namespace {

using namespace webpages;

const std::string PartA(DefaultPartA);
const std::string PartC = defaultPartC();

std::string replaced(std::string s, const std::string& from, const std::string& to) {
    const auto at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
}

TEST(TemplateEdits, ColourTexts) {
    struct Case {
        platform::Color value;
        const char* html;
    };
    const Case cases[] = {
        {0x0000FF, "#FF0000"}, {0xFF0000, "#0000FF"}, {0, "#000000"},
        {0x00FF00, "#00FF00"}, {0x123456, "#563412"}, {0xABCDEF, "#EFCDAB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(colorToHtml(c.value), c.html);
        EXPECT_EQ(colourItem(c.value), std::string("\"") + c.html + "\"");
    }
}

TEST(TemplateEdits, ColoursAndBackgroundsOfPartA) {
    const std::string v = "\"#123456\"";
    EXPECT_EQ(replaceColourAfter(PartA, BorderLightMarker, v),
              replaced(PartA, "borderColorLight=\"#2c52a0\"", "borderColorLight=" + v));
    EXPECT_EQ(replaceColourAfter(PartA, BorderDarkMarker, v),
              replaced(PartA, "borderColorDark=\"#ffffff\"", "borderColorDark=" + v));
    EXPECT_EQ(setTableBackground(PartA, v),
              replaced(PartA, "p1table\" bgcolor=\"#ffffff\"", "p1table\" bgcolor=" + v));
    EXPECT_EQ(setPageBackground(PartA, v),
              replaced(PartA, "<body bgColor=\"#ffffff\">", "<body bgColor=" + v + ">"));

    // Without the table's own background the attribute goes back right
    // after the class attribute; without the body's at the end of the tag.
    const std::string noTable = removeTableBackground(PartA);
    EXPECT_EQ(noTable, replaced(PartA, " bgcolor=\"#ffffff\" border", "  border"));
    EXPECT_EQ(setTableBackground(noTable, v),
              replaced(PartA, "bgcolor=\"#ffffff\" border", "bgcolor=" + v + "  border"));
    EXPECT_EQ(removeTableBackground(noTable), noTable);
    const std::string plainBody = replaced(PartA, "<body bgColor=\"#ffffff\">", "<body>");
    EXPECT_EQ(setPageBackground(plainBody, v),
              replaced(PartA, "<body bgColor=\"#ffffff\">", "<bodybgColor=" + v + ">"));

    // The picture: added after "<body", then replaced, then taken out.
    const std::string pictured = setBodyPicture(PartA, "sky.jpg");
    EXPECT_EQ(pictured, replaced(PartA, "<body bgColor",
                                 "<body background=\"ZelbrinWebImage\\sky.jpg\" bgColor"));
    EXPECT_EQ(
        setBodyPicture(pictured, "sea.gif"),
        replaced(PartA, "<body bgColor", "<body background=\"ZelbrinWebImage\\sea.gif\" bgColor"));
    EXPECT_EQ(removeBodyBackground(pictured), replaced(PartA, "<body bgColor", "<body  bgColor"));
    EXPECT_EQ(removeBodyBackground(PartA), PartA);
}

TEST(TemplateEdits, TheHeaderRow) {
    const std::string row(DefaultHeaderRow);
    const std::string withRow = appendHeaderRow(PartA, row);
    EXPECT_EQ(withRow, PartA + "\r\n" + row);
    EXPECT_EQ(appendHeaderRow(withRow, row), withRow);
    EXPECT_EQ(cutHeaderRow(withRow), PartA + "\r\n");
    EXPECT_EQ(cutHeaderRow(PartA), PartA);

    const std::string titled = writeHeaderTitle(withRow, "文件夹名字", "");
    EXPECT_EQ(titled,
              replaced(withRow, "#FFFFFF\">&nbsp;</font>", "#FFFFFF\">文件夹名字&nbsp;</font>"));
    EXPECT_EQ(writeHeaderTitle(titled, "", "文件夹名字"), withRow);
    EXPECT_EQ(replaceColourAfter(titled, HeaderTitleMarker, "\"#00FF00\""),
              replaced(titled, "<font color=\"#FFFFFF\">", "<font color=\"#00FF00\">"));
    EXPECT_EQ(replaceColourAfter(titled, HeaderBackgroundMarker, "\"#00FF00\""),
              replaced(titled, "bgColor=\"#2c52a0\"><td", "bgColor=\"#00FF00\"><td"));
}

TEST(TemplateEdits, TheTextBeforeTheTable) {
    const std::string block(DefaultTextBlock);
    const std::string withBlock = insertTextBlock(PartA, block);
    EXPECT_EQ(withBlock,
              replaced(PartA, "<table class=\"p1table\"", block + "<table class=\"p1table\""));
    EXPECT_EQ(insertTextBlock(withBlock, block), withBlock);
    EXPECT_EQ(removeTextBlock(withBlock), PartA);

    const std::string written = writeBlockText(withBlock, "欢迎", "");
    EXPECT_EQ(written,
              replaced(withBlock, ">Zelbrin网页版制作</font></span>", ">欢迎</font></span>"));
    EXPECT_EQ(writeBlockSize(written, "5号字"),
              replaced(written, "<font size=\"2\"", "<font size=\"5\""));
    EXPECT_EQ(writeBlockSize(written, ""),
              replaced(written, "<font size=\"2\"", "<font size=\"\""));
    EXPECT_EQ(writeBlockColour(written, "\"#00FF00\""),
              replaced(written, "color=\"#0000ff\">欢迎", "color=\"#00FF00\">欢迎"));
    EXPECT_EQ(writeBlockAlign(written, "right"),
              replaced(written, "align=\"middle\" width=\"100%\"><span",
                       "align=\"right\" width=\"100%\"><span"));
}

TEST(TemplateEdits, TheTextAfterTheTable) {
    const std::string left = writeFooterCell(PartC, LeftCellMarker, "版权", "");
    EXPECT_EQ(
        left,
        replaced(
            PartC, "<td align=\"left\" width=\"33.3%\"><font size=\"2\" color=\"#0000ff\"></font>",
            "<td align=\"left\" width=\"33.3%\"><font size=\"2\" color=\"#0000ff\">版权</font>"));
    EXPECT_EQ(writeFooterCell(left, LeftCellMarker, "", "版权"), PartC);

    // The walk sets the two text cells' and the link's colours.
    const std::string walked = footerColourWalk(PartC, "\"#FF0000\"");
    EXPECT_EQ(platform::text::inStr(walked, "#0000ff"), 0u);
    EXPECT_EQ(walked, replaced(replaced(replaced(PartC, "color=\"#0000ff\"", "color=\"#FF0000\""),
                                        "color=\"#0000ff\"", "color=\"#FF0000\""),
                               "color=\"#0000ff\"", "color=\"#FF0000\""));
}

TEST(TemplateEdits, TextHoldingTheEndTagIsReplacedWhole) {
    // Text written before is replaced exactly, even when it holds "</font>".
    const std::string tricky = "a</font>b";
    const std::string withRow = appendHeaderRow(PartA, DefaultHeaderRow);
    const std::string once = writeHeaderTitle(withRow, tricky, "");
    EXPECT_EQ(writeHeaderTitle(once, "c", tricky), writeHeaderTitle(withRow, "c", ""));

    const std::string withBlock = insertTextBlock(PartA, DefaultTextBlock);
    const std::string block1 = writeBlockText(withBlock, tricky, "");
    EXPECT_EQ(writeBlockText(block1, "c", tricky), writeBlockText(withBlock, "c", ""));

    const std::string cell = writeFooterCell(PartC, MiddleCellMarker, tricky, "");
    EXPECT_EQ(writeFooterCell(cell, MiddleCellMarker, "", tricky), PartC);
}

TEST(TemplateEdits, TextsWithoutTheirPlacesStayAsTheyAre) {
    const std::string texts[] = {
        "", "<html><body>hand made</body></html>", R"(<table class="p1table" bgcolor="#ffff)",
        R"(<span class="p03htmltext11"><font size=")", R"(<body background="x)"};
    for (const std::string& s : texts) {
        SCOPED_TRACE(s);
        const std::string results[] = {
            replaceColourAfter(s, BorderLightMarker, "\"#000000\""),
            removeTableBackground(s),
            removeBodyBackground(s),
            cutHeaderRow(s),
            writeHeaderTitle(s, "t", ""),
            removeTextBlock(s),
            writeBlockText(s, "t", ""),
            writeBlockSize(s, "5"),
            writeBlockColour(s, "\"#000000\""),
            writeBlockAlign(s, "left"),
            writeFooterCell(s, LeftCellMarker, "t", ""),
            footerColourWalk(s, "\"#000000\""),
        };
        for (const std::string& r : results) EXPECT_EQ(r, s);
        EXPECT_EQ(insertTextBlock(s, DefaultTextBlock),
                  s.find("p1table") == std::string::npos ? s : std::string(DefaultTextBlock) + s);
    }
    // A body tag without its end is left alone; a text without a body too.
    EXPECT_EQ(setPageBackground("<body", "\"#000000\""), "<body");
    EXPECT_EQ(setBodyPicture("<html>", "a.jpg"), "<html>");
    EXPECT_EQ(setTableBackground("<html>", "\"#000000\""), "<html>");
}

}  // namespace
