// The splitter bars, dragged as the user drags them: a press on the bar, a
// release some twips away. The window has its design size (inner 9675 x 6780);
// drag distances are whole pixels (15 twips), so every moved edge moves by
// exactly the drag. A drag never leaves a pane it shrinks below 300 twips.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "mainwindow/form1.h"
#include "support/form_geometry.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;

constexpr double MinPane = 300;
constexpr int Disc = 2, Software = 3;

struct Box {
    double left, top, width, height;
};
Box box(const platform::Control& c) { return {c.left(), c.top(), c.width(), c.height()}; }

class Splitters : public ::testing::Test {
  protected:
    void SetUp() override {
        h.start();
        testsupport::resizeTo(h.form, 9675, 6780);
    }
    // Press at (x, y) of the bar, release (dx, dy) further.
    void drag(platform::Label& bar, double dx, double dy, int button = platform::LeftButton) {
        h.ui.clearLog();
        pointersBefore = h.ui.pointers().size();
        bar.userMouseDown(button, 0, 100, 30);
        bar.userMouseUp(button, 0, 100 + dx, 30 + dy);
    }
    // The pointers the last drag set.
    std::vector<int> dragPointers() const {
        const auto& p = h.ui.pointers();
        return {p.begin() + static_cast<std::ptrdiff_t>(pointersBefore), p.end()};
    }
    // The search-result strip shown and laid out, as the search opens it.
    void showResults() {
        h.form.ListView2.setVisible(true);
        testsupport::resizeTo(h.form, 9675, 6780);
    }
    Form1& f() { return h.form; }

    Harness h;
    std::size_t pointersBefore = 0;
};

// ---- Label1: the border between the tab strip and the list area ----

TEST_F(Splitters, Label1MovesTheVerticalBorderWithinTheLimits) {
    f().TabStrip1.userSelect(Disc);  // the preview pane opens
    ASSERT_TRUE(f().previewPaneOpen());
    const Box lv = box(f().ListView1), tab = box(f().TabStrip1), text = box(f().Text1),
              web = box(f().WebBrowser1), bar = box(f().Label1), tree = box(f().TreeView1);
    const double toRight = lv.width - MinPane;                       // 5670
    const double toLeft = -(f().TabStrip1.clientWidth() - MinPane);  // -3315
    struct Row {
        double drag, moved;
    };
    for (const Row& r : {Row{510, 510}, Row{-510, -510}, Row{0, 0}, Row{20000, toRight},
                         Row{-20000, toLeft}, Row{toRight + 15, toRight}}) {
        SCOPED_TRACE("drag " + std::to_string(r.drag));
        drag(f().Label1, r.drag, 45);
        const double m = r.moved;
        EXPECT_EQ(f().ListView1.left(), lv.left + m);
        EXPECT_EQ(f().ListView1.width(), lv.width - m);
        EXPECT_EQ(f().TabStrip1.width(), tab.width + m);
        EXPECT_EQ(f().Text1.left(), text.left + m);
        EXPECT_EQ(f().Text1.width(), text.width - m);
        for (const platform::Control* v : std::initializer_list<const platform::Control*>{
                 &f().WebBrowser1, &f().Picture1, &f().MediaPlayer2, &f().ShockwaveFlash1}) {
            EXPECT_EQ(v->left(), web.left + m) << v->name();
            EXPECT_EQ(v->width(), web.width - m) << v->name();
            EXPECT_EQ(v->top(), web.top) << v->name();
        }
        for (const platform::TreeView* t :
             {&f().TreeView1, &f().TreeView2, &f().TreeView3, &f().TreeView4}) {
            EXPECT_EQ(t->width(), tree.width + m) << t->name();
            EXPECT_EQ(t->height(), tree.height) << t->name();
        }
        EXPECT_EQ(f().Label1.left(), bar.left + m);
        // The preview's bar follows the viewers.
        EXPECT_EQ(f().Label2.left(), f().WebBrowser1.left());
        EXPECT_EQ(f().Label2.width(), f().WebBrowser1.width());
        // Heights stay.
        EXPECT_EQ(f().ListView1.height(), lv.height);
        EXPECT_EQ(f().TabStrip1.height(), tab.height);
        EXPECT_EQ(dragPointers(), (std::vector<int>{platform::PointerSizeWE, 0}));
        EXPECT_TRUE(h.ui.log().empty());
        // Back to the start for the next row.
        drag(f().Label1, -m, 0);
        ASSERT_EQ(f().ListView1.left(), lv.left);
    }
}

TEST_F(Splitters, Label1OnTheSoftwarePageLaysTheRecordFormOutAgain) {
    f().TabStrip1.userSelect(Software);
    ASSERT_TRUE(f().TreeView3.visible());
    const double label = f().SoftNamL.left(), field = f().SoftVersionT.left();
    drag(f().Label1, -600, 0, platform::RightButton);
    EXPECT_EQ(f().SoftNamL.left(), label - 600);
    EXPECT_EQ(f().SoftVersionT.left(), field - 600);
    EXPECT_EQ(f().SoftNamL.left(), f().ListView1.left() + 30);  // 0.1 x 360 = 36 -> 30
}

// ---- Label2: the border between the file list and the preview pane ----

TEST_F(Splitters, Label2MovesTheBorderAboveThePreviewPane) {
    f().TabStrip1.userSelect(Disc);
    const Box lv = box(f().ListView1), web = box(f().WebBrowser1), bar = box(f().Label2),
              text = box(f().Text1);
    const double down = web.height - MinPane, up = -(lv.height - MinPane);
    struct Row {
        double drag, moved;
    };
    for (const Row& r :
         {Row{195, 195}, Row{-195, -195}, Row{0, 0}, Row{20000, down}, Row{-20000, up}}) {
        SCOPED_TRACE("drag " + std::to_string(r.drag));
        drag(f().Label2, 45, r.drag);
        const double m = r.moved;
        EXPECT_EQ(f().ListView1.height(), lv.height + m);
        for (const platform::Control* v : std::initializer_list<const platform::Control*>{
                 &f().WebBrowser1, &f().Picture1, &f().MediaPlayer2, &f().ShockwaveFlash1}) {
            EXPECT_EQ(v->top(), web.top + m) << v->name();
            EXPECT_EQ(v->height(), web.height - m) << v->name();
            EXPECT_EQ(v->left(), web.left) << v->name();
        }
        EXPECT_EQ(f().Label2.top(), bar.top + m);
        EXPECT_EQ(f().Text1.height(), text.height);
        EXPECT_EQ(dragPointers(), (std::vector<int>{platform::PointerSizeNS, 0}));
        drag(f().Label2, 0, -m);
        ASSERT_EQ(f().ListView1.height(), lv.height);
    }
}

// ---- Label3: the border above the search-result strip ----

TEST_F(Splitters, Label3WithoutThePreviewMovesTheWholeUpperEdge) {
    showResults();
    ASSERT_TRUE(f().Label3.visible());
    const Box lv = box(f().ListView1), tab = box(f().TabStrip1), text = box(f().Text1),
              res = box(f().ListView2), bar = box(f().Label3);
    const double down = res.height - MinPane;
    const double up = -(std::min(f().TabStrip1.clientHeight(), lv.height) - MinPane);
    struct Row {
        double drag, moved;
    };
    for (const Row& r : {Row{300, 300}, Row{-300, -300}, Row{20000, down}, Row{-20000, up}}) {
        SCOPED_TRACE("drag " + std::to_string(r.drag));
        drag(f().Label3, 0, r.drag);
        const double m = r.moved;
        EXPECT_EQ(f().ListView1.height(), lv.height + m);
        EXPECT_EQ(f().Text1.height(), text.height + m);
        EXPECT_EQ(f().TabStrip1.height(), tab.height + m);
        EXPECT_EQ(f().ListView2.top(), res.top + m);
        EXPECT_EQ(f().ListView2.height(), res.height - m);
        EXPECT_EQ(f().ListView2.top() + f().ListView2.height(), res.top + res.height);
        for (const platform::TreeView* t :
             {&f().TreeView1, &f().TreeView2, &f().TreeView3, &f().TreeView4})
            EXPECT_EQ(t->height(), f().TabStrip1.clientHeight()) << t->name();
        EXPECT_EQ(f().Label3.top(), bar.top + m);
        EXPECT_EQ(dragPointers(), (std::vector<int>{platform::PointerSizeNS, 0}));
        drag(f().Label3, 0, -m);
        ASSERT_EQ(f().ListView2.top(), res.top);
    }
}

TEST_F(Splitters, Label3WithThePreviewSharesTheMoveAndKeepsThePaneLevelWithTheStrip) {
    f().TabStrip1.userSelect(Disc);
    showResults();
    f().OpenPreview_Click();  // the resize closed the pane off the layout; open it afresh
    if (!f().previewPaneOpen()) f().OpenPreview_Click();
    ASSERT_TRUE(f().previewPaneOpen());
    const Box lv = box(f().ListView1), web = box(f().WebBrowser1), tab = box(f().TabStrip1),
              res = box(f().ListView2);
    drag(f().Label3, 0, -300);
    EXPECT_EQ(f().ListView1.height(), lv.height - 150);
    EXPECT_EQ(f().WebBrowser1.top(), web.top - 150);
    EXPECT_EQ(f().TabStrip1.height(), tab.height - 300);
    EXPECT_EQ(f().ListView2.top(), res.top - 300);
    EXPECT_EQ(f().ListView2.height(), res.height + 300);
    const double stripBottom = f().TabStrip1.top() + f().TabStrip1.height();
    EXPECT_EQ(f().WebBrowser1.top() + f().WebBrowser1.height(), stripBottom);
    for (const platform::Control* v : std::initializer_list<const platform::Control*>{
             &f().Picture1, &f().MediaPlayer2, &f().ShockwaveFlash1}) {
        EXPECT_EQ(v->top(), f().WebBrowser1.top()) << v->name();
        EXPECT_EQ(v->height(), f().WebBrowser1.height()) << v->name();
    }
    EXPECT_EQ(f().Label2.top(), f().WebBrowser1.top() - 45);  // top - 50, in whole pixels
    EXPECT_EQ(f().Label2.height(), 75);                       // 70, in whole pixels

    // Far up: the list and the pane each keep at least the minimum.
    drag(f().Label3, 0, -20000);
    EXPECT_GE(f().ListView1.height(), MinPane - 15);
    EXPECT_GE(f().WebBrowser1.height(), MinPane - 15);
    EXPECT_GE(f().TabStrip1.clientHeight(), MinPane - 15);
    EXPECT_EQ(f().WebBrowser1.top() + f().WebBrowser1.height(),
              f().TabStrip1.top() + f().TabStrip1.height());
}

TEST_F(Splitters, Label3InFullScreenDoesNothing) {
    showResults();
    f().Toolbar1.button("fullscreen").setValue(1);
    const Box lv = box(f().ListView1), res = box(f().ListView2), bar = box(f().Label3);
    drag(f().Label3, 0, -300);
    EXPECT_EQ(f().ListView1.height(), lv.height);
    EXPECT_EQ(f().ListView2.top(), res.top);
    EXPECT_EQ(f().Label3.top(), bar.top);
    EXPECT_TRUE(dragPointers().empty());
}

// ---- a window too small for the minimum ----

TEST_F(Splitters, InATinyWindowNoDragShrinksAPaneOrMakesASizeNegative) {
    f().TabStrip1.userSelect(Disc);
    showResults();
    testsupport::resizeTo(f(), 1200, 1500);
    if (!f().previewPaneOpen()) f().OpenPreview_Click();
    for (double d : {20000.0, -20000.0, 150.0, -150.0}) {
        SCOPED_TRACE("drag " + std::to_string(d));
        for (platform::Label* bar : {&f().Label1, &f().Label2, &f().Label3}) {
            std::vector<Box> before;
            for (const platform::Control* c : f().controls()) before.push_back(box(*c));
            drag(*bar, d, d);
            std::size_t i = 0;
            for (const platform::Control* c : f().controls()) {
                const Box& b = before[i++];
                EXPECT_GE(c->width(), 0) << c->name() << " after " << bar->name();
                EXPECT_GE(c->height(), 0) << c->name() << " after " << bar->name();
                // A pane that was already below the minimum is never shrunk.
                for (const char* pane : {"ListView1", "ListView2", "TabStrip1", "WebBrowser1"}) {
                    if (c->name() != pane) continue;
                    if (b.width < MinPane) {
                        EXPECT_GE(c->width(), b.width) << pane;
                    }
                    if (b.height < MinPane) {
                        EXPECT_GE(c->height(), b.height) << pane;
                    }
                }
            }
        }
    }
}

}  // namespace
