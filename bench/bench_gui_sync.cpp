// How long the front end takes to bring a tree of 50,000 nodes on screen
// after one event: the whole tree drawn anew (a disc's folders loaded), and
// one node changed in a tree of that size (a click that selects a node).
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
//
//     bench_gui_sync [nodes]      (default 50000)
#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "gui/control_view.h"
#include "gui/form_view.h"
#include "gui/front_end.h"
#include "gui/qt_services.h"
#include "gui/qt_ui.h"
#include "platform/controls/form.h"
#include "platform/controls/treeview.h"
#include "platform/ui/dispatcher.h"

namespace {

class TreeForm : public platform::Form {
  public:
    explicit TreeForm(platform::Services& s) : Form(s, "TreeForm") {
        setInnerSize(9675, 6780);
        Tree.move(0, 0, 9675, 6780);
    }
    platform::TreeView Tree{*this, "Tree"};
};

std::string numbered(std::string text, int n) {
    text += std::to_string(n);
    return text;
}

// A disc's folder tree: folders of 100 subfolders each, under one root.
void fill(platform::TreeView& t, int nodes) {
    t.clear();
    t.add("root", "E:\\", 73).setExpanded(true);
    int made = 1, folder = 0;
    while (made < nodes) {
        const std::string key = numbered("f", folder++);
        t.addChild("root", key, key, 1);
        ++made;
        for (int i = 0; i < 99 && made < nodes; ++i, ++made) {
            std::string child = key;
            child += '_';
            child += std::to_string(i);
            t.addChild(key, std::move(child), numbered("子目录", i), 1);
        }
    }
    t.item(2).setExpanded(true);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <class F>
double millis(F&& f) {
    QElapsedTimer t;
    t.start();
    f();
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const int nodes = argc > 1 ? std::max(2, std::atoi(argv[1])) : 50000;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    gui::FrontEnd frontEnd;
    gui::QtUi ui(frontEnd);
    gui::QtTimerHost timers;
    platform::Services services{ui, timers};
    TreeForm form(services);
    form.show();
    gui::FormView& view = frontEnd.open(form, gui::FrontEnd::WindowKind::Main);
    view.showWindow();
    auto* tree = qobject_cast<QTreeWidget*>(view.viewOf(form.Tree)->widget());

    std::vector<double> rebuild, change, paint, event;
    for (int run = 0; run < 7; ++run) {
        // One event that loads the whole tree: the model's part, then the sync.
        fill(form.Tree, nodes);
        rebuild.push_back(millis([&] { frontEnd.syncAll(); }));
        paint.push_back(millis([&] { view.window()->grab(); }));
        // One event that selects a node and renames another.
        form.Tree.item(nodes / 2).setSelected(true);
        form.Tree.item(nodes / 3).setText(numbered("改名", run));
        change.push_back(millis([&] { frontEnd.syncAll(); }));
        // The whole road of one event through the dispatcher (model + sync).
        event.push_back(millis([&] { platform::dispatch([&] { fill(form.Tree, nodes); }); }));
    }
    if (tree->topLevelItemCount() != 1) std::fprintf(stderr, "unexpected tree shape\n");
    std::printf("tree of %d nodes, median of 7 runs (ms):\n", form.Tree.count());
    std::printf("  sync after an event that rebuilt the tree   %8.1f\n", median(rebuild));
    std::printf("  first paint of the window                   %8.1f\n", median(paint));
    std::printf("  sync after an event that changed two nodes  %8.1f\n", median(change));
    std::printf("  whole event: the tree built in the model + sync %8.1f\n", median(event));
    frontEnd.close(form);
    return 0;
}
