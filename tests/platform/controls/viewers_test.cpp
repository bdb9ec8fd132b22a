#include "platform/controls/viewers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plain_form.h"
#include "platform/controls/media_player.h"
#include "platform/controls/simple_controls.h"
#include "platform/error.h"
#include "platform/system/clipboard.h"
#include "support/fake_media_engine.h"

using namespace platform;

namespace {

using plaincontrols::errorOf;

TEST(BrowserAddress, FileAddressesTakeOneForm) {
    struct Case {
        const char* given;
        const char* location;
        const char* path;
    };
    const Case cases[] = {
        {"file:\\\\C:\\zelbrin\\readme.htm", "file:///C:/zelbrin/readme.htm",
         "C:\\zelbrin\\readme.htm"},
        {"file://E:\\docs\\a b&c[1].htm", "file:///E:/docs/a%20b%26c%5B1%5D.htm",
         "E:\\docs\\a b&c[1].htm"},
        {"FILE:///D:/data/a.txt", "file:///D:/data/a.txt", "D:\\data\\a.txt"},
        {"file:///D:/a%20b.txt", "file:///D:/a%20b.txt", "D:\\a b.txt"},
        {"file://E:\\光盘\\说明.txt", "file:///E:/光盘/说明.txt", "E:\\光盘\\说明.txt"},
        {"http://www.example.com/a b", "http://www.example.com/a b", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(canonicalUrl(c.given), c.location) << c.given;
        EXPECT_EQ(filePathOfUrl(canonicalUrl(c.given)), c.path) << c.given;
    }
}

class BrowserTest : public plaincontrols::PlainFormTest {
  protected:
    BrowserTest() { browser.setClipboard(&clipboard); }
    system::MemoryClipboard clipboard;
    WebBrowser browser{form, "WebBrowser1"};
};

TEST_F(BrowserTest, HistoryEndsRaiseAndTheMiddleMoves) {
    EXPECT_EQ(errorOf([&] { browser.goBack(); }), err::Unspecified);
    browser.navigate("file:\\\\C:\\zelbrin\\readme.htm");
    browser.navigate("file://E:\\a.htm");
    browser.navigate("file://E:\\b.htm");
    EXPECT_EQ(errorOf([&] { browser.goForward(); }), err::Unspecified);
    browser.goBack();
    browser.goBack();
    EXPECT_EQ(browser.locationURL(), "file:///C:/zelbrin/readme.htm");
    EXPECT_EQ(errorOf([&] { browser.goBack(); }), err::Unspecified);
    EXPECT_EQ(browser.locationURL(), "file:///C:/zelbrin/readme.htm");
    browser.goForward();
    browser.navigate("file://E:\\c.htm");  // drops b.htm
    EXPECT_EQ(browser.history(),
              (std::vector<std::string>{"file:///C:/zelbrin/readme.htm", "file:///E:/a.htm",
                                        "file:///E:/c.htm"}));
    browser.navigate("file:///E:/c.htm");  // the same page again: a reload
    EXPECT_EQ(browser.history().size(), 3u);
    EXPECT_EQ(browser.locationPath(), "E:\\c.htm");
}

TEST_F(BrowserTest, CopyPutsOnlyASelectionOnTheClipboard) {
    browser.navigate("file://D:\\data\\a.txt");
    clipboard.clear();
    browser.execWB(BrowserCopy, 0);
    EXPECT_EQ(clipboard.text(), "");
    browser.userSelect("报告:第1章");
    browser.execWB(BrowserCopy, 0);
    EXPECT_EQ(clipboard.text(), "报告:第1章");
    browser.navigate("file://D:\\data\\b.txt");  // a new page has no selection
    clipboard.clear();
    browser.execWB(BrowserCopy, 0);
    EXPECT_EQ(clipboard.text(), "");
}

TEST_F(BrowserTest, SaveAsPromptsThroughTheUiAndOtherCommandsFail) {
    ui.expectBrowserSaveAs();
    browser.execWB(BrowserSaveAs, BrowserPromptUser);
    EXPECT_TRUE(ui.allUsed());
    EXPECT_EQ(errorOf([&] { browser.execWB(99, 0); }), err::InvalidCall);
}

TEST_F(BrowserTest, ViewEventsReachTheHandlers) {
    std::vector<std::string> status;
    browser.StatusTextChange = [&](const std::string& t) { status.push_back(t); };
    browser.NewWindow2 = [](bool& cancel) { cancel = true; };
    browser.userStatus("file:///E:/a.htm");
    browser.userStatus("");
    EXPECT_EQ(status, (std::vector<std::string>{"file:///E:/a.htm", ""}));
    EXPECT_EQ(browser.statusText(), "");
    EXPECT_FALSE(browser.userNewWindow());
    browser.NewWindow2 = nullptr;
    EXPECT_TRUE(browser.userNewWindow());
    browser.userFollowLink("file://E:\\b.htm");
    EXPECT_EQ(browser.locationURL(), "file:///E:/b.htm");
}

class ScriptedProbe : public PictureProbe {
  public:
    int error = 0;
    void check(std::string_view) override {
        if (error) platform::raise(error);
    }
};

TEST_F(BrowserTest, FailedPictureLoadKeepsThePicture) {
    ScriptedProbe probe;
    PictureBox box{form, "Picture1"};
    box.setProbe(&probe);
    box.loadPicture("E:\\a.bmp");
    EXPECT_EQ(box.picture(), "E:\\a.bmp");
    for (int error : {err::FileNotFound, err::InvalidPicture}) {
        probe.error = error;
        EXPECT_EQ(errorOf([&] { box.loadPicture("E:\\b.bmp"); }), error);
        EXPECT_EQ(box.picture(), "E:\\a.bmp");
    }
    box.loadPicture("");
    EXPECT_EQ(box.picture(), "");
}

TEST_F(BrowserTest, FlashPlaysOnlyAMovie) {
    FlashPlayer flash{form, "ShockwaveFlash1"};
    flash.play();
    EXPECT_FALSE(flash.playing());
    flash.setMovie("file:\\E:\\films\\a.swf");
    flash.play();
    EXPECT_TRUE(flash.playing());
    flash.stop();
    flash.setMovie("");
    EXPECT_FALSE(flash.playing());
    EXPECT_EQ(flash.movie(), "");
}

class MediaTest : public plaincontrols::PlainFormTest {
  protected:
    testsupport::FakeMediaFactory media;
    MediaPlayer player{form, "MediaPlayer1"};
    testsupport::FakeMediaEngine& engine() {
        player.engine();
        return media.engine(0);
    }
};

TEST_F(MediaTest, FileNameLoadsAndStartsByItself) {
    player.setFileName("E:\\music\\a.mp3");
    EXPECT_EQ(engine().calls, (std::vector<std::string>{"open E:\\music\\a.mp3", "play"}));
    EXPECT_EQ(player.playState(), MediaState::Playing);
    player.setAutoStart(false);
    player.setFileName("E:\\music\\b.mp3");
    EXPECT_EQ(player.playState(), MediaState::Stopped);
    player.setFileName("");
    EXPECT_EQ(engine().calls.back(), "close");
    player.play();  // nothing loaded: nothing to play
    EXPECT_EQ(engine().calls.back(), "close");
}

TEST_F(MediaTest, AFileTheEngineRefusesRaisesAndEmptiesThePlayer) {
    player.setFileName("E:\\a.mp3");
    engine().refuse("E:\\missing.mp3");
    EXPECT_EQ(errorOf([&] { player.setFileName("E:\\missing.mp3"); }), err::FileNotFound);
    EXPECT_EQ(player.fileName(), "");
    EXPECT_EQ(player.playState(), MediaState::Stopped);
}

TEST_F(MediaTest, PauseActsOnlyWhilePlayingAndStopKeepsThePosition) {
    player.setFileName("E:\\a.mp3");
    engine().positionSeconds = 83.4;
    player.pause();
    player.pause();
    EXPECT_EQ(player.playState(), MediaState::Paused);
    player.stop();
    EXPECT_DOUBLE_EQ(player.currentPosition(), 83.4);
    player.setCurrentPosition(0);
    player.fastForward();
    EXPECT_EQ(engine().calls, (std::vector<std::string>{"open E:\\a.mp3", "play", "pause", "stop",
                                                        "position 0", "forward"}));
}

TEST_F(MediaTest, EndOfStreamIsAnEventOfItsOwnAfterTheRunningCommand) {
    std::vector<std::string> order;
    player.EndOfStream = [&](int result) {
        order.push_back("end " + std::to_string(result));
        EXPECT_EQ(player.playState(), MediaState::Stopped);
    };
    player.setFileName("E:\\a.mp3");
    CheckBox check{form, "Check1"};
    check.Click = [&] {
        engine().finish();  // the file ends while a command runs
        order.push_back("command ends");
    };
    check.userClick();
    EXPECT_EQ(order, (std::vector<std::string>{"command ends", "end 0"}));
    engine().finish();  // between commands: at once
    EXPECT_EQ(order.size(), 3u);
}

}  // namespace
