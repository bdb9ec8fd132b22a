// Removing mirror copies, chosen from the pop-up menus as a user does: every
// tick mark and mirror path of the open disc (the copies stay on the hard
// disk), or the copy of one file of the list (deleted, its path and size
// taken off). Only a copy inside the folder its copy run wrote it into is
// ever deleted; an index that cannot be read is neither written nor acted on.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "copies/copy_dialog.h"
#include "mirror_page_steps.h"
#include "platform/files/file_ops.h"
#include "platform/files/listing.h"
#include "platform/system/settings_store.h"
#include "platform/ui/ui.h"
#include "support/outside_snapshot.h"

using namespace mirror_page_test;

namespace {

constexpr const char* CopiesStay =
    "如果在硬盘上的映象文件不需要，请在资源管理器里删除！否则将不能再次建立映象文件。";
const platform::Color Black = platform::qbColor(0);

// The index after every mark and mirror path went: names holding "($)"
// keep their whole path.
const std::vector<std::string_view> Cleared = {
    "E:\\|docs",
    "E:\\|a($)b",
    "E:\\root.txt[5]",
    "E:\\plain.txt[7]",
    "E:\\docs\\|img",
    "E:\\docs\\img\\a.jpg.bak[300]",
    "E:\\docs\\img\\a.jpg[800]",
    "E:\\docs\\img\\b.jpg[100]",
    "E:\\docs\\img\\noext[40]",
    "E:\\a($)b\\c($).txt[9]",
};

std::string refused(std::string_view path) {
    return "索引里的映象文件路径不可信：" + std::string(path) + "。程序不会打开或删除这个文件。";
}

class RemoveAll : public MirrorPage {
  protected:
    // Right-click in the disc list and choose 删除光盘上的所有“钩”及映象文件的路径.
    void removeAll() {
        h.ui.choosePopup("deleteAllred");
        f().TreeView1.userMouseDown(platform::RightButton, 0, 100, 100);
    }
    platform::Node& discNode() { return node(f().TreeView1, Photos); }
};

class DeleteCopy : public MirrorPage {
  protected:
    // Right-click on the row, choose 删除硬盘上对应的映象文件 and confirm;
    // then the boxes shown after (any prompt when "").
    void deleteCopy(std::string_view text, const std::vector<std::string>& then = {}) {
        h.ui.answerMsgBox(platform::MsgOK, "确实要删除 {" + std::string(text) + "} 文件吗？");
        for (const std::string& prompt : then)
            h.ui.answerMsgBox(platform::MsgOK,
                              prompt.empty() ? std::nullopt : std::optional<std::string>(prompt));
        chooseOnRow(text, "DeleteCopyFile");
    }
};

}  // namespace

// ---- every mark and mirror path of a disc ----

TEST_F(RemoveAll, EveryMarkAndMirrorPathGoesAndTheCopiesStay) {
    EXPECT_EQ(discNode().foreColor(), f().CopyFileColor);
    clickDiscList({Photos, Img});
    const std::size_t pointersBefore = h.ui.pointers().size();
    h.ui.answerMsgBox(platform::MsgOK, CopiesStay);
    removeAll();
    EXPECT_EQ(index(), lines(Cleared));
    // Only the line equal to the disc's name leaves the list.
    EXPECT_EQ(h.read(MirrorList), "[003]Photos2\r\nOther\r\n");
    EXPECT_EQ(discNode().foreColor(), Black);
    EXPECT_EQ(copiesLeft().size(), Copies.size());
    EXPECT_EQ(h.read(SizeFile), " 5000\r\n");
    EXPECT_EQ(boxes(), (Strings{std::string("提示: ") + CopiesStay}));
    // The hourglass until the message; the rows listed keep their look.
    EXPECT_EQ(std::vector<int>(h.ui.pointers().begin() + pointersBefore, h.ui.pointers().end()),
              (std::vector<int>{platform::PointerHourglass, platform::PointerDefault}));
    EXPECT_TRUE(red(row(f(), "a")));
}

TEST_F(RemoveAll, TheMirrorListIsLeftEmptyOrMissingAsItWas) {
    struct Case {
        std::optional<std::string> before;
        std::optional<std::string> after;  // nullopt: missing
    };
    for (const Case& c : std::vector<Case>{
             {"[003]Photos\r\n", ""},
             {"[003]photos\r\n[003]Photos2\r\n", "[003]photos\r\n[003]Photos2\r\n"},
             {"Other\r\n[003]Photos", "Other\r\n"},
             {std::nullopt, std::nullopt},
         }) {
        SCOPED_TRACE(c.before.value_or("(missing)"));
        std::filesystem::remove(h.nativePath(MirrorList));
        if (c.before) h.write(MirrorList, *c.before);
        clickDiscList({Photos});
        h.ui.answerMsgBox(platform::MsgOK, CopiesStay);
        removeAll();
        ASSERT_EQ(h.exists(MirrorList), c.after.has_value());
        if (c.after) {
            EXPECT_EQ(h.readBytes(MirrorList), *c.after);
        }
    }
}

TEST_F(RemoveAll, WithoutAnOpenDiscOrAReadableIndexNothingIsWritten) {
    h.ui.answerMsgBox(platform::MsgOK, "请选择光盘！");
    f().deleteAllred_Click();

    clickDiscList({Photos, Img});
    std::filesystem::remove(h.nativePath(indexPath(Photos)));
    h.makeFolder(indexPath(Photos));
    h.ui.answerMsgBox(platform::MsgOK);
    removeAll();
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_TRUE(
        boxes()[1].starts_with("提示: 不能打开文件: C:\\zelbrin\\guangpan\\[003]Photos.wcd"))
        << boxes()[1];
    EXPECT_TRUE(std::filesystem::is_directory(h.nativePath(indexPath(Photos))));
    EXPECT_EQ(h.read(MirrorList), MirrorListText);
    EXPECT_EQ(discNode().foreColor(), f().CopyFileColor);
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);

    // A disc whose index is gone gets none.
    std::filesystem::remove(h.nativePath(indexPath(Photos)));
    h.ui.answerMsgBox(platform::MsgOK);
    removeAll();
    EXPECT_FALSE(h.exists(indexPath(Photos)));
    EXPECT_EQ(h.read(MirrorList), MirrorListText);
}

TEST_F(RemoveAll, AMirrorListThatCannotBeReadIsToldAndLeftAsItIs) {
    clickDiscList({Photos});
    std::filesystem::remove(h.nativePath(MirrorList));
    h.makeFolder(MirrorList);
    h.ui.answerMsgBox(platform::MsgOK);
    h.ui.answerMsgBox(platform::MsgOK, CopiesStay);
    removeAll();
    EXPECT_TRUE(boxes()[0].starts_with("提示: 无法读取文件“C:\\zelbrin\\red.ini”")) << boxes()[0];
    EXPECT_TRUE(std::filesystem::is_directory(h.nativePath(MirrorList)));
    EXPECT_EQ(index(), lines(Cleared));
}

// ---- the copy of one file ----

TEST_F(DeleteCopy, TheSelectedFilesOwnCopyPathAndSizeGo) {
    clickDiscList({Photos, Img});
    platform::ListItem& a = row(f(), "a");
    ASSERT_TRUE(red(a));
    // A copy from a CD comes out read-only; it is deleted all the same.
    h.makeReadOnly(copyPath("docs\\img\\a.jpg"));
    deleteCopy("a");
    // The earlier a.jpg.bak line, its copy and its size are not touched; the
    // file stays ticked.
    EXPECT_EQ(index(), photosWith(6, "E:\\docs\\img\\a.jpg[800]($)"));
    EXPECT_EQ(copiesLeft(),
              (Strings{"root.txt", "docs\\img\\a.jpg.bak", "docs\\img\\noext", "a($)b\\c($).txt"}));
    EXPECT_EQ(h.read(SizeFile), " 4200\r\n");
    EXPECT_EQ(f().AllSize, 4200);
    EXPECT_EQ(f().CopyAllSize.caption(), "已经拷贝到硬盘上的文件大小是4K");
    EXPECT_EQ(a.foreColor(), Black);
    EXPECT_TRUE(a.checked());
    // The disc keeps its place in the mirror disc list and its colour.
    EXPECT_EQ(h.read(MirrorList), MirrorListText);
    EXPECT_EQ(node(f().TreeView1, Photos).foreColor(), f().CopyFileColor);
    EXPECT_EQ(boxes().size(), 1u);
}

// The copy was replaced by a second name (a hard link) of a read-only file
// elsewhere: the name goes with its record, the file keeps its bytes and its
// mode.
TEST_F(DeleteCopy, ACopyThatIsAHardLinkToAReadOnlyFileLeavesThatFileAsItWas) {
    namespace fs = std::filesystem;
    h.write("C:\\elsewhere\\a.jpg", "kept");
    const std::string elsewhere = h.nativePath("C:\\elsewhere");
    fs::permissions(elsewhere + "/a.jpg", fs::perms::owner_read | fs::perms::group_read);
    const std::string copy = h.nativePath(copyPath("docs\\img\\a.jpg"));
    fs::remove(copy);
    fs::create_hard_link(elsewhere + "/a.jpg", copy);
    const testsupport::OutsideSnapshot before = testsupport::outsideSnapshot(elsewhere);
    clickDiscList({Photos, Img});
    deleteCopy("a");
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_EQ(index(), photosWith(6, "E:\\docs\\img\\a.jpg[800]($)"));
    EXPECT_EQ(testsupport::outsideSnapshot(elsewhere), before);
    EXPECT_EQ(fs::status(elsewhere + "/a.jpg").permissions(),
              fs::perms::owner_read | fs::perms::group_read);
}

TEST_F(DeleteCopy, NamesWithoutExtensionOrHoldingMarksAreFoundByTheirWholePath) {
    clickDiscList({Photos, Img});
    deleteCopy("noext");
    clickDiscList({"[003]Photos\\E:\\a($)b"});
    deleteCopy("c($)");
    std::vector<std::string_view> expected = PhotosIndex;
    expected[8] = "E:\\docs\\img\\noext[40]($)($)($)";
    expected[9] = "E:\\a($)b\\c($).txt[9]($)";
    EXPECT_EQ(index(), lines(expected));
    EXPECT_EQ(copiesLeft(), (Strings{"root.txt", "docs\\img\\a.jpg.bak", "docs\\img\\a.jpg"}));
    EXPECT_EQ(h.read(SizeFile), " 4951\r\n");
}

TEST_F(DeleteCopy, ARowNotInTheMirrorColourOrACancelChangesNothing) {
    clickDiscList({Photos, Img});
    h.ui.answerMsgBox(platform::MsgOK, "只有红色的文件在硬盘上才有对应的文件！");
    chooseOnRow("b", "DeleteCopyFile");
    h.ui.answerMsgBox(platform::MsgCancel, "确实要删除 {a} 文件吗？");
    chooseOnRow("a", "DeleteCopyFile");
    EXPECT_EQ(index(), lines(PhotosIndex));
    EXPECT_EQ(copiesLeft().size(), Copies.size());
    EXPECT_EQ(h.read(SizeFile), " 5000\r\n");
    EXPECT_TRUE(red(row(f(), "a")));
}

TEST_F(DeleteCopy, ACopyAlreadyGoneIsToldAndItsRecordAndSizeGoAllTheSame) {
    clickDiscList({Photos, Img});
    std::filesystem::remove(h.nativePath(copyPath("docs\\img\\a.jpg")));
    deleteCopy("a", {""});
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_TRUE(boxes()[1].starts_with("提示: 错误原因：")) << boxes()[1];
    EXPECT_EQ(index(), photosWith(6, "E:\\docs\\img\\a.jpg[800]($)"));
    EXPECT_EQ(h.read(SizeFile), " 4200\r\n");
    EXPECT_EQ(row(f(), "a").foreColor(), Black);
}

TEST_F(DeleteCopy, ATotalBelowTheSizeStaysAndAMissingSizeFileCountsAsZero) {
    struct Case {
        std::optional<std::string> before;  // nullopt: missing
        const char* after;
        const char* caption;
    };
    clickDiscList({Photos, Img});
    f().AllSize = 99999;  // the file counts, not what the program holds
    for (const Case& c : std::vector<Case>{
             {" 500\r\n", " 500\r\n", "已经拷贝到硬盘上的文件大小是1K"},
             {std::nullopt, " 0\r\n", "已经拷贝到硬盘上的文件大小是0K"},
             {" 2848 \r\n", " 2048\r\n", "已经拷贝到硬盘上的文件大小是2K"},
         }) {
        SCOPED_TRACE(c.before.value_or("(missing)"));
        std::filesystem::remove(h.nativePath(SizeFile));
        if (c.before) h.write(SizeFile, *c.before);
        deleteCopy("a");
        EXPECT_EQ(h.read(SizeFile), c.after);
        EXPECT_EQ(f().CopyAllSize.caption(), c.caption);
        // The next case needs a mirrored row again.
        h.write(indexPath(Photos), lines(PhotosIndex));
        for (std::string_view copy : Copies) h.write(copyPath(copy), "x");
        clickDiscList({Photos, Img});
    }
}

TEST_F(DeleteCopy, APathNoCopyRunWritesIsRefusedAndNothingIsTouched) {
    // Files outside the copy folder that a hand-edited index names.
    h.write("C:\\.bashrc", "keep");
    h.write("C:\\victim\\docs\\img\\a.jpg", "keep");
    h.write("C:\\elsewhere\\img\\a.jpg", "keep");
    for (const char* mirror : {
             "C:\\.bashrc",
             // Shaped as a copy run writes it, but in a folder where the copy
             // dialog made no target.
             "C:\\victim\\docs\\img\\a.jpg",
             "C:\\copies\\x\\..\\..\\victim\\docs\\img\\a.jpg",
             "C:\\copies\\.\\docs\\img\\a.jpg",
             "C:\\copies\\\\docs\\img\\a.jpg",
             "docs\\img\\a.jpg",
             "C:\\copies\\[003]Photos\\docs\\img\\b.jpg",
         }) {
        SCOPED_TRACE(mirror);
        const std::string text =
            photosWith(6, "E:\\docs\\img\\a.jpg[800]($){" + std::string(mirror) + "}");
        h.write(indexPath(Photos), text);
        clickDiscList({Photos, Img});
        h.ui.clearLog();
        deleteCopy("a", {refused(mirror)});
        EXPECT_EQ(index(), text);
        EXPECT_EQ(h.read(SizeFile), " 5000\r\n");
        EXPECT_TRUE(red(row(f(), "a")));
    }
    // A link in the copy folder that leads out of it.
    std::filesystem::remove_all(h.nativePath("C:\\copies\\[003]Photos\\docs"));
    std::filesystem::create_directory_symlink(h.nativePath("C:\\elsewhere"),
                                              h.nativePath("C:\\copies\\[003]Photos\\docs"));
    h.write(indexPath(Photos), lines(PhotosIndex));
    clickDiscList({Photos, Img});
    deleteCopy("a", {refused("C:\\copies\\[003]Photos\\docs\\img\\a.jpg")});
    EXPECT_EQ(index(), lines(PhotosIndex));
    EXPECT_EQ(h.read(SizeFile), " 5000\r\n");
    for (const char* kept :
         {"C:\\.bashrc", "C:\\victim\\docs\\img\\a.jpg", "C:\\elsewhere\\img\\a.jpg"})
        EXPECT_EQ(h.read(kept), "keep") << kept;
}

TEST_F(DeleteCopy, AnIndexThatCannotBeReadDeletesNothing) {
    clickDiscList({Photos, Img});
    std::filesystem::remove(h.nativePath(indexPath(Photos)));
    h.makeFolder(indexPath(Photos));
    deleteCopy("a", {""});
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_TRUE(
        boxes()[1].starts_with("提示: 不能打开文件: C:\\zelbrin\\guangpan\\[003]Photos.wcd"))
        << boxes()[1];
    EXPECT_EQ(copiesLeft().size(), Copies.size());
    EXPECT_EQ(h.read(SizeFile), " 5000\r\n");
    EXPECT_TRUE(red(row(f(), "a")));
}

TEST_F(DeleteCopy, EachRowDeletesItsOwnFilesCopyAmongCaseTwins) {
    for (std::size_t i = 0; i < TwinsNames.size(); ++i) {
        SCOPED_TRACE(TwinsNames[i]);
        listTwins();
        h.write(SizeFile, " 5000\r\n");
        platform::ListItem& r = twinRow(i);
        h.ui.answerMsgBox(platform::MsgOK, "确实要删除 {" + r.text() + "} 文件吗？");
        h.ui.choosePopup("DeleteCopyFile");
        f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &r);
        EXPECT_EQ(h.read(indexPath(Twins)), twinsIndex(i));
        Strings left;
        for (std::size_t j = 0; j < TwinsNames.size(); ++j)
            if (j != i) left.emplace_back(TwinsNames[j]);
        EXPECT_EQ(twinCopiesLeft(), left);
        EXPECT_EQ(h.read(SizeFile),
                  " " + std::to_string(5000 - std::stoi(std::string(TwinsSizes[i]))) + "\r\n");
        EXPECT_EQ(r.foreColor(), Black);
    }
    EXPECT_EQ(boxes().size(), TwinsNames.size());
}

TEST_F(DeleteCopy, ARowWhoseFileIsNowSpeltTwoOtherWaysDeletesNothingAndIsTold) {
    listTwins();
    std::string now = twinsIndex();
    now.replace(now.find("E:\\d\\a.jpg["), 11, "E:\\d\\a.JPG[");
    h.write(indexPath(Twins), now);
    h.ui.answerMsgBox(platform::MsgOK, "确实要删除 {a} 文件吗？");
    h.ui.answerMsgBox(platform::MsgOK,
                      "有几个文件的名字只是大小写不同，无法确定是哪一个：E:\\d\\a.jpg");
    h.ui.choosePopup("DeleteCopyFile");
    f().ListView1.userMouseDown(platform::RightButton, 0, 100, 100, &twinRow(1));
    EXPECT_EQ(h.read(indexPath(Twins)), now);
    EXPECT_EQ(twinCopiesLeft().size(), TwinsNames.size());
    EXPECT_EQ(h.read(SizeFile), " 5000\r\n");
}

// ---- only below a folder a copy run copied into ----

// The stored base "Path" is a drive root (the user once typed C:\[003]Photos)
// and an imported index names a file of the user's own as the copy: no copy
// run copied into C:\private, so it stays and the user is told.
TEST_F(DeleteCopy, ADriveRootAsTheStoredBaseWidensNothing) {
    f().module1().SetRegValue(SettingsKey, "Path", "C:\\");
    h.write("C:\\private\\notes.txt", "notes!");
    const std::string text =
        lines({"E:\\|private", "E:\\private\\notes.txt[6]($){C:\\private\\notes.txt}"});
    h.write(indexPath(Photos), text);
    clickDiscList({Photos, "[003]Photos\\E:\\private"});
    deleteCopy("notes", {refused("C:\\private\\notes.txt")});
    EXPECT_EQ(h.read("C:\\private\\notes.txt"), "notes!");
    EXPECT_EQ(index(), text);
    EXPECT_EQ(h.read(SizeFile), " 5000\r\n");
}

// Before any copy run has recorded the folder it copied into (an install
// from before the record), every copy is refused: a new run records it.
TEST_F(DeleteCopy, WithoutARecordedFolderNothingIsDeleted) {
    f().app().settings.save("Zelbrin", "MirrorFolders", "1", "");
    clickDiscList({Photos, Img});
    deleteCopy("a", {refused(copyPath("docs\\img\\a.jpg"))});
    EXPECT_EQ(copiesLeft().size(), Copies.size());
    EXPECT_EQ(index(), lines(PhotosIndex));
}

// Links at each level of the copy's path, to a folder or a file outside, and
// the recorded folder replaced by a link: nothing outside changes, the user
// is told; a link at the copy's own name is deleted itself.
TEST_F(DeleteCopy, LinksOnTheCopysPathNeverLeadTheDeletionOut) {
    namespace fs = std::filesystem;
    struct Case {
        const char* name;
        const char* link;      // below the copy folder ("" the folder itself)
        const char* pointsTo;  // outside
        bool deletedItself;    // the link goes, the record with it
    };
    for (const Case& c : std::vector<Case>{
             {"docs to a folder", "docs", "C:\\elsewhere", false},
             {"img to a folder", "docs\\img", "C:\\elsewhere\\img", false},
             {"docs to a file", "docs", "C:\\elsewhere\\a.jpg", false},
             {"img to a file", "docs\\img", "C:\\elsewhere\\a.jpg", false},
             {"the copy to a file", "docs\\img\\a.jpg", "C:\\elsewhere\\a.jpg", true},
             {"the copy folder to a folder", "", "C:\\elsewhere", false},
         }) {
        SCOPED_TRACE(c.name);
        const std::string link = copiesWithLink(c.link, c.pointsTo);
        const testsupport::OutsideSnapshot outside =
            testsupport::outsideSnapshot(h.nativePath("C:\\elsewhere"));
        h.write(indexPath(Photos), lines(PhotosIndex));
        h.write(SizeFile, " 5000\r\n");
        clickDiscList({Photos, Img});
        h.ui.clearLog();
        if (c.deletedItself)
            deleteCopy("a");
        else
            deleteCopy("a", {refused(copyPath("docs\\img\\a.jpg"))});
        EXPECT_EQ(testsupport::outsideSnapshot(h.nativePath("C:\\elsewhere")), outside);
        EXPECT_EQ(fs::is_symlink(link), !c.deletedItself);
        EXPECT_EQ(index(), c.deletedItself ? photosWith(6, "E:\\docs\\img\\a.jpg[800]($)")
                                           : lines(PhotosIndex));
        EXPECT_EQ(h.read(SizeFile), c.deletedItself ? " 4200\r\n" : " 5000\r\n");
    }
}

// A copy run records the folder it copied into, once, and its copies are
// then deleted.
TEST_F(DeleteCopy, ACopyRunRecordsItsFolderOnceAndItsCopiesCanBeDeleted) {
    f().app().settings.save("Zelbrin", "MirrorFolders", "1", "");
    h.write("E:\\docs\\img\\a.jpg", std::string(800, 'j'));
    h.write(indexPath(Photos),
            lines({"E:\\|docs", "E:\\docs\\|img", "E:\\docs\\img\\a.jpg[800]($)"}));
    for (int run = 0; run < 2; ++run) {
        clickDiscList({Photos});
        h.ui.answerMsgBox(platform::MsgYes, "要拷贝的光盘名是[003]Photos！是否正确？");
        h.ui.onModal<copy>([](copy& d) {
            d.Text1.userType("C:\\runs\\[003]Photos");
            d.OKButton.userClick();
        });
        if (run == 1) h.ui.answerMsgBox(platform::MsgNo, "已经有此文件夹！需要另选吗?");
        f().copytag.userClick();
        h.write(indexPath(Photos),
                lines({"E:\\|docs", "E:\\docs\\|img", "E:\\docs\\img\\a.jpg[800]($)"}));
    }
    EXPECT_EQ(f().app().settings.get("Zelbrin", "MirrorFolders", "1", ""),
              h.nativePath("C:\\runs\\[003]Photos"));
    EXPECT_EQ(f().app().settings.get("Zelbrin", "MirrorFolders", "2", ""), "");
    h.write(indexPath(Photos),
            lines({"E:\\|docs", "E:\\docs\\|img",
                   "E:\\docs\\img\\a.jpg[800]($){C:\\runs\\[003]Photos\\docs\\img\\a.jpg}"}));
    clickDiscList({Photos, Img});
    deleteCopy("a");
    EXPECT_FALSE(h.exists("C:\\runs\\[003]Photos\\docs\\img\\a.jpg"));
}
