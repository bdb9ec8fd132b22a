// The preview pane's toggle, and how a window resize refits an open pane.
// Expected geometry is worked out by hand: the base layout at the design size
// puts ListView1 at left 3705, top 750, width 5970, height 5655 and Text1 at
// height 5640; every value set is rounded to whole pixels of 15 twips
// (halves away from zero) before it is read back.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "mainwindow/form1.h"
#include "support/form_geometry.h"
#include "support/harness.h"

namespace {

using platform::WindowState;
using testsupport::expectGeometry;
using testsupport::Harness;

constexpr const char* NotOnDiscPage = "只有在光盘页下，才可打开预览窗口！";
constexpr const char* ReadmeUrl = "file:///C:/zelbrin/readme.htm";

const std::vector<std::string> paneButtons = {
    "fgt3",      "left", "right", "downs", "ups", "time", "savew", "altername", "addselecttoremark",
    "fullscreen"};

// The viewers and the splitter all share one rectangle (the splitter 50
// above it and 75 high).
void expectPaneAt(const Form1& f, double left, double top, double width, double height) {
    expectGeometry(f, {
                          {"WebBrowser1", left, top, width, height},
                          {"Picture1", left, top, width, height},
                          {"MediaPlayer2", left, top, width, height},
                          {"ShockwaveFlash1", left, top, width, height},
                      });
    const double labelTop = platform::roundToPixel(top - 50);
    expectGeometry(f, {{"Label2", left, labelTop, width, 75}});
}

void expectOpen(const Form1& f) {
    for (const platform::Control* c : std::initializer_list<const platform::Control*>{
             &f.WebBrowser1, &f.Picture1, &f.MediaPlayer2, &f.ShockwaveFlash1, &f.Label2})
        EXPECT_TRUE(c->visible()) << c->name();
    EXPECT_EQ(f.Toolbar1.button("preview").value(), 1);
    for (const std::string& key : paneButtons) EXPECT_TRUE(f.Toolbar1.button(key).visible()) << key;
    EXPECT_EQ(f.PreviewKind, "web");
    EXPECT_EQ(f.WebBrowser1.locationURL(), ReadmeUrl);
    for (const platform::Control* c : std::initializer_list<const platform::Control*>{
             &f.Picture1, &f.MediaPlayer2, &f.ShockwaveFlash1})
        EXPECT_GT(f.WebBrowser1.zIndex(), c->zIndex()) << c->name();
}

void expectClosed(const Form1& f) {
    for (const platform::Control* c : std::initializer_list<const platform::Control*>{
             &f.WebBrowser1, &f.Picture1, &f.MediaPlayer2, &f.ShockwaveFlash1, &f.Label2})
        EXPECT_FALSE(c->visible()) << c->name();
    for (const std::string& key : paneButtons)
        EXPECT_FALSE(f.Toolbar1.button(key).visible()) << key;
}

class PreviewPane : public ::testing::Test {
  protected:
    void SetUp() override {
        h.start();
        // The disc page, with the pane closed as start-up leaves it.
        showPage(h.form.TreeView1);
        for (platform::Control* viewer : std::initializer_list<platform::Control*>{
                 &h.form.WebBrowser1, &h.form.Picture1, &h.form.MediaPlayer2,
                 &h.form.ShockwaveFlash1})
            viewer->setVisible(false);
        ASSERT_EQ(h.form.ListView1.height(), 5655);
    }
    void showPage(platform::TreeView& page) { testsupport::showPage(h.form, page); }
    void resize(double w, double hgt, WindowState state = WindowState::Normal) {
        testsupport::resizeTo(h.form, w, hgt, state);
    }
    Harness h;
};

// ---- the toggle ----

TEST_F(PreviewPane, OpensUnderTheListOnTheDiscPage) {
    h.form.OpenPreview.userClick();  // the menu item 打开或关闭预览窗口
    expectOpen(h.form);
    // H = 5655: the list keeps 2827.5 -> 2835; the viewers: left 3725 -> 3720,
    // top 750 + 2835 + 30, width 5950 -> 5955, height 5655 - 2835 - 40 = 2780 -> 2775.
    expectGeometry(h.form, {{"ListView1", 3705, 750, 5970, 2835}});
    expectPaneAt(h.form, 3720, 3615, 5955, 2775);
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(PreviewPane, ClosingStopsAndEmptiesThePlayersAndGivesTheListItsHeight) {
    Form1& f = h.form;
    f.OpenPreview_Click();
    f.MediaPlayer2.setFileName("E:\\a.mp3");
    f.ShockwaveFlash1.setMovie("file:\\E:\\a.swf");
    f.ShockwaveFlash1.play();
    f.Toolbar1.button("fullscreen").setValue(1);
    f.PreviewKind = "flash";

    f.OpenPreview_Click();
    expectClosed(f);
    EXPECT_EQ(f.Toolbar1.button("preview").value(), 0);
    EXPECT_EQ(f.Toolbar1.button("fullscreen").value(), 0);
    EXPECT_EQ(f.MediaPlayer2.fileName(), "");
    EXPECT_EQ(f.MediaPlayer2.playState(), platform::MediaState::Stopped);
    EXPECT_EQ(f.ShockwaveFlash1.movie(), "");
    EXPECT_FALSE(f.ShockwaveFlash1.playing());
    EXPECT_EQ(f.PreviewKind, "flash");  // closing leaves it
    // Text1's 5640 + 20 = 5660 -> 5655, the list's height of the last layout.
    EXPECT_EQ(f.ListView1.height(), 5655);
}

TEST_F(PreviewPane, RefusedOffTheDiscPage) {
    Form1& f = h.form;
    showPage(f.TreeView2);
    f.Toolbar1.button("preview").setValue(1);  // as the toolbar leaves it
    h.ui.answerMsgBox(platform::MsgOK, NotOnDiscPage);
    f.OpenPreview_Click();
    ASSERT_EQ(h.ui.log().size(), 1u);
    EXPECT_EQ(h.ui.log()[0].title, "提示");
    expectClosed(f);
    EXPECT_EQ(f.Toolbar1.button("preview").value(), 1);
    EXPECT_EQ(f.ListView1.height(), 5655);
    EXPECT_EQ(f.PreviewKind, "");
}

TEST_F(PreviewPane, ClosesOnAnyPage) {
    h.form.OpenPreview_Click();
    showPage(h.form.TreeView4);
    h.form.OpenPreview_Click();
    expectClosed(h.form);
    EXPECT_EQ(h.form.Toolbar1.button("preview").value(), 0);
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(PreviewPane, OneVisibleViewerCountsAsOpen) {
    h.form.MediaPlayer2.setVisible(true);
    h.form.OpenPreview_Click();
    expectClosed(h.form);
    EXPECT_EQ(h.form.Toolbar1.button("preview").value(), 0);
}

TEST_F(PreviewPane, AfterASplitterDragClosingUsesTheLastLayoutAndReopeningHalvesTheList) {
    Form1& f = h.form;
    f.OpenPreview_Click();
    f.ListView1.setHeight(4005);  // the user dragged the border down
    f.OpenPreview_Click();
    EXPECT_EQ(f.ListView1.height(), 5655);
    f.ListView1.setHeight(3000);
    f.OpenPreview_Click();
    // 3000 / 2 = 1500; viewers at 750 + 1500 + 30, 3000 - 1500 - 40 = 1460 -> 1455 high.
    EXPECT_EQ(f.ListView1.height(), 1500);
    expectPaneAt(f, 3720, 2280, 5955, 1455);
}

TEST_F(PreviewPane, OpensAboveTheResultStrip) {
    h.form.ListView2.setVisible(true);
    resize(9675, 6780);
    h.form.OpenPreview_Click();
    // The strip left the list 3960: it keeps 1980; viewers at 750 + 1980 + 30,
    // 3960 - 1980 - 40 = 1940 -> 1935 high.
    expectGeometry(h.form, {{"ListView1", 3705, 750, 5970, 1980}});
    expectPaneAt(h.form, 3720, 2760, 5955, 1935);
}

// ---- the window's resize ----

TEST_F(PreviewPane, ResizeRefitsAnOpenPaneWhateverItShows) {
    for (const std::string kind : {"pic", "media", "flash", "web"}) {
        SCOPED_TRACE(kind);
        Form1& f = h.form;
        resize(9675, 6780);
        f.OpenPreview_Click();
        // A preview of that kind shows its viewer alone.
        platform::Control* shown =
            kind == "pic"     ? static_cast<platform::Control*>(&f.Picture1)
            : kind == "media" ? static_cast<platform::Control*>(&f.MediaPlayer2)
            : kind == "flash" ? static_cast<platform::Control*>(&f.ShockwaveFlash1)
                              : static_cast<platform::Control*>(&f.WebBrowser1);
        for (platform::Control* viewer : std::initializer_list<platform::Control*>{
                 &f.WebBrowser1, &f.Picture1, &f.MediaPlayer2, &f.ShockwaveFlash1})
            viewer->setVisible(viewer == shown);
        if (kind == "media") f.MediaPlayer2.setFileName("E:\\a.mp3");
        if (kind == "flash") f.ShockwaveFlash1.setMovie("file:\\E:\\a.swf");
        if (kind == "web") f.WebBrowser1.navigate("file:\\E:\\a.htm");
        f.PreviewKind = kind;

        resize(19200, 13500, WindowState::Maximized);
        expectOpen(f);
        EXPECT_EQ(f.MediaPlayer2.fileName(), "");
        EXPECT_EQ(f.ShockwaveFlash1.movie(), "");
        // The layout gives the list 12375 (Text1 12360 + 20 -> 12375 again at the
        // close); it keeps 6187.5 -> 6195; viewers: left 6200 -> 6195, top
        // 750 + 6195 + 30, width 13000 -> 13005, height 12375 - 6195 - 40 = 6140 -> 6135.
        expectGeometry(f, {{"ListView1", 6180, 750, 13020, 6195}});
        expectPaneAt(f, 6195, 6975, 13005, 6135);
        f.OpenPreview_Click();
    }
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(PreviewPane, ResizeFitsThePaneToASmallAndATinyWindow) {
    h.form.OpenPreview_Click();
    resize(4500, 3000);
    // List 1875 high at left 1740: keeps 937.5 -> 945; viewers at 1760 -> 1755,
    // 750 + 945 + 30, 2740 -> 2745 wide, 1875 - 945 - 40 = 890 -> 885 high.
    expectGeometry(h.form, {{"ListView1", 1740, 750, 2760, 945}});
    expectPaneAt(h.form, 1755, 1725, 2745, 885);

    resize(600, 450);
    // The layout leaves the list no height (Text1 none either); the close gives
    // it Text1's 0 + 20 -> 15, the open keeps 7.5 -> 15 of it, and the viewers
    // get no height (15 - 15 - 40 < 0) at 750 + 15 + 30, 345 - 20 -> 330 wide.
    expectGeometry(h.form, {{"ListView1", 255, 750, 345, 15}});
    expectPaneAt(h.form, 270, 795, 330, 0);
    expectOpen(h.form);
}

TEST_F(PreviewPane, ResizeLeavesAClosedPaneClosed) {
    resize(19200, 13500, WindowState::Maximized);
    expectClosed(h.form);
    EXPECT_EQ(h.form.ListView1.height(), 12375);
    EXPECT_EQ(h.form.Toolbar1.button("preview").value(), 0);
}

TEST_F(PreviewPane, ResizeWithThePreviewButtonStuckShowsNoMessage) {
    // Pressed off the disc page, the button stays down with the pane closed.
    h.form.Toolbar1.button("preview").setValue(1);
    for (platform::TreeView* page : {&h.form.TreeView2, &h.form.TreeView1}) {
        showPage(*page);
        resize(4500, 3000);
        expectClosed(h.form);
        EXPECT_EQ(h.form.Toolbar1.button("preview").value(), 1);
    }
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(PreviewPane, ResizeInFullScreenEndsItAndRefitsThePane) {
    Form1& f = h.form;
    f.OpenPreview_Click();
    // A full-screen media preview: the viewers spread over the window, the
    // panes under them hidden.
    f.Toolbar1.button("fullscreen").setValue(1);
    for (platform::Control* viewer :
         std::initializer_list<platform::Control*>{&f.WebBrowser1, &f.Picture1, &f.ShockwaveFlash1})
        viewer->setVisible(false);
    f.MediaPlayer2.move(0, 420, 9675, 5985);
    f.PreviewKind = "media";
    for (platform::Control* c :
         std::initializer_list<platform::Control*>{&f.ListView1, &f.TabStrip1, &f.TreeView1})
        c->setVisible(false);
    f.ListView1WasVisible = f.TabStrip1WasVisible = f.TreeView1WasVisible = true;

    resize(9675, 6780);
    EXPECT_EQ(f.Toolbar1.button("fullscreen").value(), 0);
    EXPECT_TRUE(f.ListView1.visible() && f.TabStrip1.visible() && f.TreeView1.visible());
    expectOpen(f);
    expectPaneAt(f, 3720, 3615, 5955, 2775);
    EXPECT_TRUE(h.ui.messages().empty());
}

}  // namespace
