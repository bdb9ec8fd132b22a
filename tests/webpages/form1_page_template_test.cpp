// The default page template that every start begins with.
#include <gtest/gtest.h>

#include "platform/text/text.h"
#include "support/harness.h"
#include "webpages/page_template_defaults.h"

namespace {

namespace text = platform::text;

TEST(PageTemplateDefaults, TextsHaveTheirExactLengths) {
    testsupport::Harness h;
    Form1& f = h.form;
    f.setPageTemplateDefaults();
    struct Case {
        const std::string& value;
        std::size_t chars, cp936Bytes;
    };
    const std::string partCFirst = text::left(f.htmlText3, text::inStr(f.htmlText3, "href=") + 4);
    const std::string partCLast =
        text::mid(f.htmlText3, text::inStr(f.htmlText3, " target=_blank>"));
    const Case cases[] = {
        {f.htmlText1, 348, 353}, {f.htmlText01, 207, 212}, {f.htmlText11, 192, 192},
        {f.htmlText2, 174, 185}, {partCFirst, 234, 234},   {partCLast, 101, 106},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(text::len(c.value), c.chars);
        EXPECT_EQ(text::cp936Length(c.value), c.cp936Bytes);
        EXPECT_EQ(c.value.find('\n'), std::string::npos);
    }
    EXPECT_EQ(f.htmlText3,
              partCFirst + "\"" + std::string(webpages::HomePageAddress) + "\"" + partCLast);
}

TEST(PageTemplateDefaults, MarkersPlaceholdersAndOptions) {
    testsupport::Harness h;
    Form1& f = h.form;
    f.setPageTemplateDefaults();
    EXPECT_TRUE(text::startsWith(f.htmlText1, "<html><head><meta http-equiv="));
    EXPECT_TRUE(text::endsWith(f.htmlText1, "cellSpacing=\"0\" width=\"100%\" ><tbody>"));
    EXPECT_TRUE(text::endsWith(f.htmlText3, "</body></html>"));
    EXPECT_NE(f.htmlText1.find("class=\"p1table\""), std::string::npos);
    EXPECT_NE(f.htmlText1.find("charset=gb2312"), std::string::npos);
    EXPECT_EQ(f.htmlText1.find(f.htmlText01), std::string::npos);
    EXPECT_EQ(f.htmlText1.find(f.htmlText11), std::string::npos);
    EXPECT_EQ(f.htmlText1.find("文件夹名字"), std::string::npos);
    for (const char* marker : {"p01htmltext11", "p02htmltext11", "p03htmltext11"})
        EXPECT_NE(f.htmlText01.find(marker), std::string::npos) << marker;
    for (const char* marker : {"p2htmltext11", "p3htmltext11", "colspan=\"3\" >", "#FFFFFF"})
        EXPECT_NE(f.htmlText11.find(marker), std::string::npos) << marker;
    for (const char* token : {"Zelbrin文件名", "Zelbrin文件大小&nbsp;", "Zelbrin文件备注&nbsp;"})
        EXPECT_NE(f.htmlText2.find(token), std::string::npos) << token;
    EXPECT_EQ(f.htmlText2.find("Zelbrin加计数"), std::string::npos);
    EXPECT_NE(f.htmlText3.find(
                  " target=_blank><font size=\"2\" color=\"#0000ff\">Zelbrin网页版制作</font></a>"),
              std::string::npos);
    EXPECT_EQ(f.valcommand8, "#ff0000");
    EXPECT_EQ(f.valcommand9, "#0000ff");
    EXPECT_TRUE(f.orSize);
    EXPECT_FALSE(f.Web2Text);
    EXPECT_FALSE(f.ListOrTable);
}

}  // namespace
