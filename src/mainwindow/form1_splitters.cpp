// The splitter bars: three caption-less labels behind the panes. A press
// keeps the pointer's position and shows the sizing arrow for the whole
// application; the release moves the border by the distance between the two
// and fits the controls that hang on it. Nothing moves during the drag.
//
// A drag is limited so that no pane it shrinks gets smaller than MinPane (a
// pane already smaller than that is not shrunk further): an overshoot past a
// pane's far edge, or past the window's, stops at that limit.
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>

#include "mainwindow/form1.h"
#include "platform/ui/ui.h"

namespace {

// The least width or height (twips) a drag leaves to a pane it shrinks.
constexpr double MinPane = 300;

// d limited to [-(room below), room above], where each room is how far a
// side may shrink before it reaches MinPane (never negative).
double limitDrag(double d, double shrinkOnGrow, double shrinkOnFall) {
    const double up = std::max(0.0, shrinkOnGrow - MinPane);
    const double down = std::max(0.0, shrinkOnFall - MinPane);
    return std::clamp(d, -down, up);
}

// The four viewers of the preview pane, which share one rectangle.
std::array<platform::Control*, 4> previewViewers(Form1& f) {
    return {&f.WebBrowser1, &f.Picture1, &f.MediaPlayer2, &f.ShockwaveFlash1};
}

// The other three viewers take the browser's top and height.
void fitViewersToBrowser(Form1& f) {
    for (platform::Control* viewer : previewViewers(f)) {
        if (viewer == &f.WebBrowser1) continue;
        viewer->setTop(f.WebBrowser1.top());
        viewer->setHeight(f.WebBrowser1.height());
    }
}

}  // namespace

void Form1::Label1_MouseDown(int, int, double X, double) {
    Label1DownX = X;
    setMousePointer(platform::PointerSizeWE);
}

void Form1::Label1_MouseUp(int, int, double X, double) {
    // Right shrinks the list area, left the tab strip.
    const double dx = limitDrag(X - Label1DownX, ListView1.width(), TabStrip1.clientWidth());

    ListView1.setLeft(ListView1.left() + dx);
    Text1.setLeft(ListView1.left() + 20);
    for (platform::Control* viewer : previewViewers(*this)) viewer->setLeft(ListView1.left() + 20);
    ListView1.setWidth(ListView1.width() - dx);
    Text1.setWidth(ListView1.width() - 30);
    for (platform::Control* viewer : previewViewers(*this))
        viewer->setWidth(ListView1.width() - 20);
    TabStrip1.setWidth(TabStrip1.width() + dx);
    for (platform::TreeView* tree : {&TreeView1, &TreeView2, &TreeView3, &TreeView4})
        tree->setWidth(TabStrip1.clientWidth());
    // The preview's bar follows the viewers.
    Label2.setLeft(WebBrowser1.left());
    Label2.setWidth(WebBrowser1.width());
    Label1.setLeft(Label1.left() + dx);
    Label1.zOrder(1);
    if (TreeView3.visible()) formSoftSize();
    setMousePointer(platform::PointerDefault);
}

void Form1::Label2_MouseDown(int, int, double, double Y) {
    Label2DownY = Y;
    setMousePointer(platform::PointerSizeNS);
}

void Form1::Label2_MouseUp(int, int, double, double Y) {
    // Down shrinks the preview pane, up the file list.
    const double dy = limitDrag(Y - Label2DownY, WebBrowser1.height(), ListView1.height());

    ListView1.setHeight(ListView1.height() + dy);
    WebBrowser1.setTop(WebBrowser1.top() + dy);
    WebBrowser1.setHeight(WebBrowser1.height() - dy);
    fitViewersToBrowser(*this);
    Label2.setTop(Label2.top() + dy);
    Label2.zOrder(1);
    setMousePointer(platform::PointerDefault);
}

void Form1::Label3_MouseDown(int, int, double, double Y) {
    if (Toolbar1.button("fullscreen").value() == 1) return;
    Label3DownY = static_cast<int>(std::nearbyint(Y));
    setMousePointer(platform::PointerSizeNS);
}

void Form1::Label3_MouseUp(int, int, double, double Y) {
    if (Toolbar1.button("fullscreen").value() == 1) return;
    const bool preview = Toolbar1.button("preview").value() == 1;

    // Down shrinks the result strip; up shrinks the tab strip's page area
    // and the list (with the pane open, the list and the pane by half each).
    double upperRoom = TabStrip1.clientHeight();
    if (Text1.visible()) upperRoom = std::min(upperRoom, Text1.height());
    if (preview)
        upperRoom =
            std::min(upperRoom,
                     MinPane + 2 * (std::min(ListView1.height(), WebBrowser1.height()) - MinPane));
    else
        upperRoom = std::min(upperRoom, ListView1.height());
    const double dy = limitDrag(Y - Label3DownY, ListView2.height(), upperRoom);

    if (preview) {
        ListView1.setHeight(ListView1.height() + dy / 2);
        WebBrowser1.setHeight(WebBrowser1.height() + dy / 2);
        WebBrowser1.setTop(WebBrowser1.top() + dy / 2);
        fitViewersToBrowser(*this);
        Label2.setLeft(WebBrowser1.left());
        Label2.setTop(WebBrowser1.top() - 50);
        Label2.setHeight(70);
        Label2.setWidth(WebBrowser1.width());
    } else {
        ListView1.setHeight(ListView1.height() + dy);
    }
    Text1.setHeight(Text1.height() + dy);
    TabStrip1.setHeight(TabStrip1.height() + dy);
    ListView2.setHeight(ListView2.height() - dy);
    ListView2.setTop(ListView2.top() + dy);
    for (platform::TreeView* tree : {&TreeView2, &TreeView1, &TreeView3, &TreeView4}) {
        tree->setWidth(TabStrip1.clientWidth());
        tree->setHeight(TabStrip1.clientHeight());
        tree->setTop(TabStrip1.clientTop());
        tree->setLeft(TabStrip1.clientLeft());
    }
    Label3.setTop(Label3.top() + dy);
    Label3.zOrder(1);
    setMousePointer(platform::PointerDefault);

    // The pane ends level with the tab strip.
    const double stripBottom = TabStrip1.top() + TabStrip1.height();
    const double browserBottom = WebBrowser1.top() + WebBrowser1.height();
    if (preview && browserBottom != stripBottom) {
        WebBrowser1.setHeight(WebBrowser1.height() + stripBottom - browserBottom);
        fitViewersToBrowser(*this);
    }
}
