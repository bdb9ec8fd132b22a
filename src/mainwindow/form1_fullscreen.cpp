// Full screen: the four viewers of the preview pane take the rectangle of the
// tab strip and the list area together. A media preview also hides the
// panes under it, and flags record which ones, so that exactly those come
// back. The toolbar's "fullscreen" button is down while full screen is on;
// Esc then leaves full screen as the button's click does.
#include <array>
#include <cmath>
#include <initializer_list>

#include "mainwindow/form1.h"

namespace {

// The other viewers follow the browser's rectangle.
void followBrowser(const platform::Control& browser,
                   std::initializer_list<platform::Control*> viewers) {
    for (platform::Control* viewer : viewers) {
        viewer->setWidth(browser.width());
        viewer->setHeight(browser.height());
        viewer->setLeft(browser.left());
        viewer->setTop(browser.top());
    }
}

// The panes a media preview in full screen hides, each with the flag that
// records it, in the order they are hidden and shown again. (The keyword box
// has a flag of its own.)
struct Pane {
    platform::Control& control;
    bool& flag;
};

std::array<Pane, 6> fullScreenPanes(Form1& f) {
    return {Pane{f.ListView1, f.ListView1WasVisible}, Pane{f.TabStrip1, f.TabStrip1WasVisible},
            Pane{f.TreeView1, f.TreeView1WasVisible}, Pane{f.TreeView2, f.TreeView2WasVisible},
            Pane{f.TreeView3, f.TreeView3WasVisible}, Pane{f.TreeView4, f.TreeView4WasVisible}};
}

}  // namespace

void Form1::fullScreenOn() {
    // Full screen belongs to the open pane: with the pane closed the button
    // comes up again and nothing changes.
    if (!previewPaneOpen()) {
        Toolbar1.button("fullscreen").setValue(0);
        return;
    }
    SavedWebTop = WebBrowser1.top();
    SavedWebHeight = WebBrowser1.height();
    SavedWebLeft = WebBrowser1.left();
    SavedWebWidth = static_cast<std::int32_t>(std::nearbyint(WebBrowser1.width()));

    // From the tab strip's top to its bottom, from its left edge to the
    // list's right edge.
    WebBrowser1.setLeft(TabStrip1.left());
    WebBrowser1.setWidth(ListView1.left() + ListView1.width() - TabStrip1.left());
    WebBrowser1.setTop(TabStrip1.top());
    WebBrowser1.setHeight(TabStrip1.height());
    followBrowser(WebBrowser1, {&Picture1, &MediaPlayer2, &ShockwaveFlash1});

    if (PreviewKind == "web") {
        WebBrowser1.zOrder(0);
    } else if (PreviewKind == "flash") {
        ShockwaveFlash1.zOrder(0);
    } else if (PreviewKind == "media") {
        // The panes under the player are hidden, and flagged.
        MediaPlayer2.zOrder(0);
        hidePanesUnderMedia();
    } else {
        Picture1.zOrder(0);
        PreviewKind = "pic";
    }
}

void Form1::hidePanesUnderMedia() {
    // Panes already hidden keep their flags.
    for (const Pane& p : fullScreenPanes(*this)) {
        if (p.control.visible()) {
            p.control.setVisible(false);
            p.flag = true;
        }
    }
    if (Combo2.visible()) {
        Combo2.setVisible(false);
        Combo2WasVisible = -1;
    }
}

void Form1::fullScreenOff() {
    if (!TabStrip1.visible()) restoreFullScreenHidden();
    // A press refused with the pane closed saved nothing to put back.
    if (!previewPaneOpen()) return;
    WebBrowser1.setLeft(SavedWebLeft);
    WebBrowser1.setWidth(SavedWebWidth);
    WebBrowser1.setTop(SavedWebTop);
    WebBrowser1.setHeight(SavedWebHeight);
    followBrowser(WebBrowser1, {&Picture1, &MediaPlayer2, &ShockwaveFlash1});
}

void Form1::restoreFullScreenHidden() {
    // Only the panes full screen hid come back; the others keep their state.
    for (const Pane& h : fullScreenPanes(*this)) {
        if (h.flag) {
            h.control.setVisible(true);
            h.flag = false;
        }
    }
    if (Combo2WasVisible != 0) {
        Combo2.setVisible(true);
        Combo2WasVisible = 0;
    }
}

bool Form1::wantsEscape() const {
    const platform::ToolbarButton& button = Toolbar1.button("fullscreen");
    return button.visible() && button.enabled() && button.value() == 1;
}

void Form1::onEscape() {
    platform::ToolbarButton& button = Toolbar1.button("fullscreen");
    button.setValue(0);
    Toolbar1_ButtonClick(button);
}
