// Automatic browsing: while "time" runs Timer2 and "preview" is pressed,
// each tick steps to the next row of the file list (or of the shown search
// results while the file list is empty), wrapping to the first, and previews
// it. No tick moves a list while a box or dialog waits for the user. The
// interval dialog Dialog2 sets the interval.
#include <gtest/gtest.h>

#include <string>

#include "preview/interval_dialog.h"
#include "preview_steps.h"

using namespace preview_test;

namespace {

class AutoBrowse : public PreviewPage {
  protected:
    void startBrowsing() {
        f().Toolbar1.userClick("time");
        ASSERT_TRUE(f().Timer2.running());
    }
    // One tick at the timer's interval.
    void tick() { h.timers.advance(f().Timer2.interval()); }
    int selectedRow() const {
        const platform::ListItem* s = h.form.ListView1.selectedItem();
        return s ? s->index() : 0;
    }
};

}  // namespace

TEST_F(AutoBrowse, EachTickPreviewsTheNextRowAndWrapsAfterTheLast) {
    openMediaFolder();
    ASSERT_EQ(f().FileCursor, 0);
    startBrowsing();
    EXPECT_EQ(f().Timer2.interval(), 1000);
    const int count = f().ListView1.count();
    tick();
    // The first tick after a listing starts at the first row.
    EXPECT_EQ(f().FileCursor, 1);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(status(2), "sub(1/" + std::to_string(count) + ")");
    // From a clicked row on.
    f().ListView1.userClickItem(row(f(), "page"));
    tick();
    EXPECT_EQ(f().FileCursor, row(f(), "page").index() + 1);
    EXPECT_EQ(selectedRow(), f().FileCursor);
    // The last row, then the first again.
    f().ListView1.userClickItem(f().ListView1.item(count));
    tick();
    EXPECT_EQ(f().FileCursor, 1);
    EXPECT_EQ(selectedRow(), 1);
    // Selecting by code raised no click: the tip and cursor rules of a
    // click did not run, and a media row plays.
    f().ListView1.userClickItem(row(f(), "song"));
    f().ListView1.userClickItem(f().ListView1.item(row(f(), "song").index() - 1));
    tick();
    EXPECT_EQ(f().PreviewKind, "media");
    EXPECT_EQ(f().MediaPlayer2.fileName(), "E:\\m\\song.mp3");
}

TEST_F(AutoBrowse, ACursorBeyondTheListStartsAgainAtTheFirstRow) {
    openMediaFolder();
    startBrowsing();
    // A list filled again without the cursor being reset, no row selected.
    f().FileCursor = 500;
    f().ListView1.setSelectedItem(nullptr);
    tick();
    EXPECT_EQ(f().FileCursor, 1);
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_TRUE(h.ui.messages().empty());
}

TEST_F(AutoBrowse, TicksDoNothingWhilePreviewIsReleased) {
    openMediaFolder();
    startBrowsing();
    f().OpenPreview_Click();
    ASSERT_EQ(f().Toolbar1.button("preview").value(), 0);
    tick();
    tick();
    EXPECT_EQ(f().FileCursor, 0);
    EXPECT_TRUE(f().Timer2.running());
    // The pane opened again: browsing goes on.
    f().OpenPreview_Click();
    tick();
    EXPECT_EQ(f().FileCursor, 1);
}

TEST_F(AutoBrowse, WithAnEmptyFileListTheResultsAreBrowsed) {
    search("htm");
    const int results = f().ListView2.count();
    ASSERT_GE(results, 2);
    // A click on a result empties the file list.
    f().ListView2.userClickItem(f().ListView2.item(results - 1));
    ASSERT_EQ(f().ListView1.count(), 0);
    startBrowsing();
    tick();
    EXPECT_EQ(f().ResultCursor, results);
    EXPECT_TRUE(status(2).ends_with("(" + std::to_string(results) + "/" +
                                    std::to_string(results) + ")"));
    tick();
    EXPECT_EQ(f().ResultCursor, 1);
    EXPECT_EQ(f().ListView2.selectedItem(), &f().ListView2.item(1));
    EXPECT_TRUE(status(2).ends_with("(1/" + std::to_string(results) + ")"));
}

TEST_F(AutoBrowse, NoTickMovesTheListWhileADialogWaits) {
    openMediaFolder();
    startBrowsing();
    h.ui.onModal<Dialog2>([&](Dialog2& d) {
        tick();
        tick();
        EXPECT_EQ(f().FileCursor, 0);
        d.CancelButton.userClick();
    });
    f().a_interval.userClick();
    tick();
    EXPECT_EQ(f().FileCursor, 1);
}

TEST_F(AutoBrowse, TheIntervalDialogSetsTheTimer) {
    h.ui.onModal<Dialog2>([](Dialog2& d) {
        EXPECT_EQ(d.caption(), "请选择自动浏览的间隔时间(秒)");
        EXPECT_EQ(d.Slider1.min(), 1);
        EXPECT_EQ(d.Slider1.max(), 13);
        EXPECT_EQ(d.Slider1.value(), 2);
        EXPECT_EQ(d.Label1.caption(), "0.5");
        EXPECT_EQ(d.Label2.caption(), "1.0");
        EXPECT_EQ(d.Label13.caption(), "6.5");
        EXPECT_EQ(d.Label13.left(), 6000);
        EXPECT_EQ(d.OKButton.caption(), "确定");
        EXPECT_EQ(d.CancelButton.caption(), "取消");
        d.Slider1.userSetValue(13);
        d.OKButton.userClick();
    });
    f().a_interval.userClick();
    EXPECT_DOUBLE_EQ(f().b_interval, 6.5);
    EXPECT_EQ(f().Timer2.interval(), 6500);
    // Not switched on by the dialog.
    EXPECT_FALSE(f().Timer2.enabled());

    // Cancel, and the close box, leave the interval as it was.
    h.ui.onModal<Dialog2>([](Dialog2& d) {
        d.Slider1.userSetValue(1);
        d.CancelButton.userClick();
    });
    f().a_interval.userClick();
    h.ui.onModal<Dialog2>([](Dialog2& d) { d.Slider1.userSetValue(3); });
    f().a_interval.userClick();
    EXPECT_DOUBLE_EQ(f().b_interval, 6.5);
    EXPECT_EQ(f().Timer2.interval(), 6500);

    h.ui.onModal<Dialog2>([](Dialog2& d) {
        d.Slider1.userSetValue(1);
        d.OKButton.userClick();
    });
    f().a_interval.userClick();
    EXPECT_EQ(f().Timer2.interval(), 500);
}
