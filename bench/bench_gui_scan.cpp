// The main window's own scan of the benchmark tree (scan_tree.h), beside
// `find ROOT -printf '%p %s\n' > /dev/null`: the toolbar's "maker" button on
// Form1 shown by the desktop front end (offscreen unless QT_QPA_PLATFORM
// says otherwise), the scan dialog and the folder chooser answered at the
// model level, and the caption's progress repainted through the real
// QtUi::flush. Timed from the scan dialog's OK to the end of the command
// (the walk, the index file, the catalogue line, both trees and the redraw).
//
// Each run files the tree anew: the index file and the catalogue line of the
// run before are taken back first, and the run-long folder list is emptied.
//
// Usage: bench_gui_scan [runs]   (default 5)
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/scan_dialog.h"
#include "copies/sendto_dialog.h"
#include "gui/form_view.h"
#include "gui/front_end.h"
#include "gui/qt_services.h"
#include "gui/qt_ui.h"
#include "gui/web_view.h"
#include "mainwindow/app_services.h"
#include "mainwindow/form1.h"
#include "platform/ui/dispatcher.h"
#include "scan_tree.h"
#include "support/harness.h"

namespace {

using scanbench::median;
using scanbench::seconds;

constexpr std::string_view CatalogueFile = "C:\\zelbrin\\ini.ini";
constexpr std::string_view IndexFile = "C:\\zelbrin\\guangpan\\T_hard.wcd";

// The scripted answers of the test harness, with the desktop's repaint.
class BenchUi : public testsupport::ScriptedUi {
  public:
    explicit BenchUi(gui::QtUi& qt) : qt_(qt) {}
    void flush() override {
        ++repaints;
        qt_.flush();
    }
    void setMousePointer(int pointer) override {
        ScriptedUi::setMousePointer(pointer);
        qt_.setMousePointer(pointer);
    }
    int repaints = 0;

  private:
    gui::QtUi& qt_;
};

// The harness's machine with Form1 on the desktop front end.
struct Machine {
    testsupport::Harness h;
    gui::FrontEnd frontEnd;
    gui::QtUi qt{frontEnd};
    BenchUi ui{qt};
    gui::QtTimerHost timers;
    AppServices services{
        {ui, timers}, h.registry, h.settings, h.shell,
        h.clipboard,  h.clock,    h.mci,      std::string(testsupport::Harness::ProgramFolder)};
    Form1 form{services};

    Machine() {
        platform::Dispatcher::instance().setUi(&ui);
        h.write(std::string(testsupport::Harness::ProgramFolder) + "\\disk.ini", "E:\\\r\n");
        h.write(CatalogueFile, "|音乐\r\n");
        platform::dispatch([this] { form.show(); });
        frontEnd.open(form, gui::FrontEnd::WindowKind::Main).showWindow();
    }
    ~Machine() { frontEnd.close(form); }

    // One scan of T:\ filed under 音乐; the seconds from OK to the end.
    double scan() {
        ui.onModal<sendto>([](sendto& s) {
            s.Dir1.userOpen("T:\\");
            s.OKButton.userClick();
        });
        std::optional<std::chrono::steady_clock::time_point> ok;
        ui.onModal<Dialog>([&ok](Dialog& d) {
            d.Command1.userClick();
            for (const auto& node : d.TreeView1.nodes())
                if (node->text() == "音乐") d.TreeView1.userClickNode(*node);
            d.Text3.userType("bench");
            d.OKButton.userClick();
            ok = std::chrono::steady_clock::now();
        });
        form.Toolbar1.userClick("maker");
        const double s = ok ? seconds(*ok) : 0;
        if (!ok || !h.exists(IndexFile) || !ui.allUsed()) {
            std::fprintf(stderr, "the scan did not run as scripted\n");
            ui.verifyAllUsed();
            std::exit(1);
        }
        return s;
    }

    // Takes the last scan back, so that the next one files the tree anew.
    void undo() {
        h.write(CatalogueFile, "|音乐\r\n");
        std::filesystem::remove(h.nativePath(IndexFile));
        form.ScannedFolderList = {};
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string root = scanbench::tree().string();
    // As the program does: a browser shown during the run starts the web
    // engine, which needs this before the application (as root above all).
    gui::prepareWebEngine();
    QApplication app(argc, argv);

    Machine m;
    m.h.drives().set({.name = "T:", .folder = root});
    m.scan();  // warm the cache
    m.undo();
    scanbench::timeFind(root);

    std::vector<double> window, find;
    int repaints = 0;
    for (int i = 0; i < runs; ++i) {
        m.ui.repaints = 0;
        window.push_back(m.scan());
        repaints = m.ui.repaints;
        m.undo();
        find.push_back(scanbench::timeFind(root));
    }
    const double w = median(window), f = median(find);
    std::printf("tree: %s, %s\n", root.c_str(), m.form.StatusBar1.panel(1).text().c_str());
    std::printf("window's scan:  median %.3f s (best %.3f s) over %d runs, %d repaints each\n", w,
                *std::min_element(window.begin(), window.end()), runs, repaints);
    std::printf("find -printf:   median %.3f s (best %.3f s) over %d runs\n", f,
                *std::min_element(find.begin(), find.end()), runs);
    std::printf("ratio window/find: %.2f\n", w / f);
    return 0;
}
