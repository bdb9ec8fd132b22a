// The toolbar's buttons, clicked as the user clicks them: each key reaches
// its command or does nothing, the two-state buttons "preview" and
// "fullscreen" always agree with the preview pane, full screen gives back
// exactly what it hid, and the small jobs of the toolbar (stepping through
// the lists, the browser's buttons, the CD door, hiding the results).
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "mainwindow/about_dialog.h"
#include "mainwindow/form1.h"
#include "platform/controls/form.h"
#include "support/form_geometry.h"
#include "support/harness.h"

namespace {

using testsupport::Harness;
using testsupport::ShownKind;

enum Tab { Category = 1, Disc = 2, Software = 3, Library = 4 };

constexpr const char* NotOnDiscPage = "只有在光盘页下，才可打开预览窗口！";

class Toolbar : public ::testing::Test {
  protected:
    void SetUp() override { h.start(); }
    Form1& f() { return h.form; }
    platform::ToolbarButton& button(const std::string& key) { return f().Toolbar1.button(key); }
    int value(const std::string& key) { return button(key).value(); }
    void click(const std::string& key) { f().Toolbar1.userClick(key); }
    void discPage() { f().TabStrip1.userSelect(Disc); }
    // The revision of every control but the toolbar: what a click changed.
    std::map<std::string, std::uint64_t> revisions() {
        std::map<std::string, std::uint64_t> r;
        for (const platform::Control* c : f().controls())
            if (c != &f().Toolbar1) r[c->name()] = c->revision();
        return r;
    }
    void fillList(platform::ListView& list, int rows) {
        for (int i = 1; i <= rows; ++i)
            list.add("k" + std::to_string(i), "row " + std::to_string(i));
    }
    // The search results across the bottom, as a search shows them.
    void showResults(int rows) {
        fillList(f().ListView2, rows);
        f().ListView2.setVisible(true);
        f().FormSizeFind();
    }
    int selectedRow(const platform::ListView& list) {
        return list.selectedItem() ? list.selectedItem()->index() : 0;
    }
    // The two-state buttons agree with the pane.
    void expectInStep(const std::string& when) {
        EXPECT_EQ(value("preview"), f().previewPaneOpen() ? 1 : 0) << when;
        if (value("fullscreen") == 1) {
            EXPECT_TRUE(f().previewPaneOpen()) << when;
        }
    }
    Harness h;
};

// ---- dispatch by key ----

TEST_F(Toolbar, CommandKeysRunTheirMenuCommand) {
    // The toolbar click shows the user exactly what the menu item shows.
    struct Case {
        const char* key;
        platform::MenuItem& item;
        std::function<void()> answer;
    };
    const std::vector<Case> cases = {
        {"maker", f().maker, [&] { h.ui.onModal("Dialog", [](platform::Form&) {}); }},
        {"import", f().import, [&] { h.ui.answerOpen(std::nullopt); }},
        {"export", f().Export, [&] { h.ui.answerMsgBox(platform::MsgOK); }},
        {"changeorder", f().ChangeOrder, [&] { h.ui.answerMsgBox(platform::MsgOK); }},
        {"find", f().findItem, [&] { h.ui.onModal("find1", [](platform::Form&) {}); }},
        {"copytag", f().copytag, [&] { h.ui.answerMsgBox(platform::MsgOK); }},
    };
    for (const Case& c : cases) {
        h.ui.clearLog();
        c.answer();
        c.item.userClick();
        const std::vector<testsupport::Shown> byMenu = h.ui.log();
        ASSERT_FALSE(byMenu.empty()) << c.key;
        h.ui.clearLog();
        c.answer();
        click(c.key);
        ASSERT_EQ(h.ui.log().size(), byMenu.size()) << c.key;
        for (std::size_t i = 0; i < byMenu.size(); ++i) {
            EXPECT_EQ(h.ui.log()[i].kind, byMenu[i].kind) << c.key;
            EXPECT_EQ(h.ui.log()[i].prompt, byMenu[i].prompt) << c.key;
        }
        EXPECT_TRUE(h.ui.allUsed()) << c.key;
    }
}

TEST_F(Toolbar, KeysOfCommandsNotYetThereDoNothing) {
    discPage();
    const std::vector<std::string> keys = {"fgt1", "fgt2", "fgt3", "fgt4"};
    for (const std::string& key : keys) {
        button(key).setVisible(true);  // the music group, as while a list plays
        const auto before = revisions();
        click(key);
        // Separators never reach the handler; give it them anyway.
        f().Toolbar1_ButtonClick(button(key));
        EXPECT_EQ(revisions(), before) << key;
        EXPECT_TRUE(h.ui.log().empty()) << key;
        EXPECT_TRUE(h.mci.commands().empty()) << key;
        expectInStep(key);
    }
}

TEST_F(Toolbar, KeysAreMatchedWholeAndByCase) {
    discPage();
    for (const char* key : {"MAKER", "Preview", "fullScreen", "grid "}) {
        platform::ToolbarButton& b = f().Toolbar1.add(key);
        const auto before = revisions();
        f().Toolbar1_ButtonClick(b);
        EXPECT_EQ(revisions(), before) << '"' << key << '"';
        EXPECT_TRUE(h.ui.log().empty()) << key;
    }
}

TEST_F(Toolbar, GridButtonAndEjectFollowTheirPressedState) {
    click("grid");
    EXPECT_FALSE(f().ListView1.gridLines());
    click("grid");
    EXPECT_TRUE(f().ListView1.gridLines());

    click("eject");
    click("eject");
    EXPECT_EQ(h.mci.commands(),
              (std::vector<std::string>{"set CDAudio door open", "set CDAudio door closed"}));

    discPage();  // the preview group shows
    click("time");
    EXPECT_TRUE(f().Timer2.enabled());
    click("time");
    EXPECT_FALSE(f().Timer2.enabled());
    EXPECT_TRUE(h.ui.log().empty());
}

// ---- the preview button ----

TEST_F(Toolbar, PreviewButtonOpensAndClosesThePaneOnTheDiscPage) {
    discPage();
    ASSERT_TRUE(f().previewPaneOpen());
    click("preview");
    EXPECT_FALSE(f().previewPaneOpen());
    EXPECT_FALSE(button("fullscreen").visible());
    click("preview");
    EXPECT_TRUE(f().previewPaneOpen());
    EXPECT_TRUE(button("fullscreen").visible());
    expectInStep("reopened");
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(Toolbar, PreviewButtonOffTheDiscPageIsRefusedAndComesUp) {
    for (int page : {Category, Software, Library}) {
        f().TabStrip1.userSelect(page);
        h.ui.answerMsgBox(platform::MsgOK, NotOnDiscPage);
        click("preview");
        EXPECT_FALSE(f().previewPaneOpen()) << page;
        expectInStep("refused");
        // Every press is refused alike; no press leaves the button down.
        h.ui.answerMsgBox(platform::MsgOK, NotOnDiscPage);
        click("preview");
        expectInStep("refused again");
        EXPECT_EQ(h.ui.messages(), (std::vector<std::string>{NotOnDiscPage, NotOnDiscPage}));
        h.ui.clearLog();
    }
}

TEST_F(Toolbar, ButtonsStayInStepWithThePaneWhateverTheUserDoes) {
    // A long walk over the user's gestures that switch the pane, in an order
    // that mixes them all; after each, the buttons agree with the pane.
    fillList(f().ListView1, 3);
    const std::vector<std::string> names = {"preview", "fullscreen", "page",    "menu",
                                            "media",   "down",       "results", "resize"};
    unsigned seed = 7;
    for (int step = 0; step < 400; ++step) {
        seed = seed * 1103515245u + 12345u;
        const std::string& what = names[(seed >> 16) % names.size()];
        const std::string when = std::to_string(step) + " " + what;
        if (what == "preview") {
            if (value("preview") == 0 && !f().previewPaneOpen() && !f().onDiscPage())
                h.ui.answerMsgBox(platform::MsgOK, NotOnDiscPage);
            click("preview");
        } else if (what == "fullscreen") {
            click("fullscreen");  // a hidden button does nothing
        } else if (what == "page") {
            // The user can reach the tabs only while they are shown.
            if (f().TabStrip1.visible()) f().TabStrip1.userSelect(1 + (seed >> 20) % 4);
        } else if (what == "menu") {
            if (!f().previewPaneOpen() && !f().TreeView1.visible())
                h.ui.answerMsgBox(platform::MsgOK, NotOnDiscPage);
            f().OpenPreview.userClick();
        } else if (what == "media") {
            // A preview of the kind the next full screen serves.
            const bool media = (seed >> 20) % 2 == 0;
            f().PreviewKind = media ? "media" : "web";
            if (f().previewPaneOpen()) {
                platform::Control& viewer =
                    media ? static_cast<platform::Control&>(f().MediaPlayer2) : f().WebBrowser1;
                viewer.zOrder(0);
            }
        } else if (what == "down") {
            click("down");
        } else if (what == "results") {
            if (!f().ListView2.visible()) showResults(2);
        } else {
            testsupport::resizeTo(f(), 9675 + 15 * (step % 7), 6780);
        }
        ASSERT_TRUE(h.ui.allUsed()) << when;
        expectInStep(when);
        if (::testing::Test::HasFailure()) return;
    }
}

// ---- full screen ----

struct Shown {
    std::map<std::string, bool> visible;
    std::map<std::string, std::vector<double>> rect;
};

Shown shownOf(const Form1& f) {
    Shown s;
    for (const platform::Control* c : f.controls()) {
        s.visible[c->name()] = c->visible();
        s.rect[c->name()] = {c->left(), c->top(), c->width(), c->height()};
    }
    return s;
}

TEST_F(Toolbar, MediaFullScreenHidesThePanesAndGivesBackExactlyThoseShown) {
    for (const bool keywordBox : {true, false}) {
        SCOPED_TRACE(keywordBox);
        discPage();
        f().Combo2.setVisible(keywordBox);
        f().PreviewKind = "media";
        const Shown before = shownOf(f());
        const double right = f().ListView1.left() + f().ListView1.width();

        click("fullscreen");
        for (const platform::Control* c : std::initializer_list<const platform::Control*>{
                 &f().ListView1, &f().TabStrip1, &f().TreeView1, &f().Combo2})
            EXPECT_FALSE(c->visible()) << c->name();
        EXPECT_TRUE(f().ListView1WasVisible && f().TabStrip1WasVisible && f().TreeView1WasVisible);
        // The trees of the other pages were hidden already and stay unflagged.
        EXPECT_FALSE(f().TreeView2WasVisible || f().TreeView3WasVisible || f().TreeView4WasVisible);
        EXPECT_EQ(f().Combo2WasVisible, keywordBox ? -1 : 0);
        for (const platform::Control* v : std::initializer_list<const platform::Control*>{
                 &f().WebBrowser1, &f().Picture1, &f().MediaPlayer2, &f().ShockwaveFlash1}) {
            EXPECT_EQ(v->left(), f().TabStrip1.left()) << v->name();
            EXPECT_EQ(v->top(), f().TabStrip1.top()) << v->name();
            EXPECT_EQ(v->height(), f().TabStrip1.height()) << v->name();
            EXPECT_NEAR(v->width(), right - f().TabStrip1.left(), 8) << v->name();
            EXPECT_GE(f().MediaPlayer2.zIndex(), v->zIndex());
        }

        click("fullscreen");
        const Shown after = shownOf(f());
        EXPECT_EQ(after.visible, before.visible);
        EXPECT_EQ(after.rect, before.rect);
        EXPECT_FALSE(f().ListView1WasVisible || f().TabStrip1WasVisible || f().TreeView1WasVisible);
        EXPECT_EQ(f().Combo2WasVisible, 0);
        EXPECT_TRUE(h.ui.log().empty());
    }
}

// Esc in full screen is a click of its button: the same panes and places
// come back. Without full screen the main window takes no Esc.
TEST_F(Toolbar, EscLeavesFullScreenAsItsButtonDoes) {
    discPage();
    EXPECT_FALSE(f().takesEscape());
    EXPECT_FALSE(f().userPressEscape());
    for (const char* kind : {"media", "web"}) {
        SCOPED_TRACE(kind);
        f().PreviewKind = kind;
        const Shown before = shownOf(f());
        click("fullscreen");
        ASSERT_NE(shownOf(f()).rect, before.rect);
        EXPECT_TRUE(f().takesEscape());
        EXPECT_TRUE(f().userPressEscape());
        EXPECT_EQ(value("fullscreen"), 0);
        EXPECT_EQ(shownOf(f()).visible, before.visible);
        EXPECT_EQ(shownOf(f()).rect, before.rect);
        EXPECT_FALSE(f().takesEscape());
        EXPECT_FALSE(f().userPressEscape());
        expectInStep(kind);
    }
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(Toolbar, OtherPreviewsCoverThePanesWithoutHidingThem) {
    struct Case {
        const char* kind;
        const char* front;
        const char* kindAfter;
    };
    for (const Case& c : {Case{"web", "WebBrowser1", "web"},
                          Case{"flash", "ShockwaveFlash1", "flash"}, Case{"pic", "Picture1", "pic"},
                          Case{"", "Picture1", "pic"}, Case{"other", "Picture1", "pic"}}) {
        SCOPED_TRACE(c.kind);
        discPage();
        f().PreviewKind = c.kind;
        const Shown before = shownOf(f());
        click("fullscreen");
        EXPECT_EQ(f().PreviewKind, c.kindAfter);
        EXPECT_EQ(shownOf(f()).visible, before.visible);  // covered, not hidden
        const platform::Control* front = f().find(c.front);
        for (const platform::Control* v : std::initializer_list<const platform::Control*>{
                 &f().WebBrowser1, &f().Picture1, &f().MediaPlayer2, &f().ShockwaveFlash1}) {
            EXPECT_GE(front->zIndex(), v->zIndex()) << v->name();
            EXPECT_EQ(v->top(), f().TabStrip1.top());
        }
        click("fullscreen");
        EXPECT_EQ(shownOf(f()).rect, before.rect);
    }
}

TEST_F(Toolbar, FullScreenWithResultsEndsAtTheTabStripsBottom) {
    showResults(2);
    discPage();
    f().PreviewKind = "web";
    click("fullscreen");
    EXPECT_EQ(f().WebBrowser1.top() + f().WebBrowser1.height(),
              f().TabStrip1.top() + f().TabStrip1.height());
    EXPECT_LT(f().WebBrowser1.top() + f().WebBrowser1.height(), f().ListView2.top());
    EXPECT_TRUE(f().ListView2.visible());
}

TEST_F(Toolbar, FullScreenWithThePaneClosedIsHarmless) {
    // Off the disc page the pane is closed and its buttons hidden: a click
    // does nothing; a press by code comes up again and moves nothing.
    for (int page : {Category, Disc, Software, Library}) {
        f().TabStrip1.userSelect(page);
        if (f().previewPaneOpen()) click("preview");
        const Shown before = shownOf(f());
        click("fullscreen");
        EXPECT_EQ(value("fullscreen"), 0);
        button("fullscreen").setValue(1);
        f().Toolbar1_ButtonClick(button("fullscreen"));
        EXPECT_EQ(value("fullscreen"), 0) << page;
        button("fullscreen").setValue(0);
        f().Toolbar1_ButtonClick(button("fullscreen"));
        const Shown after = shownOf(f());
        EXPECT_EQ(after.visible, before.visible) << page;
        EXPECT_EQ(after.rect, before.rect) << page;
        EXPECT_TRUE(h.ui.log().empty());
    }
}

TEST_F(Toolbar, ClosingThePaneInMediaFullScreenShowsThePanesAgain) {
    discPage();
    f().PreviewKind = "media";
    click("fullscreen");
    ASSERT_FALSE(f().TreeView1.visible());
    click("preview");  // released: the disc page is under full screen
    EXPECT_FALSE(f().previewPaneOpen());
    EXPECT_TRUE(f().TreeView1.visible() && f().ListView1.visible() && f().TabStrip1.visible());
    EXPECT_FALSE(f().TreeView1WasVisible);
    EXPECT_EQ(value("fullscreen"), 0);
    expectInStep("closed");
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(Toolbar, PreviewButtonAfterTheMenuClosedAFullScreenPaneShowsThePanesAndOpens) {
    discPage();
    f().PreviewKind = "media";
    click("fullscreen");
    f().OpenPreview.userClick();  // the menu closes the pane and leaves the panes hidden
    ASSERT_FALSE(f().previewPaneOpen());
    ASSERT_FALSE(f().TreeView1.visible());
    click("preview");
    EXPECT_TRUE(f().TreeView1.visible() && f().ListView1.visible() && f().TabStrip1.visible());
    EXPECT_TRUE(f().previewPaneOpen());
    expectInStep("reopened");
    EXPECT_TRUE(h.ui.log().empty());
}

// ---- hiding the results ----

TEST_F(Toolbar, DownHidesTheResultsAndClosesThePane) {
    discPage();
    showResults(3);
    click("down");
    EXPECT_FALSE(f().ListView2.visible());
    EXPECT_EQ(f().ListView2.count(), 0);
    EXPECT_FALSE(f().Label3.visible());
    EXPECT_FALSE(f().previewPaneOpen());
    expectInStep("down");
    // The list reaches the tab strip's bottom again.
    EXPECT_EQ(f().ListView1.top() + f().ListView1.height(),
              f().TabStrip1.top() + f().TabStrip1.height());
}

TEST_F(Toolbar, DownInMediaFullScreenGivesThePanesBackAndStaysFullScreen) {
    discPage();
    f().PreviewKind = "media";
    click("fullscreen");
    const double top = f().MediaPlayer2.top();
    click("down");
    EXPECT_TRUE(f().TreeView1.visible() && f().ListView1.visible() && f().TabStrip1.visible());
    EXPECT_EQ(value("fullscreen"), 1);
    EXPECT_EQ(f().MediaPlayer2.top(), top);
}

TEST_F(Toolbar, DownWithNothingToHideDoesNothing) {
    discPage();
    const auto before = revisions();
    click("down");
    EXPECT_EQ(revisions(), before);
}

// ---- stepping ----

TEST_F(Toolbar, StepsThroughTheResultsWhileTheFileListIsEmpty) {
    discPage();
    showResults(3);
    std::vector<int> down, up;
    for (int i = 0; i < 4; ++i) {
        click("downs");
        down.push_back(selectedRow(f().ListView2));
    }
    f().ResultCursor = 0;
    for (int i = 0; i < 4; ++i) {
        click("ups");
        up.push_back(selectedRow(f().ListView2));
    }
    EXPECT_EQ(down, (std::vector<int>{1, 2, 3, 1}));
    EXPECT_EQ(up, (std::vector<int>{3, 2, 1, 3}));
}

TEST_F(Toolbar, StepsThroughTheFileList) {
    struct Case {
        int cursor;    // FileCursor before
        int selected;  // the selected row (0: none)
        const char* key;
        int expected;  // the row selected after
    };
    const std::vector<Case> cases = {
        {0, 0, "downs", 1},
        {0, 0, "ups", 1},  // from nothing, both start at row 1
        {1, 1, "ups", 5},
        {5, 5, "downs", 1},
        {2, 2, "downs", 3},
        {3, 3, "ups", 2},
        // Nothing selected: the cursor serves.
        {4, 0, "downs", 5},
        {5, 0, "downs", 1},
        {1, 0, "ups", 5},
        // A cursor off the list lands on a row that exists.
        {9, 2, "downs", 1},
        {9, 0, "ups", 5},
        {-3, 2, "downs", 1},
        {-3, 2, "ups", 5},
    };
    discPage();
    fillList(f().ListView1, 5);
    for (const Case& c : cases) {
        f().FileCursor = c.cursor;
        f().ListView1.setSelectedItem(c.selected ? &f().ListView1.item(c.selected) : nullptr);
        click(c.key);
        EXPECT_EQ(selectedRow(f().ListView1), c.expected)
            << c.cursor << ' ' << c.selected << ' ' << c.key;
        EXPECT_EQ(f().FileCursor, c.expected);
    }
}

TEST_F(Toolbar, StepsWithNothingToStepThroughDoNothing) {
    // Both lists empty, or the results hidden.
    discPage();
    for (const bool resultsHidden : {false, true}) {
        if (resultsHidden) fillList(f().ListView2, 2);
        for (const char* key : {"downs", "ups"}) {
            const auto before = revisions();
            click(key);
            EXPECT_EQ(revisions(), before) << key;
            EXPECT_EQ(f().ResultCursor, 0);
        }
    }
}

// ---- the browser ----

TEST_F(Toolbar, BrowserBackAndForwardIgnoreTheEndsOfTheHistory) {
    discPage();
    const std::string first = f().WebBrowser1.locationURL();
    click("left");   // no earlier page
    click("right");  // no later page
    EXPECT_EQ(f().WebBrowser1.locationURL(), first);
    f().WebBrowser1.navigate("https://zelbrin.example.com/a.htm");
    click("left");
    EXPECT_EQ(f().WebBrowser1.locationURL(), first);
    click("right");
    EXPECT_EQ(f().WebBrowser1.locationURL(), "https://zelbrin.example.com/a.htm");
    EXPECT_TRUE(h.ui.log().empty());
}

TEST_F(Toolbar, SaveAsOnlyWhileTheBrowserIsShown) {
    discPage();
    h.ui.expectBrowserSaveAs();
    click("savew");
    ASSERT_EQ(h.ui.log().size(), 1u);
    EXPECT_EQ(h.ui.log()[0].kind, ShownKind::BrowserSaveAs);
    h.ui.clearLog();
    f().WebBrowser1.setVisible(false);
    f().Toolbar1_ButtonClick(button("savew"));
    EXPECT_TRUE(h.ui.log().empty());
}

// ---- the grid menu item ----

// The menu item 选项 → 去掉网格线 follows the list's own grid lines and names
// what its next click does; the toolbar's "grid" button keeps its own state,
// so the two can disagree, and each still sets the lines as it says.
TEST_F(Toolbar, TheGridMenuItemFollowsTheListAndNamesItsNextClick) {
    ASSERT_TRUE(f().ListView1.gridLines());  // on at start
    EXPECT_EQ(f().grid.caption(), "去掉网格线");
    EXPECT_EQ(f().grid.parent(), &f().option);

    f().grid.userClick();
    EXPECT_FALSE(f().ListView1.gridLines());
    EXPECT_EQ(f().grid.caption(), "加上网格线");
    EXPECT_EQ(value("grid"), 0);

    f().grid.userClick();
    EXPECT_TRUE(f().ListView1.gridLines());
    EXPECT_EQ(f().grid.caption(), "去掉网格线");

    // The button takes the lines away; the item, reading the list, brings
    // them back and says so; the button, still pressed, is released and
    // brings them back once more.
    click("grid");
    EXPECT_FALSE(f().ListView1.gridLines());
    EXPECT_EQ(f().grid.caption(), "去掉网格线");
    f().grid.userClick();
    EXPECT_TRUE(f().ListView1.gridLines());
    EXPECT_EQ(f().grid.caption(), "去掉网格线");
    EXPECT_EQ(value("grid"), 1);
    click("grid");
    EXPECT_EQ(value("grid"), 0);
    EXPECT_TRUE(f().ListView1.gridLines());
    EXPECT_TRUE(h.ui.log().empty());
}

// ---- the function keys of the disc list and the category tree ----

constexpr int F1 = 112, F2 = 113, F3 = 114, Down = 40;
constexpr int ShiftKey = 1, Ctrl = 2;

class TreeKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        h.write("C:\\zelbrin\\ini.ini", "|A\r\n@B\r\n#d#1#x#\r\n|C\r\n");
        h.write(std::string("C:\\zelbrin\\guangpan\\d.wcd"), "E:\\|docs\r\n");
        h.start();
    }
    Form1& f() { return h.form; }
    std::vector<std::string> opened() const {
        std::vector<std::string> out;
        for (const auto& c : h.shell.calls()) out.push_back(c.target);
        return out;
    }
    // The about box was shown and closed by its button.
    void expectAboutBox() {
        h.ui.onModal<about1>([](about1& box) {
            EXPECT_EQ(box.caption(), "关于");
            box.CancelButton.userClick();
        });
    }
    Harness h;
};

TEST_F(TreeKeys, F1OpensTheHelpFileAndF2TheAboutBoxInBothTrees) {
    const std::string help = "C:\\zelbrin\\help\\zelbrinhelp.htm";
    std::vector<std::string> expected;
    for (platform::TreeView* tree : {&f().TreeView1, &f().TreeView2}) {
        SCOPED_TRACE(tree->name());
        // Whatever the shift state.
        for (int shift : {0, ShiftKey, Ctrl}) {
            tree->userKeyDown(F1, shift);
            expected.push_back(help);
        }
        EXPECT_EQ(opened(), expected);
        for (int shift : {0, ShiftKey}) {
            expectAboutBox();
            tree->userKeyDown(F2, shift);
            h.ui.verifyAllUsed();
        }
        EXPECT_EQ(opened(), expected);
    }
}

TEST_F(TreeKeys, F3ExpandsOrFoldsTheCategoryTreeOnlyFromThatTree) {
    platform::TreeView& t = f().TreeView2;
    ASSERT_EQ(f().expandtree.caption(), "把分类树展开");
    ASSERT_FALSE(t.item("B*").expanded());

    // In the disc list, F3 does nothing.
    f().TreeView1.userKeyDown(F3, 0);
    EXPECT_FALSE(t.item("B*").expanded());
    EXPECT_EQ(f().expandtree.caption(), "把分类树展开");

    t.userKeyDown(F3, 0);
    EXPECT_TRUE(t.item("B*").expanded());
    EXPECT_EQ(f().expandtree.caption(), "把分类树收合");
    EXPECT_EQ(f().expandtree1.caption(), "把分类树收合");
    t.userKeyDown(F3, ShiftKey);
    EXPECT_FALSE(t.item("B*").expanded());
    EXPECT_EQ(f().expandtree.caption(), "把分类树展开");
    EXPECT_TRUE(h.ui.log().empty());
    EXPECT_TRUE(h.shell.calls().empty());
}

TEST_F(TreeKeys, OtherKeysGoOnToTheTree) {
    // The handlers leave the key as it was: the arrow still moves the
    // selection, and nothing else happens.
    platform::TreeView& t = f().TreeView2;
    t.userClickNode(t.item("A*"));
    h.ui.clearLog();
    t.userKeyDown(Down, 0);
    ASSERT_NE(t.selectedItem(), nullptr);
    EXPECT_EQ(t.selectedItem()->key(), "B*");
    for (int key : {F3 + 1, int{'A'}, 13}) f().TreeView1.userKeyDown(key, 0);
    EXPECT_TRUE(h.ui.log().empty());
    EXPECT_TRUE(h.shell.calls().empty());
}

}  // namespace
