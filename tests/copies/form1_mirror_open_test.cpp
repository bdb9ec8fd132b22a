// Opening mirror copies with their program: from the disc page's file list
// (the row's own line in the index) and from the search results (the line the
// file layout lists). Only a path a copy run could have written is handed to
// the shell; a copy that is gone is told.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mirror_page_steps.h"
#include "platform/system/settings_store.h"
#include "platform/ui/ui.h"
#include "search/find_dialog.h"

using namespace mirror_page_test;

namespace {

constexpr const char* NotMirrored =
    "这个文件没有拷贝到硬盘上，凡是拷贝到硬盘上的文件字体颜色是红色。";
constexpr const char* CopyGone = "该映象文件已经删除！";

std::string refused(std::string_view path) {
    return "索引里的映象文件路径不可信：" + std::string(path) + "。程序不会打开或删除这个文件。";
}

class OpenCopy : public MirrorPage {
  protected:
    void openRow(std::string_view text) { chooseOnRow(text, "OpenRed"); }
    // The paths handed to the shell, in order.
    Strings opened() const {
        Strings out;
        for (const auto& c : h.shell.calls()) out.push_back(c.target);
        return out;
    }
    // Searches the disc files (scope 2) or the disc remarks (scope 1) for the
    // keyword, then selects the result row of that index and chooses
    // 打开硬盘上的映象文件.
    void search(const std::string& keyword, int scope = 2) {
        h.ui.onModal<find1>([=](find1& d) {
            (scope == 1 ? d.Option1 : d.Option2).userClick();
            d.Combo1.userType(keyword);
            d.OKButton.userClick();
        });
        f().findItem.userClick();
    }
    void openResult(int index) {
        f().ListView2.setSelectedItem(&f().ListView2.item(index));
        f().openfindRed.userClick();
    }
};

}  // namespace

TEST_F(OpenCopy, TheRowsOwnLineGivesTheCopyThatOpens) {
    clickDiscList({Photos, Img});
    const std::size_t pointersBefore = h.ui.pointers().size();
    openRow("a");
    openRow("noext");
    // The scan drive letter is matched whatever its case.
    f().OpenedDiskLabel1 = "e";
    openRow("a.jpg");
    EXPECT_EQ(opened(), (Strings{copyPath("docs\\img\\a.jpg"), copyPath("docs\\img\\noext"),
                                 copyPath("docs\\img\\a.jpg.bak")}));
    for (const auto& c : h.shell.calls()) EXPECT_EQ(c.workDir, "C:\\");
    EXPECT_EQ(std::vector<int>(h.ui.pointers().begin() + pointersBefore,
                               h.ui.pointers().begin() + pointersBefore + 2),
              (std::vector<int>{platform::PointerHourglass, platform::PointerDefault}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(OpenCopy, ARowWithoutACopyIsToldAndACopyGoneIsTold) {
    clickDiscList({Photos, Img});
    h.ui.answerMsgBox(platform::MsgOK, NotMirrored);
    openRow("b");
    std::filesystem::remove(h.nativePath(copyPath("docs\\img\\a.jpg")));
    h.ui.answerMsgBox(platform::MsgOK, CopyGone);
    openRow("a");
    EXPECT_EQ(boxes(),
              (Strings{std::string("提示: ") + NotMirrored, std::string("提示: ") + CopyGone}));
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);

    // After the mirror paths were removed the row keeps its colour and
    // opens nothing; neither does the disc's tree path without its scan drive.
    h.write(indexPath(Photos), photosWith(8, "E:\\docs\\img\\noext[40]($)($)($)"));
    openRow("noext");
    h.write(indexPath(Photos), lines(PhotosIndex));
    f().OpenedDiskLabel1 = "F";
    openRow("noext");
    EXPECT_EQ(boxes().size(), 2u);
    // Off the disc page nothing happens.
    f().OpenedDiskLabel1 = "E";
    f().TabStrip1.userSelect(disc_page_test::CategoryTab);
    f().OpenRed_Click();
    EXPECT_EQ(h.shell.calls().size(), 1u);
}

TEST_F(OpenCopy, APathNoCopyRunWritesIsRefusedOnTheDiscPage) {
    h.write("C:\\.bashrc", "keep");
    for (const char* mirror : {"C:\\.bashrc", "C:\\copies\\..\\docs\\img\\a.jpg"}) {
        SCOPED_TRACE(mirror);
        h.write(indexPath(Photos),
                photosWith(6, "E:\\docs\\img\\a.jpg[800]($){" + std::string(mirror) + "}"));
        clickDiscList({Photos, Img});
        h.ui.answerMsgBox(platform::MsgOK, refused(mirror));
        openRow("a");
    }
    EXPECT_TRUE(h.shell.calls().empty());
}

TEST_F(OpenCopy, AnIndexThatCannotBeReadIsTold) {
    clickDiscList({Photos, Img});
    std::filesystem::remove(h.nativePath(indexPath(Photos)));
    h.ui.answerMsgBox(platform::MsgOK);
    openRow("a");
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_TRUE(
        boxes()[0].starts_with("提示: 不能打开文件: C:\\zelbrin\\guangpan\\[003]Photos.wcd"))
        << boxes()[0];
    EXPECT_TRUE(h.shell.calls().empty());
}

TEST_F(OpenCopy, AFileResultOpensTheCopyItsLineRecords) {
    f().TabStrip1.userSelect(disc_page_test::DiscTab);
    search("a.jpg");
    ASSERT_EQ(f().ListView2.count(), 2);
    openResult(2);
    openResult(1);
    EXPECT_EQ(opened(), (Strings{copyPath("docs\\img\\a.jpg"), copyPath("docs\\img\\a.jpg.bak")}));
    for (const auto& c : h.shell.calls()) EXPECT_EQ(c.workDir, "C:\\");

    // A copy gone is told; a row without a copy opens nothing.
    std::filesystem::remove(h.nativePath(copyPath("docs\\img\\a.jpg")));
    h.ui.answerMsgBox(platform::MsgOK, CopyGone);
    openResult(2);
    search("plain");
    openResult(1);
    EXPECT_EQ(h.shell.calls().size(), 3u);
    EXPECT_EQ(boxes(), (Strings{std::string("提示: ") + CopyGone}));
}

TEST_F(OpenCopy, AResultWithARefusedPathOrInARemarkLayoutOpensNothing) {
    const std::string outside = "C:\\copies\\..\\docs\\img\\a.jpg";
    h.write(indexPath(Photos), photosWith(6, "E:\\docs\\img\\a.jpg[800]($){" + outside + "}"));
    f().TabStrip1.userSelect(disc_page_test::DiscTab);
    search("a.jpg");
    h.ui.answerMsgBox(platform::MsgOK, refused(outside));
    openResult(2);
    // A disc remark that holds braces is remark text, never a path.
    h.write("C:\\zelbrin\\ini.ini",
            "|图片\r\n#[003]Photos#3#照片{C:\\copies\\[003]Photos\\root.txt}#\r\n");
    search("照片", 1);
    ASSERT_EQ(f().ListView2.count(), 1);
    openResult(1);
    EXPECT_TRUE(h.shell.calls().empty());
}

TEST_F(OpenCopy, EachRowOpensItsOwnFilesCopyAmongCaseTwins) {
    listTwins();
    Strings expected;
    for (std::size_t i = 0; i < TwinsNames.size(); ++i) {
        SCOPED_TRACE(TwinsNames[i]);
        platform::ListItem& r = twinRow(i);
        ASSERT_TRUE(red(r));
        h.ui.choosePopup("OpenRed");
        f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &r);
        expected.push_back(std::string(TwinsCopyFolder) + "\\" + std::string(TwinsNames[i]));
    }
    EXPECT_EQ(opened(), expected);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(OpenCopy, ARowWhoseFileIsNowSpeltTwoOtherWaysOpensNothingAndIsTold) {
    listTwins();
    // Since the listing, a.jpg became a.JPG beside A.jpg.
    std::string now = twinsIndex();
    now.replace(now.find("E:\\d\\a.jpg["), 11, "E:\\d\\a.JPG[");
    h.write(indexPath(Twins), now);
    h.ui.answerMsgBox(platform::MsgOK,
                      "有几个文件的名字只是大小写不同，无法确定是哪一个：E:\\d\\a.jpg");
    h.ui.choosePopup("OpenRed");
    f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &twinRow(1));
    EXPECT_TRUE(opened().empty());
}

// Only a copy below a folder a copy run copied into is opened, links
// resolved at every level (the copy's own name too); a drive root as the
// stored base, or no recorded folder at all, widens nothing.
TEST_F(OpenCopy, OnlyCopiesBelowARecordedFolderOpen) {
    namespace fs = std::filesystem;
    struct Case {
        const char* name;
        const char* link;      // below the copy folder
        const char* pointsTo;  // outside
    };
    for (const Case& c : std::vector<Case>{
             {"docs to a folder", "docs", "C:\\elsewhere"},
             {"img to a folder", "docs\\img", "C:\\elsewhere\\img"},
             {"the copy to a file", "docs\\img\\a.jpg", "C:\\elsewhere\\a.jpg"},
         }) {
        SCOPED_TRACE(c.name);
        copiesWithLink(c.link, c.pointsTo);
        clickDiscList({Photos, Img});
        h.ui.answerMsgBox(platform::MsgOK, refused(copyPath("docs\\img\\a.jpg")));
        openRow("a");
    }
    // The drive root as the stored base and a file of the user's own.
    f().module1().SetRegValue(SettingsKey, "Path", "C:\\");
    h.write("C:\\private\\notes.txt", "notes!");
    h.write(indexPath(Photos),
            lines({"E:\\|private", "E:\\private\\notes.txt[6]($){C:\\private\\notes.txt}"}));
    f().refresh1_Click();
    clickDiscList({Photos, "[003]Photos\\E:\\private"});
    h.ui.answerMsgBox(platform::MsgOK, refused("C:\\private\\notes.txt"));
    openRow("notes");
    // No folder recorded yet: a copy where a run put it is refused too.
    fs::remove_all(h.nativePath(CopyFolder));
    for (std::string_view copy : Copies) h.write(copyPath(copy), std::string(copy));
    h.write(indexPath(Photos), lines(PhotosIndex));
    f().app().settings.save("Zelbrin", "MirrorFolders", "1", "");
    f().refresh1_Click();
    clickDiscList({Photos, Img});
    h.ui.answerMsgBox(platform::MsgOK, refused(copyPath("docs\\img\\a.jpg")));
    openRow("a");
    EXPECT_TRUE(opened().empty());
}
