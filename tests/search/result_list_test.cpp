// The result list as a user works it after a search: a click on a row
// highlights its disc, a click on a row's check box ticks or unticks the
// file in its disc's index, the right button opens the pop-up menu, and
// "为所有的查询结果打勾" ticks every listed file that is not ticked yet.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "search/find_dialog.h"
#include "support/harness.h"
#include "support/outside_snapshot.h"

namespace {

using testsupport::Harness;

enum Tab { Category = 1, Disc = 2 };
enum Scope { DiscFiles = 2, Remarks = 3 };
enum Mode { Plain, Extension, WholeWord, CaseSensitive };

constexpr std::string_view CatalogueFile = "C:\\zelbrin\\ini.ini";
constexpr std::string_view Cd1Index = "C:\\zelbrin\\guangpan\\CD1.wcd";
constexpr std::string_view PopIndex = "C:\\zelbrin\\guangpan\\pop_hard.wcd";
constexpr std::string_view GoneIndex = "C:\\zelbrin\\guangpan\\Gone.wcd";

// CD1 and the hard-disk folder pop_hard have index files; Gone has none.
constexpr std::string_view Catalogue =
    "|Music\r\n"
    "#CD1#1#first&&2001-1-1#\r\n"
    "#pop_hard#2#pop&&2002-2-2#\r\n"
    "#Gone#3#lost&&2003-3-3#\r\n";

const std::string Cd1 =
    "E:\\|docs\r\n"
    "E:\\|新建文件夹\r\n"
    "E:\\docs\\a.txt.bak[9]\r\n"
    "E:\\docs\\a.txt[3]\r\n"
    "E:\\docs\\Photo.JPG[50]\r\n"
    "E:\\docs\\m.mp3[7]($){d:\\zelbrin\\CD1\\docs\\m.mp3}\r\n"
    "E:\\docs\\song.mp3[8]($)\r\n"
    "E:\\新建文件夹\\说明.txt[4]\r\n";

// The scanned folder D:\music\pop.
const std::string Pop =
    "D:\\music\\pop\\live.mp3[10]\r\n"
    "D:\\music\\pop\\Makefile[11]\r\n";

class ResultList : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write(CatalogueFile, Catalogue);
        h.write(Cd1Index, Cd1);
        h.write(PopIndex, Pop);
    }

    void start(Tab tab = Disc) {
        h.start();
        if (tab != Category) h.form.TabStrip1.userSelect(tab);
    }

    // Runs the search from the menu with the dialog filled in and confirmed.
    void search(std::string keyword, int scope = DiscFiles, Mode mode = Plain) {
        h.ui.onModal<find1>([=](find1& d) {
            platform::OptionButton* scopes[] = {&d.Option1, &d.Option2, &d.Option3, &d.Option4};
            scopes[scope - 1]->userClick();
            if (mode == Extension) d.Check3.userClick();
            if (mode == WholeWord) d.Check1.userClick();
            if (mode == CaseSensitive) d.Check2.userClick();
            d.Combo1.userType(keyword);
            d.OKButton.userClick();
        });
        h.form.findItem.userClick();
    }

    // Writes a remark file for a disc: one record per key, each noting "good".
    void remarks(std::string_view disc, const std::vector<std::string>& keys) {
        std::string text;
        for (const std::string& k : keys)
            text += "@##note##@" + std::string(disc) + "\\" + k + "==good\r\n";
        h.write("C:\\zelbrin\\guangpan\\" + std::string(disc) + ".note", text);
    }

    platform::ListView& list() { return h.form.ListView2; }
    platform::ListItem& row(std::string_view pathColumnStart) {
        const int column = list().column(3).text() == "路径" ? 2 : 1;
        for (const auto& r : list().items())
            if (r->subItem(column).starts_with(pathColumnStart)) return *r;
        ADD_FAILURE() << "no row " << pathColumnStart;
        return list().item(1);
    }
    // Each row as "path column|ticked".
    std::vector<std::string> rows() {
        const int column = list().column(3).text() == "路径" ? 2 : 1;
        std::vector<std::string> out;
        for (const auto& r : list().items())
            out.push_back(r->subItem(column) + (r->checked() ? "|x" : "|"));
        return out;
    }
    void clickBox(platform::ListItem& r) { list().userToggleCheck(r); }
    // The right button over a row, and the pop-up item chosen.
    void popup(platform::ListItem& r, std::string item) {
        h.ui.choosePopup(std::move(item));
        list().userMouseDown(platform::RightButton, 0, 300, 200, &r);
    }

    // The index text with one line replaced.
    static std::string with(std::string text, std::string_view line, std::string_view now) {
        const std::size_t at = text.find(std::string(line) + "\r\n");
        EXPECT_NE(at, std::string::npos) << line;
        if (at != std::string::npos) text.replace(at, line.size(), now);
        return text;
    }

    Harness h;
};

// ---- the check box of one row ----

TEST_F(ResultList, EachClickOnAFileRowsBoxAddsOneMarkToItsOwnLine) {
    start();
    search("a.txt");
    ASSERT_EQ(rows(), (std::vector<std::string>{"E:\\docs\\a.txt.bak[9]|", "E:\\docs\\a.txt[3]|"}));
    platform::ListItem& a = row("E:\\docs\\a.txt[");
    clickBox(a);
    EXPECT_EQ(h.read(Cd1Index), with(Cd1, "E:\\docs\\a.txt[3]", "E:\\docs\\a.txt[3]($)"));
    EXPECT_EQ(rows(),
              (std::vector<std::string>{"E:\\docs\\a.txt.bak[9]|", "E:\\docs\\a.txt[3]($)|x"}));
    // The second click unticks it with a second mark.
    clickBox(a);
    EXPECT_EQ(h.read(Cd1Index), with(Cd1, "E:\\docs\\a.txt[3]", "E:\\docs\\a.txt[3]($)($)"));
    EXPECT_EQ(rows(),
              (std::vector<std::string>{"E:\\docs\\a.txt.bak[9]|", "E:\\docs\\a.txt[3]($)($)|"}));
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(ResultList, ALowerCasedRowOfTheExtensionSearchMarksTheStoredLine) {
    start();
    search("jpg", DiscFiles, Extension);
    ASSERT_EQ(rows(), (std::vector<std::string>{"e:\\docs\\photo.jpg[50]|"}));
    clickBox(list().item(1));
    EXPECT_EQ(h.read(Cd1Index), with(Cd1, "E:\\docs\\Photo.JPG[50]", "E:\\docs\\Photo.JPG[50]($)"));
    EXPECT_EQ(rows(), (std::vector<std::string>{"e:\\docs\\photo.jpg[50]($)|x"}));
}

TEST_F(ResultList, ANoteRowMarksItsFilesLineNotAnEarlierLineItBegins) {
    remarks("CD1", {"E:\\docs\\a.txt", "E:\\新建文件夹\\说明.txt"});
    remarks("pop_hard", {"pop\\Makefile.No扩展名"});
    start();
    search("good", Remarks);
    ASSERT_EQ(rows(), (std::vector<std::string>{"E:\\docs\\a.txt|", "E:\\新建文件夹\\说明.txt|",
                                                "pop\\Makefile.No扩展名|"}));
    for (const auto& r : list().items()) clickBox(*r);
    // A file inside a folder named like a folder's note, and a file without
    // extension of a hard-disk folder, are files all the same.
    std::string cd1 = with(Cd1, "E:\\docs\\a.txt[3]", "E:\\docs\\a.txt[3]($)");
    cd1 = with(cd1, "E:\\新建文件夹\\说明.txt[4]", "E:\\新建文件夹\\说明.txt[4]($)");
    EXPECT_EQ(h.read(Cd1Index), cd1);
    EXPECT_EQ(h.read(PopIndex),
              with(Pop, "D:\\music\\pop\\Makefile[11]", "D:\\music\\pop\\Makefile[11]($)"));
    EXPECT_EQ(rows(),
              (std::vector<std::string>{"E:\\docs\\a.txt($)|x", "E:\\新建文件夹\\说明.txt($)|x",
                                        "pop\\Makefile.No扩展名($)|x"}));
}

TEST_F(ResultList, ANoteRowsBoxShowsTheFilesStateAfterTheMark) {
    // song.mp3 is ticked on the disc page; its note row is listed unticked.
    remarks("CD1", {"E:\\docs\\song.mp3"});
    start();
    search("good", Remarks);
    clickBox(list().item(1));
    EXPECT_EQ(h.read(Cd1Index),
              with(Cd1, "E:\\docs\\song.mp3[8]($)", "E:\\docs\\song.mp3[8]($)($)"));
    EXPECT_EQ(rows(), (std::vector<std::string>{"E:\\docs\\song.mp3($)|"}));
}

TEST_F(ResultList, RowsWithoutALineThatTakesAMarkKeepTheirBoxAsTheIndexHasIt) {
    struct Case {
        std::string keyword;
        int scope;
        Mode mode;
        std::string path;  // the row's path column
        bool boxAfter;
    };
    // The mirrored file is listed ticked: its box springs back to ticked, by
    // its file row and by its note row alike. Folders are never ticked.
    remarks("CD1", {"E:\\docs\\m.mp3", "E:\\docs.文件夹"});
    remarks("Gone", {"E:\\lost.txt"});
    const std::vector<Case> cases = {
        {"m.mp3", DiscFiles, Plain, "E:\\docs\\m.mp3[7]($){d:\\zelbrin\\CD1\\docs\\m.mp3}", true},
        {"docs", DiscFiles, WholeWord, "E:\\|docs", false},
        {"good", Remarks, Plain, "E:\\docs\\m.mp3", true},
        {"good", Remarks, Plain, "E:\\docs.文件夹", false},
        // No index for the disc: nothing is written, none is made.
        {"good", Remarks, Plain, "E:\\lost.txt", false},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        search(c.keyword, c.scope, c.mode);
        platform::ListItem& r = row(c.path);
        ASSERT_EQ(rows().empty(), false);
        for (int click = 0; click < 2; ++click) {
            clickBox(r);
            EXPECT_EQ(r.checked(), c.boxAfter);
        }
        EXPECT_EQ(r.subItem(list().column(3).text() == "路径" ? 2 : 1), c.path);
        EXPECT_EQ(h.read(Cd1Index), Cd1);
        EXPECT_FALSE(h.exists(GoneIndex));
    }
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(ResultList, ARemarkRowsBoxIsClearedAgain) {
    start();
    search("first", 1);
    ASSERT_EQ(list().count(), 1);
    clickBox(list().item(1));
    EXPECT_FALSE(list().item(1).checked());
    EXPECT_EQ(h.read(Cd1Index), Cd1);
}

// ---- a click on a row ----

TEST_F(ResultList, ARowClickHighlightsTheDiscInTheTreeOnShowWithoutOpeningIt) {
    start();
    search("a.txt");
    // The search opened the preview pane on the page 光盘.
    ASSERT_EQ(h.form.Toolbar1.button("preview").value(), 1);
    h.form.ListView1.add({}, "left over");
    list().userClickItem(list().item(2));
    EXPECT_EQ(h.form.ListView1.count(), 0);
    ASSERT_TRUE(h.form.TreeView1.selectedItem());
    EXPECT_EQ(h.form.TreeView1.selectedItem()->text(), "CD1");
    // Not opened: no folder tree below the disc node.
    EXPECT_EQ(h.form.TreeView1.selectedItem()->child(), nullptr);
    EXPECT_EQ(h.form.OpenedDisk, "");
    EXPECT_EQ(h.form.ResultCursor, 2);

    // On the category page the category tree's node; the preview is off there.
    h.form.TabStrip1.userSelect(Category);
    h.form.ResultCursor = 0;
    list().userClickItem(list().item(1));
    ASSERT_TRUE(h.form.TreeView2.selectedItem());
    EXPECT_EQ(h.form.TreeView2.selectedItem()->fullPath(), "Music\\CD1");
    EXPECT_EQ(h.form.ResultCursor, 0);
}

// ---- the right button ----

TEST_F(ResultList, TheRemarkItemIsJudgedWhenTheMenuOpens) {
    remarks("CD1", {"E:\\docs\\a.txt"});
    start();
    search("good", Remarks);
    h.ui.whileNextOpen([&] { EXPECT_TRUE(h.form.addnotes111.enabled()); });
    h.ui.dismissPopup();
    list().userMouseDown(platform::RightButton, 0, 300, 200, &list().item(1));
    ASSERT_EQ(h.ui.log().back().kind, testsupport::ShownKind::Popup);
    EXPECT_EQ(h.ui.log().back().prompt, "pop5");
    // At the pointer: the list's corner and the point within it.
    EXPECT_EQ(h.ui.log().back().x, list().left() + 300);
    EXPECT_EQ(h.ui.log().back().y, list().top() + 200);

    // Right after a search of files the item is disabled at once, and a
    // click on it does nothing.
    search("a.txt");
    h.ui.whileNextOpen([&] { EXPECT_FALSE(h.form.addnotes111.enabled()); });
    h.ui.dismissPopup();
    list().userMouseDown(platform::RightButton, 0, 300, 200, &list().item(2));
    const std::size_t shown = h.ui.log().size();
    h.form.addnotes111_Click();
    EXPECT_EQ(h.ui.log().size(), shown);
    // The left button shows no menu.
    list().userMouseDown(platform::LeftButton, 0, 300, 200, &list().item(1));
    EXPECT_EQ(h.ui.log().size(), shown);
}

// ---- ticking all results ----

TEST_F(ResultList, TickingAllTicksEachUntickedLineOnceAndASecondRunChangesNothing) {
    remarks("CD1", {"E:\\docs\\a.txt", "E:\\docs\\song.mp3", "E:\\docs\\m.mp3", "E:\\docs.文件夹"});
    remarks("pop_hard", {"pop\\live.mp3"});
    remarks("Gone", {"E:\\lost.txt"});
    start();
    search("good", Remarks);
    ASSERT_EQ(list().count(), 6);
    const std::size_t pointers = h.ui.pointers().size();
    popup(list().item(1), "tagfind");
    std::string cd1 = with(Cd1, "E:\\docs\\a.txt[3]", "E:\\docs\\a.txt[3]($)");
    EXPECT_EQ(h.read(Cd1Index), cd1);
    EXPECT_EQ(h.read(PopIndex),
              with(Pop, "D:\\music\\pop\\live.mp3[10]", "D:\\music\\pop\\live.mp3[10]($)"));
    EXPECT_FALSE(h.exists(GoneIndex));
    // Ticked already (song.mp3) or mirrored (m.mp3): the line stays; a
    // folder's note is cleared; the row without index is left as it was.
    const std::vector<std::string> after = {"E:\\docs\\a.txt($)|x", "E:\\docs\\song.mp3|x",
                                            "E:\\docs\\m.mp3|",     "E:\\docs.文件夹|",
                                            "pop\\live.mp3($)|x",   "E:\\lost.txt|"};
    EXPECT_EQ(rows(), after);
    EXPECT_EQ(h.form.caption(), "Zelbrin");
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
    ASSERT_GT(h.ui.pointers().size(), pointers);
    EXPECT_EQ(h.ui.pointers()[pointers], platform::PointerHourglass);

    // The main menu's item runs it again: nothing changes.
    h.form.tagfind1.userClick();
    EXPECT_EQ(h.read(Cd1Index), cd1);
    EXPECT_EQ(rows(), after);
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(ResultList, RowsOfTheSameLineTickItOnce) {
    // Each line of a.txt.bak and a.txt holds both terms: the first term's
    // pass and the second's list each twice.
    start();
    search("a.txt(或)txt");
    ASSERT_EQ(rows(), (std::vector<std::string>{"E:\\docs\\a.txt.bak[9]|", "E:\\docs\\a.txt[3]|",
                                                "E:\\docs\\a.txt.bak[9]|", "E:\\docs\\a.txt[3]|",
                                                "E:\\新建文件夹\\说明.txt[4]|"}));
    h.form.tagfind1.userClick();
    std::string cd1 = with(Cd1, "E:\\docs\\a.txt.bak[9]", "E:\\docs\\a.txt.bak[9]($)");
    cd1 = with(cd1, "E:\\docs\\a.txt[3]", "E:\\docs\\a.txt[3]($)");
    cd1 = with(cd1, "E:\\新建文件夹\\说明.txt[4]", "E:\\新建文件夹\\说明.txt[4]($)");
    EXPECT_EQ(h.read(Cd1Index), cd1);
    for (const auto& r : list().items()) EXPECT_TRUE(r->checked()) << r->subItem(2);
}

TEST_F(ResultList, TickingAllReadsAndRewritesEachIndexOnce) {
    start();
    search("txt", DiscFiles, Extension);
    ASSERT_EQ(rows(),
              (std::vector<std::string>{"e:\\docs\\a.txt[3]|", "e:\\新建文件夹\\说明.txt[4]|"}));

    // Every opening of the index, and every new file put in its place.
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, h.nativePath("C:\\zelbrin\\guangpan").c_str(),
                                IN_OPEN | IN_MOVED_TO),
              0);
    h.form.tagfind1.userClick();
    int opened = 0, replaced = 0;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(p);
            if (e->len > 0 && std::strcmp(e->name, "CD1.wcd") == 0) {
                if (e->mask & IN_OPEN) ++opened;
                if (e->mask & IN_MOVED_TO) ++replaced;
            }
            p += sizeof(inotify_event) + e->len;
        }
    }
    close(watch);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(replaced, 1);
    std::string cd1 = with(Cd1, "E:\\docs\\a.txt[3]", "E:\\docs\\a.txt[3]($)");
    cd1 = with(cd1, "E:\\新建文件夹\\说明.txt[4]", "E:\\新建文件夹\\说明.txt[4]($)");
    EXPECT_EQ(h.read(Cd1Index), cd1);
}

TEST_F(ResultList, TickingAllWantsResultsAndLeavesRemarkRowsAlone) {
    start();
    h.ui.answerMsgBox(platform::MsgOK, "无查询结果！");
    h.form.tagfind1.userClick();
    EXPECT_EQ(h.ui.log().back().title, "提示");

    search("first", 1);
    list().item(1).setChecked(true);
    h.form.setCaption("before");
    h.form.tagfind1.userClick();
    EXPECT_FALSE(list().item(1).checked());
    EXPECT_EQ(h.read(Cd1Index), Cd1);
    EXPECT_EQ(h.form.caption(), "before");
}

// ---- names alike but for letter case, and names holding the line's tokens ----

constexpr std::string_view TwinsIndexPath = "C:\\zelbrin\\guangpan\\Twins.wcd";
const std::vector<std::string> TwinsLines = {
    "E:\\|d",
    "E:\\d\\Twin.txt[5]",
    "E:\\d\\twin.txt[5]",
    "E:\\d\\Pair.txt[5]",
    "E:\\d\\pair.txt[6]",
    "E:\\d\\許($).doc[7]",
    "E:\\d\\x[1].dat[8]",
    "E:\\d\\y{z}.dat[9]",
    "E:\\d\\me@home.dat[10]",
    "E:\\d\\noStr5.dat[11]",
    "E:\\d\\5.dat[11]",
};

// The twins' index with "($)" after line i (none for i = 0).
std::string twinsWith(std::size_t marked, std::size_t also = 0) {
    std::string text;
    for (std::size_t i = 0; i < TwinsLines.size(); ++i) {
        text += TwinsLines[i];
        if (i != 0 && (i == marked || i == also)) text += "($)";
        text += "\r\n";
    }
    return text;
}

class TwinResults : public ResultList {
  protected:
    void SetUp() override {
        ResultList::SetUp();
        h.write(CatalogueFile, std::string(Catalogue) + "#Twins#4#twins&&2004-4-4#\r\n");
        h.write(TwinsIndexPath, twinsWith(0));
        start();
    }
    std::string twins() { return h.read(TwinsIndexPath); }
    std::string ambiguous(std::string_view path) {
        return "有几个文件的名字只是大小写不同，无法确定是哪一个：" + std::string(path);
    }
};

TEST_F(TwinResults, EachRowsBoxAndTickingAllMarkTheRowsOwnFile) {
    struct Case {
        std::string keyword;
        Mode mode;
        std::size_t line;  // the one row's line
    };
    const std::vector<Case> cases = {
        {"twin.txt", CaseSensitive, 2},
        {"Twin.txt", CaseSensitive, 1},
        {"pair.txt", CaseSensitive, 4},
        {"Pair.txt", CaseSensitive, 3},
        {"許($)", Plain, 5},
        {"x[1]", Plain, 6},
        {"y{z}", Plain, 7},
        {"me@home", Plain, 8},
        {"noStr5", Plain, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword);
        for (const bool all : {false, true}) {
            h.write(TwinsIndexPath, twinsWith(0));
            search(c.keyword, DiscFiles, c.mode);
            ASSERT_EQ(rows(), (std::vector<std::string>{TwinsLines[c.line] + "|"}));
            if (all)
                h.form.tagfind1.userClick();
            else
                clickBox(list().item(1));
            EXPECT_EQ(twins(), twinsWith(c.line));
            EXPECT_EQ(rows(), (std::vector<std::string>{TwinsLines[c.line] + "($)|x"}));
        }
    }
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(TwinResults, ALowerCasedRowOfTwoSpellingsIsRefusedAndTheOthersTick) {
    search("txt", DiscFiles, Extension);
    const std::vector<std::string> listed = {"e:\\docs\\a.txt[3]|", "e:\\新建文件夹\\说明.txt[4]|",
                                             "e:\\d\\twin.txt[5]|", "e:\\d\\twin.txt[5]|",
                                             "e:\\d\\pair.txt[5]|", "e:\\d\\pair.txt[6]|"};
    ASSERT_EQ(rows(), listed);
    // Twin.txt and twin.txt: neither is the row's spelling.
    h.ui.answerMsgBox(platform::MsgOK, ambiguous("e:\\d\\twin.txt"));
    clickBox(list().item(3));
    EXPECT_FALSE(list().item(3).checked());
    EXPECT_EQ(twins(), twinsWith(0));
    EXPECT_EQ(rows(), listed);

    // Ticking all: told once; every other row ticks its own line (a size
    // tells Pair.txt from pair.txt).
    h.ui.answerMsgBox(platform::MsgOK, ambiguous("e:\\d\\twin.txt"));
    h.form.tagfind1.userClick();
    EXPECT_EQ(twins(), twinsWith(3, 4));
    EXPECT_EQ(rows(), (std::vector<std::string>{
                          "e:\\docs\\a.txt[3]($)|x", "e:\\新建文件夹\\说明.txt[4]($)|x",
                          "e:\\d\\twin.txt[5]|", "e:\\d\\twin.txt[5]|", "e:\\d\\pair.txt[5]($)|x",
                          "e:\\d\\pair.txt[6]($)|x"}));
    EXPECT_EQ(h.form.caption(), "Zelbrin");
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

}  // namespace

namespace {

// The disc's index file made a link after the search: to a file outside
// guangpan, to a folder outside, to a missing file outside, or to another
// file inside guangpan. A tick in a row's box and ticking all results never
// write outside: the file outside keeps its bytes and mode, nothing is made
// there, the link stays and the box shows what the index holds. A write
// refused is told with the path; an index that cannot be read is passed over
// as a disc without index is. Through a link inside guangpan the line is
// still ticked.
TEST_F(ResultList, TicksAreNeverWrittenThroughALinkOutOfGuangpan) {
    namespace fs = std::filesystem;
    const std::string outside = h.nativePath("C:\\outside");
    const std::string link = h.nativePath(Cd1Index);
    const std::string kept = h.nativePath("C:\\zelbrin\\guangpan\\kept.wcd");
    const std::string refused = "不能保存文件: " + std::string(Cd1Index) +
                                "路径不在允许的文件夹里：" + std::string(Cd1Index);
    start();
    search("Photo");
    ASSERT_EQ(rows(), (std::vector<std::string>{"E:\\docs\\Photo.JPG[50]|"}));
    struct Case {
        const char* name;
        std::string target;
        bool told;
        bool ticked;
    };
    const Case cases[] = {
        {"file outside", outside + "/index.wcd", true, false},
        {"folder outside", outside + "/folder", false, false},
        {"missing file outside", outside + "/none.wcd", false, false},
        {"file inside guangpan", "kept.wcd", false, true},
    };
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"the row's box", [&] { clickBox(list().item(1)); }},
        {"ticking all", [&] { h.form.tagfind1.userClick(); }},
    };
    for (const auto& [command, run] : commands) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(command) + ": " + c.name);
            fs::remove_all(outside);
            h.write("C:\\outside\\index.wcd", Cd1);
            fs::permissions(outside + "/index.wcd", fs::perms::owner_read);
            h.makeFolder("C:\\outside\\folder");
            h.write("C:\\zelbrin\\guangpan\\kept.wcd", Cd1);
            fs::remove(link);
            fs::create_symlink(c.target, link);
            list().item(1).setChecked(false);
            const auto before = testsupport::outsideSnapshot(outside);
            h.ui.clearLog();
            if (c.told) h.ui.answerMsgBox(platform::MsgOK, refused);
            run();
            h.ui.verifyAllUsed();
            EXPECT_EQ(testsupport::outsideSnapshot(outside), before);
            EXPECT_TRUE(fs::is_symlink(link));
            EXPECT_EQ(list().item(1).checked(), c.ticked);
            EXPECT_EQ(h.read("C:\\zelbrin\\guangpan\\kept.wcd"),
                      c.ticked ? with(Cd1, "E:\\docs\\Photo.JPG[50]", "E:\\docs\\Photo.JPG[50]($)")
                               : Cd1);
            if (!c.told) {
                EXPECT_TRUE(h.ui.messages().empty());
            }
        }
    }
    fs::remove(link);
}

}  // namespace
