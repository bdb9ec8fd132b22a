// The page of a folder ("生成当前目录的网页"): where it goes, its lines in
// the list, table and template layouts, the names escaped, the download
// copies, the folders an imported index cannot lead out of, and quick page
// mode.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "support/failing_step.h"
#include "support/outside_snapshot.h"
#include "web_steps.h"

using namespace web_test;
using Strings = std::vector<std::string>;

namespace {

const std::string ListOpen = "<tr><td width=\"100%\"><br><UL>";
const std::string ListClose = "</ul></td></tr>";

TEST_F(WebPages, DefaultListPageOfAFolder) {
    clickDiscList(
        {"[003]Tools", "[003]Tools\\E:", "[003]Tools\\E:\\docs", "[003]Tools\\E:\\docs\\img"});
    generate();
    EXPECT_EQ(
        page("[003]Tools\\docs\\img\\"),
        (Strings{f().htmlText1, ListOpen,
                 "<li><a href=\"old\\ZelbrinIndex.html\"><font color=\"#ff0000\">old</font></a>",
                 "<li><a href=\"b.gif\"><font color=\"#0000ff\">b.gif</font></a>",
                 "<font color=\"#0000ff\">&nbsp;大小：2K</font>", ListClose, f().htmlText3}));
    EXPECT_EQ(pageTree(), (Strings{"[003]Tools/", "[003]Tools/docs/", "[003]Tools/docs/img/",
                                   "[003]Tools/docs/img/ZelbrinIndex.html"}));
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(WebPages, ScanRootPagesTakeTheFolderNameOfTheDiscOrTheScannedFolder) {
    f().htmlText1 = "<title>文件夹名字|文件夹名字</title>";
    struct Case {
        std::vector<std::string_view> clicks;
        std::string page;
        std::string head;
    };
    for (const Case& c : std::vector<Case>{
             {{"[003]Tools", "[003]Tools\\E:"},
              pagePath("[003]Tools\\"),
              "<title>[003]Tools|文件夹名字</title>"},
             {{"pop_hard", "pop_hard\\pop"},
              pagePath("pop_hard\\"),
              "<title>pop|文件夹名字</title>"},
             {{"d_hard", "d_hard\\D:"}, pagePath("d_hard\\"), "<title>d_hard|文件夹名字</title>"},
         }) {
        clickDiscList(c.clicks);
        generate();
        EXPECT_EQ(crlfLines(h.read(c.page)).front(), c.head) << c.page;
    }
}

TEST_F(WebPages, NothingToListOrADiscNodeWritesNoPage) {
    generate();  // nothing selected, nothing listed
    EXPECT_TRUE(h.exists("C:\\zelbrin\\webhtml"));
    EXPECT_EQ(pageTree(), Strings{});
    clickDiscList({"[003]Tools"});  // the disc's information rows
    generate();
    EXPECT_EQ(pageTree(), Strings{"[003]Tools/"});
}

TEST_F(WebPages, ListAndTableLayoutsWithSizesAndRemarks) {
    h.write(discFile(Tools, ".note"),
            "@##note##@[003]Tools\\E:\\docs\\img\\b.gif==<b>蓝</b> 图\r\n"
            "@##note##@[003]Tools\\E:\\docs\\img\\old.文件夹==旧\r\n");
    clickDiscList(
        {"[003]Tools", "[003]Tools\\E:", "[003]Tools\\E:\\docs", "[003]Tools\\E:\\docs\\img"});
    f().createnote1.userClick();
    struct Case {
        bool table, sizes;
        Strings rows;
    };
    const std::string tdOld =
        "<tr><td height=\"10\"><a href=\"old\\ZelbrinIndex.html\"><font "
        "color=\"#ff0000\">old</font></a></td>";
    const std::string tdB =
        "<tr><td height=\"10\"><a href=\"b.gif\"><font color=\"#0000ff\">b.gif</font></a></td>";
    for (const Case& c : std::vector<Case>{
             {false,
              true,
              {ListOpen,
               "<li><a href=\"old\\ZelbrinIndex.html\"><font color=\"#ff0000\">old</font></a>",
               "&nbsp;&nbsp;<font color=\"#000000\">旧</font>",
               "<li><a href=\"b.gif\"><font color=\"#0000ff\">b.gif</font></a>",
               "<font color=\"#0000ff\">&nbsp;大小：2K</font>",
               "<font color=\"#000000\">&nbsp;<b>蓝</b> 图</font>", ListClose}},
             {true,
              true,
              {tdOld, "<td height=\"10\">&nbsp;&nbsp;</td>",
               "<td height=\"10\"><font color=\"#ff0000\">旧&nbsp;</font></td>", "</tr>", tdB,
               "<td height=\"10\"><font color=\"#0000ff\">2K&nbsp;</font></td>",
               "<td height=\"10\"><font color=\"#0000ff\"><b>蓝</b> 图&nbsp;</font></td>",
               "</tr>"}},
             {true,
              false,
              {tdOld, "<td height=\"10\"><font color=\"#ff0000\">旧&nbsp;</font></td>", "</tr>",
               tdB, "<td height=\"10\"><font color=\"#0000ff\"><b>蓝</b> 图&nbsp;</font></td>",
               "</tr>"}},
         }) {
        f().ListOrTable = c.table;
        f().orSize = c.sizes;
        generate();
        Strings expected{f().htmlText1};
        expected.insert(expected.end(), c.rows.begin(), c.rows.end());
        expected.push_back(f().htmlText3);
        EXPECT_EQ(page("[003]Tools\\docs\\img\\"), expected);
    }
    // Without remarks the table has no remark cells.
    f().createnotes.userClick();
    f().orSize = true;
    generate();
    EXPECT_EQ(page("[003]Tools\\docs\\img\\"),
              (Strings{f().htmlText1, tdOld, "<td height=\"10\">&nbsp;&nbsp;</td>", "</tr>", tdB,
                       "<td height=\"10\"><font color=\"#0000ff\">2K&nbsp;</font></td>", "</tr>",
                       f().htmlText3}));
}

TEST_F(WebPages, TemplateRowsLinkedAndPlain) {
    clickDiscList(
        {"[003]Tools", "[003]Tools\\E:", "[003]Tools\\E:\\docs", "[003]Tools\\E:\\docs\\img"});
    f().Web2Text = true;
    struct Case {
        std::string partB;
        bool plain, sizes, remarks;
        std::string folderRow, fileRow;
    };
    const std::string custom =
        "<td>Zelbrin加计数 Zelbrin文件名|Zelbrin文件名 <i>Zelbrin文件大小</i> Zelbrin文件备注</td>";
    for (const Case& c : std::vector<Case>{
             {f().htmlText2, false, true, false,
              "<tr><td height=\"10\"><a href=\"old\\ZelbrinIndex.html\"><font "
              "color=\"#ff0000\">old&nbsp;</font></a></td><td height=\"10\">&nbsp;&nbsp;</td><td "
              "height=\"10\"><font color=\"#ff0000\"> &nbsp;</font></td></tr>",
              "<tr><td height=\"10\"><a href=\"b.gif\"><font "
              "color=\"#ff0000\">b.gif&nbsp;</font></a></td><td "
              "height=\"10\">2K&nbsp;&nbsp;</td><td height=\"10\"><font color=\"#ff0000\"> "
              "&nbsp;</font></td></tr>"},
             {custom, false, true, false,
              "<td>Zelbrin加计数 <a href=\"old\\ZelbrinIndex.html\">old&nbsp;</a>|Zelbrin文件名 "
              "<i>&nbsp;</i>  </td>",
              "<td>Zelbrin加计数 <a href=\"b.gif\">b.gif&nbsp;</a>|Zelbrin文件名 <i>2K&nbsp;</i>  "
              "</td>"},
             {custom, false, false, true,
              "<td>Zelbrin加计数 <a href=\"old\\ZelbrinIndex.html\">old&nbsp;</a>|Zelbrin文件名 "
              "<i>&nbsp;</i> &nbsp;</td>",
              "<td>Zelbrin加计数 <a href=\"b.gif\">b.gif&nbsp;</a>|Zelbrin文件名 <i>&nbsp;</i> "
              "&nbsp;</td>"},
             {custom, true, false, false,
              "<td>Zelbrin加计数 <a href=\"old\\ZelbrinIndex.html\">old&nbsp;</a>|Zelbrin文件名 "
              "<i>&nbsp;</i>  </td>",
              "<td>2 b.gif|b.gif <i>2K</i> </td>"},
             {"<td>Zelbrin文件大小</td>", false, true, false, "<td>&nbsp;</td>",
              "<td>2K&nbsp;</td>"},
         }) {
        f().htmlText2 = c.partB;
        if (f().add_link.checked() != c.plain) f().add_link.userClick();
        if (f().createnote1.checked() != c.remarks) f().createnote1.userClick();
        f().orSize = c.sizes;
        generate();
        EXPECT_EQ(page("[003]Tools\\docs\\img\\"),
                  (Strings{f().htmlText1, c.folderRow, c.fileRow, f().htmlText3}))
            << c.partB;
    }
}

TEST_F(WebPages, NamesAreEscapedInTextAndEncodedInLinks) {
    f().htmlText1 = "<title>文件夹名字</title>";
    f().htmlText3 = "end";
    clickDiscList({"[010]Odd", "[010]Odd\\E:"});
    generate();
    EXPECT_EQ(
        page("[010]Odd\\"),
        (Strings{"<title>[010]Odd</title>", ListOpen,
                 "<li><a href=\"a%26b%20%27c%27%20%231\\ZelbrinIndex.html\"><font "
                 "color=\"#ff0000\">a&amp;b &#39;c&#39; #1</font></a>",
                 "<li><a href=\"..\\ZelbrinIndex.html\"><font color=\"#ff0000\">..</font></a>",
                 "<li><a href=\"top.txt\"><font color=\"#0000ff\">top.txt</font></a>",
                 "<font color=\"#0000ff\">&nbsp;大小：1K</font>", ListClose, "end"}));
    clickDiscList({"[010]Odd\\E:\\a&b 'c' #1"});
    generate();
    EXPECT_EQ(
        page("[010]Odd\\a&b 'c' #1\\"),
        (Strings{
            "<title>a&amp;b &#39;c&#39; #1</title>", ListOpen,
            "<li><a href=\"q%26a%20%251.txt\"><font color=\"#0000ff\">q&amp;a %1.txt</font></a>",
            "<font color=\"#0000ff\">&nbsp;大小：1K</font>",
            "<li><a href=\"%E5%9B%BE%20%E7%89%87.jpg\"><font color=\"#0000ff\">图 "
            "片.jpg</font></a>",
            "<font color=\"#0000ff\">&nbsp;大小：2K</font>", ListClose, "end"}));
}

TEST_F(WebPages, AFolderNamedDotDotGetsNoPageAndNoCopies) {
    h.write("E:\\x.txt", "x");
    clickWithMessage(f().htmlcopyall,
                     "现在将把目录下的 [所有] "
                     "文件\r\n拷贝到与生成网页相对应的位置，\r\n如果文件比较大，请耐心等待。");
    clickDiscList({"[010]Odd", "[010]Odd\\E:", "[010]Odd\\E:\\.."});
    ASSERT_EQ(f().ListView1.count(), 1);
    h.ui.clearLog();
    generate();
    EXPECT_EQ(pageTree(), Strings{"[010]Odd/"});
    EXPECT_FALSE(h.exists("C:\\zelbrin\\ZelbrinIndex.html"));
    EXPECT_FALSE(h.exists("C:\\zelbrin\\x.txt"));
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(WebPages, DownloadCopiesOfAllOrTickedFiles) {
    h.write("E:\\docs\\img\\b.gif", "GIF89a");
    h.write("E:\\docs\\Readme.TXT", "read me");
    h.write("E:\\docs\\a.txt", "text of a");
    h.write("E:\\docs\\README", "read me too");
    clickWithMessage(f().htmlcopyall,
                     "现在将把目录下的 [所有] "
                     "文件\r\n拷贝到与生成网页相对应的位置，\r\n如果文件比较大，请耐心等待。");
    clickDiscList(
        {"[003]Tools", "[003]Tools\\E:", "[003]Tools\\E:\\docs", "[003]Tools\\E:\\docs\\img"});
    generate();
    EXPECT_EQ(h.read("C:\\zelbrin\\webhtml\\[003]Tools\\docs\\img\\b.gif"), "GIF89a");
    EXPECT_EQ(h.ui.pointers(),
              (std::vector<int>{platform::PointerHourglass, platform::PointerDefault}));
    // Again: the copy exists, which is told with its path and reason; the
    // page is written all the same.
    h.write("C:\\zelbrin\\webhtml\\[003]Tools\\docs\\img\\ZelbrinIndex.html", "old page");
    h.ui.answerMsgBox(platform::MsgOK,
                      "不能保存文件: C:\\zelbrin\\webhtml\\[003]Tools\\docs\\img\\b.gif文件已存在");
    generate();
    EXPECT_EQ(h.ui.log().back().title, "提示");
    EXPECT_EQ(h.read("C:\\zelbrin\\webhtml\\[003]Tools\\docs\\img\\b.gif"), "GIF89a");
    EXPECT_EQ(page("[003]Tools\\docs\\img\\").front(), f().htmlText1);

    // Ticked files only: Readme.TXT and a.txt are ticked, 誠遊許.jpeg ticked
    // twice (not).
    clickWithMessage(f().htmlcopygou1,
                     "现在将把目录下的 [打勾] "
                     "文件\r\n拷贝到与生成网页相对应的位置，\r\n如果文件比较大，请耐心等待。");
    clickDiscList({"[003]Tools\\E:\\docs"});
    h.ui.clearLog();
    generate();
    EXPECT_TRUE(h.ui.messages().empty());
    // The copy takes the name the page links to: the file's own, as its
    // index line spells it.
    EXPECT_TRUE(std::filesystem::is_regular_file(
        h.nativePath("C:\\zelbrin\\webhtml\\[003]Tools\\docs") + "/Readme.TXT"));
    EXPECT_EQ(h.read("C:\\zelbrin\\webhtml\\[003]Tools\\docs\\Readme.TXT"), "read me");
    EXPECT_EQ(h.read("C:\\zelbrin\\webhtml\\[003]Tools\\docs\\a.txt"), "text of a");
    EXPECT_FALSE(h.exists("C:\\zelbrin\\webhtml\\[003]Tools\\docs\\README"));

    // No disc in the drive: the copies of setup.exe and 1.txt fail (the
    // disc page does not list ".profile"), told once at the end.
    clickWithMessage(f().htmlcopyall1,
                     "现在将把目录下的 [所有] "
                     "文件\r\n拷贝到与生成网页相对应的位置，\r\n如果文件比较大，请耐心等待。");
    clickDiscList({"[003]Tools\\E:"});
    h.setCdReady(false);
    h.ui.clearLog();
    h.ui.answerMsgBox(platform::MsgOK, FileError);
    generate();
    EXPECT_EQ(h.ui.messages().size(), 1u);
    EXPECT_EQ(h.ui.log().back().title, ErrorTitle);
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

TEST_F(WebPages, DownloadCopiesOfHardDiskFolders) {
    h.write("C:\\music\\pop\\live\\a.mp3", "live a");
    h.write("C:\\music\\pop\\live\\b.mp3", "live b");
    h.write("D:\\sub\\f.txt", "f of d");
    clickWithMessage(f().htmlcopyall,
                     "现在将把目录下的 [所有] "
                     "文件\r\n拷贝到与生成网页相对应的位置，\r\n如果文件比较大，请耐心等待。");
    clickDiscList({"pop_hard", "pop_hard\\pop", "pop_hard\\pop\\live"});
    generate();
    EXPECT_EQ(h.read("C:\\zelbrin\\webhtml\\pop_hard\\live\\a.mp3"), "live a");
    EXPECT_EQ(h.read("C:\\zelbrin\\webhtml\\pop_hard\\live\\b.mp3"), "live b");
    clickDiscList({"d_hard", "d_hard\\D:", "d_hard\\D:\\sub"});
    generate();
    EXPECT_EQ(h.read("C:\\zelbrin\\webhtml\\d_hard\\sub\\f.txt"), "f of d");
    // An unreadable index of a hard-disk folder: no page.
    clickDiscList({"pop_hard", "pop_hard\\pop"});
    std::filesystem::remove(h.nativePath(indexPath(Pop)));
    generate();
    EXPECT_FALSE(h.exists(pagePath("pop_hard\\")));
}

TEST_F(WebPages, QuickPageModeWritesThePageOfEveryListedFolder) {
    f().CreateHtmlTrue1.userClick();
    EXPECT_TRUE(f().CreateHtmlTrue.checked());
    clickDiscList({"[003]Tools"});
    EXPECT_EQ(pageTree(), Strings{});
    clickDiscList({"[003]Tools\\E:", "[003]Tools\\E:\\pics"});
    EXPECT_EQ(pageTree(), (Strings{"[003]Tools/", "[003]Tools/ZelbrinIndex.html",
                                   "[003]Tools/pics/", "[003]Tools/pics/ZelbrinIndex.html"}));
    f().CreateHtmlTrue.userClick();
    EXPECT_FALSE(f().CreateHtmlTrue1.checked());
    clickDiscList({"[003]Tools\\E:\\2004"});
    EXPECT_FALSE(h.exists(pagePath("[003]Tools\\2004\\")));
}

TEST_F(WebPages, PageOptionsKeepTwinsEqualAndCopyOptionsExclusive) {
    const std::string all =
        "现在将把目录下的 [所有] "
        "文件\r\n拷贝到与生成网页相对应的位置，\r\n如果文件比较大，请耐心等待。";
    const std::string ticked =
        "现在将把目录下的 [打勾] "
        "文件\r\n拷贝到与生成网页相对应的位置，\r\n如果文件比较大，请耐心等待。";
    const std::string none = "现在只生成目录网页，不拷贝文件。";
    auto marks = [&] {
        return std::vector<bool>{f().htmlcopygou.checked(), f().htmlcopygou1.checked(),
                                 f().htmlcopyall.checked(), f().htmlcopyall1.checked()};
    };
    EXPECT_EQ(marks(), (std::vector<bool>{false, false, false, false}));
    struct Step {
        platform::MenuItem& item;
        std::string message;
        std::vector<bool> after;
    };
    for (const Step& s : std::vector<Step>{
             {f().htmlcopygou, ticked, {true, true, false, false}},
             {f().htmlcopyall1, all, {false, false, true, true}},
             {f().htmlcopyall, none, {false, false, false, false}},
             {f().htmlcopygou1, ticked, {true, true, false, false}},
             {f().htmlcopygou1, none, {false, false, false, false}},
         }) {
        clickWithMessage(s.item, s.message);
        EXPECT_EQ(marks(), s.after) << s.item.name();
    }
    h.ui.clearLog();
    f().createnotes.userClick();
    EXPECT_TRUE(f().createnote1.checked() && f().createnotes.checked());
    f().createnote1.userClick();
    EXPECT_FALSE(f().createnote1.checked() || f().createnotes.checked());
    f().add_link.userClick();
    EXPECT_TRUE(f().add_link.checked());
    f().add_link.userClick();
    EXPECT_FALSE(f().add_link.checked());
    EXPECT_TRUE(h.ui.log().empty());
}

}  // namespace

namespace {

// A link at each level of the page's path or the copy's source that leads
// out of webhtml\<disc> or out of the CD: nothing outside changes (bytes,
// modes, new folders), each refusal is told with its path, and what stays
// inside is still written.
TEST_F(WebPages, PagesAndCopiesNeverLeaveTheirFolders) {
    namespace fs = std::filesystem;
    h.write("E:\\docs\\img\\b.gif", "GIF89a");
    clickWithMessage(f().htmlcopyall,
                     "现在将把目录下的 [所有] "
                     "文件\r\n拷贝到与生成网页相对应的位置，\r\n如果文件比较大，请耐心等待。");
    const std::string disc = h.nativePath("C:\\zelbrin\\webhtml") + "/[003]Tools";
    const std::string outside = h.nativePath("C:\\outside");
    const std::string Refused = "路径不在允许的文件夹里：";
    struct Case {
        const char* name;
        std::function<void()> link;  // made before the page
        std::string refused;         // the start of the one message; "" for none
        bool copied;                 // b.gif copied beside the page
        bool pageWritten;
    };
    const Case cases[] = {
        {"disc folder", [&] { fs::create_directory_symlink(outside, disc); },
         Refused + "C:\\zelbrin\\webhtml\\[003]Tools", false, false},
        {"folder on the way",
         [&] {
             fs::create_directories(disc);
             fs::create_directory_symlink(outside, disc + "/docs");
         },
         Refused + "C:\\zelbrin\\webhtml\\[003]Tools\\docs", false, false},
        {"page file",
         [&] {
             fs::create_directories(disc + "/docs/img");
             fs::create_symlink(outside + "/page.html", disc + "/docs/img/ZelbrinIndex.html");
         },
         Refused + "C:\\zelbrin\\webhtml\\[003]Tools\\docs\\img\\ZelbrinIndex.html", true, false},
        {"copy's name, a link to nothing outside",
         [&] {
             fs::create_directories(disc + "/docs/img");
             fs::create_symlink(outside + "/none.gif", disc + "/docs/img/b.gif");
         },
         Refused + "C:\\zelbrin\\webhtml\\[003]Tools\\docs\\img\\b.gif", false, true},
        {"source file",
         [&] {
             fs::remove(h.cdFolder() + "/docs/img/b.gif");
             fs::create_symlink(outside + "/secret.gif", h.cdFolder() + "/docs/img/b.gif");
         },
         Refused + "E:\\docs\\img\\b.gif", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(h.nativePath("C:\\zelbrin\\webhtml"));
        fs::remove_all(outside);
        h.write("C:\\outside\\page.html", "outside page");
        h.write("C:\\outside\\secret.gif", "secret");
        fs::permissions(outside + "/secret.gif", fs::perms::owner_read);
        fs::remove(h.cdFolder() + "/docs/img/b.gif");
        h.write("E:\\docs\\img\\b.gif", "GIF89a");
        fs::create_directories(h.nativePath("C:\\zelbrin\\webhtml"));
        c.link();
        const auto before = testsupport::outsideSnapshot(outside);
        clickDiscList(
            {"[003]Tools", "[003]Tools\\E:", "[003]Tools\\E:\\docs", "[003]Tools\\E:\\docs\\img"});
        h.ui.clearLog();
        if (!c.refused.empty()) h.ui.answerMsgBox(platform::MsgOK);
        generate();
        EXPECT_EQ(testsupport::outsideSnapshot(outside), before);
        ASSERT_EQ(h.ui.messages().size(), c.refused.empty() ? 0u : 1u);
        if (!c.refused.empty()) {
            EXPECT_EQ(h.ui.messages()[0].rfind(c.refused, 0), 0u) << h.ui.messages()[0];
        }
        EXPECT_EQ(fs::is_regular_file(disc + "/docs/img/b.gif"), c.copied);
        EXPECT_EQ(fs::is_regular_file(fs::symlink_status(disc + "/docs/img/ZelbrinIndex.html")),
                  c.pageWritten);
    }
}

}  // namespace

namespace {

const std::string CopyAll =
    "现在将把目录下的 [所有] "
    "文件\r\n拷贝到与生成网页相对应的位置，\r\n如果文件比较大，请耐心等待。";
const std::string DocsPage = "C:\\zelbrin\\webhtml\\[003]Tools\\docs\\ZelbrinIndex.html";

std::string cannotSave(const std::string& path, int number) {
    return "不能保存文件: " + path + platform::errorText(number);
}

// The page's write failing at each step before its rename (a full disk, a
// device error): the old page keeps its bytes, no temporary file is left,
// and the user is told the page and the reason.
TEST_F(WebPages, APageThatCannotBeWrittenKeepsTheOldOneAndIsTold) {
    clickDiscList({"[003]Tools", "[003]Tools\\E:", "[003]Tools\\E:\\docs"});
    h.write(DocsPage, "old page");
    for (const testsupport::StepFailure& failure : testsupport::commitFailures()) {
        SCOPED_TRACE(failure.name());
        h.ui.clearLog();
        {
            const testsupport::FailingStep failing(failure);
            h.ui.answerMsgBox(platform::MsgOK);
            generate();
        }
        EXPECT_EQ(h.ui.messages(), Strings{cannotSave(DocsPage, failure.number)});
        EXPECT_EQ(h.ui.log().back().title, "提示");
        EXPECT_EQ(h.read(DocsPage), "old page");
        EXPECT_EQ(testsupport::tempFilesIn(h.nativePath("C:\\zelbrin\\webhtml")), Strings{});
    }
}

// A disk that fills up after the first two copies: the copies after them and
// the page fail, and one box at the end names the page first and then each
// copy with the reason; a copy whose source is missing from the disc is no
// failed write: the file error text says so once, after the list.
TEST_F(WebPages, AFullDiskTellsThePageAndEachCopyWithItsReason) {
    for (const char* name : {"Readme.TXT", "a.txt", "a.txt.bak", "README", "誠遊許.jpeg"})
        h.write("E:\\docs\\" + std::string(name), name);
    clickWithMessage(f().htmlcopyall, CopyAll);
    clickDiscList({"[003]Tools", "[003]Tools\\E:", "[003]Tools\\E:\\docs"});
    h.ui.clearLog();
    {
        const testsupport::FailingStep failing(
            {platform::files::CommitStep::CreateTemp, platform::err::DiskFull, 3});
        h.ui.answerMsgBox(platform::MsgOK);
        h.ui.answerMsgBox(platform::MsgOK, FileError);
        generate();
    }
    const std::string docs = "C:\\zelbrin\\webhtml\\[003]Tools\\docs\\";
    const int full = platform::err::DiskFull;
    ASSERT_EQ(h.ui.messages().size(), 2u);
    EXPECT_EQ(h.ui.messages()[0], cannotSave(DocsPage, full) + "\r\n" +
                                      cannotSave(docs + "README", full) + "\r\n" +
                                      cannotSave(docs + "誠遊許.jpeg", full) + "\r\n" +
                                      cannotSave(docs + "a.txt.bak", full));
    Strings titles;
    for (const testsupport::Shown& shown : h.ui.log())
        if (shown.kind == testsupport::ShownKind::MsgBox) titles.push_back(shown.title);
    EXPECT_EQ(titles, (Strings{"提示", std::string(ErrorTitle)}));
    EXPECT_EQ(h.read(docs + "Readme.TXT"), "Readme.TXT");
    EXPECT_EQ(h.read(docs + "a.txt"), "a.txt");
    EXPECT_EQ(pageTree(), (Strings{"[003]Tools/", "[003]Tools/docs/", "[003]Tools/docs/Readme.TXT",
                                   "[003]Tools/docs/a.txt"}));
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

// A folder of the page that cannot be made (the disk full): told once with
// the page, and nothing is copied.
TEST_F(WebPages, APageFolderThatCannotBeMadeIsToldOnce) {
    h.write("E:\\docs\\img\\b.gif", "GIF89a");
    h.makeFolder("C:\\zelbrin\\webhtml\\[003]Tools");
    clickWithMessage(f().htmlcopyall, CopyAll);
    clickDiscList(
        {"[003]Tools", "[003]Tools\\E:", "[003]Tools\\E:\\docs", "[003]Tools\\E:\\docs\\img"});
    h.ui.clearLog();
    {
        const testsupport::FailingStep failing(
            {platform::files::CommitStep::MakeFolder, platform::err::DiskFull});
        h.ui.answerMsgBox(platform::MsgOK);
        generate();
    }
    EXPECT_EQ(h.ui.messages(),
              Strings{cannotSave(pagePath("[003]Tools\\docs\\img\\"), platform::err::DiskFull)});
    EXPECT_EQ(pageTree(), Strings{"[003]Tools/"});
}

}  // namespace
