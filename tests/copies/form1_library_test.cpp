// The library page's commands: a row of the disc page added to the library
// file and to TreeView4, an entry's record shown in Text1, the pop-up pop6 on
// the right button and the removal of exactly the selected entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "copies/library_file.h"
#include "discpage/disc_page_steps.h"
#include "mainwindow/startup.h"
#include "platform/error.h"
#include "platform/text/text.h"
#include "platform/ui/ui.h"
#include "support/failing_step.h"
#include "support/unreadable_file.h"

using namespace disc_page_test;
using Strings = std::vector<std::string>;

namespace {

namespace fs = std::filesystem;

constexpr const char* LibraryFile = "C:\\zelbrin\\favorite.ini";
constexpr int LibraryTab = 4;

std::string record(const std::string& icon, const std::string& name, const std::string& disc,
                   const std::string& path, const std::string& remark = "空") {
    return copies::formatRecord({icon, name, disc, path, remark});
}

// The nodes of the library tree as "text [key] image".
Strings libraryNodes(const Form1& f) {
    Strings out;
    for (const auto& n : f.TreeView4.nodes())
        out.push_back(n->text() + " [" + n->key() + "] " + std::to_string(n->image()));
    return out;
}

class Library : public DiscPage {
  protected:
    // Right-click on the row of that text and choose the library's item.
    void addRow(std::string_view rowText) {
        h.ui.choosePopup("addfilelib");
        f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &row(f(), rowText));
    }
    void addRowTold(std::string_view rowText, const std::string& prompt) {
        h.ui.answerMsgBox(platform::MsgOK, prompt);
        addRow(rowText);
        EXPECT_EQ(h.ui.log().back().title, "提示");
    }
    void showLibrary() { f().TabStrip1.userSelect(LibraryTab); }
    platform::Node& entry(std::string_view key) {
        platform::Node* n = f().TreeView4.find(key);
        if (!n) throw std::runtime_error("no entry " + std::string(key));
        return *n;
    }
    // Selects the entry and removes it through pop6.
    void removeEntry(std::string_view key) {
        f().TreeView4.userClickNode(entry(key));
        h.ui.choosePopup("deletelibfile");
        f().TreeView4.userMouseDown(platform::RightButton, 0, 300, 200);
    }
    std::string library() const { return h.read(LibraryFile); }
};

TEST_F(Library, AddingAppendsOneRecordPerRowAndShowsItsEntry) {
    h.write(discFile(Tools, ".note"),
            "@##note##@[003]Tools\\E:\\docs\\a.txt==第一行\r\n 第二行 \r\n");
    EXPECT_FALSE(h.exists(LibraryFile));
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    const auto icon = [&](std::string_view rowText) {
        return std::to_string(row(f(), rowText).smallIcon());
    };
    const std::string txt = icon("a"), none = icon("README"), bak = icon("a.txt");
    addRow("img");  // the file is made by the first add
    EXPECT_EQ(h.readBytes(LibraryFile),
              platform::text::toCp936("|文件图标:1;|文件名:img;|光盘名字:[003]Tools;|文件路径:E:"
                                      "\\docs\\img;|文件备注:空\r\n"));
    addRow("a");       // a remark of two lines
    addRow("README");  // no extension
    addRow("a.txt");   // a.txt.bak: the name is cut before the last dot only
    // The CD drive's root at the time of adding.
    f().CdDrive = "F:\\";
    clickDiscList({"[003]Tools\\E:"});
    const std::string exe = icon("setup");
    addRow("setup");
    // A catalogued hard-disk folder: where the folder lies.
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    const std::string mp3 = icon("b");
    addRow("b");

    EXPECT_EQ(library(), lines({record("1", "img", "[003]Tools", "E:\\docs\\img"),
                                record(txt, "a", "[003]Tools", "E:\\docs\\a.txt", "第一行 第二行"),
                                record(none, "README", "[003]Tools", "E:\\docs\\README"),
                                record(bak, "a.txt", "[003]Tools", "E:\\docs\\a.txt.bak"),
                                record(exe, "setup", "[003]Tools", "F:\\setup.exe"),
                                record(mp3, "b", "pop_hard", "C:\\music\\pop\\live\\b.mp3")}));
    EXPECT_EQ(libraryNodes(f()),
              (Strings{"img [[003]Tools;|文件路径:E:\\docs\\img] 1",
                       "a [[003]Tools;|文件路径:E:\\docs\\a.txt] " + txt,
                       "README [[003]Tools;|文件路径:E:\\docs\\README] " + none,
                       "a.txt [[003]Tools;|文件路径:E:\\docs\\a.txt.bak] " + bak,
                       "setup [[003]Tools;|文件路径:F:\\setup.exe] " + exe,
                       "b [pop_hard;|文件路径:C:\\music\\pop\\live\\b.mp3] " + mp3}));
    for (const auto& shown : h.ui.log()) EXPECT_NE(shown.kind, testsupport::ShownKind::MsgBox);
}

TEST_F(Library, AnEntryIsAddedOnce) {
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    addRow("img");
    const std::string once = h.readBytes(LibraryFile);
    addRowTold("img", "已经存在该文件!");
    EXPECT_EQ(h.readBytes(LibraryFile), once);
    EXPECT_EQ(f().TreeView4.count(), 1);

    // A record of the same key stored since, with another remark: the entry
    // gets its node, and no second record.
    h.write(LibraryFile,
            library() + record("7", "README", "[003]Tools", "E:\\docs\\README", "旧") + "\r\n");
    const std::string stored = h.readBytes(LibraryFile);
    addRowTold("README", "已经存在!");
    EXPECT_EQ(h.readBytes(LibraryFile), stored);
    EXPECT_EQ(f().TreeView4.count(), 2);
}

TEST_F(Library, ALastLineWithoutItsBreakKeepsEveryCharacter) {
    const std::string old = record("1", "x", "Tools", "F:\\x");
    h.write(LibraryFile, old);
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    addRow("img");
    EXPECT_EQ(library(), lines({old, record("1", "img", "[003]Tools", "E:\\docs\\img")}));

    // Removing an entry from a file whose last line lacks its break.
    h.write(LibraryFile, old + "\r\n" + record("1", "img", "[003]Tools", "E:\\docs\\img") + "\r\n" +
                             record("1", "y", "Tools", "F:\\y"));
    showLibrary();
    removeEntry("[003]Tools;|文件路径:E:\\docs\\img");
    EXPECT_EQ(library(), old + "\r\n" + record("1", "y", "Tools", "F:\\y") + "\r\n");
}

TEST_F(Library, AHardDiskFolderWhoseIndexIsGoneIsAddedBelowNoParent) {
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    const std::string mp3 = std::to_string(row(f(), "b").smallIcon());
    fs::remove(h.nativePath(indexPath(Pop)));
    addRow("b");
    EXPECT_EQ(library(), lines({record(mp3, "b", "pop_hard", "pop\\live\\b.mp3")}));
}

TEST_F(Library, ARowMustBeSelected) {
    // On the category page the file list shows no disc folder.
    h.ui.answerMsgBox(platform::MsgOK, "必须选中文件或文件夹才可使用此菜单!");
    f().addfilelib.userClick();
    // A disc's information rows are no files.
    clickDiscList({Tools});
    h.ui.answerMsgBox(platform::MsgOK, "必须选中文件或文件夹才可使用此菜单!");
    f().ListView1.userClickItem(*f().ListView1.items().front());
    f().addfilelib.userClick();
    EXPECT_FALSE(h.exists(LibraryFile));
    EXPECT_EQ(f().TreeView4.count(), 0);
}

class LibraryEntries : public Library {
  protected:
    // A folder and a file in it, and the same folder on another disc whose
    // name ends alike; the file's record comes first.
    const std::string folder = record("1", "docs", "Tools", "F:\\docs", "文件夹|备注");
    const std::string file = record("24", "a", "Tools", "F:\\docs\\a.txt");
    const std::string other = record("1", "docs", "[003]Tools", "F:\\docs");
    const std::string folderKey = "Tools;|文件路径:F:\\docs";

    void SetUp() override {
        h.write(LibraryFile, lines({file, other, folder}));
        DiscPage::SetUp();
        showLibrary();
    }
};

TEST_F(LibraryEntries, AClickShowsTheRecordOfItsOwnKey) {
    f().TreeView4.userClickNode(entry(folderKey));
    EXPECT_EQ(f().Text1.text(),
              "\r\n文件图标:1;\r\n文件名:docs;\r\n光盘名字:Tools;\r\n文件路径:F:\\docs;\r\n"
              "文件备注:文件夹\r\n备注");
    f().TreeView4.userClickNode(entry("[003]Tools;|文件路径:F:\\docs"));
    EXPECT_EQ(f().Text1.text(), platform::text::replace(other, "|", "\r\n"));

    // A record gone from the file, or the file gone: nothing to show.
    h.write(LibraryFile, lines({file, other}));
    f().TreeView4.userClickNode(entry(folderKey));
    EXPECT_EQ(f().Text1.text(), "");
    fs::remove(h.nativePath(LibraryFile));
    f().TreeView4.userClickNode(entry("[003]Tools;|文件路径:F:\\docs"));
    EXPECT_EQ(f().Text1.text(), "");
    EXPECT_FALSE(h.exists(LibraryFile));
}

TEST_F(LibraryEntries, TheRightButtonPopsUpTheMenuAndKeepsTheSelection) {
    f().TreeView4.userClickNode(entry(folderKey));
    h.ui.dismissPopup();
    f().TreeView4.userMouseDown(platform::RightButton, 0, 300, 200);
    const auto& shown = h.ui.log().back();
    EXPECT_EQ(shown.kind, testsupport::ShownKind::Popup);
    EXPECT_EQ(shown.prompt, "pop6");
    EXPECT_EQ(shown.x, 400);
    EXPECT_EQ(shown.y, 1000);
    EXPECT_EQ(f().TreeView4.selectedItem(), &entry(folderKey));
    // The left button shows nothing.
    const std::size_t before = h.ui.log().size();
    f().TreeView4.userMouseDown(platform::LeftButton, 0, 300, 200);
    EXPECT_EQ(h.ui.log().size(), before);
}

TEST_F(LibraryEntries, RemovingTakesExactlyThatEntry) {
    f().TreeView4.userClickNode(entry(folderKey));
    removeEntry(folderKey);
    EXPECT_EQ(library(), lines({file, other}));
    EXPECT_EQ(f().TreeView4.find(folderKey), nullptr);
    EXPECT_EQ(f().TreeView4.count(), 2);
    EXPECT_EQ(f().Text1.text(), "");

    removeEntry("Tools;|文件路径:F:\\docs\\a.txt");
    EXPECT_EQ(library(), lines({other}));
    // The last one: an empty file, from which the next start loads nothing.
    removeEntry("[003]Tools;|文件路径:F:\\docs");
    EXPECT_EQ(h.readBytes(LibraryFile), "");
    EXPECT_EQ(f().TreeView4.count(), 0);
}

// A write of the library file that fails at any step before its rename (a
// full disk, a device error): adding and removing keep the file's bytes and
// the tree as they were, leave no temporary file, and tell the file and the
// reason once each; with the disk freed both go through.
TEST_F(LibraryEntries, AFailedWriteKeepsTheFileAndTheTreeAndIsTold) {
    const std::string before = h.readBytes(LibraryFile);
    const Strings nodes = libraryNodes(f());
    for (const testsupport::StepFailure& failure : testsupport::commitFailures()) {
        SCOPED_TRACE(failure.name());
        const std::string told =
            "不能保存文件: C:\\zelbrin\\favorite.ini" + platform::errorText(failure.number);
        clickDiscList({Tools, "[003]Tools\\E:\\docs"});
        h.ui.clearLog();
        {
            const testsupport::FailingStep failing(failure);
            h.ui.answerMsgBox(platform::MsgOK, told);
            addRow("img");
            showLibrary();
            h.ui.answerMsgBox(platform::MsgOK, told);
            removeEntry(folderKey);
        }
        EXPECT_EQ(h.ui.messages(), (Strings{told, told}));
        EXPECT_EQ(h.ui.log().back().title, "提示");
        EXPECT_EQ(h.readBytes(LibraryFile), before);
        EXPECT_EQ(libraryNodes(f()), nodes);
        EXPECT_EQ(testsupport::tempFilesIn(h.nativePath("C:\\zelbrin")), Strings{});
    }
    h.ui.clearLog();
    removeEntry(folderKey);
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    addRow("img");
    EXPECT_EQ(library(), lines({file, other, record("1", "img", "[003]Tools", "E:\\docs\\img")}));
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(LibraryEntries, RemovingWithoutASelectionOrWithoutAFile) {
    // Nothing selected: nothing happens.
    h.ui.choosePopup("deletelibfile");
    f().TreeView4.userMouseDown(platform::RightButton, 0, 300, 200);
    EXPECT_EQ(library(), lines({file, other, folder}));
    EXPECT_EQ(f().TreeView4.count(), 3);
    // The file removed from outside: the entry goes, no file is made.
    fs::remove(h.nativePath(LibraryFile));
    removeEntry(folderKey);
    EXPECT_EQ(f().TreeView4.count(), 2);
    EXPECT_FALSE(h.exists(LibraryFile));
}

TEST(LibraryUnreadable, AFileThatCannotBeReadIsNeverWritten) {
    for (testsupport::Unreadable kind : testsupport::unreadableKinds()) {
        SCOPED_TRACE(testsupport::kindName(kind));
        testsupport::Harness h;
        h.write(indexPath(Tools), lines(ToolsIndex));
        h.write("C:\\zelbrin\\ini.ini", Catalogue);
        testsupport::UnreadableFile bad(h.nativePath(LibraryFile), kind);
        const std::string told = startup::unreadableFileMessage(LibraryFile, bad.reason());
        h.ui.answerMsgBox(platform::MsgOK, told);
        h.start();
        // Adding: told again, and no entry.
        h.form.TabStrip1.userSelect(DiscTab);
        h.form.TreeView1.userClickNode(node(h.form.TreeView1, Tools));
        h.form.TreeView1.userClickNode(node(h.form.TreeView1, "[003]Tools\\E:\\docs"));
        h.ui.choosePopup("addfilelib");
        h.ui.answerMsgBox(platform::MsgOK, told);
        h.form.ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &row(h.form, "img"));
        EXPECT_EQ(h.form.TreeView4.count(), 0);
        EXPECT_TRUE(bad.unchanged());
    }
}

}  // namespace

// The library file is written beneath the program folder: as a link to a
// file outside it, adding and removing are refused and told with the file
// and the refusal, and the file outside keeps its bytes.
TEST_F(Library, ALibraryFileThatLeadsOutOfTheProgramFolderIsNeverWritten) {
    namespace fs = std::filesystem;
    const std::string record =
        "|文件图标:1;|文件名:img;|光盘名字:[003]Tools;|文件路径:E:\\docs\\img;|文件备注:空\r\n";
    h.write("C:\\outside\\favorite.ini", record);
    fs::create_symlink(h.nativePath("C:\\outside\\favorite.ini"), h.nativePath(LibraryFile));
    f().Treeview4Load();  // the entry read through the link
    const std::string refused =
        "不能保存文件: C:\\zelbrin\\favorite.ini路径不在允许的文件夹里：C:\\zelbrin\\favorite.ini";
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    h.ui.answerMsgBox(platform::MsgOK, refused);
    addRow("a");
    EXPECT_EQ(f().TreeView4.count(), 1);
    showLibrary();
    ASSERT_EQ(f().TreeView4.count(), 1);
    f().TreeView4.userClickNode(*f().TreeView4.nodes().front());
    h.ui.answerMsgBox(platform::MsgOK, refused);
    h.ui.choosePopup("deletelibfile");
    f().TreeView4.userMouseDown(platform::RightButton, 0, 300, 200);
    EXPECT_EQ(h.read("C:\\outside\\favorite.ini"), record);
    EXPECT_TRUE(fs::is_symlink(h.nativePath(LibraryFile)));
}
