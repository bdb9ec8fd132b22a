// The browser view's reading of local pages and links, and the pictures of
// the image list.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "gui/icons.h"
#include "gui/page_text.h"
#include "gui_fixture.h"
#include "platform/text/text.h"

namespace {

TEST(PageText, HtmlByExtension) {
    EXPECT_TRUE(gui::isHtmlPath("E:\\a\\B.HTM"));
    EXPECT_TRUE(gui::isHtmlPath("C:\\x.asp"));
    EXPECT_FALSE(gui::isHtmlPath("E:\\readme.txt"));
    EXPECT_FALSE(gui::isHtmlPath("E:\\dir.htm\\file"));
}

TEST(PageText, LinkTargets) {
    const std::string page = "E:\\docs\\index.htm";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a.htm", "file:\\\\E:\\docs\\a.htm"},
        {"sub/b%20c.htm#part", "file:\\\\E:\\docs\\sub\\b c.htm"},
        {"../up.htm", "file:\\\\E:\\docs\\..\\up.htm"},
        {"/root.htm", "file:\\\\E:\\root.htm"},
        {"http://example.org/x", "http://example.org/x"},
        {"mailto:a@b.c", "mailto:a@b.c"},
        {"#top", ""},
        {"", ""},
        {"%E5%85%89.htm", "file:\\\\E:\\docs\\光.htm"},
    };
    for (const auto& [href, target] : cases) EXPECT_EQ(gui::linkTarget(page, href), target) << href;
}

TEST(PageText, DocumentKindsByExtension) {
    using gui::DocumentKind;
    struct Case {
        const char* path;
        DocumentKind kind;
    };
    for (const Case& c : {
             Case{"E:\\a.HTM", DocumentKind::Page},
             Case{"E:\\a.shtml", DocumentKind::Page},
             Case{"E:\\a.JPG", DocumentKind::Picture},
             Case{"E:\\a.gif", DocumentKind::Picture},
             Case{"E:\\a.txt", DocumentKind::Text},
             Case{"E:\\a.xml", DocumentKind::Text},
             Case{"E:\\x.y\\README", DocumentKind::Text},
             Case{"E:\\disc\\zelbrinleft1.hhc", DocumentKind::Text},
             Case{"E:\\disc\\zelbrinleft1.HHK", DocumentKind::Text},
             Case{"E:\\a.doc", DocumentKind::Note},
             Case{"E:\\a.ppt", DocumentKind::Note},
             Case{"E:\\a.wav", DocumentKind::Note},
             Case{"E:\\a.zip", DocumentKind::Note},
         })
        EXPECT_EQ(gui::documentKind(c.path), c.kind) << c.path;
}

TEST(PageText, ScriptsReadOnlyTheSitemapsBesideTheirPage) {
    const std::string page = "C:\\zelbrin\\webhtml\\d\\zelbrindefault.html";
    EXPECT_TRUE(gui::scriptMayRead(page, "C:\\zelbrin\\webhtml\\d\\zelbrinleft1.hhc"));
    EXPECT_TRUE(gui::scriptMayRead(page, "C:\\zelbrin\\webhtml\\d\\zelbrinleft1.HHK"));
    for (const char* other :
         {"C:\\zelbrin\\webhtml\\d\\secret.txt", "C:\\zelbrin\\webhtml\\d\\sub\\zelbrinleft1.hhc",
          "C:\\zelbrin\\webhtml\\zelbrinleft1.hhc", "C:\\zelbrin\\webhtml\\d", "zelbrinleft1.hhc",
          ""})
        EXPECT_FALSE(gui::scriptMayRead(page, other)) << other;
    EXPECT_FALSE(gui::scriptMayRead("", "C:\\d\\zelbrinleft1.hhc"));
}

TEST(PageText, AFolderListingLinksFoldersFirstWithEscapedNames) {
    const std::string page =
        gui::folderListingPage("E:\\docs", {{"b <c>.txt", false}, {"子 目录", true}});
    EXPECT_NE(page.find("<title>E:\\docs\\</title>"), std::string::npos) << page;
    const std::size_t folder =
        page.find("<a href=\"%E5%AD%90%20%E7%9B%AE%E5%BD%95/\">子 目录\\</a>");
    const std::size_t file = page.find("<a href=\"b%20%3Cc%3E.txt\">b &lt;c&gt;.txt</a>");
    EXPECT_NE(folder, std::string::npos) << page;
    EXPECT_NE(file, std::string::npos) << page;
    EXPECT_LT(folder, file);
}

TEST(Icons, EveryKeyOfTheImageListHasItsOwnPicture) {
    guitest::GuiMachine m;
    const platform::ImageList& images = m.form.ImageList1;
    std::set<QByteArray> pictures;
    int drawn = 0;
    for (int i = 1; i <= images.count(); ++i) {
        const std::string key = images.key(i);
        if (key.empty()) continue;  // the picture no command uses
        EXPECT_TRUE(gui::hasIcon(key)) << key;
        const QImage img = gui::iconPixmap(key, 16).toImage();
        ASSERT_EQ(img.size(), QSize(16, 16));
        pictures.insert(
            QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes()));
        ++drawn;
    }
    EXPECT_EQ(drawn, 111);
    EXPECT_EQ(static_cast<int>(pictures.size()), drawn);  // no two alike
    EXPECT_FALSE(gui::icon("txt").isNull());
}

}  // namespace
