// The main window's construction and the wiring of its events: wireEvents
// calls each subsystem's wiring (src/<subsystem>/form1_events.cpp); the main
// window's own follows it.
#include <utility>

#include "mainwindow/form1.h"
#include "platform/ui/dispatcher.h"

Form1::Form1(AppServices& services) : Form1Design(services) {
    // The software record form is shown only on the page 软件.
    formSoftVisibleF();
    // The keyword box beside the toolbar's buttons.
    alignBars();
    wireEvents();
    // The events are this window's now: an earlier window's work before
    // them (one window after another in one process) stops until this one
    // is gone.
    previousBeforeEvent_ = platform::Dispatcher::instance().setBeforeEvent({});
}

Form1::~Form1() {
    platform::Dispatcher::instance().setBeforeEvent(std::move(previousBeforeEvent_));
}

void Form1::wireEvents() {
    wireCatalogueEvents();
    wireMainWindowEvents();
    wireDiscPageEvents();
    wireSearchEvents();
    wireMirrorEvents();
    wirePreviewEvents();
    wireCdAudioEvents();
    wirePreviewTextEvents();
    wireSendToEvents();
    wireWebPageEvents();
    wireTemplateEvents();
    wireSoftwareEvents();
    wireSoftwareEditEvents();
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
    grid.Click = [this] { grid_Click(); };
    TreeView1.KeyDown = [this](int& keyCode, int shift) { TreeView1_KeyDown(keyCode, shift); };
    TreeView2.KeyDown = [this](int& keyCode, int shift) { TreeView2_KeyDown(keyCode, shift); };
    // The splitter bars, the help menu and the desktop shortcut.
    Label1.MouseDown = [this](int b, int s, double x, double y) { Label1_MouseDown(b, s, x, y); };
    Label1.MouseUp = [this](int b, int s, double x, double y) { Label1_MouseUp(b, s, x, y); };
    Label2.MouseDown = [this](int b, int s, double x, double y) { Label2_MouseDown(b, s, x, y); };
    Label2.MouseUp = [this](int b, int s, double x, double y) { Label2_MouseUp(b, s, x, y); };
    Label3.MouseDown = [this](int b, int s, double x, double y) { Label3_MouseDown(b, s, x, y); };
    Label3.MouseUp = [this](int b, int s, double x, double y) { Label3_MouseUp(b, s, x, y); };
    content.Click = [this] { content_Click(); };
    about.Click = [this] { about_Click(); };
    Homepage.Click = [this] { Homepage_Click(); };
    HomepageDownload.Click = [this] { HomepageDownload_Click(); };
    HomepageNewF.Click = [this] { HomepageNewF_Click(); };
    HomepageFaq.Click = [this] { HomepageFaq_Click(); };
    HomepageFaq1.Click = [this] { HomepageFaq1_Click(); };
    HomepageFAQ2.Click = [this] { HomepageFAQ2_Click(); };
    HomepageFAQ3.Click = [this] { HomepageFAQ3_Click(); };
    HomepageFAQ4.Click = [this] { HomepageFAQ4_Click(); };
    HomepageFAQ5.Click = [this] { HomepageFAQ5_Click(); };
    HomepageSoft1.Click = [this] { HomepageSoft1_Click(); };
    HomepageSoft2.Click = [this] { HomepageSoft2_Click(); };
    HomepageSoft3.Click = [this] { HomepageSoft3_Click(); };
    HomepageSoft4.Click = [this] { HomepageSoft4_Click(); };
    CreateShortcut.Click = [this] { CreateShortcut_Click(); };
}

// Start-up and shutdown are in form1_startup.cpp; the resize and alignBars in
// form1_layout.cpp.
