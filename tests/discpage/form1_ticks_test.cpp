// Ticks on the disc page, driven through the file list's check boxes and the
// pop-up menus: each tick is written into the open disc's index at once, on
// the file's own line; the tick removal, dropping a line and the size of the
// ticked files.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/index_line.h"
#include "disc_page_steps.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "support/failing_step.h"
#include "support/outside_snapshot.h"
#include "support/temp_folder.h"

using namespace disc_page_test;
using Strings = std::vector<std::string>;

namespace {

// The index with line i replaced.
std::string toolsWith(std::size_t i, std::string_view line) {
    std::vector<std::string_view> ls = ToolsIndex;
    ls[i] = line;
    return lines(ls);
}

// The question asked before a hard-disk file is deleted with its line.
std::string dropQuestion(const std::string& file) { return "确实要删除 " + file + " 文件吗？"; }

// Drops the selected row's line of a hard-disk folder, saying yes to the
// question that names the file.
void dropHardFile(testsupport::Harness& h, const std::string& file) {
    h.ui.answerMsgBox(platform::MsgYes, dropQuestion(file));
    h.form.DeleteFromMulu_Click();
}

}  // namespace

TEST_F(DiscPage, ATickAndAnUntickEachAddOneMarkToTheFilesOwnLine) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    platform::ListItem& bak = row(f(), "a.txt");
    f().ListView1.userToggleCheck(bak);
    EXPECT_TRUE(bak.checked());
    EXPECT_EQ(index(Tools), toolsWith(10, "E:\\docs\\a.txt.bak[3]($)"));
    f().ListView1.userToggleCheck(bak);
    EXPECT_FALSE(bak.checked());
    EXPECT_EQ(index(Tools), toolsWith(10, "E:\\docs\\a.txt.bak[3]($)($)"));

    // A ticked file unticked: its mark goes behind the marks it had.
    platform::ListItem& readme = row(f(), "Readme");
    f().ListView1.userToggleCheck(readme);
    EXPECT_FALSE(readme.checked());
    std::vector<std::string_view> expected = ToolsIndex;
    expected[8] = "E:\\docs\\Readme.TXT[3000]($)($)";
    expected[10] = "E:\\docs\\a.txt.bak[3]($)($)";
    EXPECT_EQ(index(Tools), lines(expected));
    EXPECT_TRUE(f().PendingTickPaths.empty());
    EXPECT_TRUE(h.ui.log().empty());
}

// The index's folder will not sync after the rename (a network file system,
// an I/O error): the tick is kept, and the user is told once that the disk
// did not confirm it, not that the file could not be saved.
TEST_F(DiscPage, ATickTheDiskDidNotConfirmIsKeptAndToldOnce) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    h.ui.clearLog();
    platform::ListItem& bak = row(f(), "a.txt");
    const std::string told = "已经保存，但是磁盘没有确认写入：\r\n" + indexPath(Tools);
    h.ui.answerMsgBox(platform::MsgOK, told);
    {
        namespace files = platform::files;
        const files::ScopedCommitHook hook([](files::CommitStep step, const std::string&) {
            if (step == files::CommitStep::SyncFolder) throw platform::Error(57);
        });
        f().ListView1.userToggleCheck(bak);
    }
    EXPECT_TRUE(bak.checked());
    EXPECT_EQ(index(Tools), toolsWith(10, "E:\\docs\\a.txt.bak[3]($)"));
    EXPECT_EQ(h.ui.messages(), Strings{told});
    EXPECT_EQ(h.ui.log().back().title, "提示");
    // The next tick, confirmed, tells nothing.
    f().ListView1.userToggleCheck(bak);
    EXPECT_EQ(h.ui.messages(), Strings{told});
}

TEST_F(DiscPage, TicksInTheRootAndInNamesWithDigitsAndGbkCharacters) {
    clickDiscList({Tools, "[003]Tools\\E:"});
    f().ListView1.userToggleCheck(row(f(), "1"));
    clickDiscList({"[003]Tools\\E:\\docs"});
    f().ListView1.userToggleCheck(row(f(), "誠遊許"));
    std::vector<std::string_view> expected = ToolsIndex;
    expected[5] = "E:\\1.txt[5]($)";
    expected[13] = "E:\\docs\\誠遊許.jpeg[2048]($)($)($)";
    EXPECT_EQ(index(Tools), lines(expected));
}

TEST_F(DiscPage, AHardDiskTickMarksTheFileOfTheListedFolderOnly) {
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    f().ListView1.userToggleCheck(row(f(), "a"));
    std::vector<std::string_view> expected = PopIndex;
    expected[5] = "C:\\music\\pop\\live\\a.mp3[7]($)";
    EXPECT_EQ(index(Pop), lines(expected));
}

TEST_F(DiscPage, FoldersInformationRowsAndMirroredFilesKeepNoTick) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    const std::string before = index(Tools);
    for (const char* text : {"img", "a"}) {
        platform::ListItem& r = row(f(), text);
        const bool was = r.checked();
        f().ListView1.userToggleCheck(r);
        EXPECT_FALSE(r.checked()) << text << (was ? " was ticked" : "");
    }
    clickDiscList({Tools});
    f().ListView1.userToggleCheck(f().ListView1.item(1));
    EXPECT_FALSE(f().ListView1.item(1).checked());
    EXPECT_EQ(index(Tools), before);
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(DiscPage, ATickOnTheCategoryPageIsRefusedWhereItIsMade) {
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    clickCategoryTree({"软件\\[003]Tools", "软件\\[003]Tools\\E:\\docs"});
    // The category page shows no check boxes; a tick that reaches the list
    // all the same is refused where it is made.
    EXPECT_FALSE(f().ListView1.checkboxes());
    platform::ListItem& bak = row(f(), "a.txt");
    bak.setChecked(true);
    h.ui.answerMsgBox(platform::MsgOK, "请先点击光盘标签！");
    f().ListView1_ItemCheck(bak);
    EXPECT_FALSE(bak.checked());
    EXPECT_TRUE(f().PendingTickPaths.empty());
    EXPECT_EQ(index(Tools), lines(ToolsIndex));
    EXPECT_EQ(index(Pop), lines(PopIndex));

    // Nothing of it reaches the disc page's next tick.
    clickDiscList({"pop_hard\\pop\\live"});
    f().ListView1.userToggleCheck(row(f(), "b"));
    std::vector<std::string_view> expected = PopIndex;
    expected[6] = "C:\\music\\pop\\live\\b.mp3[8]($)";
    EXPECT_EQ(index(Pop), lines(expected));
    EXPECT_EQ(index(Tools), lines(ToolsIndex));
}

TEST_F(DiscPage, ATickForADiscDeletedMeanwhileWritesNothing) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    std::filesystem::remove(h.nativePath(indexPath(Tools)));
    platform::ListItem& bak = row(f(), "a.txt");
    h.ui.answerMsgBox(platform::MsgOK);
    f().ListView1.userToggleCheck(bak);
    ASSERT_EQ(h.ui.messages().size(), 1u);
    EXPECT_EQ(h.ui.messages()[0].rfind("不能打开文件: C:\\zelbrin\\guangpan\\[003]Tools.wcd", 0),
              0u);
    EXPECT_FALSE(bak.checked());
    EXPECT_FALSE(h.exists(indexPath(Tools)));
    EXPECT_TRUE(f().PendingTickPaths.empty());
}

TEST_F(DiscPage, AFlushOfManyTicksWritesOnceAndLeavesTheLastTenthInTheCaption) {
    std::vector<std::string_view> ls = {"E:\\|big"};
    std::vector<std::string> names;
    for (int i = 0; i < 25; ++i) names.push_back("E:\\big\\f" + std::to_string(i) + ".txt[1]");
    for (const std::string& n : names) ls.push_back(n);
    h.write(indexPath("big"), lines(ls));
    f().refresh1_Click();
    clickDiscList({"big", "big\\E:\\big"});
    for (const auto& r : f().ListView1.items())
        f().PendingTickPaths.push_back({"E:", "big", r->key(), false, "E:\\big"});
    EXPECT_TRUE(f().WritePendingTicks());
    EXPECT_EQ(f().caption(), "19");
    const std::string text = index("big");
    for (const std::string& n : names) EXPECT_NE(text.find(n + "($)\r\n"), std::string::npos) << n;
    EXPECT_TRUE(f().PendingTickPaths.empty());
}

TEST_F(DiscPage, TheFlushRefusesOffTheDiscPageAndWithoutAnOpenDisc) {
    h.ui.answerMsgBox(platform::MsgOK, "请先点击光盘标签！");
    f().PendingTickPaths.push_back({"E:", "docs", "a.txt.bak[3]", false, "E:\\docs"});
    EXPECT_FALSE(f().WritePendingTicks());
    EXPECT_EQ(f().PendingTickPaths.size(), 1u);
    f().TabStrip1.userSelect(DiscTab);
    h.ui.answerMsgBox(platform::MsgOK, "请选择光盘！");
    EXPECT_FALSE(f().WritePendingTicks());
    EXPECT_EQ(f().PendingTickPaths.size(), 1u);
    EXPECT_EQ(index(Tools), lines(ToolsIndex));
}

TEST_F(DiscPage, RemovingTheTicksKeepsThoseOfMirroredFiles) {
    h.write(indexPath(Tools), toolsWith(13, "E:\\docs\\誠遊許.jpeg[2048]($)($)($)"));
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    h.ui.choosePopup("deleteGou");
    f().TreeView1.userMouseDown(platform::RightButton, 0, 100, 100);
    std::vector<std::string_view> expected = ToolsIndex;
    expected[8] = "E:\\docs\\Readme.TXT[3000]";
    expected[13] = "E:\\docs\\誠遊許.jpeg[2048]";
    EXPECT_EQ(index(Tools), lines(expected));
    // The boxes show the index again; the mirrored file keeps its tick.
    EXPECT_FALSE(row(f(), "Readme").checked());
    EXPECT_TRUE(row(f(), "a").checked());
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);

    // Without an open disc: told, nothing written.
    f().OpenedDisk.clear();
    h.ui.answerMsgBox(platform::MsgOK, "请选择光盘！");
    f().deleteGou_Click();
}

// The index's write failing at each step of its commit before the rename (a
// full disk, a device error): a tick and the removal of the ticks keep the
// index's bytes and the box, leave no temporary file, and tell the index and
// the reason once each.
TEST_F(DiscPage, ATickOrTheRemovalThatCannotBeWrittenKeepsTheIndexAndIsTold) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    const std::string before = h.readBytes(indexPath(Tools));
    for (const testsupport::StepFailure& failure : testsupport::commitFailures()) {
        SCOPED_TRACE(failure.name());
        const std::string told =
            "不能保存文件: " + indexPath(Tools) + platform::errorText(failure.number);
        platform::ListItem& readme = row(f(), "Readme");
        const bool was = readme.checked();
        h.ui.clearLog();
        {
            const testsupport::FailingStep failing(failure);
            h.ui.answerMsgBox(platform::MsgOK, told);
            f().ListView1.userToggleCheck(readme);
            h.ui.answerMsgBox(platform::MsgOK, told);
            h.ui.choosePopup("deleteGou");
            f().TreeView1.userMouseDown(platform::RightButton, 0, 100, 100);
        }
        EXPECT_EQ(h.ui.messages(), (Strings{told, told}));
        EXPECT_EQ(readme.checked(), was);
        EXPECT_TRUE(f().PendingTickPaths.empty());
        EXPECT_EQ(h.readBytes(indexPath(Tools)), before);
        EXPECT_EQ(testsupport::tempFilesIn(h.nativePath("C:\\zelbrin\\guangpan")), Strings{});
        EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
    }
}

TEST_F(DiscPage, DroppingALineOfACdTakesTheSelectedFilesLineOnly) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    platform::ListItem& a = row(f(), "a");
    f().ListView1.setSelectedItem(&a);
    f().DeleteFromMulu_Click();
    std::vector<std::string_view> expected = ToolsIndex;
    expected.erase(expected.begin() + 9);
    EXPECT_EQ(index(Tools), lines(expected));
    // No question for a CD: nothing on a disk is deleted. The row leaves the list.
    EXPECT_TRUE(h.ui.log().empty());
    EXPECT_TRUE(a.removed());
    EXPECT_EQ(f().ListView1.find("a.txt[10]($)"), nullptr);

    // A file without extension is found by its bare name.
    f().ListView1.setSelectedItem(&row(f(), "README"));
    f().DeleteFromMulu_Click();
    expected.erase(expected.begin() + 10);
    EXPECT_EQ(index(Tools), lines(expected));

    // A folder cannot be dropped; a line gone meanwhile is told.
    f().ListView1.setSelectedItem(&row(f(), "img"));
    h.ui.answerMsgBox(platform::MsgOK, "只能删除文件！");
    f().DeleteFromMulu_Click();
    h.write(indexPath(Tools), "E:\\|docs\r\n");
    f().ListView1.setSelectedItem(&row(f(), "a.txt"));
    h.ui.answerMsgBox(platform::MsgOK, "有错误！在目录文件里找不到这个文件。");
    f().DeleteFromMulu_Click();
    EXPECT_EQ(index(Tools), "E:\\|docs\r\n");
}

TEST_F(DiscPage, DroppingALineOfAHardDiskFolderDeletesThatFileEvenReadOnly) {
    for (const char* p : {"C:\\music\\pop\\kpop\\live\\a.mp3", "C:\\music\\pop\\live\\a.mp3"})
        h.write(p, "x");
    std::filesystem::permissions(h.nativePath("C:\\music\\pop\\live\\a.mp3"),
                                 std::filesystem::perms::owner_read);
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    f().ListView1.setSelectedItem(&row(f(), "a"));
    dropHardFile(h, "C:\\music\\pop\\live\\a.mp3");
    EXPECT_FALSE(h.exists("C:\\music\\pop\\live\\a.mp3"));
    EXPECT_TRUE(h.exists("C:\\music\\pop\\kpop\\live\\a.mp3"));
    std::vector<std::string_view> expected = PopIndex;
    expected.erase(expected.begin() + 5);
    EXPECT_EQ(index(Pop), lines(expected));

    // A file already gone: the line goes all the same.
    f().ListView1.setSelectedItem(&row(f(), "b"));
    dropHardFile(h, "C:\\music\\pop\\live\\b.mp3");
    expected.erase(expected.begin() + 5);
    EXPECT_EQ(index(Pop), lines(expected));
    EXPECT_EQ(h.ui.messages(), (Strings{dropQuestion("C:\\music\\pop\\live\\a.mp3"),
                                        dropQuestion("C:\\music\\pop\\live\\b.mp3")}));
}

TEST_F(DiscPage, AListedLinkIsDeletedItselfNeverTheFileItNames) {
    // The listed file is a link to a file elsewhere: the link goes with its
    // line, the file it names stays.
    h.write("C:\\elsewhere\\a.mp3", "x");
    h.makeFolder("C:\\music\\pop\\live");
    std::filesystem::create_symlink(h.nativePath("C:\\elsewhere\\a.mp3"),
                                    h.nativePath("C:\\music\\pop\\live") + "/a.mp3");
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    f().ListView1.setSelectedItem(&row(f(), "a"));
    dropHardFile(h, "C:\\music\\pop\\live\\a.mp3");
    EXPECT_EQ(h.ui.log().size(), 1u);
    EXPECT_FALSE(std::filesystem::is_symlink(h.nativePath("C:\\music\\pop\\live") + "/a.mp3"));
    EXPECT_EQ(h.read("C:\\elsewhere\\a.mp3"), "x");
    std::vector<std::string_view> expected = PopIndex;
    expected.erase(expected.begin() + 5);
    EXPECT_EQ(index(Pop), lines(expected));
}

TEST_F(DiscPage, AListedHardLinkToAReadOnlyFileElsewhereGoesAndThatFileKeepsItsMode) {
    // The listed file is a second name of a read-only file outside the
    // catalogued folder: the name goes with its line, the file keeps its
    // bytes and its mode.
    namespace fs = std::filesystem;
    h.write("C:\\elsewhere\\a.mp3", "x");
    const std::string elsewhere = h.nativePath("C:\\elsewhere");
    fs::permissions(elsewhere + "/a.mp3", fs::perms::owner_read | fs::perms::group_read);
    h.makeFolder("C:\\music\\pop\\live");
    fs::create_hard_link(elsewhere + "/a.mp3", h.nativePath("C:\\music\\pop\\live") + "/a.mp3");
    const auto before = testsupport::outsideSnapshot(elsewhere);
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    f().ListView1.setSelectedItem(&row(f(), "a"));
    dropHardFile(h, "C:\\music\\pop\\live\\a.mp3");
    EXPECT_EQ(h.ui.log().size(), 1u);
    EXPECT_FALSE(h.exists("C:\\music\\pop\\live\\a.mp3"));
    EXPECT_EQ(testsupport::outsideSnapshot(elsewhere), before);
    EXPECT_EQ(fs::status(elsewhere + "/a.mp3").permissions(),
              fs::perms::owner_read | fs::perms::group_read);
    std::vector<std::string_view> expected = PopIndex;
    expected.erase(expected.begin() + 5);
    EXPECT_EQ(index(Pop), lines(expected));
}

TEST_F(DiscPage, TheSizeOfTickedFilesOfADiscOrAFolder) {
    std::vector<std::string_view> ls = ToolsIndex;
    ls[16] = "E:\\docs\\img\\old\\c.wmf[1572864]($)";
    ls[20] = "E:\\2004\\y.txt[7]($)";
    ls[15] = "E:\\docs\\img\\b.gif[0]($)";
    h.write(indexPath(Tools), lines(ls));
    struct Case {
        std::string node;
        std::string status;
    };
    for (const Case& c : std::vector<Case>{
             {"[003]Tools", "4个文件，共1.5M"},
             {"[003]Tools\\E:", "4个文件，共1.5M"},
             {"[003]Tools\\E:\\docs", "3个文件，共1.5M"},
             {"[003]Tools\\E:\\docs\\img", "1个文件，共1.5M"},
             {"[003]Tools\\E:\\pics", "0个文件，共1K"},
         }) {
        clickDiscList({Tools});
        f().TreeView1.setSelectedItem(&node(f().TreeView1, c.node));
        h.ui.choosePopup("property2");
        f().TreeView1.userMouseDown(platform::RightButton, 0, 100, 100);
        EXPECT_EQ(f().StatusBar1.panel(1).text(), c.status) << c.node;
    }
}

// ---- names the screen shows alike: case twins, "($)", "[", "{", "@", noStr ----

namespace {

constexpr std::string_view Twins = "Twins";
// A CD whose folder d holds case twins of one size and of two sizes, names
// holding the characters of the line's own tokens, and names beginning with
// a digit or with "noStr" and a digit (of one size, so their keys would meet
// without the prefix).
const std::vector<std::string_view> TwinsIndex = {
    "E:\\|d",
    "E:\\d\\A.txt[5]",
    "E:\\d\\a.txt[5]",
    "E:\\d\\B.txt[5]",
    "E:\\d\\b.txt[6]",
    "E:\\d\\Photo.JPG[13]",
    "E:\\d\\photo.jpg[13]",
    "E:\\d\\許($).doc[7]",
    "E:\\d\\x[1].txt[8]",
    "E:\\d\\y{z}.txt[9]",
    "E:\\d\\me@home.txt[10]",
    "E:\\d\\noStr5.txt[11]",
    "E:\\d\\5.txt[11]",
};

// A hard-disk folder C:\music\live catalogued as "twins_hard", with the same
// kinds of names.
constexpr std::string_view TwinsHard = "twins_hard";
const std::vector<std::string_view> TwinsHardIndex = {
    "C:\\music\\|live",
    "C:\\music\\live\\A.mp3[5]",
    "C:\\music\\live\\a.mp3[6]",
    "C:\\music\\live\\B.mp3[5]",
    "C:\\music\\live\\b.mp3[5]",
    "C:\\music\\live\\Song.MP3[4]",
    "C:\\music\\live\\song.mp3[4]",
    "C:\\music\\live\\許($).mp3[1]",
    "C:\\music\\live\\x[1].mp3[2]",
    "C:\\music\\live\\y{z}.mp3[3]",
    "C:\\music\\live\\me@home.mp3[7]",
    "C:\\music\\live\\noStr5.mp3[8]",
    "C:\\music\\live\\5.mp3[8]",
};

// The row whose key is this one; fails the test when there is none.
platform::ListItem& keyed(const Form1& form, std::string_view key) {
    for (const auto& r : form.ListView1.items())
        if (r->key() == key) return *r;
    ADD_FAILURE() << "no row keyed " << key;
    throw std::runtime_error("no row");
}

std::string ambiguous(std::string_view path) {
    return "有几个文件的名字只是大小写不同，无法确定是哪一个：" + std::string(path);
}

class TwinNames : public DiscPage {
  protected:
    // Writes the disc's index (and, for the hard-disk folder, its files, of
    // the sizes the index gives) and lists its folder.
    void listTwins() {
        h.write(indexPath(Twins), lines(TwinsIndex));
        f().refresh1_Click();
        clickDiscList({Twins, "Twins\\E:\\d"});
    }
    // The files are written and looked for by their native names, since a
    // Windows path finds a file of another letter case when its own is missing.
    void listTwinsHard() {
        h.write(indexPath(TwinsHard), lines(TwinsHardIndex));
        h.makeFolder(HardFolder);
        for (std::string_view l : TwinsHardIndex) {
            if (const auto file = catalogue::parseFileLine(l))
                testsupport::writeBytes(nativeOf(*file), std::string(file->bytes(), 'x'));
        }
        f().refresh1_Click();
        clickDiscList({TwinsHard, "twins_hard\\music\\live"});
    }
    // The files of the hard-disk folder still on disk.
    Strings hardFilesLeft() const {
        Strings out;
        for (std::string_view l : TwinsHardIndex)
            if (const auto file = catalogue::parseFileLine(l);
                file && std::filesystem::exists(nativeOf(*file)))
                out.push_back(file->path);
        return out;
    }
    std::string nativeOf(const catalogue::IndexFileLine& file) const {
        return h.nativePath(HardFolder) + "/" + std::string(file.name());
    }
    static constexpr std::string_view HardFolder = "C:\\music\\live";
};

// The lines with line i changed, or dropped when to is null.
std::string changed(const std::vector<std::string_view>& ls, std::size_t i, const char* to) {
    std::vector<std::string_view> out = ls;
    if (to)
        out[i] = to;
    else
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(i));
    return lines(out);
}

}  // namespace

TEST_F(TwinNames, EveryRowIsListedAndATickLandsOnItsOwnLine) {
    struct Case {
        const char* key;  // the row's key
        std::size_t line;
        const char* ticked;
    };
    const Case cases[] = {
        {"A.txt[5]", 1, "E:\\d\\A.txt[5]($)"},
        {"a.txt[5]", 2, "E:\\d\\a.txt[5]($)"},
        {"B.txt[5]", 3, "E:\\d\\B.txt[5]($)"},
        {"b.txt[6]", 4, "E:\\d\\b.txt[6]($)"},
        {"Photo.JPG[13]", 5, "E:\\d\\Photo.JPG[13]($)"},
        {"photo.jpg[13]", 6, "E:\\d\\photo.jpg[13]($)"},
        {"許($).doc[7]", 7, "E:\\d\\許($).doc[7]($)"},
        {"x[1].txt[8]", 8, "E:\\d\\x[1].txt[8]($)"},
        {"y{z}.txt[9]", 9, "E:\\d\\y{z}.txt[9]($)"},
        {"me@home.txt[10]", 10, "E:\\d\\me@home.txt[10]($)"},
        {"noStrnoStr5.txt[11]", 11, "E:\\d\\noStr5.txt[11]($)"},
        {"noStr5.txt[11]", 12, "E:\\d\\5.txt[11]($)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        listTwins();
        EXPECT_EQ(f().ListView1.count(), static_cast<int>(TwinsIndex.size()) - 1);
        platform::ListItem* r = f().ListView1.find(c.key);
        if (!r) {
            ADD_FAILURE() << "not listed";
            continue;
        }
        f().ListView1.userToggleCheck(*r);
        EXPECT_TRUE(r->checked());
        EXPECT_EQ(index(Twins), changed(TwinsIndex, c.line, c.ticked));
    }
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(TwinNames, AFileNamedNoStrAndADigitTicks) {
    h.write(indexPath(Twins), lines({"E:\\|d", "E:\\d\\noStr5.txt[3]"}));
    f().refresh1_Click();
    clickDiscList({Twins, "Twins\\E:\\d"});
    platform::ListItem& r = row(f(), "noStr5");
    f().ListView1.userToggleCheck(r);
    EXPECT_TRUE(r.checked());
    EXPECT_EQ(index(Twins), lines({"E:\\|d", "E:\\d\\noStr5.txt[3]($)"}));
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(TwinNames, ATickWhoseFileIsNowSpeltTwoOtherWaysIsRefused) {
    listTwins();
    platform::ListItem& a = keyed(f(), "a.txt[5]");
    // Since the listing, a.txt became a.TXT beside A.txt: neither is the row's
    // spelling, and they cannot be told apart.
    const std::string now = changed(TwinsIndex, 2, "E:\\d\\a.TXT[5]");
    h.write(indexPath(Twins), now);
    h.ui.answerMsgBox(platform::MsgOK, ambiguous("E:\\d\\a.txt"));
    f().ListView1.userToggleCheck(a);
    EXPECT_FALSE(a.checked());
    EXPECT_EQ(index(Twins), now);
    EXPECT_TRUE(f().PendingTickPaths.empty());

    // Another spelling is taken when it is the only one.
    h.write(indexPath(Twins), changed(TwinsIndex, 8, "E:\\d\\X[1].TXT[8]"));
    f().ListView1.userToggleCheck(keyed(f(), "x[1].txt[8]"));
    EXPECT_EQ(index(Twins), changed(TwinsIndex, 8, "E:\\d\\X[1].TXT[8]($)"));
}

TEST_F(TwinNames, DroppingALineDeletesTheSelectedFileAndNoOther) {
    struct Case {
        const char* key;  // the selected row's key
        std::size_t line;
    };
    const Case cases[] = {
        {"A.mp3[5]", 1},
        {"a.mp3[6]", 2},
        {"B.mp3[5]", 3},
        {"b.mp3[5]", 4},
        {"Song.MP3[4]", 5},
        {"song.mp3[4]", 6},
        {"許($).mp3[1]", 7},
        {"x[1].mp3[2]", 8},
        {"y{z}.mp3[3]", 9},
        {"me@home.mp3[7]", 10},
        {"noStrnoStr5.mp3[8]", 11},
        {"noStr5.mp3[8]", 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        listTwinsHard();
        platform::ListItem& r = keyed(f(), c.key);
        f().ListView1.setSelectedItem(&r);
        const std::string file = catalogue::parseFileLine(TwinsHardIndex[c.line])->path;
        dropHardFile(h, file);
        EXPECT_EQ(h.ui.messages().back(), dropQuestion(file));
        EXPECT_EQ(index(TwinsHard), changed(TwinsHardIndex, c.line, nullptr));
        Strings left;
        for (std::size_t i = 1; i < TwinsHardIndex.size(); ++i)
            if (i != c.line) left.push_back(catalogue::parseFileLine(TwinsHardIndex[i])->path);
        EXPECT_EQ(hardFilesLeft(), left);
        EXPECT_TRUE(r.removed());
    }
    EXPECT_EQ(h.ui.log().size(), std::size(cases));
}

TEST_F(TwinNames, DroppingALineWhoseFileIsNowSpeltTwoOtherWaysIsRefused) {
    listTwinsHard();
    platform::ListItem& a = keyed(f(), "B.mp3[5]");
    f().ListView1.setSelectedItem(&a);
    const std::string now = changed(TwinsHardIndex, 3, "C:\\music\\live\\b.MP3[5]");
    h.write(indexPath(TwinsHard), now);
    h.ui.answerMsgBox(platform::MsgOK, ambiguous("C:\\music\\live\\B.mp3"));
    f().DeleteFromMulu_Click();
    EXPECT_EQ(index(TwinsHard), now);
    EXPECT_EQ(hardFilesLeft().size(), TwinsHardIndex.size() - 1);
    EXPECT_EQ(a.text(), "B");
}

namespace {

// The open disc's index file turned into a link to a file outside guangpan:
// neither removing the ticks nor a tick writes through it; each is told with
// the path, and the file outside keeps its bytes and mode.
TEST_F(DiscPage, TicksAreNeverWrittenThroughALinkOutOfGuangpan) {
    namespace fs = std::filesystem;
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    h.write("C:\\outside\\index.wcd", lines(ToolsIndex));
    fs::remove(h.nativePath(indexPath(Tools)));
    fs::create_symlink(h.nativePath("C:\\outside\\index.wcd"), h.nativePath(indexPath(Tools)));
    const auto before = testsupport::outsideSnapshot(h.nativePath("C:\\outside"));
    const std::string told =
        "不能保存文件: " + indexPath(Tools) + "路径不在允许的文件夹里：" + indexPath(Tools);
    h.ui.answerMsgBox(platform::MsgOK, told);
    f().deleteGou_Click();
    h.ui.answerMsgBox(platform::MsgOK, told);
    platform::ListItem& a = row(f(), "Readme");
    const bool was = a.checked();
    f().ListView1.userToggleCheck(a);
    EXPECT_EQ(a.checked(), was);
    EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath("C:\\outside")), before);
}

}  // namespace

namespace {

// Dropping the line of a hard-disk disc's file (C:\music\pop catalogued)
// deletes the file only beneath the catalogued folder: a folder on the way
// that is a link leading out, a ".." in the stored path or a name holding
// another drive refuses with the path, keeps the line and changes nothing
// outside; a listed file that is a link is deleted itself, and a folder link
// that stays inside is followed.
TEST_F(DiscPage, DroppingALineNeverDeletesOutsideTheCataloguedFolder) {
    namespace fs = std::filesystem;
    h.drives().set({.name = "D:", .folder = h.nativePath("C:\\outside")});
    const std::string pop = h.nativePath("C:\\music\\pop");
    const std::string outside = h.nativePath("C:\\outside");
    struct Case {
        const char* name;
        std::function<void()> make;           // links and files below C:\music\pop
        std::vector<std::string_view> lines;  // added to the index
        std::string_view folder;              // the node listed
        const char* rowText;
        std::string line;                                 // the file's line
        std::string refused;                              // the path refused; "" when dropped
        std::string gone;                                 // what the drop removes (native)
        std::string reason = "路径不在允许的文件夹里：";  // then the path, unless a bad name
    };
    const Case cases[] = {
        {"folder link, first level",
         [&] { fs::create_directory_symlink(outside + "/live", pop + "/live"); },
         {},
         "pop_hard\\pop\\live",
         "a",
         "C:\\music\\pop\\live\\a.mp3[7]",
         "C:\\music\\pop\\live\\a.mp3",
         ""},
        {"folder link, second level",
         [&] {
             fs::create_directories(pop + "/kpop");
             fs::create_directory_symlink(outside + "/live", pop + "/kpop/live");
         },
         {},
         "pop_hard\\pop\\kpop\\live",
         "a",
         "C:\\music\\pop\\kpop\\live\\a.mp3[7]",
         "C:\\music\\pop\\kpop\\live\\a.mp3",
         ""},
        {"file link, first level",
         [&] { fs::create_symlink(outside + "/a.mp3", pop + "/top.mp3"); },
         {},
         "pop_hard\\pop",
         "top",
         "C:\\music\\pop\\top.mp3[100]",
         "",
         pop + "/top.mp3"},
        {"file link, second level",
         [&] {
             fs::create_directories(pop + "/live");
             fs::create_symlink(outside + "/a.mp3", pop + "/live/a.mp3");
         },
         {},
         "pop_hard\\pop\\live",
         "a",
         "C:\\music\\pop\\live\\a.mp3[7]",
         "",
         pop + "/live/a.mp3"},
        {"\"..\" in the stored path",
         [] {},
         {"C:\\music\\pop\\|..", "C:\\music\\pop\\..\\x.mp3[5]"},
         "pop_hard\\pop\\..",
         "x",
         "C:\\music\\pop\\..\\x.mp3[5]",
         "C:\\music\\pop\\..\\x.mp3",
         ""},
        {"another drive's name in the stored path",
         [] {},
         {"C:\\music\\pop\\|D:", "C:\\music\\pop\\D:\\y.mp3[5]"},
         "pop_hard\\pop\\D:",
         "y",
         "C:\\music\\pop\\D:\\y.mp3[5]",
         "C:\\music\\pop\\D:\\y.mp3",
         "",
         "文件名或文件号错误"},
        {"folder link inside",
         [&] {
             h.write("C:\\music\\pop\\kpop\\live\\a.mp3", "kpop");
             fs::create_directory_symlink("kpop/live", pop + "/live");
         },
         {},
         "pop_hard\\pop\\live",
         "a",
         "C:\\music\\pop\\live\\a.mp3[7]",
         "",
         pop + "/kpop/live/a.mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(h.nativePath("C:\\music"));
        fs::remove_all(outside);
        for (const char* p : {"C:\\outside\\a.mp3", "C:\\outside\\live\\a.mp3",
                              "C:\\outside\\y.mp3", "C:\\music\\x.mp3"})
            h.write(p, p);
        fs::permissions(outside + "/a.mp3", fs::perms::owner_read);
        fs::create_directories(pop);
        c.make();
        std::vector<std::string_view> ls = PopIndex;
        ls.insert(ls.end(), c.lines.begin(), c.lines.end());
        h.write(indexPath(Pop), lines(ls));
        const auto before = testsupport::outsideSnapshot(outside);
        const auto music = testsupport::outsideSnapshot(h.nativePath("C:\\music"), pop);
        clickDiscList({Tools, Pop, c.folder});  // the tree read again
        h.ui.clearLog();
        f().ListView1.setSelectedItem(&row(f(), c.rowText));
        h.ui.answerMsgBox(platform::MsgYes, dropQuestion(c.line.substr(0, c.line.rfind('['))));
        if (!c.refused.empty())
            h.ui.answerMsgBox(platform::MsgOK,
                              "不能删除文件: " + c.refused + c.reason +
                                  (c.reason.rfind("路径", 0) == 0 ? c.refused : ""));
        f().DeleteFromMulu_Click();
        h.ui.verifyAllUsed();
        EXPECT_EQ(testsupport::outsideSnapshot(outside), before);
        EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath("C:\\music"), pop), music);
        EXPECT_EQ(index(Pop).find(c.line + "\r\n") != std::string::npos, !c.refused.empty());
        if (c.refused.empty()) {
            EXPECT_EQ(h.ui.log().size(), 1u);
            EXPECT_FALSE(fs::exists(fs::symlink_status(c.gone)));
        }
    }
}

}  // namespace
