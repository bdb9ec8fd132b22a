// The main window's construction and the wiring of its events: wireEvents
// calls each subsystem's wiring (src/<subsystem>/form1_events.cpp); the main
// window's own follows it.
#include "mainwindow/form1.h"

Form1::Form1(AppServices& services) : Form1Design(services) {
    // The software record form is shown only on the page 软件.
    formSoftVisibleF();
    wireEvents();
}

Form1::~Form1() = default;

void Form1::wireEvents() {
    wireCatalogueEvents();
    wireMainWindowEvents();
    wirePreviewEvents();
}

void Form1::wireMainWindowEvents() {
    Toolbar1.ButtonClick = [this](platform::ToolbarButton& b) { Toolbar1_ButtonClick(b); };
    exit.Click = [this] { exit_Click(); };
    setpassword.Click = [this] { setpassword_Click(); };
    TabStrip1.Click = [this] { TabStrip1_Click(); };
}

// Start-up and shutdown are in startup.cpp; the resize and alignBars in layout.cpp.
