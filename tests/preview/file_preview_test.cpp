// Previewing the files of the disc page's file list: a click on a row while
// the pane is open, and the keys "downs"/"ups" (which also write the row's
// place into the status bar). Each type goes to its viewer, read from the CD
// drive, the mirror copy or the catalogued hard-disk folder; a file of a type
// the pane cannot show empties it and shows the note naming the file; folder
// and information rows change no viewer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/text/document_text.h"
#include "preview_steps.h"

using namespace preview_test;

namespace {

class FilePreview : public PreviewPage {};

}  // namespace

TEST_F(FilePreview, EachTypeGoesToItsViewerFromTheCdDrive) {
    openMediaFolder();
    struct Case {
        const char* row;
        const char* kind;
        const char* viewer;
        const char* shows;  // the viewer's content after the click
    };
    const Case cases[] = {
        {"pic", "pic", "Picture1", "E:\\m\\pic.bmp"},
        {"anim", "web", "WebBrowser1", "file:///E:/m/anim.gif"},
        {"Photo", "web", "WebBrowser1", "file:///E:/m/Photo.JPG"},
        {"page", "web", "WebBrowser1", "file:///E:/m/page.htm"},
        {"readme", "web", "WebBrowser1", "file:///E:/m/readme.txt"},
        {"song", "media", "MediaPlayer2", "E:\\m\\song.mp3"},
        {"clip", "media", "MediaPlayer2", "E:\\m\\clip.dat"},
        {"intro", "flash", "ShockwaveFlash1", "file:\\E:\\m\\intro.swf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        clickRow(c.row);
        EXPECT_EQ(f().PreviewKind, c.kind);
        EXPECT_EQ(shown(), Strings{c.viewer});
        const platform::Control* viewer = f().find(c.viewer);
        ASSERT_NE(viewer, nullptr);
        EXPECT_TRUE(inFront(*viewer));
        const std::string kind = c.kind;
        if (kind == "pic") {
            EXPECT_EQ(f().Picture1.picture(), c.shows);
        }
        if (kind == "web") {
            EXPECT_EQ(f().WebBrowser1.locationURL(), c.shows);
        }
        if (kind == "media") {
            EXPECT_EQ(f().MediaPlayer2.fileName(), c.shows);
            // Started by the player itself.
            EXPECT_EQ(f().MediaPlayer2.playState(), platform::MediaState::Playing);
        }
        if (kind == "flash") {
            EXPECT_EQ(f().ShockwaveFlash1.movie(), c.shows);
            EXPECT_TRUE(f().ShockwaveFlash1.playing());
        }
        // The row clicked last is the cursor of the stepping keys.
        EXPECT_EQ(f().FileCursor, row(f(), c.row).index());
    }
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(FilePreview, EachKindStopsAndEmptiesThePlayersItDoesNotUse) {
    openMediaFolder();
    clickRow("pic");
    clickRow("song");
    // A media file empties the picture box.
    EXPECT_EQ(f().Picture1.picture(), "");
    clickRow("pic");
    EXPECT_EQ(f().MediaPlayer2.fileName(), "");
    EXPECT_EQ(f().MediaPlayer2.playState(), platform::MediaState::Stopped);
    clickRow("intro");
    // The hidden picture box keeps its picture; the browser keeps its page.
    EXPECT_EQ(f().Picture1.picture(), "E:\\m\\pic.bmp");
    const std::string page = f().WebBrowser1.locationURL();
    clickRow("page");
    EXPECT_EQ(f().ShockwaveFlash1.movie(), "");
    EXPECT_FALSE(f().ShockwaveFlash1.playing());
    EXPECT_NE(f().WebBrowser1.locationURL(), page);
    clickRow("pic");
    EXPECT_EQ(f().WebBrowser1.locationURL(), "file:///E:/m/page.htm");
}

TEST_F(FilePreview, APictureThatCannotBeLoadedLeavesTheOneBefore) {
    openMediaFolder();
    clickRow("pic");
    clickRow("page");
    // icon.ico is not on the disc: the box comes to the front with the old
    // picture, as the kind "pic".
    clickRow("icon");
    EXPECT_EQ(f().PreviewKind, "pic");
    EXPECT_EQ(shown(), Strings{"Picture1"});
    EXPECT_EQ(f().Picture1.picture(), "E:\\m\\pic.bmp");
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(FilePreview, AFileThePaneCannotShowEmptiesItAndShowsTheNote) {
    openMediaFolder();
    struct Case {
        const char* before;  // a file each viewer shows
        const char* row;     // then a file of a type outside the table
        const char* name;    // the name the note gives
    };
    for (const Case& c : {Case{"song", "pack", "pack.zip"}, Case{"pic", "shot", "shot.png"},
                          Case{"page", "noext", "noext"}, Case{"intro", "shot", "shot.png"}}) {
        SCOPED_TRACE(std::string(c.before) + " then " + c.row);
        clickRow(c.before);
        ASSERT_NE(f().PreviewKind, "") << c.before;
        clickRow(c.row);
        EXPECT_EQ(f().PreviewKind, "web");
        EXPECT_EQ(shown(), Strings{"WebBrowser1"});
        EXPECT_TRUE(inFront(f().WebBrowser1));
        EXPECT_EQ(f().WebBrowser1.locationURL(), platform::text::noteAddress(c.name));
        // Nothing of the file before stays in any viewer.
        EXPECT_EQ(f().MediaPlayer2.fileName(), "");
        EXPECT_EQ(f().MediaPlayer2.playState(), platform::MediaState::Stopped);
        EXPECT_EQ(f().Picture1.picture(), "");
        EXPECT_EQ(f().ShockwaveFlash1.movie(), "");
        EXPECT_FALSE(f().ShockwaveFlash1.playing());
        EXPECT_EQ(f().FileCursor, row(f(), c.row).index());
    }
    // The stepping keys show the note too, and tell the row's place.
    clickRow("song");
    f().ListView1.userClickItem(row(f(), "pack"));
    f().Toolbar1.userClick("ups");
    f().Toolbar1.userClick("downs");
    EXPECT_EQ(f().WebBrowser1.locationURL(), platform::text::noteAddress("pack.zip"));
    EXPECT_TRUE(status(2).starts_with("pack.zip(")) << status(2);
    // Back in the browser leads to the page shown before the note.
    f().Toolbar1.userClick("left");
    EXPECT_NE(f().WebBrowser1.locationURL(), platform::text::noteAddress("pack.zip"));
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(FilePreview, FolderAndInformationRowsChangeNoViewer) {
    openMediaFolder();
    clickRow("song");
    clickRow("sub");
    EXPECT_EQ(f().PreviewKind, "media");
    EXPECT_EQ(shown(), Strings{"MediaPlayer2"});
    EXPECT_EQ(f().MediaPlayer2.playState(), platform::MediaState::Playing);
    // A folder row's click is the folder's own: the cursor stays on the song.
    EXPECT_EQ(f().FileCursor, row(f(), "song").index());
    // The disc's information rows: nothing either.
    clickDiscList({Media});
    ASSERT_EQ(f().ListView1.count(), 4);
    f().ListView1.userClickItem(f().ListView1.item(2));
    EXPECT_EQ(f().FileCursor, 2);
    EXPECT_EQ(f().PreviewKind, "media");
    EXPECT_EQ(shown(), Strings{"MediaPlayer2"});
}

TEST_F(FilePreview, AMirroredRowShowsItsOwnCopyUnlessIsRedIsChecked) {
    openMediaFolder();
    // a.txt.bak's line comes first and holds a.txt's path: each row finds
    // its own line.
    clickRow("a");
    EXPECT_EQ(f().WebBrowser1.locationURL(), "file:///C:/copies/m/a.txt");
    // A copy no copy run writes is not used: the file on the disc is shown.
    clickRow("odd");
    EXPECT_EQ(f().WebBrowser1.locationURL(), "file:///E:/m/odd.htm");

    // Checked: from the disc; the preview on show is not redone.
    clickRow("a");
    f().IsRed.userClick();
    EXPECT_TRUE(f().IsRed.checked());
    EXPECT_EQ(f().WebBrowser1.locationURL(), "file:///C:/copies/m/a.txt");
    clickRow("a");
    EXPECT_EQ(f().WebBrowser1.locationURL(), "file:///E:/m/a.txt");
    f().IsRed.userClick();
    EXPECT_FALSE(f().IsRed.checked());

    // An index that cannot be read, or no longer records the copy: the disc.
    h.write(indexPath(Media), "F:\\m\\a.txt[5]\r\n");
    clickRow("page");
    clickRow("a");
    EXPECT_EQ(f().WebBrowser1.locationURL(), "file:///E:/m/a.txt");
    std::filesystem::remove(h.nativePath(indexPath(Media)));
    clickRow("page");
    clickRow("a");
    EXPECT_EQ(f().WebBrowser1.locationURL(), "file:///E:/m/a.txt");
}

TEST_F(FilePreview, AMirroredRowOfCaseTwinsShowsItsOwnFilesCopy) {
    h.write(indexPath("[008]Twins"), lines({
                                         "F:\\|m",
                                         "F:\\m\\A.htm[5]($){C:\\copies\\m\\A.htm}",
                                         "F:\\m\\a.htm[5]($){C:\\copies\\m\\a.htm}",
                                         "F:\\m\\B.HTM[6]($){C:\\copies\\m\\B.HTM}",
                                         "F:\\m\\b.htm[7]($){C:\\copies\\m\\b.htm}",
                                         "F:\\m\\許($).htm[8]($){C:\\copies\\m\\許($).htm}",
                                         "F:\\m\\noStr5.htm[9]($){C:\\copies\\m\\noStr5.htm}",
                                     }));
    f().refresh1_Click();
    clickDiscList({"[008]Twins", "[008]Twins\\F:\\m"});
    struct Case {
        const char* key;
        const char* shows;
    };
    for (const Case& c : {Case{"A.htm[5]($)", "file:///C:/copies/m/A.htm"},
                          Case{"a.htm[5]($)", "file:///C:/copies/m/a.htm"},
                          Case{"B.HTM[6]($)", "file:///C:/copies/m/B.HTM"},
                          Case{"b.htm[7]($)", "file:///C:/copies/m/b.htm"},
                          Case{"許($).htm[8]($)", "file:///C:/copies/m/許($).htm"},
                          Case{"noStrnoStr5.htm[9]($)", "file:///C:/copies/m/noStr5.htm"}}) {
        SCOPED_TRACE(c.key);
        platform::ListItem* r = f().ListView1.find(c.key);
        ASSERT_NE(r, nullptr);
        f().ListView1.userClickItem(*r);
        EXPECT_EQ(f().WebBrowser1.locationURL(), c.shows);
    }
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(FilePreview, AHardDiskFolderIsReadInPlaceWhateverTheColour) {
    clickDiscList({Songs, SongsFolder});
    f().IsRed.userClick();
    clickRow("a");
    EXPECT_EQ(f().MediaPlayer2.fileName(), "C:\\stuff\\music\\sub\\a.mp3");
    clickRow("b");
    EXPECT_EQ(f().Picture1.picture(), "C:\\stuff\\music\\sub\\b.bmp");

    // Its index gone: no location, nothing changes.
    std::filesystem::remove(h.nativePath(indexPath(Songs)));
    clickRow("a");
    EXPECT_EQ(f().PreviewKind, "pic");
    EXPECT_EQ(f().MediaPlayer2.fileName(), "");
}

TEST_F(FilePreview, AWholeDriveScannedAsAHardDiskFolderBeginsWithTheDrive) {
    h.write(indexPath("all_hard"), "C:\\|top\r\nC:\\top\\x.htm[3]\r\n");
    f().refresh1_Click();
    clickDiscList({"all_hard", "all_hard\\C:\\top"});
    clickRow("x");
    EXPECT_EQ(f().WebBrowser1.locationURL(), "file:///C:/top/x.htm");
}

TEST_F(FilePreview, WithThePaneClosedAClickOnlySetsTheTip) {
    h.write(disc_page_test::discFile(Media, ".note"),
            "@##note##@[007]Media\\F:\\m\\song.mp3==好听\r\n");
    openMediaFolder();
    clickRow("page");
    const int cursor = f().FileCursor;
    f().OpenPreview_Click();
    ASSERT_EQ(f().Toolbar1.button("preview").value(), 0);
    clickRow("song");
    EXPECT_EQ(row(f(), "song").toolTipText(), "好听");
    EXPECT_EQ(f().FileCursor, cursor);
    EXPECT_EQ(f().MediaPlayer2.fileName(), "");
    // A row without a remark keeps the tip it had.
    row(f(), "page").setToolTipText("old");
    clickRow("page");
    EXPECT_EQ(row(f(), "page").toolTipText(), "old");
}

TEST_F(FilePreview, TheSteppingKeysPreviewAndTellTheRowsPlace) {
    openMediaFolder();
    const int count = f().ListView1.count();
    const std::string of = "/" + std::to_string(count) + ")";
    // Sorted by type: the folder comes first.
    f().Toolbar1.userClick("downs");
    EXPECT_EQ(status(2), "sub(1" + of);
    f().ListView1.userClickItem(row(f(), "song"));
    const int song = row(f(), "song").index();
    f().Toolbar1.userClick("ups");
    const platform::ListItem& before = f().ListView1.item(song - 1);
    EXPECT_EQ(status(2),
              before.text() + "." + before.subItem(1) + "(" + std::to_string(song - 1) + of);
    clickRow("noext");
    f().Toolbar1.userClick("downs");
    f().Toolbar1.userClick("ups");
    EXPECT_EQ(status(2), "noext.No扩展名(" + std::to_string(row(f(), "noext").index()) + of);
    clickRow("intro");
    f().Toolbar1.userClick("downs");
    f().Toolbar1.userClick("ups");
    EXPECT_EQ(f().PreviewKind, "flash");
    EXPECT_EQ(status(2), "intro.swf(" + std::to_string(row(f(), "intro").index()) + of);

    // The disc's information rows: their text and the empty type.
    clickDiscList({Media});
    f().Toolbar1.userClick("downs");
    EXPECT_EQ(status(2), f().ListView1.item(1).text() + ".(1/4)");
    EXPECT_EQ(f().PreviewKind, "flash");
}

TEST_F(FilePreview, TheBrowsersStatusTextAndNewWindows) {
    f().WebBrowser1.userStatus("file:///E:/m/b.htm");
    EXPECT_EQ(status(1), "file:///E:/m/b.htm");
    f().WebBrowser1.userStatus("");
    EXPECT_EQ(status(1), "");
    EXPECT_FALSE(f().WebBrowser1.userNewWindow());
}

// ---- the category page opens a row with its program ----

namespace {

class CategoryOpen : public PreviewPage {
  protected:
    void openCategoryFolder(std::initializer_list<std::string_view> paths) {
        f().TabStrip1.userSelect(disc_page_test::CategoryTab);
        for (std::string_view p : paths) f().TreeView2.userClickNode(node(f().TreeView2, p));
    }
    Strings opened() const {
        Strings out;
        for (const auto& c : h.shell.calls()) out.push_back(c.target + " @ " + c.workDir);
        return out;
    }
};

}  // namespace

TEST_F(CategoryOpen, ACdRowOpensFromTheDriveOrAsksForTheDisc) {
    h.write("E:\\m\\page.htm", "<p>");
    h.write("E:\\m\\noext", "x");
    h.makeFolder("E:\\m\\sub");
    openCategoryFolder({"媒体\\[007]Media", "媒体\\[007]Media\\F:\\m"});
    f().ListView1.userClickItem(row(f(), "page"));
    f().ListView1.userClickItem(row(f(), "noext"));
    f().ListView1.userClickItem(row(f(), "sub"));
    h.ui.answerMsgBox(platform::MsgOK, "请插入光盘");
    f().ListView1.userClickItem(row(f(), "song"));
    EXPECT_EQ(opened(),
              (Strings{"E:\\m\\page.htm @ C:\\", "E:\\m\\noext @ C:\\", "E:\\m\\sub @ C:\\"}));
    EXPECT_EQ(h.ui.messages(), Strings{"请插入光盘"});
    // Each row is deselected; nothing is previewed there.
    EXPECT_EQ(f().ListView1.selectedItem(), nullptr);
    EXPECT_EQ(f().FileCursor, 0);
    EXPECT_EQ(h.ui.mousePointer(), platform::PointerDefault);
}

TEST_F(CategoryOpen, AHardDiskRowOpensInPlaceOrIsToldMissing) {
    openCategoryFolder({"媒体\\songs_hard", "媒体\\songs_hard\\music\\sub"});
    f().ListView1.userClickItem(row(f(), "b"));
    h.ui.answerMsgBox(platform::MsgOK, "该文件不存在!");
    f().ListView1.userClickItem(row(f(), "a"));
    // With the index gone nothing is opened.
    std::filesystem::remove(h.nativePath(indexPath(Songs)));
    h.ui.answerMsgBox(platform::MsgOK, "该文件不存在!");
    f().ListView1.userClickItem(row(f(), "b"));
    EXPECT_EQ(opened(), Strings{"C:\\stuff\\music\\sub\\b.bmp @ C:\\"});
    EXPECT_EQ(h.ui.messages(), (Strings{"该文件不存在!", "该文件不存在!"}));
}
