#include "platform/controls/treeview.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error.h"
#include "probe_ui.h"

namespace {

using namespace platform;
using ctltest::errorOf;

class TreeTest : public ::testing::Test, public ctltest::Env {
  protected:
    ctltest::OneControlForm<TreeView> form{services, "tree"};
    TreeView& tree = form.control;

    // Category tree: 软件 (光盘A, 游戏 (光盘B)), 电影 (光盘C)
    void buildCatalogue() {
        tree.add("软件*", "软件", 3);
        tree.addChild("软件*", "光盘A*", "光盘A", 73);
        tree.addChild("软件*", "游戏*", "游戏", 3);
        tree.addChild("游戏*", "光盘B*", "光盘B", 73);
        tree.add("电影*", "电影", 3);
        tree.addChild("电影*", "光盘C*", "光盘C", 73);
    }
    std::vector<std::string> keysByIndex() {
        std::vector<std::string> keys;
        for (int i = 1; i <= tree.count(); ++i) {
            EXPECT_EQ(tree.item(i).index(), i);
            keys.push_back(tree.item(i).key());
        }
        return keys;
    }
};

TEST_F(TreeTest, KeysAreCheckedOnAdd) {
    tree.add("A*", "A");
    struct Row {
        const char* what;
        std::function<void()> f;
        int error;
    } rows[] = {
        {"keys differ only in case", [&] { tree.add("a*", "a"); }, 0},
        {"duplicate key", [&] { tree.add("A*", "again"); }, err::KeyNotUnique},
        {"duplicate key as a child", [&] { tree.addChild("A*", "A*", "x"); }, err::KeyNotUnique},
        {"unknown parent", [&] { tree.addChild("nope*", "n*", "n"); }, err::ElementNotFound},
        {"parent key differs in case", [&] { tree.addChild("a", "m*", "m"); },
         err::ElementNotFound},
        {"all digits", [&] { tree.add("123", "x"); }, err::InvalidKey},
        {"signed decimal", [&] { tree.add("-1.5", "x"); }, err::InvalidKey},
        {"digits then letters", [&] { tree.add("7days", "x"); }, 0},
        {"prefixed digits", [&] { tree.add("noStr123", "x"); }, 0},
        {"a lone point", [&] { tree.add(".", "x"); }, 0},
        {"two points", [&] { tree.add("1.2.3", "x"); }, 0},
        {"no key, twice",
         [&] {
             tree.add("", "x");
             tree.add("", "y");
         },
         0},
        {"unknown key lookup", [&] { tree.item("zz"); }, err::ElementNotFound},
        {"index 0", [&] { tree.item(0); }, err::IndexOutOfBounds},
        {"index past the end", [&] { tree.item(tree.count() + 1); }, err::IndexOutOfBounds},
        {"remove by unknown key", [&] { tree.remove("zz"); }, err::ElementNotFound},
    };
    for (auto& row : rows) EXPECT_EQ(errorOf(row.f), row.error) << row.what;
    // The refused adds left nothing behind.
    EXPECT_EQ(tree.count(), 8);
    EXPECT_EQ(tree.item("A*").text(), "A");
}

TEST_F(TreeTest, KeyCanBeChangedButStaysUnique) {
    buildCatalogue();
    Node& n = tree.item("光盘A*");
    EXPECT_EQ(errorOf([&] { n.setKey("电影*"); }), err::KeyNotUnique);
    EXPECT_EQ(errorOf([&] { n.setKey("42"); }), err::InvalidKey);
    EXPECT_EQ(n.key(), "光盘A*");
    n.setKey("光盘Z*");
    EXPECT_EQ(&tree.item("光盘Z*"), &n);
    EXPECT_EQ(tree.find("光盘A*"), nullptr);
    tree.add("光盘A*", "free again");  // the old key is free
}

TEST_F(TreeTest, RemovingTakesTheSubtreeAndRenumbers) {
    buildCatalogue();
    tree.item("光盘B*").setSelected(true);
    tree.remove(3);  // 游戏 with 光盘B
    EXPECT_EQ(keysByIndex(), (std::vector<std::string>{"软件*", "光盘A*", "电影*", "光盘C*"}));
    EXPECT_EQ(tree.find("光盘B*"), nullptr);
    EXPECT_EQ(tree.selectedItem(), nullptr);
    EXPECT_EQ(tree.item("软件*").children(), 1);
    EXPECT_EQ(tree.item("光盘A*").next(), nullptr);
    EXPECT_EQ(tree.item("软件*").lastChild(), &tree.item("光盘A*"));

    tree.remove("软件*");
    EXPECT_EQ(keysByIndex(), (std::vector<std::string>{"电影*", "光盘C*"}));
    EXPECT_EQ(tree.firstRoot(), &tree.item("电影*"));
    EXPECT_EQ(tree.item("电影*").previous(), nullptr);

    tree.add("软件*", "软件", 3);  // appended last, numbered last
    EXPECT_EQ(tree.item("软件*").index(), 3);
    tree.clear();
    EXPECT_EQ(tree.count(), 0);
    EXPECT_EQ(tree.firstRoot(), nullptr);
}

TEST_F(TreeTest, RelativesAndFullPath) {
    buildCatalogue();
    Node& soft = tree.item("软件*");
    Node& game = tree.item("游戏*");
    Node& b = tree.item("光盘B*");
    Node& film = tree.item("电影*");

    EXPECT_EQ(b.fullPath(), "软件\\游戏\\光盘B");
    tree.setPathSeparator("/");
    EXPECT_EQ(b.fullPath(), "软件/游戏/光盘B");
    EXPECT_EQ(soft.fullPath(), "软件");

    EXPECT_EQ(b.parent(), &game);
    EXPECT_EQ(soft.parent(), nullptr);
    EXPECT_EQ(soft.child(), &tree.item("光盘A*"));
    EXPECT_EQ(soft.children(), 2);
    EXPECT_EQ(tree.item("光盘A*").next(), &game);
    EXPECT_EQ(game.firstSibling(), &tree.item("光盘A*"));
    EXPECT_EQ(tree.item("光盘A*").lastSibling(), &game);
    EXPECT_EQ(film.firstSibling(), &soft);
    EXPECT_EQ(soft.lastSibling(), &film);
    EXPECT_EQ(b.children(), 0);
    EXPECT_EQ(b.child(), nullptr);

    // A node is top-level when its first sibling is the tree's root node.
    auto topLevel = [](Node& n) { return n.firstSibling()->key() == n.root()->key(); };
    EXPECT_TRUE(topLevel(soft));
    EXPECT_TRUE(topLevel(film));
    EXPECT_FALSE(topLevel(game));
    EXPECT_FALSE(topLevel(b));
    EXPECT_EQ(b.root(), &soft);
}

TEST_F(TreeTest, RightClickKeepsTheSelection) {
    buildCatalogue();
    tree.item("光盘A*").setSelected(true);
    Node* seen = nullptr;
    tree.MouseDown = [&](int, int, double, double) { seen = tree.selectedItem(); };
    tree.userMouseDown(2, 0, 300, 900);
    EXPECT_EQ(seen, &tree.item("光盘A*"));
    EXPECT_EQ(tree.selectedItem(), &tree.item("光盘A*"));
}

TEST_F(TreeTest, ClickSelectsBeforeNodeClick) {
    buildCatalogue();
    Node* seen = nullptr;
    tree.NodeClick = [&](Node&) { seen = tree.selectedItem(); };
    tree.userClickNode(tree.item("电影*"));
    EXPECT_EQ(seen, &tree.item("电影*"));
}

TEST_F(TreeTest, TypedKeysSearchWithoutNodeClick) {
    for (const char* name : {"alpha", "Beta", "bravo", "charlie"}) tree.add(name, name);
    int clicks = 0;
    tree.NodeClick = [&](Node&) { ++clicks; };
    tree.userKeyPress('b');
    EXPECT_EQ(tree.selectedItem()->key(), "Beta");
    tree.userKeyPress('B');
    EXPECT_EQ(tree.selectedItem()->key(), "bravo");
    tree.userKeyPress('b');  // wraps round
    EXPECT_EQ(tree.selectedItem()->key(), "Beta");
    tree.userKeyPress(13);
    EXPECT_EQ(tree.selectedItem()->key(), "Beta");
    tree.KeyPress = [](int& k) { k = 0; };  // a handler that eats the key
    tree.userKeyPress('c');
    EXPECT_EQ(tree.selectedItem()->key(), "Beta");
    EXPECT_EQ(clicks, 0);
}

TEST_F(TreeTest, FoldingMovesTheSelectionUpButOnlyTheUserRaisesCollapse) {
    buildCatalogue();
    tree.item("软件*").setExpanded(true);
    tree.item("光盘B*").setSelected(true);  // unfolds its ancestors
    EXPECT_TRUE(tree.item("游戏*").expanded());
    int collapses = 0;
    tree.Collapse = [&](Node&) { ++collapses; };

    tree.item("游戏*").setExpanded(false);
    EXPECT_EQ(tree.selectedItem(), &tree.item("游戏*"));
    EXPECT_EQ(collapses, 0);

    tree.userCollapse(tree.item("软件*"));
    EXPECT_EQ(tree.selectedItem(), &tree.item("软件*"));
    EXPECT_FALSE(tree.item("软件*").expanded());
    EXPECT_EQ(collapses, 1);

    tree.userKeyDown(39, 0);  // Right unfolds
    EXPECT_TRUE(tree.item("软件*").expanded());
    tree.userKeyDown(37, 0);  // Left folds: the user's fold
    EXPECT_EQ(collapses, 2);
}

TEST_F(TreeTest, LabelEditKeepsOldTextAndKeyDuringAfterLabelEdit) {
    buildCatalogue();
    tree.item("游戏*").setSelected(true);
    std::string textDuring, keyDuring, newDuring;
    tree.AfterLabelEdit = [&](int&, const std::string& s) {
        Node& n = *tree.selectedItem();
        textDuring = n.text();
        keyDuring = n.key();
        newDuring = s;
        n.setKey(s + "*");  // the handler gives the node its new key
    };
    tree.startLabelEdit();
    ASSERT_EQ(tree.editingNode(), &tree.item("游戏*"));
    tree.userEndLabelEdit("游戏2");
    EXPECT_EQ(textDuring, "游戏");
    EXPECT_EQ(keyDuring, "游戏*");
    EXPECT_EQ(newDuring, "游戏2");
    EXPECT_EQ(tree.item("游戏2*").text(), "游戏2");
    EXPECT_EQ(tree.editingNode(), nullptr);
}

TEST_F(TreeTest, LabelEditCancels) {
    buildCatalogue();
    tree.item("电影*").setSelected(true);
    int before = 0, after = 0;
    tree.BeforeLabelEdit = [&](int& cancel) { cancel = ++before == 1 ? 1 : 0; };
    tree.AfterLabelEdit = [&](int& cancel, const std::string&) {
        ++after;
        cancel = 1;
    };
    tree.startLabelEdit();  // refused by BeforeLabelEdit
    EXPECT_EQ(tree.editingNode(), nullptr);

    tree.startLabelEdit();
    tree.userEndLabelEdit("影片");  // refused by AfterLabelEdit
    EXPECT_EQ(tree.item("电影*").text(), "电影");

    tree.startLabelEdit();
    tree.userEndLabelEdit(std::nullopt);  // Esc: nothing raised
    EXPECT_EQ(after, 1);
    EXPECT_EQ(tree.item("电影*").text(), "电影");

    tree.setLabelEdit(1);  // manual: the user cannot start an edit
    tree.userStartLabelEdit(tree.item("电影*"));
    EXPECT_EQ(tree.editingNode(), nullptr);
    EXPECT_EQ(before, 3);
}

TEST_F(TreeTest, LabelEditSurvivesAHandlerThatEmptiesTheTree) {
    buildCatalogue();
    tree.item("电影*").setSelected(true);
    tree.AfterLabelEdit = [&](int&, const std::string&) { tree.clear(); };
    tree.startLabelEdit();
    tree.userEndLabelEdit("x");
    EXPECT_EQ(tree.count(), 0);
}

TEST_F(TreeTest, LargeTreeKeepsIndicesAndKeys) {
    constexpr int n = 20000;
    tree.add("root", "root");
    for (int i = 1; i < n; ++i)
        tree.addChild(i % 2 ? "root" : "k" + std::to_string(i - 1), "k" + std::to_string(i), "t");
    EXPECT_EQ(tree.count(), n);
    tree.remove("k1");  // takes k2 (its only child) along
    EXPECT_EQ(tree.count(), n - 2);
    EXPECT_EQ(tree.item("k4").index(), 3);
    EXPECT_EQ(tree.item(n - 2).key(), "k" + std::to_string(n - 1));
    tree.clear();
    EXPECT_EQ(tree.count(), 0);
}

}  // namespace
