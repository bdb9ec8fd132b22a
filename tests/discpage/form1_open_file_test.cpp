// Opening a file or folder of the disc page's file list with its program,
// chosen from the list's pop-up menu: on the disc in the CD drive E:, or in
// the catalogued hard-disk folder. The shell gets the Windows path of an
// existing file only; a missing or refused one is told and nothing is
// opened.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "disc_page_steps.h"
#include "platform/ui/ui.h"

using namespace disc_page_test;
using Strings = std::vector<std::string>;

namespace {

class OpenFile : public DiscPage {
  protected:
    // Right-click on the row of that text and choose 打开光盘上的文件.
    void openRow(std::string_view text) {
        h.ui.choosePopup("OpenOpticDisk");
        f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &row(f(), text));
    }
    // The paths handed to the shell, in order.
    Strings opened() const {
        Strings out;
        for (const auto& c : h.shell.calls()) out.push_back(c.target);
        return out;
    }
    // Right-click on the row and choose 打开光盘上的文件, which tells prompt.
    void openRowTold(std::string_view text, const std::string& prompt) {
        h.ui.answerMsgBox(platform::MsgOK, prompt);
        openRow(text);
    }
    // The message boxes shown, as "title: prompt".
    Strings boxes() const {
        Strings out;
        for (const auto& s : h.ui.log())
            if (s.kind == testsupport::ShownKind::MsgBox) out.push_back(s.title + ": " + s.prompt);
        return out;
    }
};

TEST_F(OpenFile, FilesAndFoldersOfACdOpenOnTheDiscInTheDrive) {
    h.write("E:\\docs\\Readme.TXT", "r");
    h.write("E:\\docs\\README", "r");
    h.write("E:\\docs\\img\\b.gif", "g");
    h.write("E:\\setup.exe", "s");
    struct Case {
        std::string folder;
        std::string row;
        std::string opened;
    };
    for (const Case& c : std::vector<Case>{
             // The file as its index line spells it, whatever the type
             // column (lower case) shows.
             {"[003]Tools\\E:\\docs", "Readme", "E:\\docs\\Readme.TXT"},
             {"[003]Tools\\E:\\docs", "README", "E:\\docs\\README"},
             {"[003]Tools\\E:\\docs", "img", "E:\\docs\\img"},
             {"[003]Tools\\E:", "setup", "E:\\setup.exe"},
         }) {
        SCOPED_TRACE(c.row);
        clickDiscList({Tools, c.folder});
        const std::size_t pointersBefore = h.ui.pointers().size();
        openRow(c.row);
        ASSERT_FALSE(h.shell.calls().empty());
        EXPECT_EQ(h.shell.calls().back().target, c.opened);
        EXPECT_EQ(h.shell.calls().back().workDir, "C:\\");
        // The hourglass only while the shell is called.
        EXPECT_EQ(std::vector<int>(h.ui.pointers().begin() + pointersBefore, h.ui.pointers().end()),
                  (std::vector<int>{platform::PointerHourglass, platform::PointerDefault}));
    }
    EXPECT_EQ(opened().size(), 4u);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(OpenFile, TheScanDriveLetterIsMatchedWhateverItsCase) {
    h.write("E:\\docs\\README", "r");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    f().OpenedDiskLabel1 = "e";
    openRow("README");
    EXPECT_EQ(opened(), (Strings{"E:\\docs\\README"}));
    // A tree path without the scan drive opens nothing and tells nothing.
    f().OpenedDiskLabel1 = "F";
    openRow("README");
    EXPECT_EQ(opened().size(), 1u);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(OpenFile, AFileMissingFromTheCdOrADiscOutOfTheDriveAsksForTheDisc) {
    h.write("E:\\docs\\README", "r");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    openRowTold("Readme", "请插入光盘");  // not on the disc
    h.setCdReady(false);
    openRowTold("README", "请插入光盘");
    EXPECT_TRUE(opened().empty());
    EXPECT_EQ(boxes(), (Strings{"提示: 请插入光盘", "提示: 请插入光盘"}));
    // No hourglass for a file that is not opened.
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

TEST_F(OpenFile, HardDiskFilesAndFoldersOpenInTheCataloguedFolder) {
    h.write("C:\\music\\pop\\live\\a.mp3", "a");
    h.write("C:\\music\\pop\\kpop\\live\\a.mp3", "k");
    clickDiscList({Pop, "pop_hard\\pop\\live"});
    openRow("a");
    clickDiscList({"pop_hard\\pop"});
    openRow("kpop");
    EXPECT_EQ(opened(), (Strings{"C:\\music\\pop\\live\\a.mp3", "C:\\music\\pop\\kpop"}));
    EXPECT_TRUE(boxes().empty());

    // Missing on the hard disk, or an index that cannot be read any more.
    openRowTold("top", "该文件不存在!");
    h.write("C:\\music\\pop\\top.mp3", "t");
    std::filesystem::remove(h.nativePath(indexPath(Pop)));
    openRowTold("top", "该文件不存在!");
    EXPECT_EQ(opened().size(), 2u);
    EXPECT_EQ(boxes(), (Strings{"提示: 该文件不存在!", "提示: 该文件不存在!"}));
}

TEST_F(OpenFile, ATreeNameDotDotNeverLeavesTheFolderItNames) {
    // Hand-made indexes whose folder ".." would climb out of the folder:
    // the names exist once "..", applied, lifts the path out of it.
    h.write(indexPath(Tools), lines({"E:\\|docs", "E:\\docs\\|..", "E:\\docs\\..\\x.txt[5]"}));
    h.write("E:\\x.txt", "x");
    h.write(indexPath(Pop), lines({"C:\\music\\pop\\|..", "C:\\music\\pop\\..\\secret.txt[5]"}));
    h.write("C:\\music\\secret.txt", "s");

    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    openRowTold("..", "请插入光盘");
    clickDiscList({"[003]Tools\\E:\\docs\\.."});
    openRowTold("x", "请插入光盘");
    clickDiscList({Pop, "pop_hard\\pop"});
    openRowTold("..", "该文件不存在!");
    clickDiscList({"pop_hard\\pop\\.."});
    openRowTold("secret", "该文件不存在!");
    EXPECT_TRUE(opened().empty());
    EXPECT_EQ(boxes(), (Strings{"提示: 请插入光盘", "提示: 请插入光盘", "提示: 该文件不存在!",
                                "提示: 该文件不存在!"}));
}

TEST_F(OpenFile, NothingHappensOffTheDiscPageOrWithoutAFileRow) {
    h.write("E:\\docs\\README", "r");
    clickDiscList({Tools, "[003]Tools\\E:\\docs"});
    f().ListView1.setSelectedItem(&row(f(), "README"));
    f().TabStrip1.userSelect(CategoryTab);
    ASSERT_FALSE(f().TreeView1.visible());
    f().OpenOpticDisk_Click();

    // The disc's information rows, and no selected row.
    clickDiscList({Tools});
    f().ListView1.setSelectedItem(f().ListView1.items().front().get());
    f().OpenOpticDisk_Click();
    f().ListView1.setSelectedItem(nullptr);
    f().OpenOpticDisk_Click();
    EXPECT_TRUE(opened().empty());
    EXPECT_TRUE(h.ui.log().empty());
}

}  // namespace
