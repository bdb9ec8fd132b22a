// Previewing search results: a click on a result row while the pane is open
// on the disc page. File hits take path and type from their index line (a CD
// file's recorded copy whatever IsRed says), remark hits from the noted path;
// the status bar tells the path and the row's place before any viewer is
// touched. Under full screen a media result hides the panes again.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/text/document_text.h"
#include "preview_steps.h"

using namespace preview_test;

namespace {

class FindPreview : public PreviewPage {
  protected:
    void clickResult(std::string_view path) { f().ListView2.userClickItem(result(path)); }
    // The status text of a result row: the path shown and the row's place.
    std::string place(std::string_view row, std::string_view shown) {
        return std::string(shown) + "(" + std::to_string(result(row).index()) + "/" +
               std::to_string(f().ListView2.count()) + ")";
    }
};

}  // namespace

TEST_F(FindPreview, AFileHitIsShownFromTheCdDriveOrItsCopy) {
    search("page");
    clickResult("F:\\m\\page.htm[10]");
    EXPECT_EQ(f().ResultCursor, 1);
    EXPECT_EQ(status(2), "E:\\m\\page.htm(1/1)");
    EXPECT_EQ(f().PreviewKind, "web");
    EXPECT_EQ(f().WebBrowser1.locationURL(), "file:///E:/m/page.htm");
    // A file hit empties the file list.
    EXPECT_EQ(f().ListView1.count(), 0);

    // The copy, also with IsRed checked; the status bar tells the CD path.
    f().IsRed.userClick();
    search("a.txt");
    const std::string line = "F:\\m\\a.txt[5]($){C:\\copies\\m\\a.txt}";
    clickResult(line);
    EXPECT_EQ(status(2), place(line, "E:\\m\\a.txt"));
    EXPECT_EQ(f().WebBrowser1.locationURL(), "file:///C:/copies/m/a.txt");
    clickResult("F:\\m\\a.txt.bak[3]($){C:\\copies\\m\\a.txt.bak}");
    // bak is no previewed type: the status text and the note naming the file.
    EXPECT_TRUE(status(2).starts_with("E:\\m\\a.txt.bak("));
    EXPECT_EQ(f().WebBrowser1.locationURL(), platform::text::noteAddress("a.txt.bak"));
}

TEST_F(FindPreview, TypesAreCutFromThePathAndComparedInLowerCase) {
    search("Photo");
    clickResult("F:\\m\\Photo.JPG[10]");
    EXPECT_EQ(f().WebBrowser1.locationURL(), "file:///E:/m/Photo.JPG");
    search("song");
    clickResult("F:\\m\\song.mp3[10]");
    EXPECT_EQ(f().MediaPlayer2.fileName(), "E:\\m\\song.mp3");
    // The last "." lies in a folder's name: no type the pane shows, so the
    // player is emptied and the note names the file.
    search("README");
    clickResult("F:\\my.dir\\README[120]");
    EXPECT_EQ(status(2), place("F:\\my.dir\\README[120]", "E:\\my.dir\\README"));
    EXPECT_EQ(f().PreviewKind, "web");
    EXPECT_EQ(f().WebBrowser1.locationURL(), platform::text::noteAddress("README"));
    EXPECT_EQ(f().MediaPlayer2.fileName(), "");
    EXPECT_EQ(shown(), Strings{"WebBrowser1"});
}

TEST_F(FindPreview, AHardDiskHitIsShownFromItsStoredPath) {
    search("a.mp3");
    clickResult("C:\\stuff\\music\\sub\\a.mp3[7]");
    EXPECT_EQ(status(2), "C:\\stuff\\music\\sub\\a.mp3(1/1)");
    EXPECT_EQ(f().MediaPlayer2.fileName(), "C:\\stuff\\music\\sub\\a.mp3");
}

TEST_F(FindPreview, ARemarkHitIsShownFromTheNotedPath) {
    h.write(disc_page_test::discFile(Media, ".note"),
            "@##note##@[007]Media\\F:\\m\\song.mp3==好听\r\n"
            "@##note##@[007]Media\\F:\\m\\noext.No扩展名==好听的\r\n"
            "@##note##@[007]Media\\F:\\m\\sub.文件夹==好听歌\r\n");
    h.write(disc_page_test::discFile(Songs, ".note"),
            "@##note##@songs_hard\\music\\sub\\b.bmp==好听吗\r\n");
    search("好听", 3);
    ASSERT_EQ(f().ListView2.count(), 4);
    clickResult("F:\\m\\song.mp3");
    EXPECT_EQ(status(2), place("F:\\m\\song.mp3", "E:\\m\\song.mp3"));
    EXPECT_EQ(f().MediaPlayer2.fileName(), "E:\\m\\song.mp3");
    clickResult("music\\sub\\b.bmp");
    EXPECT_EQ(f().Picture1.picture(), "C:\\stuff\\music\\sub\\b.bmp");
    EXPECT_TRUE(status(2).starts_with("C:\\stuff\\music\\sub\\b.bmp("));
    // No extension: the status text and the note; a folder's note: nothing
    // at all.
    clickResult("F:\\m\\noext.No扩展名");
    EXPECT_TRUE(status(2).starts_with("E:\\m\\noext.No扩展名("));
    EXPECT_EQ(f().WebBrowser1.locationURL(), platform::text::noteAddress("noext"));
    EXPECT_EQ(f().Picture1.picture(), "");
    const std::string before = status(2);
    clickResult("F:\\m\\sub.文件夹");
    EXPECT_EQ(status(2), before);
    EXPECT_EQ(f().PreviewKind, "web");
    EXPECT_EQ(f().WebBrowser1.locationURL(), platform::text::noteAddress("noext"));

    // A hard-disk folder whose index is gone: nothing, not even the status.
    std::filesystem::remove(h.nativePath(indexPath(Songs)));
    clickResult("music\\sub\\b.bmp");
    EXPECT_EQ(status(2), before);
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(FindPreview, NothingHappensForRemarksOrWithThePaneClosed) {
    search("媒体", 1);
    ASSERT_GE(f().ListView2.count(), 1);
    const std::string before = status(2);
    f().ListView2.userClickItem(f().ListView2.item(1));
    EXPECT_EQ(status(2), before);
    EXPECT_EQ(f().PreviewKind, "web");

    search("song");
    f().OpenPreview_Click();
    ASSERT_EQ(f().Toolbar1.button("preview").value(), 0);
    clickResult("F:\\m\\song.mp3[10]");
    EXPECT_EQ(status(2), before);
    EXPECT_EQ(f().MediaPlayer2.fileName(), "");
}

TEST_F(FindPreview, AMediaResultUnderFullScreenHidesThePanesAgain) {
    search("m");
    f().Toolbar1.userClick("fullscreen");
    ASSERT_EQ(f().Toolbar1.button("fullscreen").value(), 1);
    clickResult("F:\\m\\song.mp3[10]");
    EXPECT_EQ(shown(), Strings{"MediaPlayer2"});
    for (const platform::Control* c : {static_cast<const platform::Control*>(&f().ListView1),
                                       static_cast<const platform::Control*>(&f().TabStrip1),
                                       static_cast<const platform::Control*>(&f().TreeView1)})
        EXPECT_FALSE(c->visible()) << c->name();
    EXPECT_TRUE(f().ListView1WasVisible);
    EXPECT_TRUE(f().TabStrip1WasVisible);
    EXPECT_TRUE(f().TreeView1WasVisible);
    EXPECT_FALSE(f().TreeView2WasVisible);  // it was hidden before
    // The disc page is still the page behind: the next result is shown.
    clickResult("F:\\m\\page.htm[10]");
    EXPECT_EQ(f().PreviewKind, "web");
    // Releasing full screen brings the panes back.
    f().Toolbar1.userClick("fullscreen");
    EXPECT_TRUE(f().TreeView1.visible());
    EXPECT_FALSE(f().TreeView1WasVisible);
}
