// Which actions raise events: changes made by code raise none (except the
// tab strip's selection and a form's size), the user's gestures raise the
// control's event after the state changed.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/listview.h"
#include "platform/controls/menu.h"
#include "platform/controls/statusbar.h"
#include "platform/controls/tabstrip.h"
#include "platform/controls/timer.h"
#include "platform/controls/toolbar.h"
#include "platform/controls/treeview.h"
#include "probe_ui.h"

namespace {

using namespace platform;
using Log = std::vector<std::string>;

class EventForm : public Form {
  public:
    EventForm(Services& s, Log& log) : Form(s, "EventForm"), log_(log) {
        tree.NodeClick = [this](Node& n) { log_.push_back("NodeClick " + n.key()); };
        tree.Collapse = [this](Node& n) { log_.push_back("Collapse " + n.key()); };
        tree.MouseDown = [this](int b, int, double, double) {
            log_.push_back("MouseDown " + std::to_string(b));
        };
        tree.KeyPress = [this](int& k) { log_.push_back("KeyPress " + std::to_string(k)); };
        tree.KeyDown = [this](int& k, int) { log_.push_back("KeyDown " + std::to_string(k)); };
        list.ItemClick = [this](ListItem& i) { log_.push_back("ItemClick " + i.key()); };
        list.ItemCheck = [this](ListItem& i) {
            log_.push_back(std::string("ItemCheck ") + (i.checked() ? "on" : "off"));
        };
        list.ColumnClick = [this](ColumnHeader& c) { log_.push_back("ColumnClick " + c.text()); };
        list.MouseUp = [this](int b, int, double, double) {
            log_.push_back("MouseUp " + std::to_string(b));
        };
        bar.ButtonClick = [this](ToolbarButton& b) {
            log_.push_back("ButtonClick " + b.key() + "=" + std::to_string(b.value()));
        };
        status.DblClick = [this] { log_.push_back("DblClick"); };
        tabs.Click = [this] { log_.push_back("TabClick " + tabs.selectedItem()->caption()); };
        item.Click = [this] { log_.push_back("MenuClick"); };
        timer.Tick = [this] { log_.push_back("Tick"); };

        tree.add("a*", "a");
        tree.addChild("a*", "b*", "b");
        tree.item("a*").setExpanded(true);
        list.setCheckboxes(true);
        list.addColumn("", "名称", 1500);
        list.add("r1", "one");
        list.add("r2", "two");
        bar.add("maker");
        bar.add("grid", ToolbarButton::Check);
        status.addPanel();
        tabs.add("classify", "分类");
        tabs.add("disc", "光盘");
    }

    TreeView tree{*this, "tree"};
    ListView list{*this, "list"};
    Toolbar bar{*this, "bar"};
    StatusBar status{*this, "status"};
    TabStrip tabs{*this, "tabs"};
    Timer timer{*this, "timer"};
    MenuItem menu{*this, "menu", "选项"};
    MenuItem item{menu, "item", "去掉网格线"};

  protected:
    void Form_Load() override { log_.push_back("Load"); }
    void Form_Resize() override { log_.push_back("Resize"); }

  private:
    Log& log_;
};

struct Case {
    const char* what;
    std::function<void(EventForm&)> action;
    Log expected;
};

class EventRules : public ::testing::TestWithParam<Case> {};

TEST_P(EventRules, RaiseExactlyTheseEvents) {
    ctltest::Env env;
    Log log;
    EventForm f(env.services, log);
    GetParam().action(f);
    EXPECT_EQ(log, GetParam().expected) << GetParam().what;
}

const Case cases[] = {
    // tree
    {"code selects a node", [](EventForm& f) { f.tree.item("b*").setSelected(true); }, {}},
    {"code sets the selected item",
     [](EventForm& f) { f.tree.setSelectedItem(&f.tree.item(1)); },
     {}},
    {"code folds a node", [](EventForm& f) { f.tree.item("a*").setExpanded(false); }, {}},
    {"code adds and removes nodes",
     [](EventForm& f) {
         f.tree.add("c*", "c");
         f.tree.remove("c*");
     },
     {}},
    {"user clicks a node",
     [](EventForm& f) { f.tree.userClickNode(f.tree.item("b*")); },
     {"NodeClick b*"}},
    {"user clicks the selected node again",
     [](EventForm& f) {
         f.tree.item("b*").setSelected(true);
         f.tree.userClickNode(f.tree.item("b*"));
     },
     {"NodeClick b*"}},
    {"user folds a node",
     [](EventForm& f) { f.tree.userCollapse(f.tree.item("a*")); },
     {"Collapse a*"}},
    {"user unfolds a node", [](EventForm& f) { f.tree.userExpand(f.tree.item("b*")); }, {}},
    {"user right-clicks the tree",
     [](EventForm& f) { f.tree.userMouseDown(2, 0, 100, 100); },
     {"MouseDown 2"}},
    {"user presses Enter in the tree",
     [](EventForm& f) {
         f.tree.item("b*").setSelected(true);
         f.tree.userKeyPress(13);
     },
     {"KeyPress 13"}},
    {"user moves down with the arrow key",
     [](EventForm& f) {
         f.tree.item("a*").setSelected(true);
         f.tree.userKeyDown(40, 0);
     },
     {"KeyDown 40"}},
    // list
    {"code selects a row", [](EventForm& f) { f.list.item(2).setSelected(true); }, {}},
    {"code ticks a row", [](EventForm& f) { f.list.item(1).setChecked(true); }, {}},
    {"code sorts the list",
     [](EventForm& f) {
         f.list.setSortOrder(1);
         f.list.setSorted(true);
     },
     {}},
    {"user clicks a row",
     [](EventForm& f) { f.list.userClickItem(f.list.item("r2")); },
     {"ItemClick r2"}},
    {"user ticks a row",
     [](EventForm& f) { f.list.userToggleCheck(f.list.item("r1")); },
     {"ItemCheck on"}},
    {"user ticks without check boxes",
     [](EventForm& f) {
         f.list.setCheckboxes(false);
         f.list.userToggleCheck(f.list.item("r1"));
     },
     {}},
    {"user clicks a column header",
     [](EventForm& f) { f.list.userClickColumn(1); },
     {"ColumnClick 名称"}},
    {"user releases a button over the list",
     [](EventForm& f) { f.list.userMouseUp(1, 0, 0, 0); },
     {"MouseUp 1"}},
    // toolbar
    {"code presses a button", [](EventForm& f) { f.bar.button("grid").setValue(1); }, {}},
    {"user clicks a plain button",
     [](EventForm& f) { f.bar.userClick("maker"); },
     {"ButtonClick maker=0"}},
    {"user presses a check button",
     [](EventForm& f) { f.bar.userClick("grid"); },
     {"ButtonClick grid=1"}},
    {"user releases a check button",
     [](EventForm& f) {
         f.bar.userClick("grid");
         f.bar.userClick("grid");
     },
     {"ButtonClick grid=1", "ButtonClick grid=0"}},
    {"user clicks a hidden button",
     [](EventForm& f) {
         f.bar.button("maker").setVisible(false);
         f.bar.userClick("maker");
     },
     {}},
    // status bar, tab strip
    {"code writes a panel", [](EventForm& f) { f.status.panel(1).setText("x"); }, {}},
    {"user double-clicks the status bar",
     [](EventForm& f) { f.status.userDblClick(); },
     {"DblClick"}},
    {"code selects another tab",
     [](EventForm& f) { f.tabs.tab(2).setSelected(); },
     {"TabClick 光盘"}},
    {"code selects the selected tab", [](EventForm& f) { f.tabs.tab(1).setSelected(); }, {}},
    {"user selects a tab", [](EventForm& f) { f.tabs.userSelect(2); }, {"TabClick 光盘"}},
    // menus
    {"code changes a menu item",
     [](EventForm& f) {
         f.item.setChecked(true);
         f.item.setCaption("加上网格线");
         f.item.setEnabled(false);
         f.item.setEnabled(true);
         f.item.setVisible(false);
     },
     {}},
    {"user chooses a menu item", [](EventForm& f) { f.item.userClick(); }, {"MenuClick"}},
    {"user chooses a disabled item",
     [](EventForm& f) {
         f.item.setEnabled(false);
         f.item.userClick();
     },
     {}},
    // timer
    {"code switches a timer",
     [](EventForm& f) {
         f.timer.setInterval(1000);
         f.timer.setEnabled(false);
         f.timer.setEnabled(true);
     },
     {}},
    // form
    {"the form is shown", [](EventForm& f) { f.show(); }, {"Load", "Resize"}},
    {"the user maximises the form",
     [](EventForm& f) {
         f.show();
         f.userResize(9675, 6780, WindowState::Maximized);
     },
     {"Load", "Resize", "Resize"}},
    {"code changes the window state of a shown form",
     [](EventForm& f) {
         f.show();
         f.setWindowState(WindowState::Minimized);
     },
     {"Load", "Resize", "Resize"}},
    {"code sizes a form not yet shown", [](EventForm& f) { f.setInnerSize(9675, 6780); }, {}},
};

INSTANTIATE_TEST_SUITE_P(Controls, EventRules, ::testing::ValuesIn(cases));

}  // namespace
