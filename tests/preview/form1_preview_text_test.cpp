// Remarks taken from a file or from the text selected in the preview, and a
// previewed hard-disk file renamed after the selected text, driven through
// the main window as the user does it: the disc page, the file list's
// pop-up menu, the menu, the toolbar and the status bar.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "discpage/disc_page_steps.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"
#include "support/outside_snapshot.h"
#include "support/temp_folder.h"

using namespace disc_page_test;
using Strings = std::vector<std::string>;

namespace {

constexpr std::string_view Docs = "docs_hard";
const std::vector<std::string_view> DocsIndex = {
    "C:\\data\\docs\\|sub",          "C:\\data\\docs\\a.txt.bak[3]", "C:\\data\\docs\\a.txt[10]($)",
    "C:\\data\\docs\\b.txt[4]",      "C:\\data\\docs\\page.htm[20]", "C:\\data\\docs\\pic.bmp[5]",
    "C:\\data\\docs\\sub\\c.txt[1]",
};

class PreviewText : public DiscPage {
  protected:
    void SetUp() override {
        h.write(indexPath(Docs), lines(DocsIndex));
        h.write(indexPath(Tools), lines(ToolsIndex));
        h.write(indexPath(Pop), lines(PopIndex));
        h.write("C:\\zelbrin\\ini.ini", std::string(Catalogue) + "|文档\r\n#docs_hard#9#文档#\r\n");
        h.write("C:\\data\\docs\\a.txt", "甲乙");
        h.write("C:\\data\\docs\\a.txt.bak", "bak");
        h.write("C:\\data\\docs\\b.txt", "b");
        h.write("C:\\data\\docs\\page.htm", "<TITLE>首页</TITLE>");
        h.start();
    }
    // The disc page with the folder listed and the row clicked; the preview
    // browser shows path (a Windows path) with text selected in it.
    void preview(const std::vector<std::string_view>& folders, std::string_view rowText,
                 const std::string& path, const std::string& selected) {
        clickDiscList(folders);
        f().ListView1.userClickItem(row(f(), rowText));
        if (!path.empty()) {
            f().WebBrowser1.navigate("file://" + path);
            f().WebBrowser1.setVisible(true);
            f().WebBrowser1.zOrder(0);
        }
        f().WebBrowser1.userSelect(selected);
    }
    void told(const std::string& prompt) { h.ui.answerMsgBox(platform::MsgOK, prompt); }
    Strings boxes() const {
        Strings out;
        for (const auto& s : h.ui.log())
            if (s.kind == testsupport::ShownKind::MsgBox) out.push_back(s.title + ": " + s.prompt);
        return out;
    }
    void autoRemark(std::string_view rowText) {
        h.ui.choosePopup("addnotesauto");
        f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &row(f(), rowText));
    }
    std::string remarkOf(std::string_view rowText) { return row(f(), rowText).subItem(3); }
};

TEST_F(PreviewText, AutomaticRemarksComeFromTheTitleOrTheOpeningOfTheFile) {
    h.write("E:\\docs\\Readme.TXT",
            "  Hello\r\nWorld, 这是一个很长的说明文字，比三十个字还要长得多得多得多  ");
    h.write("E:\\docs\\a.txt", "");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    autoRemark("Readme");
    const std::string expected = "HelloWorld, 这是一个很长的说明文字，比三十个字还";
    EXPECT_EQ(remarkOf("Readme"), expected);
    // Stored: the folder listed again shows it.
    clickDiscList({"[003]Tools\\E:\\docs"});
    EXPECT_EQ(remarkOf("Readme"), expected);

    // A hard-disk page's title, read from the catalogued folder.
    clickDiscList({Docs, "docs_hard\\docs"});
    autoRemark("page");
    EXPECT_EQ(remarkOf("page"), "首页");
    EXPECT_TRUE(boxes().empty());
}

// The file's own character set, by the program's one document decoder: a
// declaration the bytes can be in, else UTF-8 when the bytes are UTF-8, else
// code page 936. The remark is stored in code page 936 whatever the file was.
TEST_F(PreviewText, AutomaticRemarksReadTheFileInItsOwnCharacterSet) {
    const std::string title = "旅行光盘首页";
    const std::string gbk = platform::text::toCp936(title);
    const std::string mixed = "旅行" + gbk + "\xC3\xA9";
    struct Case {
        const char* what;
        const char* row;
        std::string bytes;
        std::string remark;
    };
    const std::vector<Case> cases = {
        {"utf-8 page declaring it", "page",
         "<html><head><meta charset=\"utf-8\"><title>" + title + "</title>", title},
        {"utf-8 page without a declaration", "page", "<title>" + title + "</title>", title},
        {"gbk page declaring gb2312", "page",
         "<meta http-equiv=Content-Type content=\"text/html; charset=gb2312\"><title>" + gbk +
             "</title>",
         title},
        {"gbk page without a declaration", "page", "<TITLE>" + gbk + "</TITLE>", title},
        {"a utf-8 declaration on gbk bytes", "page",
         "<meta charset=\"utf-8\"><title>" + gbk + "</title>", title},
        {"utf-8 text", "b", title + "\r\n第二行", title + "第二行"},
        {"utf-16 text with its mark", "b", std::string("\xFF\xFE\x49\x51\xD8\x76", 6), "光盘"},
        {"gbk text", "b", gbk, title},
        {"mixed bytes: code page 936", "b", mixed, platform::text::fromCp936(mixed)},
    };
    clickDiscList({Docs, "docs_hard\\docs"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = std::string("C:\\data\\docs\\") + c.row +
                                 (std::string(c.row) == "page" ? ".htm" : ".txt");
        h.writeBytes(file, c.bytes);
        autoRemark(c.row);
        EXPECT_EQ(remarkOf(c.row), c.remark);
        const std::string notes = h.readBytes(disc_page_test::discFile(Docs, ".note"));
        EXPECT_NE(notes.find(platform::text::toCp936(c.remark)), std::string::npos);
    }
    EXPECT_TRUE(boxes().empty());
}

// A remark taken from a file, its title or its selected text is stored on
// the one line of its record: no CR LF, lone LF or lone CR stays in it,
// whichever way the file ends its lines.
TEST_F(PreviewText, ARemarkTakenFromAFileKeepsNoLineBreak) {
    struct Case {
        const char* what;
        const char* row;  // b.txt or page.htm
        std::string bytes;
        std::string selected;  // "" takes the remark from the file itself
        std::string remark;
    };
    const std::vector<Case> cases = {
        {"utf-8 text, LF", "b", "第一行笔记。\n第二行\n", "", "第一行笔记。第二行"},
        {"text, lone CR", "b", "one\rtwo\r", "", "onetwo"},
        {"text, every kind", "b", "a\r\nb\nc\rd", "", "abcd"},
        {"title over lines", "page", "<title>两行\r\n标题\n三</title>", "", "两行标题三"},
        {"selection", "b", "x", " 选中的\n文字\r\n第三\r行 ", "选中的文字第三行"},
    };
    clickDiscList({Docs, "docs_hard\\docs"});
    const std::string notes = disc_page_test::discFile(Docs, ".note");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool page = std::string(c.row) == "page";
        h.writeBytes(std::string("C:\\data\\docs\\") + c.row + (page ? ".htm" : ".txt"), c.bytes);
        if (c.selected.empty()) {
            autoRemark(c.row);
        } else {
            preview({"docs_hard\\docs"}, c.row, "C:\\data\\docs\\b.txt", c.selected);
            f().Toolbar1.userClick("addselecttoremark");
        }
        EXPECT_EQ(remarkOf(c.row), c.remark);
        const std::string key = std::string("docs_hard\\docs\\") + c.row + (page ? ".htm" : ".txt");
        EXPECT_EQ(h.readBytes(notes),
                  platform::text::toCp936("@##note##@" + key + "==" + c.remark + "\r\n"));
        std::filesystem::remove(h.nativePath(notes));
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(PreviewText, NoTextLeavesTheRemarkAsItWas) {
    h.write("E:\\docs\\Readme.TXT", "first");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    autoRemark("Readme");
    ASSERT_EQ(remarkOf("Readme"), "first");

    // Empty, missing, CD out of the drive: told; the remark stays.
    h.write("E:\\docs\\Readme.TXT", "\r\n\r\n");
    told("文件不存在或没有光盘在光驱里!");
    autoRemark("Readme");
    h.setCdReady(false);
    told("文件不存在或没有光盘在光驱里!");
    autoRemark("Readme");
    EXPECT_EQ(remarkOf("Readme"), "first");

    // A page without a title and a type of neither group: silent.
    clickDiscList({Docs, "docs_hard\\docs"});
    h.write("C:\\data\\docs\\page.htm", "<p>no title</p>");
    autoRemark("page");
    autoRemark("pic");
    EXPECT_EQ(remarkOf("page"), "");
    EXPECT_EQ(boxes().size(), 2u);
}

TEST_F(PreviewText, TheSelectionBecomesTheRemarkOfTheSelectedFile) {
    preview({Docs, "docs_hard\\docs"}, "b", "C:\\data\\docs\\b.txt", "  选中的\n文字 ");
    f().Toolbar1.userClick("addselecttoremark");
    EXPECT_EQ(remarkOf("b"), "选中的文字");
    EXPECT_EQ(h.clipboard.text(), "  选中的\n文字 ");
    // The menu item does the same and replaces the remark.
    f().WebBrowser1.userSelect("again");
    f().addselecttoremark.userClick();
    clickDiscList({"docs_hard\\docs"});
    EXPECT_EQ(remarkOf("b"), "again");
}

TEST_F(PreviewText, TheSelectionCommandRefusesWhatItCannotUse) {
    // Nothing selected: refused, the clipboard left empty.
    preview({Docs, "docs_hard\\docs"}, "b", "C:\\data\\docs\\b.txt", "");
    h.clipboard.setText("old");
    told("请先在预览窗口中选中文字！");
    f().addselecttoremark.userClick();
    EXPECT_EQ(h.clipboard.text(), "");
    // A picture shown instead of the browser.
    f().WebBrowser1.userSelect("x");
    f().WebBrowser1.setVisible(false);
    told("预览网页和文本文件时才可以用上此功能！");
    f().addselecttoremark.userClick();
    // The disc node selected.
    f().WebBrowser1.setVisible(true);
    clickDiscList({Docs});
    told("请选择要预览的文件！");
    f().addselecttoremark.userClick();
    // The pane closed.
    f().OpenPreview_Click();
    told("请先在光盘页打开预览窗口！");
    f().addselecttoremark.userClick();
    clickDiscList({"docs_hard\\docs"});
    EXPECT_EQ(remarkOf("b"), "");
}

TEST_F(PreviewText, TheSelectedTextRenamesTheFileAndOnlyItsOwnIndexLine) {
    preview({Docs, "docs_hard\\docs"}, "a", "C:\\data\\docs\\a.txt", "  报告:第1章\r\n");
    f().AlterFilename.userClick();
    EXPECT_TRUE(boxes().empty());
    EXPECT_FALSE(h.exists("C:\\data\\docs\\a.txt"));
    EXPECT_EQ(h.read("C:\\data\\docs\\报告第1章.txt"), "甲乙");
    EXPECT_EQ(h.read("C:\\data\\docs\\a.txt.bak"), "bak");
    EXPECT_EQ(index(Docs), lines({
                               "C:\\data\\docs\\|sub",
                               "C:\\data\\docs\\a.txt.bak[3]",
                               "C:\\data\\docs\\报告第1章.txt[10]($)",
                               "C:\\data\\docs\\b.txt[4]",
                               "C:\\data\\docs\\page.htm[20]",
                               "C:\\data\\docs\\pic.bmp[5]",
                               "C:\\data\\docs\\sub\\c.txt[1]",
                           }));
    EXPECT_EQ(row(f(), "报告第1章").subItem(1), "txt");

    // Again without a new preview: the browser still names the old file.
    told("有错误！");
    f().StatusBar1.userDblClick();
    EXPECT_TRUE(h.exists("C:\\data\\docs\\报告第1章.txt"));
}

TEST_F(PreviewText, ARenameThatWouldReplaceAnotherFileChangesNothing) {
    const std::string before = index(Docs);
    preview({Docs, "docs_hard\\docs"}, "a", "C:\\data\\docs\\a.txt", "b");
    told("有错误！");
    f().Toolbar1.userClick("altername");
    EXPECT_EQ(h.read("C:\\data\\docs\\a.txt"), "甲乙");
    EXPECT_EQ(h.read("C:\\data\\docs\\b.txt"), "b");
    EXPECT_EQ(index(Docs), before);
    EXPECT_NO_FATAL_FAILURE(row(f(), "a"));
    // A page the index does not hold (the start page).
    f().WebBrowser1.navigate("file:\\\\C:\\zelbrin\\readme.htm");
    f().WebBrowser1.userSelect("new");
    told("有错误！");
    f().AlterFilename.userClick();
    EXPECT_EQ(index(Docs), before);
}

// A hard-disk folder C:\twins\docs with case twins of two sizes.
TEST_F(PreviewText, TheRenameTakesTheShownFilesOwnLineAndRowAmongCaseTwins) {
    const std::vector<std::string_view> twins = {
        "C:\\twins\\docs\\|sub",        "C:\\twins\\docs\\A.txt[2]",
        "C:\\twins\\docs\\a.txt[3]",    "C:\\twins\\docs\\Note.TXT[4]",
        "C:\\twins\\docs\\Note.txt[5]", "C:\\twins\\docs\\sub\\c.txt[1]",
    };
    h.write(indexPath("twins_hard"), lines(twins));
    h.makeFolder("C:\\twins\\docs");
    // Written by their native names: a Windows path finds a file of another
    // letter case when its own is missing.
    const std::string folder = h.nativePath("C:\\twins\\docs");
    for (const char* name : {"A.txt", "a.txt", "Note.TXT", "Note.txt"})
        testsupport::writeBytes(folder + "/" + name, name);
    f().refresh1_Click();
    const auto rename = [&](std::string_view key, const std::string& shown,
                            const std::string& selected) {
        clickDiscList({"twins_hard", "twins_hard\\docs"});
        platform::ListItem* r = f().ListView1.find(key);
        ASSERT_NE(r, nullptr);
        f().ListView1.userClickItem(*r);
        f().WebBrowser1.navigate("file://" + shown);
        f().WebBrowser1.setVisible(true);
        f().WebBrowser1.zOrder(0);
        f().WebBrowser1.userSelect(selected);
        f().AlterFilename.userClick();
    };
    // The texts of the rows of these keys.
    const auto texts = [&](const Strings& keys) {
        Strings out;
        for (const std::string& key : keys) {
            const platform::ListItem* r = f().ListView1.find(key);
            out.push_back(r ? r->text() : "(none)");
        }
        return out;
    };

    rename("a.txt[3]", "C:\\twins\\docs\\a.txt", "新");
    EXPECT_EQ(testsupport::readBytes(folder + "/新.txt"), "a.txt");
    EXPECT_EQ(testsupport::readBytes(folder + "/A.txt"), "A.txt");
    std::vector<std::string_view> expected = twins;
    expected[2] = "C:\\twins\\docs\\新.txt[3]";
    EXPECT_EQ(index("twins_hard"), lines(expected));
    EXPECT_EQ(texts({"A.txt[2]", "a.txt[3]", "Note.TXT[4]", "Note.txt[5]"}),
              (Strings{"A", "新", "Note", "Note"}));

    // The row of a file whose extension is not lower case takes the new name.
    rename("Note.TXT[4]", "C:\\twins\\docs\\Note.TXT", "X");
    EXPECT_EQ(testsupport::readBytes(folder + "/X.TXT"), "Note.TXT");
    EXPECT_EQ(testsupport::readBytes(folder + "/Note.txt"), "Note.txt");
    expected[3] = "C:\\twins\\docs\\X.TXT[4]";
    EXPECT_EQ(index("twins_hard"), lines(expected));
    EXPECT_EQ(texts({"A.txt[2]", "新.txt[3]", "Note.TXT[4]", "Note.txt[5]"}),
              (Strings{"A", "新", "X", "Note"}));

    // A path the index spells two other ways: refused, nothing changes.
    h.write(indexPath("twins_hard"), lines(twins));
    told("有几个文件的名字只是大小写不同，无法确定是哪一个：C:\\twins\\docs\\NOTE.txt");
    rename("Note.txt[5]", "C:\\twins\\docs\\NOTE.txt", "Y");
    EXPECT_EQ(index("twins_hard"), lines(twins));
    EXPECT_EQ(testsupport::readBytes(folder + "/Note.txt"), "Note.txt");
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(PreviewText, TheRenameRefusesWhatItCannotUse) {
    struct Case {
        std::string name;
        std::function<void()> arrange;
        std::string prompt;
    };
    for (const Case& c : std::vector<Case>{
             {"a CD disc",
              [&] {
                  preview({Tools, "[003]Tools\\E:\\docs"}, "README", "E:\\docs\\README", "x");
              },
              "只能修改硬盘文件名！请选择扫描硬盘得来得目录文件。"},
             {"a folder row",
              [&] {
                  preview({Docs, "docs_hard\\docs"}, "sub", "C:\\data\\docs\\a.txt", "x");
              },
              "请不要选择文件夹，只修改文件名！"},
             {"a picture shown",
              [&] {
                  preview({Docs, "docs_hard\\docs"}, "a", "C:\\data\\docs\\a.txt", "x");
                  f().WebBrowser1.setVisible(false);
              },
              "必须是预览网页和文本文件时才可以用上次功能！"},
             {"nothing selected",
              [&] {
                  preview({Docs, "docs_hard\\docs"}, "a", "C:\\data\\docs\\a.txt", " :?\r\n");
              },
              "请选择要作为文件名的文字。"},
             {"the pane closed",
              [&] {
                  preview({Docs, "docs_hard\\docs"}, "a", "C:\\data\\docs\\a.txt", "x");
                  f().OpenPreview_Click();
              },
              "请点击光盘标签，打开预览窗口，选中要作为文件名的文字。"},
         }) {
        SCOPED_TRACE(c.name);
        c.arrange();
        told(c.prompt);
        f().AlterFilename.userClick();
        if (!f().Toolbar1.button("preview").value()) f().OpenPreview_Click();
        f().WebBrowser1.setVisible(true);
    }
    EXPECT_EQ(h.read("C:\\data\\docs\\a.txt"), "甲乙");
    EXPECT_EQ(index(Docs), lines(DocsIndex));
}

}  // namespace

// A previewed file whose path leads out of the catalogued folder C:\data\docs
// (the index names it: an imported index can) is never renamed: the message
// names the path, and nothing outside the folder changes, the index neither.
// A link inside the folder is renamed itself, never the file it names.
TEST_F(PreviewText, TheRenameChangesNothingOutsideTheCataloguedFolder) {
    namespace fs = std::filesystem;
    h.write("C:\\other\\c.txt", "other");
    h.write("C:\\outside\\x.txt", "outside");
    h.write("E:\\docs\\e.txt", "cd");
    fs::permissions(h.nativePath("C:\\outside\\x.txt"), fs::perms::owner_read);
    fs::create_directory_symlink(h.nativePath("C:\\outside"), h.nativePath("C:\\data\\docs\\sub"));
    fs::create_symlink(h.nativePath("C:\\other\\c.txt"), h.nativePath("C:\\data\\docs") + "/l.txt");
    struct Case {
        const char* path;     // previewed, and named by a line of the index
        const char* refused;  // the path the message names; "" when renamed
    };
    const Case cases[] = {
        {"C:\\other\\c.txt", "C:\\other\\c.txt"},
        {"C:\\data\\docs\\..\\..\\other\\c.txt", "C:\\data\\docs\\..\\..\\other\\c.txt"},
        {"C:\\data\\docs\\sub\\x.txt", "C:\\data\\docs\\sub\\x.txt"},
        {"E:\\docs\\e.txt", "E:\\docs\\e.txt"},
        {"C:\\data\\docs\\l.txt", ""},
    };
    const std::string outside = h.nativePath("C:\\");
    const std::string allowed = h.nativePath("C:\\data\\docs");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::vector<std::string_view> lines = DocsIndex;
        const std::string line = std::string(c.path) + "[5]";
        lines.push_back(line);
        h.write(indexPath(Docs), disc_page_test::lines(lines));
        const auto before = testsupport::outsideSnapshot(outside, allowed);
        const auto cdBefore = testsupport::outsideSnapshot(h.cdFolder());
        h.ui.clearLog();
        preview({Docs, "docs_hard\\docs"}, "a", c.path, "Y");
        if (*c.refused) told(std::string("路径不在允许的文件夹里：") + c.refused);
        f().AlterFilename.userClick();
        EXPECT_EQ(testsupport::outsideSnapshot(h.cdFolder()), cdBefore);
        if (*c.refused) {
            EXPECT_EQ(testsupport::outsideSnapshot(outside, allowed), before);
            EXPECT_TRUE(fs::is_symlink(allowed + "/sub"));
        } else {
            EXPECT_TRUE(boxes().empty());
            EXPECT_TRUE(fs::is_symlink(allowed + "/Y.txt"));
            EXPECT_FALSE(fs::exists(fs::symlink_status(allowed + "/l.txt")));
            EXPECT_EQ(h.read("C:\\other\\c.txt"), "other");
        }
    }
}

namespace {

// The disc's remark file made a link: to a file outside guangpan, to a
// folder outside, to a missing file outside, or to another file inside
// guangpan. Neither the remark from the file nor the one from the selection
// writes outside: the file outside keeps its bytes and mode, nothing is made
// there, the link stays, the remark cell keeps its text and the user is told
// with the path. Through a link inside guangpan the remark is still stored.
TEST_F(PreviewText, RemarksAreNeverWrittenThroughALinkOutOfGuangpan) {
    namespace fs = std::filesystem;
    const std::string outside = h.nativePath("C:\\outside");
    const std::string notes = disc_page_test::discFile(Docs, ".note");
    const std::string link = h.nativePath(notes);
    const std::string kept = lines({"@##note##@docs_hard\\docs\\a.txt==kept"});
    struct Case {
        const char* name;
        std::string target;
        bool exact;  // told exactly the refusal, else a message naming the file
        bool stored;
    };
    const Case cases[] = {
        {"file outside", outside + "/notes", true, false},
        {"folder outside", outside + "/folder", false, false},
        {"missing file outside", outside + "/none", true, false},
        {"file inside guangpan", "kept.note", true, true},
    };
    struct Command {
        const char* name;
        const char* row;
        const char* remark;
        std::function<void()> run;
    };
    const Command commands[] = {
        {"addnotesauto", "page", "首页",
         [&] {
             clickDiscList({Docs, "docs_hard\\docs"});
             autoRemark("page");
         }},
        {"addselecttoremark", "b", "选中",
         [&] {
             preview({Docs, "docs_hard\\docs"}, "b", "C:\\data\\docs\\b.txt", "选中");
             f().addselecttoremark.userClick();
         }},
    };
    for (const Command& command : commands) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(command.name) + ": " + c.name);
            fs::remove_all(outside);
            h.write("C:\\outside\\notes", kept);
            fs::permissions(outside + "/notes", fs::perms::owner_read);
            h.makeFolder("C:\\outside\\folder");
            h.write("C:\\zelbrin\\guangpan\\kept.note", kept);
            fs::create_symlink(c.target, link);
            const auto before = testsupport::outsideSnapshot(outside);
            h.ui.clearLog();
            const std::string saving = "不能保存文件: " + notes;
            if (c.exact && !c.stored)
                told(saving + "路径不在允许的文件夹里：" + notes);
            else if (!c.stored)
                h.ui.answerMsgBox(platform::MsgOK);
            command.run();
            h.ui.verifyAllUsed();
            EXPECT_EQ(testsupport::outsideSnapshot(outside), before);
            EXPECT_TRUE(fs::is_symlink(link));
            EXPECT_EQ(remarkOf(command.row), c.stored ? command.remark : "");
            if (c.stored) {
                EXPECT_TRUE(boxes().empty());
                EXPECT_NE(h.read("C:\\zelbrin\\guangpan\\kept.note"), kept);
            } else {
                ASSERT_EQ(h.ui.messages().size(), 1u);
                EXPECT_EQ(h.ui.messages()[0].rfind(saving, 0), 0u) << h.ui.messages()[0];
            }
            fs::remove(link);
            fs::remove(h.nativePath("C:\\zelbrin\\guangpan\\kept.note"));
            clickDiscList({Tools});  // the folder listed again afterwards
        }
    }
}

// The remark from the file reads it only beneath the catalogued folder: a
// listed page that is a link to a file outside, or reached through a folder
// link leading out, gives no remark (the file is told as missing) and
// nothing outside changes; a link that stays inside is read.
TEST_F(PreviewText, TheRemarkFromTheFileNeverReadsOutsideTheCataloguedFolder) {
    namespace fs = std::filesystem;
    const std::string docs = h.nativePath("C:\\data\\docs");
    const std::string outside = h.nativePath("C:\\outside");
    h.write("C:\\outside\\page.htm", "<TITLE>秘密</TITLE>");
    h.write("C:\\outside\\sub\\c.txt", "秘密");
    h.write("C:\\data\\docs\\inner.htm", "<TITLE>里面</TITLE>");
    struct Case {
        const char* name;
        std::function<void()> link;
        std::string_view folder;
        const char* row;
        const char* remark;  // "" when refused
    };
    const Case cases[] = {
        {"file link out",
         [&] {
             fs::remove(docs + "/page.htm");
             fs::create_symlink(outside + "/page.htm", docs + "/page.htm");
         },
         "docs_hard\\docs", "page", ""},
        {"folder link out", [&] { fs::create_directory_symlink(outside + "/sub", docs + "/sub"); },
         "docs_hard\\docs\\sub", "c", ""},
        {"file link inside",
         [&] {
             fs::remove(docs + "/page.htm");
             fs::create_symlink("inner.htm", docs + "/page.htm");
         },
         "docs_hard\\docs", "page", "里面"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(docs + "/page.htm");
        fs::remove_all(docs + "/sub");
        h.write("C:\\data\\docs\\page.htm", "<TITLE>首页</TITLE>");
        c.link();
        const auto before = testsupport::outsideSnapshot(outside);
        clickDiscList({Tools, Docs, c.folder});
        h.ui.clearLog();
        if (!*c.remark) told("文件不存在或没有光盘在光驱里!");
        autoRemark(c.row);
        h.ui.verifyAllUsed();
        EXPECT_EQ(remarkOf(c.row), c.remark);
        EXPECT_EQ(testsupport::outsideSnapshot(outside), before);
    }
}

}  // namespace
