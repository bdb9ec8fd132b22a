// The pane layout. The main window has no layout manager: every position is
// computed in twips from the window's inner size, the toolbar's height T and
// the geometry the other controls have at that moment. Each step reads back
// what the previous steps gave the controls (they round to whole pixels), so
// the rounded values are the ones later steps build on.
//
// A window smaller than the panes need leaves them at zero size: a control
// takes a computed width or height below 0 as 0.
#include <algorithm>
#include <array>
#include <cmath>

#include "mainwindow/form1.h"

namespace {

// The search-result strip keeps this share of the file list's height.
constexpr double ListShareWithResults = 0.7;

// The keyword box on the toolbar: this far from the window's right edge
// when there is room (the design size puts it there), and at least this far
// right of the last visible button. It has its design width where that
// fits, and narrows (down to a least width) where it would pass the edge.
constexpr double KeywordBoxRightMargin = 50;
constexpr double KeywordBoxGap = 60;
constexpr double KeywordBoxWidth = 2200;
constexpr double KeywordBoxLeastWidth = 600;

}  // namespace

void Form1::alignBars() {
    Toolbar1.move(0, 0, scaleWidth(), Toolbar1.height());
    StatusBar1.move(0, scaleHeight() - StatusBar1.height(), scaleWidth(), StatusBar1.height());
    // The keyword box keeps to the right of the toolbar's buttons, whichever
    // are shown; it moves with the window's right edge while that leaves room,
    // and is narrower where its design width would take it past the edge (the
    // preview group at the design size).
    const double afterButtons = Toolbar1.left() + Toolbar1.buttonsWidth() + KeywordBoxGap;
    const double room = scaleWidth() - KeywordBoxRightMargin - afterButtons;
    Combo2.setWidth(std::clamp(room, KeywordBoxLeastWidth, KeywordBoxWidth));
    Combo2.setLeft(std::max(afterButtons, scaleWidth() - Combo2.width() - KeywordBoxRightMargin));
}

void Form1::FormSize() {
    const double T = Toolbar1.height();

    // Full screen ends here: its button comes up and three viewers and the
    // music player are hidden (MediaPlayer2 keeps its visibility).
    Toolbar1.button("fullscreen").setValue(0);
    WebBrowser1.setVisible(false);
    Picture1.setVisible(false);
    ShockwaveFlash1.setVisible(false);
    MediaPlayer1.setVisible(false);

    // The tab strip: the left pane, from under the toolbar down to the status bar.
    TabStrip1.setTop(T + T / 6);
    TabStrip1.setHeight(scaleHeight() - (T + T / 6) - StatusBar1.height());
    TabStrip1.setLeft(0);
    if (windowState() == platform::WindowState::Normal)
        TabStrip1.setWidth(0.38 * scaleWidth());
    else if (windowState() == platform::WindowState::Maximized)
        TabStrip1.setWidth(0.32 * scaleWidth());

    // The four page trees fill the strip's page area.
    for (platform::TreeView* tree : {&TreeView2, &TreeView1, &TreeView3, &TreeView4}) {
        tree->setWidth(TabStrip1.clientWidth());
        tree->setHeight(TabStrip1.clientHeight());
        tree->setTop(TabStrip1.clientTop());
        tree->setLeft(TabStrip1.clientLeft());
    }

    // The file list fills the rest of the width and ends level with the strip.
    ListView1.setTop(TabStrip1.clientTop() - 25);
    ListView1.setLeft(TabStrip1.width() + 25);
    if (ListView1.left() < scaleWidth()) ListView1.setWidth(scaleWidth() - ListView1.left());
    ListView1.setHeight(TabStrip1.top() + TabStrip1.height() - ListView1.top());

    // The library text lies over the list, inside its edges.
    Text1.setTop(ListView1.top() + 10);
    Text1.setLeft(ListView1.left() + 20);
    Text1.setWidth(ListView1.width() - 30);
    Text1.setHeight(ListView1.height() - 20);

    // The vertical splitter lies behind everything; only the gap between the
    // strip and the list shows it.
    Label1.setTop(ListView1.top());
    Label1.setWidth(260);
    Label1.setLeft(ListView1.left() - 50);
    Label1.setHeight(ListView1.height());
    Label1.zOrder(1);
}

void Form1::FormSizeFind() {
    // The list keeps seven tenths of its height; the strip takes the rest.
    const double h0 = ListView1.height();
    ListView1.setHeight(ListShareWithResults * h0);
    const double freed = h0 - ListView1.height();

    Text1.setHeight(ListView1.height() - 20);
    TabStrip1.setHeight(TabStrip1.height() - freed - 10);
    for (platform::TreeView* tree : {&TreeView1, &TreeView2, &TreeView3, &TreeView4})
        tree->setHeight(TabStrip1.clientHeight());

    ListView2.setTop(ListView1.top() + ListView1.height() + 30);
    ListView2.setHeight(freed);
    ListView2.setWidth(scaleWidth());
    ListView2.setLeft(0);
    ListView2.zOrder(0);

    Label3.setLeft(ListView2.left());
    Label3.setTop(ListView2.top() - 50);
    Label3.setHeight(70);
    Label3.setWidth(ListView2.width());
    Label3.setVisible(true);
}

void Form1::formSoftVisibleF() {
    for (const SoftRow& row : softRows()) {
        row.label.setVisible(false);
        row.field.setVisible(false);
    }
}

void Form1::formSoftSize() {
    const double T = Toolbar1.height();
    const std::array<SoftRow, 12> rows = softRows();
    constexpr std::size_t Description = 11;

    for (const SoftRow& row : rows) {
        row.label.setVisible(true);
        row.field.setVisible(true);
    }

    // The column and row distances are the ones the form has now.
    const double columnGap = SoftNameT.left() - SoftNamL.left();
    const double rowStep = SoftVersionT.top() - SoftNameT.top();
    const double m1 = 0.1 * T;

    // Lefts: labels in the first column, fields in the second; the
    // description field spans from the label column.
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rows[r].label.setLeft(ListView1.left() + m1);
        if (r != Description) rows[r].field.setLeft(ListView1.left() + columnGap + m1);
    }
    SoftDescriptionT.setLeft(ListView1.left() + m1);

    // Tops: one row step apart from the list's top; the description's field
    // lies below its label.
    for (std::size_t r = 0; r < Description; ++r)
        rows[r].field.setTop(ListView1.top() + static_cast<double>(r) * rowStep);
    SoftDescriptionT.setTop(ListView1.top() + 11 * rowStep + 0.7 * rowStep);
    for (std::size_t r = 0; r < Description; ++r) rows[r].label.setTop(rows[r].field.top());
    SoftDescription.setTop(ListView1.top() + 11 * rowStep);

    // Widths: every field's right edge comes to the window's outer width less
    // m2; the fields keep the differences between their widths.
    const double grow = width() - SoftNameT.left() - SoftNameT.width() - 0.35 * T;
    for (const SoftRow& row : rows) row.field.setWidth(row.field.width() + grow);

    // The description reaches down to m3 above the tab strip's bottom edge,
    // unless that leaves it no height.
    const double m3 = 0.04 * T;
    const double s = std::nearbyint((TabStrip1.top() + TabStrip1.height()) -
                                    (SoftDescriptionT.top() + SoftDescriptionT.height()));
    if (SoftDescriptionT.height() + s - m3 > 0)
        SoftDescriptionT.setHeight(SoftDescriptionT.height() + s - m3);
}

void Form1::Form_Resize() {
    if (windowState() == platform::WindowState::Minimized) return;

    // The window's own bars follow its size before anything is laid out.
    alignBars();
    StatusBar1.panel(1).setWidth(width() / 3);
    StatusBar1.panel(2).setWidth(2 * width() / 3);

    // The panes full screen hid come back.
    restoreFullScreenHidden();

    // Whether the preview pane is open must be known before the layout hides
    // its viewers.
    const bool paneWasOpen = previewPaneOpen();

    FormSize();
    if (ListView2.visible()) FormSizeFind();
    if (TreeView3.visible()) formSoftSize();

    ProgressBar1.setHeight(StatusBar1.height() - 50);
    ProgressBar1.setLeft(scaleWidth() - ProgressBar1.width() - 250);
    ProgressBar1.setTop(scaleHeight() - ProgressBar1.height() - 10);

    // An open pane on the disc page is fitted to the new list size: closed,
    // then opened afresh with the readme page. A closed pane stays closed,
    // and a resize never shows a message.
    if (Toolbar1.button("preview").value() == 1 && paneWasOpen && TreeView1.visible()) {
        closePreviewPane();
        openPreviewPane();
    }
}
