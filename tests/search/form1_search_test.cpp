// The search command, run from the menu and the toolbar as a user runs it:
// the search options dialog filled in, then the result list's columns, rows,
// check marks and hit count for each kind of search, the messages when
// nothing is found, the refusal on the software page, the ways out of the
// dialog that search nothing, the location, and the preview pane around it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/images.h"
#include "search/find_dialog.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;

enum Tab { Category = 1, Disc = 2, Software = 3 };

constexpr std::string_view CatalogueFile = "C:\\zelbrin\\ini.ini";
constexpr const char* NotOnDiscPage = "只有在光盘页下，才可打开预览窗口！";
constexpr const char* NothingFound = "在光盘中没有你找的内容！";
constexpr const char* NoRemarkFound = "在光盘备注中没有你找的内容！";

std::string discFile(std::string_view disc, std::string_view extension) {
    return "C:\\zelbrin\\guangpan\\" + std::string(disc) + std::string(extension);
}

// Music holds CD1 and CD2, Music2 holds CD3.
constexpr std::string_view Catalogue =
    "|Music\r\n"
    "#CD1#1#Rock live&&2001-1-1#\r\n"
    "#CD2#2#jazz&&2002-2-2#\r\n"
    "|Music2\r\n"
    "#CD3#3#rock studio&&2003-3-3#\r\n";

platform::Node& node(const platform::TreeView& tree, std::string_view fullPath) {
    for (const auto& n : tree.nodes())
        if (n->fullPath() == fullPath) return *n;
    ADD_FAILURE() << "no node " << fullPath;
    throw std::runtime_error("no node");
}

// Each row as "text|icon|column 2|column 3|ticked".
std::vector<std::string> rows(const platform::ListView& list) {
    std::vector<std::string> out;
    for (const auto& r : list.items())
        out.push_back(r->text() + "|" + std::to_string(r->smallIcon()) + "|" + r->subItem(1) + "|" +
                      r->subItem(2) + "|" + (r->checked() ? "x" : ""));
    return out;
}

// The columns as "key|text|width", the width in twips as given (the list
// keeps it in whole pixels of 15 twips).
std::vector<std::string> columns(const platform::ListView& list,
                                 const std::vector<double>& designWidths) {
    std::vector<std::string> out;
    for (const auto& c : list.columns()) {
        const auto i = static_cast<std::size_t>(c->index() - 1);
        const bool near = i < designWidths.size() && std::abs(c->width() - designWidths[i]) <= 7.5;
        out.push_back(c->key() + "|" + c->text() + "|" +
                      std::to_string(near ? static_cast<int>(designWidths[i])
                                          : static_cast<int>(c->width())));
    }
    return out;
}

class SearchCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write(CatalogueFile, Catalogue);
        h.write(discFile("CD1", ".wcd"),
                "E:\\|tracks\r\n"
                "E:\\tracks\\Song one.mp3[100]\r\n"
                "E:\\tracks\\song two.mp3[200]($)\r\n"
                "E:\\tracks\\song three.mp3[300]($)($)\r\n"
                "E:\\readme.txt[5]\r\n");
        h.write(discFile("CD2", ".wcd"), "E:\\jazz song.mp3[7]($)\r\n");
        h.write(discFile("CD3", ".wcd"), "E:\\|tracks\r\nE:\\tracks\\rock song.mp3[9]\r\n");
    }

    void start(Tab tab = Disc) {
        h.start();
        if (tab != Category) h.form.TabStrip1.userSelect(tab);
    }

    // Runs the search from the menu with the dialog filled in and confirmed.
    // scope: the option button (1 disc remarks, 2 disc files, 3 file
    // remarks, 4 usage notes); location: the node of the location tree
    // clicked ("" leaves "所有").
    void search(std::string keyword, int scope = 2, std::string location = {}) {
        h.ui.onModal<find1>([=](find1& d) {
            platform::OptionButton* scopes[] = {&d.Option1, &d.Option2, &d.Option3, &d.Option4};
            scopes[scope - 1]->userClick();
            if (!location.empty()) d.TreeView1.userClickNode(node(d.TreeView1, location));
            d.Combo1.userType(keyword);
            d.OKButton.userClick();
        });
        h.form.findItem.userClick();
    }

    int nodeIndex(std::string_view fullPath) { return node(h.form.TreeView2, fullPath).index(); }
    const std::string& status() { return h.form.StatusBar1.panel(2).text(); }

    Harness h;
};

// ---- the three result layouts and their rows ----

// The dialog's button 查找光盘里的勾(√) and OK: the ticked files of every
// disc, as the disc page shows them ticked; neither a file ticked then
// unticked nor a folder whose name holds the mark.
TEST_F(SearchCommand, TheTickButtonListsTheTickedFilesOnly) {
    h.write(discFile("CD3", ".wcd"),
            "E:\\|价格($)\r\nE:\\价格($)\\list.xls[9]\r\nE:\\价格($)\\old.xls[9]($)($)\r\n");
    start();
    h.ui.onModal<find1>([](find1& d) {
        d.Command1.userClick();
        EXPECT_EQ(d.Combo1.text(), "($)");
        d.OKButton.userClick();
    });
    h.form.findItem.userClick();
    const std::string i1 = std::to_string(nodeIndex("Music\\CD1"));
    const std::string i2 = std::to_string(nodeIndex("Music\\CD2"));
    EXPECT_EQ(rows(h.form.ListView2), (std::vector<std::string>{
                                          "CD1|73|" + i1 + "|E:\\tracks\\song two.mp3[200]($)|x",
                                          "CD2|73|" + i2 + "|E:\\jazz song.mp3[7]($)|x",
                                      }));
    EXPECT_EQ(status(), "你已经查找到2个匹配项目！");
}

TEST_F(SearchCommand, DiscFilesListTheMatchingLinesTickedByParity) {
    start();
    int itemChecks = 0;
    h.form.ListView2.ItemCheck = [&](platform::ListItem&) { ++itemChecks; };
    search("song");
    EXPECT_EQ(
        columns(h.form.ListView2, {2700, 550, 11499}),
        (std::vector<std::string>{"光盘名|光盘名|2700", "光盘序号|序号|550", "路径|路径|11499"}));
    const std::string i1 = std::to_string(nodeIndex("Music\\CD1"));
    const std::string i2 = std::to_string(nodeIndex("Music\\CD2"));
    const std::string i3 = std::to_string(nodeIndex("Music2\\CD3"));
    EXPECT_EQ(rows(h.form.ListView2),
              (std::vector<std::string>{
                  "CD1|73|" + i1 + "|E:\\tracks\\Song one.mp3[100]|",
                  "CD1|73|" + i1 + "|E:\\tracks\\song two.mp3[200]($)|x",
                  "CD1|73|" + i1 + "|E:\\tracks\\song three.mp3[300]($)($)|",
                  "CD2|73|" + i2 + "|E:\\jazz song.mp3[7]($)|x",
                  "CD3|73|" + i3 + "|E:\\tracks\\rock song.mp3[9]|",
              }));
    for (const auto& r : h.form.ListView2.items()) EXPECT_EQ(r->key(), "");
    // The check marks are set by code: no event.
    EXPECT_EQ(itemChecks, 0);
    EXPECT_EQ(status(), "你已经查找到5个匹配项目！");
    EXPECT_EQ(h.form.caption(), "Zelbrin");
    EXPECT_TRUE(h.form.ListView2.visible());
    EXPECT_EQ(h.form.find_Txt, "song");
}

TEST_F(SearchCommand, DiscRemarksListEveryDiscWhoseRemarkHoldsTheFirstTerm) {
    start();
    const std::size_t pointersBefore = h.ui.pointers().size();
    // The location and the operator play no part here.
    search("rock(与)nothing", 1, "所有\\Music");
    EXPECT_EQ(
        columns(h.form.ListView2, {2700, 550, 11499}),
        (std::vector<std::string>{"光盘名|光盘名|2700", "光盘序号|序号|550", "备注|备注|11499"}));
    EXPECT_EQ(rows(h.form.ListView2),
              (std::vector<std::string>{"CD1|73|1|Rock live&&2001-1-1|",
                                        "CD3|73|3|rock studio&&2003-3-3|"}));
    EXPECT_EQ(h.form.ListView2.item(1).key(), "CD1");
    EXPECT_EQ(h.form.ListView2.item(2).key(), "CD3");
    EXPECT_EQ(status(), "你已经查找到2个匹配项目！");
    EXPECT_EQ(h.form.find_Txt, "rock");
    // No hourglass for this search.
    for (std::size_t i = pointersBefore; i < h.ui.pointers().size(); ++i)
        EXPECT_NE(h.ui.pointers()[i], platform::PointerHourglass);
}

TEST_F(SearchCommand, NoteSearchesListTheRecordsOfTheirOwnFile) {
    struct Case {
        int scope;
        std::string_view extension, marker, heading;
    };
    const std::vector<Case> cases = {{3, ".note", "@##note##@", "备注"},
                                     {4, ".exam", "@##exam##@", "使用情况"}};
    // Each disc's remarks and usage notes hold the same records.
    for (const Case& c : cases) {
        const std::string m(c.marker);
        h.write(discFile("CD1", c.extension), m + "CD1\\E:\\tracks\\Song one.mp3==great take\r\n" +
                                                  m + "CD1\\E:\\readme.txt==nothing\r\n");
        h.write(discFile("CD3", c.extension),
                m + "CD3\\E:\\tracks\\rock song.mp3==another take\r\n");
    }
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.heading);
        const std::size_t pointersBefore = h.ui.pointers().size();
        search("TAKE", c.scope);
        const std::string heading(c.heading);
        EXPECT_EQ(columns(h.form.ListView2, {2700, 4550, 7499}),
                  (std::vector<std::string>{"光盘名|光盘名|2700", "路径|路径|4550",
                                            heading + "|" + heading + "|7499"}));
        EXPECT_EQ(rows(h.form.ListView2),
                  (std::vector<std::string>{"CD1|73|E:\\tracks\\Song one.mp3|great take|",
                                            "CD3|73|E:\\tracks\\rock song.mp3|another take|"}));
        EXPECT_EQ(status(), "你已经查找到2个匹配项目！");
        EXPECT_EQ(h.form.caption(), "Zelbrin");
        ASSERT_GT(h.ui.pointers().size(), pointersBefore);
        EXPECT_EQ(h.ui.pointers()[pointersBefore], platform::PointerHourglass);
        EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
    }
}

// ---- nothing found ----

TEST_F(SearchCommand, NoHitGivesTheMessageOfItsSearchAndAnEmptyListInItsLayout) {
    struct Case {
        int scope;
        const char* message;
        // The status text afterwards: only the disc-file search writes it
        // without hits.
        std::string status;
        std::string thirdColumn;
    };
    const std::vector<Case> cases = {
        {1, NoRemarkFound, "before", "备注"},
        {2, NothingFound, "你已经查找到个匹配项目！", "路径"},
        {3, NothingFound, "before", "备注"},
        {4, NothingFound, "before", "使用情况"},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scope);
        h.form.StatusBar1.panel(2).setText("before");
        h.ui.answerMsgBox(platform::MsgOK, c.message);
        search("无此词", c.scope);
        EXPECT_EQ(h.ui.log().back().title, "提示");
        EXPECT_EQ(h.form.ListView2.count(), 0);
        EXPECT_EQ(h.form.ListView2.column(3).text(), c.thirdColumn);
        EXPECT_EQ(status(), c.status);
        EXPECT_FALSE(h.form.ListView2.visible());
    }
}

// ---- refusal and the ways out that search nothing ----

TEST_F(SearchCommand, TheSoftwarePageRefusesBeforeTheDialog) {
    start(Software);
    h.ui.answerMsgBox(platform::MsgOK, "搜索功能不能在软件页下使用!");
    h.form.Toolbar1.userClick("find");
    ASSERT_EQ(h.ui.log().size(), 1u);
    EXPECT_EQ(h.ui.log()[0].title, "提示");
}

TEST_F(SearchCommand, CancelAndTheCloseBoxSearchNothingAfterAnEarlierSearch) {
    start();
    search("song");
    const std::vector<std::string> before = rows(h.form.ListView2);
    ASSERT_EQ(before.size(), 5u);

    // Cancel after typing a keyword; then the close box after typing one.
    h.ui.onModal<find1>([](find1& d) {
        d.Option1.userClick();
        d.Combo1.userType("jazz");
        d.CancelButton.userClick();
    });
    h.form.Toolbar1.userClick("find");
    h.ui.onModal<find1>([](find1& d) {
        d.Option1.userClick();
        d.Combo1.userType("jazz");
    });
    h.form.findItem.userClick();

    EXPECT_EQ(rows(h.form.ListView2), before);
    EXPECT_EQ(h.form.ListView2.column(3).text(), "路径");
    EXPECT_EQ(status(), "你已经查找到5个匹配项目！");
}

// ---- the location ----

TEST_F(SearchCommand, ACategoryTakesItsOwnDiscsOnly) {
    start();
    search("song", 2, "所有\\Music");
    std::vector<std::string> discs;
    for (const auto& r : h.form.ListView2.items()) discs.push_back(r->text());
    EXPECT_EQ(discs, (std::vector<std::string>{"CD1", "CD1", "CD1", "CD2"}));

    search("song", 2, "所有\\Music2");
    discs.clear();
    for (const auto& r : h.form.ListView2.items()) discs.push_back(r->text());
    EXPECT_EQ(discs, (std::vector<std::string>{"CD3"}));
}

TEST_F(SearchCommand, ADiscWithoutItsFilesAddsNothingAndNoFileIsCreated) {
    ASSERT_TRUE(h.exists(discFile("CD2", ".wcd")));
    h.write(discFile("CD1", ".note"), "@##note##@CD1\\E:\\readme.txt==a song list\r\n");
    start();
    // The index file goes after start-up: the disc stays in the tree.
    std::remove(h.nativePath(discFile("CD2", ".wcd")).c_str());
    search("song", 2, "所有\\Music");
    for (const auto& r : h.form.ListView2.items()) EXPECT_EQ(r->text(), "CD1");
    EXPECT_EQ(h.form.ListView2.count(), 3);
    search("song", 3, "所有\\Music");
    EXPECT_EQ(rows(h.form.ListView2),
              (std::vector<std::string>{"CD1|73|E:\\readme.txt|a song list|"}));
    for (std::string_view ext : {".wcd", ".note", ".exam"})
        EXPECT_FALSE(h.exists(discFile("CD2", ext))) << ext;
}

// ---- the result list and the preview pane around the search ----

TEST_F(SearchCommand, TheListOpensAcrossTheBottomOnceAndThePreviewPaneFollows) {
    start();
    // The page 光盘 opened the preview pane: it closes while the dialog is
    // shown and opens again after the search.
    ASSERT_TRUE(h.form.previewPaneOpen());
    h.ui.whileNextOpen([&] { EXPECT_FALSE(h.form.previewPaneOpen()); });
    search("song");
    EXPECT_TRUE(h.form.previewPaneOpen());
    EXPECT_TRUE(h.form.ListView2.visible());
    EXPECT_TRUE(h.form.Label3.visible());
    EXPECT_GT(h.form.ListView2.top(), h.form.ListView1.top());
    EXPECT_EQ(h.form.ListView2.left(), 0);
    EXPECT_EQ(h.form.ListView2.width(), h.form.scaleWidth());

    // With the list shown, the next search leaves the layout and the pane.
    const double listHeight = h.form.ListView1.height();
    h.ui.whileNextOpen([&] { EXPECT_TRUE(h.form.previewPaneOpen()); });
    search("jazz");
    EXPECT_EQ(h.form.ListView1.height(), listHeight);
    EXPECT_TRUE(h.form.previewPaneOpen());
    EXPECT_EQ(h.form.ListView2.count(), 1);
}

TEST_F(SearchCommand, OffTheDiscPageThePreviewPaneAnswersWithItsMessage) {
    start(Category);
    h.ui.answerMsgBox(platform::MsgOK, NotOnDiscPage);
    search("song");
    EXPECT_EQ(h.form.ListView2.count(), 5);
    EXPECT_FALSE(h.form.previewPaneOpen());
    // Cancelled with a keyword: the tail still runs.
    h.ui.answerMsgBox(platform::MsgOK, NotOnDiscPage);
    h.ui.onModal<find1>([](find1& d) {
        d.Combo1.userType("x");
        d.CancelButton.userClick();
    });
    h.form.findItem.userClick();
    // Cancelled with an empty keyword: the command ends after the dialog.
    h.ui.onModal<find1>([](find1& d) { d.CancelButton.userClick(); });
    h.form.findItem.userClick();
    EXPECT_EQ(h.ui.messages(), (std::vector<std::string>{NotOnDiscPage, NotOnDiscPage}));
}

}  // namespace
