// Opening the file of a search result and copying the files of the ticked
// results, chosen from the result list's pop-up menu after a real search: a
// CD catalogued from drive G: (now in the drive E:) and a hard-disk folder
// C:\music\pop, with file rows and note rows, refused paths from hand-made
// index and note files, missing files, and the copy's question and retry.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/form1.h"
#include "search/find_dialog.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;
using Strings = std::vector<std::string>;

constexpr std::string_view Tools = "[003]Tools";
constexpr std::string_view Pop = "pop_hard";

std::string discFile(std::string_view disc, std::string_view extension) {
    return "C:\\zelbrin\\guangpan\\" + std::string(disc) + std::string(extension);
}

std::string lines(const Strings& ls) {
    std::string out;
    for (const std::string& l : ls) out += l + "\r\n";
    return out;
}

// Index lines holding "..", and a file beside the catalogued folder, were
// not written by a scan: they stand for a foreign index.
const Strings ToolsIndex = {
    "G:\\|docs",
    "G:\\|新建文件夹",
    "G:\\setup.exe[900]",
    "G:\\docs\\|img",
    "G:\\docs\\Readme.TXT[3000]($)",
    "G:\\docs\\a.txt[10]($){C:\\copies\\docs\\a.txt}",
    "G:\\docs\\README[12]",
    "G:\\docs\\..\\setup.exe[900]",
    "G:\\新建文件夹\\b.txt[4]",
};
const Strings PopIndex = {
    "C:\\music\\pop\\|live",          "C:\\music\\pop\\top.mp3[100]",
    "C:\\music\\pop\\live\\a.mp3[7]", "C:\\music\\pop\\..\\secret.mp3[5]",
    "C:\\music\\secret.mp3[5]",
};

std::string noteRecord(std::string_view disc, std::string_view path) {
    return "@##note##@" + std::string(disc) + "\\" + std::string(path) + "==note\r\n";
}

class ResultFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write("C:\\zelbrin\\ini.ini",
                "|软件\r\n#[003]Tools#3#工具盘&&2024-5-6#\r\n#pop_hard#8#流行歌曲#\r\n");
        h.write(discFile(Tools, ".wcd"), lines(ToolsIndex));
        h.write(discFile(Pop, ".wcd"), lines(PopIndex));
        h.write(discFile(Tools, ".note"), noteRecord(Tools, "G:\\docs\\Readme.txt") +
                                              noteRecord(Tools, "G:\\docs\\README.No扩展名") +
                                              noteRecord(Tools, "G:\\docs\\img.文件夹") +
                                              noteRecord(Tools, "G:\\新建文件夹\\b.txt"));
        h.write(discFile(Pop, ".note"), noteRecord(Pop, "pop\\live\\a.mp3") +
                                            noteRecord(Pop, "pop\\..\\secret.mp3") +
                                            noteRecord(Pop, "secret.mp3"));
        h.write("E:\\setup.exe", "setup");
        h.write("E:\\docs\\Readme.TXT", "readme");
        h.write("E:\\docs\\a.txt", "a on the disc");
        h.write("E:\\docs\\README", "no extension");
        h.write("E:\\docs\\img\\b.gif", "gif");
        h.write("E:\\新建文件夹\\b.txt", "b");
        h.write("C:\\copies\\docs\\a.txt", "a mirrored");
        h.write("C:\\music\\pop\\top.mp3", "top");
        h.write("C:\\music\\pop\\live\\a.mp3", "live a");
        h.write("C:\\music\\secret.mp3", "secret");
        h.start();
        h.form.TabStrip1.userSelect(2);
    }

    // A search with the dialog filled in: scope 1 disc remarks, 2 disc files,
    // 3 file remarks; extension: the keyword is an extension.
    void search(std::string keyword, int scope, bool extension = false) {
        h.ui.onModal<find1>([=](find1& d) {
            platform::OptionButton* scopes[] = {&d.Option1, &d.Option2, &d.Option3};
            scopes[scope - 1]->userClick();
            if (extension) d.Check3.userClick();
            d.Combo1.userType(keyword);
            d.OKButton.userClick();
        });
        h.form.findItem.userClick();
    }

    // The row whose path column (column 3 of file rows, 2 of note rows)
    // reads path.
    platform::ListItem& row(std::string_view path) {
        const bool fileRows = h.form.ListView2.columns().at(2)->text() == "路径";
        for (const auto& r : h.form.ListView2.items())
            if (r->subItem(fileRows ? 2 : 1) == path) return *r;
        ADD_FAILURE() << "no row " << path;
        throw std::runtime_error("no row");
    }

    // The item of the result list's pop-up menu chosen over the row (nullptr:
    // the selected row): a right-click on the row when the list shows the
    // menu itself, else the row selected and the item chosen.
    void choose(platform::MenuItem& item, platform::ListItem* over) {
        if (h.form.ListView2.MouseDown) {
            h.ui.choosePopup(item.name());
            h.form.ListView2.userMouseDown(platform::RightButton, 0, 100, 100, over);
            return;
        }
        if (over) h.form.ListView2.setSelectedItem(over);
        item.userClick();
    }
    void open(std::string_view path) { choose(h.form.openfind, &row(path)); }

    // Ticks exactly the rows of these paths.
    void tickOnly(const Strings& paths) {
        for (const auto& r : h.form.ListView2.items()) r->setChecked(false);
        for (const std::string& p : paths) row(p).setChecked(true);
    }
    // Chooses 将打勾的查询结果拷贝到指定目录 and the folder (nullopt: Cancel).
    // whileBoxesOpen queues the actions for the boxes shown after the folder
    // chooser (the menu and the chooser get none).
    void copyTicked(std::optional<std::string> folder,
                    const std::function<void()>& whileBoxesOpen = {}) {
        h.ui.answerFolder(std::move(folder));
        if (whileBoxesOpen) {
            if (h.form.ListView2.MouseDown) h.ui.whileNextOpen([] {});
            h.ui.whileNextOpen([] {});
            whileBoxesOpen();
        }
        choose(h.form.copytaggedresult, nullptr);
    }

    Strings targets() const {
        Strings out;
        for (const auto& c : h.shell.calls()) out.push_back(c.target);
        return out;
    }
    // The message boxes shown since the log was cleared, as "title: prompt".
    Strings boxes() const {
        Strings out;
        for (const auto& s : h.ui.log())
            if (s.kind == testsupport::ShownKind::MsgBox) out.push_back(s.title + ": " + s.prompt);
        return out;
    }
    std::string panel(int i) const { return h.form.StatusBar1.panel(i).text(); }

    static std::string question(std::string_view source) {
        return "提示: 要拷贝的文件" + std::string(source) +
               "不存在或者光驱里没有对应的光盘！\r\n放入光盘后点击OK，将再拷贝一次！否则请点击"
               "Cancel！";
    }
    // A copy refused because its path leads out of its folder.
    static std::string refusal(std::string_view path) {
        return "提示: 路径不在允许的文件夹里：" + std::string(path);
    }

    Harness h;
};

// ---- opening ----

struct OpenCase {
    std::string keyword;
    int scope;
    std::string rowPath;
    std::string opened;  // the path handed to the shell; "" when none
    std::string told;    // the message shown; "" when none
};

TEST_F(ResultFiles, EachRowOpensItsFileWhereItLiesNowOrTellsWhyNot) {
    const std::string insertTools = "提示: 请插入光盘:[003]Tools";
    const std::string noSuchFile = "提示: 该文件不存在!";
    const std::vector<OpenCase> cases = {
        // File rows of the CD: its path below the CD drive, not the mirror copy.
        {"readme", 2, "G:\\docs\\Readme.TXT[3000]($)", "E:\\docs\\Readme.TXT", ""},
        {"a.txt", 2, "G:\\docs\\a.txt[10]($){C:\\copies\\docs\\a.txt}", "E:\\docs\\a.txt", ""},
        {"setup", 2, "G:\\setup.exe[900]", "E:\\setup.exe", ""},
        // A folder row opens the folder.
        {"img", 2, "G:\\docs\\|img", "E:\\docs\\img", ""},
        // A name ".." is refused, even where it would stay on the disc.
        {"setup", 2, "G:\\docs\\..\\setup.exe[900]", "", insertTools},
        // File rows of the hard-disk folder: the path itself, inside the folder.
        {"a.mp3", 2, "C:\\music\\pop\\live\\a.mp3[7]", "C:\\music\\pop\\live\\a.mp3", ""},
        {"secret", 2, "C:\\music\\pop\\..\\secret.mp3[5]", "", noSuchFile},
        {"secret", 2, "C:\\music\\secret.mp3[5]", "", noSuchFile},
        // An extension search lists the lines lower-cased.
        {"txt", 2, "g:\\docs\\readme.txt[3000]($)", "E:\\docs\\readme.txt", ""},
        // Note rows: the noted path; no ".No扩展名" on disc; a folder's note
        // opens nothing; a folder whose name holds 文件夹 is no note of a folder.
        {"note", 3, "G:\\docs\\Readme.txt", "E:\\docs\\Readme.txt", ""},
        {"note", 3, "G:\\docs\\README.No扩展名", "E:\\docs\\README", ""},
        {"note", 3, "G:\\docs\\img.文件夹", "", ""},
        {"note", 3, "G:\\新建文件夹\\b.txt", "E:\\新建文件夹\\b.txt", ""},
        {"note", 3, "pop\\live\\a.mp3", "C:\\music\\pop\\live\\a.mp3", ""},
        {"note", 3, "pop\\..\\secret.mp3", "", noSuchFile},
        {"note", 3, "secret.mp3", "", noSuchFile},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.rowPath);
        search(c.keyword, c.scope, c.keyword == "txt");
        h.ui.clearLog();
        const std::size_t callsBefore = h.shell.calls().size();
        const std::size_t pointersBefore = h.ui.pointers().size();
        if (!c.told.empty()) h.ui.answerMsgBox(platform::MsgOK);
        open(c.rowPath);
        const Strings all = targets();
        const Strings called(all.begin() + static_cast<std::ptrdiff_t>(callsBefore), all.end());
        EXPECT_EQ(called, c.opened.empty() ? Strings{} : Strings{c.opened});
        EXPECT_EQ(boxes(), c.told.empty() ? Strings{} : Strings{c.told});
        const std::vector<int> pointers(
            h.ui.pointers().begin() + static_cast<std::ptrdiff_t>(pointersBefore),
            h.ui.pointers().end());
        if (c.opened.empty()) {
            EXPECT_TRUE(pointers.empty());
        } else {
            // The shell found the file, and the hourglass showed just around it.
            EXPECT_NE(h.shell.calls().back().opened, "");
            EXPECT_EQ(h.shell.calls().back().workDir, "C:\\");
            EXPECT_EQ(pointers,
                      (std::vector<int>{platform::PointerHourglass, platform::PointerDefault}));
        }
    }
}

TEST_F(ResultFiles, AMissingFileAsksForTheDiscOrSaysItIsGone) {
    search("readme", 2);
    h.setCdReady(false);
    h.ui.answerMsgBox(platform::MsgOK, "请插入光盘:[003]Tools");
    open("G:\\docs\\Readme.TXT[3000]($)");
    h.setCdReady(true);
    std::filesystem::remove(h.nativePath("E:\\docs\\README"));
    h.ui.answerMsgBox(platform::MsgOK, "请插入光盘:[003]Tools");
    open("G:\\docs\\README[12]");

    std::filesystem::remove(h.nativePath("C:\\music\\pop\\top.mp3"));
    search("top", 2);
    h.ui.answerMsgBox(platform::MsgOK, "该文件不存在!");
    open("C:\\music\\pop\\top.mp3[100]");
    // A hard-disk disc whose index is gone: its folder is not known.
    search("note", 3);
    std::filesystem::remove(h.nativePath(discFile(Pop, ".wcd")));
    h.ui.answerMsgBox(platform::MsgOK, "该文件不存在!");
    open("pop\\live\\a.mp3");
    EXPECT_TRUE(targets().empty());
    EXPECT_FALSE(h.exists(discFile(Pop, ".wcd"))) << "no index is made up";
}

TEST_F(ResultFiles, RemarkRowsAndNoSelectedRowOpenNothing) {
    search("工具", 1);
    ASSERT_EQ(h.form.ListView2.items().size(), 1u);
    h.ui.clearLog();
    choose(h.form.openfind, h.form.ListView2.items().front().get());
    search("readme", 2);
    h.ui.clearLog();
    h.form.ListView2.setSelectedItem(nullptr);
    choose(h.form.openfind, nullptr);
    EXPECT_TRUE(targets().empty());
    EXPECT_TRUE(boxes().empty());
}

// ---- copying the ticked rows ----

TEST_F(ResultFiles, TickedFilesAreCopiedSideBySideIntoTheChosenFolder) {
    h.write("C:\\out\\b.txt", "older b");
    search("note", 3);
    tickOnly({"G:\\docs\\README.No扩展名", "G:\\新建文件夹\\b.txt", "pop\\live\\a.mp3"});
    copyTicked("C:\\out\\");
    EXPECT_EQ(h.read("C:\\out\\README"), "no extension");
    EXPECT_EQ(h.read("C:\\out\\b.txt"), "b");  // overwritten
    EXPECT_EQ(h.read("C:\\out\\a.mp3"), "live a");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(h.nativePath("C:\\out")), {}), 3);
    EXPECT_EQ(panel(2), "选定的目的文件夹是C:\\out");
    EXPECT_EQ(panel(1), "已经拷贝完成！");
    EXPECT_TRUE(boxes().empty());
    ASSERT_FALSE(h.ui.log().empty());
    EXPECT_EQ(h.ui.log().back().kind, testsupport::ShownKind::Folder);
    EXPECT_EQ(h.ui.log().back().prompt, "选定要拷贝的目的文件夹。");

    // File rows copy from the disc, not from the mirror copy; rows that are
    // not ticked are left; the later of two files of one name wins.
    search("a", 2);
    tickOnly({"G:\\docs\\a.txt[10]($){C:\\copies\\docs\\a.txt}", "C:\\music\\pop\\live\\a.mp3[7]"});
    h.write("E:\\docs\\a.mp3", "never");
    copyTicked("C:\\out");
    EXPECT_EQ(h.read("C:\\out\\a.txt"), "a on the disc");
    EXPECT_EQ(h.read("C:\\out\\a.mp3"), "live a");
    EXPECT_FALSE(h.exists("C:\\out\\setup.exe"));
    // The boxes stay as they were.
    EXPECT_TRUE(row("C:\\music\\pop\\live\\a.mp3[7]").checked());
    EXPECT_FALSE(row("G:\\docs\\Readme.TXT[3000]($)").checked());
}

TEST_F(ResultFiles, ACancelledChooserCopiesNothing) {
    search("readme", 2);
    const std::string before = panel(2);
    copyTicked(std::nullopt);
    EXPECT_EQ(panel(2), before);
    EXPECT_FALSE(h.exists("C:\\out"));
}

TEST_F(ResultFiles, AFailedCopyAsksOnceMoreOkRetriesCancelPassesOver) {
    h.makeFolder("C:\\out");
    search(".", 2);
    const std::string setup = "G:\\setup.exe[900]";
    const std::string readme = "G:\\docs\\Readme.TXT[3000]($)";
    const std::string top = "C:\\music\\pop\\top.mp3[100]";
    // The rows' numbers in the list, in this order.
    auto number = [&](std::string_view path) {
        const auto& items = h.form.ListView2.items();
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i]->subItem(2) == path) return i + 1;
        return std::size_t{0};
    };
    ASSERT_LT(0u, number(setup));
    ASSERT_LT(number(setup), number(readme));
    ASSERT_LT(number(readme), number(top));
    tickOnly({setup, readme, top});
    std::filesystem::remove(h.nativePath("E:\\setup.exe"));
    std::filesystem::remove(h.nativePath("C:\\music\\pop\\top.mp3"));
    h.setCdReady(false);

    std::vector<std::string> progress;
    auto note = [&] { progress.push_back(panel(1)); };
    // setup.exe: out of the drive and gone from the disc; Cancel.
    h.ui.answerMsgBox(platform::MsgCancel);
    // Readme.TXT: the disc is put in while asked; OK copies it.
    h.ui.answerMsgBox(platform::MsgOK);
    // top.mp3: gone from the hard disk, and stays gone.
    h.ui.answerMsgBox(platform::MsgOK);
    h.ui.answerMsgBox(platform::MsgOK, "还是没有成功！");
    h.ui.clearLog();
    copyTicked("C:\\out", [&] {
        h.ui.whileNextOpen(note);
        h.ui.whileNextOpen([&] {
            note();
            h.setCdReady(true);
        });
        h.ui.whileNextOpen(note);
        h.ui.whileNextOpen([] {});
    });

    EXPECT_EQ(boxes(), (Strings{question("E:\\setup.exe"), question("E:\\docs\\Readme.TXT"),
                                question("C:\\music\\pop\\top.mp3"), "提示: 还是没有成功！"}));
    for (const auto& s : h.ui.log()) {
        if (s.kind == testsupport::ShownKind::MsgBox && s.prompt.starts_with("要拷贝")) {
            EXPECT_EQ(s.buttons, platform::MsgButtons::OKCancel);
        }
    }
    auto copying = [&](std::string_view path) {
        return "正在拷贝第" + std::to_string(number(path)) + "文件";
    };
    EXPECT_EQ(progress, (Strings{copying(setup), copying(readme), copying(top)}));
    EXPECT_EQ(h.read("C:\\out\\Readme.TXT"), "readme");
    EXPECT_FALSE(h.exists("C:\\out\\top.mp3"));
    EXPECT_FALSE(h.exists("C:\\out\\setup.exe"));
    EXPECT_EQ(panel(1), "已经拷贝完成！");
}

TEST_F(ResultFiles, PathsThatLeaveTheirFolderAreNeverCopied) {
    // Each refusal is told with its path, and the run goes on.
    h.makeFolder("C:\\out");
    search("secret", 2);
    const std::string outside = h.read("C:\\music\\secret.mp3");
    tickOnly({"C:\\music\\pop\\..\\secret.mp3[5]", "C:\\music\\secret.mp3[5]"});
    for (int i = 0; i < 2; ++i) h.ui.answerMsgBox(platform::MsgOK);
    h.ui.clearLog();
    copyTicked("C:\\out");
    EXPECT_EQ(boxes(), (Strings{refusal("C:\\music\\pop\\..\\secret.mp3"),
                                refusal("C:\\music\\secret.mp3")}));

    search("setup", 2);
    tickOnly({"G:\\docs\\..\\setup.exe[900]"});
    h.ui.answerMsgBox(platform::MsgOK);
    h.ui.clearLog();
    copyTicked("C:\\out");
    EXPECT_EQ(boxes(), (Strings{refusal("E:\\docs\\..\\setup.exe")}));

    search("note", 3);
    tickOnly({"pop\\..\\secret.mp3", "secret.mp3", "G:\\docs\\img.文件夹"});
    for (int i = 0; i < 2; ++i) h.ui.answerMsgBox(platform::MsgOK);
    h.ui.clearLog();
    copyTicked("C:\\out");
    EXPECT_EQ(boxes(), (Strings{refusal("C:\\music\\pop\\..\\secret.mp3"),
                                refusal("C:\\music\\secret.mp3")}));
    EXPECT_TRUE(std::filesystem::is_empty(h.nativePath("C:\\out")));
    EXPECT_EQ(h.read("C:\\music\\secret.mp3"), outside);
}

// A name in the chosen folder that leads out of it (a link) is never
// written through, whatever file the row names.
TEST_F(ResultFiles, ALinkInTheChosenFolderIsReplacedNeverFollowed) {
    h.write("C:\\elsewhere\\Readme.TXT", "keep me");
    h.makeFolder("C:\\out");
    std::filesystem::create_symlink(h.nativePath("C:\\elsewhere\\Readme.TXT"),
                                    h.nativePath("C:\\out") + "/Readme.TXT");
    search("readme", 2);
    tickOnly({"G:\\docs\\Readme.TXT[3000]($)"});
    h.ui.clearLog();
    copyTicked("C:\\out");
    // The link in the chosen folder is replaced by the copy; the file it
    // named stays as it was.
    EXPECT_EQ(boxes(), Strings{});
    EXPECT_FALSE(std::filesystem::is_symlink(h.nativePath("C:\\out") + "/Readme.TXT"));
    EXPECT_EQ(h.read("C:\\out\\Readme.TXT"), h.read("E:\\docs\\Readme.TXT"));
    EXPECT_EQ(h.read("C:\\elsewhere\\Readme.TXT"), "keep me");
}

}  // namespace
