// Control-model benchmark: a tree of 50,000 folder nodes (added as children
// by key, then looked up, renumbered by a removal and cleared) and a sorted
// file list of 20,000 rows (added while sorted, then read by index).
//
// Each case runs once to warm up, then several times; the median and the
// fastest run are printed.
//
// Usage: bench_controls [runs]   (default 9)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/listview.h"
#include "platform/controls/timer.h"
#include "platform/controls/treeview.h"
#include "platform/ui/ui.h"

namespace {

using namespace platform;

constexpr int TreeNodes = 50000;
constexpr int ListRows = 20000;

class BenchForm : public Form {
  public:
    explicit BenchForm(Services& s) : Form(s, "bench") {}
    TreeView tree{*this, "tree"};
    ListView list{*this, "list"};
};

// prefix followed by n ("f" + std::to_string(n) trips a false warning of g++ 12).
std::string name(const char* prefix, int n) {
    std::string s(prefix);
    s += std::to_string(n);
    return s;
}

void buildTree(TreeView& tree) {
    tree.clear();
    tree.add("disc*", "disc", 73);
    tree.addChild("disc*", "E:", "E:", 1);
    for (int i = 0; i < TreeNodes; ++i) {
        // Ten folders per parent: a bushy tree of realistic depth.
        const std::string parent = i < 10 ? std::string("E:") : name("f", i / 10 - 1);
        tree.addChild(parent, name("f", i), name("folder", i), 1);
    }
    long sum = 0;
    for (int i = 0; i < TreeNodes; i += 97) sum += tree.item(name("f", i)).index();
    tree.remove("f5");  // renumbers the rest
    sum += tree.item(tree.count()).index();
    if (sum == 0) std::puts("");
    tree.clear();
}

void buildList(ListView& list) {
    list.clear();
    list.setSorted(false);
    list.setSortKey(1);
    list.setSorted(true);
    for (int i = 0; i < ListRows; ++i) {
        const int n = i * 7919 % ListRows;
        ListItem& it = list.add(name("noStr", n) + ".txt", name("file", n), 7);
        it.setSubItem(1, n % 3 ? "txt" : "doc");
        it.setSubItem(2, name("", n) + "K");
    }
    long sum = 0;
    for (int i = 1; i <= list.count(); i += 101) sum += list.item(i).index();
    if (sum == 0) std::puts("");
}

void run(const char* name, int runs, const std::function<void()>& f) {
    f();
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s median %8.2f ms   fastest %8.2f ms\n", name, ms[ms.size() / 2], ms.front());
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    NullUi ui;
    VirtualTimerHost timers;
    Services services{ui, timers};
    BenchForm form(services);
    run("tree: 50,000 nodes add/find/remove", runs, [&] { buildTree(form.tree); });
    run("list: 20,000 sorted rows add/read", runs, [&] { buildList(form.list); });
}
