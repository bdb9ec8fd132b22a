// The main window's construction and the wiring of its events: wireEvents
// calls each subsystem's wiring (src/<subsystem>/form1_events.cpp); the main
// window's own follows it.
#include "mainwindow/form1.h"

Form1::Form1(AppServices& services) : Form1Design(services) {
    // The software record form is shown only on the page 软件.
    formSoftVisibleF();
    // The keyword box beside the toolbar's buttons.
    alignBars();
    wireEvents();
}

Form1::~Form1() = default;

void Form1::wireEvents() {
    wireCatalogueEvents();
    wireMainWindowEvents();
    wireDiscPageEvents();
    wirePreviewEvents();
}

void Form1::wireMainWindowEvents() {
    Toolbar1.ButtonClick = [this](platform::ToolbarButton& b) { Toolbar1_ButtonClick(b); };
    // Buttons shown or hidden move the keyword box beside them (a minimised
    // window is laid out when it comes back, as by Form_Resize).
    Toolbar1.ButtonsArranged = [this] {
        if (windowState() != platform::WindowState::Minimized) alignBars();
    };
    exit.Click = [this] { exit_Click(); };
    setpassword.Click = [this] { setpassword_Click(); };
    TabStrip1.Click = [this] { TabStrip1_Click(); };
}

// Start-up and shutdown are in form1_startup.cpp; the resize and alignBars in
// form1_layout.cpp.
