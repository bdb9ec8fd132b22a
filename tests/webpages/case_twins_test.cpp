// The page of a folder whose files differ only in letter case: each row's own
// file is copied and linked by its own name.
#include "discpage/case_twins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "web_steps.h"

using namespace web_test;

namespace {

// The twins' folder with a.TXT, p.htm and README.TXT ticked.
class PageTwins : public WebPages {
  protected:
    void prepare() override {
        case_twins::writeTwins(h);
        h.write(indexPath(case_twins::Twins),
                lines({"C:\\twins\\a.TXT[5]($)", "C:\\twins\\a.txt[6]", "C:\\twins\\p.HTM[9]",
                       "C:\\twins\\p.htm[10]($)", "C:\\twins\\README.TXT[4]($)"}));
        extraCatalogue = "|盘\r\n#twins_hard#1#孪生#\r\n";
    }
    // Chooses the copies ([所有] or [打勾]) and writes the twins' page.
    void generateWithCopies(platform::MenuItem& item, std::string_view which) {
        clickWithMessage(item, "现在将把目录下的 " + std::string(which) +
                                   " 文件\r\n拷贝到与生成网页相对应的位置，\r\n如果文件比较大，"
                                   "请耐心等待。");
        clickDiscList({case_twins::Twins, "twins_hard\\twins"});
        h.ui.clearLog();
        generate();
    }
};

TEST_F(PageTwins, EachFileIsCopiedAndLinkedByItsOwnName) {
    generateWithCopies(f().htmlcopygou, "[打勾]");
    EXPECT_TRUE(h.ui.messages().empty());
    EXPECT_EQ(pageTree(), (std::vector<std::string>{"twins_hard/", "twins_hard/README.TXT",
                                                    "twins_hard/ZelbrinIndex.html",
                                                    "twins_hard/a.TXT", "twins_hard/p.htm"}));
    const std::string copies = "C:\\zelbrin\\webhtml\\twins_hard\\";
    EXPECT_EQ(h.read(copies + "a.TXT"), "UPPER");
    EXPECT_EQ(h.read(copies + "p.htm"), "<p>lower!</p>");
    EXPECT_EQ(h.read(copies + "README.TXT"), "read");
    const std::vector<std::string> page = this->page("twins_hard\\");
    for (const char* name : {"a.TXT", "a.txt", "p.HTM", "p.htm", "README.TXT"}) {
        SCOPED_TRACE(name);
        const std::string link = std::string("<li><a href=\"") + name +
                                 "\"><font color=\"#0000ff\">" + name + "</font></a>";
        EXPECT_EQ(std::count(page.begin(), page.end(), link), 1);
    }
}

// All files, both twins of each pair beside each other: a copy is made
// under its own name ("a.txt") beside the one spelt alike ("a.TXT").
TEST_F(PageTwins, AllFilesAreCopiedBesideTheirTwins) {
    generateWithCopies(f().htmlcopyall, "[所有]");
    EXPECT_TRUE(h.ui.messages().empty());
    const std::string copies = "C:\\zelbrin\\webhtml\\twins_hard\\";
    EXPECT_EQ(h.read(copies + "a.TXT"), "UPPER");
    EXPECT_EQ(h.read(copies + "a.txt"), "lower!");
    EXPECT_EQ(h.read(copies + "p.HTM"), "<p>UPPER</p>");
    EXPECT_EQ(h.read(copies + "p.htm"), "<p>lower!</p>");
}

// Docs and docs get a page each, listing their own files: the page folder
// "docs" is made beside "Docs", never taken for it.
TEST_F(PageTwins, FoldersThatDifferInCaseGetTheirOwnPages) {
    for (const char* folder : {"[005]Folders\\E:\\Docs", "[005]Folders\\E:\\docs"}) {
        clickDiscList({case_twins::Folders, folder});
        generate();
    }
    EXPECT_TRUE(h.ui.messages().empty());
    const std::vector<std::string> docs = page("[005]Folders\\Docs\\");
    const std::vector<std::string> lower = page("[005]Folders\\docs\\");
    const auto links = [](const std::vector<std::string>& lines, const char* name) {
        const std::string link = std::string("<li><a href=\"") + name + "\">";
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& l) { return l.starts_with(link); });
    };
    EXPECT_EQ(links(docs, "a.txt") + links(docs, "b.txt") + links(docs, "c.txt"), 2);
    EXPECT_EQ(links(lower, "c.txt"), 1);
    EXPECT_EQ(links(lower, "a.txt"), 0);
}

}  // namespace
