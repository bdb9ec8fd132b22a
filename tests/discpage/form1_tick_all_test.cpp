// The tick-all commands of the file list's pop-up, driven as the user does:
// every file of the listed folder, and every index/default page or readme
// file of the open disc, whose marked lines then fill the result list.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "disc_page_steps.h"
#include "support/outside_snapshot.h"

using namespace disc_page_test;
using Strings = std::vector<std::string>;

namespace {

// A disc whose files are index and default pages and readme files, in
// folders of such names too, with marks, a mirror copy and a name holding
// "]"; its last line has no line break.
const std::vector<std::string_view> PagesIndex = {
    "E:\\|web",
    "E:\\|docs",
    "E:\\|indexes",
    "E:\\index.htm[100]",
    "E:\\web\\Index.html[5]($)",
    "E:\\web\\index2.html[6]($)($)",
    "E:\\docs\\|readme",
    "E:\\docs\\Default.asp[7]",
    "E:\\docs\\README.txt[10]",
    "E:\\docs\\readme-readme.txt[11]",
    "E:\\docs\\readme.txt[12]($){D:\\copy\\docs\\readme.txt}",
    "E:\\docs\\readme]x.txt[13]",
    "E:\\docs\\other.txt[15]($)",
    "E:\\docs\\readme\\a.txt[14]",
    "E:\\indexes\\index.htm[9]",
    "E:\\web\\default.htm[16]",
};

std::string pagesText() {
    const std::string text = lines(PagesIndex);
    return text.substr(0, text.size() - 2);
}

// The index as stored after the command: those lines changed, and a line
// break after the last one.
std::string pagesWith(const std::vector<std::pair<std::size_t, std::string_view>>& changes) {
    std::vector<std::string_view> ls = PagesIndex;
    for (const auto& [i, line] : changes) ls[i] = line;
    return lines(ls);
}

// A result row: key | text | column 2 | column 3 | icon, and "✓" when checked.
Strings resultRows(const Form1& form) {
    Strings out;
    for (const auto& r : form.ListView2.items()) {
        std::string s = r->key() + " | " + r->text() + " | " + r->subItem(1) + " | " +
                        r->subItem(2) + " | " + std::to_string(r->smallIcon());
        if (r->checked()) s += " ✓";
        out.push_back(s);
    }
    return out;
}

Strings headers(const platform::ListView& list) {
    Strings out;
    for (const auto& c : list.columns()) out.push_back(c->text());
    return out;
}

// Every message box shown: title, then prompt.
Strings boxes(const testsupport::ScriptedUi& ui) {
    Strings out;
    for (const auto& s : ui.log())
        if (s.kind == testsupport::ShownKind::MsgBox) out.push_back(s.title + ": " + s.prompt);
    return out;
}

constexpr std::string_view IndexWait = "如果光盘中index文件比较多，将要花费较多时间，请耐心等待。";
constexpr std::string_view ReadmeWait =
    "如果光盘中Readme文件比较多，将要花费较多时间，请耐心等待。";
constexpr std::string_view NothingMarked = "在光盘中没有你找的内容！";

class TickAll : public DiscPage {
  protected:
    // The disc [003]Tools holds PagesIndex; its folder docs is listed on the
    // disc page (which opens the preview pane).
    void openPagesDisc() {
        h.write(indexPath(Tools), pagesText());
        clickDiscList({Tools, "[003]Tools\\E:\\docs"});
        h.ui.clearLog();
    }
    // A right-click on a row of the file list and the item of pop2.
    void choose(const std::string& item, std::string_view rowText) {
        h.ui.choosePopup(item);
        f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &row(f(), rowText));
    }
};

struct DiscWideCase {
    const char* item;
    std::string_view wait;
    std::vector<std::pair<std::size_t, std::string_view>> ticked;
    Strings listed;
    const char* panel;
};

}  // namespace

TEST_F(TickAll, PagesAndReadmeFilesOfTheDiscAreTickedAndEveryMarkedLineIsListed) {
    const DiscWideCase cases[] = {
        {"selectAllIndex",
         IndexWait,
         {{3, "E:\\index.htm[100]($)"},
          {5, "E:\\web\\index2.html[6]($)($)($)"},
          {7, "E:\\docs\\Default.asp[7]($)"},
          {15, "E:\\web\\default.htm[16]($)"}},
         {" | [003]Tools |  | E:\\index.htm[100]($) | 73",
          " | [003]Tools |  | E:\\web\\Index.html[5]($) | 73",
          " | [003]Tools |  | E:\\web\\index2.html[6]($)($)($) | 73",
          " | [003]Tools |  | E:\\docs\\Default.asp[7]($) | 73",
          " | [003]Tools |  | E:\\docs\\other.txt[15]($) | 73",
          " | [003]Tools |  | E:\\web\\default.htm[16]($) | 73"},
         "已经打钩了4个index和default文件"},
        {"selectAllReadme",
         ReadmeWait,
         {{8, "E:\\docs\\README.txt[10]($)"},
          {9, "E:\\docs\\readme-readme.txt[11]($)"},
          {11, "E:\\docs\\readme]x.txt[13]($)"}},
         {" | [003]Tools |  | E:\\web\\Index.html[5]($) | 73",
          " | [003]Tools |  | E:\\web\\index2.html[6]($)($) | 73",
          " | [003]Tools |  | E:\\docs\\README.txt[10]($) | 73",
          " | [003]Tools |  | E:\\docs\\readme-readme.txt[11]($) | 73",
          " | [003]Tools |  | E:\\docs\\readme]x.txt[13]($) | 73",
          " | [003]Tools |  | E:\\docs\\other.txt[15]($) | 73"},
         "已经打钩了3个*readme*.*文件"},
    };
    for (const DiscWideCase& c : cases) {
        SCOPED_TRACE(c.item);
        openPagesDisc();
        f().ListView2.setVisible(false);
        if (!f().previewPaneOpen()) f().OpenPreview_Click();
        ASSERT_TRUE(f().previewPaneOpen());
        h.ui.answerMsgBox(platform::MsgOK, std::string(c.wait));
        choose(c.item, "other");

        EXPECT_EQ(index(Tools), pagesWith(c.ticked));
        EXPECT_EQ(resultRows(f()), c.listed);
        EXPECT_EQ(headers(f().ListView2), (Strings{"光盘名", "光盘序号", "备注"}));
        EXPECT_EQ(f().StatusBar1.panel(1).text(), c.panel);
        EXPECT_EQ(f().find_Txt, "($)");
        EXPECT_EQ(boxes(h.ui), Strings{"提示: " + std::string(c.wait)});
        // The result list is laid out across the bottom; the preview pane
        // closed for it.
        EXPECT_TRUE(f().ListView2.visible());
        EXPECT_GT(f().ListView2.top(), f().ListView1.top());
        EXPECT_EQ(f().ListView2.width(), f().scaleWidth());
        EXPECT_FALSE(f().previewPaneOpen());
        EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
        EXPECT_EQ(index(Pop), lines(PopIndex));
    }
}

TEST_F(TickAll, TheListedLinesReplaceTheRowsUnderTheHeadersAsTheyAre) {
    openPagesDisc();
    // Rows of an earlier search of the notes, with its headers; the result
    // list shares the window with the preview pane.
    platform::ListView& list = f().ListView2;
    list.clear();
    list.clearColumns();
    list.addColumn("光盘名", "光盘名", 2700);
    list.addColumn("路径", "路径", 4550);
    list.addColumn("备注", "备注", 7499);
    list.add({}, "pop_hard", 73).setSubItem(1, "pop\\top.mp3");
    f().ShowResultList();
    ASSERT_TRUE(f().previewPaneOpen());

    h.ui.answerMsgBox(platform::MsgOK, std::string(ReadmeWait));
    choose("selectAllReadme", "README");
    EXPECT_EQ(headers(list), (Strings{"光盘名", "路径", "备注"}));
    ASSERT_EQ(list.count(), 6);
    EXPECT_EQ(resultRows(f())[0], " | [003]Tools |  | E:\\web\\Index.html[5]($) | 73");
    EXPECT_TRUE(f().previewPaneOpen());

    // A second run ticks nothing more and lists the same lines.
    const std::string once = index(Tools);
    const Strings rowsOnce = resultRows(f());
    h.ui.answerMsgBox(platform::MsgOK, std::string(ReadmeWait));
    choose("selectAllReadme", "README");
    EXPECT_EQ(index(Tools), once);
    EXPECT_EQ(resultRows(f()), rowsOnce);
    EXPECT_EQ(f().StatusBar1.panel(1).text(), "已经打钩了0个*readme*.*文件");
}

TEST_F(TickAll, ADiscWithoutMarkedLinesIsRewrittenUnchangedAndSaysSo) {
    // The last line gains its line break; nothing else changes.
    h.write(indexPath(Tools), "E:\\|docs\r\nE:\\docs\\a.txt[1]\r\nE:\\docs\\index.htm[2]");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    h.ui.clearLog();
    f().ListView2.add({}, "old", 73);
    h.ui.answerMsgBox(platform::MsgOK, std::string(ReadmeWait));
    h.ui.answerMsgBox(platform::MsgOK, std::string(NothingMarked));
    choose("selectAllReadme", "a");
    EXPECT_EQ(index(Tools), "E:\\|docs\r\nE:\\docs\\a.txt[1]\r\nE:\\docs\\index.htm[2]\r\n");
    EXPECT_EQ(f().ListView2.count(), 0);
    EXPECT_FALSE(f().ListView2.visible());
    EXPECT_EQ(f().StatusBar1.panel(1).text(), "已经打钩了0个*readme*.*文件");
    EXPECT_EQ(boxes(h.ui),
              (Strings{"提示: " + std::string(ReadmeWait), "提示: " + std::string(NothingMarked)}));
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

TEST_F(TickAll, WithoutAnOpenDiscEachCommandOnlySaysSo) {
    struct Case {
        void (Form1::*command)();
        const char* box;
    };
    const Case cases[] = {
        {&Form1::selectAll_Click,
         "信息: 不知道你要操作的光盘名！请点击光盘标签，选择你要打标记的光盘！"},
        {&Form1::selectAllIndex_Click,
         "提示: 不知道你要操作的光盘名！请点击光盘页，选择你要打标记的光盘！"},
        {&Form1::selectAllReadme_Click,
         "信息: 不知道你要操作的光盘名！请点击光盘标签，选择你要打标记的光盘！"},
    };
    f().TabStrip1.userSelect(DiscTab);
    const bool pane = f().previewPaneOpen();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        h.ui.clearLog();
        const std::size_t pointers = h.ui.pointers().size();
        h.ui.answerMsgBox(platform::MsgOK);
        (f().*c.command)();
        EXPECT_EQ(boxes(h.ui), Strings{c.box});
        EXPECT_EQ(h.ui.pointers().size(), pointers);
        EXPECT_EQ(f().previewPaneOpen(), pane);
    }
    EXPECT_EQ(index(Tools), lines(ToolsIndex));
    EXPECT_FALSE(f().ListView2.visible());
    EXPECT_TRUE(f().PendingTickPaths.empty());
}

TEST_F(TickAll, OffTheDiscPageNothingIsTicked) {
    openPagesDisc();
    clickCategoryTree({"软件\\[003]Tools", "软件\\[003]Tools\\E:\\docs"});
    h.ui.clearLog();
    const Strings before = rows(f());
    h.ui.answerMsgBox(platform::MsgOK, std::string(IndexWait));
    f().selectAllIndex_Click();
    h.ui.answerMsgBox(platform::MsgOK, "请先点击光盘标签！");
    f().selectAll_Click();
    EXPECT_EQ(boxes(h.ui),
              (Strings{"提示: " + std::string(IndexWait), "提示: 请先点击光盘标签！"}));
    EXPECT_EQ(index(Tools), pagesText());
    EXPECT_EQ(rows(f()), before);
    EXPECT_EQ(f().ListView2.count(), 0);
    EXPECT_TRUE(f().PendingTickPaths.empty());
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

TEST_F(TickAll, AMissingIndexIsToldAndNoneIsMade) {
    openPagesDisc();
    f().ListView2.add({}, "old", 73);
    const std::string panel = f().StatusBar1.panel(1).text();
    std::filesystem::remove(h.nativePath(indexPath(Tools)));
    h.ui.answerMsgBox(platform::MsgOK, std::string(IndexWait));
    h.ui.answerMsgBox(platform::MsgOK);
    choose("selectAllIndex", "other");
    const Strings shown = boxes(h.ui);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].rfind("提示: 不能打开文件: C:\\zelbrin\\guangpan\\[003]Tools.wcd", 0), 0u);
    EXPECT_FALSE(h.exists(indexPath(Tools)));
    EXPECT_EQ(f().ListView2.count(), 1);
    EXPECT_EQ(f().StatusBar1.panel(1).text(), panel);
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);

    // Select all: told the same way; the boxes show what the index holds.
    h.ui.clearLog();
    const Strings before = rows(f());
    h.ui.answerMsgBox(platform::MsgOK);
    choose("selectAll", "other");
    ASSERT_EQ(boxes(h.ui).size(), 1u);
    EXPECT_EQ(boxes(h.ui)[0].rfind("提示: 不能打开文件: ", 0), 0u);
    EXPECT_EQ(rows(f()), before);
    EXPECT_FALSE(h.exists(indexPath(Tools)));
    EXPECT_TRUE(f().PendingTickPaths.empty());
}

TEST_F(TickAll, SelectAllTicksEveryFileOfTheFolderOnceMoreWhenTicked) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    h.ui.clearLog();
    // The boxes are set by code: no check-box event reaches the list's handler.
    int checks = 0;
    f().ListView1.ItemCheck = [&](platform::ListItem&) { ++checks; };
    choose("selectAll", "a.txt");

    // Unticked files gain one mark, the ticked Readme.TXT two; the folders
    // and the mirrored a.txt stay as they are.
    std::vector<std::string_view> expected = ToolsIndex;
    expected[8] = "E:\\docs\\Readme.TXT[3000]($)($)($)";
    expected[10] = "E:\\docs\\a.txt.bak[3]($)";
    expected[11] = "E:\\docs\\README[12]($)";
    expected[12] = "E:\\docs\\archive.tar.gz[1572864]($)";
    expected[13] = "E:\\docs\\誠遊許.jpeg[2048]($)($)($)";
    EXPECT_EQ(index(Tools), lines(expected));
    EXPECT_EQ(checks, 0);
    for (const auto& r : f().ListView1.items())
        EXPECT_EQ(r->checked(), r->smallIcon() != 1) << r->text();
    EXPECT_TRUE(f().PendingTickPaths.empty());
    EXPECT_TRUE(boxes(h.ui).empty());
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);

    // Listed again, every file reads ticked from the index.
    clickDiscList({"[003]Tools\\E:\\docs\\img", "[003]Tools\\E:\\docs"});
    for (const auto& r : f().ListView1.items())
        EXPECT_EQ(r->checked(), r->smallIcon() != 1) << r->text();
}

TEST_F(TickAll, SelectAllOnAHardDiskFolderMarksThatFoldersFilesAlone) {
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    choose("selectAll", "a");
    std::vector<std::string_view> expected = PopIndex;
    expected[5] = "C:\\music\\pop\\live\\a.mp3[7]($)";
    expected[6] = "C:\\music\\pop\\live\\b.mp3[8]($)";
    EXPECT_EQ(index(Pop), lines(expected));
}

TEST_F(TickAll, SelectAllOverTheDiscsInformationRowsRewritesTheIndexUnchanged) {
    h.write(indexPath(Tools), lines(ToolsIndex) + "E:\\z.txt[1]");
    clickDiscList({Tools});
    h.ui.clearLog();
    f().selectAll_Click();
    EXPECT_EQ(index(Tools), lines(ToolsIndex) + "E:\\z.txt[1]\r\n");
    for (const auto& r : f().ListView1.items()) EXPECT_FALSE(r->checked());
    EXPECT_TRUE(boxes(h.ui).empty());
}

namespace {

// The open disc's index file made a link: to a file outside guangpan, to a
// folder outside, to a missing file outside, or to another file inside
// guangpan. The disc-wide commands (every index page, every readme file,
// every tick removed) never write outside: the file outside keeps its bytes
// and mode, nothing is made there, the link stays, and the user is told with
// the path. Through a link inside guangpan the index is still written.
TEST_F(TickAll, TheDiscWideCommandsNeverWriteThroughALinkOutOfGuangpan) {
    namespace fs = std::filesystem;
    const std::string path = indexPath(Tools);
    const std::string link = h.nativePath(path);
    const std::string outside = h.nativePath("C:\\outside");
    const std::string refused = "不能保存文件: " + path + "路径不在允许的文件夹里：" + path;
    const std::string unread = "不能打开文件: " + path;
    const std::string inside = h.nativePath("C:\\zelbrin\\guangpan") + "/kept.wcd";
    struct Case {
        const char* name;
        const char* target;  // the link's target
        std::string told;    // the message, or its start for a read refused; "" none
        bool exact;
    };
    const Case cases[] = {
        {"file outside", "outside/index.wcd", refused, true},
        {"folder outside", "outside/folder", unread, false},
        {"missing file outside", "outside/none.wcd", unread, false},
        {"file inside guangpan", "kept.wcd", "", true},
    };
    struct Command {
        const char* item;
        std::string_view wait;  // told first; "" none
    };
    const Command commands[] = {
        {"selectAllIndex", IndexWait}, {"selectAllReadme", ReadmeWait}, {"deleteGou", ""}};
    for (const Command& command : commands) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(command.item) + ": " + c.name);
            openPagesDisc();
            fs::remove_all(outside);
            h.write("C:\\outside\\index.wcd", pagesWith({{8, "E:\\docs\\README.txt[10]($)"}}));
            fs::permissions(outside + "/index.wcd", fs::perms::owner_read);
            h.makeFolder("C:\\outside\\folder");
            h.write("C:\\zelbrin\\guangpan\\kept.wcd",
                    pagesWith({{8, "E:\\docs\\README.txt[10]($)"}}));
            fs::remove(link);
            fs::create_symlink(std::string(c.target).rfind("outside/", 0) == 0
                                   ? h.nativePath("C:\\") + "/" + c.target
                                   : std::string(c.target),
                               link);
            const auto before = testsupport::outsideSnapshot(outside);
            if (!command.wait.empty())
                h.ui.answerMsgBox(platform::MsgOK, std::string(command.wait));
            if (!c.told.empty()) h.ui.answerMsgBox(platform::MsgOK);
            if (command.wait.empty()) {
                f().deleteGou.userClick();
            } else {
                choose(command.item, "other");
            }
            EXPECT_EQ(testsupport::outsideSnapshot(outside), before);
            EXPECT_TRUE(fs::is_symlink(link));
            const Strings shown = h.ui.messages();
            if (!c.told.empty()) {
                ASSERT_FALSE(shown.empty());
                if (c.exact)
                    EXPECT_EQ(shown.back(), c.told);
                else
                    EXPECT_EQ(shown.back().rfind(c.told, 0), 0u) << shown.back();
            } else {
                EXPECT_NE(h.read("C:\\zelbrin\\guangpan\\kept.wcd"),
                          pagesWith({{8, "E:\\docs\\README.txt[10]($)"}}));
            }
            h.ui.verifyAllUsed();
            fs::remove(link);
        }
    }
}

}  // namespace
