// Tree nodes, list rows and column headers removed while a procedure may
// still hold them: they stay allocated, marked removed, until the outermost
// event has ended, and every use raises 35605 instead of touching freed
// memory. Serials tell entries apart where an address could be reused.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/controls/listview.h"
#include "platform/controls/treeview.h"
#include "platform/error.h"
#include "platform/ui/dispatcher.h"
#include "probe_ui.h"

namespace {

using namespace platform;
using ctltest::errorOf;

const std::string RemovedBox = "运行时错误 '35605':\r\n控件已被删除";

class TreeAndList : public Form {
  public:
    explicit TreeAndList(Services& s) : Form(s, "TreeAndList") {
        load();
        list.addColumn("", "名称", 1500);
        list.addColumn("", "类型", 900);
        reloadList();
    }
    // The reload the program's commands do: everything away, then anew.
    void load() {
        tree.clear();
        tree.add("软件*", "软件");
        tree.addChild("软件*", "光盘A*", "光盘A");
        tree.add("电影*", "电影");
    }
    void reloadList() {
        list.clear();
        list.add("a.txt", "a.txt").setSubItem(1, "txt");
        list.add("b.htm", "b.htm").setSubItem(1, "htm");
    }
    TreeView tree{*this, "tree"};
    ListView list{*this, "list"};
};

class Removal : public ::testing::Test, public ctltest::Env {
  protected:
    TreeAndList form{services};
    std::vector<std::string> log;
};

TEST_F(Removal, ATreeReloadedInsideItsNodeClickLeavesTheClickedNodeRemoved) {
    form.tree.NodeClick = [&](Node& clicked) {
        form.load();
        log.push_back(std::to_string(Dispatcher::instance().retiredCount() > 0));
        log.push_back(clicked.removed() ? "removed" : "in the tree");
        log.push_back(clicked.key());  // raises: the handler ends here
        log.push_back("not reached");
    };
    form.tree.userClickNode(form.tree.item("光盘A*"));
    EXPECT_EQ(log, (std::vector<std::string>{"1", "removed"}));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].prompt, RemovedBox);
    // The reload stands; the removed nodes were released when the event ended.
    EXPECT_EQ(form.tree.count(), 3);
    EXPECT_EQ(form.tree.item("光盘A*").text(), "光盘A");
    EXPECT_EQ(Dispatcher::instance().retiredCount(), 0u);
}

TEST_F(Removal, AListReloadedInsideItsItemClickLeavesTheClickedRowRemoved) {
    form.list.ItemClick = [&](ListItem& clicked) {
        form.reloadList();
        log.push_back(clicked.removed() ? "removed" : "in the list");
        log.push_back(clicked.text());
    };
    form.list.userClickItem(form.list.item("b.htm"));
    EXPECT_EQ(log, (std::vector<std::string>{"removed"}));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].prompt, RemovedBox);
    EXPECT_EQ(form.list.count(), 2);
    EXPECT_EQ(form.list.selectedItem(), nullptr);  // the selected row went with the reload
}

TEST_F(Removal, AColumnHeaderClearedInsideItsColumnClickIsRemoved) {
    form.list.ColumnClick = [&](ColumnHeader& header) {
        form.list.clearColumns();
        form.list.addColumn("", "名称", 1500);
        log.push_back(header.removed() ? "removed" : "kept");
        log.push_back(header.text());
    };
    form.list.userClickColumn(2);
    EXPECT_EQ(log, (std::vector<std::string>{"removed"}));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].prompt, RemovedBox);
}

// Every way a node leaves its tree, and every member a procedure may use
// afterwards.
TEST_F(Removal, EveryUseOfARemovedNodeRaises35605) {
    struct Way {
        const char* what;
        std::function<void(TreeView&)> remove;
    };
    const Way ways[] = {
        {"remove by node", [](TreeView& t) { t.remove(t.item("光盘A*")); }},
        {"remove by key", [](TreeView& t) { t.remove("光盘A*"); }},
        {"remove by index", [](TreeView& t) { t.remove(2); }},
        {"remove the parent", [](TreeView& t) { t.remove("软件*"); }},
        {"clear", [](TreeView& t) { t.clear(); }},
    };
    struct Use {
        const char* what;
        std::function<void(TreeView&, Node&)> use;
    };
    const Use uses[] = {
        {"key", [](TreeView&, Node& n) { (void)n.key(); }},
        {"text", [](TreeView&, Node& n) { (void)n.text(); }},
        {"setText", [](TreeView&, Node& n) { n.setText("x"); }},
        {"setKey", [](TreeView&, Node& n) { n.setKey("x*"); }},
        {"image", [](TreeView&, Node& n) { (void)n.image(); }},
        {"parent", [](TreeView&, Node& n) { (void)n.parent(); }},
        {"next", [](TreeView&, Node& n) { (void)n.next(); }},
        {"children", [](TreeView&, Node& n) { (void)n.children(); }},
        {"index", [](TreeView&, Node& n) { (void)n.index(); }},
        {"fullPath", [](TreeView&, Node& n) { (void)n.fullPath(); }},
        {"selected", [](TreeView&, Node& n) { (void)n.selected(); }},
        {"setSelected", [](TreeView&, Node& n) { n.setSelected(true); }},
        {"setExpanded", [](TreeView&, Node& n) { n.setExpanded(true); }},
        {"treeView", [](TreeView&, Node& n) { (void)n.treeView(); }},
        {"tree's setSelectedItem", [](TreeView& t, Node& n) { t.setSelectedItem(&n); }},
        {"tree's remove", [](TreeView& t, Node& n) { t.remove(n); }},
        {"a click on it", [](TreeView& t, Node& n) { t.userClickNode(n); }},
        {"folding it", [](TreeView& t, Node& n) { t.userCollapse(n); }},
    };
    for (const Way& way : ways) {
        form.load();
        Node& n = form.tree.item("光盘A*");
        const auto serial = n.serial();
        way.remove(form.tree);
        EXPECT_TRUE(n.removed()) << way.what;
        EXPECT_EQ(n.serial(), serial) << way.what;
        EXPECT_EQ(form.tree.findSerial(serial), nullptr) << way.what;
        for (const Use& use : uses)
            EXPECT_EQ(errorOf([&] { use.use(form.tree, n); }), err::ControlDeleted)
                << way.what << ": " << use.what;
    }
    EXPECT_TRUE(ui.boxes.empty());  // the gestures raised before any event
}

TEST_F(Removal, EveryUseOfARemovedRowRaises35605) {
    ListItem& row = form.list.item("a.txt");
    form.list.remove(row);
    ListItem& other = form.list.item("b.htm");
    form.list.clear();
    for (ListItem* r : {&row, &other}) {
        EXPECT_TRUE(r->removed());
        EXPECT_EQ(form.list.findSerial(r->serial()), nullptr);
        const std::function<void()> uses[] = {
            [&] { (void)r->text(); },
            [&] { (void)r->key(); },
            [&] { (void)r->subItem(1); },
            [&] { r->setSubItem(1, "x"); },
            [&] { (void)r->checked(); },
            [&] { r->setChecked(true); },
            [&] { (void)r->index(); },
            [&] { r->setSelected(true); },
            [&] { form.list.setSelectedItem(r); },
            [&] { form.list.remove(*r); },
            [&] { form.list.userClickItem(*r); },
            [&] { form.list.userToggleCheck(*r); },
            [&] { form.list.userMouseDown(1, 0, 0, 0, r); },
        };
        for (std::size_t i = 0; i < std::size(uses); ++i)
            EXPECT_EQ(errorOf(uses[i]), err::ControlDeleted) << i;
    }
}

TEST_F(Removal, OutsideEventsARemovedNodeStaysReadableAsRemovedUntilTheNextEventEnds) {
    // Tests call procedures directly, outside the dispatcher: a Node& held
    // across a reload must not dangle.
    Node& held = form.tree.item("电影*");
    form.load();
    EXPECT_TRUE(held.removed());
    EXPECT_EQ(errorOf([&] { (void)held.text(); }), err::ControlDeleted);
    EXPECT_GT(Dispatcher::instance().retiredCount(), 0u);
    dispatch([] {});
    EXPECT_EQ(Dispatcher::instance().retiredCount(), 0u);
}

TEST_F(Removal, NodesOfATreeDestroyedDuringAnEventStayUntilItEnds) {
    auto other = std::make_unique<TreeAndList>(services);
    dispatch([&] {
        Node& held = other->tree.item("软件*");
        ListItem& row = other->list.item(1);
        other.reset();  // a dialog unloaded by the running command
        log.push_back(held.removed() && row.removed() ? "removed" : "alive");
        log.push_back(std::to_string(errorOf([&] { (void)held.text(); })));
    });
    EXPECT_EQ(log, (std::vector<std::string>{"removed", "35605"}));
}

TEST_F(Removal, SerialsAreUniqueAndFindOnlyLiveEntries) {
    std::set<std::uint64_t> seen;
    for (int round = 0; round < 3; ++round) {
        form.load();
        form.reloadList();
        for (const auto& n : form.tree.nodes()) {
            EXPECT_TRUE(seen.insert(n->serial()).second);
            EXPECT_EQ(form.tree.findSerial(n->serial()), n.get());
        }
        for (const auto& r : form.list.items()) {
            EXPECT_TRUE(seen.insert(r->serial()).second);
            EXPECT_EQ(form.list.findSerial(r->serial()), r.get());
        }
    }
    // A node of another tree is not found; neither are serials never given.
    TreeAndList other(services);
    EXPECT_EQ(form.tree.findSerial(other.tree.item("电影*").serial()), nullptr);
    EXPECT_EQ(form.tree.findSerial(0), nullptr);
    EXPECT_EQ(errorOf([&] { form.tree.remove(other.tree.item("电影*")); }), err::ElementNotFound);
    // After a removal in the middle the others are still found.
    const auto last = form.tree.item("电影*").serial();
    form.tree.remove("软件*");
    EXPECT_EQ(form.tree.findSerial(last), &form.tree.item("电影*"));
}

TEST_F(Removal, ALabelEditWhoseNodeIsRemovedMeanwhileEndsQuietly) {
    form.tree.item("电影*").setSelected(true);
    form.tree.BeforeLabelEdit = [&](int&) { form.load(); };
    form.tree.startLabelEdit();
    EXPECT_EQ(form.tree.editingNode(), nullptr);
    EXPECT_TRUE(ui.boxes.empty());
}

}  // namespace
