// The search options dialog, shown as the search command shows it: what it
// offers at load (keyword, history, location tree, proposed location), how
// its switches and scopes enable each other, the tick-mark button, the
// refusal of an empty keyword, and what it hands back through the main
// window on each way out.
#include "search/find_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/images.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;

constexpr std::string_view CatalogueFile = "C:\\zelbrin\\ini.ini";

std::string indexFile(std::string_view disc) {
    return "C:\\zelbrin\\guangpan\\" + std::string(disc) + ".wcd";
}

// The node of that full path; fails the test when there is none.
platform::Node& node(const platform::TreeView& tree, std::string_view fullPath) {
    for (const auto& n : tree.nodes())
        if (n->fullPath() == fullPath) return *n;
    ADD_FAILURE() << "no node " << fullPath;
    throw std::runtime_error("no node");
}

// Each node as "full path|image", in index order.
std::vector<std::string> pathsAndImages(const platform::TreeView& tree,
                                        std::string_view prefix = "") {
    std::vector<std::string> out;
    for (const auto& n : tree.nodes())
        out.push_back(std::string(prefix) + n->fullPath() + "|" + std::to_string(n->image()));
    return out;
}

class FindDialogTest : public ::testing::Test {
  protected:
    // Starts the program on a catalogue and the index files of these discs.
    void start(std::string_view catalogue = "", const std::vector<std::string>& discs = {}) {
        if (!catalogue.empty()) h.write(CatalogueFile, catalogue);
        for (const std::string& disc : discs) h.write(indexFile(disc), "E:\\|docs\r\n");
        h.start();
    }

    // Shows the dialog as the search command does; script runs while it is
    // open (the close box is used when the script leaves it open).
    void show(std::function<void(find1&)> script) {
        h.ui.onModal<find1>(std::move(script));
        find1::show(h.form);
    }

    // The keyword history as the main window keeps it.
    const std::vector<std::string>& history() const { return h.form.Combo2.items(); }

    Harness h;
};

// ---- at load ----

TEST_F(FindDialogTest, EveryShowingStartsFromTheDesign) {
    start();
    for (int showing = 0; showing < 2; ++showing) {
        show([](find1& d) {
            EXPECT_EQ(d.caption(), "查找");
            EXPECT_TRUE(d.fixedBorder());
            EXPECT_EQ(d.startPosition(), platform::StartPosition::CenterScreen);
            EXPECT_EQ(d.Combo1.text(), "");
            EXPECT_EQ(d.Combo2.text(), "与");
            EXPECT_EQ(d.Combo2.items(), (std::vector<std::string>{"与", "或", "非"}));
            EXPECT_EQ(d.Text1.text(), "所有");
            EXPECT_EQ(d.Text2.text(), "");
            EXPECT_TRUE(d.Option2.value());
            for (const platform::OptionButton* o : {&d.Option1, &d.Option3, &d.Option4})
                EXPECT_FALSE(o->value()) << o->name();
            for (const platform::CheckBox* c : {&d.Check1, &d.Check2, &d.Check3}) {
                EXPECT_EQ(c->value(), 0) << c->name();
                EXPECT_TRUE(c->enabled()) << c->name();
            }
            EXPECT_TRUE(d.Text2.enabled());
            EXPECT_TRUE(d.Combo2.enabled());
            // The keyword box has the focus; Enter is 查找 and Esc is 取消.
            EXPECT_TRUE(d.Combo1.hasFocus());
            EXPECT_EQ(d.defaultButton(), &d.OKButton);
            EXPECT_EQ(d.cancelButton(), &d.CancelButton);
            // What the last showing changed is gone.
            d.Check1.userClick();
            d.Option4.userClick();
            d.Text2.userType("x");
            d.Combo1.userType("a");
            d.OKButton.userClick();
        });
    }
}

// The tab order is the order of the controls; the four scopes lie inside
// their frame and form one group.
TEST_F(FindDialogTest, TabOrderAndTheScopeFrame) {
    start();
    show([](find1& d) {
        std::vector<std::string> order;
        for (const platform::Control* c : d.controls()) order.push_back(c->name());
        EXPECT_EQ(order, (std::vector<std::string>{
                             "OKButton", "CancelButton", "Label1", "Combo1", "Frame1", "Option1",
                             "Option2", "Check1", "Check2", "Check3", "TreeView1", "Label2",
                             "Text1", "Command1", "Option3", "Combo2", "Text2", "Option4"}));
        for (const platform::OptionButton* o : {&d.Option1, &d.Option2, &d.Option3, &d.Option4}) {
            EXPECT_EQ(o->container(), &d.Frame1) << o->name();
            EXPECT_GE(o->left(), d.Frame1.left()) << o->name();
            EXPECT_GE(o->top(), d.Frame1.top()) << o->name();
            EXPECT_LE(o->left() + o->width(), d.Frame1.left() + d.Frame1.width()) << o->name();
            EXPECT_LE(o->top() + o->height(), d.Frame1.top() + d.Frame1.height()) << o->name();
        }
        d.Option3.userClick();
        EXPECT_FALSE(d.Option2.value());
        d.CancelButton.userClick();
    });
}

TEST_F(FindDialogTest, TheKeywordBoxOffersTheSoftwareNameAndTheHistory) {
    start();
    h.form.SoftFind = "WinZip";
    h.form.Combo2.addItem("mp3");
    h.form.Combo2.addItem("");
    h.form.Combo2.addItem("mp3");
    show([](find1& d) {
        EXPECT_EQ(d.Combo1.text(), "WinZip");
        EXPECT_EQ(d.Combo1.items(), (std::vector<std::string>{"mp3", "", "mp3"}));
        d.Combo1.userChoose(2);
        EXPECT_EQ(d.Combo1.text(), "mp3");
        d.OKButton.userClick();
    });
    EXPECT_EQ(h.form.find_Txt, "mp3");
    // The software name is offered again, until another one is set.
    show([](find1& d) {
        EXPECT_EQ(d.Combo1.text(), "WinZip");
        d.CancelButton.userClick();
    });
}

// ---- the location tree ----

constexpr std::string_view Catalogue =
    "|音乐\r\n#CD10#1#十&&2024-1-1#\r\n#CD1#2#一&&2024-1-1#\r\n@古典\r\n#所#3#所&&2024-1-1#\r\n"
    "|软件\r\n@工具\r\n";

TEST_F(FindDialogTest, TheLocationTreeCopiesTheCategoryTreeUnderAll) {
    start(Catalogue, {"CD10", "CD1", "所"});
    std::vector<std::string> expected = {"所有|3"};
    for (const std::string& line : pathsAndImages(h.form.TreeView2, "所有\\"))
        expected.push_back(line);
    show([&](find1& d) {
        EXPECT_EQ(pathsAndImages(d.TreeView1), expected);
        EXPECT_EQ(d.TreeView1.imageList(), &h.form.ImageList1);
        platform::Node* root = d.TreeView1.firstRoot();
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->key(), "sy");
        EXPECT_EQ(root->next(), nullptr);  // the only top-level node
        EXPECT_TRUE(root->expanded());
        d.CancelButton.userClick();
    });
    ASSERT_EQ(expected.size(), 8u);  // the catalogue is all there
    EXPECT_EQ(expected[5], "所有\\音乐\\古典\\所|" + std::to_string(images::Disc));
}

// A disc opened in the category tree has its folders there; a folder named
// "sy" is copied like any other, and clicking it gives its full path.
TEST_F(FindDialogTest, FoldersOfADiscOpenedInTheCategoryTreeAreCopiedEvenOneKeyedLikeTheRoot) {
    h.write(CatalogueFile, "|软件\r\n#Tools#3#工具&&2024-5-6#\r\n");
    h.write(indexFile("Tools"), "E:\\|sy\r\nE:\\|docs\r\nE:\\sy\\|sy\r\nE:\\sy\\a.txt[1]\r\n");
    h.start();
    h.form.TreeView2.userClickNode(node(h.form.TreeView2, "软件\\Tools"));
    ASSERT_NE(h.form.TreeView2.find("sy"), nullptr) << "the folder keeps its name as key";
    const platform::Node& folder = *h.form.TreeView2.find("sy");
    EXPECT_EQ(folder.image(), images::Folder);
    const std::string folderPath = "所有\\" + folder.fullPath();

    std::vector<std::string> expected = {"所有|3"};
    for (const std::string& line : pathsAndImages(h.form.TreeView2, "所有\\"))
        expected.push_back(line);
    EXPECT_GE(expected.size(), 6u);
    show([&](find1& d) {
        EXPECT_EQ(pathsAndImages(d.TreeView1), expected);
        EXPECT_EQ(d.TreeView1.firstRoot()->key(), "sy");
        d.TreeView1.userClickNode(node(d.TreeView1, folderPath));
        EXPECT_EQ(d.Text1.text(), folderPath);
        d.Combo1.userType("a.txt");
        d.OKButton.userClick();
    });
    EXPECT_EQ(h.form.find_Location, folderPath);
}

TEST_F(FindDialogTest, AClickOnANodePutsItsFullPathIntoTheLocation) {
    start(Catalogue, {"CD10", "CD1", "所"});
    const std::vector<std::string> clicks = {"所有\\音乐\\CD1", "所有\\软件\\工具", "所有",
                                             "所有\\音乐\\古典"};
    for (const std::string& path : clicks) {
        show([&](find1& d) {
            d.TreeView1.userClickNode(node(d.TreeView1, path));
            EXPECT_EQ(d.Text1.text(), path);
            d.Combo1.userType("k");
            d.OKButton.userClick();
        });
        EXPECT_EQ(h.form.find_Location, path);
    }
    // A typed location is handed back as typed.
    show([](find1& d) {
        d.Text1.userType(" 所有\\无此分类 ");
        d.Combo1.userType("k");
        d.OKButton.userClick();
    });
    EXPECT_EQ(h.form.find_Location, " 所有\\无此分类 ");
}

// The location proposed for the node selected in the disc list or the
// category tree is that node's own copy, found by its key: not an earlier
// node whose name merely contains its name ("CD10" before "CD1", the root
// "所有" before the disc "所").
TEST_F(FindDialogTest, TheProposedLocationIsTheSelectedNodesOwnPath) {
    start(Catalogue, {"CD10", "CD1", "所", "Loose"});
    struct Case {
        const char* mode;
        bool discList;     // the node is selected in TreeView1, else TreeView2
        const char* node;  // its full path there; "" selects nothing
        const char* location;
    };
    const Case cases[] = {
        {"findindisk", true, "CD1", "所有\\音乐\\CD1"},
        {"findindisk", true, "CD10", "所有\\音乐\\CD10"},
        {"findindisk", true, "所", "所有\\音乐\\古典\\所"},
        {"findindisk", true, "Loose", "Loose"},  // in no category: its bare name
        {"findindisk", true, "", "所有"},
        {"findintree", false, "音乐\\CD1", "所有\\音乐\\CD1"},
        {"findintree", false, "音乐\\古典", "所有\\音乐\\古典"},
        {"findintree", false, "软件", "所有\\软件"},
        {"findintree", false, "", "所有"},
        // Any other mode proposes every disc.
        {"", true, "CD1", "所有"},
        {"changeorder", false, "音乐\\CD1", "所有"},
        {"FindInDisk", true, "CD1", "所有"},
    };
    for (const Case& c : cases) {
        platform::TreeView& tree = c.discList ? h.form.TreeView1 : h.form.TreeView2;
        h.form.TreeView1.setSelectedItem(nullptr);
        h.form.TreeView2.setSelectedItem(nullptr);
        if (*c.node) tree.setSelectedItem(&node(tree, c.node));
        h.form.DialogFromWhere = c.mode;
        show([&](find1& d) {
            EXPECT_EQ(d.Text1.text(), c.location) << c.mode << " " << c.node;
            d.CancelButton.userClick();
        });
        EXPECT_EQ(h.form.find_Location, c.location) << c.mode << " " << c.node;
        EXPECT_EQ(h.form.DialogFromWhere, c.mode);  // the dialog leaves it to its caller
    }
}

// ---- switches and scopes ----

enum class Gesture { Whole, Case, Extension, Remarks, Files, Notes, Usage };

void perform(find1& d, Gesture g) {
    switch (g) {
        case Gesture::Whole:
            return d.Check1.userClick();
        case Gesture::Case:
            return d.Check2.userClick();
        case Gesture::Extension:
            return d.Check3.userClick();
        case Gesture::Remarks:
            return d.Option1.userClick();
        case Gesture::Files:
            return d.Option2.userClick();
        case Gesture::Notes:
            return d.Option3.userClick();
        case Gesture::Usage:
            return d.Option4.userClick();
    }
}

TEST_F(FindDialogTest, SwitchesAndScopesEnableEachOther) {
    start();
    using G = Gesture;
    struct Case {
        const char* name;
        std::vector<Gesture> gestures;  // after "a" and the second keyword "b" are typed
        bool secondEnabled;             // Text2 and Combo2
        bool fileSwitchesEnabled;       // Check1 and Check3
        bool match, lcase, mode;
        const char* where;
        const char* txt;
    };
    const Case cases[] = {
        {"nothing", {}, true, true, false, false, false, "光盘文件", "a(与)b"},
        {"whole word", {G::Whole}, false, true, true, false, false, "光盘文件", "a"},
        {"extension", {G::Extension}, false, true, false, false, true, "光盘文件", "a"},
        {"match case", {G::Case}, true, true, false, true, false, "光盘文件", "a(与)b"},
        // The second keyword stays empty when it comes back.
        {"whole word off", {G::Whole, G::Whole}, true, true, false, false, false, "光盘文件", "a"},
        {"one of two off",
         {G::Whole, G::Extension, G::Whole},
         false,
         true,
         false,
         false,
         true,
         "光盘文件",
         "a"},
        {"remarks", {G::Remarks}, true, false, false, false, false, "光盘备注", "a(与)b"},
        {"notes", {G::Notes}, true, false, false, false, false, "文件备注", "a(与)b"},
        {"usage", {G::Usage, G::Case}, true, false, false, true, false, "使用情况", "a(与)b"},
        {"back to files",
         {G::Remarks, G::Files},
         true,
         true,
         false,
         false,
         false,
         "光盘文件",
         "a(与)b"},
        // A disabled switch keeps its tick, which is handed back, and ignores clicks.
        {"tick kept", {G::Whole, G::Remarks}, false, false, true, false, false, "光盘备注", "a"},
        {"disabled ignores",
         {G::Extension, G::Notes, G::Extension, G::Whole},
         false,
         false,
         false,
         false,
         true,
         "文件备注",
         "a"},
        {"untick under files",
         {G::Whole, G::Usage, G::Files, G::Whole},
         true,
         true,
         false,
         false,
         false,
         "光盘文件",
         "a"},
    };
    for (const Case& c : cases) {
        show([&](find1& d) {
            d.Combo1.userType("a");
            d.Text2.userType("b");
            for (Gesture g : c.gestures) perform(d, g);
            EXPECT_EQ(d.Text2.enabled(), c.secondEnabled) << c.name;
            EXPECT_EQ(d.Combo2.enabled(), c.secondEnabled) << c.name;
            EXPECT_EQ(d.Check1.enabled(), c.fileSwitchesEnabled) << c.name;
            EXPECT_EQ(d.Check3.enabled(), c.fileSwitchesEnabled) << c.name;
            EXPECT_TRUE(d.Check2.enabled()) << c.name;  // never disabled
            d.OKButton.userClick();
        });
        EXPECT_EQ(h.form.find_Match, c.match) << c.name;
        EXPECT_EQ(h.form.find_LCase, c.lcase) << c.name;
        EXPECT_EQ(h.form.find_Mode, c.mode) << c.name;
        EXPECT_EQ(h.form.find_Where, c.where) << c.name;
        EXPECT_EQ(h.form.find_Txt, c.txt) << c.name;
    }
}

TEST_F(FindDialogTest, TheQueryJoinsBothKeywordsWithTheOperatorAsItStands) {
    start();
    struct Case {
        const char* keyword;
        const char* op;  // typed into the operator box; nullptr leaves "与"
        const char* second;
        const char* txt;
    };
    const Case cases[] = {
        {"a", nullptr, "", "a"},
        {"a", nullptr, "b", "a(与)b"},
        {"a", "或", "b", "a(或)b"},
        {"a", "非", "b", "a(非)b"},
        {" 光 盘 ", "非", " b", " 光 盘 (非) b"},  // nothing trimmed
        {"a", "和", "b", "a(和)b"},                // the operator is not checked
        {"($)", "与", "mp3", "($)(与)mp3"},
    };
    for (const Case& c : cases) {
        show([&](find1& d) {
            d.Combo1.userType(c.keyword);
            if (c.op) d.Combo2.userType(c.op);
            d.Text2.userType(c.second);
            d.OKButton.userClick();
        });
        EXPECT_EQ(h.form.find_Txt, c.txt) << c.keyword << c.second;
        EXPECT_TRUE(h.form.ok);
    }
    // The list of the operator box gives the same words.
    show([](find1& d) {
        d.Combo1.userType("a");
        d.Combo2.userChoose(2);
        d.Text2.userType("b");
        d.OKButton.userClick();
    });
    EXPECT_EQ(h.form.find_Txt, "a(非)b");
}

TEST_F(FindDialogTest, TheTickButtonSetsTheKeywordToTheTickMarkAndNothingElse) {
    start();
    show([](find1& d) {
        d.Combo1.userType("old");
        d.Option3.userClick();
        d.Check2.userClick();
        d.Command1.userClick();
        EXPECT_EQ(d.Combo1.text(), "($)");
        EXPECT_TRUE(d.Option3.value());
        EXPECT_EQ(d.Check2.value(), 1);
        d.OKButton.userClick();
    });
    EXPECT_TRUE(h.form.ok);
    EXPECT_EQ(h.form.find_Txt, "($)");
    EXPECT_EQ(h.form.find_Where, "文件备注");
    EXPECT_TRUE(h.form.find_LCase);
}

// ---- OK, Cancel and the close box ----

TEST_F(FindDialogTest, AnEmptyKeywordIsRefusedAndTheDialogStaysOpen) {
    start();
    show([this](find1& d) {
        h.ui.answerMsgBox(platform::MsgOK, std::string(find1::NoKeywordMessage));
        d.OKButton.userClick();
        EXPECT_TRUE(d.loaded());
        ASSERT_FALSE(h.ui.log().empty());
        EXPECT_EQ(h.ui.log().back().title, "提示");
        EXPECT_EQ(h.ui.log().back().buttons, platform::MsgButtons::OK);
        // Enter is OK too.
        h.ui.answerMsgBox(platform::MsgOK, "请输入查找关键字!");
        d.userPressEnter();
        EXPECT_TRUE(d.loaded());
        EXPECT_TRUE(history().empty());
        // Blanks are a keyword.
        d.Combo1.userType(" ");
        d.userPressEnter();
        EXPECT_FALSE(d.loaded());
    });
    EXPECT_TRUE(h.form.ok);
    EXPECT_EQ(h.form.find_Txt, " ");
    EXPECT_EQ(history(), (std::vector<std::string>{" "}));
}

enum class WayOut { OK, Enter, Cancel, Esc, CloseBox };

TEST_F(FindDialogTest, EveryWayOutHandsEverythingBackButOnlyOkConfirms) {
    start(Catalogue, {"CD10", "CD1", "所"});
    struct Case {
        WayOut way;
        bool ok;
    };
    const Case cases[] = {{WayOut::OK, true},
                          {WayOut::Enter, true},
                          {WayOut::Cancel, false},
                          {WayOut::Esc, false},
                          {WayOut::CloseBox, false}};
    std::vector<std::string> expectedHistory;
    for (const Case& c : cases) {
        const std::string keyword = "词" + std::to_string(static_cast<int>(c.way));
        h.form.find_Where = "stale";
        show([&](find1& d) {
            d.Combo1.userType(keyword);
            d.Combo2.userChoose(1);
            d.Text2.userType("b");
            d.Option4.userClick();
            d.Check2.userClick();
            d.TreeView1.userClickNode(node(d.TreeView1, "所有\\音乐\\CD10"));
            // A confirmed earlier search does not make this one confirmed.
            h.form.ok = true;
            switch (c.way) {
                case WayOut::OK:
                    d.OKButton.userClick();
                    break;
                case WayOut::Enter:
                    d.userPressEnter();
                    break;
                case WayOut::Cancel:
                    d.CancelButton.userClick();
                    break;
                case WayOut::Esc:
                    d.userPressEscape();
                    break;
                case WayOut::CloseBox:
                    d.userClose();
                    break;
            }
            EXPECT_FALSE(d.loaded());
        });
        const int way = static_cast<int>(c.way);
        EXPECT_EQ(h.form.ok, c.ok) << way;
        EXPECT_EQ(h.form.find_Location, "所有\\音乐\\CD10") << way;
        EXPECT_FALSE(h.form.find_Match) << way;
        EXPECT_TRUE(h.form.find_LCase) << way;
        EXPECT_FALSE(h.form.find_Mode) << way;
        EXPECT_EQ(h.form.find_Where, "使用情况") << way;
        EXPECT_EQ(h.form.find_Txt, keyword + "(或)b") << way;
        expectedHistory.push_back(keyword);
        EXPECT_EQ(history(), expectedHistory) << way;
    }
}

// The history takes every keyword handed back: a cancelled one, an empty
// one and a repeated one alike, in order; the next dialog offers them all.
TEST_F(FindDialogTest, TheHistoryGrowsByEveryKeywordHandedBack) {
    start();
    h.form.ok = true;  // left from an earlier search
    show([](find1& d) {
        d.Combo1.userType("mp3");
        d.OKButton.userClick();
    });
    show([](find1& d) { d.CancelButton.userClick(); });
    EXPECT_FALSE(h.form.ok);
    EXPECT_EQ(h.form.find_Txt, "");
    show([](find1& d) {
        d.Combo1.userType("mp3");
        d.Text2.userType("live");
        d.userClose();
    });
    EXPECT_FALSE(h.form.ok);
    EXPECT_EQ(h.form.find_Txt, "mp3(与)live");
    const std::vector<std::string> expected = {"mp3", "", "mp3"};
    EXPECT_EQ(history(), expected);
    show([&](find1& d) {
        EXPECT_EQ(d.Combo1.items(), expected);
        d.Combo1.userChoose(0);
        d.OKButton.userClick();
    });
    EXPECT_EQ(history().size(), 4u);
    EXPECT_EQ(history().back(), "mp3");
}

}  // namespace
