// The main window's construction and the wiring of its events.
#include "mainwindow/form1.h"

Form1::Form1(AppServices& services) : Form1Design(services) {
    // The software record form is shown only on the page 软件.
    formSoftVisibleF();
    wireEvents();
}

Form1::~Form1() = default;

void Form1::wireEvents() {
    // ---- 1 catalogue store and disc scanning ----
    refresh1.Click = [this] { refresh1_Click(); };
    refresh2.Click = [this] { refresh2_Click(); };
    expandtree.Click = [this] { expandtree_Click(); };
    expandtree1.Click = [this] { expandtree1_Click(); };
    TreeView1.Collapse = [this](platform::Node& n) { TreeView1_Collapse(n); };
    TreeView2.Collapse = [this](platform::Node& n) { TreeView2_Collapse(n); };
    TreeView1.MouseDown = [this](int b, int s, double x, double y) { TreeView1_MouseDown(b, s, x, y); };
    TreeView2.MouseDown = [this](int b, int s, double x, double y) { TreeView2_MouseDown(b, s, x, y); };
    TreeView1.KeyPress = [this](int& k) { TreeView1_KeyPress(k); };
    Drive1.Change = [this] { Drive1_Change(); };
    Dir1.Change = [this] { Dir1_Change(); };
    maker.Click = [this] { maker_Click(); };

    // ---- 2 main window, start-up and settings ----
    Toolbar1.ButtonClick = [this](platform::ToolbarButton& b) { Toolbar1_ButtonClick(b); };
    exit.Click = [this] { exit_Click(); };
    setpassword.Click = [this] { setpassword_Click(); };
    TabStrip1.Click = [this] { TabStrip1_Click(); };

    // ---- 3 disc page and file notes ----

    // ---- 4 catalogue search ----

    // ---- 5 mirror copies, send-to and file library ----

    // ---- 6 software descriptions ----

    // ---- 7 web page generation ----

    // ---- 8 preview and playback ----
    OpenPreview.Click = [this] { OpenPreview_Click(); };
}

// Start-up and shutdown are in startup.cpp; the resize and alignBars in layout.cpp.
