// The tree control: nodes with unique string keys, added as the last
// top-level node or as the last child of a keyed node, numbered from 1 in
// the order they were added (renumbered when nodes are removed).
//
// A removed node (remove, clear, or its tree destroyed) is marked removed and
// stays allocated until the outermost running event has ended (outside every
// event: until the next outermost event has ended; see Dispatcher::retire).
// A procedure that still holds it gets error 35605 from every member but
// serial() and removed(), never freed memory.
//
// Changes made by code raise no event: selecting a node, expanding or folding
// it, adding and removing nodes. Only the user's gestures (the user… methods)
// raise events: a mouse click raises NodeClick (also on the selected node),
// the user's fold raises Collapse, label editing raises BeforeLabelEdit and
// AfterLabelEdit.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/control.h"
#include "platform/controls/key_index.h"

namespace platform {

class ImageList;
class TreeView;

class Node {
  public:
    TreeView& treeView() const { return check(), tree_; }
    // The node's number of this run (see nextEntrySerial); readable also
    // once the node is removed.
    std::uint64_t serial() const { return serial_; }
    // True once the node is removed from its tree.
    bool removed() const { return dead_; }

    // "" means the node has no key. Setting a key keeps keys unique:
    // 35602 when another node has it, 35603 for an all-numeric key.
    const std::string& key() const { return check(), key_; }
    void setKey(const std::string& key);
    const std::string& text() const { return check(), text_; }
    void setText(std::string text);
    int image() const { return check(), image_; }
    void setImage(int image);
    Color foreColor() const { return check(), foreColor_; }
    void setForeColor(Color color);

    // Expanding or folding by code raises no event. Folding a node whose
    // descendant is selected moves the selection to the folded node.
    bool expanded() const { return check(), expanded_; }
    void setExpanded(bool expanded);
    // Selecting by code raises no event; it unfolds the node's ancestors.
    bool selected() const;
    void setSelected(bool selected);

    Node* parent() const { return check(), parent_; }
    Node* child() const { return check(), firstChild_; }  // first child
    Node* lastChild() const { return check(), lastChild_; }
    Node* next() const { return check(), next_; }      // next sibling
    Node* previous() const { return check(), prev_; }  // previous sibling
    Node* firstSibling() const;
    Node* lastSibling() const;
    // The tree's first top-level node.
    Node* root() const;
    int children() const { return check(), childCount_; }
    // Position in the order of adding, from 1.
    int index() const;
    // The texts from the top level down to this node, joined by the tree's
    // path separator.
    std::string fullPath() const;

    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

  private:
    friend class TreeView;
    Node(TreeView& tree, std::string key, std::string text, int image);
    // Raises 35605 for a removed node (the accessors read
    // "return check(), field;").
    void check() const {
        if (dead_) raiseRemoved();
    }
    TreeView& tree_;
    std::uint64_t serial_;
    std::string key_;
    std::string text_;
    int image_ = 0;
    Color foreColor_ = DefaultColor;
    bool expanded_ = false;
    Node* parent_ = nullptr;
    Node* firstChild_ = nullptr;
    Node* lastChild_ = nullptr;
    Node* next_ = nullptr;
    Node* prev_ = nullptr;
    int childCount_ = 0;
    mutable int index_ = 0;
    bool dead_ = false;
};

class TreeView : public Control {
  public:
    TreeView(Form& owner, std::string name);
    ~TreeView() override;
    const char* kind() const override { return "TreeView"; }

    // ---- the nodes ----
    // Adds a top-level node after the last one. Errors: 35602 duplicate key,
    // 35603 all-numeric key.
    Node& add(std::string key, std::string text, int image = 0);
    // Adds the node as the last child of the node with parentKey (35601 when
    // there is none).
    Node& addChild(std::string_view parentKey, std::string key, std::string text, int image = 0);
    // The same under a node of this tree, found without a look-up of its key
    // (35601 for a node of another tree, 35605 a node removed before).
    Node& addChild(Node& parent, std::string key, std::string text, int image = 0);
    // Removes a node with its whole subtree (35600 bad index, 35601 unknown
    // key, 35605 a node removed before, 35601 a node of another tree).
    void remove(int index);
    void remove(std::string_view key);
    void remove(Node& node);
    void clear();
    int count() const { return static_cast<int>(nodes_.size()); }
    // Node by position from 1 (35600 outside 1..count) or by key (35601).
    Node& item(int index) const;
    Node& item(std::string_view key) const;
    // The node with that key, or nullptr.
    Node* find(std::string_view key) const;
    // The first top-level node, or nullptr.
    Node* firstRoot() const { return firstRoot_; }
    // All nodes in the order of adding.
    const std::vector<std::unique_ptr<Node>>& nodes() const { return nodes_; }
    // The node of the tree with that serial, or nullptr (removed, or never
    // of this tree).
    Node* findSerial(std::uint64_t serial) const;

    // ---- selection (no event) ----
    Node* selectedItem() const { return selected_; }
    // 35605 for a removed node.
    void setSelectedItem(Node* node);

    // ---- appearance ----
    int style() const { return style_; }  // 7: lines, plus/minus, pictures, text
    void setStyle(int style);
    int lineStyle() const { return lineStyle_; }  // 0 tree lines, 1 root lines
    void setLineStyle(int lineStyle);
    int labelEdit() const { return labelEdit_; }  // 0 automatic, 1 manual
    void setLabelEdit(int labelEdit);
    const std::string& pathSeparator() const { return pathSeparator_; }
    void setPathSeparator(std::string separator);
    ImageList* imageList() const { return imageList_; }
    void setImageList(ImageList* list);
    // Repaints (the front end redraws).
    void refresh();

    // ---- label editing ----
    // Starts editing the selected node's label: BeforeLabelEdit runs, and
    // unless it cancels, the node is being edited until userEndLabelEdit.
    void startLabelEdit();
    Node* editingNode() const { return editing_; }

    // ---- events ----
    std::function<void(Node&)> NodeClick;
    std::function<void(Node&)> Collapse;
    std::function<void(int& cancel)> BeforeLabelEdit;
    // During the event the node keeps its old text and key; cancel = 1 keeps
    // the old text.
    std::function<void(int& cancel, const std::string& newString)> AfterLabelEdit;
    std::function<void(int button, int shift, double x, double y)> MouseDown;
    std::function<void(int& keyAscii)> KeyPress;
    std::function<void(int& keyCode, int shift)> KeyDown;

    // ---- user gestures (each one event) ----
    // The gestures on a node raise 35605 for a removed one (before any event).
    // A mouse click on a node: selects it, then NodeClick (also when it was
    // selected already).
    void userClickNode(Node& node);
    // The user folds a node (its minus sign): Collapse follows.
    void userCollapse(Node& node);
    // The user unfolds a node (its plus sign); no event.
    void userExpand(Node& node);
    // The user starts editing a node's label (a click on the selected node):
    // with automatic label editing the node is selected and the edit starts
    // as with startLabelEdit; with manual label editing nothing happens.
    void userStartLabelEdit(Node& node);
    // The user ends the edit: with a text (Enter, or the focus leaves), which
    // raises AfterLabelEdit; or with none (Esc), which keeps the old text
    // and raises nothing.
    void userEndLabelEdit(std::optional<std::string> newText);
    // A mouse button pressed over the tree (x, y in twips relative to the
    // tree). Never changes the selection.
    void userMouseDown(int button, int shift, double x, double y);
    // A typed character: KeyPress; then, unless the handler set it to 0, a
    // printable character selects the next shown node whose text begins with
    // it (no NodeClick). Enter raises nothing more.
    void userKeyPress(int keyAscii);
    // A key pressed: KeyDown; then, unless the handler set it to 0, the arrow
    // keys, Home and End move the selection among the shown nodes (no
    // NodeClick); Left folds an unfolded node (Collapse) or goes to the
    // parent, Right unfolds or goes to the first child.
    void userKeyDown(int keyCode, int shift);

    // The nodes the user can see (their ancestors unfolded), top to bottom.
    std::vector<Node*> shownNodes() const;

  private:
    friend class Node;
    Node& insert(Node* parent, std::string key, std::string text, int image);
    void renumber() const;
    void nodeChanged() { changed(); }
    // Raises unless node is a node of this tree that is not removed.
    void checkOwn(const Node& node) const;
    // Marks node and its subtree removed, off every index and the selection.
    void markRemoved(Node& node);
    void fold(Node& node);
    void unfold(Node& node);  // unfolds; no event
    void select(Node* node);

    std::vector<std::unique_ptr<Node>> nodes_;
    KeyIndex<Node> keys_;
    Node* firstRoot_ = nullptr;
    Node* lastRoot_ = nullptr;
    Node* selected_ = nullptr;
    Node* editing_ = nullptr;
    mutable bool indexDirty_ = false;
    int style_ = 7;
    int lineStyle_ = 0;
    int labelEdit_ = 0;
    std::string pathSeparator_ = "\\";
    ImageList* imageList_ = nullptr;
};

}  // namespace platform
