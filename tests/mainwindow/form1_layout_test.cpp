// The pane layout, driven by window resizes as the user makes them. Every
// expected value is worked out by hand from the layout rules: T = 360
// (toolbar), status bar 375, outer width = inner width + 120, and every value
// a control is given is rounded to whole pixels of 15 twips (halves away from
// zero) before the next step reads it back.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "mainwindow/form1.h"
#include "support/form_geometry.h"
#include "support/harness.h"

namespace {

using platform::WindowState;
using testsupport::expectGeometry;
using testsupport::Harness;
using testsupport::showPage;

// The search-result strip as the search shows it, then a resize lays it out.
void showResults(Harness& h) {
    h.form.ListView2.setVisible(true);
    h.form.ListView2.zOrder(0);
}

class Layout : public ::testing::Test {
  protected:
    void SetUp() override {
        h.start();
        showPage(h.form, h.form.TreeView2);
    }
    void resize(double w, double hgt, WindowState state = WindowState::Normal) {
        testsupport::resizeTo(h.form, w, hgt, state);
    }
    Harness h;
};

// ---- the base arrangement ----

TEST_F(Layout, DesignSize) {
    resize(9675, 6780);
    // TabStrip1: top 360 + 60; height 6780 - 420 - 375; width 0.38 x 9675 = 3676.5 -> 3675.
    // Page area: strip less 30 left/right/bottom and 360 at the top.
    // ListView1: top 780 - 25 = 755 -> 750; left 3675 + 25 = 3700 -> 3705;
    //   width 9675 - 3705; height 420 + 5985 - 750.
    // Text1: top 760 -> 765; left 3725 -> 3720; width 5970 - 30; height 5635 -> 5640.
    // Label1: left 3655 -> 3660; width 260 -> 255.
    // ProgressBar1 (design width 1500): height 375 - 50 = 325 -> 330;
    //   left 9675 - 1500 - 250 = 7925 -> 7920; top 6780 - 330 - 10 = 6440 -> 6435.
    expectGeometry(h.form, {
                               {"Toolbar1", 0, 0, 9675, 360},
                               {"StatusBar1", 0, 6405, 9675, 375},
                               {"TabStrip1", 0, 420, 3675, 5985},
                               {"TreeView1", 30, 780, 3615, 5595},
                               {"TreeView2", 30, 780, 3615, 5595},
                               {"TreeView3", 30, 780, 3615, 5595},
                               {"TreeView4", 30, 780, 3615, 5595},
                               {"ListView1", 3705, 750, 5970, 5655},
                               {"Text1", 3720, 765, 5940, 5640},
                               {"Label1", 3660, 750, 255, 5655},
                               {"ProgressBar1", 7920, 6435, 1500, 330},
                           });
    // Panels: 9795 / 3 = 3265 -> 3270, 2 x 9795 / 3 = 6530 -> 6525; they sum to the outer width.
    EXPECT_EQ(h.form.StatusBar1.panel(1).width(), 3270);
    EXPECT_EQ(h.form.StatusBar1.panel(2).width(), 6525);
    // The splitter lies behind the panes.
    EXPECT_LT(h.form.Label1.zIndex(), h.form.ListView1.zIndex());
    EXPECT_LT(h.form.Label1.zIndex(), h.form.TabStrip1.zIndex());
}

TEST_F(Layout, Maximised) {
    resize(19200, 13500, WindowState::Maximized);
    // TabStrip1: width 0.32 x 19200 = 6144 -> 6150; height 13500 - 420 - 375.
    // ListView1: left 6175 -> 6180; width 19200 - 6180; height 420 + 12705 - 750.
    // Text1: left 6200 -> 6195; height 12355 -> 12360. Label1: left 6130 -> 6135.
    // ProgressBar1: left 17450 -> 17445; top 13160 -> 13155.
    expectGeometry(h.form, {
                               {"Toolbar1", 0, 0, 19200, 360},
                               {"StatusBar1", 0, 13125, 19200, 375},
                               {"TabStrip1", 0, 420, 6150, 12705},
                               {"TreeView1", 30, 780, 6090, 12315},
                               {"TreeView4", 30, 780, 6090, 12315},
                               {"ListView1", 6180, 750, 13020, 12375},
                               {"Text1", 6195, 765, 12990, 12360},
                               {"Label1", 6135, 750, 255, 12375},
                               {"ProgressBar1", 17445, 13155, 1500, 330},
                           });
    // 19320 / 3 = 6440 -> 6435; 12880 -> 12885.
    EXPECT_EQ(h.form.StatusBar1.panel(1).width(), 6435);
    EXPECT_EQ(h.form.StatusBar1.panel(2).width(), 12885);
}

TEST_F(Layout, SmallWindow) {
    resize(4500, 3000);
    // TabStrip1: width 0.38 x 4500 = 1710; height 3000 - 420 - 375 = 2205.
    // ListView1: left 1735 -> 1740; width 4500 - 1740; height 420 + 2205 - 750.
    // Text1: left 1760 -> 1755; height 1855 -> 1860. Label1: left 1690 -> 1695.
    expectGeometry(h.form, {
                               {"TabStrip1", 0, 420, 1710, 2205},
                               {"TreeView2", 30, 780, 1650, 1815},
                               {"ListView1", 1740, 750, 2760, 1875},
                               {"Text1", 1755, 765, 2730, 1860},
                               {"Label1", 1695, 750, 255, 1875},
                           });
}

TEST_F(Layout, MinimisedChangesNothingAndRestoringLaysOut) {
    resize(4500, 3000);
    h.form.userResize(0, 0, WindowState::Minimized);
    expectGeometry(h.form,
                   {{"TabStrip1", 0, 420, 1710, 2205}, {"ListView1", 1740, 750, 2760, 1875}});
    EXPECT_EQ(h.form.Toolbar1.width(), 4500);
    h.form.userResize(9675, 6780, WindowState::Normal);
    expectGeometry(h.form,
                   {{"TabStrip1", 0, 420, 3675, 5985}, {"ListView1", 3705, 750, 5970, 5655}});
}

// ---- a window too small for the panes ----

TEST_F(Layout, TinyWindowClampsSizesAtZero) {
    resize(600, 450);
    // TabStrip1: height 450 - 420 - 375 < 0 -> 0; width 228 -> 225; page area 165 x 0.
    // ListView1: left 250 -> 255, width 600 - 255; height 420 + 0 - 750 < 0 -> 0.
    // Text1: width 345 - 30; height < 0 -> 0. Label1: left 205 -> 210, height 0.
    expectGeometry(h.form, {
                               {"TabStrip1", 0, 420, 225, 0},
                               {"TreeView1", 30, 780, 165, 0},
                               {"ListView1", 255, 750, 345, 0},
                               {"Text1", 270, 765, 315, 0},
                               {"Label1", 210, 750, 255, 0},
                           });
    for (const platform::Control* c : h.form.controls()) {
        EXPECT_GE(c->width(), 0) << c->name();
        EXPECT_GE(c->height(), 0) << c->name();
    }
}

TEST_F(Layout, ListKeepsItsWidthWhenItsLeftIsBeyondTheWindow) {
    resize(4500, 3000);
    // Inner width 30: the strip is 11.4 -> 15 wide, the list's left 40 -> 45 lies
    // beyond the inner width, so the list keeps the width it had.
    h.form.userResize(30, 3000, WindowState::Normal);
    EXPECT_EQ(h.form.ListView1.left(), 45);
    EXPECT_EQ(h.form.ListView1.width(), 2760);
}

// ---- the search-result strip ----

TEST_F(Layout, ResultStripAtDesignSize) {
    showResults(h);
    resize(9675, 6780);
    // h0 = 5655; ListView1 0.7 x 5655 = 3958.5 -> 3960; d = 1695.
    // Text1: 3940 -> 3945. TabStrip1: 5985 - 1695 - 10 = 4280 -> 4275; trees 4275 - 390.
    // ListView2: top 750 + 3960 + 30. Label3: top 4690 -> 4695, height 70 -> 75.
    expectGeometry(h.form, {
                               {"ListView1", 3705, 750, 5970, 3960},
                               {"Text1", 3720, 765, 5940, 3945},
                               {"TabStrip1", 0, 420, 3675, 4275},
                               {"TreeView1", 30, 780, 3615, 3885},
                               {"TreeView3", 30, 780, 3615, 3885},
                               {"ListView2", 0, 4740, 9675, 1695},
                               {"Label3", 0, 4695, 9675, 75},
                           });
    EXPECT_TRUE(h.form.Label3.visible());
    EXPECT_GT(h.form.ListView2.zIndex(), h.form.ListView1.zIndex());
}

TEST_F(Layout, ResultStripMaximisedIsSplitAnewAtEveryResize) {
    showResults(h);
    resize(9675, 6780);
    resize(19200, 13500, WindowState::Maximized);
    // h0 = 12375; 0.7 x h0 = 8662.5 -> 8670; d = 3705.
    // Text1: 8650 -> 8655. TabStrip1: 12705 - 3705 - 10 = 8990 -> 8985.
    // ListView2: top 750 + 8670 + 30. Label3: top 9400 -> 9405.
    expectGeometry(h.form, {
                               {"ListView1", 6180, 750, 13020, 8670},
                               {"Text1", 6195, 765, 12990, 8655},
                               {"TabStrip1", 0, 420, 6150, 8985},
                               {"TreeView2", 30, 780, 6090, 8595},
                               {"ListView2", 0, 9450, 19200, 3705},
                               {"Label3", 0, 9405, 19200, 75},
                           });
}

TEST_F(Layout, ResultStripInATinyWindowHasNoNegativeSizes) {
    showResults(h);
    resize(600, 450);
    expectGeometry(h.form, {{"TabStrip1", 0, 420, 225, 0},
                            {"ListView1", 255, 750, 345, 0},
                            {"ListView2", 0, 780, 600, 0}});
}

// ---- the software record form ----

TEST_F(Layout, SoftwareFormAtDesignSize) {
    showPage(h.form, h.form.TreeView3);
    resize(9675, 6780);
    // Column distance 4320 - 3480 = 840, row distance 360, m1 = 36, m2 = 126, m3 = 14.4.
    // Labels: left 3705 + 36 = 3741 -> 3735. Fields: 3705 + 840 + 36 = 4581 -> 4575.
    // Field tops 750 + r x 360; the description's label 750 + 11 x 360 = 4710 and
    //   its field 4710 + 252 = 4962 -> 4965.
    // Widths: w = 9795 - 4575 - 1935 = 3285; every field + 3285 - 126:
    //   1935 + 3159 = 5094 -> 5100 (right edge 9675); description 2775 + 3159 = 5934 -> 5940.
    // Description height: s = (420 + 5985) - (4965 + 735) = 705; 735 + 705 - 14.4 = 1425.6 -> 1425.
    expectGeometry(
        h.form,
        {
            {"SoftNamL", 3735, 750, 810, 180},         {"SoftNameT", 4575, 750, 5100, 270},
            {"SoftVersion", 3735, 1110, 810, 180},     {"SoftVersionT", 4575, 1110, 5100, 270},
            {"SoftKind", 3735, 1470, 810, 180},        {"SoftKindT", 4575, 1470, 5100, 270},
            {"SoftSize", 3735, 1830, 810, 180},        {"SoftSizeT", 4575, 1830, 5100, 270},
            {"SoftAuthor", 3735, 2190, 810, 180},      {"SoftAuthorT", 4575, 2190, 5100, 270},
            {"EmailAddress", 3735, 2550, 810, 180},    {"EmailAddressT", 4575, 2550, 5100, 270},
            {"SoftCategory", 3735, 2910, 810, 180},    {"SoftCategoryT", 4575, 2910, 5100, 270},
            {"RegisterCode", 3735, 3270, 630, 180},    {"RegisterCodeT", 4575, 3270, 5100, 270},
            {"SoftHomepage", 3735, 3630, 810, 180},    {"SoftHomepageT", 4575, 3630, 5100, 270},
            {"Downloading", 3735, 3990, 810, 180},     {"DownloadingT", 4575, 3990, 5100, 270},
            {"SoftRank", 3735, 4350, 810, 180},        {"SoftRankT", 4575, 4350, 5100, 300},
            {"SoftDescription", 3735, 4710, 810, 180}, {"SoftDescriptionT", 3735, 4965, 5940, 1425},
        });
    for (const char* name :
         {"SoftNamL", "SoftNameT", "SoftRankT", "SoftDescription", "SoftDescriptionT"})
        EXPECT_TRUE(h.form.find(name)->visible()) << name;
}

TEST_F(Layout, SoftwareFormMaximised) {
    showPage(h.form, h.form.TreeView3);
    resize(19200, 13500, WindowState::Maximized);
    // Labels 6180 + 36 = 6216 -> 6210; fields 6180 + 876 = 7056 -> 7050.
    // Fields end at 19320 - 126 = 19194: 19194 - 7050 = 12144 -> 12150; the
    //   description 19194 - 6210 = 12984 -> 12990.
    // Description height: 13125 - 4965 - 14.4 = 8145.6 -> 8145.
    expectGeometry(h.form, {
                               {"SoftNamL", 6210, 750, 810, 180},
                               {"SoftNameT", 7050, 750, 12150, 270},
                               {"SoftRankT", 7050, 4350, 12150, 300},
                               {"SoftDescription", 6210, 4710, 810, 180},
                               {"SoftDescriptionT", 6210, 4965, 12990, 8145},
                           });
}

TEST_F(Layout, SoftwareDescriptionKeepsItsHeightWhenNoneIsLeft) {
    showPage(h.form, h.form.TreeView3);
    resize(9675, 6780);
    resize(9675, 1500);
    // The tab strip ends at 420 + 0, far above the description: its height stays.
    EXPECT_EQ(h.form.SoftDescriptionT.height(), 1425);
    EXPECT_EQ(h.form.SoftDescriptionT.top(), 4965);
}

TEST_F(Layout, SoftwareFormIsLaidOutOnlyOnTheSoftwarePage) {
    h.form.formSoftVisibleF();
    resize(19200, 13500, WindowState::Maximized);
    EXPECT_FALSE(h.form.SoftNameT.visible());
    EXPECT_FALSE(h.form.SoftDescription.visible());
    EXPECT_NE(h.form.SoftNameT.left(), 7050);
}

// ---- the keyword box on the toolbar ----

// The right edge of the last visible toolbar button, by the buttons' design
// widths: 345 twips a button, 120 a separator.
double buttonsEnd(const Form1& f) {
    double x = 0;
    for (const auto& b : f.Toolbar1.buttons())
        if (b->visible()) x += b->style() == platform::ToolbarButton::Separator ? 120 : 345;
    return x;
}

TEST_F(Layout, KeywordBoxStartsEmptyAtItsDesignPlace) {
    Form1& f = h.form;
    EXPECT_EQ(f.Combo2.text(), "");
    expectGeometry(f, {{"Combo2", 7425, 30, 2205, 300}});
    resize(9675, 6780);
    // 15 buttons and 2 separators end at 5415; the box (2200 -> 2205 wide)
    // keeps 50 from the right edge: 9675 - 2255 = 7420 -> 7425.
    EXPECT_EQ(buttonsEnd(f), 5415);
    EXPECT_EQ(f.Toolbar1.buttonsWidth(), 5415);
    expectGeometry(f, {{"Combo2", 7425, 30, 2205, 300}});
}

TEST_F(Layout, KeywordBoxFollowsTheRightEdgeAndNeverCoversAButton) {
    Form1& f = h.form;
    struct Case {
        double width;
        bool previewButtons;
        double left;
    };
    // Room: 50 from the right edge (width - 2205 - 50, to whole pixels). No room: 60 right of the
    // last button (5415 + 60; with the preview group 8640 + 60).
    const Case cases[] = {
        {9675, false, 7425}, {15000, false, 12750}, {7000, false, 5475}, {3000, false, 5475},
        {9675, true, 8700},  {15000, true, 12750},  {10950, true, 8700},
    };
    for (const Case& c : cases) {
        for (const char* key : {"fgt3", "left", "right", "downs", "ups", "time", "savew",
                                "altername", "addselecttoremark", "fullscreen"})
            f.Toolbar1.button(key).setVisible(c.previewButtons);
        resize(c.width, 6780);
        EXPECT_EQ(f.Combo2.left(), c.left)
            << c.width << (c.previewButtons ? " with preview buttons" : "");
        EXPECT_GE(f.Combo2.left(), buttonsEnd(f));
    }
}

TEST_F(Layout, KeywordBoxMovesWhenButtonsShowOrHide) {
    Form1& f = h.form;
    resize(9675, 6780);
    // The music group shows while music plays: the box moves at once, without a resize.
    for (const char* key :
         {"fgt4", "PreviousCD", "NextCD", "BackwardCD", "ForwardCD", "PauseCD", "StopCD"})
        f.Toolbar1.button(key).setVisible(true);
    EXPECT_EQ(buttonsEnd(f), 5415 + 120 + 6 * 345);
    EXPECT_EQ(f.Combo2.left(), 5415 + 120 + 6 * 345 + 60);
    for (const char* key :
         {"fgt4", "PreviousCD", "NextCD", "BackwardCD", "ForwardCD", "PauseCD", "StopCD"})
        f.Toolbar1.button(key).setVisible(false);
    EXPECT_EQ(f.Combo2.left(), 7425);
}

// ---- full screen ends at a resize ----

TEST_F(Layout, ResizeEndsFullScreen) {
    Form1& f = h.form;
    f.Toolbar1.button("fullscreen").setValue(1);
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &f.ListView1, &f.TabStrip1, &f.TreeView2, &f.Combo2})
        c->setVisible(false);
    f.ListView1WasVisible = f.TabStrip1WasVisible = f.TreeView2WasVisible = true;
    f.Combo2WasVisible = -1;
    f.MediaPlayer1.setVisible(true);

    resize(9675, 6780);
    EXPECT_EQ(f.Toolbar1.button("fullscreen").value(), 0);
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &f.ListView1, &f.TabStrip1, &f.TreeView2, &f.Combo2})
        EXPECT_TRUE(c->visible()) << c->name();
    EXPECT_FALSE(f.ListView1WasVisible || f.TabStrip1WasVisible || f.TreeView2WasVisible);
    EXPECT_EQ(f.Combo2WasVisible, 0);
    // A page that full screen did not hide stays hidden; the music player is never shown.
    EXPECT_FALSE(f.TreeView1.visible());
    EXPECT_FALSE(f.MediaPlayer1.visible());
}

}  // namespace
